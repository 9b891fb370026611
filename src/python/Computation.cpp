#include "Computation.h"

#include "solver/LP_Unit_LPSolver.h"

namespace vesk::python {
namespace {

// The exception and warning types of the module (created once, kept for the
// life of the process).
PyObject* g_problemError = nullptr;
PyObject* g_problemWarning = nullptr;

std::mutex& ComputationMutex() {
  static std::mutex mutex;
  return mutex;
}

constexpr auto kSignalInterval = std::chrono::milliseconds(10);

std::string FailureText(const std::vector<Message>& messages) {
  std::string errors, all;
  for (const auto& m : messages) {
    std::string& text = m.kind == core::MessageKind::Error ? errors : all;
    if (!text.empty()) text += '\n';
    text += m.text;
  }
  if (!errors.empty()) return errors;
  if (!all.empty()) return all;
  return "The command did not complete";
}

}  // namespace

ProblemFailure::ProblemFailure(std::vector<Message> messages)
    : std::runtime_error(FailureText(messages)), messages_(std::move(messages)) {}

ProblemFailure::ProblemFailure(const std::string& text)
    : std::runtime_error(text), messages_{{core::MessageKind::Error, text}} {}

CancelCheck::CancelCheck() : next_(std::chrono::steady_clock::now()) {
  const py::module_ threading = py::module_::import("threading");
  mainThread_ = threading.attr("current_thread")().is(threading.attr("main_thread")());
}

bool CancelCheck::Requested() {
  if (cancelled_) return true;
  if (!mainThread_) return false;  // Python runs signal handlers on its main thread only
  const auto now = std::chrono::steady_clock::now();
  if (now < next_) return false;
  next_ = now + kSignalInterval;
  py::gil_scoped_acquire lock;
  if (PyErr_CheckSignals() != 0) {
    pending_.emplace();  // takes the exception the handler raised
    cancelled_ = true;
  }
  return cancelled_;
}

void CancelCheck::RaisePending() {
  if (!pending_) return;
  py::error_already_set error = std::move(*pending_);
  pending_.reset();
  throw error;
}

void ScriptDialogs::ShowMessage(core::MessageKind kind, std::string_view text) {
  messages.push_back({kind, std::string(text)});
}

std::optional<std::string> ScriptDialogs::PromptText(std::string_view, std::string_view, std::string_view) {
  if (nextAnswer_ >= textAnswers.size()) return std::nullopt;
  return textAnswers[nextAnswer_++];
}

namespace {
// Set while this thread runs a computation: a signal handler that starts
// another one from inside the cancel check would wait for itself.
thread_local bool t_computing = false;
}  // namespace

ComputationGuard::ComputationGuard(engine::EngineHost& host) {
  if (t_computing) throw std::runtime_error("a vesk computation cannot start while this thread runs another one");
  lock_ = std::unique_lock<std::mutex>(ComputationMutex());
  t_computing = true;
  solver::LpSetHost(&host);
}

ComputationGuard::~ComputationGuard() {
  solver::LpSetHost(nullptr);
  t_computing = false;
}

void Warn(const ScriptDialogs& dialogs) {
  auto warn = [](const std::string& text) {
    if (PyErr_WarnEx(g_problemWarning, text.c_str(), 1) != 0) throw py::error_already_set();
  };
  for (const auto& m : dialogs.messages)
    if (m.kind != core::MessageKind::Information) warn(m.text);
  for (const auto& text : dialogs.engineMessages) warn(text);
}

void Conclude(bool succeeded, const ScriptDialogs& dialogs) {
  if (!succeeded) throw ProblemFailure(dialogs.messages);
  Warn(dialogs);
}

py::list MessageList(const std::vector<Message>& messages) {
  py::list list;
  for (const auto& m : messages) {
    py::dict d;
    d["kind"] = std::string(core::MessageKindName(m.kind));
    d["text"] = m.text;
    list.append(d);
  }
  return list;
}

void RegisterErrors(py::module_& m) {
  g_problemError = PyErr_NewExceptionWithDoc(
      "vesk.ProblemError",
      "A command refused or stopped, with the message the window shows; `messages` holds every message of the "
      "command as {'kind', 'text'}.",
      PyExc_Exception, nullptr);
  g_problemWarning = PyErr_NewExceptionWithDoc(
      "vesk.ProblemWarning", "A warning the window shows in a box while the command goes on.", PyExc_UserWarning,
      nullptr);
  m.add_object("ProblemError", py::handle(g_problemError));
  m.add_object("ProblemWarning", py::handle(g_problemWarning));
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const ProblemFailure& e) {
      py::object error = py::reinterpret_steal<py::object>(PyObject_CallFunction(g_problemError, "s", e.what()));
      if (!error) return;  // the call's own exception stays set
      error.attr("messages") = MessageList(e.Messages());
      PyErr_SetObject(g_problemError, error.ptr());
    }
  });
}

}  // namespace vesk::python

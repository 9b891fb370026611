#pragma once
// How the module runs a core command or an engine solve for Python: the
// person core speaks to (messages kept, questions answered No, a pending
// Ctrl+C turned into a cancel request), the engine's host, the interpreter
// lock released while the computation runs, and the way its outcome comes
// back (ProblemError, warnings, KeyboardInterrupt).
#include <pybind11/pybind11.h>

#include <chrono>
#include <exception>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/problem/UserDialogs.h"
#include "engine/ScratchEngineHost.h"

namespace vesk::python {

namespace py = pybind11;

// A message core showed, with its kind.
struct Message {
  core::MessageKind kind;
  std::string text;
};

// Raised as vesk.ProblemError: `what()` is the text of the messages that
// stopped the command (the error boxes, or every message when there was none);
// `messages` are all the messages of the command.
class ProblemFailure : public std::runtime_error {
 public:
  explicit ProblemFailure(std::vector<Message> messages);
  ProblemFailure(const std::string& text);
  const std::vector<Message>& Messages() const { return messages_; }

 private:
  std::vector<Message> messages_;
};

// Asks, at most every few milliseconds and only on the interpreter's main
// thread, whether a signal is pending: the lock is taken for the moment of
// the check and Python's own handlers run. A handler that raises (Ctrl+C's
// KeyboardInterrupt) makes every later question answer yes; the exception is
// kept and raised once the computation has ended.
class CancelCheck {
 public:
  CancelCheck();  // called with the lock held
  bool Requested();
  // Raises the exception a signal handler raised, if any (lock held).
  void RaisePending();

 private:
  bool mainThread_ = false;
  bool cancelled_ = false;
  std::chrono::steady_clock::time_point next_;
  std::optional<py::error_already_set> pending_;
};

// The person of a scripted command: keeps every message, answers every
// question with No and every prompt with Cancel, unless answers were queued.
class ScriptDialogs : public core::UserDialogs {
 public:
  explicit ScriptDialogs(CancelCheck& cancel) : cancel_(cancel) {}

  std::vector<Message> messages;
  std::vector<std::string> engineMessages;  // the engine's message boxes
  std::vector<std::string> textAnswers;     // answered in order, then Cancel

  void ShowMessage(core::MessageKind kind, std::string_view text) override;
  bool Confirm(std::string_view) override { return false; }
  std::optional<std::string> PromptText(std::string_view, std::string_view, std::string_view) override;
  std::optional<std::string> ChooseOpenFile(std::string_view, std::string_view) override { return std::nullopt; }
  std::optional<std::string> ChooseSaveFile(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  bool CancelRequested() override { return cancel_.Requested(); }

 private:
  CancelCheck& cancel_;
  std::size_t nextAnswer_ = 0;
};

// The engine's host during a scripted computation: no windows, engine files in
// a private scratch folder, cancel requests from the same check.
class ScriptEngineHost : public engine::ScratchEngineHost {
 public:
  ScriptEngineHost(CancelCheck& cancel, std::vector<std::string>& messages) : cancel_(cancel), messages_(messages) {}
  bool CancelRequested() override { return cancel_.Requested(); }
  // The engine's message boxes are kept (answered Cancel), not printed.
  Answer MessageBox(std::string_view text) override {
    messages_.emplace_back(text);
    return Answer::Cancel;
  }

 private:
  CancelCheck& cancel_;
  std::vector<std::string>& messages_;
};

// Holds the process-wide computation lock and points the solver interface at
// `host` while it lives. A second computation on a thread that already runs
// one (started by a signal handler inside the cancel check) is refused with
// std::runtime_error instead of waiting for the lock it holds.
class ComputationGuard {
 public:
  explicit ComputationGuard(engine::EngineHost& host);
  ~ComputationGuard();
  ComputationGuard(const ComputationGuard&) = delete;
  ComputationGuard& operator=(const ComputationGuard&) = delete;

 private:
  std::unique_lock<std::mutex> lock_;
};

// Runs `work(dialogs, host)` with the interpreter lock released, one
// computation at a time in the process (the solver interface and the random
// generator are program-wide), the solver interface speaking to `host`. Then,
// with the lock held again: a Ctrl+C during the run raises KeyboardInterrupt
// (whatever the work returned); otherwise `work`'s result is returned. The
// work must touch no Python object.
template <class Work>
auto RunReleased(CancelCheck& cancel, ScriptDialogs& dialogs, Work&& work) {
  using Result = decltype(work(dialogs, std::declval<ScriptEngineHost&>()));
  std::optional<Result> result;
  std::exception_ptr failure;
  {
    py::gil_scoped_release release;
    ScriptEngineHost host(cancel, dialogs.engineMessages);
    ComputationGuard guard(host);
    try {
      result.emplace(work(dialogs, host));
    } catch (...) {
      failure = std::current_exception();
    }
  }
  cancel.RaisePending();
  if (failure) std::rethrow_exception(failure);
  return std::move(*result);
}

// After a command: ProblemError unless it succeeded; otherwise Warn.
void Conclude(bool succeeded, const ScriptDialogs& dialogs);

// Emits the warning-kind and error-kind messages and the engine's messages as
// ProblemWarning.
void Warn(const ScriptDialogs& dialogs);

// Messages as a list of {"kind": ..., "text": ...}, as the command line's JSON.
py::list MessageList(const std::vector<Message>& messages);

// Registers vesk.ProblemError and vesk.ProblemWarning on `m`.
void RegisterErrors(py::module_& m);

}  // namespace vesk::python

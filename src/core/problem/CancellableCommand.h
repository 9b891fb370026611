#pragma once
// The long computations the person may stop (robust assignments, a suggestion
// run, a volume simulation) run through one runner: it shows the busy cursor,
// reports the failure that ended a computation, and puts back what a
// cancelled one had changed.
#include <optional>
#include <tuple>
#include <type_traits>

#include "core/problem/Errors.h"
#include "core/problem/UserDialogs.h"

namespace vesk::core {

// Thrown at a progress point once the person has asked to stop.
struct CommandCancelled {};

// A progress point: throws CommandCancelled once the person has asked to stop
// (UserDialogs::CancelRequested).
inline void StopIfCancelled(UserDialogs& dialogs) {
  if (dialogs.CancelRequested()) throw CommandCancelled{};
}

// Runs `body` under the busy cursor and returns its result, or nothing when it
// did not come to its end:
// - CommandCancelled, or a ProgramError while the person has asked to stop (a
//   solve the request left unfinished), is a cancel: every `kept` object is put
//   back as it was when the runner started and "Computation cancelled" is
//   shown;
// - any other ProgramError shows its Message(), a ConversionError its text.
// On every way out the progress panel is hidden and the busy cursor removed,
// before "Computation cancelled" is shown.
template <class Body, class... Kept>
std::optional<std::invoke_result_t<Body&>> RunCancellable(UserDialogs& dialogs, Body&& body, Kept&... kept) {
  const std::tuple<Kept...> before(kept...);
  std::optional<std::invoke_result_t<Body&>> result;
  bool cancelled = false;
  {
    struct Exit {
      UserDialogs& dialogs;
      ~Exit() {
        dialogs.ShowProgress(false);
        dialogs.SetBusy(false);
      }
    } exit{dialogs};
    dialogs.SetBusy(true);
    try {
      result.emplace(body());
    } catch (const CommandCancelled&) {
      cancelled = true;
    } catch (const ProgramError& e) {
      if (dialogs.CancelRequested()) cancelled = true;
      else dialogs.Error(e.Message());
    } catch (const ConversionError& e) {
      dialogs.Error(e.what());
    }
  }
  if (cancelled) {
    std::apply([&](const Kept&... saved) { ((kept = saved), ...); }, before);
    dialogs.Information(kComputationCancelled);
  }
  return result;
}

}  // namespace vesk::core

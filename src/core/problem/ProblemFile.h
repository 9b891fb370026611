#pragma once
// The problem file (".tri"): a line-oriented text file. The reader accepts the
// old layout (version 1: no version line, thresholds q and p only, no action
// or criterion names) and version 2; the writer always produces version 2 with
// CR LF line ends.
#include <optional>
#include <string>
#include <string_view>

#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"

namespace vesk::core {

// Filters of the file choosers.
inline constexpr const char* kOpenFilter = "TRI parameters & constraints (*.tri)|*.tri|All files (*.*)|*.*";
inline constexpr const char* kSaveFilter = "Vesk (v.2) (*.tri)|*.tri";

// Shown when a file could not be written.
inline constexpr const char* kDiskWriteError = "Disk write error: check permissions and available size";

// Reads the file at `path` into a fresh problem and replaces `problem` with it
// only when the whole file was read. Every failure is shown through `dialogs`
// (the message ends with what was being read) and leaves `problem` exactly as
// it was. On success the caption names the file, the save dialog's name is the
// file's full name without its extension, DataModified is cleared and
// ResetResults is called. The toggles "Use vj"/"Use uj" are kept.
bool ReadProblemFile(Problem& problem, UserDialogs& dialogs, const std::string& path);

// The same reader over bytes already in memory; `fullName` is the name the
// caption and the dialogs' names take on success.
bool ReadProblemData(Problem& problem, UserDialogs& dialogs, std::string_view bytes,
                     const std::string& fullName);

// The version-2 text of `problem` (CR LF lines), or nothing when the problem
// cannot be written so that it reads back: no problem at all, a number cell
// that does not hold a number, an empty sign, an example outside 1..K, a name
// that would break its line. The refusal is shown through `dialogs`, naming
// the table, row and column.
std::optional<std::string> ProblemFileText(const Problem& problem, UserDialogs& dialogs);

// Saves the problem. When `askForName` is set the save dialog asks for the
// name (Cancel writes nothing); otherwise the save dialog's current name is
// used. ".tri" is appended unless the name already ends with it. The text goes
// to a temporary file beside the target that is then renamed into place, so a
// failed save leaves any previous file intact. On success DataModified is
// cleared and the caption names the file. Returns true when the file was
// written.
bool WriteProblemFile(Problem& problem, UserDialogs& dialogs, bool askForName);

// "&Save Data": asks for a name only while no file is known (bare caption).
bool SaveData(Problem& problem, UserDialogs& dialogs);

// The Open command: "Save current files?" when the problem was modified (a
// failed or cancelled save stops the Open), the open dialog, the read.
// Returns true when a problem was read.
bool OpenProblem(Problem& problem, UserDialogs& dialogs);

// How opening a named file ended.
enum class OpenResult { Opened, NotOpened, NotFound };

// Opens the file at `path` without the open dialog (a file chosen from the
// recent files): a path that does not exist shows "File not found: " + path
// and changes nothing (NotFound); otherwise the Open command's "Save current
// files?" question and the read follow, as in OpenProblem.
OpenResult OpenProblemFile(Problem& problem, UserDialogs& dialogs, const std::string& path);

// Writes `text` to a temporary file beside `target` (created exclusively, with
// the old file's permissions, synced) and renames it into place, so that a
// failed write leaves any previous file intact. False when any step failed;
// the temporary file is then removed.
bool WriteReplacing(const std::string& target, const std::string& text);

// `name` without its extension (the part from the last '.' of the last path
// element on); a name without extension, or a dot file such as ".hidden",
// comes back unchanged.
std::string WithoutExtension(const std::string& name);

// The caption of a window showing the file `fullName`.
std::string CaptionFor(const std::string& fullName);

}  // namespace vesk::core

#pragma once
// The user's own folders, as the desktop names them.
#include <chrono>
#include <string>

namespace platform::files {

// How long the desktop's folder tool may take before the home folder is used instead.
constexpr std::chrono::milliseconds kFolderToolBudget{1000};

// The home folder: HOME, else the password database's entry; "/" when neither names one.
std::string HomeFolder();

// Where the user keeps documents: what `xdg-user-dir DOCUMENTS` answers, when it answers within
// kFolderToolBudget with an existing folder; otherwise the home folder. (Without a configured
// documents folder the tool itself answers the home folder.)
std::string DocumentsFolder();

// The rule alone: `answer` is the tool's output (empty when it gave none or could not be run).
// Its first line is taken when it is an absolute path to an existing folder; else `home`.
std::string ChooseDocumentsFolder(const std::string& answer, const std::string& home);

} // namespace platform::files

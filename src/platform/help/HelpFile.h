#pragma once
// The display-free half of help: which document a help file name stands for, where it is looked
// for, and the address the viewer is given.
#include <cstdint>
#include <string>
#include <vector>

namespace platform::help {

// "Zorvane.HLP" -> "zorvane.html": the file name in lower case (ASCII letters), a ".hlp"
// extension replaced by ".html", any folder part dropped. Empty for an empty name.
std::string HelpDocumentName(const std::string& helpFile);

// The folders searched, in order, for a program whose executable lies in `exeDir`: the installed
// layout `<exeDir>/../share/zorvane`, then `<exeDir>` itself, then `sourceHelpDir` (the source
// tree's resources/help, for running from a build folder) when it is not empty.
std::vector<std::string> HelpSearchFolders(const std::string& exeDir,
                                           const std::string& sourceHelpDir);
// The search folders of this process: its executable's folder and the source tree it was built
// from.
std::vector<std::string> HelpSearchFolders();

// The first regular file named HelpDocumentName(helpFile) in `folders` (a name with a folder
// part is looked for in that folder first), as an absolute path without symbolic links; empty
// when there is none.
std::string FindHelpDocument(const std::string& helpFile, const std::vector<std::string>& folders);

// file:// address of an absolute path, each byte outside the unreserved set and "/" written as
// %XX, with "#context-N" appended when `context` is given.
std::string HelpUrl(const std::string& absolutePath, const std::int64_t* context = nullptr);

// "Help file X not found (looked for x.html in A, B and C)".
std::string MissingHelpMessage(const std::string& helpFile,
                               const std::vector<std::string>& folders);

} // namespace platform::help

#include "platform/help/HelpFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace platform::help {

namespace {

bool EndsWithNoCase(const std::string& s, const std::string& lowerSuffix) {
    if (s.size() < lowerSuffix.size())
        return false;
    for (std::size_t i = 0; i < lowerSuffix.size(); ++i) {
        char c = s[s.size() - lowerSuffix.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != lowerSuffix[i])
            return false;
    }
    return true;
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string RealPath(const std::string& path) {
    char buf[PATH_MAX];
    return ::realpath(path.c_str(), buf) ? std::string(buf) : std::string();
}

std::string ExecutableDir() {
    std::string exe = RealPath("/proc/self/exe");
    std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

} // namespace

std::string HelpDocumentName(const std::string& helpFile) {
    std::string name = helpFile.substr(helpFile.rfind('/') + 1);
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    if (EndsWithNoCase(name, ".hlp"))
        name.replace(name.size() - 4, 4, ".html");
    return name;
}

std::vector<std::string> HelpSearchFolders(const std::string& exeDir,
                                           const std::string& sourceHelpDir) {
    std::vector<std::string> folders;
    if (!exeDir.empty()) {
        std::string up = exeDir.substr(0, exeDir.rfind('/')); // "/usr/bin" -> "/usr"
        folders.push_back(up + "/share/zorvane");
        folders.push_back(exeDir);
    }
    if (!sourceHelpDir.empty())
        folders.push_back(sourceHelpDir);
    return folders;
}

std::vector<std::string> HelpSearchFolders() {
#ifdef ZORVANE_HELP_SOURCE_DIR
    return HelpSearchFolders(ExecutableDir(), ZORVANE_HELP_SOURCE_DIR);
#else
    return HelpSearchFolders(ExecutableDir(), {});
#endif
}

std::string FindHelpDocument(const std::string& helpFile, const std::vector<std::string>& folders) {
    std::string name = HelpDocumentName(helpFile);
    if (name.empty())
        return {};
    std::vector<std::string> where;
    if (std::size_t slash = helpFile.rfind('/'); slash != std::string::npos)
        where.push_back(helpFile.substr(0, slash == 0 ? 1 : slash));
    where.insert(where.end(), folders.begin(), folders.end());
    for (const std::string& folder : where) {
        std::string path = folder + (folder.ends_with('/') ? "" : "/") + name;
        if (IsRegularFile(path))
            return RealPath(path);
    }
    return {};
}

std::string HelpUrl(const std::string& absolutePath, const std::int64_t* context) {
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : absolutePath) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                     c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            url += char(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    if (context) {
        url += "#context-";
        url += std::to_string(*context);
    }
    return url;
}

std::string MissingHelpMessage(const std::string& helpFile,
                               const std::vector<std::string>& folders) {
    std::string text = "Help file ";
    text += helpFile.empty() ? std::string("(none)") : helpFile;
    text += " not found";
    if (helpFile.empty() || folders.empty())
        return text;
    text += " (looked for ";
    text += HelpDocumentName(helpFile);
    text += " in ";
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (i > 0)
            text += i + 1 == folders.size() ? " and " : ", ";
        text += folders[i];
    }
    text += ')';
    return text;
}

} // namespace platform::help

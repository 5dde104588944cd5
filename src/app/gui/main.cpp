// zorvane: the desktop program. Everything happens in app::RunProgram; nothing escapes from here.
#include <cstdio>
#include <exception>
#include <string_view>

#include "app/ProgramForms.h"
#include "platform/display/WindowApi.h"

namespace {

constexpr const char* Usage = "Usage: zorvane [--help | --version]\n"
                              "\n"
                              "Zorvane computes a person's biorhythms for one calendar month and\n"
                              "shows, lists and prints them. It needs an X display (DISPLAY).\n";

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        std::string_view arg = argv[1];
        if (argc == 2 && (arg == "--help" || arg == "-h")) {
            std::fputs(Usage, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (argc == 2 && arg == "--version") {
            std::printf("zorvane %s\n", ZORVANE_VERSION);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        bool known = arg == "--help" || arg == "-h" || arg == "--version";
        std::fprintf(stderr, "zorvane: unexpected argument '%s'\n\n%s", argv[known ? 2 : 1], Usage);
        return 2;
    }
    platform::UseX11Display();
    try {
        return app::RunProgram();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorvane: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "zorvane: unexpected failure\n");
    }
    return 1;
}

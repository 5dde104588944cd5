// zorvane: the desktop program. Everything happens in app::RunProgram; nothing escapes from here.
#include <cstdio>
#include <exception>

#include "app/ProgramForms.h"

int main() {
    try {
        return app::RunProgram();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorvane: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "zorvane: unexpected failure\n");
    }
    return 1;
}

#pragma once
// Registers every stream class the program's forms may name: each layer's registration in turn.
// The program calls it at start-up; formtool and the benchmarks call it too.

namespace app {

void RegisterProgramClasses();

} // namespace app

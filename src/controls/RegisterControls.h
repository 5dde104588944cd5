#pragma once
// Registers every stream class of the controls layer, so that form sources may name them.
// app::RegisterProgramClasses calls it.

namespace controls {

void RegisterStreamClasses();

} // namespace controls

#pragma once
// Registers the stream classes of the controls layer, so form sources can name every control.

namespace controls {

void RegisterStreamClasses();

} // namespace controls

#pragma once
// Registers the stream classes of the frame layer: the component and the control core classes
// (forms as they arrive).

namespace frame {

void RegisterFrameClasses();

} // namespace frame

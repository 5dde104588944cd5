#pragma once
// Registers the stream classes of the frame layer (TComponent now; the frame's forms and graphic
// objects as they arrive).

namespace frame {

void RegisterFrameClasses();

} // namespace frame

#include "frame/FrameClasses.h"

#include "frame/StreamClasses.h"
#include "frame/TComponent.h"

namespace frame {

void RegisterFrameClasses() {
    RegisterStreamClasses({TComponent::StaticClass()});
}

} // namespace frame

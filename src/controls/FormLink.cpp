#include "controls/FormLink.h"

namespace controls {

TFormLink& FormLink() {
    static TFormLink link;
    return link;
}

} // namespace controls

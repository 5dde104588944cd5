#include "platform/a11y/AccessibleNode.h"

#include "platform/a11y/AtkPeer.h"

namespace platform::a11y {

AccessibleNode::~AccessibleNode() {
    if (m_peer)
        detail::ForgetNode(*this);
}

int AccessibleNode::IndexInParent() const {
    AccessibleNode* parent = Parent();
    if (!parent)
        return -1;
    for (int i = 0, n = parent->ChildCount(); i < n; ++i)
        if (parent->Child(i) == this)
            return i;
    return -1;
}

} // namespace platform::a11y

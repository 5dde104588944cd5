#pragma once
// The size limits a control carries in its "Constraints" sub-object. Kept and streamed; the frame
// lays nothing out by them.
#include "frame/TEvent.h"
#include "frame/TPersistent.h"

namespace frame {

class TSizeConstraints : public TPersistent {
public:
    ZORVANE_CLASS(TSizeConstraints)

    int32_t MaxHeight() const { return m_maxHeight; }
    void SetMaxHeight(int32_t v) { Set(m_maxHeight, v); }
    int32_t MaxWidth() const { return m_maxWidth; }
    void SetMaxWidth(int32_t v) { Set(m_maxWidth, v); }
    int32_t MinHeight() const { return m_minHeight; }
    void SetMinHeight(int32_t v) { Set(m_minHeight, v); }
    int32_t MinWidth() const { return m_minWidth; }
    void SetMinWidth(int32_t v) { Set(m_minWidth, v); }

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Set(int32_t& field, int32_t value);

    int32_t m_maxHeight = 0;
    int32_t m_maxWidth = 0;
    int32_t m_minHeight = 0;
    int32_t m_minWidth = 0;
};

} // namespace frame

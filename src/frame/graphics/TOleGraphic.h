#pragma once
// The OLE picture graphic: registered with an empty extension and description so that blocks
// naming it are recognised. Its data (an OLE picture stream) is kept as read and written back;
// this system has no OLE pictures to show, so it draws nothing.
#include <vector>

#include "frame/graphics/TGraphic.h"

namespace frame {

class TOleGraphic : public TGraphic {
public:
    ZORVANE_CLASS(TOleGraphic)

    void Draw(TCanvas&, const TRect&) override {}
    bool Empty() const override { return m_data.empty(); }
    int Width() const override { return 0; }
    int Height() const override { return 0; }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromStream(rtl::TStream& stream) override;
    void SaveToStream(rtl::TStream& stream) override;
    void Assign(const TPersistent* source) override;

private:
    std::vector<std::uint8_t> m_data;
};

} // namespace frame

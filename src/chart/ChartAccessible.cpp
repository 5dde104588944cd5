// Charts as screen readers see them: an image named by the chart's title. What it shows in
// words is the program's to say (TControl::AccessibleDescription): only it knows what the
// series mean.
#include "chart/TCustomChart.h"
#include "frame/TStrings.h"
#include "frame/controls/TControlAccessible.h"

namespace chart {

using namespace platform::a11y;

namespace {

class ChartAccessible : public frame::TControlAccessible {
public:
    explicit ChartAccessible(TCustomChart& chart)
        : TControlAccessible(chart, Role::Image), m_chart(chart) {}

    std::string Name() const override {
        if (!m_chart.AccessibleName().empty())
            return m_chart.AccessibleName();
        std::string name;
        frame::TStringList* lines = m_chart.Title()->Text();
        for (int i = 0; i < lines->Count(); ++i)
            name += (name.empty() ? "" : " ") + lines->Get(i);
        return name;
    }
    // The panels a chart may hold are part of its picture.
    int ChildCount() const override { return 0; }
    AccessibleNode* Child(int) const override { return nullptr; }

private:
    TCustomChart& m_chart;
};

} // namespace

std::unique_ptr<AccessibleNode> TCustomChart::CreateAccessible() {
    return std::make_unique<ChartAccessible>(*this);
}

} // namespace chart

#pragma once
// A band: a horizontal strip of the page with a role (BandType) that holds printables. When the
// report prints it, the band fills its rectangle, lets every printable draw itself at the
// report's current position, draws its frame, and moves the position down by its height (and
// whatever stretching printables added to it).
#include <memory>

#include "report/ReportTypes.h"
#include "report/TRepBandSize.h"
#include "report/TRepBasePanel.h"

namespace report {

class TRepPrintable;

constexpr const char* SCircularLink = "Circular linking not allowed";

using TBandBeforePrintEvent = frame::TEvent<frame::TObject*, bool&>;
using TBandAfterPrintEvent = frame::TEvent<frame::TObject*, bool>;

class TRepCustomBand : public TRepBasePanel {
public:
    ZORVANE_CLASS(TRepCustomBand)
    explicit TRepCustomBand(frame::TComponent* owner);
    ~TRepCustomBand() override;

    TRepBandType BandType() const { return m_bandType; }
    void SetBandType(TRepBandType value);
    TRepBandSize* Size() const { return m_size.get(); }
    void SetSize(TRepBandSize* value) { m_size->Assign(value); }
    bool AlignToBottom() const { return m_alignToBottom; }
    void SetAlignToBottom(bool value) { m_alignToBottom = value; }
    bool ForceNewColumn() const { return m_forceNewColumn; }
    void SetForceNewColumn(bool value) { m_forceNewColumn = value; }
    bool ForceNewPage() const { return m_forceNewPage; }
    void SetForceNewPage(bool value) { m_forceNewPage = value; }
    // A child band (role rbChild) follows this one; setting it makes or destroys the child.
    bool HasChild() const { return ChildBand() != nullptr; }
    void SetHasChild(bool value);
    TRepCustomBand* ChildBand() const;
    // For a child band: the band it follows.
    TRepCustomBand* ParentBand() const { return m_parentBand; }
    void SetParentBand(TRepCustomBand* value);
    // Another band that must fit on the same page; circular links are refused.
    TRepCustomBand* LinkBand() const { return m_linkBand; }
    void SetLinkBand(TRepCustomBand* value);

    TBandBeforePrintEvent BeforePrint;
    TBandAfterPrintEvent AfterPrint;

    // The band's height (tenths of mm), plus, when `linked`, what its link bands need.
    long double StretchHeight(bool linked) const;
    // While the band prints: its height on this page and how much stretching printables have
    // grown it (tenths of mm).
    long double PrintHeight() const { return m_printHeight; }
    long double Expanded() const { return m_expanded; }
    void Expand(long double amount) { m_expanded += amount; }
    // The role that decides the band's width: a child band takes that of the first band it
    // hangs from that is not a child.
    TRepBandType LayoutType() const;

    // Starts a new column or page when the band (with its link bands) does not fit.
    void EnsureSpace();
    // Prints the band at the report's current position, then its child band.
    void Print();

    // The printables the band holds, in child order.
    std::vector<TRepPrintable*> Printables() const;

    // The size's values changed: the pixel size follows.
    void SizeChanged();
    void SetBounds(int left, int top, int width, int height) override;
    void AfterLoad() override;
    void Notification(frame::TComponent* component, frame::TOperation operation) override;

private:
    void ForcedBreaks(TCustomReport& report);
    void PrintContent(TCustomReport& report);
    // Prints the printables once; answers whether all are finished, and whether any of them
    // got further.
    bool PrintPass(TCustomReport& report, bool firstPass, bool& progressed);
    void PrintChild(TCustomReport& report);

    std::unique_ptr<TRepBandSize> m_size;
    TRepBandType m_bandType = TRepBandType::rbTitle;
    bool m_alignToBottom = false;
    bool m_forceNewColumn = false;
    bool m_forceNewPage = false;
    TRepCustomBand* m_parentBand = nullptr;
    TRepCustomBand* m_linkBand = nullptr;
    long double m_expanded = 0;
    long double m_printHeight = 0;
};

class TRepBand : public TRepCustomBand {
public:
    ZORVANE_CLASS(TRepBand)
    explicit TRepBand(frame::TComponent* owner) : TRepCustomBand(owner) {}
};

} // namespace report

#pragma once
// The printables: controls on a band that draw themselves onto the printed page. Each keeps its
// place as a TRepPrintableSize in tenths of mm from the band's top-left corner (its pixel bounds
// follow) and, when the band prints, converts it to device pixels through the report printer.
#include <memory>

#include "controls/ControlsTypes.h"
#include "frame/controls/TCustomControl.h"
#include "report/TRepFrame.h"
#include "report/TRepPrintableSize.h"

namespace report {

class TCustomReport;
class TRepPrinter;

class TRepPrintable : public frame::TCustomControl {
public:
    ZORVANE_CLASS(TRepPrintable)
    explicit TRepPrintable(frame::TComponent* owner);
    ~TRepPrintable() override;

    TRepPrintableSize* Size() const { return m_size.get(); }
    void SetSize(TRepPrintableSize* value) { m_size->Assign(value); }
    TRepFrame* Frame() const { return m_frame.get(); }
    void SetFrame(TRepFrame* value) { m_frame->Assign(value); }
    controls::TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(controls::TAlignment value);
    bool AlignToBand() const { return m_alignToBand; }
    void SetAlignToBand(bool value);

    // The report the printable belongs to (through its band, or directly).
    TCustomReport* ParentReport() const;

    // --- Printing ---
    // Enters print mode: remembers the report's printer.
    virtual void Prepare();
    // Prints at the band's top-left corner (tenths of mm; 0, 0 for a printable placed directly
    // on the report).
    virtual void Print(int32_t ofsX, int32_t ofsY);
    virtual void Unprepare();
    // The band's size changed.
    virtual void ParentSizeChanged();
    bool IsPrinting() const { return m_isPrinting; }
    // Everything the printable has to print has been printed.
    bool Finished() const { return m_finished; }
    void SetFinished(bool value) { m_finished = value; }
    // How far the printable has got with what it prints (lines printed, for a label): a pass
    // that changes no printable's progress printed nothing.
    virtual int PrintProgress() const { return 0; }

    // The device rectangle for the band's corner (ofsX, ofsY); empty outside a print.
    frame::TRect DeviceRect(int32_t ofsX, int32_t ofsY) const;

    // The size's values changed: the pixel bounds follow.
    void SizeChanged();
    void SetBounds(int left, int top, int width, int height) override;
    void AfterLoad() override;

protected:
    TRepPrinter* ReportPrinter() const { return m_printer; }
    // The frame around the device rectangle (every kind but shapes ends its Print with it).
    void PrintFrame(int32_t ofsX, int32_t ofsY);
    // Moves the printable to its band's edge for its alignment, when AlignToBand.
    virtual void AlignIt();

private:
    std::unique_ptr<TRepPrintableSize> m_size;
    std::unique_ptr<TRepFrame> m_frame;
    controls::TAlignment m_alignment = controls::taLeftJustify;
    bool m_alignToBand = false;
    TRepPrinter* m_printer = nullptr;
    bool m_isPrinting = false;
    bool m_finished = true;
    bool m_aligning = false;
};

} // namespace report

#pragma once
// The text printable. Its caption is cut into lines (one per carriage return; wrapped at the
// label's width when it does not size itself); a label that sizes itself takes the width of its
// longest line as measured at screen resolution, keeping its left edge (or its right edge or
// centre, by its alignment). On the page the lines print at the printer's resolution, one below
// the other while they fit in the label; a label that stretches grows its band by a line while
// the page has room, and otherwise goes on on the next page.
#include <string>
#include <vector>

#include "report/ReportTypes.h"
#include "report/TRepPrintable.h"

namespace report {

using TRepLabelPrintEvent = frame::TEvent<frame::TObject*, std::string&>;

class TRepCustomLabel : public TRepPrintable {
public:
    ZORVANE_CLASS(TRepCustomLabel)
    explicit TRepCustomLabel(frame::TComponent* owner);

    const std::string& Caption() const { return m_caption; }
    // Stores the caption as the print text and formats it again (a label that sizes itself
    // resizes now).
    void SetCaption(const std::string& value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    bool AutoStretch() const { return m_autoStretch; }
    void SetAutoStretch(bool value) { m_autoStretch = value; }
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value) { m_transparent = value; }
    TBiDiMode BiDiMode() const { return m_biDiMode; }
    void SetBiDiMode(TBiDiMode value);
    bool ParentBiDiMode() const { return m_parentBiDiMode; }
    void SetParentBiDiMode(bool value) { m_parentBiDiMode = value; }

    // May replace the text for one print.
    TRepLabelPrintEvent OnPrint;

    // The print lines of the last formatting.
    const std::vector<std::string>& Lines() const { return m_lines; }
    bool Formatted() const { return m_formatted; }
    // Rebuilds the lines from the print text and applies AutoSize.
    virtual void FormatLines();

    void Prepare() override;
    void Print(int32_t ofsX, int32_t ofsY) override;
    int PrintProgress() const override { return m_nextLine; }

    void ListDefinedProperties(frame::TFiler& filer) override;

protected:
    // The text the label prints (its caption).
    virtual std::string CaptionSource() const { return m_caption; }

private:
    void SizeToLines(frame::TCanvas& canvas, int zoom);
    void EnsureLineHeight(frame::TCanvas& canvas, int zoom);
    void AddWrapped(frame::TCanvas& canvas, const std::string& piece, int width);
    bool RightToLeft() const;
    controls::TAlignment EffectiveAlignment() const;
    void PrintLines(TRepPrinter& printer, long double left, long double top, long double width,
                    long double height, long double lineHeight);

    std::string m_caption;
    std::string m_printText;
    std::vector<std::string> m_lines;
    bool m_formatted = false;
    int m_nextLine = 0;
    bool m_autoSize = true;
    bool m_autoStretch = false;
    bool m_wordWrap = true;
    bool m_transparent = false;
    TBiDiMode m_biDiMode = TBiDiMode::bdLeftToRight;
    bool m_parentBiDiMode = true;
};

class TRepLabel : public TRepCustomLabel {
public:
    ZORVANE_CLASS(TRepLabel)
    explicit TRepLabel(frame::TComponent* owner) : TRepCustomLabel(owner) {}
};

// The pieces of a label's text: line feeds dropped, cut at every carriage return (an empty last
// piece included).
std::vector<std::string> SplitLabelText(const std::string& text);

} // namespace report

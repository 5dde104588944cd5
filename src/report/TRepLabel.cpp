#include "report/TRepLabel.h"

#include <algorithm>

#include "frame/ClassBuilder.h"
#include "frame/TReader.h"
#include "frame/TWriter.h"
#include "platform/gdi/DeviceContext.h"
#include "report/TCustomReport.h"
#include "report/TRepBand.h"
#include "report/TRepPrinter.h"
#include "rtl/ScopeExit.h"
#include "rtl/Utf8.h"

namespace report {

using frame::Default;
namespace gdi = platform::gdi;

namespace {

constexpr unsigned kTextRtlReading = 256; // right-to-left reading order (TA_RTLREADING)
constexpr long double kPointsPerInch = 72.0L;
constexpr const char* kMeasureText = "W";

} // namespace

std::vector<std::string> SplitLabelText(const std::string& text) {
    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (c == '\n')
            continue;
        if (c == '\r')
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}

const frame::TClassInfo* TRepCustomLabel::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepCustomLabel>("TRepCustomLabel", TRepPrintable::StaticClass())
            .Property("AutoSize", &TRepCustomLabel::AutoSize, &TRepCustomLabel::SetAutoSize,
                      Default(1))
            .Property("AutoStretch", &TRepCustomLabel::AutoStretch,
                      &TRepCustomLabel::SetAutoStretch, Default(0))
            .Property("BiDiMode", &TRepCustomLabel::BiDiMode, &TRepCustomLabel::SetBiDiMode,
                      Default(int(TBiDiMode::bdLeftToRight)))
            .Property("Caption", &TRepCustomLabel::Caption, &TRepCustomLabel::SetCaption)
            .Property("ParentBiDiMode", &TRepCustomLabel::ParentBiDiMode,
                      &TRepCustomLabel::SetParentBiDiMode, Default(1))
            .Property("Transparent", &TRepCustomLabel::Transparent,
                      &TRepCustomLabel::SetTransparent, Default(0))
            .Property("WordWrap", &TRepCustomLabel::WordWrap, &TRepCustomLabel::SetWordWrap,
                      Default(1))
            .Property("OnPrint", &TRepCustomLabel::OnPrint)
            .Build();
    return info.get();
}

const frame::TClassInfo* TRepLabel::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepLabel>("TRepLabel", TRepCustomLabel::StaticClass()).Build();
    return info.get();
}

TRepCustomLabel::TRepCustomLabel(frame::TComponent* owner) : TRepPrintable(owner) {}

void TRepCustomLabel::ListDefinedProperties(frame::TFiler& filer) {
    TRepPrintable::ListDefinedProperties(filer);
    // The size in points, so the label keeps it whatever pixel height the font was stored with.
    filer.DefineProperty(
        "FontSize",
        [this](frame::TReader& r) {
            int32_t size = r.ReadInteger();
            if (size > 0)
                Font()->SetSize(size);
        },
        [this](frame::TWriter& w) { w.WriteInteger(Font()->Size()); }, true);
}

void TRepCustomLabel::SetCaption(const std::string& value) {
    m_caption = value;
    m_printText = CaptionSource();
    FormatLines();
    Invalidate();
}

void TRepCustomLabel::SetAutoSize(bool value) {
    if (m_autoSize == value)
        return;
    m_autoSize = value;
    FormatLines();
}

void TRepCustomLabel::SetWordWrap(bool value) {
    if (m_wordWrap == value)
        return;
    m_wordWrap = value;
    FormatLines();
}

void TRepCustomLabel::SetBiDiMode(TBiDiMode value) {
    m_biDiMode = value;
    m_parentBiDiMode = false;
}

bool TRepCustomLabel::RightToLeft() const {
    return m_biDiMode != TBiDiMode::bdLeftToRight;
}

// A right-to-left label mirrors its alignment (unless it only reads right to left).
controls::TAlignment TRepCustomLabel::EffectiveAlignment() const {
    controls::TAlignment a = Alignment();
    if (m_biDiMode != TBiDiMode::bdRightToLeft)
        return a;
    if (a == controls::taLeftJustify)
        return controls::taRightJustify;
    if (a == controls::taRightJustify)
        return controls::taLeftJustify;
    return a;
}

void TRepCustomLabel::FormatLines() {
    if (!Parent())
        return;
    m_lines.clear();
    TCustomReport* report = ParentReport();
    frame::TCanvas* canvas = report ? report->MeasureCanvas() : nullptr;
    if (canvas)
        canvas->Font()->Assign(Font());
    for (const std::string& piece : SplitLabelText(m_printText)) {
        if (m_autoSize || !canvas || !m_wordWrap)
            m_lines.push_back(piece);
        else
            AddWrapped(*canvas, piece, Width());
    }
    // Sizes are taken from the stored values once the label is read; until then nothing moves.
    if (canvas && !IsLoading()) {
        int zoom = report->Zoom();
        EnsureLineHeight(*canvas, zoom);
        if (m_autoSize) {
            SizeToLines(*canvas, zoom);
            EnsureLineHeight(*canvas, zoom);
        }
    }
    m_formatted = true;
}

void TRepCustomLabel::EnsureLineHeight(frame::TCanvas& canvas, int zoom) {
    int minHeight = canvas.TextExtent(kMeasureText).cy * zoom / 100 + 1;
    if (Height() < minHeight)
        SetBounds(Left(), Top(), Width(), minHeight);
}

void TRepCustomLabel::SizeToLines(frame::TCanvas& canvas, int zoom) {
    int newWidth = 0;
    for (const std::string& line : m_lines) {
        gdi::Size extent = canvas.TextExtent(line);
        int w = extent.cx >= 0 ? gdi::MulDiv(extent.cx + 1, zoom, 100) : 0;
        newWidth = std::max(newWidth, w);
    }
    if (Frame()->DrawLeft())
        newWidth += Frame()->Width();
    if (Frame()->DrawRight())
        newWidth += Frame()->Width();
    int left = Left();
    switch (EffectiveAlignment()) {
    case controls::taRightJustify:
        left += Width() - newWidth;
        break;
    case controls::taCenter:
        left += (Width() - newWidth) / 2;
        break;
    case controls::taLeftJustify:
        break;
    }
    SetBounds(left, Top(), newWidth, Height());
}

// Greedy word wrap at `width` pixels: breaks after blanks; a word longer than the line is cut
// between characters, at least one character a line.
void TRepCustomLabel::AddWrapped(frame::TCanvas& canvas, const std::string& piece, int width) {
    auto fits = [&](const std::string& text) { return canvas.TextExtent(text).cx <= width; };
    std::string line;
    std::size_t at = 0;
    while (at < piece.size()) {
        std::size_t end = piece.find(' ', at);
        end = end == std::string::npos ? piece.size() : end + 1;
        std::string word = piece.substr(at, end - at);
        at = end;
        if (fits(line + word)) {
            line += word;
            continue;
        }
        if (!line.empty()) {
            m_lines.push_back(line);
            line.clear();
            if (fits(word)) {
                line = word;
                continue;
            }
        }
        for (std::size_t i = 0; i < word.size();) {
            std::size_t n = rtl::Utf8CharLength(word, i);
            std::string next = line + word.substr(i, n);
            if (!line.empty() && !fits(next)) {
                m_lines.push_back(line);
                line = word.substr(i, n);
            } else {
                line = next;
            }
            i += n;
        }
    }
    m_lines.push_back(line);
}

void TRepCustomLabel::Prepare() {
    TRepPrintable::Prepare();
    SetFinished(true);
    m_nextLine = 0;
    SetCaption(m_caption);
}

void TRepCustomLabel::Print(int32_t ofsX, int32_t ofsY) {
    TRepPrinter* printer = ReportPrinter();
    if (!Enabled() || !printer || !printer->Canvas())
        return;
    frame::TCanvas& canvas = *printer->Canvas();
    auto lineHeightNow = [&] {
        canvas.Font()->Assign(Font());
        return canvas.TextHeight(kMeasureText) / printer->YFactor();
    };
    long double lineHeight = lineHeightNow();
    const TRepPrintableSize& s = *Size();
    long double top = ofsY + s.NativeValue(TRepPrintableSize::TopIndex);
    long double left = ofsX + s.NativeValue(TRepPrintableSize::LeftIndex);

    // The text OnPrint replaces is the label's own again after this print.
    bool replaced = false;
    rtl::ScopeExit restoreText([this, &replaced, text = m_printText] {
        if (replaced)
            m_printText = text;
    });
    if (!m_printText.empty() && OnPrint) {
        std::string value = m_printText;
        TAlive alive(this);
        OnPrint(this, value);
        if (!alive)
            return;
        lineHeight = lineHeightNow();
        if (value != m_printText) {
            replaced = true;
            m_printText = value;
            FormatLines();
        }
    } else {
        FormatLines();
    }
    long double height = s.NativeValue(TRepPrintableSize::HeightIndex);
    long double width = s.NativeValue(TRepPrintableSize::WidthIndex);
    TCustomReport* report = ParentReport();
    bool finalPass = !report || report->FinalPass();
    if (finalPass && !m_transparent) {
        canvas.Pen()->SetWidth(0);
        canvas.Brush()->SetStyle(frame::bsSolid);
        canvas.Brush()->SetColor(Color());
        canvas.FillRect(frame::TRect{printer->XPos(left), printer->YPos(top),
                                     printer->XPos(left + width), printer->YPos(top + height)});
    }
    if (finalPass && !m_autoSize && Frame()->AnyFrame()) {
        long double inset = RoundEven(Frame()->Width() / kPointsPerInch * kTenthsPerInch);
        if (Frame()->DrawTop())
            top += inset;
        if (Frame()->DrawLeft())
            left += inset;
    }
    PrintLines(*printer, left, top, width, height, lineHeight);
    if (canvas.HandleAllocated())
        canvas.Handle()->RemoveClip();
    PrintFrame(ofsX, ofsY);
}

void TRepCustomLabel::PrintLines(TRepPrinter& printer, long double left, long double top,
                                 long double width, long double height, long double lineHeight) {
    frame::TCanvas& canvas = *printer.Canvas();
    TCustomReport* report = ParentReport();
    bool finalPass = !report || report->FinalPass();
    canvas.Brush()->SetStyle(frame::bsClear);
    unsigned align = gdi::TA_TOP;
    long double x = left;
    switch (EffectiveAlignment()) {
    case controls::taLeftJustify:
        align |= gdi::TA_LEFT;
        break;
    case controls::taRightJustify:
        align |= gdi::TA_RIGHT;
        x = left + width;
        break;
    case controls::taCenter:
        align |= gdi::TA_CENTER;
        x = left + width / 2;
        break;
    }
    if (RightToLeft())
        align |= kTextRtlReading;
    gdi::DeviceContext* dc = canvas.Handle();
    unsigned oldAlign = dc->SetTextAlign(align);
    rtl::ScopeExit resetAlign([dc, oldAlign] { dc->SetTextAlign(oldAlign); });

    if (Finished())
        m_nextLine = 0;
    long double y = top;
    long double bottom = top + height + 1;
    auto* band = frame::As<TRepCustomBand>(Parent());
    const int count = int(m_lines.size());
    while (m_nextLine < count) {
        if (y + lineHeight > bottom) {
            // A stretching label grows its band by a line while the page has room for it.
            if (!m_autoStretch || !band || !report || lineHeight <= 0 ||
                report->AvailableSpace() - (band->PrintHeight() + band->Expanded()) < lineHeight)
                break;
            band->Expand(lineHeight);
            bottom += lineHeight;
            continue;
        }
        const std::string& line = m_lines[std::size_t(m_nextLine)];
        if (finalPass && !line.empty())
            canvas.TextOut(printer.XPos(x), printer.YPos(y), line);
        y += lineHeight;
        ++m_nextLine;
    }
    SetFinished(m_nextLine >= count);
}

} // namespace report

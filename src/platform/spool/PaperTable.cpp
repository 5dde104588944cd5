#include "platform/spool/PaperTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/spool/AsciiText.h"
#include "platform/spool/DeviceMode.h"

namespace platform::spool {

namespace {

struct PaperRow {
    int code;
    const char* media;  // self-describing name; "" when the service has no name of its own
    const char* legacy; // legacy name, compared ignoring case
    int width, length;  // hundredths of mm, portrait as the code describes it
};

// The first row of a name or size wins a reverse look-up: letter before its small and note
// twins, A4 before A4 small, tabloid before 11 x 17.
constexpr PaperRow kPapers[] = {
    {1, "na_letter_8.5x11in", "Letter", 21590, 27940},
    {2, "na_letter_8.5x11in", "LetterSmall", 21590, 27940},
    {3, "na_ledger_11x17in", "Tabloid", 27940, 43180},
    {4, "", "Ledger", 43180, 27940},
    {5, "na_legal_8.5x14in", "Legal", 21590, 35560},
    {6, "na_invoice_5.5x8.5in", "Statement", 13970, 21590},
    {7, "na_executive_7.25x10.5in", "Executive", 18415, 26670},
    {8, "iso_a3_297x420mm", "A3", 29700, 42000},
    {9, "iso_a4_210x297mm", "A4", 21000, 29700},
    {10, "iso_a4_210x297mm", "A4Small", 21000, 29700},
    {11, "iso_a5_148x210mm", "A5", 14800, 21000},
    {12, "iso_b4_250x353mm", "B4", 25000, 35300},
    {13, "jis_b5_182x257mm", "B5", 18200, 25700},
    {14, "na_foolscap_8.5x13in", "Folio", 21590, 33020},
    {15, "na_quarto_8.5x10.83in", "Quarto", 21590, 27508},
    {16, "na_10x14_10x14in", "10x14", 25400, 35560},
    {17, "na_ledger_11x17in", "11x17", 27940, 43180},
    {18, "na_letter_8.5x11in", "Note", 21590, 27940},
    {19, "na_number-9_3.875x8.875in", "Env9", 9843, 22543},
    {20, "na_number-10_4.125x9.5in", "Env10", 10478, 24130},
    {21, "na_number-11_4.5x10.375in", "Env11", 11430, 26353},
    {22, "na_number-12_4.75x11in", "Env12", 12065, 27940},
    {23, "na_number-14_5x11.5in", "Env14", 12700, 29210},
    {24, "na_c_17x22in", "AnsiC", 43180, 55880},
    {25, "na_d_22x34in", "AnsiD", 55880, 86360},
    {26, "na_e_34x44in", "AnsiE", 86360, 111760},
    {27, "iso_dl_110x220mm", "EnvDL", 11000, 22000},
    {28, "iso_c5_162x229mm", "EnvC5", 16200, 22900},
    {29, "iso_c3_324x458mm", "EnvC3", 32400, 45800},
    {30, "iso_c4_229x324mm", "EnvC4", 22900, 32400},
    {31, "iso_c6_114x162mm", "EnvC6", 11400, 16200},
    {34, "iso_b5_176x250mm", "EnvISOB5", 17600, 25000},
    {37, "na_monarch_3.875x7.5in", "EnvMonarch", 9843, 19050},
    {38, "na_personal_3.625x6.5in", "EnvPersonal", 9208, 16510},
    {43, "jpn_hagaki_100x148mm", "Postcard", 10000, 14800},
    {66, "iso_a2_420x594mm", "A2", 42000, 59400},
    {70, "iso_a6_105x148mm", "A6", 10500, 14800},
};

struct BinRow {
    int code;
    const char* source;
};

constexpr BinRow kBins[] = {
    {DMBIN_UPPER, "top"},
    {DMBIN_LOWER, "bottom"},
    {DMBIN_MIDDLE, "middle"},
    {DMBIN_MANUAL, "manual"},
    {DMBIN_ENVELOPE, "envelope"},
    {DMBIN_AUTO, "auto"},
    {DMBIN_LARGECAPACITY, "large-capacity"},
    {DMBIN_FORMSOURCE, "main"},
};

std::optional<double> ParseNumber(std::string_view text) {
    if (text.empty() || text.size() > 16)
        return std::nullopt;
    for (char c : text)
        if (!(c >= '0' && c <= '9') && c != '.')
            return std::nullopt;
    std::string copy(text);
    char* end = nullptr;
    double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !(value > 0) || value > 100000)
        return std::nullopt;
    return value;
}

// "<w>x<h>mm" or "<w>x<h>in" as hundredths of mm.
std::optional<MediaSize> ParseSizePart(std::string_view part) {
    double unit = 0;
    if (part.size() > 2 && part.substr(part.size() - 2) == "mm")
        unit = 100.0;
    else if (part.size() > 2 && part.substr(part.size() - 2) == "in")
        unit = 2540.0;
    else
        return std::nullopt;
    part.remove_suffix(2);
    size_t x = part.find('x');
    if (x == std::string_view::npos)
        return std::nullopt;
    auto w = ParseNumber(part.substr(0, x));
    auto h = ParseNumber(part.substr(x + 1));
    if (!w || !h)
        return std::nullopt;
    return MediaSize{int(std::lround(*w * unit)), int(std::lround(*h * unit))};
}

bool Near(MediaSize a, MediaSize b) {
    return std::abs(a.width - b.width) <= kMediaSizeTolerance &&
           std::abs(a.length - b.length) <= kMediaSizeTolerance;
}

// Tenths of mm as millimetres without trailing zeros ("100", "100.5").
std::string Millimetres(int tenths) {
    char buffer[32];
    if (tenths % 10 == 0)
        std::snprintf(buffer, sizeof buffer, "%d", tenths / 10);
    else
        std::snprintf(buffer, sizeof buffer, "%d.%d", tenths / 10, std::abs(tenths % 10));
    return buffer;
}

} // namespace

std::optional<MediaSize> MediaSizeFromName(std::string_view media) {
    // The size is the last part that reads as one; a suffix such as "_borderless" may follow.
    while (!media.empty()) {
        size_t cut = media.rfind('_');
        std::string_view part = cut == std::string_view::npos ? media : media.substr(cut + 1);
        if (auto size = ParseSizePart(part))
            return size;
        if (cut == std::string_view::npos)
            break;
        media = media.substr(0, cut);
    }
    return std::nullopt;
}

int PaperCodeForSize(MediaSize size) {
    for (const PaperRow& row : kPapers)
        if (Near(size, MediaSize{row.width, row.length}))
            return row.code;
    return 0;
}

int PaperCodeForMedia(std::string_view media) {
    if (media.empty())
        return 0;
    for (const PaperRow& row : kPapers)
        if (*row.media && media == row.media)
            return row.code;
    for (const PaperRow& row : kPapers)
        if (SameAsciiText(media, row.legacy))
            return row.code;
    if (auto size = MediaSizeFromName(media))
        return PaperCodeForSize(*size);
    return 0;
}

std::string MediaForPaperCode(int code) {
    for (const PaperRow& row : kPapers)
        if (row.code == code)
            return row.media;
    return {};
}

std::optional<MediaSize> PaperCodeSize(int code) {
    for (const PaperRow& row : kPapers)
        if (row.code == code)
            return MediaSize{row.width, row.length};
    return std::nullopt;
}

std::string CustomMediaName(int widthTenthsMm, int lengthTenthsMm) {
    std::string size = Millimetres(widthTenthsMm) + "x" + Millimetres(lengthTenthsMm) + "mm";
    return "custom_" + size + "_" + size;
}

int StandardBinCode(std::string_view source) {
    for (const BinRow& row : kBins)
        if (source == row.source)
            return row.code;
    return 0;
}

std::vector<int> AssignBinCodes(const std::vector<std::string>& sources) {
    std::vector<int> codes;
    int next = DMBIN_USER;
    for (const std::string& source : sources) {
        int code = StandardBinCode(source);
        if (code == 0 || std::find(codes.begin(), codes.end(), code) != codes.end())
            code = next++;
        codes.push_back(code);
    }
    return codes;
}

} // namespace platform::spool

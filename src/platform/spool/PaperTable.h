#pragma once
// Paper codes and paper sources of the device-mode record against the print service's media and
// source names. Media names are the self-describing kind ("iso_a4_210x297mm",
// "na_letter_8.5x11in", "custom_100x150mm_100x150mm"); a few legacy names ("A4", "Letter") are
// understood too.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::spool {

// Hundredths of a millimetre.
struct MediaSize {
    int width = 0;
    int length = 0;
    friend bool operator==(const MediaSize&, const MediaSize&) = default;
};

// Sizes within this distance (hundredths of mm) on both sides are the same paper: print services
// round sizes through points and inches.
constexpr int kMediaSizeTolerance = 100;

// The size written into a self-describing name (its last "<w>x<h>mm|in" part).
std::optional<MediaSize> MediaSizeFromName(std::string_view media);
// The paper code of a media name: by name, then by size; 0 when none matches.
int PaperCodeForMedia(std::string_view media);
// The paper code of a size, 0 when none matches.
int PaperCodeForSize(MediaSize size);
// The media name the code stands for (empty for codes without one, such as 17 x 11 in ledger).
std::string MediaForPaperCode(int code);
// The nominal size of a paper code, when it has one.
std::optional<MediaSize> PaperCodeSize(int code);
// A custom media name for a size in tenths of mm: "custom_100x150mm_100x150mm".
std::string CustomMediaName(int widthTenthsMm, int lengthTenthsMm);

// The classic bin code of a source name, 0 when it has none.
int StandardBinCode(std::string_view source);
// The bin codes of a destination's sources: the classic code where there is one (and not taken
// already), else DMBIN_USER upwards.
std::vector<int> AssignBinCodes(const std::vector<std::string>& sources);

} // namespace platform::spool

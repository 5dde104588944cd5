#include "platform/spool/DeviceMode.h"

#include <algorithm>
#include <cmath>

#include "platform/spool/PaperTable.h"

namespace platform::spool {

namespace {

// What a page is drawn at when the destination names no resolution of its own.
constexpr int kFallbackPixelsPerInch = 300;
constexpr double kHundredthsPerInch = 2540.0;

int ToPixels(int hundredthsMm, int ppi) {
    return int(std::lround(hundredthsMm * double(ppi) / kHundredthsPerInch));
}

} // namespace

std::vector<int> DeviceCaps::PaperCodes() const {
    std::vector<int> codes;
    for (const MediaEntry& entry : media)
        if (entry.code != 0 && std::find(codes.begin(), codes.end(), entry.code) == codes.end())
            codes.push_back(entry.code);
    if (customMedia)
        codes.push_back(DMPAPER_USER);
    return codes;
}

const MediaEntry* DeviceCaps::FindMedia(const std::string& mediaName) const {
    if (mediaName.empty())
        return nullptr;
    for (const MediaEntry& entry : media)
        if (entry.name == mediaName)
            return &entry;
    return nullptr;
}

const MediaEntry* DeviceCaps::FindMediaByCode(int code) const {
    if (code == 0)
        return nullptr;
    for (const MediaEntry& entry : media)
        if (entry.code == code)
            return &entry;
    return nullptr;
}

bool DeviceCaps::OffersSides(const std::string& keyword) const {
    return std::find(sides.begin(), sides.end(), keyword) != sides.end();
}

bool DeviceCaps::OffersSource(const std::string& keyword) const {
    return std::find(sources.begin(), sources.end(), keyword) != sources.end();
}

MediaEntry ChosenMedia(const DeviceCaps& caps, const DeviceMode& mode) {
    const MediaEntry* fallback = caps.FindMedia(mode.media);
    if (!fallback)
        fallback = caps.FindMedia(caps.defaults.media);
    if (!fallback && !caps.media.empty())
        fallback = &caps.media.front();

    if (mode.paperSize == DMPAPER_USER && caps.customMedia && mode.paperWidth > 0 &&
        mode.paperLength > 0) {
        MediaEntry custom;
        if (fallback)
            custom = *fallback; // the destination's margins
        custom.name = CustomMediaName(mode.paperWidth, mode.paperLength);
        custom.code = DMPAPER_USER;
        custom.width = mode.paperWidth * 10;
        custom.length = mode.paperLength * 10;
        return custom;
    }
    if (mode.paperSize != 0 && mode.paperSize != DMPAPER_USER) {
        if (const MediaEntry* own = caps.FindMedia(mode.media); own && own->code == mode.paperSize)
            return *own;
        if (const MediaEntry* byCode = caps.FindMediaByCode(mode.paperSize))
            return *byCode;
    }
    if (fallback)
        return *fallback;
    MediaEntry a4;
    a4.name = MediaForPaperCode(DMPAPER_A4);
    a4.code = DMPAPER_A4;
    MediaSize size = *PaperCodeSize(DMPAPER_A4);
    a4.width = size.width;
    a4.length = size.length;
    return a4;
}

Resolution ChosenResolution(const DeviceCaps& caps, const DeviceMode& mode) {
    if (mode.printQuality > 0)
        for (const Resolution& r : caps.resolutions)
            if (r.x == mode.printQuality && (mode.yResolution <= 0 || r.y == mode.yResolution))
                return r;
    if (caps.defaultResolution.x > 0 && caps.defaultResolution.y > 0)
        return caps.defaultResolution;
    return Resolution{kFallbackPixelsPerInch, kFallbackPixelsPerInch};
}

PageGeometry ComputeGeometry(const DeviceCaps& caps, const DeviceMode& mode) {
    // Pages are drawn square: a resolution finer one way is taken at its vertical value.
    Resolution res = ChosenResolution(caps, mode);
    res.x = res.y;
    MediaEntry m = ChosenMedia(caps, mode);
    int width = m.width, length = m.length;
    int left = m.left, top = m.top, right = m.right, bottom = m.bottom;
    if (mode.orientation == DMORIENT_LANDSCAPE) {
        // The page turns a quarter counter-clockwise on the sheet: its top is the sheet's left.
        std::swap(width, length);
        int oldLeft = left;
        left = bottom;
        bottom = right;
        right = top;
        top = oldLeft;
    }
    PageGeometry g;
    g.ppiX = res.x;
    g.ppiY = res.y;
    g.paperWidth = std::max(1, ToPixels(width, res.x));
    g.paperHeight = std::max(1, ToPixels(length, res.y));
    g.offsetX = ToPixels(left, res.x);
    g.offsetY = ToPixels(top, res.y);
    g.printableWidth = std::max(1, g.paperWidth - g.offsetX - ToPixels(right, res.x));
    g.printableHeight = std::max(1, g.paperHeight - g.offsetY - ToPixels(bottom, res.y));
    return g;
}

} // namespace platform::spool

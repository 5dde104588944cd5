#include "platform/spool/DestinationAttributes.h"

#include <algorithm>

#include "platform/spool/JobOptions.h"

namespace platform::spool {

namespace {

constexpr int kOrientationPortrait = 3;
constexpr int kOrientationLandscape = 4;
constexpr int kFileSinkPixelsPerInch = 300;
constexpr const char* kFileSinkDriver = "PDF file";
constexpr std::string_view kCustomMin = "custom_min_";
constexpr std::string_view kCustomMax = "custom_max_";

bool Contains(const std::vector<std::string>& list, std::string_view value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

void AddMedia(DeviceCaps& caps, const DestinationAttributes& a) {
    for (const std::string& name : a.media) {
        if (StartsWith(name, kCustomMin) || StartsWith(name, kCustomMax)) {
            caps.customMedia = true;
            continue;
        }
        auto size = MediaSizeFromName(name);
        int code = PaperCodeForMedia(name);
        if (!size && code != 0)
            size = PaperCodeSize(code);
        if (!size || caps.FindMedia(name))
            continue;
        MediaEntry entry;
        entry.name = name;
        entry.code = code;
        entry.width = size->width;
        entry.length = size->length;
        entry.left = BorderedMargin(a.leftMargins);
        entry.top = BorderedMargin(a.topMargins);
        entry.right = BorderedMargin(a.rightMargins);
        entry.bottom = BorderedMargin(a.bottomMargins);
        caps.media.push_back(entry);
    }
}

std::string DefaultMedia(const DeviceCaps& caps, const DestinationAttributes& a) {
    if (caps.FindMedia(a.mediaDefault))
        return a.mediaDefault;
    if (a.mediaColDefaultSize)
        for (const MediaEntry& entry : caps.media)
            if (PaperCodeForSize(*a.mediaColDefaultSize) != 0 &&
                entry.code == PaperCodeForSize(*a.mediaColDefaultSize))
                return entry.name;
    return caps.media.empty() ? std::string() : caps.media.front().name;
}

unsigned DeclaredFields(const DeviceCaps& caps) {
    unsigned fields = 0;
    if (caps.maxCopies > 1)
        fields |= DM_COPIES;
    if (std::find(caps.orientations.begin(), caps.orientations.end(), kOrientationPortrait) !=
            caps.orientations.end() &&
        std::find(caps.orientations.begin(), caps.orientations.end(), kOrientationLandscape) !=
            caps.orientations.end())
        fields |= DM_ORIENTATION;
    if (!caps.media.empty())
        fields |= DM_PAPERSIZE;
    if (caps.customMedia)
        fields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
    if (!caps.sources.empty())
        fields |= DM_DEFAULTSOURCE;
    if (caps.OffersSides(SidesKeyword(DMDUP_VERTICAL)) ||
        caps.OffersSides(SidesKeyword(DMDUP_HORIZONTAL)))
        fields |= DM_DUPLEX;
    if (caps.collatedCopies)
        fields |= DM_COLLATE;
    if (caps.resolutions.size() > 1)
        fields |= DM_PRINTQUALITY | DM_YRESOLUTION;
    return fields;
}

} // namespace

int BorderedMargin(const std::vector<int>& offered) {
    int best = 0;
    for (int m : offered)
        if (m > 0 && (best == 0 || m < best))
            best = m;
    return best;
}

DeviceCaps CapsFromAttributes(const DestinationAttributes& a) {
    DeviceCaps caps;
    caps.name = a.name;
    caps.driverName = a.makeAndModel.empty() ? a.name : a.makeAndModel;
    caps.maxCopies = std::max(1, a.copiesUpper);
    AddMedia(caps, a);
    caps.sources = a.sources;
    caps.sourceCodes = AssignBinCodes(a.sources);
    caps.sides = a.sides;
    caps.orientations = a.orientations;
    caps.resolutions = a.resolutions;
    caps.defaultResolution = a.resolutionDefault;
    if (caps.defaultResolution.x <= 0 && !caps.resolutions.empty())
        caps.defaultResolution = caps.resolutions.front();
    caps.collatedCopies = Contains(a.documentHandling, "separate-documents-collated-copies");
    caps.scalingNone = Contains(a.scaling, "none");

    DeviceMode& d = caps.defaults;
    d.deviceName = a.name;
    d.fields = DeclaredFields(caps);
    d.copies = std::clamp(a.copiesDefault, 1, caps.maxCopies);
    d.orientation =
        a.orientationDefault == kOrientationLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    d.media = DefaultMedia(caps, a);
    if (const MediaEntry* m = caps.FindMedia(d.media))
        d.paperSize = m->code;
    for (size_t i = 0; i < caps.sources.size(); ++i)
        if (caps.sources[i] == a.sourceDefault) {
            d.mediaSource = caps.sources[i];
            d.defaultSource = caps.sourceCodes[i];
        }
    d.duplex = caps.OffersSides(a.sidesDefault) ? DuplexFromSides(a.sidesDefault) : DMDUP_SIMPLEX;
    d.collate = caps.collatedCopies ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
    d.printQuality = caps.defaultResolution.x;
    d.yResolution = caps.defaultResolution.y;
    return caps;
}

DeviceCaps FileSinkCaps(const std::string& name) {
    DestinationAttributes a;
    a.name = name;
    a.makeAndModel = kFileSinkDriver;
    for (int code = 1; code < DMPAPER_USER; ++code) {
        std::string media = MediaForPaperCode(code);
        auto size = PaperCodeSize(code);
        // Papers the service has no name for (17 x 11 in ledger) go by their size.
        if (media.empty() && size)
            media = CustomMediaName(size->width / 10, size->length / 10);
        if (!media.empty() && !Contains(a.media, media))
            a.media.push_back(media);
    }
    a.mediaDefault = MediaForPaperCode(DMPAPER_A4);
    a.orientations = {kOrientationPortrait, kOrientationLandscape};
    a.resolutions = {Resolution{kFileSinkPixelsPerInch, kFileSinkPixelsPerInch}};
    a.resolutionDefault = a.resolutions.front();
    a.sides = {SidesKeyword(DMDUP_SIMPLEX)};
    a.sidesDefault = a.sides.front();
    DeviceCaps caps = CapsFromAttributes(a);
    caps.fileSink = true;
    caps.customMedia = true;
    caps.defaults.fields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
    return caps;
}

} // namespace platform::spool

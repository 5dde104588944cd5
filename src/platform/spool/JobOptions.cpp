#include "platform/spool/JobOptions.h"

#include <algorithm>

namespace platform::spool {

namespace {

constexpr int kOrientationPortrait = 3; // orientation-requested values
constexpr int kOrientationLandscape = 4;

bool Offers(const std::vector<int>& values, int value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

void AddSides(const DeviceCaps& caps, const DeviceMode& mode, JobOptionList& options) {
    std::string wanted = SidesKeyword((mode.fields & DM_DUPLEX) ? mode.duplex : DMDUP_SIMPLEX);
    if (caps.OffersSides(wanted))
        options.emplace_back("sides", wanted);
    else if (caps.OffersSides(SidesKeyword(DMDUP_SIMPLEX)))
        options.emplace_back("sides", SidesKeyword(DMDUP_SIMPLEX));
}

void AddSource(const DeviceCaps& caps, const DeviceMode& mode, JobOptionList& options) {
    if (!(mode.fields & DM_DEFAULTSOURCE) || mode.defaultSource == 0)
        return;
    for (size_t i = 0; i < caps.sources.size() && i < caps.sourceCodes.size(); ++i)
        if (caps.sourceCodes[i] == mode.defaultSource) {
            options.emplace_back("media-source", caps.sources[i]);
            return;
        }
}

} // namespace

std::string SidesKeyword(int duplex) {
    switch (duplex) {
    case DMDUP_VERTICAL:
        return "two-sided-long-edge";
    case DMDUP_HORIZONTAL:
        return "two-sided-short-edge";
    default:
        return "one-sided";
    }
}

int DuplexFromSides(const std::string& sides) {
    if (sides == "two-sided-long-edge")
        return DMDUP_VERTICAL;
    if (sides == "two-sided-short-edge")
        return DMDUP_HORIZONTAL;
    return DMDUP_SIMPLEX;
}

JobOptionList BuildJobOptions(const DeviceCaps& caps, const DeviceMode& mode) {
    JobOptionList options;
    if (caps.fileSink)
        return options;
    // Copies go even when 1: the queue's own default may be more.
    if ((mode.fields & DM_COPIES) && caps.maxCopies > 1)
        options.emplace_back("copies", std::to_string(std::clamp(mode.copies, 1, caps.maxCopies)));
    AddSides(caps, mode, options);
    MediaEntry media = ChosenMedia(caps, mode);
    if (caps.FindMedia(media.name) || (media.code == DMPAPER_USER && caps.customMedia))
        options.emplace_back("media", media.name);
    int orientation =
        mode.orientation == DMORIENT_LANDSCAPE ? kOrientationLandscape : kOrientationPortrait;
    if ((mode.fields & DM_ORIENTATION) && Offers(caps.orientations, orientation))
        options.emplace_back("orientation-requested", std::to_string(orientation));
    AddSource(caps, mode, options);
    // Pages are drawn at the paper's own size, positions measured on the sheet.
    if (caps.scalingNone)
        options.emplace_back("print-scaling", "none");
    return options;
}

} // namespace platform::spool

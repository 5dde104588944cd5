#pragma once
// The settings record of a print destination and what the destination offers. The record plays
// the classic device-mode role: the printer object holds one per selected destination, callers
// change its fields (only those the destination declares) and the job sends them as options.
// Codes are the classic device-mode numbers (paper 9 = A4, bin 7 = automatic ...), so layers
// above can keep their paper and bin tables in those terms; lengths in a record are tenths of
// a millimetre, lengths of media hundredths of a millimetre (the print service's own unit).
#include <string>
#include <vector>

namespace platform::spool {

// Fields a destination lets a job change (`DeviceMode::fields`).
constexpr unsigned DM_ORIENTATION = 0x00000001;
constexpr unsigned DM_PAPERSIZE = 0x00000002;
constexpr unsigned DM_PAPERLENGTH = 0x00000004;
constexpr unsigned DM_PAPERWIDTH = 0x00000008;
constexpr unsigned DM_COPIES = 0x00000100;
constexpr unsigned DM_DEFAULTSOURCE = 0x00000200;
constexpr unsigned DM_PRINTQUALITY = 0x00000400;
constexpr unsigned DM_DUPLEX = 0x00001000;
constexpr unsigned DM_YRESOLUTION = 0x00002000;
constexpr unsigned DM_COLLATE = 0x00008000;

constexpr int DMORIENT_PORTRAIT = 1;
constexpr int DMORIENT_LANDSCAPE = 2;

constexpr int DMDUP_SIMPLEX = 1;
constexpr int DMDUP_VERTICAL = 2;   // two-sided, bound on the long edge
constexpr int DMDUP_HORIZONTAL = 3; // two-sided, bound on the short edge

constexpr int DMCOLLATE_FALSE = 0;
constexpr int DMCOLLATE_TRUE = 1;

// Paper codes with a media name of their own (see PaperTable.h for all of them).
constexpr int DMPAPER_LETTER = 1;
constexpr int DMPAPER_A4 = 9;
// A custom size: `paperWidth` x `paperLength`.
constexpr int DMPAPER_USER = 256;

// Paper sources.
constexpr int DMBIN_UPPER = 1;
constexpr int DMBIN_LOWER = 2;
constexpr int DMBIN_MIDDLE = 3;
constexpr int DMBIN_MANUAL = 4;
constexpr int DMBIN_ENVELOPE = 5;
constexpr int DMBIN_ENVMANUAL = 6;
constexpr int DMBIN_AUTO = 7;
constexpr int DMBIN_TRACTOR = 8;
constexpr int DMBIN_SMALLFMT = 9;
constexpr int DMBIN_LARGEFMT = 10;
constexpr int DMBIN_LARGECAPACITY = 11;
constexpr int DMBIN_CASSETTE = 14;
constexpr int DMBIN_FORMSOURCE = 15;
// Sources with no classic code are numbered from here, in the destination's order.
constexpr int DMBIN_USER = 256;

struct DeviceMode {
    std::string deviceName;
    unsigned fields = 0; // DM_* the destination declares
    int orientation = DMORIENT_PORTRAIT;
    int paperSize = 0;   // DMPAPER_* code; 0: the media named in `media`, which has no code
    int paperLength = 0; // tenths of mm, for DMPAPER_USER
    int paperWidth = 0;
    int copies = 1;
    int defaultSource = 0; // DMBIN_* code; 0: the destination chooses
    int printQuality = 0;  // horizontal pixels per inch; 0: the destination's default
    int yResolution = 0;   // vertical pixels per inch
    int duplex = DMDUP_SIMPLEX;
    int collate = DMCOLLATE_FALSE;
    std::string media;       // the destination's media name read with the record
    std::string mediaSource; // the destination's source name read with the record
};

// One paper a destination offers; sizes and margins in hundredths of mm, portrait.
struct MediaEntry {
    std::string name;
    int code = 0; // DMPAPER_* or 0
    int width = 0;
    int length = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct Resolution {
    int x = 0;
    int y = 0;
    friend bool operator==(const Resolution&, const Resolution&) = default;
};

// What a destination offers, read once when it is selected.
struct DeviceCaps {
    std::string name;
    std::string driverName; // make and model, as the destination describes itself
    bool fileSink = false;
    int maxCopies = 1;
    std::vector<MediaEntry> media;
    bool customMedia = false; // sizes of one's own are accepted
    std::vector<std::string> sources;
    std::vector<int> sourceCodes; // DMBIN_* of each source
    std::vector<std::string> sides;
    std::vector<int> orientations; // orientation-requested values offered (3 portrait, 4 landscape)
    std::vector<Resolution> resolutions;
    Resolution defaultResolution;
    bool collatedCopies = false;
    bool scalingNone = false; // the destination can be told not to scale pages
    DeviceMode defaults;      // the destination's own settings

    // Paper codes offered, in the destination's order, without repeats.
    std::vector<int> PaperCodes() const;
    // Bin codes offered.
    std::vector<int> BinCodes() const { return sourceCodes; }
    const MediaEntry* FindMedia(const std::string& name) const;
    const MediaEntry* FindMediaByCode(int code) const;
    bool OffersSides(const std::string& keyword) const;
    bool OffersSource(const std::string& keyword) const;
};

// The page of a job in device pixels: the paper in the job's orientation, the unprintable
// offsets at its left and top, and the printable area.
struct PageGeometry {
    int ppiX = 0;
    int ppiY = 0;
    int paperWidth = 0;
    int paperHeight = 0;
    int offsetX = 0;
    int offsetY = 0;
    int printableWidth = 0;
    int printableHeight = 0;
};

// The paper a record gets on that destination: the size it asks for when the destination offers
// it, else the record's own media, else the destination's default (a destination keeps its paper
// when asked for one it does not have). The record's resolution, and its page.
MediaEntry ChosenMedia(const DeviceCaps& caps, const DeviceMode& mode);
Resolution ChosenResolution(const DeviceCaps& caps, const DeviceMode& mode);
PageGeometry ComputeGeometry(const DeviceCaps& caps, const DeviceMode& mode);

} // namespace platform::spool

#include "report/ReportTypes.h"

#include <cmath>
#include <limits>

#include "platform/spool/DeviceMode.h"

namespace report {

namespace spool = platform::spool;

namespace {

// The engine's own sizes (Note is 279.0 mm long, the sheets 100 x 100: the sizes its stored
// pages were laid out with). Codes 1 to 26 are the device-mode paper codes of the same number.
constexpr TPaperInfo kPapers[kPaperSizeCount] = {
    {0, 0, 0},
    {215.9L, 279.4L, 1},
    {215.9L, 279.4L, 2},
    {279.4L, 431.8L, 3},
    {431.8L, 279.4L, 4},
    {215.9L, 355.6L, 5},
    {139.7L, 215.9L, 6},
    {190.5L, 254.0L, 7},
    {297, 420, 8},
    {210, 297, spool::DMPAPER_A4},
    {210, 297, 10},
    {148, 210, 11},
    {250, 354, 12},
    {182, 257, 13},
    {215.9L, 330.2L, 14},
    {215, 275, 15},
    {254.0L, 355.6L, 16},
    {279.4L, 431.8L, 17},
    {215.9L, 279.0L, 18},
    {98.43L, 225.4L, 19},
    {104.8L, 241.3L, 20},
    {114.3L, 263.5L, 21},
    {101.6L, 279.4L, 22},
    {127.0L, 292.1L, 23},
    {100, 100, 24},
    {100, 100, 25},
    {100, 100, 26},
    {0, 0, spool::DMPAPER_USER},
};

constexpr int kBins[kBinCount] = {
    spool::DMBIN_UPPER,     spool::DMBIN_UPPER,    spool::DMBIN_LOWER,
    spool::DMBIN_MIDDLE,    spool::DMBIN_MANUAL,   spool::DMBIN_ENVELOPE,
    spool::DMBIN_ENVMANUAL, spool::DMBIN_AUTO,     spool::DMBIN_TRACTOR,
    spool::DMBIN_SMALLFMT,  spool::DMBIN_LARGEFMT, spool::DMBIN_LARGECAPACITY,
    spool::DMBIN_CASSETTE,  spool::DMBIN_CASSETTE,
};

} // namespace

const TPaperInfo& PaperInfo(TRepPaperSize size) {
    int index = int(size);
    return kPapers[index >= 0 && index < kPaperSizeCount ? index : 0];
}

bool PaperSizeForCode(int code, TRepPaperSize& size) {
    for (int i = 1; i < kPaperSizeCount; ++i)
        if (kPapers[i].code == code) {
            size = TRepPaperSize(i);
            return true;
        }
    return false;
}

int BinCode(TRepBin bin) {
    int index = int(bin);
    return kBins[index >= 0 && index < kBinCount ? index : 0];
}

bool BinForCode(int code, TRepBin& bin) {
    for (int i = 0; i < kBinCount; ++i)
        if (kBins[i] == code) {
            bin = TRepBin(i);
            return true;
        }
    return false;
}

int32_t RoundEven(long double value) {
    if (std::isnan(value))
        return 0;
    constexpr long double lo = std::numeric_limits<int32_t>::min();
    constexpr long double hi = std::numeric_limits<int32_t>::max();
    if (value <= lo)
        return std::numeric_limits<int32_t>::min();
    if (value >= hi)
        return std::numeric_limits<int32_t>::max();
    // Halves go to the even neighbour whatever rounding mode the process has set.
    long double r = std::floor(value);
    long double diff = value - r;
    if (diff > 0.5L || (diff == 0.5L && std::fmod(r, 2.0L) != 0))
        r += 1;
    return int32_t(r);
}

} // namespace report

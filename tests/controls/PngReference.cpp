#include "PngReference.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/gdi/PngFile.h"

namespace controlstest {

namespace {

using platform::gdi::Bitmap;

// --- Inflate (RFC 1951) ---

struct Inflater {
    const std::uint8_t* in = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
    std::uint32_t bitBuf = 0;
    int bitCount = 0;
    std::vector<std::uint8_t> out;
    bool failed = false;

    int Bits(int need) {
        std::uint32_t v = bitBuf;
        while (bitCount < need) {
            if (pos >= size) {
                failed = true;
                return 0;
            }
            v |= std::uint32_t(in[pos++]) << bitCount;
            bitCount += 8;
        }
        bitBuf = v >> need;
        bitCount -= need;
        return int(v & ((1u << need) - 1));
    }

    struct Huffman {
        std::array<short, 16> count{};
        std::array<short, 320> symbol{};
    };

    static void Build(Huffman& h, const short* lengths, int n) {
        h.count.fill(0);
        for (int i = 0; i < n; ++i)
            h.count[std::size_t(lengths[i])]++;
        std::array<short, 16> offs{};
        for (int len = 1; len < 15; ++len)
            offs[std::size_t(len + 1)] = short(offs[std::size_t(len)] + h.count[std::size_t(len)]);
        for (int i = 0; i < n; ++i) {
            if (lengths[i])
                h.symbol[std::size_t(offs[std::size_t(lengths[i])]++)] = short(i);
        }
    }

    int Decode(const Huffman& h) {
        int code = 0, first = 0, index = 0;
        for (int len = 1; len < 16; ++len) {
            code |= Bits(1);
            if (failed)
                return -1;
            int count = h.count[std::size_t(len)];
            if (code - count < first)
                return h.symbol[std::size_t(index + (code - first))];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        failed = true;
        return -1;
    }

    bool Codes(const Huffman& lit, const Huffman& dist) {
        static const short kLenBase[] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                         15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                         67, 83, 99, 115, 131, 163, 195, 227, 258};
        static const short kLenExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                          2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        static const int kDistBase[] = {
            1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
            193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
        static const short kDistExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                           6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
        for (;;) {
            int sym = Decode(lit);
            if (failed || sym < 0)
                return false;
            if (sym < 256) {
                out.push_back(std::uint8_t(sym));
            } else if (sym == 256) {
                return true;
            } else {
                sym -= 257;
                if (sym >= 29)
                    return false;
                int len = kLenBase[sym] + Bits(kLenExtra[sym]);
                int d = Decode(dist);
                if (failed || d < 0 || d >= 30)
                    return false;
                std::size_t back = std::size_t(kDistBase[d] + Bits(kDistExtra[d]));
                if (failed || back > out.size())
                    return false;
                for (int i = 0; i < len; ++i)
                    out.push_back(out[out.size() - back]);
            }
        }
    }

    bool Fixed() {
        short lengths[288 + 30];
        int i = 0;
        for (; i < 144; ++i)
            lengths[i] = 8;
        for (; i < 256; ++i)
            lengths[i] = 9;
        for (; i < 280; ++i)
            lengths[i] = 7;
        for (; i < 288; ++i)
            lengths[i] = 8;
        for (; i < 318; ++i)
            lengths[i] = 5;
        Huffman lit, dist;
        Build(lit, lengths, 288);
        Build(dist, lengths + 288, 30);
        return Codes(lit, dist);
    }

    bool Dynamic() {
        static const std::uint8_t kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                11, 4,  12, 3, 13, 2, 14, 1, 15};
        int nlen = Bits(5) + 257, ndist = Bits(5) + 1, ncode = Bits(4) + 4;
        if (failed || nlen > 286 || ndist > 30)
            return false;
        short lengths[320] = {};
        for (int i = 0; i < ncode; ++i)
            lengths[kOrder[i]] = short(Bits(3));
        Huffman lencode;
        Build(lencode, lengths, 19);
        int index = 0;
        while (index < nlen + ndist) {
            int sym = Decode(lencode);
            if (failed || sym < 0)
                return false;
            if (sym < 16) {
                lengths[index++] = short(sym);
                continue;
            }
            short len = 0;
            int repeat;
            if (sym == 16) {
                if (index == 0)
                    return false;
                len = lengths[index - 1];
                repeat = 3 + Bits(2);
            } else if (sym == 17) {
                repeat = 3 + Bits(3);
            } else {
                repeat = 11 + Bits(7);
            }
            if (index + repeat > nlen + ndist)
                return false;
            while (repeat--)
                lengths[index++] = len;
        }
        Huffman lit, dist;
        Build(lit, lengths, nlen);
        Build(dist, lengths + nlen, ndist);
        return Codes(lit, dist);
    }

    bool Run() {
        for (int last = 0; !last;) {
            last = Bits(1);
            int type = Bits(2);
            if (failed)
                return false;
            bool ok = false;
            if (type == 0) {
                bitBuf = 0;
                bitCount = 0;
                if (pos + 4 > size)
                    return false;
                std::size_t len = in[pos] | (in[pos + 1] << 8);
                pos += 4;
                if (pos + len > size)
                    return false;
                out.insert(out.end(), in + pos, in + pos + len);
                pos += len;
                ok = true;
            } else if (type == 1) {
                ok = Fixed();
            } else if (type == 2) {
                ok = Dynamic();
            }
            if (!ok)
                return false;
        }
        return true;
    }
};

std::uint32_t BigEndian(const std::string& s, std::size_t at) {
    auto b = [&](std::size_t i) { return std::uint32_t(std::uint8_t(s[at + i])); };
    return (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
}

int Paeth(int a, int b, int c) {
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

} // namespace

bool DecodePng(const std::string& bytes, Bitmap& image) {
    if (bytes.size() < 8 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        return false;
    int width = 0, height = 0, channels = 0;
    std::string idat;
    for (std::size_t at = 8; at + 12 <= bytes.size();) {
        std::uint32_t len = BigEndian(bytes, at);
        std::string type = bytes.substr(at + 4, 4);
        if (at + 12 + len > bytes.size())
            return false;
        if (type == "IHDR" && len >= 13) {
            width = int(BigEndian(bytes, at + 8));
            height = int(BigEndian(bytes, at + 12));
            int depth = std::uint8_t(bytes[at + 16]), colour = std::uint8_t(bytes[at + 17]);
            if (depth != 8 || (colour != 2 && colour != 6) || bytes[at + 20] != 0)
                return false;
            channels = colour == 2 ? 3 : 4;
        } else if (type == "IDAT") {
            idat += bytes.substr(at + 8, len);
        }
        at += 12 + len;
    }
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096 || idat.size() < 2)
        return false;
    Inflater z;
    z.in = reinterpret_cast<const std::uint8_t*>(idat.data()) + 2;
    z.size = idat.size() - 2;
    if (!z.Run())
        return false;
    std::size_t rowBytes = std::size_t(width) * std::size_t(channels);
    if (z.out.size() < (rowBytes + 1) * std::size_t(height))
        return false;
    image = Bitmap(width, height, 0, channels == 4);
    std::vector<std::uint8_t> prev(rowBytes, 0), row(rowBytes);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = &z.out[std::size_t(y) * (rowBytes + 1)];
        int filter = src[0];
        for (std::size_t i = 0; i < rowBytes; ++i) {
            int a = i >= std::size_t(channels) ? row[i - std::size_t(channels)] : 0;
            int b = prev[i];
            int c = i >= std::size_t(channels) ? prev[i - std::size_t(channels)] : 0;
            int pred = filter == 1   ? a
                       : filter == 2 ? b
                       : filter == 3 ? (a + b) / 2
                       : filter == 4 ? Paeth(a, b, c)
                                     : 0;
            row[i] = std::uint8_t(src[1 + i] + pred);
        }
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = &row[std::size_t(x) * std::size_t(channels)];
            std::uint32_t alpha = channels == 4 ? p[3] : 0xFF;
            image.Row(y)[x] =
                (alpha << 24) | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
        }
        prev = row;
    }
    return true;
}

std::string CompareWithReference(const Bitmap& actual, const std::string& name, int tolerance,
                                 int maxOff) {
    std::string refPath =
        std::string(ZORVANE_SOURCE_DIR) + "/tests/controls/reference/" + name + ".png";
    std::string actualPath = std::string(ZORVANE_BINARY_DIR) + "/" + name + "-actual.png";
    auto saveActual = [&](const std::string& path) {
        std::ofstream(path, std::ios::binary) << platform::gdi::EncodePng(actual);
    };
    const char* update = std::getenv("ZORVANE_UPDATE_REFERENCES");
    if (update && std::string(update) == "1") {
        saveActual(refPath);
        return std::string();
    }
    Bitmap expected;
    if (!DecodePng(ReadFile(refPath), expected)) {
        saveActual(actualPath);
        return "no readable reference " + refPath + "; actual saved as " + actualPath;
    }
    if (expected.Width() != actual.Width() || expected.Height() != actual.Height()) {
        saveActual(actualPath);
        return "size differs; actual saved as " + actualPath;
    }
    int off = 0;
    for (int y = 0; y < actual.Height(); ++y) {
        for (int x = 0; x < actual.Width(); ++x) {
            std::uint32_t a = actual.Word(x, y), e = expected.Word(x, y);
            for (int shift = 0; shift < 24; shift += 8) {
                if (std::abs(int((a >> shift) & 0xFF) - int((e >> shift) & 0xFF)) > tolerance) {
                    ++off;
                    break;
                }
            }
        }
    }
    if (off <= maxOff)
        return std::string();
    saveActual(actualPath);
    return std::to_string(off) + " pixels differ; actual saved as " + actualPath;
}

} // namespace controlstest

// imagegen OUTDIR — draws the program's pictures and writes them to OUTDIR: the input form's
// 112 x 112 JPEG, the 144 x 144 24-bit bitmap of the result form and about box, the 32 x 32
// 16-colour icon, the four 32 x 16 glyphs of the forms' buttons and the button-kind glyphs.
// Everything is drawn from code, so the pictures can be made again at any time.
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "frame/graphics/DibImage.h"
#include "platform/gdi/DeviceContext.h"

using platform::gdi::Bitmap;
using platform::gdi::BrushSpec;
using platform::gdi::BrushStyle;
using platform::gdi::ColorRef;
using platform::gdi::DeviceContext;
using platform::gdi::PenSpec;
using platform::gdi::PenStyle;
using platform::gdi::Point;
using platform::gdi::Rect;
using platform::gdi::RGB;

namespace {

// The 16 colours of the classic palette, in the usual order.
const ColorRef kVga[16] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(128, 128, 128),
    RGB(192, 192, 192), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
constexpr ColorRef kBlack = RGB(0, 0, 0), kMaroon = RGB(128, 0, 0), kGreen = RGB(0, 128, 0),
                   kOlive = RGB(128, 128, 0), kNavy = RGB(0, 0, 128), kGray = RGB(128, 128, 128),
                   kSilver = RGB(192, 192, 192), kRed = RGB(255, 0, 0), kLime = RGB(0, 255, 0),
                   kYellow = RGB(255, 255, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255),
                   kTeal = RGB(0, 128, 128);

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!f)
        throw std::runtime_error("cannot write " + path);
    std::printf("%s (%zu bytes)\n", path.c_str(), bytes.size());
}

// Box-filters a drawing made at `factor` times the size: the pictures get smooth edges while the
// drawing layer itself never anti-aliases.
Bitmap Downsample(const Bitmap& big, int factor) {
    Bitmap out(big.Width() / factor, big.Height() / factor);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            unsigned sum[3] = {0, 0, 0};
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx) {
                    std::uint32_t w = big.Word(x * factor + dx, y * factor + dy);
                    for (int c = 0; c < 3; ++c)
                        sum[c] += (w >> (8 * c)) & 0xFF;
                }
            unsigned n = unsigned(factor * factor);
            out.Row(y)[x] = 0xFF000000u | ((sum[2] + n / 2) / n) << 16 |
                            ((sum[1] + n / 2) / n) << 8 | ((sum[0] + n / 2) / n);
        }
    return out;
}

// The three cycles of 23, 28 and 33 days over one month, as the charts show them.
void DrawCycles(DeviceContext& dc, Rect area, int penWidth, bool colour) {
    const int periods[3] = {23, 28, 33};
    const ColorRef colours[3] = {RGB(220, 30, 30), RGB(20, 150, 40), RGB(30, 60, 220)};
    const double phases[3] = {3.0, 11.0, 20.0};
    for (int k = 0; k < 3; ++k) {
        std::vector<Point> pts;
        int steps = area.Width();
        for (int i = 0; i <= steps; ++i) {
            double day = 31.0 * i / steps;
            double v = -std::sin(2 * M_PI * (day + phases[k]) / periods[k]);
            int y = area.top + int(std::lround((1 - v) / 2 * (area.Height() - 1)));
            pts.push_back(Point{area.left + i, y});
        }
        dc.SetPen(PenSpec{PenStyle::Solid, penWidth, colour ? colours[k] : kVga[9 + 3 * 0]});
        dc.Polyline(pts);
    }
}

// A picture of the cycles under a sky: the background shades from `top` to `bottom`.
Bitmap CyclePicture(int size, ColorRef top, ColorRef bottom, bool sun) {
    const int f = 4;
    Bitmap big(size * f, size * f);
    for (int y = 0; y < big.Height(); ++y) {
        double t = double(y) / (big.Height() - 1);
        int r = int(std::lround(platform::gdi::GetRValue(top) * (1 - t) +
                                platform::gdi::GetRValue(bottom) * t));
        int g = int(std::lround(platform::gdi::GetGValue(top) * (1 - t) +
                                platform::gdi::GetGValue(bottom) * t));
        int b = int(std::lround(platform::gdi::GetBValue(top) * (1 - t) +
                                platform::gdi::GetBValue(bottom) * t));
        for (int x = 0; x < big.Width(); ++x)
            big.Row(y)[x] =
                0xFF000000u | std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
    }
    auto dc = DeviceContext::ForBitmap(big);
    int s = size * f;
    if (sun) {
        dc->SetPen(PenSpec{PenStyle::Clear, 1, 0});
        dc->SetBrush(BrushSpec{BrushStyle::Solid, RGB(255, 214, 80)});
        dc->Ellipse(Rect{s * 62 / 100, s * 8 / 100, s * 88 / 100, s * 34 / 100});
    }
    // The axis and a light grid of weeks.
    dc->SetPen(PenSpec{PenStyle::Solid, f, RGB(150, 150, 150)});
    for (int w = 1; w < 5; ++w) {
        int x = s * 8 / 100 + (s * 84 / 100) * w * 7 / 31;
        dc->MoveTo(x, s * 40 / 100);
        dc->LineTo(x, s * 92 / 100);
    }
    dc->SetPen(PenSpec{PenStyle::Solid, 2 * f, RGB(60, 60, 60)});
    dc->MoveTo(s * 6 / 100, s * 66 / 100);
    dc->LineTo(s * 94 / 100, s * 66 / 100);
    dc->MoveTo(s * 8 / 100, s * 38 / 100);
    dc->LineTo(s * 8 / 100, s * 94 / 100);
    DrawCycles(*dc, Rect{s * 8 / 100, s * 42 / 100, s * 92 / 100, s * 90 / 100}, 3 * f, true);
    dc.reset();
    return Downsample(big, f);
}

void WriteJpeg(const std::string& path, const Bitmap& image, int quality) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(image.Width());
    c.image_height = JDIMENSION(image.Height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<std::uint8_t> row(std::size_t(image.Width()) * 3);
    while (c.next_scanline < c.image_height) {
        const std::uint32_t* s = image.Row(int(c.next_scanline));
        for (int x = 0; x < image.Width(); ++x) {
            row[3 * x] = std::uint8_t(s[x] >> 16);
            row[3 * x + 1] = std::uint8_t(s[x] >> 8);
            row[3 * x + 2] = std::uint8_t(s[x]);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    WriteBytes(path, std::vector<std::uint8_t>(buffer, buffer + size));
    std::free(buffer);
    jpeg_destroy_compress(&c);
}

int NearestVga(std::uint32_t word) {
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 16; ++i) {
        long d = 0;
        std::uint32_t v = platform::gdi::ColorToWord(kVga[i]);
        for (int c = 0; c < 3; ++c) {
            long a = long((word >> (8 * c)) & 0xFF), b = long((v >> (8 * c)) & 0xFF);
            d += (a - b) * (a - b);
        }
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// A 4-bit bitmap with the classic 16-colour table.
frame::DibImage FourBit(const Bitmap& image) {
    frame::DibImage dib;
    dib.width = image.Width();
    dib.height = image.Height();
    dib.bitCount = 4;
    for (ColorRef c : kVga)
        dib.colors.push_back(platform::gdi::ColorToWord(c) & 0xFFFFFF);
    std::size_t rowBytes = dib.RowBytes();
    dib.pixels.assign(rowBytes * std::size_t(dib.height), 0);
    for (int y = 0; y < dib.height; ++y)
        for (int x = 0; x < dib.width; ++x) {
            int index = NearestVga(image.Word(x, dib.height - 1 - y));
            dib.pixels[std::size_t(y) * rowBytes + std::size_t(x / 2)] |=
                std::uint8_t(index << ((x & 1) ? 0 : 4));
        }
    return dib;
}

void WriteFourBitBmp(const std::string& path, const Bitmap& image) {
    WriteBytes(path, frame::WriteBmpFile(FourBit(image)));
}

// Two cells side by side: the glyph, and its disabled form — the dark pixels embossed in
// white and grey on the glyph's background, as disabled buttons show them.
Bitmap TwoCells(int cell, int height, ColorRef background,
                const std::function<void(DeviceContext&)>& draw) {
    Bitmap normal(cell, height, platform::gdi::ColorToWord(background));
    {
        auto dc = DeviceContext::ForBitmap(normal);
        draw(*dc);
    }
    Bitmap out(cell * 2, height, platform::gdi::ColorToWord(background));
    std::uint32_t bg = platform::gdi::ColorToWord(background) | 0xFF000000u;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < cell; ++x)
            out.Row(y)[x] = normal.Word(x, y) | 0xFF000000u;
    auto dark = [&](int x, int y) {
        std::uint32_t w = normal.Word(x, y) | 0xFF000000u;
        if (w == bg)
            return false;
        int lum = int(((w >> 16) & 0xFF) * 30 + ((w >> 8) & 0xFF) * 59 + (w & 0xFF) * 11) / 100;
        return lum < 192;
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < cell; ++x)
            if (dark(x, y) && x + 1 < cell && y + 1 < height)
                out.Row(y + 1)[cell + x + 1] = 0xFFFFFFFFu;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < cell; ++x)
            if (dark(x, y))
                out.Row(y)[cell + x] = platform::gdi::ColorToWord(kGray) | 0xFF000000u;
    return out;
}

void Fill(DeviceContext& dc, ColorRef colour) {
    dc.SetPen(PenSpec{PenStyle::Solid, 1, kBlack});
    dc.SetBrush(BrushSpec{BrushStyle::Solid, colour});
}

void Shape(DeviceContext& dc, ColorRef fill, std::vector<Point> pts) {
    Fill(dc, fill);
    dc.Polygon(pts);
}

void ThickLine(DeviceContext& dc, ColorRef colour, int width, Point a, Point b) {
    dc.SetPen(PenSpec{PenStyle::Solid, width, colour});
    dc.MoveTo(a.x, a.y);
    dc.LineTo(b.x, b.y);
}

// Pixel art: one character per pixel; '.' keeps the background.
void Art(DeviceContext& dc, int left, int top, const std::vector<std::string>& rows,
         const std::function<ColorRef(char)>& colour) {
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            if (rows[y][x] != '.')
                dc.SetPixel(left + int(x), top + int(y), colour(rows[y][x]));
}

Bitmap Icon() {
    Bitmap image(32, 32, 0xFFFFFF);
    auto dc = DeviceContext::ForBitmap(image);
    Fill(*dc, kWhite);
    dc->SetBrush(BrushSpec{BrushStyle::Solid, kYellow});
    dc->Rectangle(Rect{1, 1, 31, 31});
    dc->SetPen(PenSpec{PenStyle::Solid, 1, kSilver});
    for (int x = 8; x < 31; x += 7) {
        dc->MoveTo(x, 2);
        dc->LineTo(x, 30);
    }
    dc->SetPen(PenSpec{PenStyle::Solid, 1, kBlack});
    dc->MoveTo(2, 16);
    dc->LineTo(30, 16);
    const int periods[3] = {23, 28, 33};
    const ColorRef colours[3] = {kRed, kGreen, kBlue};
    for (int k = 0; k < 3; ++k) {
        std::vector<Point> pts;
        for (int x = 2; x <= 29; ++x) {
            double v = -std::sin(2 * M_PI * ((x - 2) * 31.0 / 27 + 4 * k + 2) / periods[k]);
            pts.push_back(Point{x, 16 - int(std::lround(v * 11))});
        }
        dc->SetPen(PenSpec{PenStyle::Solid, 2, colours[k]});
        dc->Polyline(pts);
    }
    return image;
}

// An ICO file with one 32 x 32 4-bit image; the corners are masked out.
std::vector<std::uint8_t> IconFile(const Bitmap& image) {
    frame::DibImage dib = FourBit(image);
    std::vector<std::uint8_t> out;
    auto u16 = [&](int v) {
        out.push_back(std::uint8_t(v));
        out.push_back(std::uint8_t(v >> 8));
    };
    auto u32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(std::uint8_t(v >> (8 * i)));
    };
    std::size_t xorBytes = dib.pixels.size(), andBytes = 4 * 32;
    std::uint32_t imageBytes = std::uint32_t(40 + 16 * 4 + xorBytes + andBytes);
    u16(0);
    u16(1);
    u16(1);
    out.push_back(32);
    out.push_back(32);
    out.push_back(16);
    out.push_back(0);
    u16(1);
    u16(4);
    u32(imageBytes);
    u32(22);
    u32(40);
    u32(32);
    u32(64);
    u16(1);
    u16(4);
    u32(0);
    u32(std::uint32_t(xorBytes + andBytes));
    u32(0);
    u32(0);
    u32(0);
    u32(0);
    for (std::uint32_t c : dib.colors)
        u32(c);
    out.insert(out.end(), dib.pixels.begin(), dib.pixels.end());
    for (int y = 31; y >= 0; --y) {
        std::uint32_t bits = 0;
        for (int x = 0; x < 32; ++x) {
            bool corner = (x == 0 || x == 31) && (y == 0 || y == 31);
            if (corner)
                bits |= 0x80000000u >> x;
        }
        out.push_back(std::uint8_t(bits >> 24));
        out.push_back(std::uint8_t(bits >> 16));
        out.push_back(std::uint8_t(bits >> 8));
        out.push_back(std::uint8_t(bits));
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: imagegen OUTDIR\n");
        return 2;
    }
    std::string dir = argv[1];
    try {
        WriteJpeg(dir + "/intro.jpg",
                  CyclePicture(112, RGB(150, 200, 255), RGB(255, 255, 230), true), 90);
        Bitmap result = CyclePicture(144, RGB(255, 255, 200), RGB(255, 255, 255), true);
        WriteBytes(dir + "/result.bmp", frame::WriteBmpFile(frame::BitmapToDib(result)));
        WriteBytes(dir + "/zorvane.ico", IconFile(Icon()));

        // The forms' own glyphs: 16 x 16 cells on an olive ground.
        WriteFourBitBmp(
            dir + "/glyph_next.bmp", TwoCells(16, 16, kOlive, [](DeviceContext& dc) {
                Shape(dc, kLime, {{2, 5}, {8, 5}, {8, 1}, {14, 7}, {8, 13}, {8, 9}, {2, 9}});
            }));
        WriteFourBitBmp(dir + "/glyph_print.bmp", TwoCells(16, 16, kOlive, [](DeviceContext& dc) {
                            Fill(dc, kWhite);
                            dc.Rectangle(Rect{4, 1, 12, 7});
                            Fill(dc, kSilver);
                            dc.Rectangle(Rect{1, 6, 15, 12});
                            Fill(dc, kWhite);
                            dc.Rectangle(Rect{4, 10, 12, 15});
                            dc.SetPixel(12, 8, kLime);
                            ThickLine(dc, kBlack, 1, {5, 12}, {11, 12});
                        }));
        WriteFourBitBmp(dir + "/glyph_prevmonth.bmp",
                        TwoCells(16, 16, kOlive, [](DeviceContext& dc) {
                            Shape(dc, kYellow, {{8, 2}, {8, 13}, {2, 7}});
                            Shape(dc, kYellow, {{14, 2}, {14, 13}, {8, 7}});
                        }));
        WriteFourBitBmp(dir + "/glyph_nextmonth.bmp",
                        TwoCells(16, 16, kOlive, [](DeviceContext& dc) {
                            Shape(dc, kYellow, {{1, 2}, {1, 13}, {7, 7}});
                            Shape(dc, kYellow, {{7, 2}, {7, 13}, {13, 7}});
                        }));

        // The button kinds: 18 x 18 cells (BBALL 18 x 19) on an olive ground.
        auto check = [](DeviceContext& dc, int dx, int dy, ColorRef c) {
            Shape(dc, c,
                  {{2 + dx, 9 + dy},
                   {5 + dx, 6 + dy},
                   {7 + dx, 9 + dy},
                   {13 + dx, 2 + dy},
                   {16 + dx, 5 + dy},
                   {7 + dx, 15 + dy}});
        };
        auto cross = [](DeviceContext& dc, ColorRef c) {
            ThickLine(dc, c, 3, {4, 4}, {14, 14});
            ThickLine(dc, c, 3, {14, 4}, {4, 14});
        };
        auto letter = [](char c) {
            switch (c) {
            case 'b':
                return kBlue;
            case 'n':
                return kNavy;
            case 'r':
                return kRed;
            case 'm':
                return kMaroon;
            case 'k':
                return kBlack;
            case 'w':
                return kWhite;
            default:
                return kTeal;
            }
        };
        struct Kind {
            const char* name;
            int height;
            std::function<void(DeviceContext&)> draw;
        };
        std::vector<Kind> kinds = {
            {"BBOK", 18, [&](DeviceContext& dc) { check(dc, 0, 0, kLime); }},
            {"BBCANCEL", 18, [&](DeviceContext& dc) { cross(dc, kRed); }},
            {"BBHELP", 18,
             [&](DeviceContext& dc) {
                 Art(dc, 4, 1,
                     {"...bbbbbb...", "..bbnnnnbb..", ".bbn....bbn.", ".bbn....bbn.",
                      "..nn....bbn.", ".......bbn..", "......bbn...", ".....bbn....",
                      ".....bbn....", ".....bbn....", "......nn....", "............",
                      ".....bbn....", ".....bbn....", "......nn...."},
                     letter);
             }},
            {"BBYES", 18, [&](DeviceContext& dc) { check(dc, 0, 0, kGreen); }},
            {"BBNO", 18,
             [&](DeviceContext& dc) {
                 dc.SetPen(PenSpec{PenStyle::Solid, 2, kRed});
                 dc.SetBrush(BrushSpec{BrushStyle::Clear, 0});
                 dc.Ellipse(Rect{2, 2, 17, 17});
                 ThickLine(dc, kRed, 2, {5, 14}, {14, 5});
             }},
            {"BBCLOSE", 18,
             [&](DeviceContext& dc) {
                 Fill(dc, kTeal);
                 dc.Rectangle(Rect{3, 1, 12, 17});
                 Shape(dc, kSilver, {{7, 3}, {13, 1}, {13, 17}, {7, 15}});
                 dc.SetPixel(9, 9, kYellow);
                 Shape(dc, kYellow,
                       {{13, 8}, {15, 8}, {15, 6}, {17, 9}, {15, 12}, {15, 10}, {13, 10}});
             }},
            {"BBABORT", 18,
             [&](DeviceContext& dc) {
                 Fill(dc, kRed);
                 dc.Ellipse(Rect{1, 1, 17, 17});
                 ThickLine(dc, kWhite, 2, {6, 6}, {12, 12});
                 ThickLine(dc, kWhite, 2, {12, 6}, {6, 12});
             }},
            {"BBRETRY", 18,
             [&](DeviceContext& dc) {
                 dc.SetPen(PenSpec{PenStyle::Solid, 2, kGreen});
                 dc.SetBrush(BrushSpec{BrushStyle::Clear, 0});
                 dc.Ellipse(Rect{3, 3, 15, 15});
                 Fill(dc, kOlive);
                 dc.SetPen(PenSpec{PenStyle::Clear, 1, 0});
                 dc.Rectangle(Rect{10, 1, 17, 8});
                 Shape(dc, kGreen, {{9, 1}, {15, 4}, {9, 8}});
             }},
            {"BBIGNORE", 18,
             [&](DeviceContext& dc) {
                 Art(dc, 3, 1,
                     {"......kk....", "......kk....", "............", ".....kkkk...",
                      "....kkkkkk..", "...kk.kk.kk.", "...k..kk..k.", "......kk....",
                      "......kk....", ".....kkkk...", ".....k..k...", "....kk..kk..",
                      "....k....k..", "...kk....kk.", "...k......k."},
                     letter);
             }},
            {"BBALL", 19,
             [&](DeviceContext& dc) {
                 check(dc, -1, 0, kGreen);
                 check(dc, 1, 3, kLime);
             }},
        };
        for (const Kind& k : kinds)
            WriteFourBitBmp(dir + "/" + k.name + ".bmp", TwoCells(18, k.height, kOlive, k.draw));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "imagegen: %s\n", e.what());
        return 1;
    }
    return 0;
}

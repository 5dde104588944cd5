#include "frame/graphics/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "rtl/Exception.h"

namespace frame {

namespace {

// libjpeg's default error handler prints and calls exit(); ours jumps back to the caller with
// the message code, and warnings (corrupt data the library can live with) are ignored.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    int code;
};

void OnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->code = err->base.msg_code;
    std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr) {}

// Images beyond this many pixels are refused before any memory is taken for them (a progressive
// file needs coefficient buffers for the whole image as well).
constexpr long long kMaxPixels = 1LL << 24;

struct Job {
    const std::uint8_t* data;
    std::size_t size;
    const JpegDecodeSettings* settings;
    const std::function<void()>* onScan;
    JpegHeader header;
    DibImage dib;
    bool decode;
    std::exception_ptr thrown;
    // Four-component (CMYK) rows are read here and converted; kept in the job so a jump back
    // out of the library skips no destructor.
    std::vector<std::uint8_t> inkRows;
};

bool IsInk(const jpeg_decompress_struct& c) {
    return c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK;
}

void Configure(jpeg_decompress_struct& c, const JpegDecodeSettings& s) {
    c.scale_num = 1;
    c.scale_denom = 1u << (s.scale < 0 ? 0 : s.scale > 3 ? 3 : s.scale);
    c.do_block_smoothing = s.smoothing ? TRUE : FALSE;
    if (s.fastDecode)
        c.dct_method = JDCT_IFAST;
    if (IsInk(c)) {
        // The library turns these into neither colour nor grey: we take CMYK and convert it
        // ourselves, to full colour or grey (no palette).
        c.out_color_space = JCS_CMYK;
        return;
    }
    if (s.grayscale)
        c.out_color_space = JCS_GRAYSCALE;
    else if (c.out_color_space == JCS_RGB)
        c.out_color_space = JCS_EXT_BGR;
    if (s.eightBit && !s.grayscale && c.out_color_space != JCS_GRAYSCALE) {
        c.quantize_colors = TRUE;
        c.desired_number_of_colors = 236;
    }
    if (s.fastDecode) {
        c.two_pass_quantize = FALSE;
        c.dither_mode = JDITHER_ORDERED;
    }
}

// Sizes the DIB for the output and builds its palette.
void PrepareOutput(jpeg_decompress_struct& c, DibImage& dib, bool grayscale) {
    if ((long long)c.output_width * c.output_height > kMaxPixels)
        ERREXIT(&c, JERR_IMAGE_TOO_BIG);
    bool ink = c.out_color_space == JCS_CMYK;
    // Rows are stored straight into the image: anything but grey, indexes, colour or CMYK
    // (a file of two or of unknown components) has no place there.
    if (ink ? c.output_components != 4 : c.output_components != 1 && c.output_components != 3)
        ERREXIT(&c, JERR_CONVERSION_NOTIMPL);
    bool eight = ink ? grayscale : c.output_components == 1;
    dib = DibImage{};
    dib.width = int(c.output_width);
    dib.height = -int(c.output_height);
    dib.bitCount = eight ? 8 : 24;
    if (eight) {
        if (c.quantize_colors && c.colormap) {
            dib.colors.resize(std::size_t(c.actual_number_of_colors));
            for (int i = 0; i < c.actual_number_of_colors; ++i) {
                if (c.out_color_components == 1) {
                    std::uint32_t v = c.colormap[0][i];
                    dib.colors[std::size_t(i)] = (v << 16) | (v << 8) | v;
                } else {
                    // The colour map follows the output order (blue, green, red).
                    std::uint32_t b = c.colormap[0][i], g = c.colormap[1][i], r = c.colormap[2][i];
                    dib.colors[std::size_t(i)] = (r << 16) | (g << 8) | b;
                }
            }
        } else {
            dib.colors.resize(256);
            for (std::uint32_t v = 0; v < 256; ++v)
                dib.colors[v] = (v << 16) | (v << 8) | v;
        }
        dib.clrUsed = std::uint32_t(dib.colors.size());
    }
    dib.pixels.assign(dib.RowBytes() * c.output_height, 0);
}

// One CMYK row to blue, green, red (or grey). Adobe's files store the inks inverted.
void InkToRow(const jpeg_decompress_struct& c, const std::uint8_t* in, std::uint8_t* out,
              bool grey) {
    bool inverted = c.saw_Adobe_marker;
    for (JDIMENSION x = 0; x < c.output_width; ++x, in += 4) {
        unsigned k = inverted ? in[3] : 255u - in[3];
        unsigned rgb[3];
        for (int i = 0; i < 3; ++i) {
            unsigned v = inverted ? in[i] : 255u - in[i];
            rgb[i] = (v * k + 127) / 255;
        }
        if (grey)
            out[x] = std::uint8_t((rgb[0] * 77 + rgb[1] * 150 + rgb[2] * 29 + 128) >> 8);
        else {
            out[3 * x] = std::uint8_t(rgb[2]);
            out[3 * x + 1] = std::uint8_t(rgb[1]);
            out[3 * x + 2] = std::uint8_t(rgb[0]);
        }
    }
}

void ReadRows(jpeg_decompress_struct& c, Job& job) {
    DibImage& dib = job.dib;
    std::size_t rowBytes = dib.RowBytes();
    if (c.out_color_space == JCS_CMYK) {
        job.inkRows.resize(std::size_t(c.output_width) * 4);
        JSAMPROW row = job.inkRows.data();
        while (c.output_scanline < c.output_height) {
            JDIMENSION y = c.output_scanline;
            if (jpeg_read_scanlines(&c, &row, 1) == 0)
                break;
            InkToRow(c, row, dib.pixels.data() + std::size_t(y) * rowBytes, dib.bitCount == 8);
        }
        return;
    }
    JSAMPROW rows[8];
    while (c.output_scanline < c.output_height) {
        JDIMENSION first = c.output_scanline;
        JDIMENSION n = std::min<JDIMENSION>(8, c.output_height - first);
        for (JDIMENSION i = 0; i < n; ++i)
            rows[i] = dib.pixels.data() + std::size_t(first + i) * rowBytes;
        if (jpeg_read_scanlines(&c, rows, n) == 0)
            break; // suspended: the data ended; what is missing stays zero
    }
}

// Everything between setjmp and the library calls lives in `job` or is plain data, so the jump
// back skips no destructor.
bool Run(Job& job, int& code) {
    jpeg_decompress_struct c;
    ErrorManager err;
    std::memset(&c, 0, sizeof c);
    c.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    err.base.output_message = OnMessage;
    err.code = 0;
    if (setjmp(err.jump)) {
        code = err.code;
        jpeg_destroy_decompress(&c);
        return false;
    }
    jpeg_create_decompress(&c);
    jpeg_mem_src(&c, job.data, static_cast<unsigned long>(job.size));
    jpeg_read_header(&c, TRUE);
    job.header.width = int(c.image_width);
    job.header.height = int(c.image_height);
    job.header.grayscale = c.jpeg_color_space == JCS_GRAYSCALE;
    job.header.progressive = jpeg_has_multiple_scans(&c);
    if (job.decode) {
        if ((long long)c.image_width * c.image_height > kMaxPixels)
            ERREXIT(&c, JERR_IMAGE_TOO_BIG);
        const JpegDecodeSettings& s = *job.settings;
        Configure(c, s);
        bool buffered = s.progressiveDisplay && job.header.progressive;
        c.buffered_image = buffered ? TRUE : FALSE;
        jpeg_start_decompress(&c);
        PrepareOutput(c, job.dib, s.grayscale);
        if (!buffered) {
            ReadRows(c, job);
        } else {
            // Each pass shows what has arrived so far; the last one shows the whole image.
            for (int pass = 0; pass < 1000; ++pass) {
                jpeg_start_output(&c, c.input_scan_number);
                ReadRows(c, job);
                jpeg_finish_output(&c);
                if (job.onScan && *job.onScan) {
                    try {
                        (*job.onScan)();
                    } catch (...) {
                        job.thrown = std::current_exception();
                        jpeg_destroy_decompress(&c);
                        return true;
                    }
                }
                if (jpeg_input_complete(&c) && c.output_scan_number >= c.input_scan_number)
                    break;
            }
        }
        jpeg_finish_decompress(&c);
    }
    jpeg_destroy_decompress(&c);
    return true;
}

void RunOrThrow(Job& job) {
    if (job.size == 0)
        throw rtl::EJPEG("JPEG error #%d", int(JERR_INPUT_EMPTY));
    int code = 0;
    if (!Run(job, code))
        throw rtl::EJPEG("JPEG error #%d", code);
    if (job.thrown)
        std::rethrow_exception(job.thrown);
}

} // namespace

JpegHeader ReadJpegHeader(const std::uint8_t* data, std::size_t size) {
    Job job{data, size, nullptr, nullptr, {}, {}, false, nullptr, {}};
    RunOrThrow(job);
    return job.header;
}

DibImage DecodeJpeg(const std::uint8_t* data, std::size_t size, const JpegDecodeSettings& settings,
                    const std::function<void()>& onScan) {
    Job job{data, size, &settings, &onScan, {}, {}, true, nullptr, {}};
    RunOrThrow(job);
    return std::move(job.dib);
}

} // namespace frame

// Fonts as fontconfig chooses them for a family and style, at a size, with their metrics.
//
// A font is chosen as a text library built on fontconfig chooses it: the family (and its aliases,
// FontSetUp.cpp), weight, slant, width and pixel size in a request that fontconfig's rules and
// the target's font options (antialiasing, hinting) complete; the best match draws, and for a
// character it lacks the first font of fontconfig's sorted list for the same request that has
// it. A scalable choice serves every size, so a label in a new size costs a scaled font, not a
// new search of the font list.
#include <cairo-ft.h>
#include <fontconfig/fcfreetype.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ot.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FontNames.h"
#include "platform/gdi/FontSetUp.h"
#include "platform/gdi/TextCache.h"
#include "platform/gdi/TextFonts.h"

namespace platform::gdi {

namespace {

// A font file's tables, each mapped on its own when the shaper first asks for it. The shaper reads
// a few of them (character map, advances, substitution and positioning); a mapping of the whole
// file would bring most of it in, as the kernel maps the pages around every page read.
class FontTables {
public:
    // The tables of face `index` of the file, or null when it is not a font file we can read.
    static FontTables* Open(const std::string& file, int index) {
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        auto tables = std::unique_ptr<FontTables>(new FontTables(fd));
        return tables->ReadDirectory(unsigned(index & 0xFFFF)) ? tables.release() : nullptr;
    }
    ~FontTables() { ::close(m_fd); }
    FontTables(const FontTables&) = delete;
    FontTables& operator=(const FontTables&) = delete;

    static hb_blob_t* Reference(hb_face_t*, hb_tag_t tag, void* data) {
        return static_cast<FontTables*>(data)->Map(tag);
    }
    static void Destroy(void* data) { delete static_cast<FontTables*>(data); }

private:
    struct Table {
        hb_tag_t tag;
        std::uint64_t offset, length;
    };
    struct Mapping {
        void* address;
        std::size_t length;
    };

    explicit FontTables(int fd) : m_fd(fd) {}

    static std::uint32_t Be32(const unsigned char* p) {
        return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
               p[3];
    }
    bool ReadAt(std::uint64_t offset, unsigned char* out, std::size_t length) const {
        return offset + length <= m_size &&
               ::pread(m_fd, out, length, off_t(offset)) == ssize_t(length);
    }

    bool ReadDirectory(unsigned index) {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0)
            return false;
        m_size = std::uint64_t(st.st_size);
        unsigned char head[12];
        if (!ReadAt(0, head, sizeof head))
            return false;
        std::uint64_t directory = 0;
        if (Be32(head) == HB_TAG('t', 't', 'c', 'f')) {
            unsigned char entry[4];
            if (index >= Be32(head + 8) || !ReadAt(12 + 4 * std::uint64_t(index), entry, 4) ||
                !ReadAt(Be32(entry), head, sizeof head))
                return false;
            directory = Be32(entry);
        } else if (index != 0) {
            return false;
        }
        unsigned count = unsigned(head[4]) << 8 | head[5];
        std::vector<unsigned char> records(16 * std::size_t(count));
        if (!ReadAt(directory + 12, records.data(), records.size()))
            return false;
        for (unsigned i = 0; i < count; ++i) {
            const unsigned char* r = records.data() + 16 * std::size_t(i);
            Table t{Be32(r), Be32(r + 8), Be32(r + 12)};
            if (t.offset + t.length <= m_size)
                m_tables.push_back(t);
        }
        return true;
    }

    hb_blob_t* Map(hb_tag_t tag) const {
        for (const Table& t : m_tables) {
            if (t.tag != tag || t.length == 0)
                continue;
            std::uint64_t page = std::uint64_t(sysconf(_SC_PAGESIZE));
            std::uint64_t start = t.offset / page * page;
            std::size_t length = std::size_t(t.offset + t.length - start);
            void* address = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, m_fd, off_t(start));
            if (address == MAP_FAILED)
                return nullptr;
            return hb_blob_create(static_cast<const char*>(address) + (t.offset - start),
                                  unsigned(t.length), HB_MEMORY_MODE_READONLY,
                                  new Mapping{address, length}, [](void* data) {
                                      auto* m = static_cast<Mapping*>(data);
                                      ::munmap(m->address, m->length);
                                      delete m;
                                  });
        }
        return nullptr;
    }

    int m_fd;
    std::uint64_t m_size = 0;
    std::vector<Table> m_tables;
};

// Outlines are read from the font file as they are needed, through reads of our own, rather than
// from a mapping of the whole file: glyphs and their metrics are scattered through it, and the
// kernel maps the pages around every page read, which for a mapped file is most of it.
class OutlineFile {
public:
    // A face of the file with its own stream, or null (cairo then opens the file itself).
    static FT_Face Open(const std::string& file, int index) {
        int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return nullptr;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || st.st_size <= 0) {
            ::close(fd);
            return nullptr;
        }
        auto* stream = new FT_StreamRec{};
        stream->size = static_cast<unsigned long>(st.st_size);
        stream->descriptor.value = fd;
        stream->read = Read;
        stream->close = Close; // FreeType closes the stream when the face goes, or fails
        FT_Open_Args args{};
        args.flags = FT_OPEN_STREAM;
        args.stream = stream;
        std::lock_guard<std::mutex> lock(Mutex());
        FT_Library library = Library();
        FT_Face face = nullptr;
        if (!library || FT_Open_Face(library, &args, index, &face) != 0)
            return nullptr;
        return face;
    }
    // Gives the face back once cairo is done with it (whichever thread that is on).
    static void Done(void* face) {
        std::lock_guard<std::mutex> lock(Mutex());
        FT_Done_Face(static_cast<FT_Face>(face));
    }

private:
    static unsigned long Read(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                              unsigned long count) {
        if (count == 0) // a seek
            return offset <= stream->size ? 0 : 1;
        ssize_t got = ::pread(int(stream->descriptor.value), buffer, count, off_t(offset));
        return got > 0 ? static_cast<unsigned long>(got) : 0;
    }
    static void Close(FT_Stream stream) {
        ::close(int(stream->descriptor.value));
        delete stream;
    }
    // One library for the process, for as long as it runs: cairo may give a face back at exit.
    static FT_Library Library() {
        static FT_Library library = [] {
            FT_Library made = nullptr;
            return FT_Init_FreeType(&made) == 0 ? made : nullptr;
        }();
        return library;
    }
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
};

// The drawing face for a prepared pattern: cairo's face over an outline file of our own, with the
// pattern's options.
cairo_font_face_t* DrawingFace(FcPattern* pattern, const std::string& file, int index) {
    FT_Face outlines = OutlineFile::Open(file, index);
    if (!outlines)
        return cairo_ft_font_face_create_for_pattern(pattern);
    FcPattern* withFace = FcPatternDuplicate(pattern);
    FcPatternAddFTFace(withFace, FC_FT_FACE, outlines);
    cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(withFace);
    FcPatternDestroy(withFace);
    static const cairo_user_data_key_t key{};
    if (cairo_font_face_set_user_data(face, &key, outlines, OutlineFile::Done) !=
        CAIRO_STATUS_SUCCESS)
        OutlineFile::Done(outlines);
    return face;
}

// The shaping face of each font file, shared by every choice and size that uses the file.
hb_face_t* ShapingFace(const std::string& file, int index) {
    thread_local std::unordered_map<std::string, hb_face_t*> faces;
    thread_local struct Release {
        ~Release() {
            for (auto& [key, face] : faces)
                hb_face_destroy(face);
        }
    } release;
    std::string key = file + '\n' + std::to_string(index);
    auto it = faces.find(key);
    if (it != faces.end())
        return hb_face_reference(it->second);
    hb_face_t* face = nullptr;
    if (FontTables* tables = FontTables::Open(file, index)) {
        face = hb_face_create_for_tables(FontTables::Reference, tables, FontTables::Destroy);
    } else {
        hb_blob_t* blob = hb_blob_create_from_file_or_fail(file.c_str());
        face = hb_face_create(blob ? blob : hb_blob_get_empty(), unsigned(index & 0xFFFF));
        hb_blob_destroy(blob);
    }
    faces.emplace(std::move(key), face);
    return hb_face_reference(face);
}

// Rounds a line's thickness to whole pixels and moves it so that it covers whole pixels, as
// hinted text draws its lines.
void QuantizeLine(int& thickness, int& position) {
    int pixels = std::max(1, (thickness + kTextUnits / 2) / kTextUnits);
    int center = (pixels & 1) ? ((position - thickness / 2) & ~(kTextUnits - 1)) + kTextUnits / 2
                              : (position - thickness / 2 + kTextUnits / 2) & ~(kTextUnits - 1);
    position = center + kTextUnits * pixels / 2;
    thickness = pixels * kTextUnits;
}

int CeilToPixel(int units) {
    return (units + kTextUnits - 1) & ~(kTextUnits - 1);
}

} // namespace

FontFace::FontFace(FcPattern* pattern) : m_pattern(pattern) {
    FcChar8* file = nullptr;
    int index = 0;
    FcPatternGetString(pattern, FC_FILE, 0, &file);
    FcPatternGetInteger(pattern, FC_INDEX, 0, &index);
    FcPatternGetCharSet(pattern, FC_CHARSET, 0, &m_charset);
    FcBool scalable = FcTrue;
    FcPatternGetBool(pattern, FC_SCALABLE, 0, &scalable);
    m_scalable = scalable != FcFalse;
    std::string path = file ? reinterpret_cast<const char*>(file) : "";
    m_drawing = DrawingFace(pattern, path, index);
    m_shaping = ShapingFace(path, index);
}

FontFace::~FontFace() {
    hb_face_destroy(m_shaping);
    cairo_font_face_destroy(m_drawing);
    FcPatternDestroy(m_pattern);
}

bool FontFace::Has(char32_t c) const {
    return m_charset && FcCharSetHasChar(m_charset, FcChar32(c));
}

FontChoice::FontChoice(FcPattern* request, std::shared_ptr<const FontFace> first)
    : m_request(request), m_first(std::move(first)) {}

FontChoice::~FontChoice() {
    if (m_sorted)
        FcFontSetDestroy(m_sorted);
    FcPatternDestroy(m_request);
}

std::shared_ptr<const FontFace> FontChoice::FirstWith(char32_t c) const {
    if (!m_sortDone) {
        m_sortDone = true;
        FcResult result = FcResultNoMatch;
        m_sorted = FcFontSort(nullptr, m_request, FcTrue, nullptr, &result);
        if (m_sorted)
            m_others.resize(std::size_t(m_sorted->nfont));
    }
    if (!m_sorted)
        return nullptr;
    for (int i = 0; i < m_sorted->nfont; ++i) {
        FcCharSet* charset = nullptr;
        if (FcPatternGetCharSet(m_sorted->fonts[i], FC_CHARSET, 0, &charset) != FcResultMatch ||
            !FcCharSetHasChar(charset, FcChar32(c)))
            continue;
        auto& face = m_others[std::size_t(i)];
        if (!face) {
            FcPattern* prepared = FcFontRenderPrepare(nullptr, m_request, m_sorted->fonts[i]);
            if (!prepared)
                return nullptr;
            face = std::make_shared<FontFace>(prepared);
        }
        return face;
    }
    return nullptr;
}

SizedFace::SizedFace(std::shared_ptr<const FontFace> f, const TextSetup& setup, int size)
    : face(std::move(f)) {
    double em = double(size) / kTextUnits;
    cairo_matrix_t matrix, identity;
    cairo_matrix_init_scale(&matrix, em, em);
    cairo_matrix_init_identity(&identity);
    scaled = cairo_scaled_font_create(face->Drawing(), &matrix, &identity, setup.fontOptions);
    shaper = hb_font_create(face->Shaping());
    hb_font_set_scale(shaper, size, size);
}

SizedFace::~SizedFace() {
    hb_font_destroy(shaper);
    cairo_scaled_font_destroy(scaled);
}

TextFont::~TextFont() = default;

const SizedFace& TextFont::FaceFor(char32_t c) const {
    if (primary->face->Has(c) || !choice)
        return *primary;
    std::shared_ptr<const FontFace> face = choice->FirstWith(c);
    if (!face)
        return *primary;
    for (const auto& other : m_others)
        if (other->face == face)
            return *other;
    m_others.push_back(std::make_shared<SizedFace>(face, *setup, size));
    return *m_others.back();
}

namespace {

std::shared_ptr<const FontChoice> ChooseFont(const TextSetup& setup, const std::string& family,
                                             bool bold, bool italic, int size) {
    AwaitFontSetUp(); // every font comes from the program's configuration
    FcPattern* request = FcPatternCreate();
    FcPatternAddDouble(request, FC_WEIGHT, FcWeightFromOpenTypeDouble(bold ? 700 : 400));
    FcPatternAddInteger(request, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddInteger(request, FC_WIDTH, FC_WIDTH_NORMAL);
    FcPatternAddDouble(request, FC_DPI, 72.0);
    FcPatternAddDouble(request, FC_SIZE, double(size) / kTextUnits);
    FcPatternAddDouble(request, FC_PIXEL_SIZE, double(size) / kTextUnits);
    // A list of families ("A,B") is tried in its order.
    std::size_t start = 0;
    while (start <= family.size()) {
        std::size_t comma = std::min(family.find(',', start), family.size());
        std::string name = family.substr(start, comma - start);
        if (!name.empty())
            FcPatternAddString(request, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
        start = comma + 1;
    }
    // An undetermined language: no font is preferred for the locale's.
    FcPatternAddString(request, FC_LANG, reinterpret_cast<const FcChar8*>("und"));
    FcConfigSubstitute(nullptr, request, FcMatchPattern);
    cairo_ft_font_options_substitute(setup.fontOptions, request);
    FcDefaultSubstitute(request);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, request, &result);
    if (!match) {
        FcPatternDestroy(request);
        return nullptr;
    }
    return std::make_shared<FontChoice>(request, std::make_shared<FontFace>(match));
}

struct ChoiceKey {
    std::uint64_t setup;
    std::string family;
    bool bold, italic;
    int size; // 0 for a scalable font, which serves every size
    bool operator==(const ChoiceKey&) const = default;
};

struct ChoiceKeyHash {
    std::size_t operator()(const ChoiceKey& k) const {
        std::size_t h = std::hash<std::string>()(k.family);
        for (std::size_t v : {std::size_t(k.setup), std::size_t(k.bold | k.italic << 1),
                              std::size_t(unsigned(k.size))})
            h = h * 1000003u ^ v;
        return h;
    }
};

// The choice for a family and style in a setup: one search of the font list, whatever the size,
// unless the font chosen has sizes of its own.
std::shared_ptr<const FontChoice> ChoiceFor(const TextSetup& setup, const std::string& family,
                                            bool bold, bool italic, int size) {
    thread_local std::unordered_map<ChoiceKey, std::shared_ptr<const FontChoice>, ChoiceKeyHash>
        choices;
    constexpr std::size_t maxChoices = 64;
    const ChoiceKey anySize{setup.id, family, bold, italic, 0};
    ChoiceKey thisSize = anySize;
    thisSize.size = size;
    // A scalable choice is kept without a size; a font with sizes of its own is kept per size,
    // and also without one, to say that it has them.
    if (auto it = choices.find(anySize); it != choices.end()) {
        if (it->second->First()->Scalable())
            return it->second;
        if (auto sized = choices.find(thisSize); sized != choices.end())
            return sized->second;
    }
    auto choice = ChooseFont(setup, family, bold, italic, size);
    if (!choice)
        return nullptr;
    if (choices.size() >= maxChoices)
        choices.clear();
    if (!choice->First()->Scalable())
        choices.emplace(thisSize, choice);
    choices.try_emplace(anySize, choice);
    return choice;
}

// The cell (ascent and descent, text units) of a face at its size: the font's own ascender and
// descender, whole pixels rounded up when the metrics are hinted.
FontCell MeasureCell(const SizedFace& face, bool hinted) {
    hb_font_extents_t extents{};
    hb_font_get_h_extents(face.shaper, &extents);
    FontCell cell{extents.ascender, -extents.descender};
    if (hinted)
        cell = FontCell{CeilToPixel(cell.ascent), CeilToPixel(cell.descent)};
    return cell;
}

// Where the underline and the strike-out go, from the font's tables when it has them.
void MeasureLines(TextFont& font, int ascentUnits) {
    hb_font_t* shaper = font.primary->shaper;
    hb_position_t v = 0;
    int underlineThickness = kTextUnits, underlinePosition = -kTextUnits;
    int strikeThickness = kTextUnits, strikePosition = ascentUnits / 2;
    if (hb_ot_metrics_get_position(shaper, HB_OT_METRICS_TAG_UNDERLINE_SIZE, &v) && v != 0)
        underlineThickness = v;
    if (hb_ot_metrics_get_position(shaper, HB_OT_METRICS_TAG_UNDERLINE_OFFSET, &v) && v != 0)
        underlinePosition = v;
    if (hb_ot_metrics_get_position(shaper, HB_OT_METRICS_TAG_STRIKEOUT_SIZE, &v) && v != 0)
        strikeThickness = v;
    if (hb_ot_metrics_get_position(shaper, HB_OT_METRICS_TAG_STRIKEOUT_OFFSET, &v) && v != 0)
        strikePosition = v;
    if (font.setup->hinted) {
        QuantizeLine(underlineThickness, underlinePosition);
        QuantizeLine(strikeThickness, strikePosition);
    }
    // The tables place a line's top edge upwards from the baseline; ours are downwards.
    font.underlineTop = -double(underlinePosition) / kTextUnits;
    font.underlineHeight = double(underlineThickness) / kTextUnits;
    font.strikeOutTop = -double(strikePosition) / kTextUnits;
    font.strikeOutHeight = double(strikeThickness) / kTextUnits;
}

} // namespace

std::shared_ptr<TextFont> MakeTextFont(const std::shared_ptr<const TextSetup>& setup,
                                       const FontSpec& spec, int ppi) {
    std::string family = ResolveFontFamily(spec.name);
    int height = spec.pointSize != 0 ? -MulDiv(spec.pointSize, ppi, 72) : spec.height;
    if (height == 0)
        height = -MulDiv(8, ppi, 72);
    double em = std::abs(height);
    if (height > 0) {
        // A cell height: find the em whose ascent + descent gives it.
        constexpr int probe = 1000 * kTextUnits;
        if (auto choice = ChoiceFor(*setup, family, spec.bold, spec.italic, probe)) {
            FontCell cell = MeasureCell(SizedFace(choice->First(), *setup, probe), setup->hinted);
            if (cell.ascent + cell.descent > 0)
                em = height * 1000.0 / (double(cell.ascent + cell.descent) / kTextUnits);
        }
    }
    auto font = std::make_shared<TextFont>();
    font->setup = setup;
    font->size = int(std::max(1.0, em) * kTextUnits);
    font->choice = ChoiceFor(*setup, family, spec.bold, spec.italic, font->size);
    if (!font->choice)
        return nullptr;
    font->primary = std::make_shared<SizedFace>(font->choice->First(), *setup, font->size);
    FontCell cell = MeasureCell(*font->primary, setup->hinted);
    TextMetrics& metrics = font->metrics;
    metrics.ascent = int(std::lround(double(cell.ascent) / kTextUnits));
    metrics.descent = int(std::lround(double(cell.descent) / kTextUnits));
    metrics.height = metrics.ascent + metrics.descent;
    metrics.internalLeading = std::max(0, metrics.height - int(std::lround(em)));
    metrics.externalLeading = 0;
    metrics.maxCharWidth = int(std::lround(em));
    font->underline = spec.underline;
    font->strikeOut = spec.strikeOut;
    MeasureLines(*font, cell.ascent);
    return font;
}

} // namespace platform::gdi

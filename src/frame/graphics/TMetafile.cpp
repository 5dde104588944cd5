#include "frame/graphics/TMetafile.h"

#include <algorithm>

#include "frame/graphics/StreamBytes.h"
#include "rtl/Exception.h"

namespace frame {

namespace {

std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

constexpr std::uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;

bool IsEnhanced(const std::uint8_t* p, std::size_t size) {
    return size >= 88 && U32(p) == 1 && U32(p + 40) == kEmfSignature;
}

} // namespace

const TClassInfo* TMetafile::StaticClass() {
    static const auto info = TClassBuilder<TMetafile>("TMetafile", TGraphic::StaticClass()).Build();
    return info.get();
}

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

void TMetafile::SetWidth(int value) {
    if (value != m_width) {
        m_width = value;
        Changed();
    }
}

void TMetafile::SetHeight(int value) {
    if (value != m_height) {
        m_height = value;
        Changed();
    }
}

int TMetafile::MMWidth() const {
    return platform::gdi::MulDiv(m_width, 2540, kScreenPixelsPerInch);
}
int TMetafile::MMHeight() const {
    return platform::gdi::MulDiv(m_height, 2540, kScreenPixelsPerInch);
}

void TMetafile::LoadBytes(std::vector<std::uint8_t> bytes) {
    m_recording = platform::gdi::Metafile();
    m_width = m_height = 0;
    m_enhanced = IsEnhanced(bytes.data(), bytes.size());
    if (m_enhanced) {
        // The header's bounds, inclusive, in device pixels.
        const std::uint8_t* b = bytes.data() + 8;
        m_width = int(std::int32_t(U32(b + 8)) - std::int32_t(U32(b))) + 1;
        m_height = int(std::int32_t(U32(b + 12)) - std::int32_t(U32(b + 4))) + 1;
    } else if (bytes.size() >= 22 && U32(bytes.data()) == kPlaceableKey) {
        auto s16 = [&](std::size_t o) { return int(std::int16_t(bytes[o] | (bytes[o + 1] << 8))); };
        int inch = bytes[14] | (bytes[15] << 8);
        if (inch > 0) {
            m_width = platform::gdi::MulDiv(s16(10) - s16(6), kScreenPixelsPerInch, inch);
            m_height = platform::gdi::MulDiv(s16(12) - s16(8), kScreenPixelsPerInch, inch);
        }
    }
    m_width = std::max(m_width, 0);
    m_height = std::max(m_height, 0);
    m_bytes = std::move(bytes);
    Changed();
}

void TMetafile::LoadFromStream(rtl::TStream& stream) {
    LoadBytes(ReadRest(stream));
}

void TMetafile::SaveToStream(rtl::TStream& stream) {
    if (!m_bytes.empty())
        stream.WriteBuffer(m_bytes.data(), m_bytes.size());
}

void TMetafile::ReadData(rtl::TStream& stream) {
    std::uint8_t raw[4];
    stream.ReadBuffer(raw, 4);
    std::uint32_t length = U32(raw);
    if (length <= 4) {
        LoadBytes({});
        return;
    }
    int64_t left = stream.Size() - stream.Position();
    // An enhanced metafile states its own size in its header.
    std::vector<std::uint8_t> head(std::size_t(std::min<int64_t>(left, 88)));
    int64_t start = stream.Position();
    if (!head.empty())
        stream.ReadBuffer(head.data(), head.size());
    stream.SetPosition(start);
    std::uint32_t size = IsEnhanced(head.data(), head.size()) ? U32(head.data() + 48) : length - 4;
    if (int64_t(size) > left)
        throw rtl::EReadError(std::string("Stream read error"));
    std::vector<std::uint8_t> bytes(size);
    if (size)
        stream.ReadBuffer(bytes.data(), size);
    LoadBytes(std::move(bytes));
}

void TMetafile::WriteData(rtl::TStream& stream) {
    WriteLength(stream, std::uint32_t(m_bytes.size() + 4));
    SaveToStream(stream);
}

void TMetafile::Assign(const TPersistent* source) {
    if (source == nullptr) {
        LoadBytes({});
        return;
    }
    if (auto* other = dynamic_cast<const TMetafile*>(source)) {
        if (other == this)
            return;
        m_bytes = other->m_bytes;
        m_recording = other->m_recording;
        m_enhanced = other->m_enhanced;
        m_width = other->m_width;
        m_height = other->m_height;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TMetafile::SetRecording(platform::gdi::Metafile recording) {
    m_bytes.clear();
    m_recording = std::move(recording);
    Changed();
}

void TMetafile::Draw(TCanvas& canvas, const TRect& rect) {
    // Blocks read from streams are kept for writing back; only recordings are played.
    if (!m_recording.Empty())
        canvas.Handle()->PlayMetafile(m_recording, rect);
}

const TClassInfo* TMetafileCanvas::StaticClass() {
    static const auto info =
        TClassBuilder<TMetafileCanvas>("TMetafileCanvas", TCanvas::StaticClass()).Build();
    return info.get();
}

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, platform::gdi::DeviceContext* reference)
    : m_metafile(metafile) {
    int ppi = reference ? reference->PixelsPerInch() : kScreenPixelsPerInch;
    m_recorder = std::make_unique<platform::gdi::MetafileRecorder>(
        std::max(1, metafile->Width()), std::max(1, metafile->Height()), ppi);
    SetHandle(&m_recorder->Context());
    Font()->SetPixelsPerInch(ppi);
}

TMetafileCanvas::~TMetafileCanvas() {
    SetHandle(nullptr);
    m_metafile->SetRecording(m_recorder->Finish());
}

} // namespace frame

#include <gtest/gtest.h>

#include "ImageTestTools.h"
#include "frame/ClassBuilder.h"
#include "frame/StreamClasses.h"
#include "frame/TComponent.h"
#include "frame/TReader.h"
#include "frame/TWriter.h"
#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TCanvas.h"
#include "frame/graphics/TIcon.h"
#include "frame/graphics/TJPEGImage.h"
#include "frame/graphics/TMetafile.h"
#include "frame/graphics/TPicture.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

using namespace frame;
using namespace imagetest;

namespace {

// A component with a picture and a glyph, as image controls and glyph buttons carry them.
class TPicHolder : public TComponent {
public:
    ZORVANE_CLASS(TPicHolder)
    explicit TPicHolder(TComponent* owner) : TComponent(owner) {}
    TPicture* Picture() const { return &m_picture; }
    void SetPicture(TPicture* p) { m_picture.Assign(p); }
    TBitmap* Glyph() const { return &m_glyph; }
    void SetGlyph(TBitmap* b) { m_glyph.Assign(b); }
    mutable TPicture m_picture;
    mutable TBitmap m_glyph;
};

const TClassInfo* TPicHolder::StaticClass() {
    static const auto info = TClassBuilder<TPicHolder>("TPicHolder", TComponent::StaticClass())
                                 .Property("Glyph", &TPicHolder::Glyph, &TPicHolder::SetGlyph)
                                 .Property("Picture", &TPicHolder::Picture, &TPicHolder::SetPicture)
                                 .Build();
    return info.get();
}

std::string PictureBlock(TPicture& p) {
    rtl::TMemoryStream s;
    p.WriteData(s);
    return std::string(s.Bytes());
}

void ReadPictureBlock(TPicture& p, const std::string& block) {
    rtl::TMemoryStream s(block);
    p.ReadData(s);
}

platform::gdi::Bitmap Pattern(int w, int h) {
    platform::gdi::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.Row(y)[x] = 0xFF000000u | std::uint32_t(x * 255 / w) << 16 |
                          std::uint32_t(y * 255 / h) << 8 | 0x40;
    return b;
}

} // namespace

TEST(PictureData, BitmapBlockOf144x144Is62274Bytes) {
    TBitmap bmp;
    bmp.SetDib(BitmapToDib(Pattern(144, 144)));
    TPicture pic;
    pic.SetGraphic(&bmp);
    std::string block = PictureBlock(pic);
    ASSERT_EQ(block.size(), 62274u);
    EXPECT_EQ(block[0], 7);
    EXPECT_EQ(block.substr(1, 7), "TBitmap");
    EXPECT_EQ(std::uint8_t(block[8]) | std::uint8_t(block[9]) << 8 | std::uint8_t(block[10]) << 16,
              62262);
    EXPECT_EQ(block.substr(12, 2), "BM");

    TPicture back;
    int changes = 0;
    static int* counter;
    counter = &changes;
    back.OnChange = TNotifyEvent(
        TMethod{reinterpret_cast<TMethod::Code>(+[](TObject*, TObject*) { ++*counter; }), nullptr});
    ReadPictureBlock(back, block);
    EXPECT_EQ(changes, 1);
    auto* read = dynamic_cast<TBitmap*>(back.Graphic());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Width(), 144);
    EXPECT_EQ(read->PixelFormat(), pf24bit);
    EXPECT_TRUE(read->Palette().empty());
    EXPECT_EQ(read->Image(), bmp.Image());
    EXPECT_EQ(PictureBlock(back), block);
}

TEST(PictureData, IconBlockHasNoLengthAndJpegBlockHasOne) {
    auto ico = MakeWithConvert("-resize 32x32! -colors 16 -type Palette", "ICO:pic.ico");
    std::string block = std::string("\x05TIcon") + std::string(ico.begin(), ico.end());
    ASSERT_EQ(block.size(), 772u);
    EXPECT_EQ(block.substr(6, 6), std::string("\0\0\1\0\1\0", 6));
    TPicture pic;
    ReadPictureBlock(pic, block);
    auto* icon = dynamic_cast<TIcon*>(pic.Graphic());
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->HandleAllocated());
    EXPECT_EQ(pic.Width(), 32);
    EXPECT_EQ(PictureBlock(pic), block);
    EXPECT_THROW(icon->SetWidth(16), rtl::EInvalidGraphicOperation);

    auto jpg = MakeWithConvert("-resize 112x112! -quality 90", "JPEG:pic.jpg");
    std::string jblock = std::string("\x0ATJPEGImage") + char(jpg.size() & 0xFF) +
                         char((jpg.size() >> 8) & 0xFF) + char(jpg.size() >> 16) + '\0' +
                         std::string(jpg.begin(), jpg.end());
    ReadPictureBlock(pic, jblock);
    auto* jpeg = dynamic_cast<TJPEGImage*>(pic.Graphic());
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(pic.Width(), 112);
    EXPECT_FALSE(jpeg->Decoded()); // the header only, until drawn
    EXPECT_EQ(PictureBlock(pic), jblock);
}

TEST(PictureData, UnknownClassKeepsThePictureAndErrorsKeepItToo) {
    TPicture pic;
    TBitmap bmp;
    bmp.SetDib(BitmapToDib(Pattern(4, 4)));
    pic.SetGraphic(&bmp);
    TGraphic* before = pic.Graphic();
    ReadPictureBlock(pic, "\x08TUnknown\x01\x02\x03");
    EXPECT_EQ(pic.Graphic(), before);
    ReadPictureBlock(pic, std::string("\x07tbitmap\0\0\0\0", 12)); // names match exactly
    EXPECT_EQ(pic.Graphic(), before);
    // A known class with a bad body: the error propagates, the old graphic stays.
    EXPECT_THROW(ReadPictureBlock(pic, std::string("\x07TBitmap\x06\0\0\0XXXXXX", 18)),
                 rtl::EInvalidGraphic);
    EXPECT_EQ(pic.Graphic(), before);
    EXPECT_THROW(ReadPictureBlock(pic, std::string("\x07TBitmap\xFF\0\0\0XX", 14)),
                 rtl::EReadError);
    EXPECT_THROW(ReadPictureBlock(pic, std::string("\x05TIcon\0\0\2\0\1\0", 12)),
                 rtl::EInvalidGraphic);
    EXPECT_THROW(ReadPictureBlock(pic, std::string("\x0ATJPEGImage\x04\0\0\0abcd", 19)),
                 rtl::EJPEG);
    EXPECT_EQ(pic.Graphic(), before);
    // An empty bitmap block reads as an empty bitmap.
    ReadPictureBlock(pic, std::string("\x07TBitmap\0\0\0\0", 12));
    ASSERT_NE(pic.Graphic(), nullptr);
    EXPECT_TRUE(pic.Graphic()->Empty());
}

TEST(PictureData, RegisteredFormatsInOrderAndUnregistering) {
    const auto& e = FileFormats().Entries();
    ASSERT_GE(e.size(), 7u);
    EXPECT_EQ(e[0].extension, "wmf");
    EXPECT_EQ(e[1].description, "Enhanced Metafiles");
    EXPECT_EQ(e[2].graphicClass, TIcon::StaticClass());
    EXPECT_EQ(e[3].extension, "bmp");
    EXPECT_EQ(e[4].extension, "");
    EXPECT_EQ(e[4].graphicClass->name, "TOleGraphic");
    EXPECT_EQ(e[5].extension, "jpeg");
    EXPECT_EQ(e[6].description, "JPEG Image File");
    TPicture::UnregisterGraphicClass(TJPEGImage::StaticClass());
    EXPECT_EQ(FileFormats().FindClassName("TJPEGImage"), nullptr);
    EXPECT_EQ(FileFormats().Entries().size(), 5u);
    TPicture::RegisterFileFormat("JPEG", "JPEG Image File", TJPEGImage::StaticClass());
    TPicture::RegisterFileFormat("jpg", "JPEG Image File", TJPEGImage::StaticClass());
    EXPECT_EQ(FileFormats().Entries()[5].extension, "jpeg");
    // An OLE picture block is kept as read.
    TPicture ole;
    ReadPictureBlock(ole, std::string("\x0BTOleGraphic\1\2\3", 15));
    ASSERT_NE(ole.Graphic(), nullptr);
    EXPECT_EQ(PictureBlock(ole), std::string("\x0BTOleGraphic\1\2\3", 15));
    EXPECT_EQ(FileFormats().FindClassName("TJPEGImage"), TJPEGImage::StaticClass());
}

TEST(PictureData, GlyphOf378BytesAndOs2BitmapsRoundTrip) {
    DibImage g;
    g.width = 32;
    g.height = 16;
    g.bitCount = 4;
    for (std::uint32_t i = 0; i < 16; ++i)
        g.colors.push_back(i * 0x111111);
    g.pixels.assign(256, 0x37);
    TBitmap glyph;
    glyph.SetDib(g);
    rtl::TMemoryStream s;
    glyph.WriteData(s);
    std::string data(s.Bytes());
    ASSERT_EQ(data.size(), 378u);
    EXPECT_EQ(std::uint8_t(data[0]) | std::uint8_t(data[1]) << 8, 374);
    EXPECT_EQ(data.substr(4, 2), "BM");
    EXPECT_EQ(std::uint8_t(data[4 + 10]), 118);
    EXPECT_EQ(glyph.PixelFormat(), pf4bit);
    // The transparent colour is the bottom-left pixel's.
    EXPECT_EQ(glyph.TransparentColor(), TColor(0x333333)); // index 3, the first stored pixel

    auto os2 = MakeWithConvert("-type Palette", "BMP2:pic_os2.bmp");
    TBitmap b;
    std::string block(4, '\0');
    block[0] = char(os2.size() & 0xFF);
    block[1] = char((os2.size() >> 8) & 0xFF);
    block += std::string(os2.begin(), os2.end());
    rtl::TMemoryStream in(block);
    b.ReadData(in);
    EXPECT_TRUE(b.Dib().os2);
    rtl::TMemoryStream out;
    b.WriteData(out);
    EXPECT_EQ(std::string(out.Bytes()).substr(4 + 14), block.substr(4 + 14));
}

TEST(PictureData, StreamedThroughTheFilerAsPictureDataAndGlyphData) {
    RegisterStreamClass(TPicHolder::StaticClass());
    TPicHolder holder(nullptr);
    holder.SetName("Image1");
    TBitmap bmp;
    bmp.SetDib(BitmapToDib(Pattern(8, 8)));
    holder.Picture()->SetGraphic(&bmp);
    holder.Glyph()->Assign(&bmp);
    rtl::TMemoryStream stream;
    {
        TWriter writer(stream);
        writer.WriteRootComponent(&holder);
    }
    std::string bytes(stream.Bytes());
    EXPECT_NE(bytes.find("Picture.Data"), std::string::npos);
    EXPECT_NE(bytes.find("Glyph.Data"), std::string::npos);
    TPicHolder back(nullptr);
    rtl::TMemoryStream in(bytes);
    TReader reader(in);
    reader.ReadRootComponent(&back);
    ASSERT_NE(back.Picture()->Graphic(), nullptr);
    EXPECT_EQ(dynamic_cast<TBitmap*>(back.Picture()->Graphic())->Image(), bmp.Image());
    EXPECT_EQ(back.Glyph()->Image(), bmp.Image());
    // A broken block is reported with the property's path.
    std::string broken = bytes;
    std::size_t bm = broken.find("BM", broken.find("Picture.Data"));
    ASSERT_NE(bm, std::string::npos);
    broken[bm] = 'X';
    TPicHolder bad(nullptr);
    rtl::TMemoryStream badIn(broken);
    TReader badReader(badIn);
    try {
        badReader.ReadRootComponent(&bad);
        ADD_FAILURE() << "no exception";
    } catch (const rtl::EReadError& e) {
        EXPECT_STREQ(e.what(), "Error reading Image1.Picture.Data: Bitmap image is not valid");
    }
    // Empty graphics are not stored.
    TPicHolder empty(nullptr);
    rtl::TMemoryStream none;
    {
        TWriter writer(none);
        writer.WriteRootComponent(&empty);
    }
    EXPECT_EQ(std::string(none.Bytes()).find(".Data"), std::string::npos);
}

TEST(JpegImage, DecodesOnceStretchesAndRefusesResizing) {
    auto jpg = MakeWithConvert("-resize 112x112! -quality 90", "JPEG:j112.jpg");
    TJPEGImage jpeg;
    rtl::TMemoryStream in(std::string(jpg.begin(), jpg.end()));
    jpeg.LoadFromStream(in);
    EXPECT_EQ(jpeg.Width(), 112);
    EXPECT_FALSE(jpeg.ProgressiveEncoding());
    TBitmap target;
    target.SetSize(41, 41);
    int progress = 0;
    static int* counter;
    counter = &progress;
    jpeg.OnProgress = TProgressEvent(
        TMethod{reinterpret_cast<TMethod::Code>(
                    +[](TObject*, TObject*, TProgressStage, uint8_t) { ++*counter; }),
                nullptr});
    target.Canvas()->StretchDraw(Rect(0, 0, 41, 41), &jpeg);
    TBitmap* decoded = jpeg.Bitmap();
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->Width(), 112); // decoded at full size
    EXPECT_EQ(decoded->PixelFormat(), pf24bit);
    EXPECT_EQ(progress, 2); // starting and ending
    target.Canvas()->StretchDraw(Rect(0, 0, 41, 41), &jpeg);
    EXPECT_EQ(jpeg.Bitmap(), decoded); // not decoded again
    EXPECT_EQ(target.Image().GetPixel(20, 20), decoded->Image().GetPixel(56, 56));
    try {
        jpeg.SetWidth(10);
        ADD_FAILURE();
    } catch (const rtl::EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "Cannot change the size of a JPEG image");
    }
    // Eight-bit output: at most 236 palette colours.
    jpeg.SetPixelFormat(jf8Bit);
    EXPECT_FALSE(jpeg.Decoded());
    EXPECT_EQ(jpeg.Bitmap()->PixelFormat(), pf8bit);
    EXPECT_LE(jpeg.Bitmap()->Palette().size(), 236u);
    jpeg.SetScale(jsQuarter);
    EXPECT_EQ(jpeg.Width(), 28);
    EXPECT_EQ(jpeg.Bitmap()->Width(), 28);
    // A progress handler may stop a progressive decode quietly with EAbort.
    auto prog = MakeWithConvert("-interlace Plane", "JPEG:jprog.jpg");
    TJPEGImage p;
    rtl::TMemoryStream pin(std::string(prog.begin(), prog.end()));
    p.LoadFromStream(pin);
    EXPECT_TRUE(p.ProgressiveEncoding());
    p.SetProgressiveDisplay(true);
    p.OnProgress = TProgressEvent(TMethod{
        reinterpret_cast<TMethod::Code>(+[](TObject*, TObject*, TProgressStage stage, uint8_t) {
            if (stage == psRunning)
                throw rtl::EAbort(std::string("stop"));
        }),
        nullptr});
    EXPECT_EQ(p.Bitmap(), nullptr);
    p.OnProgress = TProgressEvent();
    EXPECT_NE(p.Bitmap(), nullptr);
    // Defaults come from the process-wide record.
    JPEGDefaults().Smoothing = false;
    TJPEGImage fresh;
    EXPECT_FALSE(fresh.Smoothing());
    EXPECT_EQ(fresh.CompressionQuality(), 90);
    JPEGDefaults() = TJPEGDefaults{};
}

TEST(CanvasObjects, ChangesAreSignalledOnlyWhenValuesChange) {
    TFont font;
    int changes = 0;
    static int* counter;
    counter = &changes;
    font.OnChange = TNotifyEvent(
        TMethod{reinterpret_cast<TMethod::Code>(+[](TObject*, TObject*) { ++*counter; }), nullptr});
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
    font.SetHeight(-11);
    EXPECT_EQ(changes, 0);
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    EXPECT_EQ(changes, 1);
    font.SetStyle(TFontStyles{fsBold});
    font.SetStyle(TFontStyles{fsBold});
    EXPECT_EQ(changes, 2);
    TFont printerFont;
    printerFont.SetPixelsPerInch(600);
    printerFont.Assign(&font);
    EXPECT_EQ(printerFont.Size(), 10);
    EXPECT_EQ(printerFont.Height(), -83);

    TBrush brush;
    brush.OnChange = font.OnChange;
    brush.SetStyle(bsClear);
    brush.SetColor(clWhite); // a colour makes a clear brush solid
    EXPECT_EQ(brush.Style(), bsSolid);
    EXPECT_EQ(changes, 4);
    TPen pen;
    pen.OnChange = font.OnChange;
    pen.SetWidth(1);
    EXPECT_EQ(changes, 4);
    pen.SetMode(pmNotXor);
    EXPECT_EQ(pen.Rop2(), platform::gdi::R2_NOTXORPEN);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0u);
    EXPECT_EQ(ColorToRGB(clHighlight), 0x800000u);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
}

TEST(CanvasObjects, BitmapCanvasDrawsAndTheStoredFormFollows) {
    TBitmap bmp;
    bmp.SetSize(20, 10);
    TCanvas* c = bmp.Canvas();
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 20, 10));
    c->Pen()->SetColor(clBlue);
    c->MoveTo(0, 5);
    c->LineTo(10, 5);
    EXPECT_EQ(c->Pixels(9, 5), clBlue);
    EXPECT_EQ(c->Pixels(10, 5), clRed);
    EXPECT_EQ(c->PenPos().x, 10);
    EXPECT_EQ(bmp.Dib().bitCount, 24);
    TBitmap copy;
    rtl::TMemoryStream s;
    bmp.WriteData(s);
    s.SetPosition(0);
    copy.ReadData(s);
    EXPECT_EQ(copy.Image(), bmp.Image());
    // Transparent drawing leaves out the bottom-left pixel's colour.
    TBitmap target;
    target.SetSize(20, 10);
    target.Canvas()->Brush()->SetColor(clLime);
    target.Canvas()->FillRect(Rect(0, 0, 20, 10));
    bmp.SetTransparent(true);
    target.Canvas()->Draw(0, 0, &bmp);
    EXPECT_EQ(target.Canvas()->Pixels(15, 2), clLime);
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clBlue);
    // Text with a clear brush leaves the background.
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(clBlack);
    EXPECT_GT(c->TextWidth("Hi"), 5);
    EXPECT_GT(c->TextHeight("Hi"), 8);
}

TEST(CanvasObjects, MetafileRecordsAndPlaysBackScaled) {
    TMetafile mf;
    mf.SetWidth(10);
    mf.SetHeight(10);
    {
        TMetafileCanvas mc(&mf);
        mc.Brush()->SetColor(clRed);
        mc.Pen()->SetStyle(psClear);
        mc.Rectangle(0, 0, 5, 5);
    }
    EXPECT_FALSE(mf.Empty());
    TBitmap target;
    target.SetSize(40, 40);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 40, 40));
    target.Canvas()->StretchDraw(Rect(0, 0, 40, 40), &mf);
    EXPECT_EQ(target.Canvas()->Pixels(10, 10), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(25, 25), clWhite);
    // A Windows metafile block: length counts itself.
    std::string block("\x0A\0\0\0\1\0\2\0\3\0", 10);
    rtl::TMemoryStream in(block);
    TMetafile wmf;
    wmf.ReadData(in);
    EXPECT_FALSE(wmf.Enhanced());
    EXPECT_EQ(wmf.Bytes().size(), 6u);
    rtl::TMemoryStream out;
    wmf.WriteData(out);
    EXPECT_EQ(std::string(out.Bytes()), block);
}

TEST(CanvasObjects, BitmapResizeKeepsContentAndPictureForcesItsClass) {
    TBitmap b;
    b.SetSize(4, 4);
    b.Canvas()->SetPixels(1, 1, clRed);
    b.SetSize(8, 3);
    EXPECT_EQ(b.Width(), 8);
    EXPECT_EQ(b.Canvas()->Pixels(1, 1), clRed);
    b.SetWidth(0);
    EXPECT_TRUE(b.Empty());

    TPicture pic;
    TIcon* icon = pic.Icon();
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->Empty());
    TBitmap* bmp = pic.Bitmap(); // replaces the icon
    EXPECT_EQ(pic.Graphic(), bmp);
    EXPECT_EQ(pic.Bitmap(), bmp); // and stays
    bmp->SetSize(5, 6);
    EXPECT_EQ(pic.Width(), 5);
    TPicture copy;
    copy.Assign(&pic);
    ASSERT_NE(copy.Graphic(), pic.Graphic());
    EXPECT_EQ(copy.Height(), 6);
    copy.Assign(nullptr);
    EXPECT_EQ(copy.Graphic(), nullptr);
    EXPECT_EQ(copy.Width(), 0);
}

TEST(CanvasObjects, FontPenAndBrushStreamTheirProperties) {
    const TClassInfo* font = TFont::StaticClass();
    ASSERT_NE(font->FindProperty("Height"), nullptr);
    ASSERT_NE(font->FindProperty("Name"), nullptr);
    EXPECT_FALSE(font->FindProperty("Size")->stored);
    TFont f;
    f.SetHeight(-13);
    font->FindProperty("Name")->set(f, TValue(std::string("Arial Cyr")));
    EXPECT_EQ(f.Name(), "Arial Cyr");
    EXPECT_EQ(std::get<int64_t>(font->FindProperty("Size")->get(f)), 10);
    font->FindProperty("Style")->set(f, TValue(int64_t(1 << fsItalic)));
    EXPECT_TRUE(f.Spec().italic);
    EXPECT_EQ(f.Spec().height, -13);
    TPen p;
    EXPECT_TRUE(TPen::StaticClass()->FindProperty("Width")->IsDefault(p));
    p.SetWidth(2);
    EXPECT_FALSE(TPen::StaticClass()->FindProperty("Width")->IsDefault(p));
    TBrush b;
    EXPECT_TRUE(TBrush::StaticClass()->FindProperty("Color")->IsDefault(b));
    b.SetColor(clBtnFace);
    EXPECT_EQ(b.Spec().color, 0xC0C0C0u);
}

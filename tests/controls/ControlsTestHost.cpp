#include "ControlsTestHost.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "controls/RegisterControls.h"
#include "frame/FormText.h"
#include "frame/StreamClasses.h"
#include "frame/TReader.h"
#include "frame/controls/ControlBridge.h"
#include "platform/display/Headless.h"
#include "platform/display/WindowManager.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/PngFile.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace ctlhost {

using namespace frame;

const TClassInfo* THostForm::StaticClass() {
    static const auto info = TClassBuilder<THostForm>("THostForm", TCustomControl::StaticClass())
                                 .Property("Caption", &TControl::Caption, &TControl::SetCaption)
                                 .Method<&THostForm::Clicked>("Clicked")
                                 .Build();
    return info.get();
}

THostForm::THostForm(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() + csTopLevelWindow + csAcceptsControls);
    SetVisible(false);
    SetBounds(100, 100, 320, 240);
    SetColor(clBtnFace);
}

THostForm::~THostForm() {
    DestroyComponents();
}

void THostForm::Paint() {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

void RegisterHostClasses() {
    controls::RegisterStreamClasses();
    RegisterStreamClass(THostForm::StaticClass());
}

void ReadForm(TComponent* root, const std::string& text) {
    std::string bytes = ObjectTextToBinary(text);
    rtl::TBytesStream stream(bytes);
    TReader reader(stream);
    reader.ReadRootComponent(root);
}

platform::gdi::Bitmap PaintToBitmap(TControl& control, std::uint32_t background) {
    platform::gdi::Bitmap bitmap(control.Width(), control.Height(), background);
    auto dc = platform::gdi::DeviceContext::ForBitmap(bitmap);
    if (auto* win = As<TWinControl>(&control)) {
        win->PaintTo(dc.get(), 0, 0);
    } else {
        control.Perform(platform::WM_PAINT, reinterpret_cast<WPARAM>(dc.get()));
    }
    return bitmap;
}

void Pump() {
    ProcessPendingMessages();
    platform::WindowManager::Instance().PresentAll();
}

namespace {

std::string ArtifactDir() {
    std::string dir = std::string(ZORVANE_BINARY_DIR) + "/test-artifacts/controls";
    std::filesystem::create_directories(dir);
    return dir;
}

void SavePng(const platform::gdi::Bitmap& image, const std::string& path) {
    std::string png = platform::gdi::EncodePng(image);
    std::ofstream(path, std::ios::binary).write(png.data(), std::streamsize(png.size()));
}

std::string ReadCommand(const std::string& command) {
    std::string out;
    if (FILE* p = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buf[65536];
        while (size_t n = fread(buf, 1, sizeof buf, p))
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

} // namespace

void ExpectMatchesReference(const platform::gdi::Bitmap& image, const std::string& name,
                            int tolerance, double maxBadFraction) {
    std::string ref =
        std::string(ZORVANE_SOURCE_DIR) + "/tests/controls/reference/" + name + ".png";
    std::string actual = ArtifactDir() + "/" + name + ".actual.png";
    if (const char* update = std::getenv("ZORVANE_UPDATE_REFERENCES"); update && *update == '1') {
        SavePng(image, ref);
        return;
    }
    int w = 0, h = 0;
    std::string size = ReadCommand("identify -format '%w %h' '" + ref + "'");
    std::string rgb;
    if (std::sscanf(size.c_str(), "%d %d", &w, &h) == 2)
        rgb = ReadCommand("convert '" + ref + "' -depth 8 rgb:-");
    long bad = 0;
    bool sameSize =
        w == image.Width() && h == image.Height() && rgb.size() == size_t(w) * size_t(h) * 3;
    if (sameSize) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t word = image.Word(x, y);
                const auto* p = reinterpret_cast<const uint8_t*>(rgb.data()) +
                                (size_t(y) * size_t(w) + size_t(x)) * 3;
                int d = std::max({std::abs(int((word >> 16) & 0xFF) - p[0]),
                                  std::abs(int((word >> 8) & 0xFF) - p[1]),
                                  std::abs(int(word & 0xFF) - p[2])});
                if (d > tolerance)
                    ++bad;
            }
    }
    bool ok = sameSize && double(bad) / (double(w) * h) <= maxBadFraction;
    if (!ok)
        SavePng(image, actual);
    EXPECT_TRUE(sameSize) << "cannot read " << ref << " at " << image.Width() << " x "
                          << image.Height() << "; actual image: " << actual;
    EXPECT_TRUE(ok) << bad << " pixels differ from " << ref << "; actual image: " << actual;
}

void HostTest::SetUp() {
    platform::headless::Start();
    RegisterHostClasses();
    SetExceptionHandler([this](TObject*) {
        try {
            throw;
        } catch (const rtl::Exception& e) {
            reported.push_back(std::string(e.ClassName()) + ": " + e.Message());
        }
    });
}

void HostTest::TearDown() {
    SetExceptionHandler(nullptr);
    platform::headless::Stop();
}

} // namespace ctlhost

// Reading form streams: a synthetic stream of about 10 MB with many components and properties,
// and each form resource of the program.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/ProgramClasses.h"
#include "frame/ClassBuilder.h"
#include "frame/FormText.h"
#include "frame/StandardIdents.h"
#include "frame/StreamClasses.h"
#include "frame/TComponent.h"
#include "frame/TReader.h"
#include "frame/TStrings.h"
#include "frame/TWriter.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace {

using namespace frame;

enum TBenchAlign { baNone, baTop, baBottom, baLeft, baRight, baClient };
ZORVANE_ENUM_TYPE(TBenchAlign, "baNone", "baTop", "baBottom", "baLeft", "baRight", "baClient")

class TBenchFont : public TPersistent {
public:
    ZORVANE_CLASS(TBenchFont)
    std::string m_name = "MS Sans Serif";
    int32_t m_height = -11;
    TColor m_color = clWindowText;
};

class TBenchControl : public TComponent {
public:
    ZORVANE_CLASS(TBenchControl)
    explicit TBenchControl(TComponent* owner) : TComponent(owner) {}
    TBenchFont* Font() const { return const_cast<TBenchFont*>(&m_font); }
    void SetFont(TBenchFont*) {}
    TStrings* Lines() const { return const_cast<TStringList*>(&m_lines); }
    void SetLines(TStrings* s) { m_lines.Assign(s); }

    TBenchFont m_font;
    TStringList m_lines;
    std::string m_caption;
    int32_t m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    TColor m_color = clBtnFace;
    TBenchAlign m_align = baNone;
    TSet<TBenchAlign> m_anchors;
    double m_ratio = 0;
    bool m_visible = true;
};

const TClassInfo* TBenchFont::StaticClass() {
    static const auto info = TClassBuilder<TBenchFont>("TBenchFont", TPersistent::StaticClass())
                                 .Property("Name", &TBenchFont::m_name)
                                 .Property("Height", &TBenchFont::m_height)
                                 .Property("Color", ColorType(), &TBenchFont::m_color,
                                           &TBenchFont::m_color, Default(clWindowText))
                                 .Build();
    return info.get();
}

const TClassInfo* TBenchControl::StaticClass() {
    using C = TBenchControl;
    static const auto info =
        TClassBuilder<C>("TBenchControl", TComponent::StaticClass())
            .Property("Left", &C::m_left)
            .Property("Top", &C::m_top)
            .Property("Width", &C::m_width)
            .Property("Height", &C::m_height)
            .Property("Caption", &C::m_caption)
            .Property("Color", ColorType(), &C::m_color, &C::m_color, Default(clBtnFace))
            .Property("Align", &C::m_align)
            .Property("Anchors", &C::m_anchors)
            .Property("Ratio", &C::m_ratio)
            .Property("Visible", &C::m_visible, &C::m_visible, Default(1))
            .Property("Font", &C::Font, &C::SetFont)
            .Property("Lines", &C::Lines, &C::SetLines)
            .Build();
    return info.get();
}

// A stream of `count` controls with `lines` lines each.
std::string MakeStream(int count, int lines) {
    RegisterStreamClass(TBenchControl::StaticClass());
    TComponent root(nullptr);
    root.SetName("Root");
    for (int i = 0; root.ComponentCount() < count; ++i) {
        auto* c = new TBenchControl(&root);
        c->SetName("Control" + std::to_string(i));
        c->m_caption = "Метка номер " + std::to_string(i);
        c->m_left = i % 640;
        c->m_top = i * 7 % 480;
        c->m_width = 75 + i % 300;
        c->m_height = 25 + i % 40000;
        c->m_color = i % 2 ? clRed : clWindow;
        c->m_align = static_cast<TBenchAlign>(i % 6);
        c->m_anchors = {baTop, baLeft};
        c->m_ratio = i / 7.0;
        c->m_visible = i % 3 != 0;
        c->m_font.m_name = "Arial";
        c->m_font.m_height = -(8 + i % 9);
        for (int k = 0; k < lines; ++k)
            c->m_lines.Add("Строка " + std::to_string(k) + " of control " + std::to_string(i));
    }
    rtl::TMemoryStream stream;
    {
        TWriter writer(stream);
        writer.WriteRootComponent(&root);
    }
    return std::string(stream.Bytes());
}

const std::string& SyntheticStream() {
    static const std::string bytes = MakeStream(6000, 60);
    return bytes;
}

void ReadSyntheticStream(benchmark::State& state) {
    const std::string& bytes = SyntheticStream();
    for (auto _ : state) {
        rtl::TBytesStream stream(bytes);
        TReader reader(stream);
        std::unique_ptr<TComponent> root(reader.ReadRootComponent(nullptr));
        benchmark::DoNotOptimize(root.get());
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.counters["stream_MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(ReadSyntheticStream)->Unit(benchmark::kMillisecond);

// A form-sized stream: about 70 KB in some 250 components, the size of the program's largest
// form resource, until the program's own forms exist in resources/forms.
void ReadFormSizedStream(benchmark::State& state) {
    static const std::string bytes = MakeStream(250, 2);
    // Forms are destroyed in batches outside the timing: this measures reading.
    std::vector<std::unique_ptr<TComponent>> roots;
    for (auto _ : state) {
        rtl::TBytesStream stream(bytes);
        TReader reader(stream);
        roots.emplace_back(reader.ReadRootComponent(nullptr));
        if (roots.size() == 64) {
            state.PauseTiming();
            roots.clear();
            state.ResumeTiming();
        }
    }
    state.counters["stream_KB"] = static_cast<double>(bytes.size()) / 1e3;
}
BENCHMARK(ReadFormSizedStream)->Unit(benchmark::kMicrosecond);

// One benchmark per form source of the program, read as a root of its registered class.
void ReadFormResource(benchmark::State& state, const std::string& bytes) {
    app::RegisterProgramClasses();
    for (auto _ : state) {
        try {
            rtl::TBytesStream stream(bytes);
            TReader reader(stream);
            std::unique_ptr<TComponent> root(reader.ReadRootComponent(nullptr));
            benchmark::DoNotOptimize(root.get());
        } catch (const rtl::Exception& e) {
            state.SkipWithError(e.Message().c_str());
            break;
        }
    }
}

const bool formsRegistered = [] {
    std::filesystem::path dir = std::filesystem::path(ZORVANE_SOURCE_DIR) / "resources" / "forms";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        if (entry.path().extension() != ".form")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        try {
            std::string bytes = ObjectTextToBinary(text);
            benchmark::RegisterBenchmark(
                ("ReadFormResource/" + entry.path().stem().string()).c_str(), ReadFormResource,
                bytes)
                ->Unit(benchmark::kMicrosecond);
        } catch (const rtl::Exception&) {
        }
    }
    return true;
}();

} // namespace

// formtool: the form compiler. Converts form sources between the text notation and the binary
// stream, loads a form (source or stream) with every class the program registers to show what it
// holds, and runs a form as the main form of a program (show).
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>

#include "PictureData.h"
#include "ShowCommand.h"
#include "app/ProgramClasses.h"
#include "frame/ComponentTree.h"
#include "frame/FormText.h"
#include "frame/TComponent.h"
#include "frame/TReader.h"
#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TIcon.h"
#include "frame/graphics/TJPEGImage.h"
#include "frame/graphics/TMetafile.h"
#include "frame/graphics/TPicture.h"
#include "platform/files/OutputFile.h"
#include "platform/gdi/PngFile.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace {

constexpr const char* Usage = "Usage: formtool compile IN.form OUT.bin\n"
                              "       formtool decompile IN.bin\n"
                              "       formtool load IN.form|IN.bin\n"
                              "       formtool picture --kind picture|bitmap|icon IN.bin OUT.png\n"
                              "       formtool picture-data --kind picture|bitmap|glyph|icon "
                              "IN.(bmp|jpg|ico)\n"
                              "       formtool show IN.form|IN.bin\n";

// No form comes near this; a device such as /dev/zero would otherwise be read until memory ends.
constexpr size_t kMaxInput = size_t(64) << 20;

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw rtl::EStreamError("Cannot open file \"%s\"", path);
    std::string bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, size_t(in.gcount()));
        if (bytes.size() > kMaxInput)
            throw rtl::EStreamError("File \"%s\" is larger than 64 MB", path);
    }
    if (in.bad())
        throw rtl::EStreamError("Cannot read file \"%s\"", path);
    return bytes;
}

void WriteFile(const char* path, const std::string& bytes) {
    std::string cause;
    if (!platform::files::WriteOutputFile(path, bytes, cause))
        throw rtl::EStreamError("Cannot create file \"%s\": %s", path, cause);
}

// The folder a form file's "{ file '...' }" blocks are relative to.
std::string FolderOf(const char* path) {
    return std::filesystem::path(path).parent_path().string();
}

std::string Load(const std::string& bytes) {
    app::RegisterProgramClasses();
    rtl::TBytesStream stream(bytes);
    frame::TReader reader(stream);
    std::unique_ptr<frame::TComponent> root(reader.ReadRootComponent(nullptr));
    return frame::DescribeComponentTree(root.get());
}

// The pixels of a "Picture.Data", "Glyph.Data" or "Icon.Data" block.
platform::gdi::Bitmap DecodeBlock(const std::string& kind, const std::string& bytes) {
    rtl::TBytesStream stream(bytes);
    frame::TPicture picture;
    frame::TGraphic* graphic = nullptr;
    frame::TBitmap bitmap;
    frame::TIcon icon;
    if (kind == "picture") {
        picture.ReadData(stream);
        graphic = picture.Graphic();
    } else if (kind == "bitmap") {
        bitmap.ReadData(stream);
        graphic = &bitmap;
    } else if (kind == "icon") {
        icon.ReadData(stream);
        graphic = &icon;
    } else {
        throw rtl::EConvertError("Unknown kind \"%s\"", kind);
    }
    if (!graphic || graphic->Empty())
        throw rtl::EInvalidGraphic(std::string("The block holds no picture"));
    if (auto* b = dynamic_cast<frame::TBitmap*>(graphic))
        return b->Image();
    if (auto* i = dynamic_cast<frame::TIcon*>(graphic))
        return i->Handle();
    if (auto* j = dynamic_cast<frame::TJPEGImage*>(graphic))
        return j->Bitmap()->Image();
    // Anything else draws itself onto a white bitmap of its size.
    if (graphic->Width() <= 0 || graphic->Height() <= 0)
        throw rtl::EInvalidGraphic(std::string("The picture has no size"));
    frame::TBitmap canvas;
    canvas.SetSize(graphic->Width(), graphic->Height());
    canvas.Canvas()->FillRect(frame::Rect(0, 0, graphic->Width(), graphic->Height()));
    canvas.Canvas()->StretchDraw(frame::Rect(0, 0, graphic->Width(), graphic->Height()), graphic);
    return canvas.Image();
}

} // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    try {
        if (command == "compile" && argc == 4) {
            // "X.Data = { file 'images/x.bmp' }" names a picture beside the form source.
            std::string text = formtool::ExpandFileBlocks(ReadFile(argv[2]), FolderOf(argv[2]));
            WriteFile(argv[3], frame::ObjectTextToBinary(text));
            return 0;
        }
        if (command == "picture-data" && argc == 5 && std::string(argv[2]) == "--kind") {
            std::string block = formtool::MakeBlock(formtool::ParseBlockKind(argv[3]), argv[4]);
            std::cout << formtool::BlockText(block, 0) << "\n";
            return 0;
        }
        if (command == "decompile" && argc == 3) {
            std::cout << frame::ObjectBinaryToText(ReadFile(argv[2]));
            return 0;
        }
        if (command == "picture" && argc == 6 && std::string(argv[2]) == "--kind") {
            WriteFile(argv[5], platform::gdi::EncodePng(DecodeBlock(argv[3], ReadFile(argv[4]))));
            return 0;
        }
        if (command == "show" && argc == 3)
            return formtool::ShowForm(ReadFile(argv[2]), FolderOf(argv[2]));
        if (command == "load" && argc == 3) {
            std::cout << Load(formtool::FormFileToBinary(ReadFile(argv[2]), FolderOf(argv[2])));
            return 0;
        }
    } catch (const rtl::Exception& e) {
        std::cout << e.ClassName() << ": " << e.Message() << "\n";
        return 1;
    } catch (const std::exception& e) {
        // Out of memory and the like: still a message and a failing exit, never an abort.
        std::cout << "Exception: " << e.what() << "\n";
        return 1;
    }
    std::cerr << Usage;
    return 2;
}

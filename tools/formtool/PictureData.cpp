#include "PictureData.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>
#include <sstream>

#include "frame/FormText.h"
#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TIcon.h"
#include "frame/graphics/TJPEGImage.h"
#include "frame/graphics/TPicture.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace formtool {

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return s;
}

std::string Extension(const std::string& path) {
    std::string ext = Lower(std::filesystem::path(path).extension().string());
    return ext.empty() ? ext : ext.substr(1);
}

// A graphic of the class the file's extension names, loaded from the file.
std::unique_ptr<frame::TGraphic> LoadGraphic(const std::string& path) {
    if (!std::filesystem::is_regular_file(path))
        throw rtl::EStreamError("Cannot open file \"%s\"", path);
    std::string ext = Extension(path);
    std::unique_ptr<frame::TGraphic> graphic;
    if (ext == "bmp")
        graphic = std::make_unique<frame::TBitmap>();
    else if (ext == "jpg" || ext == "jpeg")
        graphic = std::make_unique<frame::TJPEGImage>();
    else if (ext == "ico")
        graphic = std::make_unique<frame::TIcon>();
    else
        throw rtl::EConvertError("Unknown picture file extension \"%s\"", ext);
    graphic->LoadFromFile(path);
    if (graphic->Empty())
        throw rtl::EInvalidGraphic("The picture \"%s\" is empty", path);
    return graphic;
}

} // namespace

BlockKind ParseBlockKind(const std::string& name) {
    if (name == "picture")
        return BlockKind::Picture;
    if (name == "bitmap" || name == "glyph")
        return BlockKind::Bitmap;
    if (name == "icon")
        return BlockKind::Icon;
    throw rtl::EConvertError("Unknown kind \"%s\"", name);
}

BlockKind KindOfProperty(const std::string& propertyPath) {
    std::string owner = propertyPath.substr(0, propertyPath.rfind('.'));
    owner = owner.substr(owner.rfind('.') == std::string::npos ? 0 : owner.rfind('.') + 1);
    if (owner == "Picture")
        return BlockKind::Picture;
    if (owner == "Icon")
        return BlockKind::Icon;
    return BlockKind::Bitmap;
}

std::string MakeBlock(BlockKind kind, const std::string& path) {
    std::unique_ptr<frame::TGraphic> graphic = LoadGraphic(path);
    rtl::TMemoryStream out;
    switch (kind) {
    case BlockKind::Picture: {
        frame::TPicture picture;
        picture.SetGraphic(graphic.get());
        picture.WriteData(out);
        break;
    }
    case BlockKind::Bitmap:
        if (!frame::As<frame::TBitmap>(graphic.get()))
            throw rtl::EInvalidGraphic("A bitmap block needs a .bmp file, not \"%s\"", path);
        graphic->WriteData(out);
        break;
    case BlockKind::Icon:
        if (!frame::As<frame::TIcon>(graphic.get()))
            throw rtl::EInvalidGraphic("An icon block needs an .ico file, not \"%s\"", path);
        graphic->WriteData(out);
        break;
    }
    return std::string(out.Bytes());
}

std::string BlockText(const std::string& bytes, int indent) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out = "{";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 32 == 0) {
            out += '\n';
            out.append(size_t(indent + 2), ' ');
        }
        auto b = static_cast<unsigned char>(bytes[i]);
        out += hex[b >> 4];
        out += hex[b & 15];
    }
    out += '}';
    return out;
}

std::string ExpandFileBlocks(const std::string& formText, const std::string& baseDir) {
    // Strings of the notation never span lines, so a line that starts with a property name
    // and "= { file '...' }" is one of these blocks.
    static const std::regex line(
        R"(^([ \t]*)([A-Za-z_][A-Za-z0-9_.]*\.Data)[ \t]*=[ \t]*\{[ \t]*file[ \t]+'([^']*)'[ \t]*\}[ \t]*\r?$)");
    std::istringstream in(formText);
    std::string out, text;
    std::smatch m;
    while (std::getline(in, text)) {
        if (std::regex_match(text, m, line)) {
            std::string path = (std::filesystem::path(baseDir) / m[3].str()).string();
            out += m[1].str() + m[2].str() + " = " +
                   BlockText(MakeBlock(KindOfProperty(m[2].str()), path), int(m[1].length()));
        } else {
            out += text;
        }
        out += '\n';
    }
    return out;
}

namespace {
// A form text starts, after blanks, with the word that opens its root object.
bool LooksLikeFormText(const std::string& bytes) {
    size_t start = bytes.find_first_not_of(" \t\r\n");
    if (start == std::string::npos)
        return false;
    size_t end = start;
    while (end < bytes.size() && std::isalpha(static_cast<unsigned char>(bytes[end])))
        ++end;
    std::string word = bytes.substr(start, end - start);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return word == "object" || word == "inherited" || word == "inline";
}
} // namespace

std::string FormFileToBinary(const std::string& fileBytes, const std::string& baseDir) {
    // A stream, or something that means to be one (the reader names what is wrong with it).
    if (fileBytes.rfind("TPF", 0) == 0)
        return fileBytes;
    // Anything else that is no form text is not a form at all: its first line is no syntax
    // error of one.
    if (!LooksLikeFormText(fileBytes))
        throw rtl::EReadError(
            std::string("Neither a form stream ('TPF0') nor a form text ('object')"));
    return frame::ObjectTextToBinary(ExpandFileBlocks(fileBytes, baseDir));
}

} // namespace formtool

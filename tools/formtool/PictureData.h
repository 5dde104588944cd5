#pragma once
// Property data blocks made from picture files, so form sources never carry pasted hex:
// "Picture.Data" (the graphic's class name, then its block), "Glyph.Data" and "Bitmap.Data" (a
// bitmap block) and "Icon.Data" (an icon file).
#include <string>

namespace formtool {

enum class BlockKind { Picture, Bitmap, Icon };

// "picture", "bitmap" or "glyph", "icon"; fails with EConvertError for anything else.
BlockKind ParseBlockKind(const std::string& name);
// The kind a property's data block has: "Picture.Data" → picture, "Icon.Data" → icon, every
// other "X.Data" (Glyph, Bitmap ...) → bitmap.
BlockKind KindOfProperty(const std::string& propertyPath);
// The block for a picture file (.bmp, .jpg/.jpeg, .ico), read and checked by the graphic class
// it names. Fails with the graphic's own error for a file that is not a valid picture.
std::string MakeBlock(BlockKind kind, const std::string& path);
// The block in the form text notation: "{" then 32 bytes of hex per line, indented, then "}".
std::string BlockText(const std::string& bytes, int indent);
// Replaces every "Name.Data = { file 'path' }" of a form source by the block made from that
// file; paths are relative to `baseDir`.
std::string ExpandFileBlocks(const std::string& formText, const std::string& baseDir);
// A form file as a binary stream: a stream ("TPF0 ...") as it is, a form source compiled with
// its file blocks expanded relative to `baseDir` (the form file's folder). Every command that
// reads a form file goes through here, so they all read the same sources.
std::string FormFileToBinary(const std::string& fileBytes, const std::string& baseDir);

} // namespace formtool

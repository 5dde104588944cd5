#pragma once
// The classic text notation of form streams and its conversion to and from the binary stream:
//
//   object Form1: TForm1            (also "inherited" and "inline"; "object TClass" when unnamed;
//     Caption = 'Hello'#13#10'x'     "[N]" after the class for a child position)
//     Font.Style = [fsBold, fsItalic]
//     Items.Strings = ( 'a' 'b' )
//     Columns = < item Width = 5 end  item [2] end >
//     Picture.Data = { 0A1B2C }
//     Ratio = 1.5   Scale = 2.5s   Price = 1.25c   When = 45000.5d
//     object Button1: TButton
//     end
//   end
//
// Text is UTF-8; strings are stored in code page 1251, or as wide strings when they hold
// characters 1251 lacks. #nnn is a Unicode code point. Converting a stream to text and back
// gives the same bytes.
#include <string>
#include <string_view>

namespace frame {

// Fails with EParserError "Line %d: %s" on malformed text.
std::string ObjectTextToBinary(std::string_view text);
// Fails as the reader does on malformed streams (EReadError).
std::string ObjectBinaryToText(std::string_view bytes);
// A UTF-8 string in the notation's quoting: 'it''s'#13#10'next'.
std::string QuoteString(std::string_view utf8);
// A real in the notation's shortest form that reads back to the same value ("1.0", "0.1").
std::string RealText(long double value);

} // namespace frame

#pragma once
// The character sets a MIF file names in its Charset line. Strings in the
// library are UTF-8 where they can be, so a file in one of MapInfo's code
// pages is read into UTF-8 and written back into its code page: its labels
// and values show as their writer meant them, and the file saved stays in
// its own charset for every other reader.

#include <string>
#include <string_view>

namespace Mapobjects::Mif {

// The converter's name of a MapInfo charset ("WindowsCyrillic" gives
// "CP1251"), or null where the text is taken as it stands: "Neutral", UTF-8,
// no charset, or one this library does not know.
const char* CodePageOf(std::string_view Charset);

// The charset named in the header of a MIF text (the first Charset line
// before Data), without its quotes; empty when there is none.
std::string HeaderCharset(std::string_view Mif);

// Whether S is UTF-8 throughout (ASCII included).
bool IsUtf8(std::string_view S);

// Text in CodePage turned into UTF-8. A byte the code page leaves undefined
// stands for the character of that number, as Latin-1 reads it, so nothing
// is lost and writing gives the byte back. False, with Out untouched, when
// there is nothing to change (no code page, or no byte above 127).
bool CodePageToUtf8(std::string_view In, const char* CodePage, std::string& Out);

// The reverse: UTF-8 into CodePage. U+0080 to U+009F go back to their
// bytes; a character the code page has no byte for, and any byte that is no
// UTF-8, is written as it stands (its UTF-8 bytes). False, with
// Out untouched, when there is nothing to change.
bool Utf8ToCodePage(std::string_view In, const char* CodePage, std::string& Out);

// Utf8ToCodePage for many texts in a row, with one converter.
class TCodePageEncoder {
public:
    explicit TCodePageEncoder(const char* CodePage); // null: nothing to change
    ~TCodePageEncoder();
    TCodePageEncoder(const TCodePageEncoder&) = delete;
    TCodePageEncoder& operator=(const TCodePageEncoder&) = delete;
    bool Encode(std::string_view In, std::string& Out);

private:
    const char* FCodePage;
    void* FCd = nullptr; // the converter, once opened
};

} // namespace Mapobjects::Mif

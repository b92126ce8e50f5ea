// Numbers and lines of MIF text: the quick path for plain decimals must give
// the very double the full conversion gives, and refuse what it refuses.
// Charsets.

#include "formats/MifText.h"
#include "formats/MifCharset.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace Mapobjects::Mif;

namespace {

std::uint64_t Bits(double V) {
    std::uint64_t B;
    std::memcpy(&B, &V, sizeof B);
    return B;
}

// What the full conversion makes of Text (a leading '+' is taken).
double Reference(std::string Text) {
    if (!Text.empty() && Text.front() == '+') Text.erase(0, 1);
    double V = 0;
    std::from_chars(Text.data(), Text.data() + Text.size(), V);
    return V;
}

} // namespace

TEST(MifText, DecimalsConvertExactlyAsTheFullConversion) {
    // Ties and near-ties of rounding, the 15/16-digit border, signed zeros,
    // the forms without digits on one side of the point, exponents.
    std::istringstream Cases(
        "0 -0 -0.0 +7 5. .5 -.5 0.1 0.3 2.675 1.005 123456789012345 999999999999999 "
        "9999999999999999 1234567890123456 0.000000000000001 0.0000000000000001 "
        "-179.999999999999 90.00000000000001 1e5 -2.5E-3 31.629457 -66.318590 "
        "0000000000000000000012.5");
    for (std::string Text; Cases >> Text;) {
        SCOPED_TRACE(Text);
        EXPECT_EQ(Bits(ToFloat(Text)), Bits(Reference(Text)));
    }
    // Coordinates as files write them: any digit count, any point position.
    std::mt19937_64 Random(12);
    for (int I = 0; I < 20000; ++I) {
        const int Digits = 1 + static_cast<int>(Random() % 18);
        std::string Text = Random() % 2 ? "-" : "";
        for (int D = 0; D < Digits; ++D)
            Text += static_cast<char>('0' + Random() % 10);
        const size_t Point = Random() % (Text.size() + 1);
        if (Point > (Text[0] == '-' ? 1u : 0u)) Text.insert(Point, ".");
        SCOPED_TRACE(Text);
        ASSERT_EQ(Bits(ToFloat(Text)), Bits(Reference(Text)));
    }
}

TEST(MifText, MalformedNumbersAreRefused) {
    for (const char* Text : {"", "-", "+", ".", "-.", "1.2.3", "1-2", "--1", "+-+1", "1,5", "0x10",
                             "12a", " 1", "1 ", "1e", "inf", "nan", "1e999"}) {
        SCOPED_TRACE(Text);
        EXPECT_THROW(ToFloat(Text), Platform::EConvertError);
    }
    EXPECT_THROW(ToFloat(std::string_view()), Platform::EConvertError);
}

TEST(MifText, CoordinatesAreReadTokenByToken) {
    // A number runs to a blank or the end; anything else joined to it makes
    // the whole token the number, and so an error.
    std::string_view Line = " 12.5\t-0.25  1e2 +3";
    EXPECT_EQ(NextFloat(Line), 12.5);
    EXPECT_EQ(NextFloat(Line), -0.25);
    EXPECT_EQ(NextFloat(Line), 100.0);
    EXPECT_EQ(NextFloat(Line), 3.0);
    EXPECT_THROW(NextFloat(Line), Platform::EConvertError);
    for (const char* Text : {"1.5,2 3", "7- 1", "2..5 0", "-. 1"}) {
        std::string_view Bad = Text;
        SCOPED_TRACE(Text);
        EXPECT_THROW(NextFloat(Bad), Platform::EConvertError);
    }
}

// --- charsets -------------------------------------------------------------

TEST(MifCharset, CodePagesTurnIntoUtf8AndBack) {
    struct Case {
        const char* Charset;
        std::string Bytes, Utf8;
    } Cases[] = {
        {"WindowsCyrillic", "\xcf\xee\xeb\xe5", "\xd0\x9f\xd0\xbe\xd0\xbb\xd0\xb5"}, // Поле
        {"windowslatin1", "caf\xe9 \x80", "caf\xc3\xa9 \xe2\x82\xac"},               // café €
        // 0x98 is no character of CP1251: it stands for U+0098 and comes back.
        {"WindowsCyrillic",
         "a\x98"
         "b",
         "a\xc2\x98"
         "b"},
        {"WindowsJapanese", "\x93\xfa\x96\x7b", "\xe6\x97\xa5\xe6\x9c\xac"}, // 日本
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Bytes);
        const char* Page = CodePageOf(C.Charset);
        ASSERT_NE(Page, nullptr);
        std::string Utf8, Bytes;
        ASSERT_TRUE(CodePageToUtf8(C.Bytes, Page, Utf8));
        EXPECT_EQ(Utf8, C.Utf8);
        ASSERT_TRUE(Utf8ToCodePage(Utf8, Page, Bytes));
        EXPECT_EQ(Bytes, C.Bytes);
    }
    // Nothing to do: text as it stands.
    std::string Out = "untouched";
    EXPECT_EQ(CodePageOf("Neutral"), nullptr);
    EXPECT_FALSE(CodePageToUtf8("\xcf", CodePageOf("Neutral"), Out));
    EXPECT_FALSE(CodePageToUtf8("plain", CodePageOf("WindowsCyrillic"), Out));
    // A character the code page lacks keeps its bytes rather than vanish.
    ASSERT_TRUE(Utf8ToCodePage("\xe6\x97\xa5\xd0\x9f", CodePageOf("WindowsCyrillic"), Out));
    EXPECT_EQ(Out, "\xe6\x97\xa5\xcf");
    EXPECT_EQ(HeaderCharset("Version 300\r\nCharset \"WindowsCyrillic\"\r\nData\r\n"),
              "WindowsCyrillic");
    EXPECT_EQ(HeaderCharset("Version 300\nData\nText \"Charset x\"\n"), "");
}

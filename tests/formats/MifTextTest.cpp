// Numbers and lines of MIF text: the quick path for plain decimals must give
// the very double the full conversion gives, and refuse what it refuses.

#include "formats/MifText.h"
#include "formats/MifLines.h"

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

TEST(MifText, LinesEndAtLfCrLfOrLoneCrAfterGoingBack) {
    // Mixed line ends, read straight through, and again going back from each
    // line to the one before it, over CRs already passed.
    const std::string_view Text = "a\r\nb\rc\n\rd\r\r\ne\rf";
    const std::vector<std::string_view> Want = {"a", "b", "c", "", "d", "", "e", "f"};
    Mapobjects::Mif::TLineCursor Straight(Text);
    std::vector<std::string_view> Got;
    for (std::string_view Line; Straight.Next(Line);)
        Got.push_back(Line);
    EXPECT_EQ(Got, Want);

    Mapobjects::Mif::TLineCursor Back(Text);
    std::vector<Mapobjects::Mif::TLineCursor::TMark> Marks;
    std::string_view Line;
    for (size_t I = 0; I < Want.size(); ++I) {
        Marks.push_back(Back.Mark());
        ASSERT_TRUE(Back.Next(Line));
        EXPECT_EQ(Line, Want[I]);
        if (I == 0) continue;
        Back.Restore(Marks[I - 1]); // back before the line before
        ASSERT_TRUE(Back.Next(Line));
        EXPECT_EQ(Line, Want[I - 1]);
        ASSERT_TRUE(Back.Next(Line));
        EXPECT_EQ(Line, Want[I]);
        EXPECT_EQ(Back.Lines(), static_cast<int>(I + 1));
    }
    EXPECT_FALSE(Back.Next(Line));
}

#include "formats/StringParser.h"

#include "formats/SyntaxParser.h"
#include "platform/Dialogs.h"

#include <gtest/gtest.h>
#include <string>

using namespace Mapobjects;

namespace {

// The items joined with "|", whatever the delimiter.
std::string Dump(const TStringParser& P) {
    std::string S;
    for (int I = 0; I < P.Count(); ++I)
        S += (I ? "|" : "") + P[I]->GetAsString();
    return S;
}

TParserItem& ItemWith(TStringParser& P, const std::string& Text) {
    P.FromString(Text);
    return *P[0];
}

} // namespace

TEST(StringParser, FloatCurrencyDateAndTimeViews) {
    TStringParser P;
    EXPECT_DOUBLE_EQ(ItemWith(P, "-1e-3").GetAsFloat(), -0.001);
    EXPECT_EQ(ItemWith(P, "2,5").GetAsFloat(), 0.0);
    EXPECT_EQ(ItemWith(P, "1.23456").GetAsCurrency(), 12346);
    EXPECT_EQ(ItemWith(P, "-1.23456").GetAsCurrency(), -12346);
    EXPECT_EQ(ItemWith(P, "1e300").GetAsCurrency(), 0); // out of range
    EXPECT_EQ(ItemWith(P, "n/a").GetAsCurrency(), 0);

    TParserItem& Item = ItemWith(P, "");
    Item.SetAsFloat(0.1);
    EXPECT_EQ(Item.GetAsString(), "0.1");
    Item.SetAsCurrency(15000);
    EXPECT_EQ(Item.GetAsString(), "1.5");

    const Platform::TDateTime Day = Platform::EncodeDate(2024, 2, 29);
    const Platform::TDateTime Time = Platform::EncodeTime(13, 45, 10, 0);
    Item.SetAsDate(Day + Time);
    EXPECT_EQ(Item.GetAsDate(), Day); // only the date part is kept
    Item.SetAsTime(Day + Time);
    EXPECT_NEAR(Item.GetAsTime(), Time, 1e-9);

    // Unconvertible text reads as the moment of the call.
    Item.SetAsString("yesterday");
    const Platform::TDateTime Before = Platform::Now();
    const Platform::TDateTime D = Item.GetAsDate(), T = Item.GetAsTime();
    const Platform::TDateTime After = Platform::Now();
    EXPECT_TRUE(D >= Before && D <= After);
    EXPECT_TRUE(T >= Before && T <= After);
}

TEST(StringParser, GetItemsPastTheEnd) {
    Platform::SetMessageHook({});
    Platform::RecordedMessages().clear();
    TStringParser P;
    P.FromString("a;b");
    EXPECT_EQ(P.GetItems(P.Count() - 1)->GetAsString(), "b");
    EXPECT_TRUE(Platform::RecordedMessages().empty());

    EXPECT_EQ(P.GetItems(P.Count()), nullptr);
    ASSERT_EQ(Platform::RecordedMessages().size(), 1u);
    EXPECT_EQ(Platform::RecordedMessages()[0].Text, "Error reading object properties from string!");
    EXPECT_EQ(Platform::RecordedMessages()[0].Type, Platform::mtError);

    EXPECT_THROW(P.GetItems(-1), Platform::EListError);
    EXPECT_EQ(Platform::RecordedMessages().size(), 1u);
    Platform::RecordedMessages().clear();
}

TEST(StringParser, Assign) {
    TStringParser A, B;
    A.FromString("x;;z");
    B.SetDelimiter(",");
    B.FromString("old,older,oldest,too old");
    A.AssignTo(&B);
    EXPECT_EQ(Dump(B), "x||z");
    EXPECT_EQ(B.Delimiter(), ",");
    B[0]->SetAsString("changed");
    EXPECT_EQ(A[0]->GetAsString(), "x"); // copies, not shared items
    A.AssignTo(&A);
    EXPECT_EQ(Dump(A), "x||z");

    A.SetItems(1, B[0]);
    A[2]->AssignTo(A[0]);
    EXPECT_EQ(Dump(A), "z|changed|z");

    TSyntaxParser Other;
    Other.Add("tok", 0, 0);
    EXPECT_THROW(A.AssignTo(&Other), Platform::EInvalidCast);
    EXPECT_THROW(A[0]->AssignTo(Other[0]), Platform::EInvalidCast);
    EXPECT_EQ(Other[0]->Value(), "tok");
}

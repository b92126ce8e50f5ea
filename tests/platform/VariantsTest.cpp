#include "platform/Variants.h"

#include <functional>
#include <gtest/gtest.h>

using namespace Platform;

namespace {

std::string CastMessage(const std::function<void()>& Call) {
    try {
        Call();
    } catch (const EVariantTypeCastError& Error) {
        return Error.Message();
    }
    return "no exception";
}

} // namespace

TEST(Variant, TypesAndNames) {
    EXPECT_TRUE(TVariant().IsEmpty());
    EXPECT_TRUE(TVariant::Null().IsNull());
    EXPECT_STREQ(TVariant(true).TypeName(), "Boolean");
    EXPECT_STREQ(TVariant(7).TypeName(), "Integer");
    EXPECT_STREQ(TVariant(7.0).TypeName(), "Double");
    EXPECT_STREQ(TVariant::FromDateTime(1).TypeName(), "Date");
    EXPECT_STREQ(TVariant("7").TypeName(), "String");
    EXPECT_EQ(TVariant(7), TVariant(std::int64_t{7}));
    EXPECT_FALSE(TVariant(7) == TVariant(7.0));
    const TVariant Empty, Null = TVariant::Null();
    EXPECT_FALSE(Empty == Null);
}

TEST(Variant, ToStringForEachType) {
    EXPECT_EQ(TVariant().ToString(), "");
    EXPECT_EQ(TVariant::Null().ToString(), "");
    EXPECT_EQ(TVariant(false).ToString(), "False");
    EXPECT_EQ(TVariant(-12).ToString(), "-12");
    EXPECT_EQ(TVariant(1e20).ToString(), "1E20");
    EXPECT_EQ(TVariant::FromDateTime(EncodeDate(2024, 3, 5) + 0.75).ToString(),
              "2024-03-05 18:00:00");
    EXPECT_EQ(TVariant("text").ToString(), "text");
}

TEST(Variant, NumberConversions) {
    EXPECT_EQ(TVariant().ToDouble(), 0);
    EXPECT_EQ(TVariant(true).ToDouble(), -1);
    EXPECT_EQ(TVariant(true).ToInteger(), -1);
    EXPECT_EQ(TVariant::FromDateTime(2.5).ToDouble(), 2.5);
    EXPECT_EQ(TVariant(" 1.5e1 ").ToDouble(), 15);
    EXPECT_EQ(TVariant(2.5).ToInteger(), 2);
    EXPECT_EQ(TVariant(-3.5).ToInteger(), -4);
    EXPECT_EQ(TVariant("3.5").ToInteger(), 4);
    EXPECT_EQ(TVariant("-2147483648").ToInteger(), -2147483647 - 1);
    EXPECT_EQ(TVariant(std::int64_t{2147483647}).ToInteger(), 2147483647);
    for (const TVariant& Big : {TVariant(std::int64_t{2147483648LL}), TVariant(2147483647.5),
                                TVariant("2147483648"), TVariant(1e300)})
        EXPECT_THROW(Big.ToInteger(), EVariantTypeCastError) << Big.ToString();
}

TEST(Variant, BooleanConversions) {
    EXPECT_FALSE(TVariant().ToBoolean());
    EXPECT_TRUE(TVariant(-2).ToBoolean());
    EXPECT_FALSE(TVariant(0.0).ToBoolean());
    EXPECT_TRUE(TVariant(0.25).ToBoolean());
    EXPECT_TRUE(TVariant("tRUE").ToBoolean());
    EXPECT_FALSE(TVariant("FALSE").ToBoolean());
    EXPECT_TRUE(TVariant("1").ToBoolean());
    EXPECT_FALSE(TVariant("0.0").ToBoolean());
}

TEST(Variant, FailedConversionsNameBothTypes) {
    EXPECT_EQ(CastMessage([] { TVariant::Null().ToDouble(); }),
              "Could not convert variant of type (Null) into type (Double)");
    EXPECT_EQ(CastMessage([] { TVariant("abc").ToInteger(); }),
              "Could not convert variant of type (String) into type (Integer)");
    EXPECT_EQ(CastMessage([] { TVariant("yes").ToBoolean(); }),
              "Could not convert variant of type (String) into type (Boolean)");
    EXPECT_EQ(CastMessage([] { TVariant(3e9).ToInteger(); }),
              "Could not convert variant of type (Double) into type (Integer)");
    EXPECT_THROW(TVariant::Null().ToInteger(), EVariantTypeCastError);
    EXPECT_THROW(TVariant::Null().ToBoolean(), EVariantTypeCastError);
    EXPECT_THROW(TVariant("").ToDouble(), EVariantTypeCastError);
}

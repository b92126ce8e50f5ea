// Variants: types, texts and conversions.
#include "platform/Variants.h"
#include "support/TestUtils.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace {

// What Of gives for each variant, each followed by "|".
template <class F> std::string Each(std::initializer_list<TVariant> Values, F&& Of) {
    std::string S;
    for (const TVariant& V : Values)
        S += std::string(Of(V)) + "|";
    return S;
}

} // namespace

TEST(Variant, NumberAndBooleanConversions) {
    EXPECT_EQ(TVariant().ToDouble(), 0);
    EXPECT_EQ(TVariant(true).ToDouble(), -1);
    EXPECT_EQ(TVariant(" 1.5e1 ").ToDouble(), 15);
    // Doubles round halves to even; the range is exactly 32 bits.
    const std::pair<TVariant, int> Integers[] = {{true, -1},
                                                 {2.5, 2},
                                                 {-3.5, -4},
                                                 {"3.5", 4},
                                                 {"-2147483648", -2147483647 - 1},
                                                 {-2147483648.0, -2147483647 - 1},
                                                 {std::int64_t{2147483647}, 2147483647}};
    for (const auto& [V, Want] : Integers)
        EXPECT_EQ(V.ToInteger(), Want) << V.ToString();
    for (const TVariant& Big : {TVariant(std::int64_t{2147483648LL}), TVariant(2147483647.5),
                                TVariant("2147483648"), TVariant(1e300)})
        EXPECT_THROW(Big.ToInteger(), EVariantTypeCastError) << Big.ToString();
    EXPECT_EQ(Each({TVariant(), -2, 0.0, 0.25, "tRUE", "FALSE", "1", "0.0"},
                   [](const TVariant& V) { return V.ToBoolean() ? "T" : "F"; }),
              "F|T|F|T|T|F|T|F|");
}

TEST(Variant, FailedConversionsNameBothTypes) {
    auto CastMessage = [](auto Call) { return Testing::MessageOf<EVariantTypeCastError>(Call); };
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
}

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

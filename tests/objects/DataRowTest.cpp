// Compact attribute rows: values kept in a row block read, convert and copy
// exactly as the same values in a field of the old field list.
#include "objects/Symbol.h"
#include "support/MapFixture.h"

#include <cmath>
#include <limits>

using namespace Mapobjects;
using namespace Platform;
using Testing::MapFixture;

using DataRows = MapFixture;

namespace {

// What a reading gives: its text, or the class of exception it raises.
template <class F> std::string Outcome(F&& Read) {
    try {
        return "= " + Read();
    } catch (const EVariantTypeCastError&) {
        return "variant cast error";
    } catch (const EConvertError&) {
        return "convert error";
    }
}

std::string Readings(const TDataField& F) {
    std::string S;
    S += Outcome([&] { return F.AsString(); }) + " | ";
    S += Outcome([&] { return std::to_string(F.AsInteger()); }) + " | ";
    S += Outcome([&] { return FloatToStr(F.AsFloat()); }) + " | ";
    S += Outcome([&] { return FloatToStr(F.AsDecimal()); }) + " | ";
    S += Outcome([&] { return FloatToStr(F.AsDateTime()); }) + " | ";
    S += F.Value().TypeName();
    return S;
}

} // namespace

TEST_F(DataRows, EveryValueReadsAndConvertsAsInAFieldOfItsOwn) {
    const std::vector<TVariant> Values = {
        TVariant(),
        TVariant::Null(),
        TVariant(true),
        TVariant(false),
        TVariant(std::int64_t(-7)),
        TVariant(std::numeric_limits<std::int64_t>::max()),
        TVariant(-0.0),
        TVariant(2.5),
        TVariant(1e300),
        TVariant::FromDateTime(EncodeDate(2024, 2, 29) + 0.75),
        TVariant(std::string()),
        TVariant("12345678"),  // the longest text kept in place
        TVariant("123456789"), // the shortest kept apart
        TVariant("2,5"),
        TVariant(std::string("a\0b", 3)),
        TVariant("a text far longer than any slot, with \"quotes\", commas, and ends\n"),
    };
    const std::vector<TDataType> Types = {dtString,   dtFloat, dtDecimal, dtInteger, dtSmallInt,
                                          dtDateTime, dtDate,  dtTime,    dtBoolean};
    const int N = static_cast<int>(Types.size());
    TMapLayer* L = Map.Layers().Add("", "all");
    for (TDataType T : Types)
        L->Fields().Add("C" + std::to_string(T), T, 0);
    for (const TVariant& V : Values) {
        TSymbol* Obj = L->NewObject<TSymbol>();
        for (int C = 0; C < N; ++C)
            Obj->Row().SetValue(C, V);
        ASSERT_EQ(Obj->Row().List(), nullptr); // compact until asked for as a list
        std::vector<std::string> Texts;
        for (int C = 0; C < N; ++C) {
            const TVariant Back = Obj->Row().Value(C);
            EXPECT_EQ(Back, V) << V.TypeName() << " '" << V.ToString() << "' column " << C;
            if (const double* D = Back.Peek<double>()) {
                EXPECT_EQ(std::signbit(*D), std::signbit(*V.Peek<double>()));
            }
            Texts.push_back(Outcome([&] { return Obj->Row().Text(C); }));
        }
        // Made a field list, the row gives every reading a field of its own gives.
        TDataFields& Fields = Obj->Fields();
        ASSERT_EQ(Fields.Count(), N);
        for (int C = 0; C < N; ++C) {
            TDataFields Own;
            TDataField* Expected = Own.Add("C", Types[C], 0);
            Expected->SetValue(V);
            EXPECT_EQ(Texts[C], Outcome([&] { return Expected->AsString(); }));
            EXPECT_EQ(Readings(*Fields.GetFields(C)), Readings(*Expected))
                << V.TypeName() << " '" << V.ToString() << "' column " << C;
        }
    }
}

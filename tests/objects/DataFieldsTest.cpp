#include "objects/DataFields.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

using namespace Mapobjects;
using Platform::TVariant;

TEST(DataFields, StringSizeRuleDependsOnTheOrderOfSettersTypeNames) {
    TDataFields Fields;
    EXPECT_EQ(Fields.Add("A", dtString, 0)->Size(), 255);
    EXPECT_EQ(Fields.Insert(0, "B", dtString, 0)->Size(), 0);
    EXPECT_EQ(Fields.Add("C", dtString, 40)->Size(), 40);
    EXPECT_EQ(Fields.Add("D", dtInteger, 0)->Size(), 0);
    EXPECT_EQ(Fields.GetFields(0)->Name(), "B");

    EXPECT_EQ(Fields.Add("S", dtString, 30)->GetDataTypeName(), "Char(30)");
    EXPECT_EQ(Fields.Add("B", dtBoolean, 0)->GetDataTypeName(), "");
    EXPECT_EQ(Fields.Add("F", dtFloat, 0)->GetDataTypeName(), "Float");
    EXPECT_EQ(Fields.Add("I", dtSmallInt, 0)->GetDataTypeName(), "SmallInt");
    EXPECT_EQ(Fields.Add("T", dtDateTime, 0)->GetDataTypeName(), "DateTime");
}

TEST(DataFields, LookupsIgnoreCaseAndSkipHiddenFields) {
    TDataFields Fields;
    TDataField* First = Fields.Add("Name", dtString, 10);
    Fields.Add("NAME", dtInteger, 0);
    EXPECT_EQ(Fields.FieldByName("name"), First);
    EXPECT_EQ(Fields.FieldByName("missing"), nullptr);

    Fields.GetFields(1)->SetVisible(false);
    TDataField* C = Fields.Add("C", dtString, 1);
    EXPECT_EQ(Fields.GetVisibleFieldCount(), 2);
    EXPECT_EQ(Fields.GetDisplayed(1), C);
    EXPECT_EQ(Fields.GetDisplayed(2), nullptr);
    EXPECT_EQ(Fields.GetDisplayed(-1), nullptr);
    EXPECT_THROW(Fields.GetFields(3), Platform::EListError);
}

// A null shows as an empty cell and an empty label in every column type;
// text a reader kept because it was no value of its column shows as it is,
// and a date beyond the calendar as its number: showing never raises.
TEST(DataFields, EveryValueHasATextNullsAnEmptyOne) {
    const TDataType Types[] = {dtString,   dtFloat, dtDecimal, dtInteger, dtSmallInt,
                               dtDateTime, dtDate,  dtTime,    dtBoolean};
    for (TDataType Type : Types) {
        TDataFields Fields;
        TDataField* F = Fields.Add("C", Type, 0);
        SCOPED_TRACE(F->GetDataTypeName());
        EXPECT_TRUE(F->IsNull()); // unassigned
        F->SetNull();
        EXPECT_TRUE(F->IsNull());
        EXPECT_EQ(F->AsString(), "");
        EXPECT_THROW(F->AsInteger(), Platform::EVariantTypeCastError);
        EXPECT_THROW(F->AsFloat(), Platform::EConvertError);
        F->SetAsString("");
        EXPECT_FALSE(F->IsNull()); // empty text is a value
        EXPECT_EQ(F->AsString(), "");
        F->SetAsString("31.02.x");
        EXPECT_EQ(F->AsString(), "31.02.x");
        F->SetValue(1e9); // the year 2,739,907
        EXPECT_EQ(F->AsString(), "1000000000");
        F->SetAsDateTime(-1e9);
        EXPECT_EQ(F->AsString(), "-1000000000");
    }
}

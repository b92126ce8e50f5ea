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

TEST(DataFields, FloatGoesThroughTheStringFormOtherNumbersThroughTheValue) {
    TDataFields Fields;
    TDataField* F = Fields.Add("F", dtFloat, 0);
    F->SetAsString("2.5");
    EXPECT_EQ(F->AsFloat(), 2.5);
    F->SetAsFloat(1234.125);
    EXPECT_EQ(F->AsString(), "1234.125");
    F->SetAsString("abc");
    EXPECT_THROW(F->AsFloat(), Platform::EConvertError);
    F->SetValue(TVariant());
    EXPECT_THROW(F->AsFloat(), Platform::EConvertError);
    EXPECT_EQ(F->AsInteger(), 0); // an unassigned variant converts to 0

    F = Fields.Add("N", dtInteger, 0);
    F->SetAsString("42");
    EXPECT_EQ(F->AsInteger(), 42);
    EXPECT_EQ(F->AsDecimal(), 42.0);
    F->SetAsDecimal(3.75);
    EXPECT_EQ(F->AsString(), "3.75");
    F->SetAsString("xyz");
    EXPECT_THROW(F->AsDecimal(), Platform::EVariantTypeCastError);
    EXPECT_THROW(F->AsDate(), Platform::EVariantTypeCastError);

    // Dates read as the platform writes them.
    Fields.Add("D", dtDate, 0)->SetAsDate(0.0);
    EXPECT_EQ(Fields.FieldByName("D")->AsString(), "1899-12-30");
    Fields.Add("DT", dtDateTime, 0)->SetAsDateTime(Platform::EncodeDate(2024, 2, 29) + 0.5);
    EXPECT_EQ(Fields.FieldByName("DT")->AsString(), "2024-02-29 12:00:00");
}

TEST(DataFields, CopyingAListCopiesEverything) {
    TDataFields Src;
    TDataField* A = Src.Add("A", dtString, 12);
    A->SetIsPrimaryKey(true);
    A->SetVisible(false);
    A->SetDefaultValue(TVariant("dflt"));
    A->SetValue(TVariant("val"));
    Src.Insert(1, "B", dtString, 0)->SetValue(TVariant(7));
    TDataFields Dst;
    Dst.Add("old", dtFloat, 0);
    Dst.Assign(&Src);
    ASSERT_EQ(Dst.Count(), 2);
    TDataField* C = Dst.GetFields(0);
    EXPECT_EQ(std::tuple(C->Name(), C->Size(), C->IsPrimaryKey(), C->Visible()),
              std::tuple("A", 12, true, false));
    EXPECT_EQ(std::tuple(C->DefaultValue().ToString(), C->Value().ToString()),
              std::tuple("dflt", "val"));
    // The copy goes through the setters: a string of size 0 becomes 255.
    EXPECT_EQ(Dst.GetFields(1)->Size(), 255);
    EXPECT_EQ(Dst.GetFields(1)->AsInteger(), 7);
    Src.GetFields(0)->SetAsString("changed");
    EXPECT_EQ(C->AsString(), "val"); // independent afterwards
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

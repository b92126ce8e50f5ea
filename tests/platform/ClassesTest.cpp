// Lists, collections, owners and string lists.
#include "platform/Classes.h"
#include "support/TestUtils.h"

#include <gtest/gtest.h>

using namespace Platform;
using Testing::MessageOf;

namespace {

class TNamedItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    std::string Name;
    void Assign(const TPersistent* Source) override {
        if (auto* Other = dynamic_cast<const TNamedItem*>(Source)) {
            Name = Other->Name;
            return;
        }
        TCollectionItem::Assign(Source);
    }
};

class TOtherItem : public TCollectionItem {
    using TCollectionItem::TCollectionItem;
};

// Counts live instances so owner-tree freeing can be checked.
class TCounted : public TComponent {
public:
    explicit TCounted(TComponent* Owner, int& Live) : TComponent(Owner), FLive(Live) { ++FLive; }
    ~TCounted() override { --FLive; }

private:
    int& FLive;
};

std::string Names(const TCollectionOf<TNamedItem>& C) {
    std::string Result;
    for (int I = 0; I < C.Count(); ++I)
        Result += C[I]->Name;
    return Result;
}

} // namespace

TEST(Collection, ItemsKnowTheirIndexAndCopyThroughItemAssign) {
    TCollectionOf<TNamedItem> C;
    C.Add()->Name = "b";
    C.Insert(0)->Name = "a";
    C.Insert(C.Count())->Name = "d";
    TNamedItem* Third = C.Insert(2);
    Third->Name = "c";
    EXPECT_EQ(Names(C), "abcd");
    C.Delete(0);
    EXPECT_EQ(Third->Index(), 1);
    EXPECT_EQ(MessageOf<EListError>([&] { C.Delete(3); }), "List index out of bounds (3)");
    EXPECT_EQ(MessageOf<EListError>([&] { C.Insert(4); }), "List index out of bounds (4)");

    TCollectionOf<TNamedItem> Dest;
    Dest.Add()->Name = "old";
    TNamedItem* Kept = Dest[0];
    Dest.SetItem(0, C[1]);
    EXPECT_EQ(Dest[0], Kept); // the stored item is updated, not replaced
    EXPECT_EQ(Kept->Name, "c");
    Dest.Assign(&C);
    EXPECT_EQ(Names(Dest), "bcd");
    EXPECT_NE(Dest[0], C[0]);
    EXPECT_EQ(Dest[1]->Collection(), &Dest);
    Dest.Assign(&Dest);
    EXPECT_EQ(Dest.Count(), 3);

    TCollectionOf<TOtherItem> Other;
    Other.Add();
    EXPECT_EQ(MessageOf<EConvertError>([&] { Dest.SetItem(0, Other[0]); }),
              "Cannot assign a TOtherItem to a TNamedItem");
    TStrings Strings;
    EXPECT_EQ(MessageOf<EConvertError>([&] { Dest.Assign(&Strings); }),
              "Cannot assign a TStrings to a TCollectionOf<(anonymous namespace)::TNamedItem>");
    EXPECT_EQ(MessageOf<EConvertError>([&] { Strings.Assign(nullptr); }),
              "Cannot assign a nil to a TStrings");
}

TEST(Component, OwnerFreesItsTreeAndChildrenUnlink) {
    int Live = 0;
    auto* Root = new TCounted(nullptr, Live);
    auto* Child = new TCounted(Root, Live);
    new TCounted(Child, Live);
    auto* Second = new TCounted(Root, Live);
    EXPECT_EQ(Live, 4);
    delete Child; // takes its own child and leaves the owner's list
    EXPECT_EQ(Live, 2);
    ASSERT_EQ(Root->ComponentCount(), 1);
    EXPECT_EQ(Root->Components(0), Second);
    delete Root;
    EXPECT_EQ(Live, 0);
}

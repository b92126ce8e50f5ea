// The layer control: rows follow the map's layers, switches and drags act
// on them, and its pictures.
#include "controls/LayerCtrl.h"
#include "support/MapFixture.h"

#include <QImage>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Mapobjects;
using namespace Platform;
using Testing::MapFixture;

namespace {

struct LayerControlTest : MapFixture {
    TLayerControl Ctrl{nullptr};
    TMapLayer *A = nullptr, *B = nullptr, *C = nullptr;
    void SetUp() override {
        MapFixture::SetUp();
        Ctrl.SetParent(&Form);
        Ctrl.SetBounds(0, 0, 200, 100); // rows of 15 pixels
        Ctrl.SetMap(&Map);
        A = Map.Layers().Add("", "A");
        B = Map.Layers().Add("", "B");
        C = Map.Layers().Add("", "C");
        Application()->ProcessMessages();
    }
    std::string Order() const {
        std::string S;
        for (TMapLayer* L : Map.Layers())
            S += L->Name();
        return S;
    }
    void Click(const TRect& R) {
        const int X = (R.Left + R.Right) / 2, Y = (R.Top + R.Bottom) / 2;
        Ctrl.MouseDown(mbLeft, ssLeft, X, Y);
        Ctrl.MouseUp(mbLeft, 0, X, Y);
    }
    TColor Pixel(int X, int Y) { return FromQColor(QColor(Ctrl.Surface().pixel(X, Y))); }
};

TEST_F(LayerControlTest, RowsComeAndGoWithTheLayersAddedWhileAttached) {
    EXPECT_EQ(Ctrl.Items().Count(), 3);
    Ctrl.SetItemIndex(0);
    EXPECT_EQ(Ctrl.GetCurrentLayer(), A);
    Map.Layers().Delete(2);
    EXPECT_EQ(Ctrl.Items().Count(), 2);
    EXPECT_EQ(Ctrl.GetCurrentLayer(), A) << "the current row stays on its layer";
    Map.Layers().Delete(0);
    EXPECT_EQ(Ctrl.GetCurrentLayer(), nullptr) << "its layer went: no current row";

    TChartix Other{nullptr};
    Other.Layers().Add("", "early");
    TLayerControl Late{nullptr};
    Late.SetMap(&Other);
    Late.SetMap(nullptr); // ignored
    EXPECT_EQ(Late.Map(), &Other);
    EXPECT_EQ(Late.Items().Count(), 0) << "layers from before the attachment get no rows";
    Late.AddRowsForExistingLayers();
    EXPECT_EQ(Late.Items().Count(), 1);
}

TEST_F(LayerControlTest, ACodeChangeOfASwitchRedrawsOnlyThatRowAtOnce) {
    const TRect Eye = Ctrl.GetVisibleRect(0);
    QImage Before = Ctrl.Surface().copy();
    Ctrl.Canvas()->SetPixel(10, 20, clRed); // a mark in row 1
    A->SetVisible(false);
    EXPECT_FALSE(Ctrl.PaintPending());
    EXPECT_NE(Ctrl.Surface().copy(Eye.Left, Eye.Top, 16, 13),
              Before.copy(Eye.Left, Eye.Top, 16, 13))
        << "the eye turned grey";
    EXPECT_EQ(Pixel(10, 20), clRed) << "row 1 was left alone";

    // The current row of a focused control comes out as a full paint has it.
    Ctrl.SetItemIndex(0);
    Ctrl.SetFocus();
    Application()->ProcessMessages();
    A->SetVisible(true);
    const QImage Row0 = Ctrl.Surface().copy(0, 0, 200, 15);
    Ctrl.Invalidate();
    Application()->ProcessMessages();
    EXPECT_EQ(Row0, Ctrl.Surface().copy(0, 0, 200, 15));
}

TEST_F(LayerControlTest, AClickOnASwitchTogglesItsLayer) {
    struct Switch {
        TRect (TLayerControl::*Rect)(int) const;
        bool (TMapLayer::*Get)() const;
    } const Switches[] = {{&TLayerControl::GetVisibleRect, &TMapLayer::Visible},
                          {&TLayerControl::GetSelectableRect, &TMapLayer::GetSelectable},
                          {&TLayerControl::GetEditableRect, &TMapLayer::Editable},
                          {&TLayerControl::GetAutolabelRect, &TMapLayer::AutoLabel}};
    for (const Switch& S : Switches) {
        const bool Was = (B->*S.Get)();
        Click((Ctrl.*S.Rect)(1));
        EXPECT_NE((B->*S.Get)(), Was);
        Click((Ctrl.*S.Rect)(1));
        EXPECT_EQ((B->*S.Get)(), Was);
    }
    // An invisible layer's editable switch is only drawn inactive: the click
    // still asks the layer, which stays non-editable while hidden.
    struct : TMapDataLink {
        int Asked = 0;
        void MapEvent(TMapDataLinkEvent E, TObject*, int) override {
            Asked += E == mdlLayerEditableChanged;
        }
    } Watch;
    Watch.SetMap(&Map);
    B->SetVisible(false);
    Click(Ctrl.GetEditableRect(1));
    EXPECT_EQ(Watch.Asked, 1);
    EXPECT_FALSE(B->Editable());
    EXPECT_EQ(Order(), "ABC");
}

TEST_F(LayerControlTest, DraggingRowZeroOntoRowTwoMovesTheLayer) {
    std::vector<std::string> Events;
    Ctrl.MouseDown(mbLeft, ssLeft, 20, 7); // row 0's name
    Ctrl.MouseUp(mbLeft, 0, 20, 7);
    EXPECT_EQ(Order(), "ABC") << "released on its own row: nothing moves";

    Ctrl.MouseDown(mbLeft, ssLeft, 20, 7);
    EXPECT_EQ(Ctrl.CurIndex(), 0);
    Ctrl.MouseMove(ssLeft, 20, 37);
    EXPECT_EQ(Ctrl.ItemIndex(), 2);
    EXPECT_EQ(Ctrl.Cursor(), crDrag);
    EXPECT_TRUE(Ctrl.DragMarked());
    EXPECT_EQ(Pixel(5, 5), ColorToRGB(clBtnFace)) << "the dragged row in its drag colour";
    Ctrl.MouseUp(mbLeft, 0, 20, 37);
    EXPECT_EQ(Order(), "BCA");
    EXPECT_EQ(Ctrl.CurIndex(), -1);
    EXPECT_EQ(Ctrl.Cursor(), crDefault);
    EXPECT_FALSE(Ctrl.PaintPending()) << "refreshed at once";
    EXPECT_EQ(Ctrl.GetCurrentLayer(), A);
}

TEST_F(LayerControlTest, DeleteKeyDeletesTheCurrentLayerOnly) {
    auto Delete = [&] {
        std::uint16_t Key = VK_DELETE;
        Ctrl.KeyDown(Key, 0);
    };
    Ctrl.SetItemIndex(-1);
    Delete();
    EXPECT_EQ(Order(), "ABC") << "no current row";
    Ctrl.SetItemIndex(1);
    Delete();
    EXPECT_EQ(Order(), "AC");
    EXPECT_EQ(Ctrl.Items().Count(), 2);
    Map.Layers().Clear(); // no link notification: rows stay, layers do not
    Ctrl.SetItemIndex(0);
    Delete();
    EXPECT_EQ(Map.Layers().Count(), 0);
}

// The right and middle buttons never drag: a press on another row's name
// and its release there leave the order as it was.
TEST_F(LayerControlTest, OnlyTheLeftButtonMovesALayer) {
    Ctrl.SetItemIndex(0);
    for (TMouseButton Button : {mbRight, mbMiddle}) {
        const TShiftState Held = Button == mbRight ? ssRight : ssMiddle;
        Ctrl.MouseDown(Button, Held, 20, 37); // row 2's name
        Ctrl.MouseMove(Held, 20, 22);
        Ctrl.MouseUp(Button, 0, 20, 22);
        EXPECT_EQ(Order(), "ABC") << Button;
        EXPECT_EQ(Ctrl.CurIndex(), -1);
    }
    // A right release in the middle of a left drag drops nothing either.
    Ctrl.MouseDown(mbLeft, ssLeft, 20, 7);
    Ctrl.MouseMove(ssLeft, 20, 37);
    Ctrl.MouseUp(mbRight, ssLeft, 20, 37);
    EXPECT_EQ(Order(), "ABC");
    Ctrl.MouseUp(mbLeft, 0, 20, 37);
    EXPECT_EQ(Order(), "BCA");
}

// The query before Delete may keep the layer; it is asked about the current
// row's layer, and what it does to the list cannot make another layer go.
TEST_F(LayerControlTest, TheQueryBeforeDeleteDecides) {
    std::vector<TMapLayer*> Asked;
    bool Allow = false;
    Ctrl.OnQueryDeleteLayer = [&](TObject* Sender, TMapLayer* Layer, bool& CanDelete) {
        EXPECT_EQ(Sender, &Ctrl);
        Asked.push_back(Layer);
        CanDelete = Allow;
    };
    std::uint16_t Key = VK_DELETE;
    Ctrl.SetItemIndex(1);
    Ctrl.KeyDown(Key, 0);
    EXPECT_EQ(Order(), "ABC");
    Allow = true;
    Ctrl.KeyDown(Key, 0);
    EXPECT_EQ(Order(), "AC");
    EXPECT_EQ(Asked, (std::vector<TMapLayer*>{B, B}));
    // A handler that deletes the layer itself: nothing more goes.
    Ctrl.OnQueryDeleteLayer = [&](TObject*, TMapLayer* Layer, bool&) {
        Map.Layers().Delete(Map.Layers().IndexOf(Layer));
    };
    Ctrl.SetItemIndex(0);
    Ctrl.KeyDown(Key, 0);
    EXPECT_EQ(Order(), "C");
}

TEST_F(LayerControlTest, FlatBoxesShowTheSelectableSwitchInactiveForAnEditableLayer) {
    Ctrl.SetGlyphs(false);
    A->SetEditable(true);
    Application()->ProcessMessages();
    const TRect R0 = Ctrl.GetSelectableRect(0), R1 = Ctrl.GetSelectableRect(1);
    // Inside each box, clear of its frame and its tick.
    EXPECT_EQ(Pixel(R0.Left + 2, R0.Top + 2), ColorToRGB(clBtnFace));
    EXPECT_EQ(Pixel(R1.Left + 2, R1.Top + 2), ColorToRGB(clWindow));
}

TEST_F(LayerControlTest, IndicatorsArePairsOfColourAndGreyWithMagentaTransparency) {
    for (int I = 0; I < 8; ++I) {
        const TBitmap* P = Ctrl.GetIndicators(I);
        ASSERT_EQ(P->Width(), 16);
        ASSERT_EQ(P->Height(), 13);
        EXPECT_TRUE(P->Transparent());
        EXPECT_EQ(P->TransparentColor(), clFuchsia) << I;
        int Drawn = 0, Coloured = 0;
        for (int Y = 0; Y < 13; ++Y)
            for (int X = 0; X < 16; ++X) {
                const TColor Px = P->Canvas()->Pixel(X, Y);
                if (Px == clFuchsia) continue;
                ++Drawn;
                Coloured += GetRValue(Px) != GetGValue(Px) || GetGValue(Px) != GetBValue(Px);
            }
        EXPECT_GT(Drawn, 12) << I;
        if (I % 2) {
            EXPECT_EQ(Coloured, 0) << "off picture " << I << " is grey";
        } else if (I != 4) { // the pointer is black and white
            EXPECT_GT(Coloured, 0) << I;
        }
    }
    EXPECT_THROW(Ctrl.GetIndicators(8), EListError);
}

} // namespace

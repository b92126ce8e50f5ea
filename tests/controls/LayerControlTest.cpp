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
    // The current row of a focused control comes out as a full paint has it,
    // its old focus rectangle wiped.
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

// Delete deletes the current row's layer when the query before it allows;
// what the query does to the list cannot make another layer go.
TEST_F(LayerControlTest, DeleteKeyDeletesTheCurrentLayerWhenTheQueryAllows) {
    std::uint16_t Key = VK_DELETE;
    Ctrl.SetItemIndex(-1);
    Ctrl.KeyDown(Key, 0);
    EXPECT_EQ(Order(), "ABC") << "no current row";
    std::vector<TMapLayer*> Asked;
    bool Allow = false;
    Ctrl.OnQueryDeleteLayer = [&](TObject* Sender, TMapLayer* Layer, bool& CanDelete) {
        EXPECT_EQ(Sender, &Ctrl);
        Asked.push_back(Layer);
        CanDelete = Allow;
    };
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
    Ctrl.OnQueryDeleteLayer = nullptr;
    Map.Layers().Clear(); // no link notification: rows stay, layers do not
    Ctrl.SetItemIndex(0);
    Ctrl.KeyDown(Key, 0);
    EXPECT_EQ(Map.Layers().Count(), 0);
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

// The eight switch pictures: 16 x 13 with magenta for transparent, each
// switch's "off" picture grey beside its coloured "on" one.
TEST_F(LayerControlTest, IndicatorsArePairsOfColourAndGreyWithMagentaTransparency) {
    for (int I = 0; I < 8; ++I) {
        const TBitmap* P = Ctrl.GetIndicators(I);
        EXPECT_EQ(std::tuple(P->Width(), P->Height(), P->Transparent(), P->TransparentColor()),
                  std::tuple(16, 13, true, clFuchsia))
            << I;
        int Drawn = 0, Coloured = 0;
        for (int Y = 0; Y < P->Height(); ++Y)
            for (int X = 0; X < P->Width(); ++X) {
                const TColor Px = P->Canvas()->Pixel(X, Y);
                Drawn += Px != clFuchsia;
                Coloured += Px != clFuchsia &&
                            (GetRValue(Px) != GetGValue(Px) || GetGValue(Px) != GetBValue(Px));
            }
        EXPECT_GT(Drawn, 12) << I;
        if (I % 2 || I == 4) // the pointer is black and white
            EXPECT_EQ(Coloured, 0) << I;
        else
            EXPECT_GT(Coloured, 0) << I;
    }
    EXPECT_THROW(Ctrl.GetIndicators(8), EListError);
}

} // namespace

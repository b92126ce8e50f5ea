#include "platform/ListBox.h"

#include <algorithm>

namespace Platform {

TCustomListBox::TCustomListBox(TComponent* Owner)
    : TCustomControl(Owner),
      FItems(std::make_unique<TListItems>(
          [this](TListItemsChange Change, int Index) { ItemsChanged(Change, Index); })),
      FFont(std::make_unique<TFont>()) {
    SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::SetItemIndex(int Value) {
    if (Value < 0 || Value >= FItems->Count()) Value = -1;
    if (Value == FItemIndex) return;
    FItemIndex = Value;
    if (Value >= 0) MakeVisible(Value);
    Invalidate();
}

void TCustomListBox::SetStyle(TListBoxStyle V) {
    if (V == FStyle) return;
    FStyle = V;
    Invalidate();
}

void TCustomListBox::SetItemHeight(int V) {
    if (V < 1 || V == FItemHeight) return;
    FItemHeight = V;
    Invalidate();
}

int TCustomListBox::MaxTopIndex() const {
    // As far as the last row at the bottom, as the system's list box scrolls.
    return std::max(0, FItems->Count() - VisibleItemCount());
}

void TCustomListBox::SetTopIndex(int V) {
    V = std::clamp(V, 0, MaxTopIndex());
    if (V == FTopIndex) return;
    FTopIndex = V;
    Invalidate();
}

int TCustomListBox::VisibleItemCount() const {
    return std::max(1, ClientHeight() / FItemHeight);
}

int TCustomListBox::ClientWidth() const {
    const bool Bar = FItems->Count() > std::max(1, Height() / FItemHeight);
    return std::max(0, Width() - (Bar ? ScrollBarSize : 0));
}

TScrollBarBox TCustomListBox::VertScrollBar() const {
    TScrollBarBox Bar;
    Bar.Kind = sbVertical;
    if (ClientWidth() < Width()) Bar.Bounds = Rect(ClientWidth(), 0, Width(), ClientHeight());
    Bar.Max = MaxTopIndex();
    Bar.Page = VisibleItemCount();
    Bar.Position = FTopIndex;
    return Bar;
}

TRect TCustomListBox::ItemRect(int Index) const {
    const int Top = (Index - FTopIndex) * FItemHeight;
    return Rect(0, Top, ClientWidth(), Top + FItemHeight);
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const {
    if (Pos.X < 0 || Pos.Y < 0 || Pos.X >= ClientWidth() || Pos.Y >= ClientHeight()) return -1;
    const int Index = FTopIndex + Pos.Y / FItemHeight;
    if (Index < FItems->Count()) return Index;
    return Existing ? -1 : FItems->Count();
}

void TCustomListBox::Refresh() {
    Invalidate();
    DeliverPaint();
}

void TCustomListBox::MakeVisible(int Index) {
    if (Index < FTopIndex)
        SetTopIndex(Index);
    else if (Index >= FTopIndex + VisibleItemCount())
        SetTopIndex(Index - VisibleItemCount() + 1);
}

TOwnerDrawState TCustomListBox::ItemState(int Index) const {
    TOwnerDrawState State = 0;
    if (Index == FItemIndex) {
        State |= odSelected;
        if (Focused()) State |= odFocused;
    }
    return State;
}

void TCustomListBox::PrepareItemCanvas(TOwnerDrawState State) {
    TCanvas* C = Canvas();
    C->SetFont(FFont.get());
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->Pen()->SetMode(pmCopy);
    if (State & odSelected) {
        C->Brush()->SetColor(clHighlight);
        C->Font()->SetColor(clHighlightText);
    }
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    TCanvas* C = Canvas();
    C->FillRect(Rect);
    if (FStyle != lbStandard) return;
    C->TextRect(Rect, Rect.Left + 2, Rect.Top, FItems->Get(Index));
    if (State & odFocused) C->DrawFocusRect(Rect);
}

void TCustomListBox::Paint() {
    TCanvas* C = Canvas();
    const int Last = std::min(FItems->Count(), FTopIndex + VisibleItemCount() + 1);
    int Bottom = 0;
    for (int I = FTopIndex; I < Last; ++I) {
        const TOwnerDrawState State = ItemState(I);
        PrepareItemCanvas(State);
        const TRect R = ItemRect(I);
        DrawItem(I, R, State);
        Bottom = R.Bottom;
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    if (Bottom < ClientHeight()) C->FillRect(Rect(0, Bottom, ClientWidth(), ClientHeight()));
    VertScrollBar().Paint(*C);
}

void TCustomListBox::Resize() {
    TCustomControl::Resize();
    FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
    Invalidate();
}

void TCustomListBox::DoEnter() {
    TCustomControl::DoEnter();
    Invalidate(); // the focus rectangle comes
}

void TCustomListBox::DoExit() {
    TCustomControl::DoExit();
    Invalidate();
}

void TCustomListBox::ItemsChanged(TListItemsChange Change, int Index) {
    FItemIndex = FollowItemChange(FItemIndex, Change, Index);
    if (FItemIndex >= 0 && FItemIndex >= FItems->Count()) FItemIndex = -1;
    FTopIndex = std::clamp(FTopIndex, 0, MaxTopIndex());
    Invalidate();
}

void TCustomListBox::TrackTo(int Y) {
    if (FItems->Count() == 0) return;
    // Above or below the window the list scrolls on by one row, as the
    // system's list box does while the button is held.
    int Index;
    if (Y < 0)
        Index = FTopIndex - 1;
    else if (Y >= ClientHeight())
        Index = FTopIndex + VisibleItemCount();
    else
        Index = FTopIndex + Y / FItemHeight;
    SetItemIndex(std::clamp(Index, 0, FItems->Count() - 1));
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    const TScrollBarBox Bar = VertScrollBar();
    if (Bar.Contains(Point(X, Y))) {
        // The bar is the window's frame: the control hears nothing of it.
        if (Button != mbLeft) return;
        switch (Bar.HitTest(Point(X, Y))) {
        case scLineUp:
            SetTopIndex(FTopIndex - 1);
            break;
        case scLineDown:
            SetTopIndex(FTopIndex + 1);
            break;
        case scPageUp:
            SetTopIndex(FTopIndex - Bar.Page);
            break;
        case scPageDown:
            SetTopIndex(FTopIndex + Bar.Page);
            break;
        case scTrack:
            FThumbDrag = true;
            FThumbStartY = Y;
            FThumbStartTop = FTopIndex;
            break;
        case scNone:
            break;
        }
        return;
    }
    if (Button == mbLeft) {
        if (CanFocus()) SetFocus();
        FTracking = true;
        const int Index = ItemAtPos(Point(X, Y), true);
        if (Index >= 0) SetItemIndex(Index);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListBox::MouseMove(TShiftState Shift, int X, int Y) {
    if (FThumbDrag) {
        SetTopIndex(VertScrollBar().TrackPosition(FThumbStartTop, Y - FThumbStartY));
        return;
    }
    if (FTracking && (Shift & ssLeft)) TrackTo(Y);
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FThumbDrag && Button == mbLeft) {
        FThumbDrag = false;
        return;
    }
    const bool Clicked = Button == mbLeft && FTracking;
    if (Button == mbLeft) FTracking = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Clicked) Click();
}

int ItemAfterKey(std::uint16_t Key, int Current, int Count, int Page) {
    int Index = Current;
    switch (Key) {
    case VK_UP:
        Index = Current < 0 ? 0 : Current - 1;
        break;
    case VK_DOWN:
        Index = Current + 1;
        break;
    case VK_PRIOR:
        Index = Current < 0 ? 0 : Current - Page;
        break;
    case VK_NEXT:
        Index = Current < 0 ? 0 : Current + Page;
        break;
    case VK_HOME:
        Index = 0;
        break;
    case VK_END:
        Index = Count - 1;
        break;
    default:
        return -1;
    }
    return std::clamp(Index, 0, Count - 1);
}

void TCustomListBox::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    const int Count = FItems->Count();
    if (Count == 0) return;
    const int Index = ItemAfterKey(Key, FItemIndex, Count, std::max(1, VisibleItemCount() - 1));
    if (Index < 0) return;
    if (Index == FItemIndex) return;
    SetItemIndex(Index);
    Click(); // a selection change by the keyboard is a click, as on Windows
}

void TCustomListBox::MouseWheel(TShiftState Shift, int Delta, int X, int Y) {
    TCustomControl::MouseWheel(Shift, Delta, X, Y);
    SetTopIndex(FTopIndex - Delta / 120 * 3);
}

} // namespace Platform

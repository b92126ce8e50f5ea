#include "platform/ComboBox.h"

#include "platform/FrameControls.h"

#include <algorithm>

namespace Platform {

// The drop-down list: a release of the left button on one of its rows
// chooses that row.
class TCustomComboBox::TDropList : public TCustomListBox {
public:
    explicit TDropList(TCustomComboBox* Combo) : TCustomListBox(nullptr), FCombo(Combo) {}
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        TCustomListBox::MouseUp(Button, Shift, X, Y);
        if (Button == mbLeft && ItemAtPos(Point(X, Y), true) >= 0) FCombo->CloseUp(true);
    }

private:
    TCustomComboBox* FCombo;
};

TCustomComboBox::TCustomComboBox(TComponent* Owner)
    : TCustomControl(Owner),
      FItems(std::make_unique<TListItems>(
          [this](TListItemsChange Change, int Index) { ItemsChanged(Change, Index); })),
      FFont(std::make_unique<TFont>()) {}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::SetItemIndex(int Value) {
    if (Value < 0 || Value >= FItems->Count()) Value = -1;
    const std::string Text = Value >= 0 ? FItems->Get(Value) : std::string();
    if (Value == FItemIndex && Text == FText) return;
    FItemIndex = Value;
    // An edit field keeps its text when nothing is chosen, as on Windows.
    if (Value >= 0 || FStyle == csDropDownList) FText = Text;
    Invalidate();
}

void TCustomComboBox::SetStyle(TComboBoxStyle V) {
    if (V == FStyle) return;
    FStyle = V;
    if (FStyle == csDropDownList) FText = FItemIndex >= 0 ? FItems->Get(FItemIndex) : "";
    Invalidate();
}

void TCustomComboBox::SetText(const std::string& V) {
    const int Index = FItems->IndexOf(V);
    if (FStyle == csDropDownList) {
        SetItemIndex(Index);
        return;
    }
    FText = V;
    FItemIndex = Index;
    Invalidate();
}

void TCustomComboBox::SetItemHeight(int V) {
    if (V < 1 || V == FItemHeight) return;
    FItemHeight = V;
    Invalidate();
}

void TCustomComboBox::SetDroppedDown(bool V) {
    if (V == FDroppedDown) return;
    if (!V) {
        CloseUp(false);
        return;
    }
    if (!FList) FList = std::make_unique<TDropList>(this);
    FList->Items().Assign(FItems.get());
    FList->Font()->Assign(*FFont);
    FList->SetItemHeight(FItemHeight);
    const int Rows = std::clamp(FItems->Count(), 1, FDropDownCount);
    FList->SetBounds(Left(), Top() + Height(), Width(), Rows * FItemHeight);
    FList->SetItemIndex(FItemIndex);
    FDroppedDown = true;
    Invalidate();
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp(bool Accept) {
    if (!FDroppedDown) return;
    FDroppedDown = false;
    // A click in the list may have given it the focus: the combo box has it.
    if (FList->Focused()) SetFocus();
    const int Index = FList->ItemIndex();
    Invalidate();
    if (OnCloseUp) OnCloseUp(this);
    if (Accept && Index >= 0) Choose(Index);
}

void TCustomComboBox::Choose(int Index) {
    const int Old = FItemIndex;
    const std::string OldText = FText;
    SetItemIndex(Index);
    if (OnSelect) OnSelect(this);
    if (FItemIndex != Old || FText != OldText) Change();
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

TRect TCustomComboBox::ButtonRect() const {
    const int W = std::min(ClientWidth(), 17);
    return Rect(ClientWidth() - W, 0, ClientWidth(), ClientHeight());
}

void TCustomComboBox::Paint() {
    TCanvas* C = Canvas();
    const TRect Client = ClientRect();
    C->Brush()->SetColor(Color());
    C->FillRect(Client);
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(Client);
    const bool Button = FStyle != csSimple;
    TRect Field = Rect(2, 2, (Button ? ButtonRect().Left : Client.Right) - 1, Client.Bottom - 2);
    C->SetFont(FFont.get());
    // A focused drop-down list shows its text highlighted, as the system's does.
    const bool Highlight = FStyle == csDropDownList && Focused() && !FDroppedDown;
    C->Brush()->SetColor(Highlight ? clHighlight : Color());
    if (Highlight) C->Font()->SetColor(clHighlightText);
    const int Y = Field.Top + std::max(0, (Field.Height() - C->TextHeight("Wg")) / 2);
    C->TextRect(Field, Field.Left + 1, Y, FText);
    if (Highlight) C->DrawFocusRect(Field);
    if (Button)
        DrawFrameControl(*C, ButtonRect(), DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (FDroppedDown ? DFCS_PUSHED : 0));
}

void TCustomComboBox::Resize() {
    TCustomControl::Resize();
    Invalidate();
}

void TCustomComboBox::DoEnter() {
    TCustomControl::DoEnter();
    Invalidate();
}

void TCustomComboBox::DoExit() {
    // The focus going to the open list is still the combo box's.
    if (!FList || Application()->FocusedControl() != FList.get()) CloseUp(false);
    TCustomControl::DoExit();
    Invalidate();
}

void TCustomComboBox::ItemsChanged(TListItemsChange Change, int Index) {
    const int Was = FItemIndex;
    FItemIndex = FollowItemChange(FItemIndex, Change, Index);
    // A drop-down list's text is its chosen item's.
    if (FStyle == csDropDownList) {
        if (Change == licCleared || (Change == licDeleted && Was == Index))
            FText.clear();
        else if (Change == licChanged && FItemIndex >= 0)
            FText = FItems->Get(FItemIndex);
    }
    // An open list shows the items as they were when it opened: close it.
    CloseUp(false);
    Invalidate();
}

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (CanFocus()) SetFocus();
        // A drop-down list opens from anywhere on it, the others from the button.
        const TRect B = ButtonRect();
        const bool OnButton = X >= B.Left && X < B.Right && Y >= B.Top && Y < B.Bottom;
        if (FStyle != csSimple && (FStyle == csDropDownList || OnButton))
            SetDroppedDown(!FDroppedDown);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomComboBox::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    if ((Key == VK_DOWN && (Shift & ssAlt)) || Key == 0x73 /* F4 */) {
        if (FStyle != csSimple) SetDroppedDown(!FDroppedDown);
        Key = 0;
        return;
    }
    if (FDroppedDown) {
        if (Key == VK_RETURN)
            CloseUp(true);
        else if (Key == VK_ESCAPE)
            CloseUp(false);
        else
            FList->KeyDown(Key, Shift & ~ssAlt);
        return;
    }
    const int Count = FItems->Count();
    if (Count == 0) return;
    // Left and Right move like Up and Down, except in an edit field, which
    // keeps them for its caret.
    const std::uint16_t Move = Key == VK_LEFT ? VK_UP : Key == VK_RIGHT ? VK_DOWN : Key;
    if (Move != Key && FStyle != csDropDownList) return;
    const int Index = ItemAfterKey(Move, FItemIndex, Count, FDropDownCount - 1);
    if (Index >= 0 && Index != FItemIndex) Choose(Index);
}

void TCustomComboBox::KeyPress(char& Key) {
    TCustomControl::KeyPress(Key);
    const unsigned char Ch = static_cast<unsigned char>(Key);
    if (Ch == 0) return;
    if (FStyle == csDropDownList) {
        // A letter chooses the next item that starts with it.
        if (Ch < 32) return;
        const int Count = FItems->Count();
        for (int Step = 1; Step <= Count; ++Step) {
            const int I = ((FItemIndex < 0 ? -1 : FItemIndex) + Step) % Count;
            const std::string& S = FItems->Get(I);
            if (!S.empty() && SameText(S.substr(0, 1), std::string(1, Key))) {
                if (FDroppedDown)
                    FList->SetItemIndex(I);
                else if (I != FItemIndex)
                    Choose(I);
                return;
            }
        }
        return;
    }
    // The edit field: typing appends, Backspace takes the last character.
    if (Ch == 8) {
        if (FText.empty()) return;
        FText.pop_back();
    } else if (Ch >= 32) {
        FText += Key;
    } else {
        return;
    }
    FItemIndex = FItems->IndexOf(FText);
    Invalidate();
    Change();
}

} // namespace Platform

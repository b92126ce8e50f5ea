#include "tools/TextTool.h"

#include "core/MapObjects.h"
#include "objects/Text.h"
#include "platform/Caret.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <memory>

namespace Mapobjects {

using namespace Platform;

TTextTool::TTextTool(TComponent* Owner) : TCustomMapTool(Owner) {
    SetDisplayName("Text Tool");
    SetCursor(crIBeam);
}

bool TTextTool::GetEnabled() const {
    return TCustomMapTool::GetEnabled() && Chartix()->Layers().GetEditableLayer() != nullptr;
}

void TTextTool::Init(int X, int Y) {
    TChartix* Map = Chartix();
    if (!Map) return;
    TCanvas* C = Map->Canvas();
    C->SetFont(Map->Options().DefaultTextFont());
    FEditing = true;
    FEditText.clear();
    FCurrentChar = 0;
    // The saved pixels belong to the text drawn at the old origin: a text
    // that could not be completed stays there until the next repaint, and
    // its background must not be pasted at the new one.
    FBackground.SetSize(0, 0);
    // A capital and a descender: the caret spans the whole line.
    const int H = C->TextHeight("Wq");
    FTextOrigin = TPoint{X, Y};
    CreateCaret(Map, 0, H);
    SetCaretPos(X, Y);
    if (!ShowCaret(Map)) {
        const std::uint32_t Code = GetLastError();
        TWinControl* Focus = GetFocus();
        C->TextOut(X, Y,
                   Format("err: %d msg: %s handle: %d focused: %d", static_cast<int>(Code),
                          SysErrorMessage(Code).c_str(), static_cast<int>(Map->Handle()),
                          static_cast<int>(Focus ? Focus->Handle() : 0)));
    }
    Draw();
    SetCurrentChar(static_cast<int>(FEditText.size()));
}

void TTextTool::Draw() {
    TChartix* Map = Chartix();
    if (!Map) return;
    TCanvas* C = Map->Canvas();
    C->SetFont(Map->Options().DefaultTextFont());
    if (!FBackground.Empty()) C->Draw(FTextOrigin.X, FTextOrigin.Y, &FBackground);
    const int W = C->TextWidth(FEditText), H = C->TextHeight(FEditText);
    FBackground.SetSize(W, H);
    FBackground.Canvas()->CopyRect(
        TRect{0, 0, W, H}, C,
        TRect{FTextOrigin.X, FTextOrigin.Y, FTextOrigin.X + W, FTextOrigin.Y + H});
    C->Brush()->SetStyle(bsClear);
    C->TextOut(FTextOrigin.X, FTextOrigin.Y, FEditText);
}

void TTextTool::SetCurrentChar(int Value) {
    TChartix* Map = Chartix();
    if (!Map) return;
    FCurrentChar = std::max(std::min(static_cast<int>(FEditText.size()), Value), 0);
    HideCaret(Map);
    TCanvas* C = Map->Canvas();
    SetCaretPos(FTextOrigin.X + C->TextWidth(FEditText.substr(0, FCurrentChar)), FTextOrigin.Y);
    ShowCaret(Map);
}

void TTextTool::DeleteCurrentChar(bool Backward) {
    TChartix* Map = Chartix();
    if (!Map) return;
    HideCaret(Map);
    if (Backward && FCurrentChar > 0) {
        FEditText.erase(static_cast<size_t>(FCurrentChar - 1), 1);
        SetCurrentChar(FCurrentChar - 1);
    } else if (!Backward && static_cast<int>(FEditText.size()) > FCurrentChar) {
        FEditText.erase(static_cast<size_t>(FCurrentChar), 1);
    }
    Draw();
    SetCurrentChar(FCurrentChar);
    ShowCaret(Map);
}

void TTextTool::DblClick() {
    TCustomMapTool::DblClick();
}

void TTextTool::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    TCustomMapTool::KeyDown(Key, Shift);
    switch (Key) {
    case VK_BACK:
        DeleteCurrentChar(true);
        break;
    case VK_RETURN:
    case VK_ESCAPE:
        Complete();
        break;
    case VK_END:
        SetCurrentChar(static_cast<int>(FEditText.size()));
        break;
    case VK_HOME:
        SetCurrentChar(0);
        break;
    case VK_LEFT:
        SetCurrentChar(FCurrentChar - 1);
        break;
    case VK_RIGHT:
        SetCurrentChar(FCurrentChar + 1);
        break;
    case VK_DELETE:
        DeleteCurrentChar(false);
        break;
    default:
        break;
    }
}

void TTextTool::KeyUp(std::uint16_t& Key, TShiftState Shift) {
    TCustomMapTool::KeyUp(Key, Shift);
}

void TTextTool::KeyPress(char& Key) {
    TCustomMapTool::KeyPress(Key);
    TChartix* Map = Chartix();
    if (!Map || Key == 13 || Key == 8 || Key == 10 || Key == 27 || Key == 127) return;
    HideCaret(Map);
    std::string Text = FEditText;
    Text.insert(static_cast<size_t>(FCurrentChar), 1, Key);
    Draw();
    FEditText = Text;
    Draw();
    SetCurrentChar(FCurrentChar + 1);
    ShowCaret(Map);
}

void TTextTool::MouseDown(TMouseButton Button, TShiftState, int X, int Y) {
    if (Button != mbLeft) return;
    if (FEditing) Complete();
    Init(X, Y);
}

bool TTextTool::Complete() {
    TChartix* Map = Chartix();
    if (!Map) return false;
    TMapLayer* Layer = Map->Layers().GetEditableLayer();
    if (!Layer) return false;
    double MX, MY;
    Map->ScreenToMap(FTextOrigin.X, FTextOrigin.Y, MX, MY);
    auto Owned = std::make_unique<TText>();
    TText* Text = Owned.get();
    Text->SetX(MX);
    Text->SetY(MY);
    Layer->AddObject(std::move(Owned), true);
    Text->Font()->Assign(Map->Options().DefaultTextFont());
    Text->SetText(FEditText);
    Text->AutoSizeText();
    Done();
    return true;
}

void TTextTool::Done() {
    TChartix* Map = Chartix();
    if (!Map) return;
    FEditing = false;
    FEditText.clear();
    FCurrentChar = 0; // the caret stays within the (now empty) text
    FBackground.SetSize(0, 0);
    HideCaret(Map);
}

void TTextTool::Cancel() {
    if (FEditing) Done();
}

} // namespace Mapobjects

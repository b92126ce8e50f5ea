#include "controls/LayerCtrl.h"

#include "controls/Indicators.h"
#include "core/MapObjects.h"
#include "platform/FrameControls.h"

namespace Mapobjects {

using namespace Platform;

namespace {
bool PtInRect(const TRect& R, int X, int Y) {
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}
} // namespace

// --- data link ---------------------------------------------------------------------

void TLayerControlDataLink::MapEvent(TMapDataLinkEvent Event, TObject* Sender, int Info) {
    TMapDataLink::MapEvent(Event, Sender, Info);
    TLayerControl* C = FLayerControl;
    if (!C || !Map()) return;
    switch (Event) {
    case mdlAfterAddLayer:
        C->Items().Add("");
        C->Refresh();
        break;
    case mdlDelLayer:
        FDeletedRow = Map()->Layers().IndexOf(static_cast<TMapLayer*>(Sender));
        break;
    case mdlAfterDelLayer: {
        // The rows are alike, but taking out the deleted layer's own row
        // keeps the current row on the layer it showed.
        const int Count = C->Items().Count();
        if (Count > 0) C->Items().Delete(FDeletedRow >= 0 && FDeletedRow < Count ? FDeletedRow : 0);
        FDeletedRow = -1;
        C->Refresh();
        break;
    }
    case mdlMoveLayer:
    case mdlExchangeLayer:
        C->Refresh();
        break;
    case mdlLayerVisibleChanged:
    case mdlLayerSelectableChanged:
    case mdlLayerEditableChanged:
    case mdlLayerAutolabelChanged: {
        const int Row = Map()->Layers().IndexOf(dynamic_cast<TMapLayer*>(Sender));
        if (Row >= 0)
            C->RedrawRow(Row, Row == C->ItemIndex() ? static_cast<TOwnerDrawState>(odSelected) : 0);
        break;
    }
    default:
        break;
    }
}

// --- control -----------------------------------------------------------------------

TLayerControl::TLayerControl(TComponent* Owner)
    : TCustomListBox(Owner), FDataLink(std::make_unique<TLayerControlDataLink>()) {
    SetStyle(lbOwnerDrawFixed);
    SetItemHeight(15);
    FDataLink->SetLayerControl(this);
    for (int I = 0; I < IndicatorCount; ++I)
        FIndicators[static_cast<size_t>(I)] = MakeIndicator(I);
}

TLayerControl::~TLayerControl() {
    FDataLink->SetLayerControl(nullptr);
    FDataLink->SetMap(nullptr);
}

void TLayerControl::SetMap(TChartix* Value) {
    if (!Value) return;
    FDataLink->SetMap(Value);
}

void TLayerControl::AddRowsForExistingLayers() {
    if (!Map()) return;
    while (Items().Count() < Map()->Layers().Count())
        Items().Add("");
    Refresh();
}

TMapLayer* TLayerControl::LayerAt(int Row) const {
    TChartix* M = Map();
    if (!M || Row < 0 || Row >= M->Layers().Count()) return nullptr;
    return M->Layers()[Row];
}

TMapLayer* TLayerControl::GetCurrentLayer() const {
    return LayerAt(ItemIndex());
}

void TLayerControl::SetGlyphs(bool V) {
    if (V == FGlyphs) return;
    FGlyphs = V;
    Invalidate();
}

void TLayerControl::SetDrawVertLines(bool V) {
    if (V == FDrawVertLines) return;
    FDrawVertLines = V;
    Invalidate();
}

void TLayerControl::SetDrawHorzLines(bool V) {
    if (V == FDrawHorzLines) return;
    FDrawHorzLines = V;
    Invalidate();
}

TBitmap* TLayerControl::GetIndicators(int Index) const {
    if (Index < 0 || Index >= IndicatorCount) ListIndexError(Index);
    return FIndicators[static_cast<size_t>(Index)].get();
}

// The four switches stand 18 pixels apart, the auto-label one 2 pixels from
// the right edge.
TRect TLayerControl::SwitchRect(int Index, int Switch) const {
    const TRect R = ItemRect(Index);
    const int Right = R.Right - 2 - 18 * (3 - Switch);
    return Rect(Right - 14, R.Top + 1, Right, R.Bottom - 1);
}

TRect TLayerControl::GetVisibleRect(int Index) const {
    return SwitchRect(Index, 0);
}

TRect TLayerControl::GetSelectableRect(int Index) const {
    return SwitchRect(Index, 1);
}

TRect TLayerControl::GetEditableRect(int Index) const {
    return SwitchRect(Index, 2);
}

TRect TLayerControl::GetAutolabelRect(int Index) const {
    return SwitchRect(Index, 3);
}

TRect TLayerControl::GetNameRect(int Index) const {
    const TRect R = ItemRect(Index);
    return Rect(R.Left + 4, R.Top, R.Right - 72, R.Bottom);
}

TRect TLayerControl::GetIndicatorRect(int Index) const {
    const TRect R = ItemRect(Index);
    return Rect(R.Right - 68, R.Top, R.Right, R.Bottom);
}

TOwnerDrawState TLayerControl::ItemState(int Index) const {
    // A repaint during a drag keeps the dragged row in its drag colour.
    TOwnerDrawState State = TCustomListBox::ItemState(Index);
    if (FDragMarked && Index == FCurIndex) State |= odChecked;
    return State;
}

void TLayerControl::RedrawRow(int Index, TOwnerDrawState State) {
    // As the paint draws it: on the background, the focus rectangle included,
    // so that no half of an old focus rectangle stays behind.
    if (Index == ItemIndex() && Focused()) State |= odFocused;
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ItemRect(Index));
    PrepareItemCanvas(State);
    DrawItem(Index, ItemRect(Index), State);
    Canvas()->Flush();
    if (Host()) Host()->Present();
}

void TLayerControl::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    TMapLayer* Layer = LayerAt(Index);
    if (!Layer) return;
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    // 1. The switch area never takes the selection colour.
    {
        const TColor Brush = C->Brush()->Color();
        C->Brush()->SetColor(Color());
        C->FillRect(GetIndicatorRect(Index));
        C->Brush()->SetColor(Brush);
    }
    // 2. Row colours.
    if (State & odSelected) {
        C->Brush()->SetColor(clHighlight);
        C->Font()->SetColor(clHighlightText);
    } else {
        C->Brush()->SetColor(Color());
        C->Font()->SetColor(Font()->Color());
    }
    if (State & odChecked) C->Brush()->SetColor(clBtnFace);
    // 3. The switches.
    const bool Visible = Layer->Visible(), Selectable = Layer->GetSelectable(),
               Editable = Layer->Editable(), AutoLabel = Layer->AutoLabel();
    const TRect VisibleR = GetVisibleRect(Index), SelectableR = GetSelectableRect(Index),
                EditableR = GetEditableRect(Index), AutolabelR = GetAutolabelRect(Index);
    if (FGlyphs) {
        C->Draw(VisibleR.Left, VisibleR.Top, GetIndicators(1 - Visible));
        C->Draw(SelectableR.Left, SelectableR.Top, GetIndicators(5 - Selectable));
        C->Draw(EditableR.Left, EditableR.Top, GetIndicators(3 - Editable));
        C->Draw(AutolabelR.Left, AutolabelR.Top, GetIndicators(7 - AutoLabel));
    } else {
        auto Flag = [](bool On, unsigned Bit) { return On ? Bit : 0u; };
        DrawFrameControl(*C, VisibleR, DFC_BUTTON,
                         DFCS_BUTTONCHECK | DFCS_FLAT | Flag(Visible, DFCS_CHECKED));
        DrawFrameControl(*C, SelectableR, DFC_BUTTON,
                         DFCS_BUTTONCHECK | DFCS_FLAT | Flag(Selectable, DFCS_CHECKED) |
                             Flag(Editable || !Visible, DFCS_INACTIVE));
        DrawFrameControl(*C, EditableR, DFC_BUTTON,
                         DFCS_BUTTONRADIO | DFCS_FLAT | Flag(Editable && Visible, DFCS_CHECKED) |
                             Flag(!Visible, DFCS_INACTIVE));
        DrawFrameControl(*C, AutolabelR, DFC_BUTTON,
                         DFCS_BUTTONCHECK | DFCS_FLAT | Flag(AutoLabel, DFCS_CHECKED));
    }
    // 4. The name.
    const TRect NameR = GetNameRect(Index);
    C->TextRect(NameR, NameR.Left + 1, NameR.Top + 1, Layer->Name());
    // 5, 6. Dotted lines in the pen colour.
    const TColor Pen = C->Pen()->Color();
    if (FDrawHorzLines)
        for (int X = Rect.Left; X <= Rect.Right; ++X)
            if (X & 1) C->SetPixel(X, Rect.Bottom - 1, Pen);
    if (FDrawVertLines)
        for (int X : {VisibleR.Left, SelectableR.Left, EditableR.Left, AutolabelR.Left})
            for (int Y = Rect.Top; Y <= Rect.Bottom; ++Y)
                if (Y & 1) C->SetPixel(X, Y, Pen);
    // 7. The focus rectangle.
    if (State & odFocused) C->DrawFocusRect(Rect);
}

void TLayerControl::Resize() {
    TCustomListBox::Resize();
    Invalidate();
}

// --- input -------------------------------------------------------------------------

void TLayerControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomListBox::MouseDown(Button, Shift, X, Y);
    TChartix* M = Map();
    if (!M || M->Layers().Count() == 0) return;
    const int Row = ItemAtPos(Point(X, Y), true);
    TMapLayer* Layer = LayerAt(Row);
    if (!Layer) return;
    FDragMarked = false;
    if (PtInRect(GetVisibleRect(Row), X, Y))
        Layer->SetVisible(!Layer->Visible());
    else if (PtInRect(GetSelectableRect(Row), X, Y))
        Layer->SetSelectable(!Layer->GetSelectable());
    else if (PtInRect(GetEditableRect(Row), X, Y))
        Layer->SetEditable(!Layer->Editable());
    else if (PtInRect(GetAutolabelRect(Row), X, Y))
        Layer->SetAutoLabel(!Layer->AutoLabel());
    else if (Button == mbLeft && PtInRect(GetNameRect(Row), X, Y))
        FCurIndex = Row; // the other buttons do not move the current row: no drag
}

void TLayerControl::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomListBox::MouseMove(Shift, X, Y);
    TChartix* M = Map();
    if (!M || M->Layers().Count() == 0) return;
    if ((Shift & ssLeft) && FCurIndex != -1 && ItemIndex() != FCurIndex) {
        SetCursor(crDrag);
        if (!FDragMarked) {
            FDragMarked = true;
            RedrawRow(FCurIndex, odChecked);
        }
    } else {
        if (FDragMarked) Invalidate(); // the row loses its drag colour
        FDragMarked = false;
        SetCursor(crDefault);
    }
}

void TLayerControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomListBox::MouseUp(Button, Shift, X, Y);
    // Only the left button's release drops the row it dragged.
    if (Button != mbLeft) return;
    SetCursor(crDefault);
    TChartix* M = Map();
    const bool WasMarked = FDragMarked;
    FDragMarked = false;
    if (FCurIndex != -1 && M && M->Layers().Count() > 0) {
        const int Count = M->Layers().Count();
        // Rows without a layer (the map's list changed under the drag) move nothing.
        if (FCurIndex != ItemIndex() && FCurIndex < Count && ItemIndex() >= 0 &&
            ItemIndex() < Count) {
            M->Layers().Move(FCurIndex, ItemIndex());
            Refresh();
        } else if (WasMarked) {
            Invalidate();
        }
    }
    FCurIndex = -1;
}

void TLayerControl::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    TCustomListBox::KeyDown(Key, Shift);
    TChartix* M = Map();
    // Without a current row there is nothing to delete.
    if (!M || Key != VK_DELETE || M->Layers().Count() == 0 || ItemIndex() < 0 ||
        ItemIndex() >= M->Layers().Count())
        return;
    TMapLayer* Layer = M->Layers()[ItemIndex()];
    bool CanDelete = true;
    if (OnQueryDeleteLayer) OnQueryDeleteLayer(this, Layer, CanDelete);
    // The handler may have changed the list: only the layer it was asked about goes.
    const int Row = M->Layers().IndexOf(Layer);
    if (CanDelete && Row >= 0) M->Layers().Delete(Row);
}

} // namespace Mapobjects

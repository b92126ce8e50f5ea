#include "controls/DataBrowser.h"

#include "core/MapObjects.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace Mapobjects {

using namespace Platform;

namespace {

bool IsNumeric(TDataType T) {
    return T == dtFloat || T == dtDecimal || T == dtInteger || T == dtSmallInt;
}

// A date, or a date and a time after a blank, as the fields print them.
TDateTime StrToDateTime(const std::string& Text) {
    const std::string S = Trim(Text);
    const size_t Blank = S.find(' ');
    if (Blank == std::string::npos) return StrToDate(S);
    const TDateTime Day = StrToDate(S.substr(0, Blank));
    const TDateTime Time = StrToTime(Trim(S.substr(Blank + 1)));
    return Day < 0 ? Day - Time : Day + Time;
}

// Stores Text in the field by its type; raises what the conversions raise.
// A cell emptied in a column of numbers, dates or logicals holds no value.
void StoreText(TDataField& Field, const std::string& Text) {
    if (Field.DataType() != dtString && Trim(Text).empty()) {
        Field.SetNull();
        return;
    }
    switch (Field.DataType()) {
    case dtString:
        Field.SetAsString(Text);
        break;
    case dtFloat:
    case dtDecimal:
        Field.SetAsFloat(StrToFloat(Trim(Text)));
        break;
    case dtInteger:
        Field.SetAsInteger(StrToInt(Trim(Text)));
        break;
    case dtSmallInt: {
        // A small integer column holds 16 bits: anything wider is refused.
        const int V = StrToInt(Trim(Text));
        if (V < -32768 || V > 32767) throw ERangeError("Range check error");
        Field.SetAsInteger(V);
        break;
    }
    case dtDateTime:
        Field.SetAsDateTime(StrToDateTime(Text));
        break;
    case dtDate:
        Field.SetAsDate(StrToDate(Trim(Text)));
        break;
    case dtTime:
        Field.SetAsTime(StrToTime(Trim(Text)));
        break;
    case dtBoolean:
        break;
    case dtLargeInt: {
        const std::string T = Trim(Text);
        std::int64_t V = 0;
        const auto [End, Ec] = std::from_chars(T.data(), T.data() + T.size(), V);
        if (Ec != std::errc() || End != T.data() + T.size())
            throw EConvertError(Format("'%s' is not a valid integer value", T));
        Field.SetValue(Platform::TVariant(V));
        break;
    }
    }
}

// Touching edges count as inside.
bool Inside(const TBounds& B, const TBounds& View) {
    return B.MinX >= View.MinX && B.MaxX <= View.MaxX && B.MinY >= View.MinY && B.MaxY <= View.MaxY;
}

} // namespace

// --- data link ---------------------------------------------------------------------

void TDataBrowserDataLink::MapEvent(TMapDataLinkEvent Event, TObject* Sender, int Info) {
    TMapDataLink::MapEvent(Event, Sender, Info);
    TDataBrowser* B = FDataBrowser;
    if (!B) return;
    TMapLayer* Shown = B->Layer();
    // Only the shown layer's changes concern the grid: its rows stay equal
    // to that layer's objects, whatever other layers of the map do.
    switch (Event) {
    case mdlDelLayer:
        if (Shown && Sender == Shown) {
            B->SetOptions(B->Options() & ~goEditing);
            B->HideEditor();
            B->SetLayer(nullptr);
        }
        break;
    case mdlLayerEditableChanged:
        if (Shown && Sender == Shown) B->FollowEditable(Shown->Editable());
        break;
    case mdlAddObject:
        if (Shown && Sender == Shown) {
            B->CountRows(nullptr);
            B->Invalidate();
        }
        break;
    case mdlRemoveObject:
        if (Shown) {
            auto* Object = dynamic_cast<TCustomMapObject*>(Sender);
            const bool Ours = Object && Object->Layer() == Shown;
            // An edit goes to its object while the rows are still in place.
            if (Ours || (Object && !Object->Layer())) B->HideEditor();
            // An object taken out with others has left its layer already;
            // the count is then right as it is.
            B->CountRows(Ours ? Object : nullptr);
            B->Invalidate();
        }
        break;
    case mdlAddSelection:
    case mdlDelSelection:
        // The row header shows the selection in bold.
        if (auto* Object = dynamic_cast<TCustomMapObject*>(Sender);
            Shown && Object && Object->Layer() == Shown) {
            B->Invalidate();
            // A click's pick, not every object of a bigger selection.
            if (Event == mdlAddSelection && B->FollowSelection() && Object->Map() &&
                Object->Map()->Selection().Count() == 1)
                B->ShowObjectRow(Object);
        }
        break;
    default:
        break;
    }
}

// --- grid --------------------------------------------------------------------------

TDataBrowser::TDataBrowser(TComponent* Owner)
    : TCustomGrid(Owner), FDataLink(std::make_unique<TDataBrowserDataLink>()) {
    FDataLink->SetDataBrowser(this);
    SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing |
               goRowSelect);
    SetDefaultRowHeight(16);
    SetDefaultColWidth(100);
    SetColCount(2);
    SetRowCount(2);
    SetFixedCols(1);
    SetFixedRows(1);
}

TDataBrowser::~TDataBrowser() {
    FDataLink->SetDataBrowser(nullptr);
    FDataLink->SetMap(nullptr);
}

TMapLayer* TDataBrowser::Layer() const {
    if (!FLayer || !FLayerOnMap) return FLayer;
    TChartix* M = FDataLink->Map();
    return M && M->Layers().IndexOf(FLayer) >= 0 ? FLayer : nullptr;
}

void TDataBrowser::SetAlwaysShowEditor(bool V) {
    SetOptions(V ? Options() | goAlwaysShowEditor : Options() & ~goAlwaysShowEditor);
}

void TDataBrowser::FitHeaderColumn() {
    Canvas()->SetFont(Font());
    SetColWidths(0, Canvas()->TextWidth(Format(" %d ", FLayer->ObjectCount())));
}

void TDataBrowser::SetLayer(TMapLayer* Value) {
    if (Value == FLayer && Value == Layer()) return;
    HideEditor();
    if (Value && Value->Fields().Count() > 0) {
        SetTopRow(1);
        SetLeftCol(1);
        SetCol(1);
        SetRow(1);
        FLayer = Value;
        FLayerOnMap = Value->Map() != nullptr;
        FDataLink->SetMap(Value->Map());
        CountRows(nullptr);
        FitHeaderColumn();
        FollowEditable(Value->Editable());
    } else {
        FDataLink->SetMap(nullptr);
        SetColCount(2);
        SetRowCount(2);
        FLayer = Value;
        FLayerOnMap = false;
        Invalidate();
    }
}

void TDataBrowser::CountRows(const TCustomMapObject* Leaving) {
    TMapLayer* L = Layer();
    if (!L || L->Fields().Count() == 0) return;
    const int Objects = L->ObjectCount() - (Leaving ? 1 : 0);
    // A layer without objects shows an empty 2 x 2 grid; objects bring the
    // field columns back.
    if (Objects <= 0) {
        SetRowCount(2);
        SetColCount(2);
    } else {
        SetColCount(L->Fields().Count() + 1);
        SetRowCount(Objects + 1);
    }
}

void TDataBrowser::FollowEditable(bool Editable) {
    if (Editable) {
        SetOptions((Options() & ~goRowSelect) | goEditing);
        SetCol(1);
        SetRow(Row());
        Invalidate();
        ShowEditor();
    } else {
        SetOptions((Options() & ~goEditing) | goRowSelect);
        HideEditor();
    }
}

TDataField* TDataBrowser::CellField(int ACol, int ARow) const {
    TMapLayer* L = Layer();
    if (!L || ACol < 1 || ARow < 1 || ARow - 1 >= L->ObjectCount() ||
        ACol - 1 >= L->Fields().Count())
        return nullptr;
    TDataFields& Row = L->Objects(ARow - 1)->Fields();
    return ACol - 1 < Row.Count() ? Row.GetFields(ACol - 1) : nullptr;
}

void TDataBrowser::DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State) {
    TCanvas* C = Canvas();
    TMapLayer* L = Layer();
    if (!L || L->Fields().Count() == 0 || L->ObjectCount() == 0) {
        C->FillRect(Rect);
        return;
    }
    if (ACol == 0 && ARow == 0) {
        C->FillRect(Rect);
    } else if (ACol == 0) {
        const bool Selected = ARow - 1 < L->ObjectCount() && L->Objects(ARow - 1)->GetSelected();
        TFontStyles Style = C->Font()->Style();
        C->Font()->SetStyle(Selected ? Style | fsBold : Style & ~fsBold);
        C->TextRect(Rect, Rect.Left + 1, Rect.Top + 1, IntToStr(ARow));
    } else if (ARow == 0) {
        const std::string Name =
            ACol - 1 < L->Fields().Count() ? L->Fields().GetFields(ACol - 1)->Name() : "";
        C->TextRect(Rect, Rect.Left + 1, Rect.Top + 1, Name);
    } else {
        std::string Text;
        bool Right = false;
        // Read from the row as it is stored: drawing must not turn a compact
        // row into a full field list (scrolling a big table would).
        const TObjectRow* Row = ARow - 1 < L->ObjectCount() && ACol - 1 < L->Fields().Count()
                                    ? &L->Objects(ARow - 1)->Row()
                                    : nullptr;
        if (Row && ACol - 1 < Row->Count()) {
            try {
                Text = Row->Text(ACol - 1);
            } catch (const Platform::Exception&) {
                // a value without a text form shows as an empty cell
            }
            Right = IsNumeric(L->Fields().GetFields(ACol - 1)->DataType());
        }
        const int X = Right ? Rect.Right - 1 - C->TextWidth(Text) : Rect.Left + 1;
        C->TextRect(Rect, X, Rect.Top + 1, Text);
    }
}

void TDataBrowser::DrawRow(int ARow) {
    TCanvas* C = Canvas();
    C->SetFont(Font());
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FixedColor());
    if (CellRect(0, ARow).Width() > 0) DrawCell(0, ARow, CellRect(0, ARow), 0);
    for (int Col = LeftCol(); Col < ColCount(); ++Col) {
        const TRect R = CellRect(Col, ARow);
        if (R.Width() <= 0) break;
        C->SetFont(Font());
        C->Brush()->SetColor(Color());
        DrawCell(Col, ARow, R, 0);
    }
    C->Flush();
    if (Host()) Host()->Present();
}

std::string TDataBrowser::GetEditText(int ACol, int ARow) {
    TDataField* Field = CellField(ACol, ARow);
    if (!Field) return {};
    try {
        return Field->AsString();
    } catch (const Platform::Exception&) {
        return {};
    }
}

void TDataBrowser::SetEditText(int ACol, int ARow, const std::string& Value) {
    TDataField* Field = CellField(ACol, ARow);
    if (!Field) return;
    // The field's own type says how to read the text (the layer's column may
    // say otherwise for an object with an odd row).
    try {
        StoreText(*Field, Value);
    } catch (const std::exception&) {
        return; // not a value of the field's type: the field keeps its value
    }
    if (Layer()) Layer()->SetModified(true);
    // Labels show attribute values: the map's picture is stale now.
    if (TChartix* M = Layer() ? Layer()->Map() : nullptr) M->DoUpdate(true);
}

void TDataBrowser::ShowObjectRow(const TCustomMapObject* Object) {
    TMapLayer* L = Layer();
    if (!L || !Object || Object->Layer() != L) return;
    int Index = 0;
    while (Index < L->ObjectCount() && L->Objects(Index) != Object)
        ++Index;
    if (Index == L->ObjectCount()) return;
    const int ARow = Index + 1, Shown = std::max(1, VisibleRowCount());
    if (ARow >= TopRow() && ARow < TopRow() + Shown) return;
    SetTopRow(std::max(1, ARow - Shown / 2));
}

void TDataBrowser::SelectCurrentObject(bool ZoomTo) {
    TMapLayer* L = Layer();
    if (!L || L->Fields().Count() == 0 || Row() - 1 < 0 || Row() - 1 >= L->ObjectCount()) return;
    TCustomMapObject* Object = L->Objects(Row() - 1);
    Object->Select();
    TChartix* M = L->Map();
    if (!M) return;
    if (ZoomTo) {
        M->Selection().Zoom();
        return;
    }
    if (M->Selection().Count() == 0) return;
    // The first selected object is the one brought into view: with others
    // selected before, that may not be the row's.
    const TBounds B = M->Selection().First()->GetBounds();
    // A row without geometry has nowhere to be brought to.
    if (B.MinX > B.MaxX || Inside(B, M->GetViewBounds())) return;
    M->BeginUpdate();
    M->SetCenterX((B.MinX + B.MaxX) / 2);
    M->SetCenterY((B.MinY + B.MaxY) / 2);
    M->EndUpdate(true);
}

void TDataBrowser::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    TCustomGrid::KeyDown(Key, Shift);
    if (Key == VK_RETURN) SelectCurrentObject((Shift & ssCtrl) != 0);
}

void TDataBrowser::DblClick() {
    TCustomGrid::DblClick();
    SelectCurrentObject(false);
}

} // namespace Mapobjects

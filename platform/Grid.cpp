#include "platform/Grid.h"

#include <algorithm>

namespace Platform {

TCustomGrid::TCustomGrid(TComponent* Owner)
    : TCustomControl(Owner), FColWidths(5, 64), FRowHeights(5, 24), FColSum(5 * 64),
      FRowSum(5 * 24), FFont(std::make_unique<TFont>()) {}

TCustomGrid::~TCustomGrid() = default;

// --- shape -------------------------------------------------------------------------

void TCustomGrid::Clamp() {
    FCol = std::clamp(FCol, std::min(FFixedCols, ColCount() - 1), ColCount() - 1);
    FRow = std::clamp(FRow, std::min(FFixedRows, RowCount() - 1), RowCount() - 1);
    FLeftCol = std::clamp(FLeftCol, std::min(FFixedCols, ColCount() - 1), MaxLeftCol());
    FTopRow = std::clamp(FTopRow, std::min(FFixedRows, RowCount() - 1), MaxTopRow());
    if (FEditing && (FEditCol >= ColCount() || FEditRow >= RowCount())) {
        // The edited cell is gone: nothing to write it to.
        FEditing = false;
        FEditModified = false;
    }
}

void TCustomGrid::SetColCount(int V) {
    V = std::max(V, 1);
    if (V == ColCount()) return;
    if (FFixedCols >= V) FFixedCols = V - 1;
    for (int C = V; C < ColCount(); ++C)
        FColSum -= FColWidths[static_cast<size_t>(C)];
    if (V > ColCount()) FColSum += static_cast<long long>(V - ColCount()) * FDefaultColWidth;
    FColWidths.resize(static_cast<size_t>(V), FDefaultColWidth);
    Clamp();
    Invalidate();
}

void TCustomGrid::SetRowCount(int V) {
    V = std::max(V, 1);
    if (V == RowCount()) return;
    if (FFixedRows >= V) FFixedRows = V - 1;
    for (int R = V; R < RowCount(); ++R)
        FRowSum -= FRowHeights[static_cast<size_t>(R)];
    if (V > RowCount()) FRowSum += static_cast<long long>(V - RowCount()) * FDefaultRowHeight;
    FRowHeights.resize(static_cast<size_t>(V), FDefaultRowHeight);
    Clamp();
    Invalidate();
}

void TCustomGrid::SetFixedCols(int V) {
    if (V < 0 || V >= ColCount())
        throw EInvalidGridOperation("Fixed column count must be less than column count");
    FFixedCols = V;
    FLeftCol = std::max(FLeftCol, V);
    FCol = std::max(FCol, V);
    Clamp();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int V) {
    if (V < 0 || V >= RowCount())
        throw EInvalidGridOperation("Fixed row count must be less than row count");
    FFixedRows = V;
    FTopRow = std::max(FTopRow, V);
    FRow = std::max(FRow, V);
    Clamp();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int V) {
    FDefaultColWidth = std::max(V, 0);
    std::fill(FColWidths.begin(), FColWidths.end(), FDefaultColWidth);
    FColSum = static_cast<long long>(ColCount()) * FDefaultColWidth;
    Clamp();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int V) {
    FDefaultRowHeight = std::max(V, 0);
    std::fill(FRowHeights.begin(), FRowHeights.end(), FDefaultRowHeight);
    FRowSum = static_cast<long long>(RowCount()) * FDefaultRowHeight;
    Clamp();
    Invalidate();
}

int TCustomGrid::ColWidths(int Index) const {
    if (Index < 0 || Index >= ColCount()) ListIndexError(Index);
    return FColWidths[static_cast<size_t>(Index)];
}

void TCustomGrid::SetColWidths(int Index, int V) {
    if (Index < 0 || Index >= ColCount()) ListIndexError(Index);
    FColSum -= FColWidths[static_cast<size_t>(Index)];
    FColWidths[static_cast<size_t>(Index)] = std::max(V, 0);
    FColSum += FColWidths[static_cast<size_t>(Index)];
    Clamp();
    Invalidate();
}

int TCustomGrid::RowHeights(int Index) const {
    if (Index < 0 || Index >= RowCount()) ListIndexError(Index);
    return FRowHeights[static_cast<size_t>(Index)];
}

void TCustomGrid::SetRowHeights(int Index, int V) {
    if (Index < 0 || Index >= RowCount()) ListIndexError(Index);
    FRowSum -= FRowHeights[static_cast<size_t>(Index)];
    FRowHeights[static_cast<size_t>(Index)] = std::max(V, 0);
    FRowSum += FRowHeights[static_cast<size_t>(Index)];
    Clamp();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int V) {
    V = std::max(V, 0);
    if (V == FGridLineWidth) return;
    FGridLineWidth = V;
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions V) {
    // Whole-row selection and an editor that is always shown exclude each
    // other: the row select wins, as on Windows.
    if (V & goRowSelect) V &= ~goAlwaysShowEditor;
    if (V == FOptions) return;
    FOptions = V;
    if (!CanEditShow())
        HideEditor();
    else if (FOptions & goAlwaysShowEditor)
        ShowEditor();
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor V) {
    if (V == FFixedColor) return;
    FFixedColor = V;
    Invalidate();
}

// --- geometry ----------------------------------------------------------------------

std::pair<bool, bool> TCustomGrid::Bars() const {
    // A bar shows where the cells do not all fit; one bar takes room from
    // the other direction, which may then need its bar too.
    const long long W = ColumnsExtent(), H = RowsExtent();
    bool Horz = W > Width();
    const bool Vert = H > Height() - (Horz ? ScrollBarSize : 0);
    if (Vert && !Horz) Horz = W > Width() - ScrollBarSize;
    return {Horz, Vert};
}

int TCustomGrid::ClientWidth() const {
    return std::max(0, Width() - (Bars().second ? ScrollBarSize : 0));
}

int TCustomGrid::ClientHeight() const {
    return std::max(0, Height() - (Bars().first ? ScrollBarSize : 0));
}

TScrollBarBox TCustomGrid::VertScrollBar() const {
    TScrollBarBox Bar;
    Bar.Kind = sbVertical;
    if (Bars().second) Bar.Bounds = Rect(ClientWidth(), 0, Width(), ClientHeight());
    Bar.Min = std::min(FFixedRows, RowCount() - 1);
    Bar.Max = MaxTopRow();
    Bar.Page = std::max(1, VisibleRowCount());
    Bar.Position = FTopRow;
    return Bar;
}

TScrollBarBox TCustomGrid::HorzScrollBar() const {
    TScrollBarBox Bar;
    Bar.Kind = sbHorizontal;
    if (Bars().first) Bar.Bounds = Rect(0, ClientHeight(), ClientWidth(), Height());
    Bar.Min = std::min(FFixedCols, ColCount() - 1);
    Bar.Max = MaxLeftCol();
    Bar.Page = std::max(1, VisibleColCount());
    Bar.Position = FLeftCol;
    return Bar;
}

int TCustomGrid::FixedWidth() const {
    int W = 0;
    for (int C = 0; C < FFixedCols; ++C)
        W += FColWidths[static_cast<size_t>(C)] + FGridLineWidth;
    return W;
}

int TCustomGrid::FixedHeight() const {
    int H = 0;
    for (int R = 0; R < FFixedRows; ++R)
        H += FRowHeights[static_cast<size_t>(R)] + FGridLineWidth;
    return H;
}

int TCustomGrid::ColLeft(int ACol) const {
    if (ACol < 0 || ACol >= ColCount() || (ACol >= FFixedCols && ACol < FLeftCol)) return -1;
    const int From = ACol < FFixedCols ? 0 : FLeftCol;
    int X = ACol < FFixedCols ? 0 : FixedWidth();
    // Stops at the window's edge: far columns cost no more than shown ones.
    for (int C = From; C < ACol && X < ClientWidth(); ++C)
        X += FColWidths[static_cast<size_t>(C)] + FGridLineWidth;
    return X < ClientWidth() ? X : -1;
}

int TCustomGrid::RowTop(int ARow) const {
    if (ARow < 0 || ARow >= RowCount() || (ARow >= FFixedRows && ARow < FTopRow)) return -1;
    const int From = ARow < FFixedRows ? 0 : FTopRow;
    int Y = ARow < FFixedRows ? 0 : FixedHeight();
    for (int R = From; R < ARow && Y < ClientHeight(); ++R)
        Y += FRowHeights[static_cast<size_t>(R)] + FGridLineWidth;
    return Y < ClientHeight() ? Y : -1;
}

void TCustomGrid::ShownCols(std::vector<std::pair<int, int>>& Cols) const {
    Cols.clear();
    int X = 0;
    for (int C = 0; C < FFixedCols && X < ClientWidth(); ++C) {
        Cols.emplace_back(C, X);
        X += FColWidths[static_cast<size_t>(C)] + FGridLineWidth;
    }
    for (int C = FLeftCol; C < ColCount() && X < ClientWidth(); ++C) {
        Cols.emplace_back(C, X);
        X += FColWidths[static_cast<size_t>(C)] + FGridLineWidth;
    }
}

void TCustomGrid::ShownRows(std::vector<std::pair<int, int>>& Rows) const {
    Rows.clear();
    int Y = 0;
    for (int R = 0; R < FFixedRows && Y < ClientHeight(); ++R) {
        Rows.emplace_back(R, Y);
        Y += FRowHeights[static_cast<size_t>(R)] + FGridLineWidth;
    }
    for (int R = FTopRow; R < RowCount() && Y < ClientHeight(); ++R) {
        Rows.emplace_back(R, Y);
        Y += FRowHeights[static_cast<size_t>(R)] + FGridLineWidth;
    }
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
    const int X = ColLeft(ACol), Y = RowTop(ARow);
    if (X < 0 || Y < 0) return TRect{};
    return Rect(X, Y, X + FColWidths[static_cast<size_t>(ACol)],
                Y + FRowHeights[static_cast<size_t>(ARow)]);
}

bool TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    ACol = ARow = -1;
    if (X < 0 || Y < 0 || X >= ClientWidth() || Y >= ClientHeight()) return false;
    std::vector<std::pair<int, int>> Cols, Rows;
    ShownCols(Cols);
    ShownRows(Rows);
    for (const auto& [C, L] : Cols)
        if (X >= L && X < L + FColWidths[static_cast<size_t>(C)] + FGridLineWidth) ACol = C;
    for (const auto& [R, T] : Rows)
        if (Y >= T && Y < T + FRowHeights[static_cast<size_t>(R)] + FGridLineWidth) ARow = R;
    if (ACol < 0 || ARow < 0) ACol = ARow = -1;
    return ACol >= 0;
}

int TCustomGrid::VisibleColCount() const {
    int X = FixedWidth(), N = 0;
    for (int C = FLeftCol; C < ColCount(); ++C) {
        X += FColWidths[static_cast<size_t>(C)];
        if (X > ClientWidth()) break;
        X += FGridLineWidth;
        ++N;
    }
    return ColCount() > FFixedCols ? std::max(N, 1) : 0;
}

int TCustomGrid::VisibleRowCount() const {
    int Y = FixedHeight(), N = 0;
    for (int R = FTopRow; R < RowCount(); ++R) {
        Y += FRowHeights[static_cast<size_t>(R)];
        if (Y > ClientHeight()) break;
        Y += FGridLineWidth;
        ++N;
    }
    return RowCount() > FFixedRows ? std::max(N, 1) : 0;
}

// The first of the columns or rows that end with Last and fill Room; Last
// itself when even it does not fit.
static int FirstFilling(const std::vector<int>& Sizes, int Fixed, int Last, int Room, int Line) {
    int First = Last, Used = Sizes[static_cast<size_t>(Last)] + Line;
    while (First - 1 >= Fixed && Used + Sizes[static_cast<size_t>(First - 1)] + Line <= Room) {
        --First;
        Used += Sizes[static_cast<size_t>(First)] + Line;
    }
    return First;
}

int TCustomGrid::MaxLeftCol() const {
    // The last columns fill the window: no scrolling past them.
    const int C = FirstFilling(FColWidths, FFixedCols, ColCount() - 1, ClientWidth() - FixedWidth(),
                               FGridLineWidth);
    return std::max(C, std::min(FFixedCols, ColCount() - 1));
}

int TCustomGrid::MaxTopRow() const {
    const int R = FirstFilling(FRowHeights, FFixedRows, RowCount() - 1,
                               ClientHeight() - FixedHeight(), FGridLineWidth);
    return std::max(R, std::min(FFixedRows, RowCount() - 1));
}

// --- position ----------------------------------------------------------------------

void TCustomGrid::SetLeftCol(int V) {
    V = std::clamp(V, std::min(FFixedCols, ColCount() - 1), MaxLeftCol());
    if (V == FLeftCol) return;
    FLeftCol = V;
    Invalidate();
}

void TCustomGrid::SetTopRow(int V) {
    V = std::clamp(V, std::min(FFixedRows, RowCount() - 1), MaxTopRow());
    if (V == FTopRow) return;
    FTopRow = V;
    Invalidate();
}

void TCustomGrid::SetCol(int V) {
    FocusCell(V, FRow);
}

void TCustomGrid::SetRow(int V) {
    FocusCell(FCol, V);
}

void TCustomGrid::MakeVisible(int ACol, int ARow) {
    // A cell past the last whole column or row comes in at the far edge.
    if (ACol >= FFixedCols) {
        if (ACol < FLeftCol)
            SetLeftCol(ACol);
        else if (ACol >= FLeftCol + VisibleColCount())
            SetLeftCol(FirstFilling(FColWidths, FFixedCols, ACol, ClientWidth() - FixedWidth(),
                                    FGridLineWidth));
    }
    if (ARow >= FFixedRows) {
        if (ARow < FTopRow)
            SetTopRow(ARow);
        else if (ARow >= FTopRow + VisibleRowCount())
            SetTopRow(FirstFilling(FRowHeights, FFixedRows, ARow, ClientHeight() - FixedHeight(),
                                   FGridLineWidth));
    }
}

void TCustomGrid::FocusCell(int ACol, int ARow) {
    ACol = std::clamp(ACol, std::min(FFixedCols, ColCount() - 1), ColCount() - 1);
    ARow = std::clamp(ARow, std::min(FFixedRows, RowCount() - 1), RowCount() - 1);
    if (ACol == FCol && ARow == FRow) {
        MakeVisible(ACol, ARow);
        return;
    }
    if (!SelectCell(ACol, ARow)) return;
    HideEditor();
    FCol = ACol;
    FRow = ARow;
    MakeVisible(ACol, ARow);
    Invalidate();
    if (FOptions & goAlwaysShowEditor) ShowEditor();
}

// --- editor ------------------------------------------------------------------------

bool TCustomGrid::CanEditShow() const {
    return (FOptions & goEditing) && !(FOptions & goRowSelect) && FCol >= FFixedCols &&
           FRow >= FFixedRows && FCol < ColCount() && FRow < RowCount();
}

void TCustomGrid::ShowEditor() {
    if (!CanEditShow()) return;
    if (FEditing && FEditCol == FCol && FEditRow == FRow) return;
    HideEditor();
    FEditCol = FCol;
    FEditRow = FRow;
    FEditText = GetEditText(FCol, FRow);
    FEditModified = false;
    FEditSelectAll = true;
    FEditing = true;
    Invalidate();
}

void TCustomGrid::HideEditor() {
    if (!FEditing) return;
    // Closed before the text goes back, so that whatever SetEditText sets
    // off finds the editor closed.
    FEditing = false;
    Invalidate();
    if (FEditModified) {
        FEditModified = false;
        SetEditText(FEditCol, FEditRow, FEditText);
    }
}

void TCustomGrid::CommitEdit(bool KeepOpen) {
    HideEditor();
    if (KeepOpen) ShowEditor(); // shows the value as it was stored
}

void TCustomGrid::CancelEdit() {
    FEditModified = false;
    if (FOptions & goAlwaysShowEditor) {
        FEditText = GetEditText(FEditCol, FEditRow);
        FEditSelectAll = true;
        Invalidate();
    } else {
        HideEditor();
    }
}

// --- painting ----------------------------------------------------------------------

TGridDrawState TCustomGrid::CellState(int ACol, int ARow) const {
    if (ACol < FFixedCols || ARow < FFixedRows) return gdFixed;
    TGridDrawState State = 0;
    const bool Current = ACol == FCol && ARow == FRow;
    if (Current && Focused()) State |= gdFocused;
    if ((FOptions & goRowSelect) ? ARow == FRow : Current) State |= gdSelected;
    return State;
}

void TCustomGrid::PrepareCellCanvas(int ACol, int ARow, TGridDrawState State) {
    TCanvas* C = Canvas();
    C->SetFont(FFont.get());
    C->Pen()->SetMode(pmCopy);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor((State & gdFixed) ? FFixedColor : Color());
    if ((State & gdSelected) && !(State & gdFixed)) {
        C->Brush()->SetColor(clHighlight);
        C->Font()->SetColor(clHighlightText);
    }
}

void TCustomGrid::DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State) {
    Canvas()->FillRect(Rect);
}

void TCustomGrid::DrawEditor(const TRect& R) {
    TCanvas* C = Canvas();
    C->SetFont(FFont.get());
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWindow);
    C->FillRect(R);
    const int Y = R.Top + std::max(0, (R.Height() - C->TextHeight("Wg")) / 2);
    const int W = C->TextWidth(FEditText);
    if (FEditSelectAll && !FEditText.empty()) {
        C->Brush()->SetColor(clHighlight);
        C->Font()->SetColor(clHighlightText);
    }
    C->TextRect(R, R.Left + 2, Y, FEditText);
    if (Focused()) {
        // The caret: a one-pixel line after the text.
        const int X = std::min(R.Left + 2 + W, R.Right - 1);
        C->Pen()->SetColor(clWindowText);
        C->Pen()->SetMode(pmCopy);
        C->MoveTo(X, R.Top + 1);
        C->LineTo(X, R.Bottom - 1);
    }
}

void TCustomGrid::Paint() {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    C->FillRect(ClientRect());
    const int Lw = FGridLineWidth;
    std::vector<std::pair<int, int>> Cols, Rows;
    ShownCols(Cols);
    ShownRows(Rows);
    for (const auto& [R, Top] : Rows) {
        for (const auto& [Col, Left] : Cols) {
            const TRect Cell = Rect(Left, Top, Left + FColWidths[static_cast<size_t>(Col)],
                                    Top + FRowHeights[static_cast<size_t>(R)]);
            const TGridDrawState State = CellState(Col, R);
            if (FEditing && Col == FEditCol && R == FEditRow) {
                DrawEditor(Cell);
            } else {
                PrepareCellCanvas(Col, R, State);
                DrawCell(Col, R, Cell, State);
                if ((State & gdFocused) && !(FOptions & goRowSelect)) C->DrawFocusRect(Cell);
            }
            if (Lw > 0) {
                const bool Fixed = State & gdFixed;
                C->Brush()->SetStyle(bsSolid);
                C->Brush()->SetColor(Fixed ? clBtnShadow : clSilver);
                if (FOptions & (Fixed ? goFixedVertLine : goVertLine))
                    C->FillRect(Rect(Cell.Right, Cell.Top, Cell.Right + Lw, Cell.Bottom + Lw));
                if (FOptions & (Fixed ? goFixedHorzLine : goHorzLine))
                    C->FillRect(Rect(Cell.Left, Cell.Bottom, Cell.Right + Lw, Cell.Bottom + Lw));
            }
        }
    }
    VertScrollBar().Paint(*C);
    HorzScrollBar().Paint(*C);
    if (ClientWidth() < Width() && ClientHeight() < Height()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(Rect(ClientWidth(), ClientHeight(), Width(), Height()));
    }
}

void TCustomGrid::Resize() {
    TCustomControl::Resize();
    Clamp();
    Invalidate();
}

void TCustomGrid::DoEnter() {
    TCustomControl::DoEnter();
    Invalidate();
}

void TCustomGrid::DoExit() {
    TCustomControl::DoExit();
    Invalidate();
}

// --- input -------------------------------------------------------------------------

int TCustomGrid::SizingColAt(int X, int Y) const {
    if (!(FOptions & goColSizing) || Y < 0 || Y >= FixedHeight()) return -1;
    for (int C = 0; C < ColCount(); ++C) {
        const int L = ColLeft(C);
        if (L < 0) continue;
        const int Line = L + FColWidths[static_cast<size_t>(C)];
        if (X >= Line - 2 && X <= Line + FGridLineWidth + 1) return C;
    }
    return -1;
}

bool TCustomGrid::ScrollBarDown(TMouseButton Button, int X, int Y) {
    const TScrollBarBox V = VertScrollBar(), H = HorzScrollBar();
    const TScrollBarBox* Bar = V.Contains(Point(X, Y))   ? &V
                               : H.Contains(Point(X, Y)) ? &H
                                                         : nullptr;
    const bool Corner = X >= ClientWidth() || Y >= ClientHeight();
    if (!Bar) return Corner; // the corner between the bars is frame too
    if (Button != mbLeft) return true;
    auto Scroll = [&](int To) { Bar == &V ? SetTopRow(To) : SetLeftCol(To); };
    switch (Bar->HitTest(Point(X, Y))) {
    case scLineUp:
        Scroll(Bar->Position - 1);
        break;
    case scLineDown:
        Scroll(Bar->Position + 1);
        break;
    case scPageUp:
        Scroll(Bar->Position - Bar->Page);
        break;
    case scPageDown:
        Scroll(Bar->Position + Bar->Page);
        break;
    case scTrack:
        FThumbDrag = Bar == &V ? sbVertical : sbHorizontal;
        FThumbStart = Bar == &V ? Y : X;
        FThumbStartPosition = Bar->Position;
        FThumbDragging = true;
        break;
    case scNone:
        break;
    }
    return true;
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // The scroll bars are the window's frame: the control hears nothing of them.
    if (ScrollBarDown(Button, X, Y)) return;
    if (Button == mbLeft) {
        if (CanFocus()) SetFocus();
        FSizingCol = SizingColAt(X, Y);
        if (FSizingCol >= 0) {
            FSizingStartX = X;
            FSizingStartWidth = FColWidths[static_cast<size_t>(FSizingCol)];
        } else {
            int ACol, ARow;
            if (MouseToCell(X, Y, ACol, ARow) && ACol >= FFixedCols && ARow >= FFixedRows) {
                // A second click on the current cell opens the editor.
                const bool Again = ACol == FCol && ARow == FRow;
                FocusCell(ACol, ARow);
                if (Again && !(Shift & ssDouble)) ShowEditor();
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
    if (FThumbDragging) {
        if (FThumbDrag == sbVertical)
            SetTopRow(VertScrollBar().TrackPosition(FThumbStartPosition, Y - FThumbStart));
        else
            SetLeftCol(HorzScrollBar().TrackPosition(FThumbStartPosition, X - FThumbStart));
        return;
    }
    if (FSizingCol >= 0 && (Shift & ssLeft)) {
        SetColWidths(FSizingCol, std::max(1, FSizingStartWidth + X - FSizingStartX));
    } else if (FOptions & goColSizing) {
        SetCursor(SizingColAt(X, Y) >= 0 ? crHSplit : crDefault);
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FThumbDragging && Button == mbLeft) {
        FThumbDragging = false;
        return;
    }
    const bool Sized = Button == mbLeft && FSizingCol >= 0;
    if (Button == mbLeft) FSizingCol = -1;
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && !Sized) Click();
}

void TCustomGrid::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (FEditing) {
        switch (Key) {
        case VK_RETURN:
            CommitEdit((FOptions & goAlwaysShowEditor) != 0);
            return;
        case VK_ESCAPE:
            CancelEdit();
            return;
        case VK_BACK:
            if (FEditSelectAll)
                FEditText.clear();
            else if (!FEditText.empty())
                FEditText.pop_back();
            FEditSelectAll = false;
            FEditModified = true;
            Invalidate();
            return;
        case VK_DELETE:
            if (FEditSelectAll) {
                FEditText.clear();
                FEditModified = true;
            }
            FEditSelectAll = false;
            Invalidate();
            return;
        case VK_RIGHT:
        case VK_LEFT:
            // The caret sits at the end of the text: Right there, or Left in
            // an empty text, goes on to the next cell; otherwise the keys
            // only end the selection.
            if (!FEditSelectAll && (Key == VK_RIGHT || FEditText.empty())) break;
            FEditSelectAll = false;
            Invalidate();
            return;
        case VK_HOME:
        case VK_END:
            FEditSelectAll = false;
            Invalidate();
            return;
        default:
            break;
        }
    } else if (Key == VK_RETURN || Key == VK_F2) {
        ShowEditor();
        if (Key == VK_F2 && FEditing) FEditSelectAll = false;
        return;
    }
    const bool Ctrl = Shift & ssCtrl;
    const bool RowSelect = FOptions & goRowSelect;
    int ACol = FCol, ARow = FRow;
    switch (Key) {
    case VK_UP:
        --ARow;
        break;
    case VK_DOWN:
        ++ARow;
        break;
    case VK_PRIOR:
        ARow -= std::max(1, VisibleRowCount());
        break;
    case VK_NEXT:
        ARow += std::max(1, VisibleRowCount());
        break;
    case VK_LEFT:
        if (RowSelect) {
            SetLeftCol(FLeftCol - 1);
            return;
        }
        --ACol;
        break;
    case VK_RIGHT:
        if (RowSelect) {
            SetLeftCol(FLeftCol + 1);
            return;
        }
        ++ACol;
        break;
    case VK_HOME:
        ACol = FFixedCols;
        if (Ctrl || RowSelect) ARow = FFixedRows;
        break;
    case VK_END:
        ACol = ColCount() - 1;
        if (Ctrl || RowSelect) ARow = RowCount() - 1;
        break;
    default:
        return;
    }
    FocusCell(ACol, ARow);
}

void TCustomGrid::KeyPress(char& Key) {
    TCustomControl::KeyPress(Key);
    if (static_cast<unsigned char>(Key) < 32) return; // Enter, Escape, Backspace: KeyDown's
    if (!FEditing) {
        ShowEditor();
        if (!FEditing) return;
    }
    if (FEditSelectAll) FEditText.clear();
    FEditSelectAll = false;
    FEditText += Key;
    FEditModified = true;
    Invalidate();
}

void TCustomGrid::MouseWheel(TShiftState Shift, int Delta, int X, int Y) {
    TCustomControl::MouseWheel(Shift, Delta, X, Y);
    SetTopRow(FTopRow - Delta / 120 * 3);
}

} // namespace Platform

#pragma once
// A grid on the window-surface model: columns and rows of cells, the first
// ones fixed (headers that do not scroll), a current cell (Col, Row) that
// the pointer and the keys move, scrolling by whole columns and rows, column
// sizing with the pointer, and an in-place editor.
//
// Windows semantics kept where they matter: CellRect is empty for a cell
// that is not shown; the editor never shows with whole-row selection; moving
// to another cell, hiding the editor or Enter writes the edited text back
// through SetEditText, once, and Escape drops it. Descendants draw the cells
// (DrawCell) and give and take the editor's text (GetEditText/SetEditText).
// Keys: arrows, Home/End (with Ctrl: the first/last row too), PgUp/PgDn;
// in the editor, whose caret stays at the end of the text, Right moves on
// once the selection is ended and Left only when the text is empty;
// with whole-row selection Left/Right scroll the columns. Enter and F2 open
// the editor (with goEditing), typing opens it with the typed character in
// place of the cell's text. The wheel scrolls three rows a notch. Scroll bars
// show at the right and bottom while the cells do not all fit.

#include "Controls.h"
#include "PlatformExport.h"
#include "ScrollBars.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Platform {

/// Raised for an impossible grid setting, such as fixed columns not below the column count.
class CHARTIX_PLATFORM_EXPORT EInvalidGridOperation : public Exception {
    using Exception::Exception;
};

/// Grid options: which grid lines show, sizing, moving, editing and selection behaviour.
enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
    goRowMoving = 1u << 8,
    goColMoving = 1u << 9,
    goEditing = 1u << 10,
    goTabs = 1u << 11,
    goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13,
    goThumbTracking = 1u << 14
};
/// A combination of TGridOption flags.
using TGridOptions = unsigned;

/// Flags of the state a cell is drawn in: selected, focused (the current cell
/// of a focused grid) or fixed.
enum TGridDrawFlag : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
/// A combination of TGridDrawFlag flags.
using TGridDrawState = unsigned;

/// A grid control of columns and rows of cells; descendants draw the cells and
/// give and take the editor's text.
class CHARTIX_PLATFORM_EXPORT TCustomGrid : public TCustomControl {
public:
    /// A grid of 5 by 5 cells (one fixed column and row), 64 by 24 pixels each.
    explicit TCustomGrid(TComponent* Owner);
    ~TCustomGrid() override;

    // --- shape ---------------------------------------------------------------
    /// The number of columns.
    int ColCount() const { return static_cast<int>(FColWidths.size()); }
    /// At least 1; fewer columns than fixed ones makes fewer fixed ones.
    void SetColCount(int V);
    /// The number of rows.
    int RowCount() const { return static_cast<int>(FRowHeights.size()); }
    /// At least 1; fewer rows than fixed ones makes fewer fixed ones.
    void SetRowCount(int V);
    /// The number of fixed columns at the left.
    ///@{
    int FixedCols() const { return FFixedCols; }
    /// EInvalidGridOperation unless below ColCount.
    void SetFixedCols(int V);
    ///@}
    /// The number of fixed rows at the top; EInvalidGridOperation unless below RowCount.
    ///@{
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int V);
    ///@}
    /// The width of new columns, in pixels.
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int V); ///< every column takes it
    /// The height of new rows, in pixels.
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int V); ///< every row takes it
    int ColWidths(int Index) const;  ///< EListError outside the columns
    /// Sets the width of one column in pixels (negative becomes 0); EListError outside the columns.
    void SetColWidths(int Index, int V);
    /// The height of one row in pixels; EListError outside the rows.
    ///@{
    int RowHeights(int Index) const;
    void SetRowHeights(int Index, int V);
    ///@}
    /// The width of the grid lines between cells, in pixels; 0 draws none.
    ///@{
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int V);
    ///@}
    /// The grid options; goRowSelect turns goAlwaysShowEditor off.
    ///@{
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions V);
    ///@}
    /// The background colour of the fixed cells.
    ///@{
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor V);
    ///@}
    /// The font of the cells and the editor; owned by the grid.
    TFont* Font() const { return FFont.get(); }

    // --- position ------------------------------------------------------------
    /// The current cell; setting it asks SelectCell and scrolls it into view.
    ///@{
    int Col() const { return FCol; }
    void SetCol(int V);
    int Row() const { return FRow; }
    void SetRow(int V);
    ///@}
    /// The first scrolled column and row shown after the fixed ones.
    ///@{
    int LeftCol() const { return FLeftCol; }
    void SetLeftCol(int V);
    int TopRow() const { return FTopRow; }
    void SetTopRow(int V);
    ///@}
    /// Scrolled columns and rows that are shown whole (at least 1 when any).
    ///@{
    int VisibleColCount() const;
    int VisibleRowCount() const;
    ///@}
    /// The client area leaves room for the scroll bars (right and bottom)
    /// while the cells do not all fit.
    ///@{
    int ClientWidth() const override;
    int ClientHeight() const override;
    ///@}
    /// The scroll bars as they are now (hidden: empty bounds).
    ///@{
    TScrollBarBox VertScrollBar() const;
    TScrollBarBox HorzScrollBar() const;
    ///@}
    /// The cell's rectangle in client pixels (without its grid lines); empty
    /// when the cell is not shown.
    TRect CellRect(int ACol, int ARow) const;
    /// The cell at a client point; false (and -1, -1) on none.
    bool MouseToCell(int X, int Y, int& ACol, int& ARow) const;

    // --- in-place editor -----------------------------------------------------
    /// Shows the editor on the current cell with its text from GetEditText,
    /// when the options allow editing there.
    void ShowEditor();
    /// Hides the editor; an edited text is written back first.
    void HideEditor();
    /// Whether the editor shows; setting it shows or hides it as ShowEditor and HideEditor do.
    ///@{
    bool EditorMode() const { return FEditing; }
    void SetEditorMode(bool V) { V ? ShowEditor() : HideEditor(); }
    ///@}
    /// The editor's text while it shows.
    const std::string& EditorText() const { return FEditText; }

    /// Input entry points: pressing selects cells, sizes columns and drives the scroll bars; keys
    /// move the current cell and edit; the wheel scrolls three rows a notch.
    ///@{
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseWheel(TShiftState Shift, int Delta, int X, int Y) override;
    ///@}
    /// Wants the arrow keys and characters.
    int GetDialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

protected:
    /// Draws one cell on Canvas, whose brush and font are set for the cell's
    /// state; the base fills the rectangle.
    virtual void DrawCell(int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    /// Whether the cell may become the current one.
    virtual bool SelectCell(int ACol, int ARow) { return true; }
    /// The text the editor starts with for a cell; the base gives an empty text.
    virtual std::string GetEditText(int ACol, int ARow) { return {}; }
    /// Takes the edited text of a cell back; the base drops it.
    virtual void SetEditText(int ACol, int ARow, const std::string& Value) {}
    /// Whether the editor may show on the current cell now.
    virtual bool CanEditShow() const;
    /// Sets the canvas up for a cell of the given state (font, brush).
    void PrepareCellCanvas(int ACol, int ARow, TGridDrawState State);
    /// Draws the cells, the grid lines, the editor and the scroll bars.
    void Paint() override;
    /// Keeps the current cell and the scroll position valid after a size change.
    void Resize() override;
    /// Repaint as the focus arrives and leaves, besides firing OnEnter and OnExit.
    ///@{
    void DoEnter() override;
    void DoExit() override;
    ///@}

private:
    // Which scroll bars show: horizontal, vertical.
    std::pair<bool, bool> Bars() const;
    long long ColumnsExtent() const {
        return FColSum + static_cast<long long>(ColCount()) * FGridLineWidth;
    }
    long long RowsExtent() const {
        return FRowSum + static_cast<long long>(RowCount()) * FGridLineWidth;
    }
    // A press on a scroll bar (or the corner between them); true when it was one.
    bool ScrollBarDown(TMouseButton Button, int X, int Y);
    // Makes (ACol, ARow) current if SelectCell allows it: the editor is
    // closed first and, with goAlwaysShowEditor, opened on the new cell.
    void FocusCell(int ACol, int ARow);
    void MakeVisible(int ACol, int ARow);
    int MaxLeftCol() const;
    int MaxTopRow() const;
    int FixedWidth() const;
    int FixedHeight() const;
    // Left edge of a shown column, or -1.
    int ColLeft(int ACol) const;
    int RowTop(int ARow) const;
    // The columns and rows shown, with their left or top edges.
    void ShownCols(std::vector<std::pair<int, int>>& Cols) const;
    void ShownRows(std::vector<std::pair<int, int>>& Rows) const;
    TGridDrawState CellState(int ACol, int ARow) const;
    void DrawEditor(const TRect& R);
    // The column whose right grid line is under X in the fixed rows, or -1.
    int SizingColAt(int X, int Y) const;
    void CommitEdit(bool KeepOpen);
    void CancelEdit();
    void Clamp();

    std::vector<int> FColWidths;
    std::vector<int> FRowHeights;
    long long FColSum, FRowSum; // the widths and the heights added up
    int FFixedCols = 1, FFixedRows = 1;
    int FDefaultColWidth = 64, FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    TGridOptions FOptions =
        goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    TColor FFixedColor = clBtnFace;
    std::unique_ptr<TFont> FFont;
    int FCol = 1, FRow = 1, FLeftCol = 1, FTopRow = 1;
    // The editor.
    bool FEditing = false;
    int FEditCol = -1, FEditRow = -1;
    std::string FEditText;
    bool FEditModified = false;
    bool FEditSelectAll = false; // the whole text is selected: typing replaces it
    // A scroll bar's thumb being dragged.
    bool FThumbDragging = false;
    TScrollBarKind FThumbDrag = sbVertical;
    int FThumbStart = 0, FThumbStartPosition = 0;
    // Column sizing with the pointer.
    int FSizingCol = -1, FSizingStartX = 0, FSizingStartWidth = 0;
};

} // namespace Platform

#pragma once
// A list box on the window-surface model: items (strings with objects), one
// current item, fixed-height rows that an owner may draw, scrolling by rows,
// the pointer and the arrow keys moving the current item.
//
// Windows semantics kept: ItemIndex follows the pointer while the left
// button is held (also onto rows scrolled into view at the edges); keys move
// it and scroll it into view; deleting items keeps the current item where it
// can. A vertical scroll bar shows beside the rows while they do not all
// fit; its arrows scroll a row, its track a page, its thumb follows the
// pointer. Owner drawing gets the canvas with the control's font and brush (the
// highlight colours for the selected row) and draws the focus rectangle
// itself: the list box does not draw it over an owner-drawn row, so a row
// that draws it as the system's does is not cancelled out.

#include "Controls.h"
#include "ListItems.h"
#include "PlatformExport.h"
#include "ScrollBars.h"

#include <memory>

namespace Platform {

/// How rows are drawn: as the item's text (lbStandard) or by a descendant's
/// DrawItem (lbOwnerDrawFixed).
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };

/// The state of a row handed to DrawItem.
enum TOwnerDrawFlag : unsigned {
    odSelected = 1,
    odGrayed = 2,
    odDisabled = 4,
    odChecked = 8,
    odFocused = 16
};
/// A combination of TOwnerDrawFlag flags.
using TOwnerDrawState = unsigned;

/// The item a navigation key (arrows, Page Up/Down by Page items, Home, End)
/// moves the current item Current to among Count > 0 items; -1 for any other key.
CHARTIX_PLATFORM_EXPORT int ItemAfterKey(std::uint16_t Key, int Current, int Count, int Page);

/// A list box drawn on its own surface: items, a current row, fixed-height rows
/// and a vertical scroll bar.
class CHARTIX_PLATFORM_EXPORT TCustomListBox : public TCustomControl {
public:
    /// An empty list box with a window-coloured background, owned by Owner.
    explicit TCustomListBox(TComponent* Owner);
    ~TCustomListBox() override;

    /// The items; the current and the top row follow their changes.
    TListItems& Items() const { return *FItems; }
    /// The current row, -1 for none; an index outside the items sets -1.
    ///@{
    int ItemIndex() const { return FItemIndex; }
    virtual void SetItemIndex(int Value);
    ///@}
    /// How rows are drawn.
    ///@{
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle V);
    ///@}
    /// The height of every row, in pixels.
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int V); ///< values below 1 are ignored
    /// The first row shown; kept between 0 and the top that shows the last
    /// row at the bottom.
    ///@{
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int V);
    ///@}
    /// Whole rows that fit in the client area (at least 1).
    int VisibleItemCount() const;
    /// The client area leaves room for a vertical scroll bar at the right
    /// while the rows do not all fit.
    int ClientWidth() const override;
    /// The vertical scroll bar as it is now (hidden: empty bounds).
    TScrollBarBox VertScrollBar() const;
    /// The font of the rows; owned by the list box.
    TFont* Font() const { return FFont.get(); }

    /// Row Index's rectangle in client pixels, also for rows scrolled out of
    /// view (above the top or below the bottom).
    TRect ItemRect(int Index) const;
    /// The row under a client point; for a point below the last row, Count, or
    /// -1 when Existing. -1 for a point outside the client area.
    int ItemAtPos(TPoint Pos, bool Existing) const;
    /// Paints at once (Invalidate, then the paint delivered now).
    void Refresh();

    /// Input entry points: the left button moves the current row while held and
    /// works the scroll bar; the keys move the current row (a change fires
    /// OnClick); the wheel scrolls three rows a notch.
    ///@{
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void MouseWheel(TShiftState Shift, int Delta, int X, int Y) override;
    ///@}
    /// Wants the arrow keys and characters.
    int GetDialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

protected:
    /// Draws one row on Canvas; the base draws the item's text (standard
    /// style) or fills the row (owner-drawn).
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    /// Sets the canvas up as it is for DrawItem: font, brush, and the highlight
    /// colours for a selected row.
    void PrepareItemCanvas(TOwnerDrawState State);
    /// The state the paint gives row Index.
    virtual TOwnerDrawState ItemState(int Index) const;
    /// Draws the shown rows through DrawItem, the empty rest and the scroll bar.
    void Paint() override;
    /// Keeps the top row valid after a size change.
    void Resize() override;
    /// Repaint as the focus arrives and leaves, besides firing OnEnter and OnExit.
    ///@{
    void DoEnter() override;
    void DoExit() override;
    ///@}
    /// The items changed: the current row and the top row follow.
    virtual void ItemsChanged(TListItemsChange Change, int Index);

private:
    int MaxTopIndex() const;
    void MakeVisible(int Index);
    void TrackTo(int Y);

    std::unique_ptr<TListItems> FItems;
    std::unique_ptr<TFont> FFont;
    int FItemIndex = -1;
    TListBoxStyle FStyle = lbStandard;
    int FItemHeight = 13;
    int FTopIndex = 0;
    bool FTracking = false; // left button pressed here, not yet released
    // The scroll bar's thumb being dragged: where from, at which top row.
    bool FThumbDrag = false;
    int FThumbStartY = 0, FThumbStartTop = 0;
};

} // namespace Platform

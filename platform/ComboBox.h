#pragma once
// A combo box on the window-surface model: items with objects, the chosen
// item, an edit field (styles csDropDown and csSimple) or a fixed text
// (csDropDownList), and a drop-down list.
//
// The drop-down list is a list box of its own (DropDownList), filled from the
// items when the list opens and sized to DropDownCount rows. A host shows it
// in a popup below the combo box while DroppedDown is true (OnDropDown and
// OnCloseUp tell when) and passes it the pointer; headless code drives it
// like any control. A click on a row of it chooses that item and closes it.
// Keys, as on Windows: Alt+Down or F4 opens and closes it; closed, Up, Down,
// Home, End, PgUp and PgDn change the choice at once (OnChange each time);
// open, they move the list's row, Enter takes it and Escape drops it.

#include "Controls.h"
#include "ListBox.h"
#include "ListItems.h"
#include "PlatformExport.h"

#include <memory>
#include <string>

namespace Platform {

/// The kind of combo box: an edit field with a drop-down list (csDropDown), an edit
/// field alone (csSimple) or a fixed text chosen from the list (csDropDownList). The
/// owner-draw styles behave as csDropDown.
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

/// A combo box drawn on its own surface: items, the chosen item, an edit field or
/// a fixed text, and a drop-down list.
class CHARTIX_PLATFORM_EXPORT TCustomComboBox : public TCustomControl {
public:
    /// An empty combo box of style csDropDown, owned by Owner.
    explicit TCustomComboBox(TComponent* Owner);
    ~TCustomComboBox() override;

    /// The items; changing them follows the choice and closes an open list.
    TListItems& Items() const { return *FItems; }
    /// The chosen item, -1 for none. Setting it from code fires no OnChange.
    ///@{
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    ///@}
    /// The style; switching to csDropDownList makes Text the chosen item's.
    ///@{
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle V);
    ///@}
    /// The edit field's text; in csDropDownList the chosen item's text, and
    /// setting it chooses the item of that text (none when there is none).
    ///@{
    const std::string& Text() const { return FText; }
    void SetText(const std::string& V);
    ///@}
    /// Rows the drop-down list shows at most.
    ///@{
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int V) { FDropDownCount = V < 1 ? 1 : V; }
    ///@}
    /// The height of a row of the drop-down list, in pixels; values below 1 are ignored.
    ///@{
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int V);
    ///@}
    /// The font of the text and the drop-down list; owned by the combo box.
    TFont* Font() const { return FFont.get(); }

    /// Whether the drop-down list is open. Opening fills it from the items and fires OnDropDown;
    /// closing from code chooses nothing and fires OnCloseUp.
    ///@{
    bool DroppedDown() const { return FDroppedDown; }
    void SetDroppedDown(bool V);
    ///@}
    /// The list shown while dropped down; it exists from the first opening on.
    TCustomListBox* DropDownList() const { return FList.get(); }

    TNotifyEvent OnChange;   ///< the user changed the choice or the text
    TNotifyEvent OnSelect;   ///< the user chose an item
    TNotifyEvent OnDropDown; ///< the list opens
    TNotifyEvent OnCloseUp;  ///< the list closes

    /// Input entry points. A left press focuses the box and opens or closes the list (from the
    /// button, or anywhere in csDropDownList); keys and characters change the choice, drive the
    /// open list or edit the text.
    ///@{
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    ///@}
    /// Wants the arrow keys and characters.
    int GetDialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

protected:
    /// Called when the user changed the choice or the text; fires OnChange.
    virtual void Change();
    /// Draws the frame, the text (highlighted in a focused csDropDownList) and the
    /// drop-down button.
    void Paint() override;
    /// Repaints after a size change, besides firing OnResize.
    void Resize() override;
    /// Called as the focus arrives or leaves; leaving closes the list unless the
    /// focus went into the list.
    ///@{
    void DoEnter() override;
    void DoExit() override;
    ///@}
    /// Called on each change of the items: follows the chosen item and closes an open list.
    virtual void ItemsChanged(TListItemsChange Change, int Index);

private:
    class TDropList;
    // Chooses Index as the user does: OnSelect, then OnChange when it changed.
    void Choose(int Index);
    void CloseUp(bool Accept);
    TRect ButtonRect() const;

    std::unique_ptr<TListItems> FItems;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TCustomListBox> FList;
    int FItemIndex = -1;
    TComboBoxStyle FStyle = csDropDown;
    std::string FText;
    int FDropDownCount = 8;
    int FItemHeight = 13;
    bool FDroppedDown = false;
};

} // namespace Platform

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

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class CHARTIX_PLATFORM_EXPORT TCustomComboBox : public TCustomControl {
public:
    explicit TCustomComboBox(TComponent* Owner);
    ~TCustomComboBox() override;

    TListItems& Items() const { return *FItems; }
    /// The chosen item, -1 for none. Setting it from code fires no OnChange.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle V);
    /// The edit field's text; in csDropDownList the chosen item's text, and
    /// setting it chooses the item of that text (none when there is none).
    const std::string& Text() const { return FText; }
    void SetText(const std::string& V);
    /// Rows the drop-down list shows at most.
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int V) { FDropDownCount = V < 1 ? 1 : V; }
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int V);
    TFont* Font() const { return FFont.get(); }

    bool DroppedDown() const { return FDroppedDown; }
    void SetDroppedDown(bool V);
    /// The list shown while dropped down; it exists from the first opening on.
    TCustomListBox* DropDownList() const { return FList.get(); }

    TNotifyEvent OnChange;   ///< the user changed the choice or the text
    TNotifyEvent OnSelect;   ///< the user chose an item
    TNotifyEvent OnDropDown; ///< the list opens
    TNotifyEvent OnCloseUp;  ///< the list closes

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    int GetDialogCode() const override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

protected:
    virtual void Change();
    void Paint() override;
    void Resize() override;
    void DoEnter() override;
    void DoExit() override;
    virtual void ItemsChanged(TListItemsChange Change, int Index);

private:
    class TDropList;
    /// Chooses Index as the user does: OnSelect, then OnChange when it changed.
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

#include "controls/LayersComboBox.h"

#include "core/MapObjects.h"

namespace Mapobjects {

using namespace Platform;

void TLayersComboBoxDataLink::MapEvent(TMapDataLinkEvent Event, TObject* Sender, int Info) {
    TMapDataLink::MapEvent(Event, Sender, Info);
    TLayersComboBox* C = FLayersComboBox;
    if (!C) return;
    switch (Event) {
    case mdlAfterAddLayer:
        if (auto* Layer = dynamic_cast<TMapLayer*>(Sender))
            C->Items().AddObject(Layer->Name(), Layer);
        break;
    case mdlDelLayer:
        try {
            C->Items().Delete(C->Items().IndexOfObject(Sender));
        } catch (const Platform::Exception&) {
            // a layer without an item: nothing to take out
        }
        C->Refresh();
        break;
    case mdlMoveLayer:
    case mdlExchangeLayer:
        C->Refresh();
        break;
    default:
        break;
    }
}

TLayersComboBox::TLayersComboBox(TComponent* Owner)
    : TCustomComboBox(Owner), FDataLink(std::make_unique<TLayersComboBoxDataLink>()) {
    SetStyle(csDropDownList);
    FDataLink->SetLayersComboBox(this);
}

TLayersComboBox::~TLayersComboBox() {
    FDataLink->SetLayersComboBox(nullptr);
    FDataLink->SetMap(nullptr);
}

void TLayersComboBox::SetMap(TChartix* Value) {
    if (!Value) return;
    FDataLink->SetMap(Value);
}

void TLayersComboBox::AddItemsForExistingLayers() {
    if (!Map()) return;
    for (TMapLayer* Layer : Map()->Layers())
        if (Items().IndexOfObject(Layer) < 0) Items().AddObject(Layer->Name(), Layer);
}

TMapLayer* TLayersComboBox::GetCurrentLayer() const {
    TChartix* M = Map();
    if (!M || ItemIndex() < 0) return nullptr;
    // The item's own layer, not the one at the same place in the map's list:
    // after a move or an exchange the two differ, and the user chose by name.
    auto* Layer = static_cast<TMapLayer*>(Items().Objects(ItemIndex()));
    return M->Layers().IndexOf(Layer) >= 0 ? Layer : nullptr;
}

void TLayersComboBox::Refresh() {
    Invalidate();
    DeliverPaint();
}

} // namespace Mapobjects

#include "core/MapLayer.h"

#include "core/CoordinateSystems.h"
#include "core/CustomFormatProvider.h"
#include "core/GdalModule.h"
#include "core/MapObjects.h"
#include "core/Reproject.h"
#include "objects/Text.h"
#include "platform/Trace.h"

#include <algorithm>
#include <cstring>
#include <typeinfo>

namespace Mapobjects {

using namespace Platform;

TMapLayer::TMapLayer()
    : FDefaultBrush(std::make_unique<TBrush>()), FDefaultFont(std::make_unique<TFont>()),
      FDefaultPen(std::make_unique<TPen>()), FFields(std::make_unique<TDataFields>()),
      FAutoLabelFont(std::make_unique<TFont>()) {
    FIndex2D = std::make_unique<TIndexCell>(static_cast<TMapLayer*>(nullptr));
    FAutoLabelFont->SetName("Arial");
    FAutoLabelFont->SetSize(8);
}

TMapLayer::~TMapLayer() {
    if (FMap && FMap->OnBeforeDelLayer) {
        bool Dummy = true;
        FMap->OnBeforeDelLayer(FMap, this, false, Dummy);
    }
    FDestroying = true;
    FAutoLabelFont.reset();
    FDefaultFont.reset();
    FDefaultPen.reset();
    FDefaultBrush.reset();
    DeleteObjects();
    FFields.reset();
    FIndex2D.reset();
}

TCustomMapObject* TMapLayer::Objects(int Index) const {
    if (Index < 0 || Index >= ObjectCount()) ListIndexError(Index);
    return FObjects[static_cast<size_t>(Index)].get();
}

void TMapLayer::SetMap(TChartix* Map) {
    if (Map == FMap) return;
    if (FMap && !FMap->Destroying()) {
        // The map that loses the layer must not keep its objects listed.
        FMap->Selection().RemoveLayer(this);
        FMap->Displayed().RemoveIf(
            [this](const TCustomMapObject* O) { return O->Layer() == this; });
        FMap->DoUpdate(true);
    }
    FMap = Map;
    for (const auto& Object : FObjects)
        Object->SetMap(Map);
}

void TMapLayer::SetObjects(int Index, const TCustomMapObject* Object) {
    Objects(Index)->Assign(Object);
    FDirty = true;
}

TCustomMapObject* TMapLayer::NewObject(TMapObjectClass Class) {
    TCustomMapObject* Object = Class();
    AddObject(Object, false);
    return Object;
}

void TMapLayer::AddObject(std::unique_ptr<TCustomMapObject> Owned, bool Notify) {
    TCustomMapObject* Object = Owned.get();
    FObjects.push_back(std::move(Owned));
    FDirty = true;
    // The layer first: an object on a layer is never loose on the map.
    Object->SetLayer(this);
    Object->SetMap(FMap);
    // A row only where there are columns (or to empty one brought along).
    if (FFields->Count() > 0 || Object->HasRow()) {
        if (TDataFields* Row = Object->Row().List()) {
            // A field list handed out before stays that list: refilled, as
            // the collection's own Assign would, without its type tests.
            if (Row != FFields.get()) {
                Row->Clear();
                for (int I = 0; I < FFields->Count(); ++I)
                    FFields->GetFields(I)->AssignTo(Row->Add());
            }
        } else {
            if (!FRowColumns || !FRowColumns->Matches(*FFields))
                FRowColumns = TRowColumnsRef(std::make_unique<TRowColumns>(*FFields));
            Object->Row().MakeCompact(FRowColumns);
        }
    }
    IndexChanged();
    if (!FMap) return;
    const TChartixOptions& Options = FMap->Options();
    // Objects styled alike share the tools (a missing default is assigned,
    // and fails, as it always did).
    if (const TPen* P = Options.DefaultPen())
        Object->SharePen(FStyles.Pen(*P));
    else
        Object->Pen()->Assign(static_cast<const TPersistent*>(P));
    if (const TBrush* B = Options.DefaultBrush())
        Object->ShareBrush(FStyles.Brush(*B));
    else
        Object->Brush()->Assign(static_cast<const TPersistent*>(B));
    Object->SetUseBGColor(Options.UseBGColor());
    Object->SetBGColor(Options.DefaultBGColor());
    // A plain symbol (most objects of a point file) is told without a search.
    const bool IsText = typeid(*Object) != typeid(TSymbol) && dynamic_cast<TText*>(Object);
    const TFont* F = IsText ? Options.DefaultTextFont() : Options.DefaultSymbolFont();
    if (F)
        Object->ShareFont(FStyles.Font(*F));
    else
        Object->Font()->Assign(static_cast<const TPersistent*>(F));
    FMap->SetModified(true);
    if (Notify && FMap->OnAddObject) FMap->OnAddObject(FMap, Object);
    FMap->DataLinks().TraceMapEvent(mdlAddObject, this);
    // Painted at once only where the next rebuild would draw it too: what is
    // on the window is then what can be hit, and a hidden layer shows nothing.
    if (!FMap->InUpdate() && Drawn() && InView(*Object)) Object->Paint();
}

namespace {

// The entry of Object, looked for from the end: objects are mostly deleted
// last first.
template <class V> auto FindObject(V& Objects, const TCustomMapObject* Object) {
    auto It = std::find_if(Objects.rbegin(), Objects.rend(),
                           [Object](const auto& Entry) { return Entry.get() == Object; });
    return It == Objects.rend() ? Objects.end() : std::prev(It.base());
}

} // namespace

std::unique_ptr<TCustomMapObject> TMapLayer::RemoveObject(TCustomMapObject* Object) {
    auto It = FindObject(FObjects, Object);
    if (It == FObjects.end()) return nullptr;
    std::unique_ptr<TCustomMapObject> Owned = std::move(*It);
    FObjects.erase(It);
    Owned->SetLayer(nullptr);
    IndexChanged();
    FDirty = true;
    return Owned;
}

void TMapLayer::Unlink(TCustomMapObject* Object) {
    auto It = FindObject(FObjects, Object);
    if (It == FObjects.end()) return;
    (void)It->release(); // being destroyed by whoever deleted it
    FObjects.erase(It);
    IndexChanged();
    FDirty = true;
}

void TMapLayer::DeleteObject(int Index) {
    if (Index != -1) {
        TCustomMapObject* Object = Objects(Index);
        TChartix* Map = AskingMap();
        if (Map && Map->OnBeforeRemoveObject) Map->OnBeforeRemoveObject(Map, Object, true);
        // Handlers may have moved things: find the entry again if need be
        // (and leave it alone if one of them deleted it already).
        auto Locate = [&] {
            return Index < ObjectCount() && FObjects[static_cast<size_t>(Index)].get() == Object
                       ? FObjects.begin() + Index
                       : FindObject(FObjects, Object);
        };
        if (Locate() != FObjects.end()) {
            Object->BeforeDestruction(); // still whole, still on the layer
            auto It = Locate();
            if (It != FObjects.end()) {
                std::unique_ptr<TCustomMapObject> Owned = std::move(*It);
                FObjects.erase(It);
                Owned->FLayer = nullptr; // freed below, so never loose
                IndexChanged();
                FDirty = true;
            }
        }
        if (Map && Map->OnAfterRemoveObject) Map->OnAfterRemoveObject(Map);
    }
    if (FMap) FMap->DoUpdate(true);
}

TChartix* TMapLayer::AskingMap() const {
    return FMap && !FMap->Destroying() && !FDestroying ? FMap : nullptr;
}

// Linear in the number of objects: the selection and Displayed let go of
// all of them in one pass each; then each object, the last first, sends what
// a single deletion sends and is freed.
void TMapLayer::DeleteObjects() {
    TChartix* Asking = AskingMap();
    const bool Any = !FObjects.empty();
    // Every object is offered while all of them are whole and in place.
    if (Asking && Asking->OnBeforeRemoveObject)
        for (int I = ObjectCount() - 1; I >= 0; --I)
            if (I < ObjectCount())
                Asking->OnBeforeRemoveObject(Asking, FObjects[static_cast<size_t>(I)].get(), true);
    std::vector<std::unique_ptr<TCustomMapObject>> Objects;
    Objects.swap(FObjects);
    IndexChanged();
    if (Any) FDirty = true;
    TChartix* Map = FMap && !FMap->Destroying() ? FMap : nullptr;
    std::vector<char> WasSelected(Objects.size(), 0);
    if (Map) {
        TSelection& Selection = Map->Selection();
        for (size_t I = 0; I < Objects.size(); ++I) {
            Objects[I]->FDying = true;
            WasSelected[I] = Selection.Contains(Objects[I].get());
        }
        auto Dying = [](const TCustomMapObject* O) { return O->FDying; };
        Selection.RemoveIf(Dying);
        Map->Displayed().RemoveIf(Dying);
    }
    for (size_t I = Objects.size(); I-- > 0;) {
        TCustomMapObject* Object = Objects[I].get();
        Object->FLayer = nullptr; // already out of the list, and freed below
        if (Map && Object->Map() == Map) Object->AnnounceRemoval(WasSelected[I] != 0, this);
        Objects[I].reset();
    }
    if (Any && Asking && Asking->OnAfterRemoveObject) Asking->OnAfterRemoveObject(Asking);
    if (FMap) FMap->DoUpdate(true);
}

std::unique_ptr<TBrush> TMapLayer::SetDefaultBrush(std::unique_ptr<TBrush> V) {
    return ReplaceOwned(FDefaultBrush, std::move(V));
}
std::unique_ptr<TFont> TMapLayer::SetDefaultFont(std::unique_ptr<TFont> V) {
    return ReplaceOwned(FDefaultFont, std::move(V));
}
std::unique_ptr<TPen> TMapLayer::SetDefaultPen(std::unique_ptr<TPen> V) {
    return ReplaceOwned(FDefaultPen, std::move(V));
}
std::unique_ptr<TFont> TMapLayer::SetAutoLabelFontDefaultFont(std::unique_ptr<TFont> V) {
    return ReplaceOwned(FAutoLabelFont, std::move(V));
}
std::unique_ptr<TDataFields> TMapLayer::SetFields(std::unique_ptr<TDataFields> V) {
    FDirty = true;
    return ReplaceOwned(FFields, std::move(V));
}
std::unique_ptr<TIndexCell> TMapLayer::SetIndex2D(std::unique_ptr<TIndexCell> V) {
    return ReplaceOwned(FIndex2D, std::move(V));
}

void TMapLayer::SendEvent(int Event) {
    if (FMap) FMap->DataLinks().TraceMapEvent(static_cast<TMapDataLinkEvent>(Event), this);
}

void TMapLayer::SetVisible(bool Value) {
    // The selection lets go of the objects while they are still drawn, so
    // that their marks are erased at once.
    if (!Value && FMap) FMap->Selection().RemoveLayer(this);
    FVisible = Value;
    if (!Value) FEditable = false;
    if (FMap) FMap->DoUpdate(true);
    SendEvent(mdlLayerVisibleChanged);
}

void TMapLayer::SetEditable(bool Value) {
    FEditable = Value && FVisible;
    if (FEditable) {
        FSelectable = true;
        if (FMap)
            for (TMapLayer* Other : FMap->Layers())
                if (Other != this && Other->Editable()) Other->SetEditable(false);
    }
    SendEvent(mdlLayerEditableChanged);
}

void TMapLayer::SetSelectable(bool Value) {
    FSelectable = FEditable ? true : (Value && FVisible);
    if (!FSelectable && FMap) FMap->Selection().RemoveLayer(this);
    SendEvent(mdlLayerSelectableChanged);
}

void TMapLayer::SetAutoLabel(bool Value) {
    if (Value == FAutoLabel) return;
    FAutoLabel = Value;
    SendEvent(mdlLayerAutolabelChanged);
    if (FMap) FMap->DoUpdate(true);
}

void TMapLayer::SetLabelSettings(const TLabelSettings& V) {
    if (V == FLabelSettings) return;
    FLabelSettings = V;
    if (FMap) FMap->DoUpdate(true);
}

void TMapLayer::SetUseIndex2D(bool Value) {
    if (Value == FUseIndex2D) return;
    FUseIndex2D = Value;
    // An unbuilt index is loaded or built now; a built one is kept, and then
    // rebuilt at its next use if objects changed meanwhile.
    const bool Fresh = FIndex2D->NotBuilt();
    FIndex2D->SetLayer(Value ? this : nullptr);
    if (Value && Fresh) FIndexStale = false;
}

void TMapLayer::IndexChanged() {
    if (FDestroying) return;
    FIndexStale = true;
}

// The index is rebuilt lazily after objects came or went, so its ids always
// name objects of the current list.
void TMapLayer::EnsureIndex() {
    if (!FIndexStale) return;
    FIndexStale = false;
    FIndex2D->Clear();
    FIndex2D->InitRootCell();
    FIndex2D->Divide();
}

bool TMapLayer::Drawn() const {
    return FMap && FMap->Parent() && FVisible && ValidZoom();
}

bool TMapLayer::ValidZoom() const {
    if (FMinZoom == 0 && FMaxZoom == 0) return true;
    if (!FMap) return false;
    double Z = FMap->Zoom();
    return FMinZoom != 0 && FMaxZoom != 0 && FMinZoom <= Z && Z <= FMaxZoom;
}

namespace {

// The test that decides whether an object of a layer without index is drawn.
// An object without points shows nothing: listing it as drawn would let it be
// hit where its points go later, before any paint has shown them.
bool MayShowIn(TCustomMapObject& Obj, const TCellBounds& B) {
    const TBounds E = Obj.GetBounds();
    if (E.MinX > E.MaxX || E.MinY > E.MaxY) return false;
    return Obj.IntersectsRect(B.MinX, B.MinY, B.MaxX, B.MaxY) ||
           Obj.WithinRect(B.MinX, B.MinY, B.MaxX, B.MaxY) ||
           Obj.ContainsRect(B.MinX, B.MinY, B.MaxX, B.MaxY);
}

} // namespace

bool TMapLayer::InView(TCustomMapObject& Object) const {
    if (FMap->ClientWidth() <= 0 || FMap->ClientHeight() <= 0) return false;
    return MayShowIn(Object, Bounds2CellBounds(FMap->ViewBounds()));
}

bool TMapLayer::GetAllIdsInRect(const TCellBounds& B, TCardinalArray& Ids) {
    Ids.Clear();
    if (FUseIndex2D) {
        EnsureIndex();
        if (!FIndex2D->GetAllIdsInRect(B, Ids)) return false;
        for (int I = Ids.Count() - 1; I >= 0; --I) {
            std::uint32_t Id = Ids[I];
            if (Id >= static_cast<std::uint32_t>(ObjectCount())) {
                Ids.Remove(I);
                continue;
            }
            TCustomMapObject* Obj = FObjects[Id].get();
            if (!Obj->IntersectsRect(B.MinX, B.MinY, B.MaxX, B.MaxY) &&
                !Obj->WithinRect(B.MinX, B.MinY, B.MaxX, B.MaxY))
                Ids.Remove(I);
        }
        return true;
    }
    for (int I = 0; I < ObjectCount(); ++I) {
        if (MayShowIn(*FObjects[static_cast<size_t>(I)], B)) Ids.Add(static_cast<std::uint32_t>(I));
    }
    return Ids.Count() > 0;
}

void TMapLayer::Paint() {
    if (!Drawn()) return;
    // A map without a client area shows nothing (and has no view to query).
    if (FMap->ClientWidth() <= 0 || FMap->ClientHeight() <= 0) return;
    const TCellBounds View = Bounds2CellBounds(FMap->ViewBounds());
    if (!FUseIndex2D) {
        // Without an index every object is tested anyway: tested and drawn in
        // one pass, each object is fetched from memory once.
        for (size_t I = 0; I < FObjects.size(); ++I)
            if (MayShowIn(*FObjects[I], View)) FObjects[I]->Paint();
        return;
    }
    TCardinalArray Ids;
    if (GetAllIdsInRect(View, Ids))
        for (int I = 0; I < Ids.Count(); ++I)
            FObjects[Ids[I]]->Paint();
}

void TMapLayer::PaintSelection() {
    if (!Drawn() || !FMap->FastSelection()) return;
    TSelection& Sel = FMap->Selection();
    for (int I = 0; I < Sel.Count(); ++I)
        if (Sel.Get(I)->Layer() == this) Sel.Get(I)->DrawSelection();
}

void TMapLayer::Zoom() {
    TBounds B;
    for (const auto& Obj : FObjects)
        WidenByObject(B, *Obj);
    if (FMap) FMap->ZoomToExtent(B);
}

bool TMapLayer::LoadFromFile(const std::string& FileName, const std::string& Name) {
    if (!FormatProviders()) return false;
    TCustomFormatProvider* Provider = FormatProviders()->FindSuitableProvider(FileName);
    if (!Provider || !Provider->Load(this, FileName)) return false;
    Loaded(FileName, Name, nullptr);
    return true;
}

bool TMapLayer::SaveToFile(const std::string& FileName) {
    std::string Target = FileName.empty() ? FFileName : FileName;
    if (Target.empty() || !FormatProviders()) return false;
    TCustomFormatProvider* Provider = FormatProviders()->FindSuitableProvider(Target);
    if (!Provider) return false;
    if (FMap && FMap->isMapRotated()) FMap->UnRotate();
    if (!Provider->Save(this, Target)) return false;
    FDirty = false;
    return true;
}

namespace {
// The provider for Target, or null with Result saying why there is none.
TCustomFormatProvider* ProviderFor(const std::string& Target, TFileResult& Result) {
    Result.FileName = Target;
    TCustomFormatProvider* P =
        FormatProviders() ? FormatProviders()->FindSuitableProvider(Target) : nullptr;
    if (!P)
        Result.Message =
            "no format provider accepts " + ExtractFileName(Target) +
            (FormatProviders() ? "; accepted formats: " + FormatProviders()->AcceptedFormats()
                               : "");
    return P;
}
} // namespace

TFileResult TMapLayer::LoadFile(const std::string& FileName, const std::string& Name) {
    TFileResult Result;
    Result.FileName = FileName;
    if (!FileExists(SourceFileOf(FileName))) {
        Result.Message = "the file does not exist";
        return Result;
    }
    if (TCustomFormatProvider* P = ProviderFor(FileName, Result)) {
        Result = P->LoadFile(this, FileName);
        if (Result.Ok) Loaded(FileName, Name, &Result.Problems);
    }
    return Result;
}

TFileResult TMapLayer::SaveFile(const std::string& FileName) {
    TFileResult Result;
    const std::string Target = FileName.empty() ? FFileName : FileName;
    if (Target.empty()) {
        Result.Message = "the layer has no file name";
        return Result;
    }
    if (TCustomFormatProvider* P = ProviderFor(Target, Result)) {
        if (FMap && FMap->isMapRotated()) FMap->UnRotate();
        Result = P->SaveFile(this, Target);
        if (Result.Ok) FDirty = false;
    }
    return Result;
}

void TMapLayer::Loaded(const std::string& FileName, const std::string& Name,
                       TReadProblems* Problems) {
    FFileName = FileName;
    // One layer of a source of several is known by that layer's name.
    const std::string Layer = SourceLayerOf(FileName);
    FName = !Name.empty()    ? Name
            : !Layer.empty() ? Layer
                             : ChangeFileExt(ExtractFileName(FileName), "");
    FSourceCoordSys = FCoordSys;
    JoinMapCoordSys(Problems);
    // Brought into the map's system or not, the layer holds what the file says.
    FDirty = false;
}

void TMapLayer::JoinMapCoordSys(TReadProblems* Problems) {
    // A layer without a system (or a map without the module to read one)
    // is drawn in the numbers its file carries.
    if (!FMap || FCoordSys.empty()) return;
    const TCoordinateSystems* Systems = CoordinateSystems();
    if (!Systems || Systems->ToWkt(FCoordSys).empty()) return;
    const std::string& MapSystem = FMap->CoordSys();
    if (MapSystem.empty() || Systems->ToWkt(MapSystem).empty()) {
        if (MapSystem.empty()) FMap->SetCoordSys(FCoordSys);
        return;
    }
    if (!FMap->Options().ReprojectLayers() || Systems->Same(FCoordSys, MapSystem)) return;
    std::string Error;
    if (!TransformInto(MapSystem, Error, Problems)) {
        if (Problems)
            Problems->Add(FFileName, 0, Error + "; the layer is drawn as its file gives it");
        Trace("Layer \"%s\" not reprojected: %s", FName, Error);
    }
}

bool TMapLayer::TransformInto(const std::string& To, std::string& Error, TReadProblems* Problems) {
    const TCoordinateSystems* Systems = CoordinateSystems();
    if (!Systems) {
        Error = "coordinate systems need the GDAL module: " + GdalModuleProblem();
        return false;
    }
    if (FCoordSys.empty()) {
        Error = "the layer's coordinate system is not known";
        return false;
    }
    if (Systems->Same(FCoordSys, To)) {
        FCoordSys = To;
        return true;
    }
    std::unique_ptr<TCoordinateTransform> Transform = Systems->Transform(FCoordSys, To, Error);
    if (!Transform) return false;
    const std::vector<int> Failed = TransformObjects(*this, *Transform);
    // Objects that cannot be placed in the new system are left out rather
    // than kept in numbers that would mean another place there.
    if (!Failed.empty()) {
        const std::string Into = Systems->DisplayName(To);
        if (Problems)
            for (int Index : Failed)
                Problems->Add(FFileName, 0,
                              Format("object %d could not be transformed into %s and was left "
                                     "out",
                                     Index + 1, Into.empty() ? To : Into));
        std::unique_ptr<TUpdateBatch> Batch;
        if (FMap) Batch = std::make_unique<TUpdateBatch>(*FMap);
        for (auto It = Failed.rbegin(); It != Failed.rend(); ++It)
            DeleteObject(*It);
    }
    FCoordSys = To;
    return true;
}

bool TMapLayer::Reproject(const std::string& To, std::string& Error, TReadProblems* Problems) {
    // Everything that can refuse is asked before the map is touched.
    const TCoordinateSystems* Systems = CoordinateSystems();
    for (const std::string* Definition : {&To, static_cast<const std::string*>(&FCoordSys)})
        if (Systems && !Definition->empty() && Systems->ToWkt(*Definition).empty()) {
            Error = "the coordinate system '" + *Definition + "' is not understood";
            return false;
        }
    if (!Systems || FCoordSys.empty()) return TransformInto(To, Error, Problems);
    std::unique_ptr<TUpdateBatch> Batch;
    if (FMap) {
        // Rotated numbers are no place in any system: the data turn back first.
        if (FMap->isMapRotated()) FMap->UnRotate();
        Batch = std::make_unique<TUpdateBatch>(*FMap);
    }
    if (!TransformInto(To, Error, Problems)) return false;
    FDirty = true;
    return true;
}

size_t TMapLayer::MemoryUsed() const {
    size_t N = sizeof(*this) + FObjects.capacity() * sizeof(void*);
    for (const auto& Obj : FObjects)
        N += Obj->MemoryUsed();
    return N;
}

// --- the layer list --------------------------------------------------------------

TMapLayers::~TMapLayers() {
    Clear();
}

void TMapLayers::SetMap(TChartix* Map) {
    FMap = Map;
    for (TMapLayer* Layer : *this)
        Layer->SetMap(Map);
}

void TMapLayers::Notify(TMapLayer* Layer, TListNotification Action) {
    // A layer in the list is the map's; one handed out is nobody's. A layer
    // about to be freed keeps its map: its destructor still tells it.
    if (Action == lnAdded)
        Layer->SetMap(FMap);
    else if (Action == lnExtracted)
        Layer->SetMap(nullptr);
}

namespace {
// Tells the host, then the links, that Layer joined Map's list.
void AnnounceAdded(TChartix* Map, TMapLayer* Layer) {
    if (!Map) return;
    if (Map->OnAddLayer) Map->OnAddLayer(Map, Layer);
    Map->DataLinks().TraceMapEvent(mdlAfterAddLayer, Layer);
}
} // namespace

TMapLayer* TMapLayers::Add(const std::string& FileName, const std::string& Name) {
    auto Owned = std::make_unique<TMapLayer>();
    Owned->SetName(Name);
    TMapLayer* Layer = TOwnerList::Add(std::move(Owned));
    std::string Full = FileName.empty() ? std::string() : ExpandFileName(FileName);
    if (!Full.empty() && FileExists(SourceFileOf(Full)))
        Layer->LoadFromFile(Full, Name);
    else
        Trace("File \"%s\" does not exists!", Full);
    AnnounceAdded(FMap, Layer);
    return Layer;
}

TMapLayer* TMapLayers::Add(const std::string& FileName, const std::string& Name,
                           TFileResult& Result) {
    // Read before it joins the list: a file that cannot be read adds nothing.
    auto Owned = std::make_unique<TMapLayer>();
    Owned->SetName(Name);
    Owned->SetMap(FMap);
    Result = Owned->LoadFile(FileName.empty() ? FileName : ExpandFileName(FileName), Name);
    if (!Result.Ok) return nullptr;
    TMapLayer* Layer = TOwnerList::Add(std::move(Owned));
    AnnounceAdded(FMap, Layer);
    return Layer;
}

TMapLayer* TMapLayers::Insert(const std::string& FileName, int Index) {
    TMapLayer* Layer = TOwnerList::Insert(Index, std::make_unique<TMapLayer>());
    if (!FileName.empty()) {
        if (FileExists(SourceFileOf(FileName)))
            Layer->LoadFromFile(FileName, "");
        else
            Trace("File \"%s\" does not exists!", FileName);
    }
    if (FMap && FMap->OnAddLayer) FMap->OnAddLayer(FMap, Layer);
    return Layer;
}

void TMapLayers::Delete(int Index) {
    TMapLayer* Layer = Get(Index);
    bool AllowDelete = true;
    if (FMap && FMap->OnBeforeDelLayer) FMap->OnBeforeDelLayer(FMap, Layer, true, AllowDelete);
    if (!AllowDelete) return;
    if (FMap) FMap->DataLinks().TraceMapEvent(mdlDelLayer, Layer);
    TOwnerList::Delete(Index);
    if (FMap) FMap->DoUpdate(true);
    if (FMap && FMap->OnAfterDelLayer) FMap->OnAfterDelLayer(FMap);
    if (FMap) FMap->DataLinks().TraceMapEvent(mdlAfterDelLayer, this);
}

void TMapLayers::Clear() {
    TOwnerList::Clear();
    if (FMap) FMap->DoUpdate(true);
}

void TMapLayers::Move(int CurIndex, int NewIndex) {
    TOwnerList::Move(CurIndex, NewIndex);
    if (FMap) FMap->DoUpdate(true);
    if (FMap) FMap->DataLinks().TraceMapEvent(mdlMoveLayer, Get(NewIndex));
}

void TMapLayers::Exchange(int Index1, int Index2) {
    TOwnerList::Exchange(Index1, Index2);
    if (FMap) FMap->DoUpdate(true);
    if (FMap) FMap->DataLinks().TraceMapEvent(mdlExchangeLayer, this);
}

TMapLayer* TMapLayers::Search(const std::string& Name) const {
    for (TMapLayer* Layer : *this)
        if (SameText(Layer->Name(), Name)) return Layer;
    return nullptr;
}

TMapLayer* TMapLayers::GetEditableLayer() const {
    if (!FMap) return nullptr;
    for (TMapLayer* Layer : *this)
        if (Layer->Editable()) return Layer;
    return nullptr;
}

} // namespace Mapobjects

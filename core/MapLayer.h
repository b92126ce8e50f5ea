#pragma once
// Layers: each owns its objects, its attribute field list, its spatial index
// and its default styles. The layer list keeps them in drawing order, index 0
// at the bottom.

#include "../index/IndexCell.h"
#include "../objects/DataFields.h"
#include "../objects/MapObject.h"
#include "../platform/Graphics.h"
#include "ChartixExport.h"
#include "CustomFormatProvider.h"
#include "MapStyle.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Mapobjects {

class TChartix;

/// What a format provider keeps about the form of the file a layer was read
/// from (line ends, header lines, layout), so that saving the layer writes the
/// file back alike. Each provider derives its own.
class CHARTIX_EXPORT TLayerFileForm {
public:
    virtual ~TLayerFileForm() = default;
};

class CHARTIX_EXPORT TMapLayer : public Platform::TPersistent {
public:
    TMapLayer();
    ~TMapLayer() override;
    TMapLayer(const TMapLayer&) = delete;
    TMapLayer& operator=(const TMapLayer&) = delete;

    // --- objects -----------------------------------------------------------
    int ObjectCount() const { return static_cast<int>(FObjects.size()); }
    int GetObjectCount() const { return ObjectCount(); }
    TCustomMapObject* Objects(int Index) const; ///< EListError outside the list
    TCustomMapObject* GetObjects(int Index) const { return Objects(Index); }
    /// Copies Object into the object at Index.
    void SetObjects(int Index, const TCustomMapObject* Object);
    TCustomMapObject* NewObject(TMapObjectClass Class);
    template <class T> T* NewObject() { return static_cast<T*>(NewObject(&MapObjectClassOf<T>)); }
    /// Takes ownership; styles, announces and (outside an update) paints it.
    void AddObject(std::unique_ptr<TCustomMapObject> Object, bool Notify);
    void AddObject(TCustomMapObject* Object, bool Notify) {
        AddObject(std::unique_ptr<TCustomMapObject>(Object), Notify);
    }
    /// Room for Count objects in all, so that adding many in a row (a file
    /// being read) does not move the list again and again.
    void ReserveObjects(int Count) { FObjects.reserve(static_cast<size_t>(std::max(Count, 0))); }
    /// Takes the object out of the layer without announcing anything and hands
    /// it to the caller (null when it is not on the layer). It keeps its map,
    /// so freeing it later still announces its removal; a map that goes first
    /// clears the object's link to it, so the object may outlive the map.
    std::unique_ptr<TCustomMapObject> RemoveObject(TCustomMapObject* Object);
    /// Both announce each removal while the object is whole (its kind can
    /// still be asked and its marks erased), then free it. On a map, each
    /// object to go is first offered to OnBeforeRemoveObject (informational:
    /// the deletion is the caller's decision), and OnAfterRemoveObject follows
    /// once the request is done. A layer's own end sends neither: the layer
    /// events tell of it.
    void DeleteObject(int Index);
    void DeleteObjects();
    TCustomMapObject* First() const { return Objects(0); }
    TCustomMapObject* Last() const { return Objects(ObjectCount() - 1); }

    // --- properties --------------------------------------------------------
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& V) { FFileName = V; }
    /// The character set and the coordinate system clause of the file the
    /// layer was read from, kept so that saving writes them back; empty for a
    /// layer made in code.
    const std::string& Charset() const { return FCharset; }
    void SetCharset(const std::string& V) { FCharset = V; }
    const std::string& CoordSys() const { return FCoordSys; }
    void SetCoordSys(const std::string& V) { FCoordSys = V; }
    /// The form of the file the layer was read from; null for a layer made in
    /// code or read by a provider that keeps none.
    const TLayerFileForm* FileForm() const { return FFileForm.get(); }
    void SetFileForm(std::unique_ptr<TLayerFileForm> V) { FFileForm = std::move(V); }
    Platform::TBrush* DefaultBrush() const { return FDefaultBrush.get(); }
    Platform::TFont* DefaultFont() const { return FDefaultFont.get(); }
    Platform::TPen* DefaultPen() const { return FDefaultPen.get(); }
    Platform::TFont* AutoLabelFont() const { return FAutoLabelFont.get(); }
    std::unique_ptr<Platform::TBrush> SetDefaultBrush(std::unique_ptr<Platform::TBrush> V);
    std::unique_ptr<Platform::TFont> SetDefaultFont(std::unique_ptr<Platform::TFont> V);
    std::unique_ptr<Platform::TPen> SetDefaultPen(std::unique_ptr<Platform::TPen> V);
    std::unique_ptr<Platform::TFont>
    SetAutoLabelFontDefaultFont(std::unique_ptr<Platform::TFont> V);
    TChartix* Map() const { return FMap; }
    /// Binds the layer and its objects to a map; a map it leaves lets go of
    /// its objects (selection and Displayed).
    void SetMap(TChartix* Map);
    bool Editable() const { return FEditable; }
    void SetEditable(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool GetSelectable() const { return FSelectable && FVisible; }
    bool Selectable() const { return GetSelectable(); }
    void SetSelectable(bool Value);
    const std::string& Name() const { return FName; }
    void SetName(const std::string& V) { FName = V; }
    TDataFields& Fields() const { return *FFields; }
    std::unique_ptr<TDataFields> SetFields(std::unique_ptr<TDataFields> V);
    bool AutoLabel() const { return FAutoLabel; }
    void SetAutoLabel(bool Value);
    int Tag() const { return FTag; }
    void SetTag(int V) { FTag = V; }
    double MaxZoom() const { return FMaxZoom; }
    void SetMaxZoom(double V) { FMaxZoom = V; }
    double MinZoom() const { return FMinZoom; }
    void SetMinZoom(double V) { FMinZoom = V; }
    int LabelFieldIndex() const { return FLabelFieldIndex; }
    void SetLabelFieldIndex(int V) { FLabelFieldIndex = V; }
    bool UseIndex2D() const { return FUseIndex2D; }
    void SetUseIndex2D(bool Value);
    TIndexCell& Index2D() const { return *FIndex2D; }
    std::unique_ptr<TIndexCell> SetIndex2D(std::unique_ptr<TIndexCell> V);
    /// The style a workspace gives the layer; not in force until given one
    /// whose InForce is set.
    const TMapStyle& WorkspaceStyle() const { return FWorkspaceStyle; }
    bool HasWorkspaceStyle() const { return FWorkspaceStyle.InForce; }
    void SetWorkspaceStyle(const TMapStyle& Style) { FWorkspaceStyle = Style; }

    // --- behaviour ---------------------------------------------------------
    bool ValidZoom() const;
    /// Whether the layer is part of the map's picture now: on a map shown in a
    /// window, visible and in its zoom range. Only such a layer paints, shows
    /// selection marks, or has objects that can be hit.
    bool Drawn() const;
    void Paint();
    void PaintSelection();
    void Zoom();
    bool GetAllIdsInRect(const TCellBounds& B, TCardinalArray& Ids);
    /// Both clear Modified when they succeed.
    bool LoadFromFile(const std::string& FileName, const std::string& Name);
    bool SaveToFile(const std::string& FileName);
    /// LoadFromFile with the outcome in one result (TCustomFormatProvider's
    /// LoadFile): never throws, shows no message.
    TFileResult LoadFile(const std::string& FileName, const std::string& Name = {});
    /// SaveToFile the same way; an empty FileName saves to FileName().
    TFileResult SaveFile(const std::string& FileName = {});
    /// Unsaved changes: objects added or removed, the columns replaced, or an
    /// attribute edited through a companion control since the last load or
    /// save. Not the map's Modified, which only says its picture is stale.
    bool Modified() const { return FDirty; }
    void SetModified(bool Value) { FDirty = Value; }
    /// Marks the spatial index stale; it is rebuilt at its next use. Adding or
    /// deleting objects does this by itself; call it after moving points.
    void IndexChanged();

    /// Approximate heap bytes owned by the layer's objects.
    size_t MemoryUsed() const;

private:
    friend class TCustomMapObject;
    // What a successful load sets: the file, the name, and no changes.
    void Loaded(const std::string& FileName, const std::string& Name);
    /// Drops the entry of an object that is being destroyed directly.
    void Unlink(TCustomMapObject* Object);
    void SendEvent(int Event);
    void EnsureIndex();
    /// The map to offer deletions to: none while the map or the layer goes.
    TChartix* AskingMap() const;
    /// Whether the layer's painting would draw Object at the current view.
    bool InView(TCustomMapObject& Object) const;

    std::vector<std::unique_ptr<TCustomMapObject>> FObjects;
    std::string FFileName;
    std::string FCharset;
    std::string FCoordSys;
    std::unique_ptr<TLayerFileForm> FFileForm;
    std::unique_ptr<Platform::TBrush> FDefaultBrush;
    std::unique_ptr<Platform::TFont> FDefaultFont;
    std::unique_ptr<Platform::TPen> FDefaultPen;
    TChartix* FMap = nullptr;
    bool FEditable = false;
    bool FVisible = true;
    bool FSelectable = true;
    std::string FName;
    std::unique_ptr<TDataFields> FFields;
    /// The columns the last compact rows were made from, shared with them;
    /// made again when FFields no longer matches.
    TRowColumnsRef FRowColumns;
    bool FAutoLabel = false;
    int FTag = 0;
    double FMaxZoom = 0;
    double FMinZoom = 0;
    int FLabelFieldIndex = 0;
    std::unique_ptr<Platform::TFont> FAutoLabelFont;
    bool FUseIndex2D = false;
    bool FIndexStale = false;
    bool FDirty = false;
    std::unique_ptr<TIndexCell> FIndex2D;
    TMapStyle FWorkspaceStyle;
    bool FDestroying = false;
    /// The default styles the objects added last share.
    Platform::TStylePool FStyles;
};

/// The layer list: owns its layers, in drawing order. A layer that enters it
/// is bound to the list's map; one handed out (SetLayer, Extract) leaves it.
class CHARTIX_EXPORT TMapLayers : public Platform::TOwnerList<TMapLayer> {
public:
    ~TMapLayers() override;
    TChartix* Map() const { return FMap; }
    /// Binds the list and every layer in it.
    void SetMap(TChartix* Map);
    TMapLayer* GetLayer(int Index) const { return Get(Index); }
    /// Puts Layer at Index and hands the layer that was there back.
    std::unique_ptr<TMapLayer> SetLayer(int Index, std::unique_ptr<TMapLayer> Layer) {
        return Put(Index, std::move(Layer));
    }
    TMapLayer* Layers(int Index) const { return Get(Index); }
    /// Besides the operations below, the plain list ones: Add or Insert of a
    /// layer made elsewhere, SetLayer and Extract. They bind and unbind but
    /// announce nothing.
    using TOwnerList::Add;
    using TOwnerList::Insert;

    /// A new layer at the end, loaded from FileName when it can be (named
    /// Name, or after the file): the layer is added and announced even when
    /// the file cannot be read.
    TMapLayer* Add(const std::string& FileName, const std::string& Name);
    /// Add that tells the caller: when the file cannot be read, no layer is
    /// added, null is returned and Result says why.
    TMapLayer* Add(const std::string& FileName, const std::string& Name, TFileResult& Result);
    TMapLayer* Insert(const std::string& FileName, int Index);
    void Delete(int Index);
    /// Frees the layers from index 0 upward; each leaves the list first.
    void Clear() override;
    void Move(int CurIndex, int NewIndex);
    void Exchange(int Index1, int Index2);
    TMapLayer* Search(const std::string& Name) const;
    TMapLayer* GetEditableLayer() const;

protected:
    void Notify(TMapLayer* Layer, Platform::TListNotification Action) override;

private:
    TChartix* FMap = nullptr;
};

} // namespace Mapobjects

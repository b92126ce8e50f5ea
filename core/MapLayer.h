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
#include "LabelSettings.h"
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

/// A layer of a map: owns map objects of any kind in drawing order, with their attribute
/// columns, a spatial index, and what it keeps of the file they were read from.
class CHARTIX_EXPORT TMapLayer : public Platform::TPersistent {
public:
    TMapLayer();
    ~TMapLayer() override;
    TMapLayer(const TMapLayer&) = delete;
    TMapLayer& operator=(const TMapLayer&) = delete;

    // --- objects -----------------------------------------------------------
    /// The number of objects on the layer.
    ///@{
    int ObjectCount() const { return static_cast<int>(FObjects.size()); }
    int GetObjectCount() const { return ObjectCount(); }
    ///@}
    TCustomMapObject* Objects(int Index) const; ///< EListError outside the list
    /// Objects(Index): the object at Index, in drawing order; EListError outside the list.
    TCustomMapObject* GetObjects(int Index) const { return Objects(Index); }
    /// Copies Object into the object at Index.
    void SetObjects(int Index, const TCustomMapObject* Object);
    /// Makes an object of Class and adds it to the layer as AddObject does, without
    /// OnAddObject; the layer owns it.
    TCustomMapObject* NewObject(TMapObjectClass Class);
    /// Makes an object of kind T and adds it, as NewObject(Class).
    template <class T> T* NewObject() { return static_cast<T*>(NewObject(&MapObjectClassOf<T>)); }
    /// Takes ownership; styles, announces and (outside an update) paints it. The style
    /// comes from the map's Options; OnAddObject fires only when Notify is set, while
    /// data links always hear mdlAddObject.
    void AddObject(std::unique_ptr<TCustomMapObject> Object, bool Notify);
    /// The same for an object given by pointer, which the layer then owns.
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
    /// events tell of it. DeleteObject takes the object at Index (EListError outside
    /// the list; an Index of -1 deletes nothing), DeleteObjects every object, the last
    /// first. Both schedule a repaint.
    ///@{
    void DeleteObject(int Index);
    void DeleteObjects();
    ///@}
    /// The first and the last object; EListError when the layer is empty.
    ///@{
    TCustomMapObject* First() const { return Objects(0); }
    TCustomMapObject* Last() const { return Objects(ObjectCount() - 1); }
    ///@}

    // --- properties --------------------------------------------------------
    /// The file the layer was last loaded from; a successful load sets it, and saving
    /// without a file name writes to it.
    ///@{
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& V) { FFileName = V; }
    ///@}
    /// The character set of the file the layer was read from, kept so that
    /// saving writes it back; empty for a layer made in code.
    ///@{
    const std::string& Charset() const { return FCharset; }
    void SetCharset(const std::string& V) { FCharset = V; }
    ///@}
    /// The coordinate system the objects' numbers are in: a MapInfo "CoordSys ..." clause,
    /// WKT, "EPSG:n" or a PROJ string; empty when unknown. Loading sets the file's own, or
    /// the map's when the objects were brought into it; saving writes it. Setting it only
    /// stores it (Reproject moves the objects).
    ///@{
    const std::string& CoordSys() const { return FCoordSys; }
    void SetCoordSys(const std::string& V) { FCoordSys = V; }
    ///@}
    /// The coordinate system of the file the layer was last loaded from, as the file gave
    /// it, whether or not the objects were brought into the map's; empty for a layer made
    /// in code. Reproject(SourceCoordSys()) before saving writes the file's own system.
    const std::string& SourceCoordSys() const { return FSourceCoordSys; }
    /// Moves every object into the coordinate system To (see TransformObjects), then sets
    /// CoordSys to To, marks the layer modified and repaints the map once; on a rotated
    /// map the rotation is undone first, as saving does. Objects some point of which
    /// cannot be transformed are left out, each reported in Problems when given. False,
    /// with Error set and the layer unchanged, when To or the layer's own system is not
    /// understood, no way between them is known, or the GDAL module is not found.
    bool Reproject(const std::string& To, std::string& Error, TReadProblems* Problems = nullptr);
    /// The form of the file the layer was read from; null for a layer made in
    /// code or read by a provider that keeps none. The layer owns it.
    ///@{
    const TLayerFileForm* FileForm() const { return FFileForm.get(); }
    void SetFileForm(std::unique_ptr<TLayerFileForm> V) { FFileForm = std::move(V); }
    ///@}
    /// Drawing tools kept with the layer and owned by it. The library does not apply
    /// them: objects added to the layer take the map's Options.
    ///@{
    Platform::TBrush* DefaultBrush() const { return FDefaultBrush.get(); }
    Platform::TFont* DefaultFont() const { return FDefaultFont.get(); }
    Platform::TPen* DefaultPen() const { return FDefaultPen.get(); }
    ///@}
    /// The font of the labels AutoLabel draws (Arial, 8, by default); owned by the layer.
    Platform::TFont* AutoLabelFont() const { return FAutoLabelFont.get(); }
    /// Replace a drawing tool or the label font: the layer takes V and hands the old one
    /// back.
    ///@{
    std::unique_ptr<Platform::TBrush> SetDefaultBrush(std::unique_ptr<Platform::TBrush> V);
    std::unique_ptr<Platform::TFont> SetDefaultFont(std::unique_ptr<Platform::TFont> V);
    std::unique_ptr<Platform::TPen> SetDefaultPen(std::unique_ptr<Platform::TPen> V);
    std::unique_ptr<Platform::TFont>
    SetAutoLabelFontDefaultFont(std::unique_ptr<Platform::TFont> V);
    ///@}
    /// The map the layer belongs to; null for a layer on no map.
    TChartix* Map() const { return FMap; }
    /// Binds the layer and its objects to a map; a map it leaves lets go of
    /// its objects (selection and Displayed).
    void SetMap(TChartix* Map);
    /// Whether the layer's objects may be edited (off by default). Only a visible layer
    /// can be made editable; it then becomes selectable too, and the map's other layers
    /// stop being editable. Setting sends mdlLayerEditableChanged.
    ///@{
    bool Editable() const { return FEditable; }
    void SetEditable(bool Value);
    ///@}
    /// Whether the layer is drawn (on by default). Hiding it deselects its objects and
    /// ends its editing; setting schedules a repaint and sends mdlLayerVisibleChanged.
    ///@{
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    ///@}
    /// Whether clicks can select the layer's objects: never while the layer is hidden,
    /// always while it is editable. Turning it off deselects the layer's objects;
    /// setting sends mdlLayerSelectableChanged.
    ///@{
    bool GetSelectable() const { return FSelectable && FVisible; }
    bool Selectable() const { return GetSelectable(); }
    void SetSelectable(bool Value);
    ///@}
    /// The layer's name, for people; a load without a name gives the file's base name.
    ///@{
    const std::string& Name() const { return FName; }
    void SetName(const std::string& V) { FName = V; }
    ///@}
    /// The attribute columns of the layer's objects.
    TDataFields& Fields() const { return *FFields; }
    /// Replaces the columns (V must not be null), hands the old list back and marks the
    /// layer modified.
    std::unique_ptr<TDataFields> SetFields(std::unique_ptr<TDataFields> V);
    /// Whether each object in view gets a label: its value in the LabelFieldIndex column,
    /// in AutoLabelFont, placed by LabelSettings (off by default). Setting a new value sends
    /// mdlLayerAutolabelChanged and schedules a repaint.
    ///@{
    bool AutoLabel() const { return FAutoLabel; }
    void SetAutoLabel(bool Value);
    ///@}
    /// A number free for the caller's use (0 by default).
    ///@{
    int Tag() const { return FTag; }
    void SetTag(int V) { FTag = V; }
    ///@}
    /// The range of the map's zoom in which the layer is drawn (see ValidZoom); both 0,
    /// the default, means at any zoom.
    ///@{
    double MaxZoom() const { return FMaxZoom; }
    void SetMaxZoom(double V) { FMaxZoom = V; }
    double MinZoom() const { return FMinZoom; }
    void SetMinZoom(double V) { FMinZoom = V; }
    ///@}
    /// The column AutoLabel draws, by position in Fields (0 by default).
    ///@{
    int LabelFieldIndex() const { return FLabelFieldIndex; }
    void SetLabelFieldIndex(int V) { FLabelFieldIndex = V; }
    ///@}
    /// Where AutoLabel puts the labels, whether they may cover one another, and their halo
    /// (centred, overlapping, without halo by default). Setting new ones schedules a repaint.
    ///@{
    const TLabelSettings& LabelSettings() const { return FLabelSettings; }
    void SetLabelSettings(const TLabelSettings& V);
    ///@}
    /// Whether painting and GetAllIdsInRect go through the spatial index (off by
    /// default). Turning it on reads the index from the layer's ".idx" file, or builds
    /// it, if it is not built yet.
    ///@{
    bool UseIndex2D() const { return FUseIndex2D; }
    void SetUseIndex2D(bool Value);
    ///@}
    /// The layer's spatial index; always present, used only with UseIndex2D.
    TIndexCell& Index2D() const { return *FIndex2D; }
    /// Replaces the spatial index (V must not be null) and hands the old one back.
    std::unique_ptr<TIndexCell> SetIndex2D(std::unique_ptr<TIndexCell> V);
    /// The style a workspace gives the layer; not in force until given one
    /// whose InForce is set.
    const TMapStyle& WorkspaceStyle() const { return FWorkspaceStyle; }
    /// Whether a workspace style is in force on the layer.
    bool HasWorkspaceStyle() const { return FWorkspaceStyle.InForce; }
    /// Gives the layer a workspace style, which the MapInfo provider's later loads apply
    /// while its InForce is set.
    void SetWorkspaceStyle(const TMapStyle& Style) { FWorkspaceStyle = Style; }

    // --- behaviour ---------------------------------------------------------
    /// Whether the map's zoom lies in the layer's range: always when MinZoom and MaxZoom
    /// are both 0; otherwise only on a map, with both set and MinZoom <= zoom <= MaxZoom
    /// (a range with one end 0 hides the layer).
    bool ValidZoom() const;
    /// Whether the layer is part of the map's picture now: on a map shown in a
    /// window, visible and in its zoom range. Only such a layer paints, shows
    /// selection marks, or has objects that can be hit.
    bool Drawn() const;
    /// Draws the objects that may show in the view (found through the index with
    /// UseIndex2D); nothing unless the layer is Drawn.
    void Paint();
    /// Draws the selection marks of the layer's selected objects; only when the layer
    /// is Drawn and the map uses fast selection.
    void PaintSelection();
    /// Centres and zooms the map on the joint extent of the layer's objects; nothing
    /// without a map or objects with points.
    void Zoom();
    /// Replaces Ids with the positions of the objects that may show in B. With
    /// UseIndex2D: the index's candidates that intersect or lie within B, and false
    /// only when the index has none. Without: the objects that intersect, lie within or
    /// contain B, and false when there are none.
    bool GetAllIdsInRect(const TCellBounds& B, TCardinalArray& Ids);
    /// Loads the file through the first enabled provider that accepts it; false when
    /// there is none or its Load fails (exceptions of the provider pass through). On
    /// success sets FileName, Name (or the file's base name) and clears Modified.
    bool LoadFromFile(const std::string& FileName, const std::string& Name);
    /// Saves through the provider that accepts the name, to FileName() when FileName is
    /// empty, turning a rotated map back first; false without a name or a provider, or
    /// when its Save fails. Clears Modified on success.
    bool SaveToFile(const std::string& FileName);
    /// LoadFromFile with the outcome in one result (TCustomFormatProvider's
    /// LoadFile): never throws, shows no message.
    TFileResult LoadFile(const std::string& FileName, const std::string& Name = {});
    /// SaveToFile the same way; an empty FileName saves to FileName().
    TFileResult SaveFile(const std::string& FileName = {});
    /// Unsaved changes: objects added or removed, the columns replaced, or an
    /// attribute edited through a companion control since the last load or
    /// save. Not the map's Modified, which only says its picture is stale.
    ///@{
    bool Modified() const { return FDirty; }
    void SetModified(bool Value) { FDirty = Value; }
    ///@}
    /// Marks the spatial index stale; it is rebuilt at its next use. Adding or
    /// deleting objects does this by itself; call it after moving points.
    void IndexChanged();

    /// Approximate heap bytes owned by the layer's objects.
    size_t MemoryUsed() const;

private:
    friend class TCustomMapObject;
    // What a successful load sets: the file, the name, the source system,
    // the objects in the map's system (problems met there go to Problems),
    // and no changes.
    void Loaded(const std::string& FileName, const std::string& Name, TReadProblems* Problems);
    // Brings a layer just loaded into the map's coordinate system, or gives
    // the map the layer's when it has none.
    void JoinMapCoordSys(TReadProblems* Problems);
    // Reproject without undoing a rotation or repainting.
    bool TransformInto(const std::string& To, std::string& Error, TReadProblems* Problems);
    // Drops the entry of an object that is being destroyed directly.
    void Unlink(TCustomMapObject* Object);
    void SendEvent(int Event);
    void EnsureIndex();
    // The map to offer deletions to: none while the map or the layer goes.
    TChartix* AskingMap() const;
    // Whether the layer's painting would draw Object at the current view.
    bool InView(TCustomMapObject& Object) const;

    std::vector<std::unique_ptr<TCustomMapObject>> FObjects;
    std::string FFileName;
    std::string FCharset;
    std::string FCoordSys;
    std::string FSourceCoordSys;
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
    // The columns the last compact rows were made from, shared with them;
    // made again when FFields no longer matches.
    TRowColumnsRef FRowColumns;
    bool FAutoLabel = false;
    int FTag = 0;
    double FMaxZoom = 0;
    double FMinZoom = 0;
    int FLabelFieldIndex = 0;
    std::unique_ptr<Platform::TFont> FAutoLabelFont;
    TLabelSettings FLabelSettings;
    bool FUseIndex2D = false;
    bool FIndexStale = false;
    bool FDirty = false;
    std::unique_ptr<TIndexCell> FIndex2D;
    TMapStyle FWorkspaceStyle;
    bool FDestroying = false;
    // The default styles the objects added last share.
    Platform::TStylePool FStyles;
};

/// The layer list: owns its layers, in drawing order. A layer that enters it
/// is bound to the list's map; one handed out (SetLayer, Extract) leaves it.
class CHARTIX_EXPORT TMapLayers : public Platform::TOwnerList<TMapLayer> {
public:
    ~TMapLayers() override;
    /// The map the list belongs to; setting it binds every layer in the list to it.
    ///@{
    TChartix* Map() const { return FMap; }
    void SetMap(TChartix* Map);
    ///@}
    /// The layer at Index; EListError outside the list.
    TMapLayer* GetLayer(int Index) const { return Get(Index); }
    /// Puts Layer at Index and hands the layer that was there back.
    std::unique_ptr<TMapLayer> SetLayer(int Index, std::unique_ptr<TMapLayer> Layer) {
        return Put(Index, std::move(Layer));
    }
    /// The layer at Index, as GetLayer.
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
    /// A new, empty layer at Index (EListError outside 0..Count), then loaded from
    /// FileName when that file exists; fires OnAddLayer but sends no data link event.
    TMapLayer* Insert(const std::string& FileName, int Index);
    /// Frees the layer at Index, unless OnBeforeDelLayer keeps it: sends mdlDelLayer
    /// first, then schedules a repaint, fires OnAfterDelLayer and sends mdlAfterDelLayer.
    void Delete(int Index);
    /// Frees the layers from index 0 upward; each leaves the list first.
    void Clear() override;
    /// Moves the layer at CurIndex to NewIndex, schedules a repaint and sends mdlMoveLayer.
    void Move(int CurIndex, int NewIndex);
    /// Swaps two layers, schedules a repaint and sends mdlExchangeLayer.
    void Exchange(int Index1, int Index2);
    /// The first layer named Name, ignoring case; null for none.
    TMapLayer* Search(const std::string& Name) const;
    /// The editable layer (a map has at most one); null for none or without a map.
    TMapLayer* GetEditableLayer() const;

protected:
    /// Binds a layer that enters the list to the list's map, and unbinds one handed out.
    void Notify(TMapLayer* Layer, Platform::TListNotification Action) override;

private:
    TChartix* FMap = nullptr;
};

} // namespace Mapobjects

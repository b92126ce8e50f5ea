#pragma once
// The map control: the whole state of one map view, its view transform
// between map units and client pixels (with the data rotation), its painting
// through an off-screen bitmap, and the routing of input to the active tool.

#include "../objects/Bounds.h"
#include "../platform/Bitmap.h"
#include "../platform/Controls.h"
#include "ChartixExport.h"
#include "ChartixOptions.h"
#include "DataLinks.h"
#include "Events.h"
#include "LabelPlacer.h"
#include "MapLayer.h"
#include "MapTools.h"
#include "ScreenTransform.h"
#include "Selection.h"
#include "Substrates.h"

#include <memory>
#include <string>
#include <unordered_set>

namespace Mapobjects {

/// Widens B by one object as zooming to objects counts it: a lone point by its
/// coordinates, anything else by its kept extent.
CHARTIX_EXPORT void WidenByObject(TBounds& B, const TCustomMapObject& Obj);

class TReadProblems;

/// The map control: shows the layers of one map in a window through an off-screen
/// bitmap, keeps the view (centre, zoom, rotation) and the selection, and passes mouse
/// and keyboard input to the active map tool.
class CHARTIX_EXPORT TChartix : public Platform::TCustomControl {
public:
    /// An empty map, 100 pixels square, over the world extent -180..180 by -90..90 at
    /// zoom 1, with empty parts and default options.
    explicit TChartix(Platform::TComponent* Owner);
    /// Frees the layers and their objects without announcing each; data links, tools and
    /// loose objects that outlive the map are told to forget it.
    ~TChartix() override;

    // --- world extent, centre and zoom -------------------------------------
    /// The world extent, in map units (-180..180 by -90..90 by default): at zoom 1 its
    /// width spans the client width. Setting an edge schedules a repaint.
    ///@{
    double MinX() const { return FMinX; }
    double MaxY() const { return FMaxY; }
    double MaxX() const { return FMaxX; }
    double MinY() const { return FMinY; }
    void SetMinX(double V);
    void SetMaxY(double V);
    void SetMaxX(double V);
    void SetMinY(double V);
    ///@}
    /// The map point shown at the centre of the client area, in map units. Setting it
    /// schedules a repaint.
    ///@{
    double CenterX() const { return FCenterX; }
    double CenterY() const { return FCenterY; }
    void SetCenterX(double V);
    void SetCenterY(double V);
    ///@}
    /// The magnification against the world extent (1: its width fills the window).
    /// Setting 0, a value that is not finite or the current value does nothing; any
    /// other value schedules a repaint and fires OnZoom.
    ///@{
    double Zoom() const { return FZoom; }
    void SetZoom(double Value);
    ///@}
    /// The range the mouse wheel zooms within (0.01 to 100 by default); SetZoom does not
    /// enforce it.
    ///@{
    double MaxZoom() const { return FMaxZoom; }
    void SetMaxZoom(double V) { FMaxZoom = V; }
    double MinZoom() const { return FMinZoom; }
    void SetMinZoom(double V) { FMinZoom = V; }
    ///@}

    // --- coordinate system -------------------------------------------------
    /// The coordinate system the map's numbers are in (any form TCoordinateSystems reads);
    /// empty, the default, until set or taken from the first layer loaded with a known one.
    /// Layers loaded later with another known system are brought into it; layers with none
    /// are drawn as their files give them.
    const std::string& CoordSys() const { return FCoordSys; }
    /// Stores the system. Layers already on the map whose own system is known and differs
    /// are reprojected into it (TMapLayer::Reproject), and the view is moved to show the same
    /// place at the same width; all in one repaint. A layer that cannot be reprojected keeps
    /// its numbers and its system; raster backgrounds stay where they were placed.
    void SetCoordSys(const std::string& Definition);

    // --- owned parts -------------------------------------------------------
    /// The layer list, in drawing order (index 0 at the bottom).
    TMapLayers& Layers() const { return *FLayers; }
    /// The selected objects, in the order they were selected.
    TSelection& Selection() const { return *FSelection; }
    /// The objects drawn by the last rebuild of the picture, which hit testing searches.
    TMapObjectsList& Displayed() const { return *FDisplayed; }
    /// The observers attached to the map (not owned by it).
    TMapDataLinks& DataLinks() const { return *FDataLinks; }
    /// The raster backgrounds drawn under the layers.
    TSubstrates& Substrates() const { return *FSubstrates; }
    /// The map tools attached to the map, of which at most one is active.
    TMapToolsManager& MapToolsManager() const { return *FMapToolsManager; }
    /// The drawing defaults given to objects added to the map's layers.
    TChartixOptions& Options() const { return *FOptions; }
    /// The boxes of the labels drawn since the last full repaint, which labels that must
    /// not overlap keep clear of.
    TLabelPlacer& LabelPlacer() const { return *FLabelPlacer; }
    /// The 8 x 8 brush pattern that selection highlights are filled with; may be null.
    Platform::TBitmap* SelectionPattern() const { return FSelectionPattern.get(); }
    /// Replacing an owned part hands the previous one back to the caller, cut loose from
    /// the map so that it may be kept or freed at any time. Null stands for a new, empty
    /// part (the selection pattern alone may be null).
    ///@{
    std::unique_ptr<TMapLayers> SetLayers(std::unique_ptr<TMapLayers> V);
    std::unique_ptr<TSelection> SetSelection(std::unique_ptr<TSelection> V);
    std::unique_ptr<TMapObjectsList> SetDisplayed(std::unique_ptr<TMapObjectsList> V);
    std::unique_ptr<TMapDataLinks> SetDataLinks(std::unique_ptr<TMapDataLinks> V);
    std::unique_ptr<Platform::TBitmap> SetSelectionPattern(std::unique_ptr<Platform::TBitmap> V);
    std::unique_ptr<TMapToolsManager> SetMapToolsManager(std::unique_ptr<TMapToolsManager> V);
    std::unique_ptr<TChartixOptions> SetOptions(std::unique_ptr<TChartixOptions> V);
    ///@}

    // --- flags -------------------------------------------------------------
    /// Whether an update is in progress: repaints wait until it ends. SetInUpdate only
    /// sets the flag; BeginUpdate and EndUpdate are the usual way.
    ///@{
    bool InUpdate() const { return FInUpdate; }
    void SetInUpdate(bool V) { FInUpdate = V; }
    ///@}
    /// Quick drawing: each part of a region is filled as a polygon of its own, so holes
    /// fill over (off by default). Setting schedules a repaint.
    ///@{
    bool EasyDraw() const { return FEasyDraw; }
    void SetEasyDraw(bool V);
    ///@}
    /// Whether lines and rings are thinned on screen: a point within GeneralizationLevel
    /// pixels, in X and in Y, of the last one kept is dropped (on by default).
    /// Setting a new value schedules a repaint.
    ///@{
    bool UseGeneralization() const { return FUseGeneralization; }
    void SetUseGeneralization(bool V);
    ///@}
    /// The thinning distance of UseGeneralization, in pixels (1 by default). Setting a
    /// new value schedules a repaint.
    ///@{
    int GeneralizationLevel() const { return FGeneralizationLevel; }
    void SetGeneralizationLevel(int V);
    ///@}
    /// Whether selected objects are drawn highlighted (on by default). Setting a new
    /// value schedules a repaint.
    ///@{
    bool ShowSelection() const { return FShowSelection; }
    void SetShowSelection(bool V);
    ///@}
    /// On (the default), selection marks are drawn over the picture at once as the
    /// selection changes; off, each change repaints the map. Setting a new value
    /// schedules a repaint.
    ///@{
    bool FastSelection() const { return FFastSelection; }
    void SetFastSelection(bool V);
    ///@}
    /// Off (the default), a click hits a region or polyline anywhere in its
    /// bounding box; on, only inside the region's rings or within
    /// HitTolerancePixels of a line (PreciseHit.h).
    ///@{
    bool PreciseHitTest() const { return FPreciseHitTest; }
    void SetPreciseHitTest(bool V) { FPreciseHitTest = V; }
    ///@}
    /// How far from a line, in pixels, a click still hits it under PreciseHitTest.
    static constexpr int HitTolerancePixels = 3;
    /// True while the picture is being rebuilt; drawing then goes to the map bitmap.
    ///@{
    bool IsBusy() const { return FIsBusy; }
    void SetIsBusy(bool V) { FIsBusy = V; }
    ///@}
    /// Whether the picture is stale and is rebuilt at the next paint; every change to
    /// what the map shows sets it. Not the layers' unsaved changes (TMapLayer::Modified).
    ///@{
    bool Modified() const { return FModified; }
    void SetModified(bool V) { FModified = V; }
    ///@}
    /// Whether the mouse wheel zooms (on by default): a turn up doubles the zoom, down
    /// halves it, within MinZoom and MaxZoom.
    ///@{
    bool WheelMouse() const { return FWheelMouse; }
    void SetWheelMouse(bool V) { FWheelMouse = V; }
    ///@}
    /// The point the wheel zooms about (wmCenter by default).
    ///@{
    TWheelMouseZoomType ZoomType() const { return FZoomType; }
    void SetZoomType(TWheelMouseZoomType V) { FZoomType = V; }
    ///@}
    /// How many of the topmost layers SelectObjectAt passes over (0 by default); with a
    /// positive count the selection is also cleared first.
    ///@{
    int CtrlClickCount() const { return FCtrlClickCount; }
    void SetCtrlClickCount(int V) { FCtrlClickCount = V; }
    ///@}
    /// Set while a text fits its size to its font, so that the font change this makes
    /// does not start another fitting.
    ///@{
    bool TextSizing() const { return FTextSizing; }
    void SetTextSizing(bool V) { FTextSizing = V; }
    ///@}
    /// True while the map is being destroyed; its parts then stop announcing changes.
    bool Destroying() const { return FDestroying; }
    /// Lists (Loose) or forgets an object that refers to this map without
    /// being on one of its layers; the map's end clears their links.
    void LooseObject(TCustomMapObject* Object, bool Loose);

    // --- view transform ----------------------------------------------------
    /// Converts the client pixel (X, Y) to map units; EZeroDivide when the world extent
    /// is degenerate or the control has no width.
    void ScreenToMap(int X, int Y, double& MX, double& MY) const;
    /// Converts a map point to client pixels, rounded half to even; EZeroDivide as
    /// ScreenToMap. With Clip, a point outside the view is put just outside the client
    /// area (-1, or the width or height), and one that does not fit an int gives (0, 0);
    /// without, a far point is pinned at about 2^30 pixels, keeping its direction.
    void MapToScreen(double MX, double MY, int& X, int& Y, bool Clip) const {
        // Inline without Clip: drawing converts a point per symbol this way.
        if (Clip) return MapToScreenClipped(MX, MY, X, Y);
        const double K = Scale();
        if (K == 0) ZeroScale();
        const Platform::TPoint P = TScreenTransform(ClientWidth() / 2.0, ClientHeight() / 2.0,
                                                    FCenterX, FCenterY, K)(MX, MY);
        X = P.X;
        Y = P.Y;
    }
    /// The part of the map the client area shows, in map units.
    ///@{
    TBounds GetViewBounds() const;
    TBounds ViewBounds() const { return GetViewBounds(); }
    ///@}
    /// Pixels per map unit; EZeroDivide when the world extent is degenerate.
    double Scale() const {
        // Inline while nothing it depends on changed: drawing asks per object.
        const TScaleMemo& M = FScaleMemo;
        if (M.Width == Width() && M.MinX == FMinX && M.MaxX == FMaxX && M.MinY == FMinY &&
            M.MaxY == FMaxY && M.Zoom == FZoom)
            return M.K;
        return NewScale();
    }
    /// The client area is the whole control: final, so that drawing reads it without a call.
    ///@{
    int ClientWidth() const final { return Width(); }
    int ClientHeight() const final { return Height(); }
    ///@}

    /// Centres the view on B and, when B has width and height, zooms so that
    /// it fills the world extent's scale (zoom to a layer or the selection).
    void ZoomToExtent(const TBounds& B);
    /// The extent of every layer's objects together (a lone point by its
    /// coordinates); empty (MinX > MaxX) when there is nothing.
    TBounds DataExtent() const;
    /// Centres the view on all the layers' data and zooms so that all of it
    /// shows in the window with Margin to spare (1.03: 3 %), in one repaint.
    /// Nothing changes when there is no data.
    void FitView(double Margin = 1.03);
    /// Opens a MapInfo workspace as layers of this map, through the reader
    /// the formats registered; the second form also tells the tables it
    /// skipped or could not load. EFOpenError when the workspace cannot be
    /// read, or when no reader is registered.
    ///@{
    void LoadWOR(const std::string& FileName);
    void LoadWOR(const std::string& FileName, TReadProblems& Problems);
    ///@}
    /// A reader of workspace files for LoadWOR (Problems may be null).
    using TWorkspaceReader = void (*)(TChartix& Map, const std::string& FileName,
                                      TReadProblems* Problems);
    /// Sets the reader LoadWOR uses; the library's own registers itself at
    /// start-up.
    static void SetWorkspaceReader(TWorkspaceReader Reader);

    // --- rotation of the data ----------------------------------------------
    /// Where the point (X, Y) of the rotated data lies in the data unrotated; the point
    /// itself when the map is not rotated.
    void RotatedToNormal(double X, double Y, double& NX, double& NY) const;
    /// Where the point (X, Y) of the unrotated data lies once rotated; the point itself
    /// when the map is not rotated.
    void NormalToRotated(double X, double Y, double& RX, double& RY) const;
    /// The point (X, Y) turned as Rotate turns the data: by -RotationAngle degrees
    /// about the rotation centre.
    ///@{
    double RotateX(double X, double Y) const;
    double RotateY(double X, double Y) const;
    ///@}
    /// The point (X, Y) turned back: by +RotationAngle degrees about the rotation centre.
    ///@{
    double UnRotateX(double X, double Y) const;
    double UnRotateY(double X, double Y) const;
    ///@}
    /// Whether the data are rotated (RotationAngle is not 0).
    ///@{
    bool GetisMapRotated() const { return FRotationAngle != 0; }
    bool isMapRotated() const { return GetisMapRotated(); }
    ///@}
    /// The angle the data are turned by, in degrees; 0 when not rotated.
    double RotationAngle() const { return FRotationAngle; }
    /// Turns the points of every object by -Angle degrees about (X, Y), after turning
    /// back any earlier rotation, and schedules a repaint; an Angle of 0 only turns
    /// back. Nothing when the map is already rotated so.
    void RotateMap(double X, double Y, double Angle);
    /// Applies the forward rotation to the points of every object, updating their
    /// extents and marking the layers' indexes stale. Used by RotateMap and UnRotate.
    void Rotate();
    /// Turns the data back and clears the rotation, without a repaint; false when there
    /// was nothing to undo. Saving a layer does this first.
    bool UnRotate();

    // --- painting ----------------------------------------------------------
    /// Rebuilds the picture in the map bitmap: fills it with the control's colour, draws
    /// the substrates and then the layers from index 0 (refilling Displayed), with
    /// progress events per layer, places the labels that must not overlap, then fires
    /// OnUpdate and OnPaint.
    void PaintMapToBitmap();
    /// Copies the map bitmap to the canvas and draws the selection marks over it (fast
    /// selection).
    void PaintBitmapToMapCanvas();
    /// Copies the current picture, at the control's size, into Bitmap.
    void AssignToBitmap(Platform::TBitmap* Bitmap);
    /// The map bitmap's canvas while it is being rebuilt, else the window's.
    ///@{
    Platform::TCanvas* GetCanvas() const;
    Platform::TCanvas* Canvas() const { return GetCanvas(); }
    ///@}
    /// The map bitmap's canvas, whether or not a rebuild is running.
    ///@{
    Platform::TCanvas* GetMapCanvas() const { return FMapBitmap->Canvas(); }
    Platform::TCanvas* MapCanvas() const { return GetMapCanvas(); }
    ///@}
    /// The off-screen bitmap that holds the picture; owned by the map.
    Platform::TBitmap* MapBitmap() const { return FMapBitmap.get(); }
    /// Starts an update: repaints wait until EndUpdate. A flag, not a counter.
    void BeginUpdate() { FInUpdate = true; }
    /// Ends an update; with Redraw, marks the picture stale and asks for a repaint.
    void EndUpdate(bool Redraw);
    /// Marks the picture stale and, outside an update, asks the window to repaint.
    /// Value is not used.
    void DoUpdate(bool Value = true);
    /// Runs the paint handler at once on the window surface and presents it.
    void PaintNow();
    /// Fire OnStartProgress, OnShowProgress and OnStopProgress, when assigned, with the
    /// map as the sender.
    ///@{
    void StartProgress(int Min, int Max, const std::string& Title);
    void ShowProgress(int Progress);
    void StopProgress();
    ///@}

    // --- selection ---------------------------------------------------------
    /// Hit testing asks the objects that the window shows (Displayed), layers
    /// from the top down and within a layer the object drawn last first, so
    /// that what is hit is what the user sees on top. CtrlClickCount topmost
    /// layers are skipped. A miss clears the selection. With Single the object hit
    /// becomes the only one selected; without, it is added, or removed when it was
    /// selected already.
    void SelectObjectAt(double X, double Y, bool Single);
    /// Adds every object at the map point (X, Y), on every layer that can be hit, to
    /// the selection (emptied first with ClearFirst). Fires the progress events around
    /// the search.
    void SelectObjectsAt(double X, double Y, bool ClearFirst);
    /// Does a click at map point (X, Y) hit Object, by the rule PreciseHitTest
    /// chooses?
    bool HitsObject(TCustomMapObject& Object, double X, double Y) const;

    // --- platform control overrides ----------------------------------------
    /// Moves and sizes the control, as the base control does.
    void SetBounds(int Left, int Top, int Width, int Height) override;
    /// Takes the focus and passes the press to the active map tool.
    void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                   int Y) override;
    /// Passes the move to the active map tool.
    void MouseMove(Platform::TShiftState Shift, int X, int Y) override;
    /// Passes the release to the active map tool.
    void MouseUp(Platform::TMouseButton Button, Platform::TShiftState Shift, int X, int Y) override;
    /// Takes the focus and passes the double click to the active map tool.
    void DblClick() override;
    /// Pass the key to the active map tool first, then to the base control.
    ///@{
    void KeyDown(std::uint16_t& Key, Platform::TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, Platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    ///@}
    /// Zooms in or out one step, as WheelMouse and ZoomType say, in one repaint.
    void MouseWheel(Platform::TShiftState Shift, int Delta, int X, int Y) override;
    /// True: the map covers its whole area itself, so nothing is erased.
    bool EraseBackground() override { return true; }
    /// Asks for the arrow keys, Tab and character keys, so that map tools get them.
    int GetDialogCode() const override { return 0x83; }

    // --- events ------------------------------------------------------------
    /// A layer was added by the layer list's Add or Insert of a file (the plain list
    /// operations send nothing).
    TAddLayerEvent OnAddLayer;
    /// An object was added to a layer with Notify set.
    TAddObjectEvent OnAddObject;
    /// A layer is about to go: from the layer list's Delete (ConfirmDelete true; clear
    /// AllowDelete to keep it), or from the layer's destructor (ConfirmDelete false,
    /// the answer ignored).
    TDelLayerEvent OnBeforeDelLayer;
    /// An object is about to be deleted from its layer (DeleteObject, DeleteObjects);
    /// for information only, the deletion goes ahead.
    TRemoveObjectEvent OnBeforeRemoveObject;
    /// An object was selected (OnAddSelection) or deselected (OnDelSelection).
    ///@{
    TAddSelectionEvent OnAddSelection, OnDelSelection;
    ///@}
    /// The picture was rebuilt, or the selection changed in fast-selection mode.
    TNotifyEvent OnUpdate;
    /// Progress of a long task of the map (a repaint, a file being read): its start
    /// with the range, each step, and its end. The sender is the map.
    ///@{
    TStartProgressEvent OnStartProgress;
    TNotifyEvent OnStopProgress;
    TShowProgressEvent OnShowProgress;
    ///@}
    /// The layer list's Delete has freed a layer.
    TNotifyEvent OnAfterDelLayer;
    /// A DeleteObject or DeleteObjects request of a layer is done.
    TNotifyEvent OnAfterRemoveObject;
    /// An object is leaving the map; the sender is the object, still whole.
    TNotifyEvent OnDeleteObject;
    /// The active map tool changed (sender: the map).
    TNotifyEvent OnMapToolChanged;
    /// The picture was rebuilt (OnPaint), or the zoom changed (OnZoom).
    ///@{
    TNotifyEvent OnPaint, OnZoom;
    ///@}

protected:
    /// Shows the picture in the window, rebuilding it first when it is stale; nothing
    /// during an update.
    void Paint() override;
    /// Marks the picture stale, to be rebuilt at the new size.
    void Resize() override;

private:
    double FMinX = -180;
    double FMaxY = 90;
    double FMaxX = 180;
    double FMinY = -90;
    bool FInUpdate = false;
    double FCenterY = 0;
    double FCenterX = 0;
    std::unique_ptr<TMapLayers> FLayers;
    double FZoom = 1.0;
    // Scale() of the last call and what it was computed from: drawing asks
    // once per object, and the division is not free.
    // Scale's inputs when it was last worked out (a degenerate extent is
    // never kept: it throws first).
    struct TScaleMemo {
        int Width = -1;
        double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0, Zoom = 0, K = 0;
    };
    double NewScale() const;
    void MapToScreenClipped(double MX, double MY, int& X, int& Y) const;
    [[noreturn]] static void ZeroScale();
    mutable TScaleMemo FScaleMemo;
    bool FEasyDraw = false;
    std::unique_ptr<TSelection> FSelection;
    std::unique_ptr<TMapObjectsList> FDisplayed;
    int FCtrlClickCount = 0;
    std::unique_ptr<TMapDataLinks> FDataLinks;
    std::unique_ptr<Platform::TBitmap> FMapBitmap;
    double FMaxZoom = 100;
    double FMinZoom = 0.01;
    std::unique_ptr<TSubstrates> FSubstrates;
    bool FUseGeneralization = true;
    int FGeneralizationLevel = 1;
    bool FShowSelection = true;
    bool FIsBusy = false;
    bool FWheelMouse = true;
    bool FFastSelection = true;
    bool FPreciseHitTest = false;
    std::unique_ptr<Platform::TBitmap> FSelectionPattern;
    std::unique_ptr<TMapToolsManager> FMapToolsManager;
    std::unique_ptr<TChartixOptions> FOptions;
    std::unique_ptr<TLabelPlacer> FLabelPlacer;
    bool FModified = false;
    double FRotationAngle = 0;
    double FRotationCenterX = 0, FRotationCenterY = 0;
    double FSinF = 0, FCosF = 0; // forward: sin and cos of -angle
    double FSinI = 0, FCosI = 0; // inverse: sin and cos of +angle
    TWheelMouseZoomType FZoomType = wmCenter;
    bool FTextSizing = false;
    bool FFirstPaint = true;
    bool FDestroying = false;
    std::unordered_set<TCustomMapObject*> FLooseObjects;
    std::string FCoordSys;
};

/// A batch of changes of the map's own making: painting is suspended for it
/// and the map repaints once at its end. Inside an update that the host began,
/// the batch leaves that update alone (it is a flag, not a counter) and only
/// marks the map stale for the repaint that will end it.
class CHARTIX_EXPORT TUpdateBatch {
public:
    /// Begins an update on Map unless one is in progress already.
    explicit TUpdateBatch(TChartix& Map) : FMap(Map), FOwn(!Map.InUpdate()) {
        if (FOwn) FMap.BeginUpdate();
    }
    ~TUpdateBatch() {
        if (FOwn)
            FMap.EndUpdate(true);
        else
            FMap.DoUpdate(true);
    }
    TUpdateBatch(const TUpdateBatch&) = delete;
    TUpdateBatch& operator=(const TUpdateBatch&) = delete;

private:
    TChartix& FMap;
    bool FOwn;
};

} // namespace Mapobjects

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
#include "MapLayer.h"
#include "MapTools.h"
#include "Selection.h"
#include "Substrates.h"

#include <memory>
#include <unordered_set>

namespace Mapobjects {

/// Widens B by one object as zooming to objects counts it: a lone point by its
/// coordinates, anything else by its kept extent.
CHARTIX_EXPORT void WidenByObject(TBounds& B, const TCustomMapObject& Obj);

class TReadProblems;

class CHARTIX_EXPORT TChartix : public Platform::TCustomControl {
public:
    explicit TChartix(Platform::TComponent* Owner);
    ~TChartix() override;

    // --- world extent, centre and zoom -------------------------------------
    double MinX() const { return FMinX; }
    double MaxY() const { return FMaxY; }
    double MaxX() const { return FMaxX; }
    double MinY() const { return FMinY; }
    void SetMinX(double V);
    void SetMaxY(double V);
    void SetMaxX(double V);
    void SetMinY(double V);
    double CenterX() const { return FCenterX; }
    double CenterY() const { return FCenterY; }
    void SetCenterX(double V);
    void SetCenterY(double V);
    double Zoom() const { return FZoom; }
    void SetZoom(double Value);
    double MaxZoom() const { return FMaxZoom; }
    void SetMaxZoom(double V) { FMaxZoom = V; }
    double MinZoom() const { return FMinZoom; }
    void SetMinZoom(double V) { FMinZoom = V; }

    // --- owned parts -------------------------------------------------------
    TMapLayers& Layers() const { return *FLayers; }
    TSelection& Selection() const { return *FSelection; }
    TMapObjectsList& Displayed() const { return *FDisplayed; }
    TMapDataLinks& DataLinks() const { return *FDataLinks; }
    TSubstrates& Substrates() const { return *FSubstrates; }
    TMapToolsManager& MapToolsManager() const { return *FMapToolsManager; }
    TChartixOptions& Options() const { return *FOptions; }
    Platform::TBitmap* SelectionPattern() const { return FSelectionPattern.get(); }
    /// Replacing an owned part hands the previous one back to the caller.
    std::unique_ptr<TMapLayers> SetLayers(std::unique_ptr<TMapLayers> V);
    std::unique_ptr<TSelection> SetSelection(std::unique_ptr<TSelection> V);
    std::unique_ptr<TMapObjectsList> SetDisplayed(std::unique_ptr<TMapObjectsList> V);
    std::unique_ptr<TMapDataLinks> SetDataLinks(std::unique_ptr<TMapDataLinks> V);
    std::unique_ptr<Platform::TBitmap> SetSelectionPattern(std::unique_ptr<Platform::TBitmap> V);
    std::unique_ptr<TMapToolsManager> SetMapToolsManager(std::unique_ptr<TMapToolsManager> V);
    std::unique_ptr<TChartixOptions> SetOptions(std::unique_ptr<TChartixOptions> V);

    // --- flags -------------------------------------------------------------
    bool InUpdate() const { return FInUpdate; }
    void SetInUpdate(bool V) { FInUpdate = V; }
    bool EasyDraw() const { return FEasyDraw; }
    void SetEasyDraw(bool V);
    bool UseGeneralization() const { return FUseGeneralization; }
    void SetUseGeneralization(bool V);
    int GeneralizationLevel() const { return FGeneralizationLevel; }
    void SetGeneralizationLevel(int V);
    bool ShowSelection() const { return FShowSelection; }
    void SetShowSelection(bool V);
    bool FastSelection() const { return FFastSelection; }
    void SetFastSelection(bool V);
    /// Off (the default), a click hits a region or polyline anywhere in its
    /// bounding box; on, only inside the region's rings or within
    /// HitTolerancePixels of a line (PreciseHit.h).
    bool PreciseHitTest() const { return FPreciseHitTest; }
    void SetPreciseHitTest(bool V) { FPreciseHitTest = V; }
    static constexpr int HitTolerancePixels = 3;
    bool IsBusy() const { return FIsBusy; }
    void SetIsBusy(bool V) { FIsBusy = V; }
    bool Modified() const { return FModified; }
    void SetModified(bool V) { FModified = V; }
    bool WheelMouse() const { return FWheelMouse; }
    void SetWheelMouse(bool V) { FWheelMouse = V; }
    TWheelMouseZoomType ZoomType() const { return FZoomType; }
    void SetZoomType(TWheelMouseZoomType V) { FZoomType = V; }
    int CtrlClickCount() const { return FCtrlClickCount; }
    void SetCtrlClickCount(int V) { FCtrlClickCount = V; }
    bool TextSizing() const { return FTextSizing; }
    void SetTextSizing(bool V) { FTextSizing = V; }
    bool Destroying() const { return FDestroying; }
    /// Lists (Loose) or forgets an object that refers to this map without
    /// being on one of its layers; the map's end clears their links.
    void LooseObject(TCustomMapObject* Object, bool Loose);

    // --- view transform ----------------------------------------------------
    void ScreenToMap(int X, int Y, double& MX, double& MY) const;
    void MapToScreen(double MX, double MY, int& X, int& Y, bool Clip) const;
    TBounds GetViewBounds() const;
    TBounds ViewBounds() const { return GetViewBounds(); }
    /// Pixels per map unit; EZeroDivide when the world extent is degenerate.
    double Scale() const;

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
    void LoadWOR(const std::string& FileName);
    void LoadWOR(const std::string& FileName, TReadProblems& Problems);
    /// A reader of workspace files for LoadWOR (Problems may be null).
    using TWorkspaceReader = void (*)(TChartix& Map, const std::string& FileName,
                                      TReadProblems* Problems);
    /// Sets the reader LoadWOR uses; the library's own registers itself at
    /// start-up.
    static void SetWorkspaceReader(TWorkspaceReader Reader);

    // --- rotation of the data ----------------------------------------------
    void RotatedToNormal(double X, double Y, double& NX, double& NY) const;
    void NormalToRotated(double X, double Y, double& RX, double& RY) const;
    double RotateX(double X, double Y) const;
    double RotateY(double X, double Y) const;
    double UnRotateX(double X, double Y) const;
    double UnRotateY(double X, double Y) const;
    bool GetisMapRotated() const { return FRotationAngle != 0; }
    bool isMapRotated() const { return GetisMapRotated(); }
    double RotationAngle() const { return FRotationAngle; }
    void RotateMap(double X, double Y, double Angle);
    void Rotate();
    bool UnRotate();

    // --- painting ----------------------------------------------------------
    void PaintMapToBitmap();
    void PaintBitmapToMapCanvas();
    void AssignToBitmap(Platform::TBitmap* Bitmap);
    /// The map bitmap's canvas while it is being rebuilt, else the window's.
    Platform::TCanvas* GetCanvas() const;
    Platform::TCanvas* Canvas() const { return GetCanvas(); }
    Platform::TCanvas* GetMapCanvas() const { return FMapBitmap->Canvas(); }
    Platform::TCanvas* MapCanvas() const { return GetMapCanvas(); }
    Platform::TBitmap* MapBitmap() const { return FMapBitmap.get(); }
    void BeginUpdate() { FInUpdate = true; }
    void EndUpdate(bool Redraw);
    void DoUpdate(bool Value = true);
    /// Runs the paint handler at once on the window surface and presents it.
    void PaintNow();
    /// The map's progress events (sender: the map).
    void StartProgress(int Min, int Max, const std::string& Title);
    void ShowProgress(int Progress);
    void StopProgress();

    // --- selection ---------------------------------------------------------
    /// Hit testing asks the objects that the window shows (Displayed), layers
    /// from the top down and within a layer the object drawn last first, so
    /// that what is hit is what the user sees on top. CtrlClickCount topmost
    /// layers are skipped. A miss clears the selection.
    void SelectObjectAt(double X, double Y, bool Single);
    void SelectObjectsAt(double X, double Y, bool ClearFirst);
    /// Does a click at map point (X, Y) hit Object, by the rule PreciseHitTest
    /// chooses?
    bool HitsObject(TCustomMapObject& Object, double X, double Y) const;

    // --- platform control overrides ----------------------------------------
    void SetBounds(int Left, int Top, int Width, int Height) override;
    void MouseDown(Platform::TMouseButton Button, Platform::TShiftState Shift, int X,
                   int Y) override;
    void MouseMove(Platform::TShiftState Shift, int X, int Y) override;
    void MouseUp(Platform::TMouseButton Button, Platform::TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void KeyDown(std::uint16_t& Key, Platform::TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, Platform::TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseWheel(Platform::TShiftState Shift, int Delta, int X, int Y) override;
    bool EraseBackground() override { return true; }
    int GetDialogCode() const override { return 0x83; }

    // --- events ------------------------------------------------------------
    TAddLayerEvent OnAddLayer;
    TAddObjectEvent OnAddObject;
    TDelLayerEvent OnBeforeDelLayer;
    TRemoveObjectEvent OnBeforeRemoveObject;
    TAddSelectionEvent OnAddSelection, OnDelSelection;
    TNotifyEvent OnUpdate;
    TStartProgressEvent OnStartProgress;
    TNotifyEvent OnStopProgress;
    TShowProgressEvent OnShowProgress;
    TNotifyEvent OnAfterDelLayer;
    TNotifyEvent OnAfterRemoveObject;
    TNotifyEvent OnDeleteObject;
    TNotifyEvent OnMapToolChanged;
    TNotifyEvent OnPaint, OnZoom;

protected:
    void Paint() override;
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
    bool FModified = false;
    double FRotationAngle = 0;
    double FRotationCenterX = 0, FRotationCenterY = 0;
    double FSinF = 0, FCosF = 0; ///< forward: sin and cos of -angle
    double FSinI = 0, FCosI = 0; ///< inverse: sin and cos of +angle
    TWheelMouseZoomType FZoomType = wmCenter;
    bool FTextSizing = false;
    bool FFirstPaint = true;
    bool FDestroying = false;
    std::unordered_set<TCustomMapObject*> FLooseObjects;
};

/// A batch of changes of the map's own making: painting is suspended for it
/// and the map repaints once at its end. Inside an update that the host began,
/// the batch leaves that update alone (it is a flag, not a counter) and only
/// marks the map stale for the repaint that will end it.
class CHARTIX_EXPORT TUpdateBatch {
public:
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

#pragma once
// The viewer's main window: the map in a Qt host, a toolbar choosing the
// active tool (navigation, drawing, text) and the layer that drawing goes
// to, and a status bar with the map coordinates under the pointer and the
// zoom. Ctrl+S saves the layer drawn on. The window owns the map and its
// tools.

#include "core/MapObjects.h"
#include "platform/QtHost.h"
#include "tools/StdMapTools.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;

namespace Apps {
class TMessagePrinter;
class TProgressPrinter;
} // namespace Apps

namespace Viewer {

class TViewerWindow : public QMainWindow {
public:
    enum TToolKind {
        tkSelect,
        tkZoomIn,
        tkZoomOut,
        tkPan,
        tkLine,
        tkRect,
        tkPolyline,
        tkRegion,
        tkSymbol,
        tkCircle,
        tkText,
        ToolCount
    };

    // MapWidth x MapHeight: the map's client size when the window opens.
    TViewerWindow(int MapWidth, int MapHeight);
    ~TViewerWindow() override;

    Mapobjects::TChartix& Map() { return FMap; }
    Platform::TQtHost& Host() { return *FHost; }
    Mapobjects::TCustomMapTool& Tool(TToolKind Kind) { return *FTools[Kind].Tool; }
    QAction& Action(TToolKind Kind) { return *FTools[Kind].Action; }
    QString PositionShown() const;
    QString ZoomShown() const;

    // Lists the map's layers in the drawing-layer box and makes the chosen
    // one the editable layer: the first editable one, else the top one, else
    // a new empty layer.
    void RefreshEditableLayers();
    // Makes layer Index (of the map's list) the only editable one.
    void SetEditableLayer(int Index);
    // Saves the editable layer through the provider its file name picks; a
    // layer without a file asks for one. False when nothing was saved.
    bool SaveEditableLayer();

    // The status texts for a map point at the map's scale, and for a zoom.
    static QString PositionText(double MX, double MY, double PixelsPerUnit);
    static QString ZoomText(double Zoom);

    // Called once, from the event loop, after the map's window was first painted.
    std::function<void()> OnFirstPaint;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    struct TToolEntry {
        Mapobjects::TCustomMapTool* Tool;
        QAction* Action;
    };
    void AddTools();
    void SyncActions();
    void ShowPosition(int X, int Y);
    void ShowZoom();
    void KeyDown(std::uint16_t& Key);
    void Pan(int DX, int DY);

    Platform::TWinControl FForm{nullptr}; // the platform window the map sits on
    Mapobjects::TChartix FMap{nullptr};
    Mapobjects::TSelectionTool FSelect{nullptr};
    Mapobjects::TZoomInTool FZoomIn{nullptr};
    Mapobjects::TZoomOutTool FZoomOut{nullptr};
    Mapobjects::TPanTool FPan{nullptr};
    Mapobjects::TLineTool FLine{nullptr};
    Mapobjects::TRectTool FRect{nullptr};
    Mapobjects::TPolylineTool FPolyline{nullptr};
    Mapobjects::TRegionTool FRegion{nullptr};
    Mapobjects::TSymbolTool FSymbol{nullptr};
    Mapobjects::TCircleTool FCircle{nullptr};
    Mapobjects::TTextTool FText{nullptr};
    std::array<TToolEntry, ToolCount> FTools{};
    // Qt children of the window:
    Platform::TQtHost* FHost;
    QLabel* FPosition;
    QLabel* FZoom;
    QComboBox* FEditLayer;
    bool FPainted = false;
    bool FPointerSeen = false;
    int FPointerX = 0, FPointerY = 0;
};

// Adds Files to the window's map as layers (in the built-in look unless
// FileStyle), fits the view to them and names the window; reports on stderr
// and returns the exit code.
int OpenFiles(const std::string& Program, TViewerWindow& Window,
              const std::vector<std::string>& Files, bool FileStyle,
              Apps::TMessagePrinter& Messages, Apps::TProgressPrinter& Progress);

} // namespace Viewer

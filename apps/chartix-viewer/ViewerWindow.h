#pragma once
// The viewer's main window: the map in a Qt host, a toolbar choosing the
// active tool (navigation, drawing, text) and the layer that drawing goes
// to, docks beside the map, and a status bar with the map coordinates under
// the pointer, the zoom and a progress bar for long loads. File > Open adds
// files through the registered format providers; Ctrl+S saves the layer
// drawn on. The window owns the map, its tools and the docked controls.

#include "CliSupport.h"
#include "StatusProgress.h"
#include "controls/DataBrowser.h"
#include "controls/LayerCtrl.h"
#include "core/DataLinks.h"
#include "core/MapObjects.h"
#include "platform/QtHost.h"
#include "tools/StdMapTools.h"

#include <QMainWindow>

#include <QStringList>
#include <array>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCloseEvent;
class QComboBox;
class QDockWidget;
class QLabel;
class QProgressBar;

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
    // Program names the terminal's progress lines.
    TViewerWindow(int MapWidth, int MapHeight, const std::string& Program = "chartix-viewer");
    ~TViewerWindow() override;

    Mapobjects::TChartix& Map() { return FMap; }
    Platform::TQtHost& Host() { return *FHost; }
    Mapobjects::TCustomMapTool& Tool(TToolKind Kind) { return *FTools[Kind].Tool; }
    QAction& Action(TToolKind Kind) { return *FTools[Kind].Action; }
    QString PositionShown() const;
    QString ZoomShown() const;
    QDockWidget& LayersDock() { return *FLayersDock; }
    QDockWidget& DataDock() { return *FDataDock; }
    Mapobjects::TLayerControl& LayerControl() { return FLayerControl; }
    Mapobjects::TDataBrowser& DataBrowser() { return FDataBrowser; }
    Platform::TQtHost& LayersHost() { return *FLayersHost; }
    Platform::TQtHost& DataHost() { return *FDataHost; }
    QProgressBar& ProgressBar() { return *FProgressBar; }
    // Progress on the terminal for the command line's files (large ones).
    Apps::TProgressPrinter& Printer() { return FPrinter; }
    TStatusProgress& Progress() { return *FProgress; }

    // Loaded layers take the files' own look (true) or the built-in one.
    void SetFileStyle(bool V) { FFileStyle = V; }
    // File > Open: asks for files and opens them.
    void OpenDialog();
    // Adds Files (layers and workspaces) to the map, with the progress bar;
    // what fails is reported through the message hook and left out. Gives
    // the layers added.
    std::vector<Mapobjects::TMapLayer*> OpenLayerFiles(const std::vector<std::string>& Files);
    // After layers were added: their look, the drawing-layer box, the data
    // browser's layer; the view fits the data when Fit.
    void LayersAdded(const std::vector<Mapobjects::TMapLayer*>& Added, bool Fit);
    // Shows the library's messages in message boxes from now on.
    void ReportInDialogs();

    // Lists the map's layers in the drawing-layer box and makes the chosen
    // one the editable layer: the first editable one, else the top one, else
    // a new empty layer.
    void RefreshEditableLayers();
    // Makes layer Index (of the map's list) the only editable one.
    void SetEditableLayer(int Index);
    // The data browser shows Layer, which becomes the layer control's
    // current row; null shows the layer control's current layer.
    void ShowLayerData(Mapobjects::TMapLayer* Layer = nullptr);
    // Saves Layer through the provider its file name picks; a layer without
    // a file asks for one. False when nothing was saved.
    bool SaveLayer(Mapobjects::TMapLayer& Layer);
    bool SaveEditableLayer();
    // Asks, layer by layer, whether unsaved changes are to be saved (Yes
    // saves, No drops them); false when the user cancels or a save fails,
    // and the window then stays open.
    bool ConfirmClose();

    // The status texts for a map point at the map's scale, and for a zoom.
    static QString PositionText(double MX, double MY, double PixelsPerUnit);
    static QString ZoomText(double Zoom);
    // The file dialog's filters from the registry's filter string
    // ("Description (*.a; *.b)|*.a; *.b|..."): all supported files first,
    // then each provider's, workspaces and all files.
    static QStringList OpenFilters(const std::string& ProviderFilters);

    // Called once, from the event loop, after the map's window was first
    // painted with this set.
    std::function<void()> OnFirstPaint;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;

private:
    struct TToolEntry {
        Mapobjects::TCustomMapTool* Tool;
        QAction* Action;
    };
    void AddTools();
    void AddMenus();
    void AddDocks();
    // A dock of this window holding Host, placed in Area.
    QDockWidget* AddDock(Platform::TQtHost* Host, const char* Title, const char* Name,
                         Qt::DockWidgetAreas Areas, Qt::DockWidgetArea Area);
    // The drawing-layer box lists the map's layers again and shows the
    // editable one; it changes no layer.
    void ListEditableLayers();

    // Tells the window of changes to the map's layer list.
    class TLayerListLink : public Mapobjects::TMapDataLink {
    public:
        explicit TLayerListLink(TViewerWindow& Window) : FWindow(Window) {}
        void MapEvent(Mapobjects::TMapDataLinkEvent Event, Platform::TObject* Sender,
                      int Info) override;

    private:
        TViewerWindow& FWindow;
        int FDeletedRow = -1; // of the layer being deleted
    };
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
    Apps::TProgressPrinter FPrinter;
    // The docked controls, attached to the map before any layer is added so
    // that every layer has its row.
    Mapobjects::TLayerControl FLayerControl{nullptr};
    Mapobjects::TDataBrowser FDataBrowser{nullptr};
    TLayerListLink FLayerListLink{*this};
    // Qt children of the window:
    Platform::TQtHost* FHost;
    QLabel* FPosition;
    QLabel* FZoom;
    QComboBox* FEditLayer;
    QDockWidget* FLayersDock;
    QDockWidget* FDataDock;
    Platform::TQtHost* FLayersHost;
    Platform::TQtHost* FDataHost;
    QProgressBar* FProgressBar;
    QAction* FSaveAction = nullptr;
    std::unique_ptr<TStatusProgress> FProgress; // feeds FPrinter too
    bool FFileStyle = false;
    bool FDialogs = false; // the message hook is ours
    bool FPainted = false;
    bool FPointerSeen = false;
    int FPointerX = 0, FPointerY = 0;
};

// The command line's files: adds Files to the window's map as layers (in
// the built-in look unless FileStyle), fits the view to them and names the
// window; reports on stderr and returns the exit code.
int OpenFiles(const std::string& Program, TViewerWindow& Window,
              const std::vector<std::string>& Files, bool FileStyle,
              Apps::TMessagePrinter& Messages);

} // namespace Viewer

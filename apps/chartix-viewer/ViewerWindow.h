#pragma once
// The viewer's main window: the map in a Qt host, a toolbar choosing the
// active tool (navigation, drawing, text) and the layer that drawing goes
// to, docks beside the map, and a status bar with the map coordinates under
// the pointer, the zoom and a progress bar for long loads. File > Open adds
// files through the registered format providers. Layers open read-only;
// editing is switched on per layer. Save writes a layer back to its file
// (asking once before overwriting it), Save As anywhere. Nothing with unsaved
// changes goes without a question. The window owns the map, its tools and
// the docked controls.

#include "CliSupport.h"
#include "ScaleBar.h"
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
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QAction;
class QCloseEvent;
class QComboBox;
class QDockWidget;
class QLabel;
class QMenu;
class QProgressBar;

namespace Viewer {

class TViewerWindow : public QMainWindow {
public:
    enum TToolKind {
        tkSelect,
        tkZoomIn,
        tkZoomOut,
        tkPan,
        tkMeasure,
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
    TScaleBar& ScaleBar() { return *FScaleBar; }
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
    // Adds Files (layers and workspaces) to the map, read-only, with the
    // progress bar. What fails, and the problems readers read past, are
    // reported in one message through the message hook once all are done;
    // the other files still open. Gives the layers added; Failed counts the
    // files that gave none.
    std::vector<Mapobjects::TMapLayer*> OpenLayerFiles(const std::vector<std::string>& Files,
                                                       int* Failed = nullptr);
    // Shows the library's messages in message boxes from now on, each once
    // it is safe (Platform::InstallQtMessageHook).
    void ReportInDialogs();
    // The terminal shows the progress of large files too (the command line's).
    void SetTerminalProgress(bool V) { FTerminalProgress = V; }

    // Lists the map's layers in the drawing-layer box, showing the editable
    // one; it changes no layer.
    void RefreshEditableLayers();
    // Makes layer Index (of the map's list) the only editable one; Index ==
    // the layer count makes a new empty layer for it.
    void SetEditableLayer(int Index);
    // The layer the File menu's Save works on: the one drawn on, else the
    // layer control's current one.
    Mapobjects::TMapLayer* ChosenLayer();
    // Removes Layer; with unsaved changes only after asking (Yes saves first).
    // False when it stays.
    bool RemoveLayer(Mapobjects::TMapLayer& Layer);
    // Fills Menu with what can be done to Layer (the right-click menu of a
    // row and the Layer menu).
    void FillLayerMenu(QMenu& Menu, Mapobjects::TMapLayer* Layer);
    // The data browser shows Layer, which becomes the layer control's
    // current row; null shows the layer control's current layer.
    void ShowLayerData(Mapobjects::TMapLayer* Layer = nullptr);
    // Saves Layer to its own file through the provider its name picks; the
    // first save of the session over an existing file asks first. A layer
    // without a file goes to Save As. False when nothing was saved.
    bool SaveLayer(Mapobjects::TMapLayer& Layer);
    // Asks for a file (any format a registered provider saves) and saves
    // Layer there; the layer then belongs to that file.
    bool SaveLayerAs(Mapobjects::TMapLayer& Layer);
    // Writes Layer to File; a failure is reported and the layer keeps its
    // file name and its unsaved changes.
    bool WriteLayer(Mapobjects::TMapLayer& Layer, const std::string& File);
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
    // Save As's filters: each provider's own, then all files.
    static QStringList SaveFilters(const std::string& ProviderFilters);

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
    // A right-click on the layer control at (X, Y): the row's menu, shown
    // once the click is over.
    void LayerRowMenu(int X, int Y);
    // Delete in the layer control: a layer with unsaved changes stays, and
    // the question comes once the key is handled.
    void QueryDeleteLayer(Mapobjects::TMapLayer* Layer, bool& CanDelete);
    // A layer captured for later (a queued call, a menu): the viewer numbers
    // each layer added in its Tag.
    struct TLayerRef {
        Mapobjects::TMapLayer* Layer;
        int Serial;
    };
    TLayerRef Ref(Mapobjects::TMapLayer* Layer) const;
    // The layer still in the map's list, or null.
    Mapobjects::TMapLayer* Find(TLayerRef Ref) const;
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
    // Drops the active tool's drag or figure under way; false when none.
    // The layer menu's choice of the column its labels show.
    void AddLabelMenu(QMenu& Menu, Mapobjects::TMapLayer* Layer);
    // The measure tool's lengths in the status bar.
    void ShowMeasure(const Mapobjects::TMeasureTool& Tool);
    // After layers came or went: are map units degrees, for the scale bar and
    // the measure tool.
    void FollowUnits();
    bool CancelGesture();
    void KeyDown(std::uint16_t& Key);
    void Pan(int DX, int DY);

    Platform::TWinControl FForm{nullptr}; // the platform window the map sits on
    Mapobjects::TChartix FMap{nullptr};
    Mapobjects::TStandardTools FStd;
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
    TScaleBar* FScaleBar;
    QComboBox* FEditLayer;
    QDockWidget* FLayersDock;
    QDockWidget* FDataDock;
    Platform::TQtHost* FLayersHost;
    Platform::TQtHost* FDataHost;
    QProgressBar* FProgressBar;
    QAction* FSaveAction = nullptr;
    QMenu* FLayerMenu = nullptr;
    // The files each layer was confirmed to overwrite this session.
    std::map<const Mapobjects::TMapLayer*, std::string> FOverwriteConfirmed;
    bool FTerminalProgress = false;
    int FLayerSerial = 0; // the last layer number given
    // Layers whose objects took the built-in look instead of their files' styles.
    std::set<const Mapobjects::TMapLayer*> FBuiltInLook;
    std::unique_ptr<TStatusProgress> FProgress; // feeds FPrinter too
    bool FFileStyle = false;
    bool FDialogs = false; // the message hook is ours
    bool FPainted = false;
    bool FPointerSeen = false;
    int FPointerX = 0, FPointerY = 0;
};

// The command line's files: adds Files to the window's map as File > Open
// does (plain layers in the built-in look unless FileStyle) and names the
// window. The files that fail are reported in one message; returns
// ExitUnreadable when some did, else ExitOk.
int OpenFiles(TViewerWindow& Window, const std::vector<std::string>& Files, bool FileStyle);

} // namespace Viewer

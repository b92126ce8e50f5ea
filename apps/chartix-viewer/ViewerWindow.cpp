#include "ViewerWindow.h"

#include "SourceLayersDialog.h"
#include "formats/VectorSources.h"

#include "CliSupport.h"
#include "platform/Dialogs.h"

#include "core/CustomFormatProvider.h"
#include "platform/QtMessageHook.h"
#include "platform/SysUtils.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>

namespace Viewer {

using namespace Mapobjects;
using namespace Platform;

namespace {

// Qt's slots cannot pass exceptions on: report them as the host does.
template <class F> void Guarded(F&& Call) noexcept {
    try {
        Call();
    } catch (const std::exception& E) {
        TQtHost::ReportLater(E.what());
    } catch (...) {
        TQtHost::ReportLater("Unknown error");
    }
}

// What the library says while a file loads or saves is kept for the one
// report made afterwards; a question asked meanwhile gets the answer that
// does nothing.
class TCollectMessages {
public:
    explicit TCollectMessages(std::vector<std::string>& Texts) : FOld(MessageHook()) {
        SetMessageHook([&Texts](const std::string& Text, TMsgDlgType, int Buttons) {
            Texts.push_back(Text);
            return (Buttons & mbOKCancel) == mbOKCancel ? int(mrCancel)
                   : (Buttons & 8)                      ? int(mrNo)
                                                        : int(mrOk);
        });
    }
    ~TCollectMessages() { SetMessageHook(std::move(FOld)); }
    TCollectMessages(const TCollectMessages&) = delete;
    TCollectMessages& operator=(const TCollectMessages&) = delete;

private:
    TMessageHook FOld;
};

std::string Quoted(const std::string& Name) {
    return "\"" + Name + "\"";
}

// The index of the layer's first text column, or -1.
int FirstTextField(TMapLayer& Layer) {
    for (int I = 0; I < Layer.Fields().Count(); ++I)
        if (Layer.Fields().GetFields(I)->DataType() == dtString) return I;
    return -1;
}

} // namespace

TViewerWindow::TViewerWindow(int MapWidth, int MapHeight, const std::string& Program)
    : FPrinter(Program, FMap) {
    FMap.SetParent(&FForm);
    FMap.SetBounds(0, 0, MapWidth, MapHeight);
    FMap.SetColor(Apps::DefaultBackground());
    FMap.SetZoomType(wmAnchor);
    FMap.SetPreciseHitTest(true);
    FMap.SetFastSelection(true);
    FMap.Options().SetLevelOfDetail(true);
    FMap.Options().SetReprojectLayers(true);

    FHost = new TQtHost(&FMap, this);
    FHost->installEventFilter(this);
    setCentralWidget(FHost);
    AddTools();
    AddDocks();
    AddMenus();
    FPosition = new QLabel(this);
    FZoom = new QLabel(this);
    FProgressBar = new QProgressBar(this);
    FProgressBar->setMaximumWidth(260);
    statusBar()->addWidget(FPosition, 1);
    statusBar()->addPermanentWidget(FProgressBar);
    statusBar()->addPermanentWidget(FZoom);
    FProgress = std::make_unique<TStatusProgress>(FMap, *FProgressBar);
    FScaleBar = new TScaleBar(FMap, FHost);
    FStd.Measure.OnMeasure = [this](TMeasureTool& Tool) { ShowMeasure(Tool); };

    FMap.OnMapToolChanged = [this](TObject*) { SyncActions(); };
    FMap.OnMouseMove = [this](TObject*, TShiftState, int X, int Y) { ShowPosition(X, Y); };
    FMap.OnZoom = [this](TObject*) { ShowZoom(); };
    // Zooms and pans change what lies under the pointer; each one repaints.
    FMap.OnPaint = [this](TObject*) {
        if (FPointerSeen) ShowPosition(FPointerX, FPointerY);
        FScaleBar->Refresh();
    };
    FMap.OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState) { KeyDown(Key); };
    FStd.Pan.SetActive(true);
    ShowZoom();

    // The window's size around a map of the size asked for.
    FHost->setMinimumSize(MapWidth, MapHeight);
    resize(sizeHint());
    // Smaller later, but never without width: the view transform needs one.
    FHost->setMinimumSize(1, 1);
}

TViewerWindow::~TViewerWindow() {
    if (FDialogs) RemoveQtMessageHook();
    // The hosts go before the controls they show, the map's hooks before the
    // window parts they reach.
    delete FHost;
    delete FLayersHost;
    delete FDataHost;
    FLayerListLink.SetMap(nullptr);
    FProgress.reset();
    FMap.OnStartProgress = nullptr;
    FMap.OnShowProgress = nullptr;
    FMap.OnStopProgress = nullptr;
    FMap.OnMapToolChanged = nullptr;
    FMap.OnMouseMove = nullptr;
    FMap.OnZoom = nullptr;
    FMap.OnPaint = nullptr;
    FMap.OnKeyDown = nullptr;
}

void TViewerWindow::AddTools() {
    QToolBar* Bar = addToolBar("Tools");
    Bar->setMovable(false);
    Bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* Group = new QActionGroup(this); // exclusive: one tool at a time
    // Plain keys belong to the map while it has the focus, hence Ctrl.
    const struct {
        TToolKind Kind;
        TCustomMapTool* Tool;
        const char* Text;
        QKeySequence Keys;
        const char* Tip;
    } Tools[] = {
        {tkSelect, &FStd.Select, "Select", QKeySequence(Qt::CTRL | Qt::Key_1),
         "Select the object under a click; Shift adds or removes it, Ctrl reaches lower layers"},
        {tkZoomIn, &FStd.ZoomIn, "Zoom In", QKeySequence(Qt::CTRL | Qt::Key_2),
         "Zoom in: click to double the zoom, or drag a rectangle to fill the window with it"},
        {tkZoomOut, &FStd.ZoomOut, "Zoom Out", QKeySequence(Qt::CTRL | Qt::Key_3),
         "Zoom out: click to halve the zoom, or drag to fit the view into the rectangle"},
        {tkPan, &FStd.Pan, "Pan", QKeySequence(Qt::CTRL | Qt::Key_4), "Pan: drag the map"},
        {tkMeasure, &FStd.Measure, "Measure", QKeySequence(Qt::CTRL | Qt::Key_M),
         "Measure: click each vertex of a path, double-click the last; Escape drops it"},
        {tkLine, &FStd.Line, "Line", QKeySequence(Qt::CTRL | Qt::Key_5),
         "Line: drag from end to end"},
        {tkRect, &FStd.Rect, "Rectangle", QKeySequence(Qt::CTRL | Qt::Key_6),
         "Rectangle: drag from corner to corner"},
        {tkPolyline, &FStd.Polyline, "Polyline", QKeySequence(Qt::CTRL | Qt::Key_7),
         "Polyline: click each vertex, double-click the last"},
        {tkRegion, &FStd.Region, "Region", QKeySequence(Qt::CTRL | Qt::Key_8),
         "Region: click each vertex, double-click the last"},
        {tkSymbol, &FStd.Symbol, "Symbol", QKeySequence(Qt::CTRL | Qt::Key_9),
         "Symbol: click where it goes"},
        {tkCircle, &FStd.Circle, "Circle", QKeySequence(Qt::CTRL | Qt::Key_0),
         "Geodesic circle of 100 km: click its centre"},
        {tkText, &FStd.Text, "Text", QKeySequence(Qt::CTRL | Qt::Key_T),
         "Text: click, type, and press Enter"},
    };
    for (const auto& T : Tools) {
        QAction* A = Bar->addAction(T.Text);
        A->setCheckable(true);
        A->setShortcut(T.Keys);
        A->setToolTip(QString("%1 (%2)").arg(T.Tip, T.Keys.toString(QKeySequence::NativeText)));
        Group->addAction(A);
        TCustomMapTool* Tool = T.Tool;
        Tool->SetChartix(&FMap);
        const bool Draws = T.Kind >= tkLine;
        connect(A, &QAction::triggered, this, [this, Tool, Draws] {
            Guarded([&] {
                Tool->SetActive(true);
                if (Draws && !FMap.Layers().GetEditableLayer())
                    statusBar()->showMessage("Every layer is read-only: choose one in \"Draw on\" "
                                             "or switch editing on in the Layers dock");
            });
        });
        FTools[T.Kind] = {Tool, A};
        if (T.Kind == tkMeasure) Bar->addSeparator();
    }
    Bar->addSeparator();
    Bar->addWidget(new QLabel(" Draw on ", Bar));
    FEditLayer = new QComboBox(Bar);
    FEditLayer->setToolTip("The layer that the drawing tools and the text tool add to; choosing "
                           "one switches editing on for it");
    FEditLayer->setPlaceholderText("read-only");
    FEditLayer->setMinimumContentsLength(12);
    // Whole layer names, however long.
    FEditLayer->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    FEditLayer->setFocusPolicy(Qt::NoFocus); // the keys stay the map's
    Bar->addWidget(FEditLayer);
    connect(FEditLayer, &QComboBox::activated, this,
            [this](int Index) { Guarded([this, Index] { SetEditableLayer(Index); }); });
}

QDockWidget* TViewerWindow::AddDock(TQtHost* Host, const char* Title, const char* Name,
                                    Qt::DockWidgetAreas Areas, Qt::DockWidgetArea Area) {
    auto* Dock = new QDockWidget(Title, this);
    Dock->setObjectName(Name);
    Dock->setAllowedAreas(Areas);
    Dock->setWidget(Host);
    addDockWidget(Area, Dock);
    return Dock;
}

void TViewerWindow::AddDocks() {
    FLayerControl.SetParent(&FForm);
    FLayerControl.SetBounds(0, 0, 230, 200);
    FLayerControl.SetMap(&FMap);
    FLayersHost = new TQtHost(&FLayerControl);
    FLayersDock = AddDock(FLayersHost, "Layers", "layers",
                          Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea, Qt::LeftDockWidgetArea);
    // A row chosen with the mouse or the keys shows its layer's data.
    FLayerControl.OnClick = [this](TObject*) { ShowLayerData(); };
    FLayerControl.OnKeyUp = [this](TObject*, std::uint16_t&, TShiftState) { ShowLayerData(); };
    FLayerControl.OnQueryDeleteLayer = [this](TObject*, TMapLayer* Layer, bool& CanDelete) {
        QueryDeleteLayer(Layer, CanDelete);
    };
    FLayerControl.OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        if (Button == mbRight) LayerRowMenu(X, Y);
    };

    FDataBrowser.SetParent(&FForm);
    FDataBrowser.SetBounds(0, 0, FMap.Width(), 150);
    FDataBrowser.SetFollowSelection(true);
    FDataHost = new TQtHost(&FDataBrowser);
    FDataDock = AddDock(FDataHost, "Data", "data", Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea,
                        Qt::BottomDockWidgetArea);

    FLayerListLink.SetMap(&FMap);
}

void TViewerWindow::TLayerListLink::MapEvent(TMapDataLinkEvent Event, TObject* Sender, int) {
    switch (Event) {
    case mdlBeforeDelLayer:
        if (auto* Layer = dynamic_cast<TMapLayer*>(Sender)) {
            FDeletedRow = FWindow.FMap.Layers().IndexOf(Layer);
            FWindow.FOverwriteConfirmed.erase(Layer);
            FWindow.FBuiltInLook.erase(Layer);
        }
        break;
    case mdlAfterDelLayer: {
        // The data browser let go of a deleted layer: it shows the layer now
        // in the deleted one's row (or the last) once the notices are over,
        // as links cannot attach during them.
        const int Row = FDeletedRow;
        QTimer::singleShot(0, &FWindow, [W = &FWindow, Row] {
            Guarded([W, Row] {
                W->FollowUnits();
                const TMapLayers& Layers = W->FMap.Layers();
                if (W->FDataBrowser.Layer() || Layers.Count() == 0) return;
                W->ShowLayerData(Layers.Layers(std::clamp(Row, 0, Layers.Count() - 1)));
            });
        });
        FWindow.RefreshEditableLayers();
        break;
    }
    case mdlAfterAddLayer:
        if (auto* Layer = dynamic_cast<TMapLayer*>(Sender)) Layer->SetTag(++FWindow.FLayerSerial);
        FWindow.RefreshEditableLayers();
        break;
    case mdlMoveLayer:
    case mdlExchangeLayer:
    case mdlLayerEditableChanged:
    case mdlLayerVisibleChanged: // hiding a layer ends its editing
        FWindow.RefreshEditableLayers();
        break;
    default:
        break;
    }
}

void TViewerWindow::ShowLayerData(TMapLayer* Layer) {
    if (!Layer) Layer = FLayerControl.GetCurrentLayer();
    if (!Layer) {
        FDataDock->setWindowTitle("Data");
        return;
    }
    const int Row = FMap.Layers().IndexOf(Layer);
    if (Row >= 0 && Row < FLayerControl.Items().Count() && FLayerControl.ItemIndex() != Row)
        FLayerControl.SetItemIndex(Row);
    FDataBrowser.SetLayer(Layer);
    FDataDock->setWindowTitle(QString::fromStdString("Data: " + Layer->Name()));
}

void TViewerWindow::AddMenus() {
    QMenu* File = menuBar()->addMenu("&File");
    QAction* Open = File->addAction("&Open...");
    Open->setShortcut(QKeySequence::Open);
    Open->setToolTip("Add layers from files of every registered format, or a workspace");
    connect(Open, &QAction::triggered, this, [this] { Guarded([this] { OpenDialog(); }); });
    FSaveAction = File->addAction("&Save");
    FSaveAction->setShortcut(QKeySequence::Save);
    FSaveAction->setToolTip("Save the layer drawn on (else the current one) to its file");
    connect(FSaveAction, &QAction::triggered, this, [this] {
        Guarded([this] {
            if (TMapLayer* Layer = ChosenLayer()) SaveLayer(*Layer);
        });
    });
    QAction* SaveAs = File->addAction("Save &As...");
    SaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(SaveAs, &QAction::triggered, this, [this] {
        Guarded([this] {
            if (TMapLayer* Layer = ChosenLayer()) SaveLayerAs(*Layer);
        });
    });
    File->addSeparator();
    QAction* Quit = File->addAction("&Quit");
    Quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(Quit, &QAction::triggered, this, &QWidget::close);

    // The current row's layer, as the row's right-click menu offers it.
    FLayerMenu = menuBar()->addMenu("&Layer");
    connect(FLayerMenu, &QMenu::aboutToShow, this, [this] {
        Guarded([this] {
            FLayerMenu->clear();
            FillLayerMenu(*FLayerMenu, FLayerControl.GetCurrentLayer());
        });
    });

    QMenu* View = menuBar()->addMenu("&View");
    View->addAction(FLayersDock->toggleViewAction());
    View->addAction(FDataDock->toggleViewAction());
    View->addSeparator();
    // Smooth drawing, remembered from one run to the next.
    QAction* Smooth = View->addAction("&Smooth Drawing");
    Smooth->setObjectName("smoothDrawing");
    Smooth->setCheckable(true);
    Smooth->setChecked(QSettings().value("view/antialiasing", false).toBool());
    FMap.Options().SetAntialiasing(Smooth->isChecked());
    connect(Smooth, &QAction::toggled, this, [this](bool On) {
        QSettings().setValue("view/antialiasing", On);
        FMap.Options().SetAntialiasing(On);
        FMap.DoUpdate();
    });
}

namespace {

// Each provider's filter from the registry's string ("Description (*.a; *.b)
// |*.a; *.b|..."), rebuilt from its description and its own pattern list:
// Qt would read the registry's "; " as part of a pattern. All collects every
// pattern once.
QStringList ProviderFilters(const std::string& Registry, QStringList& All) {
    QStringList Filters;
    const QStringList Items = QString::fromStdString(Registry).split('|');
    for (int I = 0; I + 1 < Items.size(); I += 2) {
        QString Description = Items[I].trimmed();
        if (Description.endsWith(')') && Description.contains('('))
            Description = Description.left(Description.lastIndexOf('(')).trimmed();
        QStringList Patterns;
        for (const QString& P : Items[I + 1].split(';', Qt::SkipEmptyParts)) {
            const QString Pattern = P.trimmed();
            if (Pattern.isEmpty()) continue;
            Patterns << Pattern;
            if (!All.contains(Pattern, Qt::CaseInsensitive)) All << Pattern;
        }
        if (!Patterns.isEmpty()) Filters << QString("%1 (%2)").arg(Description, Patterns.join(' '));
    }
    return Filters;
}

std::string RegistryFilter() {
    const TFormatProviders* Registry = FormatProviders();
    return Registry ? Registry->GetFilter() : std::string();
}

} // namespace

QStringList TViewerWindow::OpenFilters(const std::string& Registry) {
    QStringList All;
    QStringList Filters = ProviderFilters(Registry, All);
    // Workspaces are read by the map itself, not by a provider.
    All << "*.wor";
    Filters.prepend(QString("All supported files (%1)").arg(All.join(' ')));
    Filters << "MapInfo Workspaces (*.wor)"
            << "All files (*)";
    return Filters;
}

QStringList TViewerWindow::SaveFilters(const std::string& Registry) {
    QStringList All;
    QStringList Filters = ProviderFilters(Registry, All);
    Filters << "All files (*)";
    return Filters;
}

void TViewerWindow::OpenDialog() {
    const QStringList Chosen = QFileDialog::getOpenFileNames(
        this, "Open", QString(), OpenFilters(RegistryFilter()).join(";;"), nullptr,
        QFileDialog::DontUseNativeDialog);
    std::vector<std::string> Files;
    for (const QString& F : Chosen) {
        const std::string File = F.toStdString();
        // A source of several layers asks which; one of one layer (or of a
        // format only our own providers read) opens as it is.
        std::vector<std::string> Names;
        std::string Why;
        if (Apps::IsWorkspace(File) || !SourceLayers(File, Names, Why) || Names.size() < 2) {
            Files.push_back(File);
            continue;
        }
        QStringList Offered, Picked;
        for (const std::string& Name : Names)
            Offered << QString::fromStdString(Name);
        if (!Viewer::PickSourceLayers(this, F, Offered, Picked)) continue;
        for (const QString& Name : Picked)
            Files.push_back(SourceLayerFileName(File, Name.toStdString()));
    }
    if (!Files.empty()) OpenLayerFiles(Files);
}

std::vector<TMapLayer*> TViewerWindow::OpenLayerFiles(const std::vector<std::string>& Files,
                                                      int* Failed) {
    TMapLayers& Layers = FMap.Layers();
    bool Empty = true; // the view fits the first data, and stays put later
    for (int I = 0; I < Layers.Count() && Empty; ++I)
        Empty = Layers.Layers(I)->ObjectCount() == 0;
    std::vector<TMapLayer*> Added;
    std::vector<std::string> Report; // per file that failed or had problems
    int Failures = 0;
    for (const std::string& File : Files) {
        // One file that fails leaves the others to load.
        std::vector<std::string> Said; // what the library said while loading
        try {
            if (std::string Why = Apps::UnreadableReason(SourceFileOf(File)); !Why.empty()) {
                Report.push_back(File + ": cannot read it: " + Why);
                ++Failures;
                continue;
            }
            TStatusProgress::TWork Work(*FProgress, "Loading " + Apps::BaseName(File));
            if (FTerminalProgress) {
                FPrinter.SetLabel("loading " + Apps::BaseName(File));
                FPrinter.SetEnabled(
                    Apps::TProgressPrinter::WantedFor(Apps::FileSizeOf(SourceFileOf(File))));
            }
            TReadProblems Problems;
            const int Before = Layers.Count();
            const bool Workspace = Apps::IsWorkspace(File);
            {
                TCollectMessages Collect(Said);
                if (Workspace) {
                    const double CX = FMap.CenterX(), CY = FMap.CenterY(), Zoom = FMap.Zoom();
                    FMap.LoadWOR(File, Problems);
                    // A workspace that places the map keeps its view.
                    if (FMap.CenterX() != CX || FMap.CenterY() != CY || FMap.Zoom() != Zoom)
                        Empty = false;
                } else {
                    // A file that cannot be read adds no layer; nothing read
                    // from a damaged file is nothing either.
                    TFileResult Result;
                    TMapLayer* Layer = Layers.Add(File, "", Result);
                    Problems = Result.Problems;
                    if (!Layer)
                        Said.push_back(Result.Message);
                    else if (Layer->ObjectCount() == 0 && !Problems.Empty())
                        Layers.Delete(Layers.IndexOf(Layer));
                }
            }
            FPrinter.SetEnabled(false);
            FPrinter.SetLabel("");
            for (int I = Before; I < Layers.Count(); ++I) {
                TMapLayer* Layer = Layers.Layers(I);
                // Read-only until editing is switched on for it.
                Layer->SetEditable(false);
                // Labels name things: the first text column, not a code.
                if (Layer->LabelFieldIndex() == 0)
                    Layer->SetLabelFieldIndex(std::max(0, FirstTextField(*Layer)));
                // A workspace's layers keep the workspace's look and labels.
                if (!Workspace) Apps::ApplyReadableLabels(*Layer);
                if (!Workspace && !FFileStyle) {
                    Apps::ApplyDefaultStyle(*Layer, I);
                    FBuiltInLook.insert(Layer);
                }
                Added.push_back(Layer);
            }
            std::string Line;
            if (Layers.Count() == Before) {
                ++Failures;
                Line = File + ": not opened";
            } else if (!Problems.Empty()) {
                Line = fmt::format("{}: opened, {} {} read past", File, Problems.Count(),
                                   Problems.Count() == 1 ? "problem" : "problems");
            }
            if (!Problems.Empty()) {
                // The reader's own summary says what the first problems say.
                for (size_t I = 0; I < std::min<size_t>(3, Problems.Items().size()); ++I)
                    Line += "\n    " + TReadProblems::Describe(Problems.Items()[I]);
            } else {
                for (const std::string& Text : Said)
                    Line += (Line.empty() ? File + ": " : std::string("\n    ")) + Text;
            }
            if (!Line.empty()) Report.push_back(Line);
        } catch (const std::exception& E) {
            FPrinter.SetEnabled(false);
            ++Failures;
            Report.push_back(File + ": could not open it: " + E.what());
        }
    }
    if (!Added.empty()) {
        FollowUnits();
        if (Empty) FMap.FitView();
        RefreshEditableLayers();
        // The first layer added, unless a row was chosen already.
        ShowLayerData(FLayerControl.GetCurrentLayer() ? nullptr : Added.front());
    }
    if (!Report.empty()) {
        std::string Text =
            Failures ? "Some files could not be opened:" : "Problems were read past:";
        for (const std::string& Line : Report)
            Text += "\n" + Line;
        MessageDlg(Text, Failures ? mtError : mtWarning, mbOK);
    }
    if (Failed) *Failed = Failures;
    return Added;
}

void TViewerWindow::ReportInDialogs() {
    FDialogs = true;
    InstallQtMessageHook([this](const std::string& Text, TMsgDlgType Type, int Buttons) {
        return QtMessageBox(this, Text, Type, Buttons);
    });
}

void TViewerWindow::RefreshEditableLayers() {
    const TMapLayers& Layers = FMap.Layers();
    FEditLayer->clear();
    for (int I = 0; I < Layers.Count(); ++I)
        FEditLayer->addItem(QString::fromStdString(Layers.Layers(I)->Name()));
    FEditLayer->addItem("New layer");
    // -1 shows "read-only": nothing is drawn until a layer is chosen.
    FEditLayer->setCurrentIndex(Layers.IndexOf(Layers.GetEditableLayer()));
}

void TViewerWindow::SetEditableLayer(int Index) {
    TMapLayers& Layers = FMap.Layers();
    if (Index == Layers.Count()) {
        std::string Name = "Drawing";
        for (int N = 2; std::any_of(Layers.begin(), Layers.end(),
                                    [&](const TMapLayer* L) { return L->Name() == Name; });
             ++N)
            Name = "Drawing " + std::to_string(N);
        Layers.Add("", Name);
    }
    if (Index < 0 || Index >= Layers.Count()) return;
    TMapLayer* Layer = Layers.Layers(Index);
    // Editing a hidden layer would draw what cannot be seen.
    if (!Layer->Visible()) Layer->SetVisible(true);
    Layer->SetEditable(true); // the others stop being editable
    RefreshEditableLayers();
}

TMapLayer* TViewerWindow::ChosenLayer() {
    TMapLayer* Layer = FMap.Layers().GetEditableLayer();
    return Layer ? Layer : FLayerControl.GetCurrentLayer();
}

TViewerWindow::TLayerRef TViewerWindow::Ref(TMapLayer* Layer) const {
    return {Layer, Layer ? Layer->Tag() : 0};
}

TMapLayer* TViewerWindow::Find(TLayerRef Ref) const {
    const TMapLayers& Layers = FMap.Layers();
    // The serial tells a layer from a later one made where a deleted one was.
    for (TMapLayer* Layer : Layers)
        if (Layer == Ref.Layer && Layer->Tag() == Ref.Serial) return Layer;
    return nullptr;
}

bool TViewerWindow::SaveLayer(TMapLayer& Layer) {
    const std::string File = Layer.FileName();
    if (File.empty()) return SaveLayerAs(Layer);
    std::error_code Ec;
    const auto Confirmed = FOverwriteConfirmed.find(&Layer);
    if (std::filesystem::exists(File, Ec) &&
        (Confirmed == FOverwriteConfirmed.end() || Confirmed->second != File)) {
        // The built-in look replaced the file's own styles in the objects.
        const std::string Look = FBuiltInLook.count(&Layer)
                                     ? "\nIts objects are saved in the built-in look, not in "
                                       "the styles the file has now (--style file keeps them)."
                                     : "";
        const int Answer = MessageDlg("Save " + Quoted(Layer.Name()) + " overwrites " + File + "." +
                                          Look + "\nOverwrite it?",
                                      mtConfirmation, mbYesNo);
        if (Answer != mrYes) return false;
    }
    if (!WriteLayer(Layer, File)) return false;
    FOverwriteConfirmed[&Layer] = File;
    return true;
}

bool TViewerWindow::SaveLayerAs(TMapLayer& Layer) {
    const QStringList Filters = SaveFilters(RegistryFilter());
    QString Start = QString::fromStdString(Layer.FileName());
    if (Start.isEmpty()) Start = QString::fromStdString(Layer.Name()) + ".mif";
    QString Filter;
    // Qt's own dialog, as for Open: the same on every desktop (and it asks
    // before replacing a file).
    QString File = QFileDialog::getSaveFileName(
        this, QString::fromStdString("Save the layer " + Quoted(Layer.Name()) + " as"), Start,
        Filters.join(";;"), &Filter, QFileDialog::DontUseNativeDialog);
    if (File.isEmpty()) return false;
    if (QFileInfo(File).suffix().isEmpty()) {
        // The chosen filter's first pattern gives a name without one its type.
        const QRegularExpressionMatch M = QRegularExpression(R"(\(\*(\.[^ )]+))").match(Filter);
        File += M.hasMatch() ? M.captured(1) : QString(".mif");
    }
    if (!WriteLayer(Layer, File.toStdString())) return false;
    FOverwriteConfirmed[&Layer] = File.toStdString(); // the dialog asked
    return true;
}

bool TViewerWindow::WriteLayer(TMapLayer& Layer, const std::string& File) {
    const std::string What = "Could not save " + Quoted(Layer.Name()) + " to " + File + ": ";
    const std::string Kept = "\nThe changes are kept.";
    if (std::string Why = Apps::UnwritableReason(File); !Why.empty()) {
        MessageDlg(What + Why + Kept, mtError, mbOK);
        return false;
    }
    if (!FormatProviders() || !FormatProviders()->FindSuitableProvider(File)) {
        MessageDlg(What + "no format provider saves it; formats: " + Apps::AcceptedFormats() + Kept,
                   mtError, mbOK);
        return false;
    }
    const std::string OldFile = Layer.FileName();
    std::vector<std::string> Said;
    std::string Why;
    bool Saved = false;
    {
        TStatusProgress::TWork Work(*FProgress, "Saving " + Apps::BaseName(File));
        TCollectMessages Collect(Said);
        try {
            Saved = Layer.SaveToFile(File);
        } catch (const std::exception& E) {
            Why = E.what();
        }
    }
    if (!Saved) {
        // A provider may have taken the new name before it failed.
        Layer.SetFileName(OldFile);
        Layer.SetModified(true);
        for (const std::string& Text : Said)
            Why += (Why.empty() ? "" : "; ") + Text;
        MessageDlg(What + (Why.empty() ? std::string("the provider refused") : Why) + Kept, mtError,
                   mbOK);
        return false;
    }
    Layer.SetFileName(File);
    statusBar()->showMessage(
        QString::fromStdString(fmt::format("Saved {} objects to {}", Layer.ObjectCount(), File)),
        5000);
    return true;
}

bool TViewerWindow::RemoveLayer(TMapLayer& Layer) {
    if (Layer.Modified()) {
        const int Answer = MessageDlg("The layer " + Quoted(Layer.Name()) +
                                          " has unsaved changes. Save them before removing it?",
                                      mtConfirmation, mbYesNoCancel);
        // Anything but Yes or No keeps the layer.
        if (Answer != mrYes && Answer != mrNo) return false;
        if (Answer == mrYes && !SaveLayer(Layer)) return false;
    }
    const int Index = FMap.Layers().IndexOf(&Layer);
    if (Index < 0) return false;
    FMap.Layers().Delete(Index);
    return true;
}

void TViewerWindow::QueryDeleteLayer(TMapLayer* Layer, bool& CanDelete) {
    if (!Layer || !Layer->Modified()) return;
    // The question runs an event loop: not inside the key's handler.
    CanDelete = false;
    QTimer::singleShot(0, this, [this, Asked = Ref(Layer)] {
        Guarded([&] {
            if (TMapLayer* Still = Find(Asked)) RemoveLayer(*Still);
        });
    });
}

void TViewerWindow::AddLabelMenu(QMenu& Menu, TMapLayer* Layer) {
    QMenu* Labels = Menu.addMenu("&Labels");
    Labels->setEnabled(Layer && Layer->Fields().Count() > 0);
    if (!Labels->isEnabled()) return;
    auto* Group = new QActionGroup(Labels);
    // -1: no labels; otherwise the column they show.
    auto Choice = [&](const QString& Text, int Field) {
        QAction* A = Labels->addAction(Text);
        A->setCheckable(true);
        A->setChecked(Field < 0 ? !Layer->AutoLabel()
                                : Layer->AutoLabel() && Layer->LabelFieldIndex() == Field);
        Group->addAction(A);
        connect(A, &QAction::triggered, this, [this, For = Ref(Layer), Field] {
            Guarded([&] {
                TMapLayer* Still = Find(For);
                if (!Still || Field >= Still->Fields().Count()) return;
                if (Field >= 0) Still->SetLabelFieldIndex(Field);
                Still->SetAutoLabel(Field >= 0);
                FMap.DoUpdate(true); // a new column with labels already on
            });
        });
    };
    Choice("&None", -1);
    Labels->addSeparator();
    for (int I = 0; I < Layer->Fields().Count(); ++I)
        Choice(QString::fromStdString(Layer->Fields().GetFields(I)->Name()), I);
}

void TViewerWindow::FillLayerMenu(QMenu& Menu, TMapLayer* Layer) {
    // Each action finds its layer still there before it acts.
    auto Add = [&](const QString& Text, auto Act) {
        QAction* A = Menu.addAction(Text);
        A->setEnabled(Layer != nullptr);
        connect(A, &QAction::triggered, this, [this, For = Ref(Layer), Act] {
            Guarded([&] {
                if (TMapLayer* Still = Find(For)) Act(*Still);
            });
        });
        return A;
    };
    Add("&Zoom to layer", [](TMapLayer& L) { L.Zoom(); });
    QAction* Editable = Add("&Editable", [this](TMapLayer& L) {
        if (L.Editable())
            L.SetEditable(false);
        else
            SetEditableLayer(FMap.Layers().IndexOf(&L));
    });
    Editable->setCheckable(true);
    Editable->setChecked(Layer && Layer->Editable());
    AddLabelMenu(Menu, Layer);
    Menu.addSeparator();
    Add("&Save", [this](TMapLayer& L) { SaveLayer(L); });
    Add("Save &As...", [this](TMapLayer& L) { SaveLayerAs(L); });
    Menu.addSeparator();
    Add("&Remove", [this](TMapLayer& L) { RemoveLayer(L); });
}

void TViewerWindow::LayerRowMenu(int X, int Y) {
    const int Row = FLayerControl.ItemAtPos(Point(X, Y), true);
    if (Row < 0 || Row >= FMap.Layers().Count()) return;
    // A right-click on a switch works the switch.
    auto In = [X, Y](const TRect& R) {
        return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
    };
    if (In(FLayerControl.GetIndicatorRect(Row))) return;
    TMapLayer* Layer = FMap.Layers().Layers(Row);
    const QPoint At = FLayersHost->mapToGlobal(QPoint(X, Y));
    // Once the click is over (the control is still handling it), the row
    // becomes the current one and its menu shows; popup() runs no event
    // loop of its own.
    QTimer::singleShot(0, this, [this, For = Ref(Layer), At] {
        Guarded([&] {
            TMapLayer* Layer = Find(For);
            if (!Layer) return;
            ShowLayerData(Layer);
            auto* Menu = new QMenu(this);
            Menu->setObjectName("layerRowMenu");
            Menu->setAttribute(Qt::WA_DeleteOnClose);
            FillLayerMenu(*Menu, Layer);
            Menu->popup(At);
        });
    });
}

bool TViewerWindow::ConfirmClose() {
    for (int I = 0; I < FMap.Layers().Count(); ++I) {
        TMapLayer& Layer = *FMap.Layers().Layers(I);
        if (!Layer.Modified()) continue;
        const int Answer = MessageDlg("Save the changes to layer " + Quoted(Layer.Name()) + "?",
                                      mtConfirmation, mbYesNoCancel);
        // A hook that only knows OK (a terminal's) must not lose or write
        // data behind the user's back: anything but Yes or No cancels.
        if (Answer == mrNo) continue;
        if (Answer != mrYes || !SaveLayer(Layer)) return false;
    }
    return true;
}

void TViewerWindow::closeEvent(QCloseEvent* Event) {
    bool Close = false;
    Guarded([&] { Close = ConfirmClose(); });
    if (Close)
        Event->accept();
    else
        Event->ignore();
}

// The map tells of every change of its active tool, also one made in code;
// the buttons show the tools' own state.
void TViewerWindow::SyncActions() {
    for (const TToolEntry& E : FTools)
        if (E.Action) E.Action->setChecked(E.Tool->Active());
}

QString TViewerWindow::PositionText(double MX, double MY, double PixelsPerUnit) {
    // As many decimals as tell neighbouring pixels apart.
    const int Decimals =
        PixelsPerUnit > 0 ? std::clamp(int(std::ceil(std::log10(PixelsPerUnit))), 0, 12) : 0;
    return QString::fromStdString(fmt::format("X {:.{}f}   Y {:.{}f}", MX, Decimals, MY, Decimals));
}

QString TViewerWindow::ZoomText(double Zoom) {
    return QString::fromStdString(fmt::format("Zoom {:.4g}", Zoom));
}

QString TViewerWindow::PositionShown() const {
    return FPosition->text();
}

QString TViewerWindow::ZoomShown() const {
    return FZoom->text();
}

void TViewerWindow::ShowPosition(int X, int Y) {
    FPointerSeen = true;
    FPointerX = X;
    FPointerY = Y;
    double MX, MY;
    FMap.ScreenToMap(X, Y, MX, MY);
    FPosition->setText(PositionText(MX, MY, FMap.Scale()));
}

void TViewerWindow::ShowZoom() {
    FZoom->setText(ZoomText(FMap.Zoom()));
}

void TViewerWindow::Pan(int DX, int DY) {
    const double K = FMap.Scale();
    FMap.BeginUpdate();
    FMap.SetCenterX(FMap.CenterX() + DX * FMap.ClientWidth() / 4.0 / K);
    FMap.SetCenterY(FMap.CenterY() + DY * FMap.ClientHeight() / 4.0 / K);
    FMap.EndUpdate(true);
}

void TViewerWindow::FollowUnits() {
    const bool Degrees = LooksGeographic(FMap);
    FScaleBar->SetGeographic(Degrees);
    FStd.Measure.SetGeographic(Degrees);
    FScaleBar->Refresh();
}

namespace {

QString Distance(double Metres) {
    return Metres >= 1000 ? QString("%1 km").arg(Metres / 1000, 0, 'f', 3)
                          : QString("%1 m").arg(Metres, 0, 'f', 1);
}

} // namespace

void TViewerWindow::ShowMeasure(const TMeasureTool& Tool) {
    QString Text;
    if (Tool.Geographic()) {
        // Both ellipsoids: the data may come from either datum.
        Text =
            QString("Leg %1, total %2 (WGS 84); leg %3, total %4 (Krassovsky)")
                .arg(Distance(Tool.LastLeg(Wgs84Ellipsoid)), Distance(Tool.Total(Wgs84Ellipsoid)),
                     Distance(Tool.LastLeg(KrassovskyEllipsoid)),
                     Distance(Tool.Total(KrassovskyEllipsoid)));
    } else {
        Text = QString("Leg %1, total %2 map units")
                   .arg(Tool.LastLeg(), 0, 'g', 10)
                   .arg(Tool.Total(), 0, 'g', 10);
    }
    statusBar()->showMessage(Text);
}

bool TViewerWindow::CancelGesture() {
    TCustomMapTool* Tool = FMap.MapToolsManager().GetActiveMapTool();
    const auto* Drag = dynamic_cast<TCustomPressMoveAndReleaseTool*>(Tool);
    const auto* Figure = dynamic_cast<TCustomMultiPointTool*>(Tool);
    if (!(Drag && Drag->Dragging()) && !(Figure && Figure->Points().Count() > 0)) return false;
    // Done erases what the gesture drew and forgets it; Init readies the
    // tool, still active, for the next one.
    Tool->Done();
    Tool->Init();
    return true;
}

void TViewerWindow::KeyDown(std::uint16_t& Key) {
    if (FStd.Text.Active()) return; // typing: every key is the text's
    switch (Key) {
    case VK_LEFT:
        Pan(-1, 0);
        break;
    case VK_RIGHT:
        Pan(1, 0);
        break;
    case VK_UP:
        Pan(0, 1);
        break;
    case VK_DOWN:
        Pan(0, -1);
        break;
    case VK_HOME:
        FMap.FitView();
        break;
    case VK_ESCAPE:
        // A zoom rectangle, a pan or a figure under way is dropped first;
        // with none, the selection goes.
        if (!CancelGesture()) FMap.Selection().Clear();
        break;
    case 'R':
        FMap.RotateMap(FMap.CenterX(), FMap.CenterY(), FMap.RotationAngle() + 15);
        break;
    case 0xBB: // the + keys
    case 0x6B:
        FMap.SetZoom(std::min(FMap.MaxZoom(), FMap.Zoom() * 2));
        break;
    case 0xBD: // the - keys
    case 0x6D:
        FMap.SetZoom(std::max(FMap.MinZoom(), FMap.Zoom() / 2));
        break;
    default:
        return;
    }
    Key = 0;
}

bool TViewerWindow::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == FHost && Event->type() == QEvent::Paint && !FPainted && OnFirstPaint) {
        FPainted = true;
        // Queued: the paint under way finishes first.
        QTimer::singleShot(0, this, [this] {
            if (OnFirstPaint) Guarded(OnFirstPaint);
        });
    }
    return QMainWindow::eventFilter(Watched, Event);
}

int OpenFiles(TViewerWindow& Window, const std::vector<std::string>& Files, bool FileStyle) {
    Window.SetFileStyle(FileStyle);
    Window.SetTerminalProgress(true);
    int Failed = 0;
    try {
        Window.OpenLayerFiles(Files, &Failed);
    } catch (const std::exception& E) {
        // Past the files' own failures (a view that cannot fit, no memory):
        // the window still opens with what it holds.
        MessageDlg(std::string("Could not show the files: ") + E.what(), mtError, mbOK);
        Failed = static_cast<int>(Files.size());
    }
    Window.SetTerminalProgress(false);
    if (!Files.empty())
        Window.setWindowTitle(
            QString::fromStdString("Chartix Viewer - " + Apps::BaseName(Files.front())));
    return Failed ? Apps::ExitUnreadable : Apps::ExitOk;
}

} // namespace Viewer

#include "ViewerWindow.h"

#include "CliSupport.h"
#include "platform/Dialogs.h"

#include "formats/CustomFormatProvider.h"
#include "platform/SysUtils.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <exception>

namespace Viewer {

using namespace Mapobjects;
using namespace Platform;

namespace {

// Qt's slots cannot pass exceptions on: report them as the host does.
void Guarded(const std::function<void()>& Call) noexcept {
    try {
        Call();
    } catch (const std::exception& E) {
        MessageDlg(E.what(), mtError, mbOK);
    } catch (...) {
        MessageDlg("Unknown error", mtError, mbOK);
    }
}

} // namespace

TViewerWindow::TViewerWindow(int MapWidth, int MapHeight, const std::string& Program)
    : FPrinter(Program, FMap) {
    FMap.SetParent(&FForm);
    FMap.SetBounds(0, 0, MapWidth, MapHeight);
    FMap.SetColor(Apps::DefaultBackground());
    FMap.SetZoomType(wmCursor);
    FMap.SetFastSelection(true);

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

    FMap.OnMapToolChanged = [this](TObject*) { SyncActions(); };
    FMap.OnMouseMove = [this](TObject*, TShiftState, int X, int Y) { ShowPosition(X, Y); };
    FMap.OnZoom = [this](TObject*) { ShowZoom(); };
    // Zooms and pans change what lies under the pointer; each one repaints.
    FMap.OnPaint = [this](TObject*) {
        if (FPointerSeen) ShowPosition(FPointerX, FPointerY);
    };
    FMap.OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState) { KeyDown(Key); };
    FPan.SetActive(true);
    ShowZoom();

    // The window's size around a map of the size asked for.
    FHost->setMinimumSize(MapWidth, MapHeight);
    resize(sizeHint());
    // Smaller later, but never without width: the view transform needs one.
    FHost->setMinimumSize(1, 1);
}

TViewerWindow::~TViewerWindow() {
    if (FDialogs) SetMessageHook(nullptr);
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
        {tkSelect, &FSelect, "Select", QKeySequence(Qt::CTRL | Qt::Key_1),
         "Select the object under a click; Shift adds or removes it, Ctrl reaches lower layers"},
        {tkZoomIn, &FZoomIn, "Zoom In", QKeySequence(Qt::CTRL | Qt::Key_2),
         "Zoom in: click to double the zoom, or drag a rectangle to fill the window with it"},
        {tkZoomOut, &FZoomOut, "Zoom Out", QKeySequence(Qt::CTRL | Qt::Key_3),
         "Zoom out: click to halve the zoom, or drag to fit the view into the rectangle"},
        {tkPan, &FPan, "Pan", QKeySequence(Qt::CTRL | Qt::Key_4), "Pan: drag the map"},
        {tkLine, &FLine, "Line", QKeySequence(Qt::CTRL | Qt::Key_5), "Line: drag from end to end"},
        {tkRect, &FRect, "Rectangle", QKeySequence(Qt::CTRL | Qt::Key_6),
         "Rectangle: drag from corner to corner"},
        {tkPolyline, &FPolyline, "Polyline", QKeySequence(Qt::CTRL | Qt::Key_7),
         "Polyline: click each vertex, double-click the last"},
        {tkRegion, &FRegion, "Region", QKeySequence(Qt::CTRL | Qt::Key_8),
         "Region: click each vertex, double-click the last"},
        {tkSymbol, &FSymbol, "Symbol", QKeySequence(Qt::CTRL | Qt::Key_9),
         "Symbol: click where it goes"},
        {tkCircle, &FCircle, "Circle", QKeySequence(Qt::CTRL | Qt::Key_0),
         "Geodesic circle of 100 km: click its centre"},
        {tkText, &FText, "Text", QKeySequence(Qt::CTRL | Qt::Key_T),
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
        connect(A, &QAction::triggered, this,
                [Tool] { Guarded([Tool] { Tool->SetActive(true); }); });
        FTools[T.Kind] = {Tool, A};
        if (T.Kind == tkPan) Bar->addSeparator();
    }
    Bar->addSeparator();
    Bar->addWidget(new QLabel(" Draw on ", Bar));
    FEditLayer = new QComboBox(Bar);
    FEditLayer->setToolTip("The layer that the drawing tools and the text tool add to");
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

    FDataBrowser.SetParent(&FForm);
    FDataBrowser.SetBounds(0, 0, FMap.Width(), 150);
    FDataHost = new TQtHost(&FDataBrowser);
    FDataDock = AddDock(FDataHost, "Data", "data", Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea,
                        Qt::BottomDockWidgetArea);

    FLayerListLink.SetMap(&FMap);
}

void TViewerWindow::TLayerListLink::MapEvent(TMapDataLinkEvent Event, TObject* Sender, int) {
    switch (Event) {
    case mdlBeforeDelLayer:
        if (auto* Layer = dynamic_cast<TMapLayer*>(Sender))
            FDeletedRow = FWindow.FMap.Layers().IndexOf(Layer);
        break;
    case mdlAfterDelLayer: {
        // The data browser let go of a deleted layer: it shows the layer now
        // in the deleted one's row (or the last) once the notices are over,
        // as links cannot attach during them.
        const int Row = FDeletedRow;
        QTimer::singleShot(0, &FWindow, [W = &FWindow, Row] {
            Guarded([W, Row] {
                const TMapLayers& Layers = W->FMap.Layers();
                if (W->FDataBrowser.Layer() || Layers.Count() == 0) return;
                W->ShowLayerData(Layers.Layers(std::clamp(Row, 0, Layers.Count() - 1)));
            });
        });
        FWindow.ListEditableLayers();
        break;
    }
    case mdlAfterAddLayer:
    case mdlMoveLayer:
    case mdlExchangeLayer:
    case mdlLayerEditableChanged:
    case mdlLayerVisibleChanged: // hiding a layer ends its editing
        FWindow.ListEditableLayers();
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
    FSaveAction = File->addAction("&Save the layer drawn on");
    FSaveAction->setShortcut(QKeySequence::Save);
    connect(FSaveAction, &QAction::triggered, this,
            [this] { Guarded([this] { SaveEditableLayer(); }); });
    File->addSeparator();
    QAction* Quit = File->addAction("&Quit");
    Quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(Quit, &QAction::triggered, this, &QWidget::close);

    QMenu* View = menuBar()->addMenu("&View");
    View->addAction(FLayersDock->toggleViewAction());
    View->addAction(FDataDock->toggleViewAction());
}

QStringList TViewerWindow::OpenFilters(const std::string& ProviderFilters) {
    // The registry alternates descriptions and patterns. Its patterns are
    // separated by "; ", which Qt would read as part of a pattern: each
    // filter is rebuilt from its description and its own pattern list.
    QStringList Filters, All;
    const QStringList Items = QString::fromStdString(ProviderFilters).split('|');
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
    // Workspaces are read by the map itself, not by a provider.
    All << "*.wor";
    Filters.prepend(QString("All supported files (%1)").arg(All.join(' ')));
    Filters << "MapInfo Workspaces (*.wor)"
            << "All files (*)";
    return Filters;
}

void TViewerWindow::OpenDialog() {
    const TFormatProviders* Registry = FormatProviders();
    const QStringList Chosen = QFileDialog::getOpenFileNames(
        this, "Open", QString(),
        OpenFilters(Registry ? Registry->GetFilter() : std::string()).join(";;"));
    std::vector<std::string> Files;
    for (const QString& F : Chosen)
        Files.push_back(F.toStdString());
    if (!Files.empty()) OpenLayerFiles(Files);
}

std::vector<TMapLayer*> TViewerWindow::OpenLayerFiles(const std::vector<std::string>& Files) {
    TMapLayers& Layers = FMap.Layers();
    bool Empty = true; // the view fits the first data, and stays put later
    for (int I = 0; I < Layers.Count() && Empty; ++I)
        Empty = Layers.Layers(I)->ObjectCount() == 0;
    std::vector<TMapLayer*> Added;
    for (const std::string& File : Files) {
        TStatusProgress::TWork Work(*FProgress, "Loading " + Apps::BaseName(File));
        // One file that fails leaves the others to load.
        try {
            if (std::string Why = Apps::UnreadableReason(File); !Why.empty()) {
                MessageDlg("Cannot read " + File + ": " + Why, mtError, mbOK);
                continue;
            }
            TReadProblems Problems;
            const int Before = Layers.Count();
            if (Apps::IsWorkspace(File)) {
                const double CX = FMap.CenterX(), CY = FMap.CenterY(), Zoom = FMap.Zoom();
                FMap.LoadWOR(File, Problems);
                // A workspace that places the map keeps its view.
                if (FMap.CenterX() != CX || FMap.CenterY() != CY || FMap.Zoom() != Zoom)
                    Empty = false;
            } else {
                const TFormatProviders* Registry = FormatProviders();
                TCustomFormatProvider* Provider =
                    Registry ? Registry->FindSuitableProvider(File) : nullptr;
                if (!Provider) {
                    MessageDlg("No format provider accepts " + File +
                                   "; accepted formats: " + Apps::AcceptedFormats(),
                               mtError, mbOK);
                    continue;
                }
                TMapLayer* Layer = Layers.Add(File, "");
                // A layer keeps its file name only when its provider loaded it.
                if (Layer->FileName().empty()) {
                    Layers.Delete(Layers.IndexOf(Layer));
                    MessageDlg("Could not open " + File, mtError, mbOK);
                    continue;
                }
                Problems = Provider->Problems();
            }
            for (int I = Before; I < Layers.Count(); ++I)
                Added.push_back(Layers.Layers(I));
            if (Layers.Count() == Before) {
                MessageDlg("No layer could be opened from " + File, mtError, mbOK);
            } else if (!Problems.Empty()) {
                std::string Text =
                    fmt::format("{} opened; {} {} read past:", File, Problems.Count(),
                                Problems.Count() == 1 ? "problem" : "problems");
                for (size_t I = 0; I < std::min<size_t>(5, Problems.Items().size()); ++I)
                    Text += "\n" + TReadProblems::Describe(Problems.Items()[I]);
                MessageDlg(Text, mtWarning, mbOK);
            }
        } catch (const std::exception& E) {
            MessageDlg("Could not open " + File + ": " + E.what(), mtError, mbOK);
        }
    }
    if (!Added.empty()) LayersAdded(Added, Empty);
    return Added;
}

void TViewerWindow::LayersAdded(const std::vector<TMapLayer*>& Added, bool Fit) {
    if (!FFileStyle)
        for (TMapLayer* Layer : Added)
            Apps::ApplyDefaultStyle(*Layer, FMap.Layers().IndexOf(Layer));
    if (Fit) FMap.FitView();
    RefreshEditableLayers();
    // The first layer added, unless a row was chosen already.
    if (!Added.empty()) ShowLayerData(FLayerControl.GetCurrentLayer() ? nullptr : Added.front());
}

void TViewerWindow::ReportInDialogs() {
    FDialogs = true;
    SetMessageHook([this](const std::string& Text, TMsgDlgType Type, int Buttons) {
        const QString Message = QString::fromStdString(Text);
        if (Buttons == mbYesNo || Buttons == mbYesNoCancel) {
            const auto Choice = QMessageBox::question(
                this, "Chartix Viewer", Message,
                Buttons == mbYesNo ? QMessageBox::Yes | QMessageBox::No
                                   : QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            return Choice == QMessageBox::Yes  ? int(mrYes)
                   : Choice == QMessageBox::No ? int(mrNo)
                                               : int(mrCancel);
        }
        const QMessageBox::Icon Icon = Type == mtError     ? QMessageBox::Critical
                                       : Type == mtWarning ? QMessageBox::Warning
                                                           : QMessageBox::Information;
        QMessageBox Box(
            Icon, "Chartix Viewer", Message,
            Buttons == mbOKCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, this);
        return Box.exec() == QMessageBox::Ok ? int(mrOk) : int(mrCancel);
    });
}

void TViewerWindow::RefreshEditableLayers() {
    TMapLayers& Layers = FMap.Layers();
    if (Layers.Count() == 0) Layers.Add("", "Drawing");
    int Chosen = -1;
    for (int I = 0; I < Layers.Count() && Chosen < 0; ++I)
        if (Layers.Layers(I)->Editable()) Chosen = I;
    if (Chosen < 0) Chosen = Layers.Count() - 1;
    SetEditableLayer(Chosen);
}

void TViewerWindow::ListEditableLayers() {
    const TMapLayers& Layers = FMap.Layers();
    FEditLayer->clear();
    for (int I = 0; I < Layers.Count(); ++I)
        FEditLayer->addItem(QString::fromStdString(Layers.Layers(I)->Name()));
    FEditLayer->setCurrentIndex(Layers.IndexOf(Layers.GetEditableLayer()));
}

void TViewerWindow::SetEditableLayer(int Index) {
    TMapLayers& Layers = FMap.Layers();
    if (Index < 0 || Index >= Layers.Count()) return;
    for (int I = 0; I < Layers.Count(); ++I)
        Layers.Layers(I)->SetEditable(I == Index);
    ListEditableLayers();
}

bool TViewerWindow::SaveLayer(TMapLayer& Layer) {
    std::string File = Layer.FileName();
    if (File.empty()) {
        File = QFileDialog::getSaveFileName(
                   this, QString::fromStdString("Save the layer " + Layer.Name()), "drawing.mif",
                   "MapInfo Interchange (*.mif)")
                   .toStdString();
        if (File.empty()) return false;
    }
    TStatusProgress::TWork Work(*FProgress, "Saving " + Apps::BaseName(File));
    if (!Layer.SaveToFile(File)) {
        MessageDlg("Could not save " + File, mtError, mbOK);
        return false;
    }
    Layer.SetFileName(File);
    statusBar()->showMessage(
        QString::fromStdString(fmt::format("Saved {} objects to {}", Layer.ObjectCount(), File)),
        5000);
    return true;
}

bool TViewerWindow::SaveEditableLayer() {
    TMapLayer* Layer = FMap.Layers().GetEditableLayer();
    return Layer && SaveLayer(*Layer);
}

bool TViewerWindow::ConfirmClose() {
    for (int I = 0; I < FMap.Layers().Count(); ++I) {
        TMapLayer& Layer = *FMap.Layers().Layers(I);
        if (!Layer.Modified()) continue;
        const int Answer = MessageDlg("Save the changes to layer \"" + Layer.Name() + "\"?",
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

void TViewerWindow::KeyDown(std::uint16_t& Key) {
    if (FText.Active()) return; // typing: every key is the text's
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
        FMap.Selection().Clear();
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

int OpenFiles(const std::string& Program, TViewerWindow& Window,
              const std::vector<std::string>& Files, bool FileStyle,
              Apps::TMessagePrinter& Messages) {
    TChartix& Map = Window.Map();
    Window.SetFileStyle(FileStyle);
    std::vector<TMapLayer*> Layers;
    for (const std::string& File : Files) {
        TStatusProgress::TWork Work(Window.Progress(), "Loading " + Apps::BaseName(File));
        if (int Code = Apps::LoadFile(Program, Map, File, Messages, Window.Printer(), Layers);
            Code != Apps::ExitOk)
            return Code;
    }
    Window.LayersAdded(Layers, true);
    if (Files.empty()) return Apps::ExitOk;
    Window.setWindowTitle(
        QString::fromStdString("Chartix Viewer - " + Apps::BaseName(Files.front())));
    return Apps::ExitOk;
}

} // namespace Viewer

#include "ViewerWindow.h"

#include "CliSupport.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
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

TViewerWindow::TViewerWindow(int MapWidth, int MapHeight) {
    FMap.SetParent(&FForm);
    FMap.SetBounds(0, 0, MapWidth, MapHeight);
    FMap.SetColor(Apps::DefaultBackground());
    FMap.SetZoomType(wmCursor);
    FMap.SetFastSelection(true);

    FHost = new TQtHost(&FMap, this);
    FHost->installEventFilter(this);
    setCentralWidget(FHost);
    AddTools();
    FPosition = new QLabel(this);
    FZoom = new QLabel(this);
    statusBar()->addWidget(FPosition, 1);
    statusBar()->addPermanentWidget(FZoom);

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
    // The host goes before the map it shows, the map's hooks before the
    // window parts they reach.
    delete FHost;
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
    QAction* Save = addAction("Save");
    Save->setShortcut(QKeySequence::Save);
    connect(Save, &QAction::triggered, this, [this] { Guarded([this] { SaveEditableLayer(); }); });
}

void TViewerWindow::RefreshEditableLayers() {
    TMapLayers& Layers = FMap.Layers();
    if (Layers.Count() == 0) Layers.Add("", "Drawing");
    int Chosen = -1;
    for (int I = 0; I < Layers.Count() && Chosen < 0; ++I)
        if (Layers.Layers(I)->Editable()) Chosen = I;
    if (Chosen < 0) Chosen = Layers.Count() - 1;
    FEditLayer->clear();
    for (int I = 0; I < Layers.Count(); ++I)
        FEditLayer->addItem(QString::fromStdString(Layers.Layers(I)->Name()));
    SetEditableLayer(Chosen);
}

void TViewerWindow::SetEditableLayer(int Index) {
    TMapLayers& Layers = FMap.Layers();
    if (Index < 0 || Index >= Layers.Count()) return;
    for (int I = 0; I < Layers.Count(); ++I)
        Layers.Layers(I)->SetEditable(I == Index);
    FEditLayer->setCurrentIndex(Index);
}

bool TViewerWindow::SaveEditableLayer() {
    TMapLayer* Layer = FMap.Layers().GetEditableLayer();
    if (!Layer) return false;
    std::string File = Layer->FileName();
    if (File.empty()) {
        File = QFileDialog::getSaveFileName(this, "Save the layer", "drawing.mif",
                                            "MapInfo Interchange (*.mif)")
                   .toStdString();
        if (File.empty()) return false;
    }
    if (!Layer->SaveToFile(File)) {
        MessageDlg("Could not save " + File, mtError, mbOK);
        return false;
    }
    Layer->SetFileName(File);
    statusBar()->showMessage(
        QString::fromStdString(fmt::format("Saved {} objects to {}", Layer->ObjectCount(), File)),
        5000);
    return true;
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
    if (Watched == FHost && Event->type() == QEvent::Paint && !FPainted) {
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
              Apps::TMessagePrinter& Messages, Apps::TProgressPrinter& Progress) {
    TChartix& Map = Window.Map();
    for (const std::string& File : Files) {
        std::vector<TMapLayer*> Layers;
        if (int Code = Apps::LoadFile(Program, Map, File, Messages, Progress, Layers);
            Code != Apps::ExitOk)
            return Code;
        if (!FileStyle)
            for (TMapLayer* Layer : Layers)
                Apps::ApplyDefaultStyle(*Layer, Map.Layers().IndexOf(Layer));
    }
    Map.FitView();
    Window.RefreshEditableLayers();
    Window.setWindowTitle(
        QString::fromStdString("Chartix Viewer - " + Apps::BaseName(Files.front())));
    return Apps::ExitOk;
}

} // namespace Viewer

#include "widgets/MapWidget.h"

#include "core/DataLinks.h"
#include "formats/StandardProviders.h"
#include "platform/QtHost.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QMetaObject>

#include <algorithm>

// The map's notifications as signals: the data links are the map's way of
// telling many listeners, so no event of the program's is taken.
class ChartixMapWidget::TSignalLink : public Mapobjects::TMapDataLink {
public:
    explicit TSignalLink(ChartixMapWidget& Widget) : FWidget(Widget) {}
    void MapEvent(Mapobjects::TMapDataLinkEvent Event, Platform::TObject* Sender,
                  int Info) override {
        using namespace Mapobjects;
        TMapDataLink::MapEvent(Event, Sender, Info);
        switch (Event) {
        case mdlAddSelection:
        case mdlDelSelection:
            FWidget.EmitLater(&ChartixMapWidget::selectionChanged, FWidget.FSelectionPending);
            break;
        case mdlAddObject:
            // Told by the layer, which has just appended the object.
            if (auto* Layer = dynamic_cast<TMapLayer*>(Sender); Layer && Layer->ObjectCount() > 0)
                emit FWidget.objectAdded(Layer->Last());
            break;
        case mdlRemoveObject:
            break;
        default: // the layer events
            FWidget.EmitLater(&ChartixMapWidget::layersChanged, FWidget.FLayersPending);
            break;
        }
    }

private:
    ChartixMapWidget& FWidget;
};

ChartixMapWidget::ChartixMapWidget(QWidget* Parent)
    : ChartixControlWidget(Parent), FLink(std::make_unique<TSignalLink>(*this)) {
    // The wheel keeps the point under the cursor and a click picks what is
    // drawn there, as users of desktop GIS programs expect; the bare control
    // keeps its documented defaults. Big layers draw from simplified copies
    // when zoomed out, so the map stays quick to pan, and layers in other
    // coordinate systems line up.
    FMap.SetZoomType(Mapobjects::wmAnchor);
    FMap.SetPreciseHitTest(true);
    FMap.Options().SetLevelOfDetail(true);
    FMap.Options().SetReprojectLayers(true);
    // .mif and .tab open with no provider code of the program's own.
    Mapobjects::RegisterStandardProviders();
    FLink->SetMap(&FMap);
    FMap.OnShowProgress = [this](Platform::TObject*, int Position) { emit progress(Position); };
    AddTools();
    Show(FMap, 400, 300);
    Host().installEventFilter(this);
}

ChartixMapWidget::~ChartixMapWidget() {
    FMap.OnMapToolChanged = nullptr; // the actions go with this widget
    FLink->SetMap(nullptr);
    DropHost();
}

void ChartixMapWidget::AddTools() {
    FActions = new QActionGroup(this);
    const QPair<Mapobjects::TCustomMapTool*, const char*> Tools[] = {
        {&FStd.Select, "Select"},  {&FStd.ZoomIn, "Zoom In"},    {&FStd.ZoomOut, "Zoom Out"},
        {&FStd.Pan, "Pan"},        {&FStd.Measure, "Measure"},   {&FStd.Line, "Line"},
        {&FStd.Rect, "Rectangle"}, {&FStd.Polyline, "Polyline"}, {&FStd.Region, "Region"},
        {&FStd.Symbol, "Symbol"},  {&FStd.Circle, "Circle"},     {&FStd.Text, "Text"}};
    for (const auto& Entry : Tools) {
        Mapobjects::TCustomMapTool* Tool = Entry.first;
        const char* Text = Entry.second;
        auto* A = new QAction(tr(Text), FActions);
        A->setCheckable(true);
        A->setObjectName(QString(Text).remove(' ').toLower() + "Tool");
        Tool->SetChartix(&FMap);
        connect(A, &QAction::triggered, this, [Tool] { Tool->SetActive(true); });
        FTools.append({A, Tool});
    }
    FMap.OnMapToolChanged = [this](Platform::TObject*) {
        Mapobjects::TCustomMapTool* Active = FMap.MapToolsManager().GetActiveMapTool();
        for (const auto& [Action, Tool] : FTools)
            Action->setChecked(Tool == Active);
        EmitLater(&ChartixMapWidget::toolChanged, FToolPending);
    };
    FStd.Pan.SetActive(true);
}

QList<QAction*> ChartixMapWidget::toolActions() const {
    QList<QAction*> Actions;
    for (const auto& Entry : FTools)
        Actions.append(Entry.first);
    return Actions;
}

Mapobjects::TCustomMapTool* ChartixMapWidget::toolOf(const QAction* Action) const {
    for (const auto& [A, Tool] : FTools)
        if (A == Action) return Tool;
    return nullptr;
}

void ChartixMapWidget::EmitLater(void (ChartixMapWidget::*Signal)(), bool& Pending) {
    if (Pending) return;
    Pending = true;
    // Queued: slots never run inside the map's own notifications, and a
    // burst (selecting a thousand objects) tells once.
    QMetaObject::invokeMethod(
        this,
        [this, Signal, &Pending] {
            Pending = false;
            emit(this->*Signal)();
        },
        Qt::QueuedConnection);
}

bool ChartixMapWidget::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == &Host() && Event->type() == QEvent::Paint) {
        const double View[6] = {FMap.CenterX(),
                                FMap.CenterY(),
                                FMap.Zoom(),
                                FMap.RotationAngle(),
                                double(FMap.ClientWidth()),
                                double(FMap.ClientHeight())};
        if (!std::equal(View, View + 6, FViewShown)) {
            std::copy(View, View + 6, FViewShown);
            EmitLater(&ChartixMapWidget::extentChanged, FExtentPending);
        }
    }
    return ChartixControlWidget::eventFilter(Watched, Event);
}

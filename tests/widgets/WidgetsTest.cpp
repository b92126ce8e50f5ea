// The widgets for forms: companions follow a map widget, outlive it, and the
// data browser follows the row picked in a layer control widget.
#include "support/MapFixture.h"
#include "widgets/DataBrowserWidget.h"
#include "widgets/LayerControlWidget.h"
#include "widgets/LayersComboBoxWidget.h"
#include "widgets/MapWidget.h"

#include "platform/QtHost.h"

#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace Mapobjects;
using namespace Platform;

namespace {

// A companion widget seen through what the tests read from it.
struct Companion {
    const char* Name;
    std::function<std::unique_ptr<ChartixCompanionWidget>()> Make;
    std::function<int(ChartixCompanionWidget&)> Rows;
    std::function<TChartix*(ChartixCompanionWidget&)> Map;
};

const Companion Companions[] = {
    {"layer control", [] { return std::make_unique<ChartixLayerControlWidget>(); },
     [](ChartixCompanionWidget& W) {
         return static_cast<ChartixLayerControlWidget&>(W).LayerControl().Items().Count();
     },
     [](ChartixCompanionWidget& W) {
         return static_cast<ChartixLayerControlWidget&>(W).LayerControl().Map();
     }},
    {"layers combo box", [] { return std::make_unique<ChartixLayersComboBoxWidget>(); },
     [](ChartixCompanionWidget& W) {
         return static_cast<ChartixLayersComboBoxWidget&>(W).LayersComboBox().Items().Count();
     },
     [](ChartixCompanionWidget& W) {
         return static_cast<ChartixLayersComboBoxWidget&>(W).LayersComboBox().Map();
     }},
};

TEST(Widgets, CompanionsFollowTheirMapWidgetAndOutliveIt) {
    for (const Companion& C : Companions) {
        SCOPED_TRACE(C.Name);
        auto First = std::make_unique<ChartixMapWidget>();
        First->Map().Layers().Add("", "early");
        ChartixMapWidget Second;
        std::unique_ptr<ChartixCompanionWidget> W = C.Make();

        W->setMapWidget(First.get());
        EXPECT_EQ(C.Rows(*W), 1) << "the layers the map already had are listed";
        First->Map().Layers().Add("", "late");
        EXPECT_EQ(C.Rows(*W), 2);

        W->setMapWidget(&Second);
        EXPECT_EQ(C.Map(*W), &Second.Map());
        EXPECT_EQ(C.Rows(*W), 0) << "no rows of the other map's layers";
        First->Map().Layers().Add("", "unseen");
        EXPECT_EQ(C.Rows(*W), 0);

        W->setMapWidget(nullptr);
        EXPECT_EQ(C.Map(*W), nullptr);
        Second.Map().Layers().Add("", "unseen");
        EXPECT_EQ(C.Rows(*W), 0);

        W->setMapWidget(First.get());
        EXPECT_EQ(C.Rows(*W), 3);
        First.reset();
        EXPECT_EQ(W->mapWidget(), nullptr);
        EXPECT_EQ(C.Map(*W), nullptr);
        EXPECT_EQ(C.Rows(*W), 0);
        W->resize(200, 100);
        EXPECT_FALSE(W->grab().isNull()) << "the companion still paints";
        W->setMapWidget(&Second);
        EXPECT_EQ(C.Rows(*W), 1);
    }
}

TEST(Widgets, DataBrowserShowsTheLayerPickedInTheLayerControl) {
    ChartixMapWidget Map;
    ChartixLayerControlWidget Layers;
    auto Data = std::make_unique<ChartixDataBrowserWidget>();
    TMapLayer* Layer[2];
    for (int I = 0; I < 2; ++I) {
        Layer[I] = Map.Map().Layers().Add("", I ? "rivers" : "towns");
        Layer[I]->Fields().Add("Name", dtString, 20);
        Testing::AddSquare(Layer[I], 0, 0, 10);
    }
    Layers.setMapWidget(&Map);
    Layers.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Layers));
    Data->setLayerControlWidget(&Layers);
    EXPECT_EQ(Data->DataBrowser().Layer(), nullptr) << "no current row yet";

    const TRect Name = Layers.LayerControl().GetNameRect(1);
    QTest::mouseClick(&Layers.Host(), Qt::LeftButton, {},
                      QPoint(Name.Left + 5, (Name.Top + Name.Bottom) / 2));
    QTest::qWait(1);
    ASSERT_EQ(Layers.LayerControl().ItemIndex(), 1);
    EXPECT_EQ(Data->DataBrowser().Layer(), Layer[1]);
    EXPECT_EQ(Data->DataBrowser().RowCount(), 2) << "a header row and the object's";

    QTest::keyClick(&Layers.Host(), Qt::Key_Up);
    QTest::qWait(1);
    ASSERT_EQ(Layers.LayerControl().ItemIndex(), 0);
    EXPECT_EQ(Data->DataBrowser().Layer(), Layer[0]);

    // The application's own handlers stay its own.
    int Clicks = 0;
    Layers.LayerControl().OnClick = [&](TObject*) { ++Clicks; };
    QTest::mouseClick(&Layers.Host(), Qt::LeftButton, {},
                      QPoint(Name.Left + 5, (Name.Top + Name.Bottom) / 2));
    QTest::qWait(1);
    EXPECT_GT(Clicks, 0);
    EXPECT_EQ(Data->DataBrowser().Layer(), Layer[1]);
    Layers.LayerControl().OnClick = nullptr;

    // Either side may go first.
    Data.reset();
    QTest::keyClick(&Layers.Host(), Qt::Key_Up);
    QTest::qWait(1);
    Data = std::make_unique<ChartixDataBrowserWidget>();
    {
        ChartixLayerControlWidget Gone;
        Gone.setMapWidget(&Map);
        Data->setLayerControlWidget(&Gone);
    }
    EXPECT_EQ(Data->layerControlWidget(), nullptr);
}

} // namespace

// The map widget works out of the box: a drag pans, the standard tools come
// as actions that follow the active tool, and what changes is told by
// signals that any number of slots hear, bursts once.
TEST(Widgets, TheMapWidgetPansOutOfTheBoxAndTellsBySignals) {
    ChartixMapWidget W;
    W.resize(400, 300);
    int Selections[2] = {}, Layers = 0, Extents = 0, Tools = 0, Added = 0;
    for (int& Count : Selections)
        QObject::connect(&W, &ChartixMapWidget::selectionChanged, [&Count] { ++Count; });
    QObject::connect(&W, &ChartixMapWidget::layersChanged, [&] { ++Layers; });
    QObject::connect(&W, &ChartixMapWidget::extentChanged, [&] { ++Extents; });
    QObject::connect(&W, &ChartixMapWidget::toolChanged, [&] { ++Tools; });
    QObject::connect(&W, &ChartixMapWidget::objectAdded, [&](TCustomMapObject*) { ++Added; });
    TMapLayer* L = W.Map().Layers().Add("", "squares");
    for (int I = 0; I < 5; ++I)
        Testing::AddSquare(L, I * 20, 0, 10);
    W.Map().FitView();
    W.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&W));
    QTest::qWait(20);
    EXPECT_EQ(Added, 5);
    EXPECT_EQ(Layers, 1) << "a burst of layer events tells once";
    EXPECT_GE(Extents, 1);

    const QList<QAction*> Actions = W.toolActions();
    ASSERT_EQ(Actions.size(), 12);
    QAction* Pan = Actions[3];
    EXPECT_TRUE(Pan->isChecked()) << "panning is the tool at start";
    const double X = W.Map().CenterX();
    Extents = 0;
    QTest::mousePress(&W.Host(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&W.Host(), QPoint(150, 100));
    QTest::mouseRelease(&W.Host(), Qt::LeftButton, {}, QPoint(200, 100));
    QTest::qWait(20);
    EXPECT_LT(W.Map().CenterX(), X) << "a drag to the right shows what lies left";
    EXPECT_EQ(Extents, 1);

    Tools = 0;
    Actions[0]->trigger();
    QTest::qWait(1);
    EXPECT_EQ(W.toolOf(Actions[0]), W.Map().MapToolsManager().GetActiveMapTool());
    EXPECT_TRUE(Actions[0]->isChecked() && !Pan->isChecked());
    EXPECT_EQ(Tools, 1);
    for (int I = 0; I < L->ObjectCount(); ++I)
        L->Objects(I)->Select();
    QTest::qWait(1);
    EXPECT_EQ(Selections[0], 1);
    EXPECT_EQ(Selections[1], 1);
}

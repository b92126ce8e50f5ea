// The widgets for forms: companions follow a map widget, outlive it, and the
// data browser follows the row picked in a layer control widget.
#include "support/MapFixture.h"
#include "widgets/DataBrowserWidget.h"
#include "widgets/LayerControlWidget.h"
#include "widgets/LayersComboBoxWidget.h"
#include "widgets/MapWidget.h"

#include "platform/QtHost.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace Mapobjects;
using namespace Platform;

namespace {

// A companion of kind T lists the layers of the map widget it follows, and
// outlives it; ControlOf gives the control inside it.
template <class T, class F> void ExpectFollowsAndOutlives(F ControlOf) {
    auto First = std::make_unique<ChartixMapWidget>();
    First->Map().Layers().Add("", "early");
    ChartixMapWidget Second;
    Second.Map().Layers().Add("", "other");
    T W;
    auto Rows = [&] { return ControlOf(W).Items().Count(); };

    W.setMapWidget(First.get());
    EXPECT_EQ(Rows(), 1) << "the layers the map already had are listed";
    First->Map().Layers().Add("", "late");
    EXPECT_EQ(Rows(), 2);

    W.setMapWidget(&Second);
    EXPECT_EQ(ControlOf(W).Map(), &Second.Map());
    First->Map().Layers().Add("", "unseen");
    EXPECT_EQ(Rows(), 1) << "rows of the other map's layers";

    W.setMapWidget(First.get());
    EXPECT_EQ(Rows(), 3);
    First.reset();
    EXPECT_EQ(W.mapWidget(), nullptr);
    EXPECT_EQ(ControlOf(W).Map(), nullptr);
    EXPECT_EQ(Rows(), 0);
    W.resize(200, 100);
    EXPECT_FALSE(W.grab().isNull()) << "the companion still paints";
    W.setMapWidget(&Second);
    EXPECT_EQ(Rows(), 1);
}

TEST(Widgets, CompanionsFollowTheirMapWidgetAndOutliveIt) {
    ExpectFollowsAndOutlives<ChartixLayerControlWidget>(
        [](ChartixLayerControlWidget& W) -> TLayerControl& { return W.LayerControl(); });
    ExpectFollowsAndOutlives<ChartixLayersComboBoxWidget>(
        [](ChartixLayersComboBoxWidget& W) -> TLayersComboBox& { return W.LayersComboBox(); });
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

    // The application's own handlers stay its own.
    int Clicks = 0;
    Layers.LayerControl().OnClick = [&](TObject*) { ++Clicks; };
    const TRect First = Layers.LayerControl().GetNameRect(0);
    QTest::mouseClick(&Layers.Host(), Qt::LeftButton, {},
                      QPoint(First.Left + 5, (First.Top + First.Bottom) / 2));
    QTest::qWait(1);
    EXPECT_GT(Clicks, 0);
    EXPECT_EQ(Data->DataBrowser().Layer(), Layer[0]);
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
// signals, bursts once.
TEST(Widgets, TheMapWidgetPansOutOfTheBoxAndTellsBySignals) {
    ChartixMapWidget W;
    W.resize(400, 300);
    int Selections = 0, Layers = 0, Extents = 0, Tools = 0, Added = 0;
    QObject::connect(&W, &ChartixMapWidget::selectionChanged, [&] { ++Selections; });
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
    EXPECT_EQ(Selections, 1);
}

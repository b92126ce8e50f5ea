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

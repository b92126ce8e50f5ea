// The companion controls in a real window: the Qt host's pointer and keys
// reach them and act on the map.
#include "controls/DataBrowser.h"
#include "controls/LayerCtrl.h"
#include "core/MapObjects.h"
#include "objects/Polys.h"
#include "platform/QtHost.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace Mapobjects;
using namespace Platform;

TEST(QtHostControls, ClicksAndKeysInAWindowActOnTheMap) {
    QWidget Top;
    TWinControl Form(nullptr);
    TChartix Map(nullptr);
    TLayerControl Layers(nullptr);
    TDataBrowser Grid(nullptr);
    Layers.SetParent(&Form);
    Layers.SetBounds(0, 0, 200, 60);
    Layers.SetMap(&Map);
    Grid.SetParent(&Form);
    Grid.SetBounds(0, 0, 300, 100);
    auto* LayersHost = new TQtHost(&Layers, &Top);
    auto* GridHost = new TQtHost(&Grid, &Top);
    LayersHost->setGeometry(0, 0, 200, 60);
    GridHost->setGeometry(0, 70, 300, 100);
    Top.resize(300, 170);

    TMapLayer* Roads = Map.Layers().Add("", "roads");
    Roads->Fields().Add("Name", dtString, 20);
    Roads->NewObject<TPolyline>()->Fields().GetFields(0)->SetAsString("Main");
    Grid.SetLayer(Roads);
    Top.show();
    Top.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Top));

    const TRect Pencil = Layers.GetEditableRect(0);
    QTest::mouseClick(LayersHost, Qt::LeftButton, {}, QPoint(Pencil.Left + 5, Pencil.Top + 5));
    ASSERT_TRUE(Roads->Editable());
    ASSERT_TRUE(Grid.EditorMode());

    const TRect Cell = Grid.CellRect(1, 1);
    QTest::mouseClick(GridHost, Qt::LeftButton, {}, QPoint(Cell.Left + 5, Cell.Top + 5));
    QTest::keyClicks(GridHost, "High");
    QTest::keyClick(GridHost, Qt::Key_Return);
    EXPECT_EQ(Roads->Objects(0)->Fields().GetFields(0)->AsString(), "High");
    EXPECT_TRUE(Roads->Objects(0)->GetSelected()) << "Enter also selects the row's object";

    QTest::mouseClick(LayersHost, Qt::LeftButton, {}, QPoint(20, 7));
    EXPECT_TRUE(Layers.Focused());
    QTest::keyClick(LayersHost, Qt::Key_Delete);
    EXPECT_EQ(Map.Layers().Count(), 0);
    EXPECT_EQ(Grid.RowCount(), 2);
}

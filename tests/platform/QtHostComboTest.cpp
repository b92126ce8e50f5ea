// The Qt host of a combo box: the drop-down list in a popup below it, its
// keys going to the combo box, and Qt closing the popup closing the list.
#include "platform/ComboBox.h"
#include "platform/QtHost.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace Platform;

namespace {

struct TComboWindow {
    QWidget Top;
    TCustomComboBox Combo{nullptr};
    TQtHost* Host;
    TComboWindow() {
        Combo.SetStyle(csDropDownList);
        for (const char* Item : {"one", "two", "three"})
            Combo.Items().Add(Item);
        Combo.SetBounds(0, 0, 120, 20);
        Top.resize(200, 150);
        Host = new TQtHost(&Combo, &Top);
        Host->move(10, 10);
        Top.show();
        Top.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Top));
    }
    // The popup's host, when the popup shows.
    TQtHost* Shown() const {
        // TQtHost has no meta-object of its own: Qt's casts would take any widget.
        for (QWidget* Child : Host->findChildren<QWidget*>())
            if (auto* H = dynamic_cast<TQtHost*>(Child); H && H->isVisible()) return H;
        return nullptr;
    }
    TQtHost* Open() {
        QTest::mouseClick(Host, Qt::LeftButton, {}, QPoint(60, 10));
        QApplication::processEvents();
        return Shown();
    }
};

} // namespace

TEST(QtHostCombo, TheDropDownListShowsBelowTheComboBoxUntilItCloses) {
    TComboWindow W;
    EXPECT_EQ(W.Shown(), nullptr);
    TQtHost* Popup = W.Open();
    ASSERT_NE(Popup, nullptr);
    EXPECT_TRUE(W.Combo.DroppedDown());
    EXPECT_EQ(Popup->Control(), W.Combo.DropDownList());
    EXPECT_EQ(Popup->mapToGlobal(QPoint(0, 0)), W.Host->mapToGlobal(QPoint(0, 20)));
    EXPECT_EQ(Popup->size(), QSize(120, 3 * W.Combo.ItemHeight()));

    // Keys typed in the popup go to the combo box: Down moves the list's
    // row, Enter takes it and closes the list.
    QTest::keyClick(Popup, Qt::Key_Down);
    QTest::keyClick(Popup, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(W.Combo.ItemIndex(), 0);
    EXPECT_FALSE(W.Combo.DroppedDown());
    EXPECT_EQ(W.Shown(), nullptr);

    // A click on a row chooses it.
    Popup = W.Open();

    ASSERT_NE(Popup, nullptr);
    const int Row = W.Combo.ItemHeight();
    QTest::mouseClick(Popup, Qt::LeftButton, {}, QPoint(30, 2 * Row + Row / 2));
    QApplication::processEvents();
    EXPECT_EQ(W.Combo.ItemIndex(), 2);
    EXPECT_EQ(W.Combo.Text(), "three");
    EXPECT_EQ(W.Shown(), nullptr);

    // Qt closing the popup (a click elsewhere) closes the list unchosen.
    Popup = W.Open();
    ASSERT_NE(Popup, nullptr);
    Popup->window()->close();
    QApplication::processEvents();
    EXPECT_FALSE(W.Combo.DroppedDown());
    EXPECT_EQ(W.Combo.ItemIndex(), 2);
}

// The Designer plugin as Designer sees it: loaded from its file, the four
// widgets in the Chartix group, made on a form. How the made widgets work
// together is WidgetsTest.cpp's.

#include <QDir>
#include <QFile>
#include <QPluginLoader>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <gtest/gtest.h>
#include <map>

namespace {

TEST(DesignerPlugin, OffersTheFourWidgetsAndMakesThemOnAForm) {
    QPluginLoader Loader(QStringLiteral(CHARTIX_DESIGNER_PLUGIN_FILE));
    QObject* Instance = Loader.instance();
    ASSERT_NE(Instance, nullptr) << Loader.errorString().toStdString();
    auto* Collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(Instance);
    ASSERT_NE(Collection, nullptr);

    const std::map<QString, QString> Expected = {
        {"ChartixMapWidget", "widgets/MapWidget.h"},
        {"ChartixLayerControlWidget", "widgets/LayerControlWidget.h"},
        {"ChartixLayersComboBoxWidget", "widgets/LayersComboBoxWidget.h"},
        {"ChartixDataBrowserWidget", "widgets/DataBrowserWidget.h"},
    };
    const QList<QDesignerCustomWidgetInterface*> Widgets = Collection->customWidgets();
    ASSERT_EQ(Widgets.size(), 4);
    QWidget Form;
    for (QDesignerCustomWidgetInterface* W : Widgets) {
        const QString Name = W->name();
        SCOPED_TRACE(Name.toStdString());
        ASSERT_EQ(Expected.count(Name), 1u);
        EXPECT_EQ(W->group(), "Chartix");
        EXPECT_EQ(W->includeFile(), Expected.at(Name));
        EXPECT_TRUE(QFile::exists(QStringLiteral(CHARTIX_SOURCE_DIR "/") + W->includeFile()))
            << "the header is one the install package ships";
        EXPECT_TRUE(W->domXml().contains(QStringLiteral("class=\"%1\"").arg(Name)));
        QWidget* Widget = W->createWidget(&Form);
        ASSERT_NE(Widget, nullptr);
        EXPECT_EQ(Widget->parent(), &Form);
        EXPECT_EQ(Widget->metaObject()->className(), Name) << "Designer refuses other classes";
    }
}

} // namespace

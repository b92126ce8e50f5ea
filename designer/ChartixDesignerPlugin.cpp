#include "ChartixDesignerPlugin.h"

#include "widgets/DataBrowserWidget.h"
#include "widgets/LayerControlWidget.h"
#include "widgets/LayersComboBoxWidget.h"
#include "widgets/MapWidget.h"

#include <exception>
#include <utility>

ChartixDesignerWidget::ChartixDesignerWidget(QString Name, QString Object, QString Header,
                                             QString Tip, QSize Size, TFactory Factory)
    : FName(std::move(Name)), FObject(std::move(Object)), FHeader(std::move(Header)),
      FTip(std::move(Tip)), FSize(Size), FFactory(std::move(Factory)) {}

QWidget* ChartixDesignerWidget::createWidget(QWidget* Parent) {
    // Designer calls in from its event loop: nothing may be thrown back.
    try {
        return FFactory(Parent);
    } catch (const std::exception& E) {
        qWarning("Chartix: cannot create %s: %s", qPrintable(FName), E.what());
    } catch (...) {
        qWarning("Chartix: cannot create %s", qPrintable(FName));
    }
    return nullptr;
}

QString ChartixDesignerWidget::domXml() const {
    return QStringLiteral("<ui language=\"c++\">\n"
                          " <widget class=\"%1\" name=\"%2\">\n"
                          "  <property name=\"geometry\">\n"
                          "   <rect><x>0</x><y>0</y><width>%3</width><height>%4</height></rect>\n"
                          "  </property>\n"
                          " </widget>\n"
                          "</ui>\n")
        .arg(FName, FObject)
        .arg(FSize.width())
        .arg(FSize.height());
}

ChartixDesignerPlugin::ChartixDesignerPlugin(QObject* Parent) : QObject(Parent) {
    auto Add = [this](const char* Name, const char* Object, const char* Header, const char* Tip,
                      QSize Size, ChartixDesignerWidget::TFactory Factory) {
        FWidgets.push_back(std::make_unique<ChartixDesignerWidget>(Name, Object, Header, Tip, Size,
                                                                   std::move(Factory)));
    };
    Add("ChartixMapWidget", "mapWidget", "widgets/MapWidget.h",
        "Chartix map: layers of vector objects to zoom, pan, rotate and select", QSize(400, 300),
        [](QWidget* P) { return new ChartixMapWidget(P); });
    Add("ChartixLayerControlWidget", "layerControlWidget", "widgets/LayerControlWidget.h",
        "Chartix layer list: a row per layer of a map with its visible, selectable, editable and "
        "auto-label switches (setMapWidget)",
        QSize(220, 200), [](QWidget* P) { return new ChartixLayerControlWidget(P); });
    Add("ChartixLayersComboBoxWidget", "layersComboBoxWidget", "widgets/LayersComboBoxWidget.h",
        "Chartix layer picker: the layers of a map in a combo box (setMapWidget)", QSize(160, 22),
        [](QWidget* P) { return new ChartixLayersComboBoxWidget(P); });
    Add("ChartixDataBrowserWidget", "dataBrowserWidget", "widgets/DataBrowserWidget.h",
        "Chartix data browser: the attribute table of a layer, following a layer list "
        "(setLayerControlWidget)",
        QSize(400, 150), [](QWidget* P) { return new ChartixDataBrowserWidget(P); });
}

ChartixDesignerPlugin::~ChartixDesignerPlugin() = default;

QList<QDesignerCustomWidgetInterface*> ChartixDesignerPlugin::customWidgets() const {
    QList<QDesignerCustomWidgetInterface*> List;
    for (const auto& W : FWidgets)
        List.append(W.get());
    return List;
}

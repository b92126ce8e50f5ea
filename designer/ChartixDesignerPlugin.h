#pragma once
// The Qt Designer plugin: puts the map widget and the three companion
// widgets in the "Chartix" group of Designer's widget box.

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <functional>
#include <memory>
#include <vector>

// One widget of the box: its texts and how to make it.
class ChartixDesignerWidget : public QDesignerCustomWidgetInterface {
public:
    using TFactory = std::function<QWidget*(QWidget* Parent)>;
    // Name is the class; Object the object name a new one gets on a form.
    ChartixDesignerWidget(QString Name, QString Object, QString Header, QString Tip, QSize Size,
                          TFactory Factory);

    QString name() const override { return FName; }
    QString group() const override { return QStringLiteral("Chartix"); }
    QString toolTip() const override { return FTip; }
    QString whatsThis() const override { return FTip; }
    // The installed header, as an application includes it.
    QString includeFile() const override { return FHeader; }
    QIcon icon() const override { return {}; }
    bool isContainer() const override { return false; }
    QWidget* createWidget(QWidget* Parent) override;
    bool isInitialized() const override { return FInitialized; }
    void initialize(QDesignerFormEditorInterface*) override { FInitialized = true; }
    // The class, the object name and the size a widget gets on a form.
    QString domXml() const override;

private:
    QString FName, FObject, FHeader, FTip;
    QSize FSize;
    TFactory FFactory;
    bool FInitialized = false;
};

class ChartixDesignerPlugin : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit ChartixDesignerPlugin(QObject* Parent = nullptr);
    ~ChartixDesignerPlugin() override;
    QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

private:
    std::vector<std::unique_ptr<ChartixDesignerWidget>> FWidgets;
};

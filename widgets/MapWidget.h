#pragma once
// The map control as a QWidget for forms: owns a TChartix and shows it,
// ready to use: the pan tool is active (drag to pan), the wheel keeps the map
// point under the cursor (wmAnchor), a click picks what is drawn there
// (PreciseHitTest), and the standard tools come as checkable QActions to drop
// into a toolbar or menu. Qt signals tell what changed, to any number of
// slots; the map's own single-slot events stay free for the program, except
// OnMapToolChanged and OnShowProgress, which feed toolChanged and progress
// (a program that sets them itself takes those two signals over).

#include "../core/ChartixExport.h"
#include "../core/MapObjects.h"
#include "../tools/StdMapTools.h"
#include "ControlWidget.h"

#include <QList>
#include <memory>

class QAction;
class QActionGroup;

/// The map control as a QWidget, ready to use: it owns a map and the standard tools
/// (offered as QActions), and reports changes as Qt signals.
class CHARTIX_EXPORT ChartixMapWidget : public ChartixControlWidget {
    Q_OBJECT

public:
    /// Creates the widget with an empty map, 400 x 300 to start with: anchored wheel zoom,
    /// precise hit testing, the standard file providers registered and the standard tools
    /// attached.
    explicit ChartixMapWidget(QWidget* Parent = nullptr);
    /// Unhooks the map's OnMapToolChanged and the signal link before the map goes.
    ~ChartixMapWidget() override;

    /// The map the widget shows; owned by the widget.
    Mapobjects::TChartix& Map() { return FMap; }

    /// One checkable, exclusive action per standard tool, in this order:
    /// Select, Zoom In, Zoom Out, Pan, Measure, Line, Rectangle, Polyline,
    /// Region, Symbol, Circle (geodesic, 100 km), Text (the drawing tools add
    /// to the editable layer).
    /// toolBar->addActions(map->toolActions()) gives them a toolbar.
    QList<QAction*> toolActions() const;
    /// The tool behind one of those actions.
    Mapobjects::TCustomMapTool* toolOf(const QAction* Action) const;
    /// The measure tool, whose OnMeasure reports lengths.
    Mapobjects::TMeasureTool& measureTool() { return FStd.Measure; }

signals:
    /// The view shows another centre, zoom, turn or size (once per repaint).
    void extentChanged();
    /// Objects joined or left the selection (once per burst of changes).
    void selectionChanged();
    /// A layer was added, removed, moved, or one of its switches changed
    /// (once per burst of changes).
    void layersChanged();
    /// Another tool became active, or none (once per switch).
    void toolChanged();
    /// An object joined a layer of the map (a drawing tool's, a program's);
    /// told at once, while the map adds it, so the object is whole.
    void objectAdded(Mapobjects::TCustomMapObject* Object);
    /// A load, save or paint in progress: the position the map reported.
    void progress(int Position);

protected:
    /// Watches the host's paints to emit extentChanged when the view differs from the
    /// one last painted. Never filters the event out.
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    class TSignalLink;
    // Emits Signal once the events queued so far are handled, once however
    // often it is asked for meanwhile.
    void EmitLater(void (ChartixMapWidget::*Signal)(), bool& Pending);
    void AddTools();

    Mapobjects::TChartix FMap{nullptr};
    Mapobjects::TStandardTools FStd; // the tools go before the map they work on
    std::unique_ptr<TSignalLink> FLink;
    QActionGroup* FActions = nullptr;
    QList<QPair<QAction*, Mapobjects::TCustomMapTool*>> FTools;
    // The view of the last repaint: centre, zoom, turn, size.
    double FViewShown[6] = {};
    bool FSelectionPending = false, FLayersPending = false, FExtentPending = false,
         FToolPending = false;
};

#pragma once
// Asks which layers of a multi-layer source (a GeoPackage's tables, a KML
// file's folders) to open.

#include <QStringList>

class QWidget;

namespace Viewer {

// Shows the layers of File, all ticked; false when the user cancels. Chosen
// gets the ticked names in the source's order.
bool PickSourceLayers(QWidget* Parent, const QString& File, const QStringList& Layers,
                      QStringList& Chosen);

} // namespace Viewer

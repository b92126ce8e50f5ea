#include "ScaleBar.h"

#include "geodesy/Geodesic.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace Viewer {

using namespace Mapobjects;

namespace {

constexpr int MaxBarWidth = 120, Margin = 8, Height = 30;

} // namespace

bool LooksGeographic(const TChartix& Map) {
    const TBounds B = Map.DataExtent();
    return B.MinX <= B.MaxX && B.MinX >= -180.5 && B.MaxX <= 180.5 && B.MinY >= -90.5 &&
           B.MaxY <= 90.5;
}

TScaleBar::TScaleBar(const TChartix& Map, QWidget* Parent) : QWidget(Parent), FMap(Map) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setObjectName("scaleBar");
    Parent->installEventFilter(this);
    Place();
}

void TScaleBar::Refresh() {
    FText.clear();
    FBarWidth = 0;
    const int W = FMap.ClientWidth(), H = FMap.ClientHeight();
    if (W > 2 * MaxBarWidth && H > 0 && FMap.Layers().Count() > 0) {
        try {
            // The length of MaxBarWidth pixels across the centre.
            TMapPoint A, B;
            FMap.ScreenToMap(W / 2 - MaxBarWidth / 2, H / 2, A.X, A.Y);
            FMap.ScreenToMap(W / 2 + MaxBarWidth / 2, H / 2, B.X, B.Y);
            const double Metres = FGeographic ? GeodesicDistance(Wgs84Ellipsoid, A.X, A.Y, B.X, B.Y)
                                              : std::hypot(B.X - A.X, B.Y - A.Y);
            if (Metres > 0 && std::isfinite(Metres)) {
                // The longest round length that fits.
                double Round = std::pow(10.0, std::floor(std::log10(Metres)));
                for (double Step : {5.0, 2.0, 1.0})
                    if (Step * Round <= Metres) {
                        Round *= Step;
                        break;
                    }
                FBarWidth =
                    std::max(1, static_cast<int>(std::lround(MaxBarWidth * Round / Metres)));
                FText =
                    Round >= 1000 ? QString("%1 km").arg(Round / 1000) : QString("%1 m").arg(Round);
            }
        } catch (const std::exception&) {
            // A view without extent has no scale: the bar hides.
        }
    }
    setVisible(!FText.isEmpty());
    update();
}

void TScaleBar::Place() {
    const QWidget* Map = parentWidget();
    setGeometry(Margin, Map->height() - Height - Margin, MaxBarWidth + 2 * Margin, Height);
}

bool TScaleBar::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == parentWidget() && Event->type() == QEvent::Resize) Place();
    return QWidget::eventFilter(Watched, Event);
}

void TScaleBar::paintEvent(QPaintEvent*) {
    if (FText.isEmpty()) return;
    QPainter P(this);
    P.fillRect(QRect(0, 0, FBarWidth + 12, height()), QColor(255, 255, 255, 190));
    const int Y = height() - 7;
    P.setPen(QPen(Qt::black, 2));
    P.drawLine(6, Y, 6 + FBarWidth, Y);
    P.drawLine(6, Y - 5, 6, Y);
    P.drawLine(6 + FBarWidth, Y - 5, 6 + FBarWidth, Y);
    P.drawText(QRect(6, 0, width(), Y - 4), Qt::AlignLeft | Qt::AlignBottom, FText);
}

} // namespace Viewer

#include "objects/Polys.h"

#include "core/MapObjects.h"
#include "objects/DetailLevels.h"
#include "objects/PolySplitter.h"
#include "platform/Canvas.h"
#include "platform/Region.h"
#include "platform/Trace.h"

#include <optional>

namespace Mapobjects {

using namespace Platform;

// --- TPolyline ----------------------------------------------------------------------------

void TPolyline::Draw() {
    TCustomMapObject::Draw();
    TChartix* M = Map();
    if (!M || Parts().Count() == 0) return;
    TCanvas* C = M->Canvas();
    const TParts& L = Parts();
    const TPartsOnScreen OnScreen(L, *M);
    OnScreen.ForEach(0, L.Count(), [C](const std::vector<TPoint>& Pts) {
        // A path of one point draws nothing, as the platform's polyline does.
        if (Pts.size() >= 2) C->Polyline(Pts.data(), static_cast<int>(Pts.size()));
    });
}

void TPolyline::DrawSelection() {
    if (!Map() || !Map()->ShowSelection()) return;
    TCustomMapObject::DrawSelection();
    Draw();
}

// --- TRegion ------------------------------------------------------------------------------

namespace {

void TraceRegionKind(TRegionKind Kind) {
    switch (Kind) {
    case RGN_ERROR:
        Trace("No region is created.");
        break;
    case NULLREGION:
        Trace("The region is empty.");
        break;
    case SIMPLEREGION:
        Trace("The region is a single rectangle.");
        break;
    case COMPLEXREGION:
        Trace("The region is more than a single rectangle.");
        break;
    }
}

} // namespace

void TRegion::Draw() {
    TCustomMapObject::Draw();
    DrawRings(*this, 0, Parts().Count());
}

void DrawRings(TCustomMapObject& Obj, int First, int Count) {
    TChartix* M = Obj.Map();
    if (!M || Count <= 0) return;
    TCanvas* C = M->Canvas();
    const TParts& Parts = Obj.Parts();
    const TPartsOnScreen OnScreen(Parts, *M);

    if (M->EasyDraw()) {
        // One filled polygon per part: quick, but inner rings fill over.
        OnScreen.ForEach(First, First + Count, [C](const std::vector<TPoint>& Pts) {
            if (!Pts.empty()) C->Polygon(Pts.data(), static_cast<int>(Pts.size()));
        });
        return;
    }

    // The clipped rings serve both the fill and the outline; the view does not
    // change in between, so each part is clipped once.
    std::vector<std::vector<TPoint>> Rings;
    OnScreen.ForEach(First, First + Count,
                     [&Rings](std::vector<TPoint>&& Pts) { Rings.push_back(std::move(Pts)); });

    // Parts combined by XOR: an area covered by an odd number of rings is
    // filled, so inner rings become holes and overlaps of parts cancel.
    std::optional<TRgn> Combined;
    for (const std::vector<TPoint>& Pts : Rings) {
        if (Pts.size() < 3) continue; // no area: XOR with it changes nothing
        TRgn Rgn = TRgn::CreatePolygonRgn(Pts.data(), static_cast<int>(Pts.size()), WINDING);
        if (!Combined) {
            Combined.emplace(std::move(Rgn));
            TraceRegionKind(Combined->Kind());
        } else {
            TraceRegionKind(Combined->Combine(Rgn, RGN_XOR));
        }
    }

    if (Combined) {
        TBrush* B = C->Brush();
        TPen* P = C->Pen();
        if (Obj.UseBGColor()) {
            // The background first, so that a hatched or patterned brush shows
            // it between its strokes.
            const TColor OldColor = B->Color();
            const TBrushStyle OldStyle = B->Style();
            const TPenStyle OldPen = P->Style();
            B->SetColor(Obj.BGColor());
            B->SetStyle(bsSolid);
            P->SetStyle(psClear);
            C->PaintRgn(*Combined);
            B->SetColor(OldColor);
            B->SetStyle(OldStyle);
            P->SetStyle(OldPen);
        }
        if (Obj.GetSelected() && !M->FastSelection()) {
            B->SetStyle(bsSolid);
            B->SetBitmap(M->SelectionPattern());
            P->SetMode(pmCopy);
        }
        C->PaintRgn(*Combined);
    }

    // Outline along the stored rings; they are stored closed, so no closing
    // segment is added.
    for (const std::vector<TPoint>& Pts : Rings) {
        if (Pts.empty()) continue;
        C->MoveTo(Pts[0].X, Pts[0].Y);
        for (size_t K = 1; K < Pts.size(); ++K)
            C->LineTo(Pts[K].X, Pts[K].Y);
    }
}

void TRegion::DrawSelection() {
    if (!Map() || !Map()->ShowSelection()) return;
    TCustomMapObject::DrawSelection();
    Draw();
}

} // namespace Mapobjects

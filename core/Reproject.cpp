#include "core/Reproject.h"

#include "core/CoordinateSystems.h"
#include "core/MapLayer.h"
#include "geodesy/GeoCircle.h"
#include "objects/Shapes.h"
#include "objects/Symbol.h"
#include "objects/Text.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Mapobjects {

namespace {

// How an object's place is given, and so which points go through the
// transform: its own points, or a few that define it.
enum class TKind { Nothing, Points, Anchor, Circle, Rectangle, Text, Ellipse };

// Points per rectangle edge: the new box holds the whole transformed outline.
constexpr int EdgeSteps = 8;

struct TJob {
    TCustomMapObject* Object;
    TKind Kind;
    size_t First; // into the point buffers
    size_t Count;
    bool Failed = false;
};

class TWalk {
public:
    std::vector<double> X, Y;

    TJob Collect(TCustomMapObject& O) {
        TJob J{&O, KindOf(O), X.size(), 0};
        switch (J.Kind) {
        case TKind::Nothing:
            break;
        case TKind::Points:
            for (int P = 0; P < O.Parts().Count(); ++P)
                for (const TMapPoint& Pt : std::as_const(O.Parts().Items(P)->Points()))
                    Add(Pt.X, Pt.Y);
            break;
        case TKind::Anchor: {
            const TMapPoint& A = *O.SinglePoint();
            Add(A.X, A.Y);
            break;
        }
        case TKind::Circle: {
            auto& C = static_cast<TCircle&>(O);
            const double CX = C.X(), CY = C.Y(), R = C.Radius();
            Add(CX, CY);
            Add(CX + R, CY);
            Add(CX, CY + R);
            break;
        }
        case TKind::Rectangle: {
            auto& R = static_cast<TRectangle&>(O);
            const double X0 = R.X0(), Y0 = R.Y0(), X1 = R.X1(), Y1 = R.Y1();
            for (int S = 0; S < EdgeSteps; ++S) {
                const double T = double(S) / EdgeSteps;
                Add(X0 + (X1 - X0) * T, Y0);
                Add(X1, Y0 + (Y1 - Y0) * T);
                Add(X1 - (X1 - X0) * T, Y1);
                Add(X0, Y1 - (Y1 - Y0) * T);
            }
            break;
        }
        case TKind::Text: {
            auto& T = static_cast<TText&>(O);
            const double AX = T.X(), AY = T.Y();
            Add(AX, AY);
            Add(AX + T.Width(), AY);
            Add(AX, AY + T.Height());
            if (T.LabelLine() != llNone) Add(T.LabelX(), T.LabelY());
            break;
        }
        case TKind::Ellipse: {
            const TMapPoints& P = std::as_const(O.Parts().Items(0)->Points());
            const TMapPoint& P0 = P.GetPoint(0);
            const TMapPoint& P2 = P.GetPoint(2);
            const double CX = (P0.X + P2.X) / 2, CY = (P0.Y + P2.Y) / 2;
            Add(CX, CY);
            Add(P2.X, CY);
            Add(CX, P2.Y);
            break;
        }
        }
        J.Count = X.size() - J.First;
        return J;
    }

    // Writes the transformed points back as the kind keeps them.
    void Apply(const TJob& J) {
        const double* TX = X.data() + J.First;
        const double* TY = Y.data() + J.First;
        TCustomMapObject& O = *J.Object;
        switch (J.Kind) {
        case TKind::Nothing:
            return;
        case TKind::Points: {
            size_t I = 0;
            for (int P = 0; P < O.Parts().Count(); ++P) {
                TMapPoints& Points = O.Parts().Items(P)->Points();
                // A part's extent only ever widens: it is started afresh.
                Points.MinX = Points.MinY = EmptyMin;
                Points.MaxX = Points.MaxY = EmptyMax;
                for (TMapPoint& Pt : Points) {
                    Pt.X = TX[I];
                    Pt.Y = TY[I];
                    ++I;
                    Pt.UpdateBounds(Points);
                }
            }
            O.UpdateBounds();
            return;
        }
        case TKind::Anchor:
            static_cast<TSymbol&>(O).SetPoint(TX[0], TY[0]);
            return;
        case TKind::Circle: {
            auto& C = static_cast<TCircle&>(O);
            // A circle stays one: the radius that keeps its area at the
            // scales found east and north of the centre.
            const double RE = std::hypot(TX[1] - TX[0], TY[1] - TY[0]);
            const double RN = std::hypot(TX[2] - TX[0], TY[2] - TY[0]);
            C.SetX(TX[0]);
            C.SetY(TY[0]);
            C.SetRadius(std::sqrt(RE * RN));
            C.UpdateBounds();
            return;
        }
        case TKind::Rectangle: {
            auto& R = static_cast<TRectangle&>(O);
            const double OldW = R.X1() - R.X0(), OldH = R.Y1() - R.Y0();
            const auto [MinX, MaxX] = std::minmax_element(TX, TX + J.Count);
            const auto [MinY, MaxY] = std::minmax_element(TY, TY + J.Count);
            // Each corner point keeps its side, so the rectangle's own order stays.
            const TMapPoints& P = std::as_const(R.Parts().Items(0)->Points());
            const bool XFirst = P.GetPoint(0).X <= P.GetPoint(1).X;
            const bool YFirst = P.GetPoint(0).Y <= P.GetPoint(1).Y;
            R.SetX0(XFirst ? *MinX : *MaxX);
            R.SetX1(XFirst ? *MaxX : *MinX);
            R.SetY0(YFirst ? *MinY : *MaxY);
            R.SetY1(YFirst ? *MaxY : *MinY);
            if (R.CornerDiameter() > 0 && OldW > 0 && OldH > 0)
                R.SetCornerDiameter(R.CornerDiameter() *
                                    std::sqrt((*MaxX - *MinX) * (*MaxY - *MinY) / (OldW * OldH)));
            R.UpdateBounds();
            return;
        }
        case TKind::Text: {
            auto& T = static_cast<TText&>(O);
            const double W = T.Width(), H = T.Height();
            T.SetPoint(TX[0], TY[0]);
            // The box keeps its size on the ground and turns with the grid.
            if (W != 0) {
                T.SetAngle(T.Angle() +
                           std::atan2(TY[1] - TY[0], TX[1] - TX[0]) * 180 / std::numbers::pi);
                T.SetWidth(std::hypot(TX[1] - TX[0], TY[1] - TY[0]));
            }
            if (H != 0) T.SetHeight(std::hypot(TX[2] - TX[0], TY[2] - TY[0]));
            if (T.LabelLine() != llNone) T.SetLabelLine(T.LabelLine(), TX[3], TY[3]);
            return;
        }
        case TKind::Ellipse: {
            // Centre and half-axes, written back as the corners of the box.
            TMapPoints& P = O.Parts().Items(0)->Points();
            const double A = std::copysign(std::hypot(TX[1] - TX[0], TY[1] - TY[0]),
                                           P.GetPoint(2).X - P.GetPoint(0).X);
            const double B = std::copysign(std::hypot(TX[2] - TX[0], TY[2] - TY[0]),
                                           P.GetPoint(2).Y - P.GetPoint(0).Y);
            P.GetPoint(0) = {TX[0] - A, TY[0] - B};
            P.GetPoint(1) = {TX[0] - A, TY[0] + B};
            P.GetPoint(2) = {TX[0] + A, TY[0] + B};
            P.GetPoint(3) = {TX[0] + A, TY[0] - B};
            O.UpdateBounds();
            return;
        }
        }
    }

private:
    void Add(double PX, double PY) {
        X.push_back(PX);
        Y.push_back(PY);
    }

    static TKind KindOf(TCustomMapObject& O) {
        if (!O.HasPoints()) return TKind::Nothing;
        if (dynamic_cast<TText*>(&O)) return TKind::Text;
        if (dynamic_cast<TSymbol*>(&O) && O.SinglePoint()) return TKind::Anchor;
        if (dynamic_cast<TCircle*>(&O)) return TKind::Circle;
        if (dynamic_cast<TRectangle*>(&O)) return TKind::Rectangle;
        if (dynamic_cast<Geocircle::TGeoCircle*>(&O) && O.Parts().Count() > 0 &&
            O.Parts().Items(0)->Points().Count() >= 4)
            return TKind::Ellipse;
        // Lines, rings (a geodesic circle's too), multipoints, collections,
        // a sprite's point: every point as it stands.
        return TKind::Points;
    }
};

// About this many points go through the transform at once; a batch that
// fails is taken again object by object to find the ones that failed.
constexpr size_t BatchPoints = 1 << 16;

} // namespace

std::vector<int> TransformObjects(TMapLayer& Layer, const TCoordinateTransform& Transform) {
    std::vector<int> Failed;
    TWalk Walk;
    std::vector<TJob> Jobs;
    int Next = 0;
    while (Next < Layer.ObjectCount()) {
        Walk.X.clear();
        Walk.Y.clear();
        Jobs.clear();
        const int Start = Next;
        while (Next < Layer.ObjectCount() && Walk.X.size() < BatchPoints)
            Jobs.push_back(Walk.Collect(*Layer.Objects(Next++)));
        const std::vector<double> OX = Walk.X, OY = Walk.Y;
        if (!Walk.X.empty() && !Transform.Transform(Walk.X.data(), Walk.Y.data(), Walk.X.size())) {
            for (TJob& J : Jobs) {
                if (J.Count == 0) continue;
                std::copy_n(OX.begin() + J.First, J.Count, Walk.X.begin() + J.First);
                std::copy_n(OY.begin() + J.First, J.Count, Walk.Y.begin() + J.First);
                J.Failed =
                    !Transform.Transform(Walk.X.data() + J.First, Walk.Y.data() + J.First, J.Count);
            }
        }
        for (size_t I = 0; I < Jobs.size(); ++I) {
            if (Jobs[I].Failed)
                Failed.push_back(Start + static_cast<int>(I));
            else
                Walk.Apply(Jobs[I]);
        }
    }
    Layer.IndexChanged();
    return Failed;
}

} // namespace Mapobjects

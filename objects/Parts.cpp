#include "objects/Parts.h"

#include "objects/DetailLevels.h"

#include <algorithm>

namespace Mapobjects {

void TMapPoint::UpdateBounds(TMapPoints& Points) const {
    Points.MaxX = std::max(X, Points.MaxX);
    Points.MaxY = std::max(Y, Points.MaxY);
    Points.MinX = std::min(X, Points.MinX);
    Points.MinY = std::min(Y, Points.MinY);
}

TMapPoint& TMapPoints::Add(double X, double Y) {
    TMapPoint& P = FPoints.emplace_back(TMapPoint{X, Y});
    P.UpdateBounds(*this);
    if (OnAddPoint) OnAddPoint(X, Y, 0);
    return P;
}

TMapPoint& TMapPoints::GetPoint(int Index) {
    if (Index < 0 || Index >= Count()) Platform::ListIndexError(Index);
    Touched();
    return FPoints[static_cast<size_t>(Index)];
}

const TMapPoint& TMapPoints::GetPoint(int Index) const {
    if (Index < 0 || Index >= Count()) Platform::ListIndexError(Index);
    return FPoints[static_cast<size_t>(Index)];
}

void TMapPoints::Delete(int Index) {
    if (Index < 0 || Index >= Count()) Platform::ListIndexError(Index);
    Touched();
    FPoints.erase(FPoints.begin() + Index);
}

TPart::TPart(Platform::TCollection* Collection) : Platform::TCollectionItem(Collection) {
    if (auto* Parts = dynamic_cast<TParts*>(Collection)) {
        FPoints.OnAddPoint.Connect(Parts);
        Parts->Changed();
    }
}

std::unique_ptr<TMapPoints> TPart::SetPoints(std::unique_ptr<TMapPoints> Points) {
    FPoints.Touched();
    auto Old = std::make_unique<TMapPoints>(std::move(FPoints));
    Old->OnAddPoint = nullptr;
    FPoints = Points ? std::move(*Points) : TMapPoints();
    return Old;
}

void TPart::Assign(const Platform::TPersistent* Source) {
    auto* Other = dynamic_cast<const TPart*>(Source);
    if (!Other) {
        Platform::TCollectionItem::Assign(Source);
        return;
    }
    if (Other == this) return;
    FPoints.Clear();
    FPoints.Reserve(Other->Points().Count());
    for (const TMapPoint& P : Other->Points())
        FPoints.Add(P.X, P.Y);
}

TParts::TParts() = default;
TParts::~TParts() = default;

void TParts::DropDetail() {
    FDetail.reset();
}

const TDetailLevels& TParts::DetailLevels() const {
    if (!FDetail || !FDetail->Matches(*this)) FDetail = TDetailLevels::Build(*this);
    return *FDetail;
}

size_t TParts::DetailMemoryUsed() const {
    return FDetail ? FDetail->MemoryUsed() : 0;
}

void TParts::AddPoint(double X, double Y, double) {
    Changed();
    MaxX = std::max(X, MaxX);
    MaxY = std::max(Y, MaxY);
    MinX = std::min(X, MinX);
    MinY = std::min(Y, MinY);
}

void TParts::ResetBounds() {
    Changed();
    MaxX = MaxY = EmptyMax;
    MinX = MinY = EmptyMin;
}

int TParts::PointCount() const {
    int N = 0;
    for (int I = 0; I < Count(); ++I)
        N += Items(I)->Points().Count();
    return N;
}

} // namespace Mapobjects

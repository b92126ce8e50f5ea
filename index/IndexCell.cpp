#include "index/IndexCell.h"

#include "core/MapLayer.h"
#include "objects/MapObject.h"
#include "objects/PolySplitter.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace Mapobjects {

using namespace Platform;

TCellBounds Bounds2CellBounds(const TBounds& B) {
    return TCellBounds(B);
}

namespace {

// --- the cell as a map object ----------------------------------------------
//
// The index asks its questions of a map object whose one part runs through
// the four corners of a rectangle, using the base predicates. Building such an
// object per question is costly, so the answers are worked out here from the
// numbers, step for step as the base predicates do; only a predicate that
// belongs to another object's kind gets a real shape (TCellShape).

// The extent such an object keeps: its corners folded in exactly as the parts
// widen their bounds, so inverted or empty rectangles give the same box.
struct TBox {
    double MinX = EmptyMin;
    double MinY = EmptyMin;
    double MaxX = EmptyMax;
    double MaxY = EmptyMax;
};

void Widen(TBox& Box, double X, double Y) {
    Box.MaxX = std::max(X, Box.MaxX);
    Box.MaxY = std::max(Y, Box.MaxY);
    Box.MinX = std::min(X, Box.MinX);
    Box.MinY = std::min(Y, Box.MinY);
}

TBox CornerBox(const TCellBounds& B) {
    TBox Box;
    Widen(Box, B.MinX, B.MinY);
    Widen(Box, B.MaxX, B.MinY);
    Widen(Box, B.MaxX, B.MaxY);
    Widen(Box, B.MinX, B.MaxY);
    return Box;
}

bool InBox(double X, double Y, const TBox& Box) {
    return Box.MinX <= X && X <= Box.MaxX && Box.MinY <= Y && Y <= Box.MaxY;
}

bool InRect(double X, double Y, double X1, double Y1, double X2, double Y2) {
    return X1 <= X && X <= X2 && Y1 <= Y && Y <= Y2;
}

class TCellShape final : public TCustomMapObject {
public:
    explicit TCellShape(const TCellBounds& B) {
        TMapPoints& Points = Parts().Add()->Points();
        Points.Add(B.MinX, B.MinY);
        Points.Add(B.MaxX, B.MinY);
        Points.Add(B.MaxX, B.MaxY);
        Points.Add(B.MinX, B.MaxY);
    }
};

// IntersectsRect of the shape through the corners of Cell.
bool ShapeIntersectsRect(const TCellBounds& Cell, double X1, double Y1, double X2, double Y2) {
    const TBox Box = CornerBox(Cell);
    return BoxIntersectsRect(TBounds{Box.MinX, Box.MinY, Box.MaxX, Box.MaxY}, X1, Y1, X2, Y2);
}

// WithinRect of the shape through the corners of Cell: its points, as given.
bool ShapeWithinRect(const TCellBounds& Cell, double X1, double Y1, double X2, double Y2) {
    return InRect(Cell.MinX, Cell.MinY, X1, Y1, X2, Y2) &&
           InRect(Cell.MaxX, Cell.MinY, X1, Y1, X2, Y2) &&
           InRect(Cell.MaxX, Cell.MaxY, X1, Y1, X2, Y2) &&
           InRect(Cell.MinX, Cell.MaxY, X1, Y1, X2, Y2);
}

} // namespace

// What division needs to know of each object, gathered in one pass before a
// tree is divided, so that the levels below do not chase every object through
// its parts again. Most objects are plain: they have points, all inside their
// bounding box, and keep the base Contains, so every question below is
// answered by their box alone.
class TIndexSummary {
public:
    enum TKind : std::uint8_t { skObject, skPlain, skEmpty };
    struct TEntry {
        double MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
        TKind Kind = skObject; // ask the object itself
    };

    TIndexSummary(const TMapLayer& Layer, const TCardinalArray& Ids)
        : FEntries(static_cast<size_t>(Layer.ObjectCount())) {
        for (int I = 0; I < Ids.Count(); ++I) {
            const std::uint32_t Id = Ids.Data()[I];
            if (Id < FEntries.size())
                FEntries[Id] = Summarize(*Layer.Objects(static_cast<int>(Id)));
        }
    }
    const TEntry& Entry(std::uint32_t Id) const { return FEntries[Id]; }

private:
    static TEntry Summarize(const TCustomMapObject& Obj) {
        const TBounds B = Obj.GetBounds();
        TEntry E{B.MinX, B.MinY, B.MaxX, B.MaxY, skEmpty};
        const bool Inside = Obj.AllPoints([&E](const TMapPoint& P) {
            E.Kind = skPlain;
            return E.MinX <= P.X && P.X <= E.MaxX && E.MinY <= P.Y && P.Y <= E.MaxY;
        });
        if (!Inside) return TEntry{}; // points moved behind the bounds' back
        // Kinds with their own Contains may take a cell that their box misses.
        if (E.Kind == skPlain && !Obj.KeepsBaseSpatialTests()) E.Kind = skObject;
        return E;
    }

    std::vector<TEntry> FEntries;
};

namespace {

// Sorts the ids of Source into the rectangles Bounds[0..N-1]: an id goes to
// Out[Q] when the shape through the corners of Bounds[Q] Contains its object
// (true for an object without points), Intersects it (one of its points lies
// in the shape's extent) or is Within it (the object's own Contains, the one
// question that needs a real shape), or when the object's bounding box
// overlaps that extent. The last keeps objects in the cells that their box
// crosses without a vertex inside (a long road through a small cell); without
// it a view inside such a cell would miss them. Plain objects of the summary
// are decided by their box: a point in the extent or a shape inside the box
// means the box overlaps the extent. Ids not below the layer's object count
// are skipped, never followed.
constexpr int MaxBoxes = 4;

void SortIdsByBounds(const TMapLayer& Layer, const TIndexSummary* Summary,
                     const TCardinalArray& Source, const TCellBounds* Bounds, TCardinalArray* Out,
                     int N) {
    TBox Box[MaxBoxes];
    std::unique_ptr<TCellShape> Shape[MaxBoxes]; // made when first needed
    for (int Q = 0; Q < N; ++Q) {
        Box[Q] = CornerBox(Bounds[Q]);
        Out[Q].Clear();
    }
    const auto ObjectCount = static_cast<std::uint32_t>(Layer.ObjectCount());
    const std::uint32_t* Ids = Source.Data();
    for (int I = 0; I < Source.Count(); ++I) {
        const std::uint32_t Id = Ids[I];
        if (Id >= ObjectCount) continue;
        if (Summary) {
            const TIndexSummary::TEntry& E = Summary->Entry(Id);
            if (E.Kind != TIndexSummary::skObject) {
                for (int Q = 0; Q < N; ++Q)
                    if (E.Kind == TIndexSummary::skEmpty ||
                        (E.MinX <= Box[Q].MaxX && Box[Q].MinX <= E.MaxX && E.MinY <= Box[Q].MaxY &&
                         Box[Q].MinY <= E.MaxY))
                        Out[Q].Add(Id);
                continue;
            }
        }
        TCustomMapObject* Obj = Layer.Objects(static_cast<int>(Id));
        // The kept extent, read without making a part list of a lone point.
        const TBounds Extent = Obj->GetBounds();
        bool Takes[MaxBoxes];
        int Open = 0;
        for (int Q = 0; Q < N; ++Q) {
            Takes[Q] = Extent.MinX <= Box[Q].MaxX && Box[Q].MinX <= Extent.MaxX &&
                       Extent.MinY <= Box[Q].MaxY && Box[Q].MinY <= Extent.MaxY;
            Open += !Takes[Q];
        }
        if (Open > 0) {
            bool HasPoints = false;
            for (std::span<const TMapPoint> Part : Obj->Geometry()) {
                if (Open == 0) break;
                for (const TMapPoint& P : Part) {
                    HasPoints = true;
                    for (int Q = 0; Q < N; ++Q)
                        if (!Takes[Q] && InBox(P.X, P.Y, Box[Q])) {
                            Takes[Q] = true;
                            --Open;
                        }
                    if (Open == 0) break;
                }
            }
            for (int Q = 0; Q < N && !HasPoints; ++Q)
                Takes[Q] = true;
        }
        for (int Q = 0; Q < N; ++Q) {
            if (!Takes[Q]) {
                if (!Shape[Q]) Shape[Q] = std::make_unique<TCellShape>(Bounds[Q]);
                Takes[Q] = Obj->Contains(Shape[Q].get());
            }
            if (Takes[Q]) Out[Q].Add(Id);
        }
    }
}

// Ids of the leaves under Cell that meet B, each once, in leaf order. Seen
// marks the ids already taken, so that big results do not need a linear
// search per id; absurd ids (from a damaged file) fall back to one.
constexpr std::uint32_t SeenLimit = 1u << 24;

void CollectIdsInRect(const TIndexCell& Cell, const TCellBounds& B, TCardinalArray& Ids,
                      std::vector<bool>& Seen) {
    if (!Cell.ContainsRect(B)) return;
    if (Cell.GetCount() > 0) {
        for (int I = 0; I < Cell.GetCount(); ++I)
            CollectIdsInRect(*Cell.GetCell(I), B, Ids, Seen);
        return;
    }
    const std::uint32_t* Data = Cell.Ids().Data();
    for (int I = 0; I < Cell.Ids().Count(); ++I) {
        const std::uint32_t Id = Data[I];
        if (Id < SeenLimit) {
            if (Id >= Seen.size()) Seen.resize(std::max<size_t>(Id + 1, Seen.size() * 2));
            if (Seen[Id]) continue;
            Seen[Id] = true;
        } else if (Ids.Exists(Id)) {
            continue;
        }
        Ids.Add(Id);
    }
}

// --- the index file ----------------------------------------------------------

constexpr char FileHeader[] = "Chartix Index File";
constexpr size_t HeaderSize = sizeof(FileHeader) - 1;
// The smallest cell record: four doubles and two counts.
constexpr size_t MinRecordSize = 4 * 8 + 4 + 4;
// Division never nests this deep; a file that does is damaged, and reading it
// on would only exhaust the stack.
constexpr int MaxFileDepth = 1024;

[[noreturn]] void ReadError() {
    throw EReadError("Stream read error");
}

void PutUInt32(std::string& Out, std::uint32_t V) {
    for (int I = 0; I < 4; ++I)
        Out.push_back(static_cast<char>((V >> (8 * I)) & 0xFF));
}

void PutDouble(std::string& Out, double V) {
    const auto Bits = std::bit_cast<std::uint64_t>(V);
    for (int I = 0; I < 8; ++I)
        Out.push_back(static_cast<char>((Bits >> (8 * I)) & 0xFF));
}

void WriteCell(std::string& Out, const TIndexCell& Cell) {
    const TCellBounds& B = Cell.Bounds();
    PutDouble(Out, B.MinX);
    PutDouble(Out, B.MaxX);
    PutDouble(Out, B.MinY);
    PutDouble(Out, B.MaxY);
    const TCardinalArray& Ids = Cell.Ids();
    PutUInt32(Out, static_cast<std::uint32_t>(Ids.Count()));
    for (int I = 0; I < Ids.Count(); ++I)
        PutUInt32(Out, Ids.Data()[I]);
    PutUInt32(Out, static_cast<std::uint32_t>(Cell.GetCount()));
    for (int I = 0; I < Cell.GetCount(); ++I)
        WriteCell(Out, *Cell.GetCell(I));
}

class TRecordReader {
public:
    explicit TRecordReader(const std::vector<unsigned char>& Data) : FData(Data) {}
    size_t Left() const { return FData.size() - FPos; }
    std::uint32_t UInt32() {
        if (Left() < 4) ReadError();
        std::uint32_t V = 0;
        for (int I = 0; I < 4; ++I)
            V |= std::uint32_t{FData[FPos + I]} << (8 * I);
        FPos += 4;
        return V;
    }
    std::int32_t Int32() { return static_cast<std::int32_t>(UInt32()); }
    double Double() {
        if (Left() < 8) ReadError();
        std::uint64_t V = 0;
        for (int I = 0; I < 8; ++I)
            V |= std::uint64_t{FData[FPos + I]} << (8 * I);
        FPos += 8;
        return std::bit_cast<double>(V);
    }

private:
    const std::vector<unsigned char>& FData;
    size_t FPos = 0;
};

// Reads one record into Cell; children hang under Cell but, as every cell of
// a file, take Root as their parent.
void ReadCell(TRecordReader& In, TIndexCell& Root, TIndexCell& Cell, int Depth) {
    TCellBounds B;
    B.MinX = In.Double();
    B.MaxX = In.Double();
    B.MinY = In.Double();
    B.MaxY = In.Double();
    Cell.SetBounds(B);
    // Counts are checked against what the file still holds before anything is
    // allocated for them.
    const std::int32_t N = In.Int32();
    if (N < 0 || static_cast<size_t>(N) * 4 > In.Left()) ReadError();
    Cell.Ids().Clear();
    for (std::int32_t I = 0; I < N; ++I)
        Cell.Ids().Add(In.UInt32());
    const std::int32_t C = In.Int32();
    if (C < 0 || static_cast<size_t>(C) * MinRecordSize > In.Left()) ReadError();
    if (C > 0 && Depth >= MaxFileDepth) ReadError();
    for (std::int32_t I = 0; I < C; ++I) {
        auto* Child = new TIndexCell(&Root);
        Cell.AddChildCell(Child);
        ReadCell(In, Root, *Child, Depth + 1);
    }
}

} // namespace

// --- construction --------------------------------------------------------------

TIndexCell::TIndexCell(TMapLayer* Layer) {
    SetLayer(Layer);
}

// Division and file reading create cells this way. MaxCellLevel follows the
// parent, so the depth set on the root bounds the whole tree;
// MinObjectCountPerCell starts at 5 in every cell, the root's own value
// deciding only whether the root divides.
TIndexCell::TIndexCell(TIndexCell* Parent) : FParent(Parent) {
    if (!Parent) return;
    FLayer = Parent->FLayer;
    FLevel = Parent->FLevel + 1;
    FMaxCellLevel = Parent->FMaxCellLevel;
}

TIndexCell::TIndexCell(TIndexCell* Parent, const TCellBounds& Bounds, const TCardinalArray& Ids)
    : TIndexCell(Parent) {
    FBounds = Bounds;
    FIds.Copy(Ids);
    Divide();
}

TIndexCell::TIndexCell(TIndexCell* Parent, const TCellBounds& Bounds, const TCardinalArray& Ids,
                       const TIndexSummary& Summary)
    : TIndexCell(Parent) {
    FBounds = Bounds;
    FIds.Copy(Ids);
    Divide(Summary);
}

TIndexCell::~TIndexCell() {
    Clear();
}

TIndexCell* TIndexCell::GetCell(int Index) const {
    if (Index < 0 || Index >= GetCount()) ListIndexError(Index);
    return FCells[static_cast<size_t>(Index)].get();
}

void TIndexCell::SetLayer(TMapLayer* Layer) {
    FLayer = Layer;
    if (!FNotBuilt || !Layer) return;
    bool Loaded = false;
    if (!Layer->FileName().empty()) {
        try {
            Loaded = LoadFromToFile(ChangeFileExt(Layer->FileName(), ".idx"));
        } catch (const Platform::Exception&) {
            // A damaged or unreadable file is not worth half a tree: build anew.
            Loaded = false;
        }
    }
    if (!Loaded) {
        Clear();
        InitRootCell();
        Divide();
    }
}

void TIndexCell::InitRootCell() {
    if (!FLayer) return;
    ResetBounds();
    FIds.Clear();
    for (int I = 0; I < FLayer->ObjectCount(); ++I) {
        const TCellBounds B = Bounds2CellBounds(FLayer->Objects(I)->GetBounds());
        FIds.Add(static_cast<std::uint32_t>(I));
        UpdateBounds(B);
    }
}

void TIndexCell::ResetBounds() {
    FBounds.MinX = FBounds.MinY = 2147483647.0;
    FBounds.MaxX = FBounds.MaxY = -2147483647.0;
}

void TIndexCell::UpdateBounds(const TCellBounds& B) {
    if (B.MinX < FBounds.MinX) FBounds.MinX = B.MinX;
    if (B.MinY < FBounds.MinY) FBounds.MinY = B.MinY;
    if (B.MaxX > FBounds.MaxX) FBounds.MaxX = B.MaxX;
    if (B.MaxY > FBounds.MaxY) FBounds.MaxY = B.MaxY;
}

bool TIndexCell::MayDivide() const {
    // Objects that share an area go to every quadrant over it again and again,
    // so division also stops at MaxCellLevel: a cell there stays a leaf that
    // keeps its ids (and, as a small cell does, its not-built flag).
    return FIds.Count() > FMinObjectCountPerCell && FLevel < FMaxCellLevel;
}

void TIndexCell::Divide() {
    if (!MayDivide()) return;
    if (!FLayer) {
        FIds.Clear(); // no objects to sort: as if every quadrant came out empty
        FNotBuilt = false;
        return;
    }
    Divide(TIndexSummary(*FLayer, FIds));
}

void TIndexCell::Divide(const TIndexSummary& Summary) {
    if (!MayDivide()) return;
    const double MinX = FBounds.MinX, MaxX = FBounds.MaxX, MinY = FBounds.MinY, MaxY = FBounds.MaxY;
    const double MidX = (MinX + MaxX) / 2, MidY = (MinY + MaxY) / 2;
    const TCellBounds Quadrants[4] = {
        TCellBounds(TBounds{MinX, MinY, MidX, MidY}), // lower left
        TCellBounds(TBounds{MinX, MidY, MidX, MaxY}), // upper left
        TCellBounds(TBounds{MidX, MidY, MaxX, MaxY}), // upper right
        TCellBounds(TBounds{MidX, MinY, MaxX, MidY}), // lower right
    };
    // The quadrants' ids, each as GetIdsByBounds gives them, found in one pass.
    TCardinalArray QuadrantIds[4];
    if (FLayer) SortIdsByBounds(*FLayer, &Summary, FIds, Quadrants, QuadrantIds, 4);
    for (int Q = 0; Q < 4; ++Q)
        if (QuadrantIds[Q].Count() > 0)
            AddChildCell(new TIndexCell(this, Quadrants[Q], QuadrantIds[Q], Summary));
    FIds.Clear();
    FNotBuilt = false;
}

void TIndexCell::AddChildCell(TIndexCell* Cell) {
    FCells.emplace_back(Cell);
}

void TIndexCell::Clear() {
    if (FCells.empty()) return;
    FIds.Clear();
    while (!FCells.empty()) {
        FCells.back()->Clear();
        FCells.pop_back();
    }
    FNotBuilt = true;
}

// --- questions -------------------------------------------------------------------

bool TIndexCell::ContainsPoint(double X, double Y) const {
    return FBounds.MinX <= X && X <= FBounds.MaxX && FBounds.MinY <= Y && Y <= FBounds.MaxY;
}

bool TIndexCell::ContainsRect(const TCellBounds& B) const {
    return ShapeIntersectsRect(FBounds, B.MinX, B.MinY, B.MaxX, B.MaxY) ||
           ShapeWithinRect(FBounds, B.MinX, B.MinY, B.MaxX, B.MaxY);
}

bool TIndexCell::GetIdsByBounds(const TCellBounds& B, TCardinalArray& Ids) const {
    Ids.Clear();
    if (FIds.Count() == 0 || !FLayer) return false;
    SortIdsByBounds(*FLayer, nullptr, FIds, &B, &Ids, 1);
    return Ids.Count() > 0;
}

bool TIndexCell::GetAllIdsInRect(const TCellBounds& B, TCardinalArray& Ids) const {
    Ids.Clear();
    std::vector<bool> Seen;
    CollectIdsInRect(*this, B, Ids, Seen);
    return Ids.Count() > 0;
}

bool TIndexCell::GetIdsInRect(const TIndexCell* Root, const TIndexCell* Cell, const TCellBounds& B,
                              TCardinalArray& Ids) const {
    if (!Cell->ContainsRect(B)) return false;
    if (Cell->GetCount() > 0) {
        for (int I = 0; I < Cell->GetCount(); ++I)
            GetIdsInRect(Root, Cell->GetCell(I), B, Ids);
    } else {
        for (int I = 0; I < Cell->Ids().Count(); ++I) {
            const std::uint32_t Id = Cell->Ids().Data()[I];
            if (!Ids.Exists(Id)) Ids.Add(Id);
        }
    }
    return Ids.Count() > 0;
}

bool TIndexCell::GetAllIdsAtPoint(double X, double Y, TCardinalArray& Ids) const {
    Ids.Clear();
    return GetIdsAtPoint(this, this, X, Y, Ids);
}

bool TIndexCell::GetIdsAtPoint(const TIndexCell* Root, const TIndexCell* Cell, double X, double Y,
                               TCardinalArray& Ids) const {
    if (!Cell->ContainsPoint(X, Y)) return false;
    if (Cell->GetCount() > 0) {
        for (int I = 0; I < Cell->GetCount(); ++I)
            GetIdsAtPoint(Root, Cell->GetCell(I), X, Y, Ids);
    } else {
        // No duplicate test: a point on a shared edge may yield an id twice.
        for (int I = 0; I < Cell->Ids().Count(); ++I)
            Ids.Add(Cell->Ids().Data()[I]);
    }
    return Ids.Count() > 0;
}

// --- files -------------------------------------------------------------------------

bool TIndexCell::SaveToFile(const std::string& FileName) const {
    std::string Data(FileHeader, HeaderSize);
    WriteCell(Data, *this);
    std::FILE* F = std::fopen(FileName.c_str(), "wb");
    if (!F) throw EFCreateError(Format("Cannot create file \"%s\"", FileName));
    bool Written = std::fwrite(Data.data(), 1, Data.size(), F) == Data.size();
    Written = std::fclose(F) == 0 && Written;
    if (!Written) throw EInOutError(Format("Cannot write file \"%s\"", FileName));
    return true;
}

bool TIndexCell::LoadFromToFile(const std::string& FileName) {
    if (!FileExists(FileName)) return false;
    std::ifstream In(FileName, std::ios::binary);
    if (!In) throw EFOpenError(Format("Cannot open file \"%s\"", FileName));
    char Header[HeaderSize];
    if (!In.read(Header, HeaderSize)) ReadError();
    if (std::memcmp(Header, FileHeader, HeaderSize) != 0) return false;
    In.seekg(0, std::ios::end);
    const std::streamoff End = In.tellg();
    In.seekg(static_cast<std::streamoff>(HeaderSize), std::ios::beg);
    if (End < static_cast<std::streamoff>(HeaderSize)) ReadError();
    std::vector<unsigned char> Data(static_cast<size_t>(End) - HeaderSize);
    if (!Data.empty() &&
        !In.read(reinterpret_cast<char*>(Data.data()), static_cast<std::streamsize>(Data.size())))
        ReadError();
    In.close();
    Clear();
    TRecordReader Reader(Data);
    ReadCell(Reader, *this, *this, 0);
    FNotBuilt = false;
    return true;
}

} // namespace Mapobjects

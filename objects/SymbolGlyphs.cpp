#include "objects/SymbolGlyphs.h"

#include "platform/Canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <strings.h>
#include <unordered_map>

namespace Mapobjects {

using namespace Platform;

namespace {

using TPoints = std::vector<TGlyphPoint>;

// Vertices of a regular polygon, the first one straight up from the centre.
TPoints Regular(int N, double Radius, double TurnDeg = 0) {
    TPoints P;
    for (int I = 0; I < N; ++I) {
        double A = (TurnDeg + 360.0 * I / N) * std::numbers::pi / 180;
        P.push_back({Radius * std::sin(A), -Radius * std::cos(A)});
    }
    return P;
}

TPoints Star(double Outer, double Inner) {
    TPoints P;
    for (int I = 0; I < 10; ++I) {
        double R = I % 2 == 0 ? Outer : Inner;
        double A = 36.0 * I * std::numbers::pi / 180;
        P.push_back({R * std::sin(A), -R * std::cos(A)});
    }
    return P;
}

TPoints Square(double H) {
    return {{-H, -H}, {H, -H}, {H, H}, {-H, H}};
}

TGlyphFigure Poly(TPoints P, bool Filled) {
    return {gfPolygon, Filled, std::move(P)};
}
TGlyphFigure Disc(double R, bool Filled) {
    return {gfEllipse, Filled, {{-R, -R}, {R, R}}};
}
TGlyphFigure Disc(double CX, double CY, double R, bool Filled) {
    return {gfEllipse, Filled, {{CX - R, CY - R}, {CX + R, CY + R}}};
}
TGlyphFigure Lines(TPoints P) {
    return {gfLines, false, std::move(P)};
}

TPoints Turned(TPoints P, int QuarterTurns) {
    for (TGlyphPoint& Q : P)
        for (int I = 0; I < QuarterTurns; ++I)
            Q = {-Q.Y, Q.X};
    return P;
}

// The six basic figures, in the order of their codes (filled 32-37, hollow 38-43).
TGlyphFigure Basic(int Index, bool Filled) {
    switch (Index) {
    case 0:
        return Poly(Square(0.8), Filled);
    case 1:
        return Poly({{0, -1}, {1, 0}, {0, 1}, {-1, 0}}, Filled);
    case 2:
        return Disc(0.9, Filled);
    case 3:
        return Poly(Star(1.0, 0.42), Filled);
    case 4:
        return Poly({{0, -0.9}, {0.95, 0.75}, {-0.95, 0.75}}, Filled);
    default:
        return Poly({{0, 0.9}, {-0.95, -0.75}, {0.95, -0.75}}, Filled);
    }
}

const TPoints ArrowUp = {{0, -1},   {0.8, -0.1},  {0.3, -0.1}, {0.3, 1},
                         {-0.3, 1}, {-0.3, -0.1}, {-0.8, -0.1}};

std::array<TSymbolGlyph, LastSymbolGlyph - FirstSymbolGlyph + 2> BuildTable() {
    std::array<TSymbolGlyph, LastSymbolGlyph - FirstSymbolGlyph + 2> T;
    auto At = [&T](int Code) -> TSymbolGlyph& {
        return T[static_cast<size_t>(Code - FirstSymbolGlyph)];
    };
    for (int I = 0; I < 6; ++I) {
        At(32 + I) = {Basic(I, true)};
        At(38 + I) = {Basic(I, false)};
    }
    const double D = 0.64; // diagonal reach inside a 0.9 circle
    At(44) = {Lines({{0, -1}, {0, 1}, {-1, 0}, {1, 0}})};
    At(45) = {Lines({{-0.8, -0.8}, {0.8, 0.8}, {0.8, -0.8}, {-0.8, 0.8}})};
    At(46) = {Lines(
        {{0, -1}, {0, 1}, {-1, 0}, {1, 0}, {-0.7, -0.7}, {0.7, 0.7}, {0.7, -0.7}, {-0.7, 0.7}})};
    // Pin: a round head over a point at the bottom.
    At(47) = {Disc(0, -0.4, 0.6, true), Poly({{-0.5, -0.1}, {0.5, -0.1}, {0, 1}}, true)};
    At(48) = {Lines({{-0.7, -1}, {-0.7, 1}}), Poly({{-0.7, -1}, {0.85, -0.6}, {-0.7, -0.2}}, true)};
    At(49) = {Disc(0.9, false), Lines({{0, -0.9}, {0, 0.9}, {-0.9, 0}, {0.9, 0}})};
    At(50) = {Disc(0.9, false), Lines({{-D, -D}, {D, D}, {D, -D}, {-D, D}})};
    At(51) = {Disc(0.9, false), Disc(0.5, false)};
    At(52) = {Disc(0.9, false), Disc(0.35, true)};
    At(53) = {Poly({{0, -1},
                    {0.9, -0.15},
                    {0.65, -0.15},
                    {0.65, 0.9},
                    {-0.65, 0.9},
                    {-0.65, -0.15},
                    {-0.9, -0.15}},
                   true)};
    At(54) = {Poly(ArrowUp, true)};
    At(55) = {Poly(Turned(ArrowUp, 2), true)};
    At(56) = {Poly(Turned(ArrowUp, 3), true)};
    At(57) = {Poly(Turned(ArrowUp, 1), true)};
    At(58) = {Poly(Regular(5, 0.95), true)};
    At(59) = {Poly(Regular(5, 0.95), false)};
    At(60) = {Poly(Regular(6, 0.95, 30), true)};
    At(61) = {Poly(Regular(6, 0.95, 30), false)};
    At(62) = {Poly(Square(0.8), false),
              Lines({{-0.8, -0.8}, {0.8, 0.8}, {0.8, -0.8}, {-0.8, 0.8}})};
    At(63) = {Poly(Square(0.8), false), Poly(Square(0.3), true)};
    {
        // Half disc: the left half of the circle filled, the whole outlined.
        TPoints Half;
        for (int I = 0; I <= 12; ++I) {
            double A = (180.0 + 15.0 * I) * std::numbers::pi / 180;
            Half.push_back({0.9 * std::sin(A), -0.9 * std::cos(A)});
        }
        At(64) = {Poly(Half, true), Disc(0.9, false)};
    }
    At(65) = {Poly(Square(0.8), false), Poly({{0, -0.5}, {0.5, 0}, {0, 0.5}, {-0.5, 0}}, true)};
    At(66) = {Poly({{-0.2, -1},
                    {0.2, -1},
                    {0.2, -0.55},
                    {0.7, -0.55},
                    {0.7, -0.15},
                    {0.2, -0.15},
                    {0.2, 1},
                    {-0.2, 1},
                    {-0.2, -0.15},
                    {-0.7, -0.15},
                    {-0.7, -0.55},
                    {-0.2, -0.55}},
                   true)};
    At(67) = {Poly({{-0.8, -0.9}, {0.8, -0.9}, {0, 0}}, true),
              Poly({{0, 0}, {0.8, 0.9}, {-0.8, 0.9}}, true)};
    T.back() = {Disc(0.3, true)}; // every other code
    return T;
}

} // namespace

const TSymbolGlyph& SymbolGlyph(int Code) {
    static const auto Table = BuildTable();
    Code &= 0xFF;
    if (Code < FirstSymbolGlyph || Code > LastSymbolGlyph) return Table.back();
    return Table[static_cast<size_t>(Code - FirstSymbolGlyph)];
}

bool IsMapSymbolFontName(const std::string& Name) {
    for (const char* Known : {"MapInfo Cartographic", "MapInfo Symbol", "Map Symbols"})
        if (strcasecmp(Name.c_str(), Known) == 0) return true;
    return false;
}

bool NeedsSymbolGlyphShapes(const TFont& Font) {
    // Asking the font database is slow; a layer asks for few names.
    static std::unordered_map<std::string, bool> Missing;
    const auto It = Missing.find(Font.Name());
    if (It != Missing.end()) return It->second;
    if (Missing.size() > 1024) Missing.clear();
    return Missing[Font.Name()] = !Font.IsInstalled();
}

int SymbolGlyphSize(const TFont& Font) {
    return std::max(3, std::abs(PointsToPixels(Font.Size())));
}

void DrawSymbolGlyph(TCanvas* Canvas, int Code, int CX, int CY, int Size, TColor Color,
                     double Angle) {
    TPen SavedPen;
    SavedPen.Assign(Canvas->Pen());
    TBrush SavedBrush;
    SavedBrush.Assign(Canvas->Brush());
    const TPoint SavedPos = Canvas->PenPos();

    // A size beyond the largest font would only push the points past 32 bits.
    Size = std::clamp(Size, -MaxFontPixels, MaxFontPixels);
    const double Half = Size / 2.0;
    // Y is down: a counter-clockwise turn on screen.
    const double Cos = std::cos(Angle * std::numbers::pi / 180),
                 Sin = std::sin(Angle * std::numbers::pi / 180);
    auto ToScreen = [&](const TGlyphPoint& P) {
        const double X = P.X * Cos + P.Y * Sin, Y = -P.X * Sin + P.Y * Cos;
        return TPoint{CX + static_cast<int>(std::lround(X * Half)),
                      CY + static_cast<int>(std::lround(Y * Half))};
    };
    // Outlines and strokes thicken with the size, so large symbols keep their weight.
    const int StrokeWidth = std::max(1, (Size + 4) / 10);

    TPen* Pen = Canvas->Pen();
    TBrush* Brush = Canvas->Brush();
    Pen->SetMode(pmCopy);
    Pen->SetStyle(psSolid);
    Pen->SetColor(Color);
    Brush->SetBitmap(nullptr);
    Brush->SetColor(Color);
    for (const TGlyphFigure& F : SymbolGlyph(Code)) {
        Pen->SetWidth(F.Filled ? 1 : StrokeWidth);
        Brush->SetStyle(F.Filled ? bsSolid : bsClear);
        std::vector<TPoint> P;
        for (const TGlyphPoint& Q : F.Points)
            P.push_back(ToScreen(Q));
        switch (F.Kind) {
        case gfPolygon:
            Canvas->Polygon(P.data(), static_cast<int>(P.size()));
            break;
        case gfEllipse: {
            if (Angle == 0) {
                // Ellipse leaves out the right and bottom edge; take them in.
                Canvas->Ellipse(P[0].X, P[0].Y, P[1].X + 1, P[1].Y + 1);
                break;
            }
            // The pictures' ellipses are circles: a turn moves their centre.
            const TGlyphPoint& A = F.Points[0];
            const TGlyphPoint& B = F.Points[1];
            const TPoint C = ToScreen({(A.X + B.X) / 2, (A.Y + B.Y) / 2});
            const int R = static_cast<int>(std::lround((B.X - A.X) / 2 * Half));
            // Ellipse leaves out the right and bottom edge; take them in.
            Canvas->Ellipse(C.X - R, C.Y - R, C.X + R + 1, C.Y + R + 1);
            break;
        }
        case gfLines:
            for (size_t I = 0; I + 1 < P.size(); I += 2) {
                // There and back, so that both end pixels are drawn.
                Canvas->MoveTo(P[I].X, P[I].Y);
                Canvas->LineTo(P[I + 1].X, P[I + 1].Y);
                Canvas->LineTo(P[I].X, P[I].Y);
            }
            break;
        }
    }

    Canvas->SetPen(&SavedPen);
    Canvas->SetBrush(&SavedBrush);
    Canvas->MoveTo(SavedPos.X, SavedPos.Y);
}

} // namespace Mapobjects

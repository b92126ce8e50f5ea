#include "platform/Canvas.h"

#include "platform/Bitmap.h"
#include "platform/LineRaster.h"
#include "platform/Mask.h"
#include "platform/Region.h"
#include "platform/WidePen.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

namespace Platform {

namespace {

QRgb ToRgb(TColor Color) {
    Color = ColorToRGB(Color);
    return OpaqueAlpha | (QRgb(GetRValue(Color)) << 16) | (QRgb(GetGValue(Color)) << 8) |
           QRgb(GetBValue(Color));
}

// Modes whose result depends on more than "draw the source colour here".
bool CombinesPixels(TPenMode Mode) {
    return Mode != pmCopy && Mode != pmBlack && Mode != pmWhite && Mode != pmNop;
}

QPainter::CompositionMode CompositionFor(TPenMode Mode) {
    switch (Mode) {
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    case pmNotCopy:
        return QPainter::RasterOp_NotSource;
    case pmMergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge:
        return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask:
        return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

bool IsDrawable(const QImage* Image) {
    return Image && !Image->isNull() && Image->depth() == 32;
}

// Calls Fn(X, Y) once for every pixel of the outermost ring of [L, R) x [T, B),
// limited to Clip.
template <class F>
void ForEachRingPixel(long long L, long long T, long long R, long long B, const QRect& Clip, F Fn) {
    if (R <= L || B <= T) return;
    const long long CL = std::max<long long>(L, Clip.left());
    const long long CR = std::min<long long>(R, Clip.left() + Clip.width());
    const long long CT = std::max<long long>(T + 1, Clip.top());
    const long long CB = std::min<long long>(B - 1, Clip.top() + Clip.height());
    auto Row = [&](long long Y) {
        if (Y < Clip.top() || Y >= Clip.top() + Clip.height()) return;
        for (long long X = CL; X < CR; ++X)
            Fn(X, Y);
    };
    auto Column = [&](long long X) {
        if (X < Clip.left() || X >= Clip.left() + Clip.width()) return;
        for (long long Y = CT; Y < CB; ++Y)
            Fn(X, Y);
    };
    Row(T);
    if (B - 1 > T) Row(B - 1);
    Column(L);
    if (R - 1 > L) Column(R - 1);
}

} // namespace

// The pen and brush as one primitive uses them.
struct TTools {
    TPenMode Mode = pmCopy;
    bool HasPen = false;
    bool ThinPen = true; // one pixel: drawn by PlotLine
    int PenWidth = 1;
    bool InsideFrame = false;
    TStroke Stroke;
    QPen QtPen;            // wide pens
    bool SolidPen = false; // no dashes: a line may be drawn smooth
    bool HasBrush = false;
    bool Hatched = false; // pattern with a transparent background
    QBrush Brush;
};

namespace {

// The background that fills the gaps of hatches and dashes, and text cells.
struct TBackground {
    TBkMode Mode = OPAQUE;
    TColor Color = clWhite;
};

// A hatch as an 8 x 8 tile: strokes in the brush colour on the background
// colour, from Qt's pattern, which is laid from the image origin as the tile is.
QImage OpaqueHatch(Qt::BrushStyle Style, QRgb Ink, QRgb Gap) {
    QImage Tile(8, 8, QImage::Format_RGB32);
    Tile.fill(Gap);
    QPainter P(&Tile);
    P.fillRect(Tile.rect(), QBrush(QColor::fromRgb(Ink), Style));
    return Tile;
}

TTools MakeTools(const TPen& Pen, const TBrush& Brush, TPenMode Mode, const TBackground& Back) {
    TTools T;
    T.Mode = Mode;
    auto Ink = [Mode](TColor C) {
        if (Mode == pmBlack) return OpaqueAlpha;
        if (Mode == pmWhite) return OpaqueAlpha | 0xFFFFFFu;
        return ToRgb(C);
    };
    const QRgb PenColor = Ink(Pen.Color()), BrushColor = Ink(Brush.Color());

    T.HasPen = Pen.Style() != psClear && Mode != pmNop;
    T.ThinPen = Pen.Width() <= 1;
    T.PenWidth = std::max(1, Pen.Width());
    T.InsideFrame = Pen.Style() == psInsideFrame && !T.ThinPen;
    T.Stroke.Color = PenColor;
    T.Stroke.GapColor = Ink(Back.Color);
    T.Stroke.OpaqueGaps = Back.Mode == OPAQUE;
    T.Stroke.Mode = Mode;
    // Wide pens are always solid, as the GDI draws them.
    if (T.ThinPen) T.Stroke.SetStyle(Pen.Style());
    // Wide ellipse outlines go through Qt.
    T.SolidPen = Pen.Style() == psSolid || Pen.Style() == psInsideFrame;
    T.QtPen = QPen(QColor::fromRgb(PenColor));
    T.QtPen.setWidth(T.PenWidth);
    T.QtPen.setCapStyle(Qt::RoundCap);
    T.QtPen.setJoinStyle(Qt::RoundJoin);

    if (Mode == pmNop) return T;
    if (const QImage* Pattern = Brush.Pattern()) {
        T.HasBrush = true;
        if (Mode == pmBlack || Mode == pmWhite)
            T.Brush = QBrush(QColor::fromRgb(BrushColor));
        else
            T.Brush = QBrush(*Pattern);
        return T;
    }
    T.HasBrush = Brush.Style() != bsClear;
    const QColor C = QColor::fromRgb(BrushColor);
    // Qt's pattern for each brush style, in the order of TBrushStyle.
    static constexpr Qt::BrushStyle Patterns[] = {
        Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
        Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    if (Brush.Style() != bsClear) T.Brush = QBrush(C, Patterns[Brush.Style()]);
    T.Hatched = Brush.Style() >= bsHorizontal;
    if (T.Hatched && Back.Mode == OPAQUE) {
        T.Brush = QBrush(OpaqueHatch(Patterns[Brush.Style()], BrushColor, Ink(Back.Color)));
        T.Hatched = false; // no gaps left to see through
    }
    return T;
}

void Prepare(QPainter& P, TPenMode Mode) {
    P.setCompositionMode(CompositionFor(Mode));
    P.setBackgroundMode(Qt::TransparentMode);
    P.setBrushOrigin(0, 0);
}

// A shape with an inside and an outline.
struct TFigure {
    QRect Bounds; // every pixel the figure may touch
    std::function<void(QPainter&)> Fill;
    // Draws the outline: one-pixel pens through the pixels (with the given
    // stroke), wide ones through the painter.
    std::function<void(QPainter&, TPixels&, TStroke&)> Outline;
    bool FillMeetsOutline = true; // the fill reaches under the outline
};

// Runs the fill and the outline of a figure under the pen mode. Combining
// modes need each pixel touched once and hatch gaps left alone; Qt's raster
// operations do neither for overlapping parts or transparent pattern pixels,
// so such figures are drawn in copy mode on a layer that is then combined
// with the image pixel by pixel.
void DrawFigure(QImage& Image, QPainter& P, const TTools& T, const TFigure& F) {
    const bool DoFill = T.HasBrush && F.Fill;
    const bool DoOutline = T.HasPen && F.Outline;
    if (!DoFill && !DoOutline) return;
    const bool Layered = CombinesPixels(T.Mode) &&
                         ((DoFill && T.Hatched) || (DoFill && DoOutline && F.FillMeetsOutline));
    if (!Layered) {
        Prepare(P, T.Mode);
        if (DoFill) {
            P.setPen(Qt::NoPen);
            P.setBrush(T.Brush);
            F.Fill(P);
        }
        if (DoOutline) {
            TPixels Px(Image);
            TStroke S = T.Stroke;
            F.Outline(P, Px, S);
        }
        return;
    }
    const QRect Area = F.Bounds & Image.rect();
    if (Area.isEmpty()) return;
    QImage Layer(Area.size(), QImage::Format_ARGB32_Premultiplied);
    Layer.fill(Qt::transparent);
    {
        QPainter L(&Layer);
        L.setRenderHint(QPainter::Antialiasing, false);
        L.translate(-Area.topLeft()); // patterns stay aligned to the image origin
        Prepare(L, pmCopy);
        if (DoFill) {
            L.setPen(Qt::NoPen);
            L.setBrush(T.Brush);
            F.Fill(L);
        }
        if (DoOutline) {
            TPixels Px(Layer, Area.topLeft());
            TStroke S = T.Stroke;
            S.Mode = pmCopy;
            F.Outline(L, Px, S);
        }
    }
    TPixels Dest(Image);
    for (int Y = 0; Y < Layer.height(); ++Y) {
        const QRgb* Line = reinterpret_cast<const QRgb*>(Layer.constScanLine(Y));
        for (int X = 0; X < Layer.width(); ++X)
            if (qAlpha(Line[X])) Dest.Put(Area.left() + X, Area.top() + Y, Line[X], T.Mode);
    }
}

// The box of some points grown by Margin, as far as it lies in Clip.
QRect BoundsIn(const TPoint* Points, int Count, int Margin, const QRect& Clip) {
    long long L = LLONG_MAX, T = LLONG_MAX, R = LLONG_MIN, B = LLONG_MIN;
    for (int I = 0; I < Count; ++I) {
        L = std::min<long long>(L, Points[I].X);
        R = std::max<long long>(R, Points[I].X);
        T = std::min<long long>(T, Points[I].Y);
        B = std::max<long long>(B, Points[I].Y);
    }
    L = std::max<long long>(L - Margin, Clip.left());
    T = std::max<long long>(T - Margin, Clip.top());
    R = std::min<long long>(R + Margin, Clip.right());
    B = std::min<long long>(B + Margin, Clip.bottom());
    if (L > R || T > B) return {};
    return QRect(QPoint(int(L), int(T)), QPoint(int(R), int(B)));
}

// The pixels of the ellipse inscribed in a box (right and bottom edge left
// out), row by row, as its outline and fill share them: a pixel belongs when
// its centre lies inside the ellipse through the box's outer edges. The
// middle rows reach the sides, and a row the ellipse is too thin to reach
// keeps its middle pixel or two, so the figure touches all four sides of the
// box. Computed from the distance to the
// middle, so the figure is symmetric both ways.
struct TEllipseRows {
    long long X1, Y1, X2, Y2;

    // The pixels L..R of row Y; false outside the box.
    bool Span(long long Y, long long& L, long long& R) const {
        if (Y < Y1 || Y >= Y2) return false;
        const long long Twice = std::llabs(2 * Y + 1 - (Y1 + Y2)); // rows from the middle, x2
        if (Twice <= 1) {
            // The middle row or two reach the sides: a flat ellipse would
            // otherwise fall short of them.
            L = X1;
            R = X2 - 1;
            return true;
        }
        const double W = double(X2 - X1), H = double(Y2 - Y1);
        const double Dy = double(Twice) / H; // 0 .. 1
        const double Half = W / 2 * std::sqrt(std::max(0.0, 1 - Dy * Dy));
        // Pixel X is in when |X + 0.5 - middle| <= Half; exact ties are in.
        R = static_cast<long long>(std::floor(double(X1 + X2) / 2 + Half - 0.5 + 1e-9));
        R = std::min(R, X2 - 1);
        L = X1 + X2 - 1 - R;
        if (L > R) {
            L = X1 + (X2 - X1 - 1) / 2;
            R = X1 + (X2 - X1) / 2;
        }
        return true;
    }
    // The pixels of row Y that lie inside the one-pixel outline: those whose
    // four neighbours all belong to the ellipse.
    bool Inside(long long Y, long long& L, long long& R) const {
        long long AL, AR, BL, BR;
        if (!Span(Y, L, R) || !Span(Y - 1, AL, AR) || !Span(Y + 1, BL, BR)) return false;
        L = std::max({L + 1, AL, BL});
        R = std::min({R - 1, AR, BR});
        return L <= R;
    }
};

// The one-pixel outline of an ellipse within Clip. Dashes run counter-clockwise
// from the rightmost point, counted over the pixels drawn.
void PlotEllipseRing(TPixels& Px, TStroke& S, const TEllipseRows& E, const QRect& Clip) {
    struct TRingPixel {
        double Angle;
        long long X, Y;
    };
    std::vector<TRingPixel> Dashed;
    const double MX = double(E.X1 + E.X2 - 1) / 2, MY = double(E.Y1 + E.Y2 - 1) / 2;
    auto Run = [&](long long Y, long long From, long long To) {
        From = std::max<long long>(From, Clip.left());
        To = std::min<long long>(To, Clip.right());
        for (long long X = From; X <= To; ++X) {
            if (S.Period == 0)
                S.Plot(Px, X, Y, 0);
            else
                Dashed.push_back({std::atan2(MY - double(Y), double(X) - MX), X, Y});
        }
    };
    for (long long Y = Clip.top(); Y <= Clip.bottom(); ++Y) {
        long long L, R, IL, IR;
        if (!E.Span(Y, L, R)) continue;
        if (!E.Inside(Y, IL, IR)) {
            Run(Y, L, R);
            continue;
        }
        Run(Y, L, IL - 1);
        Run(Y, IR + 1, R);
    }
    if (Dashed.empty()) return;
    for (TRingPixel& P : Dashed)
        if (P.Angle < 0) P.Angle += 2 * 3.14159265358979323846;
    std::sort(Dashed.begin(), Dashed.end(),
              [](const TRingPixel& A, const TRingPixel& B) { return A.Angle < B.Angle; });
    for (size_t I = 0; I < Dashed.size(); ++I)
        S.Plot(Px, Dashed[I].X, Dashed[I].Y, static_cast<long long>(I));
}

// Solid fills are the bulk of map painting: the rows of a region written
// directly, each pixel combined once under the pen mode.
void FillSolid(QImage& Image, const QRegion& Region, QRgb Color, TPenMode Mode) {
    const QRect Clip = Image.rect();
    uchar* Bits = Image.bits();
    const qsizetype Stride = Image.bytesPerLine();
    for (const QRect& Rect : Region) {
        const QRect R = Rect & Clip;
        for (int Y = R.top(); Y <= R.bottom(); ++Y) {
            QRgb* Row = reinterpret_cast<QRgb*>(Bits + Y * Stride);
            if (Mode == pmCopy) {
                std::fill(Row + R.left(), Row + R.right() + 1, Color);
            } else {
                for (int X = R.left(); X <= R.right(); ++X)
                    Row[X] = Rop(Mode, Color, Row[X]);
            }
        }
    }
}

std::vector<TFixPoint> ToFix(const TPoint* Points, int Count) {
    std::vector<TFixPoint> Fix(static_cast<size_t>(Count));
    for (int I = 0; I < Count; ++I)
        Fix[static_cast<size_t>(I)] = {Points[I].X * FixOne, Points[I].Y * FixOne};
    return Fix;
}

// A wide pen along points, open or closed.
void StrokeWidePoints(TPixels& Px, const TStroke& S, int Width, const TPoint* Points, int Count,
                      bool Closed) {
    const std::vector<TFixPoint> Fix = ToFix(Points, Count);
    StrokeWide(Px, S.Color, S.Mode, Fix.data(), Count, Closed, Width);
}

// Copies the source rectangle (SL, ST, SW, SH) of Source onto the rectangle
// (DL, DT, DW, DH) of Dst, nearest neighbour as the GDI stretches, clipped to
// both images. Blend composes sources with an alpha channel; Key, when given,
// is a colour left out (transparent bitmaps).
void Blit(QImage& Dst, long long DL, long long DT, long long DW, long long DH, const QImage& Source,
          long long SL, long long ST, long long SW, long long SH, bool Blend,
          std::optional<QRgb> Key) {
    if (DW <= 0 || DH <= 0 || SW <= 0 || SH <= 0 || Source.isNull()) return;
    QImage Converted;
    const QImage* Src = &Source;
    if (Source.format() != QImage::Format_RGB32 &&
        Source.format() != QImage::Format_ARGB32_Premultiplied) {
        Converted = Source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        Src = &Converted;
    }
    const bool SrcHasAlpha = Src->hasAlphaChannel();
    Blend = Blend && SrcHasAlpha;
    const bool DestHasAlpha = Dst.hasAlphaChannel();

    auto Map = [](long long From, long long To, long long D0, long long DLen, long long S0,
                  long long SLen, long long SLimit, std::vector<int>& Dest,
                  std::vector<int>& Sour) {
        for (long long D = From; D < To; ++D) {
            // The source pixel under the destination pixel's centre; a centre
            // exactly on a source pixel edge takes the pixel before it.
            __extension__ using Wide = __int128;
            const Wide Centre = Wide(2 * (D - D0) + 1) * SLen; // in 1 / (2 DLen) source pixels
            const long long S = S0 + static_cast<long long>((Centre - 1) / (2 * Wide(DLen)));
            if (S < 0 || S >= SLimit) continue;
            Dest.push_back(static_cast<int>(D));
            Sour.push_back(static_cast<int>(S));
        }
    };
    std::vector<int> DX, SX, DY, SY;
    Map(std::max(DL, 0LL), std::min(DL + DW, static_cast<long long>(Dst.width())), DL, DW, SL, SW,
        Src->width(), DX, SX);
    Map(std::max(DT, 0LL), std::min(DT + DH, static_cast<long long>(Dst.height())), DT, DH, ST, SH,
        Src->height(), DY, SY);
    if (DX.empty() || DY.empty()) return;

    for (size_t J = 0; J < DY.size(); ++J) {
        const QRgb* In = reinterpret_cast<const QRgb*>(Src->constScanLine(SY[J]));
        QRgb* Out = reinterpret_cast<QRgb*>(Dst.scanLine(DY[J]));
        for (size_t I = 0; I < DX.size(); ++I) {
            const QRgb S = In[SX[I]];
            const int A = SrcHasAlpha ? qAlpha(S) : 255;
            if (Key && (S & 0xFFFFFFu) == *Key && A == 255) continue;
            QRgb& D = Out[DX[I]];
            if (!Blend || A == 255) {
                D = (DestHasAlpha && SrcHasAlpha) ? S : (S | OpaqueAlpha);
                continue;
            }
            if (A == 0) continue;
            // Premultiplied source over the destination.
            auto Over = [A](int SC, int DC) { return SC + (DC * (255 - A) + 127) / 255; };
            const int OutA = DestHasAlpha ? Over(A, qAlpha(D)) : 255;
            D = qRgba(Over(qRed(S), qRed(D)), Over(qGreen(S), qGreen(D)), Over(qBlue(S), qBlue(D)),
                      OutA);
        }
    }
}

// Fonts are measured on a 96-DPI device, whatever the screen says.
const QPaintDevice* MetricsDevice() {
    static QImage Device = [] {
        QImage I(1, 1, QImage::Format_RGB32);
        I.setDotsPerMeterX(3780);
        I.setDotsPerMeterY(3780);
        return I;
    }();
    return &Device;
}

QRect ToQRect(const TRect& R) {
    return QRect(R.Left, R.Top, R.Width(), R.Height());
}

} // namespace

// --- canvas ----------------------------------------------------------------------

// The pen and brush turned into drawing tools, kept until either changes:
// map painting draws many primitives with the same tools.
struct TCanvasTools {
    TTools Tools;
};

TCanvas::TCanvas()
    : FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()),
      FFont(std::make_unique<TFont>()) {
    FPen->OnChange = [this](TObject*) { FToolsStale = true; };
    FBrush->OnChange = [this](TObject*) {
        FToolsStale = true;
        // The framework's canvas sets the background from the brush it selects.
        if (FBrush->Style() == bsSolid) {
            FBkMode = OPAQUE;
            FBkColor = FBrush->Color();
        } else {
            FBkMode = TRANSPARENT;
        }
    };
}

const TTools& TCanvas::CurrentTools() {
    if (!FTools) FTools = std::make_unique<TCanvasTools>();
    if (FToolsStale) {
        FTools->Tools = MakeTools(*FPen, *FBrush, FPen->Mode(), {FBkMode, FBkColor});
        FToolsStale = false;
    }
    return FTools->Tools;
}

TCanvas::~TCanvas() {
    Flush();
}

void TCanvas::SetImage(QImage* Image) {
    Flush();
    FImage = Image;
}

void TCanvas::Flush() {
    FPixels = TPixelAccess{};
    if (FPainter && FPainter->isActive()) FPainter->end();
}

QPainter* TCanvas::Painter() {
    if (!IsDrawable(FImage)) {
        Flush();
        return nullptr;
    }
    // Someone took a copy of the image while we were painting on it: the
    // painter must follow the image to a buffer of its own.
    if (FPainter && FPainter->isActive() && !FImage->isDetached()) FPainter->end();
    if (!FPainter) FPainter = std::make_unique<QPainter>();
    if (!FPainter->isActive()) {
        FPixels = TPixelAccess{};
        if (!FPainter->begin(FImage)) return nullptr;
        // Begun, the painter has made the buffer the image's own.
        FPixels = TPixelAccess{const_cast<uchar*>(FImage->constBits()), FImage->bytesPerLine(),
                               FImage->width(), FImage->height()};
        FPainter->setRenderHint(QPainter::Antialiasing, false);
        FPainter->setRenderHint(QPainter::TextAntialiasing, false);
        FPainter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (OnBeginDrawing) OnBeginDrawing();
    }
    return FPainter.get();
}

void TCanvas::SetBkMode(TBkMode V) {
    if (V == FBkMode) return;
    FBkMode = V;
    FToolsStale = true;
}

void TCanvas::SetBkColor(TColor V) {
    if (V == FBkColor) return;
    FBkColor = V;
    FToolsStale = true;
}

void TCanvas::MoveTo(int X, int Y) {
    FPenPos = TPoint{X, Y};
}

void TCanvas::LineTo(int X, int Y) {
    const TPoint Points[2] = {FPenPos, TPoint{X, Y}};
    FPenPos = Points[1];
    StrokePoints(Points, 2, false);
}

void TCanvas::Polyline(const TPoint* Points, int Count) {
    if (Points && Count >= 2) StrokePoints(Points, Count, false);
}

namespace {

// Whether the figure may be drawn by Qt's antialiased painter: copied colour,
// a solid pen or none, a solid brush or none.
bool Smoothable(const TTools& T, bool WithBrush) {
    if (T.Mode != pmCopy || (T.HasPen && !T.SolidPen)) return false;
    return !WithBrush || !T.HasBrush || T.Brush.style() == Qt::SolidPattern;
}

// The points as pixel centres, where the exact drawing puts its one-pixel lines.
QPolygonF PixelCentres(const TPoint* Points, int Count) {
    QPolygonF Poly;
    Poly.reserve(Count);
    for (int I = 0; I < Count; ++I)
        Poly << QPointF(Points[I].X + 0.5, Points[I].Y + 0.5);
    return Poly;
}

// Qt's painter set for one smooth figure; the state is restored after it.
class TSmoothPainter {
public:
    TSmoothPainter(QPainter& P, const TTools& T, bool WithBrush) : FP(P) {
        P.save();
        P.setRenderHint(QPainter::Antialiasing, true);
        P.setCompositionMode(QPainter::CompositionMode_SourceOver);
        QPen Pen = T.QtPen;
        if (T.ThinPen) Pen.setWidth(1);
        P.setPen(T.HasPen ? Pen : QPen(Qt::NoPen));
        P.setBrush(WithBrush && T.HasBrush ? T.Brush : QBrush(Qt::NoBrush));
    }
    ~TSmoothPainter() { FP.restore(); }
    TSmoothPainter(const TSmoothPainter&) = delete;
    TSmoothPainter& operator=(const TSmoothPainter&) = delete;

private:
    QPainter& FP;
};

} // namespace

void TCanvas::StrokePoints(const TPoint* Points, int Count, bool Closed) {
    const TTools& T = CurrentTools();
    if (!T.HasPen || !Painter()) return;
    if (FAntialiasing && Smoothable(T, false)) {
        TSmoothPainter Smooth(*FPainter, T, false);
        const QPolygonF Poly = PixelCentres(Points, Count);
        Closed ? FPainter->drawPolygon(Poly) : FPainter->drawPolyline(Poly);
        return;
    }
    TPixels Px(*FImage);
    TStroke S = T.Stroke; // each call starts its dash pattern afresh
    if (T.ThinPen)
        PlotPolyline(Px, S, Points, Count, Closed);
    else
        StrokeWidePoints(Px, S, T.PenWidth, Points, Count, Closed);
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
    if (!Points || Count < 2) return;
    const TTools& T = CurrentTools();
    QPainter* P = Painter();
    if (!P) return;
    if (FAntialiasing && Smoothable(T, true)) {
        TSmoothPainter Smooth(*P, T, Count >= 3);
        P->drawPolygon(PixelCentres(Points, Count),
                       FPolyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        return;
    }
    TFigure F;
    F.Bounds = BoundsIn(Points, Count, T.PenWidth / 2 + 2, FImage->rect());
    // The inside as the polygon region of the same points: the GDI fills
    // polygons by its region scan conversion.
    QRegion Inside;
    if (Count >= 3 && T.HasBrush) {
        Inside = TRgn::CreatePolygonRgn(Points, Count, FPolyFillMode).Region();
        if (T.Mode == pmCopy && T.Brush.style() == Qt::SolidPattern) {
            // Copied pixels: the outline may simply follow the fill.
            FillSolid(*FImage, Inside, T.Brush.color().rgb(), pmCopy);
        } else {
            F.Fill = [&Inside](QPainter& Q) {
                for (const QRect& R : Inside)
                    Q.fillRect(R, Q.brush());
            };
        }
    }
    F.Outline = [&](QPainter&, TPixels& Px, TStroke& S) {
        if (T.ThinPen)
            PlotPolyline(Px, S, Points, Count, true);
        else
            StrokeWidePoints(Px, S, T.PenWidth, Points, Count, true);
    };
    DrawFigure(*FImage, *P, T, F);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    if (X1 > X2) std::swap(X1, X2);
    if (Y1 > Y2) std::swap(Y1, Y2);
    if (X1 == X2 || Y1 == Y2) return;
    const TTools& T = CurrentTools();
    QPainter* P = Painter();
    if (!P) return;
    const long long W = static_cast<long long>(X2) - X1, H = static_cast<long long>(Y2) - Y1;
    TFigure F;
    const int Margin = T.PenWidth / 2 + 2;
    F.Bounds =
        QRect(X1, Y1, int(std::min<long long>(W, INT_MAX)), int(std::min<long long>(H, INT_MAX)))
            .adjusted(-Margin, -Margin, Margin, Margin);
    if (T.HasPen && T.ThinPen) {
        // The outline is the outermost ring; the fill is what lies inside it.
        F.FillMeetsOutline = false;
        if (W > 2 && H > 2) {
            const QRect Inside(X1 + 1, Y1 + 1, int(W - 2), int(H - 2));
            F.Fill = [Inside](QPainter& Q) { Q.fillRect(Inside, Q.brush()); };
        }
        F.Outline = [&](QPainter&, TPixels& Px, TStroke& S) {
            if (W == 1 || H == 1) {
                PlotLine(Px, S, X1, Y1, X1 + (W == 1 ? 0 : W), Y1 + (W == 1 ? H : 0));
                return;
            }
            const TPoint Ring[4] = {{X1, Y1}, {X2 - 1, Y1}, {X2 - 1, Y2 - 1}, {X1, Y2 - 1}};
            PlotPolyline(Px, S, Ring, 4, true);
        };
    } else {
        const QRect Whole(X1, Y1, int(W), int(H));
        F.Fill = [Whole](QPainter& Q) { Q.fillRect(Whole, Q.brush()); };
        F.Outline = [&](QPainter&, TPixels& Px, TStroke& S) {
            // The pen is centred on the one-pixel outline, or kept inside the
            // box by a frame pen: the odd half of an even width lies above
            // and left of its path.
            const int Near = T.InsideFrame ? T.PenWidth / 2 : 0;
            const int Far = T.InsideFrame ? (T.PenWidth - 1) / 2 : 0;
            const long long L = X1 + Near, Tp = Y1 + Near, R = std::max(L, X2 - 1LL - Far),
                            B = std::max(Tp, Y2 - 1LL - Far);
            const TFixPoint Ring[4] = {{L * FixOne, Tp * FixOne},
                                       {R * FixOne, Tp * FixOne},
                                       {R * FixOne, B * FixOne},
                                       {L * FixOne, B * FixOne}};
            StrokeWide(Px, S.Color, S.Mode, Ring, 4, true, T.PenWidth);
        };
    }
    DrawFigure(*FImage, *P, T, F);
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    if (X1 > X2) std::swap(X1, X2);
    if (Y1 > Y2) std::swap(Y1, Y2);
    if (X1 == X2 || Y1 == Y2) return;
    const TTools& T = CurrentTools();
    QPainter* P = Painter();
    if (!P) return;
    if (FAntialiasing && Smoothable(T, true)) {
        TSmoothPainter Smooth(*P, T, true);
        P->drawEllipse(QRectF(X1 + 0.5, Y1 + 0.5, X2 - X1 - 1, Y2 - Y1 - 1));
        return;
    }
    const TEllipseRows E{X1, Y1, X2, Y2};
    TFigure F;
    const TPoint Corners[2] = {{X1, Y1}, {X2 - 1, Y2 - 1}};
    F.Bounds = BoundsIn(Corners, 2, T.PenWidth / 2 + 2, FImage->rect());
    if (F.Bounds.isEmpty()) return;
    const QRect Clip = F.Bounds;
    // A one-pixel outline is the ellipse's border pixels and the fill what
    // they enclose; a wide pen is laid over the whole of it.
    const bool Ring = T.HasPen && T.ThinPen;
    F.FillMeetsOutline = !Ring;
    F.Fill = [&E, Clip, Ring](QPainter& Q) {
        for (long long Y = Clip.top(); Y <= Clip.bottom(); ++Y) {
            long long L, R;
            if (!(Ring ? E.Inside(Y, L, R) : E.Span(Y, L, R))) continue;
            L = std::max<long long>(L, Clip.left());
            R = std::min<long long>(R, Clip.right());
            if (L <= R) Q.fillRect(QRect(int(L), int(Y), int(R - L + 1), 1), Q.brush());
        }
    };
    F.Outline = [&](QPainter& Q, TPixels& Px, TStroke& S) {
        if (!T.ThinPen) {
            const QRect Box(X1, Y1, X2 - X1, Y2 - Y1);
            const int Inset = T.InsideFrame ? T.PenWidth / 2 : 0;
            Q.setPen(T.QtPen);
            Q.setBrush(Qt::NoBrush);
            Q.drawEllipse(Box.adjusted(Inset, Inset, -1 - Inset, -1 - Inset));
            return;
        }
        PlotEllipseRing(Px, S, E, Clip);
    };
    DrawFigure(*FImage, *P, T, F);
}

void TCanvas::FillRect(const TRect& R) {
    // A pattern copy: the pen and its mode play no part.
    TTools T = MakeTools(*FPen, *FBrush, pmCopy, {FBkMode, FBkColor});
    // Corners given either way round fill the same rectangle.
    if (!FImage) return;
    const QRect Clip = FImage->rect();
    const long long L = std::max<long long>(std::min(R.Left, R.Right), Clip.left()),
                    Tp = std::max<long long>(std::min(R.Top, R.Bottom), Clip.top()),
                    Rt = std::min<long long>(std::max(R.Left, R.Right) - 1LL, Clip.right()),
                    B = std::min<long long>(std::max(R.Top, R.Bottom) - 1LL, Clip.bottom());
    if (L > Rt || Tp > B) return;
    const QRect Box{QPoint{int(L), int(Tp)}, QPoint{int(Rt), int(B)}};
    if (!T.HasBrush) return;
    QPainter* P = Painter();
    if (!P) return;
    Prepare(*P, pmCopy);
    P->fillRect(Box, T.Brush);
}

void TCanvas::FrameRect(const TRect& R) {
    if (FBrush->Style() == bsClear && !FBrush->HasPattern()) return;
    if (!Painter()) return;
    TPixels Px(*FImage);
    const QRgb C = ToRgb(FBrush->Color());
    ForEachRingPixel(R.Left, R.Top, R.Right, R.Bottom, FImage->rect(),
                     [&](long long X, long long Y) { Px.Put(X, Y, C, pmCopy); });
}

void TCanvas::DrawFocusRect(const TRect& R) {
    if (!Painter()) return;
    TPixels Px(*FImage);
    // Every other pixel inverted: drawing the same frame again removes it.
    ForEachRingPixel(R.Left, R.Top, R.Right, R.Bottom, FImage->rect(),
                     [&](long long X, long long Y) {
                         if (((X + Y) & 1) == 0) Px.Put(X, Y, 0xFFFFFFu, pmXor);
                     });
}

int TCanvas::TextWidth(const std::string& Text) {
    return QFontMetrics(FFont->ToQFont(), MetricsDevice()).horizontalAdvance(ToQString(Text));
}

int TCanvas::TextHeight(const std::string& Text) {
    return QFontMetrics(FFont->ToQFont(), MetricsDevice()).height();
}

TSize TCanvas::TextExtent(const std::string& Text) {
    QFontMetrics M(FFont->ToQFont(), MetricsDevice());
    return TSize{M.horizontalAdvance(ToQString(Text)), M.height()};
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
    DrawText(X, Y, Text, clNone, 0);
}

void TCanvas::TextOutHalo(int X, int Y, const std::string& Text, TColor HaloColor, int HaloWidth) {
    DrawText(X, Y, Text, HaloColor, HaloWidth);
}

void TCanvas::DrawText(int X, int Y, const std::string& Text, TColor HaloColor, int HaloWidth) {
    QFont Font = FFont->ToQFont();
    if (FAntialiasing) Font.setStyleStrategy(QFont::PreferAntialias);
    const QFontMetrics M(Font, MetricsDevice());
    const QString S = ToQString(Text);
    const int W = M.horizontalAdvance(S);
    if (QPainter* P = Painter()) {
        P->save();
        P->setCompositionMode(QPainter::CompositionMode_SourceOver);
        P->setBackgroundMode(Qt::TransparentMode);
        P->translate(X, Y);
        if (FFont->Escapement() % 3600 != 0) P->rotate(-FFont->Escapement() / 10.0);
        if (FBkMode == OPAQUE) P->fillRect(QRect(0, 0, W, M.height()), ToQColor(FBkColor));
        if (HaloWidth > 0) {
            // The outline of the glyphs stroked twice as wide as the halo:
            // half of it lies under the glyphs drawn next.
            QPainterPath Outline;
            Outline.addText(QPointF(0, M.ascent()), Font, S);
            P->setRenderHint(QPainter::Antialiasing, FAntialiasing);
            P->setBrush(Qt::NoBrush);
            P->setPen(QPen(ToQColor(HaloColor), 2.0 * HaloWidth, Qt::SolidLine, Qt::RoundCap,
                           Qt::RoundJoin));
            P->drawPath(Outline);
        }
        P->setRenderHint(QPainter::TextAntialiasing, FAntialiasing);
        P->setFont(Font);
        P->setPen(ToQColor(FFont->Color()));
        P->drawText(QPoint(0, M.ascent()), S);
        P->restore();
    }
    FPenPos = TPoint{X + W, Y};
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const std::string& Text) {
    QPainter* P = Painter();
    if (!P) return;
    const QFont Font = FFont->ToQFont();
    const QFontMetrics M(Font, MetricsDevice());
    const QRect Clip = ToQRect(R);
    if (Clip.isEmpty()) return;
    P->save();
    P->setCompositionMode(QPainter::CompositionMode_SourceOver);
    P->setBackgroundMode(Qt::TransparentMode);
    P->setClipRect(Clip);
    if (FBkMode == OPAQUE) P->fillRect(Clip, ToQColor(FBkColor));
    P->translate(X, Y);
    if (FFont->Escapement() % 3600 != 0) P->rotate(-FFont->Escapement() / 10.0);
    P->setFont(Font);
    P->setPen(ToQColor(FFont->Color()));
    P->drawText(QPoint(0, M.ascent()), ToQString(Text));
    P->restore();
}

void TCanvas::Draw(int X, int Y, const TBitmap* Bitmap) {
    if (!Bitmap || Bitmap->Empty()) return;
    StretchDraw(TRect{X, Y, X + Bitmap->Width(), Y + Bitmap->Height()}, Bitmap);
}

void TCanvas::StretchDraw(const TRect& R, const TBitmap* Bitmap) {
    if (!Bitmap || Bitmap->Empty() || R.Right <= R.Left || R.Bottom <= R.Top) return;
    if (!IsDrawable(FImage)) return;
    const QImage& Src = Bitmap->Image(); // flushes the bitmap's own canvas
    std::optional<QRgb> Key;
    if (Bitmap->Transparent()) Key = ToRgb(Bitmap->TransparentColor()) & 0xFFFFFFu;
    // Drawing a bitmap on its own canvas needs a snapshot of the source.
    const QImage Source = &Src == FImage ? Src.copy() : Src;
    if (!Painter()) return; // also gives the image a buffer of its own
    Blit(*FImage, R.Left, R.Top, static_cast<long long>(R.Right) - R.Left,
         static_cast<long long>(R.Bottom) - R.Top, Source, 0, 0, Source.width(), Source.height(),
         true, Key);
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect) {
    if (!Source || !Source->Image() || Source->Image()->isNull()) return;
    Source->Flush();
    const QImage Src = Source == this ? FImage->copy() : *Source->Image();
    if (!Painter()) return;
    Blit(*FImage, Dest.Left, Dest.Top, static_cast<long long>(Dest.Right) - Dest.Left,
         static_cast<long long>(Dest.Bottom) - Dest.Top, Src, SourceRect.Left, SourceRect.Top,
         static_cast<long long>(SourceRect.Right) - SourceRect.Left,
         static_cast<long long>(SourceRect.Bottom) - SourceRect.Top, false, std::nullopt);
}

TColor TCanvas::Pixel(int X, int Y) const {
    if (!FImage || !FImage->valid(X, Y)) return clNone;
    QRgb P = FImage->pixel(X, Y);
    if (FImage->format() == QImage::Format_ARGB32_Premultiplied) P = qUnpremultiply(P);
    return RGB(qRed(P), qGreen(P), qBlue(P));
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
    if (!Painter()) return;
    TPixels Px(*FImage);
    Px.Put(X, Y, ToRgb(Color), pmCopy);
}

void TCanvas::PaintRgn(const TRgn& Region) {
    FillRegion(Region.Region());
}

void TCanvas::DrawMask(int X, int Y, const TMask& Mask, TColor Color) {
    if (Mask.Empty()) return;
    // The pixels kept since the painter began, while nobody shares the
    // image: one check instead of the painter's own per symbol.
    if (!FPixels.Bits || !FImage->isDetached()) Painter(); // begins again, reading them anew
    if (!FPixels.Bits) return;
    const TRect& B = Mask.Bounds();
    const long long W = FPixels.Width, H = FPixels.Height;
    if (X + (long long)B.Right <= 0 || Y + (long long)B.Bottom <= 0 || X + (long long)B.Left >= W ||
        Y + (long long)B.Top >= H)
        return;
    const QRgb Ink = ToRgb(Color);
    uchar* const Bits = FPixels.Bits;
    const qsizetype Stride = FPixels.Stride;
    if (X + (long long)B.Left >= 0 && Y + (long long)B.Top >= 0 && X + (long long)B.Right <= W &&
        Y + (long long)B.Bottom <= H) {
        // Wholly inside, as nearly every symbol of a map is: no run needs cutting.
        for (const TMask::TRun& Run : Mask.Runs()) {
            QRgb* From = reinterpret_cast<QRgb*>(Bits + qsizetype(Y + Run.Y) * Stride) + X + Run.X;
            std::fill(From, From + Run.Length, Ink);
        }
        return;
    }
    for (const TMask::TRun& Run : Mask.Runs()) {
        const long long RowY = (long long)Y + Run.Y;
        if (RowY < 0 || RowY >= H) continue;
        const long long From = std::max<long long>((long long)X + Run.X, 0);
        const long long To = std::min<long long>((long long)X + Run.X + Run.Length, W);
        if (From >= To) continue;
        QRgb* Row = reinterpret_cast<QRgb*>(Bits + RowY * Stride);
        std::fill(Row + From, Row + To, Ink);
    }
}

void TCanvas::FillRegion(const QRegion& Region) {
    if (Region.isEmpty()) return;
    const TTools& T = CurrentTools();
    QPainter* P = Painter();
    if (!P) return;
    if (T.HasBrush && T.Brush.style() == Qt::SolidPattern) {
        FillSolid(*FImage, Region, T.Brush.color().rgb(), T.Mode);
        return;
    }
    TFigure F;
    F.Bounds = Region.boundingRect();
    // The rectangles of a region never overlap: each pixel is filled once.
    F.Fill = [&Region](QPainter& Q) {
        for (const QRect& R : Region)
            Q.fillRect(R, Q.brush());
    };
    DrawFigure(*FImage, *P, T, F);
}

} // namespace Platform

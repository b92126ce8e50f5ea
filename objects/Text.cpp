#include "objects/Text.h"

#include "core/MapObjects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Mapobjects {

using namespace Platform;

namespace {

// Rounds halves to even, as the rest of the view transform does.
int RoundEven(double V) {
    return static_cast<int>(std::lrint(V));
}

// Sets the map's text-sizing guard for a scope and puts the old value back.
class TSizingGuard {
public:
    explicit TSizingGuard(TChartix* Map) : FMap(Map), FOld(Map->TextSizing()) {
        Map->SetTextSizing(true);
    }
    ~TSizingGuard() { FMap->SetTextSizing(FOld); }
    TSizingGuard(const TSizingGuard&) = delete;
    TSizingGuard& operator=(const TSizingGuard&) = delete;

private:
    TChartix* FMap;
    bool FOld;
};

} // namespace

TText::TText() {
    ListenToFont();
}

void TText::ListenToFont() {
    if (Font()) Font()->OnChange = [this](TObject* Sender) { onFontChange(Sender); };
}

std::unique_ptr<TFont> TText::SetFont(std::unique_ptr<TFont> V) {
    std::unique_ptr<TFont> Old = TSymbol::SetFont(std::move(V));
    if (Old) Old->OnChange = nullptr;
    ListenToFont();
    return Old;
}

void TText::SetText(const std::string& V) {
    FText = V;
    RecalcTextSize();
}

void TText::SetWidth(double V) {
    FWidth = V;
    RecalcTextSize();
}

void TText::SetHeight(double V) {
    FHeight = V;
    RecalcTextSize();
}

void TText::SetLabelLine(TLabelLine Kind, double X, double Y) {
    FLabelLine = Kind;
    FLabelX = X;
    FLabelY = Y;
}

void TText::SetFreezeFontSize(bool V) {
    FFreezeFontSize = V;
    if (V && Map()) Map()->DoUpdate(true);
}

void TText::SetMinShowTextSize(int V) {
    if (V < 4) return;
    FMinShowTextSize = V;
    if (Map()) Map()->DoUpdate(true);
}

TTextPoligon TText::GetTextPolygon() {
    TTextPoligon Result;
    TChartix* M = Map();
    if (!M) return Result;
    const double A = FAngle * std::numbers::pi / 180;
    const double W = FWidth, H = FHeight, X0 = X(), Y0 = Y();
    const double Phi = std::atan2(H, W), D = std::sqrt(W * W + H * H);
    const double Corners[4][2] = {
        {X0, Y0 + H},                                                 // top-left, the pivot
        {X0 + W * std::cos(A), Y0 + H + W * std::sin(A)},             // top-right
        {X0 + D * std::cos(Phi - A), Y0 + H - D * std::sin(Phi - A)}, // bottom-right
        {X0 + H * std::sin(A), Y0 + H - H * std::cos(A)}};            // bottom-left
    for (const auto& C : Corners) {
        TPoint P;
        M->MapToScreen(C[0], C[1], P.X, P.Y, false);
        Result.push_back(P);
    }
    return Result;
}

TRect TText::GetTextRect(bool) {
    const TTextPoligon P = GetTextPolygon();
    if (P.empty()) return TRect{};
    TRect R{P[0].X, P[0].Y, P[0].X, P[0].Y};
    for (const TPoint& Q : P) {
        R.Left = std::min(R.Left, Q.X);
        R.Top = std::min(R.Top, Q.Y);
        R.Right = std::max(R.Right, Q.X);
        R.Bottom = std::max(R.Bottom, Q.Y);
    }
    return R;
}

bool TText::ContainsPoint(double X, double Y) {
    if (!Map()) return false;
    const TRect R = GetTextRect(false);
    int SX, SY;
    Map()->MapToScreen(X, Y, SX, SY, false);
    return R.Left <= SX && SX <= R.Right && R.Top <= SY && SY <= R.Bottom;
}

void TText::RecalcTextSize() {
    TChartix* M = Map();
    if (!M || FText.empty() || !(FHeight > 0) || !(FWidth > 0)) return;
    int X1, Y1, X2, Y2;
    M->MapToScreen(X(), Y(), X1, Y1, false);
    M->MapToScreen(X() + FWidth, Y() + FHeight, X2, Y2, false);
    const int BW = std::max(4, std::abs(X2 - X1));
    const int BH = std::max(5, std::abs(Y2 - Y1));
    if (BH < 6) {
        Font()->SetSize(3);
        return;
    }

    TCanvas* C = M->Canvas();
    TFont* CF = C->Font();
    auto Measure = [&](int Size) {
        CF->SetSize(Size);
        return C->TextExtent(FText);
    };
    auto Fits = [&](TSize E) { return E.cx <= BW && E.cy <= BH; };
    CF->Assign(ReadFont());
    // A line of text is about 1.48 times the point size in pixels at 96 DPI.
    TSize E = Measure(std::max(std::min(RoundEven(BH / 1.48), 200), 2));
    Font()->Assign(CF);

    // Both ways the size is searched by halving, not walked a point at a
    // time: a box can be hundreds of thousands of pixels on screen. Extents
    // grow with the size, so the search ends where a walk would.
    if (!Fits(E)) {
        // Too large: jump close when far off, then the largest size below
        // that fits, but none below MinShowTextSize - 2, where the text is
        // hidden anyway.
        const double R = std::max(double(E.cy) / BH, double(E.cx) / BW);
        if (R > 1.2) E = Measure(RoundEven(CF->Size() / R) + 1);
        if (!Fits(E)) {
            const int Floor = FMinShowTextSize - 2;
            int Lo = std::min(Floor, CF->Size() - 1), Hi = CF->Size(); // Hi does not fit
            while (Hi - Lo > 1) {
                const int Mid = Lo + (Hi - Lo) / 2;
                (Fits(Measure(Mid)) ? Lo : Hi) = Mid;
            }
            CF->SetSize(Lo);
        }
        Font()->Assign(CF);
    } else if (BW > E.cx && E.cy < BH && BH / (E.cy + 0.000001) > 1.05) {
        // Noticeably too small: jump close when far off, then grow while the
        // text stays clear of the box's edges. The first size that meets an
        // edge is kept when it fits, else the one before it.
        const double R = std::min(double(E.cy) / BH, double(E.cx) / BW);
        if (R > 0 && R < 0.8)
            E = Measure(RoundEven(std::min(CF->Size() / R, MaxFittedFontSize + 2.0)) - 2);
        auto Clear = [&](TSize T) { return T.cy < BH && T.cx < BW; };
        if (Clear(E)) {
            // Lo is clear of the edges; Hi, once found, is not.
            int Lo = CF->Size(), Hi = 0;
            TSize EHi{};
            for (int Step = 1; !Hi && Lo < MaxFittedFontSize; Step *= 2) {
                const int Next = Lo + std::min(Step, MaxFittedFontSize - Lo);
                const TSize EN = Measure(Next);
                if (Clear(EN)) {
                    Lo = Next;
                } else {
                    Hi = Next;
                    EHi = EN;
                }
            }
            while (Hi - Lo > 1) {
                const int Mid = Lo + (Hi - Lo) / 2;
                const TSize EM = Measure(Mid);
                if (Clear(EM)) {
                    Lo = Mid;
                } else {
                    Hi = Mid;
                    EHi = EM;
                }
            }
            CF->SetSize(Hi && Fits(EHi) ? Hi : Lo);
        }
        Font()->Assign(CF);
    }
}

void TText::AutoSizeText() {
    TChartix* M = Map();
    if (!M || FText.empty()) return;
    TCanvas* C = M->Canvas();
    C->SetFont(ReadFont());
    const TSize E = C->TextExtent(FText);
    const double AX = X(), AY = Y();
    int SX, SY;
    M->MapToScreen(AX, AY, SX, SY, false);
    // A tenth of the text width as right margin and one pixel below.
    double X2, Y2;
    M->ScreenToMap(SX + E.cx + RoundEven(0.1 * E.cx), SY + E.cy + 1, X2, Y2);
    // Stored directly: fitting the box to the font must not refit the font.
    FWidth = std::fabs(X2 - AX);
    FHeight = std::fabs(AY - Y2);
}

void TText::onFontChange(TObject*) {
    TChartix* M = Map();
    if (!M || FText.empty() || M->TextSizing()) return;
    TSizingGuard Guard(M);
    AutoSizeText();
    M->DoUpdate(true);
}

void TText::CanvasSetAngle(TCanvas* Canvas, double Angle) {
    // Whole turns are dropped, so that any angle a file holds fits the
    // escapement; an angle that is no number does not turn the text.
    const double Turned = std::fmod(std::ceil(Angle * 10), 3600.0);
    const int Tenths = std::isfinite(Turned) ? static_cast<int>(Turned) : 0;
    Canvas->Font()->SetEscapement(Tenths);
    // Orientation turns single glyphs, which the canvas does not do; it takes
    // the escapement so that the two never disagree.
    Canvas->Font()->SetOrientation(Tenths);
}

void TText::Draw() {
    TChartix* M = Map();
    if (!M) return;
    {
        TSizingGuard Guard(M);
        if (FFreezeFontSize)
            AutoSizeText();
        else
            RecalcTextSize();
    }
    if (ReadFont()->Size() < FMinShowTextSize) return;
    TCustomMapObject::Draw();

    int SX, SY, SX2, SY2;
    M->MapToScreen(X(), Y(), SX, SY, false);
    M->MapToScreen(X() + FWidth, Y() + FHeight, SX2, SY2, false);
    TCanvas* C = M->Canvas();
    C->SetFont(ReadFont());
    if (!M->FastSelection() && GetSelected()) {
        C->Brush()->SetBitmap(M->SelectionPattern());
        const TTextPoligon P = GetTextPolygon();
        C->Polygon(P.data(), static_cast<int>(P.size()));
        C->Brush()->SetStyle(bsClear);
    } else if (UseBGColor()) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(BGColor());
        C->Pen()->SetColor(Pen()->Color());
        const TTextPoligon P = GetTextPolygon();
        C->Polygon(P.data(), static_cast<int>(P.size()));
        C->Brush()->SetStyle(bsClear);
    } else {
        C->Brush()->SetStyle(bsClear);
    }
    // Centred or right-aligned text moves along the box's top edge, turned
    // with it, by the room the text leaves.
    int TX = SX, TY = SY2;
    if (FJustify != tjLeft) {
        const TTextPoligon P = GetTextPolygon();
        const double DX = P[1].X - P[0].X, DY = P[1].Y - P[0].Y;
        const double Length = std::sqrt(DX * DX + DY * DY);
        if (Length > 0) {
            const double Room = (Length - C->TextWidth(FText)) * (FJustify == tjCenter ? 0.5 : 1.0);
            TX = P[0].X + RoundEven(DX * Room / Length);
            TY = P[0].Y + RoundEven(DY * Room / Length);
        }
    }
    CanvasSetAngle(C, FAngle);
    C->TextOut(TX, TY, FText);
    CanvasSetAngle(C, 0);
    C->Brush()->SetStyle(bsSolid);
}

void TText::DrawSelection() {
    TChartix* M = Map();
    if (!M || !M->ShowSelection()) return;
    PrepareCanvasAtributes();
    TCanvas* C = M->Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Pen()->SetMode(pmXor);
    C->Pen()->SetColor(Font()->Color());
    C->Pen()->SetStyle(psClear);
    const TTextPoligon P = GetTextPolygon();
    C->Polygon(P.data(), static_cast<int>(P.size()));
    C->Brush()->SetStyle(bsSolid);
    C->Pen()->SetMode(pmCopy);
    C->Pen()->SetStyle(Pen()->Style());
}

} // namespace Mapobjects

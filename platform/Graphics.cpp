#include "platform/Graphics.h"

#include "platform/Bitmap.h"

#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QString>
#include <QStringDecoder>
#include <cstdlib>

#include <atomic>

namespace Platform {

namespace {

// Fixed values of the system colours, indexed by the low byte of clXxx. The
// ones the components name are pinned; the rest follow a common desktop theme.
TColor SystemColor(unsigned Index) {
    switch (Index) {
    case 0:
        return RGB(200, 200, 200); // scroll bar
    case 1:
        return clBlack; // desktop
    case 2:
        return RGB(153, 180, 209); // active caption
    case 3:
        return RGB(191, 205, 219); // inactive caption
    case 4:
        return RGB(240, 240, 240); // menu
    case 5:
        return clWhite; // window
    case 6:
        return RGB(100, 100, 100); // window frame
    case 7:
        return clBlack; // menu text
    case 8:
        return clBlack; // window text
    case 9:
        return clBlack; // caption text
    case 10:
        return RGB(180, 180, 180); // active border
    case 11:
        return RGB(244, 247, 252); // inactive border
    case 12:
        return RGB(171, 171, 171); // application workspace
    case 13:
        return RGB(0, 120, 215); // highlight
    case 14:
        return clWhite; // highlight text
    case 15:
        return RGB(240, 240, 240); // button face
    case 16:
        return RGB(160, 160, 160); // button shadow
    case 17:
        return RGB(109, 109, 109); // grey text
    case 18:
        return clBlack; // button text
    case 19:
        return RGB(67, 78, 84); // inactive caption text
    case 20:
        return clWhite; // button highlight
    case 21:
        return RGB(105, 105, 105); // 3D dark shadow
    case 22:
        return RGB(227, 227, 227); // 3D light
    case 23:
        return clBlack; // info text
    case 24:
        return RGB(255, 255, 225); // info background
    case 26:
        return RGB(0, 102, 204); // hot light
    case 27:
        return RGB(185, 209, 234); // gradient active caption
    case 28:
        return RGB(215, 228, 242); // gradient inactive caption
    case 29:
        return RGB(0, 120, 215); // menu highlight
    case 30:
        return RGB(240, 240, 240); // menu bar
    default:
        return clBlack;
    }
}

} // namespace

TColor ColorToRGB(TColor Color) {
    if ((Color & 0xFF000000u) == 0x80000000u) return SystemColor(Color & 0xFFu);
    return Color & 0x00FFFFFFu;
}

QColor ToQColor(TColor Color) {
    Color = ColorToRGB(Color);
    return QColor(GetRValue(Color), GetGValue(Color), GetBValue(Color));
}

TColor FromQColor(const QColor& Color) {
    return RGB(Color.red(), Color.green(), Color.blue());
}

QString ToQString(std::string_view Text) {
    QByteArrayView Bytes(Text.data(), static_cast<qsizetype>(Text.size()));
    QStringDecoder Utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString Result = Utf8.decode(Bytes);
    // Files of the old single-byte world are not UTF-8: read those as Latin-1.
    if (Utf8.hasError()) return QString::fromLatin1(Bytes);
    return Result;
}

std::string FromQString(const QString& Text) {
    return Text.toUtf8().toStdString();
}

int PointsToPixels(int Points) {
    // MulDiv(Points, 96, 72): rounds halves away from zero. Wide, because
    // sizes from files and code may be anything a 32-bit integer holds.
    const long long Wide = (std::llabs(Points) * 96 + 36) / 72;
    const int Magnitude = Wide > MaxFontPixels ? MaxFontPixels : static_cast<int>(Wide);
    return Points < 0 ? -Magnitude : Magnitude;
}

// --- pen ---------------------------------------------------------------------

void TPen::SetColor(TColor V) {
    if (V == FColor) return;
    FColor = V;
    Changed();
}

void TPen::SetWidth(int V) {
    if (V == FWidth) return;
    FWidth = V;
    Changed();
}

void TPen::SetStyle(TPenStyle V) {
    if (V == FStyle) return;
    FStyle = V;
    Changed();
}

void TPen::SetMode(TPenMode V) {
    if (V == FMode) return;
    FMode = V;
    Changed();
}

void TPen::Assign(const TPersistent* Source) {
    auto* Other = dynamic_cast<const TPen*>(Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    Assign(*Other);
}

void TPen::Assign(const TPen& Other) {
    FColor = Other.FColor;
    FWidth = Other.FWidth;
    FStyle = Other.FStyle;
    FMode = Other.FMode;
    Changed();
}

// --- brush -------------------------------------------------------------------

void TBrush::SetColor(TColor V) {
    if (V == FColor && !FPattern) return;
    FColor = V;
    FPattern.reset();
    Changed();
}

void TBrush::ChangeStyle(TBrushStyle V) {
    FStyle = V;
    FPattern.reset();
    Changed();
}

void TBrush::SetBitmap(const TBitmap* V) {
    if (!V && !FPattern) return;
    // A deep copy: the bitmap's own canvas may draw on its image later.
    if (V && !V->Empty())
        FPattern = std::make_shared<const QImage>(V->Image().copy());
    else
        FPattern.reset();
    if (V) FStyle = bsSolid;
    Changed();
}

void TBrush::Assign(const TPersistent* Source) {
    auto* Other = dynamic_cast<const TBrush*>(Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    Assign(*Other);
}

void TBrush::Assign(const TBrush& Other) {
    FColor = Other.FColor;
    FStyle = Other.FStyle;
    FPattern = Other.FPattern;
    Changed();
}

std::uint64_t TGraphicsObject::NextSerial() {
    static std::atomic<std::uint64_t> Last{0};
    return Last.fetch_add(1, std::memory_order_relaxed) + 1;
}

// --- font --------------------------------------------------------------------

void TFont::SetName(const std::string& V) {
    if (V == FName) return;
    FName = V;
    Changed();
}

void TFont::SetSize(int V) {
    if (V == FSize) return;
    FSize = V;
    Changed();
}

int TFont::Height() const {
    return -PointsToPixels(FSize);
}

void TFont::SetHeight(int V) {
    SetSize((std::abs(V) * 72 + 48) / 96);
}

void TFont::SetColor(TColor V) {
    if (V == FColor) return;
    FColor = V;
    Changed();
}

void TFont::SetStyle(TFontStyles V) {
    if (V == FStyle) return;
    FStyle = V;
    Changed();
}

void TFont::SetCharset(int V) {
    if (V == FCharset) return;
    FCharset = V;
    Changed();
}

void TFont::SetEscapement(int V) {
    if (V == FEscapement) return;
    FEscapement = V;
    Changed();
}

void TFont::SetOrientation(int V) {
    if (V == FOrientation) return;
    FOrientation = V;
    Changed();
}

void TFont::Assign(const TPersistent* Source) {
    auto* Other = dynamic_cast<const TFont*>(Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    Assign(*Other);
}

void TFont::Assign(const TFont& Other) {
    FName = Other.FName;
    FSize = Other.FSize;
    FColor = Other.FColor;
    FStyle = Other.FStyle;
    FCharset = Other.FCharset;
    FEscapement = Other.FEscapement;
    FOrientation = Other.FOrientation;
    Changed();
}

bool TFont::IsInstalled() const {
    const QString Name = QString::fromStdString(FName);
    const QStringList Families = QFontDatabase::families();
    for (const QString& Family : Families)
        if (Family.compare(Name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QFont TFont::ToQFont() const {
    QFont Font;
    Font.setFamily(QString::fromStdString(FName));
    // A pixel size keeps metrics at 96 DPI whatever the screen reports.
    Font.setPixelSize(std::max(1, std::abs(PointsToPixels(FSize))));
    Font.setBold((FStyle & fsBold) != 0);
    Font.setItalic((FStyle & fsItalic) != 0);
    Font.setUnderline((FStyle & fsUnderline) != 0);
    Font.setStrikeOut((FStyle & fsStrikeOut) != 0);
    // Pixel-exact glyphs, so that XOR text and pixel checks behave.
    Font.setStyleStrategy(QFont::NoAntialias);
    Font.setKerning(false);
    return Font;
}

} // namespace Platform

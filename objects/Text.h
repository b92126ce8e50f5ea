#pragma once
// A line of text in a box of map units, optionally rotated about the box's
// top-left corner. The font is refitted to the box at every repaint (text
// grows and shrinks with the map), or, with FreezeFontSize, the box is
// refitted to the font.

#include "../core/ChartixExport.h"
#include "../platform/Canvas.h"
#include "Symbol.h"

#include <string>
#include <vector>

namespace Mapobjects {

using TTextPoligon = std::vector<Platform::TPoint>;

/// Where a line of text stands across its box.
enum TTextJustify { tjLeft, tjCenter, tjRight };
/// The distance between lines of a text, in lines: 1, 1.5 or 2.
enum TTextSpacing { tsSingle, tsOneAndHalf, tsDouble };
/// The line that leads from a label to the place it names.
enum TLabelLine { llNone, llSimple, llArrow };

class CHARTIX_EXPORT TText : public TSymbol {
public:
    /// The largest size that fitting gives the font: the one that reaches the
    /// largest font height (Platform::MaxFontPixels). Boxes taller than that
    /// on screen keep it, however far the map is zoomed in.
    static constexpr int MaxFittedFontSize = Platform::MaxFontPixels * 72 / 96;

    TText();

    const std::string& Text() const { return FText; }
    void SetText(const std::string& V);
    double Angle() const { return FAngle; }
    void SetAngle(double V) { FAngle = V; }
    double Width() const { return FWidth; }
    void SetWidth(double V);
    double Height() const { return FHeight; }
    void SetHeight(double V);
    bool FreezeFontSize() const { return FFreezeFontSize; }
    void SetFreezeFontSize(bool V);
    int MinShowTextSize() const { return FMinShowTextSize; }
    void SetMinShowTextSize(int V);
    /// Alignment inside the box; the font is still fitted to the box.
    TTextJustify Justify() const { return FJustify; }
    void SetJustify(TTextJustify V) { FJustify = V; }
    /// Kept and written back; a text here is one line.
    TTextSpacing Spacing() const { return FSpacing; }
    void SetSpacing(TTextSpacing V) { FSpacing = V; }
    /// The label line's kind and its end point (map units); kept and written back.
    TLabelLine LabelLine() const { return FLabelLine; }
    double LabelX() const { return FLabelX; }
    double LabelY() const { return FLabelY; }
    void SetLabelLine(TLabelLine Kind, double X, double Y);

    TTextPoligon GetTextPolygon();
    Platform::TRect GetTextRect(bool Flag = false);
    void RecalcTextSize();
    void AutoSizeText();
    static void CanvasSetAngle(Platform::TCanvas* Canvas, double Angle);
    void onFontChange(Platform::TObject* Sender);

    void Draw() override;
    void DrawSelection() override;
    bool ContainsPoint(double X, double Y) override;
    /// The new font is listened to as the old one was; the old one is let go.
    std::unique_ptr<Platform::TFont> SetFont(std::unique_ptr<Platform::TFont> V) override;

private:
    void ListenToFont();

    std::string FText;
    double FAngle = 0;
    double FWidth = 0;
    double FHeight = 0;
    bool FFreezeFontSize = false;
    int FMinShowTextSize = 4;
    TTextJustify FJustify = tjLeft;
    TTextSpacing FSpacing = tsSingle;
    TLabelLine FLabelLine = llNone;
    double FLabelX = 0;
    double FLabelY = 0;
};

} // namespace Mapobjects

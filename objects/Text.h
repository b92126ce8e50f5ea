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

/// The four screen corners of a text's box: top-left, top-right, bottom-right, bottom-left.
using TTextPoligon = std::vector<Platform::TPoint>;

/// Where a line of text stands across its box: at its left edge, centred, or at its right
/// edge.
enum TTextJustify { tjLeft, tjCenter, tjRight };
/// The distance between lines of a text, in lines: 1, 1.5 or 2.
enum TTextSpacing { tsSingle, tsOneAndHalf, tsDouble };
/// The line that leads from a label to the place it names: none, a plain line, or one
/// ending in an arrow.
enum TLabelLine { llNone, llSimple, llArrow };

/// A line of text in a box of map units, optionally rotated about the box's top-left
/// corner; the font is fitted to the box at each repaint, or the box to the font.
class CHARTIX_EXPORT TText : public TSymbol {
public:
    /// The largest size that fitting gives the font: the one that reaches the
    /// largest font height (Platform::MaxFontPixels). Boxes taller than that
    /// on screen keep it, however far the map is zoomed in.
    static constexpr int MaxFittedFontSize = Platform::MaxFontPixels * 72 / 96;

    /// An empty text at (0, 0) with an empty box; it listens to its font's changes.
    TText();

    /// The line of text; setting it refits the font to the box.
    ///@{
    const std::string& Text() const { return FText; }
    void SetText(const std::string& V);
    ///@}
    /// The rotation about the box's top-left corner, in degrees counter-clockwise.
    ///@{
    double Angle() const { return FAngle; }
    void SetAngle(double V) { FAngle = V; }
    ///@}
    /// The box's size in map units, from the anchor (X, Y) at its bottom-left corner;
    /// setting either refits the font to the box.
    ///@{
    double Width() const { return FWidth; }
    void SetWidth(double V);
    double Height() const { return FHeight; }
    void SetHeight(double V);
    ///@}
    /// On, the font keeps its size and each repaint refits the box to it; switching it on
    /// repaints the map.
    ///@{
    bool FreezeFontSize() const { return FFreezeFontSize; }
    void SetFreezeFontSize(bool V);
    ///@}
    /// The smallest fitted font size (in points) at which the text is drawn; 4 by default,
    /// values below 4 are ignored. Setting it repaints the map.
    ///@{
    int MinShowTextSize() const { return FMinShowTextSize; }
    void SetMinShowTextSize(int V);
    ///@}
    /// Alignment inside the box; the font is still fitted to the box.
    ///@{
    TTextJustify Justify() const { return FJustify; }
    void SetJustify(TTextJustify V) { FJustify = V; }
    ///@}
    /// Kept and written back; a text here is one line.
    ///@{
    TTextSpacing Spacing() const { return FSpacing; }
    void SetSpacing(TTextSpacing V) { FSpacing = V; }
    ///@}
    /// The label line's kind and its end point (map units); kept and written back.
    ///@{
    TLabelLine LabelLine() const { return FLabelLine; }
    double LabelX() const { return FLabelX; }
    double LabelY() const { return FLabelY; }
    void SetLabelLine(TLabelLine Kind, double X, double Y);
    ///@}

    /// The box's four corners on the screen, rotated by Angle; empty without a map.
    TTextPoligon GetTextPolygon();
    /// The screen rectangle around the rotated box; empty without a map. Flag is unused.
    Platform::TRect GetTextRect(bool Flag = false);
    /// Fits the font size to the box as it shows on the screen now: the largest size whose
    /// text fits (at most MaxFittedFontSize); nothing without a map, a text or a box.
    void RecalcTextSize();
    /// Fits the box to the text in the current font, with a tenth of the text's width as
    /// right margin; nothing without a map or a text.
    void AutoSizeText();
    /// Turns Canvas's font to Angle degrees (whole turns dropped, not-a-number as 0).
    static void CanvasSetAngle(Platform::TCanvas* Canvas, double Angle);
    /// Called when the font changes outside fitting: refits the box to the font and
    /// repaints the map.
    void onFontChange(Platform::TObject* Sender);

    /// Fits the font (or, with FreezeFontSize, the box), then draws the text when its size
    /// reaches MinShowTextSize.
    void Draw() override;
    /// Inverts the rotated box.
    void DrawSelection() override;
    /// Whether (X, Y) falls within the screen rectangle around the rotated box.
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

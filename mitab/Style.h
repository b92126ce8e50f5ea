#pragma once
// MapInfo styles in MITAB's numbers, and their translation to and from the
// OGR style strings that GDAL's MapInfo driver reads and writes. The driver
// names its own pen, brush and symbol numbers in the "id" parameter; those
// win over anything else in the string.

#include <string>
#include <string_view>

namespace Mitab {

// Pen widths 1-7 are pixels; above 10 they are points as 10 + tenths of a
// point, as in MIF.
struct TPen {
    int Width = 1;
    int Pattern = 2;
    int Color = 0;
};

struct TBrush {
    int ForeColor = 0;
    int BackColor = 0xFFFFFF;
    int Pattern = 1;
    int Transparent = 0;
};

enum class TSymbolKind { None, Vector, Font, Custom };

struct TSymbol {
    TSymbolKind Kind = TSymbolKind::None;
    int Number = 35;
    int Size = 12; // points
    int Color = 0;
    int CustomStyle = 0; // the flags of a bitmap symbol
    double Angle = 0;    // degrees, counter-clockwise
};

struct TTextDisplay {
    double Angle = 0;
    double Height = 0;
    double Width = 0;
    int ForeColor = 0;
    int BackColor = 0xFFFFFF;
    int Justification = 0; // 0 left, 1 centre, 2 right
    int Spacing = 0;
    int LineType = 0;
    int FontStyle = 0; // 1 bold, 2 italic, 4 underline, 8 strike-out
};

struct TStyle {
    TPen Pen;
    TBrush Brush;
    TSymbol Symbol;
    bool HasLabel = false;
    std::string Text;
    TTextDisplay TextDisplay;
    std::string Font = "Arial"; // the text or symbol font, or a bitmap symbol's file
};

// The styles named in an OGR style string; what it leaves out keeps its default.
TStyle ParseStyle(std::string_view OgrStyle);

// The OGR style string that makes the driver write a feature of the given
// class with these styles; empty for classes that carry none.
std::string ComposeStyle(const TStyle& Style, int FeatureClass);

// What GDAL makes of a text box without a width: 0.6 of the line height per
// character of the longest line.
double EstimatedTextWidth(const std::string& Text, double Height);

} // namespace Mitab

#pragma once
// The form of a MIF file as it was read, kept with its layer
// (TMapLayer::FileForm) so that saving the layer writes an unchanged file
// back as it was: its line ends, its header lines, its indents and the
// spelling of its statements; and per object (TCustomMapObject::FileStyle)
// which style clauses it lacked, so that none is added to it.

#include "core/MapLayer.h"
#include "objects/DataFields.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace Mapobjects::Mif {

// The bits of TCustomMapObject::FileStyle that the reader sets.
enum : std::uint8_t {
    // Lines and areas without a Pen clause, points without a Symbol clause,
    // texts without a Font clause.
    fsNoOutline = 1,
    // Areas without a Brush clause; texts whose Font clause gave no size
    // (their box gives it).
    fsNoFill = 2,
    // Areas: the Brush clause named a back colour that the fill does not
    // draw, kept in BGColor; texts: their corners are the box as read.
    fsKept = 4,
};

// The statements whose first words are written as the file spelled them.
enum TMifHead {
    mhPoint,
    mhLine,
    mhPline,
    mhPlineMultiple,
    mhRegion,
    mhText,
    mhRect,
    mhEllipse,
    mhNone,
    mhCount
};

struct TMifColumn {
    std::string Name;
    TDataType Type = dtFloat;
    int Size = 0;
    int Precision = 0;
    bool operator==(const TMifColumn&) const = default;
};

class TMifForm : public TLayerFileForm {
public:
    enum TItemKind { ikOther, ikVersion, ikCharset, ikDelimiter, ikCoordSys, ikColumns, ikData };
    struct TItem {
        TItemKind Kind = ikOther;
        std::string Text; // its lines as read, line ends included
    };
    // The header from the first line to the first statement, item by item:
    // an item whose value the layer still has is written as it was read.
    std::vector<TItem> Header;
    std::string LineEnd = "\n";
    std::string MidLineEnd = "\n";
    char Delimiter = ';';
    int Version = 0; // 0 without a Version line
    // As read, to tell whether the layer's own have changed since.
    std::string Charset;
    std::string CoordSys;
    std::vector<TMifColumn> Columns;
    std::string ColumnIndent;
    // Before a section's point count, a style clause, and a text's lines
    // after the statement's own.
    std::string CountIndent;
    std::string ClauseIndent;
    std::string BodyIndent;
    bool TextOnStatementLine = false;
    // Decimals of every coordinate ("1.500000"), or -1 for the shortest
    // form that reads back the same.
    int Decimals = -1;
    // The statement's words and the blanks after them as first met ("PLINE
    // MULTIPLE "), empty for statements the file does not use: a two-point
    // line is written as Line, a rectangle as Rect, only where the file used
    // those.
    std::array<std::string, mhCount> Heads;
    // The Center clauses of regions (those whose KeptFlag is set): few
    // regions have one, so they live here rather than in every region.
    std::unordered_map<const TCustomMapObject*, TMapPoint> Centres;
};

} // namespace Mapobjects::Mif

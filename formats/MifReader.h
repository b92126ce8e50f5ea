#pragma once
// Reading a MIF/MID pair held in memory into a layer.
//
// Statements are known by their first word (Point, Line, Pline, Region, Arc,
// Text, Rect, RoundRect, Ellipse, Multipoint, Collection, None), each with
// its body, its style clauses and its ".mid" row. Reading goes on past
// damage: a statement that cannot be read is recorded as a problem and
// reading resumes at the next statement, with the rows kept in step; a body
// cut short by the next statement gives the object with what it has.

#include "core/ReadProblems.h"

#include <string>
#include <string_view>

namespace Mapobjects {

class TMapLayer;

namespace Mif {

struct TMifInput {
    std::string_view Mif;
    std::string MifName;
    std::string_view Mid; // ignored without MidName
    std::string MidName;  // empty when there is no ".mid" file
};

// Appends the objects of In to Layer, which must be on a map (the map shows
// the progress); the header's columns replace the layer's fields, and the
// file's form becomes the layer's FileForm (see MifForm.h). Problems are
// added to Problems, each with its file and line, never raised.
void ReadMifPair(TMapLayer& Layer, const TMifInput& In, TReadProblems& Problems);

// Why Mif cannot be a MIF file at all: empty, binary, or a first line that
// is no header statement. Line is where that shows (0 for the whole file);
// empty when the text may be read.
std::string NotMifReason(std::string_view Mif, int& Line);

} // namespace Mif
} // namespace Mapobjects

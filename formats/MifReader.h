#pragma once
// Reading a MIF/MID pair held in memory into a layer.
//
// Statements are known by their first word (Point, Line, Pline, Region, Arc,
// Text, Rect, RoundRect, Ellipse, Multipoint, Collection, None), each with
// its body, its style clauses and its ".mid" row. Reading goes on past
// damage: a statement that cannot be read is recorded as a problem and
// reading resumes at the next statement, with the rows kept in step; a body
// cut short by the next statement gives the object with what it has.

#include "formats/ReadProblems.h"

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
// the progress); the header's columns replace the layer's fields. Problems
// are added to Problems; only failures outside the file's content (memory)
// are raised.
void ReadMifPair(TMapLayer& Layer, const TMifInput& In, TReadProblems& Problems);

} // namespace Mif
} // namespace Mapobjects

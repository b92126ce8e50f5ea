#pragma once
// MITAB field type codes (1 char ... 9 date-time, 10 64-bit integer) and
// OGR fields.

#include <ogr_api.h>

#include <string>
#include <vector>

namespace Mitab {

// The code of an OGR field as the MapInfo driver reports it. The driver
// reads SmallInt as Integer and Logical as Char(1), so these two are known
// only from the file's own header.
int TypeFromOgr(OGRFieldDefnH Field);

struct TDeclaredField {
    std::string Name;
    int Type = 0; // 0 when the header names a type that has no code
};

// The columns a .tab or .mif header declares, in order; empty when the file
// holds no such list (a view, a seamless table, no file).
std::vector<TDeclaredField> DeclaredFields(const std::string& FileName);

// A new OGR field for a MITAB type (the caller destroys it); null for a code
// out of range. Logical becomes Char(1) holding T or F, which is how the
// driver reads a Logical column back.
OGRFieldDefnH NewField(const char* Name, int Type, int Width, int Precision);

// Stores a value given as text into field Index of an OGR feature. Blank
// text leaves a non-character field null; dates and times are also taken
// in MapInfo's compact form (YYYYMMDD, HHMMSS[mmm], both run together).
// False, with a CPLError naming the value and the column, for text that is
// no value of the type (OGR would store a 0 or nothing instead).
bool SetOgrField(OGRFeatureH Feature, int Index, int Type, const std::string& Value);

} // namespace Mitab

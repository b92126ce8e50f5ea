#pragma once
// The kinds of object statement in a MIF file. GDAL's driver hands an arc
// as a line string and a rectangle, rounded rectangle or ellipse as a
// polygon, and its style strings do not tell them apart; the statements
// of the file itself do.

#include <string>
#include <vector>

namespace Mitab {

// The MITAB feature class of each object statement after "Data", in order
// (Arc 6, Rect and RoundRect 8, Ellipse 9, Multipoint 10, Collection 11,
// None 0 ...); the parts of a collection are not statements of their own.
std::vector<int> MifStatementClasses(const std::string& FileName);

// Whether a feature OGR gave as OgrClass can stand for a statement of
// StatementClass: false shows the statements out of step with the features.
bool SameShape(int OgrClass, int StatementClass);

// The class of a feature that OGR gave as OgrClass when its statement is
// of StatementClass: the statement's where it is a kind of the same shape,
// otherwise OgrClass.
int RefinedClass(int OgrClass, int StatementClass);

} // namespace Mitab

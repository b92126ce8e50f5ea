#pragma once
// Hit testing by an object's drawn geometry rather than its bounding box:
// what a click should pick in a desktop GIS. A region is hit inside its
// filled area (even-odd over all rings, as it is filled) or on its outline,
// a polyline near one of its segments; the other kinds keep their own tests,
// which already follow their shapes (circles, symbols, texts).

namespace Mapobjects {

class TCustomMapObject;

// Does the object's drawn geometry take in the map point (X, Y)? Tolerance
// is the distance, in map units, at which an outline still counts as hit.
bool HitsPrecisely(TCustomMapObject& Object, double X, double Y, double Tolerance);

} // namespace Mapobjects

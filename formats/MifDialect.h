#pragma once
// The two forms in which the MapInfo providers write a MIF/MID pair.

namespace Mapobjects {

/// The form in which a MapInfo provider saves a layer.
enum TMifDialect {
    /// What other programs read back unchanged (the default): strings in
    /// double quotes, the layer's own charset and coordinate system, every
    /// part of a polyline, coordinates and numbers without rounding, dates
    /// with their times.
    mdInterchange,
    /// This provider's original output, byte for byte: strings in
    /// apostrophes, Charset "WindowsCyrillic", "CoordSys Earth Projection 1,
    /// 0", six decimals, the first part of a polyline only, every date
    /// column declared as Date.
    mdClassic
};

} // namespace Mapobjects

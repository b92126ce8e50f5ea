#pragma once
// The built-in MapInfo Interchange provider: reads and writes a layer as a
// ".mif" geometry file with its ".mid" attribute file, without any outside
// library.
//
// Reading follows the MIF statements by their first word (Point, Line, Pline,
// Region, Arc, Text, Rect, RoundRect, Ellipse, Multipoint, Collection, None)
// and keeps the ".mid" rows in step with them: every statement takes one row,
// also when it makes no object. Errors are shown as one modal message and the
// objects read until then stay in the layer.
//
// Writing goes to temporary files beside the targets, which replace the old
// pair only when both are complete.

#include "formats/CustomFormatProvider.h"

#include <string>
#include <string_view>

namespace Mapobjects {

// The kinds of style clause that may follow an object's body.
enum TObjectAttribute { oaNone, oaPen, oaBrush, oaCenter, oaFont, oaSymbol };

class TSimpleMIFFormatProvider : public TCustomFormatProvider {
public:
    explicit TSimpleMIFFormatProvider(Platform::TComponent* Owner);

    std::string GetDescription() const override;
    std::string GetFilter() const override;
    TGUID GetGUID() const override;
    // False only when the file does not exist or the layer has no map; a
    // reading error is reported in a message box and still gives true.
    bool Load(TMapLayer* Layer, const std::string& FileName) override;
    // Platform::EFCreateError or EInOutError, naming the file, when the pair
    // cannot be written; the previous files are then left as they were.
    bool Save(TMapLayer* Layer, const std::string& FileName) override;
    bool CanProcessFile(const std::string& FileName) const override;

    // Which clause a line holds: the line, upper-cased, is searched for PEN,
    // BRUSH, CENTER, FONT and SYMBOL in this order and the last one found
    // wins (a symbol font named "Open..." is still a symbol clause).
    static TObjectAttribute IsObjAttrString(std::string_view Line);
};

} // namespace Mapobjects

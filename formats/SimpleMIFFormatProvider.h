#pragma once
// The built-in MapInfo Interchange provider: reads and writes a layer as a
// ".mif" geometry file with its ".mid" attribute file, without any outside
// library. The reading is in MifReader.h, the writing in MifWriter.h.

#include "../core/ChartixExport.h"
#include "../core/CustomFormatProvider.h"
#include "MifDialect.h"

#include <string>
#include <string_view>

namespace Mapobjects {

/// The kinds of style clause that may follow an object's body: PEN, BRUSH, CENTER,
/// FONT and SYMBOL, or oaNone for a line that is none of them.
enum TObjectAttribute { oaNone, oaPen, oaBrush, oaCenter, oaFont, oaSymbol };

/// Reads and writes MIF/MID pairs with the library's own reader and writer; needs no
/// outside module.
class CHARTIX_EXPORT TSimpleMIFFormatProvider : public TCustomFormatProvider {
public:
    /// Registers the provider, as every provider does.
    explicit TSimpleMIFFormatProvider(Platform::TComponent* Owner);

    /// "MapInfo Interchange Format (MIF) Provider (simple edition)".
    std::string GetDescription() const override;
    /// One filter entry for ".mif" files.
    std::string GetFilter() const override;
    /// {830DF284-6671-4CD9-BE3C-CAF9B6DB2E2C}.
    TGUID GetGUID() const override;
    /// False when the file does not exist, the layer has no map, or the file
    /// is no MIF file at all (empty, binary, no header): Problems() then says
    /// why. What the reader met and read past is in Problems() too (a missing
    /// .mid among it), and the result is true. When there is anything, one
    /// message box names the first problem and how many there were.
    bool Load(TMapLayer* Layer, const std::string& FileName) override;
    /// Platform::EFCreateError or EInOutError, naming the file, when the pair
    /// cannot be written; the previous files are then left as they were.
    bool Save(TMapLayer* Layer, const std::string& FileName) override;
    /// True for the extension ".mif", in any case.
    bool CanProcessFile(const std::string& FileName) const override;

    /// The form Save writes; mdInterchange unless set.
    ///@{
    TMifDialect Dialect() const { return FDialect; }
    void SetDialect(TMifDialect V) { FDialect = V; }
    ///@}

    /// Which clause a line holds: the line, upper-cased, is searched for PEN,
    /// BRUSH, CENTER, FONT and SYMBOL in this order and the last one found
    /// wins (a symbol font named "Open..." is still a symbol clause).
    static TObjectAttribute IsObjAttrString(std::string_view Line);

private:
    TMifDialect FDialect = mdInterchange;
};

} // namespace Mapobjects

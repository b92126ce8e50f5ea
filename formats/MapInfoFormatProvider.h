#pragma once
// The MapInfo provider: loads and saves ".tab" and ".mif" tables through the
// MITAB library bound at run time (MitabBinding.h). MITAB features become
// map objects with their attribute rows and MapInfo styles, and back. A
// workspace style in force on the layer replaces the styles of the table.

#include "../core/ChartixExport.h"
#include "../core/CustomFormatProvider.h"
#include "MifDialect.h"

#include <string>

namespace Mapobjects {

/// A MITAB feature handle, as the module hands it out (MitabBinding.h).
using mitab_feature = void*;

class TCustomMapObject;

/// Loads and saves MapInfo tables (".tab") and interchange files (".mif") through the
/// MITAB module, which is looked for at run time.
class CHARTIX_EXPORT TMapInfoFormatProvider : public TCustomFormatProvider {
public:
    /// Loads MITAB (every provider made loads it again).
    explicit TMapInfoFormatProvider(Platform::TComponent* Owner);

    /// "MapInfo Format Provider (mif, tab)".
    std::string GetDescription() const override;
    /// One filter entry for both ".mif" and ".tab" files.
    std::string GetFilter() const override;
    /// {4AC2894A-85A3-4613-80D2-27DDCDFEA816}.
    TGUID GetGUID() const override;
    /// Platform::Exception with MissingLibraryMessage() when MITAB is not
    /// usable. False when MITAB cannot open the file; what went wrong, and
    /// a table that ends before its last feature, are in Problems().
    bool Load(TMapLayer* Layer, const std::string& FileName) override;
    /// False without MITAB or when the table cannot be created. Circles are
    /// written as the regions of their outlines, sprites are not written. An
    /// object that cannot be written is named in Problems() by its index,
    /// and the others are written.
    bool Save(TMapLayer* Layer, const std::string& FileName) override;
    /// True for the extensions ".mif" and ".tab", in any case.
    bool CanProcessFile(const std::string& FileName) const override;
    /// False when the MITAB module was not found, or is not of this level.
    bool Available() const override;
    /// MissingLibraryMessage() while the module is missing.
    std::string UnavailableReason() const override;

    /// mdInterchange (the default) saves a table in the layer's coordinate
    /// system and charset, and one without a system as GDAL does (NonEarth
    /// in metres, bounds around the objects); mdClassic always in "CoordSys
    /// Earth Projection 1, 0" with the text as it is.
    ///@{
    TMifDialect Dialect() const { return FDialect; }
    void SetDialect(TMifDialect V) { FDialect = V; }
    ///@}

    /// Where to put the library: the program's folder and the system's.
    static std::string MissingLibraryMessage();

    /// Adds the feature's parts and vertices to Object; false when it has none.
    bool ReadGeometry(mitab_feature Feature, TCustomMapObject* Object) const;
    /// Sets the object's values from the feature's; false without a feature.
    bool ReadData(mitab_feature Feature, TCustomMapObject* Object) const;
    /// The object's values (and a text's text) into the feature.
    bool WriteData(mitab_feature Feature, const TCustomMapObject* Object) const;
    /// The object's parts into the feature; false when it has none.
    bool WriteGeometry(mitab_feature Feature, const TCustomMapObject* Object) const;
    /// Pen, brush, and the font, symbol or text display of the object.
    void WriteStyle(mitab_feature Feature, TCustomMapObject* Object) const;

private:
    // Text between the table's code page and the library's UTF-8, while a
    // Load or Save of a table in a code page runs.
    std::string FromTable(const char* Text) const;
    std::string ToTable(const std::string& Text) const;

    TMifDialect FDialect = mdInterchange;
    const char* FCodePage = nullptr; // set only during Load and Save
};

} // namespace Mapobjects

#pragma once
// A MapInfo table opened or created through GDAL's "MapInfo File" driver:
// its first layer, the MITAB types of its columns, and a read cursor that
// walks feature ids in order.

#include "Feature.h"

#include <gdal.h>
#include <ogr_api.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Mitab {

class TDataset {
public:
    static constexpr std::uint32_t Tag = 0x4D544244;
    std::uint32_t Magic = Tag;
    std::string Returned; // the last string handed out

    static std::unique_ptr<TDataset> Open(const char* FileName);
    // Kind is "tab" or "mif", and the file name ends in it; CoordSys is a
    // MIF CoordSys clause; bounds all 0 take the clause's own Bounds, or
    // leave the driver's defaults. Charset is MapInfo's name of the
    // encoding the table's text is written in (null or "": as it is).
    static std::unique_ptr<TDataset> Create(const char* FileName, const char* Kind,
                                            const char* CoordSys, double North, double South,
                                            double East, double West,
                                            const char* Charset = nullptr);
    ~TDataset();
    TDataset(const TDataset&) = delete;
    TDataset& operator=(const TDataset&) = delete;

    int FieldCount() const;
    // -1 for an index out of range.
    int FieldType(int Index) const;
    int FieldWidth(int Index) const;
    int FieldPrecision(int Index) const;
    const char* FieldName(int Index) const; // null out of range
    int AddField(const char* Name, int Type, int Width, int Precision);

    int FeatureCount();
    // The id after Last (the first for a negative Last); -1 after the last.
    int NextFeatureId(int Last);
    std::unique_ptr<TFeature> Read(int Id);
    std::unique_ptr<TFeature> NewFeature(int FeatureClass) const;
    bool Write(TFeature& Feature);
    std::string CoordSys() const;
    // The clause with the table's Bounds where they are not the ones the
    // driver would give the system anyway (always for a NonEarth one).
    std::string ExtendedCoordSys() const;
    // The charset its header declares ("WindowsLatin1"), or the one it was
    // made with; empty without one. Text handed in and out is in it.
    const std::string& Charset() const { return TableCharset; }
    // A name or value as OGR gives it, in the table's charset.
    std::string TableText(const char* OgrText) const;

private:
    TDataset(GDALDatasetH Ds, bool Writable);
    OGRFieldDefnH Field(int Index) const;
    int Fetch(); // the next feature of OGR's cursor into Pending; its id or -1
    // A CPL warning when the driver wrote Feature as several features.
    static void WarnOfSplit(const TFeature& Feature);
    void TakeCharset(const std::string& Charset);
    static void Recode(TFeature& F, const std::string& From, const std::string& To);

    GDALDatasetH Ds = nullptr;
    OGRLayerH Layer = nullptr;
    bool Writable = false;
    // The name asked for, when the driver writes the table under its
    // extension in lower case: the file is renamed on closing.
    std::string AskedName;
    std::vector<int> Types;
    // The class of each object statement of a .mif, by feature id - 1;
    // empty for a .tab or once they proved out of step with OGR's features.
    std::vector<int> Statements;
    std::string MifName;     // a .mif whose statements are yet to be read
    int StatementCount = -1; // a .mif's object statements, once counted
    std::string FileName;
    std::string TableCharset;
    // GDAL's name of it, when the driver recodes the table's text to UTF-8
    // and back: features are recoded so that their text stays the table's.
    std::string Encoding;
    // OGR's sequential cursor stands just after Pending, whose id is PendingId.
    OGRFeatureH Pending = nullptr;
    long long PendingId = -1;
    bool CursorKnown = false;
};

} // namespace Mitab

#pragma once
// A map with both MapInfo providers, GDAL's tools to make tables (ogr2ogr)
// and to read back what the provider writes (ogrinfo), and a layer written
// out as text, to compare with another layer or with a file of tests/data.

#include "core/MapObjects.h"
#include "formats/MapInfoFormatProvider.h"
#include "formats/SimpleMIFFormatProvider.h"
#include "objects/Multi.h"
#include "objects/Text.h"
#include "support/GdalTools.h"
#include "support/MapFixture.h"
#include "support/TestUtils.h"
#include "support/Wkt.h"

#include <cmath>
#include <string>
#include <typeinfo>

namespace Testing {

// A map with the simple MIF provider registered first and the MapInfo one
// after it, as the programs have them, and a scratch folder.
struct MapInfoFixture : MapFixture {
    Mapobjects::TSimpleMIFFormatProvider Mif{nullptr};
    Mapobjects::TMapInfoFormatProvider Tab{nullptr};
    TTempDir Dir;
};

inline std::string DataFile(const std::string& Name) {
    return std::string(CHARTIX_SOURCE_DIR) + "/tests/data/" + Name;
}

// GDAL turns points there and back: a hair off is the same point.
inline double Near(double V) {
    return std::round(V * 1e9) / 1e9 + 0.0;
}

// The system, charset and columns, then a line per object: its class, bounds and row, and in
// Full its points, pen, brush, symbol and text (colours as TColor values).
inline std::string Dump(const Mapobjects::TMapLayer& L, bool Full = true) {
    using namespace Mapobjects;
    using Platform::Format;
    std::string S = L.CoordSys() + " | " + L.Charset() + "\n";
    for (int I = 0; I < L.Fields().Count(); ++I) {
        const TDataField& F = *L.Fields().GetFields(I);
        S += Format("%s:%d(%d.%d) ", F.Name(), int(F.DataType()), F.Size(), F.Precision());
    }
    for (int I = 0; I < L.ObjectCount(); ++I) {
        TCustomMapObject* O = L.Objects(I);
        std::string Class = typeid(*O).name();
        Class = Class.substr(Class.find_last_of("0123456789") + 1);
        const std::string Points = PointsOf(O);
        const TBounds B = O->GetBounds();
        S += "\n" + Class.substr(0, Class.size() - 1);
        if (!Points.empty())
            S += Format(" %g %g %g %g", Near(B.MinX), Near(B.MinY), Near(B.MaxX), Near(B.MaxY));
        if (Full && !Points.empty()) S += " [" + Points + "]";
        if (auto* C = dynamic_cast<const TCollectionObject*>(O))
            S += Format(" %d/%d/%d", C->RingCount(), C->SectionCount(), C->PointCount());
        for (int K = 0; K < O->Row().Count(); ++K)
            S += (O->Row().Value(K).IsNull() ? "|~" : "|") + O->Row().Text(K);
        if (!Full || Points.empty()) continue;
        const Platform::TFont* F = O->ReadFont();
        if (auto* T = dynamic_cast<TText*>(O))
            S += Format(" text '%s' at %g %g h %g a %g j %d font %s %u %06x", T->Text(),
                        Near(T->X()), Near(T->Y()), Near(T->Height()), Near(T->Angle()),
                        int(T->Justify()), F->Name(), unsigned(F->Style()), unsigned(F->Color()));
        else if (auto* Y = dynamic_cast<TSymbol*>(O))
            S += Format(" symbol %d font %s %d %06x", Y->Shape(), F->Name(), F->Size(),
                        unsigned(F->Color()));
        else if (auto* M = dynamic_cast<const TMultiSymbolObject*>(O))
            S += Format(" symbol %d %d %06x", M->Shape(), F->Size(), unsigned(F->Color()));
        if (!dynamic_cast<const TSymbol*>(O) && O->ReadPen() && O->ReadBrush())
            S += Format(" pen %06x %d %d brush %06x %d bg %06x %d", unsigned(O->ReadPen()->Color()),
                        O->ReadPen()->Width(), int(O->ReadPen()->Style()),
                        unsigned(O->ReadBrush()->Color()), int(O->ReadBrush()->Style()),
                        unsigned(O->BGColor()), int(O->UseBGColor()));
    }
    return S + "\n";
}

} // namespace Testing

#pragma once
// The MIF provider with a layer on a map and a scratch folder, and ways to
// write objects down as text so that whole objects compare at once.

#include "formats/SimpleMIFFormatProvider.h"
#include "objects/Shapes.h"
#include "objects/Symbol.h"
#include "objects/Text.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"
#include "support/MapFixture.h"

#include <typeinfo>
#include <utility>

namespace Testing {

// The values of an object's fields as texts: "A|B|...".
inline std::string RowOf(const Mapobjects::TCustomMapObject* O) {
    std::string S;
    for (int F = 0; F < O->Fields().Count(); ++F)
        S += (F ? "|" : "") + O->Fields().GetFields(F)->AsString();
    return S;
}

// Kind, points, styles and the properties of the kind; for texts not the
// box, which follows from the font.
inline std::string Describe(Mapobjects::TCustomMapObject* O) {
    using namespace Mapobjects;
    std::string S =
        std::string(typeid(*O).name()) + " " + PointsOf(O) +
        Platform::Format(" pen %d %d %06X brush %d %06X", O->Pen()->Width(), int(O->Pen()->Style()),
                         O->Pen()->Color(), int(O->Brush()->Style()), O->Brush()->Color());
    if (O->UseBGColor()) S += Platform::Format(" bg %06X", O->BGColor());
    const Platform::TFont* Font = nullptr;
    if (auto* T = dynamic_cast<TText*>(O)) {
        S +=
            Platform::Format(" text '%s' at %g %g angle %g", T->Text(), T->X(), T->Y(), T->Angle());
        Font = T->Font();
    } else if (auto* Y = dynamic_cast<TSymbol*>(O)) {
        S += Platform::Format(" symbol %d at %g %g size %d", Y->Shape(), Y->X(), Y->Y(),
                              Y->Font()->Size());
        Font = Y->Font();
    } else if (auto* C = dynamic_cast<TCircle*>(O)) {
        S += Platform::Format(" circle %g %g %g", C->X(), C->Y(), C->Radius());
    }
    if (Font)
        S += Platform::Format(" font '%s' %u %06X", Font->Name(), Font->Style(), Font->Color());
    return S;
}

struct MifFixture : MapFixture {
    Mapobjects::TSimpleMIFFormatProvider Provider{nullptr};
    Mapobjects::TMapLayer* Layer = nullptr;
    TTempDir Dir;

    void SetUp() override {
        MapFixture::SetUp();
        Layer = Map.Layers().Add("", "mif");
        Platform::RecordedMessages().clear();
    }
    std::string Path(const std::string& Name) const { return Dir.Path(Name); }
    // The texts of the messages shown, each ended by a line end.
    static std::string Messages() {
        std::string S;
        for (const Platform::TMessageRecord& M : Platform::RecordedMessages())
            S += M.Text + "\n";
        return S;
    }
    // Object I of the layer, which must be a T.
    template <class T> T* Obj(int I, Mapobjects::TMapLayer* From = nullptr) {
        T* Result = dynamic_cast<T*>((From ? From : Layer)->Objects(I));
        EXPECT_NE(Result, nullptr) << "object " << I;
        return Result;
    }
};

} // namespace Testing

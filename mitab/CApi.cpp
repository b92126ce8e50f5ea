// The C entry points. Each checks its handles, never lets an exception out,
// and answers null, 0, -1 or an empty string where it cannot do its work.

#include "Dataset.h"
#include "Feature.h"
#include "mitab.h"

#include <cpl_error.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string>

using Mitab::TDataset;
using Mitab::TFeature;

namespace {

template <class R, class F> R Guarded(R Fallback, F&& Body) noexcept {
    try {
        return Body();
    } catch (...) {
        return Fallback;
    }
}

template <class F> void Guarded(F&& Body) noexcept {
    try {
        Body();
    } catch (...) {
    }
}

// Both handle kinds begin with a tag, so that a dataset passed for a feature
// (or the other way round) is refused rather than used.
std::uint32_t TagOf(const void* P) {
    std::uint32_t Tag;
    std::memcpy(&Tag, P, sizeof Tag);
    return Tag;
}

TDataset* DatasetOf(mitab_handle H) {
    return H && TagOf(H) == TDataset::Tag ? static_cast<TDataset*>(H) : nullptr;
}

TFeature* FeatureOf(mitab_feature F) {
    return F && TagOf(F) == TFeature::Tag ? static_cast<TFeature*>(F) : nullptr;
}

// Entry points that touch files start with no error, so that the last error
// belongs to the last such call, and keep GDAL's messages off the program's
// standard error: callers ask for them.
struct TErrorScope {
    TErrorScope() {
        CPLPushErrorHandler(CPLQuietErrorHandler);
        CPLErrorReset();
    }
    ~TErrorScope() { CPLPopErrorHandler(); }
    TErrorScope(const TErrorScope&) = delete;
    TErrorScope& operator=(const TErrorScope&) = delete;
};

const char* Handed(std::string& Buffer, std::string Value) {
    Buffer = std::move(Value);
    return Buffer.c_str();
}

// Reads a feature's style through Get, or Fallback without a feature.
template <class R, class Get> R StyleOf(mitab_feature H, R Fallback, Get&& Value) noexcept {
    TFeature* F = FeatureOf(H);
    return F ? Value(F->Style) : Fallback;
}

template <class Set> void SetStyle(mitab_feature H, Set&& Change) noexcept {
    Guarded([&] {
        if (TFeature* F = FeatureOf(H)) Change(*F);
    });
}

const std::vector<Mitab::TVertex>* PartOf(mitab_feature H, int Part) {
    TFeature* F = FeatureOf(H);
    if (!F || Part < 0 || Part >= static_cast<int>(F->Parts.size())) return nullptr;
    return &F->Parts[Part];
}

double Coordinate(mitab_feature H, int Part, int Vertex, double Mitab::TVertex::*Axis) {
    const auto* P = PartOf(H, Part);
    if (!P || Vertex < 0 || Vertex >= static_cast<int>(P->size())) return 0;
    return (*P)[Vertex].*Axis;
}

const std::optional<std::string>* ValueOf(mitab_feature H, int Field) {
    TFeature* F = FeatureOf(H);
    if (!F || Field < 0 || Field >= static_cast<int>(F->Values.size())) return nullptr;
    return &F->Values[Field];
}

// A member handed to a collection: copied, or taken and freed. A feature
// that is one of the collection's own members (a *_ref) is never freed here.
int SetComponent(mitab_feature Collection, mitab_feature Part, int MakeCopy, int Class) noexcept {
    return Guarded(0, [&] {
        TFeature* F = FeatureOf(Collection);
        TFeature* P = FeatureOf(Part);
        if (!F || !P || F == P || P->Class != Class) return 0;
        const bool Own = std::any_of(std::begin(F->Components), std::end(F->Components),
                                     [P](const auto& C) { return C.get() == P; });
        if (Own) {
            // Copied out first: setting the member frees it.
            const TFeature Copy = [&] {
                TFeature C;
                C.Class = P->Class;
                C.Parts = P->Parts;
                C.Style = P->Style;
                return C;
            }();
            return Mitab::SetCollectionComponent(*F, Copy) ? 1 : 0;
        }
        const int Done = Mitab::SetCollectionComponent(*F, *P) ? 1 : 0;
        if (Done && !MakeCopy) delete P;
        return Done;
    });
}

} // namespace

extern "C" {

int mitab_c_getlibversion(void) {
    return 1007000;
}

int mitab_c_getlasterrorno(void) {
    return CPLGetLastErrorNo();
}

const char* mitab_c_getlasterrormsg(void) {
    return CPLGetLastErrorMsg();
}

mitab_handle mitab_c_open(const char* filename) {
    TErrorScope Errors;
    return Guarded<mitab_handle>(nullptr, [&] { return TDataset::Open(filename).release(); });
}

void mitab_c_close(mitab_handle handle) {
    TErrorScope Errors;
    delete DatasetOf(handle);
}

mitab_handle mitab_c_create(const char* filename, const char* mif_or_tab,
                            const char* mif_projection, double north, double south, double east,
                            double west) {
    TErrorScope Errors;
    return Guarded<mitab_handle>(nullptr, [&] {
        return TDataset::Create(filename, mif_or_tab, mif_projection, north, south, east, west)
            .release();
    });
}

const char* mitab_c_get_mif_coordsys(mitab_handle handle) {
    return Guarded("", [&] {
        TDataset* D = DatasetOf(handle);
        return D ? Handed(D->Returned, D->CoordSys()) : "";
    });
}

const char* mitab_c_get_extended_mif_coordsys(mitab_handle handle) {
    TErrorScope Errors;
    return Guarded("", [&] {
        TDataset* D = DatasetOf(handle);
        return D ? Handed(D->Returned, D->ExtendedCoordSys()) : "";
    });
}

mitab_handle mitab_c_create_with_charset(const char* filename, const char* mif_or_tab,
                                         const char* mif_projection, const char* charset,
                                         double north, double south, double east, double west) {
    TErrorScope Errors;
    return Guarded<mitab_handle>(nullptr, [&] {
        return TDataset::Create(filename, mif_or_tab, mif_projection, north, south, east, west,
                                charset)
            .release();
    });
}

const char* mitab_c_get_charset(mitab_handle handle) {
    return Guarded("", [&] {
        TDataset* D = DatasetOf(handle);
        return D ? Handed(D->Returned, D->Charset()) : "";
    });
}

int mitab_c_get_feature_count(mitab_handle handle) {
    TErrorScope Errors;
    TDataset* D = DatasetOf(handle);
    return D ? D->FeatureCount() : -1;
}

int mitab_c_add_field(mitab_handle handle, const char* field_name, int field_type, int width,
                      int precision, int indexed, int unique) {
    TErrorScope Errors;
    // MapInfo's own indexes cannot be asked for through OGR; the flags go.
    return Guarded(-1, [&] {
        TDataset* D = DatasetOf(handle);
        return D ? D->AddField(field_name, field_type, width, precision) : -1;
    });
}

int mitab_c_get_field_count(mitab_handle handle) {
    TDataset* D = DatasetOf(handle);
    return D ? D->FieldCount() : -1;
}

int mitab_c_get_field_type(mitab_handle handle, int field) {
    TDataset* D = DatasetOf(handle);
    return D ? D->FieldType(field) : -1;
}

const char* mitab_c_get_field_name(mitab_handle handle, int field) {
    return Guarded("", [&] {
        TDataset* D = DatasetOf(handle);
        const char* Name = D ? D->FieldName(field) : nullptr;
        return Name ? Handed(D->Returned, D->TableText(Name)) : "";
    });
}

int mitab_c_get_field_width(mitab_handle handle, int field) {
    TDataset* D = DatasetOf(handle);
    return D ? D->FieldWidth(field) : -1;
}

int mitab_c_get_field_precision(mitab_handle handle, int field) {
    TDataset* D = DatasetOf(handle);
    return D ? D->FieldPrecision(field) : -1;
}

int mitab_c_next_feature_id(mitab_handle handle, int last_feature_id) {
    TErrorScope Errors;
    return Guarded(-1, [&] {
        TDataset* D = DatasetOf(handle);
        return D ? D->NextFeatureId(last_feature_id) : -1;
    });
}

mitab_feature mitab_c_read_feature(mitab_handle handle, int feature_id) {
    TErrorScope Errors;
    return Guarded<mitab_feature>(nullptr, [&]() -> mitab_feature {
        TDataset* D = DatasetOf(handle);
        return D ? D->Read(feature_id).release() : nullptr;
    });
}

mitab_feature mitab_c_create_feature(mitab_handle handle, int feature_type) {
    return Guarded<mitab_feature>(nullptr, [&]() -> mitab_feature {
        TDataset* D = DatasetOf(handle);
        return D ? D->NewFeature(feature_type).release() : nullptr;
    });
}

int mitab_c_write_feature(mitab_handle handle, mitab_feature feature) {
    TErrorScope Errors;
    return Guarded(0, [&] {
        TDataset* D = DatasetOf(handle);
        TFeature* F = FeatureOf(feature);
        return D && F && D->Write(*F) ? 1 : 0;
    });
}

void mitab_c_destroy_feature(mitab_feature feature) {
    delete FeatureOf(feature);
}

int mitab_c_get_type(mitab_feature feature) {
    TFeature* F = FeatureOf(feature);
    return F ? F->Class : -1;
}

int mitab_c_get_parts(mitab_feature feature) {
    TFeature* F = FeatureOf(feature);
    return F ? static_cast<int>(F->Parts.size()) : 0;
}

int mitab_c_get_vertex_count(mitab_feature feature, int part) {
    const auto* P = PartOf(feature, part);
    return P ? static_cast<int>(P->size()) : 0;
}

double mitab_c_get_vertex_x(mitab_feature feature, int part, int vertex) {
    return Coordinate(feature, part, vertex, &Mitab::TVertex::X);
}

double mitab_c_get_vertex_y(mitab_feature feature, int part, int vertex) {
    return Coordinate(feature, part, vertex, &Mitab::TVertex::Y);
}

void mitab_c_set_points(mitab_feature feature, int part, int vertex_count, double* x, double* y) {
    Guarded([&] {
        TFeature* F = FeatureOf(feature);
        if (!F || part < 0 || vertex_count <= 0 || !x || !y) return;
        // A part past the last one is added after it.
        if (part >= static_cast<int>(F->Parts.size())) {
            part = static_cast<int>(F->Parts.size());
            F->Parts.emplace_back();
        }
        auto& P = F->Parts[part];
        P.clear();
        P.reserve(vertex_count);
        for (int I = 0; I < vertex_count; ++I)
            P.push_back({x[I], y[I]});
    });
}

const char* mitab_c_get_field_as_string(mitab_feature feature, int field) {
    return Guarded("", [&] {
        const auto* V = ValueOf(feature, field);
        return V && *V ? Handed(FeatureOf(feature)->Returned, **V) : "";
    });
}

double mitab_c_get_field_as_double(mitab_feature feature, int field) {
    const auto* V = ValueOf(feature, field);
    double D = 0;
    if (V && *V) {
        const std::string& S = **V;
        const char* B = S.data();
        while (B != S.data() + S.size() && *B == ' ')
            ++B;
        if (B != S.data() + S.size() && *B == '+') ++B;
        if (std::from_chars(B, S.data() + S.size(), D).ec != std::errc()) D = 0;
    }
    return D;
}

void mitab_c_set_field(mitab_feature feature, int field, const char* value) {
    Guarded([&] {
        TFeature* F = FeatureOf(feature);
        if (!F || field < 0 || field >= static_cast<int>(F->Values.size())) return;
        if (value)
            F->Values[field] = value;
        else
            F->Values[field].reset();
    });
}

void mitab_c_set_pen(mitab_feature feature, int width, int pattern, int color) {
    SetStyle(feature, [&](TFeature& F) { F.Style.Pen = {width, pattern, color}; });
}

int mitab_c_get_pen_color(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.Pen.Color; });
}

int mitab_c_get_pen_width(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.Pen.Width; });
}

int mitab_c_get_pen_pattern(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.Pen.Pattern; });
}

void mitab_c_set_brush(mitab_feature feature, int fg_color, int bg_color, int pattern,
                       int transparent) {
    SetStyle(feature, [&](TFeature& F) {
        F.Style.Brush = {fg_color, bg_color, pattern, transparent ? 1 : 0};
    });
}

int mitab_c_get_brush_fgcolor(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.Brush.ForeColor; });
}

int mitab_c_get_brush_bgcolor(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.Brush.BackColor; });
}

int mitab_c_get_brush_pattern(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.Brush.Pattern; });
}

int mitab_c_get_brush_transparent(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.Brush.Transparent; });
}

void mitab_c_set_font(mitab_feature feature, const char* font_name) {
    SetStyle(feature, [&](TFeature& F) { F.Style.Font = font_name ? font_name : ""; });
}

const char* mitab_c_get_font(mitab_feature feature) {
    return Guarded("", [&] {
        TFeature* F = FeatureOf(feature);
        return F ? Handed(F->Returned, F->Style.Font) : "";
    });
}

void mitab_c_set_symbol(mitab_feature feature, int symbol_no, int symbol_size, int symbol_color) {
    SetStyle(feature, [&](TFeature& F) {
        F.Style.Symbol.Number = symbol_no;
        F.Style.Symbol.Size = symbol_size;
        F.Style.Symbol.Color = symbol_color;
    });
}

int mitab_c_get_symbol_no(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.Symbol.Number; });
}

int mitab_c_get_symbol_size(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.Symbol.Size; });
}

int mitab_c_get_symbol_color(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.Symbol.Color; });
}

void mitab_c_set_symbol_display(mitab_feature feature, double angle, int style) {
    SetStyle(feature, [&](TFeature& F) {
        F.Style.Symbol.Angle = std::isfinite(angle) ? angle : 0;
        F.Style.Symbol.CustomStyle = style;
    });
}

double mitab_c_get_symbol_angle(mitab_feature feature) {
    return StyleOf(feature, 0.0, [](auto& S) { return S.Symbol.Angle; });
}

int mitab_c_get_symbol_style(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.Symbol.CustomStyle; });
}

void mitab_c_set_text(mitab_feature feature, const char* text) {
    SetStyle(feature, [&](TFeature& F) { F.Style.Text = text ? text : ""; });
}

const char* mitab_c_get_text(mitab_feature feature) {
    return Guarded("", [&] {
        TFeature* F = FeatureOf(feature);
        return F ? Handed(F->Returned, F->Style.Text) : "";
    });
}

void mitab_c_set_text_display(mitab_feature feature, double angle, double height, double width,
                              int fg_color, int bg_color, int justification, int spacing,
                              int linetype) {
    // -1 leaves a value as it is, the angle excepted.
    SetStyle(feature, [&](TFeature& F) {
        Mitab::TTextDisplay& D = F.Style.TextDisplay;
        D.Angle = angle;
        if (height != -1) D.Height = height;
        if (width != -1) D.Width = width;
        if (fg_color != -1) D.ForeColor = fg_color;
        if (bg_color != -1) D.BackColor = bg_color;
        if (justification != -1) D.Justification = justification;
        if (spacing != -1) D.Spacing = spacing;
        if (linetype != -1) D.LineType = linetype;
    });
}

double mitab_c_get_text_angle(mitab_feature feature) {
    return StyleOf(feature, 0.0, [](auto& S) { return S.TextDisplay.Angle; });
}

double mitab_c_get_text_height(mitab_feature feature) {
    return StyleOf(feature, 0.0, [](auto& S) { return S.TextDisplay.Height; });
}

double mitab_c_get_text_width(mitab_feature feature) {
    return StyleOf(feature, 0.0, [](auto& S) { return S.TextDisplay.Width; });
}

int mitab_c_get_text_fgcolor(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.TextDisplay.ForeColor; });
}

int mitab_c_get_text_bgcolor(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.TextDisplay.BackColor; });
}

int mitab_c_get_text_justification(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.TextDisplay.Justification; });
}

int mitab_c_get_text_spacing(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.TextDisplay.Spacing; });
}

int mitab_c_get_text_linetype(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.TextDisplay.LineType; });
}

int mitab_c_get_text_font_style(mitab_feature feature) {
    return StyleOf(feature, 0, [](auto& S) { return S.TextDisplay.FontStyle; });
}

void mitab_c_set_text_font_style(mitab_feature feature, int style) {
    SetStyle(feature, [&](TFeature& F) { F.Style.TextDisplay.FontStyle = style; });
}

mitab_feature mitab_c_get_collection_region_ref(mitab_feature feature) {
    return Guarded<mitab_feature>(nullptr, [&]() -> mitab_feature {
        TFeature* F = FeatureOf(feature);
        return F ? Mitab::CollectionComponent(*F, 0) : nullptr;
    });
}

mitab_feature mitab_c_get_collection_polyline_ref(mitab_feature feature) {
    return Guarded<mitab_feature>(nullptr, [&]() -> mitab_feature {
        TFeature* F = FeatureOf(feature);
        return F ? Mitab::CollectionComponent(*F, 1) : nullptr;
    });
}

mitab_feature mitab_c_get_collection_multipoint_ref(mitab_feature feature) {
    return Guarded<mitab_feature>(nullptr, [&]() -> mitab_feature {
        TFeature* F = FeatureOf(feature);
        return F ? Mitab::CollectionComponent(*F, 2) : nullptr;
    });
}

int mitab_c_set_collection_region(mitab_feature feature, mitab_feature region, int make_copy) {
    return SetComponent(feature, region, make_copy, TABFC_Region);
}

int mitab_c_set_collection_polyline(mitab_feature feature, mitab_feature polyline, int make_copy) {
    return SetComponent(feature, polyline, make_copy, TABFC_Polyline);
}

int mitab_c_set_collection_multipoint(mitab_feature feature, mitab_feature multipoint,
                                      int make_copy) {
    return SetComponent(feature, multipoint, make_copy, TABFC_MultiPoint);
}

} // extern "C"

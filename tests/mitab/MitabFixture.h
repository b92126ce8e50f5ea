#pragma once
// The MITAB module loaded with dlopen and bound by plain names, as programs
// bind it; a scratch folder; ogr2ogr to make tables and ogrinfo to read back
// what the module writes (GdalTools.h).

#include "mitab/mitab.h"
#include "support/GdalTools.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace Testing {

// clang-format off
#define MITAB_ENTRY_POINTS(X) \
    X(getlibversion) X(getlasterrorno) X(getlasterrormsg) X(open) X(close) X(create) \
    X(get_mif_coordsys) X(get_feature_count) X(add_field) X(get_field_count) X(get_field_type) \
    X(get_extended_mif_coordsys) X(get_charset) X(create_with_charset) \
    X(get_field_name) X(get_field_width) X(get_field_precision) X(next_feature_id) \
    X(read_feature) X(create_feature) X(write_feature) X(destroy_feature) X(get_type) \
    X(get_parts) X(get_vertex_count) X(get_vertex_x) X(get_vertex_y) X(set_points) \
    X(get_field_as_string) X(get_field_as_double) X(set_field) X(set_pen) X(get_pen_color) \
    X(get_pen_width) X(get_pen_pattern) X(set_brush) X(get_brush_fgcolor) X(get_brush_bgcolor) \
    X(get_brush_pattern) X(get_brush_transparent) X(set_font) X(get_font) X(set_symbol) \
    X(get_symbol_no) X(get_symbol_size) X(get_symbol_color) X(set_symbol_display) \
    X(get_symbol_angle) X(get_symbol_style) X(set_text) X(get_text) \
    X(set_text_display) X(get_text_angle) X(get_text_height) X(get_text_width) \
    X(get_text_fgcolor) X(get_text_bgcolor) X(get_text_justification) X(get_text_spacing) \
    X(get_text_linetype) X(get_text_font_style) X(set_text_font_style) \
    X(get_collection_region_ref) X(get_collection_polyline_ref) \
    X(get_collection_multipoint_ref) X(set_collection_region) X(set_collection_polyline) \
    X(set_collection_multipoint)
// clang-format on

// Every entry point, resolved by its plain name; null when missing.
struct TMitab {
#define MITAB_MEMBER(Name) decltype(&::mitab_c_##Name) Name = nullptr;
    MITAB_ENTRY_POINTS(MITAB_MEMBER)
#undef MITAB_MEMBER
    std::vector<std::string> Missing;
};

// The module stays loaded for the life of the test program.
inline const TMitab& Mitab() {
    static const TMitab M = [] {
        TMitab R;
        void* Lib = dlopen(MITAB_MODULE, RTLD_NOW | RTLD_LOCAL);
        if (!Lib) {
            R.Missing.push_back(std::string("the module: ") + dlerror());
            return R;
        }
#define MITAB_RESOLVE(Name)                                                                        \
    R.Name = reinterpret_cast<decltype(R.Name)>(dlsym(Lib, "mitab_c_" #Name));                     \
    if (!R.Name) R.Missing.push_back("mitab_c_" #Name);
        MITAB_ENTRY_POINTS(MITAB_RESOLVE)
#undef MITAB_RESOLVE
        return R;
    }();
    return M;
}

// tests/data/mitab/sample.csv as a table: every column type that ogr2ogr
// can make, a symbol, a font point, a text, a polyline of three sections, a
// region with a hole, a clear region and a row without geometry.
inline void MakeSampleTable(const std::string& Table) {
    const std::string Data = std::string(CHARTIX_SOURCE_DIR) + "/tests/data/mitab/sample.csv";
    MakeTable(Table, ReadFile(Data), ReadFile(Data + "t"), "name,count,amount,ratio,day,at,stamp",
              "-a_srs EPSG:4326");
}

// All the parts of a feature as "x y,x y|x y,...".
inline std::string PartsOf(mitab_feature F) {
    const TMitab& M = Mitab();
    std::ostringstream S;
    for (int P = 0; P < M.get_parts(F); ++P) {
        if (P) S << "|";
        for (int V = 0; V < M.get_vertex_count(F, P); ++V)
            S << (V ? "," : "") << M.get_vertex_x(F, P, V) << " " << M.get_vertex_y(F, P, V);
    }
    return S.str();
}

struct MitabTest : ::testing::Test {
    const TMitab& M = Mitab();
    TTempDir Dir;

    void SetUp() override { ASSERT_TRUE(M.Missing.empty()) << "unresolved: " << M.Missing.front(); }
};

} // namespace Testing

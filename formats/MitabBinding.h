#pragma once
// MITAB's C interface, bound at run time. The library (libmitab.so, whose
// file name MitabName.h keeps) is loaded with dlopen, never linked, so that
// everything but the MapInfo provider works without it. MITAB_load fills one
// function pointer per entry point, named like the entry point; callers test
// MITAB_LibOK first.

#include "core/Modules.h"

#include <string>
#include <vector>

namespace Mapobjects {

using mitab_handle = void*;
using mitab_feature = void*;
// The type of the entry points that nothing here calls: resolved, not typed.
using TMitabUntyped = void (*)();

// The interface level this binding is written for (MITAB 1.7.0).
inline constexpr int MitabInterfaceVersion = 1007000;

// The status of the last MITAB_load.
enum TMitabLoadError {
    mleNotLoaded = -1,    // no load tried yet
    mleOK = 0,            // loaded and usable
    mleNoLibrary = -2,    // the library could not be loaded
    mleNoVersion = -3,    // it has no mitab_c_getlibversion
    mleWrongVersion = -4, // it reports another level than MitabInterfaceVersion
};
extern int MITAB_LoadErr;

// Loads the library named by MitabLibraryName(): a bare name is looked for
// in ModuleDirectories() first, then where the loader searches.
// Every call loads afresh (the handle of a library already loaded is reused
// by the loader); entry points of an earlier load are dropped first. Never
// throws: the outcome is MITAB_LoadErr.
void MITAB_load();
bool MITAB_LibOK();

// The entry points that the MapInfo provider calls and the loaded library
// lacks (a library of the right level that leaves some out).
std::vector<std::string> MITAB_MissingEntryPoints();

// clang-format off
// Every entry point, in the order they are resolved: name, result, arguments.
// mitab_c_get_charset and mitab_c_create_with_charset are libmitab.so's own:
// with a MITAB that lacks them, text goes in and out as it is.
#define CHARTIX_MITAB_ENTRY_POINTS(X, U) \
    X(mitab_c_getlibversion, int, ()) \
    X(mitab_c_add_field, int, (mitab_handle, const char* name, int type, int width, int precision, int indexed, int unique)) \
    X(mitab_c_close, void, (mitab_handle)) \
    X(mitab_c_create, mitab_handle, (const char* file, const char* mif_or_tab, const char* coordsys, double north, double south, double east, double west)) \
    X(mitab_c_create_feature, mitab_feature, (mitab_handle, int feature_class)) \
    X(mitab_c_destroy_feature, void, (mitab_feature)) \
    X(mitab_c_getlasterrormsg, const char*, ()) \
    U(mitab_c_getlasterrormsg_vb) \
    X(mitab_c_getlasterrorno, int, ()) \
    X(mitab_c_get_brush_bgcolor, int, (mitab_feature)) \
    X(mitab_c_get_brush_fgcolor, int, (mitab_feature)) \
    X(mitab_c_get_brush_pattern, int, (mitab_feature)) \
    X(mitab_c_get_brush_transparent, int, (mitab_feature)) \
    X(mitab_c_get_extended_mif_coordsys, const char*, (mitab_handle)) \
    X(mitab_c_get_feature_count, int, (mitab_handle)) \
    X(mitab_c_get_field_as_double, double, (mitab_feature, int field)) \
    X(mitab_c_get_field_as_string, const char*, (mitab_feature, int field)) \
    U(mitab_c_get_field_as_string_vb) \
    X(mitab_c_get_field_count, int, (mitab_handle)) \
    X(mitab_c_get_field_name, const char*, (mitab_handle, int field)) \
    U(mitab_c_get_field_name_vb) \
    X(mitab_c_get_field_precision, int, (mitab_handle, int field)) \
    X(mitab_c_get_field_type, int, (mitab_handle, int field)) \
    X(mitab_c_get_field_width, int, (mitab_handle, int field)) \
    X(mitab_c_get_font, const char*, (mitab_feature)) \
    U(mitab_c_get_font_vb) \
    X(mitab_c_get_mif_coordsys, const char*, (mitab_handle)) \
    U(mitab_c_get_mif_coordsys_vb) \
    X(mitab_c_get_charset, const char*, (mitab_handle)) \
    X(mitab_c_create_with_charset, mitab_handle, (const char* file, const char* mif_or_tab, const char* coordsys, const char* charset, double north, double south, double east, double west)) \
    X(mitab_c_get_parts, int, (mitab_feature)) \
    X(mitab_c_get_pen_color, int, (mitab_feature)) \
    X(mitab_c_get_pen_pattern, int, (mitab_feature)) \
    X(mitab_c_get_pen_width, int, (mitab_feature)) \
    U(mitab_c_get_projinfo) \
    X(mitab_c_get_symbol_color, int, (mitab_feature)) \
    X(mitab_c_get_symbol_no, int, (mitab_feature)) \
    X(mitab_c_get_symbol_size, int, (mitab_feature)) \
    X(mitab_c_get_symbol_angle, double, (mitab_feature)) \
    X(mitab_c_get_symbol_style, int, (mitab_feature)) \
    X(mitab_c_get_text, const char*, (mitab_feature)) \
    X(mitab_c_get_text_angle, double, (mitab_feature)) \
    X(mitab_c_get_text_bgcolor, int, (mitab_feature)) \
    X(mitab_c_get_text_fgcolor, int, (mitab_feature)) \
    X(mitab_c_get_text_height, double, (mitab_feature)) \
    X(mitab_c_get_text_justification, int, (mitab_feature)) \
    X(mitab_c_get_text_linetype, int, (mitab_feature)) \
    X(mitab_c_get_text_spacing, int, (mitab_feature)) \
    U(mitab_c_get_text_vb) \
    X(mitab_c_get_text_width, double, (mitab_feature)) \
    X(mitab_c_get_type, int, (mitab_feature)) \
    X(mitab_c_get_vertex_count, int, (mitab_feature, int part)) \
    X(mitab_c_get_vertex_x, double, (mitab_feature, int part, int vertex)) \
    X(mitab_c_get_vertex_y, double, (mitab_feature, int part, int vertex)) \
    U(mitab_c_is_interior_ring) \
    U(mitab_c_load_coordsys_table) \
    X(mitab_c_next_feature_id, int, (mitab_handle, int last_id)) \
    X(mitab_c_open, mitab_handle, (const char* file)) \
    X(mitab_c_read_feature, mitab_feature, (mitab_handle, int id)) \
    U(mitab_c_set_arc) \
    X(mitab_c_set_brush, void, (mitab_feature, int fore, int back, int pattern, int transparent)) \
    X(mitab_c_set_field, void, (mitab_feature, int field, const char* value)) \
    X(mitab_c_set_font, void, (mitab_feature, const char* name)) \
    X(mitab_c_set_pen, void, (mitab_feature, int width, int pattern, int color)) \
    X(mitab_c_set_points, void, (mitab_feature, int part, int count, double* xs, double* ys)) \
    U(mitab_c_set_projinfo) \
    X(mitab_c_set_symbol, void, (mitab_feature, int number, int size, int color)) \
    X(mitab_c_set_symbol_display, void, (mitab_feature, double angle, int style)) \
    X(mitab_c_set_text, void, (mitab_feature, const char* text)) \
    X(mitab_c_set_text_display, void, (mitab_feature, double angle, double height, double width, int fore, int back, int justification, int spacing, int line_type)) \
    X(mitab_c_write_feature, int, (mitab_handle, mitab_feature)) \
    X(mitab_c_get_collection_region_ref, mitab_feature, (mitab_feature)) \
    X(mitab_c_get_collection_polyline_ref, mitab_feature, (mitab_feature)) \
    X(mitab_c_get_collection_multipoint_ref, mitab_feature, (mitab_feature)) \
    X(mitab_c_set_collection_region, int, (mitab_feature, mitab_feature region, int make_copy)) \
    X(mitab_c_set_collection_polyline, int, (mitab_feature, mitab_feature polyline, int make_copy)) \
    X(mitab_c_set_collection_multipoint, int, (mitab_feature, mitab_feature multipoint, int make_copy)) \
    U(mitab_c_get_projection_info) \
    U(mitab_c_set_projection_info) \
    U(mitab_c_get_datum_info) \
    U(mitab_c_set_datum_info) \
    U(mitab_c_get_affine_params) \
    U(mitab_c_set_affine_params) \
    U(mitab_c_is_field_indexed) \
    U(mitab_c_is_field_unique) \
    U(mitab_c_set_quick_spatial_index_mode) \
    X(mitab_c_get_text_font_style, int, (mitab_feature)) \
    X(mitab_c_set_text_font_style, void, (mitab_feature, int style))
// clang-format on

#define CHARTIX_MITAB_DECLARE(Name, Result, Args) extern Result(*Name) Args;
#define CHARTIX_MITAB_DECLARE_UNTYPED(Name) extern TMitabUntyped Name;
CHARTIX_MITAB_ENTRY_POINTS(CHARTIX_MITAB_DECLARE, CHARTIX_MITAB_DECLARE_UNTYPED)
#undef CHARTIX_MITAB_DECLARE
#undef CHARTIX_MITAB_DECLARE_UNTYPED

} // namespace Mapobjects

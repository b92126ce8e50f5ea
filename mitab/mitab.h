#pragma once
/* The MITAB C interface, level 1.7.0, built on GDAL's MapInfo driver.
 *
 * Handles are opaque; null means failure. Feature ids start at 1. A string
 * returned by an entry point stays valid until the next call on the same
 * handle. Colours are MapInfo integers (red * 65536 + green * 256 + blue).
 *
 * Bad handles and indices out of range never crash: counts, types, widths,
 * ids and new field indices answer -1 (parts and vertex counts 0), writes 0,
 * coordinates and styles 0, strings "". A feature keeps the styles its class
 * has no use for at their defaults. Features are copies: they outlive their
 * table and may be written to another one, field by field in column order.
 *
 * A null value reads as "" (a value the table does not hold); "" or NULL
 * given to mitab_c_set_field leaves a field of numbers, dates or logicals
 * without a value, and mitab_c_write_feature fails (0, with the last error
 * naming value and column) for text that is no value of its column's type.
 * GDAL's driver itself stores no null numbers (a .tab and a .mif read back
 * 0) and no null texts (""), only null dates and times.
 *
 * Arcs (6), rectangles (8) and ellipses (9) carry the vertices of their
 * outlines. GDAL's driver hands them as lines and polygons and does not say
 * which they were, so they are told only in a .mif, from its statements; a
 * .tab gives them as polylines (5) and regions (7). Written, they become
 * lines and regions: the driver makes no arcs, rectangles or ellipses. */

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define MITAB_EXPORT __attribute__((visibility("default")))
#else
#define MITAB_EXPORT
#endif

typedef void* mitab_handle;
typedef void* mitab_feature;

/* Feature classes */
enum {
    TABFC_NoGeom = 0,
    TABFC_Point = 1,
    TABFC_FontPoint = 2,
    TABFC_CustomPoint = 3,
    TABFC_Text = 4,
    TABFC_Polyline = 5,
    TABFC_Arc = 6,
    TABFC_Region = 7,
    TABFC_Rectangle = 8,
    TABFC_Ellipse = 9,
    TABFC_MultiPoint = 10,
    TABFC_Collection = 11
};

/* Field types */
enum {
    TABFT_Char = 1,
    TABFT_Integer = 2,
    TABFT_SmallInt = 3,
    TABFT_Decimal = 4,
    TABFT_Float = 5,
    TABFT_Date = 6,
    TABFT_Logical = 7,
    TABFT_Time = 8,
    TABFT_DateTime = 9,
    TABFT_LargeInt = 10 /* 64-bit integer */
};

MITAB_EXPORT int mitab_c_getlibversion(void);
MITAB_EXPORT int mitab_c_getlasterrorno(void);
MITAB_EXPORT const char* mitab_c_getlasterrormsg(void);

MITAB_EXPORT mitab_handle mitab_c_open(const char* filename);
MITAB_EXPORT void mitab_c_close(mitab_handle handle);
MITAB_EXPORT mitab_handle mitab_c_create(const char* filename, const char* mif_or_tab,
                                         const char* mif_projection, double north, double south,
                                         double east, double west);
MITAB_EXPORT const char* mitab_c_get_mif_coordsys(mitab_handle handle);
/* The clause with " Bounds (x1, y1) (x2, y2)" where the table's bounds are
 * not the ones the driver gives its system anyway (always for NonEarth). */
MITAB_EXPORT const char* mitab_c_get_extended_mif_coordsys(mitab_handle handle);
/* Beyond MITAB: the table's charset as MapInfo names it ("WindowsLatin1"),
 * "" without one; and a table made with one. Text read from and written to
 * a table is in its charset, as in its files. */
MITAB_EXPORT const char* mitab_c_get_charset(mitab_handle handle);
MITAB_EXPORT mitab_handle mitab_c_create_with_charset(const char* filename, const char* mif_or_tab,
                                                      const char* mif_projection,
                                                      const char* charset, double north,
                                                      double south, double east, double west);
MITAB_EXPORT int mitab_c_get_feature_count(mitab_handle handle);

MITAB_EXPORT int mitab_c_add_field(mitab_handle handle, const char* field_name, int field_type,
                                   int width, int precision, int indexed, int unique);
MITAB_EXPORT int mitab_c_get_field_count(mitab_handle handle);
MITAB_EXPORT int mitab_c_get_field_type(mitab_handle handle, int field);
MITAB_EXPORT const char* mitab_c_get_field_name(mitab_handle handle, int field);
MITAB_EXPORT int mitab_c_get_field_width(mitab_handle handle, int field);
MITAB_EXPORT int mitab_c_get_field_precision(mitab_handle handle, int field);

MITAB_EXPORT int mitab_c_next_feature_id(mitab_handle handle, int last_feature_id);
MITAB_EXPORT mitab_feature mitab_c_read_feature(mitab_handle handle, int feature_id);
MITAB_EXPORT mitab_feature mitab_c_create_feature(mitab_handle handle, int feature_type);
MITAB_EXPORT int mitab_c_write_feature(mitab_handle handle, mitab_feature feature);
MITAB_EXPORT void mitab_c_destroy_feature(mitab_feature feature);

MITAB_EXPORT int mitab_c_get_type(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_parts(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_vertex_count(mitab_feature feature, int part);
MITAB_EXPORT double mitab_c_get_vertex_x(mitab_feature feature, int part, int vertex);
MITAB_EXPORT double mitab_c_get_vertex_y(mitab_feature feature, int part, int vertex);
MITAB_EXPORT void mitab_c_set_points(mitab_feature feature, int part, int vertex_count, double* x,
                                     double* y);

MITAB_EXPORT const char* mitab_c_get_field_as_string(mitab_feature feature, int field);
MITAB_EXPORT double mitab_c_get_field_as_double(mitab_feature feature, int field);
MITAB_EXPORT void mitab_c_set_field(mitab_feature feature, int field, const char* value);

MITAB_EXPORT void mitab_c_set_pen(mitab_feature feature, int width, int pattern, int color);
MITAB_EXPORT int mitab_c_get_pen_color(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_pen_width(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_pen_pattern(mitab_feature feature);

MITAB_EXPORT void mitab_c_set_brush(mitab_feature feature, int fg_color, int bg_color, int pattern,
                                    int transparent);
MITAB_EXPORT int mitab_c_get_brush_fgcolor(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_brush_bgcolor(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_brush_pattern(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_brush_transparent(mitab_feature feature);

MITAB_EXPORT void mitab_c_set_font(mitab_feature feature, const char* font_name);
MITAB_EXPORT const char* mitab_c_get_font(mitab_feature feature);

MITAB_EXPORT void mitab_c_set_symbol(mitab_feature feature, int symbol_no, int symbol_size,
                                     int symbol_color);
MITAB_EXPORT int mitab_c_get_symbol_no(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_symbol_size(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_symbol_color(mitab_feature feature);
/* A symbol's turn (degrees, counter-clockwise) and its style number (a
   picture symbol's flags). */
MITAB_EXPORT void mitab_c_set_symbol_display(mitab_feature feature, double angle, int style);
MITAB_EXPORT double mitab_c_get_symbol_angle(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_symbol_style(mitab_feature feature);

MITAB_EXPORT void mitab_c_set_text(mitab_feature feature, const char* text);
MITAB_EXPORT const char* mitab_c_get_text(mitab_feature feature);
MITAB_EXPORT void mitab_c_set_text_display(mitab_feature feature, double angle, double height,
                                           double width, int fg_color, int bg_color,
                                           int justification, int spacing, int linetype);
MITAB_EXPORT double mitab_c_get_text_angle(mitab_feature feature);
MITAB_EXPORT double mitab_c_get_text_height(mitab_feature feature);
MITAB_EXPORT double mitab_c_get_text_width(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_text_fgcolor(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_text_bgcolor(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_text_justification(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_text_spacing(mitab_feature feature);
MITAB_EXPORT int mitab_c_get_text_linetype(mitab_feature feature);
/* Beyond level 1.7.0: the style of a text's font, MIF's Font style number
 * (1 bold, 2 italic, 4 underline, 8 strike-out), as far as GDAL's driver
 * keeps it; callers test that these entry points are there. */
MITAB_EXPORT int mitab_c_get_text_font_style(mitab_feature feature);
MITAB_EXPORT void mitab_c_set_text_font_style(mitab_feature feature, int style);

/* A collection (11) holds a region, a polyline and a multipoint, each
 * optional. Its parts are the region's rings, then the polyline's sections,
 * then one part of all its points. The *_ref entry points hand out each as a
 * feature of its own (7, 5, 10) with the collection's styles, owned by the
 * collection: valid until it is destroyed or that member is set again; null
 * when it has none. mitab_c_set_collection_* put a feature of that class in
 * the collection with its tools of that kind, replacing what was there
 * (make_copy 0 hands the feature to the library, which frees it); 0 when
 * either is no feature of the right class. */
MITAB_EXPORT mitab_feature mitab_c_get_collection_region_ref(mitab_feature feature);
MITAB_EXPORT mitab_feature mitab_c_get_collection_polyline_ref(mitab_feature feature);
MITAB_EXPORT mitab_feature mitab_c_get_collection_multipoint_ref(mitab_feature feature);
MITAB_EXPORT int mitab_c_set_collection_region(mitab_feature feature, mitab_feature region,
                                               int make_copy);
MITAB_EXPORT int mitab_c_set_collection_polyline(mitab_feature feature, mitab_feature polyline,
                                                 int make_copy);
MITAB_EXPORT int mitab_c_set_collection_multipoint(mitab_feature feature, mitab_feature multipoint,
                                                   int make_copy);

#ifdef __cplusplus
}
#endif

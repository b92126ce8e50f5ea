#include "formats/MitabBinding.h"

#include "core/Modules.h"
#include "formats/MitabName.h"

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <unistd.h>

#include <cstdio>

namespace Mapobjects {

int MITAB_LoadErr = mleNotLoaded;

#define CHARTIX_MITAB_DEFINE(Name, Result, Args) Result(*Name) Args = nullptr;
#define CHARTIX_MITAB_DEFINE_UNTYPED(Name) TMitabUntyped Name = nullptr;
CHARTIX_MITAB_ENTRY_POINTS(CHARTIX_MITAB_DEFINE, CHARTIX_MITAB_DEFINE_UNTYPED)
#undef CHARTIX_MITAB_DEFINE
#undef CHARTIX_MITAB_DEFINE_UNTYPED

namespace {

template <class T> void Resolve(void* Library, T& Pointer, const char* Name) {
    // POSIX lets a data pointer from dlsym stand for a function.
    Pointer = Library ? reinterpret_cast<T>(dlsym(Library, Name)) : nullptr;
}

void ResolveAll(void* Library) {
#define CHARTIX_MITAB_RESOLVE(Name, Result, Args) Resolve(Library, Name, #Name);
#define CHARTIX_MITAB_RESOLVE_UNTYPED(Name) Resolve(Library, Name, #Name);
    CHARTIX_MITAB_ENTRY_POINTS(CHARTIX_MITAB_RESOLVE, CHARTIX_MITAB_RESOLVE_UNTYPED)
#undef CHARTIX_MITAB_RESOLVE
#undef CHARTIX_MITAB_RESOLVE_UNTYPED
}

} // namespace

void MITAB_load() {
    // Nothing of an earlier load may be called once this one fails.
    ResolveAll(nullptr);
    void* Library = OpenModuleLibrary(MitabLibraryName());
    if (!Library) {
        MITAB_LoadErr = mleNoLibrary;
        return;
    }
    // A library once loaded stays loaded: freed handles would dangle in
    // providers and features still alive.
    Resolve(Library, mitab_c_getlibversion, "mitab_c_getlibversion");
    if (!mitab_c_getlibversion) {
        MITAB_LoadErr = mleNoVersion;
        return;
    }
    if (mitab_c_getlibversion() != MitabInterfaceVersion) {
        MITAB_LoadErr = mleWrongVersion;
        return;
    }
    MITAB_LoadErr = mleOK;
    ResolveAll(Library);
}

bool MITAB_LibOK() {
    return MITAB_LoadErr == mleOK;
}

std::vector<std::string> MITAB_MissingEntryPoints() {
    std::vector<std::string> Missing;
    auto Check = [&](const void* Pointer, const char* Name) {
        if (!Pointer) Missing.push_back(Name);
    };
#define CHARTIX_MITAB_CHECK(Name) Check(reinterpret_cast<const void*>(Name), #Name);
    CHARTIX_MITAB_CHECK(mitab_c_open)
    CHARTIX_MITAB_CHECK(mitab_c_close)
    CHARTIX_MITAB_CHECK(mitab_c_create)
    CHARTIX_MITAB_CHECK(mitab_c_add_field)
    CHARTIX_MITAB_CHECK(mitab_c_get_field_count)
    CHARTIX_MITAB_CHECK(mitab_c_get_field_name)
    CHARTIX_MITAB_CHECK(mitab_c_get_field_type)
    CHARTIX_MITAB_CHECK(mitab_c_get_field_width)
    CHARTIX_MITAB_CHECK(mitab_c_get_field_precision)
    CHARTIX_MITAB_CHECK(mitab_c_next_feature_id)
    CHARTIX_MITAB_CHECK(mitab_c_read_feature)
    CHARTIX_MITAB_CHECK(mitab_c_create_feature)
    CHARTIX_MITAB_CHECK(mitab_c_write_feature)
    CHARTIX_MITAB_CHECK(mitab_c_destroy_feature)
    CHARTIX_MITAB_CHECK(mitab_c_get_type)
    CHARTIX_MITAB_CHECK(mitab_c_get_parts)
    CHARTIX_MITAB_CHECK(mitab_c_get_vertex_count)
    CHARTIX_MITAB_CHECK(mitab_c_get_vertex_x)
    CHARTIX_MITAB_CHECK(mitab_c_get_vertex_y)
    CHARTIX_MITAB_CHECK(mitab_c_set_points)
    CHARTIX_MITAB_CHECK(mitab_c_get_field_as_string)
    CHARTIX_MITAB_CHECK(mitab_c_set_field)
    CHARTIX_MITAB_CHECK(mitab_c_set_pen)
    CHARTIX_MITAB_CHECK(mitab_c_get_pen_color)
    CHARTIX_MITAB_CHECK(mitab_c_get_pen_width)
    CHARTIX_MITAB_CHECK(mitab_c_get_pen_pattern)
    CHARTIX_MITAB_CHECK(mitab_c_set_brush)
    CHARTIX_MITAB_CHECK(mitab_c_get_brush_fgcolor)
    CHARTIX_MITAB_CHECK(mitab_c_get_brush_bgcolor)
    CHARTIX_MITAB_CHECK(mitab_c_get_brush_pattern)
    CHARTIX_MITAB_CHECK(mitab_c_get_brush_transparent)
    CHARTIX_MITAB_CHECK(mitab_c_set_font)
    CHARTIX_MITAB_CHECK(mitab_c_get_font)
    CHARTIX_MITAB_CHECK(mitab_c_set_symbol)
    CHARTIX_MITAB_CHECK(mitab_c_get_symbol_no)
    CHARTIX_MITAB_CHECK(mitab_c_get_symbol_size)
    CHARTIX_MITAB_CHECK(mitab_c_get_symbol_color)
    CHARTIX_MITAB_CHECK(mitab_c_set_text)
    CHARTIX_MITAB_CHECK(mitab_c_get_text)
    CHARTIX_MITAB_CHECK(mitab_c_set_text_display)
    CHARTIX_MITAB_CHECK(mitab_c_get_text_angle)
    CHARTIX_MITAB_CHECK(mitab_c_get_text_height)
    CHARTIX_MITAB_CHECK(mitab_c_get_text_width)
    CHARTIX_MITAB_CHECK(mitab_c_get_text_fgcolor)
    CHARTIX_MITAB_CHECK(mitab_c_get_text_bgcolor)
#undef CHARTIX_MITAB_CHECK
    return Missing;
}

} // namespace Mapobjects

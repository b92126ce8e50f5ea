#pragma once
// GDAL's messages kept off standard error while a call that reports its
// own errors runs: the last one becomes part of the caller's message.

#include <cpl_error.h>

#include <string>

namespace Mapobjects::Gdal {

class TQuietErrors {
public:
    TQuietErrors() {
        CPLErrorReset();
        CPLPushErrorHandler(CPLQuietErrorHandler);
    }
    ~TQuietErrors() { CPLPopErrorHandler(); }
    TQuietErrors(const TQuietErrors&) = delete;
    TQuietErrors& operator=(const TQuietErrors&) = delete;
    // GDAL's last message, empty for none.
    static std::string Last() {
        const char* M = CPLGetLastErrorMsg();
        return M ? M : "";
    }
    // ": " and GDAL's last message, to end a sentence with; empty for none.
    static std::string Why() {
        const std::string M = Last();
        return M.empty() ? M : ": " + M;
    }
};

} // namespace Mapobjects::Gdal

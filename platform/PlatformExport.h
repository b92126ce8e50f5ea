#pragma once
// The platform library is built with hidden symbols; what carries
// CHARTIX_PLATFORM_EXPORT is its public API.

#include <QtCore/qglobal.h>

#if defined(CHARTIX_PLATFORM_LIBRARY)
#define CHARTIX_PLATFORM_EXPORT Q_DECL_EXPORT
#else
#define CHARTIX_PLATFORM_EXPORT Q_DECL_IMPORT
#endif

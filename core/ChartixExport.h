#pragma once
// The component library is built with hidden symbols; what carries
// CHARTIX_EXPORT is its public API.

#include <QtCore/qglobal.h>

#if defined(CHARTIX_LIBRARY)
#define CHARTIX_EXPORT Q_DECL_EXPORT
#else
#define CHARTIX_EXPORT Q_DECL_IMPORT
#endif

#pragma once
#include <QtGlobal>

#if defined(QX_BASE_LIBRARY)
#  define QX_BASE_EXPORT Q_DECL_EXPORT
#else
#  define QX_BASE_EXPORT Q_DECL_IMPORT
#endif

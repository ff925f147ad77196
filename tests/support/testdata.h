#pragma once

#include <QString>

// The bundled data files of the source tree.
inline QString sourceDataDir() { return QStringLiteral(ZENITOR_SOURCE_DATA_DIR); }

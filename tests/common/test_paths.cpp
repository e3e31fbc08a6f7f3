// SPDX-License-Identifier: MIT
#include "test_paths.h"

namespace orin::test {

QString TestDataDir() { return QStringLiteral(ORIN_TEST_DATA); }
QString SourceDir() { return QStringLiteral(ORIN_SOURCE_DIR); }
QString BinDir() { return QStringLiteral(ORIN_BIN_DIR); }

} // namespace orin::test

// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Where the tests find the source tree, their data and the built programs. The paths are
// compiled into one small file only, so that every other test file compiles the same in any
// clone and a compiler cache can share it.

namespace orin::test {

// tests/data of the source tree, without a trailing "/".
QString TestDataDir();
// The source root, without a trailing "/".
QString SourceDir();
// The folder of the built programs, without a trailing "/".
QString BinDir();

} // namespace orin::test

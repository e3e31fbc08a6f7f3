// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace orin {

// The program's own files (the operator's guide, the sample content) are found in two places:
// beside the programs in a build folder (<application folder>/<besideProgram>), and under the
// prefix the package was installed into (<application folder>/../<underPrefix>), wherever
// that prefix lies. Returns the first that exists, else the path beside the program.
QString FindProgramFile(const QString &appFolder, const QString &besideProgram,
                        const QString &underPrefix);

// The sample content set: examples/sample.bjpx beside the programs, or
// share/orinedit/examples/sample.bjpx under the installed prefix. Empty when neither exists.
QString SampleProjectPath(const QString &appFolder);

} // namespace orin

// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace orin {

// Result of an operation that touches files: ok, or a message for the operator that names the
// file and the system's reason.
struct FileResult {
    bool ok = true;
    QString message;
    static FileResult Success() { return {}; }
    static FileResult Failure(const QString &text) { return {false, text}; }
};

} // namespace orin

// SPDX-License-Identifier: MIT
#pragma once

#include <QStringView>

namespace orin {

// Numbers in files and action strings are read the tolerant way: leading blanks and a sign
// are accepted, reading stops at the first non-digit ("12px" is 12), no digits give 0, and
// values beyond int are clamped.
int ParseLeadingInt(QStringView text);

} // namespace orin

// SPDX-License-Identifier: MIT
#pragma once

namespace orin {

// Maps the broadcast UI font "ＭＳ ゴシック" (and "MS Gothic") to the installed Japanese
// gothic fonts, so that text lays out the same on every machine. Call once after the
// application object exists.
void RegisterFontSubstitutes();

} // namespace orin

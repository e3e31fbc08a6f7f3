// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"

#include <QString>

namespace orin {

// The PLTE colour of a colour-map entry: opaque entries as they are; the others keep the small
// offset the broadcast chain has always given them (k = 5 - A div 64; a component of at most 5
// becomes k, a larger one loses k).
ColourEntry PaletteColourOf(const ColourEntry &entry);

// Writes a copy of the PNG `source` to `destination` in which a colour-map PNG (indexed colour,
// bit depth at most 8, no PLTE) gets a PLTE and a tRNS chunk of 2^depth entries from the colour
// map, right before its first IDAT, with the PNG standard's lengths and CRCs. Any other PNG is
// copied chunk by chunk unchanged, up to and including IEND.
// False when the source cannot be read, is not a PNG, or its chunks break off before IEND, and
// when the destination cannot be written; the destination is then not created (an existing one
// stays as it was). `why`, when given, receives the reason.
bool InsertPalette(const QString &source, const QString &destination, const CColourMap &map,
                   QString *why = nullptr);

// The same copy for a work copy of the program's own (a display copy): written straight into
// `destination` without syncing it to the disk, since the copy is made again from its source
// whenever it is needed; on failure the destination is removed.
bool InsertPaletteIntoWorkCopy(const QString &source, const QString &destination,
                               const CColourMap &map, QString *why = nullptr);

} // namespace orin

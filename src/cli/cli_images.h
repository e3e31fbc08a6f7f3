// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_commands.h"

namespace orin::cli {

// "clut [FILE.clt]": prints indexes 0..255 of the colour map the editor would use with FILE as
// its default.clt (the built-in map without FILE), one "INDEX R G B A" line each. A file that
// cannot be read or is refused: the map printed is the default one, the reason goes to stderr
// and the status is 1.
int Clut(const QStringList &args, Streams io);

// "palette IN.png OUT.png [--clut FILE.clt]": writes OUT as the copy of IN with the colour map
// inserted as its palette; a PNG that has a palette, or is not a colour-map PNG, is copied
// unchanged.
int Palette(const QStringList &args, Streams io);

} // namespace orin::cli

// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

namespace orin {

// The pictures of the toolbar buttons, drawn by the program so that they look the same on
// every desktop. An unknown command gives a null icon.
QIcon CommandIcon(int commandId);

} // namespace orin

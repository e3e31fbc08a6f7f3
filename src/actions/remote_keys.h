// SPDX-License-Identifier: MIT
#pragma once

// The keys of the remote control, as the panel sends them to the canvas. The preview runs them;
// the navigation analysis tells what each would do.

namespace orin {

enum PreviewKey : int {
    kKeyEnter = 0,
    kKeyUp = 1,
    kKeyDown = 2,
    kKeyLeft = 3,
    kKeyRight = 4,
    kKeyData = 5,
    kKeyBack = 6,
    kKeyBlue = 7,
    kKeyRed = 8,
    kKeyGreen = 9,
    kKeyYellow = 10,
    kKeyRefresh = 100,
};

} // namespace orin

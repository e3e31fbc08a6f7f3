// SPDX-License-Identifier: MIT
#pragma once

#include <QLatin1String>

// What the design surface remembers between runs: snapping on or off and the grid step. Kept
// in a section of its own in the settings file, so the "Config" keys stay as they are.

namespace orin {

class CIniStore;

inline constexpr QLatin1String kDesignSection("Design");
// The largest grid step in page units: half the short side of a page.
inline constexpr int kMaxSnapGrid = 270;

struct DesignSnapSettings {
    bool snap = false;
    int grid = 0; // page units; 0: no grid
};

// The values from the file; a missing file or key gives the defaults, a grid outside
// 0..kMaxSnapGrid gives no grid.
DesignSnapSettings LoadDesignSnap(const CIniStore &ini);
// Writes both keys at once; false when the file could not be written.
bool SaveDesignSnap(CIniStore &ini, const DesignSnapSettings &settings);

} // namespace orin

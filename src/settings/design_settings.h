// SPDX-License-Identifier: MIT
#pragma once

#include <QLatin1String>

// What the design surface remembers between runs: snapping on or off, the grid step, and the
// title-safe guides with their margin (which the layout findings use too). Kept
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

// The title-safe margin per side in percent: 5 of HD practice by default, up to 45.
inline constexpr int kDefaultSafeArea = 5;
inline constexpr int kMaxSafeArea = 45;

struct SafeAreaSettings {
    bool guides = true;             // the design surface shows the safe areas
    int percent = kDefaultSafeArea; // title-safe margin per side
};

// The values from the file; a missing key gives the default, a margin outside 0..kMaxSafeArea
// gives the default margin.
SafeAreaSettings LoadSafeArea(const CIniStore &ini);
bool SaveSafeArea(CIniStore &ini, const SafeAreaSettings &settings);

} // namespace orin

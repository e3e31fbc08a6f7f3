// SPDX-License-Identifier: MIT
#pragma once

class QDockWidget;

namespace orin {

class CMainFrame;

// The two docks beside the canvas that show how the content set behaves: the navigation map
// ("ナビゲーションマップ") and the action trace ("アクショントレース"). Both start hidden; the View
// menu toggles them. They work only while shown: a hidden map analyses nothing, a hidden trace
// does not listen to the simulation.
struct NavigationDocks {
    QDockWidget *map = nullptr;
    QDockWidget *trace = nullptr;
};

NavigationDocks InstallNavigationDocks(CMainFrame &frame);

} // namespace orin

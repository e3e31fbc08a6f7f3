// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>

namespace orin {

class CMainFrame;

// Sets the main window up for a picture of the operator's guide, as the environment asks
// (scripts/screenshot passes these on):
//   ORINEDIT_SCREENSHOT_DESIGN  item slots such as "0,2,3": the design surface with them selected
//   ORINEDIT_SCREENSHOT_DOCKS   dock object names such as "NavigationMapDock": those docks shown
//   ORINEDIT_SCREENSHOT_KEYS    remote-control key codes such as "2,0": pressed on the panel in
//                               that order, as the operator would click them
//   ORINEDIT_SCREENSHOT_FINDING a row of the navigation map's findings, clicked as the operator
//                               would (with the map among the docks)
//   ORINEDIT_SCREENSHOT_COMPARE a project file: compared with the open set in the comparison
//                               dock, its first changed page chosen
// Everything happens within `delayMs`, before the picture is taken.
void StageScreenshot(CMainFrame &frame, int delayMs);

// The window as it is; with ORINEDIT_SCREENSHOT_PANEL set, the remote-control panel (a window of
// its own) is drawn beside it so that its greyed keys show.
QPixmap GrabScreenshot(CMainFrame &frame);

} // namespace orin

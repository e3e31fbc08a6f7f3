// SPDX-License-Identifier: MIT
#pragma once

// The numbers of the main frame's commands. Each menu item, toolbar button and accelerator
// carries its number as the data of its QAction, so that other windows and the tests can find
// a command by number.

namespace orin::cmd {

inline constexpr int kFileOpen = 57601;
inline constexpr int kServerRetrieve = 32785;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 32771;
inline constexpr int kPortableSave = 32772;
inline constexpr int kExportWeb = 32830;
inline constexpr int kPreviewInBrowser = 32831;
inline constexpr int kCompare = 32832;        // compare the open set with a project file
inline constexpr int kRecentFirst = 57616; // 57616..57631: the recent-file entries
inline constexpr int kRecentLast = 57631;
inline constexpr int kAppExit = 57665;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditPaste = 57637;
inline constexpr int kDesignMode = 32809;
inline constexpr int kSlimData = 32814;
inline constexpr int kBoxDraw = 32777;
inline constexpr int kLabelDraw = 32787;
inline constexpr int kChangeDraw = 32788;
inline constexpr int kStatusBar = 59393;
inline constexpr int kTransmit = 32779;
inline constexpr int kNetworkSettings = 32780;
inline constexpr int kHelp = 32790;
inline constexpr int kAbout = 57664;
inline constexpr int kFileAssociation = 32800;
inline constexpr int kOpenSample = 32840;
inline constexpr int kToolbarOpen = 32791;   // open, or server retrieval in the server mode
inline constexpr int kAccessField = 32808;   // the toolbar's text field of the server mode
inline constexpr int kNextPane = 57680;
inline constexpr int kPreviousPane = 57681;

// Notifications posted to the frame.
inline constexpr int kStatusText = 5001; // text for status pane 2
inline constexpr int kChannel = 5010;    // channel number chosen in the toolbar
inline constexpr int kChannelList = 5020; // the channel list document of the server

// The frame's timers.
inline constexpr int kAutoSendTimer = 300;
inline constexpr int kAutoExitTimer = 500;

} // namespace orin::cmd

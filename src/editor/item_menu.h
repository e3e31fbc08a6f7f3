// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QPointF>
#include <QString>

#include <vector>

// The entries of the canvas's item menu, worked out from the display list without widgets: the
// canvas turns them into a pop-up menu and runs the chosen command.

namespace orin {

class CPageRenderer;
class CPreviewEngine;

namespace itemcmd {
inline constexpr int kText = 4000;   // + display index: edit the item's text
inline constexpr int kImage = 4256;  // + display index: change the item's image
inline constexpr int kAction = 4512; // + display index: edit the item's action
inline constexpr int kItemProperties = 32799;
inline constexpr int kCopy = 32773;
inline constexpr int kPasteFull = 32775;
inline constexpr int kPasteText = 32811;
inline constexpr int kPastePictureText = 32809;
} // namespace itemcmd

// One menu line; command 0 is a separator.
struct ItemMenuEntry {
    int command = 0;
    QString label;
};

// What the menu depends on besides the display list.
struct ItemMenuContext {
    int modeAction = 1;
    int modeAccess = 0;
    bool pageShown = false; // a page of the model (not a special screen) is on the canvas
    bool canPaste = false;  // the item clipboard holds an item
};

// "- カーソル専用" and the other marks of the item kinds; empty for kinds without one.
QString KindMark(int idg);

// The display indexes of the items under the page point, lowest first.
std::vector<int> ItemsAt(const CPreviewEngine &engine, QPointF pagePoint);

// The text entry's label of display index `index`: the kind mark and, for a text that is not
// the item's own, the note of its text record (empty when the record does not exist).
QString TextEntryLabel(const CContentModel &model, const CPreviewEngine &engine, int index);

// The image entry's label of display index `index` (the note left empty when the picture has
// no record).
QString ImageEntryLabel(const CContentModel &model, const CPreviewEngine &engine, int index);

// The whole menu for the page point: the text entries, the image entries, the action entries (ModeAction not 0)
// and, while the structure may be edited (ModeAction not 0, ModeAccess not 2), the item
// properties and the copy of the topmost item and the three pastes. Empty: no menu.
std::vector<ItemMenuEntry> ItemMenuEntries(const CContentModel &model,
                                           const CPreviewEngine &engine,
                                           const CPageRenderer &renderer,
                                           const ItemMenuContext &context, QPointF pagePoint);

} // namespace orin

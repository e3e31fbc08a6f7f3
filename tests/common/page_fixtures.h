// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

// Small pages for tests of the canvas, the simulation and the tools.

namespace orin::test {

// Appends an item of 100 × 50 page units at (x, y) that does nothing on any key ("0"), with
// text colour 7, size 20 and no fill.
inline PageItem &AddItem(CMyProgramInfo &page, int id, int x, int y)
{
    PageItem &item = page.items[size_t(page.itemCount++)];
    item.id = id;
    item.x = float(x);
    item.y = float(y);
    item.width = 100;
    item.height = 50;
    item.focus = item.outfocus = item.ret = QStringLiteral("0");
    item.up = item.down = item.left = item.right = QStringLiteral("0");
    item.color = 7;
    item.size = 20;
    item.bcolor = kNoColour;
    return item;
}

} // namespace orin::test

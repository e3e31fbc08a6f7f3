// SPDX-License-Identifier: MIT
#include "preview/display_state.h"

namespace orin {

ShownPage SnapshotOf(const CMyProgramInfo &page)
{
    ShownPage shown;
    shown.id = page.id;
    shown.defitem = page.defitem;
    shown.tvitem = page.tvitem;
    shown.clock = page.clock;
    shown.marquee = page.marquee;
    shown.marquee_speed = page.marquee_speed;
    shown.timer = page.timer;
    shown.timer_item = page.timer_item;
    shown.timer_ino = page.timer_ino;
    shown.textid = page.textid;
    shown.curcol = page.curcol;
    shown.backcol = page.backcol;
    shown.cursize = page.cursize;
    shown.return_ = page.return_;
    shown.back = page.back;
    shown.data = page.data;
    shown.up = page.up;
    shown.down = page.down;
    shown.left = page.left;
    shown.right = page.right;
    shown.blue = page.blue;
    shown.red = page.red;
    shown.green = page.green;
    shown.yellow = page.yellow;
    shown.memory = page.memory;
    shown.cursor = page.cursor;
    shown.smacro = page.smacro;
    return shown;
}

} // namespace orin

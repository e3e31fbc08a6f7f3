// SPDX-License-Identifier: MIT
// Runs before the player: the player only lends its renderer, and the content is made here.
'use strict';
window.ORIN_BENCH = true;

// One page of 256 items (16 x 16) with fills, texts in two sizes and a focus that moves down.
(function () {
  const items = [];
  for (let i = 0; i < 256; ++i) {
    const col = i % 16;
    const row = Math.floor(i / 16);
    const id = i + 1;
    items.push({
      id, idg: i % 7 === 0 ? 2 : 0, parent: 0, x: 4 + col * 59, y: 4 + row * 33, width: 55, height: 29,
      focus: '', outfocus: '', ret: '', up: String(id > 16 ? id - 16 : id), down: String(id <= 240 ? id + 16 : id),
      left: String(id > 1 ? id - 1 : id), right: String(id < 256 ? id + 1 : id), pic_no: 0, text_no: 0,
      margin_x: 2, margin_y: 2, color: 7, size: i % 2 ? 12 : 16, bcolor: 1 + (i % 6), wordwrap: 0,
      text: '項目' + id,
    });
  }
  const page = {
    id: 1, comment: '', changed: 0, background: '', backgroundMissing: false, defitem: 1, tvitem: 0,
    clock: 0, marquee: 0, marquee_speed: 0, timer: 0, timer_item: 0, timer_ino: 0, textid: 0, curcol: 3,
    backcol: 8, cursize: 2, return_: 0, back: 0, data: 0, up: 0, down: 0, left: 0, right: 0, blue: 0,
    red: 0, green: 0, yellow: 0, memory: 0, cursor: 0, smacro: 0, itemCount: 256, items,
  };
  const colours = ['#000000', '#ff0000', '#00ff00', '#ffff00', '#0000ff', '#ff00ff', '#00ffff', '#ffffff',
    'rgba(0,0,0,0)'];
  window.ORIN_CONTENT = {
    format: 1,
    settings: { TransChannel: 1, TimerMode: 0, CursorSize: 2, FileIDName: '', ModeScreen: 0, BackImagePage: 0,
      ExPNG: 1, Vertical: 0, ConvertAAC: 0, NumAAC: 0, IDConv: 0, homeID: '' },
    functionValue: '', pages: [page], pictures: [], materials: [], texts: [], channels: [], webPages: [],
    macros: [], sounds: [], functions: [], colours,
    fonts: { families: ['ＭＳ ゴシック', 'MS Gothic', 'IPAGothic', 'monospace'], ascent: 0.88, descent: 0.1958 },
    screens: {},
  };
})();

// SPDX-License-Identifier: MIT
// The scenario table of the differential tests: small content sets, each with runs of keys
// that reach one part of the receiver. Both receivers must give the same state lines.
'use strict';

const { page, content } = require('../../web/test/helpers.js');

const pictures = [
  { id: 1, item: 0, type: 0, width: 320, height: 180, label: '', file: 'photo.jpg' },
  { id: 2, item: 0, type: 0, width: 960, height: 540, label: '', file: 'news.jpg' },
  { id: 3, item: 0, type: 0, width: 960, height: 540, label: '', file: 'weather.jpg' },
];
const materials = [
  { id: 200, item: 0, type: 1, width: 240, height: 56, label: '', file: 'button.png' },
  { id: 201, item: 0, type: 3, width: 160, height: 160, label: '', file: 'logo.png' },
];

function text(id, t) {
  return { id, text: t, item: 0, label: '', changed: 0 };
}
function macro(id, m) {
  return { id, macro: m, item: 0, label: '', changed: 0 };
}
function set(fields) {
  return content(Object.assign({ pictures, materials }, fields));
}

// A 2 x 2 grid moved through by up/down/left/right strings.
const grid = set({
  settings: { TimerMode: 0, ExPNG: 0, Vertical: 0 },
  pages: [
    page({ id: 1, defitem: 1, left: 2, right: 2 }, [
      { id: 1, x: 0, y: 0, right: '2', down: '3', left: '0', up: '4', ret: '2' },
      { id: 2, x: 200, y: 0, left: '1', down: '4', right: '1', up: '3', ret: 'G:2' },
      { id: 3, x: 0, y: 100, up: '1', right: '4', left: '5', down: '1' },
      { id: 4, x: 200, y: 100, up: '2', left: '3', right: '6', down: '2', ret: '0' },
      { id: 5, x: 0, y: 200, idg: 2, text: 'text only' },
      { id: 6, x: 200, y: 200, idg: 4, text: 'hidden' },
    ]),
    page({ id: 2, defitem: 0, left: 1, right: 1, up: 1, down: 1, return_: 1 }, [{ id: 1 }]),
  ],
});

const commands = set({
  texts: [text(1, '[#1]first[#2]second[#3]third'), text(2, 'plain'), text(3, '[#10]ten[#11]eleven[#5]five')],
  macros: [macro(1, 'B:3:2,F:4:2'), macro(2, '[#1]T:1:2[#2]R:1:2[#3]G:2')],
  pages: [
    page({ id: 1, defitem: 1, textid: 3 }, [
      { id: 1, x: 0, y: 0, down: '2', ret: 'P:201:0,T:1:10,H:0:11,K:1:1' },
      { id: 2, x: 0, y: 50, up: '1', down: '3', ret: 'R:1:10,R:1:10,I:3:12,B:5:11,F:6:11,H:1:11' },
      { id: 3, x: 0, y: 100, up: '2', down: '4', ret: 'S:3,O:1,P:1:12,P:999:10,V:10,Z:4,U:3,A:1,G:2' },
      { id: 4, x: 0, y: 150, up: '3', down: '5', ret: 'E:2' },
      { id: 5, x: 0, y: 200, up: '4', ret: 'M:1,T:2:5,U:0' },
      { id: 10, x: 200, y: 0, text_no: 1, text: 'own' },
      { id: 11, x: 200, y: 50, pic_no: 200, text: 'eleven?' },
      { id: 12, x: 200, y: 100, text: 'twelve' },
    ]),
    page({ id: 2, defitem: 1, back: 1 }, [
      { id: 1, ret: 'C:0', down: '2' },
      { id: 2, y: 50, ret: 'W:0', up: '1' },
    ]),
  ],
});

const macros = set({
  texts: [text(1, '[#1]a[#2]b')],
  macros: [
    macro(1, '[#1]T:1:2[#2]T:1:3[#3]P:1:2'),
    macro(2, 'A:1'),
    macro(3, 'I:1:2'),
    macro(4, 'A:4'), // runs itself without end
    macro(5, 'Qs:1:7,Xn:2:7'),
  ],
  pages: [
    page({ id: 1, defitem: 1, smacro: 1 }, [
      { id: 1, ret: 'A:1', down: '2', right: 'Qa:1' },
      { id: 2, y: 50, ret: 'Qm:2', up: '1', down: '3', right: 'A:3' },
      { id: 3, y: 100, ret: 'A:4', up: '2', right: 'A:5,A:1', left: 'Qs:1:0,Xi:9,Xs:9:2' },
    ]),
  ],
});

const memory = set({
  texts: [
    text(1, '[#1]alpha\r\n[#2]beta[#7]seven'),
    text(2, 'no sections'),
    text(3, '[#4]beta[#5]alpha'),
  ],
  macros: [macro(1, '[#1]Xn:41:0[#2]one\rrest'), macro(4, 'G:2'), macro(5, 'T:1:2')],
  pages: [
    page({ id: 1, defitem: 1 }, [
      { id: 1, down: '2', ret: 'Xk:1:2,Xi:1,Xa:1,Xc:1:2,Xl:2:0,Xl:1:2,Xd:2,Xe:1:2,Xs:2:9' },
      { id: 2, y: 50, up: '1', down: '3', ret: 'Xn:4:3,Xn:2:0,Xp:5:3,Xr:0,Xn:5:6,Xv:6:7,Xs:7:9,Xe:5:7,Xr:5,Xt' },
      { id: 3, y: 100, up: '2', down: '4', ret: 'Xk:1:7,Xq:0:3,Xi:8,Xq:8:3,Xn:4:10,Xm:10,Qo:1:11,Qo:2:12,Qk:1:12' },
      { id: 4, y: 150, up: '3', down: '5', ret: 'Xn:1:20,Xn:2:21,Ql:20:21,Xi:22,Ql:0:0,Xs:22:9,Qc:1:9,Qg:300:200,Qc:2:9,Qg:50:60' },
      { id: 5, y: 200, up: '4', down: '6', ret: 'Xn:5:30,Qn:31,Qb:6:4,Qd,Xf:1:9', focus: 'Xn:2:0,Xi:31' },
      { id: 6, y: 250, up: '5', ret: 'Xn:2:40,Xg:40', left: 'Xf:0:0,Xn:2:41,Xh:41' },
      { id: 9, x: 300, y: 0, text: 'nine' },
      { id: 8, x: 300, y: 100, idg: 1, ret: 'Qc:1:8' },
    ]),
    page({ id: 2, defitem: 1, back: 1 }, [{ id: 1, ret: 'Xj:40' }]),
  ],
});

const timers = set({
  settings: { TimerMode: 0, ExPNG: 1, Vertical: 0 },
  texts: [text(1, '[#1]one[#2]two')],
  pages: [
    page({ id: 1, defitem: 1, timer: 2, timer_item: 1, timer_ino: 2 }, [
      { id: 1, ret: 'Z:1', down: '2', up: 'U:7', left: 'U:8', right: 'Z:4' },
      { id: 2, y: 50, ret: 'T:1:3', up: '1' },
      { id: 3, y: 100, text: 'ticks' },
    ]),
    page({ id: 2, defitem: 1, timer: 1, right: 3, down: 1 }, [{ id: 1, ret: 'Z:1' }]),
    page({ id: 3, defitem: 0, timer: 3 }, [{ id: 1 }]),
  ],
});

const marquee = set({
  texts: [text(1, '[#1]ab[#2]cd'), text(2, '[#1]xy[#3]zz')],
  pages: [
    page({ id: 1, defitem: 1, marquee: 2, marquee_speed: 5, clock: 3 }, [
      { id: 1, ret: 'T:2:2', down: '4', right: 'Z:2', left: 'Z:3', up: 'I:2:2' },
      { id: 2, y: 50, width: 100, size: 20, text_no: 1 },
      { id: 3, y: 100, text: 'clock' },
      { id: 4, y: 150, up: '1', ret: 'G:2' },
    ]),
    page({ id: 2, defitem: 1, marquee: 1, marquee_speed: 1, clock: 1 }, [{ id: 1, width: 61, size: 30, text: 'slow', ret: 'G:3' }]),
    page({ id: 3, defitem: 1, marquee: 1, marquee_speed: 6 }, [{ id: 1, text: 'never' }]),
  ],
});

const slider = set({
  pages: [
    page({ id: 1, defitem: 1 }, [
      { id: 1, ret: '$slider:p1/2/3:i2:w300', down: '$slider:p200:i3', up: '$Slider:w5:i2:p201/1', left: '$other:p1/2', right: 'G:2' },
      { id: 2, x: 200, pic_no: 0 },
      { id: 3, x: 400, pic_no: 1 },
    ]),
    page({ id: 2, defitem: 1, back: 1 }, [{ id: 1, ret: '$slider:p1/2:w1000' }]),
  ],
});

const clicks = set({
  pages: [
    page({ id: 1, defitem: 1 }, [
      { id: 1, x: 0, y: 0, width: 100, height: 100, ret: 'G:2' },
      { id: 2, x: 50, y: 50, width: 100, height: 100, ret: '0' },
      { id: 3, x: 300, y: 0, width: 50, height: 50, ret: 'T:1:3', focus: 'F:3:3', outfocus: 'F:4:3' },
    ]),
    page({ id: 2, defitem: 1, back: 1 }, [{ id: 1, width: 960, height: 540, ret: 'C:0' }]),
  ],
  texts: [text(1, '[#1]x[#2]y')],
});

const loops = set({
  macros: [macro(1, 'M:1'), macro(2, 'Qn:1'), macro(3, 'Qm:3,Qm:3'), macro(4, 'Xa:2,A:4')],
  pages: [
    page({ id: 1, defitem: 1 }, [
      { id: 1, focus: 'M:2', down: '3', right: '5', ret: 'Xn:1:0,Xc:0:0' },
      { id: 2, y: 50, focus: 'M:1', down: '3', right: '5', left: 'Qb:0:1', ret: 'A:2' },
      { id: 3, y: 100, focus: '4', up: '1' },
      { id: 4, y: 150, focus: '3' },
      { id: 5, y: 200, ret: 'Xi:1,Qn:1', left: 'Qb:5:1', focus: 'G:1' },
    ]),
    page({ id: 2, defitem: 1 }, [{ id: 1, focus: 'G:2' }]),
    page({ id: 3, defitem: 1 }, [{ id: 1, focus: 'U:0' }]),
    // Breadth: every entry re-enters; the work bound of one event ends the chain.
    page({ id: 4, defitem: 1, timer: 1 }, [
      { id: 1, focus: 'G:4,'.repeat(10) + 'B:4:2', ret: 'A:3', down: '2' },
      { id: 2, y: 50, ret: 'Xn:1:0,A:4', up: 'Qb:2:2,Qb:2:2,Qb:2:2', down: 'Qm:5,Qb:2:2' },
    ]),
  ],
});

const special = set({
  pages: [
    page({ id: 1, defitem: 1, memory: 2, red: 254, blue: 255 }, [
      { id: 1, ret: 'C:1', down: '2' },
      { id: 2, y: 50, ret: 'W:1', up: '1', down: '3' },
      { id: 3, y: 100, ret: '254', up: '2' },
    ]),
    page({ id: 2, defitem: 1, memory: 0 }, [{ id: 1 }]),
    page({ id: 4, memory: 254, smacro: 1 }, [{ id: 1 }]),
  ],
  macros: [macro(1, 'G:2')],
});

const vertical = set({
  settings: { TimerMode: 1, ExPNG: 0, Vertical: 1 },
  pages: [
    page({ id: 1, defitem: 1, timer: 1, right: 2 }, [
      { id: 1, x: 10, y: 900, width: 520, height: 40, ret: 'Qc:1:2,Qg:20:30', down: '2' },
      { id: 2, x: 10, y: 100, width: 520, height: 700, pic_no: 2, up: '1' },
    ]),
    page({ id: 2, defitem: 1, timer: 1, right: 1 }, [{ id: 1, x: 0, y: 0, width: 540, height: 960 }]),
  ],
});

// Numbers at the edges of their types: float geometry, huge widths, ids outside the tables.
const edges = set({
  texts: [text(1, '[#1]a[#2]b'), text(2, '[#2147483647]max[#-1]minus')],
  pages: [
    page({ id: 1, defitem: 1, marquee: 2, marquee_speed: 5 }, [
      { id: 1, ret: 'T:1:2,H:0:300,B:3:-1', down: '300', right: 'I:2:0', left: 'Qg:2147483647:-2147483648' },
      { id: 2, x: 16777217, y: 0, width: 2147483647, height: 10, size: 1, ret: 'G:2', text: 'wide' },
      { id: 300, x: 0, y: 100, ret: 'G:2', text: 'beyond the tables' },
      { id: 0, x: 0, y: 200, ret: 'G:2' },
      { id: 2147483647, x: 0, y: 300, ret: 'G:2', focus: 'I:2:1' },
      { id: -1, x: 0, y: 400, ret: 'G:2' },
    ]),
    page({ id: 2, defitem: 1, back: 1 }, [{ id: 1, width: 1, height: 1, size: -5, ret: 'Qc:1:1,Qg:3:4' }]),
    // The I command stores the acting item's id as the text section: T steps on from it.
    page({ id: 3, defitem: 2147483647 }, [
      { id: 2147483647, focus: 'I:1:7', down: '7' },
      { id: 7, y: 50, text_no: 1, ret: 'T:1:7', up: '2147483647' },
    ]),
  ],
});

const scenarios = [
  {
    name: 'focus moves left, right, up and down', content: grid, runs: [
      { keys: ['right', 'down', 'left', 'up', 'up', 'right', 'right', 'down', 'left', 'left', 'enter', 'down'] },
      { keys: ['down', 'enter', 'up', 'down', 'right', 'enter'] },
      { page: 2, keys: ['left', 'right', 'up', 'down', 'enter', 'd', 'back'] },
    ],
  },
  {
    name: 'every action command', content: commands, runs: [
      { keys: ['enter', 'enter', 'down', 'enter', 'enter', 'down', 'enter'] },
      { keys: ['down', 'down', 'enter', 'down', 'enter', 'back', 'enter', 'enter', 'down', 'enter', 'enter'] },
      { keys: ['down', 'down', 'down', 'enter', 'wait:10', 'down', 'enter'] },
    ],
  },
  {
    name: 'macros: sections, backwards, limits, macros that run macros', content: macros, runs: [
      { keys: ['enter', 'enter', 'enter', 'enter', 'right', 'right', 'down', 'enter', 'right'] },
      { keys: ['down', 'down', 'right', 'enter', 'enter', 'enter', 'left', 'enter'] },
      { keys: ['down', 'down', 'enter', 'up', 'enter'] },
    ],
  },
  {
    name: 'memory and input commands, digits', content: memory, runs: [
      { keys: ['enter', 'down', 'enter', 'down', 'enter', 'down', 'enter', 'enter'] },
      { keys: ['down', 'down', 'down', 'down', 'enter', 'digit:1', 'digit:2', 'digit:10', 'down', 'enter', 'back', 'enter'] },
      { keys: ['digit:3', 'down', 'down', 'down', 'down', 'down', 'left', 'digit:4'] },
      { keys: ['down', 'down', 'down', 'down', 'down', 'up', 'up', 'up', 'up', 'right', 'enter'] },
    ],
  },
  {
    name: 'page timer, item timer and their switches', content: timers, runs: [
      { keys: ['wait:1000', 'wait:999', 'wait:1', 'wait:1000', 'wait:3000', 'wait:2000'] },
      { keys: ['down', 'wait:1500', 'enter', 'right', 'wait:4000'] },
      { keys: ['up', 'wait:1500', 'down', 'wait:1500', 'up', 'wait:1900', 'left', 'wait:200'] },
      { keys: ['enter', 'wait:5000', 'down', 'wait:100'] },
    ],
  },
  {
    name: 'timers in the other page orders', content: Object.assign({}, timers, { settings: { TimerMode: 1, ExPNG: 1, Vertical: 0 } }), runs: [
      { page: 2, keys: ['wait:1000', 'wait:3000', 'wait:2000'] },
    ],
  },
  {
    name: 'timers by the down value', content: Object.assign({}, timers, { settings: { TimerMode: 2, ExPNG: 1, Vertical: 0 } }), runs: [
      { page: 2, keys: ['wait:1000', 'wait:2000', 'back'] },
    ],
  },
  {
    name: 'marquee and clock', content: marquee, runs: [
      { keys: ['wait:100', 'wait:900', 'enter', 'wait:2000', 'up', 'wait:600', 'right', 'wait:500'] },
      { clock: '23:59', keys: ['wait:60000', 'left', 'wait:500', 'down', 'enter', 'wait:3000', 'enter', 'wait:1000'] },
      { clock: '00:00', keys: ['wait:86400000'] },
    ],
  },
  {
    name: 'picture animations', content: slider, runs: [
      { keys: ['enter', 'wait:300', 'wait:300', 'wait:299', 'wait:1', 'down', 'up', 'wait:50', 'left', 'wait:1000'] },
      { keys: ['enter', 'wait:500', 'right', 'wait:1000', 'enter', 'wait:2500', 'back', 'wait:5000'] },
    ],
  },
  {
    name: 'linked clicks', content: clicks, runs: [
      { keys: ['click:120:120', 'click:10:10', 'back', 'click:300:0', 'click:350:50', 'click:351:50', 'click:60.5:99.5'] },
      { keys: ['click:500:500', 'click:-1:-1', 'click:100:100', 'click:5:5', 'enter', 'click:5:5'] },
    ],
  },
  {
    name: 'the loop guard', content: loops, runs: [
      { keys: ['down', 'up', 'right', 'enter', 'left'] },
      { page: 2 },
      { page: 3, keys: ['refresh'] },
      { keys: ['enter', 'right', 'enter'] },
      { page: 4, keys: ['enter', 'down', 'enter', 'up', 'down', 'wait:1000'] },
    ],
  },
  {
    name: 'special screens', content: special, runs: [
      { keys: ['enter', 'enter', 'down', 'enter', 'enter', 'd', 'enter', 'back', 'back', 'd'] },
      { keys: ['red', 'enter', 'back', 'enter', 'd', 'blue', 'enter', 'back', 'd', 'back', 'd'] },
      { keys: ['down', 'down', 'enter', 'yellow', 'back', 'back', 'd'] },
      { page: 4 },
    ],
  },
  {
    name: 'numbers at the edges of their types', content: edges, runs: [
      { keys: ['wait:300', 'enter', 'wait:200', 'right', 'down', 'click:16777216.5:5', 'click:16777216:5'] },
      { keys: ['click:1:101', 'back', 'click:1:201', 'back', 'click:1:301', 'back', 'click:1:401', 'back', 'left', 'enter'] },
      { page: 2, keys: ['enter', 'click:3:4', 'click:4:5'] },
      { page: 3, keys: ['down', 'enter', 'enter', 'up', 'down', 'enter'] },
    ],
  },
  {
    name: 'Vertical pages', content: vertical, runs: [
      { keys: ['enter', 'click:100:500', 'click:30:50', 'wait:1000', 'wait:1000', 'down'] },
    ],
  },
];

module.exports = { scenarios, pictures, materials, text, macro, set };

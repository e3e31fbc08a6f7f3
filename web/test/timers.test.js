// SPDX-License-Identifier: MIT
// The four timers, the marquee, the clock and the picture animations on the simulated clock,
// and linked clicks.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const { OrinEngine, page, content, start, texts } = require('./helpers.js');

const C = OrinEngine.constants;
const K = OrinEngine.KEYS;

function record(id, field, value) {
  return { id, [field]: value, item: 0, label: '', changed: 0 };
}

function threePages(timerMode) {
  return content({
    settings: { TimerMode: timerMode, ExPNG: 1, Vertical: 0 },
    pages: [
      page({ id: 1, defitem: 1, timer: 2, right: 3, down: 5 }, [{ id: 1, ret: 'Z:1', up: 'U:7', down: 'U:8' }]),
      page({ id: 3, defitem: 1, timer: 1, right: 1 }, [{ id: 1 }]),
      page({ id: 5, defitem: 1 }, [{ id: 1 }]),
    ],
  });
}

test('the page timer shows the next page by the timer mode', () => {
  // [TimerMode, the page after page 1's two seconds]
  for (const [mode, next] of [[0, 3], [1, 3], [2, 5], [3, 1]]) {
    const sim = start(threePages(mode), 1);
    sim.clock.advance(1999);
    assert.equal(sim.engine.shownPageNumber(), 1);
    sim.clock.advance(1);
    assert.equal(sim.engine.shownPageNumber(), next, `mode ${mode}`);
  }
  const sim = start(threePages(0), 5); // the last page: the first follows... but page 5 has no timer
  sim.clock.advance(10000);
  assert.equal(sim.engine.shownPageNumber(), 5);
  const loop = start(threePages(0), 3);
  loop.clock.advance(1000);
  assert.equal(loop.engine.shownPageNumber(), 5, 'mode 0 follows the table order');
});

test('Z:1 stops the page timer; U:7 makes every key restart it', () => {
  let sim = start(threePages(0), 1);
  sim.engine.pressKey(K.enter);
  sim.clock.advance(5000);
  assert.equal(sim.engine.shownPageNumber(), 1);
  sim = start(threePages(0), 1);
  sim.engine.pressKey(K.up); // U:7
  sim.clock.advance(1500);
  sim.engine.pressKey(K.left);
  sim.clock.advance(1500);
  assert.equal(sim.engine.shownPageNumber(), 1, 'the key restarted the two seconds');
  assert.equal(sim.engine.keyRestartsTimer(), true);
  sim.clock.advance(500);
  assert.equal(sim.engine.shownPageNumber(), 3);
});

test('while the timers toggle is off ticks are ignored and the timers keep running', () => {
  const sim = start(threePages(0), 1);
  sim.engine.setTimersOn(false);
  sim.clock.advance(3000);
  assert.equal(sim.engine.shownPageNumber(), 1);
  assert.equal(sim.clock.isRunning(C.kPageTimer), true);
  sim.engine.setTimersOn(true);
  sim.clock.advance(1000);
  assert.equal(sim.engine.shownPageNumber(), 3);
});

test('the item timer runs the ret of its item at 100 ms, then every timer_item seconds', () => {
  const c = content({
    texts: [record(1, 'text', '[#1]a[#2]b[#3]c')],
    pages: [page({ id: 1, defitem: 1, timer_item: 1, timer_ino: 2 }, [
      { id: 1, right: 'Z:4' }, { id: 2, ret: 'T:1:3' }, { id: 3 },
    ])],
  });
  let sim = start(c, 1);
  sim.clock.advance(100);
  assert.equal(texts(sim.engine)[3], 'a');
  sim.clock.advance(999);
  assert.equal(texts(sim.engine)[3], 'a');
  sim.clock.advance(1);
  assert.equal(texts(sim.engine)[3], 'b');
  sim.engine.pressKey(K.right); // Z:4
  sim.clock.advance(5000);
  assert.equal(texts(sim.engine)[3], 'b');
  c.pages[0].timer_item = 0;
  sim = start(c, 1);
  sim.clock.advance(10000);
  assert.equal(texts(sim.engine)[3], 'a', 'without timer_item it runs once');
  assert.equal(sim.clock.isRunning(C.kItemTimer), false);
});

test('the marquee scrolls one character a tick and steps to the next section after a turn', () => {
  const c = content({
    texts: [record(1, 'text', '[#1]ab[#2]cd')],
    pages: [page({ id: 1, marquee: 2, marquee_speed: 5 }, [{ id: 1 }, { id: 2, width: 40, size: 20, text_no: 1 }])],
  });
  const drawn = [];
  const sim = start(c, 1);
  sim.engine.setObserver({ redrawItemDirect: (id, t) => drawn.push(t) });
  assert.equal(sim.engine.marqueeBuffer(), '\u3000\u3000ab');
  sim.clock.advance(400);
  assert.deepEqual(drawn, ['\u3000\u3000ab', '\u3000ab\u3000', 'ab\u3000\u3000', 'b\u3000\u3000a']);
  // The fourth tick found the turn done: the buffer was rebuilt from the next section and
  // turned once, without bringing the old first character round.
  assert.equal(sim.engine.marqueeBuffer(), '\u3000cd');
  sim.clock.advance(100);
  assert.equal(sim.engine.marqueeBuffer(), 'cd\u3000');
  assert.equal(texts(sim.engine)[2], 'ab', 'the item text stays');
  assert.equal(OrinEngine.simulate(c, { keys: [] }).length, 1);
  c.pages[0].items[1].width = 2147483647; // the widest item: the most spaces, 10000
  c.pages[0].items[1].size = 1;
  assert.equal(start(c, 1).engine.marqueeBuffer(), '\u3000'.repeat(10000) + 'ab');
  for (const speed of [0, 6]) {
    c.pages[0].marquee_speed = speed;
    assert.equal(start(c, 1).engine.marqueeItem(), 0, `speed ${speed}`);
  }
});

test('the clock shows the simulated local time and wraps at midnight', () => {
  const c = content({ pages: [page({ id: 1, clock: 1 }, [{ id: 1 }])] });
  const sim = start(c, 1, { clock: '23:59' });
  assert.equal(sim.engine.clockText(), '23:59');
  sim.clock.advance(60000);
  assert.equal(sim.engine.clockText(), '00:00');
  assert.equal(sim.engine.clockItem(), 1);
  assert.throws(() => start(c, 1, { clock: '24:00' }), /not a time/);
  assert.equal(start(c, 1).engine.clockText(), '12:00');
});

test('$slider cycles the pictures of an item; showing another page stops it', () => {
  const c = content({
    pictures: [1, 2, 3].map((id) => ({ id, type: 0, width: 4, height: 4, file: `p${id}.jpg` })),
    pages: [page({ id: 1, defitem: 1 }, [
      { id: 1, ret: '$slider:p1/2/3:i2:w300', up: '$SLIDER:i2:w1:p3', down: '$slider:p:i2' },
      { id: 2 },
    ])],
  });
  const sim = start(c, 1);
  const e = sim.engine;
  const shown = () => (e.items()[1].image ? e.items()[1].image.file : null);
  e.pressKey(K.enter);
  assert.equal(shown(), 'p1.jpg');
  assert.equal(e.pictureNumber(2), 0, 'the picture number stays');
  const seen = [];
  for (let i = 0; i < 4; ++i) {
    sim.clock.advance(300);
    seen.push(shown());
  }
  assert.deepEqual(seen, ['p2.jpg', 'p3.jpg', 'p1.jpg', 'p2.jpg']);
  e.pressKey(K.up); // one picture: shown at once, no animation; the old one stops
  assert.equal(shown(), 'p3.jpg');
  assert.equal(e.slider(0).inUse, false);
  sim.clock.advance(1000);
  assert.equal(shown(), 'p3.jpg');
  e.pressKey(K.down); // no pictures: nothing
  assert.equal(shown(), 'p3.jpg');
  e.pressKey(K.enter);
  e.showPage(1);
  assert.equal(sim.clock.isRunning(C.kSliderTimerBase), false);
});

test('a linked click focuses the topmost item under it whose ret is not "0" and presses enter', () => {
  const c = content({
    pages: [
      page({ id: 1, defitem: 1 }, [
        { id: 1, x: 0, y: 0, width: 100, height: 100, ret: 'G:2' },
        { id: 2, x: 50, y: 50, width: 100, height: 100, ret: '0' },
      ]),
      page({ id: 2, defitem: 1 }, [{ id: 1 }]),
    ],
  });
  let sim = start(c, 1);
  sim.engine.linkedClick(120, 120); // only item 2, whose ret is "0"
  sim.settle();
  assert.equal(sim.engine.shownPageNumber(), 1);
  sim.engine.linkedClick(100, 100); // the edge of item 1, under item 2
  assert.equal(sim.engine.shownPageNumber(), 1, 'the enter key is posted');
  sim.settle();
  assert.equal(sim.engine.shownPageNumber(), 2);
  sim = start(c, 1);
  sim.engine.setLinkedClicks(false);
  sim.engine.linkedClick(10, 10);
  sim.settle();
  assert.equal(sim.engine.shownPageNumber(), 1);
});

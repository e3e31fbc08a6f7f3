// SPDX-License-Identifier: MIT
// Showing pages, the remote-control keys, focus moves and the special screens.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const { OrinEngine, page, content, start, texts } = require('./helpers.js');

const K = OrinEngine.KEYS;

// Two pages: page 1 with three items in a column (up/down move between them, enter on item 2
// shows page 2), page 2 with the page-level keys set.
function twoPages(settings) {
  return content({
    settings: Object.assign({ TimerMode: 0, ExPNG: 0, Vertical: 0 }, settings),
    pages: [
      page({ id: 1, defitem: 1, blue: 2, back: 7 }, [
        { id: 1, y: 0, down: '2', up: '3', ret: '0', text: 'one' },
        { id: 2, y: 50, down: '3', up: '1', ret: '2', text: 'two' },
        { id: 3, y: 100, down: '1', up: '2', ret: 'G:1', idg: 2, text: 'three' },
        { id: 4, y: 150, idg: 4, text: 'hidden' },
      ]),
      page({ id: 2, defitem: 0, return_: 1, up: 1, data: 1, red: 1000, green: 2000, yellow: 254 }, [
        { id: 9, text: 'nine' },
      ]),
    ],
  });
}

test('a shown page copies its items into the display list and focuses its default item', () => {
  const sim = start(twoPages(), 1);
  const e = sim.engine;
  assert.equal(e.shownPageNumber(), 1);
  assert.equal(e.focusItem(), 1);
  assert.deepEqual(texts(e), { 1: 'one', 2: 'two', 3: 'three', 4: 'hidden' });
  assert.equal(e.indexOfItem(3), 2);
  assert.equal(e.indexOfItem(99), -1);
  assert.equal(e.isVisible(1), true);
  assert.equal(e.isVisible(4), false, 'an idg 4 item starts hidden');
  assert.equal(e.page().blue, 2);
  assert.equal(e.rememberedFocus(1), 1);
});

test('arrow strings move the focus to focusable items only', () => {
  const sim = start(twoPages(), 1);
  const e = sim.engine;
  e.pressKey(K.down);
  assert.equal(e.focusItem(), 2);
  e.pressKey(K.down); // item 3 is text-only: not focusable while ExPNG is off
  assert.equal(e.focusItem(), 2);
  e.pressKey(K.up);
  assert.equal(e.focusItem(), 1);
});

test('while ExPNG is on a text-only item takes the focus; a hidden one never does', () => {
  const sim = start(twoPages({ ExPNG: 1 }), 1);
  const e = sim.engine;
  e.pressKey(K.up);
  assert.equal(e.focusItem(), 3);
  assert.equal(e.isFocusable(4), false);
});

test('enter runs the focused item ret: a plain number shows that page', () => {
  const sim = start(twoPages(), 1);
  const e = sim.engine;
  e.pressKey(K.down);
  e.pressKey(K.enter);
  assert.equal(e.shownPageNumber(), 2);
  assert.equal(e.previousPageNumber(), 1);
  assert.deepEqual(texts(e), { 9: 'nine' });
  assert.equal(e.focusItem(), 0);
});

test('without focus the page-level values answer the keys', () => {
  const cases = [
    ['enter', 1], ['up', 1], ['d', 1], ['red', 1000], ['green', 2000], ['yellow', 254],
    ['down', 2], ['back', 2], ['blue', 2], ['refresh', 2],
  ];
  for (const [key, shown] of cases) {
    const sim = start(twoPages(), 2);
    sim.engine.pressKey(K[key]);
    assert.equal(sim.engine.shownPageNumber(), shown, key);
  }
});

test('the special screens answer their own keys', () => {
  // [first screen, keys, the screen after them]
  const cases = [
    [1000, ['enter'], 2],          // the other channel goes back to the page before it
    [1000, ['back', 'd'], 1000],
    [2000, ['enter'], 255],
    [2000, ['d'], 2000],
    [254, ['enter'], 255],
    [254, ['d'], 1],               // the memory page is 0: page 1
    [255, ['back'], 254],
    [255, ['enter', 'blue', 'up'], 255],
  ];
  for (const [screen, keys, shown] of cases) {
    const sim = start(twoPages(), 2);
    sim.engine.showPage(screen);
    for (const key of keys) sim.engine.pressKey(K[key]);
    assert.equal(sim.engine.shownPageNumber(), shown, `${screen} ${keys}`);
  }
});

test('a special screen keeps the display list and the timers of the page before it', () => {
  const c = twoPages();
  c.pages[0].timer = 2;
  const sim = start(c, 1);
  sim.engine.showPage(255);
  assert.equal(sim.engine.items().length, 4);
  assert.equal(sim.clock.isRunning(OrinEngine.constants.kPageTimer), true);
  sim.clock.advance(2000); // TimerMode 0: the page after the last real page
  assert.equal(sim.engine.shownPageNumber(), 2);
});

test('a page whose memory is 254 is never shown: it only runs its start macro', () => {
  const c = twoPages();
  c.pages.push(page({ id: 3, memory: 254, smacro: 1 }, [{ id: 1 }]));
  c.macros = [{ id: 1, macro: 'G:2', item: 0, label: '', changed: 0 }];
  const sim = start(c, 1);
  sim.engine.showPage(3);
  assert.equal(sim.engine.shownPageNumber(), 1);
  sim.settle();
  assert.equal(sim.engine.shownPageNumber(), 2);
});

test('a page with cursor 1 comes back with the focus it had', () => {
  const c = twoPages();
  c.pages[0].cursor = 1;
  const sim = start(c, 1);
  sim.engine.pressKey(K.down);
  sim.engine.showPage(2);
  sim.engine.showPage(1);
  assert.equal(sim.engine.focusItem(), 2);
  sim.engine.resetCanvas();
  sim.engine.showPage(1);
  assert.equal(sim.engine.focusItem(), 1, 'reset forgets the remembered focus');
});

test('ids that name nothing change nothing', () => {
  const sim = start(twoPages(), 1);
  const e = sim.engine;
  e.showPage(77);
  e.showPage(0);
  e.showPage(-3);
  assert.equal(e.shownPageNumber(), 1);
  e.focus(77, 0);
  assert.equal(e.focusItem(), 1);
  assert.equal(e.isVisible(300), false);
  assert.equal(e.pictureNumber(-1), 0);
  assert.equal(e.memory(256), '');
});

test('OrinEngine.press applies the command-line key names', () => {
  const sim = start(twoPages(), 1);
  assert.equal(OrinEngine.press(sim, 'down'), true);
  assert.equal(sim.engine.focusItem(), 2);
  OrinEngine.press(sim, 'digit:10');
  assert.equal(sim.engine.input(), '10');
  OrinEngine.press(sim, 'wait:250');
  assert.equal(sim.clock.now(), 250);
  for (const bad of ['Enter', 'digit:0', 'digit:11', 'wait:-1', 'click:1', 'click:a:2', 'digit:x', '']) {
    assert.throws(() => OrinEngine.press(sim, bad), /unknown key/, bad);
  }
});

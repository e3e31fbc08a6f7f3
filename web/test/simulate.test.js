// SPDX-License-Identifier: MIT
// OrinEngine.simulate: the lines of `orinedit-cli simulate --json`, and content that is not
// what the exporter writes.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const { OrinEngine, page, content } = require('./helpers.js');

test('the state line: keys sorted, texts escaped as the editor writes JSON', () => {
  const c = content({
    pages: [page({ id: 3, defitem: 4 }, [
      { id: 4, x: 1, y: 2, width: 3, height: 5, bcolor: 8, color: 7, text: 'a"b\\c\r\n\t\u0001\u001f\u007f\u2028日本\ud83d\ude00\ud800' },
      { id: 5, idg: 4, pic_no: 200 },
    ])],
  });
  const lines = OrinEngine.simulate(c, { keys: ['down', ' wait:5 '] });
  assert.equal(lines.length, 3);
  assert.equal(lines[0], '{"focus":4,"input":"","items":[' +
    '{"bcolor":8,"color":7,"h":5,"id":4,"pic":0,"text":"a\\"b\\\\c\\r\\n\\t\\u0001\\u001f\u007f\u2028日本\ud83d\ude00\\ud800","textState":0,"visible":true,"w":3,"x":1,"y":2},' +
    '{"bcolor":8,"color":7,"h":40,"id":5,"pic":200,"text":"","textState":0,"visible":false,"w":100,"x":0,"y":0}' +
    '],"messages":[],"page":3,"step":"start"}');
  assert.match(lines[2], /"step":"wait:5"}$/, 'a key is trimmed as the command line trims it');
});

test('simulate starts on the first page and refuses what the command line refuses', () => {
  const c = content({ pages: [page({ id: 7 }, [{ id: 1 }]), page({ id: 2 }, [])] });
  assert.match(OrinEngine.simulate(c, {})[0], /"page":7/);
  assert.match(OrinEngine.simulate(c, { page: '2' })[0], /"page":2/);
  assert.throws(() => OrinEngine.simulate(c, { page: 3 }), /no such page: 3/);
  assert.throws(() => OrinEngine.simulate(c, { page: 'two' }), /not a page number/);
  assert.throws(() => OrinEngine.simulate(c, { keys: 'enter,Enter' }), /unknown key: Enter/);
  assert.throws(() => OrinEngine.simulate(c, { clock: '7:00' }), /not a time/);
  assert.throws(() => OrinEngine.simulate(content(), {}), /no such page: 0/);
});

test('content that is not what the exporter writes is read as numbers and strings', () => {
  const hostile = {
    settings: { ExPNG: '1', TimerMode: {}, Vertical: null },
    pages: [
      null,
      { id: 1, defitem: 1e300, itemCount: 300, marquee: 1, marquee_speed: 5, timer: 1e12, timer_item: -5,
        items: [{ id: 1, x: 'x', width: 2147483647, size: 1, text: 12, ret: { toString: null }, focus: ['A'] }] },
      { id: 2, itemCount: -4, items: 'no' },
    ],
    pictures: 'none',
    texts: [{ id: 1, text: null }, 5],
    macros: [{ id: '1', macro: 'G:2' }],
  };
  const lines = OrinEngine.simulate(hostile, { keys: ['enter', 'wait:1000', 'd'] });
  assert.equal(lines.length, 4);
  const start = JSON.parse(lines[0]);
  assert.equal(start.items.length, 256, 'the item count is capped; missing slots are empty items');
  assert.deepEqual([start.items[0].text, start.items[0].x, start.items[1].id], ['12', 0, 0]);
  assert.match(lines[2], /"page":1/);
});

test('the interface the page layer uses', () => {
  const c = content({
    settings: { TimerMode: 0, ExPNG: 0, Vertical: 1 },
    materials: [{ id: 200, type: 1, width: 8, height: 8, file: 'images/m200.png', missing: true }],
    pages: [page({ id: 1, defitem: 1, background: 'images/bg1.jpg' }, [{ id: 1, pic_no: 200 }])],
  });
  const seen = [];
  const sim = OrinEngine.create(c, { observer: { repaint: () => seen.push('repaint'), shownPage: (n) => seen.push(n) } });
  sim.engine.showPage(1);
  assert.deepEqual(seen, [1, 'repaint']);
  assert.equal(sim.engine.vertical(), true);
  assert.equal(sim.engine.exPng(), false);
  assert.deepEqual(sim.engine.page().background, { file: 'images/bg1.jpg', missing: false });
  assert.deepEqual(sim.engine.items()[0].image,
    { id: 200, type: 1, file: 'images/m200.png', missing: true, width: 8, height: 8 });
  assert.equal(sim.engine.focusItem(), 1);
  assert.equal(typeof OrinEngine.KEYS.refresh, 'number');
});

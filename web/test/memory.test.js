// SPDX-License-Identifier: MIT
// The memory and interaction commands (X and Q) and digit entry.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const { OrinEngine, page, content, start, texts } = require('./helpers.js');

function record(id, field, value) {
  return { id, [field]: value, item: 0, label: '', changed: 0 };
}

function memorySet() {
  return content({
    texts: [record(1, 'text', '[#1]alpha\r\nmore[#2]beta\r\n[#7]seven'), record(2, 'text', 'plain'),
      record(3, 'text', '[#4]beta[#5]alpha'), record(5, 'text', 'x:y:z')],
    macros: [record(1, 'macro', '[#1]X[#3]three\rcut'), record(6, 'macro', 'B:2:9')],
    pages: [
      page({ id: 1, defitem: 1 }, [{ id: 1 }, { id: 9, text: 'nine' }, { id: 8, idg: 1 }]),
      page({ id: 2, defitem: 1 }, [{ id: 1 }]),
    ],
  });
}

// [action, input afterwards, {register: value} afterwards]
const cases = [
  ['Xk:1:1', 'alpha', {}],
  ['Xk:1:2,Xi:3', 'beta', { 3: 'beta' }],
  ['Xk:2:5', 'plain', {}],
  ['Xk:1:9', '', {}],                              // no such label: input unchanged
  ['Xn:5:0,Xk:0:0', '', {}],
  ['Xn:12:0,Xi:1,Xa:1,Xa:1', '12', { 1: '121212' }],
  ['Xn:12:1,Xn:3:0,Xr:0', '', { 1: '12' }],
  ['Xn:12:1,Xr:1', '', { 1: '' }],
  ['Xn:12:1,Xc:1:2,Xc:1:0', '12', { 2: '12' }],
  ['Xn:1:1,Xn:2:2,Xl:1:2,Xn:9:0,Xl:2:0', '921', { 2: '21' }],
  ['Xn:123:1,Xd:1,Xd:2', '', { 1: '12', 2: '' }],
  ['Xn:5:1,Xn:5:2,Xe:1:2', '1', {}],
  ['Xn:5:1,Xn:6:2,Xe:1:2', '0', {}],
  ['Xn:5:0,Xe:0:2', '5', {}],                      // a = 0: nothing
  ['Xn:7:0,Xi:1,Xn:1:0,Xa:1,Xc:1:0', '71', { 1: '71' }],
  ['Xk:5:0,Xp:10:2', 'x:y:z', { 10: 'x', 11: 'y', 12: '' }],
  ['Xk:5:0,Xp:20:5', 'x:y:z', { 20: 'x', 21: 'y', 22: 'z', 23: '' }],
  ['Xk:1:1,Xl:0:0,Xn:2:0,Xt', '', {}],
  ['Xn:40:3,Xn:3:4,Xv:4:5', '', { 5: '40' }],
  ['Xv:4:300', '', {}],
  ['Xn:1:0,Xq:0:3', '1', {}],                      // "1" is no section of text 3: unchanged
  ['Xk:1:2,Xq:0:3', '4', {}],                      // "beta" is labelled 4 in text 3
  ['Xn:2:0,Xi:4,Xk:1:7,Xq:0:2', 'seven', {}],      // a text without sections ends the search
  ['Qo:1:20,Qo:2:21,Qo:9:22', '', { 20: '3', 21: '1', 22: '0' }],
  ['Xn:3:2,Qk:1:2', 'three', {}],                  // cut at the carriage return
  ['Xn:4:2,Qk:1:2', '', {}],
  ['Xn:1:20,Xn:7:21,Ql:20:21', 'seven', {}],
  ['Ql:20:21', '', {}],                            // register 20 is empty
  ['Xn:5:0,Ql:0:0', '', {}],
  ['Xn:2:0,Xi:30,Xn:1:0,Xp:30:2,Xn:4:0', '4', { 30: '1', 31: '' }],
  ['Xk:1:1,Xp:250:10', 'alpha', {}],               // the range passes register 255
];

test('memory commands, one table', () => {
  for (const [action, input, registers] of cases) {
    const sim = start(memorySet(), 1);
    const e = sim.engine;
    e.runAction(0, 0, action, 0);
    assert.equal(e.input(), input, action);
    for (const [i, value] of Object.entries(registers)) assert.equal(e.memory(Number(i)), value, `${action} mem[${i}]`);
  }
});

test('registers and the input survive page changes and a reset; Xs shows a register', () => {
  const sim = start(memorySet(), 1);
  const e = sim.engine;
  e.runAction(0, 0, 'Xn:42:3,Xs:3:9,Xn:7:0', 0);
  assert.equal(texts(e)[9], '42');
  e.showPage(2);
  e.resetCanvas();
  e.showPage(1);
  assert.equal(e.memory(3), '42');
  assert.equal(e.input(), '7');
  assert.equal(texts(e)[9], 'nine');
});

test('Xg, Xh and Xj show the page a register holds; Xm and Qm run macros', () => {
  for (const sub of ['g', 'h', 'j']) {
    const sim = start(memorySet(), 1);
    sim.engine.runAction(0, 0, `Xn:2:5,X${sub}:5`, 0);
    assert.equal(sim.engine.shownPageNumber(), 2, sub);
  }
  const sim = start(memorySet(), 1);
  sim.engine.runAction(0, 0, 'Xn:6:5,Xm:5', 0);
  assert.equal(sim.engine.items()[1].item.bcolor, 8, 'the macro is posted');
  sim.settle();
  assert.equal(sim.engine.items()[1].item.bcolor, 2);
  sim.engine.runAction(0, 0, 'B:8:9,Qm:6', 0);
  sim.settle();
  assert.equal(sim.engine.items()[1].item.bcolor, 2);
});

test('Xq with a register runs the macro labelled by the matching section', () => {
  const c = memorySet();
  c.texts.push(record(4, 'text', '[#6]go\r\n'));
  const sim = start(c, 1);
  sim.engine.runAction(0, 0, 'Xk:4:6,Xi:2,Xq:2:4', 0);
  sim.settle();
  assert.equal(sim.engine.items()[1].item.bcolor, 2, 'macro 6 ran');
});

test('digit entry shows the typed digits on the target item', () => {
  const sim = start(memorySet(), 1);
  const e = sim.engine;
  let buttons = null;
  e.setObserver({ digitEntryChanged: (on) => { buttons = on; } });
  e.enterDigit(4);
  assert.equal(texts(e)[9], 'nine');
  e.runAction(0, 0, 'Xf:1:9', 0);
  assert.equal(buttons, true);
  assert.equal(e.input(), '');
  e.enterDigit(1);
  e.enterDigit(10);
  assert.equal(texts(e)[9], '110');
  assert.equal(e.digitEntry(), true);
  e.runAction(0, 0, 'Xf:0:9', 0);
  e.enterDigit(2);
  assert.equal(buttons, false);
  assert.equal(texts(e)[9], '110');
  assert.equal(e.input(), '1102');
});

test('Qc and Qg move and size an item; Qc on a cursor-only item switches it on', () => {
  const sim = start(memorySet(), 1);
  const e = sim.engine;
  e.runAction(0, 0, 'Qg:5:5,Qc:1:9,Qg:300:200', 0);
  assert.deepEqual([e.items()[1].item.x, e.items()[1].item.y], [300, 200]);
  e.runAction(0, 0, 'Qc:2:9,Qg:50:60', 0);
  assert.deepEqual([e.items()[1].item.width, e.items()[1].item.height], [50, 60]);
  e.runAction(0, 0, 'Qc:1:8', 0);
  assert.equal(e.cursorOnlyItem(), 8);
  e.runAction(0, 0, 'Qc:0:8', 0);
  assert.equal(e.cursorOnlyItem(), 0);
  e.showPage(1);
  e.runAction(0, 0, 'Qg:1:1', 0);
  assert.equal(e.items()[1].item.x, 0, 'showing the page ends the move mode');
});

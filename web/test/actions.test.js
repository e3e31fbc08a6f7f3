// SPDX-License-Identifier: MIT
// The interpreter of action strings: the plain number, the one-letter commands, sections of
// texts and macros, and the loop guard.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const { OrinEngine, page, content, start, texts } = require('./helpers.js');

const K = OrinEngine.KEYS;

function record(id, field, value) {
  return { id, [field]: value, item: 0, label: '', changed: 0 };
}

// Page 1: item 1 (focused) runs `ret` on enter; items 2..4 and 7 are there to be changed.
function withRet(ret, extra) {
  return content(Object.assign({
    pictures: [{ id: 5, type: 0, width: 10, height: 10, file: 'five.jpg' }],
    materials: [{ id: 205, type: 1, width: 10, height: 10, file: 'm.png' }, { id: 206, type: 1, file: '' }],
    texts: [record(3, 'text', '[#1]first[#2]second'), record(4, 'text', 'whole'),
      record(6, 'text', '[#2]two[#3]three')],
    macros: [record(4, 'macro', 'B:9:2'), record(5, 'macro', '[#1]T:3:3[#2]T:4:3[#3]G:2')],
    pages: [
      page({ id: 1, defitem: 1 }, [
        { id: 1, ret, text: 'one' }, { id: 2, text: 'two' }, { id: 3, text: 'three', idg: 2 },
        { id: 4, text: 'four' }, { id: 7, text: 'seven' },
      ]),
      page({ id: 2, defitem: 1 }, [{ id: 1, text: 'p2' }]),
    ],
  }, extra));
}

function afterEnter(ret, extra) {
  const sim = start(withRet(ret, extra), 1);
  sim.engine.pressKey(K.enter);
  sim.settle();
  return sim;
}

test('the edge cases of action strings', () => {
  // P:205:0,T:3:7 sets image 205 on the focused item and the next section of text 3 on item 7
  let e = afterEnter('P:205:0,T:3:7').engine;
  assert.equal(e.pictureNumber(1), 205);
  assert.equal(e.items()[0].image.file, 'm.png');
  assert.equal(texts(e)[7], 'first');
  // P:205 (no second number) does nothing and ends the action
  e = afterEnter('P:205,B:3:2').engine;
  assert.equal(e.pictureNumber(1), 0);
  assert.equal(e.items()[1].item.bcolor, 8);
  // A:4,G:2 runs macro 4 and ignores the G entry
  e = afterEnter('A:4,G:2').engine;
  assert.equal(e.shownPageNumber(), 1);
  assert.equal(e.items()[1].item.bcolor, 9);
  // "0" does nothing; a letter that is no command ends the action
  e = afterEnter('0').engine;
  assert.equal(e.shownPageNumber(), 1);
  e = afterEnter('Y:1,G:2').engine;
  assert.equal(e.shownPageNumber(), 1);
  // a plain number in ret shows that page, whatever follows
  e = afterEnter('2,G:1').engine;
  assert.equal(e.shownPageNumber(), 2);
});

test('item commands change only the display state', () => {
  const c = withRet('B:3:2,F:6:4,H:0:2,K:1:2,p:5:4,P:206:7,P:999:2,V:4');
  const sim = afterEnter(null, {});
  sim.engine.runAction(0, 0, c.pages[0].items[0].ret, 0);
  const e = sim.engine;
  assert.equal(e.items()[1].item.bcolor, 3);
  assert.equal(e.items()[3].item.color, 6);
  assert.equal(e.isVisible(2), false);
  assert.equal(e.pictureNumber(4), 5);
  assert.equal(e.items()[3].image.type, 0);
  assert.equal(e.pictureNumber(7), 206);
  assert.equal(e.items()[4].image, null, 'a record without a file shows no image');
  assert.equal(e.items()[1].image, null, 'an id that names no record shows no image');
  assert.equal(e.page().tvitem, 4);
  e.showPage(1);
  assert.equal(e.items()[1].item.bcolor, 8, 'showing the page again starts from the content');
  assert.equal(e.isVisible(2), true);
});

test('T steps through the sections of a text and wraps; R steps back', () => {
  const sim = start(withRet('T:3:3'), 1);
  const e = sim.engine;
  const seen = [];
  for (let i = 0; i < 3; ++i) {
    e.pressKey(K.enter);
    seen.push(texts(e)[3]);
  }
  assert.deepEqual(seen, ['first', 'second', 'first']);
  assert.equal(e.textState(3), 3);
  assert.equal(e.textSource(3), 3);
  e.runAction(0, 0, 'R:3:3', 0);
  assert.equal(texts(e)[3], 'second');
  e.runAction(0, 0, 'T:4:3', 0); // another text starts at its first section
  assert.equal(texts(e)[3], 'whole');
  assert.equal(e.textState(3), 3);
  e.runAction(0, 0, 'T:4:3', 0); // a text without sections has no next one: state 1
  assert.equal(texts(e)[3], 'whole');
  assert.equal(e.textState(3), 1);
  assert.equal(e.textSection(3), 0);
});

test('T after I steps on from the acting item id as a section, also the largest id', () => {
  const c = withRet('T:3:4,I:3:4,T:3:4,T:3:4');
  c.pages[0].items[0].id = 2147483647;
  c.pages[0].defitem = 2147483647;
  const sim = start(c, 1);
  sim.engine.pressKey(K.enter);
  // first, then the section labelled 2147483647 (none), then past the last: the first, the second
  assert.equal(texts(sim.engine)[4], 'second');
  assert.equal(sim.engine.textSection(4), 2);
});

test('textid and S show the sections labelled with the item ids', () => {
  const c = withRet('S:6');
  c.pages[0].textid = 6;
  const sim = start(c, 1);
  const e = sim.engine;
  assert.deepEqual(texts(e), { 1: 'one', 2: 'two', 3: 'three', 4: 'four', 7: 'seven' });
  assert.equal(e.textState(2), 2);
  assert.equal(e.textState(1), 0);
  e.runAction(0, 0, 'S:4', 0); // a text without sections: state 2, the texts stay
  assert.equal(e.textState(1), 2);
  assert.equal(texts(e)[1], 'one');
});

test('I shows the section labelled with the acting item; from a macro, the focused item', () => {
  const c = withRet('I:6:7');
  c.pages[0].items[0].id = 3;
  c.pages[0].items[2].id = 8;
  c.pages[0].defitem = 3;
  const sim = start(c, 1);
  sim.engine.pressKey(K.enter);
  assert.equal(texts(sim.engine)[7], 'three');
  assert.equal(sim.engine.textState(7), 4);
  c.macros.push(record(9, 'macro', 'I:6:4'));
  const sim2 = start(c, 1);
  sim2.engine.runMacro(9, true);
  assert.equal(texts(sim2.engine)[4], 'three');
});

test('macros run section by section, forwards and backwards, within their limit', () => {
  const sim = start(withRet('A:5'), 1);
  const e = sim.engine;
  e.pressKey(K.enter);
  sim.settle();
  assert.equal(texts(e)[3], 'first');
  e.runMacro(5, false); // back from 1 wraps to the last section, which shows page 2
  assert.equal(e.shownPageNumber(), 2);
  assert.equal(e.macroPosition(5), 0, 'showing a page starts every macro again');
  e.showPage(1);
  e.runAction(0, 0, 'Xn:2:9,Qs:5:9', 0);
  assert.equal(e.macroLimit(5), 2);
  for (let i = 0; i < 3; ++i) e.runMacro(5, true);
  assert.equal(e.macroPosition(5), 1, 'the third run starts again at 1');
  e.runAction(0, 0, 'Qs:5:0', 0);
  assert.equal(e.input(), '3');
  assert.equal(e.macroLimit(5), 0);
});

test('one event does at most 1000 action entries: a macro that runs itself ends with one message', () => {
  const c = withRet('A:8');
  c.macros.push(record(8, 'macro', 'Xa:1,A:8'));
  const sim = start(c, 1);
  sim.engine.runAction(0, 0, 'Xn:1:0', 0); // input "1"
  sim.engine.pressKey(K.enter);
  assert.equal(sim.settle(), true);
  assert.deepEqual(sim.messages, ['無限ループになります。']);
  // 1000 entries: "A:8" of the ret, then 499 runs of the macro's two and the first of the 500th
  assert.equal(sim.engine.memory(1).length, 500);
  sim.messages.length = 0;
  sim.engine.pressKey(K.enter); // the next key is a chain of its own
  sim.settle();
  assert.equal(sim.messages.length, 1);
  const lines = OrinEngine.simulate(c, { keys: 'enter' });
  assert.deepEqual(JSON.parse(lines[1]).messages, ['無限ループになります。']);
});

test('a tripped chain ends as a whole: its posted commands are dropped, its page does not start', () => {
  // Qm:5 posts macro 5 before Qb:1:1 recurses into the guard: the macro never runs.
  const c = withRet('Qm:5,Qb:1:1');
  c.macros.push(record(5, 'macro', 'B:4:2'));
  let sim = start(c, 1);
  sim.engine.pressKey(K.enter);
  sim.settle();
  assert.equal(sim.messages.length, 1);
  assert.equal(sim.engine.items()[1].item.bcolor, 8);
  // A page whose focus chain trips the guard starts no timers.
  const d = content({ pages: [page({ id: 1, defitem: 1, timer: 1 }, [1, 2, 3, 4, 5, 6].map((id) => ({ id, focus: id < 6 ? `M:${id + 1}` : 'B:4:1' })))] });
  sim = start(d, 1);
  assert.equal(sim.messages.length, 1);
  assert.equal(sim.engine.focusItem(), 6);
  assert.equal(sim.engine.items()[0].item.bcolor, 8, 'the action at the sixth level did not run');
  assert.equal(sim.clock.isRunning(OrinEngine.constants.kItemTimer), false);
  assert.equal(sim.clock.isRunning(OrinEngine.constants.kPageTimer), false);
  d.pages[0].items.pop();
  d.pages[0].items[4].focus = 'B:4:1';
  sim = start(d, 1);
  assert.equal(sim.messages.length, 0, 'a chain of five is allowed');
  assert.equal(sim.engine.items()[0].item.bcolor, 4);
  assert.equal(sim.clock.isRunning(OrinEngine.constants.kItemTimer), true);
});

test('the loop guard stops a focus chain deeper than five actions with one message', () => {
  const c = content({
    pages: [page({ id: 1, defitem: 1 }, [
      { id: 1, focus: 'M:2' }, { id: 2, focus: 'M:1' }, { id: 3, focus: 'F:2:3', down: '1' },
    ])],
  });
  const sim = start(c, 1);
  assert.deepEqual(sim.messages, ['無限ループになります。']);
  assert.equal(sim.engine.focusItem(), 2, 'the focus changes happened');
});

test('posted focus changes carry their depth to the guard', () => {
  // Plain numbers in focus strings post the focus change; the chain 1 -> 2 -> 1 ... ends at
  // the guard after the queue has run: focus 1, 2, 1, 2, 1 run their actions, the sixth
  // focus change (to 2) happens without.
  const c = content({ pages: [page({ id: 1, defitem: 1 }, [{ id: 1, focus: '2' }, { id: 2, focus: '1' }])] });
  const sim = start(c, 1);
  assert.equal(sim.messages.length, 1);
  assert.equal(sim.engine.focusItem(), 2);
});

test('Qn and Qb run strings one level deeper', () => {
  const c = content({
    pages: [page({ id: 1, defitem: 1 }, [
      { id: 1, ret: 'Xi:1,Qn:1' },
      { id: 2, ret: 'Qb:2:1' },
      { id: 3, ret: 'Qb:0:2', up: 'B:4:3' },
    ])],
  });
  let sim = start(c, 1);
  sim.engine.runAction(0, 0, 'Xn:0:0,Xc:0:0', 0); // input "0"
  sim.engine.runAction(-1, 1, 'Xt,Qn:5', 0); // an empty register runs nothing
  assert.equal(sim.messages.length, 0);
  sim.engine.runAction(1, 0, 'Qb:2:1', 0);
  assert.equal(sim.messages.length, 1, 'a ret that runs itself through Qb meets the guard');
  sim = start(c, 1);
  sim.engine.focus(3, 0);
  sim.engine.runAction(2, 0, 'Qb:0:2', 0);
  assert.equal(sim.engine.items()[2].item.bcolor, 4, 'Qb with 0 takes the remembered focus');
});

test('an action is cut after 100 entries', () => {
  const sim = start(withRet(''), 1);
  sim.engine.runAction(0, 0, 'Xd:9,'.repeat(100) + 'B:1:2', 0);
  assert.equal(sim.engine.items()[1].item.bcolor, 8);
  sim.engine.runAction(0, 0, 'Xd:9,'.repeat(99) + 'B:1:2', 0);
  assert.equal(sim.engine.items()[1].item.bcolor, 1);
});

test('command letters are matched as the editor maps their case', () => {
  const sim = start(withRet(''), 1);
  const e = sim.engine;
  e.runAction(0, 0, 'b:3:2,\u0131:6:3', 0); // dotless i is I in upper case
  assert.equal(e.items()[1].item.bcolor, 3);
  assert.equal(e.textState(3), 4);
  e.runAction(0, 0, 'xn:7:0,X\u0130:12', 0); // dotted capital I is i in lower case
  assert.equal(e.memory(12), '7');
  e.runAction(0, 0, '\uff30:5:2', 0); // a full-width letter is no command
  assert.equal(e.pictureNumber(2), 0);
});

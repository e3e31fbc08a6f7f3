// SPDX-License-Identifier: MIT
// Small content sets for the engine's tests, in content.js form: a page is made from a few
// fields, an item from its id, box and action strings; the rest takes the editor's defaults.
'use strict';

const OrinEngine = require('../engine.js');

function item(fields) {
  return Object.assign({
    id: 1, idg: 0, parent: 0, x: 0, y: 0, width: 100, height: 40,
    focus: '0', outfocus: '0', ret: '0', up: '', down: '', left: '', right: '',
    pic_no: 0, text_no: 0, margin_x: 0, margin_y: 0, color: 7, size: 20, bcolor: 8,
    wordwrap: 0, text: '',
  }, fields);
}

function page(fields, items) {
  const p = Object.assign({
    id: 1, comment: '', changed: 0, defitem: 0, tvitem: 0, clock: 0, marquee: 0,
    marquee_speed: 3, timer: 0, timer_item: 0, timer_ino: 0, textid: 0, curcol: 3,
    backcol: 8, cursize: 2, return_: 0, back: 0, data: 0, up: 0, down: 0, left: 0, right: 0,
    blue: 0, red: 0, green: 0, yellow: 0, memory: 0, cursor: 0, smacro: 0,
    background: '', backgroundMissing: false,
  }, fields);
  p.items = (items || []).map(item);
  p.itemCount = p.items.length;
  return p;
}

function content(fields) {
  return Object.assign({
    format: 1,
    settings: { TimerMode: 0, ExPNG: 1, Vertical: 0 },
    functionValue: '',
    pages: [],
    pictures: [],
    materials: [],
    texts: [],
    channels: [],
    webPages: [],
    macros: [],
    sounds: [],
    functions: [],
    colours: [],
  }, fields);
}

// A simulation on `c` showing page `n`, with the messages it showed.
function start(c, n, options) {
  const messages = [];
  const sim = OrinEngine.create(c, Object.assign({
    observer: { showMessage: (text) => messages.push(text) },
  }, options));
  sim.messages = messages;
  sim.engine.showPage(n === undefined ? 1 : n);
  sim.settle();
  return sim;
}

// The shown text of every display item, by id.
function texts(engine) {
  const out = {};
  for (const entry of engine.items()) out[entry.item.id] = entry.item.text;
  return out;
}

module.exports = { OrinEngine, item, page, content, start, texts };

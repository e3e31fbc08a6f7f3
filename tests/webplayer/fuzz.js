// SPDX-License-Identifier: MIT
// The differential fuzz of the two receivers: a seeded generator of content sets (pages,
// items, action strings, texts and macros with sections, timers, marquees, clocks) and key
// sequences, each case run through orinedit-cli simulate --json and through the engine.
//
//   node tests/webplayer/fuzz.js [COUNT] [FIRST_SEED]   runs COUNT cases (default 200)
//   node tests/webplayer/fuzz.js --case SEED            prints the case and both outputs
// A difference prints the case's number, the first differing line of both, and leaves the case's
// project file in a folder it names; exit 1.
'use strict';

const fs = require('fs');
const path = require('path');
const R = require('./receivers.js');
const { page, content } = require('../../web/test/helpers.js');
const { text, macro } = require('./scenarios.js');

// The smallest files: the CLI copies and decodes a picture each time an item shows one.
const pictures = [1, 2, 3].map((id) => ({ id, item: 0, type: 0, width: 320, height: 180, label: '', file: 'photo.jpg' }));
const materials = [200, 201].map((id) => ({ id, item: 0, type: 1, width: 240, height: 56, label: '', file: 'button.png' }));

// mulberry32: small, fast and the same everywhere.
function rng(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const r = {
    next,
    int: (lo, hi) => lo + Math.floor(next() * (hi - lo + 1)),
    pick: (list) => list[Math.floor(next() * list.length)],
    chance: (p) => next() < p,
  };
  return r;
}

const kPageIds = [1, 2, 3, 5];
const kTargets = [0, 0, 1, 2, 3, 5, 7, 254, 255, 1000, 2000];
const kImageIds = [0, 1, 2, 3, 200, 201, 999, -1];
const kIdg = [0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 50, 55];
const kOddLetters = ['ı', 'İ', 'K', 'ſ', 'Ｐ', ' ', '#', ':', ',', '-'];

function number(r, small) {
  if (r.chance(0.04)) return r.pick([-1, -7, 256, 300, 65536, 2147483647, -2147483648, 99999999999]);
  return r.int(0, small);
}

function letterCase(r, letter) {
  return r.chance(0.3) ? letter.toLowerCase() : letter;
}

// One entry of an action string.
function entry(r) {
  switch (r.int(0, 9)) {
    case 0:
    case 1: {
      const letter = letterCase(r, r.pick(['P', 'T', 'R', 'I', 'B', 'F', 'H', 'K']));
      const v = letter.toUpperCase() === 'P' ? r.pick(kImageIds) : number(r, letter.toUpperCase() === 'B' || letter.toUpperCase() === 'F' ? 9 : 5);
      if (r.chance(0.05)) return `${letter}:${v}`; // without its second number
      return `${letter}:${v}:${number(r, 7)}`;
    }
    case 2:
    case 3: {
      const letter = letterCase(r, r.pick(['G', 'M', 'C', 'W', 'S', 'O', 'A', 'E', 'Z', 'U', 'V']));
      const upper = letter.toUpperCase();
      const n = upper === 'G' ? r.pick(kTargets) : upper === 'U' ? r.pick([0, 3, 4, 7, 8, 9]) : number(r, 5);
      return `${letter}:${n}`;
    }
    case 4:
    case 5: {
      const x = letterCase(r, 'X');
      const sub = letterCase(r, r.pick('kiarcldespfntghjmvq'.split('')));
      return r.chance(0.8) ? `${x}${sub}:${number(r, 8)}:${number(r, 8)}` : `${x}${sub}:${number(r, 8)}`;
    }
    case 6: {
      const q = letterCase(r, 'Q');
      const sub = letterCase(r, r.pick('mnklacgdsob'.split('')));
      return `${q}${sub}:${number(r, 7)}:${number(r, sub.toLowerCase() === 'g' ? 300 : 7)}`;
    }
    case 7: {
      const parts = [r.chance(0.8) ? '$slider' : r.pick(['$SLIDER', '$ſlider', '$other'])];
      if (r.chance(0.9)) parts.push('p' + Array.from({ length: r.int(0, 4) }, () => r.pick(kImageIds)).join('/'));
      if (r.chance(0.7)) parts.push('i' + number(r, 7));
      // Short periods are rare: every tick makes the CLI copy and decode a picture file.
      if (r.chance(0.7)) parts.push('w' + (r.chance(0.05) ? r.pick([0, 5]) : r.pick([100, 250, 1000, 5000])));
      return parts.join(':');
    }
    case 8:
      return String(r.pick([0, 1, 2, 3, 4, 5, 7, 254, 1000]));
    default:
      return r.pick(kOddLetters) + (r.chance(0.5) ? ':1:2' : '');
  }
}

function action(r, maxEntries) {
  if (r.chance(0.25)) return String(r.int(0, 7));
  if (r.chance(0.1)) return '';
  const n = r.int(1, maxEntries);
  const entries = [];
  for (let i = 0; i < n; ++i) entries.push(entry(r));
  return entries.join(',');
}

function shortText(r) {
  const pieces = ['a', 'b', 'ニュース', '晴れ', ' ', '\r\n', '\n', '12', 'x:y', '"', '&', '<', '\t', '\u3000', '😀', '\ud800', '[#', ']'];
  let s = '';
  const n = r.int(0, 5);
  for (let i = 0; i < n; ++i) s += r.pick(pieces);
  return s;
}

function sectioned(r, body) {
  if (r.chance(0.3)) return body(r);
  let s = r.chance(0.2) ? body(r) : '';
  const n = r.int(1, 4);
  for (let i = 0; i < n; ++i) s += `[#${r.pick([1, 2, 3, 5, 10, r.int(0, 12)])}]` + body(r);
  if (r.chance(0.05)) s += '[#9';
  return s;
}

function generateCase(seed) {
  const r = rng(seed);
  const pageCount = r.int(1, 4);
  const ids = kPageIds.slice(0, pageCount);
  const pages = ids.map((id) => {
    const itemCount = r.int(0, 7);
    const itemIds = [];
    for (let i = 0; i < itemCount; ++i) itemIds.push(r.chance(0.85) ? i + 1 : number(r, 8));
    // Arrow strings mostly name an item of the page, so that the focus moves.
    const arrow = () => (itemIds.length && r.chance(0.5) ? String(r.pick(itemIds)) : action(r, 3));
    const items = [];
    for (let i = 0; i < itemCount; ++i) {
      items.push({
        id: itemIds[i],
        idg: r.pick(kIdg),
        x: r.int(0, 9) * 50, y: r.int(0, 5) * 50, width: r.int(0, 4) * 50, height: r.int(0, 3) * 40,
        pic_no: r.pick(kImageIds), text_no: r.chance(0.3) ? r.int(1, 4) : 0,
        size: r.pick([0, 10, 20, 28, 40]),
        color: r.int(0, 9), bcolor: r.int(0, 9),
        text: shortText(r),
        // Focus actions that move the focus again make the chains the loop guard stops.
        focus: r.chance(0.2) && itemIds.length ? r.pick(['', 'M:']) + r.pick(itemIds)
          : r.chance(0.05) ? `G:${id}` : r.chance(0.4) ? action(r, 3) : '0',
        outfocus: r.chance(0.3) ? action(r, 3) : '0',
        ret: r.chance(0.3) ? String(r.pick(kTargets)) : action(r, 5),
        up: arrow(), down: arrow(), left: arrow(), right: arrow(),
      });
    }
    const target = () => r.pick(kTargets);
    return page({
      id,
      defitem: itemIds.length && r.chance(0.8) ? r.pick(itemIds) : r.int(0, 8),
      timer: r.chance(0.3) ? r.int(1, 3) : 0,
      timer_item: r.chance(0.3) ? r.int(0, 2) : 0,
      timer_ino: r.chance(0.3) ? r.int(0, 8) : 0,
      marquee: r.chance(0.3) ? r.int(0, 8) : 0,
      marquee_speed: r.int(0, 6),
      clock: r.chance(0.2) ? r.int(0, 8) : 0,
      textid: r.chance(0.3) ? r.int(0, 4) : 0,
      cursor: r.int(0, 1),
      memory: r.chance(0.15) ? 254 : r.pick([0, 0, 1, 2, 3]),
      smacro: r.chance(0.3) ? r.int(0, 4) : 0,
      return_: target(), back: target(), data: target(), up: target(), down: target(),
      left: target(), right: target(), blue: target(), red: target(), green: target(), yellow: target(),
    }, items);
  });
  const texts = [];
  for (let id = 1; id <= 4; ++id) if (r.chance(0.8)) texts.push(text(id, sectioned(r, shortText)));
  const macros = [];
  for (let id = 1; id <= 4; ++id) {
    if (r.chance(0.05)) macros.push(macro(id, `A:${id}`)); // runs itself without end
    else if (r.chance(0.8)) macros.push(macro(id, sectioned(r, (rr) => action(rr, 3))));
  }
  const c = content({
    settings: { TimerMode: r.int(0, 3), ExPNG: r.int(0, 1), Vertical: r.int(0, 1) },
    pages, pictures, materials, texts, macros,
  });
  const keyCount = r.int(1, 12);
  const keys = [];
  const names = Object.keys(R.OrinEngine.KEYS);
  for (let i = 0; i < keyCount; ++i) {
    switch (r.int(0, 5)) {
      case 0: keys.push(`digit:${r.int(1, 10)}`); break;
      case 1: keys.push(`click:${r.int(-1, 460)}:${r.int(-1, 300)}`); break;
      case 2: keys.push(`wait:${r.pick([0, 1, 99, 100, 300, 500, 1000, 2500])}`); break;
      default: keys.push(r.pick(names));
    }
  }
  const run = { page: r.pick(ids), keys, clock: r.chance(0.3) ? r.pick(['00:00', '23:59', '08:30']) : undefined };
  return { seed, content: c, run };
}

// Runs `count` cases from `firstSeed`; returns the cases that differ.
function runCases(count, firstSeed, log) {
  const folder = R.tempDir('orin-web-fuzz-');
  const differences = [];
  for (let seed = firstSeed; seed < firstSeed + count; ++seed) {
    const c = generateCase(seed);
    const file = path.join(folder, `case-${seed}.bjpx`);
    R.bjpx.writeProject(c.content, file, R.assetFolder);
    const expected = R.cliLines(file, c.run);
    const actual = R.engineLines(R.bjpx.asLoaded(c.content), c.run);
    const difference = R.firstDifference(expected, actual);
    if (difference) {
      differences.push({ seed, file, run: c.run, difference });
      if (log) log(`seed ${seed}: line ${difference.line} differs (${file})\n  cli:    ${difference.expected}\n  engine: ${difference.actual}`);
    } else {
      fs.rmSync(file);
    }
  }
  if (differences.length === 0) fs.rmSync(folder, { recursive: true, force: true });
  return differences;
}

module.exports = { generateCase, runCases, rng };

if (require.main === module) {
  const args = process.argv.slice(2);
  if (args[0] === '--case') {
    const c = generateCase(Number(args[1]));
    const file = path.join(R.tempDir('orin-web-case-'), 'case.bjpx');
    R.bjpx.writeProject(c.content, file, R.assetFolder);
    console.log(JSON.stringify(c.run));
    console.log(file);
    const expected = R.cliLines(file, c.run);
    const actual = R.engineLines(R.bjpx.asLoaded(c.content), c.run);
    for (let i = 0; i < Math.max(expected.length, actual.length); ++i) {
      const same = expected[i] === actual[i];
      console.log(`${same ? '=' : '!'} cli    ${expected[i]}`);
      if (!same) console.log(`! engine ${actual[i]}`);
    }
    process.exit(R.firstDifference(expected, actual) ? 1 : 0);
  }
  const count = Number(args[0] || 200);
  const first = Number(args[1] || 1);
  const differences = runCases(count, first, (line) => console.log(line));
  console.log(`${count} cases from seed ${first}: ${differences.length} differences`);
  process.exit(differences.length ? 1 : 0);
}

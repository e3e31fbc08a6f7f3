// SPDX-License-Identifier: MIT
// The receiver engine of the web player: the remote-control keys, the interpreter of action
// strings, the timers, the marquee, the clock and the picture animations, on the display state
// of the shown page. It is the same receiver as the editor's preview, line for line: the engine
// knows no DOM and no real time. Time and the event loop come through the clock and the command
// queue of create(); the page layer learns of changes through the observer and reads the state
// through the getters.
//
// A classic script (no modules, no fetch): it runs from file:// in the page and under Node.
//
// Interface, in short (names follow the editor's preview engine):
//   OrinEngine.KEYS                       key codes by the command-line key names
//   OrinEngine.create(content, {clock: "HH:MM", observer}) -> sim
//       sim.engine   the engine (below)
//       sim.clock    the simulated clock: advance(ms) fires due timers in time order and runs
//                    the commands each posts; now() in ms since the start; localTime() "HH:MM"
//       sim.settle() runs the posted commands; false when a step did not settle
//   OrinEngine.press(sim, keyName)        one key as `orinedit-cli simulate` applies it
//                                         (enter ... refresh, digit:N, click:X:Y, wait:MS);
//                                         false when the step did not settle
//   OrinEngine.simulate(content, {page, keys, clock}) -> the lines of `simulate --json`
// The observer may have repaint(), redrawItemDirect(itemId, text), showMessage(text, caption),
// digitEntryChanged(on), pageChanging() and shownPage(n); every one is optional.
// engine.items() gives the display list: {item, image} per entry, `item` with the fields of a
// page item (as changed by the actions), `image` null or {type, file, missing, width, height,
// id} of the picture or material record the item shows. engine.page() gives the shown page's
// attributes and `background` {file, missing}.

'use strict';

var OrinEngine = (function () {
  const KEYS = Object.freeze({
    enter: 0, up: 1, down: 2, left: 3, right: 4, d: 5, back: 6,
    blue: 7, red: 8, green: 9, yellow: 10, refresh: 100,
  });
  const kKeyEnter = 0, kKeyUp = 1, kKeyDown = 2, kKeyLeft = 3, kKeyRight = 4, kKeyData = 5,
    kKeyBack = 6, kKeyBlue = 7, kKeyRed = 8, kKeyGreen = 9, kKeyYellow = 10, kKeyRefresh = 100;

  const kGuideScreen = 254;
  const kVideoScreen = 255;
  const kOtherChannelScreen = 1000;
  const kWebScreen = 2000;

  const kTableSize = 256;
  const kItemSlots = 256;
  const kLoopGuardDepth = 5;
  const kMaxEntries = 100;
  // The work one outside event may do: a key press, a timer tick, a linked click, a page shown
  // from outside or a posted command of the panel, with every focus, outfocus, macro and key
  // command its actions post (they belong to the same chain). Each action entry counts one;
  // entry kMaxChainEntries + 1 trips the loop guard as a focus chain nested deeper than
  // kLoopGuardDepth does. Either way the chain ends: one message, and nothing more of it runs.
  const kMaxChainEntries = 1000;
  const kSliderSlots = 32;
  const kMinSliderPeriodMs = 10;
  const kSettleLimit = 10000;

  const kPageTimer = 100;
  const kMarqueeTimer = 200;
  const kClockTimer = 300;
  const kItemTimer = 400;
  const kSliderTimerBase = 8000;

  const INT_MAX = 2147483647;
  const INT_MIN = -2147483648;

  const Command = Object.freeze({
    Key: 0, LinkedClicks: 1, Timers: 2, Digit: 3, RunMacro: 4, RunMacroBackwards: 5,
    Focus: 6, Outfocus: 7,
  });

  const kLoopMessage = '無限ループになります。';
  const kErrorCaption = 'エラー';
  const kUnsettled = 'stopped after 10000 posted commands';

  function isSpecialScreen(n) {
    return n === kGuideScreen || n === kVideoScreen || n === kOtherChannelScreen || n === kWebScreen;
  }

  function isDigit(c) {
    return c >= '0' && c <= '9';
  }

  // Numbers in files and action strings are read the tolerant way: leading blanks and a sign,
  // then digits up to the first non-digit ("12px" is 12); no digits give 0; clamped to int.
  function parseLeadingInt(text) {
    const n = text.length;
    let i = 0;
    while (i < n) {
      const c = text.charCodeAt(i);
      if (c === 32 || (c >= 9 && c <= 13)) ++i; else break;
    }
    let negative = false;
    if (i < n && (text[i] === '-' || text[i] === '+')) {
      negative = text[i] === '-';
      ++i;
    }
    let value = 0;
    for (; i < n; ++i) {
      const c = text.charCodeAt(i);
      if (c < 48 || c > 57) break;
      value = value * 10 + (c - 48);
      if (value > INT_MAX + 1) value = INT_MAX + 1;
    }
    if (negative) value = -value;
    return value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : value);
  }

  // One UTF-16 unit to upper / lower case as the editor's character type maps it; only the
  // mappings that reach an ASCII letter matter to the command letters.
  function toUpperUnit(c) {
    if (c >= 'a' && c <= 'z') return c.toUpperCase();
    if (c === '\u0131') return 'I';
    if (c === '\u017f') return 'S';
    return c;
  }
  function toLowerUnit(c) {
    if (c >= 'A' && c <= 'Z') return c.toLowerCase();
    if (c === '\u0130') return 'i';
    if (c === '\u212a') return 'k';
    return c;
  }
  function foldUnit(c) {
    if (c >= 'A' && c <= 'Z') return c.toLowerCase();
    if (c === '\u017f') return 's';
    if (c === '\u212a') return 'k';
    return c;
  }
  function startsWithFolded(text, prefix) {
    if (text.length < prefix.length) return false;
    for (let i = 0; i < prefix.length; ++i) {
      if (foldUnit(text[i]) !== foldUnit(prefix[i])) return false;
    }
    return true;
  }

  function upToComma(text) {
    const comma = text.indexOf(',');
    return comma < 0 ? text : text.slice(0, comma);
  }
  function afterComma(text) {
    const comma = text.indexOf(',');
    return comma < 0 ? '' : text.slice(comma + 1);
  }

  // ---------------------------------------------------------------- the content set

  function toInt(v) {
    if (typeof v === 'boolean') return v ? 1 : 0;
    if (typeof v !== 'number' || !Number.isFinite(v)) return 0;
    const t = Math.trunc(v);
    return t > INT_MAX ? INT_MAX : (t < INT_MIN ? INT_MIN : t);
  }
  function toFloat(v) {
    return typeof v === 'number' ? Math.fround(v) : 0;
  }
  function toStr(v) {
    if (typeof v === 'string') return v;
    return typeof v === 'number' || typeof v === 'boolean' ? String(v) : '';
  }

  const kPageFields = ['id', 'changed', 'defitem', 'tvitem', 'clock', 'marquee', 'marquee_speed',
    'timer', 'timer_item', 'timer_ino', 'textid', 'curcol', 'backcol', 'cursize', 'return_',
    'back', 'data', 'up', 'down', 'left', 'right', 'blue', 'red', 'green', 'yellow', 'memory',
    'cursor', 'smacro', 'itemCount'];
  const kShownFields = ['id', 'defitem', 'tvitem', 'clock', 'marquee', 'marquee_speed', 'timer',
    'timer_item', 'timer_ino', 'textid', 'curcol', 'backcol', 'cursize', 'return_', 'back',
    'data', 'up', 'down', 'left', 'right', 'blue', 'red', 'green', 'yellow', 'memory', 'cursor',
    'smacro'];
  const kItemInts = ['id', 'idg', 'parent', 'pic_no', 'text_no', 'margin_x', 'margin_y', 'color',
    'size', 'bcolor', 'wordwrap'];
  const kItemFloats = ['x', 'y', 'width', 'height'];
  const kItemStrings = ['focus', 'outfocus', 'ret', 'up', 'down', 'left', 'right', 'text'];

  function makeItem(source) {
    const s = source && typeof source === 'object' ? source : {};
    const item = {};
    for (const f of kItemInts) item[f] = toInt(s[f]);
    for (const f of kItemFloats) item[f] = toFloat(s[f]);
    for (const f of kItemStrings) item[f] = toStr(s[f]);
    return item;
  }
  function copyItem(item) {
    return Object.assign({}, item);
  }

  function makePicture(s) {
    return {
      id: toInt(s.id), item: toInt(s.item), type: toInt(s.type), width: toInt(s.width),
      height: toInt(s.height), label: toStr(s.label), file: toStr(s.file), missing: !!s.missing,
    };
  }

  const kNormalized = typeof Symbol === 'function' ? Symbol('orin.normalized') : '__orinNormalized';

  // A checked copy of content.js's object: every number an int (geometry a float), every
  // string a string, whatever the file held.
  function normalize(content) {
    if (content && content[kNormalized]) return content;
    const c = content && typeof content === 'object' ? content : {};
    const list = (v) => (Array.isArray(v) ? v.filter((r) => r && typeof r === 'object') : []);
    const s = c.settings && typeof c.settings === 'object' ? c.settings : {};
    const model = {
      settings: {
        TimerMode: toInt(s.TimerMode), ExPNG: toInt(s.ExPNG), Vertical: toInt(s.Vertical),
      },
      pages: list(c.pages).map((p) => {
        const page = {};
        for (const f of kPageFields) page[f] = toInt(p[f]);
        page.background = toStr(p.background);
        page.backgroundMissing = !!p.backgroundMissing;
        const items = Array.isArray(p.items) ? p.items : [];
        const count = Math.min(Math.max(page.itemCount, 0), kItemSlots);
        page.items = [];
        for (let i = 0; i < count; ++i) page.items.push(makeItem(items[i]));
        return page;
      }),
      pictures: list(c.pictures).map(makePicture),
      materials: list(c.materials).map(makePicture),
      texts: list(c.texts).map((r) => ({ id: toInt(r.id), text: toStr(r.text) })),
      macros: list(c.macros).map((r) => ({ id: toInt(r.id), macro: toStr(r.macro) })),
    };
    model[kNormalized] = true;
    return model;
  }

  function findById(table, id) {
    for (const record of table) {
      if (record.id === id) return record;
    }
    return null;
  }
  function indexOfId(table, id) {
    for (let i = 0; i < table.length; ++i) {
      if (table[i].id === id) return i;
    }
    return -1;
  }

  // ---------------------------------------------------------------- sections

  // Texts and macros may be divided into sections, each introduced by a marker "[#n]"; the
  // section's content runs from after the "]" to the next "[#" or the end.
  function countSectionMarkers(s) {
    let count = 0;
    let at = s.indexOf('[#');
    while (at >= 0) {
      ++count;
      at = s.indexOf('[#', at + 2);
    }
    return count;
  }

  function splitSections(s) {
    const sections = [];
    let at = s.indexOf('[#');
    while (at >= 0) {
      const next = s.indexOf('[#', at + 2);
      const end = next < 0 ? s.length : next;
      const marker = s.slice(at + 2, end);
      const close = marker.indexOf(']');
      sections.push({ label: parseLeadingInt(marker), content: close >= 0 ? marker.slice(close + 1) : '' });
      at = next;
    }
    return sections;
  }

  function findLive(table, id) {
    return id < 0 ? null : findById(table, id);
  }
  // The section after `k` among `n`: at or past the last, the first again.
  function nextOf(n, k) {
    if (n === 0) return 0;
    return k >= n ? 1 : k + 1;
  }
  function previousOf(n, k) {
    if (n === 0) return 0;
    return k >= 2 ? k - 1 : n;
  }
  function sectionAt(whole, k) {
    if (countSectionMarkers(whole) === 0) return { found: true, text: whole };
    const sections = splitSections(whole);
    if (k < 1 || k > sections.length) return { found: false, text: '' };
    return { found: true, text: sections[k - 1].content };
  }
  function labelledIn(sections, label) {
    for (const section of sections) {
      if (section.label === label) return section;
    }
    return null;
  }
  function cap(n, limit) {
    return limit > 0 && n >= limit ? limit : n;
  }

  function Sections(model) {
    const texts = model.texts;
    const macros = model.macros;
    return {
      textSectionCount(id) {
        const t = findLive(texts, id);
        if (!t) return 0;
        const n = countSectionMarkers(t.text);
        return n === 0 ? 1 : n;
      },
      textNextSection(id, k) {
        if (k === 0) return 1;
        const t = findLive(texts, id);
        return nextOf(t ? countSectionMarkers(t.text) : 0, k);
      },
      textPreviousSection(id, k) {
        if (k === 0) return 1;
        const t = findLive(texts, id);
        return previousOf(t ? countSectionMarkers(t.text) : 0, k);
      },
      textSectionByPosition(id, k) {
        if (id === 0 && texts.length > 0) return { found: true, text: '' };
        const t = findLive(texts, id);
        return t ? sectionAt(t.text, k) : { found: false, text: '' };
      },
      textSectionByLabel(id, label) {
        const t = findLive(texts, id);
        if (!t) return { result: 0, text: '' };
        if (label === 0) return { result: 1, text: t.text };
        if (countSectionMarkers(t.text) === 0) return { result: 2, text: t.text };
        const section = labelledIn(splitSections(t.text), label);
        return section ? { result: 1, text: section.content } : { result: 0, text: '' };
      },
      macroSectionCount(id) {
        const m = findLive(macros, id);
        return m ? countSectionMarkers(m.macro) : 0;
      },
      macroNextSection(id, k, limit) {
        return nextOf(cap(this.macroSectionCount(id), limit), k);
      },
      macroPreviousSection(id, k, limit) {
        return previousOf(cap(this.macroSectionCount(id), limit), k);
      },
      macroSectionByPosition(id, k) {
        const m = findLive(macros, id);
        return m ? sectionAt(m.macro, k) : { found: false, text: '' };
      },
      macroSectionByLabel(id, label) {
        const m = findLive(macros, id);
        if (!m) return { result: 0, text: '' };
        if (label === 0) return { result: 1, text: m.macro };
        if (countSectionMarkers(m.macro) === 0) return { result: 0, text: '' };
        const section = labelledIn(splitSections(m.macro), label);
        return section ? { result: 1, text: section.content } : { result: 0, text: '' };
      },
    };
  }

  // ---------------------------------------------------------------- state tables

  // A 256-entry table indexed by ids that come from files and actions: reads outside 0..255
  // give the default, writes outside are ignored.
  class CheckedTable {
    constructor(initial) {
      this.initial = initial;
      this.values = new Array(kTableSize).fill(initial);
    }
    static inRange(i) {
      return i >= 0 && i < kTableSize;
    }
    get(i) {
      return CheckedTable.inRange(i) ? this.values[i] : this.initial;
    }
    set(i, v) {
      if (CheckedTable.inRange(i)) this.values[i] = v;
    }
    fill(v) {
      this.values.fill(v);
    }
  }
  const inRange = CheckedTable.inRange;

  function emptyShownPage() {
    const shown = {};
    for (const f of kShownFields) shown[f] = 0;
    shown.background = null;
    return shown;
  }

  function emptySlider() {
    return { inUse: false, itemId: 0, periodMs: 0, index: 0, imageIds: [] };
  }

  function pad2(n) {
    return n < 10 ? '0' + n : String(n);
  }

  // ---------------------------------------------------------------- the engine

  class Engine {
    constructor(model, timers, queue) {
      this.m_model = model;
      this.m_settings = model.settings;
      this.m_sections = Sections(model);
      this.m_timers = timers;
      this.m_queue = queue;
      this.m_observer = null;
      // The chain of the outside event that runs now; null between events.
      this.m_chain = null;

      this.m_shownPage = 1;
      this.m_previousPage = 0;
      this.m_lastPage = 0;
      this.m_page = emptyShownPage();
      this.m_items = [];
      this.m_generation = 0;

      this.m_focus = 0;
      this.m_rememberedFocus = new CheckedTable(0);
      this.m_memoryPage = 0;
      this.m_keyRestartsTimer = false;
      this.m_visible = new CheckedTable(0);
      this.m_visible.fill(1);
      this.m_picture = new CheckedTable(0);
      this.m_textNumber = new CheckedTable(0);
      this.m_textSection = new CheckedTable(0);
      this.m_textState = new CheckedTable(0);
      this.m_textSource = new CheckedTable(0);
      this.m_macroPosition = new CheckedTable(0);
      this.m_macroLimit = new CheckedTable(0);
      this.m_input = '';
      this.m_memory = new CheckedTable('');
      this.m_moveTarget = -1;
      this.m_moveMode = 0;
      this.m_cursorOnItem = 0;
      this.m_digitTarget = 0;
      this.m_digitMode = 0;

      this.m_pageTimerRunning = false;
      this.m_marqueeRunning = false;
      this.m_clockRunning = false;
      this.m_itemTimerRunning = false;
      this.m_marqueeItem = 0;
      this.m_marqueeBuffer = '';
      this.m_marqueeCounter = 0;
      this.m_clockItem = 0;
      this.m_clockText = '';
      this.m_linkedClicks = true;
      this.m_timersOn = true;
      this.m_sliders = [];
      for (let i = 0; i < kSliderSlots; ++i) this.m_sliders.push(emptySlider());
    }

    setObserver(observer) {
      this.m_observer = observer || null;
    }

    notify(name, ...args) {
      const o = this.m_observer;
      if (o && typeof o[name] === 'function') o[name](...args);
    }

    // Runs `body` in a chain: with `chain` undefined it joins the running chain or starts
    // one; otherwise in `chain`, or a new one when it is null.
    inChain(chain, body) {
      const saved = this.m_chain;
      if (chain === undefined) {
        if (!this.m_chain) this.m_chain = { entries: 0, ended: false };
      } else {
        this.m_chain = chain || { entries: 0, ended: false };
      }
      try {
        return body();
      } finally {
        this.m_chain = saved;
      }
    }

    // True while an outside event runs whose chain the loop guard has ended.
    chainEnded() {
      return !!(this.m_chain && this.m_chain.ended);
    }

    // Counts one action entry against the running chain; false (and the chain ended) past
    // the bound.
    takeEntry() {
      if (this.chainEnded()) return false;
      if (!this.m_chain || ++this.m_chain.entries <= kMaxChainEntries) return true;
      this.endChain();
      return false;
    }

    endChain() {
      if (!this.m_chain) this.m_chain = { entries: 0, ended: false };
      if (this.m_chain.ended) return;
      this.m_chain.ended = true;
      this.notify('showMessage', kLoopMessage, kErrorCaption);
    }

    // --- display state ---
    shownPageNumber() { return this.m_shownPage; }
    previousPageNumber() { return this.m_previousPage; }
    page() { return this.m_page; }
    items() { return this.m_items; }
    indexOfItem(itemId) {
      const items = this.m_items;
      for (let i = 0; i < items.length; ++i) {
        if (items[i].item.id === itemId) return i;
      }
      return -1;
    }
    focusItem() { return this.m_focus; }
    rememberedFocus(page) { return this.m_rememberedFocus.get(page); }
    isVisible(itemId) { return this.m_visible.get(itemId) !== 0; }
    pictureNumber(itemId) { return this.m_picture.get(itemId); }
    textNumber(itemId) { return this.m_textNumber.get(itemId); }
    textSection(itemId) { return this.m_textSection.get(itemId); }
    textState(itemId) { return this.m_textState.get(itemId); }
    textSource(itemId) { return this.m_textSource.get(itemId); }
    macroPosition(macroId) { return this.m_macroPosition.get(macroId); }
    macroLimit(macroId) { return this.m_macroLimit.get(macroId); }
    input() { return this.m_input; }
    memory(index) { return this.m_memory.get(index); }
    cursorOnlyItem() { return this.m_cursorOnItem; }
    digitEntry() { return this.m_digitMode === 1; }
    memoryPage() { return this.m_memoryPage; }
    keyRestartsTimer() { return this.m_keyRestartsTimer; }
    marqueeItem() { return this.m_marqueeItem; }
    marqueeRunning() { return this.m_marqueeRunning; }
    marqueeBuffer() { return this.m_marqueeBuffer; }
    clockItem() { return this.m_clockItem; }
    clockText() { return this.m_clockText; }
    slider(slot) { return this.m_sliders[slot]; }
    exPng() { return this.m_settings.ExPNG !== 0; }
    vertical() { return this.m_settings.Vertical === 1; }

    // --- panel toggles ---
    linkedClicks() { return this.m_linkedClicks; }
    setLinkedClicks(on) { this.m_linkedClicks = !!on; }
    timersOn() { return this.m_timersOn; }
    setTimersOn(on) { this.m_timersOn = !!on; }

    itemById(itemId) {
      const index = this.indexOfItem(itemId);
      return index < 0 ? null : this.m_items[index];
    }

    repaint() {
      this.notify('repaint');
    }

    // The display copy of a picture or material record; null when it has no file.
    displayImage(record) {
      if (!record || !record.file) return null;
      return {
        id: record.id, type: record.type, file: record.file, missing: record.missing,
        width: record.width, height: record.height,
      };
    }

    // ------------------------------------------------------------ ShowPage

    // Shows page n. An action that shows a page passes its depth on, so that a page whose
    // focus action shows it again meets the loop guard like any other focus chain.
    showPage(n, depth) {
      return this.inChain(undefined, () => this.showPageInChain(n, depth || 0));
    }

    showPageInChain(n, depth) {
      if (n === 0 || this.chainEnded()) return;
      const model = this.m_model;
      const page = n > 0 ? findById(model.pages, n) : null;
      if (n < kGuideScreen && page && page.memory === kGuideScreen) {
        // A page whose memory is 254 is never shown; it only runs its start macro.
        if (page.smacro !== 0) this.runAction(0, 0, 'A:' + page.smacro, 0);
        return;
      }
      if (isSpecialScreen(n)) {
        this.notify('pageChanging');
        this.m_previousPage = this.m_shownPage;
        this.m_shownPage = n;
        ++this.m_generation;
        this.notify('shownPage', n);
        this.repaint();
        return;
      }
      if (!page) return;
      this.notify('pageChanging');

      this.m_previousPage = this.m_shownPage;
      this.m_shownPage = n;
      this.m_lastPage = n;
      const generation = ++this.m_generation;

      this.stopTimer(kPageTimer, 'm_pageTimerRunning');
      this.stopTimer(kMarqueeTimer, 'm_marqueeRunning');
      this.stopTimer(kClockTimer, 'm_clockRunning');
      this.stopTimer(kItemTimer, 'm_itemTimerRunning');
      this.stopSliders();

      this.m_textSection.fill(0);
      this.m_textNumber.fill(0);
      this.m_textState.fill(0);
      this.m_textSource.fill(0);
      this.m_picture.fill(0);
      this.m_visible.fill(1);
      this.m_macroPosition.fill(0);
      this.m_items = [];
      this.m_moveMode = 0;

      const shown = {};
      for (const f of kShownFields) shown[f] = page[f];
      shown.background = { file: page.background, missing: page.backgroundMissing };
      this.m_page = shown;
      for (const slot of page.items) {
        const entry = { item: copyItem(slot), image: null };
        if (entry.item.pic_no !== 0) {
          const record = findById(model.pictures, entry.item.pic_no) ||
            findById(model.materials, entry.item.pic_no);
          if (record) entry.image = this.displayImage(record);
        }
        this.m_items.push(entry);
      }

      this.m_focus = shown.defitem;
      if (shown.cursor === 1 && this.m_rememberedFocus.get(n) !== 0)
        this.m_focus = this.m_rememberedFocus.get(n);

      const sections = this.m_sections;
      for (const entry of this.m_items) {
        const id = entry.item.id;
        this.m_picture.set(id, entry.item.pic_no);
        if (entry.item.idg === 4) this.m_visible.set(id, 0);
        if (shown.textid !== 0) {
          const labelled = sections.textSectionByLabel(shown.textid, id);
          if (labelled.result === 1) entry.item.text = labelled.text;
          if (labelled.result !== 0) {
            this.m_textState.set(id, 2);
            this.m_textSource.set(id, shown.textid);
          } else {
            this.m_textState.set(id, 0);
          }
        }
        const textNo = entry.item.text_no;
        if (textNo !== 0) {
          this.m_textState.set(id, sections.textNextSection(textNo, 1) !== 0 ? 3 : 1);
          this.m_textNumber.set(id, textNo);
          this.m_textSection.set(id, 1);
          const section = sections.textSectionByPosition(textNo, 1);
          if (section.found) {
            entry.item.text = section.text;
            this.m_textSource.set(id, textNo);
          }
        }
      }

      this.notify('shownPage', n);
      this.focus(this.m_focus, depth);
      if (generation !== this.m_generation) return; // the focus action showed another page
      if (this.chainEnded()) return; // it tripped the loop guard: the page does not start

      const period = periodMs(shown.timer);
      if (period) {
        this.startTimer(kPageTimer, period);
        this.m_pageTimerRunning = true;
      }
      this.startTimer(kItemTimer, 100);
      this.m_itemTimerRunning = true;

      const marqueePeriods = [500, 400, 300, 200, 100];
      if (shown.marquee !== 0 && shown.marquee_speed >= 1 && shown.marquee_speed <= 5) {
        this.startTimer(kMarqueeTimer, marqueePeriods[shown.marquee_speed - 1]);
        this.m_marqueeRunning = true;
        this.m_marqueeItem = shown.marquee;
        const marquee = this.itemById(this.m_marqueeItem);
        this.rebuildMarquee(marquee ? marquee.item.text : '', false);
      } else {
        this.m_marqueeItem = 0;
      }

      if (shown.clock !== 0) {
        this.startTimer(kClockTimer, 500);
        this.m_clockRunning = true;
        this.m_clockItem = shown.clock;
        // The clock shows the time from the start rather than the last page's text.
        this.m_clockText = this.m_timers.localTime();
      } else {
        this.m_clockItem = 0;
      }

      this.m_memoryPage = shown.memory;
      if (shown.smacro !== 0) {
        this.runAction(0, 0, 'A:' + shown.smacro, 0);
        if (generation !== this.m_generation) return;
      }
      this.repaint();
    }

    // The program was opened, closed or created: stop everything and forget the focus.
    resetCanvas() {
      this.stopTimer(kPageTimer, 'm_pageTimerRunning');
      this.stopTimer(kMarqueeTimer, 'm_marqueeRunning');
      this.stopTimer(kClockTimer, 'm_clockRunning');
      this.stopTimer(kItemTimer, 'm_itemTimerRunning');
      this.stopSliders();
      this.m_items = [];
      this.m_page = emptyShownPage();
      this.m_focus = 0;
      this.m_rememberedFocus.fill(0);
      this.m_clockText = '';
      this.m_clockItem = 0;
      this.m_marqueeItem = 0;
      this.m_marqueeBuffer = '';
      this.m_memoryPage = 0;
      this.m_keyRestartsTimer = false;
      ++this.m_generation;
    }

    // ------------------------------------------------------------ keys and focus

    pressKey(code) {
      return this.inChain(undefined, () => this.pressKeyInChain(code));
    }

    pressKeyInChain(code) {
      if (this.m_keyRestartsTimer && this.m_page.timer !== 0) {
        const period = periodMs(this.m_page.timer);
        if (period) {
          this.startTimer(kPageTimer, period);
          this.m_pageTimerRunning = true;
        }
      }
      const s = this.m_shownPage;
      const arrow = code >= kKeyUp && code <= kKeyRight;
      if (s === kOtherChannelScreen) {
        if (code === kKeyEnter) this.showPage(this.m_previousPage);
        return;
      }
      if (s === kWebScreen) {
        if (code === kKeyEnter) this.showPage(kVideoScreen);
        return;
      }
      if (s === kGuideScreen || s === kVideoScreen) {
        switch (code) {
          case kKeyEnter:
            if (s === kGuideScreen) this.showPage(kVideoScreen);
            return;
          case kKeyData:
            this.showPage(this.m_memoryPage !== 0 ? this.m_memoryPage : 1);
            return;
          case kKeyBack:
            if (s === kVideoScreen) this.showPage(kGuideScreen);
            else this.repaint();
            return;
          case kKeyBlue:
          case kKeyRed:
          case kKeyGreen:
          case kKeyYellow:
          case kKeyRefresh:
            this.repaint();
            return;
          default:
            return;
        }
      }

      const page = this.m_page;
      if (code === kKeyEnter || arrow) {
        if (this.m_focus === 0) {
          let target;
          switch (code) {
            case kKeyEnter: target = page.return_; break;
            case kKeyUp: target = page.up; break;
            case kKeyDown: target = page.down; break;
            case kKeyLeft: target = page.left; break;
            default: target = page.right; break;
          }
          if (target !== 0) this.showPage(target);
        } else {
          const index = this.indexOfItem(this.m_focus);
          if (index >= 0) {
            const item = this.m_items[index].item;
            switch (code) {
              case kKeyEnter: this.runAction(index, 0, item.ret, 0); break;
              case kKeyUp: this.runAction(index, 1, item.up, 0); break;
              case kKeyDown: this.runAction(index, 1, item.down, 0); break;
              case kKeyLeft: this.runAction(index, 1, item.left, 0); break;
              default: this.runAction(index, 1, item.right, 0); break;
            }
          }
        }
        this.repaint();
        return;
      }
      let target;
      switch (code) {
        case kKeyData: target = page.data; break;
        case kKeyBack: target = page.back; break;
        case kKeyBlue: target = page.blue; break;
        case kKeyRed: target = page.red; break;
        case kKeyGreen: target = page.green; break;
        case kKeyYellow: target = page.yellow; break;
        case kKeyRefresh: target = s; break;
        default: return;
      }
      if (target !== 0) this.showPage(target);
      this.repaint();
    }

    loopGuard(depth) {
      if (depth + 1 <= kLoopGuardDepth) return false;
      this.endChain();
      return true;
    }

    focus(itemId, depth) {
      return this.inChain(undefined, () => this.focusInChain(itemId, depth));
    }

    focusInChain(itemId, depth) {
      if (itemId === 0 || this.chainEnded()) return;
      const index = this.indexOfItem(itemId);
      if (index < 0) return;
      this.m_focus = itemId;
      if (this.m_shownPage < 256) this.m_rememberedFocus.set(this.m_shownPage, itemId);
      const action = this.m_items[index].item.focus;
      if (runsNothing(action) || this.loopGuard(depth)) return;
      this.runAction(index, 1, action, depth + 1);
    }

    outfocus(itemId, depth) {
      return this.inChain(undefined, () => this.outfocusInChain(itemId, depth));
    }

    outfocusInChain(itemId, depth) {
      if (itemId === 0 || this.chainEnded()) return;
      const index = this.indexOfItem(itemId);
      if (index < 0) return;
      const action = this.m_items[index].item.outfocus;
      if (runsNothing(action) || this.loopGuard(depth)) return;
      this.runAction(index, 1, action, depth + 1);
    }

    isFocusable(itemId) {
      if (itemId === 0) return false;
      const index = this.indexOfItem(itemId);
      if (index < 0 || !this.isVisible(itemId)) return false;
      if (this.exPng()) return true;
      return !isTextOnlyKind(this.m_items[index].item.idg);
    }

    // ------------------------------------------------------------ macros, digits, clicks

    runMacro(macroId, forward) {
      return this.inChain(undefined, () => this.runMacroInChain(macroId, forward));
    }

    runMacroInChain(macroId, forward) {
      if (this.chainEnded()) return;
      const sections = this.m_sections;
      const k = this.m_macroPosition.get(macroId);
      const limit = this.m_macroLimit.get(macroId);
      const next = forward ? sections.macroNextSection(macroId, k, limit)
        : sections.macroPreviousSection(macroId, k, limit);
      this.m_macroPosition.set(macroId, next);
      const section = sections.macroSectionByPosition(macroId, next);
      if (section.found) this.runAction(-1, 1, section.text, 0);
    }

    enterDigit(digit) {
      this.m_input = this.m_input + String(digit);
      if (this.m_digitMode === 1) this.setItemText(this.m_digitTarget, this.m_input);
      this.repaint();
    }

    // A linked click at page coordinates; ignored while linked clicks are off.
    linkedClick(x, y) {
      return this.inChain(undefined, () => this.linkedClickInChain(x, y));
    }

    linkedClickInChain(x, y) {
      if (!this.m_linkedClicks || isSpecialScreen(this.m_shownPage) || this.chainEnded()) return;
      for (let i = this.m_items.length - 1; i >= 0; --i) {
        const item = this.m_items[i].item;
        // The right and bottom edges are float sums, as the editor adds them.
        const inside = x >= item.x && x <= Math.fround(item.x + item.width) &&
          y >= item.y && y <= Math.fround(item.y + item.height);
        if (!inside || item.ret === '0') continue;
        const id = item.id;
        this.outfocus(this.m_focus, 0);
        this.focus(id, 0);
        this.post({ kind: Command.Key, parameter: kKeyEnter, depth: 0 });
        this.repaint();
        return;
      }
    }

    // A posted command, run by the queue's owner.
    runCommand(command) {
      // A command of a chain that the loop guard has ended is dropped.
      if (command.chain && command.chain.ended) return;
      this.inChain(command.chain || null, () => this.runCommandInChain(command));
    }

    runCommandInChain(command) {
      switch (command.kind) {
        case Command.Key:
          this.pressKey(command.parameter);
          break;
        case Command.LinkedClicks:
          this.m_linkedClicks = command.parameter !== 0;
          break;
        case Command.Timers:
          this.m_timersOn = command.parameter !== 0;
          break;
        case Command.Digit:
          this.enterDigit(command.parameter);
          break;
        case Command.RunMacro:
        case Command.RunMacroBackwards:
          this.runMacro(command.parameter, command.kind === Command.RunMacro);
          this.repaint();
          break;
        case Command.Focus:
          this.focus(command.parameter, command.depth);
          this.repaint();
          break;
        case Command.Outfocus:
          this.outfocus(command.parameter, command.depth);
          break;
        default:
          break;
      }
    }

    post(command) {
      if (this.chainEnded()) return;
      command.chain = this.m_chain;
      this.m_queue.post(command);
    }
    postMacro(macroId, forward) {
      this.post({ kind: forward ? Command.RunMacro : Command.RunMacroBackwards, parameter: macroId, depth: 0 });
    }
    startTimer(id, period) {
      this.m_timers.startTimer(id, period);
    }
    setRegister(index, value) {
      if (!inRange(index)) return;
      this.m_memory.set(index, value);
    }
    setInput(value) {
      this.m_input = value;
    }

    // ------------------------------------------------------------ item changes

    showImage(itemId, imageId) {
      const entry = this.itemById(itemId);
      if (!entry) return;
      entry.image = null;
      let record = imageId > 0 ? findById(this.m_model.pictures, imageId) : null;
      if (!record && imageId > 0) record = findById(this.m_model.materials, imageId);
      if (record) entry.image = this.displayImage(record);
    }

    // The text that display index `index` shows (a text typed in place); an index outside
    // the display list is ignored.
    setShownText(index, text) {
      if (index >= 0 && index < this.m_items.length) this.m_items[index].item.text = text;
    }

    setItemText(itemId, text) {
      const entry = this.itemById(itemId);
      if (entry) entry.item.text = text;
    }

    rebuildMarquee(text, half) {
      const entry = this.itemById(this.m_marqueeItem);
      let spaces = 0;
      if (entry && entry.item.size > 0) {
        // The ratio of two floats, clamped before it becomes an int.
        const ratio = Math.fround(entry.item.width / Math.fround(entry.item.size));
        spaces = ratio >= 10000 ? 10000 : (ratio > 0 ? Math.trunc(ratio) : 0);
      }
      this.m_marqueeBuffer = '\u3000'.repeat(spaces) + text;
      this.m_marqueeCounter = this.m_marqueeBuffer.length;
      if (half) this.m_marqueeCounter = Math.trunc(this.m_marqueeCounter / 2);
    }

    // ------------------------------------------------------------ actions

    actingItemId(actingIndex) {
      if (actingIndex >= 0 && actingIndex < this.m_items.length) return this.m_items[actingIndex].item.id;
      // A macro has no acting item: the focused item gives the label.
      return this.m_focus;
    }

    // kind 0: page context, 1: focus context. An acting index of -1 means "no acting item"
    // (a macro): the I command then takes its label from the focused item.
    runAction(actingIndex, kind, action, depth) {
      return this.inChain(undefined, () => this.runActionInChain(actingIndex, kind, action, depth));
    }

    runActionInChain(actingIndex, kind, action, depth) {
      let rest = action;
      let generation = this.m_generation;
      for (let entries = 0; entries < kMaxEntries && rest.length > 0; ++entries) {
        if (!this.takeEntry()) return; // the chain has ended
        if (generation !== this.m_generation) {
          // Another page is shown now; the acting index may name nothing any more.
          generation = this.m_generation;
          if (actingIndex >= this.m_items.length) actingIndex = -1;
        }
        const first = rest[0];
        if (isDigit(first)) {
          const n = parseLeadingInt(rest);
          if (n === 0) return;
          if (kind === 0) {
            this.showPage(n, depth);
          } else if (this.isFocusable(n)) {
            if (depth === 0) {
              this.outfocus(this.m_focus, 0);
              this.focus(n, 0);
            } else {
              this.post({ kind: Command.Outfocus, parameter: this.m_focus, depth: depth });
              this.post({ kind: Command.Focus, parameter: n, depth: depth });
            }
          }
          return;
        }
        const letter = toUpperUnit(first);
        let stop = false;
        switch (letter) {
          case 'P': case 'T': case 'R': case 'I': case 'B': case 'F': case 'H': case 'K': {
            const body = rest.slice(2);
            const colon = body.indexOf(':');
            if (colon < 0) return; // an entry without its second number ends the action
            const v = parseLeadingInt(body.slice(0, colon));
            const tail = body.slice(colon + 1);
            let t = parseLeadingInt(upToComma(tail));
            if (t === 0) t = this.m_focus;
            rest = afterComma(tail);
            this.runItemCommand(letter, v, t, actingIndex);
            break;
          }
          case 'X': case 'Q':
            this.runMemoryCommand(letter, upToComma(rest), depth);
            rest = afterComma(rest);
            break;
          case '$':
            this.runSlider(upToComma(rest));
            rest = afterComma(rest);
            break;
          default: {
            if ('GMCWSOAEZUV'.indexOf(letter) < 0 || letter.length !== 1) return; // no command
            const n = parseLeadingInt(upToComma(rest.slice(2)));
            rest = afterComma(rest);
            stop = this.runNumberCommand(letter, n, depth);
            break;
          }
        }
        if (stop) return;
      }
    }

    runItemCommand(letter, v, t, actingIndex) {
      // Item ids outside the tables are refused.
      if (!inRange(t)) return;
      const sections = this.m_sections;
      switch (letter) {
        case 'P':
          this.showImage(t, v);
          this.m_picture.set(t, v);
          break;
        case 'T':
        case 'R': {
          const forward = letter === 'T';
          if (!forward) this.m_textState.set(t, 0);
          let k = 0;
          if (this.m_textNumber.get(t) === v) k = this.m_textSection.get(t);
          else this.m_textNumber.set(t, v);
          const next = forward ? sections.textNextSection(v, k) : sections.textPreviousSection(v, k);
          this.m_textState.set(t, next !== 0 ? 3 : 1);
          this.m_textSection.set(t, next);
          const section = sections.textSectionByPosition(v, next);
          if (section.found) {
            if (t === this.m_marqueeItem && this.m_marqueeRunning) {
              this.rebuildMarquee(section.text, false);
            } else {
              this.setItemText(t, section.text);
              this.m_textSource.set(t, v);
            }
          }
          break;
        }
        case 'I': {
          const a = this.actingItemId(actingIndex);
          this.m_textState.set(t, sections.textPreviousSection(v, a) !== 0 ? 4 : 1);
          this.m_textSection.set(t, a);
          const labelled = sections.textSectionByLabel(v, a);
          if (labelled.result === 0) break;
          if (t === this.m_marqueeItem && this.m_marqueeRunning) {
            this.rebuildMarquee(labelled.text, true);
          } else if (labelled.result === 1) {
            this.setItemText(t, labelled.text);
            this.m_textSource.set(t, v);
          }
          break;
        }
        case 'B': {
          const entry = this.itemById(t);
          if (entry) entry.item.bcolor = v;
          break;
        }
        case 'F': {
          const entry = this.itemById(t);
          if (entry) entry.item.color = v;
          break;
        }
        case 'H':
          this.m_visible.set(t, v !== 0 ? 1 : 0);
          break;
        default: // K: no effect
          break;
      }
    }

    // Returns true when the action ends after this entry.
    runNumberCommand(letter, n, depth) {
      switch (letter) {
        case 'G':
          this.showPage(n, depth);
          break;
        case 'M':
          // The depth goes along, so that a focus chain through M meets the loop guard.
          this.outfocus(this.m_focus, depth);
          this.focus(n, depth);
          break;
        case 'C':
          this.showPage(kOtherChannelScreen);
          break;
        case 'W':
          this.showPage(kWebScreen);
          break;
        case 'S':
          if (n === 0) break;
          for (const entry of this.m_items) {
            const id = entry.item.id;
            const labelled = this.m_sections.textSectionByLabel(n, id);
            if (labelled.result === 0) continue;
            this.m_textState.set(id, 2);
            this.m_textSource.set(id, n);
            if (labelled.result === 1) entry.item.text = labelled.text;
          }
          break;
        case 'A':
        case 'E':
          this.postMacro(n, true);
          return true;
        case 'Z':
          if (n === 1) this.m_timers.stopTimer(kPageTimer); // the page timer keeps its flag
          else if (n === 2) this.stopTimer(kMarqueeTimer, 'm_marqueeRunning');
          else if (n === 3) this.stopTimer(kClockTimer, 'm_clockRunning');
          else if (n === 4) this.stopTimer(kItemTimer, 'm_itemTimerRunning');
          break;
        case 'U':
          if (n === 0) this.showPage(this.m_shownPage, depth);
          else if (n === 3) this.m_textSection.fill(0);
          else if (n === 4) this.m_macroPosition.fill(0);
          else if (n === 7) this.m_keyRestartsTimer = true;
          else if (n === 8) this.m_keyRestartsTimer = false;
          break;
        case 'V':
          this.m_page.tvitem = n;
          break;
        default: // O: no effect
          break;
      }
      return false;
    }

    // The memory and interaction commands "X" and "Q" with their sub-commands.
    runMemoryCommand(letter, entry, depth) {
      if (entry.length < 2) return;
      const sub = toLowerUnit(entry[1]);
      const params = entry.slice(3);
      const a = parseLeadingInt(params);
      const colon = params.indexOf(':');
      const b = colon < 0 ? 0 : parseLeadingInt(params.slice(colon + 1));
      const sections = this.m_sections;
      const mem = (i) => this.m_memory.get(i);
      const memNumber = (i) => parseLeadingInt(this.m_memory.get(i));

      if (letter === 'X') {
        switch (sub) {
          case 'k':
            if (a === 0) {
              this.setInput('');
            } else {
              const s = sections.textSectionByLabel(a, b);
              if (s.result !== 0) this.setInput(cutAtReturn(s.text));
            }
            break;
          case 'i':
            this.setRegister(a, this.m_input);
            break;
          case 'a':
            if (inRange(a)) this.setRegister(a, mem(a) + this.m_input);
            break;
          case 'r':
            if (a === 0) this.setInput('');
            else this.setRegister(a, '');
            break;
          case 'c':
            if (!inRange(a)) break;
            if (b === 0) this.setInput(mem(a));
            else this.setRegister(b, mem(a));
            break;
          case 'l':
            if (!inRange(a)) break;
            if (b === 0) this.setInput(this.m_input + mem(a));
            else if (inRange(b)) this.setRegister(b, mem(b) + mem(a));
            break;
          case 'd':
            if (inRange(a)) this.setRegister(a, mem(a).length === 0 ? '' : mem(a).slice(0, -1));
            break;
          case 'e':
            if (a > 0 && inRange(a) && inRange(b)) this.setInput(mem(a) === mem(b) ? '1' : '0');
            break;
          case 's':
            if (inRange(a) && inRange(b)) this.setItemText(b, mem(a));
            break;
          case 'p': {
            // The whole range a .. a + b - 1 must lie in the register table.
            if (b <= 0 || !inRange(a) || a + b - 1 >= kTableSize) break;
            const pieces = this.m_input.split(':');
            const count = Math.min(b, pieces.length);
            for (let i = 0; i < count; ++i) this.setRegister(a + i, pieces[i]);
            break;
          }
          case 'f':
            this.m_digitMode = a === 1 ? 1 : 0;
            if (a === 1) {
              this.m_digitTarget = b;
              this.setInput('');
            }
            this.notify('digitEntryChanged', a === 1);
            break;
          case 'n':
            if (b === 0) this.setInput(String(a));
            else this.setRegister(b, String(a));
            break;
          case 't':
            this.setInput('');
            break;
          case 'g':
          case 'h':
          case 'j':
            if (inRange(a) && memNumber(a) !== 0) this.showPage(memNumber(a), depth);
            break;
          case 'm':
            if (inRange(a) && memNumber(a) !== 0) this.postMacro(memNumber(a), true);
            break;
          case 'v':
            if (inRange(a) && inRange(b) && inRange(memNumber(a))) this.setRegister(b, mem(memNumber(a)));
            break;
          case 'q': {
            if (a !== 0 && !inRange(a)) break;
            const key = withoutLineEnd(a !== 0 ? mem(a) : this.m_input);
            let found = false;
            let label = 0;
            for (const record of this.m_model.texts) {
              if (record.id !== b) continue;
              if (countSectionMarkers(record.text) === 0) break;
              for (const section of splitSections(record.text)) {
                if (withoutLineEnd(section.content) === key) {
                  found = true;
                  label = section.label;
                  break;
                }
              }
              if (found) break;
            }
            if (!found) break; // input stays as it was
            if (a !== 0) this.postMacro(label, true);
            else this.setInput(String(label));
            break;
          }
          default:
            break;
        }
        return;
      }

      switch (sub) {
        case 'm':
          if (a !== 0) this.postMacro(a, true);
          break;
        case 'n':
          if (!inRange(a) || this.loopGuard(depth)) break;
          this.runAction(0, 1, mem(a), depth + 1);
          break;
        case 'k':
          if (a === 0) {
            this.setInput('');
          } else if (inRange(b)) {
            const s = sections.macroSectionByLabel(a, memNumber(b));
            if (s.result === 1) this.setInput(cutAtReturn(s.text));
          }
          break;
        case 'l':
          if (a === 0) {
            this.setInput('');
          } else if (inRange(a) && inRange(b) && mem(a).length !== 0) {
            const s = sections.textSectionByLabel(memNumber(a), memNumber(b));
            if (s.result !== 0) this.setInput(s.text);
          }
          break;
        case 'a':
          this.postMacro(a, false);
          break;
        case 'c': {
          const index = this.indexOfItem(b);
          if (b === 0 || index < 0) break;
          if (this.m_items[index].item.idg === 1) {
            this.m_cursorOnItem = a !== 0 ? b : 0;
          } else if (a === 1 || a === 2) {
            this.m_moveTarget = index;
            this.m_moveMode = a;
          }
          break;
        }
        case 'g': {
          if (this.m_moveTarget < 0 || this.m_moveTarget >= this.m_items.length) break;
          const item = this.m_items[this.m_moveTarget].item;
          if (this.m_moveMode === 1) {
            item.x = Math.fround(a);
            item.y = Math.fround(b);
          } else if (this.m_moveMode === 2) {
            item.width = Math.fround(a);
            item.height = Math.fround(b);
          }
          break;
        }
        case 's':
          if (!inRange(a)) break;
          if (b !== 0) {
            if (inRange(b)) this.m_macroLimit.set(a, memNumber(b));
          } else {
            this.m_macroLimit.set(a, 0);
            this.setInput(String(sections.macroSectionCount(a)));
          }
          break;
        case 'o':
          this.setRegister(b, String(sections.textSectionCount(a)));
          break;
        case 'b': {
          const id = a === 0 ? this.m_rememberedFocus.get(this.m_shownPage) : a;
          const index = this.indexOfItem(id);
          if (index < 0 || b < 1 || b > 7) break;
          const item = this.m_items[index].item;
          const strings = [item.ret, item.up, item.down, item.left, item.right, item.focus, item.outfocus];
          const action = strings[b - 1];
          if (this.loopGuard(depth)) break;
          this.runAction(0, 1, action, depth + 1);
          break;
        }
        default: // Qd and unknown sub-commands: no effect
          break;
      }
    }

    // "$slider:p1/2/3:i5:w1000": a picture animation on an item.
    runSlider(entry) {
      if (!startsWithFolded(entry, '$slider')) return;
      let ids = [];
      let itemId = 1;
      let period = 5000;
      const parts = entry.split(':');
      for (let i = 1; i < parts.length; ++i) {
        const part = parts[i];
        if (part.length === 0) continue;
        const key = toLowerUnit(part[0]);
        if (key === 'p') {
          for (const id of part.slice(1).split('/')) {
            if (id.length === 0) continue;
            if (ids.length < kTableSize) ids.push(parseLeadingInt(id));
          }
        } else if (key === 'i') {
          itemId = parseLeadingInt(part.slice(1));
        } else if (key === 'w') {
          period = parseLeadingInt(part.slice(1));
        }
      }
      if (ids.length === 0 || !inRange(itemId)) return;
      this.stopSliderOn(itemId);
      const free = this.m_sliders.findIndex((slot) => !slot.inUse);
      if (free < 0) return;
      this.showImage(itemId, ids[0]);
      if (ids.length > 1) {
        const slot = this.m_sliders[free];
        slot.inUse = true;
        slot.itemId = itemId;
        slot.periodMs = Math.max(period, kMinSliderPeriodMs);
        slot.index = 1;
        slot.imageIds = ids;
        this.startTimer(kSliderTimerBase + free, slot.periodMs);
      }
      this.repaint();
    }

    // ------------------------------------------------------------ timers

    stopTimer(id, runningFlag) {
      this.m_timers.stopTimer(id);
      if (runningFlag) this[runningFlag] = false;
    }

    stopSliders() {
      for (let i = 0; i < this.m_sliders.length; ++i) {
        if (this.m_sliders[i].inUse) this.stopTimer(kSliderTimerBase + i, null);
        this.m_sliders[i] = emptySlider();
      }
    }

    stopSliderOn(itemId) {
      for (let i = 0; i < this.m_sliders.length; ++i) {
        if (this.m_sliders[i].inUse && this.m_sliders[i].itemId === itemId) {
          this.stopTimer(kSliderTimerBase + i, null);
          this.m_sliders[i] = emptySlider();
        }
      }
    }

    // A timer of the clock fired.
    onTimer(timerId) {
      // A tick is an outside event of its own, also when it arrives while another one runs.
      this.inChain(null, () => this.onTimerInChain(timerId));
    }

    onTimerInChain(timerId) {
      // While the timers toggle is off a tick is ignored; the timer keeps running.
      if (!this.m_timersOn) return;
      switch (timerId) {
        case kPageTimer: this.onPageTimer(); break;
        case kMarqueeTimer: this.onMarqueeTick(); break;
        case kClockTimer: this.onClockTick(); break;
        case kItemTimer: this.onItemTimer(); break;
        default:
          if (timerId >= kSliderTimerBase && timerId < kSliderTimerBase + kSliderSlots)
            this.onSliderTick(timerId - kSliderTimerBase);
          break;
      }
    }

    nextPageForTimer() {
      const pages = this.m_model.pages;
      switch (this.m_settings.TimerMode) {
        case 0: {
          if (pages.length === 0) return 0;
          // On a special screen the page after the page shown last follows.
          const base = isSpecialScreen(this.m_shownPage) ? this.m_lastPage : this.m_shownPage;
          const index = indexOfId(pages, base);
          return pages[(index + 1) % pages.length].id;
        }
        case 1: return this.m_page.right;
        case 2: return this.m_page.down;
        default: return 0;
      }
    }

    onPageTimer() {
      this.stopTimer(kPageTimer, 'm_pageTimerRunning');
      const next = this.nextPageForTimer();
      if (next !== 0) this.showPage(next);
    }

    onItemTimer() {
      const ms = this.m_page.timer_item * 1000;
      if (ms > 0) this.m_timers.startTimer(kItemTimer, Math.min(ms, INT_MAX));
      else this.stopTimer(kItemTimer, 'm_itemTimerRunning');
      if (this.m_page.timer_ino === 0) return;
      const index = this.indexOfItem(this.m_page.timer_ino);
      if (index < 0) return;
      this.runAction(index, 0, this.m_items[index].item.ret, 0);
      this.repaint();
    }

    onMarqueeTick() {
      const index = this.indexOfItem(this.m_marqueeItem);
      if (index < 0) return;
      this.notify('redrawItemDirect', this.m_marqueeItem, this.m_marqueeBuffer);
      let remembered = this.m_marqueeBuffer.slice(0, 1);
      if (this.m_marqueeCounter > 1) {
        --this.m_marqueeCounter;
      } else {
        const textNumber = this.m_textNumber.get(this.m_marqueeItem);
        let text = this.m_items[index].item.text;
        if (textNumber !== 0) {
          const next = this.m_sections.textNextSection(textNumber, this.m_textSection.get(this.m_marqueeItem));
          this.m_textSection.set(this.m_marqueeItem, next);
          const section = this.m_sections.textSectionByPosition(textNumber, next);
          if (section.found) text = section.text;
        }
        this.rebuildMarquee(text, false);
        remembered = '';
      }
      // An empty buffer has nothing to turn.
      if (this.m_marqueeBuffer.length !== 0)
        this.m_marqueeBuffer = this.m_marqueeBuffer.slice(1) + remembered;
    }

    onClockTick() {
      const text = this.m_timers.localTime();
      if (text !== this.m_clockText && this.indexOfItem(this.m_clockItem) >= 0)
        this.notify('redrawItemDirect', this.m_clockItem, text);
      this.m_clockText = text;
    }

    onSliderTick(slotIndex) {
      const slot = this.m_sliders[slotIndex];
      if (!slot.inUse || slot.imageIds.length === 0) return;
      const count = slot.imageIds.length;
      slot.index %= count;
      this.showImage(slot.itemId, slot.imageIds[slot.index]);
      slot.index = (slot.index + 1) % count;
      this.repaint();
    }
  }

  function periodMs(seconds) {
    const ms = seconds * 1000;
    if (ms <= 0) return 0;
    return Math.min(ms, INT_MAX);
  }

  // "0" (the default of focus and outfocus) and an empty string run nothing, so the loop
  // guard has nothing to refuse there and stays silent.
  function runsNothing(action) {
    return action.length === 0 || (isDigit(action[0]) && parseLeadingInt(action) === 0);
  }

  function isTextOnlyKind(idg) {
    return idg === 2 || idg === 3 || idg === 5 || idg === 6 || idg === 7;
  }

  function cutAtReturn(text) {
    const cr = text.indexOf('\r');
    return cr < 0 ? text : text.slice(0, cr);
  }

  function withoutLineEnd(text) {
    let end = text.length;
    while (end > 0 && (text[end - 1] === '\n' || text[end - 1] === '\r')) --end;
    return text.slice(0, end);
  }

  // ---------------------------------------------------------------- the simulated seams

  // A clock that moves only when told and fires due timers in time order (timers due at the
  // same moment in the order they were started), and the wall time it stands for.
  class SimulatedClock {
    constructor(wallStartMs) {
      this.m_wallStart = wallStartMs;
      this.m_now = 0;
      this.m_order = 0;
      this.m_timers = new Map();
    }
    startTimer(id, period) {
      const p = Math.max(1, period);
      this.m_timers.set(id, { period: p, due: this.m_now + p, order: ++this.m_order });
    }
    stopTimer(id) {
      this.m_timers.delete(id);
    }
    isRunning(id) {
      return this.m_timers.has(id);
    }
    period(id) {
      const t = this.m_timers.get(id);
      return t ? t.period : 0;
    }
    now() {
      return this.m_now;
    }
    // The local time as "HH:MM".
    localTime() {
      const day = 24 * 3600 * 1000;
      const ms = (this.m_wallStart + (this.m_now % day)) % day;
      const minutes = Math.floor(ms / 60000);
      return pad2(Math.floor(minutes / 60)) + ':' + pad2(minutes % 60);
    }
    // Moves time on by `ms`, calling `fire` for every timer that falls due, earliest first.
    advanceWith(ms, fire) {
      const end = this.m_now + Math.max(0, ms);
      for (;;) {
        let nextId = null;
        let next = null;
        for (const [id, t] of this.m_timers) {
          if (t.due > end) continue;
          if (next === null || t.due < next.due || (t.due === next.due && t.order < next.order)) {
            next = t;
            nextId = id;
          }
        }
        if (next === null) break;
        this.m_now = next.due;
        next.due += next.period;
        next.order = ++this.m_order;
        fire(nextId); // may start and stop timers
      }
      this.m_now = end;
    }
  }

  class CommandList {
    constructor() {
      this.m_commands = [];
      this.m_head = 0;
    }
    post(command) {
      this.m_commands.push(command);
    }
    isEmpty() {
      return this.m_head >= this.m_commands.length;
    }
    // Runs the posted commands (and those they post) in order; false when `limit` commands
    // ran and more are waiting (the rest are dropped).
    drain(engine, limit) {
      let ran = 0;
      while (!this.isEmpty()) {
        if (ran >= limit) {
          this.m_commands = [];
          this.m_head = 0;
          return false;
        }
        const command = this.m_commands[this.m_head++];
        if (this.m_head > 1024 && this.m_head * 2 > this.m_commands.length) {
          this.m_commands = this.m_commands.slice(this.m_head);
          this.m_head = 0;
        }
        engine.runCommand(command);
        ++ran;
      }
      this.m_commands = [];
      this.m_head = 0;
      return true;
    }
  }

  // "HH:MM" (two digits each, as the command line reads --clock) to ms after midnight;
  // null when it is not a time.
  function parseClock(text) {
    const m = /^(\d\d):(\d\d)$/.exec(text);
    if (!m) return null;
    const h = Number(m[1]);
    const min = Number(m[2]);
    if (h > 23 || min > 59) return null;
    return (h * 60 + min) * 60000;
  }

  function create(content, options) {
    const opts = options || {};
    const model = normalize(content);
    let wallStart = 12 * 3600000;
    if (typeof opts.clock === 'number' && Number.isFinite(opts.clock)) {
      wallStart = ((Math.trunc(opts.clock) % 86400000) + 86400000) % 86400000;
    } else if (opts.clock !== undefined && opts.clock !== null && opts.clock !== '') {
      const parsed = parseClock(String(opts.clock));
      if (parsed === null) throw new Error('not a time (HH:MM): ' + opts.clock);
      wallStart = parsed;
    }
    const clock = new SimulatedClock(wallStart);
    const queue = new CommandList();
    const engine = new Engine(model, clock, queue);
    if (opts.observer) engine.setObserver(opts.observer);
    const sim = {
      engine,
      clock,
      queue,
      model,
      // Runs the posted commands; false when the step did not settle within `limit` commands.
      settle(limit) {
        return queue.drain(engine, limit === undefined ? kSettleLimit : limit);
      },
      // Advances the clock, settling after every timer; false when a step did not settle.
      wait(ms, limit) {
        let settled = true;
        clock.advanceWith(ms, (id) => {
          engine.onTimer(id);
          settled = sim.settle(limit) && settled;
        });
        return settled;
      },
    };
    clock.advance = (ms) => sim.wait(ms);
    return sim;
  }

  // ---------------------------------------------------------------- keys as the CLI reads them

  const kQtSpace = /^[\t\n\v\f\r \u0085\u00a0\u1680\u2000-\u200a\u2028\u2029\u202f\u205f\u3000]+|[\t\n\v\f\r \u0085\u00a0\u1680\u2000-\u200a\u2028\u2029\u202f\u205f\u3000]+$/g;

  function toIntStrict(text) {
    const t = text.replace(kQtSpace, '');
    if (!/^[+-]?\d+$/.test(t)) return null;
    const v = Number(t);
    return v > INT_MAX || v < INT_MIN ? null : v;
  }
  function toDoubleStrict(text) {
    const t = text.replace(kQtSpace, '');
    if (!/^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/.test(t)) return null;
    const v = Number(t);
    return Number.isFinite(v) ? v : null;
  }

  // One token of the key list: {kind: 'key'|'digit'|'click'|'wait', token, value, x, y}, or
  // null when it is no key.
  function parseKey(token) {
    if (Object.prototype.hasOwnProperty.call(KEYS, token)) return { kind: 'key', token, value: KEYS[token] };
    const parts = token.split(':');
    if (parts.length === 2 && parts[0] === 'digit') {
      const v = toIntStrict(parts[1]);
      if (v !== null && v >= 1 && v <= 10) return { kind: 'digit', token, value: v };
    } else if (parts.length === 2 && parts[0] === 'wait') {
      const v = toIntStrict(parts[1]);
      if (v !== null && v >= 0) return { kind: 'wait', token, value: v };
    } else if (parts.length === 3 && parts[0] === 'click') {
      const x = toDoubleStrict(parts[1]);
      const y = toDoubleStrict(parts[2]);
      if (x !== null && y !== null) return { kind: 'click', token, x, y };
    }
    return null;
  }

  function parseKeyList(keys) {
    if (keys === undefined || keys === null || keys === '') return [];
    const tokens = Array.isArray(keys) ? keys : String(keys).split(',');
    return tokens.map((raw) => {
      const token = String(raw).replace(kQtSpace, '');
      const step = parseKey(token);
      if (!step) throw new Error('unknown key: ' + raw);
      return step;
    });
  }

  function applyStep(sim, step) {
    const e = sim.engine;
    switch (step.kind) {
      case 'key': e.pressKey(step.value); return sim.settle();
      case 'digit': e.enterDigit(step.value); return sim.settle();
      case 'click': e.linkedClick(step.x, step.y); return sim.settle();
      default: return sim.wait(step.value);
    }
  }

  // One key by its command-line name, as `orinedit-cli simulate` applies it; false when the
  // step did not settle. An unknown name throws.
  function press(sim, keyName) {
    const token = String(keyName).replace(kQtSpace, '');
    const step = parseKey(token);
    if (!step) throw new Error('unknown key: ' + keyName);
    return applyStep(sim, step);
  }

  // ---------------------------------------------------------------- the state lines

  function hex4(c) {
    return '\\u' + c.toString(16).padStart(4, '0');
  }

  // A string as the editor's JSON writer writes it.
  function jsonString(s) {
    let out = '"';
    for (let i = 0; i < s.length; ++i) {
      const c = s.charCodeAt(i);
      if (c < 0x20 || c === 0x22 || c === 0x5c) {
        switch (c) {
          case 0x22: out += '\\"'; break;
          case 0x5c: out += '\\\\'; break;
          case 0x08: out += '\\b'; break;
          case 0x0c: out += '\\f'; break;
          case 0x0a: out += '\\n'; break;
          case 0x0d: out += '\\r'; break;
          case 0x09: out += '\\t'; break;
          default: out += hex4(c); break;
        }
      } else if (c >= 0xd800 && c <= 0xdfff) {
        const d = i + 1 < s.length ? s.charCodeAt(i + 1) : 0;
        if (c <= 0xdbff && d >= 0xdc00 && d <= 0xdfff) {
          out += s[i] + s[i + 1];
          ++i;
        } else {
          out += hex4(c); // a lone surrogate is written as its escape
        }
      } else {
        out += s[i];
      }
    }
    return out + '"';
  }

  function jsonNumber(d) {
    if (!Number.isFinite(d)) return 'null';
    if (Number.isInteger(d) && Math.abs(d) <= 9007199254740992) return Object.is(d, -0) ? '-0' : String(d);
    return String(d);
  }

  // One line of `simulate --json`: the keys in the order the editor's JSON writer sorts them.
  function stateLine(e, step, messages) {
    const items = e.items().map((entry) => {
      const item = entry.item;
      return '{"bcolor":' + item.bcolor + ',"color":' + item.color + ',"h":' + jsonNumber(item.height) +
        ',"id":' + item.id + ',"pic":' + e.pictureNumber(item.id) + ',"text":' + jsonString(item.text) +
        ',"textState":' + e.textState(item.id) + ',"visible":' + (e.isVisible(item.id) ? 'true' : 'false') +
        ',"w":' + jsonNumber(item.width) + ',"x":' + jsonNumber(item.x) + ',"y":' + jsonNumber(item.y) + '}';
    });
    return '{"focus":' + e.focusItem() + ',"input":' + jsonString(e.input()) + ',"items":[' + items.join(',') +
      '],"messages":[' + messages.map(jsonString).join(',') + '],"page":' + e.shownPageNumber() +
      ',"step":' + jsonString(step) + '}';
  }

  // Exactly the lines that `orinedit-cli simulate FILE --page ID --keys ... --clock HH:MM
  // --json` prints. Throws for a key that is no key, a page that is not there or a clock that
  // is not a time, as the command refuses them.
  function simulate(content, options) {
    const opts = options || {};
    const steps = parseKeyList(opts.keys);
    const model = normalize(content);
    let page = 0;
    if (opts.page !== undefined && opts.page !== null && opts.page !== '') {
      const parsed = typeof opts.page === 'number' ? opts.page : toIntStrict(String(opts.page));
      if (parsed === null || !Number.isInteger(parsed)) throw new Error('not a page number: ' + opts.page);
      page = parsed;
    } else if (model.pages.length > 0) {
      page = model.pages[0].id;
    }
    if (page <= 0 || indexOfId(model.pages, page) < 0) throw new Error('no such page: ' + page);
    let messages = [];
    const log = { showMessage(text) { messages.push(text); } };
    const sim = create(model, { clock: opts.clock, observer: log });
    sim.engine.setLinkedClicks(true);
    sim.engine.setTimersOn(true);
    const lines = [];
    sim.engine.showPage(page);
    if (!sim.settle()) messages.push(kUnsettled);
    lines.push(stateLine(sim.engine, 'start', messages));
    for (const step of steps) {
      messages = [];
      if (!applyStep(sim, step)) messages.push(kUnsettled);
      lines.push(stateLine(sim.engine, step.token, messages));
    }
    return lines;
  }

  return {
    KEYS,
    create,
    press,
    simulate,
    normalize,
    parseLeadingInt,
    sectionsOf: (content) => Sections(normalize(content)),
    splitSections,
    stateLine,
    Command,
    constants: Object.freeze({
      kGuideScreen, kVideoScreen, kOtherChannelScreen, kWebScreen, kLoopGuardDepth, kMaxEntries,
      kMaxChainEntries, kSliderSlots, kMinSliderPeriodMs, kSettleLimit, kPageTimer, kMarqueeTimer, kClockTimer,
      kItemTimer, kSliderTimerBase,
    }),
    messages: Object.freeze({ loop: kLoopMessage, loopCaption: kErrorCaption, unsettled: kUnsettled }),
  };
})();

if (typeof module !== 'undefined') module.exports = OrinEngine; else globalThis.OrinEngine = OrinEngine;

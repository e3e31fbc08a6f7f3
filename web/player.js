// SPDX-License-Identifier: MIT
// The page layer of the web player: it draws the engine's display state into a canvas as the
// editor's page renderer draws it (the same mapping, fills, frames, pictures and text layout),
// turns the keyboard, the on-screen remote control and clicks into engine calls, and drives the
// engine's clock with real time. With a query it shows one state instead:
//   ?page=ID&keys=K1,K2,...&clock=HH:MM&state=json  the lines of `orinedit-cli simulate --json`
//                                                   in <pre id="orin-state">
//   ?page=ID&keys=K1,K2,...                         the page after the keys, as `orinedit-cli
//                                                   render` draws it, on a clock that stands still
// Content reaches the document only as text and attributes (textContent, createElement).

(function () {
  'use strict';

  const content = window.ORIN_CONTENT;
  const Engine = window.OrinEngine;
  const query = new URLSearchParams(window.location.search);

  const kGuideScreen = 254;
  const kVideoScreen = 255;
  const kOtherChannelScreen = 1000;
  const kWebScreen = 2000;
  const kNoColour = 8;
  const kMaxFontPixels = 4096;

  function isSpecialScreen(n) {
    return n === kGuideScreen || n === kVideoScreen || n === kOtherChannelScreen || n === kWebScreen;
  }

  // ------------------------------------------------------------------ numbers as C++ has them

  function truncInt(value) {
    if (!(value === value)) return 0;
    return Math.trunc(Math.min(Math.max(value, -1e9), 1e9));
  }

  const kIntMax = 2147483647;
  function clampInt(value) {
    return Math.min(Math.max(value, Math.trunc(-kIntMax / 2) - 1), Math.trunc(kIntMax / 2));
  }

  function fontPixels(value) {
    return Math.min(Math.max(truncInt(value), 0), kMaxFontPixels);
  }

  // ------------------------------------------------------------------ the canvas mapping

  // Page units to client pixels: the screen (twice the page) fitted into the client, centred,
  // with the integer arithmetic of the editor's canvas.
  class Mapping {
    constructor(w, h, vertical) {
      this.w = Math.max(0, w);
      this.h = Math.max(0, h);
      this.sw = vertical ? 1080 : 1920;
      this.sh = vertical ? 1920 : 1080;
    }
    byWidth() { return this.sw * this.h > this.sh * this.w; }
    mapToClient(x, y, width, height) {
      let ox = 0, oy = 0, num = this.h, den = this.sh;
      if (this.byWidth()) {
        oy = Math.trunc((this.h - Math.trunc(this.w * this.sh / this.sw)) / 2);
        num = this.w;
        den = this.sw;
      } else {
        ox = Math.trunc((this.w - Math.trunc(this.h * this.sw / this.sh)) / 2);
      }
      return {
        x: clampInt(Math.trunc(2 * x * num / den) + ox),
        y: clampInt(Math.trunc(2 * y * num / den) + oy),
        w: clampInt(Math.trunc(2 * width * num / den)),
        h: clampInt(Math.trunc(2 * height * num / den)),
      };
    }
    mapItem(x, y, width, height) {
      return this.mapToClient(truncInt(x), truncInt(y), truncInt(width), truncInt(height));
    }
    mapToClientF(x, y, width, height) {
      let ox = 0, oy = 0, scale = this.h / this.sh;
      if (this.byWidth()) {
        scale = this.w / this.sw;
        oy = (this.h - this.w * this.sh / this.sw) / 2;
      } else {
        ox = (this.w - this.h * this.sw / this.sh) / 2;
      }
      return { x: 2 * x * scale + ox, y: 2 * y * scale + oy, w: 2 * width * scale, h: 2 * height * scale };
    }
    scale() { return this.byWidth() ? this.w / this.sw : this.h / this.sh; }
    fitRect(pw, ph) {
      if (!(pw > 0) || !(ph > 0)) return null;
      if (Math.trunc(this.w * ph / pw) < this.h) {
        const height = Math.trunc(this.w * ph / pw);
        return { x: 0, y: clampInt(Math.trunc((this.h - height) / 2)), w: clampInt(this.w), h: clampInt(height) };
      }
      const width = Math.trunc(this.h * pw / ph);
      return { x: clampInt(Math.trunc((this.w - width) / 2)), y: 0, w: clampInt(width), h: clampInt(this.h) };
    }
    clientToPage(px, py) {
      if (this.w <= 0 || this.h <= 0) return { x: 0, y: 0 };
      if (this.byWidth()) {
        const oy = (this.h - this.w * this.sh / this.sw) / 2;
        const factor = this.sw / 2 / this.w;
        return { x: px * factor, y: (py - oy) * factor };
      }
      const ox = (this.w - this.h * this.sw / this.sh) / 2;
      const factor = this.sh / 2 / this.h;
      return { x: (px - ox) * factor, y: py * factor };
    }
  }

  // ------------------------------------------------------------------ colours

  const colours = (Array.isArray(content && content.colours) ? content.colours : []).map(parseColour);

  function parseColour(text) {
    const s = String(text);
    let m = /^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(s);
    if (m) return { r: parseInt(m[1], 16), g: parseInt(m[2], 16), b: parseInt(m[3], 16), a: 255 };
    m = /^rgba\((\d+),(\d+),(\d+),([0-9.eE+-]+)\)$/.exec(s);
    if (m) {
      return { r: Number(m[1]) & 255, g: Number(m[2]) & 255, b: Number(m[3]) & 255,
        a: Math.round(Math.min(Math.max(Number(m[4]) || 0, 0), 1) * 255) };
    }
    return { r: 0, g: 0, b: 0, a: 0 };
  }

  function isNone(index) {
    return index === kNoColour || !(index >= 0) || index >= 65536;
  }
  function colourOf(index) {
    const i = isNone(index) ? kNoColour : index;
    return i < colours.length ? colours[i] : { r: 0, g: 0, b: 0, a: 0 };
  }
  function css(c, withAlpha) {
    return withAlpha ? 'rgba(' + c.r + ',' + c.g + ',' + c.b + ',' + c.a / 255 + ')'
      : 'rgb(' + c.r + ',' + c.g + ',' + c.b + ')';
  }

  // ------------------------------------------------------------------ pictures

  // Every exported picture as an <img> of a hidden holder, so that the page counts as loaded
  // only once they are; a picture that has not arrived yet is not drawn (a repaint follows).
  const pictures = new Map();
  const pictureHolder = document.createElement('div');
  pictureHolder.hidden = true;
  document.body.appendChild(pictureHolder);
  let pending = 0;
  let onAllLoaded = null;

  function isSafeFile(file) {
    // Only files of the player folder: relative, no scheme, no way up.
    return typeof file === 'string' && file !== '' && /^[A-Za-z0-9_./-]+$/.test(file) &&
      !file.startsWith('/') && file.split('/').indexOf('..') < 0 && !file.includes('//');
  }

  function loadPicture(file) {
    if (!isSafeFile(file) || pictures.has(file)) return;
    const img = document.createElement('img');
    const entry = { img, ready: false };
    pictures.set(file, entry);
    ++pending;
    const done = (ok) => {
      entry.ready = ok && img.naturalWidth > 0 && img.naturalHeight > 0;
      if (--pending === 0 && onAllLoaded) onAllLoaded();
      requestPaint();
    };
    img.addEventListener('load', () => done(true));
    img.addEventListener('error', () => done(false));
    img.setAttribute('src', file);
    pictureHolder.appendChild(img);
  }

  function picture(file) {
    const entry = isSafeFile(file) ? pictures.get(file) : null;
    return entry && entry.ready ? entry.img : null;
  }

  function loadAllPictures() {
    if (!content) return;
    for (const page of content.pages || []) loadPicture(page.background);
    for (const r of content.pictures || []) loadPicture(r.file);
    for (const r of content.materials || []) loadPicture(r.file);
    const screens = content.screens || {};
    for (const name of Object.keys(screens)) loadPicture(screens[name]);
  }

  function screenPicture(name) {
    const screens = (content && content.screens) || {};
    return Object.prototype.hasOwnProperty.call(screens, name) ? picture(screens[name]) : null;
  }

  // ------------------------------------------------------------------ text

  const families = (content && content.fonts && Array.isArray(content.fonts.families)
    ? content.fonts.families : ['IPAGothic', 'monospace'])
    .map((f) => (f === 'monospace' || f === 'sans-serif' ? f : '"' + String(f).replace(/["\\]/g, '') + '"'))
    .join(', ');

  // The line metrics of the editor's face, per pixel of size (its font engine's, not the
  // browser's, so that lines fall where the editor puts them).
  const fontAscent = content && content.fonts ? Number(content.fonts.ascent) : NaN;
  const fontDescent = content && content.fonts ? Number(content.fonts.descent) : NaN;

  function fontString(pixels, bits) {
    return ((bits & 4) ? 'italic ' : '') + ((bits & 2) ? '900 ' : '400 ') + Math.max(1, pixels) + 'px ' + families;
  }

  // Measures with a canvas of its own, so that measuring never disturbs a drawing in progress.
  const measureContext = document.createElement('canvas').getContext('2d');
  const metricsCache = new Map();

  // The metrics of one face and size: ascent, descent and per-character advances.
  function metricsOf(pixels, bits) {
    const key = pixels * 8 + (bits & 6);
    let m = metricsCache.get(key);
    if (!m) {
      if (metricsCache.size > 256) metricsCache.clear();
      const font = fontString(pixels, bits);
      measureContext.font = font;
      let ascent = pixels * fontAscent;
      let descent = pixels * fontDescent;
      if (!(fontAscent > 0) || !(fontDescent > 0)) {
        const probe = measureContext.measureText('M');
        ascent = probe.fontBoundingBoxAscent || pixels * 0.88;
        descent = probe.fontBoundingBoxDescent || pixels * 0.12;
      }
      m = { font, ascent, descent, height: ascent + descent, advances: new Map() };
      metricsCache.set(key, m);
    }
    return m;
  }

  function advanceOf(m, c) {
    let a = m.advances.get(c);
    if (a === undefined) {
      measureContext.font = m.font;
      a = measureContext.measureText(c).width;
      m.advances.set(c, a);
    }
    return a;
  }

  function isLineEnd(c) {
    return c === '\n' || c === '\r';
  }

  function clipTo(ctx, x, y, w, h) {
    ctx.beginPath();
    ctx.rect(x, y, w, h);
    ctx.clip();
  }

  // Where a line may break: after blanks, and around the characters of scripts written
  // without spaces; closing marks stay with what they close.
  const kNoBreakBefore = '、。，．・：；？！ー）」』】〕〉》’”ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ々,.!?:;)]}';
  function isWide(c) {
    const code = c.codePointAt(0);
    return code >= 0x2e80 && !(code >= 0xff61 && code <= 0xff9f);
  }
  function mayBreakBetween(a, b) {
    if (a === ' ' || a === '\t' || a === '\u3000') return true;
    if (kNoBreakBefore.includes(b)) return false;
    return isWide(a) || isWide(b);
  }

  // The lines of the platform's word-wrapped text drawing: words move to the next line when
  // they do not fit; a word longer than a line stays whole.
  function wrapLines(font, text, maxWidth, wrap) {
    measureContext.font = font;
    const paragraphs = wrap ? text.split(/\r\n|\r|\n/) : [text.replace(/[\r\n\t]/g, ' ')];
    const lines = [];
    for (const paragraph of paragraphs) {
      if (!wrap) {
        lines.push(paragraph);
        continue;
      }
      const chars = Array.from(paragraph);
      let line = '';
      let lineWidth = 0;
      let word = '';
      const flush = () => {
        const w = measureContext.measureText(line + word).width;
        if (line !== '' && w > maxWidth && measureContext.measureText(line.replace(/\s+$/, '') + word.replace(/\s+$/, '')).width > maxWidth) {
          lines.push(line.replace(/\s+$/, ''));
          line = word.replace(/^ +/, '');
        } else {
          line += word;
        }
        lineWidth = measureContext.measureText(line).width;
        word = '';
      };
      for (let i = 0; i < chars.length; ++i) {
        word += chars[i];
        if (i + 1 === chars.length || mayBreakBetween(chars[i], chars[i + 1])) flush();
      }
      void lineWidth;
      lines.push(line.replace(/\s+$/, ''));
    }
    return lines;
  }

  // The text-layout rule of every kind but the centred one.
  function drawLaidOutText(ctx, mapping, r) {
    if (!r.text || r.size <= 0) return;
    const left = truncInt(r.x + r.marginX + 2);
    const top = truncInt(r.y + r.marginY + 2);
    const width = truncInt(r.width - 2 * r.marginX);
    const height = truncInt(r.height - 2 * r.marginY);
    const rect = mapping.mapToClientF(left, top, width, height);
    const right = rect.x + rect.w;
    const bottom = rect.y + rect.h;
    const f = mapping.scale() * 1.99;
    const bits = ((r.wordwrap % 10) + 10) % 10;
    const drawPixels = fontPixels(r.size * f);
    if (drawPixels <= 0) return;
    const drawn = metricsOf(drawPixels, bits);
    ctx.font = drawn.font;
    ctx.textBaseline = 'alphabetic';
    ctx.textAlign = 'left';

    if (bits & 1) {
      ctx.save();
      clipTo(ctx, rect.x, rect.y, rect.w, rect.h);
      const lines = wrapLines(drawn.font, r.text, rect.w, !r.marquee);
      ctx.font = drawn.font;
      let y = rect.y;
      for (const line of lines) {
        if (y > bottom) break;
        ctx.fillText(line, rect.x, y + drawn.ascent);
        y += drawn.height;
      }
      ctx.restore();
      return;
    }

    const measure = metricsOf(fontPixels(r.size), bits);
    const ascent = drawn.ascent;
    const fullHeight = drawn.height;
    const cy = measure.height;
    let px = rect.x;
    let py = rect.y;
    const text = r.text;
    const n = text.length;
    for (let i = 0; i < n; ++i) {
      const c = text[i];
      const cx = advanceOf(measure, c);
      let offset = 0;
      let lineHeight = cy;
      if (r.lineHeight !== 0 && r.lineHeight > cy) {
        offset = Math.trunc((r.lineHeight - cy) / 2);
        lineHeight = r.lineHeight;
      }
      if (!isLineEnd(c)) {
        const cellLeft = truncInt(px + 0.5);
        const cellTop = truncInt(py + f * offset);
        const cellRight = truncInt(px + f * cx);
        const cellBottom = Math.min(truncInt(py + f * lineHeight), truncInt(bottom));
        const firstLine = cellTop <= rect.y + 1;
        if (cellTop < cellBottom && (!r.marquee || firstLine)) {
          if (cellTop + fullHeight > cellBottom) {
            ctx.save();
            clipTo(ctx, cellLeft, cellTop, Math.max(1, cellRight - cellLeft + 1), cellBottom - cellTop);
            ctx.fillText(c, cellLeft, cellTop + ascent);
            ctx.restore();
          } else {
            ctx.fillText(c, cellLeft, cellTop + ascent);
          }
        }
      }
      px += f * cx;
      const nextIsLineEnd = i + 1 < n && isLineEnd(text[i + 1]);
      if (c === '\n' || (px + f * cx > right && !nextIsLineEnd)) {
        px = rect.x;
        py += f * lineHeight;
        if (py > bottom + fullHeight && !r.marquee) break;
      }
    }
  }

  // The centred-text rule (idg 3).
  function drawCentredText(ctx, mapping, r) {
    if (!r.text || r.size <= 0) return;
    const rect = mapping.mapItem(r.x, r.y + 2, r.width, r.height);
    const full = fontPixels(r.size * 2.2 * mapping.scale());
    const pixels = Math.trunc(full * 9 / 10);
    if (pixels <= 0) return;
    const bits = ((r.wordwrap % 10) + 10) % 10;
    const m = metricsOf(pixels, bits);
    const lines = r.marquee ? wrapLines(m.font, r.text, rect.w, false)
      : (bits & 1) ? wrapLines(m.font, r.text, rect.w, true)
        : r.text.split(/\r\n|\r|\n/);
    ctx.save();
    clipTo(ctx, rect.x, rect.y, rect.w, rect.h);
    ctx.font = m.font;
    ctx.textBaseline = 'alphabetic';
    ctx.textAlign = 'left';
    let y = rect.y;
    for (const line of lines) {
      const w = ctx.measureText(line).width;
      ctx.fillText(line, rect.x + Math.trunc((rect.w - w) / 2), y + m.ascent);
      y += m.height;
    }
    ctx.restore();
  }

  // ------------------------------------------------------------------ the renderer

  function isTextOnlyKind(idg) {
    return idg === 2 || idg === 3 || idg === 5 || idg === 6 || idg === 7;
  }
  function lineHeightOf(idg) {
    return idg === 5 ? 24 : idg === 6 ? 28 : idg === 7 ? 32 : 0;
  }

  function fill(ctx, rect, colour) {
    if (isNone(colour)) return;
    ctx.fillStyle = css(colourOf(colour), true);
    ctx.fillRect(rect.x, rect.y, rect.w, rect.h);
  }

  // A frame around a rectangle: the polyline (X-1, Y-1) .. (X+W+2, Y+H+2) of a pen `width`
  // wide, drawn as the filled bands the editor's aliased pen covers.
  function drawFrame(ctx, r, colour, width) {
    if (isNone(colour)) return;
    ctx.fillStyle = css(colourOf(colour), false);
    const before = Math.trunc(width / 2);
    const x0 = r.x - 1 - before;
    const y0 = r.y - 1 - before;
    const x1 = r.x + r.w + 2 - before;
    const y1 = r.y + r.h + 2 - before;
    ctx.fillRect(x0, y0, x1 - x0 + width, width);
    ctx.fillRect(x0, y1, x1 - x0 + width, width);
    ctx.fillRect(x0, y0, width, y1 - y0 + width);
    ctx.fillRect(x1, y0, width, y1 - y0 + width);
  }

  function imageOfEntry(entry) {
    return entry.image && entry.image.file ? picture(entry.image.file) : null;
  }

  function drawJpeg(ctx, mapping, entry, target) {
    const image = imageOfEntry(entry);
    if (!image) return;
    const iw = image.naturalWidth;
    const ih = image.naturalHeight;
    const idg = entry.item.idg;
    if (idg === 55) {
      ctx.drawImage(image, target.x, target.y, target.w, target.h);
      return;
    }
    const scale = mapping.scale();
    let width = truncInt(iw * scale);
    let height = truncInt(ih * scale);
    const divisors = [2, 3, 4, 6, 8];
    if (idg >= 50 && idg <= 54) {
      width = Math.trunc(width / divisors[idg - 50]);
      height = Math.trunc(height / divisors[idg - 50]);
    }
    if (width <= 0 || height <= 0) return;
    const shownWidth = Math.min(target.w, width);
    const shownHeight = Math.min(target.h, height);
    if (shownWidth <= 0 || shownHeight <= 0) return;
    ctx.drawImage(image, 0, 0, shownWidth * iw / width, shownHeight * ih / height,
      target.x, target.y, shownWidth, shownHeight);
  }

  function drawOverlay(ctx, mapping, entry) {
    const type = entry.image ? entry.image.type : 0;
    if (type !== 1 && type !== 3 && type !== 4) return;
    const image = imageOfEntry(entry);
    if (!image) return;
    const iw = image.naturalWidth;
    const ih = image.naturalHeight;
    const item = entry.item;
    const itemWidth = truncInt(item.width);
    const itemHeight = truncInt(item.height);
    let tw, th, sw, sh;
    if (type === 1) {
      tw = sw = Math.min(iw, itemWidth);
      th = sh = Math.min(ih, itemHeight);
    } else {
      if (iw < 2 * itemWidth) { tw = Math.trunc(iw / 2); sw = iw; } else { tw = itemWidth; sw = 2 * itemWidth; }
      if (ih < 2 * itemHeight) { th = Math.trunc(ih / 2); sh = ih; } else { th = itemHeight; sh = 2 * itemHeight; }
    }
    if (sw <= 0 || sh <= 0) return;
    const t = mapping.mapToClient(truncInt(item.x), truncInt(item.y), tw, th);
    if (t.w <= 0 || t.h <= 0) return;
    ctx.drawImage(image, 0, 0, sw, sh, t.x, t.y, t.w, t.h);
  }

  function textRequest(item, text, marquee) {
    return {
      x: item.x, y: item.y, width: item.width, height: item.height, marginX: 0, marginY: 0,
      size: item.size, wordwrap: item.wordwrap, lineHeight: 0, marquee, text,
    };
  }

  function drawItemText(ctx, mapping, engine, item, text, clock, state) {
    if (!isNone(item.color)) state.textColour = css(colourOf(item.color), false);
    ctx.fillStyle = state.textColour;
    const r = textRequest(item, text, false);
    if (item.idg === 3 && !clock) {
      drawCentredText(ctx, mapping, r);
      return;
    }
    const margins = clock || item.idg === 0 || item.idg === 4 || engine.exPng();
    r.marginX = margins ? item.margin_x : 0;
    r.marginY = margins ? item.margin_y : 0;
    r.lineHeight = clock ? 0 : lineHeightOf(item.idg);
    drawLaidOutText(ctx, mapping, r);
  }

  function paintItem(ctx, mapping, engine, index, state) {
    const entry = engine.items()[index];
    const item = entry.item;
    const rect = mapping.mapItem(item.x, item.y, item.width, item.height);
    if (item.idg === 1 && engine.focusItem() !== item.id && engine.cursorOnlyItem() !== item.id) return;
    if (!engine.isVisible(item.id)) return;
    const type = entry.image ? entry.image.type : 0;
    if (isTextOnlyKind(item.idg) && !engine.exPng()) {
      fill(ctx, rect, item.bcolor);
    } else {
      if (type === 0) drawJpeg(ctx, mapping, entry, rect);
      fill(ctx, rect, item.bcolor);
      drawOverlay(ctx, mapping, entry);
    }
    const marqueeItem = engine.marqueeItem();
    const isMarquee = item.id === marqueeItem && marqueeItem !== 0;
    if (!isMarquee && item.text) drawItemText(ctx, mapping, engine, item, item.text, false, state);
    const clockItem = engine.clockItem();
    if (item.id === clockItem && clockItem !== 0) drawItemText(ctx, mapping, engine, item, engine.clockText(), true, state);
  }

  function backgroundPicture(engine) {
    const bg = engine.page() && engine.page().background;
    if (bg && bg.file) return { image: picture(bg.file), w: 0, h: 0 };
    // A page without a background shows a blank black picture of the screen's shape.
    return engine.vertical() ? { image: null, w: 540, h: 960 } : { image: null, w: 960, h: 540 };
  }

  function paint(ctx, w, h, engine) {
    ctx.imageSmoothingEnabled = false;
    const shown = engine.shownPageNumber();
    if (shown === 0 || w <= 0 || h <= 0) return;
    const mapping = new Mapping(w, h, engine.vertical());
    if (isSpecialScreen(shown)) {
      ctx.fillStyle = 'rgb(127,127,127)';
      ctx.fillRect(0, 0, w, h);
      const name = shown === kVideoScreen ? 'video' : shown === kGuideScreen ? 'guide'
        : shown === kOtherChannelScreen ? 'otherChannel' : 'web';
      const image = screenPicture(name);
      const fit = mapping.fitRect(960, 540);
      if (image && fit) ctx.drawImage(image, fit.x, fit.y, fit.w, fit.h);
      return;
    }
    const state = { textColour: 'rgb(0,0,0)' };
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, w, h);
    const page = engine.page();
    const bg = backgroundPicture(engine);
    const bw = bg.image ? bg.image.naturalWidth : bg.w;
    const bh = bg.image ? bg.image.naturalHeight : bg.h;
    const fit = bw > 0 && bh > 0 ? mapping.fitRect(bw, bh) : null;
    if (fit) {
      if (bg.image) ctx.drawImage(bg.image, fit.x, fit.y, fit.w, fit.h);
      ctx.fillStyle = css(colourOf(page.backcol), true);
      ctx.fillRect(fit.x, fit.y, fit.w, fit.h);
    }
    const tvIndex = engine.indexOfItem(page.tvitem);
    if (page.tvitem !== 0 && tvIndex >= 0) {
      const tv = engine.items()[tvIndex].item;
      const video = screenPicture('video');
      const r = mapping.mapItem(tv.x, tv.y, tv.width, tv.height);
      if (video && r.w > 0 && r.h > 0) ctx.drawImage(video, r.x, r.y, r.w, r.h);
    }
    const count = engine.items().length;
    for (let i = 0; i < count; ++i) paintItem(ctx, mapping, engine, i, state);
    const focus = engine.focusItem();
    const focusIndex = engine.indexOfItem(focus);
    if (focus !== 0 && focusIndex >= 0) {
      const item = engine.items()[focusIndex].item;
      drawFrame(ctx, mapping.mapItem(item.x, item.y, item.width, item.height), page.curcol, 3);
    }
  }

  // One item with `text` over the part of the background beneath it: the marquee and the
  // clock between full paints.
  function paintItemDirect(ctx, w, h, engine, itemId, text) {
    const index = engine.indexOfItem(itemId);
    if (index < 0 || w <= 0 || h <= 0 || isSpecialScreen(engine.shownPageNumber())) return;
    const mapping = new Mapping(w, h, engine.vertical());
    const entry = engine.items()[index];
    const item = entry.item;
    const rect = mapping.mapItem(item.x, item.y, item.width, item.height);
    ctx.save();
    clipTo(ctx, rect.x, rect.y, rect.w, rect.h);
    ctx.imageSmoothingEnabled = false;
    ctx.fillStyle = '#000';
    ctx.fillRect(rect.x, rect.y, rect.w, rect.h);
    const page = engine.page();
    const bg = backgroundPicture(engine);
    const bw = bg.image ? bg.image.naturalWidth : bg.w;
    const bh = bg.image ? bg.image.naturalHeight : bg.h;
    const fit = bw > 0 && bh > 0 ? mapping.fitRect(bw, bh) : null;
    if (fit) {
      if (bg.image) ctx.drawImage(bg.image, fit.x, fit.y, fit.w, fit.h);
      ctx.fillStyle = css(colourOf(page.backcol), true);
      ctx.fillRect(fit.x, fit.y, fit.w, fit.h);
    }
    const type = entry.image ? entry.image.type : 0;
    if (type === 0) drawJpeg(ctx, mapping, entry, rect);
    fill(ctx, rect, item.bcolor);
    if (type === 1 || type === 3) drawOverlay(ctx, mapping, entry);
    const r = textRequest(item, text, itemId === engine.marqueeItem());
    r.marginX = item.margin_x;
    r.marginY = item.margin_y;
    r.lineHeight = lineHeightOf(item.idg);
    ctx.fillStyle = isNone(item.color) ? 'rgb(0,0,0)' : css(colourOf(item.color), false);
    drawLaidOutText(ctx, mapping, r);
    ctx.restore();
  }

  // A benchmark page sets window.ORIN_BENCH before loading the player: it then draws with the
  // player's own renderer, and nothing of the page below starts.
  if (window.ORIN_BENCH) {
    window.OrinPlayer = Object.freeze({ paint, Mapping });
    return;
  }

  // ------------------------------------------------------------------ the page

  const stage = document.getElementById('orin-canvas');
  const ctx = stage.getContext('2d', { alpha: false });
  const stateView = document.getElementById('orin-state');
  const messageView = document.getElementById('orin-message');
  const panel = document.getElementById('orin-panel');
  const panelToggle = document.getElementById('orin-panel-toggle');

  let sim = null;
  let live = false;
  let paintRequested = false;
  let clientW = 0;
  let clientH = 0;

  function fitCanvas() {
    const ratio = window.devicePixelRatio || 1;
    clientW = Math.max(1, Math.round(window.innerWidth * ratio));
    clientH = Math.max(1, Math.round(window.innerHeight * ratio));
    if (stage.width !== clientW || stage.height !== clientH) {
      stage.width = clientW;
      stage.height = clientH;
    }
  }

  function paintNow() {
    paintRequested = false;
    if (!sim) return;
    fitCanvas();
    paint(ctx, clientW, clientH, sim.engine);
    updatePanel();
  }

  function requestPaint() {
    if (!sim || paintRequested) return;
    paintRequested = true;
    window.requestAnimationFrame(paintNow);
  }

  const messages = [];
  function showNextMessage() {
    if (messages.length === 0 || !messageView.hidden) return;
    const m = messages.shift();
    document.getElementById('orin-message-caption').textContent = m.caption;
    document.getElementById('orin-message-text').textContent = m.text;
    messageView.hidden = false;
    document.getElementById('orin-message-ok').focus();
  }
  function closeMessage() {
    messageView.hidden = true;
    stage.focus();
    showNextMessage();
  }
  document.getElementById('orin-message-ok').addEventListener('click', closeMessage);

  function playSound(soundId) {
    const record = ((content && content.sounds) || []).find((s) => s.id === soundId);
    if (!record || !isSafeFile(record.file)) return;
    try {
      const audio = new Audio(record.file);
      const played = audio.play();
      if (played && typeof played.catch === 'function') played.catch(() => {});
    } catch (e) {
      // The browser does not let the page play sounds now.
    }
  }

  const observer = {
    repaint() { requestPaint(); },
    redrawItemDirect(itemId, text) {
      if (!live || paintRequested) return;
      fitCanvas();
      paintItemDirect(ctx, clientW, clientH, sim.engine, itemId, String(text));
    },
    showMessage(text, caption) {
      if (!live) return;
      messages.push({ text: String(text), caption: String(caption) });
      showNextMessage();
    },
    playSound(soundId) { if (live) playSound(soundId); },
    digitEntryChanged() { updatePanel(); },
    shownPage() { requestPaint(); },
  };

  // ------------------------------------------------------------------ input

  function press(name) {
    if (!sim || !messageView.hidden) return;
    Engine.press(sim, name);
    requestPaint();
  }

  function digitsOn() {
    return sim && typeof sim.engine.digitEntry === 'function' ? sim.engine.digitEntry() : true;
  }

  const keyNames = {
    ArrowUp: 'up', ArrowDown: 'down', ArrowLeft: 'left', ArrowRight: 'right',
    Enter: 'enter', NumpadEnter: 'enter', Backspace: 'back', Escape: 'back',
    d: 'd', D: 'd', '.': 'd', Decimal: 'd',
    b: 'blue', B: 'blue', '/': 'blue', r: 'red', R: 'red', '*': 'red',
    g: 'green', G: 'green', '-': 'green', y: 'yellow', Y: 'yellow', '+': 'yellow',
    F5: null,
  };

  window.addEventListener('keydown', (event) => {
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    if (!messageView.hidden) {
      if (event.key === 'Enter' || event.key === 'Escape') {
        event.preventDefault();
        closeMessage();
      }
      return;
    }
    let name = Object.prototype.hasOwnProperty.call(keyNames, event.key) ? keyNames[event.key] : undefined;
    if (name === null || name === undefined) {
      if (/^[0-9]$/.test(event.key)) {
        if (!digitsOn()) return;
        name = 'digit:' + (event.key === '0' ? 10 : Number(event.key));
      } else {
        return;
      }
    }
    event.preventDefault();
    press(name);
  });

  stage.addEventListener('click', (event) => {
    if (!sim || !sim.engine.linkedClicks()) return;
    fitCanvas();
    const ratio = window.devicePixelRatio || 1;
    const mapping = new Mapping(clientW, clientH, sim.engine.vertical());
    const p = mapping.clientToPage(event.clientX * ratio, event.clientY * ratio);
    sim.engine.linkedClick(p.x, p.y);
    sim.settle();
    requestPaint();
  });

  const digitButtons = [];
  let linkedBox = null;
  let timersBox = null;

  function button(caption, action, className) {
    const b = document.createElement('button');
    b.type = 'button';
    b.tabIndex = -1;
    b.textContent = caption;
    if (className) b.className = className;
    // The panel never takes the keyboard from the page.
    b.addEventListener('mousedown', (event) => event.preventDefault());
    if (action) b.addEventListener('click', action); else b.disabled = true;
    panel.appendChild(b);
    return b;
  }
  function gap() {
    panel.appendChild(document.createElement('span'));
  }
  function checkBox(caption, checked, onChange) {
    const label = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.tabIndex = -1;
    box.checked = checked;
    box.addEventListener('change', () => onChange(box.checked));
    label.appendChild(box);
    label.appendChild(document.createTextNode(caption));
    panel.appendChild(label);
    return box;
  }

  function buildPanel() {
    const caption = document.createElement('div');
    caption.className = 'orin-caption';
    caption.textContent = 'リモコンパネル';
    panel.appendChild(caption);
    button('青', () => press('blue'), 'orin-blue');
    button('赤', () => press('red'), 'orin-red');
    button('緑', () => press('green'), 'orin-green');
    button('黄', () => press('yellow'), 'orin-yellow');
    gap(); button('↑', () => press('up')); gap(); button('ｄ', () => press('d'));
    button('←', () => press('left')); button('決定', () => press('enter')); button('→', () => press('right'));
    button('戻る', () => press('back'));
    gap(); button('↓', () => press('down')); gap(); button('Refresh', () => press('refresh'));
    for (let d = 1; d <= 10; ++d) {
      digitButtons.push(button(d === 10 ? '10/0' : String(d), () => press('digit:' + d)));
    }
    button('11', null);
    button('12', null);
    linkedBox = checkBox('連動', true, (on) => { if (sim) sim.engine.setLinkedClicks(on); });
    timersBox = checkBox('ﾀｲﾏｰ', true, (on) => { if (sim) sim.engine.setTimersOn(on); });
    panelToggle.addEventListener('mousedown', (event) => event.preventDefault());
    panelToggle.addEventListener('click', () => { panel.hidden = !panel.hidden; });
  }

  function updatePanel() {
    const on = digitsOn();
    for (const b of digitButtons) b.disabled = !on;
    if (sim && linkedBox) linkedBox.checked = sim.engine.linkedClicks();
    if (sim && timersBox) timersBox.checked = sim.engine.timersOn();
  }

  // ------------------------------------------------------------------ start

  function localMsOfDay() {
    const now = new Date();
    return ((now.getHours() * 60 + now.getMinutes()) * 60 + now.getSeconds()) * 1000 + now.getMilliseconds();
  }

  function firstPage() {
    const pages = (content && content.pages) || [];
    return pages.length > 0 ? pages[0].id : 0;
  }

  function fail(message) {
    stateView.hidden = false;
    stateView.setAttribute('data-error', message);
    stateView.textContent = '';
    document.title = 'error: ' + message;
  }

  function markReady() {
    document.documentElement.setAttribute('data-orin-ready', '1');
  }

  function start() {
    if (!content || !Engine) {
      fail(!content ? 'content.js is missing' : 'engine.js is missing');
      return;
    }
    const hasQuery = query.has('page') || query.has('keys') || query.has('clock') || query.has('state');
    const pageText = query.get('page');
    const keys = query.get('keys') || '';
    const clockText = query.get('clock') || '';
    if (query.get('state') === 'json') {
      let lines;
      try {
        lines = Engine.simulate(content, { page: pageText === null ? undefined : pageText, keys, clock: clockText || undefined });
      } catch (e) {
        fail(String(e && e.message ? e.message : e));
        return;
      }
      stateView.textContent = lines.map((line) => line + '\n').join('');
      stateView.hidden = false;
      markReady();
      return;
    }
    loadAllPictures();
    window.addEventListener('resize', requestPaint);
    if (hasQuery) {
      // The state after the keys on a clock that stands still, as the command line draws it.
      try {
        sim = Engine.create(content, { clock: clockText || '12:00', observer });
        sim.engine.setLinkedClicks(true);
        sim.engine.setTimersOn(true);
        const page = pageText === null || pageText === '' ? firstPage() : Number(pageText);
        if (!Number.isInteger(page) || page <= 0 || !(content.pages || []).some((p) => p.id === page)) {
          throw new Error('no such page: ' + pageText);
        }
        sim.engine.showPage(page);
        sim.settle();
        for (const token of keys === '' ? [] : keys.split(',')) Engine.press(sim, token);
      } catch (e) {
        sim = null;
        fail(String(e && e.message ? e.message : e));
        return;
      }
      panelToggle.hidden = true;
      const finish = () => { paintNow(); markReady(); };
      if (pending === 0) finish(); else onAllLoaded = finish;
      return;
    }
    live = true;
    sim = Engine.create(content, { clock: localMsOfDay(), observer });
    buildPanel();
    if (query.get('panel') === '1') panel.hidden = false;
    if (query.get('panel') === '0') panelToggle.hidden = true;
    const page = firstPage();
    if (page > 0) sim.engine.showPage(page);
    sim.settle();
    requestPaint();
    let last = performance.now();
    let carry = 0;
    window.setInterval(() => {
      const now = performance.now();
      // Time spent in a hidden tab is not made up for at once.
      carry += Math.min(Math.max(0, now - last), 5000);
      last = now;
      const step = Math.floor(carry);
      carry -= step;
      if (step > 0) sim.wait(step);
    }, 20);
    onAllLoaded = markReady;
    if (pending === 0) markReady();
    stage.tabIndex = 0;
    stage.focus();
  }

  start();
})();

// SPDX-License-Identifier: MIT
// Writes a content object (the web player's content.js form) as a project file that
// orinedit-cli reads, so that the differential tests can hand the same content set to both
// receivers. Picture files are named by `file`, relative to `assetFolder`.
'use strict';

const fs = require('fs');
const path = require('path');

function escapeMarkup(value) {
  let out = '';
  for (const c of String(value)) {
    switch (c) {
      case '&': out += '&amp;'; break;
      case '<': out += '&lt;'; break;
      case '>': out += '&gt;'; break;
      case '"': out += '&quot;'; break;
      case "'": out += '&apos;'; break;
      case '\r': out += '&#13;'; break;
      case '\n': out += '&#10;'; break;
      case '\t': out += '&#9;'; break;
      default: {
        const code = c.codePointAt(0);
        // Control characters and lone surrogates go as references.
        if (code < 0x20 || (code >= 0xd800 && code <= 0xdfff)) out += '&#' + code + ';';
        else out += c;
      }
    }
  }
  return out;
}

function num(v, fallback) {
  return v === undefined ? String(fallback) : String(v);
}

const kPageDefaults = {
  defitem: 0, tvitem: 0, clock: 0, return_: 0, up: 0, down: 0, left: 0, right: 0, back: 0,
  data: 0, blue: 0, red: 0, green: 0, yellow: 0, timer: 0, marquee: 0, marquee_speed: 0,
  timer_item: 0, timer_ino: 0, textid: 0, backcol: 8, curcol: 3, cursize: 2, memory: 0,
  cursor: 0, smacro: 0,
};

// The project text of `content`.
function projectText(content, assetFolder) {
  const s = content.settings || {};
  const lines = [];
  const put = (indent, text) => lines.push(' '.repeat(indent) + text);
  const file = (name) => (name ? escapeMarkup(path.join(assetFolder, name)) : '');
  put(0, '<BMLCAST>');
  put(2, `<TransChannel>${num(s.TransChannel, 1)}</TransChannel>`);
  put(2, `<TimerMode>${num(s.TimerMode, 0)}</TimerMode>`);
  put(2, `<CursorSize>${num(s.CursorSize, 2)}</CursorSize>`);
  put(2, '<FileIDName></FileIDName>');
  put(2, '<ModeScreen>0</ModeScreen>');
  put(2, '<BackImagePage>0</BackImagePage>');
  put(2, `<ExPNG Vertical="${num(s.Vertical, 0)}" ConvertAAC="0">${num(s.ExPNG, 1)}</ExPNG>`);
  put(2, '<NumAAC>0</NumAAC>');
  put(2, '<IDConv homeID="">0</IDConv>');
  put(2, '<Program>');
  for (const p of content.pages || []) {
    const v = (f) => num(p[f], kPageDefaults[f]);
    put(4, `<BMLJPEG id="${p.id}" comment = "${escapeMarkup(p.comment || '')}" defitem="${v('defitem')}" ` +
      `tvitem="${v('tvitem')}" clock="${v('clock')}" return="${v('return_')}" up="${v('up')}" ` +
      `down ="${v('down')}" left="${v('left')}" right="${v('right')}" back="${v('back')}" ` +
      `data="${v('data')}" blue="${v('blue')}" red="${v('red')}" green="${v('green')}" ` +
      `yellow="${v('yellow')}" timer="${v('timer')}" marquee="${v('marquee')}" ` +
      `marquee_speed="${v('marquee_speed')}" timer_item="${v('timer_item')}" ` +
      `timer_ino="${v('timer_ino')}" textid="${v('textid')}" backcol="${v('backcol')}" ` +
      `curcol="${v('curcol')}" cursize="${v('cursize')}" memory="${v('memory')}" ` +
      `cursor="${v('cursor')}" smacro="${v('smacro')}">`);
    put(6, `<JPEG>${file(p.background)}</JPEG>`);
    const items = p.items || [];
    put(6, `<Items Num="${items.length}">`);
    for (const it of items) {
      const a = (f, d) => escapeMarkup(it[f] === undefined ? d : it[f]);
      put(8, `<Item id="${num(it.id, 0)}" idg="${num(it.idg, 0)}" parent="0" x="${num(it.x, 0)}" ` +
        `y="${num(it.y, 0)}" width="${num(it.width, 0)}" height="${num(it.height, 0)}" ` +
        `focus="${a('focus', '0')}" outfocus="${a('outfocus', '0')}" ret="${a('ret', '0')}" ` +
        `up="${a('up', '')}" down ="${a('down', '')}" left="${a('left', '')}" ` +
        `right="${a('right', '')}" pic_no="${num(it.pic_no, 0)}" text_no="${num(it.text_no, 0)}">`);
      put(10, `<ItemText margin_x="${num(it.margin_x, 0)}" margin_y="${num(it.margin_y, 0)}" ` +
        `color="${num(it.color, 7)}" size="${num(it.size, 20)}" bcolor="${num(it.bcolor, 8)}" ` +
        `wordwrap="${num(it.wordwrap, 0)}">${a('text', '')}</ItemText>`);
      put(8, '</Item>');
    }
    put(6, '</Items>');
    put(4, '</BMLJPEG>');
  }
  put(2, '</Program>');
  put(2, '<Material>');
  for (const r of content.materials || [])
    put(4, `<ItemBitmap id="${r.id}" item="0" label="" type="${num(r.type, 1)}">${file(r.file)}</ItemBitmap>`);
  put(2, '</Material>');
  put(2, '<Picture>');
  for (const r of content.pictures || [])
    put(4, `<ItemJPEG id="${r.id}" item="0" label="" type="${num(r.type, 0)}">${file(r.file)}</ItemJPEG>`);
  put(2, '</Picture>');
  put(2, '<Text>');
  for (const r of content.texts || [])
    put(4, `<ItemText id="${r.id}" item="0" label="">${escapeMarkup(r.text)}</ItemText>`);
  put(2, '</Text>');
  put(2, '<Channel>');
  put(2, '</Channel>');
  put(2, '<WebPage>');
  put(2, '</WebPage>');
  put(2, '<Macro>');
  for (const r of content.macros || [])
    put(4, `<ItemMacro id="${r.id}" item="0" label="">${escapeMarkup(r.macro)}</ItemMacro>`);
  put(2, '</Macro>');
  put(2, '<Sound>');
  put(2, '</Sound>');
  put(2, '<Function>');
  put(4, '<ItemValue></ItemValue>');
  put(2, '</Function>');
  put(0, '</BMLCAST>');
  return lines.join('\r\n') + '\r\n';
}

// Writes `content` to `file` (UTF-16 with its byte-order mark, as the editor saves).
function writeProject(content, file, assetFolder) {
  const text = '\ufeff' + projectText(content, assetFolder);
  fs.writeFileSync(file, Buffer.from(text, 'utf16le'));
}

// The content object as the editor reads it back from that file: empty focus and outfocus
// strings read as "0", item counts at most 256.
function asLoaded(content) {
  const copy = JSON.parse(JSON.stringify(content));
  for (const p of copy.pages || []) {
    p.items = (p.items || []).slice(0, 256).map((it) => {
      const item = Object.assign({ idg: 0, x: 0, y: 0, width: 0, height: 0, pic_no: 0, text_no: 0,
        margin_x: 0, margin_y: 0, color: 7, size: 20, bcolor: 8, wordwrap: 0, text: '',
        focus: '0', outfocus: '0', ret: '0', up: '', down: '', left: '', right: '' }, it);
      if (item.focus === '') item.focus = '0';
      if (item.outfocus === '') item.outfocus = '0';
      return item;
    });
    p.itemCount = p.items.length;
    for (const [f, d] of Object.entries(kPageDefaults)) if (p[f] === undefined) p[f] = d;
  }
  copy.settings = Object.assign({ TimerMode: 0, ExPNG: 1, Vertical: 0 }, copy.settings || {});
  return copy;
}

module.exports = { writeProject, projectText, asLoaded, escapeMarkup };

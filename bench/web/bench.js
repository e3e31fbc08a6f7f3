// SPDX-License-Identifier: MIT
// The player drawing a page of 256 items, and a key press on it, against the browser's own
// layout of the same boxes (absolutely placed elements with the same fills, frame and texts).
// Each case runs `runs` times; the medians in ms and their ratios go into #bench-result as
// JSON. The canvas is read back after each drawing so that the drawing is done, not queued;
// the peer's layout is forced by reading a box; neither includes the compositor.
'use strict';
(function () {
  const W = 1280;
  const H = 720;
  const runs = Number(new URLSearchParams(location.search).get('runs')) || 60;
  const content = window.ORIN_CONTENT;
  const player = window.OrinPlayer;

  function median(values) {
    const sorted = values.slice().sort((a, b) => a - b);
    const mid = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
  }
  // Each sample times `batch` calls, so that a fast case stays above the clock's resolution.
  function measure(body, batch) {
    const times = [];
    for (let i = 0; i < runs + 5; ++i) {
      const t0 = performance.now();
      for (let j = 0; j < batch; ++j) body();
      const t1 = performance.now();
      if (i >= 5) times.push((t1 - t0) / batch); // the first runs warm up
    }
    return median(times);
  }

  // --- ours: the engine and the player's renderer on a canvas
  const canvas = document.createElement('canvas');
  canvas.width = W;
  canvas.height = H;
  document.body.appendChild(canvas);
  const ctx = canvas.getContext('2d', { alpha: false, willReadFrequently: false });
  let sim = OrinEngine.create(content, { clock: '12:00' });
  function drawn() {
    ctx.getImageData(0, 0, 1, 1);
  }
  const oursShow = measure(() => {
    sim = OrinEngine.create(content, { clock: '12:00' });
    sim.engine.showPage(1);
    sim.settle();
    player.paint(ctx, W, H, sim.engine);
    drawn();
  }, 1);
  let down = true;
  const oursKey = measure(() => {
    OrinEngine.press(sim, down ? 'down' : 'up');
    down = !down;
    player.paint(ctx, W, H, sim.engine);
    drawn();
  }, 1);

  // --- the peer: the same boxes as elements laid out by the browser
  const host = document.createElement('div');
  host.style.cssText = 'position:relative;width:' + W + 'px;height:' + H + 'px;background:#000;overflow:hidden';
  document.body.appendChild(host);
  const mapping = new player.Mapping(W, H, false);
  const page = content.pages[0];
  function peerBuild() {
    host.textContent = '';
    const boxes = [];
    for (const item of page.items) {
      const r = mapping.mapItem(item.x, item.y, item.width, item.height);
      const box = document.createElement('div');
      box.style.cssText = 'position:absolute;box-sizing:border-box;overflow:hidden;white-space:pre;' +
        'font:' + Math.trunc(item.size * mapping.scale() * 1.99) + 'px IPAGothic,monospace;' +
        'left:' + r.x + 'px;top:' + r.y + 'px;width:' + r.w + 'px;height:' + r.h + 'px;' +
        'padding:' + Math.trunc(2 * item.margin_y * mapping.scale()) + 'px ' + Math.trunc(2 * item.margin_x * mapping.scale()) + 'px;' +
        'color:' + content.colours[item.color] + ';background:' + content.colours[item.bcolor];
      box.textContent = item.text;
      host.appendChild(box);
      boxes.push(box);
    }
    return boxes;
  }
  let boxes = [];
  const peerShow = measure(() => {
    boxes = peerBuild();
    host.getBoundingClientRect();
    boxes[boxes.length - 1].getBoundingClientRect();
  }, 1);
  let focused = 0;
  const peerKey = measure(() => {
    boxes[focused].style.outline = '';
    focused = focused < 16 ? focused + 16 : focused - 16;
    boxes[focused].style.outline = '3px solid #ffff00';
    boxes[focused].getBoundingClientRect();
  }, 200);

  const result = {
    runs, size: W + 'x' + H, items: page.items.length,
    show: { oursMs: oursShow, peerMs: peerShow, ratio: oursShow / peerShow },
    key: { oursMs: oursKey, peerMs: peerKey, ratio: oursKey / peerKey },
  };
  document.getElementById('bench-result').textContent = JSON.stringify(result);
})();

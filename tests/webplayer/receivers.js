// SPDX-License-Identifier: MIT
// The two receivers side by side: orinedit-cli simulate --json on a project file, the web
// player's engine on the same content under Node, and the exported player in headless
// Chromium. Each gives the state lines of one run; `firstDifference` says where two differ.
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const vm = require('vm');
const { execFileSync, spawnSync } = require('child_process');

const root = path.resolve(__dirname, '..', '..');
const OrinEngine = require(path.join(root, 'web', 'engine.js'));
const bjpx = require('./bjpx.js');

// The pictures the fixtures name, by file name.
const assetFolder = path.join(root, 'examples', 'sample.');

function cliPath() {
  const cli = process.env.ORIN_CLI || path.join(root, 'build', 'bin', 'orinedit-cli');
  if (!fs.existsSync(cli)) throw new Error(`orinedit-cli not found at ${cli} (set ORIN_CLI)`);
  return cli;
}

function tempDir(prefix) {
  return fs.mkdtempSync(path.join(os.tmpdir(), prefix));
}

function keyList(keys) {
  return Array.isArray(keys) ? keys.join(',') : (keys || '');
}

// The lines of `orinedit-cli simulate FILE --json` with the run's page, keys and clock.
function cliLines(file, run) {
  const args = ['simulate', file, '--json'];
  if (run.page !== undefined) args.push('--page', String(run.page));
  if (keyList(run.keys)) args.push('--keys', keyList(run.keys));
  if (run.clock) args.push('--clock', run.clock);
  const out = execFileSync(cliPath(), args, {
    env: Object.assign({}, process.env, { QT_QPA_PLATFORM: 'offscreen' }),
    maxBuffer: 512 * 1024 * 1024,
    stdio: ['ignore', 'pipe', 'pipe'],
  });
  return out.toString('utf8').split('\n').filter((line) => line.length > 0);
}

function engineLines(content, run) {
  return OrinEngine.simulate(content, { page: run.page, keys: keyList(run.keys), clock: run.clock });
}

// Writes the content set as a project file in a new folder; returns its path.
function writeFixture(content, folder) {
  const file = path.join(folder || tempDir('orin-web-'), 'fixture.bjpx');
  bjpx.writeProject(content, file, assetFolder);
  return file;
}

function exportWeb(file, outDir) {
  execFileSync(cliPath(), ['export-web', file, outDir], {
    env: Object.assign({}, process.env, { QT_QPA_PLATFORM: 'offscreen' }),
    stdio: ['ignore', 'pipe', 'pipe'],
  });
  return outDir;
}

// The content object of an exported player (content.js is a classic script that sets
// window.ORIN_CONTENT).
function exportedContent(outDir) {
  const sandbox = { window: {} };
  vm.runInNewContext(fs.readFileSync(path.join(outDir, 'content.js'), 'utf8'), sandbox);
  return sandbox.window.ORIN_CONTENT;
}

function chromiumPath() {
  return process.env.ORIN_CHROMIUM || '/usr/bin/chromium';
}

function unescapeHtml(text) {
  return text.replace(/&(amp|lt|gt|quot|nbsp|#\d+|#x[0-9a-f]+);/gi, (all, name) => {
    switch (name.toLowerCase()) {
      case 'amp': return '&';
      case 'lt': return '<';
      case 'gt': return '>';
      case 'quot': return '"';
      case 'nbsp': return '\u00a0';
      default:
        return String.fromCodePoint(name[1].toLowerCase() === 'x' ? parseInt(name.slice(2), 16)
          : parseInt(name.slice(1), 10));
    }
  });
}

// The state lines that the exported player writes into <pre id="orin-state"> in headless
// Chromium for the run.
function chromiumLines(outDir, run) {
  const query = new URLSearchParams();
  if (run.page !== undefined) query.set('page', String(run.page));
  if (keyList(run.keys)) query.set('keys', keyList(run.keys));
  if (run.clock) query.set('clock', run.clock);
  query.set('state', 'json');
  const url = 'file://' + path.join(outDir, 'index.html') + '?' + query.toString();
  const profile = tempDir('orin-chromium-');
  try {
    const result = spawnSync(chromiumPath(), [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--user-data-dir=${profile}`, '--dump-dom', url,
    ], { maxBuffer: 512 * 1024 * 1024, timeout: 120000 });
    const dom = String(result.stdout);
    const match = /<pre id="orin-state"[^>]*>([\s\S]*?)<\/pre>/.exec(dom);
    if (!match) throw new Error(`no <pre id="orin-state"> in the page (${String(result.stderr).slice(0, 400)})`);
    return unescapeHtml(match[1]).split('\n').filter((line) => line.length > 0);
  } finally {
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

// null when both lists are the same; otherwise the first line that differs, from both.
function firstDifference(expected, actual) {
  const n = Math.max(expected.length, actual.length);
  for (let i = 0; i < n; ++i) {
    if (expected[i] !== actual[i])
      return { line: i, expected: expected[i], actual: actual[i], lengths: [expected.length, actual.length] };
  }
  return null;
}

module.exports = {
  OrinEngine, bjpx, assetFolder, cliPath, tempDir, cliLines, engineLines, writeFixture,
  exportWeb, exportedContent, chromiumLines, firstDifference,
};

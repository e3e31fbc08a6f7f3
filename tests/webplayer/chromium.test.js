// SPDX-License-Identifier: MIT
// The exported player in headless Chromium against orinedit-cli simulate --json: the sample,
// the scenario table (every run through the exported content.js under Node, the longest run of
// each in Chromium) and a stretch of the differential fuzz. The query
// index.html?page=..&keys=..&clock=..&state=json must write exactly the CLI's lines.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const path = require('path');
const R = require('./receivers.js');
const { scenarios } = require('./scenarios.js');
const { generateCase } = require('./fuzz.js');

function describeRun(run) {
  return `page ${run.page === undefined ? '(first)' : run.page} keys ${[].concat(run.keys || []).join(',')}` +
    (run.clock ? ` clock ${run.clock}` : '');
}

function longest(runs) {
  return runs.reduce((a, b) => ([].concat(b.keys || []).length > [].concat(a.keys || []).length ? b : a));
}

// Exports `file` into a new folder and hands it to `body`; the folder goes afterwards.
function withExport(file, body) {
  const folder = R.tempDir('orin-web-export-');
  try {
    const outDir = path.join(folder, 'player');
    R.exportWeb(file, outDir);
    body(outDir);
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

test('the sample in Chromium', () => {
  const sample = path.join(__dirname, '..', '..', 'examples', 'sample.bjpx');
  withExport(sample, (outDir) => {
    const runs = [
      { keys: ['down', 'enter', 'back', 'down', 'down', 'enter', 'wait:1000', 'back', 'blue', 'enter'] },
      { page: 2, clock: '08:59', keys: ['wait:400', 'wait:60000', 'enter', 'click:100:200', 'd', 'back'] },
    ];
    for (const run of runs)
      assert.equal(R.firstDifference(R.cliLines(sample, run), R.chromiumLines(outDir, run)), null, describeRun(run));
  });
});

for (const scenario of scenarios) {
  test(`exported player: ${scenario.name}`, () => {
    const folder = R.tempDir('orin-web-');
    try {
      const file = R.writeFixture(scenario.content, folder);
      withExport(file, (outDir) => {
        const exported = R.exportedContent(outDir);
        for (const run of scenario.runs)
          assert.equal(R.firstDifference(R.cliLines(file, run), R.engineLines(exported, run)), null, `Node: ${describeRun(run)}`);
        const run = longest(scenario.runs);
        assert.equal(R.firstDifference(R.cliLines(file, run), R.chromiumLines(outDir, run)), null, `Chromium: ${describeRun(run)}`);
      });
    } finally {
      fs.rmSync(folder, { recursive: true, force: true });
    }
  });
}

test('generated cases in Chromium (seeds 1 to 12)', () => {
  const folder = R.tempDir('orin-web-');
  try {
    for (let seed = 1; seed <= 12; ++seed) {
      const c = generateCase(seed);
      const file = path.join(folder, `case-${seed}.bjpx`);
      R.bjpx.writeProject(c.content, file, R.assetFolder);
      withExport(file, (outDir) => {
        assert.equal(R.firstDifference(R.cliLines(file, c.run), R.chromiumLines(outDir, c.run)), null, `seed ${seed}: ${describeRun(c.run)}`);
      });
    }
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

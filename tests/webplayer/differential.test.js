// SPDX-License-Identifier: MIT
// The web player's engine against orinedit-cli simulate --json: the scenario table (each run
// through both receivers, line for line).
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const fs = require('fs');
const path = require('path');
const R = require('./receivers.js');
const { scenarios } = require('./scenarios.js');

function describeRun(run) {
  return `page ${run.page === undefined ? '(first)' : run.page} keys ${[].concat(run.keys || []).join(',')}` +
    (run.clock ? ` clock ${run.clock}` : '');
}

for (const scenario of scenarios) {
  test(`engine and CLI agree: ${scenario.name}`, () => {
    const folder = R.tempDir('orin-web-');
    try {
      const file = R.writeFixture(scenario.content, folder);
      const loaded = R.bjpx.asLoaded(scenario.content);
      for (const run of scenario.runs) {
        const expected = R.cliLines(file, run);
        assert.equal(expected.length, 1 + [].concat(run.keys || []).length, 'the CLI ran every step');
        const actual = R.engineLines(loaded, run);
        assert.equal(R.firstDifference(expected, actual), null, describeRun(run));
      }
    } finally {
      fs.rmSync(folder, { recursive: true, force: true });
    }
  });
}

test('the engine refuses what the CLI refuses', () => {
  const folder = R.tempDir('orin-web-');
  try {
    const content = scenarios[0].content;
    const file = R.writeFixture(content, folder);
    const loaded = R.bjpx.asLoaded(content);
    for (const run of [{ keys: ['enter', 'jump'] }, { page: 9 }, { page: 'x' }, { clock: '24:00' }, { clock: '9:00' }]) {
      assert.throws(() => R.cliLines(file, run), undefined, describeRun(run));
      assert.throws(() => R.engineLines(loaded, run), undefined, describeRun(run));
    }
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
});

test('engine and CLI agree on the sample content set', () => {
  const outDir = path.join(R.tempDir('orin-web-'), 'out');
  try {
    const sample = path.join(__dirname, '..', '..', 'examples', 'sample.bjpx');
    R.exportWeb(sample, outDir);
    const content = R.exportedContent(outDir);
    const runs = [
      { keys: ['down', 'enter', 'back', 'down', 'down', 'enter', 'wait:1000', 'back'] },
      { page: 2, keys: ['wait:400', 'wait:400', 'enter', 'blue', 'red', 'green'] },
      { page: 3, clock: '08:59', keys: ['wait:60000', 'enter', 'left', 'right', 'enter'] },
      { page: 4, keys: ['wait:30000', 'click:100:200', 'click:500:300', 'd', 'back'] },
    ];
    for (const run of runs)
      assert.equal(R.firstDifference(R.cliLines(sample, run), R.engineLines(content, run)), null, describeRun(run));
  } finally {
    fs.rmSync(path.dirname(outDir), { recursive: true, force: true });
  }
});

// SPDX-License-Identifier: MIT
// A fixed stretch of the differential fuzz (seeds 1 to 300): generated content sets and keys
// through orinedit-cli and the engine. `scripts/fuzz web N` runs as many as you like.
'use strict';

const test = require('node:test');
const assert = require('node:assert/strict');
const { runCases } = require('./fuzz.js');

test('300 generated cases: engine and CLI agree line for line', () => {
  const differences = runCases(300, 1);
  assert.deepEqual(differences.map((d) => ({ seed: d.seed, line: d.difference.line, cli: d.difference.expected, engine: d.difference.actual })), []);
});

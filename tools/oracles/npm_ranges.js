// Asks node-semver how generated range pairs relate, and what it makes of a
// range over a list of versions, for tests/data/ranges/npm_*.tsv.
//   usage: NODE_PATH=DIR/node_modules node tools/oracles/npm_ranges.js OUTDIR
// (DIR holds `npm install semver`). A fixed seed makes the tables again.
"use strict";
const fs = require("fs");
const path = require("path");
const semver = require("semver");

let seed = 35;
function rand(n) {
  // mulberry32: small, fixed, and the same on every node.
  seed = (seed + 0x6d2b79f5) | 0;
  let t = seed;
  t = Math.imul(t ^ (t >>> 15), t | 1);
  t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
  return (((t ^ (t >>> 14)) >>> 0) % n);
}
const pick = (xs) => xs[rand(xs.length)];

function version() {
  const v = `${rand(3)}.${rand(3)}.${rand(3)}`;
  return rand(4) === 0 ? `${v}-${pick(["0", "alpha", "alpha.1", "beta", "rc.2"])}` : v;
}
function partial() {
  switch (rand(4)) {
    case 0: return `${rand(3)}`;
    case 1: return `${rand(3)}.${rand(3)}`;
    case 2: return `${rand(3)}.${pick(["x", "*"])}`;
    default: return version();
  }
}
function comparator() {
  switch (rand(9)) {
    case 0: return `^${partial()}`;
    case 1: return `~${partial()}`;
    case 2: return `${partial()} - ${partial()}`;
    case 3: return partial();
    default: return `${pick(["<", "<=", ">", ">=", "="])}${partial()}`;
  }
}
function alternative() {
  const n = 1 + rand(2);
  return Array.from({length: n}, comparator).join(" ");
}
function range() {
  const n = rand(3) === 2 ? 2 : 1;
  return Array.from({length: n}, alternative).join(" || ");
}
function validRange() {
  for (;;) {
    const r = range();
    if (semver.validRange(r) !== null) return r;
  }
}

// The answers satisfies() gives on a grid dense enough for these ranges:
// every release with numbers up to 3, and pre-releases at and between the
// ones the ranges name.
const dense = [];
for (let a = 0; a < 4; ++a)
  for (let b = 0; b < 4; ++b)
    for (let c = 0; c < 4; ++c) {
      for (const p of ["0", "alpha", "alpha.0", "alpha.1", "alpha.2", "b", "beta", "rc.2", "rc.3", "z"])
        dense.push(`${a}.${b}.${c}-${p}`);
      dense.push(`${a}.${b}.${c}`);
    }

const out = process.argv[2];
const pairs = ["# a, b, and whether they intersect and a is a subset of b: by semver.intersects and",
               "# semver.subset, then by satisfies() over a grid of versions",
               "a\tb\tintersects\tsubset\tgrid_intersects\tgrid_subset"];
for (let i = 0; i < 1500; ++i) {
  const a = validRange(), b = validRange();
  const inA = dense.filter((v) => semver.satisfies(v, a));
  const both = inA.filter((v) => semver.satisfies(v, b));
  pairs.push(`${a}\t${b}\t${+semver.intersects(a, b)}\t${+semver.subset(a, b)}\t` +
             `${+(both.length > 0)}\t${+(both.length === inA.length)}`);
}
fs.writeFileSync(path.join(out, "npm_relations.tsv"), pairs.join("\n") + "\n");

// Every version of a small grid: simplify keeps the versions of this list.
const grid = [];
for (let a = 0; a < 3; ++a)
  for (let b = 0; b < 3; ++b)
    for (let c = 0; c < 3; ++c) {
      grid.push(`${a}.${b}.${c}-alpha`);
      grid.push(`${a}.${b}.${c}`);
    }
fs.writeFileSync(path.join(out, "npm_grid.txt"), grid.join("\n") + "\n");
const simplified = ["range\tsimplified"];
for (let i = 0; i < 300; ++i) {
  const r = validRange();
  simplified.push(`${r}\t${semver.simplifyRange(grid, r)}`);
}
fs.writeFileSync(path.join(out, "npm_simplify.tsv"), simplified.join("\n") + "\n");

// Writes the element sweep: every name of element-names.txt in every insertion mode, as an
// element with content, as a lone end tag, and as content left open where the page ends.
// Usage: node element-pages.mjs <element-names.txt> <output-folder>
import fs from 'node:fs';
import path from 'node:path';

const [namesFile, output] = process.argv.slice(2);
const names = fs.readFileSync(namesFile, 'utf8').split('\n')
  .map((line) => line.trim()).filter((line) => line && !line.startsWith('#'));

const head = '<!DOCTYPE html>\n<html><head><title>t</title></head>\n';
// Each mode: the text before the piece, and the text that closes the mode after it.
const modes = {
  'body': [head + '<body>\n', '\n<p>z</p>\n</body>\n</html>\n'],
  'p': [head + '<body>\n<p>one ', ' two</p>\n<p>z</p>\n</body>\n</html>\n'],
  'table': [head + '<body>\n<table>', '<tr><td>c</td></tr></table>\n<p>z</p>\n</body>\n</html>\n'],
  'tbody': [head + '<body>\n<table><tbody>', '<tr><td>c</td></tr></tbody></table>\n<p>z</p>\n</body>\n</html>\n'],
  'row': [head + '<body>\n<table><tr>', '<td>c</td></tr></table>\n<p>z</p>\n</body>\n</html>\n'],
  'cell': [head + '<body>\n<table><tr><td>', '</td></tr></table>\n<p>z</p>\n</body>\n</html>\n'],
  'caption': [head + '<body>\n<table><caption>', '</caption><tr><td>c</td></tr></table>\n<p>z</p>\n</body>\n</html>\n'],
  'colgroup': [head + '<body>\n<table><colgroup>', '</colgroup><tr><td>c</td></tr></table>\n<p>z</p>\n</body>\n</html>\n'],
  'select': [head + '<body>\n<select><option>a', '</option></select>\n<p>z</p>\n</body>\n</html>\n'],
  'list': [head + '<body>\n<ul><li>', '</li><li>b</li></ul>\n<p>z</p>\n</body>\n</html>\n'],
  'head': ['<!DOCTYPE html>\n<html><head><title>t</title>', '</head>\n<body>\n<p>z</p>\n</body>\n</html>\n'],
  'after-head': ['<!DOCTYPE html>\n<html><head><title>t</title></head>\n', '<body>\n<p>z</p>\n</body>\n</html>\n'],
  'frameset': ['<!DOCTYPE html>\n<html><head><title>t</title></head>\n<frameset>', '</frameset>\n</html>\n'],
  'svg': [head + '<body>\n<svg>', '</svg>\n<p>z</p>\n</body>\n</html>\n'],
  'math': [head + '<body>\n<math>', '</math>\n<p>z</p>\n</body>\n</html>\n'],
  'template': [head + '<body>\n<template>', '</template>\n<p>z</p>\n</body>\n</html>\n'],
};

fs.mkdirSync(output, { recursive: true });
let written = 0;
for (const name of names) {
  for (const [mode, [before, after]] of Object.entries(modes)) {
    const pages = {
      start: before + `<${name}>a</${name}>b` + after,
      end: before + `a</${name}>b` + after,
      open: before + `<${name}>a\n`,
    };
    for (const [position, page] of Object.entries(pages)) {
      fs.writeFileSync(path.join(output, `sweep-${name}-${mode}-${position}.html`), page);
      written++;
    }
  }
}
console.log(`element sweep: ${names.length} names x ${Object.keys(modes).length} modes x 3 positions = ${written} pages`);

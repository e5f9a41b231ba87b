// Compares the page document's edits with Chromium doing the add-in's DOM operation on the
// same pages. Usage: node differential.mjs <manifest.json>
import fs from 'node:fs';
import { openBrowser, decodePage } from './chromium.mjs';

const cases = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));
const browser = await openBrowser();
let passed = 0;
const failures = [];
try {
  const batch = 25;
  for (let i = 0; i < cases.length; i += batch) {
    const slice = cases.slice(i, i + batch).map((c) => ({
      name: c.name,
      original: decodePage(fs.readFileSync(c.original)),
      snippet: fs.readFileSync(c.snippet, 'utf8'),
      edited: c.edited ? decodePage(fs.readFileSync(c.edited)) : null,
    }));
    const results = await browser.page.evaluate((items) => items.map((c) => {
      const doc = parsePage(c.original);
      let outcome;
      try {
        outcome = addinOperation(doc, c.snippet);
      } catch (e) {
        outcome = 'threw ' + e.message;
      }
      const browserTree = dumpTree(doc);
      // Whether any page text can hold the browser's tree at all.
      const representable = dumpTree(parsePage(serializePage(doc))) === browserTree;
      const oursTree = c.edited === null ? null : dumpTree(parsePage(c.edited));
      return { outcome, browserTree, representable, oursTree };
    }), slice);
    results.forEach((r, k) => {
      const c = cases[i + k];
      const problems = [];
      if (c.bytes !== 'ok') problems.push('bytes: ' + c.bytes);
      const browserFailed = r.outcome === 'several' || r.outcome === 'no-body';
      if (browserFailed) {
        if (!c.error) problems.push(`the add-in fails here (${r.outcome}) but the edit went through`);
      } else if (c.error) {
        // A damaged page may be refused with a clear error; the corpus pages may not.
        if (r.representable && !c.damaged) {
          problems.push('refused, but the browser tree is representable: ' + c.error);
        }
      } else if (r.oursTree !== r.browserTree) {
        problems.push('trees differ\n--- browser\n' + r.browserTree + '\n--- ours\n' + r.oursTree);
      }
      if (problems.length) failures.push(`${c.name}: ${problems.join('; ')}`);
      else passed++;
    });
  }
} finally {
  await browser.close();
}
for (const f of failures) console.log('FAIL ' + f + '\n');
for (const damaged of [false, true]) {
  const group = cases.filter((c) => Boolean(c.damaged) === damaged);
  const refused = group.filter((c) => c.error).length;
  console.log(`${damaged ? 'damaged pages' : 'corpus pages'}: ${group.length} cases, ${refused} ` +
              'refused by the page document');
}
console.log(`${passed} passed, ${failures.length} failed`);
process.exit(failures.length ? 1 : 0);

// Compares the page document's edits with Chromium doing the add-in's DOM operation on the
// same pages. Usage: node differential.mjs <manifest.json>
import fs from 'node:fs';
import { openBrowser, decodePage } from './chromium.mjs';

const cases = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));

// The offset of the body's end tag that a refusal names ("the body's end tag (line 9,
// column 1)"), in the decoded page; columns count characters.
function endTagOffset(text, error) {
  const m = /body's end tag \(line (\d+), column (\d+)\)/.exec(error || '');
  if (!m) return undefined;
  let at = 0;
  for (let line = 1; line < Number(m[1]); line++) at = text.indexOf('\n', at) + 1;
  return Array.from(text.slice(at)).slice(0, Number(m[2]) - 1).join('').length + at;
}
const browser = await openBrowser();
let passed = 0;
const failures = [];
const differences = [];
const sweepDifferences = [];
try {
  const batch = 100;
  for (let i = 0; i < cases.length; i += batch) {
    const slice = cases.slice(i, i + batch).map((c) => {
      const original = decodePage(fs.readFileSync(c.original));
      return {
        name: c.name,
        original,
        snippet: fs.readFileSync(c.snippet, 'utf8'),
        edited: c.edited ? decodePage(fs.readFileSync(c.edited)) : null,
        endTagAt: endTagOffset(original, c.error),
        // Compared once per page, and for the generated pages' refusals.
        gumbo: c.name.endsWith('.plain.a-signup-form.whole') || (c.generated && c.error) || c.sweep
          ? c.gumbo : undefined,
      };
    });
    const results = await browser.page.evaluate((items) => items.map((c) => {
      const doc = parsePage(c.original);
      let outcome;
      try {
        outcome = addinOperation(doc, c.snippet);
      } catch (e) {
        outcome = 'threw ' + e.message;
      }
      const dump = (d) => {
        if (outcome === 'inserted') looseAroundDivision(d);
        return dumpTree(d);
      };
      // Where gumbo's tree of the original page (dumped alike) parts from the browser's.
      let parserDiffers = null;
      let differsInSelect = false;
      if (c.gumbo !== undefined) {
        const browserOwn = dumpTree(parsePage(c.original)).split('\n');
        const gumboOwn = c.gumbo.split('\n');
        let at = browserOwn.findIndex((line, k) => line !== gumboOwn[k]);
        if (at < 0) at = browserOwn.length;
        if (at < Math.max(browserOwn.length, gumboOwn.length)) {
          parserDiffers = `browser: ${(browserOwn[at] ?? '(end)').trim()} / gumbo: ${
            (gumboOwn[at] ?? '(end)').trim()}`;
          // Whether the first difference lies inside a <select> (a line's ancestors are the
          // lines before it with less indentation).
          const indent = (line) => line.length - line.trimStart().length;
          for (let k = at - 1, depth = indent(browserOwn[Math.min(at, browserOwn.length - 1)]);
               k >= 0 && depth > 0; --k) {
            if (indent(browserOwn[k]) >= depth) continue;
            depth = indent(browserOwn[k]);
            if (browserOwn[k].includes('/1999/xhtml|select>')) differsInSelect = true;
          }
        }
      }
      const serialized = serializePage(doc);
      const browserTree = dump(doc);
      // Whether any page text can hold the browser's tree at all.
      const representable = dump(parsePage(serialized)) === browserTree;
      const oursTree = c.edited === null ? null : dump(parsePage(c.edited));
      // A refusal that names content after the body's end tag: whether the page without its
      // text from that tag on builds another body (without its white space).
      let movedIntoBody = null;
      if (c.endTagAt !== undefined) {
        const body = (d) => (d.body ? d.body.innerHTML.replace(/\s+/g, '') : '');
        movedIntoBody = body(parsePage(c.original)) !== body(parsePage(c.original.slice(0, c.endTagAt)));
      }
      return { outcome, browserTree, representable, oursTree, movedIntoBody, parserDiffers,
               differsInSelect };
    }), slice);
    results.forEach((r, k) => {
      const c = cases[i + k];
      const problems = [];
      if (c.bytes !== 'ok') problems.push('bytes: ' + c.bytes);
      const browserFailed = r.outcome === 'several' || r.outcome === 'no-body';
      if (browserFailed) {
        if (!c.error) problems.push(`the add-in fails here (${r.outcome}) but the edit went through`);
      } else if (c.error) {
        // A damaged page may be refused with a clear error; the corpus pages may not, unless
        // a browser moves content written after the body's end tag into the body (no text
        // before that tag can then give its tree).
        if (r.movedIntoBody === false) {
          problems.push('refused for content after the body, but there is none: ' + c.error);
        } else if (r.representable && !c.damaged && !r.movedIntoBody &&
                   !(c.generated && (r.parserDiffers || /browsers read/.test(c.error))) &&
                   !c.refusable) {
          // Generated pages hold constructs that gumbo reads unlike browsers in some places;
          // refusing a page for one, with a message that names it, is allowed.
          problems.push('refused, but the browser tree is representable: ' + c.error);
        }
        if (!/line \d+, column \d+/.test(c.error) || !/not changed/.test(c.error)) {
          problems.push('the refusal names no place in the page: ' + c.error);
        }
      } else if (r.oursTree !== r.browserTree) {
        problems.push('trees differ\n--- browser\n' + r.browserTree + '\n--- ours\n' + r.oursTree);
      }
      // The element sweep: where gumbo reads the page unlike the browser, the page document
      // must refuse it, naming what browsers read differently; inside a <select>, which no
      // edit touches, it may instead edit the page to the browser's tree (checked above).
      if (c.sweep && r.parserDiffers) {
        sweepDifferences.push(`${c.name.split('.')[0]}: ${r.parserDiffers} (${
          c.error ? c.error.replace(/^([^:]*):.*$/s, '$1') : 'edited'})`);
        if (!/browsers read/.test(c.error || '') && !(r.differsInSelect && !c.error)) {
          problems.push('gumbo reads this page unlike the browser, and it was not refused for ' +
                        'that: ' + r.parserDiffers + (c.error ? ' (refused: ' + c.error + ')' : ''));
        }
      }
      if (c.secondRun) problems.push('edited once, but the next run was refused: ' + c.secondRun);
      if (r.parserDiffers && c.name.endsWith('.plain.a-signup-form.whole')) {
        differences.push(`${c.name.split('.')[0]}: ${r.parserDiffers}` +
                         ` (edit ${c.error ? 'refused' : 'gives the browser\'s tree'})`);
      }
      if (problems.length) failures.push(`${c.name}: ${problems.join('; ')}`);
      else passed++;
    });
  }
} finally {
  await browser.close();
}
for (const f of failures) console.log('FAIL ' + f + '\n');
const sweep = cases.filter((c) => c.sweep);
if (sweep.length) {
  console.log(`element sweep: ${sweep.length} pages compared, gumbo reads ${
    sweepDifferences.length} unlike the browser`);
  for (const d of sweepDifferences) console.log('  ' + d);
}
console.log(`pages that gumbo reads unlike the browser: ${differences.length}`);
for (const d of differences) console.log('  ' + d);
const edited = cases.filter((c) => c.edited);
console.log(`snippet written as given in ${edited.filter((c) => c.verbatim).length} of ` +
            `${edited.length} edits, as a serialized fragment in the others`);
for (const kind of ['corpus', 'damaged', 'generated', 'sweep']) {
  const group = cases.filter((c) => (c.damaged ? 'damaged' : c.sweep ? 'sweep'
    : c.generated ? 'generated' : 'corpus') === kind);
  const refused = group.filter((c) => c.error).length;
  console.log(`${kind} pages: ${group.length} cases, ${refused} refused by the page document`);
}
console.log(`${passed} passed, ${failures.length} failed`);
process.exit(failures.length ? 1 : 0);

// Checks every page before and after the add-in's runs with the Nu Html Checker in one JVM
// and prints "page | errors before | after run 1 | after run 2". A page without errors must
// stay without; any other page may gain no error it did not have.
// Usage: node validity.mjs <work-folder> <vnu.jar>
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';

const [work, jar] = process.argv.slice(2);
const rows = fs.readFileSync(path.join(work, 'manifest.tsv'), 'utf8').trim().split('\n')
  .map((line) => line.split('\t'))
  .map(([page, kind, refusal]) => ({ page, kind, refusal }));
const files = fs.readdirSync(work).filter((f) => f.endsWith('.html')).map((f) => path.join(work, f));
const output = execFileSync('java', ['-Xss2m', '-jar', jar, '--format', 'json', '--exit-zero-always',
  '--stdout', ...files], { maxBuffer: 1 << 28 }).toString();
// The error messages per file, by text (positions move with the edit).
const errors = new Map(files.map((f) => [path.basename(f), []]));
for (const m of JSON.parse(output).messages) {
  if (m.type !== 'error' && m.type !== 'non-document-error') continue;
  const file = path.basename(decodeURIComponent(new URL(m.url).pathname));
  // A page without a doctype draws one such error, worded after whatever comes first. An
  // element left open to the end of the body is reported at </body>, or at the end of the
  // file where an edit of that element's content (which then runs to the end) took the end
  // tags with it: the same fault either way.
  errors.get(file)?.push(/without seeing a doctype first/.test(m.message) ? 'no doctype'
    : /^End tag for\s+\S+body\S+ seen, but there were unclosed elements|^End of file seen and there were open elements/
      .test(m.message) ? 'elements open at the end' : m.message);
}
const failures = [];
let passed = 0;
const table = ['page | snippet | errors before | after run 1 | after run 2'];
for (const { page, kind, refusal } of rows) {
  const before = errors.get(`${page}.before.html`);
  const counts = [before.length];
  const problems = [];
  for (const run of ['run1', 'run2']) {
    const after = errors.get(`${page}.${kind}.${run}.html`);
    if (!after) {
      counts.push(refusal ? 'refused' : '-');
      continue;
    }
    counts.push(after.length);
    const gained = after.filter((m) => !before.includes(m));
    if (gained.length) problems.push(`${run} gained: ${[...new Set(gained)].join(' / ')}`);
  }
  table.push(`${page} | ${kind} | ${counts.join(' | ')}`);
  if (problems.length) failures.push(`${page} (${kind}): ${problems.join('; ')}`);
  else passed++;
}
console.log(table.join('\n'));
for (const f of failures) console.log('FAIL ' + f);
const valid = rows.filter((r) => errors.get(`${r.page}.before.html`).length === 0);
console.log(`${valid.length} of ${rows.length} cases start valid; ` +
            `${rows.filter((r) => r.refusal).length} refused`);
console.log(`${passed} passed, ${failures.length} failed`);
process.exit(failures.length ? 1 : 0);

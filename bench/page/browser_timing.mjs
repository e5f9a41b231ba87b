// Times Chromium doing the add-in's insertion on each page: parse the page text, look up
// the marker, insert or replace, write the document back as text (what an editor needs).
// Usage: node browser_timing.mjs <cases.json> ; prints {name: [milliseconds, ...]} as JSON.
import fs from 'node:fs';
import { openBrowser, decodePage } from './chromium.mjs';

const cases = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));
const repetitions = Number(process.env.OSTREL_BROWSER_REPETITIONS || 5);
const browser = await openBrowser();
const results = {};
try {
  for (const c of cases) {
    const text = decodePage(fs.readFileSync(c.page));
    const snippet = fs.readFileSync(c.snippet, 'utf8');
    results[c.name] = await browser.page.evaluate(({ text, snippet, repetitions }) => {
      const times = [];
      for (let i = 0; i <= repetitions; i++) {
        const t0 = performance.now();
        const doc = parsePage(text);
        const outcome = addinOperation(doc, snippet);
        const written = serializePage(doc);
        const t1 = performance.now();
        if (outcome !== 'inserted' && outcome !== 'replaced') throw new Error(outcome);
        if (written.length < text.length / 2) throw new Error('lost the page');
        if (i > 0) times.push(t1 - t0);  // the first run warms the browser up
      }
      return times;
    }, { text, snippet, repetitions });
  }
} finally {
  await browser.close();
}
process.stdout.write(JSON.stringify(results));

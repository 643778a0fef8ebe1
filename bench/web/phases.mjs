// Where the browser version's start goes: node bench/web/phases.mjs FOLDER BROWSER [N]
// serves FOLDER (the paint program's site or the bare SDL program's, as make web-bench
// builds them), starts it N times cold (a fresh profile) and each time once warm (a
// reload, once the paint program's offline copy is stored), and prints the median of
// each moment in ms from the navigation's start: the page's and the files' arrival,
// the page's phases (web/page.js marks them: its script running, the font written,
// the folder read from IndexedDB, the run dependencies left, main called) and the
// first frame, as bench_webstart times it.
import { launch } from '../../tests/web/browsers.mjs';
import { serve } from '../../web/serve.mjs';
import { awaitOfflineCopy, keepsOfflineCopy, watchFirstFrame } from './watch.mjs';

const [folder, browserName = 'chromium', n = 5] = process.argv.slice(2);
if (!folder) {
  console.error('usage: node bench/web/phases.mjs FOLDER [chromium|firefox] [N]');
  process.exit(2);
}
const server = await serve(folder);
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await launch(browserName);

function moments() {
  const at = { 'first frame': window.firstFrame };
  at['page arrived'] = performance.getEntriesByType('navigation')[0].responseEnd;
  for (const e of performance.getEntriesByType('resource'))
    at[e.name.split('/').pop().split('?')[0] + ' arrived'] = e.responseEnd;
  for (const m of performance.getEntriesByType('mark')) at[m.name] = m.startTime;
  return at;
}

const seen = { cold: {}, warm: {} };
for (let i = 0; i < n; i++) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(watchFirstFrame);
  for (const how of ['cold', 'warm']) {
    if (how === 'cold') await page.goto(url);
    else await page.reload();
    await page.waitForFunction(() => window.firstFrame !== undefined, { timeout: 30000 });
    for (const [k, v] of Object.entries(await page.evaluate(moments))) (seen[how][k] ??= []).push(v);
    if (how === 'cold' && keepsOfflineCopy(folder)) await awaitOfflineCopy(page);
  }
  await context.close();
}
const median = (a) => [...a].sort((x, y) => x - y)[a.length >> 1];
for (const how of ['cold', 'warm']) {
  console.log(how);
  for (const [k, v] of Object.entries(seen[how]).sort((a, b) => median(a[1]) - median(b[1])))
    console.log(`  ${median(v).toFixed(0).padStart(5)}  ${k}`);
}
await browser.close();
server.close();
process.exit(0);

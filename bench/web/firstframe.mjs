// Times the browser version's start for bench_webstart: node firstframe.mjs SITE BARE
// DRAW serves the paint program's folder and the bare SDL program's, drawing nothing
// and drawing once, then reads commands "cold PROGRAM BROWSER" (a fresh profile: a
// first visit) and "warm PROGRAM BROWSER" (a reload in the profile of the last cold
// start, once the paint program's offline copy is stored), PROGRAM "site", "bare" or
// "draw", BROWSER "chromium" or "firefox", and answers each with the milliseconds from
// navigation to the first animation frame whose canvas shows the program's first
// frame: the panel's background colour at (2, 2), as all three draw it.
import { createInterface } from 'node:readline';
import { launch } from '../../tests/web/browsers.mjs';
import { serve } from '../../web/serve.mjs';
import { awaitOfflineCopy, keepsOfflineCopy, watchFirstFrame } from './watch.mjs';

const folders = { site: process.argv[2], bare: process.argv[3], draw: process.argv[4] };
const urls = {};
for (const [name, folder] of Object.entries(folders)) {
  const server = await serve(folder);
  urls[name] = `http://127.0.0.1:${server.address().port}/`;
}
const browsers = {};
const pages = {};

async function start(how, name, browserName) {
  const key = name + ' ' + browserName;
  let page = pages[key];
  if (how === 'cold' || !page) {
    if (page) await page.browserContext().close();
    browsers[browserName] ??= await launch(browserName);
    const context = await browsers[browserName].createBrowserContext();
    page = pages[key] = await context.newPage();
    await page.evaluateOnNewDocument(watchFirstFrame);
    await page.goto(urls[name]);
  } else {
    // The pages of the other programs are open too: a page in a background tab would
    // wait for its animation frames (Firefox gives it one a second).
    await page.bringToFront();
    await page.reload();
  }
  await page.waitForFunction(() => window.firstFrame !== undefined, { timeout: 30000 });
  const ms = await page.evaluate(() => window.firstFrame);
  if (how === 'cold' && keepsOfflineCopy(folders[name])) await awaitOfflineCopy(page);
  return ms;
}

process.stdout.write('ok\n');
for await (const line of createInterface({ input: process.stdin })) {
  const [how, name, browserName] = line.split(' ');
  try {
    process.stdout.write(`ok ${await start(how, name, browserName)}\n`);
  } catch (e) {
    process.stdout.write(`error ${String(e.message).split('\n')[0]}\n`);
  }
}
for (const b of Object.values(browsers)) await b.close();
process.exit(0);

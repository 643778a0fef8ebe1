// Drives the browser version for the web tests: node driver.mjs SITE serves the
// folder SITE on a free port of 127.0.0.1, opens it in Debian's Chromium (headless,
// through playwright-core, with a fresh profile) and waits until the program runs.
// Then it reads one command a line on standard input and answers each with one
// line, "ok" and its result or "error" and the reason:
//   move X Y | down B | up B | key NAME   input: X, Y canvas pixels, B 1 left,
//                                         2 middle, 3 right, NAME as xdotool's
//   shot PATH       the canvas's pixels, RGB rows top to bottom, into PATH; "ok W H"
//   open PATH       the page's "Open…" control given the file PATH
//   download NAME PATH   the folder's file NAME downloaded through the page into PATH
//   delete NAME     the page's Delete for the file NAME, its question answered yes
//   files           the names the page lists, each followed by '/'
//   state           the page's state line
//   reload          reloads the page and waits until the program runs again
//   errors          the page's uncaught errors so far, joined by " | "
// Console messages of the page go to standard error.
import { createInterface } from 'node:readline';
import { writeFile } from 'node:fs/promises';
import { launchChromium, newContext } from './chromium.mjs';
import { serve } from '../../web/serve.mjs';

const site = process.argv[2];
const server = await serve(site);
const url = `http://127.0.0.1:${server.address().port}/`;

const browser = await launchChromium();
const context = await newContext(browser);
const page = await context.newPage();
const errors = [];
page.on('console', (m) => process.stderr.write(`console ${m.type()}: ${m.text()}\n`));
page.on('pageerror', (e) => {
  errors.push(e.message);
  process.stderr.write(`page error: ${e.message}\n`);
});

// The program runs once the state line is empty (it tells of loading until then).
async function start(go) {
  await go();
  await page.waitForFunction(() => document.getElementById('state').textContent === '',
    null, { timeout: 30000 });
}
await start(() => page.goto(url));

async function origin() {
  const box = await page.locator('#canvas').boundingBox();
  return [box.x, box.y];
}

// xdotool's key names, as the desktop tests give them, in Playwright's terms.
// Letters and digits are the same in both.
const keys = {
  BackSpace: 'Backspace', Return: 'Enter', Escape: 'Escape',
  comma: 'Comma', period: 'Period', slash: 'Slash', minus: 'Minus',
};
const buttons = { 1: 'left', 2: 'middle', 3: 'right' };

async function canvasRGB() {
  const b64 = await page.evaluate(() => {
    const c = document.getElementById('canvas');
    const t = document.createElement('canvas');
    t.width = c.width;
    t.height = c.height;
    const g = t.getContext('2d');
    g.drawImage(c, 0, 0);
    const d = g.getImageData(0, 0, t.width, t.height).data;
    let s = '';
    for (let i = 0; i < d.length; i += 0x8000)
      s += String.fromCharCode.apply(null, d.subarray(i, i + 0x8000));
    return [t.width, t.height, btoa(s)];
  });
  const rgba = Buffer.from(b64[2], 'base64');
  const rgb = Buffer.alloc((rgba.length / 4) * 3);
  for (let i = 0, j = 0; i < rgba.length; i += 4, j += 3) rgba.copy(rgb, j, i, i + 3);
  return [b64[0], b64[1], rgb];
}

function row(name) {
  return page.locator('#files li').filter({
    has: page.locator('.name', { hasText: new RegExp(`^${name.replace(/[.*+?^${}()|[\]\\]/g, '\\$&')}$`) }),
  });
}

async function run(line) {
  const sp = line.indexOf(' ');
  const cmd = sp < 0 ? line : line.slice(0, sp);
  const arg = sp < 0 ? '' : line.slice(sp + 1);
  const [a, b] = arg.split(' ');
  switch (cmd) {
    case 'move': {
      const [x0, y0] = await origin();
      await page.mouse.move(x0 + Number(a), y0 + Number(b));
      return '';
    }
    case 'down':
      await page.mouse.down({ button: buttons[a] });
      return '';
    case 'up':
      await page.mouse.up({ button: buttons[a] });
      return '';
    case 'key':
      await page.keyboard.press(keys[arg] || arg);
      return '';
    case 'shot': {
      const [w, h, rgb] = await canvasRGB();
      await writeFile(arg, rgb);
      return `${w} ${h}`;
    }
    case 'open': {
      const [chooser] = await Promise.all([page.waitForEvent('filechooser'), page.click('#open')]);
      await chooser.setFiles(arg);
      return '';
    }
    case 'download': {
      const [d] = await Promise.all([page.waitForEvent('download'),
        row(a).locator('button', { hasText: 'Download' }).click()]);
      await d.saveAs(b);
      return '';
    }
    case 'delete':
      page.once('dialog', (d) => d.accept());
      await row(arg).locator('button', { hasText: 'Delete' }).click();
      return '';
    case 'files':
      return (await page.locator('#files .name').allTextContents()).map((n) => n + '/').join('');
    case 'state':
      return await page.textContent('#state');
    case 'reload':
      await start(() => page.reload());
      return '';
    case 'errors':
      return errors.join(' | ').replace(/\n/g, ' ');
    default:
      throw new Error(`unknown command ${cmd}`);
  }
}

process.stdout.write('ok ready\n');
const input = createInterface({ input: process.stdin });
for await (const line of input) {
  try {
    process.stdout.write(`ok ${await run(line)}\n`);
  } catch (e) {
    process.stdout.write(`error ${String(e.message).split('\n')[0]}\n`);
  }
}
await browser.close();
server.close();

// Drives the browser version for the web tests: node driver.mjs SITE BROWSER [STORAGE]
// serves the folder SITE on a free port of 127.0.0.1, opens it in BROWSER ("chromium"
// or "firefox", tests/web/browsers.mjs) with a fresh profile and waits until the
// program runs. STORAGE "refused" gives a page whose IndexedDB refuses to open (as in
// some browsers' private windows), "absent" one without IndexedDB; "nowebgl" and
// "nowasm" a page without WebGL or WebAssembly. Then it reads one
// command a line on standard input and answers each with one line, "ok" and its
// result or "error" and the reason:
//   move X Y | down B | up B | key NAME   input: X, Y canvas pixels, B 1 left,
//                                         2 middle, 3 right, NAME as xdotool's
//                                         (ctrl+plus a chord)
//   touch [X Y [X Y]]   the fingers on the canvas now: none (all lifted), one or two
//                       at these canvas pixels; a finger kept keeps its place in the
//                       list; fingers that land or lift together do so in one event
//   shot PATH       the canvas's pixels, RGB rows top to bottom, into PATH; "ok W H"
//   open PATH       the page's "Open…" control given the file PATH
//   download NAME PATH [enter]   the folder's file NAME downloaded through the page
//                   into PATH: its Download clicked, or with enter, Enter pressed on
//                   the focused control
//   viewport W H    the page gets W x H CSS pixels of the window
//   confirm         the next question the page asks is answered yes
//   delete NAME     the page's Delete for the file NAME, its question answered yes
//   pageclick ID    a click on the page's element of that id
//   files           the names the page lists, each followed by '/'
//   state           the page's state line
//   eval EXPR       the page's value of the JavaScript expression EXPR, as JSON
//   serve [FOLDER]  the server stops; with FOLDER it serves that on the same address
//   installable     Chromium: why it would not offer to install the page, a JSON list
//                   of its reasons (empty if it would)
//   reload          reloads the page and waits until the program runs again; the
//                   question of a page with changes not saved is answered yes
//   reloadby ID     the same by a click on the page's element of that id
//   xkey NAME       Firefox: the key NAME (xdotool's) pressed on its X server, as a
//                   user's: the browser's own keys act as they do for a user
//   tab N           the commands that follow go to the browser's tab N (0 the first),
//                   brought to the front; N one past the last opens the site in a
//                   new tab and waits until the program runs there
//   close           closes the tab the commands go to (its page left without the
//                   question of changes not saved); they go to tab 0 from then on
//   errors          the page's uncaught errors so far, joined by " | "
// Input (move, down, up, key, touch, pageclick) is answered once the program has taken
// it (or has ended), so that the next command reaches the loop the scenario means
// however slowly the browser runs.
// Console messages of the page go to standard error.
import { execFile } from 'node:child_process';
import { createInterface } from 'node:readline';
import { copyFile, mkdtemp, readdir, rm, stat, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launch } from './browsers.mjs';
import { serve } from '../../web/serve.mjs';

const [site, browserName = 'chromium', storage] = process.argv.slice(2);
let server = await serve(site);
const port = server.address().port;
const url = `http://127.0.0.1:${port}/`;

const downloads = await mkdtemp(join(tmpdir(), 'tarksen-downloads-'));
const browser = await launch(browserName, downloads);
const errors = [];
// A tab, with its messages reported and its storage as asked for.
async function prepare(tab) {
  tab.on('console', (m) => process.stderr.write(`console ${m.type()}: ${m.text()}\n`));
  tab.on('pageerror', (e) => {
    errors.push(e.message);
    process.stderr.write(`page error: ${e.message}\n`);
  });
  if (storage === 'refused') {
    await tab.evaluateOnNewDocument(() => {
      IDBFactory.prototype.open = () => { throw new DOMException('refused', 'InvalidStateError'); };
    });
  } else if (storage === 'absent') {
    await tab.evaluateOnNewDocument(() => Object.defineProperty(window, 'indexedDB', { value: undefined }));
  } else if (storage === 'nowebgl') {
    await tab.evaluateOnNewDocument(() => {
      const real = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (type, ...rest) {
        return /webgl/.test(type) ? null : real.call(this, type, ...rest);
      };
    });
  } else if (storage === 'nowasm') {
    await tab.evaluateOnNewDocument(() => Object.defineProperty(window, 'WebAssembly', { value: undefined }));
  }
  return tab;
}
const tabs = [await prepare((await browser.pages())[0] ?? await browser.newPage())];
let page = tabs[0];  // the tab the commands go to

// The program runs once the state line no longer tells of loading: it is empty, or
// tells of a problem (which may be one that keeps the program from running at all).
async function start(go) {
  await go();
  await page.waitForFunction(() => {
    const state = document.getElementById('state').textContent;
    return typeof Module === 'object' && state !== 'Wczytywanie programu…' &&
      (Module.calledRun || state !== '');
  }, { timeout: 30000 });
}
await start(() => page.goto(url));

// Waits until the program has taken every input event given to it (web/page.js); a
// key that reloads the page has nothing left to wait for.
async function taken() {
  await page.waitForFunction(() => typeof Module !== 'object' || Module.inputTaken(),
    { polling: 10, timeout: 30000 });
}

async function origin() {
  const box = await (await page.$('#canvas')).boundingBox();
  return [box.x, box.y];
}

// xdotool's key names, as the desktop tests give them, in puppeteer's terms.
// Letters and digits are the same in both.
const keys = {
  BackSpace: 'Backspace', Return: 'Enter', Escape: 'Escape', space: ' ',
  comma: 'Comma', period: 'Period', slash: 'Slash', minus: 'Minus', plus: '+', equal: 'Equal',
  ctrl: 'Control', shift: 'Shift', alt: 'Alt',
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

// The button with the text label in the list's row for the file name.
async function rowButton(name, label) {
  const button = await page.evaluateHandle((n, l) => {
    const li = [...document.querySelectorAll('#files li')]
      .find((r) => r.querySelector('.name')?.textContent === n);
    return li && [...li.querySelectorAll('button')].find((b) => b.textContent === l);
  }, name, label);
  if (!(await button.evaluate((b) => !!b))) throw new Error(`no ${label} for ${name}`);
  return button;
}

// Waits until the browser has saved the file name into the downloads folder whole.
async function downloaded(name, size) {
  const path = join(downloads, name);
  for (let t = 0; t < 200; t++) {
    const names = await readdir(downloads);
    if (names.length === 1 && names[0] === name && (await stat(path)).size === size) return path;
    await new Promise((r) => setTimeout(r, 50));
  }
  throw new Error(`${name} was not downloaded`);
}

// Touch: one message a change of the fingers, so that fingers that land or lift
// together do so in one touch event: Chromium's own protocol message for the fingers
// now down, in Firefox one WebDriver BiDi action of a touch pointer a finger.
let fingers = [];  // [x, y] in page pixels
let cdp = null;
async function touch(points) {
  const [x0, y0] = await origin();
  const now = points.map(([x, y]) => [Math.round(x0 + x), Math.round(y0 + y)]);
  if (browserName === 'chromium') {
    cdp ??= await page.createCDPSession();
    const touchPoints = now.map(([x, y], id) => ({ x, y, id, radiusX: 1, radiusY: 1, force: 1 }));
    const type = now.length > fingers.length ? 'touchStart'
      : now.length < fingers.length ? 'touchEnd' : 'touchMove';
    await cdp.send('Input.dispatchTouchEvent', { type, touchPoints });
  } else {
    const sources = [];
    for (let i = 0; i < Math.max(now.length, fingers.length); i++) {
      let actions;
      if (i >= now.length) actions = [{ type: 'pointerUp', button: 0 }];
      else if (i >= fingers.length) {
        actions = [{ type: 'pointerMove', x: now[i][0], y: now[i][1] },
          { type: 'pointerDown', button: 0 }];
      } else if (now[i][0] !== fingers[i][0] || now[i][1] !== fingers[i][1]) {
        actions = [{ type: 'pointerMove', x: now[i][0], y: now[i][1] }];
      } else continue;
      sources.push({ type: 'pointer', id: 'finger' + i, parameters: { pointerType: 'touch' }, actions });
    }
    if (sources.length) await page.mainFrame().browsingContext.performActions(sources);
  }
  fingers = now;
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
      await taken();
      return '';
    }
    case 'down':
      await page.mouse.down({ button: buttons[a] });
      await taken();
      return '';
    case 'up':
      await page.mouse.up({ button: buttons[a] });
      await taken();
      return '';
    case 'key': {  // a chord as xdotool's: ctrl+plus
      const chord = arg.split('+').map((k) => keys[k] || k);
      for (const k of chord.slice(0, -1)) await page.keyboard.down(k);
      await page.keyboard.press(chord.at(-1));
      for (const k of chord.slice(0, -1).reverse()) await page.keyboard.up(k);
      await taken();
      return '';
    }
    case 'xkey': {  // Firefox: a key of the X server, as a user's, to the browser's window
      if (!browser.display) throw new Error(`no X window of ${browserName}`);
      await new Promise((done, fail) => execFile('xdotool', ['key', arg],
        { env: { ...process.env, DISPLAY: browser.display } }, (e) => (e ? fail(e) : done())));
      await taken();
      return '';
    }
    case 'touch': {
      const n = arg ? arg.split(' ').map(Number) : [];
      const points = [];
      for (let i = 0; i + 1 < n.length; i += 2) points.push([n[i], n[i + 1]]);
      await touch(points);
      await taken();
      return '';
    }
    case 'shot': {
      const [w, h, rgb] = await canvasRGB();
      await writeFile(arg, rgb);
      return `${w} ${h}`;
    }
    case 'open': {
      const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#open')]);
      await chooser.accept([arg]);
      return '';
    }
    case 'download': {
      for (const n of await readdir(downloads)) await rm(join(downloads, n), { force: true });
      const size = await page.evaluate((name) => {
        const li = [...document.querySelectorAll('#files li')]
          .find((l) => l.querySelector('.name')?.textContent === name);
        return li ? parseInt(li.querySelector('.size').textContent, 10) : -1;
      }, a);
      if (size < 0) throw new Error(`${a} is not listed`);
      if (arg.split(' ')[2] === 'enter') await page.keyboard.press('Enter');
      else await (await rowButton(a, 'Pobierz')).click();
      await copyFile(await downloaded(a, size), b);
      return '';
    }
    case 'viewport':  // the page's room in the browser's window, W x H CSS pixels
      await page.setViewport({ width: Number(a), height: Number(b), deviceScaleFactor: 1,
        ...(browserName === 'chromium' ? { hasTouch: true } : {}) });
      await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
      return '';
    case 'confirm':
      page.once('dialog', (d) => d.accept());
      return '';
    case 'delete':
      page.once('dialog', (d) => d.accept());
      await (await rowButton(arg, 'Usuń')).click();
      return '';
    case 'pageclick':
      await page.click('#' + arg);
      await taken();
      return '';
    case 'files':
      return (await page.$$eval('#files .name', (ns) => ns.map((n) => n.textContent)))
        .map((n) => n + '/').join('');
    case 'state':
      return await page.$eval('#state', (s) => s.textContent);
    case 'eval':
      return JSON.stringify(await page.evaluate(arg));
    case 'serve':
      server.closeAllConnections();
      await new Promise((done) => server.close(done));
      if (arg) server = await serve(arg, port);
      return '';
    case 'installable': {
      if (browserName !== 'chromium') throw new Error(`not asked of ${browserName}`);
      cdp ??= await page.createCDPSession();
      const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
      return JSON.stringify(installabilityErrors.map((e) => e.errorId));
    }
    case 'reload':
    case 'reloadby': {  // the question a page with changes not saved asks is answered yes
      const leave = (d) => d.type() === 'beforeunload' && d.accept();
      page.on('dialog', leave);
      try {
        await start(() => cmd === 'reload' ? page.reload()
          : Promise.all([page.waitForNavigation(), page.click('#' + arg)]));
      } finally {
        page.off('dialog', leave);
      }
      return '';
    }
    case 'tab': {
      const n = Number(arg);
      if (!(n >= 0 && n <= tabs.length)) throw new Error(`no tab ${arg}`);
      cdp = null;
      fingers = [];
      if (n === tabs.length) {
        page = tabs[n] = await prepare(await browser.newPage());
        await start(() => page.goto(url));
      }
      page = tabs[n];
      await page.bringToFront();
      return '';
    }
    case 'close': {  // the tab is closed, its page left without a question
      if (tabs.length < 2) throw new Error('the last tab stays open');
      await page.close({ runBeforeUnload: false });
      tabs.splice(tabs.indexOf(page), 1);
      cdp = null;
      fingers = [];
      page = tabs[0];
      await page.bringToFront();
      return '';
    }
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
await rm(downloads, { recursive: true, force: true });

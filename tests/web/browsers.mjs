// Debian's browsers through puppeteer-core, nothing downloaded: Chromium headless over
// the DevTools protocol, Firefox ESR over WebDriver BiDi. Shared by the web tests'
// driver and the start-up benchmark.
//
// Firefox gives a headless page no WebGL here, so it runs in a window on an X server
// of its own (Xvfb), started for it and ended with it: nothing it shows can cover
// another test's window.
import { spawn } from 'node:child_process';
import puppeteer from 'puppeteer-core';

export const browserNames = ['chromium', 'firefox'];

// The page's viewport: the 640x400 canvas fits at its own size.
const viewport = { width: 1000, height: 700, deviceScaleFactor: 1 };

// Starts Xvfb on a free display; resolves to [display, process]. -terminate ends it
// when its last client (the browser) has gone, even if this process is killed.
function privateX() {
  return new Promise((done, fail) => {
    const x = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp',
      '-terminate'], { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
    let out = '';
    x.once('error', fail);
    x.once('exit', (code) => fail(new Error(`Xvfb ended (${code}) before it was ready`)));
    x.stdio[3].on('data', (d) => {
      out += d;
      if (out.includes('\n')) done([':' + out.trim(), x]);
    });
  });
}

// Resolves to the browser, with a fresh profile; files it downloads go to the folder
// downloads if given. Its close() also ends the X server Firefox had.
export async function launch(name, downloads) {
  if (name === 'chromium') {
    return puppeteer.launch({
      downloadBehavior: downloads ? { policy: 'allow', downloadPath: downloads } : undefined,
      browser: 'chrome',
      executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
      headless: true,
      // Touch input is emulated from the start: turning it on later reloads the page.
      defaultViewport: { ...viewport, hasTouch: true },
      args: [
        '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync',
        // WebGL in software (SwiftShader), the same on every machine.
        '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      ],
    });
  }
  if (name !== 'firefox') throw new Error(`unknown browser ${name}`);
  const [display, x] = await privateX();
  const env = { ...process.env, DISPLAY: display };
  delete env.WAYLAND_DISPLAY;
  try {
    const browser = await puppeteer.launch({
      browser: 'firefox',
      executablePath: process.env.FIREFOX || '/usr/bin/firefox-esr',
      protocol: 'webDriverBiDi',
      headless: false,
      defaultViewport: viewport,
      env,
      extraPrefsFirefox: {
        'dom.w3c_touch_events.enabled': 1,  // touch events, which a window without a touch screen lacks
        'browser.shell.checkDefaultBrowser': false,
        'browser.download.always_ask_before_handling_new_types': false,
        ...(downloads ? {
          'browser.download.dir': downloads,
          'browser.download.folderList': 2,
          'browser.download.useDownloadDir': true,
        } : {}),
      },
    });
    browser.display = display;  // where xdotool reaches its window
    const close = browser.close.bind(browser);
    browser.close = async () => {
      try {
        await close();
      } finally {
        x.kill();
      }
    };
    return browser;
  } catch (e) {
    x.kill();
    throw e;
  }
}

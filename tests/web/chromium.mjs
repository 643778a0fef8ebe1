// Debian's Chromium, headless, through playwright-core: no browser is downloaded.
// Shared by the web tests' driver and the start-up benchmark.
import { chromium } from 'playwright-core';

export function launchChromium() {
  return chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    args: [
      '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      // WebGL in software (SwiftShader), the same on every machine.
      '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    ],
  });
}

// A fresh profile's context in which the 640x400 canvas fits at its own size.
export function newContext(browser) {
  return browser.newContext({
    viewport: { width: 1000, height: 700 }, deviceScaleFactor: 1, acceptDownloads: true,
  });
}

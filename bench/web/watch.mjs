// What the start-up benchmark's scripts share: the moment a start is timed to, and the
// wait that makes the next start of the paint program a later visit.
import { existsSync } from 'node:fs';
import { join } from 'node:path';

// Whether the folder's page keeps an offline copy (the paint program's does; the bare
// program's has none).
export const keepsOfflineCopy = (folder) => existsSync(join(folder, 'sw.js'));

// Waits until the page's offline copy is stored and in charge, as it is at a later visit.
export function awaitOfflineCopy(page) {
  return page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
}

// Looks at the canvas once every animation frame from the page's start.
export function watchFirstFrame() {
  const probe = document.createElement('canvas');
  probe.width = probe.height = 1;
  const g = probe.getContext('2d', { willReadFrequently: true });
  function look() {
    const c = document.getElementById('canvas');
    if (c && c.width >= 3) {
      g.drawImage(c, 2, 2, 1, 1, 0, 0, 1, 1);
      const [r, gr, b] = g.getImageData(0, 0, 1, 1).data;
      if (r === 0xAF && gr === 0xCF && b === 0xAF) {
        window.firstFrame = performance.now();  // from the navigation's start
        return;
      }
    }
    requestAnimationFrame(look);
  }
  requestAnimationFrame(look);
}


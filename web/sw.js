// The page's copy for use offline: the service worker of one build, @VERSION@ (web/stamp.cmake
// puts the hash of the build's files there). At its installation it stores the page, the
// program and the font; afterwards the program and its files come from that store, with
// or without a network. The page itself is asked of the server first while there is a
// network, so that a new build's page, naming its own files, runs at the next visit;
// the new build's worker then stores those and removes the old copy. The pictures of
// /obrazy live in IndexedDB, which this worker never touches.
'use strict';
const VERSION = '@VERSION@';
const STORE = 'tarksen-' + VERSION;
const FILES = [
  './', 'tarksen.js?v=@VERSION@', 'tarksen.wasm?v=@VERSION@', 'BASFont.bmp?v=@VERSION@',
  'manifest.webmanifest', 'icons/32.png', 'icons/64.png', 'icons/128.png', 'icons/256.png',
];

// A file named with the version never changes, so the copy the page has just loaded
// (in the browser's HTTP cache) is taken as it is, not downloaded a second time.
self.addEventListener('install', (e) => {
  e.waitUntil(caches.open(STORE)
    .then((c) => c.addAll(FILES.map((f) =>
      new Request(f, { cache: f.includes('?v=') ? 'force-cache' : 'no-cache' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (e) => {
  e.waitUntil((async () => {
    for (const name of await caches.keys())
      if (name.startsWith('tarksen-') && name !== STORE) await caches.delete(name);
    await self.clients.claim();
  })());
});

self.addEventListener('fetch', (e) => {
  const request = e.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  if (request.mode === 'navigate') {
    e.respondWith((async () => {
      // (No navigation preload: with it, Firefox ESR 153 fails the navigation when
      // the network does, whatever the worker answers.)
      try {
        return await fetch(request);
      } catch (err) {
        const stored = await caches.match('./', { cacheName: STORE });
        if (stored) return stored;
        throw err;
      }
    })());
    return;
  }
  e.respondWith(caches.match(request, { cacheName: STORE })
    .then((stored) => stored || fetch(request)));
});

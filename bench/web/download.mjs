// What a browser downloads to start the browser version, beside the bare SDL page:
// node bench/web/download.mjs SITE BARE serves both folders through the development
// server (web/serve.mjs) and asks it for each file the page needs to start, as a
// browser does (Brotli taken, what Chromium and Firefox ask for), as a client taking
// gzip only, and uncompressed; it prints the bytes sent as a table and the ratios.
// The files a page needs to start: the page, the program and its glue, the font.
// The paint program's offline copy (its service worker, the manifest and its icons)
// comes after the start and is counted apart.
import { request } from 'node:http';
import { serve } from '../../web/serve.mjs';

const start = ['index.html', 'tarksen.js', 'tarksen.wasm', 'BASFont.bmp'];
const offline = ['sw.js', 'manifest.webmanifest', 'icons/32.png', 'icons/64.png',
  'icons/128.png', 'icons/256.png'];
const codings = { identity: 'identity', gzip: 'gzip', br: 'gzip, deflate, br' };

// The bytes the server sends for path when asked with Accept-Encoding accept.
function sent(port, path, accept) {
  return new Promise((done, fail) => {
    const req = request({ host: '127.0.0.1', port, path: '/' + path,
      headers: { 'Accept-Encoding': accept } }, (res) => {
      let n = 0;
      res.on('data', (c) => { n += c.length; });
      res.on('end', () => (res.statusCode === 200 ? done(n)
        : fail(new Error(`${path}: ${res.statusCode}`))));
    });
    req.on('error', fail);
    req.end();
  });
}

// { file: { identity, gzip, br } } for the files of folder.
async function measure(folder, files) {
  const server = await serve(folder);
  const port = server.address().port;
  const sizes = {};
  try {
    for (const f of files) {
      sizes[f] = {};
      for (const [name, accept] of Object.entries(codings)) {
        sizes[f][name] = await sent(port, f, accept);
      }
    }
  } finally {
    server.close();
  }
  return sizes;
}

function total(sizes) {
  const t = { identity: 0, gzip: 0, br: 0 };
  for (const s of Object.values(sizes)) for (const c in t) t[c] += s[c];
  return t;
}

const [site, bare] = process.argv.slice(2);
if (!site || !bare) {
  console.error('usage: node bench/web/download.mjs SITE BARE');
  process.exit(2);
}
const paint = await measure(site, start);
const yardstick = await measure(bare, start);
const extra = await measure(site, offline);
const n = (v) => (v === undefined ? '' : v.toLocaleString('en-US'));
const row = (name, p, b = {}) =>
  `| ${name} | ${n(p.identity)} | ${n(p.gzip)} | ${n(p.br)} | ${n(b.identity)} | ${n(b.gzip)} | ${n(b.br)} |`;
console.log('| File | paint program | gzip | Brotli | bare SDL | gzip | Brotli |');
console.log('|---|---|---|---|---|---|---|');
for (const f of start) console.log(row(`\`${f}\``, paint[f], yardstick[f]));
const p = total(paint);
const b = total(yardstick);
console.log(row('all the page needs to start', p, b));
const withOffline = total({ ...paint, ...extra });
console.log(row('with the offline copy', withOffline));
const r = (c) => (p[c] / b[c]).toFixed(3);
console.log(`\npaint / bare: ${r('identity')} uncompressed, ${r('gzip')} gzip, ${r('br')} Brotli ` +
  '(what the server sends a browser)');

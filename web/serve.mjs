// A static web server for the browser version: node web/serve.mjs FOLDER [PORT]
// serves FOLDER on 127.0.0.1 (port 8080, or the next free one) and prints the address.
// Also imported by the browser tests, which take any free port. It serves only what
// lies in FOLDER (no link is followed out of it), and only to requests made to the
// address it listens on: a page elsewhere that points its own name at 127.0.0.1 (DNS
// rebinding) gets nothing. Files are sent compressed where the browser takes it (Brotli,
// else gzip), as a web server in front of the site would.
import { createServer } from 'node:http';
import { readFile, realpath, stat } from 'node:fs/promises';
import { promisify } from 'node:util';
import { brotliCompress, constants, gzip } from 'node:zlib';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.bmp': 'image/bmp',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json',
  '.svg': 'image/svg+xml',
  '.txt': 'text/plain; charset=utf-8',
};

// Kinds worth compressing (PNG is compressed already), and the codings on offer, best
// first. Brotli at quality 9 packs the program nearly as small as at 11, in a tenth of
// the time.
const compressible = new Set(['.html', '.js', '.wasm', '.bmp', '.webmanifest', '.css', '.json',
  '.svg', '.txt']);
const codings = {
  br: promisify((b, done) => brotliCompress(b,
    { params: { [constants.BROTLI_PARAM_QUALITY]: 9 } }, done)),
  gzip: promisify((b, done) => gzip(b, { level: 9 }, done)),
};

// The coding a request's Accept-Encoding takes, best first; identity when none (q=0
// refuses one).
export function codingFor(accept = '') {
  const taken = new Set();
  for (const part of accept.split(',')) {
    const [name, ...params] = part.trim().toLowerCase().split(';');
    const q = params.map((p) => p.trim()).find((p) => p.startsWith('q='));
    if (!q || Number(q.slice(2)) > 0) taken.add(name);
  }
  return Object.keys(codings).find((c) => taken.has(c) || taken.has('*')) || 'identity';
}

// The file a request's path names inside root (the real path of the folder), or null
// when it names nothing there: malformed percent-encoding throws URIError.
async function fileOf(root, url) {
  let path = decodeURIComponent(new URL(url, 'http://x').pathname);
  if (path.endsWith('/')) path += 'index.html';
  const file = normalize(join(root, path));
  if (!file.startsWith(root + sep)) return null;
  // Where its links lead must be inside too.
  const real = await realpath(file).catch(() => null);
  return real && real.startsWith(root + sep) ? real : null;
}

// Resolves to the server once it listens; port 0 takes any free port.
export async function serve(folder, port = 0, host = '127.0.0.1') {
  const root = await realpath(resolve(folder));
  const packed = new Map();  // "coding path" -> { mtime, size, body }, each made once
  async function body(file, coding) {
    const s = await stat(file);
    const key = coding + ' ' + file;
    const kept = packed.get(key);
    if (kept && kept.mtime === s.mtimeMs && kept.size === s.size) return kept.body;
    let b = await readFile(file);
    if (coding !== 'identity') b = await codings[coding](b);
    packed.set(key, { mtime: s.mtimeMs, size: s.size, body: b });
    return b;
  }
  let hosts = [];  // the Host headers of requests to the listening address
  const server = createServer(async (req, res) => {
    if (!hosts.includes(req.headers.host)) {
      res.writeHead(403, { 'Content-Type': 'text/plain' }).end('Forbidden\n');
      return;
    }
    if (req.method !== 'GET' && req.method !== 'HEAD') {
      res.writeHead(405, { Allow: 'GET, HEAD' }).end();
      return;
    }
    try {
      const file = await fileOf(root, req.url);
      if (!file) {
        res.writeHead(404, { 'Content-Type': 'text/plain' }).end('Not found\n');
        return;
      }
      const ext = extname(file);
      const coding = compressible.has(ext) ? codingFor(req.headers['accept-encoding']) : 'identity';
      const data = await body(file, coding);
      res.writeHead(200, {
        'Content-Type': types[ext] || 'application/octet-stream',
        'Content-Length': data.length,
        'Cache-Control': 'no-cache',
        Vary: 'Accept-Encoding',
        ...(coding === 'identity' ? {} : { 'Content-Encoding': coding }),
      });
      res.end(req.method === 'HEAD' ? undefined : data);
    } catch (e) {
      const bad = e instanceof URIError;
      res.writeHead(bad ? 400 : 404, { 'Content-Type': 'text/plain' });
      res.end(bad ? 'Bad request\n' : 'Not found\n');
    }
  });
  await new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, host, done);
  });
  // localhost names the loopback address in every browser, so it cannot be rebound.
  const p = server.address().port;
  hosts = [`${host}:${p}`, ...(host === '127.0.0.1' ? [`localhost:${p}`] : [])];
  return server;
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const [folder, portArg] = process.argv.slice(2);
  if (!folder) {
    console.error('usage: node web/serve.mjs FOLDER [PORT]');
    process.exit(2);
  }
  let port = Number(portArg || 8080);
  for (let tries = 0; ; tries++) {
    try {
      await serve(folder, port);
      break;
    } catch (e) {
      if (e.code !== 'EADDRINUSE' || portArg || tries === 20) {
        console.error(`serve: ${e.message}`);
        process.exit(1);
      }
      port++;
    }
  }
  console.log(`TARKSEN 2 is served at http://127.0.0.1:${port}/ (Ctrl+C stops the server)`);
}

// A static web server for the browser version: node web/serve.mjs FOLDER [PORT]
// serves FOLDER on 127.0.0.1 (port 8080, or the next free one) and prints the address.
// Also imported by the browser tests, which take any free port. It serves only what
// lies in FOLDER (no link is followed out of it), and only to requests made to the
// address it listens on: a page elsewhere that points its own name at 127.0.0.1 (DNS
// rebinding) gets nothing.
import { createServer } from 'node:http';
import { readFile, realpath } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.bmp': 'image/bmp',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

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
      const body = await readFile(file);
      res.writeHead(200, {
        'Content-Type': types[extname(file)] || 'application/octet-stream',
        'Content-Length': body.length,
        'Cache-Control': 'no-cache',
      });
      res.end(req.method === 'HEAD' ? undefined : body);
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

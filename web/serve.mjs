// A static web server for the browser version: node web/serve.mjs FOLDER [PORT]
// serves FOLDER on 127.0.0.1 (port 8080, or the next free one) and prints the address.
// Also imported by the browser tests, which take any free port.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
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

// Resolves to the server once it listens; port 0 takes any free port.
export function serve(folder, port = 0, host = '127.0.0.1') {
  const root = resolve(folder);
  const server = createServer(async (req, res) => {
    if (req.method !== 'GET' && req.method !== 'HEAD') {
      res.writeHead(405, { Allow: 'GET, HEAD' }).end();
      return;
    }
    let path = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    if (path.endsWith('/')) path += 'index.html';
    const file = normalize(join(root, path));
    if (!file.startsWith(root + sep)) {
      res.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      res.writeHead(200, {
        'Content-Type': types[extname(file)] || 'application/octet-stream',
        'Content-Length': body.length,
        'Cache-Control': 'no-cache',
      });
      res.end(req.method === 'HEAD' ? undefined : body);
    } catch {
      res.writeHead(404, { 'Content-Type': 'text/plain' }).end('Not found\n');
    }
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, host, () => done(server));
  });
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

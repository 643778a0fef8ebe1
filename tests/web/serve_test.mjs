// The development server web/serve.mjs as a page elsewhere or a careless request would
// meet it: malformed percent-encoding, links out of the site's folder, and a Host
// header other than the address it listens on (DNS rebinding). Run with node --test.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { request } from 'node:http';
import { mkdtemp, mkdir, rm, symlink, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { brotliDecompressSync, gunzipSync } from 'node:zlib';
import { codingFor, serve } from '../../web/serve.mjs';

let top, server, port;

before(async () => {
  // top/site is served; top/secret.txt lies beside it.
  top = await mkdtemp(join(tmpdir(), 'tarksen-serve-'));
  const site = join(top, 'site');
  await mkdir(join(site, 'sub'), { recursive: true });
  await writeFile(join(site, 'index.html'), 'index');
  await writeFile(join(site, 'big.wasm'), Buffer.alloc(100000, 7));
  await writeFile(join(site, 'icon.png'), Buffer.alloc(1000, 7));
  await writeFile(join(site, 'sub', 'a.js'), 'inside');
  await writeFile(join(top, 'secret.txt'), 'secret');
  await symlink(join(top, 'secret.txt'), join(site, 'out.txt'));
  await symlink(top, join(site, 'up'));
  await symlink(join(site, 'sub', 'a.js'), join(site, 'in.js'));
  server = await serve(site);
  port = server.address().port;
});

after(async () => {
  server.close();
  await rm(top, { recursive: true, force: true });
});

// Status and body of GET path with the given Host header (the listening address by
// default), and with raw the bytes as sent and the response's headers.
function get(path, host = `127.0.0.1:${port}`, headers = {}, raw = false) {
  return new Promise((done, fail) => {
    const req = request({ host: '127.0.0.1', port, path, headers: { Host: host, ...headers } },
      (res) => {
        const parts = [];
        res.on('data', (c) => parts.push(c));
        res.on('end', () => {
          const bytes = Buffer.concat(parts);
          done(raw ? { status: res.statusCode, bytes, headers: res.headers }
            : { status: res.statusCode, body: bytes.toString('utf8') });
        });
      });
    req.on('error', fail);
    req.setTimeout(5000, () => req.destroy(new Error(`no answer to ${path}`)));
    req.end();
  });
}

test('serves the site and the links that stay inside it', async () => {
  assert.deepEqual(await get('/'), { status: 200, body: 'index' });
  assert.deepEqual(await get('/sub/a.js'), { status: 200, body: 'inside' });
  assert.deepEqual(await get('/in.js'), { status: 200, body: 'inside' });
});

test('malformed percent-encoding is a bad request, and the server goes on', async () => {
  for (const path of ['/%E0%A4%A', '/%', '/sub/%ZZ']) {
    assert.equal((await get(path)).status, 400, path);
  }
  assert.deepEqual(await get('/'), { status: 200, body: 'index' });
});

test('no link is followed out of the site', async () => {
  for (const path of ['/out.txt', '/up/secret.txt', '/../secret.txt', '/%2e%2e/secret.txt']) {
    const r = await get(path);
    assert.ok(r.status === 403 || r.status === 404, `${path}: ${r.status}`);
    assert.notEqual(r.body, 'secret', path);
  }
});

test('a Host other than the listening address is refused', async () => {
  for (const host of ['evil.example', `evil.example:${port}`, `127.0.0.1:${port + 1}`, '127.0.0.1']) {
    const r = await get('/', host);
    assert.equal(r.status, 403, `Host: ${host}`);
    assert.notEqual(r.body, 'index', `Host: ${host}`);
  }
  assert.equal((await get('/', `localhost:${port}`)).status, 200);
});

test('the coding taken: Brotli first, then gzip, none refused with q=0', () => {
  const cases = [
    ['gzip, deflate, br, zstd', 'br'], ['gzip, deflate', 'gzip'], ['br;q=0, gzip', 'gzip'],
    ['gzip;q=0', 'identity'], ['', 'identity'], [undefined, 'identity'], ['*', 'br'],
    ['deflate', 'identity'], ['GZIP;Q=0.5', 'gzip'],
  ];
  for (const [accept, coding] of cases) assert.equal(codingFor(accept), coding, String(accept));
});

test('files are sent compressed as the browser takes them, with their types', async () => {
  const whole = Buffer.alloc(100000, 7);
  const cases = [
    ['br', brotliDecompressSync], ['gzip', gunzipSync], ['identity', (b) => b],
  ];
  for (const [coding, unpack] of cases) {
    const r = await get('/big.wasm', undefined, { 'Accept-Encoding': coding }, true);
    assert.equal(r.status, 200);
    assert.equal(r.headers['content-type'], 'application/wasm');
    assert.equal(r.headers['content-encoding'], coding === 'identity' ? undefined : coding);
    assert.equal(r.headers.vary, 'Accept-Encoding');
    assert.equal(Number(r.headers['content-length']), r.bytes.length);
    assert.ok(unpack(r.bytes).equals(whole), coding);
    if (coding !== 'identity') assert.ok(r.bytes.length < 1000, `${coding}: ${r.bytes.length}`);
  }
  // A PNG is compressed already: sent as it is.
  const png = await get('/icon.png', undefined, { 'Accept-Encoding': 'br, gzip' }, true);
  assert.equal(png.headers['content-type'], 'image/png');
  assert.equal(png.headers['content-encoding'], undefined);
  assert.equal(png.bytes.length, 1000);
});

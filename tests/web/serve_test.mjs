// The development server web/serve.mjs as a page elsewhere or a careless request would
// meet it: malformed percent-encoding, links out of the site's folder, and a Host
// header other than the address it listens on (DNS rebinding). Run with node --test.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { request } from 'node:http';
import { mkdtemp, mkdir, rm, symlink, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { serve } from '../../web/serve.mjs';

let top, server, port;

before(async () => {
  // top/site is served; top/secret.txt lies beside it.
  top = await mkdtemp(join(tmpdir(), 'tarksen-serve-'));
  const site = join(top, 'site');
  await mkdir(join(site, 'sub'), { recursive: true });
  await writeFile(join(site, 'index.html'), 'index');
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

// Status and body of GET path with the given Host header (the listening address by default).
function get(path, host = `127.0.0.1:${port}`) {
  return new Promise((done, fail) => {
    const req = request({ host: '127.0.0.1', port, path, headers: { Host: host } }, (res) => {
      let body = '';
      res.setEncoding('utf8');
      res.on('data', (c) => (body += c));
      res.on('end', () => done({ status: res.statusCode, body }));
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

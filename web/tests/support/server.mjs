// A small static file server for the site, on 127.0.0.1 at a port the system
// picks, each file read from disk once. Nothing is kept in the browser's HTTP
// cache, so that what a page shows after the server is gone comes from the
// service worker alone.

import fs from 'node:fs/promises';
import http from 'node:http';
import path from 'node:path';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.ico': 'image/x-icon',
  '.txt': 'text/plain; charset=utf-8',
};

// Serves the files under `root`. Returns { origin, url(pathname), requests,
// refuse(pathname), hold(pathname), close() }; `requests` lists the paths asked
// for, in order. `head`, if given, is markup put first in the page's <head>.
// refuse() answers 404 for a path until the function it returns is called;
// hold() keeps the next request for a path waiting, and resolves to the
// function that lets it go on.
export async function serve(root, { head = '' } = {}) {
  const base = path.resolve(root);
  const requests = [];
  const refused = new Set();
  const holds = new Map();
  const files = new Map(); // read once: the site does not change while served
  const server = http.createServer(async (req, res) => {
    const pathname = decodeURIComponent(new URL(req.url, 'http://127.0.0.1').pathname);
    requests.push(pathname);
    if (refused.has(pathname)) {
      res.writeHead(404, { 'Content-Type': 'text/plain', 'Cache-Control': 'no-store' }).end();
      return;
    }
    const held = holds.get(pathname);
    if (held) {
      holds.delete(pathname);
      await new Promise((resolve) => held(resolve));
    }
    const file = path.join(base, pathname);
    if (file !== base && !file.startsWith(base + path.sep)) {
      res.writeHead(403).end();
      return;
    }
    try {
      let entry = files.get(file);
      if (!entry) {
        let target = file;
        if ((await fs.stat(target)).isDirectory()) {
          target = path.join(target, 'index.html');
        }
        const type = TYPES[path.extname(target)] ?? 'application/octet-stream';
        let body = await fs.readFile(target);
        if (head && path.basename(target) === 'index.html') {
          body = Buffer.from(body.toString('utf8').replace('<head>', `<head>\n${head}`));
        }
        entry = { type, body };
        files.set(file, entry);
      }
      res.writeHead(200, {
        'Content-Type': entry.type,
        'Content-Length': entry.body.length,
        'Cache-Control': 'no-store',
      });
      res.end(req.method === 'HEAD' ? undefined : entry.body);
    } catch {
      res.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
    }
  });
  await new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', resolve);
  });
  const origin = `http://127.0.0.1:${server.address().port}`;
  return {
    origin,
    requests,
    url: (pathname = '/') => origin + pathname,
    refuse(pathname) {
      refused.add(pathname);
      return () => refused.delete(pathname);
    },
    hold(pathname) {
      return new Promise((resolve) => holds.set(pathname, resolve));
    },
    close: () =>
      new Promise((resolve) => {
        server.close(resolve);
        server.closeAllConnections();
      }),
  };
}

// A static file server for the page, on 127.0.0.1 only: `make web-serve` runs it for a local
// look, and the browser tests start one of their own. Usage: node serve.mjs SITE_DIR [PORT]
// (port 0, the default, or a port already taken: a free one); it prints the address it serves.
import { createHash } from 'node:crypto';
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const TYPES = {
    '.html': 'text/html; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.wasm': 'application/wasm',
    '.svg': 'image/svg+xml',
    '.png': 'image/png',
    '.webmanifest': 'application/manifest+json',
};

/// Starts serving root; resolves to the server once it listens (server.address().port). heard,
/// when given, is told the path and the status of every answer. As common static servers do, it
/// names each file's contents with an entity tag and answers a request that names the same one
/// with 304 and no body.
export function serve(root, port = 0, heard = undefined) {
    const base = resolve(root);
    const server = createServer(async (request, response) => {
        const path = new URL(request.url, 'http://localhost').pathname;
        response.on('finish', () => heard?.(path, response.statusCode));
        try {
            const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
            const file = normalize(join(base, path.endsWith('/') ? `${path}index.html` : path));
            if (!['GET', 'HEAD'].includes(request.method) || !file.startsWith(base + sep)) {
                response.writeHead(file.startsWith(base + sep) ? 405 : 403).end();
                return;
            }
            const body = await readFile(file);
            const tag = `"${createHash('sha256').update(body).digest('base64url')}"`;
            const headers = { 'Cache-Control': 'no-cache', ETag: tag };
            if (request.headers['if-none-match'] === tag) {
                response.writeHead(304, headers).end();
                return;
            }
            response.writeHead(200, { ...headers, 'Content-Type': TYPES[extname(file)] ?? 'application/octet-stream' });
            response.end(request.method === 'HEAD' ? undefined : body);
        } catch {
            response.writeHead(404).end();
        }
    });
    return new Promise((done, fail) => {
        server.once('error', fail);
        server.listen(port, '127.0.0.1', () => done(server));
    });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const [root, port = '0'] = process.argv.slice(2);
    if (!root) {
        console.error('usage: node serve.mjs SITE_DIR [PORT]');
        process.exit(2);
    }
    // A port already taken gives way to a free one.
    const server = await serve(root, Number(port)).catch((e) => {
        if (e.code !== 'EADDRINUSE') throw e;
        return serve(root, 0);
    });
    console.log(`Korzenik is served at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops it)`);
}

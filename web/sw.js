// The page's service worker: keeps the page and every file it uses, so that after the first visit
// the page opens and works with the network off, and brings a new version in as soon as the
// server has one.
//
// The page names each file it uses with the SHA-256 digest of its contents ("korzenik.wasm?v=…"),
// so a version is its page. On every visit the page is asked of the server first: when it names
// files not kept yet, they are fetched and each checked against its digest, and only when all of
// them are whole does the new page replace the kept one; otherwise (offline, a file cut off or
// changed on the server, a page cut off) the kept version is shown. Each copy of the site keeps
// its own cache, named by its scope, and touches no other.
'use strict';
const SCOPE = self.registration.scope;
const CACHE = `korzenik ${SCOPE}`;
/// How long a visit waits for the server before it shows the kept version.
const PATIENCE = 4000;

/// The addresses of the files a page uses, each with the digest of its contents.
function filesOf(html) {
    const named = html.matchAll(/(?:href|src)="([^"?/]+\?v=[0-9a-f]{64})"/g);
    return [...new Set([...named].map((m) => new URL(m[1], SCOPE).href))];
}

/// Whether a page arrived whole: a page cut off in transit lacks its end.
const whole = (html) => html.trimEnd().endsWith('</html>');

async function digest(buffer) {
    const sum = new Uint8Array(await crypto.subtle.digest('SHA-256', buffer));
    return [...sum].map((b) => b.toString(16).padStart(2, '0')).join('');
}

/// One file, checked against the digest in its address: from the browser's cache where it has
/// the file (a first visit has just loaded it), else, or when that copy is not whole, from the
/// server. Rejects when the server's copy is not the file either.
async function fetchChecked(address) {
    const expected = new URL(address).searchParams.get('v');
    for (const cache of ['force-cache', 'no-cache']) {
        const response = await fetch(address, { cache });
        if (!response.ok) continue;
        const contents = await response.arrayBuffer();
        if (await digest(contents) !== expected) continue;
        const headers = { 'Content-Type': response.headers.get('Content-Type') ?? 'application/octet-stream' };
        return new Response(contents, { headers });
    }
    throw new Error(`${address} is not on the server whole`);
}

/// Keeps the page and every file it names, then lets go of the files no longer named. Rejects,
/// keeping the version kept so far, when the page or a file is not whole.
async function keep(html) {
    if (!whole(html)) throw new Error('the page is cut off');
    const cache = await caches.open(CACHE);
    const files = filesOf(html);
    for (const address of files) {
        if (!await cache.match(address)) await cache.put(address, await fetchChecked(address));
    }
    await cache.put(SCOPE, new Response(html, { headers: { 'Content-Type': 'text/html; charset=utf-8' } }));
    const named = new Set([SCOPE, ...files]);
    for (const request of await cache.keys()) {
        if (!named.has(request.url)) await cache.delete(request);
    }
}

/// The server's page (at address, the scope's by default), kept with its files; resolves to its
/// text.
async function fromServer(cache, address = SCOPE) {
    const response = await fetch(address, { cache });
    if (!response.ok) throw new Error(`the server answered ${response.status}`);
    const html = await response.text();
    await keep(html);
    return html;
}

const pageResponse = (html) => new Response(html, { headers: { 'Content-Type': 'text/html; charset=utf-8' } });

/// A visit: the server's version when it is whole and comes in time, else the kept one.
async function visit(event) {
    const kept = caches.open(CACHE).then((cache) => cache.match(SCOPE));
    const fresh = fromServer('no-cache');
    event.waitUntil(fresh.catch(() => {}));
    const late = new Promise((resolve) => { setTimeout(resolve, PATIENCE, null); });
    const html = await Promise.race([fresh, late]).catch(() => null);
    if (html !== null) return pageResponse(html);
    return (await kept) ?? fresh.then(pageResponse);
}

// The first visit keeps what its page has just loaded, each file from the browser's cache: the
// page too, at the address it was opened with.
self.addEventListener('install', (event) => {
    event.waitUntil((async () => {
        const pages = await self.clients.matchAll({ type: 'window', includeUncontrolled: true });
        const opened = pages.map((c) => new URL(c.url)).find((u) => u.href.startsWith(SCOPE)
            && ['', 'index.html'].includes(u.pathname.slice(new URL(SCOPE).pathname.length)));
        await fromServer('force-cache', opened ? opened.origin + opened.pathname + opened.search : SCOPE);
        await self.skipWaiting();
    })());
});

// Caches of this worker's earlier versions, which were named by a digest, are let go of when
// they hold this scope's page, and no other.
self.addEventListener('activate', (event) => {
    event.waitUntil((async () => {
        for (const name of await caches.keys()) {
            if (!/^korzenik-[0-9a-f]+$/.test(name)) continue;
            const old = await caches.open(name);
            if (await old.match(SCOPE, { ignoreSearch: true })) await caches.delete(name);
        }
        await self.clients.claim();
    })());
});

self.addEventListener('fetch', (event) => {
    const { request } = event;
    if (request.method !== 'GET') return;
    const url = new URL(request.url);
    const path = url.pathname;
    const scopePath = new URL(SCOPE).pathname;
    if (url.origin !== location.origin || !path.startsWith(scopePath)) return;
    const name = path.slice(scopePath.length);
    if (request.mode === 'navigate' && (name === '' || name === 'index.html')) {
        event.respondWith(visit(event));
    } else if (!name.includes('/') && /^v=[0-9a-f]{64}$/.test(url.search.slice(1))) {
        event.respondWith(caches.open(CACHE)
            .then((cache) => cache.match(`${SCOPE}${name}${url.search}`))
            .then((kept) => kept ?? fetch(request)));
    }
});

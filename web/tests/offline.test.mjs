// The page kept for offline use, and a teacher's updates: the first visit fetches each file once
// and the page then works with the server gone, a link to an exercise too; a new version on the
// server, one file of it edited or the whole site replaced, shows on the next visit and then works
// offline; a module cut off on the server is never kept nor shown, the last good version keeps
// working; two copies of the site in two folders of one server keep their offline copies side by
// side.
//
// Environment: KORZENIK_SITE (the built site).
import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, test } from 'node:test';
import { launch, openPage, serveSite } from './browser.mjs';
import { closeMessages } from './session.mjs';

const SITE = process.env.KORZENIK_SITE;
assert.ok(SITE, 'set KORZENIK_SITE');

const work = mkdtempSync(join(tmpdir(), 'korzenik-offline-test-'));
after(() => rmSync(work, { recursive: true, force: true }));

const digest = (bytes) => createHash('sha256').update(bytes).digest('hex');

/// Writes a new version of the file name into the site in folder: its contents changed by change,
/// and the page's address of it (with the digest) made to match.
function newVersion(folder, name, change) {
    const path = join(folder, name);
    const before = readFileSync(path);
    const after = change(before);
    const page = join(folder, 'index.html');
    writeFileSync(page, readFileSync(page, 'utf8').replace(`${name}?v=${digest(before)}`, `${name}?v=${digest(after)}`));
    writeFileSync(path, after);
    return after;
}
/// A module with a custom section of its own at the end: another build of the same dialog.
const otherBuild = (wasm, mark) => Buffer.concat([wasm, Buffer.from([0, 2 + mark.length, 1, 0x76]), Buffer.from(mark)]);

/// A visit: the page opened anew in the browser, usable; what it shows of its version.
async function visit(context, url) {
    const page = await openPage(context, url);
    const seen = await page.evaluate(() => ({
        caption: document.getElementById('window-caption').textContent,
        style: getComputedStyle(document.documentElement).getPropertyValue('--version').trim(),
        module: document.querySelector('link[rel="preload"]').getAttribute('href'),
    }));
    return { page, ...seen };
}
/// Whether the dialog answers: Zatwierdź with no function shows its two messages.
async function answers(page) {
    await page.click('#IDC_CONFIRM');
    return (await closeMessages(page)).length === 2;
}
async function stop(served) {
    await new Promise((done) => {
        served.server.close(done);
        served.server.closeAllConnections();
    });
}
/// The service worker controls the page and has kept its version.
const settled = (page) => page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    while (!navigator.serviceWorker.controller) await new Promise((r) => { setTimeout(r, 20); });
});

test('the first visit fetches each file once; then the page opens and works with the server gone', async () => {
    const browser = await launch();
    // Every request the server answers, whole or "not modified": one for each file. (The icon,
    // which the page shows in four places, is written into the page and the manifest.)
    const asked = new Map();
    const served = await serveSite(SITE, (path) => asked.set(path, (asked.get(path) ?? 0) + 1));
    try {
        const { page } = await visit(browser.context, served.url);
        await settled(page);
        const cdp = await page.context().newCDPSession(page);
        const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
        assert.deepEqual(installabilityErrors, []);
        assert.deepEqual([...asked.values()].filter((n) => n !== 1), [], JSON.stringify([...asked]));
        assert.ok(['/', '/korzenik.wasm', '/sw.js'].every((path) => asked.has(path)), JSON.stringify([...asked]));

        await stop(served);
        await page.reload();
        await page.waitForSelector('body[data-busy="0"]');
        assert.ok(await answers(page));
        assert.equal(await page.locator('#IDC_YMAX').textContent(), '1.0');
        // A link to an exercise, opened offline in a new tab.
        const { page: exercise } = await visit(browser.context, `${served.url}index.html#f=3&a=-1&b=0.5&p=0.001&auto=1`);
        assert.deepEqual(await exercise.evaluate(() => ['IDC_FUNCTION', 'IDC_START', 'IDC_END', 'IDC_PRECISION', 'IDC_AUTO']
            .map((id) => document.getElementById(id)).map((e) => (e.type === 'checkbox' ? e.checked : e.selectedIndex ?? e.value))),
        [2, '-1', '0.5', '0.001', true]);
    } finally {
        await browser.close();
        served.server.close();
    }
});

test('a new version shows on the next visit, edited in one file or replaced whole; offline it stays', async () => {
    const folder = join(work, 'update');
    cpSync(SITE, folder, { recursive: true });
    const browser = await launch();
    let served = await serveSite(folder);
    try {
        const first = await visit(browser.context, served.url);
        await settled(first.page);
        assert.equal(first.caption, 'Korzenik');
        // A teacher edits the page on the server.
        const page = join(folder, 'index.html');
        writeFileSync(page, readFileSync(page, 'utf8').replace('id="window-caption">Korzenik<', 'id="window-caption">Korzenik B<'));
        const second = await visit(browser.context, served.url);
        assert.equal(second.caption, 'Korzenik B');
        // The whole site replaced by another build, with another style sheet and module.
        const next = join(work, 'next');
        cpSync(folder, next, { recursive: true });
        newVersion(next, 'korzenik.css', (css) => Buffer.concat([css, Buffer.from(':root{--version:C}\n')]));
        newVersion(next, 'korzenik.wasm', (wasm) => otherBuild(wasm, 'C'));
        cpSync(next, folder, { recursive: true });
        const third = await visit(browser.context, served.url);
        assert.equal(third.style, 'C');
        assert.ok(await answers(third.page));
        // Offline, the version last seen.
        await stop(served);
        const offline = await visit(browser.context, served.url);
        assert.deepEqual([offline.caption, offline.style, offline.module], [third.caption, 'C', third.module]);
        assert.ok(await answers(offline.page));

        // A new build whose module arrived cut off: the last good version opens and works, and
        // the cut-off file is never kept.
        served = await serveSite(folder, undefined, new URL(served.url).port);
        const whole = newVersion(folder, 'korzenik.wasm', (wasm) => otherBuild(wasm, 'D'));
        writeFileSync(join(folder, 'korzenik.wasm'), whole.subarray(0, 30000));
        const cut = await visit(browser.context, served.url);
        assert.deepEqual([cut.style, cut.module], ['C', third.module]);
        assert.ok(await answers(cut.page));
        // The right file back on the server: the new version.
        writeFileSync(join(folder, 'korzenik.wasm'), whole);
        const mended = await visit(browser.context, served.url);
        assert.notEqual(mended.module, third.module);
        assert.ok(await answers(mended.page));
        await stop(served);
        const after = await visit(browser.context, served.url);
        assert.equal(after.module, mended.module);
        assert.ok(await answers(after.page));
    } finally {
        await browser.close();
        served.server.close();
    }
});

test('two copies in two folders of one server both work offline after both were visited', async () => {
    const root = join(work, 'two');
    cpSync(SITE, join(root, 'a'), { recursive: true });
    cpSync(SITE, join(root, 'b', 'old'), { recursive: true });
    const browser = await launch();
    const served = await serveSite(root);
    const copies = [`${served.url}a/`, `${served.url}b/old/`];
    try {
        for (const url of copies) await settled((await visit(browser.context, url)).page);
        await stop(served);
        for (const url of copies) {
            const { page } = await visit(browser.context, url);
            assert.ok(await answers(page), url);
        }
        const caches = await browser.context.pages().at(-1).evaluate(() => caches.keys());
        assert.deepEqual(caches.sort(), copies.map((url) => `korzenik ${url}`).sort());
    } finally {
        await browser.close();
        served.server.close();
    }
});

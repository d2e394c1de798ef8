// A page that cannot start says so in its window, in Polish, with the reason and what to do:
// opened from disk, its module missing on the server or cut off, a browser without WebAssembly.
//
// Environment: KORZENIK_SITE (the built site).
import assert from 'node:assert/strict';
import { cpSync, mkdtempSync, readFileSync, rmSync, unlinkSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { after, before, test } from 'node:test';
import { launch, serveSite } from './browser.mjs';

const SITE = process.env.KORZENIK_SITE;
assert.ok(SITE, 'set KORZENIK_SITE');

const work = mkdtempSync(join(tmpdir(), 'korzenik-failure-test-'));
let browser;
before(async () => {
    browser = await launch({ serviceWorkers: 'block' });
});
after(async () => {
    await browser?.close();
    rmSync(work, { recursive: true, force: true });
});

/// A copy of the site, changed by change(folder), in a folder of its own.
function siteCopy(name, change) {
    const folder = join(work, name);
    cpSync(SITE, folder, { recursive: true });
    change(folder);
    return folder;
}

/// What the window says when it fails: its message, and whether a control can still be reached.
async function failureAt(url, prepare) {
    const page = await browser.context.newPage();
    await prepare?.(page);
    await page.goto(url);
    await page.waitForSelector('#failure:not([hidden])');
    const said = await page.evaluate(() => ({
        text: document.getElementById('failure-text').textContent,
        usable: !document.getElementById('client').inert && !document.getElementById('window').inert,
        role: document.getElementById('failure').getAttribute('role'),
    }));
    await page.close();
    return said;
}

test('opened from disk: put the folder on a web server or run make web-serve', async () => {
    const said = await failureAt(pathToFileURL(join(SITE, 'index.html')).href);
    assert.match(said.text, /otwarta z dysku/);
    assert.match(said.text, /serwerze WWW/);
    assert.match(said.text, /make web-serve/);
    assert.deepEqual([said.usable, said.role], [false, 'alert']);
});

test('the module missing on the server, or cut off, or no WebAssembly in the browser', async () => {
    const missing = siteCopy('missing', (folder) => unlinkSync(join(folder, 'korzenik.wasm')));
    const cut = siteCopy('cut', (folder) => {
        const wasm = join(folder, 'korzenik.wasm');
        writeFileSync(wasm, readFileSync(wasm).subarray(0, 30000));
    });
    const servers = [];
    try {
        const url = async (folder) => {
            const served = await serveSite(folder);
            servers.push(served.server);
            return served.url;
        };
        const gone = await failureAt(await url(missing));
        assert.match(gone.text, /Na serwerze nie ma pliku korzenik\.wasm \(odpowiedź 404\)/);
        assert.match(gone.text, /Skopiuj na serwer wszystkie pliki strony/);
        assert.equal(gone.usable, false);
        const damaged = await failureAt(await url(cut));
        assert.match(damaged.text, /korzenik\.wasm na serwerze jest uszkodzony/);
        const old = await failureAt(await url(SITE), (page) => page.addInitScript(() => {
            delete window.WebAssembly;
        }));
        assert.match(old.text, /nie obsługuje WebAssembly/);
    } finally {
        servers.forEach((s) => s.close());
    }
});

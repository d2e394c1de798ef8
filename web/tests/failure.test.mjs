// A page that cannot start says so in its window, in Polish, with the reason and what to do:
// opened from disk, its module missing on the server or cut off, a browser without WebAssembly,
// its script missing on the server, JavaScript off.
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

/// What the window says when it fails: its message as shown, and whether a control can still be
/// reached. context: the browser's, unless another is given.
async function failureAt(url, prepare, context = browser.context) {
    const page = await context.newPage();
    await prepare?.(page);
    await page.goto(url);
    await page.waitForSelector('#failure', { state: 'visible' });
    const said = await page.evaluate(() => ({
        text: document.getElementById('failure').innerText,
        usable: !document.getElementById('client').inert && !document.getElementById('window').inert,
        role: document.getElementById('failure').getAttribute('role'),
    }));
    await page.close();
    return said;
}

test('opened from disk: open the course\'s address or ask the teacher; the teacher\'s command after', async () => {
    const said = await failureAt(pathToFileURL(join(SITE, 'index.html')).href);
    assert.match(said.text, /otwarta z pliku na dysku/);
    assert.match(said.text, /Otwórz adres strony podany przez prowadzącego zajęcia/);
    assert.match(said.text, /serwerze WWW\.\s+Dla prowadzącego: .*„make web-serve”/);
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

test('no script: korzenik.js missing on the server, or JavaScript off, and the window says which', async () => {
    const served = await serveSite(siteCopy('no-script', (folder) => unlinkSync(join(folder, 'korzenik.js'))));
    const off = await launch({ javaScriptEnabled: false, serviceWorkers: 'block' });
    try {
        const missing = await failureAt(served.url);
        assert.match(missing.text, /Nie dotarł plik programu korzenik\.js/);
        assert.doesNotMatch(missing.text, /wyłączono JavaScript/);
        assert.equal(missing.usable, false);
        const disabled = await failureAt(served.url, undefined, off.context);
        assert.match(disabled.text, /W tej przeglądarce wyłączono JavaScript/);
        assert.doesNotMatch(disabled.text, /korzenik\.js/);
    } finally {
        await off.close();
        served.server.close();
    }
});

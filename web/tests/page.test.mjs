// The page in a real browser, driven as a user drives it, against the native scripted host: the
// same session through both must show the same lines, labels, fields and message boxes, and the
// canvas must hold the very pixels of the native picture.
//
// Environment: KORZENIK_SITE (the built site), KORZENIK_NATIVE_SCRIPT (the native korzenik-script).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { launch, openPage, serveSite } from './browser.mjs';

const SITE = process.env.KORZENIK_SITE;
const NATIVE = process.env.KORZENIK_NATIVE_SCRIPT;
assert.ok(SITE && NATIVE, 'set KORZENIK_SITE and KORZENIK_NATIVE_SCRIPT');

const work = mkdtempSync(join(tmpdir(), 'korzenik-web-test-'));
let browser;
let site;

before(async () => {
    browser = await launch();
    site = await serveSite(SITE);
});
after(async () => {
    await browser?.close();
    site?.server.close();
    rmSync(work, { recursive: true, force: true });
});

/// The native host's transcript of a script: its events, and its picture when the script saves one.
function native(script, picture) {
    const path = join(work, 'session.ksc');
    writeFileSync(path, script);
    const events = execFileSync(NATIVE, [path], { cwd: work, encoding: 'utf8' })
        .trim().split('\n').map((line) => JSON.parse(line));
    return {
        messages: events.filter((e) => e.event === 'message')
            .map(({ icon, caption, text }) => ({ icon, caption, text })),
        appended: events.filter((e) => e.event === 'append').map((e) => e.text),
        state: events.findLast((e) => e.event === 'state'),
        png: picture && readFileSync(join(work, picture)),
    };
}

/// A new tab with the page, noting every error it reports (a script's, or a resource refused by
/// its security policy) and every address it asks for outside its own folder.
async function freshPage() {
    const page = await openPage(browser.context, site.url, (p) => {
        p.problems = [];
        p.on('pageerror', (e) => p.problems.push(e.message));
        p.on('console', (m) => m.type() === 'error' && p.problems.push(m.text()));
        p.on('request', (r) => !r.url().startsWith(site.url) && p.problems.push(r.url()));
    });
    return page;
}

/// A key as a keyboard sends it: key down, the character it types, key up.
async function key(page, { key, code, keyCode, text = '', alt = false, shift = false }) {
    const cdp = await page.context().newCDPSession(page);
    const modifiers = (alt ? 1 : 0) | (shift ? 8 : 0);
    const base = { key, code, windowsVirtualKeyCode: keyCode, modifiers };
    await cdp.send('Input.dispatchKeyEvent', { ...base, type: 'rawKeyDown' });
    if (text) await cdp.send('Input.dispatchKeyEvent', { ...base, type: 'char', text, unmodifiedText: text });
    await cdp.send('Input.dispatchKeyEvent', { ...base, type: 'keyUp' });
    await cdp.detach();
}
const ENTER = { key: 'Enter', code: 'Enter', keyCode: 13, text: '\r' };
const ESCAPE = { key: 'Escape', code: 'Escape', keyCode: 27 };

async function typeInto(page, selector, text) {
    await page.click(selector);
    await page.keyboard.press('Control+A');
    await page.keyboard.type(text);
}

/// Closes every message box the press left open, with OK, and returns them in the order shown.
/// Only one box is open at a time, and the page is busy until the last one was closed.
async function closeMessages(page) {
    const seen = [];
    while (await page.locator('body[data-busy="1"]').count()) {
        await page.waitForSelector('#messagebox[open]');
        assert.equal(await page.locator('dialog[open]').count(), 1);
        seen.push(await page.evaluate(() => ({
            icon: document.getElementById('messagebox').dataset.icon,
            caption: document.getElementById('messagebox-caption').textContent,
            text: document.getElementById('messagebox-text').textContent,
        })));
        await page.click('#messagebox-ok');
        await page.waitForFunction(() => document.body.dataset.busy === '0'
            || document.getElementById('messagebox').open);
    }
    return seen;
}

/// What the page shows, in the native transcript's terms.
function shown(page) {
    return page.evaluate(() => {
        const $ = (id) => document.getElementById(id);
        const lines = [...$('IDC_RESULTS').querySelectorAll('[role="option"]')];
        return {
            function: $('IDC_FUNCTION').selectedOptions[0]?.text ?? '',
            start: $('IDC_START').value,
            end: $('IDC_END').value,
            precision: $('IDC_PRECISION').value,
            auto: $('IDC_AUTO').checked ? 1 : 0,
            xmin: $('IDC_XMIN').textContent,
            xmax: $('IDC_XMAX').textContent,
            ymin: $('IDC_YMIN').textContent,
            ymax: $('IDC_YMAX').textContent,
            lines: lines.map((l) => l.innerText),
            selected: lines.findIndex((l) => l.getAttribute('aria-selected') === 'true'),
        };
    });
}

/// Pixels of the window picture (offset by the client's place in the window) that differ from
/// the image, decoded by the browser's own PNG decoder; the image is the canvas or a screenshot.
function differingPixels(page, windowPng, clip, screenshotPng) {
    return page.evaluate(async ({ windowPng, clip, screenshotPng }) => {
        const decode = async (base64) => {
            const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
            const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/png' }),
                { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
            const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
            canvas.getContext('2d').drawImage(bitmap, 0, 0);
            return canvas.getContext('2d').getImageData(0, 0, bitmap.width, bitmap.height);
        };
        const window = await decode(windowPng);
        const surface = document.getElementById('surface');
        const image = screenshotPng ? await decode(screenshotPng)
            : surface.getContext('2d').getImageData(clip.x, clip.y, clip.width, clip.height);
        const [left, top] = [3 + clip.x, 27 + clip.y];  // the client area's place in the window
        let differing = 0;
        for (let y = 0; y < clip.height; ++y) {
            for (let x = 0; x < clip.width; ++x) {
                const a = ((top + y) * window.width + left + x) * 4;
                const b = (y * clip.width + x) * 4;
                for (let c = 0; c < 3; ++c) {
                    if (window.data[a + c] !== image.data[b + c]) {
                        ++differing;
                        break;
                    }
                }
            }
        }
        return differing;
    }, { windowPng: windowPng.toString('base64'), clip, screenshotPng: screenshotPng?.toString('base64') });
}

test('a session through the controls shows what the native host shows, pixel for pixel', async () => {
    const expected = native(`function f(x) = x*x-4
start 0
end 3
precision 0.001
confirm
compute
auto on
compute
end 2.5
confirm
compute
png session.png
state
`, 'session.png');
    const page = await freshPage();
    await page.selectOption('#IDC_FUNCTION', { label: 'f(x) = x*x-4' });
    await typeInto(page, '#IDC_START', '0');
    await typeInto(page, '#IDC_END', '3');
    await typeInto(page, '#IDC_PRECISION', '0.001');
    await page.click('#IDC_CONFIRM');
    const messages = await closeMessages(page);
    await key(page, { key: 'l', code: 'KeyL', keyCode: 76, text: 'l', alt: true });  // Alt+L: one step
    messages.push(...await closeMessages(page));
    assert.deepEqual((await shown(page)).lines, expected.appended.slice(0, 1));
    await page.click('text=Auto');
    await page.click('#IDC_COMPUTE');
    messages.push(...await closeMessages(page));
    // Another interval: the list is emptied and the chart wiped before the new run.
    await typeInto(page, '#IDC_END', '2.5');
    await page.click('#IDC_CONFIRM');
    messages.push(...await closeMessages(page));
    await page.click('#IDC_COMPUTE');
    messages.push(...await closeMessages(page));

    assert.deepEqual(messages, expected.messages);
    const { event, ...state } = expected.state;
    assert.deepEqual(await shown(page), state);
    const client = { x: 0, y: 0, width: 796, height: 536 };
    assert.equal(await differingPixels(page, expected.png, client), 0, 'canvas pixels');
    // What the screen shows of the chart's backdrop: no control over it, no smoothing.
    const backdrop = { x: 256, y: 32, width: 494, height: 446 };
    const box = await page.locator('#surface').boundingBox();
    const screenshot = await page.screenshot({ clip: { ...backdrop, x: box.x + backdrop.x, y: box.y + backdrop.y } });
    assert.equal(await differingPixels(page, expected.png, backdrop, screenshot), 0, 'screen pixels');
    assert.deepEqual(page.problems, []);
    await page.close();
});

test('a refused number: its message first, each box after the last was closed, then its field', async () => {
    const expected = native('function f(x) = x*x-4\nprecision abc\nconfirm\nstate\n');
    const page = await freshPage();
    await page.selectOption('#IDC_FUNCTION', { label: 'f(x) = x*x-4' });
    await typeInto(page, '#IDC_PRECISION', 'abc');
    await page.click('#IDC_CONFIRM');
    assert.deepEqual(await closeMessages(page), expected.messages);
    assert.deepEqual(await page.evaluate(() => {
        const field = document.activeElement;
        return [field.id, field.selectionStart, field.selectionEnd - field.value.length];
    }), ['IDC_PRECISION', 0, 0]);
    const { event, ...state } = expected.state;
    assert.deepEqual(await shown(page), state);
    await page.close();
});

test('Enter and Escape do nothing on the dialog; Tab walks the controls in the layout order', async () => {
    const page = await freshPage();
    const order = [];
    for (let i = 0; i < 8; ++i) {
        order.push(await page.evaluate(() => document.activeElement.id));
        await page.keyboard.press('Tab');
    }
    assert.deepEqual(order, ['IDC_FUNCTION', 'IDC_START', 'IDC_END', 'IDC_PRECISION',
        'IDC_CONFIRM', 'IDC_COMPUTE', 'IDC_AUTO', 'IDC_FUNCTION']);

    const before = await shown(page);
    for (const focused of ['#IDC_CONFIRM', '#IDC_COMPUTE', '#IDC_PRECISION', '#IDC_FUNCTION']) {
        await page.focus(focused);
        await key(page, ENTER);
        await key(page, ESCAPE);
    }
    await page.waitForTimeout(100);
    assert.equal(await page.locator('dialog[open]').count(), 0);
    assert.deepEqual(await shown(page), before);
    // The same button does press with the space bar.
    await page.focus('#IDC_CONFIRM');
    await page.keyboard.press('Space');
    assert.equal((await closeMessages(page)).length, 2);
    await page.close();
});

test('the window menu opens the About box, which Enter and Escape close', async () => {
    const page = await freshPage();
    await page.selectOption('#IDC_FUNCTION', { label: 'f(x) = sin(x)' });
    const before = await shown(page);
    // A right click on the face of the window, away from every control.
    await page.click('#surface', { button: 'right', position: { x: 500, y: 250 } });
    await page.click('#windowmenu-about');
    await page.waitForSelector('#aboutbox[open]');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'aboutbox-ok');
    await key(page, ENTER);
    await page.waitForSelector('#aboutbox', { state: 'hidden' });
    // Shift+F10 from a button, the entry's mnemonic, then Escape.
    await page.focus('#IDC_COMPUTE');
    await key(page, { key: 'F10', code: 'F10', keyCode: 121, shift: true });
    await page.waitForSelector('#windowmenu:popover-open');
    await page.keyboard.press('a');
    await page.waitForSelector('#aboutbox[open]');
    await key(page, ESCAPE);
    await page.waitForSelector('#aboutbox', { state: 'hidden' });
    // An edit box keeps the browser's own menu.
    await page.click('#IDC_START', { button: 'right' });
    assert.equal(await page.locator('#windowmenu:popover-open').count(), 0);
    assert.deepEqual(await shown(page), before);
    await page.close();
});

test('after the first visit the page opens and works with the server gone', async () => {
    const own = await launch();
    const server = await serveSite(SITE);
    try {
        const page = await openPage(own.context, server.url);
        await page.evaluate(() => navigator.serviceWorker.ready);
        await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
        const cdp = await page.context().newCDPSession(page);
        const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
        assert.deepEqual(installabilityErrors, []);

        await new Promise((done) => {
            server.server.close(done);
            server.server.closeAllConnections();
        });
        await page.reload();
        await page.waitForSelector('body[data-busy="0"]');
        await page.click('#IDC_CONFIRM');
        assert.equal((await closeMessages(page)).length, 2);
        assert.equal(await page.locator('#IDC_YMAX').textContent(), '1.0');
    } finally {
        await own.close();
        server.server.close();
    }
});

test('on a narrow screen the whole window scales down to fit', async () => {
    const page = await freshPage();
    await page.setViewportSize({ width: 400, height: 700 });
    await page.waitForFunction(() => document.getElementById('window').getBoundingClientRect().width <= 400);
    assert.equal(await page.evaluate(() => getComputedStyle(document.getElementById('surface')).imageRendering), 'pixelated');
    await page.close();
});

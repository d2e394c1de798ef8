// axe-core against the rules of WCAG 2.0, 2.1 and 2.2 at levels A and AA, at the window's full
// size: at rest, after the demo session, with a message box, the window menu, the About box and
// the box of a link open. (The narrow screens are checked in screens.test.mjs.) And the window in
// forced colours, light and dark: what it must show still shows. And the accessibility tree the
// browser gives a screen reader (Chromium's own, through its DevTools protocol): the controls'
// names, the chart's description and the live regions.
//
// Environment: KORZENIK_SITE (the built site).
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { launch, openPage, serveSite } from './browser.mjs';
import { axeViolations, play, readScript } from './session.mjs';

const SITE = process.env.KORZENIK_SITE;
assert.ok(SITE, 'set KORZENIK_SITE');
const DEMO = new URL('../../script/demo.ksc', import.meta.url).pathname;

let browser;
let site;
before(async () => {
    browser = await launch({ viewport: { width: 1366, height: 768 }, serviceWorkers: 'block' });
    site = await serveSite(SITE);
});
after(async () => {
    await browser?.close();
    site?.server.close();
});

test('axe-core finds nothing at rest, after the demo, nor with a box or the menu open', async () => {
    const page = await openPage(browser.context, site.url);
    assert.deepEqual(await axeViolations(page), [], 'at rest');
    await play(page, readScript(DEMO));
    assert.deepEqual(await axeViolations(page), [], 'after the demo');
    await page.click('#IDC_COMPUTE');
    await page.waitForSelector('#messagebox[open]');
    assert.deepEqual(await axeViolations(page), [], 'with a message box');
    await page.click('#messagebox-ok');
    await page.waitForSelector('body[data-busy="0"]');
    await page.click('#surface', { button: 'right', position: { x: 500, y: 250 } });
    await page.waitForSelector('#windowmenu:popover-open');
    assert.deepEqual(await axeViolations(page), [], 'with the window menu');
    await page.click('#windowmenu-about');
    await page.waitForSelector('#aboutbox[open]');
    assert.deepEqual(await axeViolations(page), [], 'with the About box');
    await page.click('#aboutbox-ok');
    await page.evaluate(() => { navigator.clipboard.writeText = () => Promise.reject(new Error('refused')); });
    await page.click('#surface', { button: 'right', position: { x: 500, y: 250 } });
    await page.click('#windowmenu-link');
    await page.waitForSelector('#linkbox[open]');
    assert.deepEqual(await axeViolations(page), [], 'with the box of a link the browser would not copy');
    await page.close();
});

/// The accessibility tree's node of the element that an expression gives: its role, name,
/// description and properties (live, ...).
async function axNode(cdp, expression) {
    const { result } = await cdp.send('Runtime.evaluate', { expression });
    const { nodes } = await cdp.send('Accessibility.getPartialAXTree', { objectId: result.objectId, fetchRelatives: false });
    const node = nodes.find((n) => !n.ignored) ?? nodes[0];
    const properties = Object.fromEntries((node.properties ?? []).map((p) => [p.name, p.value.value]));
    return { role: node.role?.value, name: node.name?.value, description: node.description?.value ?? '', ...properties };
}

test('a screen reader finds each control by its name, the chart described, and hears the live regions', async () => {
    const page = await openPage(browser.context, site.url);
    const cdp = await browser.context.newCDPSession(page);
    await cdp.send('Accessibility.enable');
    await play(page, readScript(DEMO));
    const byId = (id) => axNode(cdp, `document.getElementById('${id}')`);
    const expected = {
        IDC_FUNCTION: ['combobox', 'Funkcja'],
        IDC_START: ['textbox', 'Początek'],
        IDC_END: ['textbox', 'Koniec'],
        IDC_PRECISION: ['textbox', 'Precyzja'],
        IDC_CONFIRM: ['button', 'Zatwierdź'],
        IDC_COMPUTE: ['button', 'Licz'],
        IDC_AUTO: ['checkbox', 'Auto'],
        IDC_RESULTS: ['listbox', 'Kolejne przybliżenia'],
    };
    for (const [id, [role, name]] of Object.entries(expected)) {
        const node = await byId(id);
        assert.deepEqual([node.role, node.name], [role, name], id);
    }
    const chart = await byId('surface');
    assert.deepEqual([chart.role, chart.name, chart.description], ['image', 'Wykres',
        'Wykres funkcji f(x) = x*x-4 na przedziale od 0 do 3. Oś x od 0.0 do 3.0, oś y od -4.0 do 5.0. '
        + 'Narysowane kroki metody: 6. Ostatnie przybliżenie: x = 1.99995, f(x) = -0.000205.']);
    // What a press adds is announced, politely, and so is what the chart shows.
    for (const id of ['announcement', 'chart-text']) {
        const region = await byId(id);
        assert.equal(region.live, 'polite', id);
    }
    assert.equal((await page.textContent('#announcement')).split('. ').length, 7);
    await page.close();
});

/// The colours of the screen at points given in CSS pixels of the viewport.
async function coloursAt(page, points) {
    const shot = await page.screenshot();
    return page.evaluate(async ({ png, points }) => {
        const bitmap = await createImageBitmap(new Blob([Uint8Array.from(atob(png), (c) => c.charCodeAt(0))], { type: 'image/png' }));
        const context = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
        context.drawImage(bitmap, 0, 0);
        return points.map(([x, y]) => [...context.getImageData(Math.round(x * devicePixelRatio), Math.round(y * devicePixelRatio), 1, 1).data.slice(0, 3)].join());
    }, { png: shot.toString('base64'), points });
}

test('in forced colours, light and dark, the selected line, the list\'s focus mark and the chart\'s frame show', async () => {
    for (const colorScheme of ['light', 'dark']) {
        const forced = await launch({ viewport: { width: 1366, height: 768 }, serviceWorkers: 'block', forcedColors: 'active', colorScheme });
        try {
            const page = await openPage(forced.context, site.url);
            await play(page, readScript(DEMO));
            await page.focus('#IDC_RESULTS');
            await page.keyboard.press('ArrowUp');
            const at = await page.evaluate(() => {
                const box = (e) => e.getBoundingClientRect();
                const list = box(document.getElementById('IDC_RESULTS'));
                const lines = [...document.querySelectorAll('#IDC_RESULTS [role="option"]')];
                const selected = box(lines.find((l) => l.getAttribute('aria-selected') === 'true'));
                const other = box(lines.find((l) => l.getAttribute('aria-selected') === 'false'));
                const group = box(document.querySelector('.pane.chart > .group'));
                const middle = (r) => (r.top + r.bottom) / 2;
                return [
                    // A selected line's blank right end, an unselected one's beside it.
                    [selected.right - 3, middle(selected)], [other.right - 3, middle(other)],
                    // Just outside the list, where its mark goes, and further out.
                    [list.left - 2.5, middle(list)], [list.left - 6, middle(list)],
                    // The chart group's frame, on its right side, and the face inside it.
                    [group.right - 0.75, middle(group)], [group.right - 6, middle(group)],
                ];
            });
            const [selected, other, mark, face, frame, inside] = await coloursAt(page, at);
            assert.notEqual(selected, other, `${colorScheme}: the selected line`);
            assert.notEqual(mark, face, `${colorScheme}: the list's focus mark`);
            assert.notEqual(frame, inside, `${colorScheme}: the chart's frame`);
        } finally {
            await forced.close();
        }
    }
});

// The page on the screens students have: laptops at Windows' 125 %, 150 % and 175 %, phones held
// upright and turned sideways, half of a laptop's screen, and a laptop's browser zoomed to 200 %
// and 400 %. After the demo session every window pixel of the Wykres group shows on device pixels
// of its own colour, nothing blended, the whole group stands inside the window, its chart as large
// as the screen's ratio makes it or, on a narrower screen, as wide as the page has room for; the
// controls are large enough to hit and to read, the drop-down shows every function's whole name,
// the page scrolls in one direction only, and axe-core finds nothing against WCAG 2.2 A and AA.
//
// Environment: KORZENIK_SITE (the built site), KORZENIK_NATIVE_SCRIPT (the native korzenik-script).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { launch, openPage, serveSite } from './browser.mjs';
import { CHART_GROUP, axeViolations, play, readScript, screenMismatches } from './session.mjs';

const SITE = process.env.KORZENIK_SITE;
const NATIVE = process.env.KORZENIK_NATIVE_SCRIPT;
assert.ok(SITE && NATIVE, 'set KORZENIK_SITE and KORZENIK_NATIVE_SCRIPT');
const DEMO = new URL('../../script/demo.ksc', import.meta.url).pathname;

const work = mkdtempSync(join(tmpdir(), 'korzenik-screens-test-'));
let site;
let picture;

before(async () => {
    site = await serveSite(SITE);
    mkdirSync(join(work, 'out'));
    execFileSync(NATIVE, [DEMO], { cwd: work });
    picture = readFileSync(join(work, 'out', 'demo.png'));
});
after(() => {
    site?.server.close();
    rmSync(work, { recursive: true, force: true });
});

/// What a finger or a reader meets: the size of every control a user hits (the check box by its
/// label, the list by its lines), the font size of the fields, whether the list's lines stand
/// whole in it, and how far the page reaches beyond the screen's width.
function measures(page) {
    return page.evaluate(() => {
        const box = (e) => e.getBoundingClientRect();
        const targets = [...document.querySelectorAll('#client select, #client input[type="text"], #client button, #client label.check, #IDC_RESULTS [role="option"]')]
            .map((e) => ({ what: e.id || e.className || e.textContent, width: box(e).width, height: box(e).height }));
        const list = document.getElementById('IDC_RESULTS');
        const line = list.querySelector('[role="option"]');
        return {
            small: targets.filter((t) => t.width < 24 || t.height < 24),
            lineHeight: box(line).height,
            fieldFonts: [...document.querySelectorAll('#client select, #client input[type="text"]')]
                .map((e) => parseFloat(getComputedStyle(e).fontSize)),
            keyboards: [...document.querySelectorAll('#client input[type="text"]')].map((e) => e.inputMode),
            linesWhole: list.clientHeight % box(line).height === 0
                && (box(list).top + list.clientTop - box(line).top) % box(line).height === 0,
            overflow: document.documentElement.scrollWidth - document.documentElement.clientWidth,
            // A field's label stands on its row, before it, or right above it.
            astray: [...document.querySelectorAll('#client label[for]')].filter((label) => {
                const l = box(label);
                const f = box(document.getElementById(label.htmlFor));
                const sameRow = l.top < f.bottom && f.top < l.bottom && l.right <= f.left + 1;
                const above = l.bottom <= f.top + 1 && f.top - l.bottom < f.height && l.left < f.right && f.left < l.right;
                return !sameRow && !above;
            }).map((label) => label.htmlFor),
        };
    });
}

/// Where the Wykres group stands: the parts of it (the group, the chart's backdrop, the four axis
/// labels' texts) that reach out of the window or out of an element that cuts what overflows it;
/// the width in CSS pixels of the chart's plate, and the width a narrow page has for it.
function chartPlace(page) {
    return page.evaluate(() => {
        const pane = document.querySelector('.pane.chart');
        const win = document.getElementById('window');
        const parts = [pane, pane.querySelector('.frame'),
            ...['IDC_XMIN', 'IDC_XMAX', 'IDC_YMIN', 'IDC_YMAX'].map((id) => document.getElementById(id))];
        const cut = [];
        for (const part of parts) {
            const r = part.getBoundingClientRect();
            for (let a = part.parentElement; a; a = a.parentElement) {
                const style = getComputedStyle(a);
                if (a !== win && style.overflowX === 'visible' && style.overflowY === 'visible') continue;
                const c = a.getBoundingClientRect();
                if (r.left < c.left - 0.5 || r.top < c.top - 0.5 || r.right > c.right + 0.5 || r.bottom > c.bottom + 0.5) {
                    cut.push(`${part.id || part.className} out of ${a.id || a.className}`);
                }
                if (a === win) break;
            }
        }
        const view = document.querySelector('.view');
        const margins = parseFloat(getComputedStyle(view).marginLeft) + parseFloat(getComputedStyle(view).marginRight);
        return {
            cut,
            layout: document.documentElement.dataset.layout,
            width: document.querySelector('.plate').getBoundingClientRect().width,
            room: document.getElementById('client').getBoundingClientRect().width - margins,
            ratio: devicePixelRatio,
        };
    });
}

/// What the drop-down does not show whole, each function chosen in turn: the chosen name's text
/// reaching out of its box or under its arrow, or an entry of the open list (as wide as its widest
/// entry, in the entries' font) wider than the screen.
async function dropDownCuts(page) {
    const cut = new Set();
    const count = await page.locator('#IDC_FUNCTION option').count();
    for (let i = 0; i < count; ++i) {
        await page.selectOption('#IDC_FUNCTION', { index: i });
        for (const what of await page.evaluate(() => {
            const select = document.getElementById('IDC_FUNCTION');
            const box = select.parentElement.getBoundingClientRect();
            const choice = select.nextElementSibling;
            const range = document.createRange();
            range.selectNodeContents(choice);
            const text = range.getBoundingClientRect();
            const found = [];
            if (choice.textContent !== select.selectedOptions[0].text) found.push(`"${choice.textContent}" shown`);
            if (text.left < box.left || text.top < box.top || text.bottom > box.bottom || text.right > box.right - 20) {
                found.push(`"${choice.textContent}" cut`);
            }
            const context = new OffscreenCanvas(1, 1).getContext('2d');
            const style = getComputedStyle(select.options[0]);
            context.font = `${style.fontSize} ${style.fontFamily}`;
            for (const entry of select.options) {
                if (context.measureText(entry.text).width + 16 > document.documentElement.clientWidth) {
                    found.push(`"${entry.text}" wider than the screen`);
                }
            }
            return found;
        })) cut.add(what);
    }
    return [...cut];
}

/// The chart's group at its natural size, in CSS pixels.
const NATURAL = CHART_GROUP.width;
const touch = { isMobile: true, hasTouch: true };
const screens = [
    { name: 'a 1920 × 1080 laptop at 150 %', viewport: { width: 1280, height: 720 }, deviceScaleFactor: 1.5 },
    { name: 'a 2400 × 1350 laptop at 150 %', viewport: { width: 1600, height: 900 }, deviceScaleFactor: 1.5 },
    { name: 'a 1366 × 768 laptop at 125 %', viewport: { width: 1366, height: 768 }, deviceScaleFactor: 1.25 },
    { name: 'a 1920 × 1080 laptop at 175 %', viewport: { width: 1097, height: 617 }, deviceScaleFactor: 1.75 },
    { name: 'a phone turned sideways', viewport: { width: 915, height: 412 }, deviceScaleFactor: 2.625, ...touch },
    { name: 'a phone held upright', viewport: { width: 412, height: 915 }, deviceScaleFactor: 2.625, ...touch },
    { name: 'a small phone held upright', viewport: { width: 360, height: 800 }, deviceScaleFactor: 3, ...touch },
    { name: 'an older phone held upright', viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, ...touch },
    { name: 'half of a 1366 × 768 screen', viewport: { width: 683, height: 768 }, deviceScaleFactor: 1 },
    { name: 'a 1366 × 768 screen zoomed to 200 %', viewport: { width: 683, height: 384 }, deviceScaleFactor: 2 },
    { name: 'a 1366 × 768 screen zoomed to 400 %', viewport: { width: 341, height: 192 }, deviceScaleFactor: 4 },
];

for (const { name, ...options } of screens) {
    test(`${name}: every chart pixel shown, the chart whole and large, every control usable, nothing for axe`, async () => {
        const browser = await launch({ ...options, serviceWorkers: 'block' });
        try {
            const page = await openPage(browser.context, site.url);
            await play(page, readScript(DEMO));
            const screen = await screenMismatches(page, picture, { region: CHART_GROUP, anchor: '.plate', origin: CHART_GROUP });
            assert.equal(screen.differing, 0, JSON.stringify(screen.first));
            // All of the group is compared but the frame, its caption and the labels' texts.
            assert.ok(screen.compared > CHART_GROUP.width * CHART_GROUP.height * 0.92, `${screen.compared}`);
            assert.ok(screen.scale >= 1, `${screen.scale}`);
            const place = await chartPlace(page);
            assert.deepEqual(place.cut, []);
            // As large as at the screen's ratio, or as the room of a narrower page; on that page
            // no wider than its room either.
            const device = 1 / place.ratio;
            assert.ok(place.width >= Math.min(NATURAL, place.room) - device, JSON.stringify(place));
            if (place.layout === 'narrow') assert.ok(place.width <= place.room + device / 2, JSON.stringify(place));
            const m = await measures(page);
            assert.ok(m.overflow <= 0, `${m.overflow}`);
            assert.deepEqual(m.astray, []);
            if (place.layout === 'narrow') {
                assert.deepEqual(m.small, []);
                assert.ok(m.fieldFonts.every((size) => size >= 16), `${m.fieldFonts}`);
                assert.ok(m.linesWhole);
            }
            // A finger hits a line of the list on a touch screen of either layout.
            if (options.hasTouch) assert.ok(m.lineHeight >= 24, `${m.lineHeight}`);
            // A full keyboard: a Polish phone's number pad has a comma, no point, and no minus.
            assert.ok(m.keyboards.every((mode) => !['decimal', 'numeric', 'tel'].includes(mode)));
            assert.deepEqual(await axeViolations(page), []);
            assert.deepEqual(await dropDownCuts(page), []);
            // The About box keeps its own layout: OK at the top right, where the layout table
            // puts it (100, 7 dialog units).
            await page.click('.view', { button: 'right', position: { x: 100, y: 100 } });
            await page.click('#windowmenu-about');
            assert.deepEqual(await page.evaluate(() => {
                const ok = document.getElementById('aboutbox-ok').getBoundingClientRect();
                const box = document.querySelector('#aboutbox .client').getBoundingClientRect();
                return [ok.left - box.left, ok.top - box.top];
            }), [200, 14]);
        } finally {
            await browser.close();
        }
    });
}

test('at 320 CSS pixels and one device pixel a pixel, only the chart\'s own area scrolls, sideways', async () => {
    const browser = await launch({ viewport: { width: 320, height: 568 }, serviceWorkers: 'block' });
    try {
        const page = await openPage(browser.context, site.url);
        await play(page, readScript(DEMO));
        assert.ok((await measures(page)).overflow <= 0);
        // The chart keeps one device pixel a window pixel; its area scrolls to its right end.
        const scrolled = await page.evaluate(() => {
            const view = document.querySelector('.view');
            view.scrollLeft = view.scrollWidth;
            return [view.scrollWidth > view.clientWidth, view.scrollHeight - view.clientHeight, view.scrollLeft];
        });
        assert.deepEqual(scrolled.slice(0, 2), [true, 0]);
        const screen = await screenMismatches(page, picture, { region: CHART_GROUP, anchor: '.plate', origin: CHART_GROUP });
        assert.equal(screen.scale, 1);
        assert.equal(screen.differing, 0, JSON.stringify(screen.first));
        assert.ok(screen.compared > 300 * 480, `${screen.compared}`);
    } finally {
        await browser.close();
    }
});

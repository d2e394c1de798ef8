// What the browser tests share beyond the browser itself: playing a scripted session's lines in
// the page as a user would (picking, typing, clicking, closing each message box), reading back
// what the page shows in the transcript's terms, and comparing the screen's pixels with a window
// picture of the scripted host.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';

/// The native build, whose session_steps reads the scripts and whose layout.json holds the layout
/// table's measures (tests/script/session_steps.cpp): the page's tests read neither themselves.
const NATIVE_BUILD = process.env.KORZENIK_NATIVE_BUILD ?? new URL('../../build/', import.meta.url).pathname;
const STEPS = join(NATIVE_BUILD, 'tests', 'script', 'session_steps');

/// The main dialog's layout: the window's and the client area's measures, the controls.
export const LAYOUT = JSON.parse(readFileSync(join(NATIVE_BUILD, 'layout.json'), 'utf8'));
/// The client area's place in the window picture.
export const CLIENT = LAYOUT.client;
const inside = (outer, inner) => outer.x <= inner.x && outer.y <= inner.y
    && inner.x + inner.width <= outer.x + outer.width && inner.y + inner.height <= outer.y + outer.height;
/// The group holding the chart's backdrop, in client pixels: the part of the window that the
/// chart's pane shows on a narrow page.
export const CHART_GROUP = (() => {
    const backdrop = LAYOUT.controls.find((c) => c.kind === 'backdrop');
    const { x, y, width, height } = LAYOUT.controls.find((c) => c.kind === 'group' && inside(c, backdrop));
    return { x, y, width, height };
})();

/// A scripted session's steps, one for each line that does something: { verb, action, argument,
/// control, on }, as the scripted host reads them.
export function readScript(path) {
    return execFileSync(STEPS, [path], { encoding: 'utf8' }).split('\n').filter(Boolean).map((l) => JSON.parse(l));
}

/// A transcript's events, one a line.
export const readTranscript = (path) => readFileSync(path, 'utf8').trim().split('\n').filter(Boolean)
    .map((line) => JSON.parse(line));

/// A key as a keyboard sends it: key down, the character it types, key up.
export async function key(page, { key, code, keyCode, text = '', alt = false, shift = false }) {
    const cdp = await page.context().newCDPSession(page);
    const modifiers = (alt ? 1 : 0) | (shift ? 8 : 0);
    const base = { key, code, windowsVirtualKeyCode: keyCode, modifiers };
    await cdp.send('Input.dispatchKeyEvent', { ...base, type: 'rawKeyDown' });
    if (text) await cdp.send('Input.dispatchKeyEvent', { ...base, type: 'char', text, unmodifiedText: text });
    await cdp.send('Input.dispatchKeyEvent', { ...base, type: 'keyUp' });
    await cdp.detach();
}
export const ENTER = { key: 'Enter', code: 'Enter', keyCode: 13, text: '\r' };
export const ESCAPE = { key: 'Escape', code: 'Escape', keyCode: 27 };

/// Replaces a field's text as a user does: click, select all, type.
export async function typeInto(page, selector, text) {
    await page.click(selector);
    await page.keyboard.press('Control+A');
    if (text) await page.keyboard.type(text);
    else await page.keyboard.press('Backspace');
}

/// Closes every message box the press left open, with OK, and returns them in the order shown.
/// Only one box is open at a time, and the page is busy until the last one was closed.
export async function closeMessages(page) {
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

/// What the page shows, in the transcript's terms (a state event without its name).
export function shown(page) {
    return page.evaluate(() => {
        const $ = (id) => document.getElementById(id);
        const lines = [...$('IDC_RESULTS').querySelectorAll('[role="option"]')];
        return {
            function: $('IDC_FUNCTION').selectedOptions[0]?.text ?? '',
            // The typed function's field shows in a state only when it holds text.
            ...($('IDC_EXPRESSION').value ? { expression: $('IDC_EXPRESSION').value } : {}),
            start: $('IDC_START').value,
            end: $('IDC_END').value,
            precision: $('IDC_PRECISION').value,
            auto: $('IDC_AUTO').checked ? 1 : 0,
            xmin: $('IDC_XMIN').textContent,
            xmax: $('IDC_XMAX').textContent,
            ymin: $('IDC_YMIN').textContent,
            ymax: $('IDC_YMAX').textContent,
            lines: lines.map((l) => l.textContent),
            selected: lines.findIndex((l) => l.getAttribute('aria-selected') === 'true'),
        };
    });
}

/// The field a press left focused, in the transcript's terms: { event: 'focus', control } with its
/// whole text selected, as a refused number leaves it, or with `select: [first, count]` where only
/// a place is selected, as a typed function that does not read leaves it (an empty field counts as
/// wholly selected); null for none.
function refusedField(page) {
    return page.evaluate((words) => {
        const field = document.activeElement;
        if (!field || !field.matches('input[type="text"], input:not([type])') || !(field.id in words)) return null;
        const { selectionStart: from, selectionEnd: to } = field;
        const focus = { event: 'focus', control: words[field.id] };
        return from === 0 && to === field.value.length ? focus : { ...focus, select: [from, to - from] };
    }, Object.fromEntries(LAYOUT.controls.filter((c) => c.kind === 'edit').map((c) => [c.name, c.word])));
}

/// Plays a session's actions in the page as a user would. Every message box is closed with OK and
/// collected, and so is the field a press left focused for correction (see refusedField), in the
/// transcript's terms; at each `state` line, onState gets what the page shows, and at each
/// `png PATH` line, onPicture gets PATH.
export async function play(page, actions, { onState = () => {}, onPicture = () => {} } = {}) {
    const messages = [];
    for (const { action, control, argument, on } of actions) {
        if (action === 'pick') {
            await page.selectOption(`#${control}`, { label: argument });
        } else if (action === 'type') {
            await typeInto(page, `#${control}`, argument);
        } else if (action === 'tick') {
            if (await page.isChecked(`#${control}`) !== on) await page.click(`label:has(> #${control})`);
        } else if (action === 'press') {
            await page.click(`#${control}`);
            messages.push(...await closeMessages(page));
            const focus = await refusedField(page);
            if (focus) messages.push(focus);
        } else if (action === 'about') {
            await page.click('#surface', { button: 'right', position: { x: 500, y: 250 } });
            await page.click('#windowmenu-about');
            await page.click('#aboutbox-ok');
            await page.waitForSelector('#aboutbox', { state: 'hidden' });
        } else if (action === 'state') {
            await onState(await shown(page));
        } else if (action === 'png') {
            await onPicture(argument);
        } else if (action !== 'svg') {
            throw new Error(`no way to take the step "${action}" in the page`);
        }
    }
    return messages;
}

/// Pixels of the canvas that differ from the client area of a window picture (PNG bytes).
export function canvasMismatches(page, windowPng) {
    return page.evaluate(async ({ png, client }) => {
        const bitmap = await createImageBitmap(new Blob([Uint8Array.from(atob(png), (c) => c.charCodeAt(0))],
            { type: 'image/png' }), { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
        const picture = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
        picture.drawImage(bitmap, 0, 0);
        const want = picture.getImageData(client.left, client.top, client.width, client.height).data;
        const surface = document.getElementById('surface');
        const have = surface.getContext('2d').getImageData(0, 0, surface.width, surface.height).data;
        let differing = 0;
        for (let i = 0; i < want.length; i += 4) {
            if (want[i] !== have[i] || want[i + 1] !== have[i + 1] || want[i + 2] !== have[i + 2]) ++differing;
        }
        return surface.width === client.width && surface.height === client.height ? differing : -1;
    }, { png: windowPng.toString('base64'), client: CLIENT });
}

/// The screen against a window picture (PNG bytes), at whatever scale the page shows the window:
/// window pixel (x, y) of region (client coordinates) covers the device pixels that its square,
/// scale device pixels wide and high from the anchor element's corner (which stands for the
/// window pixel origin, in client coordinates), overlaps at all. Each such window pixel must show
/// on at least one of them in exactly its colour, so that no line is dropped, and each device
/// pixel of the region must have the colour of a window pixel next to the one under its centre,
/// so that nothing is blended, wherever it is on the screen and no element covers it. The
/// picture may stand up to two device pixels away from the anchor. Returns { scale, shift,
/// compared, differing, first } (shift: where the picture was found, in device pixels from the
/// anchor; first: the first difference, as window, screen and expected colours).
export async function screenMismatches(page, windowPng, { region, anchor, origin }) {
    const screen = await page.screenshot({ fullPage: true, animations: 'disabled', caret: 'hide' });
    return page.evaluate(async ({ png, shot, region, anchor, origin, client }) => {
        const decode = async (base64) => {
            const bitmap = await createImageBitmap(new Blob([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))],
                { type: 'image/png' }), { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
            const context = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
            context.drawImage(bitmap, 0, 0);
            return context.getImageData(0, 0, bitmap.width, bitmap.height);
        };
        const [picture, screen] = await Promise.all([decode(png), decode(shot)]);
        const ratio = devicePixelRatio;
        // Device pixels a window pixel: the CSS pixels the page gives a window pixel, on this screen.
        const scale = parseFloat(getComputedStyle(document.documentElement).getPropertyValue('--s')) * ratio;
        // Document coordinates in device pixels, as the full-page screenshot has them.
        const device = (r) => ({
            left: Math.round((r.left + scrollX) * ratio), top: Math.round((r.top + scrollY) * ratio),
            right: Math.round((r.right + scrollX) * ratio), bottom: Math.round((r.bottom + scrollY) * ratio),
        });
        // What covers the canvas: every element drawn over it, a group box by its frame and caption,
        // a label by its text; where the chart's area scrolls, what lies outside its view.
        const covered = new Uint8Array(screen.width * screen.height);
        const cover = (r, around) => {
            const d = device(r);
            const margin = Math.ceil(around);
            for (let y = Math.max(0, d.top - margin); y < Math.min(screen.height, d.bottom + margin); ++y) {
                covered.fill(1, y * screen.width + Math.max(0, d.left - margin), y * screen.width + Math.min(screen.width, d.right + margin));
            }
        };
        const see = (e) => getComputedStyle(e).visibility !== 'hidden' && e.getClientRects().length > 0;
        const containers = new Set(['client', 'surface']);
        for (const e of document.getElementById('client').querySelectorAll('*')) {
            if (containers.has(e.id) || e.matches('.pane, .view, .plate, .crop, .frame, .hidden, .hidden *, svg *') || !see(e)) continue;
            if (e.tagName === 'FIELDSET') {
                const r = e.getBoundingClientRect();
                const legend = e.querySelector('legend').getBoundingClientRect();
                cover({ left: r.left, top: r.top, right: r.right, bottom: legend.bottom }, ratio);
                cover({ left: r.left, top: r.top, right: r.left + 2, bottom: r.bottom }, ratio);
                cover({ left: r.right - 2, top: r.top, right: r.right, bottom: r.bottom }, ratio);
                cover({ left: r.left, top: r.bottom - 2, right: r.right, bottom: r.bottom }, ratio);
            } else if (e.closest('.transparent')) {
                if (e.tagName === 'SPAN' && e.textContent) cover(e.getBoundingClientRect(), 2 * ratio);
            } else if (!e.matches('.transparent, .pane > .group *, .check *')) {
                cover(e.getBoundingClientRect(), ratio);
            }
        }
        const seen = device(document.querySelector('.view').getBoundingClientRect());
        const corner = device(document.querySelector(anchor).getBoundingClientRect());
        const shown = (X, Y) => X >= 0 && Y >= 0 && X < screen.width && Y < screen.height && !covered[Y * screen.width + X]
            && (anchor === '#client' || (X >= seen.left && Y >= seen.top && X < seen.right && Y < seen.bottom));
        const colour = (data, i) => (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
        const want = (x, y) => colour(picture.data, ((client.top + y) * picture.width + client.left + x) * 4);
        const got = (X, Y) => colour(screen.data, (Y * screen.width + X) * 4);
        // The device pixels that a window pixel's square overlaps, along one axis.
        const span = (start, p) => [Math.floor(start + p * scale), Math.ceil(start + (p + 1) * scale)];
        // A browser may put the canvas's pixels a device pixel or so away from where its layout
        // says, copying them all the same: the picture is looked for that near the anchor, every
        // stepth row tried first.
        function compare(shiftX, shiftY, step, until = Infinity) {
            const result = { compared: 0, differing: 0, first: null };
            const differs = (what) => {
                ++result.differing;
                result.first ??= what;
            };
            const left0 = corner.left + shiftX;
            const top0 = corner.top + shiftY;
            for (let y = region.y; y < region.y + region.height && result.differing < until; y += step) {
                const [top, bottom] = span(top0, y - origin.y);
                for (let x = region.x; x < region.x + region.width; ++x) {
                    const [left, right] = span(left0, x - origin.x);
                    let free = true;
                    let found = false;
                    for (let Y = top; Y < bottom && free; ++Y) {
                        for (let X = left; X < right && free; ++X) {
                            free = shown(X, Y);
                            found ||= got(X, Y) === want(x, y);
                        }
                    }
                    if (!free) continue;
                    ++result.compared;
                    if (!found) differs({ window: [x, y], screen: [left, top], expected: want(x, y).toString(16), got: got(left, top).toString(16) });
                }
            }
            if (step > 1) return result;
            // Every device pixel of the region in the colour of a window pixel around the one
            // under its centre.
            const [left, right] = [left0 + (region.x - origin.x) * scale, left0 + (region.x + region.width - origin.x) * scale];
            const [top, bottom] = [top0 + (region.y - origin.y) * scale, top0 + (region.y + region.height - origin.y) * scale];
            for (let Y = Math.ceil(top) + 1; Y < Math.floor(bottom) - 1; ++Y) {
                const y = Math.floor((Y + 0.5 - top0) / scale) + origin.y;
                for (let X = Math.ceil(left) + 1; X < Math.floor(right) - 1; ++X) {
                    if (!shown(X, Y)) continue;
                    const x = Math.floor((X + 0.5 - left0) / scale) + origin.x;
                    const c = got(X, Y);
                    let near = false;
                    for (let dy = -1; dy <= 1 && !near; ++dy) {
                        for (let dx = -1; dx <= 1 && !near; ++dx) near = c === want(x + dx, y + dy);
                    }
                    if (!near) differs({ device: [X, Y], window: [x, y], expected: want(x, y).toString(16), got: c.toString(16) });
                }
            }
            return result;
        }
        const near = [0, -1, 1, -2, 2];
        let best = null;
        for (const shiftY of near) {
            for (const shiftX of near) {
                const tried = compare(shiftX, shiftY, 7, best?.differing ?? Infinity);
                if (!best || tried.differing < best.differing) best = { shiftX, shiftY, differing: tried.differing };
            }
        }
        const { compared, differing, first } = compare(best.shiftX, best.shiftY, 1);
        return { scale, shift: [best.shiftX, best.shiftY], compared, differing, first };
    }, { png: windowPng.toString('base64'), shot: screen.toString('base64'), region, anchor, origin, client: CLIENT });
}

const AXE = readFileSync(new URL('../node_modules/axe-core/axe.min.js', import.meta.url), 'utf8');
/// What axe-core finds against the rules of WCAG 2.0, 2.1 and 2.2 at levels A and AA, one line a
/// rule and element.
export async function axeViolations(page) {
    if (!await page.evaluate(() => 'axe' in window)) await page.evaluate(AXE);
    const found = await page.evaluate(() => window.axe.run(document, {
        runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22a', 'wcag22aa'] },
    }).then((r) => r.violations.flatMap((v) => v.nodes.map((n) => `${v.id}: ${n.target.join(' ')} ${n.failureSummary}`))));
    return found;
}

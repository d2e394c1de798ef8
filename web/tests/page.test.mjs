// The page's keys, menus, boxes and what a screen reader is told, and the links to an exercise,
// driven as a user drives them in a real browser, against the native scripted host where the
// dialog answers.
//
// Environment: KORZENIK_SITE (the built site), KORZENIK_NATIVE_SCRIPT (the native korzenik-script).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { launch, openPage, serveSite } from './browser.mjs';
import { ENTER, ESCAPE, closeMessages, key, play, readScript, shown, typeInto } from './session.mjs';

const SITE = process.env.KORZENIK_SITE;
const NATIVE = process.env.KORZENIK_NATIVE_SCRIPT;
assert.ok(SITE && NATIVE, 'set KORZENIK_SITE and KORZENIK_NATIVE_SCRIPT');
const DEMO = new URL('../../script/demo.ksc', import.meta.url).pathname;

const work = mkdtempSync(join(tmpdir(), 'korzenik-page-test-'));
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

/// The native host's transcript of a script: its messages and its last state.
function native(script) {
    const path = join(work, 'session.ksc');
    writeFileSync(path, script);
    const events = execFileSync(NATIVE, [path], { cwd: work, encoding: 'utf8' })
        .trim().split('\n').map((line) => JSON.parse(line));
    const { event, ...state } = events.findLast((e) => e.event === 'state') ?? {};
    return {
        messages: events.filter((e) => e.event === 'message')
            .map(({ icon, caption, text }) => ({ icon, caption, text })),
        state,
    };
}

/// A new tab with the page, noting every error it reports (a script's, or a resource refused by
/// its security policy) and every address it asks for outside its own folder.
function freshPage() {
    return openPage(browser.context, site.url, (p) => {
        p.problems = [];
        p.on('pageerror', (e) => p.problems.push(e.message));
        p.on('console', (m) => m.type() === 'error' && p.problems.push(m.text()));
        p.on('request', (r) => !r.url().startsWith(site.url) && p.problems.push(r.url()));
    });
}

const focused = (page) => page.evaluate(() => document.activeElement.id);

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
    assert.deepEqual(await shown(page), expected.state);
    assert.deepEqual(page.problems, []);
    await page.close();
});

test('Enter and Escape do nothing; Tab walks the stops in the layout order, Shift+Tab exactly back', async () => {
    const page = await freshPage();
    const stops = ['IDC_FUNCTION', 'IDC_START', 'IDC_END', 'IDC_PRECISION', 'IDC_CONFIRM', 'IDC_COMPUTE',
        'IDC_AUTO', 'IDC_RESULTS'];
    const forward = [];
    for (let i = 0; i <= stops.length; ++i) {
        forward.push(await focused(page));
        // Each shows a focus mark: the check box around its text, as a dialog draws it, the
        // drop-down on the box that shows its choice.
        assert.ok(await page.evaluate(() => {
            const control = document.activeElement;
            const shown = { checkbox: control.nextElementSibling, 'select-one': control.parentElement }[control.type];
            const mark = getComputedStyle(shown ?? control);
            return mark.outlineStyle !== 'none' && parseFloat(mark.outlineWidth) > 0;
        }), await focused(page));
        await page.keyboard.press('Tab');
    }
    assert.deepEqual(forward, [...stops, stops[0]]);
    const backward = [];
    for (let i = 0; i <= stops.length; ++i) {
        backward.push(await focused(page));
        await page.keyboard.press('Shift+Tab');
    }
    assert.deepEqual(backward, [stops[1], stops[0], ...stops.slice(1).reverse()]);

    const before = await shown(page);
    for (const control of ['#IDC_CONFIRM', '#IDC_COMPUTE', '#IDC_PRECISION', '#IDC_FUNCTION']) {
        await page.focus(control);
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

test('Alt+Z and Alt+L press their buttons by the key, whatever character it types', async () => {
    // Before any Confirm, Zatwierdź says no function was chosen and Licz that the range is bad.
    const confirm = native('confirm\n').messages;
    const compute = native('compute\n').messages;
    assert.notDeepEqual(confirm, compute);
    const page = await freshPage();
    const cases = [
        [{ key: 'z', code: 'KeyZ', keyCode: 90, alt: true }, confirm],
        [{ key: 'l', code: 'KeyL', keyCode: 76, alt: true }, compute],
        // A Mac's Option key types a character of its own.
        [{ key: 'Ω', code: 'KeyZ', keyCode: 90, alt: true }, confirm],
        [{ key: '¬', code: 'KeyL', keyCode: 76, alt: true }, compute],
        // A key that types a mnemonic's letter elsewhere on the keyboard is not the mnemonic's.
        [{ key: 'z', code: 'KeyY', keyCode: 89, alt: true }, []],
    ];
    for (const [pressed, messages] of cases) {
        await page.focus('#IDC_START');
        await key(page, pressed);
        await page.waitForTimeout(50);
        assert.deepEqual(await closeMessages(page), messages, JSON.stringify(pressed));
    }
    await page.close();
});

test('the window menu and the About box, however opened, give the focus back where it was', async () => {
    const page = await freshPage();
    await page.selectOption('#IDC_FUNCTION', { label: 'f(x) = sin(x)' });
    const before = await shown(page);
    // A right click on the face of the window, away from every control, then OK.
    await page.focus('#IDC_END');
    await page.click('#surface', { button: 'right', position: { x: 500, y: 250 } });
    await page.click('#windowmenu-about');
    await page.waitForSelector('#aboutbox[open]');
    assert.equal(await focused(page), 'aboutbox-ok');
    await page.click('#aboutbox-ok');
    await page.waitForSelector('#aboutbox', { state: 'hidden' });
    assert.equal(await focused(page), 'IDC_END');
    // Shift+F10 from a button, the entry's mnemonic, then Escape.
    await page.focus('#IDC_COMPUTE');
    await key(page, { key: 'F10', code: 'F10', keyCode: 121, shift: true });
    await page.waitForSelector('#windowmenu:popover-open');
    await page.keyboard.press('a');
    await page.waitForSelector('#aboutbox[open]');
    await key(page, ESCAPE);
    await page.waitForSelector('#aboutbox', { state: 'hidden' });
    assert.equal(await focused(page), 'IDC_COMPUTE');
    // The caption's icon, then Enter on the last entry.
    await page.focus('#IDC_PRECISION');
    await page.click('#window-icon');
    await page.waitForSelector('#windowmenu:popover-open');
    await page.keyboard.press('ArrowUp');
    await key(page, ENTER);
    await page.waitForSelector('#aboutbox[open]');
    await key(page, ENTER);
    await page.waitForSelector('#aboutbox', { state: 'hidden' });
    assert.equal(await focused(page), 'IDC_PRECISION');
    // A menu closed without a choice.
    await page.focus('#IDC_START');
    await page.click('#surface', { button: 'right', position: { x: 600, y: 100 } });
    await page.waitForSelector('#windowmenu:popover-open');
    await key(page, ESCAPE);
    await page.waitForSelector('#windowmenu:not(:popover-open)', { state: 'attached' });
    assert.equal(await focused(page), 'IDC_START');
    // A click on the window's face leaves the focus where it was, as in a dialog.
    await page.click('#surface', { position: { x: 600, y: 100 } });
    assert.equal(await focused(page), 'IDC_START');
    // An edit box keeps the browser's own menu.
    await page.click('#IDC_START', { button: 'right' });
    assert.equal(await page.locator('#windowmenu:popover-open').count(), 0);
    assert.deepEqual(await shown(page), before);
    await page.close();
});

test('a screen reader reads the list line by line, and hears each new line and the chart', async () => {
    const page = await freshPage();
    const heard = () => page.evaluate(() => [document.getElementById('announcement').textContent,
        document.getElementById('chart-text').textContent]);
    assert.equal((await heard())[1], 'Wykres jest pusty.');
    await play(page, readScript(DEMO));
    const [lines, chart] = await heard();
    assert.equal(lines.split('. ').length, 7);
    assert.equal(chart, 'Wykres funkcji f(x) = x*x-4 na przedziale od 0 do 3. Oś x od 0.0 do 3.0, oś y od '
        + '-4.0 do 5.0. Narysowane kroki metody: 6. Ostatnie przybliżenie: x = 1.99995, f(x) = -0.000205.');
    // One step without Auto: its line, and the chart with one step more.
    await page.click('text=Auto');
    await page.click('#IDC_COMPUTE');
    await closeMessages(page);
    assert.deepEqual(await heard(), ['x = 1.99995, f(x) = -0.000205', chart]);
    // Another interval wipes the chart and the list.
    await typeInto(page, '#IDC_END', '2.5');
    await page.click('#IDC_CONFIRM');
    await closeMessages(page);
    assert.match((await heard())[1], /od 0 do 2\.5\. .* Nie narysowano kroków metody\.$/);
    await page.click('#IDC_COMPUTE');
    await closeMessages(page);
    assert.match((await heard())[1], /Narysowane kroki metody: 1\. Ostatnie przybliżenie: x = 1\.60000/);

    // The list is a tab stop whose lines the arrows, Home and End walk.
    await page.focus('#IDC_RESULTS');
    const reading = () => page.evaluate(() => {
        const list = document.getElementById('IDC_RESULTS');
        return document.getElementById(list.getAttribute('aria-activedescendant'))?.textContent;
    });
    await play(page, readScript(DEMO));
    await page.focus('#IDC_RESULTS');
    await page.keyboard.press('Home');
    assert.match(await reading(), /^x=1\.33333 /);
    await page.keyboard.press('ArrowDown');
    assert.match(await reading(), /^x=1\.84615 /);
    await page.keyboard.press('End');
    assert.match(await reading(), /^x=1\.99995 /);
    assert.equal((await shown(page)).selected, 6);
    await page.close();
});

test('a link with a bad parameter leaves that control as at start-up; another link opens afresh', async () => {
    const filled = { function: 'f(x) = x*x*x+5*x*x-2*x-4', start: '-1', end: '2', precision: '0.5', auto: 1 };
    const atStart = { function: '', start: '0', end: '0', precision: '0', auto: 0 };
    const controls = async (page) => {
        const { function: f, start, end, precision, auto } = await shown(page);
        return { function: f, start, end, precision, auto };
    };
    const cases = [
        ['f=7&a=-1&b=2&p=0.5&auto=1', 'function'],
        ['f=2&a=%zz&b=2&p=0.5&auto=1', 'start'],
        ['f=2&a=-1&b=2&b=3&p=0.5&auto=1', 'end'],
        ['f=2&a=-1&b=2&p=%C5%BA&auto=1', 'precision'],
        ['f=2&a=-1&b=2&p=0.5&auto=2', 'auto'],
    ];
    let page;
    for (const [fragment, bad] of cases) {
        await page?.close();
        page = await openPage(browser.context, `${site.url}#${fragment}`);
        assert.deepEqual(await controls(page), { ...filled, [bad]: atStart[bad] }, fragment);
    }
    // A link to another exercise opened in the same page: what it does not give is as at start-up.
    await Promise.all([page.waitForEvent('load'), page.evaluate(() => { location.hash = 'f=1&a=3'; })]);
    await page.waitForSelector('body[data-busy="0"]');
    assert.deepEqual(await controls(page), { ...atStart, function: 'f(x) = x*x-4', start: '3' });
    await page.close();
});

test('the menu copies the link of what the controls hold, which a new page opens alike', async () => {
    await browser.context.grantPermissions(['clipboard-read', 'clipboard-write'], { origin: new URL(site.url).origin });
    const page = await freshPage();
    await page.selectOption('#IDC_FUNCTION', { label: 'f(x) = 2*sin(x*x*x)-cos(x*x)+5*cos(x)' });
    await typeInto(page, '#IDC_START', '-1.5e+0');
    // What the dialog does not read, past the 31st character, comes along too.
    await typeInto(page, '#IDC_END', `2${' '.repeat(30)}źdźbło #&=%+`);
    await typeInto(page, '#IDC_PRECISION', '0.001');
    await page.click('text=Auto');
    const before = await shown(page);
    await page.focus('#IDC_END');
    await page.click('#surface', { button: 'right', position: { x: 500, y: 250 } });
    assert.deepEqual(await page.locator('#windowmenu [role="menuitem"]').allTextContents(),
        ['Kopiuj link do ćwiczenia', 'About Korzenik...']);
    await page.click('#windowmenu-link');
    await page.waitForFunction(() => document.getElementById('announcement').textContent === 'Skopiowano link do ćwiczenia.');
    assert.equal(await focused(page), 'IDC_END');
    const link = await page.evaluate(() => navigator.clipboard.readText());
    const opened = await openPage(browser.context, link);
    assert.deepEqual(await shown(opened), before);
    await opened.close();
    await page.bringToFront();

    // Where the browser will not copy: a box with the address selected, closed with Escape.
    await page.evaluate(() => { navigator.clipboard.writeText = () => Promise.reject(new Error('refused')); });
    await page.focus('#IDC_COMPUTE');
    await key(page, { key: 'F10', code: 'F10', keyCode: 121, shift: true });
    await page.waitForSelector('#windowmenu:popover-open');
    for (const entry of ['windowmenu-about', 'windowmenu-link']) {
        await page.keyboard.press('ArrowDown');
        assert.equal(await focused(page), entry);
    }
    await key(page, ENTER);
    await page.waitForSelector('#linkbox[open]');
    assert.deepEqual(await page.evaluate(() => {
        const field = document.activeElement;
        return [field.id, field.value.slice(field.selectionStart, field.selectionEnd)];
    }), ['linkbox-address', link]);
    await key(page, ESCAPE);
    await page.waitForSelector('#linkbox', { state: 'hidden' });
    assert.equal(await focused(page), 'IDC_COMPUTE');
    assert.deepEqual(page.problems, []);
    await page.close();
});

test('a typed function: its link fills its field, which takes input only with its item; a text that does not read selects its place', async () => {
    const page = await openPage(browser.context,
        `${site.url}#f=6&e=3*sin(x%5E2)%20%2B%202*cos(x)&a=-1&b=2&p=0.001`);
    const field = () => page.evaluate(() => {
        const f = document.getElementById('IDC_EXPRESSION');
        return { value: f.value, disabled: f.disabled };
    });
    assert.deepEqual(await field(), { value: '3*sin(x^2) + 2*cos(x)', disabled: false });
    await page.focus('#IDC_START');
    await page.keyboard.press('Alt+f');  // its label's mnemonic
    assert.equal(await focused(page), 'IDC_EXPRESSION');
    await typeInto(page, '#IDC_EXPRESSION', 'x + 2*sim(x)');
    await page.click('#IDC_CONFIRM');
    const expected = native('function Własna funkcja\nexpression x + 2*sim(x)\nstart -1\nend 2\n' +
        'precision 0.001\nconfirm\nstate\n');
    assert.deepEqual(await closeMessages(page), expected.messages);
    assert.equal(expected.messages[0].text, 'Nieznana nazwa „sim” w funkcji, znak 7');
    assert.deepEqual(await page.evaluate(() => {
        const f = document.activeElement;
        return [f.id, f.value.slice(f.selectionStart, f.selectionEnd)];
    }), ['IDC_EXPRESSION', 'sim']);
    assert.deepEqual(await shown(page), expected.state);
    // Another item disables the field, which Tab then passes over.
    await page.selectOption('#IDC_FUNCTION', { label: 'f(x) = sin(x)' });
    assert.deepEqual(await field(), { value: 'x + 2*sim(x)', disabled: true });
    await page.focus('#IDC_FUNCTION');
    await page.keyboard.press('Tab');
    assert.equal(await focused(page), 'IDC_START');
    await page.close();
});

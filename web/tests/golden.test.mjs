// Every golden session that draws a picture, played in the page as a user would (picked, typed,
// clicked, each message box closed with OK) in a window-sized browser: the message boxes, the
// list, the fields and the labels must be the transcript's, and at each picture the canvas must
// hold the picture's client area pixel for pixel, and the screen show it wherever no control
// covers it, placed at the window's client area. The demo session is played against the native
// scripted host's own transcript and picture. One session is opened from a link that carries
// its inputs, and played on from there.
//
// Environment: KORZENIK_SITE (the built site), KORZENIK_NATIVE_SCRIPT (the native korzenik-script).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { launch, openPage, serveSite } from './browser.mjs';
import { CLIENT, canvasMismatches, play, readScript, readTranscript, screenMismatches, shown } from './session.mjs';

const SITE = process.env.KORZENIK_SITE;
const NATIVE = process.env.KORZENIK_NATIVE_SCRIPT;
assert.ok(SITE && NATIVE, 'set KORZENIK_SITE and KORZENIK_NATIVE_SCRIPT');
const GOLDEN = new URL('../../tests/script/', import.meta.url).pathname;
const DEMO = new URL('../../script/demo.ksc', import.meta.url).pathname;

const work = mkdtempSync(join(tmpdir(), 'korzenik-golden-test-'));
let browser;
let site;

before(async () => {
    browser = await launch({ viewport: { width: 1366, height: 768 }, serviceWorkers: 'block' });
    site = await serveSite(SITE);
});
after(async () => {
    await browser?.close();
    site?.server.close();
    rmSync(work, { recursive: true, force: true });
});

/// The sessions that run to their end and write a picture: { name, script, transcript, picture }.
function goldenSessions() {
    return readdirSync(GOLDEN).filter((f) => f.endsWith('.ksc')).sort().map((f) => f.slice(0, -4))
        .filter((name) => !existsSync(join(GOLDEN, `${name}.stderr`)))
        .map((name) => ({ name, script: join(GOLDEN, `${name}.ksc`) }))
        .filter(({ script }) => readScript(script).some((a) => a.action === 'png'))
        .map((s) => ({
            ...s,
            transcript: readTranscript(join(GOLDEN, `${s.name}.jsonl`)),
            picture: (path) => readFileSync(join(GOLDEN, path)),
        }));
}

/// The demo session as the native scripted host plays it, in a folder of its own.
function demoSession() {
    const folder = join(work, 'demo');
    mkdirSync(join(folder, 'out'), { recursive: true });
    const transcript = execFileSync(NATIVE, [DEMO], { cwd: folder, encoding: 'utf8' });
    writeFileSync(join(folder, 'demo.jsonl'), transcript);
    return {
        name: 'demo', script: DEMO, transcript: readTranscript(join(folder, 'demo.jsonl')),
        picture: (path) => readFileSync(join(folder, path)),
    };
}

const sessions = goldenSessions();
test('the golden sessions that draw are found', () => {
    assert.ok(sessions.length >= 6, sessions.map((s) => s.name).join(' '));
});

/// Plays actions in the page against a session's transcript and pictures: at each state line what
/// the page shows, at each picture the canvas and the screen, and at the end the message boxes.
async function playAgainst(page, actions, { transcript, picture }) {
    const states = transcript.filter((e) => e.event === 'state').map(({ event, ...state }) => state);
    let pictures = 0;
    const messages = await play(page, actions, {
        onState: (state) => assert.deepEqual(state, states.shift()),
        onPicture: async (path) => {
            const png = picture(path);
            assert.equal(await canvasMismatches(page, png), 0, `${path}: canvas`);
            const screen = await screenMismatches(page, png, {
                region: { x: 0, y: 0, width: CLIENT.width, height: CLIENT.height },
                anchor: '#client', origin: { x: 0, y: 0 },
            });
            assert.equal(screen.scale, 1);
            assert.equal(screen.differing, 0, `${path}: screen ${JSON.stringify(screen.first)}`);
            // Everything but the controls of the Funkcja group and the captions is compared.
            assert.ok(screen.compared > CLIENT.width * CLIENT.height * 0.7, `${path}: ${screen.compared}`);
            ++pictures;
        },
    });
    assert.deepEqual(messages, transcript.filter((e) => e.event === 'message' || e.event === 'focus')
        .map(({ event, control, select, icon, caption, text }) => (event === 'focus'
            ? { event, control, ...(select ? { select } : {}) } : { icon, caption, text })));
    assert.equal(states.length, 0);
    assert.ok(pictures > 0);
}

for (const session of [...sessions, { name: 'demo', demo: true }]) {
    test(`${session.name}: the page shows what the transcript and the picture show`, async () => {
        const { script, ...expected } = session.demo ? demoSession() : session;
        const page = await openPage(browser.context, site.url);
        await playAgainst(page, readScript(script), expected);
        await page.close();
    });
}

test('a link with all five inputs fills them in as typed, pressing nothing; the session plays on', async () => {
    const session = sessions.find((s) => s.name === 'single_precision_convergence');
    const actions = readScript(session.script);
    const typed = Object.fromEntries(actions.slice(0, 5).map((a) => [a.verb, a.argument]));
    const page = await openPage(browser.context, `${site.url}index.html#f=4&a=-2.17311&b=1.45823&p=2&auto=1`);
    assert.deepEqual(await shown(page), {
        function: typed.function, start: typed.start, end: typed.end, precision: typed.precision,
        auto: typed.auto === 'on' ? 1 : 0, xmin: '', xmax: '', ymin: '', ymax: '', lines: [], selected: -1,
    });
    assert.equal(await page.locator('dialog[open]').count(), 0);
    await playAgainst(page, actions.slice(5), session);
    await page.close();
});

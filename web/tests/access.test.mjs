// axe-core against the rules of WCAG 2.0, 2.1 and 2.2 at levels A and AA, at the window's full
// size: at rest, after the demo session, with a message box, the window menu and the About box
// open. (The narrow screens are checked in screens.test.mjs.)
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
    await page.close();
});

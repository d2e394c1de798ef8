// node web/tests/screenshot.mjs SITE_DIR DESKTOP.png PHONE.png: the page after the demo session
// (script/demo.ksc, played as a user would, the root's message closed) as headless Chromium shows
// it: the window on a 1366 × 768 screen, and the whole page on a phone held upright.
import { launch, openPage, serveSite } from './browser.mjs';
import { play, readScript } from './session.mjs';

const [site, desktop, phone] = process.argv.slice(2);
if (!site || !desktop || !phone) {
    console.error('usage: node screenshot.mjs SITE_DIR DESKTOP.png PHONE.png');
    process.exit(2);
}
const demo = readScript(new URL('../../script/demo.ksc', import.meta.url).pathname);
const { url, server } = await serveSite(site);
const screens = [
    [desktop, { viewport: { width: 1366, height: 768 } }, (page) => page.locator('#window').screenshot({ path: desktop })],
    [phone, { viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true },
        (page) => page.screenshot({ path: phone, fullPage: true })],
];
try {
    for (const [output, options, take] of screens) {
        const browser = await launch({ ...options, serviceWorkers: 'block' });
        try {
            const page = await openPage(browser.context, url);
            await play(page, demo);
            await take(page);
            console.log(`wrote ${output}`);
        } finally {
            await browser.close();
        }
    }
} finally {
    server.close();
}

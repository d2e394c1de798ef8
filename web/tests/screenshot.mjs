// node web/tests/screenshot.mjs SITE_DIR OUTPUT.png: the page after the demo session (x*x-4 on 0
// to 3, precision 0.001, Auto, Zatwierdź, Licz, the root's message closed), as headless Chromium
// shows the window.
import { launch, openPage, serveSite } from './browser.mjs';

const [site, output] = process.argv.slice(2);
if (!site || !output) {
    console.error('usage: node screenshot.mjs SITE_DIR OUTPUT.png');
    process.exit(2);
}
const browser = await launch();
const { url, server } = await serveSite(site);
try {
    const page = await openPage(browser.context, url);
    await page.selectOption('#IDC_FUNCTION', { label: 'f(x) = x*x-4' });
    await page.fill('#IDC_START', '0');
    await page.fill('#IDC_END', '3');
    await page.fill('#IDC_PRECISION', '0.001');
    await page.check('#IDC_AUTO');
    await page.click('#IDC_CONFIRM');
    await page.click('#IDC_COMPUTE');
    await page.click('#messagebox-ok');
    await page.waitForSelector('body[data-busy="0"]');
    await page.locator('#window').screenshot({ path: output });
    console.log(`wrote ${output}`);
} finally {
    await browser.close();
    server.close();
}

// Debian's Chromium, headless, driven by playwright-core, and the page served on 127.0.0.1: what
// the browser tests, the screenshot and the start-up benchmark share.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';
import { serve } from '../serve.mjs';

export const CHROMIUM = process.env.CHROMIUM ?? '/usr/bin/chromium';

/// A fresh headless browser with an empty profile of its own, closed (profile removed) by close().
/// The flags keep it off every network but the page's: this machine has no other. Options are
/// the browser context's (viewport, deviceScaleFactor, isMobile, hasTouch, serviceWorkers...).
export async function launch(options = {}) {
    const profile = mkdtempSync(join(tmpdir(), 'korzenik-chromium-'));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: CHROMIUM,
        headless: true,
        viewport: { width: 900, height: 700 },
        ...options,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
            '--disable-background-networking', '--disable-component-update', '--disable-sync',
            '--force-color-profile=srgb'],
    });
    context.setDefaultTimeout(10_000);
    const close = async () => {
        await context.close();
        rmSync(profile, { recursive: true, force: true });
    };
    return { context, close };
}

/// Serves site on a free port (or on port); resolves to { url, server }. heard, when given, is
/// told the path of every request.
export async function serveSite(site, heard = undefined, port = 0) {
    const server = await serve(site, Number(port), heard);
    return { url: `http://127.0.0.1:${server.address().port}/`, server };
}

/// Opens the page in a new tab and waits until the dialog is usable; watch, when given, sees the
/// tab before the page loads.
export async function openPage(context, url, watch) {
    const page = await context.newPage();
    watch?.(page);
    await page.goto(url);
    await page.waitForSelector('body[data-busy="0"]');
    return page;
}

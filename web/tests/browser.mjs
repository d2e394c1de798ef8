// Debian's Chromium, headless, driven by playwright-core, and the page served on 127.0.0.1: what
// the browser tests, the screenshot and the start-up benchmark share.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { chromium } from 'playwright-core';
import { serve } from '../serve.mjs';

export const CHROMIUM = process.env.CHROMIUM ?? '/usr/bin/chromium';

/// A fresh headless browser with an empty profile of its own, closed (profile removed) by close().
/// The flags keep it off every network but the page's: this machine has no other.
export async function launch() {
    const profile = mkdtempSync(join(tmpdir(), 'korzenik-chromium-'));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: CHROMIUM,
        headless: true,
        viewport: { width: 900, height: 700 },
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

/// Serves site on a free port; resolves to { url, server }.
export async function serveSite(site) {
    const server = await serve(site);
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

// Headless Debian Chromium for the tests, driven by playwright-core (never a
// browser downloaded by a test tool). The flags keep it off the network:
// this machine refuses outside connections, and Chromium's background
// services would otherwise try them at every start.
'use strict';
const { chromium } = require('playwright-core');

// `extraArgs`: further Chromium flags (a host-resolver rule, say).
async function launch(extraArgs = []) {
  // playwright gives every launch a fresh temporary profile of its own.
  return chromium.launch({
    executablePath: process.env.ARENIX_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--disable-dev-shm-usage', ...extraArgs],
  });
}

// Runs `body(page, browser)` on a fresh page and always closes the browser;
// a failure prints its message and sets a non-zero exit status, which the
// C++ test reads.
async function withPage(body, extraArgs = []) {
  const browser = await launch(extraArgs);
  try {
    const page = await browser.newPage();
    await body(page, browser);
  } catch (e) {
    console.error(e && e.stack ? e.stack : String(e));
    process.exitCode = 1;
  } finally {
    await browser.close();
  }
}

module.exports = { launch, withPage };

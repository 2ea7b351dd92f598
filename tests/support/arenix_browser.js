// Headless Debian Chromium for the tests, driven by playwright-core (never a
// browser downloaded by a test tool). The flags keep it off the network:
// this machine refuses outside connections, and Chromium's background
// services would otherwise try them at every start.
'use strict';
const path = require('path');
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

// A failed step of a walk through the site.
function check(ok, message) {
  if (!ok) throw new Error(message);
}

// What every walk through the site does on `page`: a full-page screenshot
// into the folder `shots`, a click that waits for the page it leads to, and
// a login on the login form shown (its button: `loginButton`).
function siteSteps(page, shots, loginButton = 'input[type=submit]') {
  const submit = (selector) => Promise.all([page.waitForNavigation(), page.click(selector)]);
  return {
    shot: (name) => page.screenshot({ path: path.join(shots, name + '.png'), fullPage: true }),
    submit,
    login: async (user, password) => {
      await page.fill('input[name=user]', user);
      await page.fill('input[name=password]', password);
      await submit(loginButton);
    },
  };
}

module.exports = { launch, withPage, check, siteSteps };

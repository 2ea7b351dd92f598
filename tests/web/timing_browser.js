// The photo-finish import in headless Chromium as a recorder at the track
// uses it: a camera file with a lane that differs from the start list is
// uploaded on the import page, its preview marks the difference, the
// recorder confirms and lands on result entry with the heat saved; a file
// for a heat that does not exist is refused with its reason.
// Usage: node timing_browser.js PORT SHOTS_DIR GOOD_FILE BAD_FILE
'use strict';
const { withPage, check, siteSteps } = require('arenix_browser');

const [port, shots, good, bad] = process.argv.slice(2);
const base = `http://127.0.0.1:${port}`;

withPage(async (page) => {
  await page.setViewportSize({ width: 1280, height: 900 });
  const { shot, submit } = siteSteps(page, shots);

  await page.goto(base + '/login.asp');
  await page.fill('input[name=user]', 'jilu1');
  await page.fill('input[name=password]', '123456');
  await submit('input[type=submit][value="登 录"]');
  await page.goto(base + '/entry.asp');
  await submit('a[href="timing.asp"]');

  await page.setInputFiles('input[name=lif]', good);
  await submit('#timing-upload input[type=submit]');
  check((await page.$('#timing-confirm')) !== null, 'a confirm button for a matching file');
  const differs = await page.$$eval('tr.timing-differs', (rows) => rows.map((r) => r.textContent));
  check(differs.some((t) => t.includes('道次不符')), 'the lane difference marked: ' + differs);
  await shot('timing-01-preview');

  await submit('#timing-confirm');
  check(page.url().includes('/entry.asp') && page.url().includes('saved=1'), 'back at entry: ' + page.url());
  check((await page.textContent('.msg.ok')).includes('成绩已保存'), 'saved');
  await shot('timing-02-saved');

  await page.goto(base + '/timing.asp');
  await page.setInputFiles('input[name=lif]', bad);
  await submit('#timing-upload input[type=submit]');
  check((await page.textContent('#timing-refused')).includes('没有第 9 组'), 'the missing heat named');
  check((await page.$('#timing-confirm')) === null, 'nothing to confirm');
  await shot('timing-03-refused');
});

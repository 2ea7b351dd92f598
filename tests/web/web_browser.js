// The meet's pages in headless Chromium, as a delegation, a recorder and
// the public use them: a delegation's login, registration with a rule's
// error page, a login post
// from another site refused, recorder login, a heat's results typed with
// the keyboard only, saved and placed, the result query and its export.
// Usage: node web_browser.js PORT SHOTS_DIR
'use strict';
const fs = require('fs');
const path = require('path');
const { withPage, check, siteSteps } = require('arenix_browser');

const [port, shots] = process.argv.slice(2);
const base = `http://meet.example.cn:${port}`;
const evil = `http://meet.example.cn.evil.org:${port}`;

withPage(async (page) => {
  await page.setViewportSize({ width: 1200, height: 900 });
  const { shot, submit } = siteSteps(page, shots);

  // The home page.
  await page.goto(base + '/');
  check((await page.textContent('h1')).includes('田径运动会'), 'home page title');
  await shot('01-home');

  // Registration asks for the delegation's login, then leads back to it.
  await page.goto(base + '/register.asp');
  check(page.url().includes('/login.asp'), 'registration asks for a login: ' + page.url());
  await page.fill('#user', 'dyzx');
  await page.fill('#password', '123456');
  await submit('input[type=submit]');
  check(page.url().endsWith('/register.asp'), 'back to registration: ' + page.url());

  // Registration: the same event twice for one athlete breaks a rule.
  await page.goto(base + '/register.asp');
  const id = (await page.getAttribute('input[name^="ydy_xm_"]', 'name')).slice('ydy_xm_'.length);
  const event1 = await page.$eval(`select[name="ydy_csxm_${id}_1"]`, (e) => e.value);
  await page.selectOption(`select[name="ydy_csxm_${id}_2"]`, event1);
  await page.fill('#TeamOld', '王建国');
  await page.fill('#TeamTeacher', '李明，赵强');
  await submit('#save');
  const refused = await page.textContent('body');
  check(refused.includes(`有重复的参赛项目【${event1}】`), 'registration rule page: ' + refused);
  await shot('02-register-rule');

  // Put right, a new name registered.
  await page.goto(base + '/register.asp');
  await page.fill(`input[name="ydy_xm_${id}"]`, '潘新华');
  await page.fill('#TeamOld', '王建国');
  await submit('#save');
  check((await page.textContent('.msg.ok')).includes('报名已保存'), 'registration saved');
  check((await page.inputValue(`input[name="ydy_xm_${id}"]`)) === '潘新华', 'registered name shown');
  await shot('03-register-saved');

  // A login posted from a page of another site is refused by the referrer guard.
  await page.goto(evil + '/evil.html');
  await page.waitForURL(/login\.asp/);
  check((await page.textContent('body')).includes('您提交的数据不合法'), 'foreign post refused');
  await shot('04-foreign-post-refused');
  await page.goto(base + '/entry.asp');
  check(page.url().includes('/login.asp'), 'not logged in by the foreign post: ' + page.url());

  // Recorder login.
  await page.fill('#user', 'jilu1');
  await page.fill('#password', '123456');
  await submit('input[type=submit]');
  check(page.url().includes('/entry.asp'), 'logged in: ' + page.url());
  await shot('05-entry-choose');

  // Heat 1 of the first stage of the first event.
  await page.selectOption('select[name=zc]', '1');
  await submit('input[value="查 询"]');
  const rows = await page.$$eval('table.entry tbody tr', (trs) => trs.map((tr) => tr.cells[0].textContent.trim()));
  check(rows.length >= 2, 'entrants of heat 1: ' + rows.length);
  const inputs = await page.$$('table.entry input[type=text]');
  check(inputs.length === rows.length * 3, 'three inputs per entrant');

  // Keyboard only: minutes left empty, seconds, hundredths; Enter moves on.
  // The last entrant runs fastest.
  await inputs[0].focus();
  for (let i = 0; i < rows.length; i++) {
    await page.keyboard.press('Enter');
    await page.keyboard.type(String(12 + rows.length - i));
    await page.keyboard.press('Enter');
    await page.keyboard.type(String(10 + i * 7));
    await page.keyboard.press('Enter');
  }
  check(await page.evaluate(() => document.activeElement.value === '保存成绩'), 'Enter reached the save button');
  await shot('06-entry-typed');
  await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
  check((await page.textContent('.msg.ok')).includes('成绩已保存'), 'results saved');
  const placed = await page.$$eval('table.entry tbody tr', (trs) =>
    trs.map((tr) => ({ number: tr.cells[0].textContent.trim(), place: tr.cells[6].textContent.trim() })));
  const fastest = placed.find((r) => r.number === rows[rows.length - 1]);
  check(fastest && fastest.place === '1', 'the fastest is first: ' + JSON.stringify(placed));
  const places = placed.map((r) => Number(r.place)).sort((a, b) => a - b);
  check(places.join(',') === rows.map((_, i) => i + 1).join(','), 'places 1 to n: ' + places);
  await shot('07-entry-saved');

  // The public result query shows the stage just entered, and exports it.
  await page.click('nav a[href="results.asp"]');
  await page.waitForLoadState();
  const title = (await page.textContent('main h2:nth-of-type(2)')).trim();
  check(title.startsWith('高中组男子组100米预赛成绩'), 'query title: ' + title);
  const table = await page.textContent('table.list');
  check(table.includes(rows[rows.length - 1]), 'entrant listed');
  await shot('08-results');
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#export')]);
  check(download.suggestedFilename() === '高中组男子组100米预赛成绩.xlsx', 'export name: ' + download.suggestedFilename());
  const saved = path.join(shots, 'export.xlsx');
  await download.saveAs(saved);
  // A zip package (the spreadsheet's content is checked in LibreOffice by
  // the export test).
  check(fs.readFileSync(saved).subarray(0, 2).toString() === 'PK', 'export is an xlsx package');
}, ['--host-resolver-rules=MAP meet.example.cn 127.0.0.1, MAP meet.example.cn.evil.org 127.0.0.1']);

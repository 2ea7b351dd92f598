// The organiser's desk and the delegation accounts in headless Chromium, as
// a visitor, a recorder, a delegation and the organiser use them: admin
// pages refused by address and identity numbers masked for the visitor; a
// final's results entered and then corrected by a recorder; a delegation
// that sees only its own registration; the organiser logging in through
// the desk's login desktop, closing and opening registration, the overview
// and its export, a start list printed and as a PDF, team scores with the
// chart, the records, the audit log of the corrected result, and a notice
// on the home page.
// Usage: node desk_browser.js PORT SHOTS_DIR
'use strict';
const fs = require('fs');
const path = require('path');
const { withPage, check, siteSteps } = require('arenix_browser');

const [port, shots] = process.argv.slice(2);
const base = `http://127.0.0.1:${port}`;
// GBK query values of the sample meet.
const q400 = 'item=400%C3%D7&age=%B8%DF%D6%D0%D7%E9';              // 400米, 高中组
const second = 'team=%B5%DA%B6%FE%D6%D0%D1%A7&age=%B8%DF%D6%D0%D7%E9'; // 第二中学, 高中组

withPage(async (page) => {
  await page.setViewportSize({ width: 1280, height: 900 });
  const { shot, submit, login } = siteSteps(page, shots, 'input[type=submit][value="登 录"]');
  const text = (selector) => page.textContent(selector);

  // The visitor: no desk page by address, identity numbers masked.
  for (const p of ['/admin/overview.asp', '/admin/audit.asp', '/admin/accounts.asp', '/register.asp']) {
    await page.goto(base + p);
    check(page.url().includes('/login.asp?back='), 'visitor refused ' + p + ': ' + page.url());
  }
  await shot('desk-01-visitor-refused');
  await page.goto(base + '/athletes.asp');
  const masked = await page.$$eval('td.idno', (tds) => tds.map((td) => td.textContent));
  check(masked.length > 0 && masked.every((id) => /^\d{6}\*{8}[\dX]{4}$/.test(id)), 'masked: ' + masked.slice(0, 3));
  await shot('desk-02-visitor-masked');

  // A recorder enters heat 1 of the 400 m final and then corrects a mark.
  await page.goto(base + '/login.asp');
  await login('zongcai', 'jilu2025');
  check(page.url().endsWith('/entry.asp'), 'recorder at entry: ' + page.url());
  await page.goto(`${base}/entry.asp?${q400}&sex=%C4%D0&sc=4&zc=1`);
  let inputs = await page.$$('table.entry input[type=text]');
  check(inputs.length >= 6, 'inputs of heat 1: ' + inputs.length);
  for (let i = 0; i < inputs.length / 3; i++) {
    await inputs[i * 3 + 1].fill(String(50 + i));  // seconds stay below 60
    await inputs[i * 3 + 2].fill('10');
  }
  await submit('#save');
  check((await text('.msg.ok')).includes('成绩已保存'), 'results saved');
  inputs = await page.$$('table.entry input[type=text]');
  await inputs[1].fill('49');  // the first entrant was faster than typed
  await submit('#save');
  check((await text('.msg.ok')).includes('成绩已保存'), 'correction saved');
  await shot('desk-03-entry-corrected');
  await page.goto(base + '/logout.asp');

  // A delegation: its login, its own registration only, no desk.
  await page.goto(base + '/register.asp');
  await login('dyzx', '123456');
  check(page.url().endsWith('/register.asp'), 'delegation back at registration: ' + page.url());
  const teams = await page.$$eval('#pick option', (os) => os.map((o) => o.textContent));
  check(teams.length > 0 && teams.every((t) => t.startsWith('第一中学')), 'own age groups only: ' + teams);
  await page.goto(`${base}/register.asp?${second}`);
  check((await page.inputValue('input[name=ydy_team]')) === '第一中学', 'another delegation by address');
  await page.fill('#TeamOld', '王建国');
  await page.fill('#TeamTeacher', '李明、赵强');
  await submit('#save');
  check((await text('.msg.ok')).includes('报名已保存'), 'registration saved');
  check((await page.inputValue('#TeamTeacher')) === '李明、赵强', 'coaches shown back');
  await shot('desk-04-delegation-own');
  await page.goto(base + '/athletes.asp?team=%B5%DA%D2%BB%D6%D0%D1%A7');
  const full = await page.$$eval('td.idno', (tds) => tds.map((td) => td.textContent));
  check(full.length > 0 && full.every((id) => !id.includes('*')), 'own identity numbers in full');
  await page.goto(base + '/admin/index.asp');
  check((await page.$('#switch-register')) === null, 'no desk for a delegation');
  await page.goto(base + '/logout.asp');

  // The organiser: the desk's login desktop.
  await page.goto(base + '/admin/index.asp');
  check((await page.$('table.login_background')) !== null, 'login desktop');
  await shot('desk-05-login-desktop');
  await page.fill('input[name=user]', 'admin');
  await page.fill('input[name=password]', 'admin2025');
  await submit('#save');
  check((await page.$('#switch-register')) !== null, 'the desk: ' + page.url());
  await shot('desk-06-desk');

  // Registration closed and opened again; the state shows on every page.
  await submit('#switch-register');
  check((await text('.state')).includes('网络报名关闭'), 'registration closed: ' + (await text('.state')));
  await page.goto(base + '/index.asp');
  check((await text('.state')).includes('网络报名关闭'), 'state on the home page');
  await shot('desk-07-registration-closed');
  await page.goto(base + '/admin/index.asp');
  await submit('#switch-register');
  check((await text('.state')).includes('网络报名开放'), 'registration open again');

  // The overview, and its export.
  await page.goto(base + '/admin/overview.asp');
  check((await page.$$('#overview tbody tr')).length > 0, 'overview rows');
  await shot('desk-08-overview');
  const [sheet] = await Promise.all([page.waitForEvent('download'), page.click('#export')]);
  check(sheet.suggestedFilename() === '报名总览.xls', 'export name: ' + sheet.suggestedFilename());
  await sheet.saveAs(path.join(shots, 'overview.xls'));
  const xls = new TextDecoder('gbk').decode(fs.readFileSync(path.join(shots, 'overview.xls')));
  check(xls.includes('第一中学') && xls.includes('报名总览'), 'export content');

  // A start list, printed and as a PDF.
  await page.goto(`${base}/admin/startlist.asp?${q400}&sex=%C4%D0&stage=%BE%F6%C8%FC`);
  check((await text('#list-title')).includes('400米决赛检录单'), 'start list title: ' + (await text('#list-title')));
  check((await page.$$('.heat')).length > 0, 'heats');
  await page.emulateMedia({ media: 'print' });
  check(!(await page.isVisible('nav.site-nav')) && !(await page.isVisible('.desk-nav')), 'print view: the list alone');
  await shot('desk-09-startlist-print');
  await page.emulateMedia({ media: 'screen' });
  const [pdf] = await Promise.all([page.waitForEvent('download'), page.click('#pdf')]);
  await pdf.saveAs(path.join(shots, 'startlist.pdf'));
  check(fs.readFileSync(path.join(shots, 'startlist.pdf')).subarray(0, 5).toString() === '%PDF-', 'a PDF');

  // Team scores and the chart.
  await page.goto(base + '/admin/scores.asp');
  const totals = await page.$$eval('#scores tbody tr td:nth-child(5)', (tds) => tds.map((td) => Number(td.textContent)));
  check(totals.some((t) => t > 0), 'team points from the final: ' + totals);
  check(await page.$eval('#score-chart', (img) => img.complete && img.naturalWidth > 0), 'chart image');
  const frame = page.frame({ url: /chart\.asp/ });
  await frame.waitForSelector('svg.orvel-chart-svg');
  const bars = await frame.$$eval('svg [data-kind=bar]', (els) => els.length);
  const ranked = await page.$$eval('#scores tbody tr', (trs) => trs.filter((tr) => tr.cells[0].textContent !== '编外').length);
  check(bars === ranked, 'the vector chart drawn as SVG: ' + bars + ' bars');
  await shot('desk-10-scores');
  await page.goto(base + '/admin/records.asp');
  await shot('desk-11-records');

  // The audit log shows the correction: the mark before and after.
  await page.goto(base + '/admin/audit.asp?item=400%C3%D7');
  const log = await text('#audit');
  check(log.includes('成绩保存') && log.includes('zongcai'), 'saves in the audit log');
  check((await page.$$('#audit del')).length > 0 && (await page.$$('#audit ins')).length > 0, 'the correction');
  await shot('desk-12-audit');

  // A notice for the home page.
  await page.goto(base + '/admin/notices.asp');
  await page.fill('input[name=title]', '100米预赛时间调整');
  await page.fill('textarea[name=text]', '男子100米预赛改在上午9:30开始。');
  await submit('input[value="发布"]');
  await page.goto(base + '/');
  check((await text('#notices')).includes('100米预赛时间调整'), 'notice on the home page');
  await shot('desk-13-home-notice');
});

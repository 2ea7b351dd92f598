// A delegation and a recorder through the site in headless Chromium, on a
// fresh sample meet: a new athlete registered as a man and then withdrawn
// by clearing the name; the stage list following the event chosen; a bad
// mark refused naming the athlete; one heat saved and the final left
// unseeded until the other heat is in; a save after the login expired
// kept on a page with a login box that saves it and returns to the same
// heat; the final seeded within the lanes; the public list with empty
// places for athletes without a result.
// Usage: node walk_browser.js PORT SHOTS_DIR
'use strict';
const { withPage, check, siteSteps } = require('arenix_browser');

const [port, shots] = process.argv.slice(2);
const base = `http://127.0.0.1:${port}`;
// GBK query values of the sample meet.
const seniors = 'age=%B8%DF%D6%D0%D7%E9';                 // 高中组
const sprint = `${seniors}&sex=%C4%D0&item=100%C3%D7`;    // 男, 100米
const relay400 = `${seniors}&item=4%A1%C1400%C3%D7%BD%D3%C1%A6`;  // 4×400米接力

// An identity number of a man born on 2008-03-15, with its check character.
function identity() {
  const body = '33010220080315011';
  const weights = [7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2];
  let sum = 0;
  for (let i = 0; i < 17; i++) sum += Number(body[i]) * weights[i];
  return body + '10X98765432'[sum % 11];
}

withPage(async (page) => {
  await page.setViewportSize({ width: 1280, height: 900 });
  const { shot, submit, login } = siteSteps(page, shots);

  // The delegation: a new athlete, chosen as a man, is stored as a man.
  await page.goto(`${base}/login.asp`);
  await login('dyzx', '123456');
  await page.goto(`${base}/register.asp?${seniors}`);
  const empty = await page.$$eval('input[name^="ydy_xm_"]', (xs) => xs.filter((x) => x.value === '').map((x) => x.name));
  check(empty.length > 0, 'an empty row to register in');
  const id = empty[0].slice('ydy_xm_'.length);
  await page.fill(`input[name="ydy_xm_${id}"]`, '新同学');
  await page.selectOption(`select[name="ydy_xb_${id}"]`, 'True');
  await page.fill(`input[name="ydy_fjzd_${id}_4"]`, identity());
  await page.fill('#TeamOld', '王建国');
  await submit('#save');
  check((await page.textContent('.msg.ok')).includes('报名已保存'), 'registration saved: ' + await page.textContent('body'));
  check(await page.$eval(`select[name="ydy_xb_${id}"]`, (s) => s.value) === 'True', 'stored as a man');
  await shot('walk-01-registered-man');
  // Clearing the name withdraws the athlete.
  await page.fill(`input[name="ydy_xm_${id}"]`, '');
  await submit('#save');
  check(!(await page.textContent('table')).includes('新同学'), 'withdrawn');
  await shot('walk-02-withdrawn');
  await page.goto(`${base}/logout.asp`);

  // A visitor: an event without a schedule shows no stage of another one.
  await page.goto(`${base}/results.asp?${relay400}&sc=1`);
  check((await page.textContent('#no-stages')).includes('尚未编排赛次'), 'relay not scheduled');
  check(!(await page.textContent('main')).includes('决赛成绩'), 'no final heading for the relay');
  await shot('walk-03-relay-no-stages');

  // The recorder: choosing another event reloads its own stages.
  await page.goto(`${base}/login.asp`);
  await login('jilu1', '123456');
  await page.goto(`${base}/entry.asp?${sprint}&sc=4`);
  await Promise.all([page.waitForNavigation(), page.selectOption('select[name=Item]', '4×100米接力')]);
  const relayStages = await page.$$eval('select[name=sc] option', (os) => os.map((o) => o.textContent));
  check(page.url().includes('entry.asp'), 'still on the entry page');
  check(!(await page.textContent('main')).includes('混子组'), 'no 混子组');
  await shot('walk-04-event-changed');
  await page.goto(`${base}/entry.asp?${sprint}&sc=1&zc=1`);
  const stages = await page.$$eval('select[name=sc] option', (os) => os.map((o) => o.textContent));
  check(stages.join() === '预赛,决赛', '100 m stages: ' + stages + ' (relay: ' + relayStages + ')');

  // A bad mark is refused, naming the athlete and the field.
  const fill = async (secondsOf) => {
    const rows = await page.$$eval('table.entry tbody tr', (trs) => trs.map((tr) => tr.cells[0].textContent.trim()));
    for (let i = 0; i < rows.length; i++) {
      await page.fill(`input[name="playcj_2_${rows[i]}"]`, secondsOf(i));
      await page.fill(`input[name="playcj_3_${rows[i]}"]`, String(10 + i));
    }
    return rows;
  };
  const heat1 = await fill((i) => (i === 0 ? '75' : '11'));
  await submit('#save');
  const refusal = await page.textContent('body');
  check(refusal.includes('编号 ' + heat1[0]) && refusal.includes('应小于60'), 'bad mark refused: ' + refusal);
  await shot('walk-05-bad-mark-refused');

  // Heat 1 alone: saved, the final waits for heat 2.
  await page.goto(`${base}/entry.asp?${sprint}&sc=1&zc=1`);
  await fill(() => '11');
  await submit('#save');
  check((await page.textContent('main')).includes('第2组还没有成绩，决赛暂不编排'), 'final waits for heat 2');
  await shot('walk-06-heat1-final-waits');

  // Heat 2 typed after the login expired: kept, the login saves it.
  await page.goto(`${base}/entry.asp?${sprint}&sc=1&zc=2`);
  const heat2 = await fill(() => '12');
  await page.context().clearCookies();
  await submit('#save');
  check((await page.textContent('#kept-message')).includes('登录已过期'), 'expired login kept the form');
  check((await page.textContent('#kept-marks')).includes('12 10'), 'typed marks shown');
  await shot('walk-07-expired-kept');
  await page.fill('#user', 'jilu1');
  await page.fill('#password', '123456');
  await submit('#relogin-save');
  check(page.url().includes('sc=1&zc=2&saved=1'), 'back at heat 2: ' + page.url());
  check((await page.inputValue(`input[name="playcj_2_${heat2[0]}"]`)) === '12', 'heat 2 saved');
  await shot('walk-08-relogin-saved');

  // No heat of the final holds more athletes than the lanes: each has a
  // lane of its own in its heat.
  await page.goto(`${base}/entry.asp?${sprint}&sc=4`);
  const seats = await page.$$eval('table.entry tbody tr',
                                  (trs) => trs.map((tr) => tr.cells[3].textContent + '/' + tr.cells[4].textContent));
  const lanesOk = seats.every((s) => { const l = Number(s.split('/')[1]); return l >= 1 && l <= 8; });
  check(seats.length > 0 && lanesOk && new Set(seats).size === seats.length, 'final heats/lanes: ' + seats);
  await shot('walk-09-final-seeded');

  // The public list of the final before it is run: no place 0 anywhere.
  await page.goto(`${base}/results.asp?${sprint}&sc=4`);
  const places = await page.$$eval('table.list tbody tr', (trs) => trs.map((tr) => tr.cells[6].textContent));
  check(places.length > 0 && places.every((p) => p === ''), 'no places yet: ' + places);
  await shot('walk-10-final-list-empty-places');
  await page.goto(`${base}/index.asp`);
  await shot('walk-11-home-progress');
});

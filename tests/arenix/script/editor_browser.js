// Drives the rich-text editor on a sample edit page in headless Chromium.
// Every request of the page goes to page.route: the edit page itself, the
// site's upload page (whose multipart body is checked against the upload
// protocol) and the page the form posts to.
//
// node editor_browser.js PAGE.html ARTIFACT_DIR
'use strict';
const fs = require('fs');
const path = require('path');
const assert = require('assert');
const Busboy = require('busboy');
const { withPage } = require('arenix_browser');

const [pageFile, shots] = process.argv.slice(2);
const html = fs.readFileSync(pageFile, 'utf8');
const site = 'http://meet.test';
const png = solidPng(24, 16, [200, 30, 40]);

// A small PNG of one colour, so that the inserted picture shows in the shots.
function solidPng(w, h, rgb) {
  const crcTable = Array.from({ length: 256 }, (_, n) => {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
  });
  const crc = (buf) => {
    let c = 0xffffffff;
    for (const b of buf) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
  };
  const chunk = (type, data) => {
    const len = Buffer.alloc(4);
    len.writeUInt32BE(data.length);
    const body = Buffer.concat([Buffer.from(type, 'ascii'), data]);
    const sum = Buffer.alloc(4);
    sum.writeUInt32BE(crc(body));
    return Buffer.concat([len, body, sum]);
  };
  const ihdr = Buffer.alloc(13);
  ihdr.writeUInt32BE(w, 0);
  ihdr.writeUInt32BE(h, 4);
  ihdr[8] = 8;
  ihdr[9] = 2;
  const row = Buffer.concat([Buffer.from([0]), Buffer.from(Array(w).fill(rgb).flat())]);
  const raw = Buffer.concat(Array(h).fill(row));
  return Buffer.concat([Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]), chunk('IHDR', ihdr),
                        chunk('IDAT', require('zlib').deflateSync(raw)), chunk('IEND', Buffer.alloc(0))]);
}

// The parts of a multipart body: [{name, filename, mime, data}].
function parseMultipart(headers, body) {
  return new Promise((resolve, reject) => {
    const parts = [];
    const bb = Busboy({ headers });
    bb.on('file', (name, stream, info) => {
      const chunks = [];
      stream.on('data', (c) => chunks.push(c));
      stream.on('end', () => parts.push({ name, filename: info.filename, mime: info.mimeType,
                                          data: Buffer.concat(chunks) }));
    });
    bb.on('field', (name, value) => parts.push({ name, value }));
    bb.on('close', () => resolve(parts));
    bb.on('error', reject);
    bb.end(body);
  });
}

withPage(async (page) => {
  const dialogs = [];
  const uploads = [];
  let answer = null;
  let saved = null;
  page.on('dialog', (d) => { dialogs.push(d.message()); d.accept(); });
  page.on('pageerror', (e) => { throw e; });
  await page.route(site + '/**', async (route) => {
    const req = route.request();
    const url = new URL(req.url());
    if (url.pathname === '/site/news/edit.asp') {
      return route.fulfill({ contentType: 'text/html; charset=utf-8', body: html });
    }
    if (url.pathname === '/site/comm_iceeditor/upload.asp') {
      uploads.push({ url, headers: req.headers(), body: req.postDataBuffer() });
      if (answer === 'fail') return route.fulfill({ status: 500, contentType: 'text/html', body: '<h1>error</h1>' });
      return route.fulfill({ contentType: 'application/json', body: JSON.stringify(answer) });
    }
    if (url.pathname === '/site/comm_iceeditor/slow.asp') return;  // never answers
    if (url.pathname === '/Data_UploadFiles/news/track.png') {
      return route.fulfill({ contentType: 'image/png', body: png });
    }
    if (url.pathname === '/site/news/save.asp') {
      saved = req.postData();
      return route.fulfill({ contentType: 'text/html; charset=utf-8', body: '<p>已保存</p>' });
    }
    return route.fulfill({ status: 404, body: '' });
  });
  await page.setViewportSize({ width: 1000, height: 640 });
  await page.goto(site + '/site/news/edit.asp');

  // It loads: the text area is hidden, the editor shows its content, and the
  // style sheet and icon set are installed once.
  assert.strictEqual(await page.isVisible('#content'), false);
  await page.waitForSelector('.iceEditor li[data-name=bold]');
  assert.strictEqual(await page.locator('#iceEditor-css').count(), 1);
  assert.strictEqual(await page.locator('#iceEditor-icon symbol#icon-bold').count(), 1);
  assert.strictEqual(await page.getAttribute('li[data-name=bold]', 'title'), '加粗');
  const frame = await (await page.$('.iceEditor-frame')).contentFrame();
  assert.strictEqual(await frame.textContent('body p'), '第一届田径运动会 <开幕>');
  await page.screenshot({ path: path.join(shots, 'editor-loaded.png') });

  // Bold on the selected paragraph.
  await frame.click('body p', { clickCount: 3 });
  await page.click('li[data-name=bold]');
  const bold = await frame.evaluate(() => document.body.innerHTML);
  assert.match(bold, /font-weight: bold|<b>/, bold);

  // A 2 by 3 table from the picker, after the paragraph.
  await frame.click('body p');
  await frame.press('body', 'End');
  await page.click('li[data-name=table]');
  await page.hover('li[data-name=table] td[data-row="2"][data-col="3"]');
  assert.strictEqual(await page.textContent('li[data-name=table] .iceEditor-tableSize'), '2 × 3');
  await page.screenshot({ path: path.join(shots, 'editor-table-picker.png') });
  await page.click('li[data-name=table] td[data-row="2"][data-col="3"]');
  assert.strictEqual(await frame.locator('table tr').count(), 2);
  assert.strictEqual(await frame.locator('table tr:first-child td').count(), 3);

  // A picture uploaded through the picture tool, with the typed width.
  answer = [{ url: '/Data_UploadFiles/news/track.png', name: 'track.png' }];
  await frame.click('body p');
  await page.click('li[data-name=insertImage]');
  await page.fill('li[data-name=insertImage] .iceEditor-imgWidth', '120');
  await page.setInputFiles('li[data-name=insertImage] input[type=file]',
                           { name: 'track.png', mimeType: 'image/png', buffer: png });
  await frame.waitForSelector('img[src="/Data_UploadFiles/news/track.png"][width="120"]');
  assert.strictEqual(uploads.length, 1);
  const pic = uploads[0];
  assert.strictEqual(pic.url.search, '?DialogType=pic&SaveUpFilesPath=/Data_UploadFiles/news');
  assert.strictEqual(pic.headers['x-requested-with'], 'XMLHttpRequest');
  assert.match(pic.headers['content-type'], /^multipart\/form-data; boundary=/);
  const parts = await parseMultipart(pic.headers, pic.body);
  assert.strictEqual(parts.length, 1);
  assert.strictEqual(parts[0].name, 'file[]');
  assert.strictEqual(parts[0].filename, 'track.png');
  assert.ok(parts[0].data.equals(png), 'the picture arrives byte for byte');

  // Attachments: an answer with an error is shown and inserts nothing; one
  // with an address inserts a download link.
  answer = [{ error: '不允许上传该类型的文件' }];
  await page.click('li[data-name=files]');
  await page.setInputFiles('li[data-name=files] input[type=file]',
                           { name: '成绩.xls', mimeType: 'application/vnd.ms-excel', buffer: Buffer.from('x') });
  for (let i = 0; i < 50 && dialogs.length === 0; i++) await page.waitForTimeout(100);
  assert.deepStrictEqual(dialogs, ['不允许上传该类型的文件']);
  assert.strictEqual(uploads[1].url.search, '?DialogType=all&SaveUpFilesPath=/Data_UploadFiles/news');
  assert.strictEqual(await frame.locator('a.download').count(), 0);
  answer = [{ url: '/Data_UploadFiles/news/成绩.xls', name: '成绩.xls' }];
  await page.click('li[data-name=files]');
  await page.setInputFiles('li[data-name=files] input[type=file]',
                           { name: '成绩.xls', mimeType: 'application/vnd.ms-excel', buffer: Buffer.from('x') });
  await frame.waitForSelector('a.download[target=_blank]');
  assert.strictEqual(await frame.textContent('a.download'), '成绩.xls');
  await page.screenshot({ path: path.join(shots, 'editor-edited.png') });

  // The video tool refuses an empty address and links it cannot play.
  dialogs.length = 0;
  await page.click('li[data-name=video]');
  await page.click('li[data-name=video] .iceEditor-ok');
  await page.fill('li[data-name=video] .iceEditor-videoUrl', 'http://example.org/clip.mp4');
  await page.click('li[data-name=video] .iceEditor-ok');
  assert.deepStrictEqual(dialogs, ['视频地址不能为空', '抱歉，无法处理该链接！']);
  await page.click('li[data-name=video]');

  // An upload page that fails says so instead of inserting anything.
  dialogs.length = 0;
  answer = 'fail';
  await page.click('li[data-name=files]');
  await page.setInputFiles('li[data-name=files] input[type=file]',
                           { name: 'a.txt', mimeType: 'text/plain', buffer: Buffer.from('x') });
  for (let i = 0; i < 50 && dialogs.length === 0; i++) await page.waitForTimeout(100);
  assert.deepStrictEqual(dialogs, ['上传失败（500）']);
  assert.strictEqual(await frame.locator('a.download').count(), 1);

  // The source view shows the HTML as text and masks the other tools.
  await page.click('li[data-name=code]');
  assert.match(await page.inputValue('.iceEditor-codeView'), /<table/);
  assert.strictEqual(await page.isVisible('.iceEditor-frame'), false);
  await page.click('li[data-name=bold]');
  assert.match(await page.inputValue('.iceEditor-codeView'), /<table/);
  await page.click('li[data-name=code]');
  assert.strictEqual(await page.isVisible('.iceEditor-frame'), true);

  // The hidden text area carries the HTML when the form is sent.
  await Promise.all([page.waitForURL('**/save.asp'), page.click('#send')]);
  const form = new URLSearchParams(saved);
  const content = form.get('content');
  assert.match(content, /font-weight: bold|<b>/, content);
  assert.match(content, /<table[^>]*><tbody><tr><td><br><\/td><td><br><\/td><td><br><\/td><\/tr>/, content);
  assert.match(content, /<img src="\/Data_UploadFiles\/news\/track.png" width="120">/, content);
  assert.match(content, /<a class="download" href="\/Data_UploadFiles\/news\/成绩.xls" target="_blank">/, content);
  assert.match(content, /第一届田径运动会 &lt;开幕&gt;/, content);
  assert.strictEqual(form.get('title'), '运动会');

  // A page without the element: the user is told.
  dialogs.length = 0;
  await page.goto(site + '/site/news/edit.asp');
  await page.evaluate(() => ice.editor('nothing', function () {}));
  assert.deepStrictEqual(dialogs, ['请提供一个有效的id']);

  // A second editor on a div, configured by its call-back: its own tools,
  // the page's one style sheet and icon set, and a request abandoned after
  // its time-out.
  await page.evaluate(() => {
    const d = document.createElement('div');
    d.id = 'notes';
    d.innerHTML = '旧内容';
    document.body.appendChild(d);
    window.notes = ice.editor('notes', function () {
      this.menu = ['bold', 'files'];
      this.ajax.uploadTimeout = 300;
      this.create();
    });
  });
  assert.strictEqual(await page.getAttribute('#notes', 'class'), 'iceEditor');
  assert.strictEqual(await page.locator('#notes .iceEditor-menu li[data-name]').count(), 2);
  assert.strictEqual(await page.locator('#iceEditor-css').count(), 1);
  assert.strictEqual(await page.locator('#iceEditor-icon').count(), 1);
  assert.strictEqual(await page.evaluate(() => window.notes.getHTML()), '<p>旧内容</p>');
  const timedOut = await page.evaluate(() => new Promise((resolve) => {
    window.notes.ajax({ url: '/site/comm_iceeditor/slow.asp', data: { a: 1 }, error: resolve });
  }));
  assert.strictEqual(timedOut, '网络超时。');
  console.log('editor ok');
});

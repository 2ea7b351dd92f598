// The rich-text editor component (ice.editor), emitted by the editor field of
// the form renderer. ${style_sheet} and ${icon_set}: its built-in style sheet
// and icon set, each on one line without single quotes. The block is
// compressed on its way out (tabs and runs of spaces to one, "//" comment
// lines dropped, line breaks removed), so every statement ends with ";" or a
// brace.

var ice = ice || {};
ice.editor = function (id,callback) {
class iceEditor {
constructor(id, callback) {
  var el = document.getElementById(id);
  if (!el) { alert('请提供一个有效的id'); return; }
  var tag = el.tagName.toLowerCase();
  if (tag != 'textarea' && tag != 'div') { console.log('iceEditor：暂不支持该标签「' + tag + '」，推荐使用div或textarea'); return; }
  this.id = id;
  this.time = String(new Date().getTime()) + String(Math.floor(Math.random() * 1000));
  this.setDefaults();
  var content;
  if (tag == 'textarea') {
    this.textarea = el;
    el.style.display = 'none';
    this.box = document.createElement('div');
    this.box.className = 'iceEditor';
    el.parentNode.insertBefore(this.box, el.nextSibling);
    content = el.value;
  } else {
    this.textarea = null;
    this.box = el;
    el.classList.add('iceEditor');
    content = el.innerHTML;
  }
  content = String(content || '').trim();
  if (content.indexOf('<p>') !== 0) content = '<p>' + (content || '<br>') + '</p>';
  this.build(content);
  this.create();
  if (this.textarea) {
    var self = this;
    setInterval(function () { self.syncTextarea(); }, 1000);
    if (this.textarea.form) this.textarea.form.addEventListener('submit', function () { self.syncTextarea(); });
  }
  if (typeof callback == 'function') callback.call(this);
}
setDefaults() {
  this.menu = ['backColor', 'fontSize', 'foreColor', 'bold', 'italic', 'underline', 'strikeThrough', 'line', 'justifyLeft', 'justifyCenter', 'justifyRight', 'indent', 'outdent', 'line', 'insertOrderedList', 'insertUnorderedList', 'line', 'superscript', 'subscript', 'createLink', 'unlink', 'line', 'hr', 'face', 'table', 'files', 'music', 'video', 'insertImage', 'removeFormat', 'paste', 'line', 'code'];
  this.notMenu = [];
  this.backColor = ice.palette.slice();
  this.foreColor = ice.palette.slice();
  this.width = '100%';
  this.height = '400px';
  this.code = 0;
  this.maxWindow = 1;
  this.disabled = 0;
  this.css = '';
  this.globalCss = false;
  this.globalIcon = false;
  this.uploadUrl = 0;
  this.pasteText = 1;
  this.screenshot = 1;
  this.screenshotUpload = 1;
  this.imgAutoUpload = 1;
  this.imgDomain = 0;
  var pass = function (v) { return v; };
  var none = function () {};
  var self = this;
  this.ajax = function (json) { return self.request(json); };
  var hooks = { uploadTimeout: 15000, xhr: none, formData: pass, timeout: none, progress: none, success: pass, error: none, complete: none };
  for (var k in hooks) this.ajax[k] = hooks[k];
  this.filesUpload = { name: 'file[]', formData: pass, success: pass, error: none, complete: none };
  this.imgUpload = { name: 'file[]', formData: pass, success: pass, error: none, complete: none };
  this.face = ice.faces;
  this.plugins = {};
  this.callbacks = [];
}
element(tag, cls, html) {
  var e = document.createElement(tag);
  if (cls) e.className = cls;
  if (html) e.innerHTML = html;
  return e;
}
icon(name) {
  return '<svg class="iceEditor-icon"><use xlink:href="#icon-' + name + '" href="#icon-' + name + '"></use></svg>';
}
build(content) {
  var self = this;
  this.box.innerHTML = '';
  this.toolBox = this.element('div', 'iceEditor-menuBox');
  this.toolBox.id = '_tool' + this.time;
  this.toolBox.addEventListener('mousedown', function (e) { if (!/^(input|textarea|select)$/i.test(e.target.tagName)) e.preventDefault(); });
  this.main = this.element('div', 'iceEditor-content');
  this.frame = this.element('iframe', 'iceEditor-frame');
  this.frame.setAttribute('frameborder', '0');
  this.codeView = this.element('textarea', 'iceEditor-codeView');
  this.codeView.style.display = 'none';
  this.main.appendChild(this.frame);
  this.main.appendChild(this.codeView);
  this.dragBar = this.element('div', 'iceEditor-drag', this.icon('drag'));
  this.mask = this.element('div', 'iceEditor-disabledMask');
  this.box.appendChild(this.toolBox);
  this.box.appendChild(this.main);
  this.box.appendChild(this.dragBar);
  this.box.appendChild(this.mask);
  this.doc = this.frame.contentDocument || this.frame.contentWindow.document;
  this.doc.open();
  this.doc.write('<!DOCTYPE html><html><head><meta charset="utf-8"><style>body{margin:0;padding:8px 10px;font-family:"Microsoft YaHei",sans-serif;font-size:14px;line-height:1.6;color:#333;word-wrap:break-word;} p{margin:0 0 6px;} img{max-width:100%;} table{border-collapse:collapse;} td,th{border:1px solid #999;padding:3px 6px;min-width:30px;} pre{background:#f6f6f6;padding:6px;white-space:pre-wrap;} a.download{color:#1e88e5;}</style></head><body>' + content + '</body></html>');
  this.doc.close();
  this.doc.designMode = 'on';
  this.win = this.frame.contentWindow;
  var keep = function () { self.saveRange(); };
  this.doc.addEventListener('keyup', keep);
  this.doc.addEventListener('mouseup', keep);
  this.doc.addEventListener('input', function () { self.changed(); });
  this.doc.addEventListener('paste', function (e) { self.onPaste(e); });
  this.doc.addEventListener('click', function () { self.closeMenus(); });
  document.addEventListener('click', function (e) { if (!self.toolBox.contains(e.target)) self.closeMenus(); });
  this.dragBar.addEventListener('mousedown', function (e) { self.startDrag(e); });
}
create() {
  var self = this;
  var old = document.getElementById('_css' + this.time);
  if (old) old.parentNode.removeChild(old);
  if (this.css) {
    var own = this.element('style');
    own.id = '_css' + this.time;
    own.innerHTML = this.css;
    document.head.appendChild(own);
  }
  this.installStyle();
  this.toolBox.innerHTML = '';
  var bar = this.element('ul', 'iceEditor-menu');
  var skip = [].concat(this.notMenu || []);
  for (var i = 0; i < this.menu.length; i++) {
    var name = this.menu[i];
    if (skip.indexOf(name) >= 0) continue;
    if (name == 'line') { bar.appendChild(this.element('li', 'iceEditor-line')); continue; }
    var tool = this.plugins[name] || ice.tools[name];
    if (!tool) continue;
    bar.appendChild(this.toolButton(name, tool));
  }
  this.toolBox.appendChild(bar);
  if (this.maxWindow) {
    var right = this.element('ul', 'iceEditor-menu iceEditor-menuRight');
    var max = this.element('li', 'iceEditor-btn iceEditor-max', this.icon('max'));
    max.title = '最大化';
    var min = this.element('li', 'iceEditor-btn iceEditor-min', this.icon('min'));
    min.title = '还原';
    max.addEventListener('click', function () { self.box.classList.add('iceEditor-maxWindow'); });
    min.addEventListener('click', function () { self.box.classList.remove('iceEditor-maxWindow'); });
    right.appendChild(max);
    right.appendChild(min);
    this.toolBox.appendChild(right);
  }
  this.box.style.width = this.size(this.width);
  this.box.style.height = this.size(this.height);
  this.codeMode(this.code);
  if (this.disabled) this.inputDisabled(); else this.inputEnable();
  return this;
}
installStyle() {
ice.editor.css = this.globalCss || '${style_sheet}';
ice.editor.svg = this.globalIcon || '${icon_set}';
  var sheet = document.getElementById('iceEditor-css');
  if (sheet) sheet.parentNode.removeChild(sheet);
  sheet = this.element('style');
  sheet.id = 'iceEditor-css';
  sheet.innerHTML = ice.editor.css;
  document.head.appendChild(sheet);
  if (!document.getElementById('iceEditor-icon')) {
    var holder = this.element('div', '', ice.editor.svg);
    var svg = holder.firstElementChild || holder;
    svg.id = 'iceEditor-icon';
    svg.setAttribute('style', 'position:absolute;width:0;height:0;overflow:hidden;');
    document.body.insertBefore(svg, document.body.firstChild);
  }
}
size(v) {
  v = String(v);
  return /^\d+(\.\d+)?$/.test(v) ? v + 'px' : v;
}
toolButton(name, tool) {
  var self = this;
  var li = this.element('li', 'iceEditor-btn', this.icon(tool.icon || name));
  li.setAttribute('data-name', name);
  if (tool.title) li.title = tool.title;
  if (tool.id) li.id = tool.id;
  if (tool.style) li.setAttribute('style', tool.style);
  if (tool.css) { var s = this.element('style'); s.innerHTML = tool.css; document.head.appendChild(s); }
  if (tool.menu) li.innerHTML = tool.menu;
  var panel = null;
  var body = typeof tool.dropdown == 'function' ? tool.dropdown.call(this) : tool.dropdown;
  var kind = 'dropdown';
  if (!body) { body = typeof tool.popup == 'function' ? tool.popup.call(this) : tool.popup; kind = 'popup'; }
  if (body) {
    panel = this.element('div', 'iceEditor-' + kind);
    if (typeof body == 'string') panel.innerHTML = body; else panel.appendChild(body);
    panel.addEventListener('click', function (e) { e.stopPropagation(); });
    li.appendChild(panel);
    if (tool.success) tool.success.call(this, panel, li);
  }
  li.addEventListener('click', function (e) {
    if (self.code && name != 'code') return;
    if (panel) {
      if (panel.contains(e.target)) return;
      var open = li.classList.contains('iceEditor-open');
      self.closeMenus();
      if (!open) li.classList.add('iceEditor-open');
      return;
    }
    self.closeMenus();
    if (tool.click) { tool.click.call(self, e, li); return; }
    if (tool.data) { var d = String(tool.data).split('|'); self.exec(d[0], d.length > 1 ? d[1] : null); }
  });
  return li;
}
closeMenus() {
  var open = this.toolBox.querySelectorAll('.iceEditor-open');
  for (var i = 0; i < open.length; i++) open[i].classList.remove('iceEditor-open');
}
saveRange() {
  var sel = this.win.getSelection();
  if (sel && sel.rangeCount) this.range = sel.getRangeAt(0).cloneRange();
}
restoreRange() {
  this.win.focus();
  if (!this.range) return;
  var sel = this.win.getSelection();
  sel.removeAllRanges();
  sel.addRange(this.range);
}
exec(cmd, value) {
  this.restoreRange();
  this.doc.execCommand('styleWithCSS', false, true);
  this.doc.execCommand(cmd, false, value === undefined ? null : value);
  this.saveRange();
  this.changed();
}
changed() {
  this.syncTextarea();
  for (var i = 0; i < this.callbacks.length; i++) this.callbacks[i].call(this, this.getHTML(), this.getText());
}
syncTextarea() {
  if (!this.textarea) return;
  this.textarea.value = this.getHTML().replace(/<pre[^>]*>[\s\S]*?<\/pre>/gi, function (m) { return m.replace(/<br\s*\/?>/gi, '\n'); });
}
getHTML() { return this.code ? this.codeView.value : this.doc.body.innerHTML; }
getText() { return this.code ? this.codeView.value : this.doc.body.innerText; }
getValue() { return this.getHTML(); }
setValue(v) {
  if (this.code) this.codeView.value = v; else this.doc.body.innerHTML = v;
  this.changed();
}
addValue(v) {
  if (this.code) this.codeView.value += v; else this.doc.body.insertAdjacentHTML('beforeend', v);
  this.changed();
}
inputDisabled() {
  this.disabled = 1;
  this.mask.style.display = 'block';
  this.doc.designMode = 'off';
}
inputEnable() {
  this.disabled = 0;
  this.mask.style.display = 'none';
  this.doc.designMode = 'on';
}
inputCallback(fn) { if (typeof fn == 'function') this.callbacks.push(fn); }
plugin(json) {
  if (!json || !json.name) { console.log('plugin：menu参数不能为空'); return; }
  if (this.plugins[json.name] || ice.tools[json.name]) { console.log('plugin：menu已经存在，请重新命名'); return; }
  this.plugins[json.name] = json;
  if (this.menu.indexOf(json.name) < 0) this.menu.push(json.name);
  this.create();
}
setHTML(html, a) {
  if (this.code) { this.codeView.value += html; return; }
  this.restoreRange();
  this.doc.execCommand('insertHTML', false, a ? '<p>' + html + '</p>' : html);
  this.saveRange();
  this.changed();
}
setText(text, a) {
  var div = document.createElement('div');
  div.textContent = text;
  this.setHTML(div.innerHTML, a);
}
getSelectHTML() {
  var sel = this.win.getSelection();
  if (!sel.rangeCount) return '';
  var div = document.createElement('div');
  div.appendChild(sel.getRangeAt(0).cloneContents());
  return div.innerHTML;
}
getSelectText() { return String(this.win.getSelection()); }
codeMode(on) {
  if (on) {
    if (this.codeView.style.display != 'none') return;
    this.codeView.value = this.doc.body.innerHTML;
    this.code = 1;
    this.frame.style.display = 'none';
    this.codeView.style.display = 'block';
    this.toolBox.classList.add('iceEditor-codeMode');
  } else {
    if (this.codeView.style.display != 'none') { this.doc.body.innerHTML = this.codeView.value; }
    this.code = 0;
    this.codeView.style.display = 'none';
    this.frame.style.display = 'block';
    this.toolBox.classList.remove('iceEditor-codeMode');
  }
}
inPre() {
  var sel = this.win.getSelection();
  var node = sel && sel.rangeCount ? sel.getRangeAt(0).startContainer : null;
  for (; node && node != this.doc.body; node = node.parentNode) if (node.nodeName == 'PRE') return true;
  return false;
}
onPaste(e) {
  var data = e.clipboardData;
  if (!data || this.code) return;
  var inPre = this.inPre();
  var items = data.items || [];
  for (var i = 0; i < items.length; i++) {
    if (items[i].kind == 'file' && /^image\//.test(items[i].type)) {
      e.preventDefault();
      if (this.screenshot && !inPre) this.pasteImage(items[i].getAsFile());
      return;
    }
  }
  var text = data.getData('text/plain');
  var html = data.getData('text/html');
  e.preventDefault();
  if (inPre) {
    this.setHTML(this.escape(text).split(/\r\n|\r|\n/).join('<br>'));
  } else if (!this.pasteText && html) {
    this.setHTML(this.cleanWord(html));
  } else {
    var lines = text.split(/\r\n|\r|\n/);
    if (lines.length == 1) this.setHTML(this.escape(text));
    else this.setHTML(lines.map(function (l) { return '<p>' + (l ? this.escape(l) : '<br>') + '</p>'; }, this).join(''));
  }
  this.removeEmpty();
  if (this.imgAutoUpload) this.copyRemoteImages();
  this.changed();
}
escape(s) {
  var div = document.createElement('div');
  div.textContent = s;
  return div.innerHTML;
}
cleanWord(html) {
  var m = /<!--StartFragment-->([\s\S]*)<!--EndFragment-->/.exec(html);
  if (m) html = m[1];
  html = html.replace(/<!--[\s\S]*?-->/g, '').replace(/<(meta|link|style|script|xml|title)[^>]*>[\s\S]*?<\/\1>/gi, '').replace(/<(meta|link)[^>]*>/gi, '');
  html = html.replace(/<\/?\w+:[^>]*>/g, '').replace(/\s(class|style|lang|xmlns(:\w+)?)\s*=\s*("[^"]*"|[^\s>]*)/gi, '');
  return html.replace(/<(\/?)h[1-6][^>]*>/gi, '<$1p>').replace(/<span>([\s\S]*?)<\/span>/gi, '$1');
}
removeEmpty() {
  var nodes = this.doc.body.querySelectorAll('p,span,font,b,i,u,strong,em');
  for (var i = nodes.length - 1; i >= 0; i--) {
    var n = nodes[i];
    if (!n.textContent.replace(/\u00a0|\s/g, '') && !n.querySelector('img,br,hr,table,iframe,audio,video,embed') && n.parentNode) n.parentNode.removeChild(n);
  }
  if (!this.doc.body.innerHTML) this.doc.body.innerHTML = '<p><br></p>';
}
request(json) {
  var self = this;
  var hooks = this.ajax;
  var xhr = new XMLHttpRequest();
  var done = false;
  hooks.xhr(xhr);
  xhr.open('POST', json.url, true);
  xhr.setRequestHeader('X-Requested-With', 'XMLHttpRequest');
  var body = json.data;
  if (body instanceof FormData) {
    body = hooks.formData(body);
  } else if (body && typeof body == 'object') {
    var pairs = [];
    for (var k in body) pairs.push(encodeURIComponent(k) + '=' + encodeURIComponent(body[k]));
    body = pairs.join('&');
    xhr.setRequestHeader('Content-Type', 'application/x-www-form-urlencoded');
  }
  var finish = function () { if (json.complete) json.complete.call(self, xhr); hooks.complete(xhr); };
  var fail = function (msg) { if (done) return; done = true; if (json.error) json.error.call(self, msg, xhr); hooks.error(msg, xhr); finish(); };
  // The request counts as failed before it is aborted: abort() reports a
  // finished request with status 0 at once.
  var timer = setTimeout(function () { if (done) return; hooks.timeout(xhr); fail('网络超时。'); xhr.abort(); }, hooks.uploadTimeout);
  if (xhr.upload) xhr.upload.onprogress = function (e) { hooks.progress(e); if (json.progress) json.progress.call(self, e); };
  xhr.onreadystatechange = function () {
    if (xhr.readyState != 4 || done) return;
    clearTimeout(timer);
    if (xhr.status < 200 || xhr.status >= 300) { fail('上传失败（' + xhr.status + '）'); return; }
    var res = xhr.responseText;
    if (res && String(res).trim()) {
      try { res = JSON.parse(res); } catch (err) { fail('服务器返回的不是有效的JSON：' + String(res).slice(0, 200)); return; }
    }
    done = true;
    res = hooks.success(res);
    if (json.success) json.success.call(self, res, xhr);
    finish();
  };
  xhr.send(body || null);
  return xhr;
}
upload(kind, files, success) {
  var self = this;
  if (!this.uploadUrl) { alert('请配置uploadUrl项'); return; }
  var opts = kind == 'files' ? this.filesUpload : this.imgUpload;
  var fd = new FormData();
  for (var i = 0; i < files.length; i++) fd.append(opts.name, files[i], files[i].name || 'image.png');
  fd = opts.formData(fd);
  var url = this.uploadUrl;
  if (kind != 'paste') url += '?DialogType=' + (kind == 'files' ? 'all' : 'pic') + '&SaveUpFilesPath=/Data_UploadFiles/' + getPathFromUrl();
  this.request({ url: url, data: fd,
    success: function (res) {
      res = opts.success(res);
      var list = [].concat(res || []);
      for (var j = 0; j < list.length; j++) {
        if (list[j] && list[j].error) alert(list[j].error); else if (list[j]) success.call(self, list[j]);
      }
    },
    error: function (msg, xhr) { alert(msg); opts.error(msg, xhr); },
    complete: function (xhr) { opts.complete(xhr); } });
}
pasteImage(file) {
  var self = this;
  if (this.screenshotUpload && this.uploadUrl) {
    this.upload('paste', [file], function (item) { self.setHTML('<img src="' + self.attr(item.url) + '">', true); });
    return;
  }
  var reader = new FileReader();
  reader.onload = function () { self.setHTML('<img src="' + reader.result + '">', true); };
  reader.readAsDataURL(file);
}
attr(s) { return String(s == null ? '' : s).replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;').replace(/>/g, '&gt;'); }
copyRemoteImages() {
  var self = this;
  if (!this.uploadUrl) return;
  var hosts = [location.host].concat(this.imgDomain ? [].concat(this.imgDomain) : []);
  var imgs = this.doc.body.querySelectorAll('img');
  for (var i = 0; i < imgs.length; i++) {
    var img = imgs[i];
    var src = img.getAttribute('src') || '';
    var m = /^(?:https?:)?\/\/([^\/?#]+)/i.exec(src);
    if (!m || hosts.indexOf(m[1]) >= 0 || img.getAttribute('data-ice-copy')) continue;
    img.setAttribute('data-ice-copy', '1');
    (function (img, src) {
      self.request({ url: self.uploadUrl, data: { 'iceEditor-img': src }, success: function (res) {
        var r = Array.isArray(res) ? res[0] : res;
        if (r && r.url && !r.error) { img.src = r.url; self.changed(); }
        img.removeAttribute('data-ice-copy');
      } });
    })(img, src);
  }
}
startDrag(e) {
  var self = this;
  var startY = e.clientY;
  var startH = this.box.offsetHeight;
  var cover = this.element('div', 'iceEditor-dragCover');
  document.body.appendChild(cover);
  var move = function (ev) { self.box.style.height = Math.max(100, startH + ev.clientY - startY) + 'px'; };
  var up = function () { document.removeEventListener('mousemove', move); document.removeEventListener('mouseup', up); cover.parentNode.removeChild(cover); self.height = self.box.style.height; };
  document.addEventListener('mousemove', move);
  document.addEventListener('mouseup', up);
  e.preventDefault();
}
}
return new iceEditor(id,callback);
};
ice.palette = ['#ffffff', '#000000', '#eeece1', '#1f497d', '#4f81bd', '#c0504d', '#9bbb59', '#8064a2', '#4bacc6', '#f79646', '#f2f2f2', '#7f7f7f', '#ddd9c3', '#c6d9f0', '#dbe5f1', '#f2dcdb', '#ebf1dd', '#e5e0ec', '#dbeef3', '#fdeada', '#d8d8d8', '#595959', '#c4bd97', '#8db3e2', '#b8cce4', '#e5b9b7', '#d7e3bc', '#ccc1d9', '#b7dde8', '#fbd5b5', '#bfbfbf', '#3f3f3f', '#938953', '#548dd4', '#95b3d7', '#d99694', '#c3d69b', '#b2a2c7', '#92cddc', '#fac08f', '#a5a5a5', '#262626', '#494429', '#17365d', '#366092', '#953734', '#76923c', '#5f497a', '#31859b', '#e36c09', '#7f7f7f', '#0c0c0c', '#1d1b10', '#0f243e', '#244061', '#632423', '#4f6128', '#3f3151', '#205867', '#974806', '#c00000', '#ff0000', '#ffc000', '#ffff00', '#92d050', '#00b050', '#00b0f0', '#0070c0', '#002060', '#7030a0'];
ice.faces = [{ title: '文字', list: [{ title: '开心', content: '(^_^)' }, { title: '大笑', content: '(^o^)' }, { title: '眨眼', content: '(^_-)' }, { title: '惊讶', content: '(O_O)' }, { title: '难过', content: '(T_T)' }, { title: '生气', content: '(-_-#)' }, { title: '无语', content: '(-_-)' }, { title: '汗', content: '(^_^;)' }, { title: '胜利', content: '(^_^)v' }, { title: '害羞', content: '(*^_^*)' }] }, { title: '符号', list: [{ title: '五角星', content: '★' }, { title: '空心星', content: '☆' }, { title: '圆圈', content: '○' }, { title: '实心圆', content: '●' }, { title: '方块', content: '■' }, { title: '三角', content: '▲' }, { title: '对', content: '√' }, { title: '错', content: '×' }, { title: '右箭头', content: '→' }, { title: '摄氏度', content: '℃' }] }];
ice.video = [{ host: /(^|\.)youku\.com$/, id: /id_([\w=]+)/, player: 'https://player.youku.com/embed/' }, { host: /(^|\.)bilibili\.com$/, id: /\/video\/(BV\w+)/, player: 'https://player.bilibili.com/player.html?bvid=' }, { host: /(^|\.)v\.qq\.com$/, id: /\/(\w+)\.html/, player: 'https://v.qq.com/txp/iframe/player.html?vid=' }];
ice.videoPlayer = function (url) {
  var a = document.createElement('a');
  a.href = url;
  for (var i = 0; i < ice.video.length; i++) {
    var m = ice.video[i].host.test(a.hostname) ? ice.video[i].id.exec(a.pathname + a.search) : null;
    if (m) return ice.video[i].player + encodeURIComponent(m[1]);
  }
  return '';
};
ice.tools = {
  fontSize: { title: '文字大小', icon: 'symbol', dropdown: function () { var h = '<ul class="iceEditor-fontSize">'; for (var i = 1; i <= 7; i++) h += '<li data-size="' + i + '"><font size="' + i + '">' + i + '号</font></li>'; return h + '</ul>'; }, success: function (panel, li) { var self = this; panel.addEventListener('click', function (e) { var t = e.target.closest('[data-size]'); if (!t) return; li.classList.remove('iceEditor-open'); self.exec('fontSize', t.getAttribute('data-size')); }); } },
  backColor: { title: '文字背景颜色', icon: 'format', dropdown: function () { return ice.paletteHtml(this.backColor); }, success: function (panel, li) { ice.paletteClick.call(this, panel, li, 'backColor'); } },
  foreColor: { title: '文字颜色', icon: 'font', dropdown: function () { return ice.paletteHtml(this.foreColor); }, success: function (panel, li) { ice.paletteClick.call(this, panel, li, 'foreColor'); } },
  bold: { title: '加粗', data: 'bold' },
  italic: { title: '倾斜', data: 'italic' },
  underline: { title: '下划线', data: 'underline' },
  strikeThrough: { title: '删除线', icon: 'strike', click: function () { ice.strike.call(this); } },
  justifyLeft: { title: '左对齐', icon: 'alignleft', data: 'justifyLeft' },
  justifyCenter: { title: '居中对齐', icon: 'aligncenter', data: 'justifyCenter' },
  justifyRight: { title: '右对齐', icon: 'alignright', data: 'justifyRight' },
  indent: { title: '缩进', data: 'indent' },
  outdent: { title: '取消缩进', data: 'outdent' },
  insertOrderedList: { title: '有序列表', icon: 'orderedlist', data: 'insertOrderedList' },
  insertUnorderedList: { title: '无序列表', icon: 'unorderedlist', data: 'insertUnorderedList' },
  subscript: { title: '下标', data: 'subscript' },
  superscript: { title: '上标', data: 'superscript' },
  createLink: { title: '添加链接', icon: 'link', popup: '<div class="iceEditor-popupTitle">添加链接</div><label>地址 <input type="text" class="iceEditor-linkUrl" placeholder="http://"></label><label>文字 <input type="text" class="iceEditor-linkText"></label><label><input type="checkbox" class="iceEditor-linkBlank" checked> 新窗口打开</label><div class="iceEditor-popupBtn"><button type="button" class="iceEditor-ok">确定</button></div>', success: function (panel, li) { var self = this; panel.querySelector('.iceEditor-ok').addEventListener('click', function () { var url = panel.querySelector('.iceEditor-linkUrl').value.trim(); if (!url) return; var text = panel.querySelector('.iceEditor-linkText').value || self.getSelectText() || url; var blank = panel.querySelector('.iceEditor-linkBlank').checked ? ' target="_blank"' : ''; li.classList.remove('iceEditor-open'); self.setHTML('<a href="' + self.attr(url) + '"' + blank + '>' + self.escape(text) + '</a>'); }); } },
  unlink: { title: '取消链接', data: 'unlink' },
  hr: { title: '添加水平线', icon: 'tab', data: 'insertHorizontalRule' },
  removeFormat: { title: '清除格式', icon: 'remove', data: 'removeFormat' },
  paste: { title: '富文本粘贴', icon: 'word', click: function (e, li) { this.pasteText = this.pasteText ? 0 : 1; li.classList.toggle('iceEditor-active', !this.pasteText); } },
  selectAll: { title: '全选', icon: 'dir', data: 'selectAll' },
  code: { title: '查看源码', click: function (e, li) { this.codeMode(!this.code); li.classList.toggle('iceEditor-active', !!this.code); this.changed(); } },
  face: { title: '插入表情', dropdown: function () { var h = '<div class="iceEditor-face">'; for (var g = 0; g < this.face.length; g++) { h += '<div class="iceEditor-faceTitle">' + this.face[g].title + '</div><ul>'; for (var i = 0; i < this.face[g].list.length; i++) { var f = this.face[g].list[i]; h += '<li title="' + this.attr(f.title) + '" data-face="' + this.attr(f.content) + '">' + this.escape(f.content) + '</li>'; } h += '</ul>'; } return h + '</div>'; }, success: function (panel, li) { var self = this; panel.addEventListener('click', function (e) { var t = e.target.closest('[data-face]'); if (!t) return; li.classList.remove('iceEditor-open'); self.setText(t.getAttribute('data-face')); }); } },
  table: { title: '表格', dropdown: function () { var h = '<div class="iceEditor-tableBox"><table class="iceEditor-tablePicker">'; for (var r = 1; r <= 10; r++) { h += '<tr>'; for (var c = 1; c <= 10; c++) h += '<td data-row="' + r + '" data-col="' + c + '"></td>'; h += '</tr>'; } return h + '</table><div class="iceEditor-tableSize">0 × 0</div></div>'; }, success: function (panel, li) { var self = this; var size = panel.querySelector('.iceEditor-tableSize'); panel.addEventListener('mouseover', function (e) { var t = e.target.closest('[data-row]'); if (!t) return; var r = +t.getAttribute('data-row'), c = +t.getAttribute('data-col'); var cells = panel.querySelectorAll('[data-row]'); for (var i = 0; i < cells.length; i++) cells[i].classList.toggle('iceEditor-on', +cells[i].getAttribute('data-row') <= r && +cells[i].getAttribute('data-col') <= c); size.textContent = r + ' × ' + c; }); panel.addEventListener('click', function (e) { var t = e.target.closest('[data-row]'); if (!t) return; li.classList.remove('iceEditor-open'); var r = +t.getAttribute('data-row'), c = +t.getAttribute('data-col'); var h = '<table style="width:100%"><tbody>'; for (var i = 0; i < r; i++) { h += '<tr>'; for (var j = 0; j < c; j++) h += '<td><br></td>'; h += '</tr>'; } self.setHTML(h + '</tbody></table><p><br></p>'); }); } },
  music: { title: '添加音乐', popup: '<div class="iceEditor-popupTitle">添加音乐</div><label>地址 <input type="text" class="iceEditor-musicUrl"></label><div class="iceEditor-popupBtn"><button type="button" class="iceEditor-ok">确定</button></div>', success: function (panel, li) { var self = this; panel.querySelector('.iceEditor-ok').addEventListener('click', function () { var url = panel.querySelector('.iceEditor-musicUrl').value.trim(); if (!url) return; li.classList.remove('iceEditor-open'); self.setHTML('<audio controls src="' + self.attr(url) + '"></audio>', true); }); } },
  video: { title: '添加视频', popup: '<div class="iceEditor-popupTitle">添加视频</div><label>地址 <input type="text" class="iceEditor-videoUrl"></label><label>宽 <input type="text" class="iceEditor-videoWidth" value="510"></label><label>高 <input type="text" class="iceEditor-videoHeight" value="498"></label><div class="iceEditor-popupBtn"><button type="button" class="iceEditor-ok">确定</button></div>', success: function (panel, li) { var self = this; panel.querySelector('.iceEditor-ok').addEventListener('click', function () { var url = panel.querySelector('.iceEditor-videoUrl').value.trim(); if (!url) { alert('视频地址不能为空'); return; } var player = ice.videoPlayer(url); if (!player) { alert('抱歉，无法处理该链接！'); return; } var w = parseInt(panel.querySelector('.iceEditor-videoWidth').value, 10) || 510; var h = parseInt(panel.querySelector('.iceEditor-videoHeight').value, 10) || 498; li.classList.remove('iceEditor-open'); self.setHTML('<iframe src="' + self.attr(player) + '" width="' + w + '" height="' + h + '" frameborder="0" allowfullscreen></iframe>', true); }); } },
  files: { title: '附件上传', popup: function () { return '<div class="iceEditor-popupTitle">附件上传</div><label class="iceEditor-uploadBtn">选择文件<input type="file" multiple class="iceEditor-uploadFile" id="_files' + this.time + '"></label>'; }, success: function (panel, li) { var self = this; var input = panel.querySelector('input[type=file]'); input.addEventListener('change', function () { if (!input.files.length) return; var files = Array.prototype.slice.call(input.files); input.value = ''; li.classList.remove('iceEditor-open'); self.upload('files', files, function (item) { self.setHTML('<a class="download" href="' + self.attr(item.url) + '" target="_blank">' + self.escape(item.name || item.url) + '</a><br>'); }); }); } },
  insertImage: { title: '添加图片', icon: 'pic', popup: function () { return '<div class="iceEditor-popupTitle">添加图片</div><label>地址 <input type="text" class="iceEditor-imgUrl"></label><label>宽 <input type="text" class="iceEditor-imgWidth"></label><label>高 <input type="text" class="iceEditor-imgHeight"></label><div class="iceEditor-popupBtn"><label class="iceEditor-uploadBtn">上传图片<input type="file" accept="image/*" multiple class="iceEditor-uploadFile" id="_image' + this.time + '"></label><button type="button" class="iceEditor-ok">确定</button></div>'; }, success: function (panel, li) { var self = this; var size = function () { var w = parseInt(panel.querySelector('.iceEditor-imgWidth').value, 10), h = parseInt(panel.querySelector('.iceEditor-imgHeight').value, 10); return (w > 0 ? ' width="' + w + '"' : '') + (h > 0 ? ' height="' + h + '"' : ''); }; panel.querySelector('.iceEditor-ok').addEventListener('click', function () { var url = panel.querySelector('.iceEditor-imgUrl').value.trim(); if (!url) return; li.classList.remove('iceEditor-open'); self.setHTML('<img src="' + self.attr(url) + '"' + size() + '>'); }); var input = panel.querySelector('input[type=file]'); input.addEventListener('change', function () { if (!input.files.length) return; var files = Array.prototype.slice.call(input.files); var dims = size(); input.value = ''; li.classList.remove('iceEditor-open'); self.upload('pic', files, function (item) { self.setHTML('<img src="' + self.attr(item.url) + '"' + dims + '>'); }); }); } }
};
ice.paletteHtml = function (colors) {
  var h = '<div class="iceEditor-palette">';
  for (var i = 0; i < colors.length; i++) h += '<span style="background:' + colors[i] + '" title="' + colors[i] + '" data-color="' + colors[i] + '"></span>';
  return h + '</div>';
};
ice.paletteClick = function (panel, li, cmd) {
  var self = this;
  panel.addEventListener('click', function (e) { var t = e.target.closest('[data-color]'); if (!t) return; li.classList.remove('iceEditor-open'); self.exec(cmd, t.getAttribute('data-color')); });
};
ice.strike = function () {
  this.restoreRange();
  var sel = this.win.getSelection();
  if (!sel.rangeCount) return;
  var range = sel.getRangeAt(0);
  for (var n = range.commonAncestorContainer; n && n != this.doc.body; n = n.parentNode) {
    if (n.nodeType == 1 && n.nodeName == 'SPAN' && /line-through/.test(n.style.textDecoration)) {
      while (n.firstChild) n.parentNode.insertBefore(n.firstChild, n);
      n.parentNode.removeChild(n);
      this.changed();
      return;
    }
  }
  if (range.collapsed) return;
  var span = this.doc.createElement('span');
  span.style.textDecoration = 'line-through';
  span.appendChild(range.extractContents());
  range.insertNode(span);
  range.selectNodeContents(span);
  sel.removeAllRanges();
  sel.addRange(range);
  this.saveRange();
  this.changed();
};
function getPathFromUrl() {
  var parts = location.pathname.split('/');
  return parts.length > 2 ? parts[parts.length - 2] : '';
}

// Client functions of the meet's pages and of the component's markup.

// ShowAjax(id, url): loads url and puts its HTML into the element id
// (the age-and-event selector loads the sub-events of a combined event so).
function ShowAjax(id, url) {
  var box = document.getElementById(id);
  if (!box) return;
  var xhr = new XMLHttpRequest();
  xhr.open('GET', url + (url.indexOf('?') < 0 ? '?' : '&') + '_=' + new Date().getTime(), true);
  xhr.onreadystatechange = function () {
    if (xhr.readyState !== 4) return;
    box.innerHTML = xhr.status === 200 ? xhr.responseText : '';
  };
  xhr.send(null);
}

// Image rollovers, for pages that show the buttons without the component's
// own copy of these functions.
if (typeof OrvelSwapImage !== 'function') {
  var OrvelSwapped = [];
  window.OrvelFindObject = function (n, d) {
    d = d || document;
    return d.getElementsByName(n)[0] || d.getElementById(n) || (d.images && d.images[n]) || null;
  };
  window.OrvelSwapImage = function () {
    for (var i = 0; i + 2 < arguments.length; i += 3) {
      var img = OrvelFindObject(arguments[i]);
      if (!img) continue;
      if (!img.orvelOriginal) { img.orvelOriginal = img.src; OrvelSwapped.push(img); }
      img.src = arguments[i + 2];
    }
  };
  window.OrvelSwapImgRestore = function () {
    for (var i = 0; i < OrvelSwapped.length; i++) OrvelSwapped[i].src = OrvelSwapped[i].orvelOriginal;
  };
  window.OrvelPreloadImages = function () {
    for (var i = 0; i < arguments.length; i++) {
      if (String(arguments[i]).charAt(0) === '#') continue;
      new Image().src = arguments[i];
    }
  };
}

// OrvelScriptScrollWindow(): back to the top of the page.
function OrvelScriptScrollWindow() { window.scrollTo(0, 0); }

// The result query's selectors post themselves when one of them changes.
function ArenixSubmitOnChange(form) {
  var selects = form.getElementsByTagName('select');
  for (var i = 0; i < selects.length; i++) {
    if (!selects[i].onchange) selects[i].onchange = function () { form.submit(); };
  }
}

// Live results: the element marked data-live-topic follows its topic's
// event stream; when the topic changes, each part marked data-live-part (by
// its id) is replaced by the same part of a fresh copy of the page
// (data-live-src), in place: the rest of the page, the reader's scroll
// position and unchanged parts stay as they are. A
// stream that was lost catches up when it is back. Without script (or
// without EventSource) the page is a plain page that the reader reloads.
(function () {
  if (typeof window.EventSource !== 'function' || typeof window.fetch !== 'function') return;
  function two(n) { return (n < 10 ? '0' : '') + n; }
  function clock(ms) {
    var d = new Date(ms);
    return two(d.getHours()) + ':' + two(d.getMinutes()) + ':' + two(d.getSeconds());
  }
  function start() {
    var box = document.querySelector('[data-live-topic]');
    if (!box) return;
    var topic = box.getAttribute('data-live-topic');
    var src = box.getAttribute('data-live-src');
    var stream = (box.getAttribute('data-live-root') || '') + 'live?topic=' + encodeURIComponent(topic);
    var stamp = document.querySelector('.live-stamp');
    var seen = parseInt(box.getAttribute('data-rendered'), 10) || 0;
    var loading = false, pending = 0, lost = false;
    var live = window.arenixLive = { topic: topic, updates: 0, checks: 0, connected: false };

    function show(at) {
      live.updatedAt = at;
      if (!stamp) return;
      stamp.textContent = '已更新 ' + clock(at);
      stamp.hidden = false;
    }
    // Fetches the page without the reader's cookies (so that every reader
    // shares the server's kept copy) and swaps the block when it changed.
    function refresh(at) {
      if (loading) { pending = at || Date.now(); return; }
      loading = true;
      live.checks++;
      fetch(src, { credentials: 'omit', cache: 'no-store' }).then(function (res) {
        if (res.status !== 200) throw new Error('status ' + res.status);
        var type = res.headers.get('Content-Type') || '', m = /charset=([\w-]+)/i.exec(type);
        return res.arrayBuffer().then(function (bytes) {
          return new TextDecoder(m ? m[1] : 'gbk').decode(bytes);
        });
      }).then(function (html) {
        var doc = new DOMParser().parseFromString(html, 'text/html');
        var parts = document.querySelectorAll('[data-live-part]'), x = window.scrollX, y = window.scrollY, changed = false;
        for (var i = 0; i < parts.length; i++) {
          var fresh = parts[i].id ? doc.getElementById(parts[i].id) : null;
          if (fresh && fresh.innerHTML !== parts[i].innerHTML) {
            parts[i].innerHTML = fresh.innerHTML;
            changed = true;
          }
        }
        if (changed) {
          window.scrollTo(x, y);
          live.updates++;
        }
        show(at || Date.now());
      }).catch(function () {
        // The next change or reconnect tries again.
      }).then(function () {
        loading = false;
        if (pending) { var next = pending; pending = 0; refresh(next); }
      });
    }
    function connect() {
      var es = new EventSource(stream);
      es.addEventListener('open', function () {
        live.connected = true;
        if (lost) { lost = false; refresh(Date.now()); }
      });
      es.addEventListener('hello', function (e) {
        var d = JSON.parse(e.data);
        if (d.topic_changed > seen) { seen = d.topic_changed; refresh(d.topic_changed); }
      });
      es.addEventListener('change', function (e) {
        var d = JSON.parse(e.data);
        seen = Math.max(seen, d.at);
        refresh(d.at);
      });
      es.addEventListener('error', function () {
        live.connected = false;
        lost = true;
        // A refused stream (too many from this address) is not retried by
        // the browser: try again later.
        if (es.readyState === EventSource.CLOSED) setTimeout(connect, 15000);
      });
      live.source = es;
    }
    // For tests and a page's own controls: drop the stream, or open it anew.
    live.drop = function () { if (live.source) live.source.close(); live.connected = false; lost = true; };
    live.reconnect = function () { live.drop(); connect(); };
    connect();
  }
  if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
  else start();
})();

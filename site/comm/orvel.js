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

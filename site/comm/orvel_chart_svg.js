/*
 * Redraws the vector-markup (VML) charts of a page as inline SVG, for
 * browsers that no longer draw VML. Include it once after the charts:
 *   <script src="../comm/orvel_chart_svg.js"></script>
 * It reads the markup as the browser's HTML parser left it: unknown v:* and
 * o:* elements (a "/>" does not close them, so later elements end up nested
 * inside), and the parts inside <!--[if gte vml 1]> ... <![endif]-->
 * comments, which it parses again. Every shape becomes one SVG element
 * marked with data-kind (bar, rect, line, oval, marker, slice, text, curve)
 * in one absolutely positioned SVG layer; the VML itself is hidden. The
 * legend rows of the curve chart keep working: hovering and clicking them
 * run the page's own handlers, and the SVG follows what they show and hide.
 */
(function () {
  'use strict';
  var SVG = 'http://www.w3.org/2000/svg';
  var SHAPES = ['v:rect', 'v:line', 'v:oval', 'v:shape'];
  var DASHES = {
    '1 1': '2,2', dash: '6,3', dashdot: '6,3,2,3', longdash: '12,4', longdashdot: '12,4,2,4',
    longdashdotdot: '12,4,2,4,2,4', dot: '2,3', shortdot: '1,2'
  };
  var gradientCount = 0;

  function tag(el) { return el.localName ? el.localName.toLowerCase() : ''; }
  function isShape(el) { return SHAPES.indexOf(tag(el)) >= 0; }

  /* Style text "left:10px;top:20px;WIDTH:300px" as a map of lower-case names. */
  function styleMap(el) {
    var map = {};
    (el.getAttribute('style') || '').split(';').forEach(function (part) {
      var at = part.indexOf(':');
      if (at > 0) map[part.slice(0, at).trim().toLowerCase()] = part.slice(at + 1).trim();
    });
    return map;
  }
  function num(text) { var n = parseFloat(text); return isNaN(n) ? 0 : n; }
  function pair(text) { var p = String(text || '0,0').split(','); return [num(p[0]), num(p[1])]; }
  function points(text) { return /pt$/i.test(String(text)) ? num(text) * 4 / 3 : num(text); }

  /* The elements that belong to a shape itself: its descendants whose
     nearest enclosing shape is this one (unclosed "/>" elements nest). */
  function own(el, name) {
    var found = [];
    var all = el.getElementsByTagName('*');
    for (var i = 0; i < all.length; i++) {
      if (tag(all[i]) != name) continue;
      var up = all[i].parentNode;
      while (up && up != el && !isShape(up)) up = up.parentNode;
      if (up == el) found.push(all[i]);
    }
    return found;
  }

  /* Coordinates of a shape: page pixels, or the group's coordinate space
     mapped onto the group's box. */
  function space(el) {
    var group = el.parentNode;
    while (group && tag(group) != 'v:group') group = group.parentNode;
    if (!group) return { x: function (v) { return v; }, y: function (v) { return v; }, sx: 1, sy: 1 };
    var s = styleMap(group), size = pair(group.getAttribute('coordsize') || '1000,1000');
    var left = num(s.left), top = num(s.top), sx = num(s.width) / size[0], sy = num(s.height) / size[1];
    return { x: function (v) { return left + v * sx; }, y: function (v) { return top + v * sy; }, sx: sx, sy: sy };
  }

  function make(name, attrs, kind, source) {
    var node = document.createElementNS(SVG, name);
    for (var k in attrs) if (attrs[k] !== undefined && attrs[k] !== null) node.setAttribute(k, attrs[k]);
    if (kind) node.setAttribute('data-kind', kind);
    if (source) links.push([source, node]);
    return node;
  }

  function fillOf(el, defs) {
    if (el.getAttribute('filled') == 'f' || el.getAttribute('filled') == 'false') return 'none';
    var colour = el.getAttribute('fillcolor') || '#ffffff';
    var fill = own(el, 'v:fill')[0];
    var second = fill && fill.getAttribute('color2');
    if (!fill || fill.getAttribute('type') != 'gradient' || !second || /^fill/.test(second)) return colour;
    var angle = num(fill.getAttribute('angle')) * Math.PI / 180;
    var id = 'orvel-gradient-' + (++gradientCount);
    var g = make('linearGradient', {
      id: id, x1: 0.5 - Math.sin(angle) / 2, y1: 0.5 - Math.cos(angle) / 2,
      x2: 0.5 + Math.sin(angle) / 2, y2: 0.5 + Math.cos(angle) / 2
    });
    g.appendChild(make('stop', { offset: 0, 'stop-color': colour }));
    g.appendChild(make('stop', { offset: 1, 'stop-color': second }));
    defs.appendChild(g);
    return 'url(#' + id + ')';
  }

  function strokeOf(el, attrs) {
    if (el.getAttribute('stroked') == 'f' || el.getAttribute('stroked') == 'false') {
      attrs.stroke = 'none';
      return attrs;
    }
    attrs.stroke = el.getAttribute('strokecolor') || '#000000';
    attrs['stroke-width'] = Math.max(1, points(el.getAttribute('strokeweight') || '0.75pt'));
    var stroke = own(el, 'v:stroke')[0];
    var dash = stroke && DASHES[String(stroke.getAttribute('dashstyle') || '').toLowerCase()];
    if (dash) attrs['stroke-dasharray'] = dash;
    return attrs;
  }

  /* The text a shape shows (its first cell, or its text box) and how. */
  function textOf(el) {
    var cell = el.querySelector('td') || el.querySelector('div');
    if (!cell) return null;
    var align = (cell.getAttribute('align') || 'left').toLowerCase();
    return { text: cell.textContent.replace(/\s+/g, ' ').trim(), align: align, bold: !!cell.querySelector('b') };
  }

  function drawText(layer, box, info, source) {
    if (!info || !info.text) return;
    var x = info.align == 'right' ? box.x + box.w - 3 : info.align == 'center' ? box.x + box.w / 2 : box.x + 3;
    var node = make('text', {
      x: x, y: box.y + Math.min(box.h, 24) / 2, 'dominant-baseline': 'central', 'font-size': info.bold ? 20 : 12,
      'font-weight': info.bold ? 'bold' : null,
      'text-anchor': info.align == 'right' ? 'end' : info.align == 'center' ? 'middle' : 'start'
    }, 'text', source);
    node.textContent = info.text;
    layer.appendChild(node);
  }

  /* "m750,700ae750,700,750,700,start,sweep xe": a slice, angles in
     1/65536 degree counter-clockwise from three o'clock. */
  function slice(el, box, layer, defs) {
    var m = /ae\s*(-?\d+),(-?\d+),(-?\d+),(-?\d+),(-?\d+),(-?\d+)/.exec(el.getAttribute('path') || '');
    if (!m) return false;
    var size = pair(el.getAttribute('coordsize') || '21600,21600');
    var kx = box.w / size[0], ky = box.h / size[1];
    var cx = box.x + num(m[1]) * kx, cy = box.y + num(m[2]) * ky, rx = num(m[3]) * kx, ry = num(m[4]) * ky;
    var a0 = num(m[5]) / 65536 * Math.PI / 180, sweep = num(m[6]) / 65536 * Math.PI / 180, a1 = a0 + sweep;
    var attrs = strokeOf(el, { fill: fillOf(el, defs) });
    var node;
    if (Math.abs(sweep) >= 2 * Math.PI - 1e-9) {
      attrs.cx = cx; attrs.cy = cy; attrs.rx = rx; attrs.ry = ry;
      node = make('ellipse', attrs, 'slice', el);
    } else {
      attrs.d = 'M' + cx + ',' + cy + ' L' + (cx + rx * Math.cos(a0)) + ',' + (cy - ry * Math.sin(a0)) +
        ' A' + rx + ',' + ry + ' 0 ' + (Math.abs(sweep) > Math.PI ? 1 : 0) + ' ' + (sweep > 0 ? 0 : 1) + ' ' +
        (cx + rx * Math.cos(a1)) + ',' + (cy - ry * Math.sin(a1)) + ' Z';
      node = make('path', attrs, 'slice', el);
    }
    layer.appendChild(node);
    return true;
  }

  function draw(el, layer, defs) {
    var name = tag(el), s = styleMap(el), map = space(el);
    if (name == 'v:line') {
      var from = pair(el.getAttribute('from')), to = pair(el.getAttribute('to'));
      var attrs = strokeOf(el, {
        x1: map.x(from[0]), y1: map.y(from[1]), x2: map.x(to[0]), y2: map.y(to[1])
      });
      var curve = own(el, 'o:extrusion').length > 0;
      if (curve) attrs['stroke-width'] = 2.5;
      layer.appendChild(make('line', attrs, curve ? 'curve' : 'line', el));
      return;
    }
    var box = {
      x: map.x(num(s.left)), y: map.y(num(s.top)), w: num(s.width) * map.sx, h: num(s.height) * map.sy
    };
    if (name == 'v:shape') {
      if ((el.getAttribute('type') || '') == '#_x0000_t202') drawText(layer, box, textOf(el), el);
      else slice(el, box, layer, defs);
      return;
    }
    var small = box.w <= 4 && box.h <= 4;
    var kind = own(el, 'o:extrusion').length ? 'bar' : small ? 'marker' : name == 'v:oval' ? 'oval' : 'rect';
    var shape = strokeOf(el, { fill: fillOf(el, defs) });
    if (name == 'v:oval') {
      shape.cx = box.x + box.w / 2; shape.cy = box.y + box.h / 2; shape.rx = box.w / 2; shape.ry = box.h / 2;
      layer.appendChild(make('ellipse', shape, kind, el));
    } else {
      /* A bar of negative height grows downwards from where it starts. */
      shape.x = Math.min(box.x, box.x + box.w); shape.y = Math.min(box.y, box.y + box.h);
      shape.width = Math.abs(box.w); shape.height = Math.abs(box.h);
      layer.appendChild(make('rect', shape, kind, el));
    }
    var label = own(el, 'v:textbox')[0];
    if (label) drawText(layer, box, textOf(label), el);
  }

  /* Shapes hidden by the page (the curve chart's other series and legend
     highlights) stay hidden in SVG, and follow the page's handlers. */
  var links = [];
  function hiddenByPage(el) {
    for (var up = el; up && up.nodeType == 1; up = up.parentNode)
      if (up.style && up.style.display == 'none') return true;
    return false;
  }
  function follow() {
    links.forEach(function (link) { link[1].style.display = hiddenByPage(link[0]) ? 'none' : ''; });
  }

  function render() {
    var holder = document.createElement('div');
    var conditional = [];
    var walker = document.createTreeWalker(document.body || document.documentElement, NodeFilter.SHOW_COMMENT);
    while (walker.nextNode()) {
      var m = /^\[if gte vml 1\]>([\s\S]*)<!\[endif\]$/.exec(walker.currentNode.data);
      if (m) conditional.push(m[1]);
    }
    holder.innerHTML = conditional.join('');
    holder.hidden = true;
    (document.body || document.documentElement).appendChild(holder);

    var svg = make('svg', { class: 'orvel-chart-svg' });
    svg.setAttribute('style', 'position:absolute;left:0;top:0;pointer-events:none;overflow:visible;z-index:0');
    var defs = make('defs');
    svg.appendChild(defs);
    var layer = make('g', { 'font-family': 'sans-serif' });
    svg.appendChild(layer);

    var all = document.getElementsByTagName('*'), shapes = [];
    for (var i = 0; i < all.length; i++) if (isShape(all[i]) && !svg.contains(all[i])) shapes.push(all[i]);
    /* Backgrounds (z-index -1) first, then the rest in page order. */
    shapes.sort(function (a, b) { return (num(styleMap(a)['z-index']) < 0 ? 0 : 1) - (num(styleMap(b)['z-index']) < 0 ? 0 : 1); });
    shapes.forEach(function (el) { draw(el, layer, defs); });
    (document.body || document.documentElement).appendChild(svg);
    var bounds = layer.getBBox();
    svg.setAttribute('width', Math.ceil(bounds.x + bounds.width + 10));
    svg.setAttribute('height', Math.ceil(bounds.y + bounds.height + 10));

    /* Legend rows of the curve chart: the page's own handlers, reached
       through transparent boxes over the drawn rows. */
    var rows = document.querySelectorAll('div[onmouseover^="moveon("]');
    Array.prototype.forEach.call(rows, function (row) {
      var box = own(row, 'v:rect')[0] || row.getElementsByTagName('v:rect')[0];
      if (!box) return;
      var map = space(box), s = styleMap(box);
      var hit = make('rect', {
        x: map.x(num(s.left)), y: map.y(num(s.top)), width: num(s.width) * map.sx, height: num(s.height) * map.sy,
        fill: 'transparent'
      }, 'legend');
      hit.style.pointerEvents = 'all';
      hit.style.cursor = 'pointer';
      ['mouseover', 'mouseout', 'click'].forEach(function (type) {
        hit.addEventListener(type, function () {
          row.dispatchEvent(new MouseEvent(type, { bubbles: false }));
          follow();
        });
      });
      layer.appendChild(hit);
    });

    var hide = document.createElement('style');
    hide.textContent = 'v\\:rect, v\\:line, v\\:oval, v\\:shape, v\\:group, v\\:shadow, v\\:textbox ' +
      '{ display: none !important; } div[onmouseover^="moveon("] { display: none !important; }';
    document.head.appendChild(hide);
    follow();
  }

  if (document.readyState == 'loading') document.addEventListener('DOMContentLoaded', render);
  else render();
})();

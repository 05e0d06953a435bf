(function () {
  'use strict';
  const data = JSON.parse(document.getElementById('report-data').textContent);
  const $ = (id) => document.getElementById(id);
  const bands = $('bands');
  const plan = $('plan');
  const planRoot = $('plan-root');
  const tip = $('tip');
  const readout = $('readout');
  const svgNS = bands.namespaceURI;
  let dragging = null;  // the view being dragged, with where the drag began

  // ---- Values along the route ----
  function lastAtOrBefore(pairs, m) {  // pairs: from, value, from, value, ...
    let lo = 0, hi = pairs.length / 2 - 1, found = -1;
    while (lo <= hi) {
      const mid = (lo + hi) >> 1;
      if (pairs[2 * mid] <= m) { found = mid; lo = mid + 1; } else { hi = mid - 1; }
    }
    return found;
  }
  function runValue(pairs, m) {
    const i = lastAtOrBefore(pairs, m);
    return i < 0 ? null : pairs[2 * i + 1];
  }
  function lineValue(pairs, m) {  // metre, value, ...: straight between the points
    const i = lastAtOrBefore(pairs, m);
    if (i < 0 || m > pairs[pairs.length - 2]) return null;
    if (2 * i + 2 >= pairs.length) return pairs[2 * i + 1];
    const t = (m - pairs[2 * i]) / (pairs[2 * i + 2] - pairs[2 * i]);
    return pairs[2 * i + 1] + (pairs[2 * i + 3] - pairs[2 * i + 1]) * t;
  }
  function elevation(m) {
    const e = data.elevation;
    const i = lastAtOrBefore(e, m);
    if (i < 0) return e.length ? e[1] / 1000 : 0;
    if (2 * i + 2 >= e.length) return e[2 * i + 1] / 1000;
    const t = (m - e[2 * i]) / (e[2 * i + 2] - e[2 * i]);
    return (e[2 * i + 1] + (e[2 * i + 3] - e[2 * i + 1]) * t) / 1000;
  }
  function chainage(m) {
    const c = data.chainage;
    let i = 0;
    for (let j = 0; j < c.length; j += 3) if (c[j] <= m) i = j;
    return c[i + 1] + c[i + 2] * (m - c[i]);
  }
  function chainageText(v) {
    const a = Math.abs(Math.round(v));
    return (v < 0 ? '-' : '') + Math.floor(a / 1000) + '+' + String(a % 1000).padStart(3, '0');
  }
  function describe(m) {
    m = Math.round(m);
    const parts = [m + ' m', 'km ' + chainageText(chainage(m))];
    const v = runValue(data.limit, m), g = runValue(data.gradient, m), a = runValue(data.adhesion, m);
    if (v !== null) parts.push('speed limit ' + v + ' km/h');
    if (g !== null) parts.push('gradient ' + g + ' \u2030');
    parts.push('elevation ' + elevation(m).toFixed(1) + ' m');
    if (a !== null) parts.push('adhesion ' + a);
    const runSpeed = lineValue(data.runSpeed, m), runTime = lineValue(data.runTime, m);
    if (runSpeed !== null && runTime !== null) {
      parts.push('fastest run ' + Math.round(runSpeed) + ' km/h at ' + clockText(runTime) +
                 ' from the start');
    }
    return parts.join(' \u00b7 ');
  }
  function clockText(seconds) {
    const s = Math.round(seconds);
    return Math.floor(s / 3600) + ':' + String(Math.floor(s / 60) % 60).padStart(2, '0') + ':' +
           String(s % 60).padStart(2, '0');
  }

  // ---- Tooltips: every <title> of the drawings becomes a styled tooltip ----
  for (const t of Array.from(document.querySelectorAll('svg title'))) {
    t.parentNode.setAttribute('data-tip', t.textContent);
    t.remove();
  }
  function showTip(text, x, y) {
    const lines = text.split('\n');
    tip.textContent = '';
    const head = document.createElement('b');
    head.textContent = lines[0];
    tip.appendChild(head);
    tip.appendChild(document.createTextNode(lines.slice(1).join('\n')));
    tip.hidden = false;
    const r = tip.getBoundingClientRect();
    const left = x + 16 + r.width > window.innerWidth ? x - 12 - r.width : x + 16;
    const top = y + 16 + r.height > window.innerHeight ? y - 12 - r.height : y + 16;
    tip.style.left = Math.max(4, left) + 'px';
    tip.style.top = Math.max(4, top) + 'px';
  }
  document.addEventListener('pointermove', (e) => {
    const el = e.target.closest && e.target.closest('[data-tip]');
    if (el && !dragging) showTip(el.getAttribute('data-tip'), e.clientX, e.clientY);
    else tip.hidden = true;
  });
  document.addEventListener('pointerleave', () => { tip.hidden = true; });

  // ---- Profile bands: one axis of route metres ----
  const left = +bands.dataset.left, right = +bands.dataset.right, pad = +bands.dataset.padding;
  const height = bands.viewBox.baseVal.height;
  const scaled = $('scaled');
  const placed = scaled ? Array.from($('placed').children) : [];
  const fitted = placed.filter((el) => el.hasAttribute('data-w'));
  const laneLabels = {};
  for (const el of placed) {
    const label = el.querySelector('.lbl');
    if (!label) continue;
    const lane = el.classList.contains('stn') ? 'stations' : el.getAttribute('data-k');
    (laneLabels[lane] = laneLabels[lane] || []).push(label);
  }
  let width = 1200;
  let view = { a: data.first, b: data.last };
  const full = () => ({ a: data.first, b: data.last });
  const plotWidth = () => width - left - right;
  const scale = () => (plotWidth() - 2 * pad) / (view.b - view.a);
  const xOf = (m) => left + pad + (m - view.a) * scale();
  const mOf = (x) => view.a + (x - left - pad) / scale();
  const minSpan = Math.min(1000, data.last - data.first);

  function clampView(a, b) {
    let span = Math.min(Math.max(b - a, minSpan), data.last - data.first);
    a = Math.max(data.first, Math.min(a, data.last - span));
    return { a: a, b: a + span };
  }
  function niceStep(raw, steps) {
    for (const s of steps) if (s >= raw) return s;
    return steps[steps.length - 1];
  }
  function svg(name, attrs, text) {
    const el = document.createElementNS(svgNS, name);
    for (const k in attrs) el.setAttribute(k, attrs[k]);
    if (text !== undefined) el.textContent = text;
    return el;
  }
  function drawAxis() {
    const axis = $('axis');
    axis.textContent = '';
    const step = niceStep(90 / scale(), [50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000,
      50000, 100000, 200000]);
    const first = Math.ceil(view.a / step) * step;
    for (let m = first; m <= view.b; m += step) {
      const x = xOf(m).toFixed(1);
      axis.appendChild(svg('line', { class: 'vgrid', x1: x, x2: x, y1: 36, y2: height }));
      const km = step >= 1000 ? String(m / 1000) : (m / 1000).toFixed(step >= 100 ? 1 : 2);
      axis.appendChild(svg('text', { class: 'axis-route', x: x, y: 14 }, km));
      axis.appendChild(svg('text', { class: 'axis-chain', x: x, y: 30 }, chainageText(chainage(m))));
    }
  }
  function textWidth(el) {
    if (el._width === undefined) {
      const t = el.querySelector('text') || el;
      el._width = t.getComputedTextLength();
    }
    return el._width;
  }
  // Hides labels that would overlap the label shown before them; with
  // `clearNext` also those that would run into the next object of their lane.
  function declutter(labels, gap, across, clearNext) {
    let lastRight = -Infinity;
    const xs = labels.map((label) => xOf(+label.parentNode.getAttribute('data-m')));
    labels.forEach((label, i) => {
      const x = xs[i] + (+label.getAttribute('x') || 0);
      const w = across ? across : textWidth(label);
      const show = x >= lastRight + gap && (!clearNext || i + 1 === xs.length || x + w + 4 <= xs[i + 1] - 5);
      label.classList.toggle('hide', !show);
      if (show) lastRight = x + w;
    });
  }
  function layoutBands() {
    width = Math.max(640, Math.round(bands.clientWidth || 1200));
    bands.setAttribute('viewBox', '0 0 ' + width + ' ' + height);
    $('plot-rect').setAttribute('width', plotWidth());
    for (const line of bands.querySelectorAll('.sep, .hgrid')) line.setAttribute('x2', width - right);
    if (!scaled) return;
    const k = scale();
    scaled.setAttribute('transform', 'matrix(' + k + ' 0 0 1 ' + (left + pad - view.a * k) + ' 0)');
    for (const el of placed) {
      el.setAttribute('transform', 'translate(' + xOf(+el.getAttribute('data-m')).toFixed(1) + ' 0)');
    }
    for (const el of fitted) {
      el.classList.toggle('hide', +el.getAttribute('data-w') * k < textWidth(el) + 8);
    }
    for (const lane in laneLabels) {
      declutter(laneLabels[lane], 6, lane === 'stations' ? 13 : 0, lane === '6' || lane === '14');
    }
    drawAxis();
  }

  function bandX(e) {
    const r = bands.getBoundingClientRect();
    return (e.clientX - r.left) * (width / r.width);
  }
  bands.addEventListener('wheel', (e) => {
    e.preventDefault();
    const m = mOf(bandX(e));
    const f = Math.exp(e.deltaY * 0.0015);
    view = clampView(m - (m - view.a) * f, m + (view.b - m) * f);
    layoutBands();
  }, { passive: false });
  bands.addEventListener('pointerdown', (e) => {
    dragging = { x: bandX(e), view: view, target: bands, moved: false };
    bands.setPointerCapture(e.pointerId);
  });
  bands.addEventListener('pointermove', (e) => {
    const x = bandX(e);
    if (dragging && dragging.target === bands) {
      const shift = (dragging.x - x) / scale();
      if (Math.abs(dragging.x - x) > 3) dragging.moved = true;
      view = clampView(dragging.view.a + shift, dragging.view.b + shift);
      layoutBands();
      return;
    }
    if (x < left || x > width - right) return hideCursors();
    showAt(Math.min(Math.max(mOf(x), data.first), data.last), true);
  });
  bands.addEventListener('pointerup', () => { setTimeout(() => { dragging = null; }, 0); });
  bands.addEventListener('pointerleave', hideCursors);
  bands.addEventListener('dblclick', () => { view = full(); layoutBands(); });

  // ---- Plan: pan and zoom, north up ----
  const frame = plan.viewBox.baseVal;
  const home = { x: frame.x, y: frame.y, w: frame.width, h: frame.height };
  let box = Object.assign({}, home);
  const planPoints = data.plan;  // metre, x, y, ...
  function unitsPerPixel() {
    return Math.max(box.w / Math.max(1, plan.clientWidth), box.h / Math.max(1, plan.clientHeight));
  }
  function toPlan(e) {
    const r = plan.getBoundingClientRect();
    const u = unitsPerPixel();
    const ox = (r.width - box.w / u) / 2, oy = (r.height - box.h / u) / 2;
    return { x: box.x + (e.clientX - r.left - ox) * u, y: box.y + (e.clientY - r.top - oy) * u };
  }
  function layoutPlan() {
    plan.setAttribute('viewBox', [box.x, box.y, box.w, box.h].map((v) => v.toFixed(2)).join(' '));
    const u = unitsPerPixel();
    planRoot.setAttribute('font-size', (12 * u).toFixed(3));
    const kmStep = niceStep(45 * u / 1000, [1, 5, 10, 50, 100]);
    planRoot.setAttribute('data-km', kmStep);
    const metres = scaleBarMetres(130 * u);
    $('scalebar-bar').style.width = (metres / u).toFixed(1) + 'px';
    $('scalebar-text').textContent = metres >= 1000 ? metres / 1000 + ' km' : metres + ' m';
    declutterPlan();
  }
  // Labels that would cover one another: the ends first, then the stops,
  // the other stations and the kilometre posts; a label that overlaps one
  // already shown is hidden.
  const planLabels = ['.pend text', '.pst.stop text', '.pst:not(.stop) text', '.km text']
    .flatMap((selector) => Array.from(plan.querySelectorAll(selector)));
  function declutterPlan() {
    for (const t of planLabels) t.classList.remove('hide');
    const rects = planLabels.map((t) => t.getBoundingClientRect());
    const kept = [];
    planLabels.forEach((t, i) => {
      const r = rects[i];
      if (r.width === 0) return;
      const clash = kept.some((k) => r.left < k.right + 3 && r.right > k.left - 3 &&
                                     r.top < k.bottom && r.bottom > k.top);
      if (clash) t.classList.add('hide'); else kept.push(r);
    });
  }
  function scaleBarMetres(limit) {
    let best = 1;
    for (const p of [1, 10, 100, 1000, 10000, 100000]) {
      for (const d of [1, 2, 5]) if (d * p <= limit) best = Math.max(best, d * p);
    }
    return best;
  }
  function zoomPlan(f, at) {
    const u = unitsPerPixel();
    const homeU = Math.max(home.w / Math.max(1, plan.clientWidth), home.h / Math.max(1, plan.clientHeight));
    f = Math.min(Math.max(f, 1 / (data.closestZoom * u)), 1.5 * homeU / u);
    box = { x: at.x - (at.x - box.x) * f, y: at.y - (at.y - box.y) * f, w: box.w * f, h: box.h * f };
    layoutPlan();
  }
  plan.addEventListener('wheel', (e) => {
    e.preventDefault();
    zoomPlan(Math.exp(e.deltaY * 0.0015), toPlan(e));
  }, { passive: false });
  plan.addEventListener('pointerdown', (e) => {
    dragging = { x: e.clientX, y: e.clientY, box: Object.assign({}, box), target: plan, moved: false };
    plan.setPointerCapture(e.pointerId);
    plan.classList.add('dragging');
  });
  plan.addEventListener('pointermove', (e) => {
    if (dragging && dragging.target === plan) {
      const u = unitsPerPixel();
      const dx = e.clientX - dragging.x, dy = e.clientY - dragging.y;
      if (Math.abs(dx) + Math.abs(dy) > 3) dragging.moved = true;
      box.x = dragging.box.x - dx * u;
      box.y = dragging.box.y - dy * u;
      layoutPlan();
      return;
    }
    const near = nearestOnPlan(toPlan(e));
    if (near && near.distance < 25 * unitsPerPixel()) showAt(near.metre, false);
    else hideCursors();
  });
  plan.addEventListener('pointerup', () => {
    plan.classList.remove('dragging');
    setTimeout(() => { dragging = null; }, 0);
  });
  plan.addEventListener('pointerleave', hideCursors);
  plan.addEventListener('dblclick', () => { box = Object.assign({}, home); layoutPlan(); });

  function pointAt(m) {
    const p = planPoints;
    if (!p.length) return null;
    const i = lastAtOrBefore3(m);
    if (i < 0) return { x: p[1], y: p[2] };
    if (3 * i + 3 >= p.length) return { x: p[3 * i + 1], y: p[3 * i + 2] };
    const t = (m - p[3 * i]) / (p[3 * i + 3] - p[3 * i]);
    return { x: p[3 * i + 1] + (p[3 * i + 4] - p[3 * i + 1]) * t,
             y: p[3 * i + 2] + (p[3 * i + 5] - p[3 * i + 2]) * t };
  }
  function lastAtOrBefore3(m) {
    let lo = 0, hi = planPoints.length / 3 - 1, found = -1;
    while (lo <= hi) {
      const mid = (lo + hi) >> 1;
      if (planPoints[3 * mid] <= m) { found = mid; lo = mid + 1; } else { hi = mid - 1; }
    }
    return found;
  }
  function nearestOnPlan(q) {
    const p = planPoints;
    let best = null;
    for (let i = 0; i + 3 < p.length; i += 3) {
      const ax = p[i + 1], ay = p[i + 2], bx = p[i + 4], by = p[i + 5];
      const dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
      const t = len2 > 0 ? Math.max(0, Math.min(1, ((q.x - ax) * dx + (q.y - ay) * dy) / len2)) : 0;
      const ex = ax + dx * t - q.x, ey = ay + dy * t - q.y;
      const d = Math.sqrt(ex * ex + ey * ey);
      if (!best || d < best.distance) best = { distance: d, metre: p[i] + (p[i + 3] - p[i]) * t };
    }
    return best;
  }

  // ---- The two views follow each other ----
  const planCursor = $('plan-cursor');
  const bandCursor = $('cursor');
  function showAt(m, fromBands) {
    readout.textContent = describe(m);
    const p = pointAt(m);
    if (p) {
      planCursor.setAttribute('d', 'M' + p.x.toFixed(1) + ' ' + p.y.toFixed(1) + 'h0');
      planCursor.setAttribute('visibility', 'visible');
    }
    if (m >= view.a && m <= view.b) {
      const x = xOf(m).toFixed(1);
      bandCursor.setAttribute('x1', x);
      bandCursor.setAttribute('x2', x);
      bandCursor.setAttribute('visibility', 'visible');
    } else if (!fromBands) {
      bandCursor.setAttribute('visibility', 'hidden');
    }
  }
  function hideCursors() {
    planCursor.setAttribute('visibility', 'hidden');
    bandCursor.setAttribute('visibility', 'hidden');
  }

  // ---- Links: errors to their objects and back, stations to their places ----
  let lit = [];
  function highlight(elements) {
    for (const el of lit) el.classList.remove('hl');
    lit = elements.filter((el) => el);
    for (const el of lit) el.classList.add('hl');
  }
  function focusOn(m) {
    const span = Math.min(6000, data.last - data.first);
    view = clampView(m - span / 2, m + span / 2);
    layoutBands();
    const p = pointAt(m);
    if (p) {
      const u = Math.min(unitsPerPixel(), 8);
      const w = u * plan.clientWidth, h = u * plan.clientHeight;
      box = { x: p.x - w / 2, y: p.y - h / 2, w: w, h: h };
      layoutPlan();
    }
    showAt(m, true);
  }
  function stationElements(s) {
    return [$('s' + s), $('ps' + s), $('r' + s), bands.querySelector('.zone[data-s="' + s + '"]')];
  }
  for (const li of document.querySelectorAll('#diagnostics li')) {
    li.addEventListener('click', (e) => {
      e.preventDefault();
      const d = li.getAttribute('data-d');
      const els = [li, $('e' + d), $('pe' + d)];
      if (li.hasAttribute('data-o')) els.push($('o' + li.getAttribute('data-o')));
      if (li.hasAttribute('data-s')) els.push(...stationElements(li.getAttribute('data-s')));
      if (li.hasAttribute('data-m')) {
        focusOn(+li.getAttribute('data-m'));
        $('plan-section').scrollIntoView({ behavior: 'smooth', block: 'start' });
      }
      highlight(els);
    });
  }
  document.addEventListener('click', (e) => {
    if (dragging && dragging.moved) return;
    const el = e.target.closest && e.target.closest('[data-d]');
    if (!el || el.tagName === 'LI') return;
    const items = el.getAttribute('data-d').split(' ').map((d) => $('d' + d));
    highlight([el].concat(items));
    if (items[0]) items[0].scrollIntoView({ behavior: 'smooth', block: 'center' });
  });
  for (const row of document.querySelectorAll('#stations tbody tr')) {
    row.addEventListener('click', () => {
      const s = row.getAttribute('data-s');
      focusOn(+row.getAttribute('data-m'));
      highlight(stationElements(s));
      $('plan-section').scrollIntoView({ behavior: 'smooth', block: 'start' });
    });
  }

  // Measure every label once, before the first layout changes anything, so
  // that the browser lays the page out once for all of them.
  for (const el of fitted) textWidth(el);
  for (const lane in laneLabels) laneLabels[lane].forEach(textWidth);
  layoutBands();
  layoutPlan();
  window.addEventListener('resize', () => { layoutBands(); layoutPlan(); });
  document.documentElement.setAttribute('data-ready', '1');
})();

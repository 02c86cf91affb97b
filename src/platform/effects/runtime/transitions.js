// revealTrans and blendTrans: Apply() freezes the element's look in a snapshot laid
// over it, Play() uncovers the new look with the transition's shape (a clip-path on
// the element, the complement on the snapshot) or a cross-fade. F.seek(p) holds every
// transition at a progress: tests look at one, and a copy for paper ends them (p = 1).
(function () {
'use strict';
let frozenAt = null;
const playing = new Set();

F.seek = function (p) { frozenAt = p; playing.forEach(function (t) { t.frame(); }); };
F.resume = function () { frozenAt = null; };

function rect(x, y, w, h) {
    return 'M' + x + ' ' + y + 'h' + w + 'v' + h + 'h' + (-w) + 'z';
}
function circle(cx, cy, r) {
    return 'M' + (cx - r) + ' ' + cy + 'a' + r + ' ' + r + ' 0 1 0 ' + (2 * r) + ' 0' +
           'a' + r + ' ' + r + ' 0 1 0 ' + (-2 * r) + ' 0z';
}

// Cells of a grid of `cols` × `rows` for which `shown(col, row)` holds, as one path.
function cells(w, h, cols, rows, shown) {
    const cw = w / cols, ch = h / rows;
    let d = '';
    for (let r = 0; r < rows; ++r)
        for (let c = 0; c < cols; ++c)
            if (shown(c, r)) d += rect(c * cw, r * ch, cw, ch);
    return d;
}

const BLINDS = 10;      // bands of the blinds
const CHECKERS = 8;     // cells of the checkerboard along each side
const STRIPS = 16;      // blocks along each side for the diagonal strips

// The region of the new look at progress p (0–1) of transition n, as path data in the
// element's box; `order` is the transition's random order where it has one.
function shape(n, p, w, h, order) {
    const cx = w / 2, cy = h / 2;
    switch (n) {
    case 0: { // box in: the old look shrinks to the centre
        const sx = cx * (1 - p), sy = cy * (1 - p);
        return rect(0, 0, w, h) + rect(cx - sx, cy - sy, 2 * sx, 2 * sy);
    }
    case 1: return rect(cx - cx * p, cy - cy * p, w * p, h * p);
    case 2: {
        const r = Math.hypot(cx, cy) * (1 - p);
        return rect(0, 0, w, h) + circle(cx, cy, Math.max(r, 0.01));
    }
    case 3: return circle(cx, cy, Math.max(Math.hypot(cx, cy) * p, 0.01));
    case 4: return rect(0, h * (1 - p), w, h * p);        // wipe up: from the bottom
    case 5: return rect(0, 0, w, h * p);                  // wipe down: from the top
    case 6: return rect(0, 0, w * p, h);                  // wipe right: from the left
    case 7: return rect(w * (1 - p), 0, w * p, h);        // wipe left: from the right
    case 8: { const bw = w / BLINDS; let d = ''; // vertical blinds
        for (let i = 0; i < BLINDS; ++i) d += rect(i * bw, 0, bw * p, h); return d; }
    case 9: { const bh = h / BLINDS; let d = '';
        for (let i = 0; i < BLINDS; ++i) d += rect(0, i * bh, w, bh * p); return d; }
    case 10: return checker(w, h, p, false); // checkerboard across
    case 11: return checker(w, h, p, true);
    case 12: { const cols = order.cols, rows = order.rows, k = Math.floor(p * cols * rows);
        return cells(w, h, cols, rows, function (c, r) { return order.rank[r * cols + c] < k; }); }
    case 13: return rect(0, 0, w * p / 2, h) + rect(w - w * p / 2, 0, w * p / 2, h);
    case 14: return rect(cx - w * p / 2, 0, w * p, h);
    case 15: return rect(0, 0, w, h * p / 2) + rect(0, h - h * p / 2, w, h * p / 2);
    case 16: return rect(0, cy - h * p / 2, w, h * p);
    case 17: case 18: case 19: case 20: { // diagonal strips, in block steps
        const limit = p * (2 * STRIPS - 1);
        return cells(w, h, STRIPS, STRIPS, function (c, r) {
            const fromLeft = n === 19 || n === 20, fromTop = n === 17 || n === 19;
            const i = (fromLeft ? c : STRIPS - 1 - c) + (fromTop ? r : STRIPS - 1 - r);
            return i < limit;
        });
    }
    case 21: case 22: { const k = Math.floor(p * order.rank.length), band = 2;
        let d = '';
        order.rank.forEach(function (rank, i) {
            if (rank >= k) return;
            d += n === 21 ? rect(0, i * band, w, band) : rect(i * band, 0, band, h);
        });
        return d; }
    }
    return rect(0, 0, w, h);
}

// Checkerboard: pairs of cells along each row (across) or column (down), every other
// row shifted by one cell, each pair filling from its leading edge; at half time the
// shown cells form a checkerboard.
function checker(w, h, p, down) {
    const cw = (down ? h : w) / CHECKERS, cross = (down ? w : h) / CHECKERS;
    let d = '';
    for (let a = 0; a < CHECKERS; ++a)
        for (let b = -1; b <= CHECKERS / 2; ++b) {
            const start = (2 * b + (a % 2)) * cw;
            const lo = Math.max(0, start), hi = Math.min(CHECKERS * cw, start + 2 * cw * p);
            if (hi <= lo) continue;
            d += down ? rect(a * cross, lo, cross, hi - lo) : rect(lo, a * cross, hi - lo, cross);
        }
    return d;
}

// The random order a transition needs, made once per play from the seeded generator.
function randomOrder(n, w, h) {
    function shuffled(count) {
        const rank = Array.from({ length: count }, function (_, i) { return i; });
        for (let i = count - 1; i > 0; --i) {
            const j = Math.floor(F.random() * (i + 1));
            const t = rank[i]; rank[i] = rank[j]; rank[j] = t;
        }
        return rank;
    }
    if (n === 12) {
        const size = Math.max(4, Math.ceil(Math.max(w, h) / 48));
        const cols = Math.max(1, Math.ceil(w / size)), rows = Math.max(1, Math.ceil(h / size));
        return { cols: cols, rows: rows, rank: shuffled(cols * rows) };
    }
    if (n === 21) return { rank: shuffled(Math.max(1, Math.ceil(h / 2))) };
    if (n === 22) return { rank: shuffled(Math.max(1, Math.ceil(w / 2))) };
    return null;
}

// A copy of the element as it looks now, laid exactly over it: computed style inlined
// on the copy's root, ids removed so that nothing finds the copy instead of the page.
function snapshot(el) {
    const copy = el.cloneNode(true);
    const cs = getComputedStyle(el);
    let css = '';
    for (let i = 0; i < cs.length; ++i) {
        const prop = cs[i];
        css += prop + ':' + cs.getPropertyValue(prop) + ';';
    }
    copy.setAttribute('style', css);
    [copy].concat(Array.from(copy.querySelectorAll('[id],[name]'))).forEach(function (n) {
        n.removeAttribute('id');
        if (n !== copy) n.removeAttribute('name');
    });
    copy.removeAttribute('id');
    const s = copy.style;
    s.setProperty('position', 'absolute', 'important');
    place(copy, el);
    s.setProperty('margin', '0', 'important');
    s.setProperty('pointer-events', 'none', 'important');
    s.setProperty('clip-path', 'none', 'important');
    s.setProperty('z-index', String((parseInt(cs.zIndex, 10) || 0) + 1), 'important');
    copy.setAttribute('data-lumipage-snapshot', '');
    document.body.appendChild(copy);
    return copy;
}

// Lays the snapshot `copy` over the element where it is now; the copy lies in BODY.
function place(copy, el) {
    const r = el.getBoundingClientRect();
    const host = document.body;
    const positioned = getComputedStyle(host).position !== 'static';
    const base = positioned ? host.getBoundingClientRect() : { left: -scrollX, top: -scrollY };
    copy.style.setProperty('left', (r.left - base.left) + 'px', 'important');
    copy.style.setProperty('top', (r.top - base.top) + 'px', 'important');
}

function makeTransition(kind) {
    return {
        init: function () { this.state = 0; },
        apply: function () {
            this.stop();
            this.copy = snapshot(this.element);
            if (kind === 'reveal') F.setOwn(this.element, 'clip-path', 'polygon(0 0, 0 0, 0 0)');
            this.state = 1;
        },
        play: function (duration) {
            if (this.state === 0) this.apply();
            if (this.state === 2) this.finish(false);
            const el = this.element;
            this.seconds = duration !== undefined && duration !== null && duration !== ''
                ? F.num(duration, 1) : F.num(this.values.duration, 1);
            let n = Math.round(F.num(this.values.transition, 23));
            if (n < 0 || n > 22) n = Math.floor(F.random() * 23);
            this.chosen = n;
            this.box = null;
            this.started = performance.now();
            this.state = 2;
            playing.add(this);
            this.frame();
        },
        stop: function () { if (this.state) this.finish(false); },
        frame: function () {
            if (this.state !== 2) return;
            const p = frozenAt !== null ? frozenAt
                : this.seconds > 0 ? (performance.now() - this.started) / (this.seconds * 1000) : 1;
            if (p >= 1) { this.finish(true); return; }
            this.draw(Math.max(0, p));
            if (frozenAt === null) {
                const self = this;
                cancelAnimationFrame(this.raf);
                this.raf = requestAnimationFrame(function () { self.frame(); });
            }
        },
        // The element may be laid out anew while it plays (the window resized, a view
        // sized after the page loaded): the shapes and the snapshot follow its box.
        follow: function () {
            const el = this.element, r = el.getBoundingClientRect(), b = this.box;
            if (b && r.width === b.width && r.height === b.height && r.left === b.left &&
                r.top === b.top)
                return;
            if (!b || r.width !== b.width || r.height !== b.height)
                this.order = randomOrder(this.chosen, r.width, r.height);
            if (b && this.copy) {
                const cs = getComputedStyle(el), s = this.copy.style;
                s.setProperty('width', cs.width, 'important');
                s.setProperty('height', cs.height, 'important');
                place(this.copy, el);
            }
            this.box = r;
        },
        draw: function (p) {
            this.follow();
            if (kind === 'blend') {
                this.copy.style.setProperty('opacity', String(1 - p), 'important');
                return;
            }
            const w = this.box.width, h = this.box.height;
            const d = shape(this.chosen, p, w, h, this.order);
            F.setOwn(this.element, 'clip-path', d ? 'path(evenodd, "' + d + '")' : 'polygon(0 0, 0 0, 0 0)');
            this.copy.style.setProperty('clip-path', 'path(evenodd, "' + rect(0, 0, w, h) + d + '")', 'important');
        },
        finish: function (ended) {
            cancelAnimationFrame(this.raf);
            playing.delete(this);
            if (this.copy) this.copy.remove();
            this.copy = null;
            F.setOwn(this.element, 'clip-path', null);
            const wasPlaying = this.state === 2;
            this.state = 0;
            if (ended && wasPlaying) {
                const el = this.element, ev = new Event('filterchange');
                el.dispatchEvent(ev);
                if (typeof el.onfilterchange === 'function') el.onfilterchange.call(el, ev);
            }
        }
    };
}

F.defineKind('revealtrans', { transition: 23, duration: 1 }, makeTransition('reveal'));
F.defineKind('blendtrans', { duration: 1 }, makeTransition('blend'));
['revealtrans', 'blendtrans'].forEach(function (k) {
    Object.defineProperty(F.kinds[k].prototype, 'status', {
        get: function () { return this.state; }, enumerable: true, configurable: true
    });
    F.kinds[k].prototype.changed = function () {};
});
})();

// Old-style CSS filters for today's engine: reads `filter:` declarations the engine
// drops from its object model (style attributes and <STYLE> text), gives each element
// a scriptable `filters` collection, and draws the visual filters with modern CSS.
// Transitions live in transitions.js; this file is loaded first. Like every file of the
// runtime, it runs inside the runtime's closure and fills in its `F` (filters) object:
// nothing of the runtime is on the window, so nothing a page defines can turn it off.
(function () {
'use strict';
// What the runtime keeps on elements, out of the page's sight: the author's own inline
// values of the properties it writes, and each element's filters collection.
const savedStyles = new WeakMap(), collections = new WeakMap();

// A seedable generator (mulberry32), so that random transitions can be repeated.
let seed = (Date.now() ^ 0x9e3779b9) >>> 0;
F.seed = function (s) { seed = s >>> 0; };
F.random = function () {
    seed = (seed + 0x6d2b79f5) >>> 0;
    let t = seed;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
};

// The CSS this runtime writes on an element, and the author's own inline values of
// those properties, restored when the runtime lets go.
F.setOwn = function (el, prop, value) {
    if (!savedStyles.has(el)) savedStyles.set(el, {});
    const saved = savedStyles.get(el);
    if (!(prop in saved)) saved[prop] = el.style.getPropertyValue(prop);
    if (value === null) {
        el.style.removeProperty(prop);
        if (saved[prop]) el.style.setProperty(prop, saved[prop]);
    } else {
        el.style.setProperty(prop, value, 'important');
    }
};

function num(v, fallback) {
    if (typeof v === 'boolean') return v ? -1 : 0;
    const n = parseFloat(v);
    return isNaN(n) ? fallback : n;
}
F.num = num;

// `#RRGGBB`, a colour name, a bare RRGGBB or a number as the old engine took it.
function cssColor(v, fallback) {
    if (v === undefined || v === null || v === '') return fallback;
    if (typeof v === 'number') return '#' + (v & 0xffffff).toString(16).padStart(6, '0');
    const s = String(v).trim().replace(/^['"]|['"]$/g, '');
    return /^[0-9a-f]{6}$/i.test(s) ? '#' + s : s;
}

// A filter object: lower-case keys readable and writable, a write redrawn at once.
function defineKeys(proto, defaults) {
    Object.keys(defaults).forEach(function (key) {
        Object.defineProperty(proto, key, {
            get: function () { return this.values[key]; },
            set: function (v) { this.values[key] = v; this.changed(); },
            enumerable: true, configurable: true
        });
    });
}

const kinds = Object.create(null);
F.kinds = kinds;
F.defineKind = function (name, defaults, methods) {
    function Filter(el, params) {
        this.element = el;
        this.name = name;
        this.values = Object.assign({ enabled: true }, defaults);
        for (const k in params) this.values[k] = params[k];
        if (this.init) this.init();
    }
    defineKeys(Filter.prototype, Object.assign({ enabled: true }, defaults));
    Filter.prototype.changed = function () { F.render(this.element); };
    Object.assign(Filter.prototype, methods || {});
    kinds[name] = Filter;
};

F.defineKind('shadow', { color: '#000000', direction: 225, strength: 5 }, {
    css: function () {
        const a = num(this.values.direction, 225) * Math.PI / 180;
        const s = num(this.values.strength, 5);
        const dx = Math.round(Math.sin(a) * s), dy = Math.round(-Math.cos(a) * s);
        return 'drop-shadow(' + dx + 'px ' + dy + 'px 0 ' + cssColor(this.values.color, '#000') + ')';
    }
});
F.defineKind('glow', { color: '#ff0000', strength: 5 }, {
    css: function () {
        const r = Math.max(0, Math.min(num(this.values.strength, 5), 255)) / 2;
        const c = cssColor(this.values.color, 'red');
        return 'drop-shadow(0 0 ' + r + 'px ' + c + ') drop-shadow(0 0 ' + r + 'px ' + c + ')';
    }
});
F.defineKind('alpha', { opacity: 100, finishopacity: 0, style: 0, startx: 0, starty: 0,
                        finishx: 0, finishy: 0 }, {
    css: function () {
        return Number(this.values.style) ? '' : 'opacity(' + clamp01(num(this.values.opacity, 100) / 100) + ')';
    },
    mask: function () {
        const v = this.values, style = Number(v.style);
        if (!style) return '';
        const a = 'rgba(0,0,0,' + clamp01(num(v.opacity, 100) / 100) + ')';
        const b = 'rgba(0,0,0,' + clamp01(num(v.finishopacity, 0) / 100) + ')';
        if (style === 2) return 'radial-gradient(closest-side, ' + a + ', ' + b + ')';
        if (style === 3)
            return 'linear-gradient(to right, ' + b + ', ' + a + ' 50%, ' + b + '), ' +
                   'linear-gradient(to bottom, ' + b + ', ' + a + ' 50%, ' + b + ')';
        const dx = num(v.finishx, 0) - num(v.startx, 0), dy = num(v.finishy, 0) - num(v.starty, 0);
        const angle = (dx || dy) ? Math.atan2(dx, -dy) * 180 / Math.PI : 90;
        return 'linear-gradient(' + angle + 'deg, ' + a + ', ' + b + ')';
    }
});
function clamp01(x) { return Math.max(0, Math.min(1, x)); }

F.defineKind('wave', { add: 1, freq: 3, lightstrength: 100, phase: 0, strength: 5 }, {
    css: function () { return F.waveFilter(this); }
});

// Parses `name(key=value, …) name2(…)`, also the progid: form, into [{name, params}].
F.parse = function (text) {
    const list = [];
    const re = /(?:progid\s*:\s*(?:DXImageTransform\.Microsoft\.)?)?([A-Za-z]+)\s*\(([^)]*)\)/gi;
    let m;
    while ((m = re.exec(text || ''))) {
        const params = {};
        m[2].split(',').forEach(function (pair) {
            const eq = pair.indexOf('=');
            if (eq < 0) return;
            const key = pair.slice(0, eq).trim().toLowerCase();
            const value = pair.slice(eq + 1).trim().replace(/^['"]|['"]$/g, '');
            if (key) params[key] = value;
        });
        list.push({ name: m[1].toLowerCase(), params: params });
    }
    return list;
};

// The `filter` declaration in a block of CSS declarations, or null.
function filterDeclaration(css) {
    const m = /(?:^|;|\s)filter\s*:\s*([^;]*)/i.exec(css || '');
    return m ? m[1].trim() : null;
}

// An element's filters collection: item(n), (n), by name, length.
function Collection(el, text) {
    this.element = el;
    this.list = [];
    this.text = text || '';
    this.set(text);
}
Collection.prototype.set = function (text) {
    const self = this;
    this.list.forEach(function (f, i) { delete self[i]; delete self[f.name]; });
    this.text = text || '';
    this.list = [];
    F.parse(text).forEach(function (d) {
        const Kind = kinds[d.name];
        if (!Kind) { console.warn('filter ' + d.name + ' is not supported'); return; }
        const f = new Kind(self.element, d.params);
        self[self.list.length] = f;
        if (!(d.name in self)) self[d.name] = f;
        self.list.push(f);
    });
    F.render(this.element);
};
Object.defineProperty(Collection.prototype, 'length', { get: function () { return this.list.length; } });
Collection.prototype.item = function (i) {
    if (typeof i === 'string') {
        const key = i.toLowerCase().replace(/^.*\./, '');
        return this.list.find(function (f) { return f.name === key; });
    }
    return this.list[i | 0];
};

F.of = function (el) {
    if (!collections.has(el)) collections.set(el, new Collection(el, ''));
    return collections.get(el);
};
F.setText = function (el, text) { F.of(el).set(text); };
F.textOf = function (el) { return collections.has(el) ? collections.get(el).text : ''; };
F.isCollection = function (c) { return c instanceof Collection; };

// Composes the visual filters of an element into its CSS `filter` and mask.
F.render = function (el) {
    const c = collections.get(el);
    if (!c) return;
    const css = [], masks = [];
    c.list.forEach(function (f) {
        if (!f.values.enabled || f.values.enabled === '0' || f.values.enabled === 'false') return;
        if (f.css) { const s = f.css(); if (s) css.push(s); }
        if (f.mask) { const m = f.mask(); if (m) masks.push(m); }
    });
    F.setOwn(el, 'filter', css.length ? css.join(' ') : null);
    F.setOwn(el, '-webkit-mask-image', masks.length ? masks.join(', ') : null);
    F.setOwn(el, '-webkit-mask-composite', masks.length > 1 || /\), linear/.test(masks[0] || '') ? 'source-in' : null);
};

// Finds every filter of the page: style attributes first (they win, and are read
// before the runtime writes its own CSS there), then <STYLE> rules.
F.scan = function () {
    // Only declarations naming a filter of this runtime: today's `filter: blur(…)` is
    // the engine's own and stays untouched.
    function ours(text) {
        return text && F.parse(text).some(function (d) { return d.name in kinds; });
    }
    document.querySelectorAll('[style]').forEach(function (el) {
        const text = filterDeclaration(el.getAttribute('style'));
        if (ours(text)) F.setText(el, text);
    });
    document.querySelectorAll('style').forEach(function (style) {
        const re = /([^{}]+)\{([^}]*)\}/g;
        let m;
        while ((m = re.exec(style.textContent))) {
            const text = filterDeclaration(m[2]);
            if (!ours(text)) continue;
            let els = [];
            try { els = document.querySelectorAll(m[1].trim()); } catch (e) { continue; }
            els.forEach(function (el) { if (!collections.has(el)) F.setText(el, text); });
        }
    });
};
})();

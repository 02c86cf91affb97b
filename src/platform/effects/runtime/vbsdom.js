// Case-insensitive member access on DOM objects for translated scripts (a lookup per
// access, since a Proxy around DOM objects breaks their methods), and the binding of
// the page's procedures to events once it has loaded. Loaded after vbs.js.
(function () {
'use strict';
const num = $.num, str = $.str, toInt = $.toInt, isNumeric = $.isNumeric;

// Member access ----------------------------------------------------------------
const keyMaps = new WeakMap();
const styleOwners = new WeakMap(); // an element's style object → the element
// The real spelling of `key` (lower case) among the properties of `obj`, or null.
function realKey(obj, key) {
    if (key in obj) return key;
    const own = Object.keys(obj);
    for (let i = 0; i < own.length; ++i) if (own[i].toLowerCase() === key) return own[i];
    const proto = Object.getPrototypeOf(obj);
    if (!proto) return null;
    let map = keyMaps.get(proto);
    if (!map) {
        map = new Map();
        for (const k in obj) if (!map.has(k.toLowerCase())) map.set(k.toLowerCase(), k);
        for (let p = proto; p; p = Object.getPrototypeOf(p))
            Object.getOwnPropertyNames(p).forEach(function (k) {
                if (!map.has(k.toLowerCase())) map.set(k.toLowerCase(), k);
            });
        keyMaps.set(proto, map);
    }
    const k = map.get(key);
    return k !== undefined && k in obj ? k : null;
}
function isNothing(v) { return v === null || (v === undefined && typeof v === 'undefined'); }
function required(obj, key) {
    if (isNothing(obj) && !(obj instanceof HTMLAllCollection))
        throw new TypeError('オブジェクトがありません: ' + key);
}
// An element by id or name, whatever the case.
function byName(name) {
    const s = str(name);
    const el = document.getElementById(s) || document.getElementsByName(s)[0];
    if (el) return el;
    const l = s.toLowerCase();
    const all = document.querySelectorAll('[id],[name]');
    for (let i = 0; i < all.length; ++i)
        if ((all[i].id || '').toLowerCase() === l || (all[i].getAttribute('name') || '').toLowerCase() === l)
            return all[i];
    return null;
}
$.byName = byName;
const pixelKeys = { pixelleft: 'left', pixeltop: 'top', pixelwidth: 'width', pixelheight: 'height',
                    posleft: 'left', postop: 'top', poswidth: 'width', posheight: 'height' };

$.g = function (obj, key) {
    required(obj, key);
    if (obj instanceof HTMLAllCollection) {
        if (key === 'length') return obj.length;
        if (key !== 'item' && key !== 'tags') return byName(key);
    }
    if (obj instanceof Element && key === 'filters') return F.of(obj);
    if (obj instanceof CSSStyleDeclaration) {
        if (key in pixelKeys) {
            const v = parseFloat(obj.getPropertyValue(pixelKeys[key])) || 0;
            return key.startsWith('pixel') ? Math.round(v) : v;
        }
        if (key === 'filter' && styleOwners.has(obj)) return F.textOf(styleOwners.get(obj));
    }
    if (obj instanceof Element && key === 'style') {
        styleOwners.set(obj.style, obj);
        return obj.style;
    }
    const k = realKey(obj, key);
    if (k === null) return undefined;
    const v = obj[k];
    if (typeof v === 'function' && !key.startsWith('on')) return v.call(obj);
    return v;
};
$.s = function (obj, key, value) {
    required(obj, key);
    if (obj instanceof CSSStyleDeclaration) {
        if (key in pixelKeys) { obj.setProperty(pixelKeys[key], num(value) + 'px'); return; }
        if (key === 'filter' && styleOwners.has(obj)) { F.setText(styleOwners.get(obj), str(value)); return; }
    }
    if (obj === window && key === 'status') return; // no status bar to show it
    const k = realKey(obj, key);
    obj[k === null ? key : k] = value;
};
$.c = function (obj, key, args) {
    required(obj, key);
    if (obj instanceof HTMLAllCollection && key === 'item') return byName(args[0]);
    if (obj === window && (key === 'settimeout' || key === 'setinterval') && typeof args[0] === 'string') {
        const code = args[0];
        const run = function () { $.guard(function () { runString(code); }); };
        return window[key === 'settimeout' ? 'setTimeout' : 'setInterval'](run, num(args[1]));
    }
    if (obj instanceof Element && key === 'filters') return $.ix(F.of(obj), args);
    const k = realKey(obj, key);
    if (k === null) throw new TypeError('このプロパティまたはメソッドはありません: ' + key);
    const v = obj[k];
    if (typeof v === 'function') return v.apply(obj, args);
    return args.length ? $.ix(v, args) : v;
};
// `a(x)`: calls a function, indexes an array, or asks the object for item(x).
$.ix = function (v, args) {
    if (typeof v === 'function') return v.apply(null, args);
    if (Array.isArray(v)) {
        let r = v;
        for (let i = 0; i < args.length; ++i) r = r[toInt(args[i])];
        return r;
    }
    if (v instanceof HTMLAllCollection) return typeof args[0] === 'number' ? v[args[0]] : byName(args[0]);
    required(v, '(' + args.join(',') + ')');
    if (typeof v.item === 'function') return v.item.apply(v, args);
    if (typeof v === 'string') throw new TypeError('配列ではありません');
    return v[args[0]];
};
$.si = function (v, args, value) {
    if (!Array.isArray(v)) throw new TypeError('配列ではありません');
    let r = v;
    for (let i = 0; i < args.length - 1; ++i) r = r[toInt(args[i])];
    const last = toInt(args[args.length - 1]);
    if (last < 0 || last >= r.length) throw new RangeError('インデックスが有効範囲にありません');
    r[last] = value;
};
// A name no script declares: a procedure, an element, or a member of the window.
$.n = function (key) {
    if (key in $.procs) return $.procs[key]();
    if (key === 'event') return window.event;
    const el = byName(key);
    if (el) return el;
    const k = realKey(window, key);
    return k === null ? undefined : window[k];
};
$.callName = function (key, args) {
    if (key in $.procs) return $.procs[key].apply(null, args);
    const k = realKey(window, key);
    if (k !== null && typeof window[k] === 'function') return window[k].apply(window, args);
    throw new TypeError('手続きがありません: ' + key);
};
$.callValue = function (v) { return typeof v === 'function' ? v() : v; };
$.me = function (t) {
    if (t instanceof Element) return t;
    return window.event ? window.event.srcElement : undefined;
};

// "Name", "Name(1, 2)" or "Name 1, 2" given to setTimeout: a procedure and literal
// arguments or global variables.
function runString(code) {
    const m = /^\s*([A-Za-z_][\w]*)\s*(?:\((.*)\)|\s(.*))?\s*;?\s*$/.exec(code);
    if (!m) throw new SyntaxError('実行できない文字列です: ' + code);
    const list = (m[2] !== undefined ? m[2] : m[3] || '').trim();
    const args = list === '' ? [] : list.match(/"(?:[^"]|"")*"|[^,]+/g).map(function (a) {
        a = a.trim();
        if (/^".*"$/.test(a)) return a.slice(1, -1).replace(/""/g, '"');
        if (isNumeric(a)) return Number(a);
        const l = a.toLowerCase();
        if (l === 'true' || l === 'false') return l === 'true';
        return $.globals[l];
    });
    $.callName(m[1].toLowerCase(), args);
}

// Running and binding ----------------------------------------------------------
$.guard = function (f, self, args) {
    try { return f.apply(self, args || []); } catch (e) { console.error('VBScript: ' + (e && e.message)); }
};
$.problems = function (list) {
    list.forEach(function (p) {
        $.reported.push(p);
        console.warn('VBScript ' + p[0] + ' 行: ' + p[1]);
    });
};
const blocks = [];
$.block = function (f) { blocks.push(f); };
let inline = [];
$.handlers = function (list) { inline = list; };

function bindProcedures() {
    Object.keys($.procs).forEach(function (key) {
        const m = /^(.+)_(on[a-z]+)$/.exec(key);
        if (!m) return;
        const target = m[1], event = m[2].slice(2);
        const proc = $.procs[key];
        if (target === 'window') {
            if (event === 'load') return;
            window.addEventListener(event, function () { $.guard(proc, window); });
        } else if (target === 'document') {
            document.addEventListener(event, function () { $.guard(proc, document); });
        } else {
            const el = byName(target);
            if (el) el.addEventListener(event, function () { $.guard(proc, el); });
        }
    });
}
// Event attributes written in the page's script language become functions.
function bindInline() {
    if (!inline.length) return;
    const table = new Map();
    inline.forEach(function (h) { table.set(h[0] + '\u0001' + h[1], h[2]); });
    document.querySelectorAll('*').forEach(function (el) {
        Array.from(el.attributes).forEach(function (a) {
            const name = a.name.toLowerCase();
            if (!name.startsWith('on')) return;
            const fn = table.get(name + '\u0001' + a.value);
            if (fn) el[name] = function () { return $.guard(fn, el); };
        });
    });
}
function start() {
    // The page's own JavaScript may call its procedures by name, as it could in the old
    // engine; names the window already has stay as they are.
    Object.keys($.procs).forEach(function (key) {
        if (!(key in window)) window[key] = function () { return $.procs[key].apply(this, arguments); };
    });
    F.scan();
    bindInline();
    blocks.forEach(function (b) { $.guard(b); });
    bindProcedures();
    const onload = $.procs.window_onload;
    if (onload) {
        if (document.readyState === 'complete') setTimeout(function () { $.guard(onload, window); }, 0);
        else window.addEventListener('load', function () { $.guard(onload, window); });
    }
}
$.ready = function () {
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
    else start();
};
})();

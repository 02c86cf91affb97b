// The helpers translated scripts call: the language's own conversions and operators,
// case-insensitive member access on DOM objects (a lookup per access, since a Proxy
// around DOM objects breaks their methods), the built-in functions, and the binding
// of procedures to events once the page has loaded.
(function () {
'use strict';
if (window.__lumipageVbs) return;
const F = window.__lumipageFilters;
const $ = {};
window.__lumipageVbs = $;
$.globals = Object.create(null);
$.procs = Object.create(null);
$.reported = [];

// Values ------------------------------------------------------------------------
function num(v) {
    if (v === undefined || v === null) return 0;
    if (typeof v === 'boolean') return v ? -1 : 0;
    if (typeof v === 'number') return v;
    if (v instanceof Date) return v.getTime();
    const s = String(v).trim();
    if (s === '') throw new TypeError('型が一致しません: ""');
    const n = Number(s);
    if (isNaN(n)) throw new TypeError('型が一致しません: "' + s + '"');
    return n;
}
function str(v) {
    if (v === undefined || v === null) return '';
    if (v === true) return 'True';
    if (v === false) return 'False';
    if (v instanceof Date) return v.toLocaleString('ja-JP');
    return String(v);
}
function isNumeric(v) {
    if (typeof v === 'number' || typeof v === 'boolean') return true;
    if (typeof v !== 'string') return false;
    return v.trim() !== '' && !isNaN(Number(v));
}
function toInt(v) { return roundEven(num(v)) | 0; }
function roundEven(x) {
    const r = Math.round(x);
    return Math.abs(x % 1) === 0.5 && r % 2 !== 0 ? r - 1 : r;
}
$.num = num;
$.str = str;
$.tr = function (v) {
    if (typeof v === 'boolean') return v;
    if (typeof v === 'string') {
        const l = v.trim().toLowerCase();
        if (l === 'true') return true;
        if (l === 'false') return false;
    }
    if (v === null || typeof v === 'object') return v !== null;
    return num(v) !== 0;
};
$.cat = function (a, b) { return str(a) + str(b); };
$.add = function (a, b) {
    const sa = typeof a === 'string', sb = typeof b === 'string';
    if ((sa || a === undefined) && (sb || b === undefined) && (sa || sb)) return str(a) + str(b);
    return num(a) + num(b);
};
$.sub = function (a, b) { return num(a) - num(b); };
$.mul = function (a, b) { return num(a) * num(b); };
$.div = function (a, b) {
    if (num(b) === 0) throw new RangeError('0 で除算しました');
    return num(a) / num(b);
};
$.idiv = function (a, b) {
    const d = toInt(b);
    if (d === 0) throw new RangeError('0 で除算しました');
    return Math.trunc(toInt(a) / d);
};
$.mod = function (a, b) {
    const d = toInt(b);
    if (d === 0) throw new RangeError('0 で除算しました');
    return toInt(a) % d;
};
$.pow = function (a, b) { return Math.pow(num(a), num(b)); };
$.neg = function (a) { return -num(a); };
$.cmp = function (a, b, op) {
    let x = a, y = b;
    const numeric = (typeof a !== 'string' || typeof b !== 'string') &&
                    (typeof a !== 'string' || isNumeric(a) || a === '') &&
                    (typeof b !== 'string' || isNumeric(b) || b === '');
    if (numeric && !(a === undefined && typeof b === 'string') && !(b === undefined && typeof a === 'string')) {
        x = a === '' ? 0 : num(a); y = b === '' ? 0 : num(b);
    } else { x = str(a); y = str(b); }
    switch (op) {
    case '=': return x === y;
    case '<>': return x !== y;
    case '<': return x < y;
    case '>': return x > y;
    case '<=': return x <= y;
    case '>=': return x >= y;
    }
    return false;
};
$.is = function (a, b) {
    const nothing = function (v) { return v === null || v === undefined; };
    return (nothing(a) && nothing(b)) || a === b;
};
function logical(f) {
    return function (a, b) {
        const r = f(toInt(a), toInt(b));
        return typeof a === 'boolean' && typeof b === 'boolean' ? r !== 0 : r;
    };
}
$.and = logical(function (a, b) { return a & b; });
$.or = logical(function (a, b) { return a | b; });
$.xor = logical(function (a, b) { return a ^ b; });
$.not = function (a) { return typeof a === 'boolean' ? !a : ~toInt(a); };
$.arr = function (bounds) {
    if (!bounds.length) return [];
    const n = toInt(bounds[0]) + 1, rest = bounds.slice(1);
    return Array.from({ length: Math.max(0, n) }, function () { return rest.length ? $.arr(rest) : undefined; });
};
$.each = function (c) {
    if (c === null || c === undefined) throw new TypeError('オブジェクトがありません');
    if (c.list && c.item && c.element) return c.list.slice();   // a filters collection
    return Array.from(c);
};

// Member access ----------------------------------------------------------------
const keyMaps = new WeakMap();
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
        if (key === 'filter' && obj.__lumiOwner) return F.textOf(obj.__lumiOwner);
    }
    if (obj instanceof Element && key === 'style') {
        obj.style.__lumiOwner = obj;
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
        if (key === 'filter' && obj.__lumiOwner) { F.setText(obj.__lumiOwner, str(value)); return; }
    }
    if (obj === window && key === 'status') { window.__lumiStatus = value; return; }
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

// Built-ins --------------------------------------------------------------------
$.k = { vbcrlf: '\r\n', vbcr: '\r', vblf: '\n', vbtab: '\t', vbokonly: 0, vbokcancel: 1,
        vbyesnocancel: 3, vbyesno: 4, vbcritical: 16, vbquestion: 32, vbexclamation: 48,
        vbinformation: 64, vbok: 1, vbcancel: 2, vbyes: 6, vbno: 7 };
let lastRandom = 0;
$.f = {
    msgbox: function (prompt, buttons) {
        const kind = toInt(buttons || 0) & 7;
        if (kind === 0) { window.alert(str(prompt)); return 1; }
        const yes = window.confirm(str(prompt));
        if (kind === 1) return yes ? 1 : 2;
        if (kind === 5) return yes ? 4 : 2;
        return yes ? 6 : 7;
    },
    len: function (s) { return s === null ? null : str(s).length; },
    mid: function (s, start, length) {
        const from = toInt(start);
        if (from < 1) throw new RangeError('Mid の開始位置は 1 以上です');
        return length === undefined ? str(s).substr(from - 1) : str(s).substr(from - 1, Math.max(0, toInt(length)));
    },
    left: function (s, n) { return str(s).slice(0, Math.max(0, toInt(n))); },
    right: function (s, n) { const t = str(s), k = Math.max(0, toInt(n)); return k ? t.slice(-k) : ''; },
    instr: function (a, b, c) {
        let start = 1, s = a, t = b;
        if (c !== undefined) { start = toInt(a); s = b; t = c; }
        return str(s).indexOf(str(t), start - 1) + 1;
    },
    lcase: function (s) { return str(s).toLowerCase(); },
    ucase: function (s) { return str(s).toUpperCase(); },
    trim: function (s) { return str(s).replace(/^ +| +$/g, ''); },
    ltrim: function (s) { return str(s).replace(/^ +/, ''); },
    rtrim: function (s) { return str(s).replace(/ +$/, ''); },
    cstr: str,
    cint: function (v) { return roundEven(num(v)); },
    clng: function (v) { return roundEven(num(v)); },
    cdbl: num,
    int: function (v) { return Math.floor(num(v)); },
    fix: function (v) { return Math.trunc(num(v)); },
    abs: function (v) { return Math.abs(num(v)); },
    rnd: function (n) {
        if (n !== undefined && num(n) < 0) F.seed(Math.abs(num(n)) * 1000);
        if (n === undefined || num(n) !== 0) lastRandom = F.random();
        return lastRandom;
    },
    randomize: function (s) { F.seed(s === undefined ? Date.now() : num(s) * 1000); },
    isnumeric: isNumeric,
    chr: function (n) { return String.fromCharCode(toInt(n)); },
    asc: function (s) {
        const t = str(s);
        if (!t) throw new RangeError('Asc に空の文字列は渡せません');
        return t.charCodeAt(0);
    },
    now: function () { return new Date(); },
    timer: function () {
        const d = new Date();
        return d.getHours() * 3600 + d.getMinutes() * 60 + d.getSeconds() + d.getMilliseconds() / 1000;
    },
    ubound: function (a) { return a.length - 1; },
    lbound: function () { return 0; },
    isempty: function (v) { return v === undefined; },
    round: function (v, d) { const k = Math.pow(10, toInt(d || 0)); return roundEven(num(v) * k) / k; },
    sin: function (v) { return Math.sin(num(v)); },
    cos: function (v) { return Math.cos(num(v)); },
    sqr: function (v) { return Math.sqrt(num(v)); },
    space: function (n) { return ' '.repeat(Math.max(0, toInt(n))); },
    replace: function (s, a, b) { return str(s).split(str(a)).join(str(b)); }
};

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

// The helpers translated scripts call for values: the language's own conversions and
// operators (`+` adds numeric strings, `And` is bitwise, `True` is -1) and its built-in
// functions, on the runtime's `$` object, which the translated scripts receive as their
// parameter. Member access and event binding are in vbsdom.js, loaded next.
(function () {
'use strict';
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
    if (F.isCollection(c)) return c.list.slice();
    return Array.from(c);
};

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

$.toInt = toInt;
$.isNumeric = isNumeric;
})();

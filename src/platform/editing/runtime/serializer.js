// Lumipage page runtime: the document serialiser behind DocumentHTML.
// Element names in upper case, attributes in document order, values bare when safe,
// raw-text content verbatim, editing aids left out. Reparsing the output gives it back.
(function (LP) {
    'use strict';

    const VOID = new Set(['AREA', 'BASE', 'BASEFONT', 'BGSOUND', 'BR', 'COL', 'EMBED', 'FRAME', 'HR',
                          'IMG', 'INPUT', 'ISINDEX', 'KEYGEN', 'LINK', 'META', 'PARAM', 'SOURCE',
                          'TRACK', 'WBR']);
    const RAW = new Set(['SCRIPT', 'STYLE', 'XMP', 'IFRAME', 'NOEMBED', 'NOFRAMES', 'PLAINTEXT']);
    // The parser drops one newline right after these start tags; write it twice to keep it.
    const LEADING_NEWLINE = new Set(['PRE', 'TEXTAREA', 'LISTING']);
    const BARE_VALUE = /^[^\s"'`=<>&]+$/;

    const NEEDS_ESCAPE = /[&<>\u00a0]/;
    function escapeText(s) {
        if (!NEEDS_ESCAPE.test(s))
            return s;
        return s.replace(/[&<>\u00a0]/g, c => c === '&' ? '&amp;' : c === '<' ? '&lt;'
                                              : c === '>' ? '&gt;' : '&nbsp;');
    }

    function attrValue(v) {
        if (BARE_VALUE.test(v))
            return v;
        return '"' + v.replace(/&/g, '&amp;').replace(/"/g, '&quot;') + '"';
    }

    function isAid(node) {
        return node.nodeType === 1 && node.hasAttribute && node.hasAttribute('data-lumipage-aid');
    }

    function tagName(el) {
        // HTML elements report upper case; foreign (SVG) elements keep their case.
        return el.namespaceURI === 'http://www.w3.org/1999/xhtml' ? el.tagName.toUpperCase()
                                                                   : el.tagName;
    }

    function startTag(el, out) {
        out.push('<', tagName(el));
        for (const a of el.attributes) {
            if (LP.aidAttributes.has(a.name))
                continue;
            out.push(' ', a.name, '=', attrValue(a.value));
        }
        out.push('>');
    }

    function serializeChildren(parent, out) {
        for (let n = parent.firstChild; n; n = n.nextSibling)
            serializeNode(n, out);
    }

    function serializeNode(n, out) {
        switch (n.nodeType) {
        case 1: { // element
            if (isAid(n))
                return;
            const name = tagName(n);
            startTag(n, out);
            if (VOID.has(name))
                return;
            if (RAW.has(name)) {
                out.push(n.textContent);
            } else {
                const content = name === 'TEMPLATE' ? n.content : n;
                if (LEADING_NEWLINE.has(name) && content.firstChild &&
                    content.firstChild.nodeType === 3 && content.firstChild.data[0] === '\n')
                    out.push('\n');
                serializeChildren(content, out);
            }
            out.push('</', name, '>');
            return;
        }
        case 3: // text
            out.push(n.parentNode && n.parentNode.nodeType === 1 && RAW.has(tagName(n.parentNode))
                         ? n.data : escapeText(n.data));
            return;
        case 8: // comment
            out.push('<!--', n.data, '-->');
            return;
        case 10: { // doctype
            let s = '<!DOCTYPE ' + n.name;
            if (n.publicId)
                s += ' PUBLIC "' + n.publicId + '"';
            if (n.systemId)
                s += (n.publicId ? '' : ' SYSTEM') + ' "' + n.systemId + '"';
            out.push(s, '>');
            return;
        }
        case 11: // fragment
            serializeChildren(n, out);
            return;
        default:
            return;
        }
    }

    LP.serializeDocument = function (doc) {
        const out = [];
        for (let n = doc.firstChild; n; n = n.nextSibling)
            serializeNode(n, out);
        return out.join('');
    };
    LP.serializeNode = function (node) {
        const out = [];
        serializeNode(node, out);
        return out.join('');
    };
})(window.__lumipage = window.__lumipage || {});

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

    // Element names are written as the document keeps them: upper case for HTML elements
    // of an HTML document, the case of the source for foreign (SVG) ones.
    // The start tag, or null for an editing aid (which is left out with its content).
    function startTag(el) {
        let tag = '<' + el.tagName;
        if (el.hasAttributes()) {
            const attributes = el.attributes;
            for (let i = 0; i < attributes.length; ++i) {
                const a = attributes[i];
                const name = a.name;
                if (name === 'data-lumipage-aid')
                    return null;
                if (LP.aidAttributes.has(name))
                    continue;
                tag += ' ' + name + '=' + attrValue(a.value);
            }
        }
        return tag + '>';
    }

    // `out` followed by the serialisation of `n`.
    function serializeNode(n, out) {
        switch (n.nodeType) {
        case 1: { // element
            const tag = startTag(n);
            if (tag === null)
                return out;
            const name = n.tagName;
            out += tag;
            if (VOID.has(name))
                return out;
            if (RAW.has(name)) {
                out += n.textContent;
            } else {
                const content = name === 'TEMPLATE' ? n.content : n;
                let child = content.firstChild;
                if (child && LEADING_NEWLINE.has(name) && child.nodeType === 3 &&
                    child.data[0] === '\n')
                    out += '\n';
                for (; child; child = child.nextSibling)
                    out = serializeNode(child, out);
            }
            return out + '</' + name + '>';
        }
        case 3: // text
            return out + escapeText(n.data);
        case 8: // comment
            return out + '<!--' + n.data + '-->';
        case 10: { // doctype
            let s = '<!DOCTYPE ' + n.name;
            if (n.publicId)
                s += ' PUBLIC "' + n.publicId + '"';
            if (n.systemId)
                s += (n.publicId ? '' : ' SYSTEM') + ' "' + n.systemId + '"';
            return out + s + '>';
        }
        case 11: // fragment
            for (let child = n.firstChild; child; child = child.nextSibling)
                out = serializeNode(child, out);
            return out;
        default:
            return out;
        }
    }

    LP.serializeDocument = function (doc) {
        let out = '';
        for (let n = doc.firstChild; n; n = n.nextSibling)
            out = serializeNode(n, out);
        return out;
    };
    LP.serializeNode = node => serializeNode(node, '');
})(window.__lumipage = window.__lumipage || {});

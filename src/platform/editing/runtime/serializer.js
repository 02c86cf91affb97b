// Lumipage page runtime: the page's markup behind DocumentHTML. The engine serialises
// the root element itself (fast, and faithful to its own parser); the editor rewrites
// that text into its own form in one pass. The nodes beside the root element (doctype,
// comments) are written here, already in that form.
(function (LP) {
    'use strict';

    function outside(n) {
        if (n.nodeType === 8)
            return '<!--' + n.data + '-->';
        if (n.nodeType !== 10)
            return '';
        let s = '<!DOCTYPE ' + n.name;
        if (n.publicId)
            s += ' PUBLIC "' + n.publicId + '"';
        if (n.systemId)
            s += (n.publicId ? '' : ' SYSTEM') + ' "' + n.systemId + '"';
        return s + '>';
    }

    // {before: what precedes the root element, root: its outerHTML, after: what follows
    // it, aidAttributes: the attribute names the editor adds for editing}.
    LP.documentMarkup = function (doc) {
        let before = '', after = '', root = null;
        for (let n = doc.firstChild; n; n = n.nextSibling) {
            if (n === doc.documentElement)
                root = n.outerHTML;
            else if (root === null)
                before += outside(n);
            else
                after += outside(n);
        }
        return {before, root: root || '', after, aidAttributes: Array.from(LP.aidAttributes)};
    };
})(window.__lumipage = window.__lumipage || {});

// Lumipage page runtime: which of the page's own elements changed since it was loaded,
// so that a save can write the author's bytes for everything else. The elements the
// page was loaded with are numbered in document order (the order the editor's parser
// numbers them in); the history's mutation records mark the nearest numbered element
// of each change: its start tag when its attributes changed, its content when its
// children or text did. Nothing is serialised until a save asks.
(function (LP) {
    'use strict';

    const ordinals = new WeakMap();
    const elements = [];
    const marks = new Map(); // ordinal → mark (see mark())
    let whole = false;       // a change outside the root element: only the whole page will do

    function numbered(node) {
        for (let n = node; n; n = n.parentNode)
            if (ordinals.has(n))
                return n;
        return null;
    }

    // mark: [start tag, content changed, the element's children at load (when only
    // its list of children was touched, which the engine's own editing does a lot:
    // a paste takes paragraphs out and puts the same ones back)].
    function mark(el, which) {
        if (!el)
            return null;
        const k = ordinals.get(el);
        let m = marks.get(k);
        if (!m)
            marks.set(k, m = [false, false, null]);
        if (which !== null)
            m[which] = true;
        return m;
    }

    // Editing aids come and go among an element's children; they are never the page's.
    const own = n => !(n.nodeType === 1 && n.hasAttribute('data-lumipage-aid'));
    const entry = n => [n, n.nodeType === 1 ? null : n.data];

    // The children `el` had before `records` (the newest last), with the text they held.
    function childrenBefore(el, records) {
        const list = Array.from(el.childNodes).filter(own).map(entry);
        const find = n => list.findIndex(entry => entry[0] === n);
        for (let i = records.length - 1; i >= 0; --i) {
            const r = records[i];
            if (r.type === 'characterData') {
                const k = find(r.target);
                if (k >= 0)
                    list[k][1] = r.oldValue;
            }
            if (r.type !== 'childList' || r.target !== el)
                continue;
            for (const n of r.addedNodes) {
                const k = find(n);
                if (k >= 0)
                    list.splice(k, 1);
            }
            const at = r.previousSibling ? find(r.previousSibling) + 1 : 0;
            list.splice(at, 0, ...Array.from(r.removedNodes).filter(own).map(entry));
        }
        return list;
    }

    function sameChildren(el, list) {
        const now = Array.from(el.childNodes).filter(own);
        if (now.length !== list.length)
            return false;
        for (let i = 0; i < list.length; ++i)
            if (now[i] !== list[i][0] || (list[i][1] !== null && now[i].data !== list[i][1]))
                return false;
        return true;
    }

    LP.changes = {
        // Records as the history keeps them (editing aids already left out).
        note(records) {
            for (const r of records) {
                const t = r.type === 'characterData' ? r.target.parentNode : r.target;
                // A node already taken out of the page: its removal was marked where it was.
                if (!t)
                    continue;
                if (t.nodeType === 9) {
                    whole = true;
                    continue;
                }
                if (r.type === 'attributes' && ordinals.has(t)) {
                    mark(t, 0);
                } else if (r.type === 'childList' && ordinals.has(t)) {
                    const m = mark(t, null);
                    if (!m[1] && !m[2])
                        m[2] = childrenBefore(t, records);
                } else {
                    mark(numbered(t), 1);
                }
            }
        },
    };

    // {whole, changes: [[ordinal, start tag, content], …]} for the elements still in the page.
    LP.api.keptChanges = function () {
        const changes = [];
        for (const [k, m] of marks) {
            const el = elements[k];
            const content = m[1] || (!!m[2] && !sameChildren(el, m[2]));
            if (el.isConnected && (m[0] || content))
                changes.push([k, m[0], content]);
        }
        return {whole, changes};
    };

    // The engine's markup of [ordinal, content] pairs: the element without its children
    // for a start tag, its inner markup for content.
    LP.api.keptMarkup = function (regions) {
        return regions.map(([k, content]) => content ? elements[k].innerHTML
                                                     : elements[k].cloneNode(false).outerHTML);
    };

    const walker = document.createTreeWalker(document, NodeFilter.SHOW_ELEMENT, n =>
        n.hasAttribute('data-lumipage-aid') ? NodeFilter.FILTER_REJECT : NodeFilter.FILTER_ACCEPT);
    for (let n = walker.nextNode(); n; n = walker.nextNode()) {
        ordinals.set(n, elements.length);
        elements.push(n);
    }
})(window.__lumipage = window.__lumipage || {});

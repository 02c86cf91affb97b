// Lumipage page runtime: which of the page's own elements changed since it was loaded,
// so that a save can write the author's bytes for everything else. The elements the
// page was loaded with are numbered in document order (the order the editor's parser
// numbers them in); the history's mutation records mark the nearest numbered element
// of each change: its start tag when its attributes changed, its content when its
// children or text did. Nothing is serialised until a save asks.
(function (LP) {
    'use strict';

    let ordinals = new WeakMap();
    let elements = [];
    let marks = new Map(); // ordinal → mark (see mark())
    let whole = false;     // a change outside the root element: only the whole page will do
    // Which original the numbering belongs to: 0 the page's as loaded, then one more each
    // time an element typed in the source pane made the page's text the original.
    let generation = 0, generations = 0;

    function numbered(node) {
        for (let n = node; n; n = n.parentNode)
            if (ordinals.has(n))
                return n;
        return null;
    }

    // mark: [start tag, content changed, the element's children at load (when only
    // its list of children was touched, which the engine's own editing does a lot:
    // a paste takes paragraphs out and puts the same ones back), its attributes at load
    // (when they changed: an undone change leaves the start tag as it was)].
    function mark(el, which) {
        if (!el)
            return null;
        const k = ordinals.get(el);
        let m = marks.get(k);
        if (!m)
            marks.set(k, m = [false, false, null, null]);
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

    // The attributes `el` had before `records` (the newest last), as [name, value] in
    // their order. An attribute taken off is put back last, where the engine's undo puts
    // it back; were it put back elsewhere, the start tag kept still holds the same
    // attributes and values, in the author's order.
    function attributesBefore(el, records) {
        const list = ownAttributes(el);
        for (let i = records.length - 1; i >= 0; --i) {
            const r = records[i];
            if (r.type !== 'attributes' || r.target !== el || r.attributeNamespace)
                continue;
            const k = list.findIndex(a => a[0] === r.attributeName);
            if (r.oldValue === null && k >= 0)
                list.splice(k, 1);
            else if (r.oldValue !== null && k >= 0)
                list[k][1] = r.oldValue;
            else if (r.oldValue !== null)
                list.push([r.attributeName, r.oldValue]);
        }
        return list;
    }
    const ownAttributes = el => Array.from(el.attributes)
        .filter(a => !LP.aidAttributes.has(a.name)).map(a => [a.name, a.value]);
    const sameAttributes = (el, list) =>
        !!list && JSON.stringify(ownAttributes(el)) === JSON.stringify(list);

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
            // Lists of children first, with the text they held: a change inside a node put
            // in since the load is told by the list it went into, in whatever order the
            // records come, and changed text straight inside an element by that element's
            // list (so only the stretch around the text is written anew).
            const listOf = r => r.type === 'childList' ? r.target
                : r.type === 'characterData' ? r.target.parentNode : null;
            for (const r of records) {
                const el = listOf(r);
                if (el && ordinals.has(el)) {
                    const m = mark(el, null);
                    if (!m[1] && !m[2])
                        m[2] = childrenBefore(el, records);
                }
            }
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
                    const m = mark(t, null);
                    if (!m[0])
                        m[3] = attributesBefore(t, records);
                    m[0] = true;
                } else if (r.type !== 'attributes' && ordinals.has(t)) {
                    continue; // its list of children tells of it
                } else {
                    // Inside an element put in since the load: the list of children it
                    // went into tells of it, and its markup is written whole from there.
                    const a = numbered(t);
                    let c = t;
                    while (c && c.parentNode !== a)
                        c = c.parentNode;
                    const m = a && marks.get(ordinals.get(a));
                    if (!(c && !ordinals.has(c) && m && m[2] && !m[2].some(e => e[0] === c)))
                        mark(a, 1);
                }
            }
        },
    };

    // Where `el`'s children changed when only its list of children was touched: the
    // stretches between its children from the load that are still there, in their order
    // ("anchors"), that hold other nodes or text than they did, as [left, right] ordinals
    // of the anchors around them (-1: the content's start or end). null when the anchors
    // changed their order.
    function stretchesChanged(el, before) {
        const now = Array.from(el.childNodes).filter(own);
        const at = new Map(before.map((entry, i) => [entry[0], i]));
        const anchors = now.filter(n => n.nodeType === 1 && ordinals.has(n) && at.has(n));
        for (let i = 1; i < anchors.length; ++i)
            if (at.get(anchors[i]) < at.get(anchors[i - 1]))
                return null;
        const stretches = [];
        let nowAt = 0, beforeAt = 0;
        for (let i = 0; i <= anchors.length; ++i) {
            const anchor = i < anchors.length ? anchors[i] : null;
            const nowEnd = anchor ? now.indexOf(anchor, nowAt) : now.length;
            const beforeEnd = anchor ? at.get(anchor) : before.length;
            let same = nowEnd - nowAt === beforeEnd - beforeAt;
            for (let j = 0; same && j < nowEnd - nowAt; ++j) {
                const [node, data] = before[beforeAt + j];
                same = node === now[nowAt + j] && (data === null || node.data === data);
            }
            if (!same)
                stretches.push([i > 0 ? ordinals.get(anchors[i - 1]) : -1,
                                anchor ? ordinals.get(anchor) : -1]);
            nowAt = nowEnd + 1;
            beforeAt = beforeEnd + 1;
        }
        return stretches;
    }

    // {whole, changes: [{element: ordinal, startTag, content, stretches: [{after, before}]}]}
    // for the elements still in the page; stretches (see stretchesChanged: the nodes after
    // one child from the load and before another, -1 for the content's ends) stand for
    // content where they will do.
    // With `withMarkup`, each change carries the engine's markup of its own stretches (see
    // keptMarkup), so that a save whose stretches to write are the changed ones needs no
    // second call.
    LP.api.keptChanges = function (withMarkup) {
        const changes = [];
        for (const [k, m] of marks) {
            const el = elements[k];
            if (!el.isConnected)
                continue;
            let content = m[1], stretches = [];
            if (!content && m[2] && !sameChildren(el, m[2])) {
                stretches = stretchesChanged(el, m[2]);
                content = stretches === null;
            }
            const tag = m[0] && !sameAttributes(el, m[3]);
            if (!tag && !content && !(stretches && stretches.length))
                continue;
            const change = {
                element: k,
                startTag: tag,
                content,
                stretches: content ? [] : stretches.map(([after, before]) => ({after, before})),
            };
            if (withMarkup && !whole)
                change.markup = LP.api.keptMarkup([
                    ...(tag ? [{element: k, content: false}] : []),
                    ...(content ? [{element: k, content: true}] : []),
                    ...change.stretches.map(({after, before}) => ({element: k, content: true, after, before})),
                ]);
            changes.push(change);
        }
        return {whole, changes, generation};
    };

    // The engine's markup of {element, content, after, before} regions: the element
    // without its children for a start tag, its inner markup for content, and with after
    // and before (ordinals of two of its children, -1 for its content's start or end) the
    // markup of the nodes between them.
    LP.api.keptMarkup = function (regions) {
        return regions.map(({element, content, after: left, before: right}) => {
            const el = elements[element];
            if (!content)
                return el.cloneNode(false).outerHTML;
            if (left === undefined)
                return el.innerHTML;
            const box = el.cloneNode(false); // serialised as the element itself would be
            const end = right >= 0 ? elements[right] : null;
            for (let n = left >= 0 ? elements[left].nextSibling : el.firstChild; n && n !== end;
                 n = n.nextSibling)
                box.appendChild(n.cloneNode(true));
            return box.innerHTML;
        });
    };

    // The page as it stands now is the one the save's original holds: its elements are
    // numbered afresh and nothing counts as changed.
    function number() {
        ordinals = new WeakMap();
        elements = LP.pageElements();
        marks = new Map();
        whole = false;
        generation = generations++;
        elements.forEach((n, k) => ordinals.set(n, k));
    }
    // The page's elements in document order, editing aids left out: their ordinals.
    // Listed natively (a tree walker's filter would call back into script for each), by
    // index (Array.from's iterator takes several times as long on a big page), and again
    // only once the page changed (its changes are counted as they are recorded).
    let listed = null, listedAt = -1;
    LP.pageElements = function () {
        LP.history.canUndo(); // records what changed so far
        if (listed && listedAt === LP.revision)
            return listed;
        const all = document.getElementsByTagName('*');
        const aids = new Set();
        for (const aid of document.querySelectorAll('[data-lumipage-aid]')) {
            aids.add(aid);
            for (const n of aid.getElementsByTagName('*'))
                aids.add(n);
        }
        listed = new Array(all.length - aids.size);
        for (let i = 0, k = 0; i < all.length; ++i)
            if (!aids.has(all[i]))
                listed[k++] = all[i];
        listedAt = LP.revision;
        return listed;
    };
    LP.changes.renumber = number;
    // The numbering and what changed since, to come back to (an undo of the step that
    // numbered the page afresh); marks are copied, the lists they hold are never changed.
    LP.changes.save = () => ({ordinals, elements, whole, generation,
                              marks: new Map(Array.from(marks, ([k, m]) => [k, m.slice()]))});
    LP.changes.restore = saved => ({ordinals, elements, whole, generation} = saved,
                                   marks = saved.marks);
    number();
})(window.__lumipage = window.__lumipage || {});

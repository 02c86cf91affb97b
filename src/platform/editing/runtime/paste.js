// The paste of a fragment at the selection, the one road by which markup enters the page.
(function (LP) {
    'use strict';

    // Pastes a fragment at the selection. The engine's insertHTML is tried first, but
    // it rewrites some elements (MARQUEE, BUTTON …); when the elements did not all
    // arrive, its changes are taken back and the fragment is inserted exactly as given.
    LP.pasteNow = function (html) {
        LP.ensureCaret();
        const sel = LP.selection();
        if (!sel || sel.rangeCount === 0)
            return false;
        const template = document.createElement('template');
        template.innerHTML = String(html);
        // Each element of the fragment by its name and attributes: the engine's insertHTML
        // may drop an element or rewrite its attributes (a style holding only a filter
        // goes), and then the fragment is inserted exactly instead.
        const signature = el => el.tagName + '\u0000' +
            Array.from(el.attributes, a => a.name + '=' + a.value).sort().join('\u0000');
        const countIn = (elements, into) => {
            for (const el of elements) {
                const key = signature(el);
                into.set(key, (into.get(key) || 0) + 1);
            }
            return into;
        };
        const wanted = countIn(template.content.querySelectorAll('*'), new Map());
        const tags = new Set(Array.from(template.content.querySelectorAll('*'), el => el.tagName));
        const inDocument = () => {
            const found = new Map();
            for (const tag of tags)
                countIn(document.getElementsByTagName(tag), found);
            return found;
        };
        const range0 = sel.getRangeAt(0);
        // Boundary points as values: a live range would follow the engine's edits.
        const original = [range0.startContainer, range0.startOffset, range0.endContainer,
                          range0.endOffset];
        const removed = countIn(range0.cloneContents().querySelectorAll('*'), new Map());
        const before = inDocument();
        const done = document.execCommand('insertHTML', false, String(html));
        const after = done ? inDocument() : null;
        const intact = done && Array.from(wanted).every(([key, n]) =>
            (after.get(key) || 0) >= (before.get(key) || 0) - (removed.get(key) || 0) + n);
        if (!intact) {
            if (done) {
                LP.history.discard();
                sel.setBaseAndExtent(...original);
            }
            const range = sel.rangeCount ? sel.getRangeAt(0) : null;
            if (!range)
                return false;
            range.deleteContents();
            const content = range.createContextualFragment(String(html));
            const last = content.lastChild;
            range.insertNode(content);
            if (last)
                sel.collapse(last.parentNode,
                             Array.prototype.indexOf.call(last.parentNode.childNodes, last) + 1);
        }
        LP.scheduleDisplayChanged();
        return true;
    };
})(window.__lumipage = window.__lumipage || {});

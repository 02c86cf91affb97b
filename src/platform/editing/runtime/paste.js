// The paste of a fragment at the selection, the one road by which markup enters the page.
(function (LP) {
    'use strict';

    // Pastes a fragment at the selection. The engine's insertHTML is tried first, but
    // it rewrites some elements (MARQUEE, BUTTON …); when the elements did not all
    // arrive, its changes are taken back and the fragment is inserted exactly as given.
    const mergingBlocks = new Set(['DIV', 'P', 'CENTER', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6',
                                   'BLOCKQUOTE', 'PRE', 'ADDRESS']);

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
        const range0 = sel.getRangeAt(0);
        // Boundary points as values: a live range would follow the engine's edits.
        const original = [range0.startContainer, range0.startOffset, range0.endContainer,
                          range0.endOffset];
        // What arrived is read from the engine's own changes, not by counting the whole
        // page before and after: the cost follows the fragment, not the page. An element
        // the engine only moved (a line break carried into the half of a split
        // paragraph) was taken out somewhere first: it did not arrive.
        // The engine merges a fragment's first block into the paragraph the caret stands
        // inside of, its name and attributes lost (an effect's DIV at the end of a line):
        // such a fragment goes in exactly at once, without the engine's paste that would
        // have to be taken back, which on a large page costs as much as the paste itself.
        const first = template.content.firstChild;
        const caret = sel.anchorNode;
        const mergedAway = sel.isCollapsed && caret.nodeType === Node.TEXT_NODE &&
            /\S/.test(caret.data.slice(0, sel.anchorOffset)) && first &&
            first.nodeType === Node.ELEMENT_NODE && first.attributes.length > 0 &&
            mergingBlocks.has(first.tagName);
        const watcher = new MutationObserver(() => {});
        watcher.observe(document, {childList: true, subtree: true});
        const done = !mergedAway && document.execCommand('insertHTML', false, String(html));
        const records = watcher.takeRecords();
        watcher.disconnect();
        const within = (node, into) => {
            if (node.nodeType !== Node.ELEMENT_NODE)
                return;
            into.add(node);
            for (const inner of node.querySelectorAll('*'))
                into.add(inner);
        };
        const moved = new Set();
        for (const record of records)
            record.removedNodes.forEach(node => within(node, moved));
        const arrived = new Set();
        for (const record of records)
            record.addedNodes.forEach(node => node.isConnected && within(node, arrived));
        moved.forEach(node => arrived.delete(node));
        const found = done ? countIn(arrived, new Map()) : null;
        const intact = done && Array.from(wanted).every(([key, n]) => (found.get(key) || 0) >= n);
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

// Lumipage page runtime: elements by their place in the page, for the source pane. An
// element's ordinal is its place among the page's elements in document order, editing
// aids left out: the order in which a parser of the page's text meets their start tags,
// so the pane finds an element's tags in its text by the same number.
(function (LP) {
    'use strict';

    function walker() {
        return document.createTreeWalker(document, NodeFilter.SHOW_ELEMENT, n =>
            n.hasAttribute('data-lumipage-aid') ? NodeFilter.FILTER_REJECT
                                                : NodeFilter.FILTER_ACCEPT);
    }
    LP.elementWalker = walker;

    function ordinalOf(target) {
        const w = walker();
        for (let k = 0, n = w.nextNode(); n; n = w.nextNode(), ++k)
            if (n === target)
                return k;
        return -1;
    }

    // The ordinal of the selected object, or of the element the caret (the selection's
    // focus) is in; -1 when there is none.
    LP.api.caretElement = function () {
        const object = LP.selectedObject && LP.selectedObject();
        if (object)
            return ordinalOf(object);
        const sel = LP.selection();
        let n = sel && sel.focusNode;
        if (n && n.nodeType !== 1)
            n = n.parentElement;
        return n ? ordinalOf(n) : -1;
    };

    // Selects the element with `ordinal` as a click would (an object gets its outline;
    // anything else takes the caret at its start) and scrolls it into view. False when
    // there is no such element or it cannot hold the caret (the head and what is in it).
    LP.api.selectElement = function (ordinal) {
        const w = walker();
        let el = w.nextNode();
        for (let k = 0; el && k < ordinal; ++k)
            el = w.nextNode();
        if (!el || !document.body || !(el === document.body || document.body.contains(el)))
            return false;
        if (LP.isObject(el)) {
            LP.selectObject(el);
        } else {
            LP.deselectObject();
            LP.selection().collapse(el, 0);
            LP.scheduleDisplayChanged();
        }
        el.scrollIntoView({block: 'nearest', inline: 'nearest'});
        return true;
    };
})(window.__lumipage = window.__lumipage || {});

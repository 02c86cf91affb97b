// Lumipage page runtime: elements by their place in the page, for the source pane. An
// element's ordinal is its place among the page's elements in document order, editing
// aids left out: the order in which a parser of the page's text meets their start tags,
// so the pane finds an element's tags in its text by the same number.
(function (LP) {
    'use strict';

    const ordinalOf = target => LP.pageElements().indexOf(target);
    const elementAt = ordinal => (ordinal >= 0 ? LP.pageElements()[ordinal] : null);

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
        const el = elementAt(ordinal);
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

    // Replaces the element with `ordinal`, named `name`, by `markup` (one element, read
    // in its parent) as one undo step; the page's text with it is then the original of
    // the save (see changes.js), whose number it answers. False when the element is not
    // there or the markup is not one element.
    LP.api.replaceElement = function (ordinal, name, markup) {
        const el = elementAt(ordinal);
        if (!el || el.localName !== name.toLowerCase() || !document.body ||
            el === document.body || !document.body.contains(el))
            return false;
        const range = document.createRange();
        range.selectNode(el);
        const fragment = range.createContextualFragment(markup);
        const replacement = fragment.firstChild;
        if (fragment.childNodes.length !== 1 || replacement.nodeType !== 1)
            return false;
        const sel = LP.selection();
        const caretInside = sel && sel.focusNode && el.contains(sel.focusNode);
        if (LP.selectedObject && el.contains(LP.selectedObject()))
            LP.deselectObject();
        // Undone, the page is again the one the original before held; redone, the new one.
        let other = LP.changes.save();
        const swap = () => {
            const now = LP.changes.save();
            LP.changes.restore(other);
            other = now;
        };
        LP.history.run('edit', () => el.replaceWith(fragment), swap);
        LP.changes.renumber();
        if (caretInside)
            sel.collapse(replacement, 0);
        // Reported in a task of its own: the statuses lay the page out anew, which the
        // answer need not wait for.
        setTimeout(() => LP.scheduleDisplayChanged({type: 'input'}), 0);
        return LP.changes.save().generation;
    };
})(window.__lumipage = window.__lumipage || {});

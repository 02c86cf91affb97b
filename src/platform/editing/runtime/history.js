// Lumipage page runtime: the undo history. Every change to the document (typing,
// commands, pastes, table and positioning operations) is recorded from the
// document's mutation records and undone by reverting them, so one history covers
// what the engine does and what the runtime does itself. Undoing a step records the
// reverting mutations, and those are the step that redo reverts in turn.
(function (LP) {
    'use strict';

    const LIMIT = 1000;   // steps kept
    const MERGE_MS = 1000; // typing within this time of the last character is one step

    const undoStack = [], redoStack = [];
    // Counts the document's changes; the program learns from it that the page changed.
    LP.revision = 0;
    let observer = null;
    let holding = 0, held = [], heldBefore = null;
    let lastSelection = null, inputBefore = null, inputType = '';

    function isAid(node) {
        const el = node && (node.nodeType === 1 ? node : node.parentElement);
        return !!(el && el.closest('[data-lumipage-aid]'));
    }

    function relevant(r) {
        if (isAid(r.target))
            return false;
        if (r.type === 'attributes')
            return !LP.aidAttributes.has(r.attributeName);
        if (r.type === 'childList') {
            const nodes = [...r.addedNodes, ...r.removedNodes];
            return !(nodes.length && nodes.every(isAid));
        }
        return true;
    }

    function take() {
        const records = observer ? observer.takeRecords().filter(relevant) : [];
        LP.changes?.note(records);
        return records;
    }

    function saveSelection() {
        const s = document.getSelection();
        if (!s || !s.rangeCount)
            return null;
        return {an: s.anchorNode, ao: s.anchorOffset, fn: s.focusNode, fo: s.focusOffset,
                object: LP.selectedObject ? LP.selectedObject() : null};
    }

    function sameSelection(a, b) {
        return !!a && !!b && a.an === b.an && a.ao === b.ao && a.fn === b.fn && a.fo === b.fo;
    }

    function clampOffset(node, offset) {
        const length = node.nodeType === 1 ? node.childNodes.length : (node.data || '').length;
        return Math.min(offset, length);
    }

    function restoreSelection(saved) {
        if (!saved || !saved.an || !saved.an.isConnected || !saved.fn.isConnected)
            return;
        if (saved.object && saved.object.isConnected && LP.selectObject) {
            LP.selectObject(saved.object);
            return;
        }
        try {
            document.getSelection().setBaseAndExtent(saved.an, clampOffset(saved.an, saved.ao),
                                                     saved.fn, clampOffset(saved.fn, saved.fo));
        } catch (e) {
            // a selection that no longer fits the document is simply not restored
        }
    }

    // Reverts records, newest first; the document then is as before the first of them.
    // Attributes that had been taken off come back last, the one taken last first (as
    // an element's attributes are taken off from the end), so a tag reads as it did:
    // setting an attribute adds it at the end of the tag.
    function revert(records) {
        const comeBack = new Map(); // element → (attribute → [record index, old value])
        for (let i = records.length - 1; i >= 0; --i) {
            const r = records[i];
            if (r.type === 'characterData') {
                r.target.data = r.oldValue;
            } else if (r.type === 'attributes') {
                const ns = r.attributeNamespace, name = r.attributeName;
                const pending = comeBack.get(r.target) || new Map();
                const key = (ns || '') + ' ' + name;
                if (r.oldValue === null) {
                    r.target.removeAttributeNS(ns, name);
                    pending.delete(key);
                } else if (r.target.hasAttributeNS(ns, name) && !pending.has(key)) {
                    r.target.setAttributeNS(ns, name, r.oldValue);
                } else {
                    pending.set(key, [i, ns, name, r.oldValue]); // older records override
                }
                comeBack.set(r.target, pending);
            } else {
                for (const n of r.addedNodes)
                    if (n.parentNode === r.target)
                        r.target.removeChild(n);
                let ref = null;
                if (r.nextSibling && r.nextSibling.parentNode === r.target)
                    ref = r.nextSibling;
                else if (r.previousSibling && r.previousSibling.parentNode === r.target)
                    ref = r.previousSibling.nextSibling;
                for (const n of r.removedNodes)
                    r.target.insertBefore(n, ref);
            }
        }
        for (const [element, pending] of comeBack) {
            const back = [...pending.values()].sort((x, y) => y[0] - x[0]);
            for (const [, ns, name, value] of back) {
                element.removeAttributeNS(ns, name);
                element.setAttributeNS(ns, name, value);
            }
        }
    }

    function push(step) {
        if (!step.outside)
            LP.revision++;
        undoStack.push(step);
        if (undoStack.length > LIMIT)
            undoStack.shift();
        redoStack.length = 0;
    }

    // Changes nobody announced (typing, the engine's own editing) become steps here.
    function record(list) {
        const records = list.filter(relevant);
        if (!records.length)
            return;
        LP.changes?.note(records);
        if (holding) {
            held.push(...records);
            return;
        }
        const now = performance.now();
        const kind = inputType === 'insertText' ? 'typing' : 'edit';
        const before = inputBefore || lastSelection;
        const top = undoStack[undoStack.length - 1];
        // Typing goes on the last typing step while the caret stays where that step left it.
        if (kind === 'typing' && top && top.kind === 'typing' && now - top.time < MERGE_MS &&
            !redoStack.length && sameSelection(before, top.after)) {
            top.records.push(...records);
            LP.revision++;
            top.time = now;
            top.after = saveSelection();
        } else {
            push({kind, records, before, after: saveSelection(), time: now});
        }
        inputBefore = null;
        inputType = '';
        LP.scheduleDisplayChanged({type: 'input'});
    }

    function flush() {
        if (observer)
            record(observer.takeRecords());
    }

    function replay(from, to, selectionKey) {
        flush();
        const step = from.pop();
        if (!step)
            return false;
        revert(step.records);
        if (!step.outside)
            LP.revision++;
        to.push({kind: step.kind, records: take(), before: step.before, after: step.after, time: 0,
                 swap: step.swap, outside: step.outside});
        if (step.swap)
            step.swap();
        restoreSelection(step[selectionKey]);
        if (LP.afterHistory)
            LP.afterHistory();
        LP.scheduleDisplayChanged({type: 'input'});
        return true;
    }

    LP.history = {
        start() {
            observer = new MutationObserver(record);
            observer.observe(document, {subtree: true, childList: true, attributes: true,
                                        attributeOldValue: true, characterData: true,
                                        characterDataOldValue: true});
            document.addEventListener('beforeinput', e => {
                if (e.inputType === 'historyUndo' || e.inputType === 'historyRedo') {
                    e.preventDefault();
                    e.inputType === 'historyUndo' ? LP.history.undo() : LP.history.redo();
                    return;
                }
                flush();
                inputBefore = saveSelection();
                inputType = e.inputType;
            }, true);
            // A composition (Japanese input) is one step from its start to its end.
            let composing = false;
            const endComposition = () => {
                if (!composing)
                    return;
                composing = false;
                LP.history.end('typing');
                LP.scheduleDisplayChanged({type: 'input'});
            };
            document.addEventListener('compositionstart', () => {
                if (!composing) {
                    composing = true;
                    LP.history.begin();
                }
            }, true);
            document.addEventListener('compositionend', endComposition, true);
            window.addEventListener('blur', endComposition);
            // The usual keys, ahead of the engine's own undo, which never runs.
            document.addEventListener('keydown', e => {
                if (!(e.ctrlKey || e.metaKey) || e.altKey)
                    return;
                const key = e.key.toLowerCase();
                const redo = key === 'y' || (key === 'z' && e.shiftKey);
                if (key !== 'z' && !redo)
                    return;
                e.preventDefault();
                redo ? LP.history.redo() : LP.history.undo();
            }, true);
            document.addEventListener('selectionchange', () => {
                if (!holding)
                    lastSelection = saveSelection();
            });
            lastSelection = saveSelection();
        },
        // Everything changed between begin() and the matching end() is one step.
        begin() {
            if (holding++ === 0) {
                flush();
                heldBefore = saveSelection();
                held = [];
            }
        },
        // `swap`, when given, is called each time the step is undone or redone, after it.
        end(kind, swap) {
            held.push(...take());
            if (--holding > 0)
                return;
            const records = held;
            held = [];
            if (records.length)
                push({kind, records, before: heldBefore, after: saveSelection(),
                      time: performance.now(), swap});
        },
        run(kind, fn, swap) {
            LP.history.begin();
            try {
                return fn();
            } finally {
                LP.history.end(kind, swap);
            }
        },
        // A step for a change outside the page (a linked sheet's file): it holds no change
        // of the document and does not count as one; `swap` takes it back and redoes it.
        outside(kind, swap) {
            flush();
            const here = saveSelection();
            const step = {kind, records: [], before: here, after: here, time: performance.now(),
                          swap, outside: true};
            push(step);
            return step;
        },
        // Takes a step made by outside() out of the history again (it did not happen).
        forget(step) {
            const at = undoStack.indexOf(step);
            if (at >= 0)
                undoStack.splice(at, 1);
        },
        // Takes back what the open step has changed so far, leaving no trace.
        discard() {
            const records = held.concat(take());
            held = [];
            revert(records);
            take();
        },
        undo: () => replay(undoStack, redoStack, 'before'),
        redo: () => replay(redoStack, undoStack, 'after'),
        canUndo() {
            flush();
            return undoStack.length > 0;
        },
        canRedo: () => redoStack.length > 0,
    };
})(window.__lumipage = window.__lumipage || {});

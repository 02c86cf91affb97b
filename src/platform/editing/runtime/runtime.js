// Lumipage page runtime, run in the application world of the editing page.
// It keeps the page in design mode, runs the editing commands, answers every
// command's status in one snapshot and reports display changes, focus and
// readiness to the editor over the web channel.
(function (LP) {
    'use strict';

    // The command numbers, by name, as the editor passes them in (LP.commands).
    const C = LP.commands;
    // Command number -> [execCommand name, latches when its state is on].
    const ONE_CALL = {
        [C.BOLD]: ['bold', true],           [C.COPY]: ['copy', false],
        [C.CUT]: ['cut', false],           [C.DELETE]: ['forwardDelete', false],
        [C.HYPERLINK]: ['createLink', false],    [C.INDENT]: ['indent', false],
        [C.ITALIC]: ['italic', true],         [C.JUSTIFYCENTER]: ['justifyCenter', false],
        [C.JUSTIFYLEFT]: ['justifyLeft', false],   [C.JUSTIFYRIGHT]: ['justifyRight', false],
        [C.ORDERLIST]: ['insertOrderedList', true], [C.OUTDENT]: ['outdent', false],
        [C.PASTE]: ['paste', false],
        [C.REMOVEFORMAT]: ['removeFormat', false],  [C.SELECTALL]: ['selectAll', false],
        [C.SETBACKCOLOR]: ['backColor', false],     [C.SETFORECOLOR]: ['foreColor', false],
        [C.UNDERLINE]: ['underline', true],
        [C.UNLINK]: ['unlink', false],        [C.UNORDERLIST]: ['insertUnorderedList', true],
    };
    const ENABLED = 3, LATCHED = 7, UNAVAILABLE = 1;

    LP.aidAttributes = new Set();
    LP.options = {};
    LP.queried = Object.keys(ONE_CALL).map(Number);
    LP.extraCommands = {}; // number -> {status(): n, exec(option, value): bool}
    LP.ENABLED = ENABLED;
    LP.LATCHED = LATCHED;
    LP.UNAVAILABLE = UNAVAILABLE;
    // Undo and redo go through the runtime's own history (the engine's never runs).
    LP.extraCommands[C.UNDO] = {status: () => LP.history.canUndo() ? ENABLED : UNAVAILABLE,
                              exec: () => LP.history.undo(), plain: true};
    LP.extraCommands[C.REDO] = {status: () => LP.history.canRedo() ? ENABLED : UNAVAILABLE,
                              exec: () => LP.history.redo(), plain: true};

    // Editing aids live in an adopted style sheet: shown, never part of the document.
    const aidSheet = new CSSStyleSheet();
    function updateAids() {
        // Floating frames would swallow presses meant to select them as objects.
        const rules = ['iframe { pointer-events: none; }'];
        if (LP.options[9])
            rules.push('table[border="0"], table:not([border]) { outline: 1px dotted #999; }',
                       'table[border="0"] td, table:not([border]) td { outline: 1px dotted #bbb; }');
        if (LP.options[11])
            rules.push('[style*="visibility:hidden"], [style*="visibility: hidden"] ' +
                       '{ visibility: visible !important; opacity: 0.45; }',
                       '[style*="position:absolute"], [style*="position: absolute"] ' +
                       '{ outline: 1px dashed #88a; }');
        aidSheet.replaceSync(rules.join('\n'));
    }

    function selection() { return document.getSelection(); }
    LP.selection = selection;

    function colourText(value) {
        const v = Number(value) >>> 0;
        const hex = n => (n & 255).toString(16).padStart(2, '0');
        return '#' + hex(v) + hex(v >> 8) + hex(v >> 16);
    }

    LP.ensureCaret = ensureCaret;
    function ensureCaret() {
        const sel = selection();
        if (sel && sel.rangeCount > 0)
            return;
        const body = document.body;
        if (body)
            sel.collapse(body, 0);
    }

    // The engine answers these by examining the document around the caret, which takes
    // time in proportion to the page when the caret is at its end; they depend only on
    // whether there is a selection, so the runtime answers them itself.
    function hasRange() {
        const sel = selection();
        return !!sel && sel.rangeCount > 0 && !sel.isCollapsed;
    }
    function hasSelection() {
        const sel = selection();
        return !!sel && sel.rangeCount > 0 && !!document.body;
    }
    const SELECTION_STATUS = {[C.COPY]: hasRange, [C.CUT]: hasRange, [C.DELETE]: hasSelection};

    function statusOf(id) {
        const extra = LP.extraCommands[id];
        if (extra)
            return extra.status();
        if (SELECTION_STATUS[id])
            return SELECTION_STATUS[id]() ? ENABLED : UNAVAILABLE;
        const entry = ONE_CALL[id];
        if (!entry)
            return UNAVAILABLE;
        let enabled = false, on = false;
        try {
            enabled = document.queryCommandEnabled(entry[0]);
            on = entry[1] && enabled && document.queryCommandState(entry[0]);
        } catch (e) {
            enabled = false;
        }
        return on ? LATCHED : enabled ? ENABLED : UNAVAILABLE;
    }

    LP.statuses = function () {
        const out = {};
        for (const id of LP.queried)
            out[id] = statusOf(id);
        return out;
    };

    // One report per burst: changes within one task share a microtask, and the
    // selectionchange that the engine queues right after an edit is folded into the
    // report the edit already sent when it would say the same.
    // With follow reports on (the source pane is shown), a report of a caret move tells the
    // ordinal of the element the caret is in, and a report of a change what changed since
    // the load with the engine's markup of it (followed()): the pane follows the page
    // without a call, which would wait for the page to paint first.
    let pending = false, contentChanged = false, lastReport = '', lastTime = 0, lastWasChange = false;
    let reportedRevision = -1;
    LP.followReports = false;
    LP.scheduleDisplayChanged = function (event) {
        if (!event || event.type !== 'selectionchange')
            contentChanged = true;
        if (pending || !LP.bridge)
            return;
        pending = true;
        Promise.resolve().then(() => {
            pending = false;
            const statuses = LP.statuses();
            const report = JSON.stringify(statuses);
            const now = performance.now();
            // Only the one selectionchange right after a change is an echo; a caret move
            // after a caret move is always reported.
            const echo = !contentChanged && lastWasChange && report === lastReport &&
                         now - lastTime < 50;
            // Only where the page is as the last report left it: the caret moved, and the
            // page's elements are listed already.
            if (LP.followReports)
                LP.history.canUndo(); // records what changed so far
            const moved = !echo && (LP.revision || 0) === reportedRevision;
            const caret = LP.followReports && moved ? LP.api.caretElement() : -1;
            const kept = LP.followReports && !echo && !moved ? followed() : null;
            if (!echo)
                reportedRevision = LP.revision || 0;
            lastWasChange = contentChanged;
            contentChanged = false;
            lastReport = report;
            lastTime = now;
            if (!echo)
                LP.bridge.displayChanged(statuses, LP.revision || 0, caret, kept);
        });
    };

    // What changed since the load with the engine's markup of each change (keptChanges);
    // null where there is too much of it to send with every report.
    function followed() {
        if (!LP.api.keptChanges)
            return null;
        const kept = LP.api.keptChanges(true);
        let size = 0;
        for (const c of kept.changes)
            for (const m of c.markup || [])
                size += m.length;
        return kept.whole || size > 65536 ? null : kept;
    }

    const api = {
        // With `withChanges`, what changed since the load too (one trip for a save).
        documentMarkup(withChanges) {
            const markup = LP.documentMarkup(document);
            if (withChanges && api.keptChanges)
                markup.changes = api.keptChanges(true);
            markup.revision = LP.revision || 0;
            return markup;
        },
        statuses: () => LP.statuses(),
        // How many changes the page has had (undone ones count too): the program asks
        // whether anything changed without reading the page.
        revision: () => LP.revision || 0,
        followReports(on) {
            LP.followReports = !!on;
            return true;
        },
        setOption(number, value) {
            LP.options[number] = !!value;
            updateAids();
            return true;
        },
        exec(id, option, value) {
            const extra = LP.extraCommands[id];
            if (extra) {
                const status = extra.status();
                if (status !== ENABLED && status !== LATCHED)
                    return false;
                const done = extra.plain ? !!extra.exec(option, value)
                                         : LP.history.run('command', () => !!extra.exec(option, value));
                LP.scheduleDisplayChanged();
                return done;
            }
            const entry = ONE_CALL[id];
            if (!entry)
                return false;
            ensureCaret();
            const status = statusOf(id);
            if (status !== ENABLED && status !== LATCHED)
                return false;
            let arg;
            if (id === C.SETBACKCOLOR || id === C.SETFORECOLOR)
                arg = colourText(value);
            else if (id === C.HYPERLINK)
                arg = value === undefined || value === null ? '' : String(value);
            if (id === C.HYPERLINK && arg === '')
                return false;
            const done = LP.history.run('command', () => document.execCommand(entry[0], false, arg));
            LP.scheduleDisplayChanged();
            return done;
        },
        paste(html) {
            return LP.history.run('paste', () => LP.pasteNow(html));
        },
        setBgColor(colour) {
            if (!document.body)
                return false;
            LP.history.run('command', () => { document.bgColor = String(colour); });
            LP.scheduleDisplayChanged();
            return true;
        },

        // Sets or (null) removes body attributes as one step. Those set go first in the
        // tag, where the background dialog's text puts them, so the page reads as if
        // the tag had been written that way.
        setBodyAttributes(pairs) {
            const body = document.body;
            if (!body)
                return false;
            const names = new Set(pairs.map(p => p[0].toLowerCase()));
            const moving = pairs.some(p => p[1] !== null);
            const kept = moving ? [...body.attributes].filter(a => !names.has(a.name))
                                                      .map(a => [a.name, a.value])
                                : [];
            // Attributes go from the last, so that an undo puts them back in order.
            LP.history.run('command', () => {
                for (const [name] of [...kept].reverse())
                    body.removeAttribute(name);
                for (const [name] of pairs.filter(p => p[1] === null).reverse())
                    body.removeAttribute(name);
                for (const [name, value] of pairs.filter(p => p[1] !== null))
                    body.setAttribute(name, value);
                for (const [name, value] of kept)
                    body.setAttribute(name, value);
            });
            LP.scheduleDisplayChanged();
            return true;
        },

        // Rewrites the attributes naming files from old values to new ones, as one step.
        replaceReferences(map) {
            const names = ['src', 'href', 'background', 'lowsrc', 'dynsrc', 'data'];
            let changed = 0;
            LP.history.run('command', () => {
                for (const el of document.querySelectorAll('*')) {
                    if (el.closest('[data-lumipage-aid]'))
                        continue;
                    for (const name of names) {
                        const value = el.getAttribute(name);
                        if (value !== null && Object.prototype.hasOwnProperty.call(map, value)) {
                            el.setAttribute(name, map[value]);
                            ++changed;
                        }
                    }
                }
            });
            LP.scheduleDisplayChanged();
            return changed > 0;
        },

        // Puts the caret at a point of the view, where a drop landed.
        caretAtPoint(x, y) {
            const range = document.caretRangeFromPoint(x, y);
            if (!range || !document.body || !document.body.contains(range.startContainer))
                return false;
            const selection = document.getSelection();
            selection.removeAllRanges();
            selection.addRange(range);
            return true;
        },

        // Whether the page holds a script element, and whether its markup mentions
        // `mention`: the effects list's checks, answered without sending the page.
        scriptPresence(mention) {
            return {script: document.querySelector('script') !== null,
                    mentions: !!mention && document.documentElement.outerHTML.includes(mention)};
        },

        // Where an element is and what it shows: for positioning and for checks.
        elementInfo(id) {
            const el = document.getElementById(id);
            if (!el)
                return null;
            const box = el.getBoundingClientRect();
            return {tag: el.tagName, left: box.left, top: box.top, width: box.width,
                    height: box.height, naturalWidth: el.naturalWidth || 0,
                    style: el.getAttribute('style') || ''};
        },
        // Selects characters [start, end) of the text inside the element with `id`
        // (a caret when they are equal); false when there is no such element.
        selectInElement(id, start, end) {
            const el = document.getElementById(id);
            if (!el)
                return false;
            const walker = document.createTreeWalker(el, NodeFilter.SHOW_TEXT);
            const range = document.createRange();
            let offset = 0, node, startSet = false;
            range.selectNodeContents(el);
            range.collapse(true);
            while ((node = walker.nextNode())) {
                const len = node.data.length;
                if (!startSet && start <= offset + len) {
                    range.setStart(node, start - offset);
                    startSet = true;
                }
                if (startSet && end <= offset + len) {
                    range.setEnd(node, end - offset);
                    break;
                }
                offset += len;
            }
            const sel = selection();
            sel.removeAllRanges();
            sel.addRange(range);
            LP.scheduleDisplayChanged();
            return true;
        },
    };

    // One entry point for the editor: a name and JSON arguments in, {ok, value|error} out.
    LP.call = function (name, args) {
        try {
            const fn = api[name];
            if (!fn)
                return {ok: false, error: 'unknown operation ' + name};
            return {ok: true, value: fn.apply(null, args || [])};
        } catch (e) {
            return {ok: false, error: String(e && e.message || e)};
        }
    };
    LP.api = api;

    // The editor may send a call again when its answer went missing: a number seen
    // before is answered from this record, never run twice.
    const answered = new Map();
    LP.callOnce = function (id, name, args) {
        if (answered.has(id))
            return answered.get(id);
        const result = LP.call(name, args);
        answered.set(id, result);
        if (answered.size > 8)
            answered.delete(answered.keys().next().value);
        return result;
    };

    function start() {
        document.designMode = 'on';
        LP.history.start();
        document.adoptedStyleSheets = [aidSheet];
        updateAids();
        document.addEventListener('selectionchange', LP.scheduleDisplayChanged);
        document.addEventListener('input', LP.scheduleDisplayChanged);
        window.addEventListener('focus', () => LP.bridge && LP.bridge.gotFocus());
        // Links never navigate while editing.
        document.addEventListener('click', e => {
            if (e.target.closest && e.target.closest('a[href]'))
                e.preventDefault();
        }, true);
        new QWebChannel(qt.webChannelTransport, channel => {
            const bridge = channel.objects.bridge;
            bridge.configuration(config => {
                for (const [number, value] of Object.entries(config.options || {}))
                    LP.options[number] = !!value;
                if (config.queried)
                    LP.queried = config.queried.map(Number);
                LP.followReports = !!config.followReports;
                updateAids();
                LP.bridge = bridge;
                bridge.runtimeReady(location.href);
                LP.scheduleDisplayChanged();
            });
        });
    }
    start();
})(window.__lumipage = window.__lumipage || {});

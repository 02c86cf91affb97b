// Lumipage page runtime: objects. A click on an image, a table's frame, a form control,
// a marquee, a floating frame, a button or an absolutely positioned block selects it
// as an object (outline and handles drawn in an editing aid, never saved). A handle
// sizes it; an absolute object is moved by dragging it or with the arrow keys. Escape
// or a click in text returns to the caret. Also: absolute positioning and z-order.
(function (LP) {
    'use strict';

    const C = LP.commands; // the command numbers, by name

    const OBJECT_TAGS = new Set(['IMG', 'INPUT', 'SELECT', 'TEXTAREA', 'BUTTON', 'MARQUEE',
                                 'IFRAME', 'OBJECT', 'EMBED', 'APPLET', 'HR']);
    const TABLE_FRAME = new Set(['TABLE', 'TBODY', 'THEAD', 'TFOOT', 'TR']);
    const EDGE = 6; // px: a press this close to a selected block's edge drags it

    let selected = null;
    let frame = null;
    let endDrag = null; // ends the drag in progress, if any
    // Where the eight handles sit, as fractions of the outline's width and height.
    const SPOTS = [[0, 0], [0.5, 0], [1, 0], [0, 0.5], [1, 0.5], [0, 1], [0.5, 1], [1, 1]];

    function isAbsolute(el) {
        return !!el && el.nodeType === 1 && el.isConnected &&
               getComputedStyle(el).position === 'absolute';
    }

    // The object a press on `target` selects, or null for a press in text.
    function objectAt(target) {
        if (!target || target.nodeType !== 1 || target.closest('[data-lumipage-aid]'))
            return null;
        if (TABLE_FRAME.has(target.tagName))
            return target.closest('table');
        for (let el = target; el && el !== document.body; el = el.parentElement) {
            if (OBJECT_TAGS.has(el.tagName) || isAbsolute(el))
                return el;
            if (el.tagName === 'TD' || el.tagName === 'TH')
                return null; // text in a cell takes the caret
        }
        return null;
    }

    // Floating frames do not take presses in edit mode (see the aid sheet); find them here.
    function frameAt(x, y) {
        for (const f of document.querySelectorAll('iframe')) {
            const r = f.getBoundingClientRect();
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
                return f;
        }
        return null;
    }

    function drawFrame() {
        if (selected && !selected.isConnected)
            selected = null;
        if (!selected) {
            if (frame)
                frame.remove();
            return;
        }
        if (!frame) {
            frame = document.createElement('div');
            frame.setAttribute('data-lumipage-aid', '');
            frame.contentEditable = 'false';
            for (let i = 0; i < 8; ++i)
                frame.appendChild(document.createElement('div'));
        }
        if (!frame.isConnected)
            document.documentElement.appendChild(frame);
        const r = selected.getBoundingClientRect();
        const left = r.left + scrollX - 2, top = r.top + scrollY - 2;
        const width = r.width + 4, height = r.height + 4;
        frame.style.cssText = `position:absolute;margin:0;padding:0;pointer-events:none;` +
                              `z-index:2147483647;box-sizing:border-box;border:1px solid #2a5db0;` +
                              `left:${left}px;top:${top}px;width:${width}px;height:${height}px`;
        SPOTS.forEach(([fx, fy], i) => {
            frame.children[i].style.cssText =
                `position:absolute;width:5px;height:5px;background:#fff;border:1px solid #2a5db0;` +
                `left:${fx * (width - 2) - 4}px;top:${fy * (height - 2) - 4}px`;
        });
    }

    function select(el) {
        selected = el;
        const range = document.createRange();
        range.selectNode(el);
        const sel = LP.selection();
        sel.removeAllRanges();
        sel.addRange(range);
        drawFrame();
        LP.scheduleDisplayChanged();
    }

    function deselect() {
        selected = null;
        drawFrame();
    }

    LP.selectedObject = () => selected;
    LP.selectObject = select;
    LP.deselectObject = deselect;
    // Whether a click on `el` itself selects it as an object.
    LP.isObject = el => objectAt(el) === el;
    LP.afterHistory = drawFrame;

    function nearEdge(el, e) {
        const r = el.getBoundingClientRect();
        return e.clientX - r.left < EDGE || r.right - e.clientX < EDGE ||
               e.clientY - r.top < EDGE || r.bottom - e.clientY < EDGE;
    }

    function px(value) {
        return Math.round(value) + 'px';
    }

    // The place of an absolute element, from its style or, failing that, its box.
    function placeOf(el) {
        const style = getComputedStyle(el);
        return {left: parseFloat(style.left) || 0, top: parseFloat(style.top) || 0};
    }

    function moveTo(el, left, top) {
        el.style.left = px(left);
        el.style.top = px(top);
        drawFrame();
    }

    // Follows the mouse from a press to its release as one undo step; `follow` gets the
    // distance moved once it is more than a click's wobble.
    function track(e, kind, follow) {
        const startX = e.clientX, startY = e.clientY;
        let moved = false;
        LP.history.begin();
        const move = ev => {
            const dx = ev.clientX - startX, dy = ev.clientY - startY;
            if (!moved && Math.abs(dx) + Math.abs(dy) < 3)
                return;
            moved = true;
            ev.preventDefault();
            follow(dx, dy);
            drawFrame();
        };
        // Ends once, however the press ends (a release, or the window losing focus), so
        // the history never stays held open.
        const up = () => {
            document.removeEventListener('mousemove', move, true);
            document.removeEventListener('mouseup', up, true);
            window.removeEventListener('blur', up);
            endDrag = null;
            LP.history.end(kind);
            LP.scheduleDisplayChanged();
        };
        endDrag = up;
        document.addEventListener('mousemove', move, true);
        document.addEventListener('mouseup', up, true);
        window.addEventListener('blur', up);
    }

    function startDrag(el, e) {
        const start = placeOf(el);
        track(e, 'move', (dx, dy) => moveTo(el, start.left + dx, start.top + dy));
    }

    // The handle of the selected object under the press, or -1.
    function handleAt(e) {
        if (!selected || !selected.isConnected)
            return -1;
        const r = selected.getBoundingClientRect();
        return SPOTS.findIndex(([fx, fy]) =>
                                   Math.abs(e.clientX - (r.left - 2 + fx * (r.width + 4))) <= 5 &&
                                   Math.abs(e.clientY - (r.top - 2 + fy * (r.height + 4))) <= 5);
    }

    // Dragging a handle sizes the object (style width / height); on the left or top
    // side an absolute object also moves, so the opposite side stays put.
    function startResize(el, spot, e) {
        const [fx, fy] = SPOTS[spot];
        const style = getComputedStyle(el), box = el.getBoundingClientRect();
        const width = parseFloat(style.width) || box.width;
        const height = parseFloat(style.height) || box.height;
        const absolute = isAbsolute(el), start = placeOf(el);
        track(e, 'resize', (dx, dy) => {
            const w = Math.max(1, width + (fx === 1 ? dx : fx === 0 ? -dx : 0));
            const h = Math.max(1, height + (fy === 1 ? dy : fy === 0 ? -dy : 0));
            if (fx !== 0.5)
                el.style.width = px(w);
            if (fy !== 0.5)
                el.style.height = px(h);
            if (absolute && (fx === 0 || fy === 0))
                moveTo(el, start.left + (fx === 0 ? width - w : 0),
                       start.top + (fy === 0 ? height - h : 0));
        });
    }

    document.addEventListener('mousedown', e => {
        if (endDrag)
            endDrag();
        // A right click on an object selects it first, so that its menu acts on it.
        if (e.button === 2) {
            const el = frameAt(e.clientX, e.clientY) || objectAt(e.target);
            if (el && el !== selected)
                select(el);
            return;
        }
        if (e.button !== 0)
            return;
        const spot = handleAt(e);
        if (spot >= 0) {
            e.preventDefault();
            startResize(selected, spot, e);
            return;
        }
        const el = frameAt(e.clientX, e.clientY) || objectAt(e.target);
        if (!el) {
            deselect();
            return;
        }
        // A second press inside a selected block (not on its edge) goes into its text.
        if (el === selected && !OBJECT_TAGS.has(el.tagName) && el.tagName !== 'TABLE' &&
            !nearEdge(el, e)) {
            deselect();
            return;
        }
        e.preventDefault();
        select(el);
        if (isAbsolute(el))
            startDrag(el, e);
    }, true);

    const NUDGE = {ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1]};
    document.addEventListener('keydown', e => {
        if (!selected)
            return;
        if (e.key === 'Escape') {
            const parent = selected.parentNode;
            const index = Array.prototype.indexOf.call(parent.childNodes, selected);
            deselect();
            LP.selection().collapse(parent, index + 1);
            e.preventDefault();
            return;
        }
        const step = NUDGE[e.key];
        if (!step || !isAbsolute(selected) || e.ctrlKey || e.altKey || e.metaKey)
            return;
        e.preventDefault();
        const size = e.shiftKey ? 10 : 1;
        const place = placeOf(selected);
        const el = selected;
        LP.history.run('move', () => moveTo(el, place.left + step[0] * size, place.top + step[1] * size));
        LP.scheduleDisplayChanged();
    }, true);

    document.addEventListener('selectionchange', () => {
        if (!selected)
            return;
        const sel = LP.selection();
        const range = sel && sel.rangeCount ? sel.getRangeAt(0) : null;
        if (!range || range.collapsed || !selected.isConnected || !range.intersectsNode(selected))
            deselect();
    });
    window.addEventListener('resize', drawFrame);

    // What absolute positioning acts on: the selected object; else the absolute element
    // around the caret; else the block around the caret that sits right in the body.
    function positioningTarget() {
        if (selected && selected.isConnected)
            return selected;
        const sel = LP.selection();
        if (!sel || !sel.rangeCount || !document.body)
            return null;
        let node = sel.getRangeAt(0).startContainer;
        let topBlock = null;
        for (let el = node.nodeType === 1 ? node : node.parentElement;
             el && el !== document.body; el = el.parentElement) {
            if (isAbsolute(el))
                return el;
            if (el.parentElement === document.body)
                topBlock = el;
        }
        return topBlock && getComputedStyle(topBlock).display !== 'inline' ? topBlock : null;
    }

    function toggleAbsolute(el) {
        const s = el.style;
        if (isAbsolute(el)) {
            for (const name of ['position', 'left', 'top', 'z-index'])
                s.removeProperty(name);
            if (isAbsolute(el))
                s.position = 'static';
            if (!el.getAttribute('style'))
                el.removeAttribute('style');
            return;
        }
        const before = el.getBoundingClientRect();
        const display = getComputedStyle(el).display;
        s.position = 'absolute';
        s.left = px(before.left + scrollX);
        s.top = px(before.top + scrollY);
        // A block keeps the width it had in the flow.
        if ((display === 'block' || display === 'list-item' || display === 'table') && !s.width)
            s.width = px(before.width);
        const after = el.getBoundingClientRect();
        moveTo(el, parseFloat(s.left) + before.left - after.left,
               parseFloat(s.top) + before.top - after.top);
    }

    LP.extraCommands[C.MAKE_ABSOLUTE] = {
        status() {
            const el = positioningTarget();
            return !el ? LP.UNAVAILABLE : isAbsolute(el) ? LP.LATCHED : LP.ENABLED;
        },
        exec() {
            const el = positioningTarget();
            if (!el)
                return false;
            toggleAbsolute(el);
            select(el);
            return true;
        },
    };

    // Above the text: one over the highest z-index in the page; below: one under the lowest.
    function zOrder(above) {
        const others = Array.from(document.body.querySelectorAll('[style*="z-index"]'))
                           .filter(el => el !== selected)
                           .map(el => parseInt(el.style.zIndex, 10))
                           .filter(Number.isFinite);
        selected.style.zIndex = above ? Math.max(0, ...others) + 1 : Math.min(0, ...others) - 1;
        drawFrame();
        return true;
    }
    const zStatus = () => isAbsolute(selected) ? LP.ENABLED : LP.UNAVAILABLE;
    LP.extraCommands[C.BRING_ABOVE_TEXT] = {status: zStatus, exec: () => zOrder(true)};
    LP.extraCommands[C.SEND_BELOW_TEXT] = {status: zStatus, exec: () => zOrder(false)};

    // For checks: selects the element with `id` as an object.
    LP.api.selectObject = function (id) {
        const el = document.getElementById(id);
        if (!el)
            return false;
        select(el);
        return true;
    };
    LP.api.selectedObjectId = () => selected ? selected.id || selected.tagName : '';
})(window.__lumipage = window.__lumipage || {});

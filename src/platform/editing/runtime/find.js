// Lumipage page runtime: find, font and image, the operations behind the
// component's own dialogs.
(function (LP) {
    'use strict';

    const C = LP.commands; // the command numbers, by name

    const SKIP = new Set(['SCRIPT', 'STYLE', 'NOSCRIPT', 'TEMPLATE']);
    const WORD = /[\p{L}\p{N}_]/u;
    const BLOCK = new Set(['ADDRESS', 'BLOCKQUOTE', 'BODY', 'CAPTION', 'CENTER', 'DD', 'DIV', 'DL',
                           'DT', 'FORM', 'H1', 'H2', 'H3', 'H4', 'H5', 'H6', 'LI', 'MARQUEE',
                           'OL', 'P', 'PRE', 'TABLE', 'TD', 'TH', 'TR', 'UL']);

    function blockOf(node) {
        let el = node.parentElement;
        while (el && !BLOCK.has(el.tagName))
            el = el.parentElement;
        return el;
    }

    // The body's text as one string, with where each text node starts in it.
    function textIndex() {
        const nodes = [], starts = [];
        let text = '', block = null;
        const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT, {
            acceptNode(n) {
                for (let el = n.parentElement; el && el !== document.body; el = el.parentElement)
                    if (SKIP.has(el.tagName) || el.hasAttribute('data-lumipage-aid'))
                        return NodeFilter.FILTER_REJECT;
                return NodeFilter.FILTER_ACCEPT;
            },
        });
        for (let n; (n = walker.nextNode());) {
            // Text of different blocks is kept apart, so no match runs across them.
            const here = blockOf(n);
            if (nodes.length && here !== block)
                text += '\n';
            block = here;
            nodes.push(n);
            starts.push(text.length);
            text += n.data;
        }
        return {nodes, starts, text};
    }

    // Index in the text of a DOM point (container, offset).
    function indexOf(index, container, offset) {
        const range = document.createRange();
        for (let i = 0; i < index.nodes.length; ++i) {
            const n = index.nodes[i];
            if (n === container)
                return index.starts[i] + offset;
            range.selectNode(n);
            if (range.comparePoint(container, offset) <= 0)
                return index.starts[i];
        }
        return index.text.length;
    }

    function pointAt(index, position, preferEnd) {
        for (let i = 0; i < index.nodes.length; ++i) {
            const start = index.starts[i], end = start + index.nodes[i].data.length;
            if (position < end || (preferEnd && position === end))
                return [index.nodes[i], position - start];
        }
        const last = index.nodes[index.nodes.length - 1];
        return [last, last.data.length];
    }

    function matches(index, needle, matchCase, wholeWord) {
        const haystack = matchCase ? index.text : index.text.toLowerCase();
        const wanted = matchCase ? needle : needle.toLowerCase();
        const found = [];
        for (let at = haystack.indexOf(wanted); at >= 0; at = haystack.indexOf(wanted, at + 1)) {
            if (wholeWord) {
                const before = index.text[at - 1], after = index.text[at + needle.length];
                if ((before && WORD.test(before) && WORD.test(needle[0])) ||
                    (after && WORD.test(after) && WORD.test(needle[needle.length - 1])))
                    continue;
            }
            found.push(at);
        }
        return found;
    }

    // Selects the next match after the selection (or the one before it, going up),
    // wrapping round the page. Answers 'found', 'wrapped' or 'none'.
    LP.api.find = function (needle, matchCase, wholeWord, up) {
        needle = String(needle || '');
        if (!needle || !document.body)
            return 'none';
        const index = textIndex();
        const all = matches(index, needle, !!matchCase, !!wholeWord);
        if (!all.length)
            return 'none';
        const sel = LP.selection();
        let from = up ? index.text.length : 0;
        if (sel && sel.rangeCount) {
            const range = sel.getRangeAt(0);
            from = up ? indexOf(index, range.startContainer, range.startOffset)
                      : indexOf(index, range.endContainer, range.endOffset);
        }
        let at = up ? all.filter(a => a + needle.length <= from).pop()
                    : all.find(a => a >= from);
        let answer = 'found';
        if (at === undefined) {
            at = up ? all[all.length - 1] : all[0];
            answer = 'wrapped';
        }
        const [startNode, startOffset] = pointAt(index, at, false);
        const [endNode, endOffset] = pointAt(index, at + needle.length, true);
        sel.setBaseAndExtent(startNode, startOffset, endNode, endOffset);
        const el = startNode.parentElement;
        if (el)
            el.scrollIntoView({block: 'nearest', inline: 'nearest'});
        LP.scheduleDisplayChanged();
        return answer;
    };

    // The selected text, for checks.
    LP.api.selectedText = () => String(LP.selection() || '');

    // The font of the selection as the font dialog shows it.
    LP.api.fontState = function () {
        LP.ensureCaret();
        const value = name => {
            try {
                return document.queryCommandValue(name) || '';
            } catch (e) {
                return '';
            }
        };
        return {face: value('fontName').replace(/^["']|["']$/g, ''), size: value('fontSize'),
                color: value('foreColor'), bold: document.queryCommandState('bold'),
                italic: document.queryCommandState('italic'),
                underline: document.queryCommandState('underline')};
    };

    // Applies a font request (only the parts it holds) to the selection as one step.
    LP.api.applyFont = function (request) {
        LP.ensureCaret();
        const done = LP.history.run('font', () => {
            document.execCommand('styleWithCSS', false, false);
            if (request.face)
                document.execCommand('fontName', false, request.face);
            if (request.size)
                document.execCommand('fontSize', false, String(request.size));
            if (request.color)
                document.execCommand('foreColor', false, request.color);
            for (const name of ['bold', 'italic', 'underline'])
                if (typeof request[name] === 'boolean' &&
                    document.queryCommandState(name) !== request[name])
                    document.execCommand(name, false);
            return true;
        });
        LP.scheduleDisplayChanged();
        return done;
    };

    const IMAGE_ATTRS = ['src', 'alt', 'align', 'border', 'hspace', 'vspace'];

    // The image selected as an object, as the image dialog shows it; null when none.
    LP.api.selectedImage = function () {
        const el = LP.selectedObject && LP.selectedObject();
        if (!el || el.tagName !== 'IMG')
            return null;
        const out = {};
        for (const name of IMAGE_ATTRS)
            out[name] = el.getAttribute(name) || '';
        out.shownWidth = el.width; // as laid out, in CSS pixels
        out.shownHeight = el.height;
        // Whether a new element may take its place without losing anything it carries.
        const shown = new Set(IMAGE_ATTRS.concat(['width', 'height']));
        out.replaceable = Array.from(el.attributes).every(a => shown.has(a.name.toLowerCase())) &&
            !(el.parentElement && el.parentElement.tagName === 'PICTURE');
        return out;
    };

    // Sets the dialog's attributes on the selected image (empty ones are removed); the
    // image keeps everything else, its place and size included.
    LP.api.updateImage = function (attrs) {
        const el = LP.selectedObject && LP.selectedObject();
        if (!el || el.tagName !== 'IMG')
            return false;
        LP.history.run('image', () => {
            for (const name of IMAGE_ATTRS) {
                const v = attrs[name];
                if (v === undefined || v === null || v === '')
                    el.removeAttribute(name);
                else
                    el.setAttribute(name, String(v));
            }
        });
        LP.selectObject(el);
        return true;
    };

    const always = () => document.body ? LP.ENABLED : LP.UNAVAILABLE;
    // These three are answered by the editor's own dialogs; the page only reports them.
    for (const id of [C.FINDTEXT, C.FONT, C.IMAGE])
        LP.extraCommands[id] = {status: always, exec: () => false};
})(window.__lumipage = window.__lumipage || {});

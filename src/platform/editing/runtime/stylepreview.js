// Lumipage page runtime: what the style panel previews without changing the page.
// States: the engine cannot be told from outside that an element is hovered, so a state
// (:hover, :active, :focus, :visited) is forced by marking the chosen element with an aid
// attribute and showing, in an adopted sheet of our own, each rule that names the state
// with the pseudo-class replaced by that mark. Neither the attribute (an aid attribute)
// nor the adopted sheet is part of the document: never saved, never in the history.
// Widths: @media conditions are asked of a hidden frame of the chosen width, so that the
// engine itself evaluates them there as it would in a view that wide.
(function (LP) {
    'use strict';

    const MARK = 'data-lumipage-state';
    const STATES = ['hover', 'active', 'focus', 'visited'];
    LP.aidAttributes.add(MARK);

    const sheet = new CSSStyleSheet();
    let marked = null, states = [], probe = null, width = 0;

    // `selector` (one selector of a list) with each forced state's pseudo-class replaced by
    // the mark, outside strings and attribute selectors; pseudo-elements and longer names
    // (:focus-within) stay. Null when it names no forced state.
    function forcedSelector(selector, forced) {
        let out = '', hit = false, quote = '', bracket = 0;
        for (let i = 0; i < selector.length; ++i) {
            const c = selector[i];
            if (c === '\\') {
                out += c + (selector[++i] || '');
                continue;
            }
            if (quote) {
                if (c === quote)
                    quote = '';
            } else if (c === '"' || c === "'") {
                quote = c;
            } else if (c === '[') {
                ++bracket;
            } else if (c === ']') {
                --bracket;
            } else if (c === ':' && !bracket && selector[i + 1] !== ':' && selector[i - 1] !== ':') {
                const name = /^[A-Za-z-]+/.exec(selector.slice(i + 1));
                const lower = name && name[0].toLowerCase();
                if (lower && forced.includes(lower)) {
                    out += '[' + MARK + '~="' + lower + '"]';
                    i += name[0].length;
                    hit = true;
                    continue;
                }
            }
            out += c;
        }
        return hit ? out : null;
    }

    // The selector list `text` as matched while the states are forced (each selector that
    // names one with the mark instead), for element.matches().
    function testedSelector(text, selectorsOf) {
        if (!states.length)
            return text;
        return selectorsOf(text).map(s => forcedSelector(s, states) || s).join(', ');
    }

    // Moves the mark to `el` with the `forced` states (none: the preview goes) and writes
    // the preview rules for `rules` (the page's style rules in cascade order). A forced
    // rule is copied with the mark for the pseudo-class; each later rule that matches the
    // element is copied after it, kept to the marked element at its own specificity
    // (:is() of the selector, :where() of the mark), so that the copies stand in the
    // page's order among themselves and a later rule still beats a forced one it ties.
    function force(el, forced, rules, selectorsOf, matches) {
        const wanted = el ? STATES.filter(s => forced.includes(s)) : [];
        if (marked && (marked !== el || !wanted.length))
            marked.removeAttribute(MARK);
        marked = wanted.length ? el : null;
        states = wanted;
        if (!wanted.length) {
            sheet.replaceSync('');
            return;
        }
        if (el.getAttribute(MARK) !== wanted.join(' '))
            el.setAttribute(MARK, wanted.join(' '));
        if (!document.adoptedStyleSheets.includes(sheet))
            document.adoptedStyleSheets = [...document.adoptedStyleSheets, sheet];
        const out = [];
        let started = false;
        for (const r of rules) {
            if (!r.live)
                continue; // under a condition the real view does not meet
            const list = selectorsOf(r.rule.selectorText);
            const own = list.map(s => forcedSelector(s, wanted)).filter(s => s);
            let selectors = own;
            if (!own.length) {
                if (!started || !matches(el, r.rule.selectorText))
                    continue;
                selectors = list.filter(s => !s.includes('::') && matches(el, s))
                                .map(s => ':is(' + s + '):where([' + MARK + '])');
            }
            started = true;
            if (selectors.length)
                out.push(selectors.join(', ') + ' { ' + r.rule.style.cssText + ' }');
        }
        try {
            sheet.replaceSync(out.join('\n'));
        } catch (e) {
            sheet.replaceSync('');
        }
    }

    // Whether the media condition `text` holds in the view, or in a view of the chosen
    // width (a hidden frame of that width, the page's height, asked for its matchMedia).
    function mediaMatches(text) {
        if (!width)
            return window.matchMedia(text).matches;
        if (!probe || !probe.isConnected) {
            probe = document.createElement('iframe');
            probe.setAttribute('data-lumipage-aid', '');
            probe.setAttribute('aria-hidden', 'true');
            probe.tabIndex = -1;
            document.documentElement.appendChild(probe);
        }
        // Important inline: the page's own rules for frames must not change its size.
        const box = {display: 'block', position: 'fixed', left: '-30000px', top: '0',
                     border: '0', margin: '0', padding: '0', 'box-sizing': 'content-box',
                     'min-width': '0', 'max-width': 'none', 'min-height': '0',
                     'max-height': 'none', visibility: 'hidden', 'pointer-events': 'none',
                     width: width + 'px', height: window.innerHeight + 'px'};
        for (const [name, value] of Object.entries(box))
            probe.style.setProperty(name, value, 'important');
        probe.offsetWidth; // lays the frame out at that width before it is asked
        return probe.contentWindow.matchMedia(text).matches;
    }

    function setWidth(w) {
        width = w > 0 ? Math.round(w) : 0;
        if (!width && probe) {
            probe.remove();
            probe = null;
        }
    }

    LP.stylePreview = {
        force, testedSelector, mediaMatches, setWidth, forcedSelector,
        width: () => width,
    };

    // Everything previewed goes (the panel was hidden).
    LP.api.styleForget = function () {
        force(null, [], [], null, null);
        setWidth(0);
        return true;
    };
})(window.__lumipage = window.__lumipage || {});

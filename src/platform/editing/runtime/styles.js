// Lumipage page runtime: the styles of the caret's element, for the style panel. The
// engine decides what applies: each style rule of each sheet is tested with
// element.matches(), @media with matchMedia() and @supports with CSS.supports(); the
// editor orders the rules (specificity, place) and finds each one in its own reading of
// the sheet by the sheet and the rule's place among its parent's rules.
(function (LP) {
    'use strict';

    const STYLE = 1, IMPORT = 3, MEDIA = 4, SUPPORTS = 12;
    // The attributes that style an element in the old way, by element.
    const PRESENTATIONAL = {
        FONT: ['color', 'face', 'size'], BODY: ['bgcolor', 'text', 'link', 'vlink', 'alink',
            'background'], TABLE: ['bgcolor', 'align', 'width', 'border', 'cellpadding',
            'cellspacing'], TD: ['bgcolor', 'align', 'valign', 'width', 'height'],
        TH: ['bgcolor', 'align', 'valign', 'width', 'height'], TR: ['bgcolor', 'align', 'valign'],
        P: ['align'], DIV: ['align'], H1: ['align'], H2: ['align'], H3: ['align'], H4: ['align'],
        H5: ['align'], H6: ['align'], IMG: ['align', 'border', 'width', 'height', 'hspace',
            'vspace'], HR: ['align', 'color', 'size', 'width', 'noshade'],
    };

    const isAid = el => !!(el && el.closest && el.closest('[data-lumipage-aid]'));

    // The selectors of a list, split at its top-level commas.
    function selectorsOf(text) {
        const out = [];
        let depth = 0, quote = '', start = 0;
        for (let i = 0; i < text.length; ++i) {
            const c = text[i];
            if (quote) {
                if (c === '\\') ++i;
                else if (c === quote) quote = '';
            } else if (c === '"' || c === "'") {
                quote = c;
            } else if (c === '(' || c === '[') {
                ++depth;
            } else if (c === ')' || c === ']') {
                --depth;
            } else if (c === ',' && depth === 0) {
                out.push(text.slice(start, i).trim());
                start = i + 1;
            }
        }
        out.push(text.slice(start).trim());
        return out;
    }

    // What an element and its ancestors must have for `selector` to match them: a quick
    // "cannot match" before asking the engine, as browsers hash their rules (a 5,000-rule
    // sheet would otherwise cost a matches() each per element). Names compare lowercased
    // (quirks-mode pages match classes in any case); a selector this cannot read surely
    // (escapes, namespaces, sibling combinators) requires nothing, and goes to the engine.
    function requirements(selector) {
        const parts = [];
        let depth = 0, part = '', plain = !/[\\|]/.test(selector);
        for (const c of selector) {
            if (c === '(' || c === '[')
                ++depth;
            else if (c === ')' || c === ']')
                --depth;
            if (depth === 0 && /[\s>+~]/.test(c)) {
                if (c === '+' || c === '~')
                    plain = false;
                if (part)
                    parts.push(part);
                part = '';
            } else {
                part += c;
            }
        }
        if (part)
            parts.push(part);
        const names = compound => {
            const bare = compound.replace(/\[[^\]]*\]|\([^)]*\)/g, '').toLowerCase();
            const out = [];
            const tag = /^[^.#:*\[]+/.exec(bare);
            if (tag)
                out.push('t:' + tag[0]);
            for (const m of bare.matchAll(/([.#])([^.#:\[]+)/g))
                out.push((m[1] === '.' ? 'c:' : 'i:') + m[2]);
            return out;
        };
        if (!plain)
            return {own: [], above: []};
        return {own: names(parts.pop() || ''), above: parts.flatMap(names)};
    }
    function namesOf(el) {
        const out = ['t:' + el.localName.toLowerCase()];
        if (el.id)
            out.push('i:' + el.id.toLowerCase());
        for (const c of el.classList)
            out.push('c:' + c.toLowerCase());
        return out;
    }
    // Whether some selector of the rule may match an element with `own` names under
    // ancestors with the names `above`.
    function mayMatch(rule, own, above) {
        return rule.needs.some(n => n.own.every(x => own.has(x)) &&
                                    n.above.every(x => above.has(x)));
    }

    function safeMatches(el, selector) {
        try {
            return el.matches(selector);
        } catch (e) {
            return false; // a selector the engine keeps but matches() refuses
        }
    }

    // Properties an element passes to its children: an ancestor's rule counts only with one.
    const INHERITED = new Set(['color', 'font-family', 'font-size', 'font-style', 'font-variant',
        'font-weight', 'line-height', 'letter-spacing', 'word-spacing', 'text-align',
        'text-indent', 'text-transform', 'white-space', 'visibility', 'cursor',
        'list-style-type', 'list-style-position', 'list-style-image', 'direction', 'quotes',
        'border-collapse', 'border-spacing', 'caption-side', 'empty-cells', 'writing-mode']);
    function passesOn(style) {
        for (let i = 0; i < style.length; ++i)
            if (INHERITED.has(style[i]) || style[i].startsWith('--'))
                return true;
        return false;
    }

    // The rules are collected again only when the page or its sheets changed since.
    let collected = null, collectedKey = '';
    let sheetChanges = 0;
    function collectOnce() {
        const key = LP.revision + '/' + sheetChanges + '/' + document.styleSheets.length + '/' +
                    window.innerWidth + '/' + LP.stylePreview.width();
        if (!collected || key !== collectedKey) {
            collected = collect();
            collectedKey = key;
        }
        return collected;
    }

    // Every sheet of the page with its rules flattened: [{sheet, path, rule, media, live}],
    // conditions evaluated at the panel's width; `live`: the real view applies the rule.
    function collect() {
        const sheets = [], rules = [];
        let styleIndex = 0;
        const holds = LP.stylePreview.mediaMatches;
        const real = LP.stylePreview.width() ? t => window.matchMedia(t).matches : () => true;
        function walk(list, sheet, path, media, live) {
            for (let i = 0; i < list.length; ++i) {
                const rule = list[i];
                const here = path.concat(i);
                if (rule.type === STYLE) {
                    rules.push({sheet, path: here, rule, media, live, passesOn: passesOn(rule.style),
                                needs: selectorsOf(rule.selectorText).map(requirements)});
                } else if (rule.type === MEDIA) {
                    const m = rule.media.mediaText;
                    if (holds(m))
                        walk(rule.cssRules, sheet, here, media.concat(m), live && real(m));
                } else if (rule.type === SUPPORTS) {
                    if (CSS.supports(rule.conditionText))
                        walk(rule.cssRules, sheet, here, media, live);
                } else if (rule.type === IMPORT && rule.styleSheet) {
                    const m = rule.media.mediaText;
                    if (!m || holds(m))
                        add(rule.styleSheet, 'import', sheet, m ? media.concat(m) : media,
                            live && (!m || real(m)));
                }
            }
        }
        function add(sheet, kind, parent, media, live) {
            const entry = {kind, href: sheet.href || '', parent, styleIndex: -1, text: null,
                           error: '', object: sheet};
            const index = sheets.push(entry) - 1;
            if (kind === 'style') {
                entry.styleIndex = styleIndex++;
                entry.text = sheet.ownerNode.textContent;
            }
            if (sheet.disabled)
                return;
            const m = sheet.media && sheet.media.mediaText;
            if (m && !holds(m))
                return;
            let list;
            try {
                list = sheet.cssRules;
            } catch (e) {
                entry.error = String(e && e.message || e);
                return;
            }
            walk(list, index, [], m ? media.concat(m) : media, live && (!m || real(m)));
        }
        for (const sheet of document.styleSheets) {
            const owner = sheet.ownerNode;
            if (!owner || isAid(owner))
                continue;
            add(sheet, owner.localName === 'style' ? 'style' : 'link', -1, [], true);
        }
        return {sheets, rules};
    }

    function presentational(el) {
        const out = [];
        const names = PRESENTATIONAL[el.tagName] || [];
        for (const name of names)
            if (el.hasAttribute(name))
                out.push([name, el.getAttribute(name)]);
        if (el.tagName === 'CENTER')
            out.push(['CENTER', '']);
        return out;
    }

    function matched(el, all, ancestor) {
        const out = [];
        const own = new Set(namesOf(el));
        const above = new Set();
        for (let up = el.parentElement; up; up = up.parentElement)
            for (const n of namesOf(up))
                above.add(n);
        for (let order = 0; order < all.rules.length; ++order) {
            const r = all.rules[order];
            if ((ancestor && !r.passesOn) || !mayMatch(r, own, above))
                continue;
            // While states are forced, a rule naming one matches as the preview shows it.
            const text = r.rule.selectorText;
            if (!safeMatches(el, LP.stylePreview.testedSelector(text, selectorsOf)))
                continue;
            const selectors = selectorsOf(text).filter(
                s => safeMatches(el, LP.stylePreview.testedSelector(s, selectorsOf)));
            out.push({sheet: r.sheet, path: r.path, selectorText: text, selectors,
                      media: r.media, order});
        }
        return out;
    }

    // The caret's element (or the selected object) and its ancestors, each with its style
    // attribute, presentational attributes and the rules matching it; the page's sheets;
    // the computed values of `properties` on the element. `states` are forced on it for the
    // preview; `width`, when not 0, is the view width @media conditions are evaluated at.
    LP.api.styleMatches = function (properties, states, width) {
        LP.stylePreview.setWidth(width || 0);
        // Without a caret yet (a page just opened), the body: what the whole page inherits.
        const elements = LP.pageElements();
        let ordinal = LP.api.caretElement();
        if (ordinal < 0 && document.body)
            ordinal = elements.indexOf(document.body);
        const el = ordinal >= 0 ? elements[ordinal] : null;
        if (!el) {
            LP.stylePreview.force(null, [], [], selectorsOf, safeMatches);
            return {element: -1, chain: [], sheets: [], computed: {}};
        }
        const all = collectOnce();
        LP.stylePreview.force(el, states || [], all.rules, selectorsOf, safeMatches);
        const chain = [];
        for (let e = el; e && e.nodeType === 1; e = e.parentElement) {
            chain.push({ordinal: e === el ? ordinal : elements.indexOf(e), tag: e.tagName,
                        id: e.id || '', classes: [...e.classList],
                        style: e.hasAttribute('style') ? e.getAttribute('style') : null,
                        presentational: presentational(e), rules: matched(e, all, e !== el)});
        }
        const style = getComputedStyle(el);
        const computed = {};
        for (const p of properties || [])
            computed[p] = style.getPropertyValue(p);
        const sheets = all.sheets.map(s => ({kind: s.kind, href: s.href, parent: s.parent,
                                             styleIndex: s.styleIndex, text: s.text,
                                             error: s.error}));
        return {element: ordinal, chain, sheets, computed};
    };

    // A linked or imported sheet that arrives after the page: what the caret's element
    // looks like may have changed.
    document.addEventListener('load', e => {
        if (e.target && e.target.localName === 'link') {
            ++sheetChanges;
            LP.scheduleDisplayChanged();
        }
    }, true);

    // Shows an edit on the page. The style attribute and a style element's text change as
    // one step of the page's undo history; a rule of a linked sheet is set through the
    // engine's reading of the sheet (the file itself is the editor's to write).
    LP.api.styleApply = function (edit) {
        // A typed value the engine does not take changes nothing ("!important" is the
        // declaration's priority, not part of the value).
        const check = edit.supports;
        if (check && check.property &&
            !CSS.supports(check.property, check.value.replace(/\s*!\s*important\s*$/i, '')))
            return 'unsupported';
        if (edit.place === 'attribute') {
            const el = LP.pageElements()[edit.ordinal];
            if (!el)
                return false;
            LP.history.run('style', () => {
                if (edit.text === '')
                    el.removeAttribute('style');
                else
                    el.setAttribute('style', edit.text);
            });
        } else if (edit.place === 'presentational') {
            const el = LP.pageElements()[edit.ordinal];
            if (!el)
                return false;
            LP.history.run('style', () => el.setAttribute(edit.name, edit.value));
        } else if (edit.place === 'rule' || edit.place === 'unrule') {
            // A rule added at the end of a linked sheet, or taken away again. With a media
            // condition: at the end of the sheet's last @media block with that condition
            // (as the file's edit puts it), else in a new block at the sheet's end.
            const entry = collectOnce().sheets[edit.sheet];
            if (!entry)
                return false;
            let parent = entry.object;
            if (edit.media) {
                const wanted = window.matchMedia(edit.media).media;
                const blocks = [...parent.cssRules].filter(
                    r => r.type === MEDIA && r.media.mediaText === wanted);
                if (blocks.length) {
                    parent = blocks[blocks.length - 1];
                } else if (edit.place === 'rule') {
                    const at = parent.insertRule('@media ' + edit.media + ' {}',
                                                 parent.cssRules.length);
                    parent = parent.cssRules[at];
                }
            }
            const list = parent.cssRules;
            if (edit.place === 'rule') {
                parent.insertRule(edit.text, list.length);
            } else {
                const last = list[list.length - 1];
                if (!last || last.selectorText !== edit.selector)
                    return false;
                parent.deleteRule(list.length - 1);
                // A block left empty was the one the rule came in (an author's empty block
                // is gone only from the engine's reading; the file is put back whole).
                if (parent !== entry.object && !parent.cssRules.length) {
                    const top = entry.object.cssRules;
                    const at = [...top].indexOf(parent);
                    if (at >= 0)
                        entry.object.deleteRule(at);
                }
            }
        } else if (edit.place === 'style') {
            const owners = [...document.querySelectorAll('style')].filter(s => !isAid(s));
            const owner = owners[edit.styleIndex];
            if (!owner)
                return false;
            LP.history.run('style', () => { owner.textContent = edit.text; });
        } else {
            const key = edit.path.join('.');
            const hit = collectOnce().rules.find(r => r.sheet === edit.sheet &&
                                                  r.path.join('.') === key);
            if (!hit)
                return false;
            const list = hit.rule;
            // A value typed with "!important" sets the priority, not the value.
            const value = edit.value === null ? null : edit.value.replace(/\s*!\s*important\s*$/i, '');
            const important = edit.important || value !== edit.value;
            if (value === null)
                list.style.removeProperty(edit.property);
            else
                list.style.setProperty(edit.property, value, important ? 'important' : '');
        }
        // A linked sheet's edit is a step of the page's history: undone or redone, the
        // editor is told (styleStepsTaken) and writes the file and shows it again. When
        // the file could not be written, the change is taken back with its step (drop).
        if (edit.step !== undefined) {
            let done = true;
            outsideSteps.set(edit.step, LP.history.outside('sheet', () => {
                done = !done;
                stepsTaken.push({step: edit.step, undone: !done});
            }));
            if (outsideSteps.size > 8)
                outsideSteps.delete(outsideSteps.keys().next().value);
        } else if (edit.drop !== undefined) {
            LP.history.forget(outsideSteps.get(edit.drop));
            outsideSteps.delete(edit.drop);
        }
        ++sheetChanges; // the rules are collected afresh for the next answer
        LP.scheduleDisplayChanged();
        return true;
    };

    // The linked sheets' steps undone or redone since the last call, in order; the latest
    // steps made, by the editor's number.
    let stepsTaken = [];
    const outsideSteps = new Map();
    LP.api.styleStepsTaken = function () {
        const out = stepsTaken;
        stepsTaken = [];
        return out;
    };
})(window.__lumipage = window.__lumipage || {});

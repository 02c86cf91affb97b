// Lumipage page runtime: how the page's text looks, for the page check's contrast. Each
// element with text of its own, as the engine computed its colour, the first background
// colour behind it that is not transparent (white at the root), its size and weight;
// elements of one look come as one group, so a long page answers in a few rows. Hidden
// text (also text the editor shows ghosted) and text over a background image are left
// out: their contrast cannot be told from colours.
(function (LP) {
    'use strict';

    const WHITE = 'rgb(255, 255, 255)';
    const HIDDEN = '[style*="visibility:hidden"], [style*="visibility: hidden"]';

    function transparent(colour) {
        return colour === 'transparent' || /^rgba\(.*,\s*0\)$/.test(colour);
    }

    function hasOwnText(el) {
        for (let n = el.firstChild; n; n = n.nextSibling)
            if (n.nodeType === 3 && /\S/.test(n.data))
                return true;
        return false;
    }

    LP.api.textLooks = function () {
        // Per element: whether it is laid out (no ancestor has display:none) and the
        // colour behind its text (null over a background picture). Worked out down from
        // the nearest element already known, without recursion (pages nest deep).
        const ROOT = {shown: true, background: WHITE};
        const known = new Map();
        function place(el, style) {
            const chain = [];
            let up = el.parentElement;
            while (up && !known.has(up)) {
                chain.push(up);
                up = up.parentElement;
            }
            let above = up ? known.get(up) : ROOT;
            for (let i = chain.length - 1; i >= 0; --i)
                above = settle(chain[i], getComputedStyle(chain[i]), above);
            return settle(el, style, above);
        }
        function settle(el, style, above) {
            const own = {shown: above.shown && style.display !== 'none',
                         background: style.backgroundImage !== 'none' ? null
                                     : !transparent(style.backgroundColor) ? style.backgroundColor
                                     : above.background};
            known.set(el, own);
            return own;
        }

        const groups = new Map();
        // Text the editor shows ghosted is hidden on the page; most pages have none.
        const ghosted = document.querySelector(HIDDEN) !== null;
        // All elements in document order (a live collection is far quicker than a walker
        // with a filter); editing aids and what is in them are not the page's.
        const all = document.getElementsByTagName('*');
        let aid = null;
        for (let i = 0, k = 0; i < all.length; ++i) {
            const el = all[i];
            if (aid && aid.contains(el))
                continue;
            if (el.hasAttribute('data-lumipage-aid')) {
                aid = el;
                continue;
            }
            const ordinal = k++;
            if (!hasOwnText(el))
                continue;
            const style = getComputedStyle(el);
            const where = place(el, style);
            if (!where.shown || where.background === null || style.visibility !== 'visible' ||
                (ghosted && el.closest(HIDDEN)))
                continue;
            const colour = style.color, size = style.fontSize, weight = style.fontWeight;
            const key = colour + '|' + where.background + '|' + size + '|' + weight;
            let group = groups.get(key);
            if (!group) {
                group = {colour: colour, background: where.background,
                         fontSize: parseFloat(size) || 16,
                         fontWeight: parseInt(weight, 10) || 400, elements: []};
                groups.set(key, group);
            }
            group.elements.push(ordinal);
        }
        return Array.from(groups.values());
    };
})(window.__lumipage = window.__lumipage || {});

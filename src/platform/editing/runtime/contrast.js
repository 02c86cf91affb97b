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
            if (n.nodeType === 3 && n.data.trim() !== '')
                return true;
        return false;
    }

    LP.api.textLooks = function () {
        const behindOf = new Map(); // element → its background colour, null over a picture
        function behind(el) {
            if (!el)
                return WHITE;
            if (behindOf.has(el))
                return behindOf.get(el);
            const style = getComputedStyle(el);
            const colour = style.backgroundImage !== 'none' ? null
                           : !transparent(style.backgroundColor) ? style.backgroundColor
                           : behind(el.parentElement);
            behindOf.set(el, colour);
            return colour;
        }
        const groups = new Map();
        const w = LP.elementWalker();
        for (let k = 0, el = w.nextNode(); el; el = w.nextNode(), ++k) {
            if (!hasOwnText(el) || el.closest(HIDDEN) || el.getClientRects().length === 0)
                continue;
            const style = getComputedStyle(el);
            if (style.visibility !== 'visible' || style.opacity === '0')
                continue;
            const background = behind(el);
            if (background === null)
                continue;
            const key = [style.color, background, style.fontSize, style.fontWeight].join('|');
            let group = groups.get(key);
            if (!group) {
                group = {colour: style.color, background: background,
                         fontSize: parseFloat(style.fontSize) || 16,
                         fontWeight: parseInt(style.fontWeight, 10) || 400, elements: []};
                groups.set(key, group);
            }
            group.elements.push(k);
        }
        return Array.from(groups.values());
    };
})(window.__lumipage = window.__lumipage || {});

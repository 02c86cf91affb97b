// Wave: an SVG filter per element that shifts rows sideways along a sine map (an
// feImage of a vertical gradient) and lays light stripes over the crests.
(function () {
'use strict';
const SVG = 'http://www.w3.org/2000/svg';
let count = 0;

function sineMap(freq, phase) {
    const steps = Math.max(16, Math.min(256, Math.round(freq * 24)));
    let stops = '';
    for (let i = 0; i <= steps; ++i) {
        const t = i / steps;
        const v = Math.round(128 + 127 * Math.sin(2 * Math.PI * (freq * t + phase)));
        stops += '<stop offset="' + t + '" stop-color="rgb(' + v + ',128,' + v + ')"/>';
    }
    const svg = '<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100" preserveAspectRatio="none">' +
        '<linearGradient id="g" x1="0" y1="0" x2="0" y2="1">' + stops + '</linearGradient>' +
        '<rect width="100" height="100" fill="url(#g)"/></svg>';
    return 'data:image/svg+xml,' + encodeURIComponent(svg);
}

// The SVG element holding the filters, held here rather than looked up by id, so that
// an element of the page cannot stand in for it.
let defs = null;
function host() {
    if (!defs || !defs.isConnected) {
        defs = document.createElementNS(SVG, 'svg');
        defs.id = 'lumipage-filter-defs';
        defs.setAttribute('width', '0');
        defs.setAttribute('height', '0');
        defs.setAttribute('style', 'position:absolute;width:0;height:0;overflow:hidden');
        (document.body || document.documentElement).appendChild(defs);
    }
    return defs;
}

function node(parent, name, attrs) {
    const n = document.createElementNS(SVG, name);
    for (const k in attrs) n.setAttribute(k, attrs[k]);
    parent.appendChild(n);
    return n;
}

F.waveFilter = function (f) {
    const v = f.values, el = f.element;
    if (!f.svgId) f.svgId = 'lumipage-wave-' + (++count);
    if (f.svgNode) f.svgNode.remove();
    const width = Math.max(1, el.getBoundingClientRect().width);
    const strength = F.num(v.strength, 5), freq = Math.max(0, F.num(v.freq, 3));
    const light = Math.max(0, Math.min(100, F.num(v.lightstrength, 100))) / 100;
    const margin = Math.min(0.5, strength / width);
    const filter = node(host(), 'filter', {
        id: f.svgId, primitiveUnits: 'objectBoundingBox', 'color-interpolation-filters': 'sRGB',
        x: -margin, y: 0, width: 1 + 2 * margin, height: 1
    });
    f.svgNode = filter;
    node(filter, 'feImage', { href: sineMap(freq, F.num(v.phase, 0) / 100), x: 0, y: 0, width: 1,
                              height: 1, preserveAspectRatio: 'none', result: 'map' });
    node(filter, 'feDisplacementMap', { in: 'SourceGraphic', in2: 'map', scale: 2 * strength / width,
                                        xChannelSelector: 'R', yChannelSelector: 'G', result: 'wave' });
    const k = light * 0.8;
    node(filter, 'feColorMatrix', { in: 'map', type: 'matrix', result: 'light',
                                    values: '0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 ' + k + ' 0 0 0 ' + (-k / 2) });
    node(filter, 'feComposite', { in: 'light', in2: 'wave', operator: 'in', result: 'lit' });
    const merge = node(filter, 'feMerge', {});
    const add = v.add;
    if (add !== 0 && add !== '0' && add !== false && String(add).toLowerCase() !== 'false')
        node(merge, 'feMergeNode', { in: 'SourceGraphic' });
    node(merge, 'feMergeNode', { in: 'wave' });
    node(merge, 'feMergeNode', { in: 'lit' });
    return 'url(#' + f.svgId + ')';
};
})();

// Lumipage page runtime: tables. Inserting a table, and the cell, row and column
// commands. These work on a grid model of the table (which cell covers which row and
// column), so that colspan and rowspan stay consistent:
// - a row is inserted below the last selected row, a column right of the last
//   selected column, a cell right of the cell with the caret; new cells copy the
//   attributes of the cell they are made from (not its id or spans);
// - a cell that spans across the new row or column grows by one instead;
// - deleting rows or columns shrinks the cells that reach beyond them; a row left
//   without cells goes, and the table goes with its last cell.
(function (LP) {
    'use strict';

    const C = LP.commands; // the command numbers, by name

    function cellOf(node) {
        for (let n = node; n && n !== document.body; n = n.parentNode)
            if (n.nodeType === 1 && (n.tagName === 'TD' || n.tagName === 'TH'))
                return n;
        return null;
    }

    function rangeCell(container, offset) {
        if (container.nodeType === 1 && container.tagName === 'TR')
            return container.cells[Math.min(offset, container.cells.length - 1)] || null;
        return cellOf(container);
    }

    // The cell that holds the caret or the start of the selection.
    function caretCell() {
        const sel = LP.selection();
        if (!sel || !sel.rangeCount)
            return null;
        const range = sel.getRangeAt(0);
        return rangeCell(range.startContainer, range.startOffset);
    }

    // rows: the table's own rows; grid[r][c]: the cell covering row r, column c;
    // at: each cell's top-left {r, c}.
    function gridOf(table) {
        const rows = Array.from(table.rows);
        const grid = rows.map(() => []);
        const at = new Map();
        rows.forEach((tr, r) => {
            let sectionEnd = r;
            while (sectionEnd + 1 < rows.length && rows[sectionEnd + 1].parentNode === tr.parentNode)
                ++sectionEnd;
            let c = 0;
            for (const cell of tr.cells) {
                while (grid[r][c])
                    ++c;
                const rowSpan = cell.rowSpan > 0 ? cell.rowSpan : sectionEnd - r + 1;
                const last = Math.min(r + rowSpan - 1, sectionEnd);
                for (let i = r; i <= last; ++i)
                    for (let j = 0; j < Math.max(1, cell.colSpan); ++j)
                        grid[i][c + j] = cell;
                at.set(cell, {r, c, lastRow: last, lastCol: c + Math.max(1, cell.colSpan) - 1});
                c += Math.max(1, cell.colSpan);
            }
        });
        return {rows, grid, at};
    }

    // The table and the rectangle of rows and columns the selection covers.
    function target() {
        const sel = LP.selection();
        if (!sel || !sel.rangeCount)
            return null;
        const range = sel.getRangeAt(0);
        const first = rangeCell(range.startContainer, range.startOffset);
        if (!first)
            return null;
        const table = first.closest('table');
        let last = rangeCell(range.endContainer, Math.max(0, range.endOffset - 1));
        if (!last || last.closest('table') !== table)
            last = first;
        const model = gridOf(table);
        const a = model.at.get(first), b = model.at.get(last);
        if (!a || !b)
            return null;
        return {table, model, cell: first, r0: Math.min(a.r, b.r), r1: Math.max(a.lastRow, b.lastRow),
                c0: Math.min(a.c, b.c), c1: Math.max(a.lastCol, b.lastCol)};
    }

    // The distinct cells along row r or column c of a model, in order.
    const distinct = cells => [...new Set(cells.filter(Boolean))];
    const rowCells = (model, r) => distinct(model.grid[r]);
    const columnCells = (model, c) => distinct(model.grid.map(row => row[c]));

    function setSpan(cell, name, value) {
        if (value <= 1)
            cell.removeAttribute(name);
        else
            cell.setAttribute(name, String(value));
    }

    function newCellLike(cell) {
        const made = document.createElement(cell.tagName);
        for (const a of cell.attributes)
            if (!['id', 'rowspan', 'colspan'].includes(a.name.toLowerCase()))
                made.setAttribute(a.name, a.value);
        made.appendChild(document.createElement('br'));
        return made;
    }

    function caretIn(cell) {
        if (cell)
            LP.selection().collapse(cell, 0);
    }

    // The cell at (r, c) of a fresh model, or the nearest one before it in that row.
    function cellNear(table, r, c) {
        const {rows, grid} = gridOf(table);
        if (!rows.length)
            return null;
        const row = grid[Math.min(r, rows.length - 1)];
        for (let j = Math.min(c, row.length - 1); j >= 0; --j)
            if (row[j])
                return row[j];
        return null;
    }

    function removeTable(table) {
        const parent = table.parentNode;
        const index = Array.prototype.indexOf.call(parent.childNodes, table);
        table.remove();
        LP.selection().collapse(parent, index);
    }

    function hasCells(table) {
        return Array.from(table.rows).some(tr => tr.cells.length > 0);
    }

    // Removes row r; cells from above that reach into it shrink, cells that start in it
    // and reach further down move to the next row.
    function removeRow(table, r) {
        const model = gridOf(table);
        const {rows, at} = model;
        for (const cell of rowCells(model, r)) {
            const pos = at.get(cell);
            if (pos.lastRow === pos.r)
                continue;
            if (pos.r < r) {
                setSpan(cell, 'rowspan', pos.lastRow - pos.r);
                continue;
            }
            const next = rows[r + 1];
            setSpan(cell, 'rowspan', pos.lastRow - pos.r);
            const before = Array.from(next.cells).find(other => at.get(other).c > pos.c) || null;
            next.insertBefore(cell, before);
        }
        rows[r].remove();
    }

    function removeEmptyRows(table) {
        const {rows, grid} = gridOf(table);
        for (let r = rows.length - 1; r >= 0; --r)
            if (!grid[r].some(Boolean))
                removeRow(table, r);
    }

    const operations = {
        [C.INSERTROW](t) { // insert row
            const {rows, at} = t.model;
            const r = t.r1;
            const tr = document.createElement('tr');
            for (const cell of rowCells(t.model, r)) {
                const pos = at.get(cell);
                if (pos.lastRow > r) {
                    setSpan(cell, 'rowspan', pos.lastRow - pos.r + 2);
                    continue;
                }
                const made = newCellLike(cell);
                setSpan(made, 'colspan', pos.lastCol - pos.c + 1);
                tr.appendChild(made);
            }
            rows[r].after(tr);
            caretIn(cellNear(t.table, r + 1, t.c0));
        },
        [C.INSERTCOL](t) { // insert column
            const c = t.c1;
            let caret = null;
            for (const cell of columnCells(t.model, c)) {
                const pos = t.model.at.get(cell);
                if (pos.lastCol > c) {
                    setSpan(cell, 'colspan', pos.lastCol - pos.c + 2);
                    continue;
                }
                const made = newCellLike(cell);
                setSpan(made, 'rowspan', pos.lastRow - pos.r + 1);
                cell.after(made);
                if (pos.r <= t.r0 && t.r0 <= pos.lastRow)
                    caret = made;
            }
            caretIn(caret);
        },
        [C.INSERTCELL](t) { // insert cell
            const made = newCellLike(t.cell);
            t.cell.after(made);
            caretIn(made);
        },
        [C.DELETECELLS](t) { // delete cells
            const seen = new Set();
            for (let r = t.r0; r <= t.r1; ++r)
                for (let c = t.c0; c <= t.c1; ++c)
                    if (t.model.grid[r][c])
                        seen.add(t.model.grid[r][c]);
            seen.forEach(cell => cell.remove());
            removeEmptyRows(t.table);
            finish(t);
        },
        [C.DELETECOLS](t) { // delete columns
            for (let c = t.c1; c >= t.c0; --c) {
                const model = gridOf(t.table);
                for (const cell of columnCells(model, c)) {
                    const pos = model.at.get(cell);
                    if (pos.lastCol > pos.c)
                        setSpan(cell, 'colspan', pos.lastCol - pos.c);
                    else
                        cell.remove();
                }
            }
            removeEmptyRows(t.table);
            finish(t);
        },
        [C.DELETEROWS](t) { // delete rows
            for (let r = t.r1; r >= t.r0; --r)
                removeRow(t.table, r);
            finish(t);
        },
    };

    // After a deletion: the table goes when no cell is left, else the caret goes to
    // the cell now nearest to where the deleted ones were.
    function finish(t) {
        if (!hasCells(t.table)) {
            removeTable(t.table);
            return;
        }
        caretIn(cellNear(t.table, t.r0, t.c0));
    }

    for (const [id, operation] of Object.entries(operations)) {
        LP.extraCommands[id] = {
            status: () => caretCell() ? LP.ENABLED : LP.UNAVAILABLE,
            exec() {
                const t = target();
                if (!t)
                    return false;
                operation(t);
                return true;
            },
        };
    }

    LP.extraCommands[C.INSERTTABLE] = {status: () => document.body ? LP.ENABLED : LP.UNAVAILABLE,
                              exec: () => false};

    // A table at the caret: the attribute texts go into the start tags as written;
    // the caret ends in the first cell.
    LP.api.insertTable = function (rows, cols, tableAttrs, cellAttrs, caption) {
        const esc = t => String(t).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
        const attrs = a => a ? ' ' + a : '';
        const cell = '<TD' + attrs(cellAttrs) + '><BR></TD>';
        const row = '<TR>' + cell.repeat(cols) + '</TR>';
        const html = '<TABLE' + attrs(tableAttrs) + ' data-lumipage-new="1">' +
                     (caption ? '<CAPTION>' + esc(caption) + '</CAPTION>' : '') +
                     '<TBODY>' + row.repeat(rows) + '</TBODY></TABLE>';
        return LP.history.run('table', () => {
            LP.ensureCaret();
            if (!document.execCommand('insertHTML', false, html))
                return false;
            const table = document.querySelector('table[data-lumipage-new]');
            if (table) {
                table.removeAttribute('data-lumipage-new');
                caretIn(table.querySelector('td'));
            }
            LP.scheduleDisplayChanged();
            return true;
        });
    };
})(window.__lumipage = window.__lumipage || {});

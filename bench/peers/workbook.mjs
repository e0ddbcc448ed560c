// Writes a workload as a Gnumeric workbook (uncompressed Gnumeric XML) for
// `ssconvert --recalc`. With --constants every cell holds its computed value as
// a plain number instead: the same shape, so loading and writing cost the same
// and the difference of the two timings is Gnumeric's recalculation.
//
// A filled-down formula is written the way Gnumeric saves one itself: its text
// once, then every cell with the same relative shape names it by ExprID. Parsing
// the text in every one of millions of cells would add a third to Gnumeric's
// time at W1 and count as recalculation.
//   node workbook.mjs W1|W2|W3 N FILE [--constants]
import {closeSync, openSync, writeSync} from 'node:fs';

import {parseWorkload} from './sheets.mjs';

const usage = 'usage: node workbook.mjs W1|W2|W3 N FILE [--constants]';
const {name, workload, n} = parseWorkload(process.argv.slice(2, 4), usage);
const file = process.argv[4];
const constants = process.argv[5] === '--constants';
if (!file || (process.argv[5] !== undefined && !constants)) {
    console.error(usage);
    process.exit(2);
}

// Gnumeric sheets grow in powers of two; 65536 rows is its default.
function sheetRows(rows) {
    let size = 65536;
    while (size < rows) size *= 2;
    return size;
}

function escapeXml(text) {
    return text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
}

// A formula's shape: its text with every relative row number made an offset
// from the cell's own row, so =B1+A2 in row 2 and =B7+A8 in row 8 agree.
function relativeShape(column, row, formula) {
    const shape = formula.replace(/([A-Z]+)(\$?)(\d+)/g, (match, letters, absolute, number) =>
        absolute ? match : `${letters}[${Number(number) - row}]`);
    return `${column}:${shape}`;
}

const expressionIds = new Map();

// ValueType 40 marks a number; a formula cell carries its expression text, or
// only the ExprID of an earlier cell of the same shape.
function cell(row, column, content) {
    const position = `Row="${row - 1}" Col="${column}"`;
    if (typeof content === 'number') {
        return `<gnm:Cell ${position} ValueType="40">${content}</gnm:Cell>\n`;
    }
    const shape = relativeShape(column, row, content);
    const known = expressionIds.get(shape);
    if (known !== undefined) return `<gnm:Cell ${position} ExprID="${known}"/>\n`;
    const id = expressionIds.size + 1;
    expressionIds.set(shape, id);
    return `<gnm:Cell ${position} ExprID="${id}">${escapeXml(content)}</gnm:Cell>\n`;
}

function header() {
    const lastColumn = workload.columns.length - 1;
    return `<?xml version="1.0" encoding="UTF-8"?>
<gnm:Workbook xmlns:gnm="http://www.gnumeric.org/v10.dtd">
<gnm:SheetNameIndex>
<gnm:SheetName gnm:Cols="256" gnm:Rows="${sheetRows(n)}">${name}</gnm:SheetName>
</gnm:SheetNameIndex>
<gnm:Sheets>
<gnm:Sheet>
<gnm:Name>${name}</gnm:Name>
<gnm:MaxCol>${lastColumn}</gnm:MaxCol>
<gnm:MaxRow>${n - 1}</gnm:MaxRow>
<gnm:Cells>
`;
}

const footer = '</gnm:Cells>\n</gnm:Sheet>\n</gnm:Sheets>\n</gnm:Workbook>\n';

const out = openSync(file, 'w');
writeSync(out, header());
const values = constants ? workload.values(n) : null;
const rowsPerChunk = 10000;
for (let first = 1; first <= n; first += rowsPerChunk) {
    let chunk = '';
    for (let i = first; i < first + rowsPerChunk && i <= n; ++i) {
        const contents = constants ? values.map((column) => column[i - 1]) : workload.formulas(i, n);
        contents.forEach((content, column) => {
            chunk += cell(i, column, content);
        });
    }
    writeSync(out, chunk);
}
writeSync(out, footer);
closeSync(out);

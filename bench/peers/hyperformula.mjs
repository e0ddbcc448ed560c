// Runs a workload in HyperFormula: builds the sheet from arrays of formula
// strings, which evaluates every cell, and checks computed values against a
// plain computation so that a wrong formula fails the run instead of timing it.
//   node hyperformula.mjs W1|W2|W3 N            prints "elapsed_s S"
//   node hyperformula.mjs W1|W2|W3 N --print    prints every value as CSV
//   node hyperformula.mjs W2edit N [EDITS]      prints "edit_ms MS", the median
//                                               time of one edit of x in row 1
//                                               and the recalculation it starts
import {performance} from 'node:perf_hooks';

import {HyperFormula} from 'hyperformula';

import {parseWorkload, sameNumber, workloads} from './sheets.mjs';

const usage =
    'usage: node hyperformula.mjs W1|W2|W3 N [--print]\n' +
    '       node hyperformula.mjs W2edit N [EDITS]';

function buildRows(workload, n) {
    const rows = new Array(n);
    for (let i = 1; i <= n; ++i) rows[i - 1] = workload.formulas(i, n);
    return rows;
}

function build(workload, n) {
    const rows = buildRows(workload, n);
    const start = performance.now();
    const hf = HyperFormula.buildFromArray(rows, {
        licenseKey: 'gpl-v3',
        maxRows: Math.max(n, 40000),  // 40,000 rows is its default limit
    });
    const seconds = (performance.now() - start) / 1000;
    return {hf, seconds};
}

// Compares the first, a middle and the last row with the plain computation.
function check(hf, workload, n) {
    const expected = workload.values(n);
    for (const row of new Set([0, Math.floor(n / 2), n - 1])) {
        workload.columns.forEach((column, index) => {
            const actual = hf.getCellValue({sheet: 0, row, col: index});
            if (!sameNumber(expected[index][row], actual)) {
                throw new Error(
                    `row ${row + 1} ${column}: expected ${expected[index][row]}, got ` +
                        JSON.stringify(actual));
            }
        });
    }
}

function printValues(hf) {
    console.log(hf.getSheetValues(0).map((row) => row.join(',')).join('\n'));
}

function runWorkload(args) {
    const {workload, n} = parseWorkload(args, usage);
    const {hf, seconds} = build(workload, n);
    check(hf, workload, n);
    if (args[2] === '--print') {
        printValues(hf);
    } else {
        console.log(`elapsed_s ${seconds.toFixed(3)}`);
    }
}

// The running total's input x in row 1 is set to a new value; every s below
// it changes, so the whole column is recomputed on each edit.
function runEdits(args) {
    const {workload, n} = parseWorkload(['W2', args[1]], usage);
    const edits = args[2] === undefined ? 21 : Number(args[2]);
    if (!Number.isInteger(edits) || edits < 1) {
        console.error(usage);
        process.exit(2);
    }
    const {hf} = build(workload, n);
    const times = [];
    for (let edit = 1; edit <= edits; ++edit) {
        const start = performance.now();
        hf.setCellContents({sheet: 0, row: 0, col: 0}, [[1 + edit]]);
        times.push(performance.now() - start);
    }
    const last = hf.getCellValue({sheet: 0, row: n - 1, col: 1});
    const expected = (n * (n + 1)) / 2 + edits;
    if (!sameNumber(expected, last)) {
        throw new Error(`after the edits s = ${last}, expected ${expected}`);
    }
    times.sort((a, b) => a - b);
    console.log(`edit_ms ${times[Math.floor(times.length / 2)].toFixed(3)}`);
}

const args = process.argv.slice(2);
if (args[0] === 'W2edit') {
    runEdits(args);
} else if (args[0] in workloads) {
    runWorkload(args);
} else {
    console.error(usage);
    process.exit(2);
}

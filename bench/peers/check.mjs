// Compares a peer's computed sheet (CSV, one row per workload row, columns as
// laid out in sheets.mjs, no header) with our own `qvl show --format csv`
// output of the same workload, column by column by name. Ours prints ten
// significant digits, hence the tolerance in sameNumber.
//   node check.mjs W1|W2|W3 OURS.csv PEER.csv     exit 0 when all values agree
import {readFileSync} from 'node:fs';

import {sameNumber, workloads} from './sheets.mjs';

function readCsv(file) {
    return readFileSync(file, 'utf8')
        .split('\n')
        .filter((line) => line.trim() !== '')
        .map((line) => line.split(','));
}

// Our output: a header row (an empty corner, then field names), the data rows
// led by their row label, then the summary row.
function ourColumns(file) {
    const [header, ...rows] = readCsv(file);
    const data = rows.filter((row) => row[0] !== 'sum');
    const columns = new Map();
    header.forEach((name, index) => {
        if (index > 0) columns.set(name, data.map((row) => Number(row[index])));
    });
    return columns;
}

const [name, oursFile, peerFile] = process.argv.slice(2);
const workload = workloads[name];
if (!workload || !oursFile || !peerFile) {
    console.error('usage: node check.mjs W1|W2|W3 OURS.csv PEER.csv');
    process.exit(2);
}
const ours = ourColumns(oursFile);
const peer = readCsv(peerFile);
const problems = [];
workload.columns.forEach((column, index) => {
    const expected = ours.get(column);
    if (!expected) {
        problems.push(`our output has no field ${column}`);
        return;
    }
    if (expected.length !== peer.length) {
        problems.push(`${column}: ${expected.length} rows of ours, ${peer.length} of the peer`);
        return;
    }
    peer.forEach((row, r) => {
        const actual = Number(row[index]);
        if (!sameNumber(expected[r], actual)) {
            problems.push(`row ${r + 1} ${column}: ours ${expected[r]}, peer ${row[index]}`);
        }
    });
});
if (problems.length > 0) {
    console.log(problems.slice(0, 10).join('\n'));
    console.log(`${problems.length} differences`);
    process.exit(1);
}
console.log(`${name}: ${peer.length} rows x ${workload.columns.length} columns agree`);

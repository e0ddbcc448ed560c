// The reference workloads W1, W2 and W3 laid out as spreadsheets, shared by the
// Gnumeric workbook writer and the HyperFormula runner so both peers compute
// exactly the same cells. Row i of a workload is spreadsheet row i; column A is
// x = i (a constant), the other columns are formulas in A1 notation.
//
// Spreadsheets have no per-row sort in linear time (SMALL(range, ROW()) sorts
// the whole range once per row), so the peer sheets of W3 leave the sorted
// column out; compare.sh runs our side of that comparison on W3 without it.
// The single-value aggregates are computed once in row 1 and referenced by the
// other rows, as a spreadsheet author would write them; a full SUM in every row
// would make the peers quadratic.

const letters = 'ABCDEFGHIJ';

function ref(column, row) {
    return letters[column] + row;
}

// W1: x and eight fields computed from it.
const arithmetic = {
    columns: ['x', 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'],
    formulas(i) {
        return [
            i,
            `=A${i}*2`,
            `=B${i}+A${i}`,
            `=C${i}/3`,
            `=IF(D${i}>10,D${i},-D${i})`,
            `=E${i}*E${i}-B${i}`,
            `=F${i}/(A${i}+1)`,
            `=G${i}+C${i}`,
            `=H${i}*0.5`,
        ];
    },
    values(n) {
        const columns = this.columns.map(() => new Float64Array(n));
        const [x, a, b, c, d, e, f, g, h] = columns;
        for (let r = 0; r < n; ++r) {
            x[r] = r + 1;
            a[r] = x[r] * 2;
            b[r] = a[r] + x[r];
            c[r] = b[r] / 3;
            d[r] = c[r] > 10 ? c[r] : -c[r];
            e[r] = d[r] * d[r] - a[r];
            f[r] = e[r] / (x[r] + 1);
            g[r] = f[r] + b[r];
            h[r] = g[r] * 0.5;
        }
        return columns;
    },
};

// W2: a running total, s = x in row 1, else the previous s plus x.
const runningTotal = {
    columns: ['x', 's'],
    formulas(i) {
        return [i, i === 1 ? '=A1' : `=B${i - 1}+A${i}`];
    },
    values(n) {
        const x = new Float64Array(n);
        const s = new Float64Array(n);
        for (let r = 0; r < n; ++r) {
            x[r] = r + 1;
            s[r] = r === 0 ? x[r] : s[r - 1] + x[r];
        }
        return [x, s];
    },
};

// W3 without the sorted column (see the note at the top).
const aggregates = {
    columns: ['x', 'total', 'mean', 'largest', 'moving'],
    formulas(i, n) {
        const aggregate = (name, column) =>
            i === 1 ? `=${name}(A1:A${n})` : `=${letters[column]}$1`;
        return [
            i,
            aggregate('SUM', 1),
            aggregate('AVERAGE', 2),
            aggregate('MAX', 3),
            `=AVERAGE(${ref(0, Math.max(1, i - 2))}:${ref(0, i)})`,
        ];
    },
    values(n) {
        const x = new Float64Array(n);
        for (let r = 0; r < n; ++r) x[r] = r + 1;
        let sum = 0;
        let largest = -Infinity;
        for (const v of x) {
            sum += v;
            largest = Math.max(largest, v);
        }
        const moving = new Float64Array(n);
        for (let r = 0; r < n; ++r) {
            const first = Math.max(0, r - 2);
            let window = 0;
            for (let k = first; k <= r; ++k) window += x[k];
            moving[r] = window / (r - first + 1);
        }
        return [
            x,
            new Float64Array(n).fill(sum),
            new Float64Array(n).fill(sum / n),
            new Float64Array(n).fill(largest),
            moving,
        ];
    },
};

export const workloads = {W1: arithmetic, W2: runningTotal, W3: aggregates};

// Reads "W1 100000" style arguments; exits with a usage message otherwise.
export function parseWorkload(args, usage) {
    const [name, count] = args;
    const workload = workloads[name];
    const n = Number(count);
    if (!workload || !Number.isInteger(n) || n < 1) {
        console.error(usage);
        process.exit(2);
    }
    return {name, workload, n};
}

// Values agree when they match to 1e-9 relative (the engines sum in different
// orders).
export function sameNumber(expected, actual) {
    const scale = Math.max(1, Math.abs(expected));
    return typeof actual === 'number' && Math.abs(expected - actual) <= 1e-9 * scale;
}

// The floor of the peer comparison: the reference workloads W1, W2 and W3 as a
// plain C++ loop over columns of doubles, with no document, parser or engine.
// Prints the compute-only seconds and a checksum of every cell (which also
// keeps the optimiser from dropping the work); compare.sh times the process.
//   plain_loop W1|W2|W3|W3-nosort N
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using Column = std::vector<double>;
using Columns = std::vector<Column>;

Column rangeColumn(long rows) {
    Column x(static_cast<std::size_t>(rows));
    for (std::size_t r = 0; r < x.size(); ++r)
        x[r] = static_cast<double>(r + 1);
    return x;
}

// An initializer list would copy every column.
template <typename... Parts>
Columns moveIntoColumns(Parts&... parts) {
    Columns columns;
    columns.reserve(sizeof...(parts));
    (columns.push_back(std::move(parts)), ...);
    return columns;
}

// x, a = x*2, b = a+x, c = b/3, d = if c>10 then c else -c, e = d*d-a,
// f = e/(x+1), g = f+b, h = g*0.5
Columns arithmetic(long rows) {
    Column x = rangeColumn(rows);
    const std::size_t n = x.size();
    Column a(n), b(n), c(n), d(n), e(n), f(n), g(n), h(n);
    for (std::size_t r = 0; r < n; ++r) {
        a[r] = x[r] * 2;
        b[r] = a[r] + x[r];
        c[r] = b[r] / 3;
        d[r] = c[r] > 10 ? c[r] : -c[r];
        e[r] = d[r] * d[r] - a[r];
        f[r] = e[r] / (x[r] + 1);
        g[r] = f[r] + b[r];
        h[r] = g[r] * 0.5;
    }
    return moveIntoColumns(x, a, b, c, d, e, f, g, h);
}

// x, s = x in row 1, else the previous s plus x
Columns runningTotal(long rows) {
    Column x = rangeColumn(rows);
    Column s(x.size());
    for (std::size_t r = 0; r < x.size(); ++r)
        s[r] = r == 0 ? x[r] : s[r - 1] + x[r];
    return moveIntoColumns(x, s);
}

// x, total, mean, largest (single values shown in every row), the sorted x
// when asked for, and a 3-row moving average over the rows available so far.
Columns aggregates(long rows, bool withSort) {
    Column x = rangeColumn(rows);
    const std::size_t n = x.size();
    double sum = 0;
    double largest = x.empty() ? 0 : x[0];
    for (double v : x) {
        sum += v;
        largest = std::max(largest, v);
    }
    Columns columns;
    columns.push_back(Column(n, sum));
    columns.push_back(Column(n, sum / static_cast<double>(n)));
    columns.push_back(Column(n, largest));
    if (withSort) {
        Column sorted = x;
        std::sort(sorted.begin(), sorted.end());
        columns.push_back(std::move(sorted));
    }
    Column moving(n);
    for (std::size_t r = 0; r < n; ++r) {
        const std::size_t first = r >= 2 ? r - 2 : 0;
        double window = 0;
        for (std::size_t k = first; k <= r; ++k)
            window += x[k];
        moving[r] = window / static_cast<double>(r - first + 1);
    }
    columns.push_back(std::move(moving));
    columns.insert(columns.begin(), std::move(x));
    return columns;
}

double checksum(const Columns& columns) {
    double total = 0;
    for (const Column& column : columns) {
        for (double v : column)
            total += v;
    }
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string workload = argc == 3 ? argv[1] : "";
    const long rows = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 0;
    if (rows < 1 ||
        (workload != "W1" && workload != "W2" && workload != "W3" && workload != "W3-nosort")) {
        std::fprintf(stderr, "usage: plain_loop W1|W2|W3|W3-nosort N\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    Columns columns;
    if (workload == "W1") {
        columns = arithmetic(rows);
    } else if (workload == "W2") {
        columns = runningTotal(rows);
    } else {
        columns = aggregates(rows, workload == "W3");
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("compute_s %.6f checksum %.17g\n", seconds, checksum(columns));
    return 0;
}

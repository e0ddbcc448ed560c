// The reference workloads of the performance comparison, written as
// documents: W1 arithmetic, W2 a running total, W3 aggregates, W4 many
// derived tables, W5 a what-if sweep over a local table, W7 a column of
// errors read by another, W8 a column of circular cells.
#pragma once

#include <cstdint>
#include <string>

namespace qv::bench {

std::string workloadArithmetic(std::int64_t rows);    // W1: x and eight fields per row
std::string workloadRunningTotal(std::int64_t rows);  // W2: s = prev + x
std::string workloadAggregates(std::int64_t rows);    // W3: sum, avg, max, sort, mavg
// W3 over pseudo-random values (srand of the row's number), which the sort
// has to order rather than find in order.
std::string workloadAggregatesUnsorted(std::int64_t rows);
std::string workloadInheritance();  // W4: 1,000 tables of 100 rows
std::string workloadWhatIf();       // W5: 10,000 calls of a 50-field table
// With `mistaken` false, each is the same table without the mistake, the
// reference its time is compared with.
std::string workloadErrors(std::int64_t rows, bool mistaken);    // W7: a mistyped name
std::string workloadCircular(std::int64_t rows, bool mistaken);  // W8: a field reading itself

}  // namespace qv::bench

// The import workload: CSV data as a bank or shop export writes it, for
// timing `qvl import` as a whole process (bench/import_bench.sh).
#pragma once

#include <cstdint>
#include <string>

namespace qv::bench {

// A header and `rows` lines of five columns: a running id, an amount with
// two decimals, a customer name (a third of them quoted with a comma
// inside), a Boolean and a count. Deterministic.
std::string workloadCsv(std::int64_t rows);

}  // namespace qv::bench

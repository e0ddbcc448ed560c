// Generates table texts of a given size for the parsing benchmarks: many
// tables, each with named and unnamed fields, formulas of every kind and
// row blocks with overrides and gaps.
#pragma once

#include <cstddef>
#include <string>

namespace qv::bench {

std::string generateTables(std::size_t targetBytes);

}  // namespace qv::bench

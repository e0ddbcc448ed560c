#include "bench/CsvWorkload.h"

#include <cstdio>

namespace qv::bench {

std::string workloadCsv(std::int64_t rows) {
    static const char* const kNames[] = {"Ada",     "\"Byron, George\"", "Grace",
                                         "Alan",    "\"Hopper, Grace\"", "Edsger",
                                         "Barbara", "\"Knuth, Donald\"", "Niklaus"};
    std::string text = "id,amount,customer,paid,count\n";
    text.reserve(static_cast<std::size_t>(rows) * 40);
    std::uint32_t state = 12345;
    char line[128];
    for (std::int64_t row = 1; row <= rows; ++row) {
        state = state * 1664525u + 1013904223u;
        int cents = static_cast<int>(state % 1000000);
        std::snprintf(line, sizeof line, "%lld,%d.%02d,%s,%s,%u\n", static_cast<long long>(row),
                      cents / 100, cents % 100, kNames[row % 9],
                      (state >> 8) % 2 ? "true" : "false", (state >> 12) % 1000);
        text += line;
    }
    return text;
}

}  // namespace qv::bench

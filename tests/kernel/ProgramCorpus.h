// Programs of every kind for tests that compare two ways of computing: the
// examples, the fuzzers' documents, the benchmark workloads at a small size
// and a generated document. Programs that draw random numbers are left out
// unless asked for: their values depend on the order of every draw.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "bench/DocumentGenerator.h"
#include "bench/Workloads.h"

namespace qv::test {

inline std::vector<std::pair<std::string, std::string>> corpusPrograms(bool random = false) {
    std::vector<std::pair<std::string, std::string>> programs;
    auto add = [&](const std::string& name, const std::string& text) {
        if (random || text.find("srand") == std::string::npos) programs.emplace_back(name, text);
    };
    std::filesystem::path source(QV_SOURCE_DIR);
    for (const auto& folder : {source / "examples", source / "fuzz" / "corpus" / "document"}) {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            std::string whole = text.str();
            std::size_t start = whole.find("table ");
            if (start != std::string::npos) add(file.filename().string(), whole.substr(start));
        }
    }
    add("W1", bench::workloadArithmetic(12));
    add("W2", bench::workloadRunningTotal(12));
    add("W3", bench::workloadAggregates(12));
    add("W3 unsorted", bench::workloadAggregatesUnsorted(12));
    add("W7", bench::workloadErrors(12, true));
    add("W8", bench::workloadCircular(12, true));
    add("generated", bench::generateTables(1500));
    return programs;
}

}  // namespace qv::test

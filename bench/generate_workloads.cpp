// Writes the reference workloads as documents into a folder, for whole-process
// timings of qvl and for the comparison with other engines:
//   W1_<N>.qvl W2_<N>.qvl W3_<N>.qvl and W3u_<N>.qvl (W3 over unsorted
//   values) for N = 100000 and 1000000, W4.qvl, W5.qvl, W6.qvl (about 50 MB
//   of tables), W7_1000000.qvl and W8_1000000.qvl with their references
//   W7-ok_1000000.qvl and W8-ok_1000000.qvl, and I1_1000000.csv, the data
//   of the import benchmark (alone with "import" after the folder).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "bench/CsvWorkload.h"
#include "bench/DocumentGenerator.h"
#include "bench/Workloads.h"

namespace {

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "can not write to " << path << '\n';
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool importOnly = argc == 3 && std::string(argv[2]) == "import";
    if (argc != 2 && !importOnly) {
        std::cerr << "usage: generate_workloads FOLDER [import]\n";
        return 2;
    }
    const std::string folder = argv[1];
    if (importOnly) {
        return writeFile(folder + "/I1_1000000.csv", qv::bench::workloadCsv(1000000)) ? 0 : 1;
    }
    bool ok = true;
    for (std::int64_t rows : {100000, 1000000}) {
        const std::string suffix = "_" + std::to_string(rows) + ".qvl";
        ok = writeFile(folder + "/W1" + suffix, qv::bench::workloadArithmetic(rows)) && ok;
        ok = writeFile(folder + "/W2" + suffix, qv::bench::workloadRunningTotal(rows)) && ok;
        ok = writeFile(folder + "/W3" + suffix, qv::bench::workloadAggregates(rows)) && ok;
        ok = writeFile(folder + "/W3u" + suffix, qv::bench::workloadAggregatesUnsorted(rows)) && ok;
    }
    ok = writeFile(folder + "/W4.qvl", qv::bench::workloadInheritance()) && ok;
    ok = writeFile(folder + "/W5.qvl", qv::bench::workloadWhatIf()) && ok;
    ok = writeFile(folder + "/W6.qvl", qv::bench::generateTables(50u << 20) + "//--end") && ok;
    for (bool mistaken : {true, false}) {
        const std::string suffix = std::string(mistaken ? "" : "-ok") + "_1000000.qvl";
        ok = writeFile(folder + "/W7" + suffix, qv::bench::workloadErrors(1000000, mistaken)) && ok;
        ok = writeFile(folder + "/W8" + suffix, qv::bench::workloadCircular(1000000, mistaken)) &&
             ok;
    }
    ok = writeFile(folder + "/I1_1000000.csv", qv::bench::workloadCsv(1000000)) && ok;
    return ok ? 0 : 1;
}

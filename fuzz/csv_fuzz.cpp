// Reads CSV data with options taken from the first byte. Whatever is read
// must be valid UTF-8 without NUL bytes, read alike from a stream, and,
// imported as a table, write a text that reads back and writes the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "core/CsvReader.h"
#include "core/Utf8.h"
#include "kernel/TableImport.h"
#include "language/StringStream.h"
#include "language/TableParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv;
    if (size == 0) return 0;
    const std::uint8_t flags = data[0];
    std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    CsvOptions options;
    static const char kDelimiters[] = {0, ',', ';', '\t'};
    options.delimiter = kDelimiters[flags & 3];
    options.header = (flags & 4) == 0;
    options.decimalComma = (flags & 8) != 0 && options.delimiter != ',';
    options.encoding = (flags & 16) != 0 ? CsvEncoding::Latin1 : CsvEncoding::Utf8;
    options.maxCells = 5000;
    options.maxCellBytes = 1000;
    options.maxColumns = 100;
    CsvResult read = readCsv(bytes, options);
    std::istringstream stream{std::string(bytes)};
    CsvResult streamed = readCsv(stream, options);
    if (read.ok() != streamed.ok() || read.error.message != streamed.error.message) std::abort();
    if (!read.ok()) return 0;
    const CsvTable& table = *read.table;
    for (std::int64_t row = 0; row < table.rowCount(); ++row) {
        for (std::int32_t column = 0; column < table.columnCount(); ++column) {
            std::string_view cell = table.cell(row, column);
            if (utf8::sanitized(cell) != cell || cell.find('"') != std::string_view::npos)
                std::abort();
        }
    }
    auto program = make<ProgramDef>();
    ImportPlan plan(*program, table, {"T", ""});
    if (plan.failed()) return 0;
    applyImport(*program, plan);
    StringPointer written = program->toSource();
    try {
        auto again = make<TableParser>()->parseTable(make<StringStream>(written));
        if (!again->toSource()->equals(written->view())) std::abort();
    } catch (const StringPointer&) {
        std::abort();
    }
    return 0;
}

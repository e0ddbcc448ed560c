// qvl import: CSV or TSV data into a table of the document, as a new table
// or a refresh of one (kernel/TableImport.h). Bad data says where, as
// "qvl: DATA:LINE:COL: MESSAGE", and leaves the file as it was.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

#include "app/DocumentFile.h"
#include "app/TerminalText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "core/CsvReader.h"
#include "kernel/TableImport.h"

namespace qv::cli {

namespace {

// The reader's options from the command's; nothing after a usage error.
std::optional<CsvOptions> readingOptions(const Options& options, int& status) {
    CsvOptions reading;
    reading.header = !options.noHeader;
    reading.decimalComma = options.decimalComma;
    if (options.delimiter) {
        const std::string& given = *options.delimiter;
        if (given == "," || given == ";") {
            reading.delimiter = given[0];
        } else if (given == "tab" || given == "\t" || given == "\\t") {
            reading.delimiter = '\t';
        } else {
            status = usageError("import", "--delimiter needs , ; or tab, not " + given);
            return std::nullopt;
        }
    }
    std::string encoding = options.encoding.value_or("utf-8");
    if (encoding == "utf-8") {
        reading.encoding = CsvEncoding::Utf8;
    } else if (encoding == "latin-1") {
        reading.encoding = CsvEncoding::Latin1;
    } else {
        status = usageError("import", "--encoding needs utf-8 or latin-1, not " + encoding);
        return std::nullopt;
    }
    return reading;
}

int dataFailure(const std::string& data, const CsvError& error) {
    std::string place = data;
    if (error.line > 0)
        place += ":" + std::to_string(error.line) + ":" + std::to_string(error.column);
    std::fprintf(stderr, "qvl: %s: %s\n", place.c_str(), forTerminal(error.message).c_str());
    return 1;
}

// The data from a file or, for "-", standard input; bounded by the reader.
std::optional<CsvResult> readData(const std::string& data, const CsvOptions& options) {
    if (data == "-") return readCsv(std::cin, options);
    std::error_code ignored;
    if (std::filesystem::is_directory(data, ignored)) {
        std::fprintf(stderr, "qvl: %s: can not read %s: %s\n", data.c_str(), data.c_str(),
                     std::strerror(EISDIR));
        return std::nullopt;
    }
    std::ifstream file(data, std::ios::binary);
    if (!file) {
        int reason = errno;
        std::fprintf(stderr, "qvl: %s: can not open %s: %s\n", data.c_str(), data.c_str(),
                     std::strerror(reason));
        return std::nullopt;
    }
    CsvResult result = readCsv(file, options);
    if (file.bad()) {
        std::fprintf(stderr, "qvl: %s: can not read %s\n", data.c_str(), data.c_str());
        return std::nullopt;
    }
    return result;
}

// Bytes the text takes on disk, where each line feed is CR LF.
std::int64_t diskBytes(std::string_view text) {
    return static_cast<std::int64_t>(text.size() + std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

int runImport(const ArgumentList& arguments) {
    int status = 0;
    auto options = commandOptions("import", arguments, status);
    if (!options) return status;
    if (options->positional.size() != 2) return usageError("import", "import takes FILE and DATA");
    if (!options->table) return usageError("import", "import needs --table NAME");
    const std::string& path = options->positional[0];
    const std::string& data = options->positional[1];
    if (path == "-" && data == "-")
        return usageError("import", "FILE and DATA can not both be standard input");
    std::optional<CsvOptions> reading = readingOptions(*options, status);
    if (!reading) return status;
    if (!mayWriteBack("import", *options, path, status)) return status;
    Pointer<Document> document = load(path, Pointer<AbstractKernelFeedback>());
    if (document.isNull()) return 1;

    ImportOptions importing{*options->table, options->key.value_or("")};
    std::optional<ImportPlan> plan;
    {
        // The data's cells are let go once the plan holds the table.
        std::optional<CsvResult> read = readData(data, *reading);
        if (!read) return 1;
        if (!read->ok()) return dataFailure(data, read->error);
        plan.emplace(*document->kernel()->program(), *read->table, importing);
    }
    if (plan->failed()) return dataFailure(data, plan->error());
    applyImport(*document->kernel()->program(), *plan);
    StringPointer text = document->toSource();
    if (diskBytes(text->view()) > kMaxDocumentFileBytes) {
        return documentFailure(path, "the document would pass the limit of " +
                                         std::to_string(kMaxDocumentFileBytes) + " bytes");
    }
    if (options->write) {
        try {
            writeDocumentFile(path, text->view());
        } catch (const StringPointer& message) {
            // Nothing was imported into the file: no report.
            std::fprintf(stderr, "qvl: %s: %s\n", path.c_str(), message->text());
            return 1;
        }
    }
    std::fprintf(stderr, "qvl: %s: %s\n", path.c_str(),
                 forTerminal(describeImport(importing, plan->counts())).c_str());
    if (options->write) return 0;
    std::fwrite(text->view().data(), 1, text->view().size(), stdout);
    std::fputc('\n', stdout);
    return 0;
}

}  // namespace qv::cli

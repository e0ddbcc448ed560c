#include "cli/Commands.h"

#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>

#include "app/TerminalText.h"
#include "charts/ChartFile.h"
#include "charts/ChartSvg.h"
#include "charts/TableChartModel.h"
#include "cli/CommandSupport.h"
#include "cli/ErrorCauses.h"
#include "cli/ProgressFeedback.h"
#include "cli/TableRenderer.h"
#include "core/FileWriter.h"
#include "core/ValueConversions.h"
#include "core/Warning.h"

namespace qv::cli {

namespace {

NumberStyle numberStyle(const Options& options) {
    return options.exact ? NumberStyle::Exact : NumberStyle::Display;
}

// Output that did not reach its file (a full disk, a closed pipe) is a
// failure, whatever the command made of its document.
int checkOutput(int status) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    std::fputs("qvl: can not write to standard output\n", stderr);
    return status == 0 ? 1 : status;
}

int runCommand(const std::string& command, const ArgumentList& arguments) {
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(usageOf(""), stdout);
        return 0;
    }
    if (command == "check") return runCheck(arguments);
    if (command == "eval") return runEval(arguments);
    if (command == "show") return runShow(arguments);
    if (command == "explain") return runExplain(arguments);
    if (command == "fmt") return runFmt(arguments);
    if (command == "chart") return runChart(arguments);
    if (command == "refs") return runRefs(arguments);
    if (command == "rename") return runRename(arguments);
    if (command == "import") return runImport(arguments);
    std::fprintf(stderr, "qvl: unknown command %s\n%s", command.c_str(), usageOf(""));
    return 2;
}

}  // namespace

void keepDocumentsUntilExit() {
    keepLoadedDocuments();
}

int runTool(const ArgumentList& arguments) {
    if (arguments.empty()) {
        std::fputs(usageOf(""), stderr);
        return 2;
    }
    failWritesPastTheFileSizeLimit();
    int status = 1;
    // Running out of memory anywhere in a command ends it with a message,
    // never with an abort; what was written stays written.
    try {
        status = runCommand(arguments[0], ArgumentList(arguments.begin() + 1, arguments.end()));
    } catch (const std::bad_alloc&) {
        std::fputs("qvl: out of memory\n", stderr);
    } catch (const std::length_error&) {
        std::fputs("qvl: out of memory\n", stderr);
    } catch (const StringPointer& message) {
        std::fprintf(stderr, "qvl: %s\n", message->text());
    }
    return checkOutput(status);
}

namespace {

// Rows past the limit are refused in the range cells that asked for them,
// not in the table's own warning; the table still holds none of them, so
// it counts as a table with a warning all the same.
bool isRowLimitWarning(const Pointer<Object>& value) {
    return toText(value)->view().starts_with("too many rows: ");
}

// "TABLE: CAUSE (explains N of M cells with error values)" for a table
// with error values.
void printFirstCause(Kernel& kernel, TableResult& table, std::int32_t index) {
    Explanation explanation(kernel);
    std::optional<TableCause> cause = firstCauseOf(explanation, table, index);
    if (!cause) return;
    std::printf("%s: %s (explains %lld of %lld cells with error values)\n",
                forTerminal(table.name()->view()).c_str(), forTerminal(cause->text).c_str(),
                static_cast<long long>(cause->explained), static_cast<long long>(cause->errors));
}

}  // namespace

int runCheck(const ArgumentList& arguments) {
    int status = 0;
    auto options = commandOptions("check", arguments, status);
    if (!options) return status;
    if (options->positional.size() != 1) return usageError("check", "check takes one FILE");
    const std::string& path = options->positional[0];
    std::unique_ptr<TimeLimit> limit = startTimeLimit(*options);
    Pointer<Document> document = load(path, make<ProgressFeedback>());
    if (document.isNull()) return 1;
    watchTime(limit, *document);
    Kernel& kernel = *document->kernel();
    std::int64_t fields = 0, rows = 0, errors = 0, warned = 0;
    std::int32_t tables = kernel.getTableCount();
    for (std::int32_t t = 0; t < tables; ++t) {
        Pointer<TableResult> table = kernel.getTable(t);
        if (table.isNull()) continue;
        Pointer<Object> warning = table->warning();
        // A table past the field budget holds none, but has them all the same.
        fields += table->resolved()->declaredFieldCount();
        rows += table->rowCount() - 1;
        for (std::int32_t field = 0; field < table->fieldCount(); ++field) {
            for (std::int32_t row = -1; row < table->rowCount(); ++row) {
                Pointer<Object> value = table->value(field, row);
                // Circular references and stopped cells hold error values too.
                if (!isErrorValue(value)) continue;
                ++errors;
                if (warning.isNull() && isRowLimitWarning(value)) warning = value;
            }
        }
        if (!warning.isNull()) {
            ++warned;
            std::printf("%s: %s\n", forTerminal(table->name()->view()).c_str(),
                        forTerminal(toText(warning)->view()).c_str());
        }
        if (options->why) printFirstCause(kernel, *table, t);
    }
    std::printf(
        "%s: %d tables, %lld fields, %lld rows, %lld cells with errors, %lld tables with "
        "warnings\n",
        path.c_str(), tables, static_cast<long long>(fields), static_cast<long long>(rows),
        static_cast<long long>(errors), static_cast<long long>(warned));
    // What the reader had to change is a fault of the document as well.
    bool faulty = errors > 0 || warned > 0 || !document->warnings().empty();
    return withinTimeLimit(limit, path, options->strict && faulty ? 1 : 0);
}

int runEval(const ArgumentList& arguments) {
    int status = 0;
    auto options = commandOptions("eval", arguments, status);
    if (!options) return status;
    if (options->positional.size() < 2) return usageError("eval", "eval takes FILE and EXPR...");
    std::unique_ptr<TimeLimit> limit = startTimeLimit(*options);
    Pointer<Document> document = load(options->positional[0], make<ProgressFeedback>());
    if (document.isNull()) return 1;
    watchTime(limit, *document);
    Explanation explanation(*document->kernel());
    for (std::size_t i = 1; i < options->positional.size(); ++i) {
        Pointer<Object> value = document->kernel()->evaluateExpression(str(options->positional[i]));
        std::string text;
        if (options->exact && value.object()->classTypeId() == Double::typeId()) {
            char number[kMaxNumberLength];
            double real = static_cast<const Double&>(*value.object()).value();
            text.assign(number,
                        static_cast<std::size_t>(formatNumber(number, real, NumberStyle::Exact)));
        } else {
            text = forTerminal(toText(value)->view());
        }
        if (options->why && isErrorValue(value)) {
            std::string cause = causeOfExpression(explanation, value);
            if (!cause.empty()) text += "\t" + forTerminal(cause);
        }
        if (options->typed) {
            std::printf("%s\t%s\n", value.object()->getClassName(), text.c_str());
        } else {
            std::printf("%s\n", text.c_str());
        }
    }
    return withinTimeLimit(limit, options->positional[0], 0);
}

int runShow(const ArgumentList& arguments) {
    int status = 0;
    auto options = commandOptions("show", arguments, status);
    if (!options) return status;
    if (options->positional.empty()) return usageError("show", "show takes FILE [TABLE...]");
    Format format = Format::Text;
    std::string formatName = options->format.value_or("text");
    if (formatName == "tsv") {
        format = Format::Tsv;
    } else if (formatName == "csv") {
        format = Format::Csv;
    } else if (formatName == "json") {
        format = Format::Json;
    } else if (formatName != "text") {
        return usageError("show", "unknown format " + formatName);
    }
    const std::string& path = options->positional[0];
    std::unique_ptr<TimeLimit> limit = startTimeLimit(*options);
    Pointer<Document> document = load(path, make<ProgressFeedback>());
    if (document.isNull()) return 1;
    watchTime(limit, *document);
    Kernel& kernel = *document->kernel();
    std::vector<Pointer<TableResult>> tables;
    if (options->positional.size() == 1) {
        for (std::int32_t t = 0; t < kernel.getTableCount(); ++t) {
            Pointer<TableResult> table = kernel.getTable(t);
            if (!table.isNull()) tables.push_back(table);
        }
    } else {
        for (std::size_t i = 1; i < options->positional.size(); ++i) {
            Pointer<TableResult> table = findTable(kernel, path, options->positional[i]);
            if (table.isNull()) return withinTimeLimit(limit, path, 1);
            tables.push_back(table);
        }
    }
    bool delimited = format == Format::Tsv || format == Format::Csv;
    if (delimited && tables.size() != 1) {
        return usageError("show", "tsv and csv print one table: name one of the " +
                                      std::to_string(tables.size()) + " tables");
    }
    // One table's texts at a time: the output is never held whole.
    TableWriter writer(format, stdout);
    for (const auto& table : tables)
        writer.write(*table, options->all, numberStyle(*options));
    writer.finish();
    return withinTimeLimit(limit, path, 0);
}

int runFmt(const ArgumentList& arguments) {
    int status = 0;
    auto options = commandOptions("fmt", arguments, status);
    if (!options) return status;
    if (options->positional.size() != 1) return usageError("fmt", "fmt takes one FILE");
    const std::string& path = options->positional[0];
    if (!mayWriteBack("fmt", *options, path, status)) return status;
    Pointer<Document> document = load(path, Pointer<AbstractKernelFeedback>());
    if (document.isNull()) return 1;
    if (!options->write) {
        writeDocumentSource(*document, stdout);
        return 0;
    }
    return writeBack(*document, path);
}

namespace {

bool endsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The chart to standard output, or to the file through the one writer of
// chart files.
bool writeSvg(const std::string& path, const Pointer<ChartModel>& model) {
    if (path == "-") {
        std::string svg = chartToSvg(model, kChartFileSize);
        std::fwrite(svg.data(), 1, svg.size(), stdout);
        return true;
    }
    // The name ends in .svg: no image is encoded.
    toolkit::ImageEncoder noPng = [](toolkit::Size, const toolkit::ImagePainter&, std::string&,
                                     std::string&) { return false; };
    std::optional<ChartFileFailure> failure =
        writeChartFile(ChartPicture(model, kChartFileSize), path, noPng);
    if (!failure) return true;
    std::fprintf(stderr, "qvl: %s: %s\n", path.c_str(), failure->message.c_str());
    return false;
}

}  // namespace

int runChart(const ArgumentList& arguments) {
    int status = 0;
    auto options = commandOptions("chart", arguments, status);
    if (!options) return status;
    if (options->positional.size() != 2) return usageError("chart", "chart takes FILE and TABLE");
    if (!options->output) return usageError("chart", "chart needs -o OUT.svg");
    const std::string& output = *options->output;
    if (output != "-" && !endsWith(output, ".svg"))
        return usageError("chart", "chart writes SVG: name the output OUT.svg");
    const std::string& path = options->positional[0];
    std::unique_ptr<TimeLimit> limit = startTimeLimit(*options);
    Pointer<Document> document = load(path, make<ProgressFeedback>());
    if (document.isNull()) return 1;
    watchTime(limit, *document);
    Pointer<TableResult> table = findTable(*document->kernel(), path, options->positional[1]);
    // A chart of what a stopped computation left would pass for the whole one.
    if (table.isNull() || (limit && limit->stoppedComputing()))
        return withinTimeLimit(limit, path, 1);
    return writeSvg(output, make<TableChartModel>(table)) ? 0 : 1;
}

}  // namespace qv::cli

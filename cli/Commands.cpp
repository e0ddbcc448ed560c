#include "cli/Commands.h"

#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>

#include "app/Document.h"
#include "app/DocumentFile.h"
#include "app/LoadFailure.h"
#include "charts/ChartFile.h"
#include "charts/ChartSvg.h"
#include "charts/TableChartModel.h"
#include "cli/ProgressFeedback.h"
#include "cli/TableRenderer.h"
#include "cli/TerminalText.h"
#include "cli/TimeLimit.h"
#include "core/FileWriter.h"
#include "core/ValueConversions.h"
#include "core/Warning.h"
#include "language/SourceError.h"

namespace qv::cli {

namespace {

constexpr const char* kToolUsage =
    "usage: qvl COMMAND [OPTIONS] FILE ...\n"
    "\n"
    "Commands:\n"
    "  check [--strict] FILE        read a document and report what it holds\n"
    "  eval [--typed] [--exact] FILE EXPR...\n"
    "                               evaluate expressions against a document\n"
    "  show [--all] [--exact] [--format text|tsv|csv|json] FILE [TABLE...]\n"
    "                               compute and print tables\n"
    "  fmt [--write] FILE           print a document as the program writes it\n"
    "  chart FILE TABLE -o OUT.svg  draw a table's chart as an SVG picture\n"
    "\n"
    "FILE may be - for standard input. 'qvl COMMAND --help' describes one command.\n"
    "check, eval, show and chart take --time-limit SECONDS: once SECONDS have\n"
    "passed since the command started, the computation stops, the cells not yet\n"
    "computed say \"calculation stopped\", what there is is printed (chart\n"
    "writes no file) and the command fails with 'qvl: FILE: calculation stopped:\n"
    "the time limit of SECONDS s passed'.\n"
    "Exit status: 0 success; 1 a document that could not be read (or, for check\n"
    "--strict, has warnings or error cells), a computation stopped by its time\n"
    "limit, output that could not be written or memory that ran out; 2 a usage\n"
    "error.\n";

constexpr const char* kCheckUsage =
    "usage: qvl check [--strict] [--time-limit SECONDS] FILE\n"
    "Reads the document and prints a line 'TABLE: MESSAGE' for each table with a\n"
    "warning (a circular or missing base table, a table past the limits), then\n"
    "one line: its tables, fields, rows, the cells that hold error values and the\n"
    "tables with warnings. A document that does not read prints\n"
    "'qvl: FILE:LINE:COL: MESSAGE' on stderr and exits with 1. With --strict, a\n"
    "document with a table warning or an error cell also exits with 1.\n";

constexpr const char* kEvalUsage =
    "usage: qvl eval [--typed] [--exact] [--time-limit SECONDS] FILE EXPR...\n"
    "Evaluates each expression against the document and prints one line per\n"
    "expression: the value's display text; with --typed, the value's class\n"
    "name, a tab, then the text. With --exact a number is written as the\n"
    "shortest text that reads back as the same double. Control characters are\n"
    "shown escaped (\\n, \\x1b). An error value is a value (exit 0).\n";

constexpr const char* kShowUsage =
    "usage: qvl show [--all] [--exact] [--format text|tsv|csv|json]\n"
    "                [--time-limit SECONDS] FILE [TABLE...]\n"
    "Computes the named tables (all, in document order, when none is named)\n"
    "and prints their visible fields (every field with --all) by row: the data\n"
    "rows in display order, then the summary row; --all adds the formula row\n"
    "first. tsv and csv print one table: name it when the document has several.\n"
    "A table's warning is a line 'warning: MESSAGE' under its name in text, a\n"
    "first line '# warning: MESSAGE' in tsv and csv, and \"warning\" in json.\n"
    "Under a table without data rows, each field whose formula row holds an\n"
    "error adds a line 'error in formula row: FIELD: MESSAGE' (in tsv and csv\n"
    "a last line '# error in formula row: FIELD: MESSAGE'), unless --all shows\n"
    "that row.\n"
    "text shows control characters escaped (\\n, \\x1b); json replaces bytes\n"
    "that are not UTF-8 by U+FFFD. With --exact numbers are written as the\n"
    "shortest text that reads back as the same double instead of as displayed.\n";

constexpr const char* kFmtUsage =
    "usage: qvl fmt [--write] FILE\n"
    "Prints the document as the program writes it; --write replaces the file\n"
    "with that text (atomically) instead, keeping its owner, group and\n"
    "permissions; through a symbolic link the file it points to is replaced.\n"
    "FILE must then be a regular file.\n";

constexpr const char* kChartUsage =
    "usage: qvl chart [--time-limit SECONDS] FILE TABLE -o OUT.svg\n"
    "Draws the chart of the table as the chart view of the desktop program\n"
    "does: every trajectory its fields hold (the values of plot), over a grid\n"
    "with labelled ticks, with a legend naming each trajectory's field. The\n"
    "picture is 640 by 480 pixels, written as SVG to OUT.svg, or to standard\n"
    "output for -o -. A table without trajectories gives the grid alone.\n"
    "--time-limit SECONDS stops a computation that takes longer: no file is\n"
    "written and the command fails.\n";

int usageError(const std::string& command, const std::string& problem) {
    std::fprintf(stderr, "qvl: %s\n%s", problem.c_str(), usageOf(command));
    return 2;
}

bool wantsHelp(const ArgumentList& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") return true;
    }
    return false;
}

bool g_keepDocuments = false;

// Tearing down a model of millions of cells takes a good share of the time
// it took to compute; a process about to exit leaves that to the system.
void keepUntilExit(const Pointer<Document>& document) {
    static auto* kept = new std::vector<Pointer<Document>>();
    kept->push_back(document);
}

// Reads a document from a path or, for "-", from standard input, which is
// bounded like a file.
Pointer<Document> readDocument(const std::string& path,
                               const Pointer<AbstractKernelFeedback>& feedback) {
    if (path == "-") return Document::read(readDocumentStream(stdin, "standard input"), feedback);
    return Document::readFile(path, feedback);
}

// Prints a failure as "qvl: FILE:LINE:COL: MESSAGE", or "qvl: FILE: MESSAGE"
// when the file itself could not be read.
Pointer<Document> load(const std::string& path, const Pointer<AbstractKernelFeedback>& feedback) {
    std::string why;
    Pointer<Document> document = readDocumentOrSay(
        path, [&] { return readDocument(path, feedback); }, why);
    if (document.isNull()) {
        std::fprintf(stderr, "qvl: %s\n", why.c_str());
        return document;
    }
    // What the reader changed to read the document, where it stood.
    for (const SourceError& warning : document->warnings()) {
        std::fprintf(stderr, "qvl: %s:%d:%d: warning: %s\n", path.c_str(), warning.line(),
                     warning.column(), forTerminal(warning.message()->view()).c_str());
    }
    if (g_keepDocuments) keepUntilExit(document);
    return document;
}

// The table of that name, or null after saying "qvl: FILE: TABLE: MESSAGE".
Pointer<TableResult> findTable(Kernel& kernel, const std::string& path, const std::string& name) {
    std::string why;
    Pointer<TableResult> table = findTableOrSay(kernel, path, name, why);
    if (table.isNull()) std::fprintf(stderr, "qvl: %s\n", why.c_str());
    return table;
}

struct Options {
    std::vector<std::string> positional;
    bool all = false;
    bool typed = false;
    bool write = false;
    bool exact = false;
    bool strict = false;
    std::optional<std::string> format;
    std::optional<std::string> output;
    std::optional<double> timeLimit;
};

bool computes(const std::string& command) {
    return command == "check" || command == "eval" || command == "show" || command == "chart";
}

// Options may stand anywhere before "--"; a lone "-" is a file name.
std::optional<Options> parseOptions(const std::string& command, const ArgumentList& arguments,
                                    int& status) {
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
            options.positional.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--all" && command == "show") {
            options.all = true;
        } else if (argument == "--typed" && command == "eval") {
            options.typed = true;
        } else if (argument == "--exact" && (command == "show" || command == "eval")) {
            options.exact = true;
        } else if (argument == "--strict" && command == "check") {
            options.strict = true;
        } else if (argument == "--write" && command == "fmt") {
            options.write = true;
        } else if ((argument == "--format" && command == "show") ||
                   (argument.rfind("--format=", 0) == 0 && command == "show")) {
            if (argument == "--format") {
                if (i + 1 >= arguments.size()) {
                    status = usageError(command, "--format needs a value");
                    return std::nullopt;
                }
                options.format = arguments[++i];
            } else {
                options.format = argument.substr(9);
            }
        } else if ((argument == "--time-limit" || argument.rfind("--time-limit=", 0) == 0) &&
                   computes(command)) {
            std::string value;
            if (argument == "--time-limit") {
                if (i + 1 >= arguments.size()) {
                    status = usageError(command, "--time-limit needs a number of seconds");
                    return std::nullopt;
                }
                value = arguments[++i];
            } else {
                value = argument.substr(13);
            }
            options.timeLimit = TimeLimit::parseSeconds(value);
            if (!options.timeLimit) {
                status = usageError(command,
                                    "--time-limit needs a number of seconds above 0, "
                                    "not " +
                                        value);
                return std::nullopt;
            }
        } else if ((argument == "-o" || argument == "--output") && command == "chart") {
            if (i + 1 >= arguments.size()) {
                status = usageError(command, argument + " needs a file");
                return std::nullopt;
            }
            options.output = arguments[++i];
        } else if (command == "eval" && options.positional.size() >= 1) {
            // Expressions such as -x start with a minus.
            options.positional.push_back(argument);
        } else {
            status = usageError(command, "unknown option " + argument);
            return std::nullopt;
        }
    }
    return options;
}

// The command's time limit, counted from now; null without one.
std::unique_ptr<TimeLimit> startTimeLimit(const Options& options) {
    if (!options.timeLimit) return nullptr;
    return std::make_unique<TimeLimit>(*options.timeLimit);
}

void watchTime(const std::unique_ptr<TimeLimit>& limit, const Document& document) {
    if (limit) limit->watch(document.kernel());
}

// The command's status, or a failure after saying that its time limit
// stopped the computation; what was printed stays printed.
int withinTimeLimit(const std::unique_ptr<TimeLimit>& limit, const std::string& path, int status) {
    if (!limit || !limit->stoppedComputing()) return status;
    std::fprintf(stderr, "qvl: %s: %s\n", path.c_str(), limit->message().c_str());
    return status == 0 ? 1 : status;
}

NumberStyle numberStyle(const Options& options) {
    return options.exact ? NumberStyle::Exact : NumberStyle::Display;
}

// The document as Document::toSource() writes it (program text, layout
// text, end mark) and a line feed, handed on a table at a time instead of
// as one text of the whole document.
void writeSource(const Document& document, std::FILE* out) {
    auto put = [out](std::string_view text) { std::fwrite(text.data(), 1, text.size(), out); };
    const ProgramDef& program = *document.kernel()->program();
    for (std::int32_t t = 0; t < program.tableCount(); ++t) {
        const Pointer<TableDef>& table = program.table(t);
        if (!table.isNull()) put(table->toSource()->view());
    }
    put(document.layout()->toSource()->view());
    put(Document::kEndMark);
    put("\n");
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
    if (command == "fmt") return runFmt(arguments);
    if (command == "chart") return runChart(arguments);
    std::fprintf(stderr, "qvl: unknown command %s\n%s", command.c_str(), usageOf(""));
    return 2;
}

}  // namespace

const char* usageOf(const std::string& command) {
    if (command == "check") return kCheckUsage;
    if (command == "eval") return kEvalUsage;
    if (command == "show") return kShowUsage;
    if (command == "fmt") return kFmtUsage;
    if (command == "chart") return kChartUsage;
    return kToolUsage;
}

void keepDocumentsUntilExit() {
    g_keepDocuments = true;
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

}  // namespace

int runCheck(const ArgumentList& arguments) {
    if (wantsHelp(arguments)) return std::fputs(kCheckUsage, stdout), 0;
    int status = 0;
    auto options = parseOptions("check", arguments, status);
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
                if (!is<Warning>(value)) continue;
                ++errors;
                if (warning.isNull() && isRowLimitWarning(value)) warning = value;
            }
        }
        if (!warning.isNull()) {
            ++warned;
            std::printf("%s: %s\n", forTerminal(table->name()->view()).c_str(),
                        forTerminal(toText(warning)->view()).c_str());
        }
    }
    std::printf(
        "%s: %d tables, %lld fields, %lld rows, %lld cells with errors, %lld tables with "
        "warnings\n",
        path.c_str(), tables, static_cast<long long>(fields), static_cast<long long>(rows),
        static_cast<long long>(errors), static_cast<long long>(warned));
    return withinTimeLimit(limit, path, options->strict && (errors > 0 || warned > 0) ? 1 : 0);
}

int runEval(const ArgumentList& arguments) {
    if (wantsHelp(arguments)) return std::fputs(kEvalUsage, stdout), 0;
    int status = 0;
    auto options = parseOptions("eval", arguments, status);
    if (!options) return status;
    if (options->positional.size() < 2) return usageError("eval", "eval takes FILE and EXPR...");
    std::unique_ptr<TimeLimit> limit = startTimeLimit(*options);
    Pointer<Document> document = load(options->positional[0], make<ProgressFeedback>());
    if (document.isNull()) return 1;
    watchTime(limit, *document);
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
        if (options->typed) {
            std::printf("%s\t%s\n", value.object()->getClassName(), text.c_str());
        } else {
            std::printf("%s\n", text.c_str());
        }
    }
    return withinTimeLimit(limit, options->positional[0], 0);
}

int runShow(const ArgumentList& arguments) {
    if (wantsHelp(arguments)) return std::fputs(kShowUsage, stdout), 0;
    int status = 0;
    auto options = parseOptions("show", arguments, status);
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
        writer.write(renderTable(*table, options->all, numberStyle(*options)));
    writer.finish();
    return withinTimeLimit(limit, path, 0);
}

int runFmt(const ArgumentList& arguments) {
    if (wantsHelp(arguments)) return std::fputs(kFmtUsage, stdout), 0;
    int status = 0;
    auto options = parseOptions("fmt", arguments, status);
    if (!options) return status;
    if (options->positional.size() != 1) return usageError("fmt", "fmt takes one FILE");
    const std::string& path = options->positional[0];
    if (options->write && path == "-") return usageError("fmt", "--write needs a file, not -");
    try {
        // Before reading: reading a pipe would wait for a writer, and a
        // device would read as some document and then be replaced.
        if (options->write) requireRegularTarget(path);
    } catch (const StringPointer& message) {
        std::fprintf(stderr, "qvl: %s: %s\n", path.c_str(), message->text());
        return 1;
    }
    Pointer<Document> document = load(path, Pointer<AbstractKernelFeedback>());
    if (document.isNull()) return 1;
    if (!options->write) {
        writeSource(*document, stdout);
        return 0;
    }
    try {
        document->writeFile(path);
    } catch (const StringPointer& message) {
        std::fprintf(stderr, "qvl: %s: %s\n", path.c_str(), message->text());
        return 1;
    }
    return 0;
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
    if (wantsHelp(arguments)) return std::fputs(kChartUsage, stdout), 0;
    int status = 0;
    auto options = parseOptions("chart", arguments, status);
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

#include "cli/Commands.h"

#include <cstdio>
#include <iostream>
#include <iterator>
#include <optional>

#include "app/Document.h"
#include "app/DocumentFile.h"
#include "cli/ProgressFeedback.h"
#include "cli/TableRenderer.h"
#include "core/ValueConversions.h"
#include "core/Warning.h"
#include "language/SourceError.h"

namespace qv::cli {

namespace {

constexpr const char* kToolUsage =
    "usage: qvl COMMAND [OPTIONS] FILE ...\n"
    "\n"
    "Commands:\n"
    "  check FILE                   read a document and report what it holds\n"
    "  eval [--typed] FILE EXPR...  evaluate expressions against a document\n"
    "  show [--all] [--format text|tsv|csv|json] FILE [TABLE...]\n"
    "                               compute and print tables\n"
    "  fmt [--write] FILE           print a document as the program writes it\n"
    "\n"
    "FILE may be - for standard input. 'qvl COMMAND --help' describes one command.\n"
    "Exit status: 0 success, 1 a document that could not be read, 2 a usage error.\n";

constexpr const char* kCheckUsage =
    "usage: qvl check FILE\n"
    "Reads the document and prints one line: its tables, fields, rows and the\n"
    "cells that hold error values. A document that does not read prints\n"
    "'qvl: FILE:LINE:COL: MESSAGE' on stderr and exits with 1.\n";

constexpr const char* kEvalUsage =
    "usage: qvl eval [--typed] FILE EXPR...\n"
    "Evaluates each expression against the document and prints one line per\n"
    "expression: the value's display text; with --typed, the value's class\n"
    "name, a tab, then the text. An error value is a value (exit 0).\n";

constexpr const char* kShowUsage =
    "usage: qvl show [--all] [--format text|tsv|csv|json] FILE [TABLE...]\n"
    "Computes the named tables (all, in document order, when none is named)\n"
    "and prints their visible fields (every field with --all) by row: the data\n"
    "rows in display order, then the summary row; --all adds the formula row\n"
    "first. tsv and csv print one table: name it when the document has several.\n";

constexpr const char* kFmtUsage =
    "usage: qvl fmt [--write] FILE\n"
    "Prints the document as the program writes it; --write replaces the file\n"
    "with that text (atomically) instead.\n";

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

// Reads a document from a path or, for "-", from standard input. Prints the
// failure as "qvl: FILE:LINE:COL: MESSAGE", or "qvl: FILE: MESSAGE" when the
// file itself could not be read.
bool g_keepDocuments = false;

// Tearing down a model of millions of cells takes a good share of the time
// it took to compute; a process about to exit leaves that to the system.
void keepUntilExit(const Pointer<Document>& document) {
    static auto* kept = new std::vector<Pointer<Document>>();
    kept->push_back(document);
}

Pointer<Document> readDocument(const std::string& path,
                               const Pointer<AbstractKernelFeedback>& feedback) {
    if (path == "-") {
        std::string text((std::istreambuf_iterator<char>(std::cin)),
                         std::istreambuf_iterator<char>());
        return Document::read(str(fromDiskLineEnds(text)), feedback);
    }
    return Document::readFile(path, feedback);
}

Pointer<Document> load(const std::string& path, const Pointer<AbstractKernelFeedback>& feedback) {
    try {
        Pointer<Document> document = readDocument(path, feedback);
        if (g_keepDocuments) keepUntilExit(document);
        return document;
    } catch (const SourceError& error) {
        std::fprintf(stderr, "qvl: %s:%d:%d: %s\n", path.c_str(), static_cast<int>(error.line()),
                     static_cast<int>(error.column()), error.message()->text());
    } catch (const StringPointer& message) {
        std::fprintf(stderr, "qvl: %s: %s\n", path.c_str(), message->text());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "qvl: %s: out of memory\n", path.c_str());
    }
    return Pointer<Document>();
}

struct Options {
    std::vector<std::string> positional;
    bool all = false;
    bool typed = false;
    bool write = false;
    std::optional<std::string> format;
};

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

}  // namespace

const char* usageOf(const std::string& command) {
    if (command == "check") return kCheckUsage;
    if (command == "eval") return kEvalUsage;
    if (command == "show") return kShowUsage;
    if (command == "fmt") return kFmtUsage;
    return kToolUsage;
}

void keepDocumentsUntilExit() {
    g_keepDocuments = true;
}

int runCheck(const ArgumentList& arguments) {
    if (wantsHelp(arguments)) return std::fputs(kCheckUsage, stdout), 0;
    int status = 0;
    auto options = parseOptions("check", arguments, status);
    if (!options) return status;
    if (options->positional.size() != 1) return usageError("check", "check takes one FILE");
    const std::string& path = options->positional[0];
    Pointer<Document> document = load(path, make<ProgressFeedback>());
    if (document.isNull()) return 1;
    Kernel& kernel = *document->kernel();
    std::int64_t fields = 0, rows = 0, errors = 0;
    std::int32_t tables = kernel.getTableCount();
    for (std::int32_t t = 0; t < tables; ++t) {
        Pointer<TableResult> table = kernel.getTable(t);
        if (table.isNull()) continue;
        fields += table->fieldCount();
        rows += table->rowCount() - 1;
        for (std::int32_t field = 0; field < table->fieldCount(); ++field) {
            for (std::int32_t row = -1; row < table->rowCount(); ++row) {
                if (is<Warning>(table->value(field, row))) ++errors;
            }
        }
    }
    std::printf("%s: %d tables, %lld fields, %lld rows, %lld cells with errors\n", path.c_str(),
                tables, static_cast<long long>(fields), static_cast<long long>(rows),
                static_cast<long long>(errors));
    return 0;
}

int runEval(const ArgumentList& arguments) {
    if (wantsHelp(arguments)) return std::fputs(kEvalUsage, stdout), 0;
    int status = 0;
    auto options = parseOptions("eval", arguments, status);
    if (!options) return status;
    if (options->positional.size() < 2) return usageError("eval", "eval takes FILE and EXPR...");
    Pointer<Document> document = load(options->positional[0], make<ProgressFeedback>());
    if (document.isNull()) return 1;
    for (std::size_t i = 1; i < options->positional.size(); ++i) {
        Pointer<Object> value = document->kernel()->evaluateExpression(str(options->positional[i]));
        std::string text = toText(value)->toStdString();
        if (options->typed) {
            std::printf("%s\t%s\n", value.object()->getClassName(), text.c_str());
        } else {
            std::printf("%s\n", text.c_str());
        }
    }
    return 0;
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
    Pointer<Document> document = load(path, make<ProgressFeedback>());
    if (document.isNull()) return 1;
    Kernel& kernel = *document->kernel();
    std::vector<Pointer<TableResult>> tables;
    if (options->positional.size() == 1) {
        for (std::int32_t t = 0; t < kernel.getTableCount(); ++t) {
            Pointer<TableResult> table = kernel.getTable(t);
            if (!table.isNull()) tables.push_back(table);
        }
    } else {
        for (std::size_t i = 1; i < options->positional.size(); ++i) {
            try {
                tables.push_back(kernel.getTableByName(options->positional[i]));
            } catch (const StringPointer& message) {
                std::fprintf(stderr, "qvl: %s: %s: %s\n", path.c_str(),
                             options->positional[i].c_str(), message->text());
                return 1;
            }
        }
    }
    bool delimited = format == Format::Tsv || format == Format::Csv;
    if (delimited && tables.size() != 1) {
        return usageError("show", "tsv and csv print one table: name one of the " +
                                      std::to_string(tables.size()) + " tables");
    }
    std::vector<RenderedTable> rendered;
    for (const auto& table : tables)
        rendered.push_back(renderTable(*table, options->all));
    if (format == Format::Json) {
        writeJson(rendered, stdout);
    } else if (delimited) {
        writeDelimited(rendered[0], format == Format::Tsv ? '\t' : ',', stdout);
    } else {
        writeText(rendered, stdout);
    }
    return 0;
}

int runFmt(const ArgumentList& arguments) {
    if (wantsHelp(arguments)) return std::fputs(kFmtUsage, stdout), 0;
    int status = 0;
    auto options = parseOptions("fmt", arguments, status);
    if (!options) return status;
    if (options->positional.size() != 1) return usageError("fmt", "fmt takes one FILE");
    const std::string& path = options->positional[0];
    if (options->write && path == "-") return usageError("fmt", "--write needs a file, not -");
    Pointer<Document> document = load(path, Pointer<AbstractKernelFeedback>());
    if (document.isNull()) return 1;
    if (!options->write) {
        StringPointer text = document->toSource();
        std::fwrite(text->text(), 1, static_cast<std::size_t>(text->length()), stdout);
        std::fputc('\n', stdout);
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

}  // namespace qv::cli

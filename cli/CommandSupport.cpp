#include "cli/CommandSupport.h"

#include <cstdio>
#include <cstdlib>

#include "app/DocumentFile.h"
#include "app/LoadFailure.h"
#include "app/TerminalText.h"
#include "cli/UsageTexts.h"
#include "core/FileWriter.h"
#include "language/SourceError.h"

namespace qv::cli {

namespace {

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
                               const Pointer<AbstractKernelFeedback>& feedback,
                               StringPointer* read) {
    StringPointer text =
        path == "-" ? readDocumentStream(stdin, "standard input") : readDocumentFile(path);
    if (read != nullptr) *read = text;
    return Document::read(text, feedback);
}

bool computes(const std::string& command) {
    return command == "check" || command == "eval" || command == "show" || command == "chart" ||
           command == "explain";
}

bool rewrites(const std::string& command) {
    return command == "fmt" || command == "rename" || command == "import";
}

// The value of an option that takes one: the rest of "--name=VALUE", or the
// next argument. Nothing after saying so when there is none.
std::optional<std::string> optionValue(const std::string& command, const ArgumentList& arguments,
                                       std::size_t& i, const std::string& name,
                                       const std::string& needs, int& status) {
    const std::string& argument = arguments[i];
    if (argument.size() > name.size()) return argument.substr(name.size() + 1);
    if (i + 1 >= arguments.size()) {
        status = usageError(command, name + " needs " + needs);
        return std::nullopt;
    }
    return arguments[++i];
}

bool isOption(const std::string& argument, const std::string& name) {
    return argument == name || argument.rfind(name + "=", 0) == 0;
}

// A whole number from 0 to the deepest explain goes.
std::optional<std::int32_t> parseDepth(const std::string& text) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != text.npos)
        return std::nullopt;
    int depth = std::atoi(text.c_str());
    if (depth > kMaxExplainDepth) return std::nullopt;
    return depth;
}

// The options of import; false when the argument is none of them, with
// `failed` and `status` set after a usage error.
bool importOption(const ArgumentList& arguments, std::size_t& i, Options& options, int& status,
                  bool& failed) {
    const std::string& argument = arguments[i];
    if (argument == "--decimal-comma") {
        options.decimalComma = true;
        return true;
    }
    if (argument == "--no-header") {
        options.noHeader = true;
        return true;
    }
    struct Valued {
        const char* name;
        const char* needs;
        std::optional<std::string> Options::*member;
    };
    static const Valued kValued[] = {
        {"--table", "a table name", &Options::table},
        {"--key", "a field name", &Options::key},
        {"--delimiter", "a delimiter", &Options::delimiter},
        {"--encoding", "an encoding", &Options::encoding},
    };
    for (const Valued& valued : kValued) {
        if (!isOption(argument, valued.name)) continue;
        options.*valued.member =
            optionValue("import", arguments, i, valued.name, valued.needs, status);
        failed = !(options.*valued.member).has_value();
        return true;
    }
    return false;
}

}  // namespace

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

std::optional<Options> parseOptions(const std::string& command, const ArgumentList& arguments,
                                    int& status) {
    Options options;
    bool optionsEnded = false;
    bool failed = false;
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
        } else if (argument == "--why" && (command == "check" || command == "eval")) {
            options.why = true;
        } else if (argument == "--write" && rewrites(command)) {
            options.write = true;
        } else if (argument == "--diff" && command == "rename") {
            options.diff = true;
        } else if (isOption(argument, "--format") &&
                   (command == "show" || command == "explain" || command == "refs")) {
            options.format = optionValue(command, arguments, i, "--format", "a value", status);
            if (!options.format) return std::nullopt;
        } else if (command == "import" && importOption(arguments, i, options, status, failed)) {
            if (failed) return std::nullopt;
        } else if (isOption(argument, "--depth") && command == "explain") {
            std::optional<std::string> value =
                optionValue(command, arguments, i, "--depth", "a number of levels", status);
            if (!value) return std::nullopt;
            options.depth = parseDepth(*value);
            if (!options.depth) {
                status =
                    usageError(command, "--depth needs a whole number from 0 to " +
                                            std::to_string(kMaxExplainDepth) + ", not " + *value);
                return std::nullopt;
            }
        } else if (isOption(argument, "--time-limit") && computes(command)) {
            std::optional<std::string> value =
                optionValue(command, arguments, i, "--time-limit", "a number of seconds", status);
            if (!value) return std::nullopt;
            options.timeLimit = TimeLimit::parseSeconds(*value);
            if (!options.timeLimit) {
                status = usageError(command,
                                    "--time-limit needs a number of seconds above 0, "
                                    "not " +
                                        *value);
                return std::nullopt;
            }
        } else if ((argument == "-o" || argument == "--output") && command == "chart") {
            if (i + 1 >= arguments.size()) {
                status = usageError(command, argument + " needs a file");
                return std::nullopt;
            }
            options.output = arguments[++i];
        } else if ((command == "eval" || command == "explain") && options.positional.size() >= 1) {
            // Expressions such as -x start with a minus.
            options.positional.push_back(argument);
        } else {
            status = usageError(command, "unknown option " + argument);
            return std::nullopt;
        }
    }
    return options;
}

std::optional<Options> commandOptions(const std::string& command, const ArgumentList& arguments,
                                      int& status) {
    if (wantsHelp(arguments)) {
        std::fputs(usageOf(command), stdout);
        status = 0;
        return std::nullopt;
    }
    return parseOptions(command, arguments, status);
}

std::optional<std::string> textOrJson(const std::string& command, const Options& options,
                                      int& status) {
    std::string format = options.format.value_or("text");
    if (format == "text" || format == "json") return format;
    status = usageError(command, "unknown format " + format);
    return std::nullopt;
}

void keepLoadedDocuments() {
    g_keepDocuments = true;
}

Pointer<Document> load(const std::string& path, const Pointer<AbstractKernelFeedback>& feedback,
                       StringPointer* text) {
    std::string why;
    Pointer<Document> document = readDocumentOrSay(
        path, [&] { return readDocument(path, feedback, text); }, why);
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

void writeDocumentSource(const Document& document, std::FILE* out) {
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

bool mayWriteBack(const std::string& command, const Options& options, const std::string& path,
                  int& status) {
    if (!options.write) return true;
    if (path == "-") {
        status = usageError(command, "--write needs a file, not -");
        return false;
    }
    try {
        requireRegularTarget(path);
    } catch (const StringPointer& message) {
        std::fprintf(stderr, "qvl: %s: %s\n", path.c_str(), message->text());
        status = 1;
        return false;
    }
    return true;
}

int writeBack(const Document& document, const std::string& path) {
    try {
        document.writeFile(path);
    } catch (const StringPointer& message) {
        std::fprintf(stderr, "qvl: %s: %s\n", path.c_str(), message->text());
        return 1;
    }
    return 0;
}

int documentFailure(const std::string& path, std::string_view message) {
    std::fprintf(stderr, "qvl: %s: %s\n", path.c_str(), forTerminal(message).c_str());
    return 1;
}

Pointer<TableResult> findTable(Kernel& kernel, const std::string& path, const std::string& name) {
    std::string why;
    Pointer<TableResult> table = findTableOrSay(kernel, path, name, why);
    if (table.isNull()) std::fprintf(stderr, "qvl: %s\n", why.c_str());
    return table;
}

std::unique_ptr<TimeLimit> startTimeLimit(const Options& options) {
    if (!options.timeLimit) return nullptr;
    return std::make_unique<TimeLimit>(*options.timeLimit);
}

void watchTime(const std::unique_ptr<TimeLimit>& limit, const Document& document) {
    if (limit) limit->watch(document.kernel());
}

int withinTimeLimit(const std::unique_ptr<TimeLimit>& limit, const std::string& path, int status) {
    if (!limit || !limit->stoppedComputing()) return status;
    std::fprintf(stderr, "qvl: %s: %s\n", path.c_str(), limit->message().c_str());
    return status == 0 ? 1 : status;
}

}  // namespace qv::cli

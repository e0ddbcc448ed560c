// qvl explain: the value of an expression and the cells it came from.
#include <cstdio>
#include <optional>
#include <string>

#include "app/TerminalText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/ExplainTree.h"
#include "cli/ExplainWriter.h"
#include "cli/ProgressFeedback.h"
#include "core/ValueConversions.h"
#include "language/ExpressionParser.h"

namespace qv::cli {

namespace {

constexpr std::int32_t kDefaultDepth = 3;

// Why the expression cannot be explained, or nothing when it reads.
std::optional<std::string> expressionProblem(const std::string& expression) {
    ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(str(expression));
    if (parsed.isNull()) return "explain needs an expression, not a blank";
    Pointer<Object> error = parsed->errorOf();
    if (error.isNull()) return std::nullopt;
    return "bad expression '" + forTerminal(expression) +
           "': " + forTerminal(toText(error)->view());
}

}  // namespace

int runExplain(const ArgumentList& arguments) {
    int status = 0;
    auto options = commandOptions("explain", arguments, status);
    if (!options) return status;
    if (options->positional.size() != 2)
        return usageError("explain", "explain takes FILE and EXPR");
    std::optional<std::string> format = textOrJson("explain", *options, status);
    if (!format) return status;
    const std::string& path = options->positional[0];
    const std::string& expression = options->positional[1];
    if (std::optional<std::string> problem = expressionProblem(expression)) {
        std::fprintf(stderr, "qvl: %s\n", problem->c_str());
        return 2;
    }
    std::unique_ptr<TimeLimit> limit = startTimeLimit(*options);
    Pointer<Document> document = load(path, make<ProgressFeedback>());
    if (document.isNull()) return 1;
    watchTime(limit, *document);
    Explanation explanation(*document->kernel());
    KernelCells cells(explanation);
    ExplainBounds bounds;
    bounds.depth = options->depth.value_or(kDefaultDepth);
    bounds.stopped = [&limit] { return limit && limit->passed(); };
    ExplainReport report;
    try {
        report = explain(cells, expression, bounds);
    } catch (const StringPointer& message) {
        // A name the results hold no cell for, such as a row past the last.
        std::fprintf(stderr, "qvl: %s: %s: %s\n", path.c_str(), forTerminal(expression).c_str(),
                     forTerminal(message->view()).c_str());
        return withinTimeLimit(limit, path, 1);
    }
    if (*format == "json") {
        writeExplainJson(report, stdout);
    } else {
        writeExplainText(report, stdout);
    }
    return withinTimeLimit(limit, path, 0);
}

}  // namespace qv::cli

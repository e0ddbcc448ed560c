#include "cli/ExplainWriter.h"

#include <string>
#include <vector>

#include "app/BufferedOutput.h"
#include "app/TerminalText.h"
#include "cli/JsonText.h"

namespace qv::cli {

namespace {

void writeIndent(BufferedOutput& out, std::int32_t level) {
    for (std::int32_t i = 0; i < level; ++i)
        out << "  ";
}

void writeTextLine(BufferedOutput& out, const ExplainNode& node) {
    writeIndent(out, node.level);
    const ShownCell& cell = node.cell;
    switch (node.mark) {
        case ExplainNode::Mark::LeftOut:
            out << "...\n";
            return;
        case ExplainNode::Mark::SeeAbove:
            out << forTerminal(cell.name) << " (see above)\n";
            return;
        case ExplainNode::Mark::None:
        case ExplainNode::Mark::Origin:
            break;
    }
    if (cell.named) {
        out << forTerminal(cell.name);
        if (!cell.formula.empty()) out << " := " << forTerminal(cell.formula);
    } else {
        out << forTerminal(cell.formula);
    }
    out << " => " << forTerminal(cell.value);
    if (node.mark == ExplainNode::Mark::Origin) out << "  <- origin";
    out << '\n';
}

const char* kindName(Cause::Kind kind) {
    switch (kind) {
        case Cause::Kind::Origin:
            return "origin";
        case Cause::Kind::Cycle:
            return "cycle";
        case Cause::Kind::Stopped:
            return "stopped";
        case Cause::Kind::None:
            break;
    }
    return "none";
}

const char* markName(ExplainNode::Mark mark) {
    switch (mark) {
        case ExplainNode::Mark::SeeAbove:
            return "see above";
        case ExplainNode::Mark::Origin:
            return "origin";
        case ExplainNode::Mark::None:
        case ExplainNode::Mark::LeftOut:
            break;
    }
    return nullptr;
}

void writeJsonOrNull(BufferedOutput& out, bool present, std::string_view text) {
    if (present) {
        writeJsonString(out, text);
    } else {
        out << "null";
    }
}

// The members of a cell, without the braces.
void writeJsonCellMembers(BufferedOutput& out, const ShownCell& cell) {
    out << "\"name\":";
    writeJsonOrNull(out, cell.named, cell.name);
    out << ",\"formula\":";
    writeJsonOrNull(out, !cell.formula.empty(), cell.formula);
    out << ",\"value\":";
    writeJsonString(out, cell.value);
    out << ",\"error\":" << (cell.error ? "true" : "false");
}

void writeJsonCause(BufferedOutput& out, const ExplainReport& report) {
    if (report.causeKind == Cause::Kind::None) {
        out << "null";
        return;
    }
    out << "{\"kind\":\"" << kindName(report.causeKind) << "\",\"text\":";
    writeJsonString(out, report.causeText);
    out << ",\"cells\":[";
    for (std::size_t i = 0; i < report.causeCells.size(); ++i) {
        out << (i > 0 ? ",{" : "{");
        writeJsonCellMembers(out, report.causeCells[i]);
        out << '}';
    }
    out << "]}";
}

// For each node, whether cells it read were left out: a "..." among its
// children.
std::vector<bool> moreOf(const std::vector<ExplainNode>& nodes) {
    std::vector<bool> more(nodes.size(), false);
    std::vector<std::size_t> open;  // the nodes above the current one
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        while (!open.empty() && nodes[open.back()].level >= nodes[i].level)
            open.pop_back();
        if (nodes[i].mark == ExplainNode::Mark::LeftOut) {
            if (!open.empty()) more[open.back()] = true;
        } else {
            open.push_back(i);
        }
    }
    return more;
}

// The tree stays flat, a level in each node: a way to an origin a thousand
// levels deep would nest deeper than JSON readers go.
void writeJsonTree(BufferedOutput& out, const std::vector<ExplainNode>& nodes) {
    std::vector<bool> more = moreOf(nodes);
    out << '[';
    bool first = true;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const ExplainNode& node = nodes[i];
        if (node.mark == ExplainNode::Mark::LeftOut) continue;
        out << (first ? "{\"level\":" : ",{\"level\":") << std::to_string(node.level) << ',';
        first = false;
        writeJsonCellMembers(out, node.cell);
        out << ",\"mark\":";
        const char* mark = markName(node.mark);
        writeJsonOrNull(out, mark != nullptr, mark == nullptr ? "" : mark);
        out << ",\"unfolded\":" << (node.unfolded ? "true" : "false")
            << ",\"more\":" << (more[i] ? "true" : "false") << '}';
        out.endRow();
    }
    out << ']';
}

}  // namespace

void writeExplainText(const ExplainReport& report, std::FILE* file) {
    BufferedOutput out(file);
    for (std::size_t i = 0; i < report.nodes.size(); ++i) {
        writeTextLine(out, report.nodes[i]);
        if (i == 0 && !report.causeText.empty()) out << forTerminal(report.causeText) << '\n';
        out.endRow();
    }
    out.flush();
}

void writeExplainJson(const ExplainReport& report, std::FILE* file) {
    BufferedOutput out(file);
    out << "{\"expression\":";
    writeJsonString(out, report.expression);
    out << ",\"cause\":";
    writeJsonCause(out, report);
    out << ",\"tree\":";
    writeJsonTree(out, report.nodes);
    out << ",\"complete\":" << (report.complete ? "true" : "false") << "}\n";
    out.flush();
}

}  // namespace qv::cli

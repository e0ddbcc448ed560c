#include "cli/LineDiff.h"

#include <algorithm>
#include <vector>

namespace qv::cli {

namespace {

constexpr std::int32_t kContext = 3;

struct Line {
    std::string_view text;
    bool ended;  // followed by a line feed
    bool operator==(const Line& other) const = default;
};

std::vector<Line> linesOf(std::string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back({text.substr(start), false});
            break;
        }
        lines.push_back({text.substr(start, end - start), true});
        start = end + 1;
    }
    return lines;
}

enum class Op : std::int8_t { kKeep, kRemove, kAdd };

struct Step {
    Op op;
    std::int32_t before;  // index of the line in the first text (kKeep, kRemove)
    std::int32_t after;   // index of the line in the second text (kKeep, kAdd)
};

// Myers' greedy search for the shortest edit script, keeping for each
// number of edits the furthest reach on each diagonal it could touch, and
// walking back through them. Empty when more than kMaxDiffEdits are needed.
std::vector<Step> shortestScript(const std::vector<Line>& a, const std::vector<Line>& b) {
    const auto n = static_cast<std::int32_t>(a.size());
    const auto m = static_cast<std::int32_t>(b.size());
    const std::int32_t limit = std::min(n + m, kMaxDiffEdits);
    const std::int32_t offset = limit + 1;
    std::vector<std::int32_t> reach(static_cast<std::size_t>(2 * limit + 3), 0);
    auto at = [&](std::int32_t k) -> std::int32_t& {
        return reach[static_cast<std::size_t>(k + offset)];
    };
    std::vector<std::vector<std::int32_t>> trace;
    for (std::int32_t d = 0; d <= limit; ++d) {
        // The reach before this step, on the diagonals -(d+1) ... d+1.
        trace.emplace_back(reach.begin() + (offset - d - 1), reach.begin() + (offset + d + 2));
        for (std::int32_t k = -d; k <= d; k += 2) {
            std::int32_t x =
                (k == -d || (k != d && at(k - 1) < at(k + 1))) ? at(k + 1) : at(k - 1) + 1;
            std::int32_t y = x - k;
            while (x < n && y < m &&
                   a[static_cast<std::size_t>(x)] == b[static_cast<std::size_t>(y)])
                ++x, ++y;
            at(k) = x;
            if (x < n || y < m) continue;
            // Walk back from (n, m).
            std::vector<Step> script;
            for (std::int32_t step = d; step > 0; --step) {
                const std::vector<std::int32_t>& before = trace[static_cast<std::size_t>(step)];
                auto was = [&](std::int32_t diagonal) {
                    return before[static_cast<std::size_t>(diagonal + step + 1)];
                };
                std::int32_t diagonal = x - y;
                bool down = diagonal == -step ||
                            (diagonal != step && was(diagonal - 1) < was(diagonal + 1));
                std::int32_t previous = down ? diagonal + 1 : diagonal - 1;
                std::int32_t px = was(previous);
                std::int32_t py = px - previous;
                std::int32_t sx = down ? px : px + 1;
                while (x > sx) {
                    --x, --y;
                    script.push_back({Op::kKeep, x, y});
                }
                script.push_back(down ? Step{Op::kAdd, px, py} : Step{Op::kRemove, px, py});
                x = px;
                y = py;
            }
            while (x > 0) {
                --x, --y;
                script.push_back({Op::kKeep, x, y});
            }
            std::reverse(script.begin(), script.end());
            return script;
        }
    }
    return {};
}

// Past the bound: the common start and end kept, the middle replaced.
std::vector<Step> replacementScript(const std::vector<Line>& a, const std::vector<Line>& b) {
    const auto n = static_cast<std::int32_t>(a.size());
    const auto m = static_cast<std::int32_t>(b.size());
    std::int32_t head = 0;
    while (head < n && head < m &&
           a[static_cast<std::size_t>(head)] == b[static_cast<std::size_t>(head)])
        ++head;
    std::int32_t tail = 0;
    while (tail < n - head && tail < m - head &&
           a[static_cast<std::size_t>(n - 1 - tail)] == b[static_cast<std::size_t>(m - 1 - tail)])
        ++tail;
    std::vector<Step> script;
    for (std::int32_t i = 0; i < head; ++i)
        script.push_back({Op::kKeep, i, i});
    for (std::int32_t i = head; i < n - tail; ++i)
        script.push_back({Op::kRemove, i, head});
    for (std::int32_t j = head; j < m - tail; ++j)
        script.push_back({Op::kAdd, n - tail, j});
    for (std::int32_t i = 0; i < tail; ++i)
        script.push_back({Op::kKeep, n - tail + i, m - tail + i});
    return script;
}

void writeLine(std::string& out, char mark, const Line& line) {
    out += mark;
    out += line.text;
    out += '\n';
    if (!line.ended) out += "\\ No newline at end of file\n";
}

// "@@ -start,count +start,count @@", where an empty side starts before its line.
std::string hunkHeader(std::int32_t beforeStart, std::int32_t beforeCount, std::int32_t afterStart,
                       std::int32_t afterCount) {
    auto side = [](std::int32_t start, std::int32_t count) {
        std::int32_t shown = count == 0 ? start : start + 1;
        return std::to_string(shown) + (count == 1 ? "" : "," + std::to_string(count));
    };
    return "@@ -" + side(beforeStart, beforeCount) + " +" + side(afterStart, afterCount) + " @@\n";
}

}  // namespace

std::string unifiedDiff(std::string_view before, std::string_view after, std::string_view label) {
    std::vector<Line> a = linesOf(before);
    std::vector<Line> b = linesOf(after);
    std::vector<Step> script = shortestScript(a, b);
    if (script.empty() && !(a.empty() && b.empty())) script = replacementScript(a, b);
    std::vector<std::size_t> changes;
    for (std::size_t i = 0; i < script.size(); ++i) {
        if (script[i].op != Op::kKeep) changes.push_back(i);
    }
    if (changes.empty()) return {};
    std::string out = "--- " + std::string(label) + "\n+++ " + std::string(label) + "\n";
    const auto context = static_cast<std::size_t>(kContext);
    for (std::size_t c = 0; c < changes.size();) {
        std::size_t first = changes[c] > context ? changes[c] - context : 0;
        std::size_t last = changes[c];
        // Changes with at most twice the context between them share a hunk.
        while (c + 1 < changes.size() && changes[c + 1] - last <= 2 * context + 1)
            last = changes[++c];
        ++c;
        last = std::min(script.size() - 1, last + context);
        std::int32_t beforeCount = 0;
        std::int32_t afterCount = 0;
        std::string body;
        for (std::size_t i = first; i <= last; ++i) {
            const Step& step = script[i];
            if (step.op != Op::kAdd) ++beforeCount;
            if (step.op != Op::kRemove) ++afterCount;
            if (step.op == Op::kKeep)
                writeLine(body, ' ', a[static_cast<std::size_t>(step.before)]);
            if (step.op == Op::kRemove)
                writeLine(body, '-', a[static_cast<std::size_t>(step.before)]);
            if (step.op == Op::kAdd) writeLine(body, '+', b[static_cast<std::size_t>(step.after)]);
        }
        out += hunkHeader(script[first].before, beforeCount, script[first].after, afterCount);
        out += body;
    }
    return out;
}

}  // namespace qv::cli

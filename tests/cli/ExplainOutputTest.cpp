// How explain writes a tree it was given: the lines of the text, the flat
// JSON with each node's level and the "more" of a node whose list was cut,
// escapes, and texts cut between whole characters.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/ExplainWriter.h"
#include "tests/cli/JsonValidator.h"

namespace qv::cli {
namespace {

using Mark = ExplainNode::Mark;

ExplainNode node(std::int32_t level, std::string name, std::string formula, std::string value,
                 Mark mark = Mark::None, bool unfolded = false) {
    ExplainNode made;
    made.level = level;
    made.cell.name = std::move(name);
    made.cell.formula = std::move(formula);
    made.cell.value = std::move(value);
    made.cell.error =
        made.cell.value.rfind("undefined", 0) == 0 || made.cell.value.rfind("depends", 0) == 0;
    made.mark = mark;
    made.unfolded = unfolded;
    return made;
}

ExplainNode leftOut(std::int32_t level) {
    ExplainNode made;
    made.level = level;
    made.mark = Mark::LeftOut;
    return made;
}

// An error whose origin is two levels down, a cell shown twice, a list cut
// short, and a text with a control character.
ExplainReport sampleReport() {
    ExplainReport report;
    report.expression = "T[1].c*2";
    report.causeKind = Cause::Kind::Origin;
    report.causeText = "caused by T[1].a: undefined: x";
    ExplainNode root = node(0, "", "T[1].c*2", "depends on cell that contain error");
    root.cell.named = false;
    root.unfolded = true;
    report.causeCells.push_back(node(0, "T[1].a", "x+1", "undefined: x").cell);
    report.nodes = {
        root,
        node(1, "T[1].c", "a+b", "depends on cell that contain error", Mark::None, true),
        node(2, "T[1].a", "x+1", "undefined: x", Mark::Origin, true),
        node(2, "T[1].b", "", "tab\there"),
        node(1, "T[1].a", "x+1", "undefined: x", Mark::SeeAbove),
        leftOut(1),
    };
    report.complete = false;
    return report;
}

std::string written(void (*write)(const ExplainReport&, std::FILE*), const ExplainReport& report) {
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = ::open_memstream(&buffer, &size);
    write(report, out);
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

TEST(ExplainOutputTest, TextShowsOneLinePerNodeIndentedByLevel) {
    EXPECT_EQ(written(writeExplainText, sampleReport()),
              "T[1].c*2 => depends on cell that contain error\n"
              "caused by T[1].a: undefined: x\n"
              "  T[1].c := a+b => depends on cell that contain error\n"
              "    T[1].a := x+1 => undefined: x  <- origin\n"
              "    T[1].b => tab\\there\n"
              "  T[1].a (see above)\n"
              "  ...\n");
}

TEST(ExplainOutputTest, JsonListsTheNodesFlatWithTheirLevels) {
    std::string json = written(writeExplainJson, sampleReport());
    EXPECT_TRUE(test::JsonValidator::isValid(json)) << json;
    EXPECT_EQ(json,
              "{\"expression\":\"T[1].c*2\","
              "\"cause\":{\"kind\":\"origin\",\"text\":\"caused by T[1].a: undefined: x\","
              "\"cells\":[{\"name\":\"T[1].a\",\"formula\":\"x+1\",\"value\":\"undefined: "
              "x\",\"error\":true}]},"
              "\"tree\":["
              "{\"level\":0,\"name\":null,\"formula\":\"T[1].c*2\",\"value\":\"depends on cell "
              "that contain error\",\"error\":true,\"mark\":null,\"unfolded\":true,\"more\":true},"
              "{\"level\":1,\"name\":\"T[1].c\",\"formula\":\"a+b\",\"value\":\"depends on cell "
              "that contain error\",\"error\":true,\"mark\":null,\"unfolded\":true,\"more\":false},"
              "{\"level\":2,\"name\":\"T[1].a\",\"formula\":\"x+1\",\"value\":\"undefined: "
              "x\",\"error\":true,\"mark\":\"origin\",\"unfolded\":true,\"more\":false},"
              "{\"level\":2,\"name\":\"T[1].b\",\"formula\":null,\"value\":\"tab\\there\","
              "\"error\":false,\"mark\":null,\"unfolded\":false,\"more\":false},"
              "{\"level\":1,\"name\":\"T[1].a\",\"formula\":\"x+1\",\"value\":\"undefined: "
              "x\",\"error\":true,\"mark\":\"see above\",\"unfolded\":false,\"more\":false}],"
              "\"complete\":false}\n");
}

TEST(ExplainOutputTest, TextsAreCutBetweenWholeCharacters) {
    struct Row {
        std::string text;
        std::size_t maxBytes;
        std::string cut;
    } rows[] = {
        {"short", 5, "short"},
        {"longer", 5, "longe..."},
        {"", 0, ""},
        {"x", 0, "..."},
        {"a\u00e9b", 2, "a..."},  // not inside the two bytes of é
        {"\u00e9\u00e9", 3, "\u00e9..."},
        {"\U0001F600!", 3, "..."},
        {"\U0001F600!", 4, "\U0001F600..."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(cutText(row.text, row.maxBytes), row.cut);
    }
}

}  // namespace
}  // namespace qv::cli

// Frame positions at the ends of the integer range: the reader moves them
// to the farthest a frame may stand, says so with the place of each, and
// writes back what it kept; positions within the range are kept as they
// are and raise nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FileParser.h"
#include "app/HeadlessViewFactory.h"
#include "tests/app/AppTestSupport.h"

namespace qv {
namespace {

using test::readDocument;

struct LimitCase {
    const char* input;
    std::int32_t x;
    std::int32_t y;
    std::vector<std::string> warnings;  // "LINE:COL message"
};

std::vector<std::string> warningsOf(const Document& document) {
    std::vector<std::string> found;
    for (const SourceError& warning : document.warnings()) {
        found.push_back(std::to_string(warning.line()) + ":" + std::to_string(warning.column()) +
                        " " + warning.message()->toStdString());
    }
    return found;
}

TEST(PositionLimitTest, FarPositionsAreMovedToTheLimitWithAWarningAtTheirPlace) {
    const std::string moved = "position out of range, moved to 1000000";
    const std::vector<LimitCase> cases = {
        {"optimized(0,0) text(\"x\");", 0, 0, {}},
        {"optimized(999999,1000000) text(\"x\");", 999999, 1000000, {}},
        {"optimized(1000001,5) text(\"x\");", 1000000, 5, {"1:11 " + moved}},
        {"optimized(2147483647,0) text(\"x\");", 1000000, 0, {"1:11 " + moved}},
        {"floating(12, 2147483647) text(\"x\");", 12, 1000000, {"1:14 " + moved}},
        {"optimized(1e300,\n  99999999999) text(\"x\");",
         1000000,
         1000000,
         {"1:11 " + moved, "2:3 " + moved}},
    };
    for (const LimitCase& row : cases) {
        SCOPED_TRACE(row.input);
        Pointer<Document> document = readDocument(row.input);
        ASSERT_EQ(document->layout()->frameCount(), 1);
        EXPECT_EQ(document->layout()->frame(0)->x(), row.x);
        EXPECT_EQ(document->layout()->frame(0)->y(), row.y);
        EXPECT_EQ(warningsOf(*document), row.warnings);
        // What is written reads back the same, with nothing more to say.
        std::string written = document->toSource()->toStdString();
        Pointer<Document> again = Document::read(str(written));
        EXPECT_TRUE(again->warnings().empty());
        EXPECT_EQ(again->toSource()->toStdString(), written);
    }
}

// Positions inside layout tables are not written, and frames at the limit
// in a layout that also nests tables to the deepest allowed read as well.
TEST(PositionLimitTest, TheDeepestNestingAtTheFarthestCornerReadsAndWritesBack) {
    std::string text = "optimized(2147483647,2147483647) ";
    for (std::int32_t level = 0; level < FileParser::kMaxLayoutNesting; ++level)
        text += "ltable{lrow{";
    text += "text(\"x\");";
    for (std::int32_t level = 0; level < FileParser::kMaxLayoutNesting; ++level)
        text += "}}";
    Pointer<Document> document = readDocument(text);
    EXPECT_EQ(document->warnings().size(), 2u);
    std::string written = document->toSource()->toStdString();
    EXPECT_EQ(written.rfind("optimized(1000000,1000000) ltable{", 0), 0u) << written.substr(0, 80);
    EXPECT_EQ(Document::read(str(written))->toSource()->toStdString(), written);
}

// A failed reading keeps no warnings of its own from before the error.
TEST(PositionLimitTest, AFailedReadingReportsTheErrorAlone) {
    auto parser = make<FileParser>(make<HeadlessViewFactory>());
    EXPECT_THROW(parser->parse(str("optimized(2147483647,0) text(\"x\"); nonsense")), SourceError);
    EXPECT_TRUE(parser->warnings().empty());
    parser->parse(str("optimized(2147483647,0) text(\"x\");"));
    EXPECT_EQ(parser->warnings().size(), 1u);
    parser->parse(str("optimized(1,0) text(\"x\");"));
    EXPECT_TRUE(parser->warnings().empty());
}

}  // namespace
}  // namespace qv

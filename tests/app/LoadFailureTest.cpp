// Reading a document or saying why not: the reader's message with its place,
// as the window, the tool and the chart command word it.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <optional>
#include <string>

#include "app/LoadFailure.h"

namespace qv {
namespace {

TEST(LoadFailure, ThePlaceFollowsTheMessageWhenItIsKnown) {
    LoadFailure unplaced{"table not found", std::nullopt};
    LoadFailure placed{"expecting )", TextPlace{12, 7}};
    EXPECT_EQ(loadNoticeOf(unplaced),
              "Can not load the file because it contain the following error:\n\ntable not found");
    EXPECT_EQ(loadNoticeOf(placed),
              "Can not load the file because it contain the following error:\n\nexpecting )"
              "\n\n(line 12, column 7)");
    EXPECT_EQ(placed.describeOnOneLine(), "expecting ) (line 12, column 7)");
    EXPECT_EQ(unplaced.describeOnOneLine(), "table not found");

    auto thrown = attemptReading([] { throw PlacedMessage(str("invalid char"), {2, 3}); });
    ASSERT_TRUE(thrown.has_value());
    EXPECT_EQ(thrown->message, "invalid char");
    EXPECT_EQ(thrown->place, (TextPlace{2, 3}));
    EXPECT_FALSE(attemptReading([] {}).has_value());
}

TEST(LoadFailure, ToolsNameTheFileAndThePlace) {
    struct Case {
        const char* name;
        std::function<Pointer<Document>()> read;
        std::string why;  // empty: read
    };
    const Case cases[] = {
        {"placed",
         []() -> Pointer<Document> {
             throw PlacedMessage(str("expecting )"), {12, 7});
         },
         "m.qvl:12:7: expecting )"},
        {"unplaced", []() -> Pointer<Document> { throw str("can not open m.qvl"); },
         "m.qvl: can not open m.qvl"},
        {"out of memory", []() -> Pointer<Document> { throw std::bad_alloc(); },
         "m.qvl: out of memory"},
        {"read", [] { return Document::read(str("table T{ a:=1! }")); }, ""},
        {"reader's own message", [] { return Document::read(str("table T{ a:=1! } maximized x")); },
         "m.qvl:1:28: unexpeted token"},
    };
    for (const Case& c : cases) {
        std::string why;
        Pointer<Document> document = readDocumentOrSay("m.qvl", c.read, why);
        EXPECT_EQ(why, c.why) << c.name;
        EXPECT_EQ(document.isNull(), !c.why.empty()) << c.name;
    }
}

TEST(LoadFailure, ToolsNameTheTableThatIsNotThere) {
    Pointer<Document> document = Document::read(str("table T{ a:=1! }"));
    std::string why;
    EXPECT_FALSE(findTableOrSay(*document->kernel(), "m.qvl", "T", why).isNull());
    EXPECT_EQ(why, "");
    EXPECT_TRUE(findTableOrSay(*document->kernel(), "m.qvl", "U", why).isNull());
    EXPECT_EQ(why, "m.qvl: U: table not found");
}

}  // namespace
}  // namespace qv

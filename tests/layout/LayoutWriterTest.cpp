// The one writer of layout text: placement prefixes, a frame with the notes
// kept around it, and layout tables, nested ones included.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "core/Pointer.h"
#include "layout/LayoutWriter.h"

namespace qv {
namespace {

TEST(LayoutWriter, PrefixesNameThePlacementAndItsCorner) {
    const struct {
        FramePlacement placement;
        std::int32_t x, y;
        const char* prefix;
    } cases[] = {
        {FramePlacement::Maximized, 30, 40, "maximized "},
        {FramePlacement::Optimized, 10, 20, "optimized(10,20) "},
        {FramePlacement::Floating, 10, 20, "floating(10,20) "},
        {FramePlacement::Optimized, -5, 7, "optimized(0,7) "},  // below 0 written as 0
        {FramePlacement::Floating, 3, -9, "floating(3,0) "},
        {FramePlacement::InTable, 10, 20, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(placementPrefix(c.placement, c.x, c.y), c.prefix) << c.prefix;
        std::string_view word = placementKeyword(c.placement);
        EXPECT_EQ(std::string(c.prefix).rfind(word, 0), 0u) << c.prefix;
    }
}

// Notes as a document reader keeps them: lines before, and a comment at the
// end of the directive's line.
class TestNotes final : public FrameNotes {
    QV_OBJECT(TestNotes, FrameNotes, "TestNotes")
  public:
    void writeBefore(std::string& out, std::int32_t indent) const override {
        out += "// before\n";
        appendIndent(out, indent);
    }
    void writeAtLineEnd(std::string& out) const override { out += " // after"; }
};

TEST(LayoutWriter, AFrameWritesItsNotesAroundPrefixAndDirective) {
    auto notes = make<TestNotes>();
    const DirectiveWriter twoLines = [](std::string& out, std::int32_t indent) {
        out += "view{\n";
        appendIndent(out, indent);
        out += "}\n";
    };
    const struct {
        Pointer<FrameNotes> notes;
        std::int32_t indent;
        const char* text;
    } cases[] = {
        {Pointer<FrameNotes>(), 0, "maximized view{\n}\n"},
        {notes, 0, "// before\nmaximized view{\n} // after\n"},
        {notes, 4, "// before\n    maximized view{\n    } // after\n"},
    };
    for (const auto& c : cases) {
        std::string out;
        writeFrame(out, c.indent, "maximized ", c.notes, twoLines);
        EXPECT_EQ(out, c.text);
    }
}

TEST(LayoutWriter, ATableWritesEveryPlaceOfItsGrid) {
    const std::map<std::pair<std::int32_t, std::int32_t>, const char*> cells = {{{0, 1}, "b();\n"},
                                                                                {{1, 0}, "c();\n"}};
    std::string asked;
    std::string out;
    writeLayoutTable(out, 0, 2, 2,
                     [&](std::string& text, std::int32_t row, std::int32_t column, std::int32_t) {
                         asked += std::to_string(row) + std::to_string(column) + " ";
                         auto found = cells.find({row, column});
                         if (found == cells.end()) return false;
                         text += found->second;
                         return true;
                     });
    EXPECT_EQ(asked, "00 01 10 11 ");
    EXPECT_EQ(out,
              "ltable{\n"
              "    lrow{\n"
              "        ;\n"
              "        b();\n"
              "    }\n"
              "    lrow{\n"
              "        c();\n"
              "        ;\n"
              "    }\n"
              "}\n");
}

TEST(LayoutWriter, NestedTablesIndentEachLevelByFourBlanks) {
    std::string out;
    writeLayoutTable(
        out, 0, 1, 1, [](std::string& text, std::int32_t, std::int32_t, std::int32_t indent) {
            writeLayoutTable(
                text, indent, 1, 1,
                [](std::string&, std::int32_t, std::int32_t, std::int32_t) { return false; });
            return true;
        });
    EXPECT_EQ(out,
              "ltable{\n"
              "    lrow{\n"
              "        ltable{\n"
              "            lrow{\n"
              "                ;\n"
              "            }\n"
              "        }\n"
              "    }\n"
              "}\n");
}

}  // namespace
}  // namespace qv

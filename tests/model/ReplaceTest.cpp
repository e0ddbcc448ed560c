// Replace and replace all of find and replace: in formulas (row overrides
// and summary formulas too) and text areas only, each one undoable step
// that undo takes back byte for byte; a formula that no longer parses keeps
// its text; a whole word that names something is told apart for rename.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/CommandManager.h"
#include "editing/TextEditable.h"
#include "kernel/FindReplace.h"
#include "model/ModelEditor.h"
#include "tests/kernel/ModelTestSupport.h"
#include "tests/model/UndoRoundTrip.h"

namespace qv {
namespace {

using test::cell;
using test::loadModel;
using test::programText;

constexpr const char* kModel =
    "table Fruit{ item~name:=\"\"! net:=0! gross:=net  *  1.25! note:=\"\"! "
    "<sum>:={gross:=sum(gross)*1.25} "
    "<1>:={apple, 10, note:=\"1.25 each\"} <2>:={pear, 12.5} } "
    "table Basket extends Fruit{ count:=row*3! }";

// Applies planned texts as the desktop does: one step of the model editor.
void apply(Kernel& kernel, CommandManager& commands, const std::vector<PlannedText>& planned,
           const std::vector<Pointer<TextEditable>>& areas) {
    std::vector<ModelEditor::FormulaText> formulas;
    std::vector<ModelEditor::AreaText> texts;
    for (const PlannedText& entry : planned) {
        if (entry.place.kind == FindKind::TextArea) {
            texts.push_back({areas[static_cast<std::size_t>(entry.place.textArea)], entry.text});
        } else {
            formulas.push_back(
                {entry.place.table, entry.place.definition, entry.place.row, str(entry.text)});
        }
    }
    ModelEditor(kernel.program(), &commands).replaceTexts(formulas, texts);
}

std::vector<std::string> textsOf(const std::vector<Pointer<TextEditable>>& areas) {
    std::vector<std::string> texts;
    for (const auto& area : areas)
        texts.emplace_back(area->text());
    return texts;
}

TEST(Replace, AllInFormulasAndTextAreasIsOneStepThatUndoTakesBack) {
    const struct {
        const char* query;
        FindOptions options;
        const char* replacement;
        std::vector<std::string> changed;  // what the program text holds after
        std::vector<std::string> areasAfter;
        const char* gross1;  // Fruit[1].gross after
    } rows[] = {
        {"1.25",
         {},
         "1.5",
         {"gross:=net  *  1.5!", "sum(gross)*1.5", "\"1.5 each\""},
         {"at 1.5 a kilo", "none"},
         "15"},
        {"\\d+\\.\\d+",
         {false, false, true},
         "2",
         {"net  *  2!", "sum(gross)*2", "\"2 each\""},
         {"at 2 a kilo", "none"},
         "20"},
        // The replacement breaks the formulas: they are kept as typed.
        {"*",
         {},
         "**",
         {"gross:=#net  **  1.25#!", "count:=#row**3#!"},
         {"at 1.25 a kilo", "none"},
         "Invalid formula"},
        {"kilo", {}, "pound", {"gross:=net  *  1.25!"}, {"at 1.25 a pound", "none"}, "12.5"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.query);
        Pointer<Kernel> kernel = loadModel(kModel);
        std::vector<Pointer<TextEditable>> areas = {make<TextEditable>("at 1.25 a kilo"),
                                                    make<TextEditable>("none")};
        CommandManager commands;
        const std::string before = programText(*kernel);
        const std::vector<std::string> areasBefore = textsOf(areas);
        TextMatcher matcher(row.query, row.options);
        apply(*kernel, commands,
              planReplaceAll(*kernel, textsOf(areas), matcher, {}, row.replacement), areas);
        const std::string after = programText(*kernel);
        for (const std::string& part : row.changed)
            EXPECT_NE(after.find(part), std::string::npos) << after;
        EXPECT_EQ(textsOf(areas), row.areasAfter);
        EXPECT_EQ(cell(*kernel, "Fruit", "gross", 1).substr(0, 15),
                  std::string(row.gross1).substr(0, 15));
        EXPECT_EQ(commands.undoCount(), 1);
        for (int round = 0; round < 2; ++round) {
            commands.undo();
            EXPECT_EQ(programText(*kernel), before);
            EXPECT_EQ(textsOf(areas), areasBefore);
            EXPECT_EQ(cell(*kernel, "Fruit", "gross", 1), "12.5");
            commands.redo();
            EXPECT_EQ(programText(*kernel), after);
        }
    }
}

// Replace: the current match only, and only while its text still holds it.
TEST(Replace, OneMatchWhileItIsStillThere) {
    Pointer<Kernel> kernel = loadModel(kModel);
    std::vector<std::string> areas = {"1.25 and 1.25"};
    TextMatcher matcher("1.25", {});
    FindSearch search(*kernel, matcher, {}, kAllFindKinds, areas);
    search.run();
    std::vector<std::string> planned;
    for (const FindHit& hit : search.hits()) {
        std::optional<PlannedText> one = planReplace(*kernel, areas, matcher, hit, "X");
        planned.push_back(search.placeName(hit.place) + " " + findKindName(hit.place.kind) + ": " +
                          (one ? one->text : "-"));
    }
    EXPECT_EQ(planned, (std::vector<std::string>{
                           "Fruit.gross formula: net  *  X",
                           "Fruit[sum].gross formula: sum(gross)*X",
                           "Fruit[1].note formula: \"X each\"",
                           "Fruit[1].note value: -",
                           "Text area 1 text area: X and 1.25",
                           "Text area 1 text area: 1.25 and X",
                       }));
    // Once the text changed, the match is no longer where it was.
    FindHit first = search.hits().front();
    first.span = {first.span.start + 1, first.span.end + 1};
    EXPECT_FALSE(planReplace(*kernel, areas, matcher, first, "X"));
}

TEST(Replace, AWholeWordThatNamesSomethingIsForRename) {
    Pointer<Kernel> kernel = loadModel(kModel);
    const FindOptions word{false, true, false};
    const struct {
        const char* query;
        FindOptions options;
        std::optional<NamedPlace> named;
    } rows[] = {
        {"Fruit", word, NamedPlace{FindKind::TableName, 0}},
        {"gross", word, NamedPlace{FindKind::FieldName, 0, 2}},
        {"count", word, NamedPlace{FindKind::FieldName, 1, 4}},
        {"pear", word, NamedPlace{FindKind::RowName, 0, -1, 2}},
        {"gross", {}, std::nullopt},                   // not a whole word
        {"gross", {false, true, true}, std::nullopt},  // a pattern
        {"gross*", word, std::nullopt},                // not one identifier
        {"nothing", word, std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(nameForRename(*kernel, TextMatcher(row.query, row.options)), row.named)
            << row.query;
    }
}

}  // namespace
}  // namespace qv

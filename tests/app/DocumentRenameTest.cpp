// Renames over whole documents: the views of the layout that name the
// target, and a property over the examples and generated workloads —
// renaming a random field or table to a fresh name keeps every value, is a
// fixed point of the writer, and renaming back gives the text byte for byte.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/DocumentFile.h"
#include "app/DocumentRename.h"
#include "bench/Workloads.h"
#include "tests/app/AppTestSupport.h"
#include "tests/kernel/ModelTestSupport.h"
#include "tests/kernel/RenameTestSupport.h"

namespace qv {
namespace {

struct ViewRow {
    const char* what;
    const char* document;
    const char* old;
    const char* newName;
    const char* expected;
    const char* summary;
};

class ViewRenames : public ::testing::TestWithParam<ViewRow> {};

TEST_P(ViewRenames, RewriteTheDirectivesThatNameTheTarget) {
    const ViewRow& row = GetParam();
    Pointer<Document> document = test::readDocument(row.document);
    std::string before = document->toSource()->toStdString();
    DocumentRename rename = planDocumentRename(*document, row.old, row.newName);
    ASSERT_FALSE(rename.refused()) << rename.plan.refusal->toStdString();
    EXPECT_EQ(rename.summary(), row.summary);
    applyDocumentRename(*document, rename);
    EXPECT_EQ(document->toSource()->toStdString(), row.expected);
    revertDocumentRename(*document, rename);
    EXPECT_EQ(document->toSource()->toStdString(), before);
}

const ViewRow kViewRows[] = {
    {"result and project expressions",
     "table T{\n    a:=1!\n}\nmaximized result(T.a*2);\noptimized(1,2) project(T);\n//--end", "T",
     "U", "table U{\n    a:=1!\n}\nmaximized result(U.a*2);\noptimized(1,2) project(U);\n//--end",
     "2 views"},
    {"a field in a result view",
     "table T{\n    a:=1!\n}\nmaximized result(T.a*2);\noptimized(1,2) project(T);\n//--end", "T.a",
     "b", "table T{\n    b:=1!\n}\nmaximized result(T.b*2);\noptimized(1,2) project(T);\n//--end",
     "1 view"},
    {"a chart, also inside a layout table",
     "table T{\n    a:=1!\n}\nmaximized chart(T);\noptimized(0,0) ltable{\n    lrow{\n        "
     "chart(T);\n        result(T[1]);\n    }\n}\n//--end",
     "T", "Sales 2024",
     "table [Sales 2024]{\n    a:=1!\n}\nmaximized chart([Sales 2024]);\noptimized(0,0) ltable{\n "
     "   lrow{\n        chart([Sales 2024]);\n        result([Sales 2024][1]);\n    }\n}\n//--end",
     "3 views"},
    {"views naming namesakes stay",
     "table T{\n    a:=1!\n}\ntable S{\n    a:=2!\n}\nmaximized result(S.a+T.a);\n//--end", "S.a",
     "b", "table T{\n    a:=1!\n}\ntable S{\n    b:=2!\n}\nmaximized result(S.b+T.a);\n//--end",
     "1 view"},
};

INSTANTIATE_TEST_SUITE_P(App, ViewRenames, ::testing::ValuesIn(kViewRows),
                         [](const auto& info) { return "row" + std::to_string(info.index); });

TEST(DocumentRename, ReferencesIncludeTheViews) {
    Pointer<Document> document = test::readDocument(
        "table T{\n    a:=1!\n    b:=a!\n}\nmaximized result(T.a);\nmaximized chart(T);\n//--end");
    std::vector<std::string> found;
    for (const DocumentReference& each : findDocumentReferences(*document, "T"))
        found.push_back(each.view.empty()
                            ? placeLabel(*document->kernel()->program(), each.reference.place)
                            : each.view);
    EXPECT_EQ(found, (std::vector<std::string>{"T", "result(T.a)", "chart(T)"}));
}

struct PropertyDocument {
    std::string name;
    std::string text;
    int rounds;  // renames of a field, and of a table, tried on it
};

// The documents of the property: the examples and the generated workloads;
// the two large workloads once each, for the time they take to compute.
std::vector<PropertyDocument> propertyDocuments() {
    std::vector<PropertyDocument> documents;
    for (const std::string& path : test::exampleFiles())
        documents.push_back({path, readDocumentFile(path)->toStdString(), 2});
    documents.push_back({"W1", bench::workloadArithmetic(40), 2});
    documents.push_back({"W2", bench::workloadRunningTotal(40), 2});
    documents.push_back({"W3", bench::workloadAggregates(40), 2});
    documents.push_back({"W4", bench::workloadInheritance(), 1});
    documents.push_back({"W5", bench::workloadWhatIf(), 1});
    return documents;
}

// A named field of an ordinary kind (no marker, no function, no duplicate),
// or a table, chosen at random; empty when there is none.
std::string randomTarget(Kernel& kernel, std::mt19937& random, bool table) {
    const ResolvedProgram& linked = *kernel.getLinked();
    std::vector<std::string> targets;
    for (std::int32_t t = 0; t < linked.tableCount(); ++t) {
        const Pointer<ResolvedTable>& resolved = linked.table(t);
        if (resolved.isNull() || !resolved->warning().isNull()) continue;
        std::string name = formulaName(resolved->definition()->tableName()->view());
        if (table) {
            targets.push_back(name);
            continue;
        }
        for (std::int32_t f = 0; f < resolved->fieldCount(); ++f) {
            std::string field = resolved->field(f)->definition()->nameText()->toStdString();
            if (field.empty() || field.find('~') != std::string::npos ||
                field.find('(') != std::string::npos || !resolved->field(f)->warning().isNull())
                continue;
            targets.push_back(name + "." + formulaName(field));
        }
    }
    if (targets.empty()) return {};
    return targets[std::uniform_int_distribution<std::size_t>(0, targets.size() - 1)(random)];
}

TEST(DocumentRename, RandomRenamesKeepValuesAndRenameBackExactly) {
    std::mt19937 random(18);
    for (const auto& [name, text, rounds] : propertyDocuments()) {
        for (bool table : {false, true}) {
            for (int round = 0; round < rounds; ++round) {
                SCOPED_TRACE(name + (table ? " table" : " field") + " round " +
                             std::to_string(round));
                Pointer<Document> document = test::readDocument(text);
                std::string original = document->toSource()->toStdString();
                std::vector<std::string> values = test::allValues(*document->kernel());
                std::string old = randomTarget(*document->kernel(), random, table);
                if (old.empty()) continue;
                std::string fresh = "renamed_" + std::to_string(round) + "x";
                ASSERT_EQ(original.find(fresh), std::string::npos);
                DocumentRename rename = planDocumentRename(*document, old, fresh);
                ASSERT_FALSE(rename.refused()) << old << ": " << rename.plan.refusal->toStdString();
                applyDocumentRename(*document, rename);
                std::string renamed = document->toSource()->toStdString();
                EXPECT_EQ(test::allValues(*document->kernel()), values) << old;

                // Written and read again, it is the same document.
                Pointer<Document> reread = test::readDocument(renamed);
                EXPECT_EQ(reread->toSource()->toStdString(), renamed);
                EXPECT_EQ(test::allValues(*reread->kernel()), values);

                DocumentRename back =
                    planDocumentRename(*document, test::renamedLabel(rename.plan.target, fresh),
                                       rename.plan.target.current);
                ASSERT_FALSE(back.refused()) << back.plan.refusal->toStdString();
                applyDocumentRename(*document, back);
                EXPECT_EQ(document->toSource()->toStdString(), original) << old;

                revertDocumentRename(*document, back);
                revertDocumentRename(*document, rename);
                EXPECT_EQ(document->toSource()->toStdString(), original);
            }
        }
    }
}

}  // namespace
}  // namespace qv

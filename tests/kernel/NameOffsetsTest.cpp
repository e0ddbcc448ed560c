// Name nodes keep where their name starts in the formula's text: typed
// formulas, formulas read from a document (whose text starts at their first
// token), hash text and bracketed names. Each row lists the names of a
// formula in the order of the tree with their offsets; every offset must
// also point at the name in the text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/NameSplice.h"
#include "language/ExpressionParser.h"
#include "language/OperatorExpressions.h"
#include "language/SourceExpressions.h"
#include "language/TableExpressions.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

void namesOf(const ExpressionPointer& node,
             std::vector<std::pair<std::string, std::int32_t>>& out) {
    if (node.isNull()) return;
    auto add = [&out](const StringPointer& name, std::int32_t at) {
        out.emplace_back(name->toStdString(), at);
    };
    if (is<ExpressionSource>(node)) return namesOf(cast<ExpressionSource>(node)->expression(), out);
    if (auto id = cast<IdentifierExpression>(node); !id.isNull()) return add(id->name(), id->at());
    if (auto call = cast<FuncExpression>(node); !call.isNull()) {
        add(call->name(), call->at());
        for (const auto& argument : *call->arguments())
            namesOf(argument, out);
        return;
    }
    if (auto cell = cast<AtExpression>(node); !cell.isNull()) {
        add(cell->rowName(), cell->rowAt());
        return add(cell->fieldName(), cell->fieldAt());
    }
    if (auto select = cast<SelectExpression>(node); !select.isNull()) {
        add(select->tableName(), select->tableAt());
        return namesOf(select->condition(), out);
    }
    if (auto assign = cast<AssignExpression>(node); !assign.isNull()) {
        namesOf(assign->target(), out);
        return namesOf(assign->value(), out);
    }
    if (auto binary = cast<BinaryExpression>(node); !binary.isNull()) {
        namesOf(binary->left(), out);
        return namesOf(binary->right(), out);
    }
    if (auto dot = cast<DotOperatorExpression>(node); !dot.isNull()) {
        namesOf(dot->left(), out);
        return namesOf(dot->right(), out);
    }
    if (auto index = cast<IndexOperatorExpression>(node); !index.isNull()) {
        namesOf(index->target(), out);
        return namesOf(index->index(), out);
    }
    if (auto unary = cast<UnaryExpression>(node); !unary.isNull())
        return namesOf(unary->operand(), out);
    if (auto conditional = cast<IfExpression>(node); !conditional.isNull()) {
        namesOf(conditional->condition(), out);
        namesOf(conditional->thenPart(), out);
        return namesOf(conditional->elsePart(), out);
    }
    if (auto alt = cast<AltExpression>(node); !alt.isNull()) {
        for (const auto& alternative : *alt->alternatives())
            namesOf(alternative, out);
    }
}

std::string listed(const ExpressionPointer& formula) {
    std::vector<std::pair<std::string, std::int32_t>> names;
    namesOf(formula, names);
    std::string text = formulaText(formula)->toStdString();
    std::string list;
    for (const auto& [name, at] : names) {
        list += (list.empty() ? "" : " ") + name + "@" + std::to_string(at);
        EXPECT_TRUE(nameReadsAt(text, at, name)) << name << " at " << at << " in " << text;
    }
    return list;
}

struct OffsetRow {
    const char* formula;
    const char* names;
};

const OffsetRow kOffsetRows[] = {
    {"a+b", "a@0 b@2"},
    {"  a  *  [unit price]", "a@2 unit price@8"},
    {"f(x, T(r := 2).y)", "f@0 x@2 T@5 r@7 y@15"},
    {"Paris@population/2", "Paris@0 population@6"},
    {"select * from [My T] where p > q", "My T@14 p@27 q@31"},
    {"if a then b else c alt d", "a@3 b@10 c@17 d@23"},
    {"/* c */ x . y", "x@8 y@12"},
};

TEST(NameOffsets, TypedFormulasKeepWhereEachNameStarts) {
    for (const OffsetRow& row : kOffsetRows) {
        SCOPED_TRACE(row.formula);
        EXPECT_EQ(listed(make<ExpressionParser>()->parseFormula(str(row.formula))), row.names);
    }
}

// In a document the offsets count from the formula's first token, in
// row blocks and in hash text alike.
TEST(NameOffsets, DocumentFormulasCountFromTheirFirstToken) {
    Pointer<Kernel> kernel = test::loadModel(
        "table T{\n  a := 1!\n  b :=   a * /* c */ [a]!\n  c := #a+b#!\n  <2>:={ b := a@b , }\n}");
    const Pointer<TableDef>& table = kernel->program()->table(0);
    EXPECT_EQ(listed(table->field(1)->formula(0)), "a@0 a@12");
    EXPECT_EQ(listed(table->field(2)->formula(0)), "a@0 b@2");
    EXPECT_EQ(listed(table->field(1)->formula(2)), "a@0 b@2");
}

}  // namespace
}  // namespace qv

// The registry: what the main package registers and in which order, the key
// of a function (name and arity, case-sensitive) and replacement of an equal
// key. Which function a formula links to is tested through the linking.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "FunctionTestSupport.h"
#include "core/Hashtable.h"
#include "functions/MainPackage.h"

namespace qv {
namespace {

using test::store;

struct Registered {
    const char* name;
    std::int32_t arity;
    const char* className;
    bool perRow;  // row dependent for scalars, per-row result for aggregates
};

const Registered kScalars[] = {
    {"repeat", 1, "Func_repeat", true}, {"srand", 1, "Func_srand", false},
    {"pi", -1, "Func_pi", false},       {"e", -1, "Func_e", false},
    {"sin", 1, "Func_sin", false},      {"abs", 1, "Func_abs", false},
    {"acos", 1, "Func_acos", false},    {"asin", 1, "Func_asin", false},
    {"atan", 1, "Func_atan", false},    {"atan2", 2, "Func_atan2", false},
    {"cos", 1, "Func_cos", false},      {"exp", 1, "Func_exp", false},
    {"ln", 1, "Func_ln", false},        {"log", 2, "Func_log", false},
    {"log10", 1, "Func_log10", false},  {"power", 2, "Func_power", false},
    {"sign", 1, "Func_sign", false},    {"sqrt", 1, "Func_sqrt", false},
    {"tan", 1, "Func_tan", false},      {"false", -1, "Func_false", false},
    {"true", -1, "Func_true", false},   {"prev", 0, "Func_prev", true},
    {"next", 0, "Func_next", true},     {"row", 0, "Func_row", true},
    {"col", 0, "Func_col", false},      {"min", 2, "Func_min", false},
    {"max", 2, "Func_max", false},      {"warning", 1, "Func_warning", false},
};

const Registered kAggregates[] = {
    {"concat", 1, "SumFunc_concat", false},    {"sum", 1, "SumFunc_sum", false},
    {"_or", 1, "SumFunc__or", false},          {"_and", 1, "SumFunc__and", false},
    {"min", 1, "SumFunc_min", false},          {"max", 1, "SumFunc_max", false},
    {"avg", 1, "AvgSumFunction", false},       {"wavg", 2, "WavgSumFunction", false},
    {"sort", 1, "SortSumFunction", true},      {"plot", 2, "PlotSumFunction", false},
    {"mavg", 2, "MovingAvgSumFunction", true}, {"collect", 1, "CollectSumFunction", false},
};

TEST(MainPackage, RegistersEveryScalarFunctionInOrder) {
    auto package = make<MainPackage>();
    EXPECT_STREQ(package->packageName(), "main");
    const auto& scalars = *package->scalars();
    ASSERT_EQ(scalars.size(), static_cast<std::int32_t>(std::size(kScalars)));
    for (std::int32_t i = 0; i < scalars.size(); ++i) {
        const Registered& expected = kScalars[i];
        SCOPED_TRACE(expected.name);
        EXPECT_STREQ(scalars[i]->name(), expected.name);
        EXPECT_EQ(scalars[i]->arity(), expected.arity);
        EXPECT_STREQ(scalars[i]->getClassName(), expected.className);
        EXPECT_EQ(scalars[i]->isRowDependent(), expected.perRow);
        // The registry hands out the same shared object for the key.
        EXPECT_EQ(store().findFunction(expected.name, expected.arity)->getClassName(),
                  std::string(expected.className));
    }
}

TEST(MainPackage, RegistersEveryAggregateInOrder) {
    auto package = make<MainPackage>();
    const auto& aggregates = *package->aggregates();
    ASSERT_EQ(aggregates.size(), static_cast<std::int32_t>(std::size(kAggregates)));
    for (std::int32_t i = 0; i < aggregates.size(); ++i) {
        const Registered& expected = kAggregates[i];
        SCOPED_TRACE(expected.name);
        EXPECT_STREQ(aggregates[i]->name(), expected.name);
        EXPECT_EQ(aggregates[i]->arity(), expected.arity);
        EXPECT_STREQ(aggregates[i]->getClassName(), expected.className);
        EXPECT_EQ(aggregates[i]->isPerRow(), expected.perRow);
        EXPECT_EQ(store().findAggregate(expected.name, expected.arity)->getClassName(),
                  std::string(expected.className));
    }
}

TEST(FuncStore, FunctionNameEqualityAndHash) {
    struct Row {
        const char* name1;
        std::int32_t arity1;
        const char* name2;
        std::int32_t arity2;
        bool equal;
    };
    const Row rows[] = {
        {"sin", 1, "sin", 1, true}, {"sin", 1, "sin", 2, false}, {"sin", 1, "Sin", 1, false},
        {"pi", -1, "pi", 0, false}, {"", 0, "", 0, true},        {"max", 2, "max2", 2, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name1) + "/" + row.name2);
        auto a = make<FunctionName>(str(row.name1), row.arity1);
        auto b = make<FunctionName>(str(row.name2), row.arity2);
        EXPECT_EQ(a->equals(*b), row.equal);
        EXPECT_EQ(b->equals(*a), row.equal);
        if (row.equal) {
            EXPECT_EQ(a->hashCode(), b->hashCode());
        }
    }
    EXPECT_FALSE(make<FunctionName>(str("sin"), 1)->equals(*str("sin")));

    // A table keyed by names and arities finds each key by an equal one,
    // even at arities whose hash arithmetic wraps.
    auto table = make<Hashtable>();
    const std::int32_t arities[] = {-1, 0, 1, 2, 7, 2147483647};
    for (const char* name : {"atan2", "sin", ""}) {
        for (std::int32_t arity : arities)
            table->put(make<FunctionName>(str(name), arity), str(name) + arity);
    }
    EXPECT_EQ(table->size(), 18);
    for (const char* name : {"atan2", "sin", ""}) {
        for (std::int32_t arity : arities)
            EXPECT_EQ(table->get(make<FunctionName>(str(name), arity))->toString()->toStdString(),
                      std::string(name) + std::to_string(arity));
    }
    EXPECT_TRUE(table->get(make<FunctionName>(str("atan2"), 3)).isNull());
}

class Replacement final : public Function {
    QV_OBJECT(Replacement, Function, "Replacement")
  public:
    explicit Replacement(std::int32_t arity) : m_arity(arity) {}
    const char* name() const override { return "sin"; }
    std::int32_t arity() const override { return m_arity; }
    Pointer<Object> evaluate(std::int32_t, std::int32_t, Arguments) const override {
        return Pointer<Object>();
    }

  private:
    std::int32_t m_arity;
};

TEST(FuncStore, LaterEntryWithEqualKeyReplacesEarlierOne) {
    auto registry = make<FuncStore>();
    auto replacement = make<Replacement>(1);
    registry->addFunction(replacement);
    EXPECT_EQ(registry->findFunction("sin", 1).object(), replacement.object());
    // Another arity is another key; the table of aggregates is separate.
    auto other = make<Replacement>(3);
    registry->addFunction(other);
    EXPECT_EQ(registry->findFunction("sin", 3).object(), other.object());
    EXPECT_EQ(registry->findFunction("sin", 1).object(), replacement.object());
    EXPECT_TRUE(registry->findAggregate("sin", 1).isNull());

    auto max = registry->findAggregate("max", 1);
    auto laterMax = max->newAccumulator();
    ASSERT_NE(laterMax.object(), max.object());
    registry->addAggregate(laterMax);
    EXPECT_EQ(registry->findAggregate("max", 1).object(), laterMax.object());
    EXPECT_STREQ(registry->findFunction("max", 2)->getClassName(), "Func_max");
    // Lookups hand out the one shared object.
    EXPECT_EQ(registry->findFunction("cos", 1).object(), registry->findFunction("cos", 1).object());
}

}  // namespace
}  // namespace qv

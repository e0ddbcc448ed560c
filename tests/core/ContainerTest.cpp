// The containers: Vector, Stack and TVector with their enumeration and join;
// Hashtable with growth at four entries per bucket and chain order;
// VirtualVector's sparse shifting; DoubleVector.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "core/Allocator.h"
#include "core/Hashtable.h"
#include "core/Number.h"
#include "core/TVector.h"
#include "core/Vector.h"
#include "core/VirtualVector.h"

namespace qv {
namespace {

using test::text;
using test::Tracked;
using Texts = std::vector<std::string>;
using Ints = std::vector<std::int32_t>;

constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();

// The texts of a vector's elements, "-" for the null object.
Texts texts(const Vector& vector) {
    Texts result;
    for (std::int32_t i = 0; i < vector.size(); ++i) {
        const Pointer<Object>& element = vector.elementAt(i);
        result.push_back(element.isNull() ? "-" : text(element->toString()));
    }
    return result;
}

Pointer<Object> key(std::int32_t value) {
    return make<Integer>(value);
}

Ints keyValues(const Hashtable& table) {
    Ints result;
    for (auto keys = table.keys(); keys->hasMoreElements();) {
        result.push_back(cast<Integer>(keys->nextElement())->value());
    }
    return result;
}

TEST(Vector, CapacityStartsAtOneAndDoubles) {
    const std::pair<int, std::int32_t> rows[] = {{0, 1}, {1, 1}, {2, 2}, {3, 4}, {5, 8}, {17, 32}};
    for (const auto& [adds, capacity] : rows) {
        SCOPED_TRACE(adds);
        auto vector = make<Vector>();
        Texts expected;
        for (int i = 0; i < adds; ++i) {
            vector->addElement(str(std::to_string(i)));
            expected.push_back(std::to_string(i));
        }
        EXPECT_EQ(vector->capacity(), capacity);
        EXPECT_EQ(texts(*vector), expected);
    }
    EXPECT_EQ(make<Vector>(std::initializer_list<Pointer<Object>>{str("a")})->capacity(), 10);
}

TEST(Vector, CountConstructorHoldsNullsThatStopTheEnumeration) {
    auto vector = make<Vector>(3);
    EXPECT_EQ(texts(*vector), (Texts{"-", "-", "-"}));
    EXPECT_FALSE(vector->elements()->hasMoreElements());
    vector->setElementAt(str("a"), 0);
    vector->setElementAt(str("c"), 2);
    EXPECT_EQ(text(join(vector->elements(), ",")), "a");
}

TEST(Vector, InsertAndRemoveShiftElements) {
    int destructions = 0;
    auto vector = make<Vector>();
    vector->addElement(str("b"));
    vector->insertElementAt(str("a"), 0);
    vector->insertElementAt(str("d"), 2);
    vector->insertElementAt(str("c"), 2);
    vector->addElement(
        vector->elementAt(0));  // the argument lives in the array that growth replaces
    vector->addElement(make<Tracked>(destructions));
    EXPECT_EQ(texts(*vector), (Texts{"a", "b", "c", "d", "a", "Tracked"}));

    const std::pair<std::int32_t, Texts> removals[] = {
        {-1, {"a", "b", "c", "d", "a", "Tracked"}},
        {6, {"a", "b", "c", "d", "a", "Tracked"}},
        {5, {"a", "b", "c", "d", "a"}},
        {1, {"a", "c", "d", "a"}},
        {0, {"c", "d", "a"}},
        {2, {"c", "d"}},
    };
    for (const auto& [index, expected] : removals) {
        SCOPED_TRACE(index);
        vector->removeElementAt(index);
        EXPECT_EQ(texts(*vector), expected);
    }
    EXPECT_EQ(destructions, 1);        // released at removal
    EXPECT_EQ(vector->capacity(), 8);  // never shrinks
}

TEST(Vector, IndexOfUsesEquals) {
    auto vector =
        make<Vector>(std::initializer_list<Pointer<Object>>{str("x"), key(5), str("y"), str("y")});
    EXPECT_EQ(vector->indexOf(str("y")), 2);  // an equal, distinct String
    EXPECT_EQ(vector->indexOf(key(5)), 1);
    EXPECT_EQ(vector->indexOf(make<Double>(5)), -1);  // Integer 5 does not equal Double 5
    EXPECT_EQ(vector->indexOf(str("z")), -1);
    EXPECT_EQ(vector->indexOf(Pointer<Object>()), -1);
}

TEST(Vector, TextFormsAndJoin) {
    auto vector =
        make<Vector>(std::initializer_list<Pointer<Object>>{key(5), Pointer<Object>(), key(-1)});
    Pointer<Vector> second = vector;
    EXPECT_EQ(text(vector->describe()), "VECTOR(3){Integetr:5,null,Integetr:-1,}count=2");
    EXPECT_EQ(text(make<Vector>()->describe()), "VECTOR(0){}count=1");
    EXPECT_EQ(text(make<Stack>()->toString()), "Multi plot");

    const std::pair<Texts, const char*> rows[] = {
        {{}, ""}, {{"a"}, "a"}, {{"a", "b", "c"}, "a, b, c"}};
    for (const auto& [elements, expected] : rows) {
        auto strings = make<Vector>();
        for (const std::string& s : elements)
            strings->addElement(str(s));
        EXPECT_EQ(text(join(strings->elements(), ", ")), expected);
    }
    auto numbers =
        make<Vector>(std::initializer_list<Pointer<Object>>{make<Double>(1.5), make<Double>(2e6)});
    EXPECT_EQ(text(join(numbers->elements(), ";")), "1.5;2e+6");
}

TEST(Stack, PushPopPeekAndTheEmptyStack) {
    auto stack = make<Stack>();
    auto a = str("a");
    EXPECT_EQ(stack->push(a).object(), a.object());
    stack->push(str("b"));
    EXPECT_EQ(text(cast<String>(stack->peek())), "b");
    EXPECT_EQ(text(cast<String>(stack->pop())), "b");
    EXPECT_EQ(text(cast<String>(stack->pop())), "a");
    EXPECT_EQ(stack->size(), 0);
    EXPECT_EQ(a->referenceCount(), 1);
    const auto thrownText = [&](bool pop) -> std::string {
        try {
            pop ? stack->pop() : stack->peek();
        } catch (const StringPointer& message) {
            return std::string(message->view());
        }
        return "<nothing thrown>";
    };
    EXPECT_EQ(thrownText(true), "empty stack");
    EXPECT_EQ(thrownText(false), "empty stack");
}

TEST(TVector, AddInsertRemove) {
    auto vector = make<TVector<String>>(1);
    const auto contents = [&] {
        Texts result;
        for (const StringPointer& s : *vector)
            result.push_back(text(s));
        return result;
    };
    for (const char* s : {"b", "d", "e"})
        vector->add(str(s));
    vector->insert(0, str("a"));
    vector->insert(2, str("c"));
    vector->insert(5, str("f"));
    EXPECT_EQ(contents(), (Texts{"a", "b", "c", "d", "e", "f"}));
    for (std::int32_t index : {2, -1, 5, 4})
        vector->remove(index);
    EXPECT_EQ(contents(), (Texts{"a", "b", "d", "e"}));
    EXPECT_EQ(text(vector->describe()), "VECTOR(4){,,,,}count=1");
    EXPECT_NE(TVector<String>::typeId(), TVector<Integer>::typeId());
}

TEST(Hashtable, GrowsWhenEntriesPassFourPerBucket) {
    const std::pair<std::int32_t, std::int32_t> rows[] = {{0, 4},  {16, 4},  {17, 8},
                                                          {32, 8}, {33, 16}, {65, 32}};
    for (const auto& [entries, buckets] : rows) {
        SCOPED_TRACE(entries);
        auto table = make<Hashtable>();
        Ints expectedKeys;
        for (std::int32_t i = 0; i < entries; ++i) {
            table->put(key(i * 7), make<Double>(i));
            expectedKeys.push_back(i * 7);
        }
        EXPECT_EQ(table->size(), entries);
        EXPECT_EQ(table->bucketCount(), buckets);
        for (std::int32_t i = 0; i < entries; ++i)
            EXPECT_EQ(cast<Double>(table->get(key(i * 7)))->value(), i);
        Ints enumerated = keyValues(*table);  // every entry exactly once
        std::sort(enumerated.begin(), enumerated.end());
        EXPECT_EQ(enumerated, expectedKeys);
    }
}

TEST(Hashtable, PutReplacesAndNullValueRemoves) {
    auto table = make<Hashtable>();
    EXPECT_TRUE(table->put(str("k"), str("v1")).isNull());
    EXPECT_EQ(text(cast<String>(table->put(str("k"), str("v2")))), "v1");
    EXPECT_EQ(table->size(), 1);
    EXPECT_TRUE(table->put(str("k"), Pointer<Object>()).isNull());
    EXPECT_EQ(table->size(), 0);
    EXPECT_TRUE(table->get(str("k")).isNull());
    EXPECT_TRUE(table->put(Pointer<Object>(), str("v")).isNull());  // null keys are never stored
    EXPECT_EQ(table->size(), 0);
    EXPECT_TRUE(table->get(Pointer<Object>()).isNull());
}

// Keys among 0 ... 63 that share a bucket of a new table with `first`.
Ints sameBucketAs(std::int32_t first) {
    auto probe = make<Hashtable>();
    Ints keys;
    for (std::int32_t k = 0; k < 64 && keys.size() < 4; ++k) {
        if (probe->bucketIndexOf(key(k)) == probe->bucketIndexOf(key(first))) keys.push_back(k);
    }
    return keys;
}

TEST(Hashtable, EnumeratesBucketsInOrderNewestFirst) {
    auto table = make<Hashtable>();
    for (std::int32_t k = 0; k < 8; ++k)
        table->put(key(k), key(-k));
    Ints order = keyValues(*table);
    ASSERT_EQ(order.size(), 8u);
    for (std::size_t i = 1; i < order.size(); ++i) {
        std::int32_t before = table->bucketIndexOf(key(order[i - 1]));
        std::int32_t after = table->bucketIndexOf(key(order[i]));
        // Ascending buckets; within one bucket the later insertion first.
        EXPECT_TRUE(before < after || (before == after && order[i - 1] > order[i]))
            << order[i - 1] << " before " << order[i];
    }
}

TEST(Hashtable, ChainsLoseAnyMember) {
    const Ints chainKeys = sameBucketAs(1);
    ASSERT_EQ(chainKeys.size(), 4u);
    Ints removals = chainKeys;
    removals.push_back(64);  // absent
    for (std::int32_t removed : removals) {
        SCOPED_TRACE(removed);
        auto chain = make<Hashtable>();
        for (std::int32_t k : chainKeys)
            chain->put(key(k), key(k * 10));
        Pointer<Object> value = chain->remove(key(removed));
        Ints expected(chainKeys.rbegin(), chainKeys.rend());  // newest first
        std::erase(expected, removed);
        EXPECT_EQ(value.isNull() ? 0 : cast<Integer>(value)->value(),
                  removed == 64 ? 0 : removed * 10);
        EXPECT_EQ(keyValues(*chain), expected);
        EXPECT_EQ(chain->size(), static_cast<std::int32_t>(expected.size()));
    }
}

// Hash codes are read as unsigned numbers, so negative ones pick valid buckets.
TEST(Hashtable, NegativeHashesPickValidBuckets) {
    auto table = make<Hashtable>();
    const Ints inserted = {-1, -2, 1, kMinInt};
    for (std::int32_t k : inserted) {
        table->put(key(k), key(k));
        EXPECT_GE(table->bucketIndexOf(key(k)), 0);
        EXPECT_LT(table->bucketIndexOf(key(k)), table->bucketCount());
    }
    for (std::int32_t k : inserted)
        EXPECT_EQ(cast<Integer>(table->get(key(k)))->value(), k);
}

// Names that differ only after their first letter spread over the buckets
// instead of forming one chain.
TEST(Hashtable, SimilarNamesSpreadOverBuckets) {
    auto table = make<Hashtable>();
    for (int i = 0; i < 4096; ++i)
        table->put(str("f" + std::to_string(i)), str("v"));
    std::map<std::int32_t, std::int32_t> chains;
    for (int i = 0; i < 4096; ++i)
        ++chains[table->bucketIndexOf(str("f" + std::to_string(i)))];
    std::int32_t longest = 0;
    for (const auto& [bucket, length] : chains)
        longest = std::max(longest, length);
    EXPECT_LE(longest, 16);
}

TEST(Hashtable, Describe) {
    auto table = make<Hashtable>();
    table->put(str("a"), str("x"));
    EXPECT_EQ(text(table->describe()),
              "Hashtable(n_elem=1,v_size=4, largest=1 {\n"
              "    1.  [a]=x\n"
              "}+count=1");
}

// A million entries: freeing them recursively would overflow the stack.
TEST(Hashtable, LongChainsAreFreedWithoutDeepRecursion) {
    AllocationCounters before = allocationCounters();
    {
        Pointer<Object> shared = key(1);
        Pointer<KeyVal> chain;
        for (int i = 0; i < 1000000; ++i)
            chain = make<KeyVal>(shared, shared, chain);
    }
    EXPECT_EQ(allocationCounters().blocks, before.blocks);
}

std::string sparse(const VirtualVector& vector) {
    std::string result;
    for (std::int32_t index : vector.sortedIndexes()) {
        result += std::to_string(index) + "=" + text(cast<String>(vector.get(index))) + " ";
    }
    return result;
}

TEST(VirtualVector, InsertAndRemoveShiftLaterIndexes) {
    auto vector = make<VirtualVector>();
    for (std::int32_t index : {5, 1, 2})
        vector->set(index, str(std::string(1, static_cast<char>('a' + index))));
    EXPECT_EQ(sparse(*vector), "1=b 2=c 5=f ");
    const struct {
        const char* step;
        void (*apply)(VirtualVector&);
        const char* expected;
    } steps[] = {
        {"insert(2, x)", [](VirtualVector& v) { v.insert(2, str("x")); }, "1=b 2=x 3=c 6=f "},
        {"remove(3, true)", [](VirtualVector& v) { v.remove(3, true); }, "1=b 2=x 5=f "},
        {"remove(1, false)", [](VirtualVector& v) { v.remove(1, false); }, "2=x 5=f "},
        {"remove absent 3", [](VirtualVector& v) { v.remove(3, true); }, "2=x 4=f "},
        {"set(4, null)", [](VirtualVector& v) { v.set(4, Pointer<Object>()); }, "2=x "},
        {"insert(-1, y)", [](VirtualVector& v) { v.insert(-1, str("y")); }, "-1=y 3=x "},
    };
    for (const auto& row : steps) {
        SCOPED_TRACE(row.step);
        row.apply(*vector);
        EXPECT_EQ(sparse(*vector), row.expected);
    }
    EXPECT_TRUE(vector->get(2).isNull());
    vector->set(7, make<Double>(0.5));
    EXPECT_EQ(text(vector->describe()), "virtual vector{[-1]=y;\n[3]=x;\n[7]=0.5;\n};");
}

// Keys near the filled part and far from it (negative, past the end) take
// different paths inside; every sequence must read as an ordered map does.
TEST(VirtualVector, AgreesWithAnOrderedMapOverMixedKeys) {
    const struct {
        const char* name;
        std::int32_t low, high;  // keys drawn from [low, high]
    } ranges[] = {
        {"dense", 0, 200},
        {"far and negative", -5, 2000000},
        {"mixed", -3, 3000},
    };
    for (const auto& range : ranges) {
        SCOPED_TRACE(range.name);
        std::mt19937 random(7);
        std::uniform_int_distribution<std::int32_t> keys(range.low, range.high);
        auto vector = make<VirtualVector>();
        std::map<std::int32_t, std::string> model;
        for (int step = 0; step < 3000; ++step) {
            std::int32_t index = keys(random);
            switch (random() % 5) {
                case 0:
                case 1: {
                    std::string value = std::to_string(step);
                    vector->set(index, str(value));
                    model[index] = value;
                    break;
                }
                case 2:
                    vector->remove(index, false);
                    model.erase(index);
                    break;
                case 3: {
                    std::int32_t delta = random() % 2 == 0 ? 1 : -1;
                    vector->shift(index, delta);
                    std::map<std::int32_t, std::string> moved;
                    for (const auto& [key, value] : model)
                        moved[key >= index ? key + delta : key] = value;
                    // A key shifted onto a kept one replaces it, as in the vector.
                    for (const auto& [key, value] : model)
                        if (key >= index) moved[key + delta] = value;
                    model = std::move(moved);
                    break;
                }
                default:
                    ASSERT_EQ(vector->has(index), model.count(index) == 1) << index;
            }
            ASSERT_EQ(vector->size(), static_cast<std::int32_t>(model.size())) << step;
        }
        std::string expected;
        for (const auto& [key, value] : model)
            expected += std::to_string(key) + "=" + value + " ";
        EXPECT_EQ(sparse(*vector), expected);
        EXPECT_EQ(sparse(*cast<VirtualVector>(vector->clone())), expected);
    }
}

TEST(DoubleVector, StartsZeroFilledEvenOnReusedMemory) {
    void* dirty = allocate(8 * sizeof(double));
    std::memset(dirty, 0x7f, 8 * sizeof(double));
    deallocate(dirty, 8 * sizeof(double));
    auto vector = make<DoubleVector>(8);
    ASSERT_EQ(vector->size(), 8);
    for (std::int32_t i = 0; i < 8; ++i)
        EXPECT_EQ((*vector)[i], 0.0) << i;
}

}  // namespace
}  // namespace qv

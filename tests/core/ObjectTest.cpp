// The object root: reference counting through Pointer, type identity and
// downcasts, default text forms, the shared null object, the accounting
// allocator and the error convention.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "core/Allocator.h"
#include "core/Errors.h"
#include "core/Hashtable.h"
#include "core/Number.h"
#include "core/String.h"
#include "core/Vector.h"
#include "core/VirtualVector.h"

namespace qv {
namespace {

using test::text;
using test::thrownMessage;
using test::Tracked;

// A class used by no other test, so its id is requested here first.
class FreshClass final : public Object {
    QV_OBJECT(FreshClass, Object, "FreshClass")
};

TEST(ObjectLifetime, CountStartsAtZeroAndLastReleaseDestroys) {
    int destructions = 0;
    auto* raw = new Tracked(destructions);
    EXPECT_EQ(raw->referenceCount(), 0);
    {
        Pointer<Tracked> first(raw);
        EXPECT_EQ(raw->referenceCount(), 1);
        Pointer<Object> second = first;
        EXPECT_EQ(raw->referenceCount(), 2);
        first = Pointer<Tracked>();
        EXPECT_EQ(raw->referenceCount(), 1);
        EXPECT_EQ(destructions, 0);
    }
    EXPECT_EQ(destructions, 1);
}

TEST(ObjectLifetime, SelfAssignmentKeepsTheObjectAlive) {
    int destructions = 0;
    Pointer<Tracked> p = make<Tracked>(destructions);
    Pointer<Tracked>& alias = p;
    p = alias;
    EXPECT_EQ(destructions, 0);
    EXPECT_EQ(p->referenceCount(), 1);
    p = std::move(alias);
    EXPECT_EQ(destructions, 0);
    EXPECT_EQ(p->referenceCount(), 1);
}

struct CastRow {
    const char* name;
    Pointer<Object> object;
    TypeId id;
    bool castSucceeds;
    bool isInstance;
};

TEST(TypeIdentity, CastToAndIsInstanceOfFollowTheClassChain) {
    const std::vector<CastRow> rows = {
        {"Integer as Integer", make<Integer>(1), Integer::typeId(), true, true},
        {"Integer as Number", make<Integer>(1), Number::typeId(), true, true},
        {"Integer as root", make<Integer>(1), Object::typeId(), true, false},
        {"Integer as Double", make<Integer>(1), Double::typeId(), false, false},
        {"Integer as String", make<Integer>(1), String::typeId(), false, false},
        {"Stack as Vector", make<Stack>(), Vector::typeId(), true, true},
        {"Vector as Stack", make<Vector>(), Stack::typeId(), false, false},
        {"Boolean as Number", make<Boolean>(true), Number::typeId(), false, false},
        {"String as root", str("s"), Object::typeId(), true, false},
        {"null as root", Pointer<Object>(), Object::typeId(), false, false},
        {"null as String", Pointer<Object>(), String::typeId(), false, false},
    };
    for (const CastRow& row : rows) {
        SCOPED_TRACE(row.name);
        Object* cast = castTo(row.object.object(), row.id);
        if (row.castSucceeds) {
            EXPECT_EQ(cast, row.object.object());
        } else {
            EXPECT_EQ(cast, nullObject());  // the null object, never a null address
        }
        EXPECT_EQ(isInstanceOf(row.object.object(), row.id), row.isInstance);
    }
    Pointer<Object> number = make<Double>(2);
    EXPECT_TRUE(is<Number>(number));
    EXPECT_EQ(cast<Double>(number)->value(), 2);
    EXPECT_TRUE(cast<String>(number).isNull());
}

TEST(TypeIdentity, IdsAreTakenAtFirstRequestAndDistinct) {
    TypeId probe = newTypeId();
    TypeId fresh = FreshClass::typeId();
    EXPECT_EQ(fresh, probe + 1);
    EXPECT_EQ(FreshClass::typeId(), fresh);
    EXPECT_EQ(make<FreshClass>()->classTypeId(), fresh);
    EXPECT_EQ(newTypeId(), fresh + 1);
}

TEST(ObjectTextForms, DefaultDescribeShowsNameAddressAndCount) {
    int destructions = 0;
    Pointer<Tracked> p = make<Tracked>(destructions);
    Pointer<Tracked> second = p;
    std::string address = std::to_string(reinterpret_cast<std::intptr_t>(p.object()));
    EXPECT_EQ(text(p->describe()), "Tracked(" + address + ",count=2)");
    EXPECT_EQ(text(p->toSource()), "Tracked");
}

TEST(ObjectTextForms, NullObjectBehavesAsTheRoot) {
    Object* null = nullObject();
    std::int32_t count = null->referenceCount();
    std::string address = std::to_string(reinterpret_cast<std::intptr_t>(null));
    EXPECT_EQ(text(null->describe()),
              "NullObject(" + address + ",count=" + std::to_string(count) + ")");
    EXPECT_EQ(text(null->toString()), "NullObject");
    EXPECT_FALSE(null->equals(*str("")));
    EXPECT_TRUE(null->plus(make<Integer>(1)).isNull());
    EXPECT_EQ(null->referenceCount(), count);
}

// Identity hashes must not share their low bits, or every identity key of a
// small hash table would fall into one bucket.
TEST(ObjectIdentity, IdentityHashesSpreadOverBuckets) {
    int destructions = 0;
    std::vector<Pointer<Tracked>> objects;
    std::set<std::uint32_t> buckets;
    for (int i = 0; i < 16; ++i) {
        objects.push_back(make<Tracked>(destructions));
        buckets.insert(static_cast<std::uint32_t>(objects.back()->hashCode()) % 4);
    }
    EXPECT_GE(buckets.size(), 2u);
}

TEST(Allocator, CountersReturnToTheirStartAfterRelease) {
    AllocationCounters before = allocationCounters();
    {
        auto table = make<Hashtable>();
        auto vector = make<Vector>();
        auto sparse = make<VirtualVector>();
        for (std::int32_t i = 0; i < 100; ++i) {
            table->put(str("key") + i, make<Double>(i));
            vector->addElement(str("value") + i);
            sparse->insert(0, make<Integer>(i));
        }
        table->put(str("key7"), Pointer<Object>());
        vector->removeElementAt(3);
        sparse->remove(10, true);
        EXPECT_GT(allocationCounters().blocks, before.blocks);
        EXPECT_GT(allocationCounters().bytes, before.bytes);
    }
    EXPECT_EQ(allocationCounters().blocks, before.blocks);
    EXPECT_EQ(allocationCounters().bytes, before.bytes);
}

// Small blocks come from pools, larger ones (over 512 bytes) from the heap.
TEST(Allocator, BlocksComeBackZeroFilledAndCounted) {
    for (std::size_t size : {0u, 1u, 24u, 64u, 512u, 513u, 4096u, 100000u}) {
        SCOPED_TRACE(size);
        auto* dirty = static_cast<unsigned char*>(allocate(size));
        std::memset(dirty, 0xab, usableSize(size));
        deallocate(dirty, size);
        AllocationCounters before = allocationCounters();
        auto* block = static_cast<unsigned char*>(allocate(size));
        EXPECT_GE(usableSize(size), size);
        EXPECT_EQ(allocationCounters().blocks, before.blocks + 1);
        EXPECT_EQ(allocationCounters().bytes,
                  before.bytes + static_cast<std::int64_t>(usableSize(size)));
        for (std::size_t i = 0; i < usableSize(size); ++i)
            ASSERT_EQ(block[i], 0) << i;
        deallocate(block, size);
        EXPECT_EQ(allocationCounters().bytes, before.bytes);
    }
}

TEST(Errors, MessagesAreThrownAsStrings) {
    EXPECT_EQ(thrownMessage([] { throwMessage("bad thing"); }), "bad thing");

    errno = ENOENT;
    EXPECT_EQ(thrownMessage([] { throwSystemError("open"); }),
              std::string("open - ") + std::strerror(ENOENT));
    errno = 0;
    EXPECT_EQ(thrownMessage([] { throwSystemError("open"); }), "open");
}

}  // namespace
}  // namespace qv

// Round trips of table texts: writing a table read from text and reading it
// back gives the same model and the same text, and no prefix of a table text
// does more than throw a message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/ProgramDef.h"
#include "tests/language/TableTestSupport.h"

namespace qv {
namespace {

using test::readTable;
using test::renderTable;

const std::vector<const char*> kCorpus = {
    "table T{}",
    "table Prices extends Base{qty:=3!tax:=qty*2;<2>:={qty:=5}<3>:={}}",
    "table T{a:=1!b:=a+1;c:=b*2!}",
    "table T{1!2;x;x+1!}",
    "table T{a:=;;!}",
    "table T{a:=1;b:=2;c:=3;<1>:={,,9}<4>:={7,,8}<6>:={}}",
    "table T{1;2;3;<2>:={,5}<3>:={4,,6}<5>:={,,7,}}",
    "table T{a:=1;2;b:=3;4;<1>:={,,,8}<2>:={9,10,11,12}}",
    "table T{a:=1!<sum>:={sum(a)}<3>:={2}}",
    "table T{a:=;b:=;<sum>:={count(a),avg(b)}}",
    "table T{[my name]:=1![x y z]:=[my name]*2;<1>:={[my name]:=5,[x y z]:=6}}",
    "table T{[f(a,b)]:=a+b;[g()]:=1;<1>:={f(a,b):=a*b}}",
    "table T{[select]:=1;[range]:=2;[datarange]:=3;<2>:={4,5,6}}",
    "table T{a:=#(1#;b:=#1 2#!<1>:={#if#,#x y#}}",
    "table T{a:=#1+2#!<sum>:={#sum(a)#}}",
    "table T{a:=1 /* one */ + /* two */ 2!b:=3 // trailing\n;}",
    "table T{a:=1 +\n    2 +\n        3!<1>:={4 *\n 5}}",
    // A carriage return inside a formula's comment starts a line for the
    // column of the block comment after it, when written as when read.
    "table T{a:=1 + /* one\rtwo */ 2; /* trailing\n    more */\n    b:=2!}",
    "table T{a:=(1 +\n// a line comment inside\n2)!}",
    "table T{s:=\"text\"!t:=\"a b\" & s;u:=\"line\nfeed\"!<1>:={\"x\",\"\"}}",
    "table T{r:=range 1 to 10!q:=range 0 to 1 step 0.25;<1>:={range 1 to 3 steps 3}}",
    "table T{d:=datarange!e:=datarange 3;}",
    "table T{s:=select * from Other where x > 1!<1>:={select * from Other where y = 2}}",
    "table T{a:=x alt y alt 0!<1>:={b alt c}}",
    "table T{a:=if x > 1 then 2 else 3!b:=if y then 1;<1>:={if a then b else if c then d else e}}",
    "table T{a:=not x and y or z;b:=-a;c:=a <= b;d:=a >= b;e:=a = b;f:=a < b;g:=a > b;}",
    "table T{a:=x.y.z!b:=x[1];c:=x[i + 1].y;d:=r@a;e:=?;}",
    "table T{a:=f(x := 1, y := 2)!b:=g(1, 2, 3);c:=h()!}",
    "table T{a:=1e3!b:=0.5;c:=1.25e-7!<2147483646>:={}}",
    "table [my table] extends [the base]{[a b]:=1!}",
    "table T extends Base{<5>:={1}<sum>:={2}<2>:={3}a:=0!}",
    "table T{a:=1!b:=2!a:=3!<1>:={5,6,7}<2>:={a:=8}<3>:={<3>:=9}}",
};

TEST(TableRoundTripTest, WritingIsAFixedPointAndKeepsTheModel) {
    ASSERT_GE(kCorpus.size(), 25u);
    for (const char* text : kCorpus) {
        SCOPED_TRACE(text);
        try {
            Pointer<TableDef> first = readTable(text);
            StringPointer written = first->toSource();
            Pointer<TableDef> second = readTable(written->view());
            EXPECT_EQ(second->toSource()->toStdString(), written->toStdString());
            EXPECT_EQ(renderTable(second), renderTable(first));
        } catch (const StringPointer& message) {
            ADD_FAILURE() << "threw " << message->toStdString();
        }
    }
}

TEST(TableRoundTripTest, ProgramCopiesWriteTheSameText) {
    auto program = make<ProgramDef>();
    for (const char* text : kCorpus) {
        SCOPED_TRACE(text);
        try {
            program->addTable(readTable(text));
        } catch (const StringPointer& message) {
            ADD_FAILURE() << "threw " << message->toStdString();
        }
    }
    auto copy = cast<ProgramDef>(program->clone());
    ASSERT_EQ(copy->tableCount(), program->tableCount());
    EXPECT_EQ(copy->toSource()->toStdString(), program->toSource()->toStdString());
    for (std::int32_t i = 0; i < copy->tableCount(); ++i) {
        EXPECT_EQ(renderTable(copy->table(i)), renderTable(program->table(i)));
    }
}

// Reads the text and reports what happened: "ok", or the message thrown.
// Anything else thrown fails the test; a crash or hang fails the run.
void readOrThrowMessage(std::string_view text) {
    try {
        readTable(text);
    } catch (const StringPointer& message) {
        EXPECT_FALSE(message.isNull());
    } catch (...) {
        ADD_FAILURE() << "unexpected exception for: " << text;
    }
}

TEST(TableRoundTripTest, EveryPrefixParsesOrThrowsAMessage) {
    for (const char* text : kCorpus) {
        std::string whole = readTable(text)->toSource()->toStdString();
        for (std::size_t length = 0; length <= whole.size(); ++length) {
            readOrThrowMessage(std::string_view(whole).substr(0, length));
        }
        for (std::size_t length = 0; length <= std::string_view(text).size(); ++length) {
            readOrThrowMessage(std::string_view(text).substr(0, length));
        }
    }
}

TEST(TableRoundTripTest, TextWithOneByteChangedParsesOrThrowsAMessage) {
    const std::string text =
        "table T extends B{a:=1!2;[f(x)]:=x;<sum>:={sum(a)}<3>:={,5,<3>:=#(#}}";
    for (std::size_t at = 0; at < text.size(); ++at) {
        for (char replacement : {'<', '>', '{', '}', ',', ';', '#', '[', ':', '"', ' ', '\0'}) {
            std::string changed = text;
            changed[at] = replacement;
            readOrThrowMessage(changed);
        }
        std::string removed = text;
        removed.erase(at, 1);
        readOrThrowMessage(removed);
    }
}

}  // namespace
}  // namespace qv

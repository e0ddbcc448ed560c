// Comments and line ends of documents: a comment in every position a
// document can hold one comes back where it stood after a read and a write,
// and writing again changes nothing; line ends of every kind and a
// byte-order mark read to the same document.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/app/AppTestSupport.h"

namespace qv {
namespace {

struct CommentCase {
    const char* input;
    const char* written;  // the document's text after one read
    std::int32_t kept;    // comments kept outside formula texts
};

const std::vector<CommentCase> kCommentCases = {
    // The file header and comments between tables attach to the next table;
    // a blank line after a comment block stays.
    {"// Header\n// more\n\ntable A{}\n// about B\ntable B{}",
     "// Header\n// more\n\ntable A{\n}\n// about B\ntable B{\n}\n//--end", 3},
    // Before a field, trailing on a field's line, before a row block,
    // trailing on a row block's line, before the closing brace, and after it.
    {"table T{\n  // before a\n  a:=1; // after a\n  /* before row */ <2>:={a:=5} // row\n"
     "  // last\n} // after T",
     "table T{\n    // before a\n    a:=1; // after a\n    /* before row */\n"
     "    <2>:={    a:=5,} // row\n    // last\n} // after T\n//--end",
     6},
    // Comments inside a field or row block but outside its formulas go
    // before it; comments inside a formula stay in its text.
    {"table T{a:= /* x */ 1 + /* in */ 2 // y\n;<sum>:={a:=1, // z\n}}",
     "table T{\n    /* x */\n    // y\n    a:=1 + /* in */ 2;\n    // z\n    <sum>:={    a:=1,}\n"
     "}\n//--end",
     3},
    // Comments between "table" and "{" go before the table; a comment on the
    // line of "{" goes to the first member.
    {"table /* h */ T { // first\n a:=1!}",
     "/* h */\ntable T{\n    // first\n    a:=1!\n}\n//--end", 2},
    // A row block with comments but no formula is still written, and one for
    // the formula row too.
    {"table T{a:=1;\n// two\n<2>:={}\n<5>:={}\n/* zero */<0>:={}}",
     "table T{\n    a:=1;\n    /* zero */\n    <0>:={}\n    // two\n    <2>:={}\n    <5>:={}\n}\n"
     "//--end",
     2},
    // Two blocks of one row key are written as one; every comment of the
    // second goes before it.
    {"table T{a:=1;<1>:={2} // one\n // two\n<1>:={a:=3} // three\n}",
     "table T{\n    a:=1;\n    // two\n    // three\n    <1>:={    a:=3,} // one\n}\n//--end", 3},
    // Before a layout directive, trailing on its line, inside it, and at the
    // end of the document before the end mark (which is not kept).
    {"// the view\nmaximized result(T /* in */ + 1 /* after */); // on the line\n"
     "// at the end\n//--end",
     "// the view\n/* after */\nmaximized result(T /* in */ + 1); // on the line\n"
     "// at the end\n//--end",
     4},
    // Inside a layout table a comment attaches to the next view; those after
    // the last view go before the layout table.
    {"optimized(1,2) ltable{ lrow{\n  // first cell\n  text(\"a\"); // on a\n  ;\n  "
     "properties(); } // after\n}",
     "// after\noptimized(1,2) ltable{\n    lrow{\n        // first cell\n        text(\"a\"); // "
     "on a\n"
     "        ;\n        properties();\n    }\n}\n//--end",
     3},
    // Block comments spanning lines keep their shape relative to the column
    // where they start, wherever they are written; line ends inside them
    // become line feeds.
    {"table T{\n        /* one\n           two\r\n        */\n        a:=1!}",
     "table T{\n    /* one\n       two\n    */\n    a:=1!\n}\n//--end", 1},
    {"table T{a:=1! /* tail\n  still */ b:=2!}",
     "table T{\n    a:=1! /* tail\n          still */\n    b:=2!\n}\n//--end", 1},
    {"maximized text(\"a\"); /* last */", "maximized text(\"a\"); /* last */\n//--end", 1},
    // Same-line comments are separated by one blank, blank lines between
    // comments kept as one.
    {"/*a*/   /*b*/\n\n\n// c\ntable T{}", "/*a*/ /*b*/\n\n// c\ntable T{\n}\n//--end", 3},
    // The end mark is recognised only at the end; elsewhere it is a comment.
    {"//--end\ntable T{}\n//--end  \n", "//--end\ntable T{\n}\n//--end", 1},
};

TEST(DocumentCommentsTest, CommentsComeBackInPlaceAndWritingAgainChangesNothing) {
    for (const CommentCase& row : kCommentCases) {
        SCOPED_TRACE(row.input);
        auto first = test::readDocument(row.input);
        std::string written = first->toSource()->toStdString();
        EXPECT_EQ(written, row.written);
        EXPECT_EQ(first->commentCount(), row.kept);
        auto second = test::readDocument(written);
        EXPECT_EQ(second->toSource()->toStdString(), written);
        EXPECT_EQ(second->commentCount(), row.kept);
    }
}

// The comment lines at the top of a file, up to its first other line.
std::string headerComments(const std::string& text) {
    std::string header;
    std::size_t at = 0;
    while (text.compare(at, 2, "//") == 0) {
        std::size_t end = text.find('\n', at);
        header += text.substr(at, end - at + 1);
        at = end + 1;
    }
    return header;
}

TEST(DocumentCommentsTest, TheExamplesKeepTheirHeaderComments) {
    std::vector<std::string> examples = test::exampleFiles();
    for (const std::string& example : examples) {
        SCOPED_TRACE(example);
        std::string text = test::fileBytes(example);
        std::string header = headerComments(text);
        EXPECT_GE(header.size(), 20u);
        std::string written = test::readDocument(text)->toSource()->toStdString();
        EXPECT_EQ(written.substr(0, header.size()), header);
        EXPECT_EQ(test::rewritten(written), written);
    }
    EXPECT_EQ(examples.size(), 6u);
}

// One document with its line ends written four ways and with a byte-order
// mark: every form reads to the same program, layout and comments.
TEST(DocumentCommentsTest, EveryKindOfLineEndReadsToTheSameDocument) {
    const std::string lines[] = {
        "// prices",   "table T{", "    a:=1; // one", "    /* two",           "       lines */",
        "    b:=a*2!", "}",        "// the view",      "maximized result(T);", "//--end",
    };
    auto joined = [&](const std::vector<const char*>& ends) {
        std::string text;
        std::size_t i = 0;
        for (const std::string& line : lines)
            text += line + ends[i++ % ends.size()];
        return text;
    };
    std::string expected = test::rewritten(joined({"\n"}));
    EXPECT_EQ(test::readDocument(expected)->commentCount(), 4);
    const std::vector<std::string> forms = {
        joined({"\r\n"}),
        joined({"\r"}),
        joined({"\n", "\r\n", "\r"}),
        "\xEF\xBB\xBF" + joined({"\r"}),
    };
    for (const std::string& form : forms) {
        SCOPED_TRACE(form);
        EXPECT_EQ(test::rewritten(form), expected);
    }
    // A byte-order mark anywhere else is no blank.
    EXPECT_EQ(test::readErrorAt("table T{}\n\xEF\xBB\xBFtable U{}"), "2:1 invalid char");
    EXPECT_EQ(test::readErrorAt("table T{a:=1\xEF\xBB\xBF;}"), "1:13 invalid char");
}

// Before, a CR-only document read as one line comment and was written back
// as the end mark alone.
TEST(DocumentCommentsTest, ACrOnlyFileKeepsItsTablesThroughAFileRoundTrip) {
    test::ScratchFolder folder;
    std::string path = folder.file("mac.qvl");
    test::putFileBytes(path, "// old editor\rtable T{a:=1!}\rmaximized result(T);\r//--end");
    auto document = Document::readFile(path);
    ASSERT_EQ(document->kernel()->getTableCount(), 1);
    document->writeFile(path);
    EXPECT_EQ(test::fileBytes(path),
              "// old editor\r\ntable T{\r\n    a:=1!\r\n}\r\nmaximized result(T);\r\n//--end");
}

}  // namespace
}  // namespace qv

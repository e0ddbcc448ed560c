// The user guide cannot drift from the program: every example of its pages
// is read as a document and its table computed and printed as `qvl show`
// prints it, which must be the output the guide shows after it. The pages
// must also stand alone (no outside resources), link only to each other and
// each name every other one in its navigation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "app/Document.h"
#include "cli/TableRenderer.h"
#include "tests/app/AppTestSupport.h"

namespace qv {
namespace {

const std::filesystem::path kGuide = std::filesystem::path(QV_SOURCE_DIR) / "docs";
const char* const kPages[] = {"index.html",    "installing.html", "language.html",  "errors.html",
                              "renaming.html", "find.html",       "importing.html", "recovery.html",
                              "settings.html", "printing.html"};

struct Example {
    std::string page;
    std::string section;  // the id of the heading above it
    std::string table;
    std::string document;
    std::string output;
};

std::string unescaped(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : entities) {
        for (std::size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + 1)) {
            text.replace(at, std::string_view(entity).size(), character);
        }
    }
    return text;
}

// Trailing blanks of each line and the blank lines at either end go: an
// editor may strip them from the page without changing what it shows.
std::string normalized(const std::string& text) {
    std::string result;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        line.erase(line.find_last_not_of(" \t\r") + 1);
        result += line + "\n";
        start = end + 1;
    }
    result.erase(0, result.find_first_not_of('\n'));
    result.erase(result.find_last_not_of('\n') + 1);
    return result;
}

// The text between a tag that starts at `at` and the next "</pre>"; `at`
// moves past it. Empty when the block does not close.
std::string blockAt(const std::string& html, std::size_t& at) {
    std::size_t open = html.find('>', at);
    std::size_t close = open == std::string::npos ? open : html.find("</pre>", open);
    if (close == std::string::npos) return at = std::string::npos, "";
    at = close + 6;
    return html.substr(open + 1, close - open - 1);
}

// The value of an attribute of the tag that starts at `at`.
std::string attributeAt(const std::string& html, std::size_t at, const std::string& name) {
    std::size_t tagEnd = html.find('>', at);
    std::size_t start = html.find(name + "=\"", at);
    if (start == std::string::npos || start > tagEnd) return "";
    start += name.size() + 2;
    return html.substr(start, html.find('"', start) - start);
}

// Every example block with the output block that must follow it; a block
// without its table or its output fails the test that reads the page.
std::vector<Example> examplesOf(const std::string& page) {
    std::string html = test::fileBytes((kGuide / page).string());
    const std::string open = "<pre class=\"example\"";
    const std::string output = "<pre class=\"output\">";
    std::vector<Example> examples;
    for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at)) {
        Example example{page, "", attributeAt(html, at, "data-table"), "", ""};
        std::size_t heading = html.rfind("<h2 id=\"", at);
        if (heading != std::string::npos) example.section = attributeAt(html, heading, "id");
        example.document = unescaped(blockAt(html, at));
        std::size_t next = at == std::string::npos ? at : html.find("<pre", at);
        if (example.table.empty() || next == std::string::npos ||
            html.compare(next, output.size(), output) != 0) {
            ADD_FAILURE() << page << ": an example without its table or its output in #"
                          << example.section;
            if (next == std::string::npos) break;
            at = next;
            continue;
        }
        at = next;
        example.output = unescaped(blockAt(html, at));
        examples.push_back(example);
        if (at == std::string::npos) break;
    }
    return examples;
}

// What `qvl show FILE TABLE` prints for the document.
std::string shown(const std::string& document, const std::string& table) {
    Pointer<Document> read = Document::read(str(document));
    Pointer<TableResult> result = read->kernel()->getTableByName(table);
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = ::open_memstream(&buffer, &size);
    {
        cli::TableWriter writer(cli::Format::Text, out);
        writer.write(renderTable(*result, false));
        writer.finish();
    }
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

TEST(GuideExamples, EveryExampleComputesToTheOutputTheGuideShows) {
    int checked = 0;
    for (const char* page : kPages) {
        for (const Example& example : examplesOf(page)) {
            SCOPED_TRACE(example.page + " #" + example.section + " " + example.table);
            std::string actual;
            try {
                actual = shown(example.document, example.table);
            } catch (const StringPointer& message) {
                ADD_FAILURE() << "the example does not read: " << message->toStdString();
                continue;
            }
            EXPECT_EQ(normalized(actual), normalized(example.output));
            ++checked;
        }
    }
    EXPECT_GE(checked, 15);
}

TEST(GuideExamples, EachTopicOfTheLanguageHasAnExample) {
    std::map<std::string, int> bySection;
    for (const Example& example : examplesOf("language.html"))
        ++bySection[example.section];
    const char* const topics[] = {"fields",        "rows",      "overrides",  "inheritance",
                                  "row-functions", "ranges",    "aggregates", "references",
                                  "local-tables",  "functions", "errors"};
    for (const char* topic : topics)
        EXPECT_GE(bySection[topic], 1) << topic;
    EXPECT_GE(examplesOf("index.html").size(), 1u);
}

TEST(GuideExamples, ThePagesStandAloneAndLinkOnlyToEachOther) {
    const std::regex link(R"re(href="([^"#]*)(#[^"]*)?")re");
    for (const char* page : kPages) {
        SCOPED_TRACE(page);
        std::string html = test::fileBytes((kGuide / page).string());
        ASSERT_FALSE(html.empty());
        for (const char* outside : {"://", "<script", "<link", "src=", "<img"})
            EXPECT_EQ(html.find(outside), std::string::npos) << outside;
        for (std::sregex_iterator l(html.begin(), html.end(), link), end; l != end; ++l) {
            std::string target = (*l)[1];
            if (target.empty()) continue;
            EXPECT_TRUE(std::filesystem::exists(kGuide / target)) << target;
        }
    }
}

TEST(GuideExamples, EveryPageNavigatesToEveryOtherPage) {
    std::vector<std::string> listed(std::begin(kPages), std::end(kPages));
    for (const auto& entry : std::filesystem::directory_iterator(kGuide)) {
        if (entry.path().extension() != ".html") continue;
        std::string name = entry.path().filename().string();
        EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end())
            << name << " is not among the pages checked here";
    }
    for (const std::string& page : listed) {
        SCOPED_TRACE(page);
        std::string html = test::fileBytes((kGuide / page).string());
        std::size_t open = html.find("<nav>");
        std::size_t close = html.find("</nav>");
        ASSERT_TRUE(open != std::string::npos && close != std::string::npos && open < close);
        std::string nav = html.substr(open, close - open);
        for (const std::string& other : listed) {
            bool linked = nav.find("href=\"" + other + "\"") != std::string::npos;
            EXPECT_EQ(linked, other != page) << other;
        }
        EXPECT_NE(nav.find("<strong>"), std::string::npos) << "the page itself is not marked";
    }
}

}  // namespace
}  // namespace qv

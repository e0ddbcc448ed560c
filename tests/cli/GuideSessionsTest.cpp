// The guide's page on the causes of errors shows qvl sessions on the loan
// example with the typo it describes; each command is run here on that
// document and must print what the page shows, so the page cannot drift
// from the program.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "tests/cli/CommandTestSupport.h"

namespace qv::cli {
namespace {

const std::string kSource = QV_SOURCE_DIR;

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string unescaped(std::string text) {
    const std::pair<std::string, std::string> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : entities) {
        for (std::size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + 1))
            text.replace(at, entity.size(), character);
    }
    return text;
}

// The loan example with the page's typo: "yearly_rat" for "yearly_rate"
// in the formula of rate.
std::string brokenLoan() {
    std::string loan = fileText(kSource + "/examples/loan.qvl");
    std::size_t at = loan.find("rate:=yearly_rate/12");
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos) loan.replace(at, 20, "rate:=yearly_rat/12");
    return loan;
}

// The words of a command line; '...' quotes a word with blanks.
ArgumentList wordsOf(const std::string& line) {
    ArgumentList words;
    std::string word;
    bool quoted = false, inWord = false;
    for (char ch : line) {
        if (ch == '\'') {
            quoted = !quoted;
            inWord = true;
        } else if (ch == ' ' && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += ch;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

struct Session {
    std::string command;  // after "$ "
    std::string output;
};

// Each <pre class="session"> holds lines "$ qvl ..." each followed by what
// the command prints.
std::vector<Session> sessionsOf(const std::string& html) {
    const std::string open = "<pre class=\"session\">";
    std::vector<Session> sessions;
    for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at)) {
        at += open.size();
        std::size_t close = html.find("</pre>", at);
        if (close == std::string::npos) break;
        std::string block = unescaped(html.substr(at, close - at));
        std::size_t start = 0;
        while (start < block.size()) {
            std::size_t end = block.find('\n', start);
            if (end == std::string::npos) end = block.size();
            std::string line = block.substr(start, end - start);
            if (line.rfind("$ ", 0) == 0) {
                sessions.push_back({line.substr(2), ""});
            } else if (!sessions.empty()) {
                sessions.back().output += line + "\n";
            }
            start = end + 1;
        }
        at = close;
    }
    return sessions;
}

// The documents a session may name besides loan.qvl: the example blocks
// (or, with `kind` "data", the data files) with a data-file attribute, by
// that name.
std::vector<std::pair<std::string, std::string>> documentsOf(const std::string& html,
                                                             const std::string& kind = "example") {
    const std::string open = "<pre class=\"" + kind + "\"";
    std::vector<std::pair<std::string, std::string>> documents;
    for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at)) {
        std::size_t tagEnd = html.find('>', at);
        std::size_t close = html.find("</pre>", tagEnd);
        if (tagEnd == std::string::npos || close == std::string::npos) break;
        std::string tag = html.substr(at, tagEnd - at);
        std::size_t name = tag.find("data-file=\"");
        if (name != std::string::npos) {
            name += 11;
            documents.emplace_back(tag.substr(name, tag.find('"', name) - name),
                                   unescaped(html.substr(tagEnd + 1, close - tagEnd - 1)));
        }
        at = close;
    }
    return documents;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

using Files = std::vector<std::pair<std::string, std::string>>;

// Runs each session of a page with the documents' paths for their names and
// checks that it succeeds and prints what the page shows.
void expectSessionsAsShown(const std::string& html, const Files& files) {
    for (const Session& session : sessionsOf(html)) {
        SCOPED_TRACE(session.command);
        ArgumentList words = wordsOf(session.command);
        ASSERT_GE(words.size(), 2u);
        ASSERT_EQ(words[0], "qvl");
        for (std::string& word : words) {
            for (const auto& [name, path] : files) {
                if (word == name) word = path;
            }
        }
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        int status = runTool(ArgumentList(words.begin() + 1, words.end()));
        std::string out = ::testing::internal::GetCapturedStdout();
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, 0);
        for (const auto& [name, path] : files)
            out = replaced(out, path, name);
        EXPECT_EQ(out, session.output);
    }
}

TEST(GuideSessions, EveryCommandOfTheErrorsPagePrintsWhatThePageShows) {
    std::string html = fileText(kSource + "/docs/errors.html");
    Files files{{"loan.qvl", test::writeDocument("loan.qvl", brokenLoan())}};
    for (const auto& [name, document] : documentsOf(html))
        files.emplace_back(name, test::writeDocument(name, document));
    EXPECT_GE(sessionsOf(html).size(), 5u);
    expectSessionsAsShown(html, files);
}

// The renaming page's sessions run on the document the page shows.
TEST(GuideSessions, EveryCommandOfTheRenamingPagePrintsWhatThePageShows) {
    std::string html = fileText(kSource + "/docs/renaming.html");
    Files files;
    for (const auto& [name, document] : documentsOf(html))
        files.emplace_back(name, test::writeDocument(name, document));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_GE(sessionsOf(html).size(), 3u);
    expectSessionsAsShown(html, files);
}

// The importing page's sessions import its data file into its document.
TEST(GuideSessions, EveryCommandOfTheImportingPagePrintsWhatThePageShows) {
    std::string html = fileText(kSource + "/docs/importing.html");
    Files files;
    for (const auto& [name, document] : documentsOf(html))
        files.emplace_back(name, test::writeDocument(name, document));
    for (const auto& [name, data] : documentsOf(html, "data"))
        files.emplace_back(name, test::writeDocument(name, data));
    ASSERT_EQ(files.size(), 2u);
    EXPECT_GE(sessionsOf(html).size(), 4u);
    expectSessionsAsShown(html, files);
}

}  // namespace
}  // namespace qv::cli

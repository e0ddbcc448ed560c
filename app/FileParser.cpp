// Grammar of a document ("word" = identifier compared by text):
//   document   -> { table | placement element }
//   table      -> "table" ...                      (the table grammar)
//   placement  -> "maximized" | ( "optimized" | "floating" ) point
//   point      -> "(" number "," number ")"
//   element    -> ltable | text | result | properties | chart | project | explain
//   ltable     -> "ltable" "{" { lrow } "}"
//   lrow       -> "lrow" "{" { ";" | element } "}"
//   text       -> "text" "(" string { string } ")" ";"   adjacent strings only
//   result     -> "result" "(" expression ")" ";"
//   properties -> "properties" "(" ")" ";"
//   chart      -> "chart" "(" name ")" ";"
//   project    -> "project" "(" expression ")" ";"
//   explain    -> "explain" "(" ")" ";"
#include "app/FileParser.h"

#include <algorithm>
#include <optional>
#include <string>

#include "app/TextEscapes.h"
#include "core/Assert.h"
#include "core/Errors.h"
#include "language/SourceError.h"
#include "language/TableParser.h"
#include "layout/LayoutWriter.h"

namespace qv {

namespace {

// The placement a prefix's word stands for, by the words the layout writer
// writes; floating frames read back as optimized ones.
std::optional<FramePlacement> placementNamedBy(const Token& word) {
    for (FramePlacement placement :
         {FramePlacement::Maximized, FramePlacement::Optimized, FramePlacement::Floating}) {
        if (!word.isWord(placementKeyword(placement))) continue;
        return placement == FramePlacement::Floating ? FramePlacement::Optimized : placement;
    }
    return std::nullopt;
}

// The words that start an element, as readElement takes them.
bool isElementWord(const Token& word) {
    for (std::string_view name :
         {"ltable", "text", "result", "properties", "chart", "project", "explain"}) {
        if (word.isWord(name)) return true;
    }
    return false;
}

// Whether a placed element starts here (a placement word, its point, an
// element word); the stream is left where it was. No field formula reads
// so, which lets a table that runs into a view report its missing brace.
bool startsPlacedElement(StringStream& stream) {
    std::optional<FramePlacement> placement = placementNamedBy(*stream.peek());
    if (!placement) return false;
    Pointer<StreamPosition> before = stream.mark();
    bool starts = false;
    try {
        stream.next();
        if (*placement != FramePlacement::Maximized) {
            stream.expect(kOpenParen, "(");
            stream.readNumber();
            stream.expect(kComma, ",");
            stream.readNumber();
            stream.expect(kCloseParen, ")");
        }
        starts = isElementWord(*stream.peek());
    } catch (const StringPointer&) {
        // Something else: the field reports its own error.
    }
    stream.reset(before);
    return starts;
}

// Where the end mark that closes a written document starts: at the end of
// the text, after nothing but blanks. It is written anew, not kept as a
// comment. Whether a comment really starts there is for the tokenizer to
// say; a comment list without one there leaves nothing out.
std::int32_t endMarkOffset(std::string_view text) {
    std::size_t end = text.find_last_not_of(" \t\r\n");
    end = end == std::string_view::npos ? 0 : end + 1;
    std::string_view mark = FileParser::kEndMark;
    // A line comment runs to the line end, blanks included.
    if (end >= mark.size() && text.substr(end - mark.size(), mark.size()) == mark) {
        return static_cast<std::int32_t>(end - mark.size());
    }
    return static_cast<std::int32_t>(text.size());
}

}  // namespace

// The grid of the layout table being read, mirrored here so that the
// bounds hold whatever factory builds the views.
struct FileParser::Grid {
    std::int64_t rows = 1;
    std::int64_t columns = 1;
};

// Layout-table nesting is counted here and nowhere else.
class FileParser::Nesting {
  public:
    explicit Nesting(FileParser& parser) : m_parser(parser) {
        if (m_parser.m_nesting >= kMaxLayoutNesting) {
            throwMessage("layout tables nested too deeply");
        }
        ++m_parser.m_nesting;
    }
    ~Nesting() { --m_parser.m_nesting; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

  private:
    FileParser& m_parser;
};

FileParser::FileParser(const Pointer<ViewFactory>& factory,
                       const Pointer<AbstractKernelFeedback>& feedback)
    : m_factory(factory), m_feedback(feedback) {
    QV_ASSERT(!factory.isNull());
}

void FileParser::parse(const StringPointer& text) {
    m_kernel = make<Kernel>(m_feedback);
    m_factory->useKernel(m_kernel);
    m_layoutRoot = m_factory->makeLayoutRoot();
    m_stream = make<StringStream>(text);
    m_tableEnds.clear();
    m_endMark = endMarkOffset(m_stream->source()->view());
    m_warnings.clear();
    try {
        readAll();
    } catch (const StringPointer& message) {
        SourcePosition at = m_stream->positionOf(m_stream->errorOffset());
        m_kernel = Pointer<Kernel>();
        m_layoutRoot = Pointer<Object>();
        m_stream = Pointer<StringStream>();
        m_tableEnds.clear();
        m_comments.reset();
        m_warnings.clear();
        throw SourceError(message, at);
    } catch (...) {
        m_kernel = Pointer<Kernel>();
        m_layoutRoot = Pointer<Object>();
        m_stream = Pointer<StringStream>();
        m_tableEnds.clear();
        m_comments.reset();
        throw;
    }
    m_stream = Pointer<StringStream>();
    m_tableEnds.clear();
    m_comments.reset();
}

void FileParser::readAll() {
    Pointer<StreamPosition> start = m_stream->mark();
    for (m_pass = 1; m_pass <= 2; ++m_pass) {
        m_stream->reset(start);
        m_nextTable = 0;
        m_layoutCells = 0;
        m_comments.emplace(m_stream, 0);
        m_comments->ignoreFrom(m_endMark);
        while (readTopLevel()) {
        }
    }
}

// top-level -> table | placement element; false at the end of the text.
bool FileParser::readTopLevel() {
    Pointer<Token> next = m_stream->peek();
    if (next->code() == kEnd) {
        readEnd(next->begin());
        return false;
    }
    if (next->isWord("table")) {
        readTable(next->begin());
        return true;
    }
    StringPointer leading = m_comments->takeLeading(next->begin());
    m_stream->next();
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::optional<FramePlacement> placement = placementNamedBy(*next);
    if (!placement) throwMessage("expecting  table,maximized,optimized or floating");
    if (*placement != FramePlacement::Maximized) readPoint(x, y);
    Pointer<Object> view = readElement();
    placeTopLevel(view, *placement, x, y, m_comments->takeItem(leading));
    return true;
}

// The comments after the last item: those before the end mark.
void FileParser::readEnd(std::int32_t end) {
    StringPointer comments = m_comments->takeLeading(std::min(end, m_endMark));
    if (building()) m_factory->keepEndComments(m_layoutRoot, comments);
}

// The table parser keeps the comments before the table and inside it; the
// comments on the line of its closing brace stay there.
void FileParser::readTable(std::int32_t tableAt) {
    if (!building()) {
        auto parser = make<TableParser>();
        parser->setItemStart(startsPlacedElement);
        Pointer<TableDef> table = parser->parseTable(m_stream, m_comments->untakenFrom(tableAt));
        m_tableEnds.push_back(m_stream->mark());
        m_comments->skip(m_stream->position());
        ItemComments comments = m_comments->takeItem(StringPointer());
        comments.leading = table->comments().leading;
        table->setComments(comments);
        // Straight into the model: adding through the kernel would compute.
        m_kernel->program()->addTable(table);
        return;
    }
    if (QV_NEVER(m_nextTable >= m_tableEnds.size())) throwMessage("unexpeted token");
    m_stream->reset(m_tableEnds[m_nextTable++]);
    m_comments->skip(m_stream->position());
    m_comments->takeItem(StringPointer());
}

// point -> "(" number "," number ")"
void FileParser::readPoint(std::int32_t& x, std::int32_t& y) {
    expect(kOpenParen, "(");
    x = readPosition();
    expect(kComma, ",");
    y = readPosition();
    expect(kCloseParen, ")");
}

// A coordinate beyond the farthest a frame may stand is moved to it, so
// that no sum of positions and sizes in the layout can overflow.
std::int32_t FileParser::readPosition() {
    SourcePosition at = m_stream->positionOf(m_stream->peek()->begin());
    std::int32_t read = m_stream->readNumber();
    std::int32_t limited = limitFramePosition(read);
    // Both passes read every point; the first one tells.
    if (limited != read && !building()) {
        m_warnings.emplace_back(str("position out of range, moved to " + std::to_string(limited)),
                                at);
    }
    return limited;
}

void FileParser::placeTopLevel(const Pointer<Object>& view, FramePlacement placement,
                               std::int32_t x, std::int32_t y, const ItemComments& comments) {
    if (!building()) return;
    m_factory->placeFrame(m_layoutRoot, m_factory->makeFrame(view, placement, comments), x, y);
}

// element -> ltable | text | result | properties | chart | project | explain
// Pass 1 reads the syntax and yields the null object.
Pointer<Object> FileParser::readElement() {
    Pointer<Token> keyword = m_stream->next();
    if (keyword->isWord("ltable")) return readLayoutTable();
    if (keyword->isWord("text")) return readTextArea();
    if (keyword->isWord("result")) return readResultView();
    if (keyword->isWord("properties")) return readPropertiesView();
    if (keyword->isWord("chart")) return readChart();
    if (keyword->isWord("project")) return readProjectView();
    if (keyword->isWord("explain")) return readExplainView();
    throwMessage("unexpeted token");
}

// text -> "text" "(" string { string } ")" ";"
// A string that follows another without a blank between them stands for a
// double quote inside the text and the rest of it.
Pointer<Object> FileParser::readTextArea() {
    expect(kOpenParen, "(");
    Pointer<Token> first = m_stream->next();
    if (!first->isString()) throwMessage("expecing string");
    std::string written(first->text()->view());
    for (;;) {
        Pointer<Token> following = m_stream->peek();
        std::int32_t at = following->position();
        bool adjacent = following->isString() && at >= 0 && at < m_stream->source()->length() &&
                        m_stream->source()->charAt(at) == '"';
        if (!adjacent) break;
        m_stream->next();
        written += '"';
        written += following->text()->view();
    }
    expect(kCloseParen, ")");
    expect(kSemicolon, ";");
    if (!building()) return {};
    return m_factory->makeTextArea(str(unescapeTextArea(written)));
}

// result -> "result" "(" expression ")" ";"
Pointer<Object> FileParser::readResultView() {
    expect(kOpenParen, "(");
    StringPointer expression = readViewExpression();
    expect(kCloseParen, ")");
    expect(kSemicolon, ";");
    if (!building()) return {};
    return m_factory->makeResultView(expression);
}

// properties -> "properties" "(" ")" ";"
Pointer<Object> FileParser::readPropertiesView() {
    expect(kOpenParen, "(");
    expect(kCloseParen, ")");
    expect(kSemicolon, ";");
    if (!building()) return {};
    return m_factory->makePropertiesView();
}

// explain -> "explain" "(" ")" ";"
Pointer<Object> FileParser::readExplainView() {
    expect(kOpenParen, "(");
    expect(kCloseParen, ")");
    expect(kSemicolon, ";");
    if (!building()) return {};
    return m_factory->makeExplainView(m_kernel);
}

// The expression text of a result or project view keeps the comments
// inside it; it ends before the blanks and comments in front of the token
// that ended it.
StringPointer FileParser::readViewExpression() {
    StringPointer expression = m_kernel->readFormulaText(m_stream);
    m_comments->skip(m_stream->tokenStart());
    return expression;
}

// chart -> "chart" "(" name ")" ";"
// A name in brackets is read as table headers read it, so a chart of a
// table whose name is not one word reads back.
Pointer<Object> FileParser::readChart() {
    expect(kOpenParen, "(");
    std::int32_t code = m_stream->peek()->code();
    if (code != kIdentifier && code != kOpenBracket) throwMessage("expecing identifier");
    std::int32_t nameAt = m_stream->peek()->begin();
    StringPointer name = m_stream->readIdentifier();
    expect(kCloseParen, ")");
    expect(kSemicolon, ";");
    if (!building()) return {};
    // An unknown table is the name's fault.
    m_stream->setErrorOffset(nameAt);
    return m_factory->makeChart(m_kernel, name);
}

// project -> "project" "(" expression ")" ";"
Pointer<Object> FileParser::readProjectView() {
    expect(kOpenParen, "(");
    StringPointer expression = readViewExpression();
    if (expression->length() == 0) throwMessage("expecting expression in project()");
    expect(kCloseParen, ")");
    expect(kSemicolon, ";");
    if (!building()) return {};
    return m_factory->makeProjectView(m_kernel, expression);
}

// ltable -> "ltable" "{" { lrow } "}"
Pointer<Object> FileParser::readLayoutTable() {
    Nesting nesting(*this);
    Grid grid;
    countLayoutCells(grid.rows * grid.columns);
    Pointer<Object> table = building() ? m_factory->makeLayoutTable() : Pointer<Object>();
    expect(kOpenBrace, "{");
    for (std::int64_t row = 0; m_stream->peek()->isWord("lrow"); ++row)
        readRow(table, grid, row);
    expect(kCloseBrace, "}");
    return table;
}

// lrow -> "lrow" "{" { ";" | element } "}"
void FileParser::readRow(const Pointer<Object>& table, Grid& grid, std::int64_t row) {
    m_stream->next();
    expect(kOpenBrace, "{");
    for (std::int64_t column = 0;; ++column) {
        std::int32_t code = m_stream->peek()->code();
        if (code == kCloseBrace) {
            m_stream->next();
            return;
        }
        if (code == kSemicolon) {
            m_stream->next();
            continue;
        }
        StringPointer leading = m_comments->takeLeading(m_stream->peek()->begin());
        Pointer<Object> view = readElement();
        ItemComments comments = m_comments->takeItem(leading);
        growGrid(grid, row, column);
        if (building()) {
            m_factory->putCell(table, static_cast<std::int32_t>(row),
                               static_cast<std::int32_t>(column),
                               m_factory->makeFrame(view, FramePlacement::InTable, comments));
        }
    }
}

// Grows the grid to hold (row, column), counting the cells it gains.
void FileParser::growGrid(Grid& grid, std::int64_t row, std::int64_t column) {
    if (row >= kMaxLayoutCells || column >= kMaxLayoutCells) {
        throwMessage("layout table too large");
    }
    std::int64_t before = grid.rows * grid.columns;
    grid.rows = std::max(grid.rows, row + 1);
    grid.columns = std::max(grid.columns, column + 1);
    countLayoutCells(grid.rows * grid.columns - before);
}

void FileParser::countLayoutCells(std::int64_t added) {
    m_layoutCells += added;
    if (m_layoutCells > kMaxLayoutCells) throwMessage("layout table too large");
}

}  // namespace qv

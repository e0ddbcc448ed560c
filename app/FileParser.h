// FileParser: reads a document text — table definitions and layout
// directives in any order — into a new kernel and a new layout root, in two
// passes over one token stream. Pass 1 puts every table into the program
// model and reads the layout without making anything, so every syntax error
// is found before any view exists; pass 2 asks the view factory for every
// view, now that every table a view may name is known. Nothing is computed.
//
// Comments are kept with the item they belong to: a comment attaches to the
// next table or view directive (inside a layout table, to the next view),
// a comment on the line where a table or directive ends stays at the end of
// that line, comments inside a directive go before it, and those after the
// last item go to the end of the document, before its end mark. Inside a
// table the table parser does the same for fields and row blocks.
//
// Every error is thrown as a SourceError: the message with the line and
// column where it arose.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "app/ViewFactory.h"
#include "kernel/Kernel.h"
#include "language/CommentCollector.h"
#include "language/SourceError.h"
#include "language/StringStream.h"

namespace qv {

class FileParser final : public Object {
    QV_OBJECT(FileParser, Object, "FileParser")
  public:
    // Deepest nesting of layout tables (a layout table in a cell of a layout
    // table counts two levels).
    static constexpr std::int32_t kMaxLayoutNesting = 100;
    // Most cells, empty or occupied, that the layout tables of one document
    // hold together. A grid is written out in full, so without a bound a
    // few bytes of rows and cells would be written as gigabytes.
    static constexpr std::int64_t kMaxLayoutCells = 10000;
    // Closes every document text; no line break follows it.
    static constexpr std::string_view kEndMark = "//--end";

    explicit FileParser(const Pointer<ViewFactory>& factory,
                        const Pointer<AbstractKernelFeedback>& feedback = {});

    // Reads the whole text. On success kernel() and layoutRoot() hold what
    // was read; on an error the message is thrown as a SourceError (a
    // StringPointer with a place) and everything read so far is dropped.
    void parse(const StringPointer& text);

    const Pointer<Kernel>& kernel() const noexcept { return m_kernel; }
    const Pointer<Object>& layoutRoot() const noexcept { return m_layoutRoot; }
    // What the reading accepted but changed (a frame position beyond the
    // farthest a frame may stand), each with its place in the text.
    const std::vector<SourceError>& warnings() const noexcept { return m_warnings; }

  private:
    struct Grid;
    class Nesting;

    bool building() const noexcept { return m_pass == 2; }
    void readAll();
    bool readTopLevel();
    void readTable(std::int32_t tableAt);
    void readPoint(std::int32_t& x, std::int32_t& y);
    std::int32_t readPosition();
    void placeTopLevel(const Pointer<Object>& view, FramePlacement placement, std::int32_t x,
                       std::int32_t y, const ItemComments& comments);
    void readEnd(std::int32_t end);
    StringPointer readViewExpression();
    Pointer<Object> readElement();
    Pointer<Object> readTextArea();
    Pointer<Object> readResultView();
    Pointer<Object> readPropertiesView();
    Pointer<Object> readExplainView();
    Pointer<Object> readChart();
    Pointer<Object> readProjectView();
    Pointer<Object> readLayoutTable();
    void readRow(const Pointer<Object>& table, Grid& grid, std::int64_t row);
    void growGrid(Grid& grid, std::int64_t row, std::int64_t column);
    void countLayoutCells(std::int64_t added);
    void expect(std::int32_t code, std::string_view text) { m_stream->expect(code, text); }

    Pointer<ViewFactory> m_factory;
    Pointer<AbstractKernelFeedback> m_feedback;
    Pointer<Kernel> m_kernel;
    Pointer<Object> m_layoutRoot;
    Pointer<StringStream> m_stream;
    // Where each table definition of pass 1 ended, so pass 2 steps over the
    // definitions instead of parsing them again to the same result.
    std::vector<Pointer<StreamPosition>> m_tableEnds;
    std::size_t m_nextTable = 0;
    std::optional<CommentCollector> m_comments;
    std::int32_t m_endMark = 0;  // where the end mark starts, or the text's length
    std::int64_t m_layoutCells = 0;
    std::int32_t m_nesting = 0;
    std::int32_t m_pass = 0;
    std::vector<SourceError> m_warnings;
};

}  // namespace qv

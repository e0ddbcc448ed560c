// The CSV reader: one pass over the bytes with a small buffer that always
// holds a few bytes of lookahead (a CRLF, a doubled quote, a whole UTF-8
// character), so chunk boundaries never split a decision.
//
// Grammar (RFC 4180, with the common liberties):
//   data   -> [bom] { line }
//   line   -> cell { delim cell } ( CR LF | CR | LF | end )   an empty line is skipped
//   cell   -> quoted | plain
//   quoted -> '"' { any but '"' | '""' } '"'                line ends inside are kept as LF
//   plain  -> { any but delim, CR, LF }                      a '"' inside is a character

#include "core/CsvReader.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/Utf8.h"

namespace qv {

namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr std::size_t kLookahead = 4;
constexpr std::int64_t kProgressEvery = 1 << 20;

// The bytes of the data, from a stream or from memory.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Reads up to `size` bytes; 0 at the end.
    virtual std::size_t read(char* into, std::size_t size) = 0;
};

class StreamSource final : public ByteSource {
  public:
    explicit StreamSource(std::istream& input) : m_input(input) {}
    std::size_t read(char* into, std::size_t size) override {
        m_input.read(into, static_cast<std::streamsize>(size));
        return static_cast<std::size_t>(m_input.gcount());
    }

  private:
    std::istream& m_input;
};

class MemorySource final : public ByteSource {
  public:
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
    std::size_t read(char* into, std::size_t size) override {
        std::size_t taken = std::min(size, m_bytes.size());
        std::memcpy(into, m_bytes.data(), taken);
        m_bytes.remove_prefix(taken);
        return taken;
    }

  private:
    std::string_view m_bytes;
};

// Thrown inside the parser and turned into the result's error.
struct Stop {
    CsvError error;
};

}  // namespace

class CsvParser {
  public:
    CsvParser(ByteSource& source, const CsvOptions& options)
        : m_source(source), m_options(options) {}

    CsvResult run() {
        CsvResult result;
        try {
            readAll();
            finish();
            result.table = std::move(m_table);
        } catch (const Stop& stop) {
            result.error = stop.error;
        }
        return result;
    }

  private:
    // --- bytes -----------------------------------------------------------

    // Makes at least `count` bytes available after m_pos unless the data
    // ends first.
    void fill(std::size_t count) {
        if (m_pos + count <= m_buf.size() || m_ended) return;
        m_buf.erase(0, m_pos);
        m_pos = 0;
        while (m_buf.size() < count && !m_ended) {
            std::size_t old = m_buf.size();
            std::size_t want = std::max(kChunk, count - old);
            m_buf.resize(old + want);
            std::size_t got = m_source.read(m_buf.data() + old, want);
            m_buf.resize(old + got);
            m_bytesRead += static_cast<std::int64_t>(got);
            if (got == 0) m_ended = true;
            if (m_bytesRead > m_options.maxBytes) {
                fail(0, 0,
                     "the data is larger than the limit of " + std::to_string(m_options.maxBytes) +
                         " bytes");
            }
        }
        if (m_options.progress && m_bytesRead >= m_nextProgress) {
            m_nextProgress = m_bytesRead + kProgressEvery;
            if (!m_options.progress(m_bytesRead)) fail(0, 0, "import stopped");
        }
    }
    // The byte `ahead` places on, or -1 past the end.
    int peek(std::size_t ahead = 0) {
        if (m_pos + ahead >= m_buf.size()) fill(ahead + kLookahead);
        if (m_pos + ahead >= m_buf.size()) return -1;
        return static_cast<unsigned char>(m_buf[m_pos + ahead]);
    }
    void skip(std::size_t count = 1) {
        m_pos += count;
        m_column += 1;
    }
    // Takes CR LF, CR or LF.
    void takeLineEnd() {
        if (peek() == '\r' && peek(1) == '\n') ++m_pos;
        ++m_pos;
        ++m_line;
        m_column = 1;
    }

    [[noreturn]] static void fail(std::int64_t line, std::int64_t column, std::string message) {
        throw Stop{CsvError{line, column, std::move(message)}};
    }
    [[noreturn]] void failHere(std::string message) const {
        fail(m_line, m_column, std::move(message));
    }

    // --- structure -------------------------------------------------------

    void readAll() {
        checkOptions();
        fill(kChunk);
        if (m_buf.compare(0, 3, "\xEF\xBB\xBF") == 0) m_pos = 3;
        std::string_view first = std::string_view(m_buf).substr(m_pos);
        // A line cut by the chunk's end would count too few delimiters.
        if (!m_ended) first = first.substr(0, first.find_last_of("\r\n") + 1);
        m_table.m_delimiter = m_options.delimiter != 0
                                  ? m_options.delimiter
                                  : guessCsvDelimiter(first, m_options.decimalComma);
        m_table.m_decimalComma = m_options.decimalComma;
        m_delimiter = m_table.m_delimiter;
        m_inHeader = m_options.header;
        while (readLine()) {
        }
        if (m_table.m_columns == 0) fail(0, 0, "the data is empty");
    }

    void checkOptions() const {
        char delimiter = m_options.delimiter;
        if (delimiter != 0 && delimiter != ',' && delimiter != ';' && delimiter != '\t')
            fail(0, 0, "the delimiter must be a comma, a semicolon or a tab");
        if (delimiter == ',' && m_options.decimalComma)
            fail(0, 0, "a decimal comma can not go with a comma as the delimiter");
    }

    // One line of cells; false at the end of the data.
    bool readLine() {
        int first = peek();
        if (first == -1) return false;
        if (first == '\r' || first == '\n') {
            takeLineEnd();
            return true;
        }
        if (m_options.previewRows >= 0 && rowsRead() >= m_options.previewRows) {
            m_table.m_cut = true;
            return false;
        }
        if (!m_inHeader) {
            if (rowsRead() >= m_options.maxRows)
                failHere("more than " + std::to_string(m_options.maxRows) + " rows");
            m_table.m_rowLines.push_back(m_line);
        }
        std::int32_t cells = 0;
        while (true) {
            readCell(cells);
            ++cells;
            int next = peek();
            if (next != m_delimiter) break;
            skip();
        }
        endLine(cells);
        return true;
    }

    std::int64_t rowsRead() const { return static_cast<std::int64_t>(m_table.m_rowLines.size()); }
    bool firstLine() const { return m_table.m_columns == 0; }

    void endLine(std::int32_t cells) {
        if (firstLine()) {
            m_table.m_columns = cells;
            // Without a header the first line's cells are noted already.
            m_columnTypes.resize(static_cast<std::size_t>(cells));
        } else if (cells < m_table.m_columns) {
            failHere("expected " + std::to_string(m_table.m_columns) + " cells, found " +
                     std::to_string(cells));
        }
        if (peek() != -1) takeLineEnd();
        m_inHeader = false;
    }

    void readCell(std::int32_t index) {
        std::int64_t line = m_line;
        std::int64_t column = m_column;
        if (!firstLine() && index >= m_table.m_columns) {
            failHere("expected " + std::to_string(m_table.m_columns) + " cells, found more");
        }
        if (index >= m_options.maxColumns)
            failHere("more than " + std::to_string(m_options.maxColumns) + " columns");
        m_cell.clear();
        bool quoted = peek() == '"';
        if (quoted) {
            readQuoted(line, column);
        } else {
            readPlain();
        }
        storeCell(index, column, quoted);
    }

    void readQuoted(std::int64_t line, std::int64_t column) {
        skip();
        while (true) {
            int byte = peek();
            if (byte == -1) fail(line, column, "unterminated quoted cell");
            if (byte == '"') {
                if (peek(1) != '"') break;
                append('"');
                m_pos += 2;
                m_column += 2;
            } else if (byte == '\r' || byte == '\n') {
                takeLineEnd();
                append('\n');
            } else {
                takeCharacter(byte);
            }
        }
        skip();
        int after = peek();
        if (after != -1 && after != m_delimiter && after != '\r' && after != '\n')
            failHere("expected a delimiter or a line end after the closing quote");
    }

    void readPlain() {
        while (true) {
            int byte = peek();
            if (byte == -1 || byte == m_delimiter || byte == '\r' || byte == '\n') return;
            if (byte == '"') {
                append('"');
                skip();
            } else {
                takeCharacter(byte);
            }
        }
    }

    // One character of a cell, converted to UTF-8.
    void takeCharacter(int byte) {
        if (byte == 0) failHere("NUL byte in the data");
        if (byte < 0x80) {
            append(static_cast<char>(byte));
            skip();
            return;
        }
        if (m_options.encoding == CsvEncoding::Latin1) {
            append(static_cast<char>(0xC0 | (byte >> 6)));
            append(static_cast<char>(0x80 | (byte & 0x3F)));
            skip();
            return;
        }
        peek(kLookahead - 1);
        std::string_view rest = std::string_view(m_buf).substr(m_pos, kLookahead);
        utf8::Decoded decoded = utf8::decode(rest);
        if (decoded.length == 0) failHere("invalid UTF-8 (is the data Latin-1?)");
        for (std::size_t i = 0; i < decoded.length; ++i)
            append(rest[i]);
        skip(decoded.length);
    }

    void append(char ch) {
        if (m_cell.size() >= static_cast<std::size_t>(m_options.maxCellBytes)) {
            failHere("a cell is longer than the limit of " +
                     std::to_string(m_options.maxCellBytes) + " bytes");
        }
        m_cell.push_back(ch);
    }

    void storeCell(std::int32_t index, std::int64_t column, bool quoted) {
        if (m_inHeader) {
            m_table.m_header.push_back(m_cell);
            return;
        }
        if (firstLine()) m_table.m_header.emplace_back();
        if (m_table.m_ends.size() >= static_cast<std::size_t>(m_options.maxCells))
            fail(m_line, column, "more than " + std::to_string(m_options.maxCells) + " cells");
        if (m_cell.find('"') != std::string::npos)
            fail(m_line, column, "a text may not hold a double quote");
        m_table.m_text += m_cell;
        m_table.m_ends.push_back(static_cast<std::uint32_t>(m_table.m_text.size()));
        m_table.m_cellColumns.push_back(static_cast<std::uint32_t>(column));
        if (firstLine()) m_columnTypes.emplace_back();
        noteKind(m_columnTypes[static_cast<std::size_t>(index)], m_cell, quoted);
    }

    // What the cells of one column have been so far.
    struct ColumnKinds {
        bool any = false;
        bool allNumbers = true;
        bool allBooleans = true;
    };

    void noteKind(ColumnKinds& kinds, std::string_view text, bool quoted) const {
        if (text.empty()) return;
        kinds.any = true;
        // A quoted cell is text by its writer's choice: "007" stays "007".
        CsvCellKind kind = quoted ? CsvCellKind::Text : csvCellKind(text, m_options.decimalComma);
        if (kind != CsvCellKind::Number) kinds.allNumbers = false;
        if (kind != CsvCellKind::Boolean) kinds.allBooleans = false;
    }

    void finish() {
        m_table.m_types.clear();
        for (const ColumnKinds& kinds : m_columnTypes) {
            CsvType type = !kinds.any          ? CsvType::Empty
                           : kinds.allNumbers  ? CsvType::Number
                           : kinds.allBooleans ? CsvType::Boolean
                                               : CsvType::Text;
            m_table.m_types.push_back(type);
        }
        m_table.m_types.resize(static_cast<std::size_t>(m_table.m_columns), CsvType::Empty);
        m_table.m_header.resize(static_cast<std::size_t>(m_table.m_columns));
        m_table.m_fieldNames = csvFieldNames(m_table.m_header);
    }

    ByteSource& m_source;
    const CsvOptions& m_options;
    CsvTable m_table;
    std::vector<ColumnKinds> m_columnTypes;
    std::string m_buf;
    std::size_t m_pos = 0;
    bool m_ended = false;
    std::int64_t m_bytesRead = 0;
    std::int64_t m_nextProgress = 0;
    std::int64_t m_line = 1;
    std::int64_t m_column = 1;
    int m_delimiter = ',';
    bool m_inHeader = false;
    std::string m_cell;
};

std::int64_t CsvTable::rowCount() const noexcept {
    return static_cast<std::int64_t>(m_rowLines.size());
}

std::string_view CsvTable::cell(std::int64_t row, std::int32_t column) const {
    auto index = static_cast<std::size_t>(row * m_columns + column);
    std::size_t start = index == 0 ? 0 : m_ends[index - 1];
    return std::string_view(m_text).substr(start, m_ends[index] - start);
}

std::int64_t CsvTable::columnOf(std::int64_t row, std::int32_t column) const {
    return m_cellColumns[static_cast<std::size_t>(row * m_columns + column)];
}

std::string CsvTable::formulaText(std::int64_t row, std::int32_t column) const {
    return csvFormulaText(cell(row, column), m_types[static_cast<std::size_t>(column)],
                          m_decimalComma);
}

CsvResult readCsv(std::istream& input, const CsvOptions& options) {
    StreamSource source(input);
    return CsvParser(source, options).run();
}

CsvResult readCsv(std::string_view bytes, const CsvOptions& options) {
    MemorySource source(bytes);
    return CsvParser(source, options).run();
}

char guessCsvDelimiter(std::string_view firstBytes, bool decimalComma) {
    constexpr std::array<char, 3> kCandidates{',', ';', '\t'};
    constexpr int kLines = 20;
    // Delimiters outside quotes per complete line, for each candidate.
    std::vector<std::array<int, 3>> counts;
    std::array<int, 3> line{};
    bool quoted = false;
    for (std::size_t i = 0; i < firstBytes.size() && counts.size() < kLines; ++i) {
        char ch = firstBytes[i];
        if (ch == '"') quoted = !quoted;
        if (quoted) continue;
        if (ch == '\n' || ch == '\r') {
            if (ch == '\r' && i + 1 < firstBytes.size() && firstBytes[i + 1] == '\n') ++i;
            if (line != std::array<int, 3>{}) counts.push_back(line);
            line = {};
            continue;
        }
        for (std::size_t c = 0; c < kCandidates.size(); ++c)
            line[c] += ch == kCandidates[c] ? 1 : 0;
    }
    // The last line counts when the data ends with it.
    if (line != std::array<int, 3>{} && counts.size() < kLines) counts.push_back(line);
    char best = decimalComma ? ';' : ',';
    int bestCells = 0;
    for (std::size_t c = 0; c < kCandidates.size(); ++c) {
        if (decimalComma && kCandidates[c] == ',') continue;
        if (counts.empty()) break;
        int first = counts.front()[c];
        bool same = std::all_of(counts.begin(), counts.end(),
                                [&](const std::array<int, 3>& n) { return n[c] == first; });
        if (same && first > bestCells) {
            best = kCandidates[c];
            bestCells = first;
        }
    }
    return best;
}

std::string describeCsvError(const CsvError& error) {
    if (error.line == 0) return error.message;
    return "line " + std::to_string(error.line) + ", column " + std::to_string(error.column) +
           ": " + error.message;
}

}  // namespace qv

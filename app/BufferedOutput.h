// Collects output and hands it to a file (or any sink) in large pieces, so
// a grid of millions of cells is never held twice in memory. Output is
// handed on only between rows, so a line can still be trimmed.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>

namespace qv {

class BufferedOutput {
  public:
    // Takes the next piece; false once it has failed, after which the rest
    // is dropped.
    using Sink = std::function<bool(std::string_view piece)>;

    explicit BufferedOutput(std::FILE* file)
        : BufferedOutput([file](std::string_view piece) {
              if (std::ferror(file)) return false;
              std::fwrite(piece.data(), 1, piece.size(), file);
              return !std::ferror(file);
          }) {}
    explicit BufferedOutput(Sink sink)
        : m_sink(std::move(sink)), m_data(new char[kFlushBytes]), m_capacity(kFlushBytes) {}
    BufferedOutput(const BufferedOutput&) = delete;
    BufferedOutput& operator=(const BufferedOutput&) = delete;
    ~BufferedOutput() { flush(); }

    BufferedOutput& operator<<(std::string_view text) {
        if (text.empty()) return *this;
        std::memcpy(room(text.size()), text.data(), text.size());
        m_size += text.size();
        return *this;
    }
    BufferedOutput& operator<<(char ch) {
        *room(1) = ch;
        ++m_size;
        return *this;
    }
    // Space for `bytes` more characters at the end, to be taken with `taken`.
    char* room(std::size_t bytes) {
        if (m_size + bytes > m_capacity) grow(m_size + bytes);
        return m_data.get() + m_size;
    }
    void taken(char* end) { m_size = static_cast<std::size_t>(end - m_data.get()); }
    void endRow() {
        if (m_size >= kFlushBytes) flush();
    }
    // Once the file has refused output (a full disk, a closed pipe), the
    // rest is dropped: the caller reports the failure from the file's state.
    void flush() {
        if (m_size > 0 && !m_failed) m_failed = !m_sink(std::string_view(m_data.get(), m_size));
        m_size = 0;
    }

  private:
    static constexpr std::size_t kFlushBytes = 1 << 20;

    void grow(std::size_t needed) {
        std::size_t capacity = std::max(needed, m_capacity * 2);
        std::unique_ptr<char[]> data(new char[capacity]);
        std::memcpy(data.get(), m_data.get(), m_size);
        m_data = std::move(data);
        m_capacity = capacity;
    }

    Sink m_sink;
    bool m_failed = false;
    std::unique_ptr<char[]> m_data;
    std::size_t m_capacity;
    std::size_t m_size = 0;
};

}  // namespace qv

#include "desktop/RecoveryText.h"

#include <limits>
#include <optional>
#include <vector>

#include "app/Document.h"
#include "core/Errors.h"

namespace qv {

namespace {

// Row blocks written between two looks at the clock: a few milliseconds.
constexpr std::int32_t kRowsBetweenLooks = 2000;

class WholeText final : public RecoveryText {
  public:
    explicit WholeText(std::string text) : m_text(std::move(text)) {}
    bool work(Clock::time_point) override { return true; }
    std::string take() override { return std::move(m_text); }

  private:
    std::string m_text;
};

class SlicedText final : public RecoveryText {
  public:
    SlicedText(const ProgramDef& program, std::string layout) : m_layout(std::move(layout)) {
        for (const auto& table : *program.tables()) {
            if (!table.isNull())
                m_tables.push_back(make<TableDef>(*table, nullptr, FieldDef::Formulas::Shared));
        }
    }

    bool work(Clock::time_point deadline) override {
        while (m_next < m_tables.size()) {
            if (!m_writer) m_writer.emplace(*m_tables[m_next]);
            bool tableDone = m_writer->write(m_text, kRowsBetweenLooks);
            if (tableDone) {
                m_writer.reset();
                m_tables[m_next] = Pointer<TableDef>();  // its formulas may go
                ++m_next;
            }
            if (Clock::now() >= deadline) return finish();
        }
        return finish();
    }

    std::string take() override { return std::move(m_text); }

  private:
    bool finish() {
        if (m_next < m_tables.size()) return false;
        if (!m_finished) {
            m_text += m_layout;
            m_text += Document::kEndMark;
            m_finished = true;
            // Texts are counted in 32 bits: a longer one could not be read back.
            if (m_text.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
                throwMessage("document too large");
        }
        return true;
    }

    std::vector<Pointer<TableDef>> m_tables;
    std::size_t m_next = 0;
    std::optional<TableSourceWriter> m_writer;
    std::string m_layout;
    std::string m_text;
    bool m_finished = false;
};

}  // namespace

std::unique_ptr<RecoveryText> wholeRecoveryText(std::string text) {
    return std::make_unique<WholeText>(std::move(text));
}

std::unique_ptr<RecoveryText> slicedRecoveryText(const ProgramDef& program, std::string layout) {
    return std::make_unique<SlicedText>(program, std::move(layout));
}

}  // namespace qv

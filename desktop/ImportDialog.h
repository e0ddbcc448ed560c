// The import preview ("Import"): a further window, drawn here, that shows
// the first rows of a CSV or TSV file as the import will read them, with
// the reading's options to adjust: the delimiter (comma, semicolon, tab;
// guessed at first), whether the first row names the columns, the decimal
// mark and the encoding. Below the options: the target table's name (a new
// table, or an existing one to re-import into) and the key field of a
// re-import ("(none)": the data rows are replaced); then the field names and
// the type found per column over the preview's rows; then a message line
// (a fault of the data with its line and column, or the progress of the
// import); then OK and Cancel. Every change of an option reads the preview
// again.
//
// Keys: Tab and Shift+Tab move the focus, Space sets the focused option
// (or presses the focused button), Enter is OK (Cancel when it has the
// focus), Escape cancels; the table's name takes typing while it has the
// focus. While the import reads, only Escape and Cancel act: they stop it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/CsvReader.h"
#include "desktop/FindField.h"
#include "toolkit/Window.h"

namespace qv {

// A table of the document, as the dialog offers it for a re-import.
struct ImportTableInfo {
    std::string name;
    std::vector<std::string> fields;
};

class ImportDialog final : public toolkit::WindowListener {
  public:
    // Called on OK with the dialog, which stays open until the caller
    // closes it (a fault is shown in its message line instead).
    using Accept = std::function<void(ImportDialog&)>;

    // ORDER DIALOG CONTROL: the focus order.
    enum class Control : std::int32_t {
        Comma,
        Semicolon,
        Tab,
        Header,
        DecimalComma,
        Utf8,
        Latin1,
        TableName,
        Key,
        Ok,
        Cancel,
    };
    static constexpr std::int32_t kControlCount = 11;
    static constexpr toolkit::Rect kBounds{120, 100, 680, 470};
    // The rows the preview shows.
    static constexpr std::int64_t kPreviewRows = 12;
    static constexpr std::string_view kNoKey = "(none)";
    static const toolkit::Font kFont;
    static const toolkit::Font kBoldFont;

    ImportDialog(toolkit::Window& owner, std::string path, std::vector<ImportTableInfo> tables,
                 Accept accept);
    ~ImportDialog() override;
    ImportDialog(const ImportDialog&) = delete;
    ImportDialog& operator=(const ImportDialog&) = delete;

    toolkit::Window& window() const noexcept { return *m_window; }
    bool isOpen() const { return m_window->isOpen(); }
    const std::string& path() const noexcept { return m_path; }

    // The options as chosen; the delimiter is the one the preview used
    // (the guess, until one is chosen).
    const CsvOptions& options() const noexcept { return m_options; }
    const std::string& tableName() const noexcept { return m_name.text(); }
    void setTableName(std::string name);
    // The table of the document named, or null for a new table.
    const ImportTableInfo* existingTable() const;
    // "(none)" first, then the fields the table and the file share.
    const std::vector<std::string>& keyChoices() const noexcept { return m_keyChoices; }
    // The chosen key field; empty for none.
    std::string key() const;
    const std::optional<CsvTable>& preview() const noexcept { return m_preview; }
    // What the message line says: the preview's fault, a fault of the
    // import, or its progress.
    const std::string& message() const noexcept { return m_message; }
    void setMessage(std::string message);

    static toolkit::Rect controlRect(Control control);
    static const char* caption(Control control);
    bool isChecked(Control control) const;
    Control focused() const noexcept { return m_focus; }
    // What a click on the control does.
    void activate(Control control);
    void ok();
    void cancel();

    // While the import reads the whole file: only a stop is taken.
    void setReading(bool reading);
    bool isReading() const noexcept { return m_reading; }
    bool stopAsked() const noexcept { return m_stopAsked; }

    void paint(toolkit::Graphics& graphics, const toolkit::Rect& area) override;
    void resized(toolkit::Size) override { m_window->repaint(); }
    void mouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t modifiers) override;
    void wheel(std::int32_t, toolkit::Point, std::uint32_t) override {}
    void key(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    void menuChosen(std::int32_t) override {}
    void message(const toolkit::PostedMessage&) override {}
    void timer(std::int32_t) override {}
    void closeRequested() override { cancel(); }

    // Where the preview's grid is drawn.
    static constexpr toolkit::Rect kPreviewArea{12, 128, 656, 270};
    static constexpr toolkit::Rect kMessageArea{12, 402, 656, 24};

  private:
    void readPreview();
    char guessFromStart() const;
    void updateKeyChoices();
    void paintOption(toolkit::Graphics& graphics, Control control) const;
    void paintNameField(toolkit::Graphics& graphics) const;
    void paintKeyChoice(toolkit::Graphics& graphics) const;
    void paintPreview(toolkit::Graphics& graphics) const;
    void paintMessage(toolkit::Graphics& graphics) const;
    void paintFocus(toolkit::Graphics& graphics, const toolkit::Rect& area) const;

    const toolkit::Palette& colors() const noexcept { return m_window->palette(); }

    std::unique_ptr<toolkit::Window> m_window;
    std::string m_path;
    std::vector<ImportTableInfo> m_tables;
    Accept m_accept;
    CsvOptions m_options;
    FindField m_name;
    std::vector<std::string> m_keyChoices{std::string(kNoKey)};
    std::size_t m_keyChoice = 0;
    std::optional<CsvTable> m_preview;
    std::string m_message;
    Control m_focus = Control::Ok;
    bool m_reading = false;
    bool m_stopAsked = false;
};

// The name a new table gets from the file's: its stem, or "Imported".
std::string defaultTableName(const std::string& path);

}  // namespace qv

#include "desktop/ImportDialog.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "core/FileWriter.h"

namespace qv {

namespace {

// The delimiter an option stands for, or 0 for another control.
char delimiterOf(ImportDialog::Control control) {
    switch (control) {
        case ImportDialog::Control::Comma:
            return ',';
        case ImportDialog::Control::Semicolon:
            return ';';
        case ImportDialog::Control::Tab:
            return '\t';
        default:
            return 0;
    }
}

}  // namespace

const toolkit::Font ImportDialog::kFont{"MS Sans Serif", 13, false};
const toolkit::Font ImportDialog::kBoldFont{"MS Sans Serif", 13, true};

std::string defaultTableName(const std::string& path) {
    std::string stem = std::filesystem::path(path).stem().string();
    return stem.empty() ? "Imported" : stem;
}

ImportDialog::ImportDialog(toolkit::Window& owner, std::string path,
                           std::vector<ImportTableInfo> tables, Accept accept)
    : m_window(owner.openWindow("Import", kBounds)),
      m_path(std::move(path)),
      m_tables(std::move(tables)),
      m_accept(std::move(accept)) {
    m_name.setText(defaultTableName(m_path));
    m_window->setListener(this);
    readPreview();
}

ImportDialog::~ImportDialog() {
    m_window->setListener(nullptr);
}

toolkit::Rect ImportDialog::controlRect(Control control) {
    switch (control) {
        case Control::Comma:
            return {100, 10, 80, 22};
        case Control::Semicolon:
            return {190, 10, 100, 22};
        case Control::Tab:
            return {300, 10, 70, 22};
        case Control::Header:
            return {12, 38, 150, 22};
        case Control::DecimalComma:
            return {190, 38, 130, 22};
        case Control::Utf8:
            return {420, 38, 70, 22};
        case Control::Latin1:
            return {500, 38, 80, 22};
        case Control::TableName:
            return {100, 68, 220, 22};
        case Control::Key:
            return {100, 96, 220, 22};
        case Control::Ok:
            return {504, 432, 76, 28};
        case Control::Cancel:
            return {592, 432, 76, 28};
    }
    return {};
}

const char* ImportDialog::caption(Control control) {
    switch (control) {
        case Control::Comma:
            return "Comma";
        case Control::Semicolon:
            return "Semicolon";
        case Control::Tab:
            return "Tab";
        case Control::Header:
            return "Header row";
        case Control::DecimalComma:
            return "Decimal comma";
        case Control::Utf8:
            return "UTF-8";
        case Control::Latin1:
            return "Latin-1";
        case Control::TableName:
            return "Table:";
        case Control::Key:
            return "Key field:";
        case Control::Ok:
            return "OK";
        case Control::Cancel:
            return "Cancel";
    }
    return "";
}

bool ImportDialog::isChecked(Control control) const {
    if (char delimiter = delimiterOf(control); delimiter != 0)
        return m_options.delimiter == delimiter;
    switch (control) {
        case Control::Header:
            return m_options.header;
        case Control::DecimalComma:
            return m_options.decimalComma;
        case Control::Utf8:
            return m_options.encoding == CsvEncoding::Utf8;
        case Control::Latin1:
            return m_options.encoding == CsvEncoding::Latin1;
        default:
            return false;
    }
}

void ImportDialog::setTableName(std::string name) {
    m_name.setText(std::move(name));
    updateKeyChoices();
    m_window->repaint();
}

const ImportTableInfo* ImportDialog::existingTable() const {
    auto found = std::find_if(m_tables.begin(), m_tables.end(), [&](const ImportTableInfo& table) {
        return table.name == tableName();
    });
    return found == m_tables.end() ? nullptr : &*found;
}

std::string ImportDialog::key() const {
    return m_keyChoice == 0 ? std::string() : m_keyChoices[m_keyChoice];
}

void ImportDialog::setMessage(std::string message) {
    m_message = std::move(message);
    m_window->repaint();
}

// The fields the table and the file share, in the table's order; the key
// chosen stays chosen while it is one of them.
void ImportDialog::updateKeyChoices() {
    std::string chosen = key();
    m_keyChoices.assign(1, std::string(kNoKey));
    m_keyChoice = 0;
    const ImportTableInfo* table = existingTable();
    if (table == nullptr || !m_preview) return;
    const std::vector<std::string>& columns = m_preview->fieldNames();
    for (const std::string& field : table->fields) {
        if (std::find(columns.begin(), columns.end(), field) == columns.end()) continue;
        if (field == chosen) m_keyChoice = m_keyChoices.size();
        m_keyChoices.push_back(field);
    }
}

// The delimiter the first bytes of the file suggest, for a preview that
// failed before it settled on one.
char ImportDialog::guessFromStart() const {
    constexpr std::size_t kGuessBytes = 1 << 16;
    std::string bytes(kGuessBytes, '\0');
    std::ifstream input(m_path, std::ios::binary);
    input.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, input.gcount())));
    return guessCsvDelimiter(bytes, m_options.decimalComma);
}

void ImportDialog::readPreview() {
    CsvOptions options = m_options;
    options.previewRows = kPreviewRows;
    m_preview.reset();
    m_message.clear();
    std::ifstream input(m_path, std::ios::binary);
    if (!input) {
        m_message = "can not open " + m_path + ": " + systemReason(errno);
    } else {
        CsvResult read = readCsv(input, options);
        if (read.ok()) {
            m_preview = std::move(read.table);
            // The guess becomes the shown choice.
            m_options.delimiter = m_preview->delimiter();
        } else {
            m_message = describeCsvError(read.error);
            if (m_options.delimiter == 0) m_options.delimiter = guessFromStart();
        }
    }
    updateKeyChoices();
    m_window->repaint();
}

void ImportDialog::activate(Control control) {
    if (m_reading) {
        if (control == Control::Cancel) cancel();
        return;
    }
    if (char delimiter = delimiterOf(control); delimiter != 0) {
        m_options.delimiter = delimiter;
        // A comma can not be both.
        if (delimiter == ',') m_options.decimalComma = false;
        return readPreview();
    }
    switch (control) {
        case Control::Header:
            m_options.header = !m_options.header;
            return readPreview();
        case Control::DecimalComma:
            m_options.decimalComma = !m_options.decimalComma;
            if (m_options.decimalComma && m_options.delimiter == ',') m_options.delimiter = 0;
            return readPreview();
        case Control::Utf8:
        case Control::Latin1:
            m_options.encoding = control == Control::Utf8 ? CsvEncoding::Utf8 : CsvEncoding::Latin1;
            return readPreview();
        case Control::Key:
            m_keyChoice = (m_keyChoice + 1) % m_keyChoices.size();
            return m_window->repaint();
        case Control::Ok:
            return ok();
        case Control::Cancel:
            return cancel();
        default:
            return;
    }
}

void ImportDialog::ok() {
    if (m_reading || !isOpen()) return;
    if (m_accept) m_accept(*this);
}

void ImportDialog::cancel() {
    if (m_reading) {
        m_stopAsked = true;
        return;
    }
    m_window->close();
}

void ImportDialog::setReading(bool reading) {
    m_reading = reading;
    m_stopAsked = false;
    m_window->setCursor(reading ? toolkit::CursorKind::Wait : toolkit::CursorKind::Arrow);
    m_window->repaint();
}

void ImportDialog::mouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t) {
    if (kind != toolkit::MouseKind::Press && kind != toolkit::MouseKind::DoubleClick) return;
    for (std::int32_t i = 0; i < kControlCount; ++i) {
        auto control = static_cast<Control>(i);
        if (!controlRect(control).contains(position)) continue;
        if (!m_reading) m_focus = control;
        m_window->repaint();
        if (control == Control::TableName) {
            m_name.moveTo(static_cast<std::int32_t>(m_name.text().size()), false);
            return;
        }
        return activate(control);
    }
}

void ImportDialog::key(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    namespace key = toolkit::key;
    if (code == key::kEscape) return cancel();
    if (m_reading) return;
    if (code == key::kEnter) return m_focus == Control::Cancel ? cancel() : ok();
    if (code == key::kTab) {
        std::int32_t step = (modifiers & toolkit::modifier::kShift) != 0 ? kControlCount - 1 : 1;
        m_focus = static_cast<Control>((static_cast<std::int32_t>(m_focus) + step) % kControlCount);
        return m_window->repaint();
    }
    if (m_focus == Control::TableName) {
        std::string copied;
        std::string pasted = m_window->clipboardText();
        if (m_name.key(code, text, modifiers, pasted, &copied)) {
            if (!copied.empty()) m_window->setClipboardText(copied);
            updateKeyChoices();
            m_window->repaint();
        }
        return;
    }
    if (code == key::kCharacter && text == " ") activate(m_focus);
}

}  // namespace qv

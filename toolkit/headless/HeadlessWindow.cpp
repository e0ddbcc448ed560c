#include "toolkit/headless/HeadlessWindow.h"

#include <algorithm>

namespace qv::toolkit {

class HeadlessWindow::Watcher final : public FileWatcher {
  public:
    Watcher(HeadlessWindow& window, std::string path, std::int32_t reply)
        : m_window(&window), m_path(std::move(path)), m_reply(reply) {
        m_window->m_watchers.push_back(this);
    }
    ~Watcher() override {
        if (m_window == nullptr) return;
        auto& all = m_window->m_watchers;
        all.erase(std::remove(all.begin(), all.end(), this), all.end());
    }
    // The window went first: the watcher watches nothing from now on.
    void forgetWindow() noexcept { m_window = nullptr; }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    const std::string& path() const noexcept { return m_path; }
    void changed() { m_window->postMessage({m_reply, 0, m_path}); }

  private:
    HeadlessWindow* m_window;
    std::string m_path;
    std::int32_t m_reply;
};

std::unique_ptr<FileWatcher> HeadlessWindow::watchFile(const std::string& path,
                                                       std::int32_t replyMessage) {
    return std::make_unique<Watcher>(*this, path, replyMessage);
}

void HeadlessWindow::fileChanged(const std::string& path) {
    for (Watcher* watcher : m_watchers)
        if (watcher->path() == path) watcher->changed();
}

std::vector<std::string> HeadlessWindow::watchedFiles() const {
    std::vector<std::string> paths;
    for (const Watcher* watcher : m_watchers)
        paths.push_back(watcher->path());
    return paths;
}

void HeadlessWindow::popupMenu(const MenuBar& items, Point) {
    m_lastPopup = items;
}

std::unique_ptr<FontMetrics> HeadlessWindow::metrics(const Font& font) const {
    return std::make_unique<HeadlessMetrics>(font);
}

void HeadlessWindow::setCursor(CursorKind kind) {
    m_cursor = kind;
    ++m_cursorChanges;
}

void HeadlessWindow::postMessage(PostedMessage message) {
    m_posted.push_back(std::move(message));
}

void HeadlessWindow::startTimer(std::int32_t id, std::int32_t) {
    if (!timerRunning(id)) m_timers.push_back(id);
}

void HeadlessWindow::stopTimer(std::int32_t id) {
    m_timers.erase(std::remove(m_timers.begin(), m_timers.end(), id), m_timers.end());
}

bool HeadlessWindow::timerRunning(std::int32_t id) const {
    return std::find(m_timers.begin(), m_timers.end(), id) != m_timers.end();
}

void HeadlessWindow::showStatusMessage(std::string_view text) {
    m_statusMessage = text;
    m_statusMessages.push_back(m_statusMessage);
}

void HeadlessWindow::showMessageBox(std::string_view text, std::string_view, MessageBoxKind kind) {
    const char* prefix = kind == MessageBoxKind::Question        ? "question: "
                         : kind == MessageBoxKind::Confirm       ? "confirm: "
                         : kind == MessageBoxKind::ConfirmDelete ? "confirm delete: "
                         : kind == MessageBoxKind::Recover       ? "recover: "
                         : kind == MessageBoxKind::ChangedOnDisk ? "changed on disk: "
                                                                 : "notice: ";
    m_dialogs.push_back(prefix + std::string(text));
    Answer answer = kind == MessageBoxKind::Notice          ? Answer::Ok
                    : kind == MessageBoxKind::ChangedOnDisk ? Answer::No
                                                            : Answer::Cancel;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    } else if (kind != MessageBoxKind::Notice) {
        ++m_unscripted;
    }
    postMessage({kAnswerMessage, static_cast<std::int64_t>(answer), {}});
}

void HeadlessWindow::showFileDialog(const FileDialogRequest& request) {
    m_lastDialogStart = request.initialPath.empty() ? m_dialogFolder : request.initialPath;
    m_dialogs.push_back(std::string(request.save ? "save: " : "open: ") + request.filter);
    if (m_files.empty()) {
        ++m_unscripted;
        return;
    }
    std::optional<std::string> path = std::move(m_files.front());
    m_files.pop_front();
    if (path) postMessage({request.replyMessage, 0, *path});
}

bool HeadlessWindow::encodeImage(Size size, const ImagePainter& paint, std::string& bytes,
                                 std::string& error) {
    HeadlessGraphics graphics(size);
    paint(graphics);
    m_images.push_back({size, std::move(graphics)});
    if (m_imageRefusal) {
        error = *m_imageRefusal;
        return false;
    }
    // The recorded calls, a line each: a file written from them shows
    // what was painted.
    bytes.clear();
    for (const std::string& call : m_images.back().painted.calls())
        bytes += call + '\n';
    return true;
}

namespace {

class RecordedPages final : public PageSink {
  public:
    explicit RecordedPages(std::vector<HeadlessGraphics>& pages) : m_pages(pages) {}
    Size pageSize() const override { return HeadlessWindow::kPageSize; }
    Graphics& beginPage() override { return m_pages.emplace_back(HeadlessWindow::kPageSize); }
    void endPage() override {}

  private:
    std::vector<HeadlessGraphics>& m_pages;
};

}  // namespace

bool HeadlessWindow::encodePdf(std::string_view title, const PagePainter& paint, std::string& bytes,
                               std::string& error) {
    PagedDocument& document = m_documents.emplace_back();
    document.title = title;
    RecordedPages sink(document.pages);
    document.stopped = !paint(sink);
    bytes.clear();
    error.clear();
    if (document.stopped) return false;
    for (std::size_t page = 0; page < document.pages.size(); ++page) {
        bytes += "page " + std::to_string(page + 1) + '\n';
        for (const std::string& call : document.pages[page].calls())
            bytes += call + '\n';
    }
    return true;
}

void HeadlessWindow::showPrintDialog(std::string_view title, PagePainter paint) {
    m_dialogs.push_back("print: " + std::string(title));
    PagedDocument& document = m_documents.emplace_back();
    document.printed = true;
    document.title = title;
    RecordedPages sink(document.pages);
    document.stopped = !paint(sink);
}

bool HeadlessWindow::openWithSystem(std::string_view pathOrAddress) {
    if (m_refuseOpening) return false;
    m_opened.emplace_back(pathOrAddress);
    return true;
}

HeadlessWindow::~HeadlessWindow() {
    for (Watcher* watcher : m_watchers)
        watcher->forgetWindow();
    for (HeadlessWindow* child : m_children)
        child->m_owner = nullptr;
    if (m_owner != nullptr) {
        auto& siblings = m_owner->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

std::unique_ptr<Window> HeadlessWindow::openWindow(std::string_view title, const Rect& bounds) {
    auto window = std::make_unique<HeadlessWindow>(Size{bounds.width, bounds.height});
    window->setTitle(title);
    window->m_owner = this;
    window->m_appearance = m_appearance;
    window->m_systemColors = m_systemColors;
    window->m_palette = m_palette;
    m_children.push_back(window.get());
    return window;
}

// Palettes are the program's, not one window's: a further window passes
// the choice to the main one.
void HeadlessWindow::setAppearance(Appearance appearance) {
    if (m_owner != nullptr) {
        m_owner->setAppearance(appearance);
        return;
    }
    m_appearance = appearance;
    for (HeadlessWindow* child : m_children)
        child->m_appearance = appearance;
    bool followed = appearance == Appearance::System;
    applyPalette(followed && !m_systemColors
                     ? Palette::light()
                     : Palette::forAppearance(appearance, m_systemColors.value_or(SystemColors{})));
}

void HeadlessWindow::setSystemColors(const SystemColors& colors) {
    if (m_owner != nullptr) {
        m_owner->setSystemColors(colors);
        return;
    }
    m_systemColors = colors;
    if (m_appearance == Appearance::System) applyPalette(Palette::fromSystem(colors));
}

// As a desktop's palette reaches every window of a program.
void HeadlessWindow::applyPalette(const Palette& palette) {
    for (HeadlessWindow* child : m_children)
        child->applyPalette(palette);
    if (palette == m_palette) return;
    m_palette = palette;
    ++m_repaintRequests;
    if (m_listener != nullptr) m_listener->paletteChanged();
}

void HeadlessWindow::processPendingEvents() {
    ++m_pendingEventPumps;
    if (m_pendingEvents) m_pendingEvents();
}

void HeadlessWindow::deliverPosted() {
    while (!m_posted.empty()) {
        PostedMessage message = std::move(m_posted.front());
        m_posted.pop_front();
        if (m_listener != nullptr) m_listener->message(message);
    }
}

const HeadlessGraphics& HeadlessWindow::paint() {
    m_graphics = HeadlessGraphics(m_size);
    if (m_listener != nullptr) m_listener->paint(m_graphics, {0, 0, m_size.width, m_size.height});
    return m_graphics;
}

void HeadlessWindow::setGeometry(const Rect& bounds) {
    m_position = {bounds.x, bounds.y};
    resize({bounds.width, bounds.height});
}

void HeadlessWindow::resize(Size size) {
    m_size = size;
    if (m_listener != nullptr) m_listener->resized(size);
}

}  // namespace qv::toolkit

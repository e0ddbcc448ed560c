#include "desktop/MainPanel.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "app/Document.h"
#include "app/FileParser.h"
#include "core/Errors.h"
#include "desktop/AboutBox.h"
#include "desktop/DesktopViewFactory.h"
#include "desktop/UserGuide.h"
#include "desktop/ViewPlacement.h"
#include "editing/CompoundCommand.h"
#include "editing/DetachDropCommand.h"
#include "editing/FormulaValueEditable.h"
#include "editing/TextEditable.h"
#include "editing/TitleDecorator.h"
#include "language/Comments.h"
#include "views/GlobalSettingsProperties.h"
#include "views/InnerViewEditable.h"
#include "views/PropertiesEditable.h"
#include "views/TableControllers.h"

namespace qv {

namespace {

using toolkit::MenuItem;

MenuItem item(const char* caption, MenuCommand command, const char* shortcut = "") {
    return MenuItem{caption, static_cast<std::int32_t>(command), shortcut, {}};
}

MenuItem menu(const char* caption, std::vector<MenuItem> items) {
    return MenuItem{caption, 0, {}, std::move(items)};
}

}  // namespace

MainPanel::MainPanel(toolkit::Window& window, std::string startupPath)
    : EditableContainerPanel(window),
      m_feedback(make<MainPanelKernelFeedback>(&window)),
      m_kernel(make<Kernel>(m_feedback)),
      m_settings(make<GlobalSettings>()),
      m_wait(window),
      m_chartExport(window),
      m_tableExport(window),
      m_flow(window, *this, std::move(startupPath)) {
    watch(m_kernel);
    support().setRequestHandler(
        [this](const Pointer<Object>& request) { return m_nameEdits.offer(request); });
    buildMenus();
    window.setMenuBar(m_menus);
    window.postMessage({kStartMessage, 0, {}});
}

MainPanel::~MainPanel() {
    m_tableDialog.reset();
    m_sourceWindow.reset();
    // A kernel may live on in a view a command holds; it must not reach
    // back into a panel that is gone.
    m_feedback->forgetWindow();
    m_kernel->setWaitingHook({});
}

// The File items have their keys bound; the Edit items name the keys the
// work area turns into the same codes, so they are not bound twice.
void MainPanel::buildMenus() {
    using enum MenuCommand;
    MenuItem file =
        menu("&File", {item("&New", New, "Ctrl+N"), item("&Open", Open, "Ctrl+O"), recentMenuItem(),
                       item("&Save", Save, "Ctrl+S"), item("Save &As...", SaveAs, "Ctrl+Shift+S"),
                       item("&Import...", Import), item("&Export table...", ExportTable),
                       item("&Print...", Print, "Ctrl+P"), item("Export P&DF...", ExportPdf),
                       item("E&xit", Exit, "Ctrl+Q")});
    MenuItem edit =
        menu("&Edit",
             {item("&Cut\tCtrl+X", Cut), item("&Copy\tCtrl+C", Copy), item("&Paste\tCtrl+V", Paste),
              item("&Delete\tDel", Delete), item("Select A&ll\tCtrl+A", SelectAll),
              item("Delete f&ield", DeleteField), item("Delete &table", DeleteTable),
              item("&Find...", Find, "Ctrl+F"), item("&Replace...", Replace, "Ctrl+H"),
              item("Find &next", FindNext, "F3"), item("Find pre&vious", FindPrevious, "Shift+F3"),
              item("&Go to cause", GoToCause, "Ctrl+Shift+G")});
    MenuItem zoomIn = item("Zoom &in", ZoomIn, "Ctrl++");
    zoomIn.alternateShortcut = "Ctrl+=";
    std::string normal = "&Normal size (now " + std::to_string(m_user.zoomPercent) + " %)";
    MenuItem view =
        menu("&View", {item("&Source", Source), item("&Compute", Compute, "F9"),
                       MenuItem::separatorItem(), zoomIn, item("Zoom &out", ZoomOut, "Ctrl+-"),
                       item(normal.c_str(), ZoomReset, "Ctrl+0"), MenuItem::separatorItem(),
                       appearanceMenuItem()});
    MenuItem add = menu("&Add", {item("P&anel", Panel), item("&Text area", TextArea),
                                 item("&Project", Project), item("P&roperties", Properties),
                                 item("E&xplain", Explain), item("&Where used", WhereUsed)});
    MenuItem help =
        menu("&Help", {item("&Html Documentation", HtmlDocumentation),
                       item("&Keyboard Shortcuts", KeyboardShortcuts),
                       item("&Browse Quorvatelle web site...", WebSite), item("&About", About)});
    m_menus = {file, edit, view, add, help};
    m_menuBarPopup = menu("menu", {file, view, add, help});
}

// ---- the document

void MainPanel::watch(const Pointer<Kernel>& kernel) {
    Kernel* computing = kernel.get();
    kernel->setWaitingHook(
        [this, computing] {
            m_wait.whileWaiting(*computing);
            if (m_wait.isStopping()) m_explainStop.store(true, std::memory_order_relaxed);
        },
        [this] { waitEnded(); });
}

void MainPanel::waitEnded() {
    m_wait.finished();
    std::vector<toolkit::PostedMessage> held;
    held.swap(m_heldMessages);
    for (toolkit::PostedMessage& message : held)
        window().postMessage(std::move(message));
}

void MainPanel::loadDocument(const StringPointer& text) {
    auto factory = make<DesktopViewFactory>(support(), *this);
    auto parser = make<FileParser>(factory, m_feedback);
    parser->parse(text);
    // The whole reading succeeded: only now does the new document replace
    // the old one.
    m_kernel->setWaitingHook({});
    m_kernel = parser->kernel();
    watch(m_kernel);
    m_endComments = factory->endComments();
    // A node menu still open belongs to a view that is gone.
    m_nodeMenuChoice = {};
    m_shownCause = {};
    m_find.forgetResults();
    m_nameEdits.forget();
    m_deletes.forget();
    m_print.forget();
    formulaBar()->showFormula("");
    setLayoutRoot(cast<FloatLayoutEditable>(parser->layoutRoot()));
    refreshViews(true);
}

void MainPanel::refreshViews(bool force) {
    if (isComputing()) return;
    bool current =
        m_refreshedKernel == m_kernel.get() && m_refreshedCount == m_kernel->getChangeCount();
    if (current && !force) return;
    m_refreshedKernel = m_kernel.get();
    m_refreshedCount = m_kernel->getChangeCount();
    layoutRoot()->refresh();
    support().invalidateLayout();
    window().repaint();
}

void MainPanel::afterEvent() {
    if (isComputing()) return;
    refreshViews();
    layoutRoot()->notify(make<SelectionMessage>(support().selected()));
    showSelectedCause();
    m_flow.updateTitle();
    m_flow.afterEvent();
    showSettingsNotice();
}

std::string MainPanel::layoutSource() const {
    std::string out;
    layoutRoot()->writeSource(out, 0);
    if (!m_endComments.isNull()) appendLeadingComments(out, m_endComments->view(), 0);
    return out;
}

std::unique_ptr<RecoveryText> MainPanel::recoveryText() {
    return slicedRecoveryText(*m_kernel->program(), layoutSource());
}

StringPointer MainPanel::toSource() const {
    std::string out = m_kernel->toSource()->toStdString();
    out += layoutSource();
    // Texts are counted in 32 bits, the end mark included.
    if (out.size() + Document::kEndMark.size() >=
        static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throwMessage("document too large");
    }
    return str(out);
}

void MainPanel::clearUndoHistory() {
    commands().clear();
    support().select({});
}

void MainPanel::markSavedPosition() {
    commands().markClean();
}

bool MainPanel::isAtSavedPosition() const {
    return commands().isClean();
}

std::optional<std::string> MainPanel::commitPendingEdit() {
    const Pointer<FormulaValueEditable>& bar = formulaBar();
    Pointer<EditedFormulaCell> cell = bar->editedCell();
    if (cell.isNull()) return std::nullopt;
    std::string typed(bar->field()->text());
    // An earlier refusal still waiting to be shown is not this edit's.
    if (support().hasPendingError()) showPendingError();
    bar->commit(-1, {}, 0);
    if (!support().hasPendingError()) return std::nullopt;
    // The text does not read: the edit opens again as typed, so nothing
    // typed is lost while the user mends it.
    bar->startEditing(cell);
    const Pointer<FormulaTextFieldEditable>& field = bar->field();
    field->setText(typed);
    field->setCaret(static_cast<std::int32_t>(typed.size()));
    field->textChanged();
    support().select(field);
    return support().takePendingError();
}

std::uint64_t MainPanel::changeStamp() const {
    auto kernel = reinterpret_cast<std::uintptr_t>(m_kernel.get());
    auto changes = static_cast<std::uint64_t>(m_kernel->getChangeCount());
    auto done = static_cast<std::uint64_t>(commands().undoCount());
    auto undone = static_cast<std::uint64_t>(commands().redoCount());
    return ((kernel * 31 + changes) * 31 + done) * 31 + undone;
}

std::vector<std::string> MainPanel::maximizedViewTitles() const {
    std::vector<std::string> titles;
    const FloatLayoutEditable& root = *layoutRoot();
    for (std::int32_t i = 0; i < root.frameCount(); ++i) {
        auto frame = cast<TitleDecorator>(root.frame(i));
        if (!frame.isNull() && frame->placement() == FramePlacement::Maximized)
            titles.push_back(frame->getTitle()->toStdString());
    }
    return titles;
}

std::optional<LoadFailure> MainPanel::reloadDocument(const StringPointer& text) {
    return m_flow.reloadFromSource(text);
}

Pointer<Object> MainPanel::getProperties() {
    return make<GlobalSettingsProperties>(
        m_settings, [this] { return m_kernel; }, m_supportFlags);
}

// ---- views

void MainPanel::addView(const Pointer<AbstractEditable>& element) {
    addViews({element});
}

void MainPanel::addViews(const std::vector<Pointer<AbstractEditable>>& elements) {
    support().layoutIfNeeded();
    std::vector<toolkit::Rect> taken = frameRects();
    std::vector<Pointer<Command>> steps;
    for (const Pointer<AbstractEditable>& element : elements) {
        auto frame = make<TitleDecorator>(element);
        frame->attach(&support());
        frame->refresh();
        toolkit::Point corner = newViewCorner(*frame, taken);
        auto position = make<FloatLayoutPosition>(layoutRoot(), corner);
        Pointer<Command> step =
            make<DetachDropCommand>(layoutRoot(), frame, Pointer<AbstractPosition>(), position);
        step->redo();
        steps.push_back(step);
        taken.push_back(frame->bounds());
    }
    if (steps.empty()) return;
    commands().execute(steps.size() == 1 ? steps.front() : make<CompoundCommand>(steps), false);
    takeKeyboard(elements.back());
    support().invalidateLayout();
    window().repaint();
}

std::vector<toolkit::Rect> MainPanel::frameRects() const {
    std::vector<toolkit::Rect> rects;
    const FloatLayoutEditable& root = *layoutRoot();
    for (std::int32_t i = 0; i < root.frameCount(); ++i) {
        const Pointer<AbstractEditable>& frame = root.frame(i);
        // A maximized view is the background the others float over.
        auto titled = cast<TitleDecorator>(frame);
        if (!titled.isNull() && titled->placement() == FramePlacement::Maximized) continue;
        rects.push_back(frame->bounds());
    }
    return rects;
}

toolkit::Point MainPanel::newViewCorner(TitleDecorator& frame,
                                        const std::vector<toolkit::Rect>& taken) const {
    // Laid out as the work area will lay it out (a top-level frame fits its
    // view), for its size.
    frame.setTopLevel(true);
    frame.layoutWidth(FloatLayoutEditable::kFrameWidthHint);
    toolkit::Rect bounds = frame.bounds();
    return freeSpotFor({bounds.width, bounds.height}, taken, support().visibleArea(),
                       {kNewViewCorner, kNewViewGap, kNewViewCascade});
}

// Typing goes to the new view, not to the one selected before: the view
// inside a frame that only shows another takes the selection.
void MainPanel::takeKeyboard(Pointer<AbstractEditable> element) {
    for (auto shown = cast<InnerViewEditable>(element);
         !shown.isNull() && !shown->innerView().isNull(); shown = cast<InnerViewEditable>(element))
        element = shown->innerView();
    support().select(element);
}

void MainPanel::openTableView(const Pointer<TableResult>& table, TableViewKind kind) {
    if (isComputing() || table.isNull()) return;
    StringPointer name = table->name();
    std::string reference = tableReference(name);
    std::vector<Pointer<AbstractEditable>> views;
    try {
        if (kind == TableViewKind::Heading) {
            views.push_back(
                DesktopViewFactory::makeResultElement(*this, m_kernel, str(reference + "[0]")));
        }
        if (kind == TableViewKind::Details || kind == TableViewKind::DetailsAndChart) {
            views.push_back(DesktopViewFactory::makeResultElement(*this, m_kernel, str(reference)));
        }
        if (kind == TableViewKind::Chart || kind == TableViewKind::DetailsAndChart)
            views.push_back(DesktopViewFactory::makeChartElement(m_kernel, name));
    } catch (const StringPointer& message) {
        // The table went away while the dialog was open.
        window().showMessageBox(message->view(), kProductName, toolkit::MessageBoxKind::Notice);
        return;
    }
    addViews(views);
    m_flow.updateTitle();
}

void MainPanel::openResultView(const StringPointer& expression) {
    if (isComputing()) return;
    addViews({DesktopViewFactory::makeResultElement(*this, m_kernel, expression)});
    m_flow.updateTitle();
}

void MainPanel::openTableDialog(const Pointer<TableResult>& table) {
    if (isComputing() || table.isNull()) return;
    // One dialog at a time: a new request replaces the one still open.
    m_tableDialog.reset();
    m_tableDialog = std::make_unique<OpenTableDialog>(
        window(), table, [this](const Pointer<TableResult>& chosen, TableViewKind kind) {
            openTableView(chosen, kind);
        });
}

void MainPanel::popupNodeMenu(toolkit::Point at, std::function<void(NodeAction)> chosen) {
    m_nodeMenuChoice = std::move(chosen);
    MenuItem popup = menu("menu", {item("&Open", MenuCommand::NodeOpen),
                                   item("&Navigate to", MenuCommand::NodeNavigateTo)});
    window().popupMenu(popup.items, at);
}

void MainPanel::nodeMenuChosen(NodeAction action) {
    std::function<void(NodeAction)> chosen = std::move(m_nodeMenuChoice);
    m_nodeMenuChoice = {};
    if (chosen) chosen(action);
}

// Not a command, so it cannot be undone; the document still counts as
// changed, so that New, Open and Exit ask before they drop the view.
void MainPanel::addProjectView() {
    Pointer<AbstractEditable> project =
        DesktopViewFactory::makeProjectElement(*this, m_kernel, str(kProjectExpression));
    auto frame = make<TitleDecorator>(project);
    frame->setPlacement(FramePlacement::Optimized);
    support().layoutIfNeeded();
    std::vector<toolkit::Rect> taken = frameRects();
    layoutRoot()->add(frame);
    frame->refresh();
    toolkit::Point corner = newViewCorner(*frame, taken);
    frame->moveBy(corner);
    takeKeyboard(project);
    m_flow.markChanged();
    window().repaint();
}

void MainPanel::openSourceWindow() {
    if (m_sourceWindow != nullptr && m_sourceWindow->window().isOpen()) {
        m_sourceWindow->fill();
        return;
    }
    m_sourceWindow.reset();
    m_sourceWindow =
        std::make_unique<SourceWindow>(window(), *this, [this] { return isComputing(); });
}

void MainPanel::computeAgain() {
    m_kernel->dropStoppedResults();
    refreshViews(true);
    m_flow.updateTitle();
}

bool MainPanel::isEmptyWorkArea(toolkit::Point point) const {
    Pointer<AbstractEditable> hit = layoutRoot()->hitTest(point.x, point.y, false);
    return hit.object() == layoutRoot().object();
}

// ---- events

void MainPanel::paint(toolkit::Graphics& graphics, const toolkit::Rect& area) {
    if (isComputing()) {
        m_wait.paint(graphics);
        return;
    }
    EditableContainerPanel::paint(graphics, area);
    paintFindPanel(graphics);
}

void MainPanel::mouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t modifiers) {
    if (isComputing()) return m_wait.mouse(kind, position);
    if (findMouse(kind, position, modifiers)) return afterEvent();
    EditableContainerPanel::mouse(kind, position, modifiers);
    if (kind == toolkit::MouseKind::RightPress) {
        if (isEmptyWorkArea(position))
            window().popupMenu(m_menuBarPopup.items, position);
        else if (!offerCellMenu(position))
            m_chartExport.offerMenu(layoutRoot()->hitTest(position.x, position.y, true), position);
    }
    afterEvent();
}

void MainPanel::wheel(std::int32_t steps, toolkit::Point position, std::uint32_t modifiers) {
    if (isComputing()) return;
    if ((modifiers & toolkit::modifier::kControl) != 0) {
        // Ctrl with the wheel zooms, a step per notch, as in other programs.
        MenuCommand command = steps > 0 ? MenuCommand::ZoomIn : MenuCommand::ZoomOut;
        std::int32_t notches = std::min(std::abs(steps), 12);
        for (std::int32_t notch = 0; notch < notches; ++notch)
            menuChosen(static_cast<std::int32_t>(command));
        return;
    }
    if (m_find.wheel(steps, position)) return window().repaint();
    EditableContainerPanel::wheel(steps, position, modifiers);
}

void MainPanel::key(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    if (isComputing()) return m_wait.key(code);
    if (viewKey(code, modifiers)) return afterEvent();
    if (m_find.key(code, text, modifiers)) return afterEvent();
    if (deleteKey(code, modifiers)) return afterEvent();
    EditableContainerPanel::key(code, text, modifiers);
    afterEvent();
}

void MainPanel::dispatchEditKey(std::int32_t code) {
    key(code, {}, 0);
}

void MainPanel::menuChosen(std::int32_t id) {
    if (isComputing()) return;
    if (m_chartExport.menuChosen(id)) return;
    if (dataMenuChosen(static_cast<MenuCommand>(id))) return afterEvent();
    if (settingsMenuChosen(id)) return afterEvent();
    namespace key = toolkit::key;
    // The document commands end with the views refreshed too: each commits
    // a cell edit still being typed, which changes the model.
    switch (static_cast<MenuCommand>(id)) {
        case MenuCommand::New:
            m_flow.newDocument();
            break;
        case MenuCommand::Open:
            m_flow.open();
            break;
        case MenuCommand::Save:
            m_flow.save();
            break;
        case MenuCommand::SaveAs:
            m_flow.saveAs();
            break;
        case MenuCommand::Exit:
            m_flow.exit();
            break;
        case MenuCommand::Cut:
            return dispatchEditKey(key::kCut);
        case MenuCommand::Copy:
            return dispatchEditKey(key::kCopy);
        case MenuCommand::Paste:
            return dispatchEditKey(key::kPaste);
        case MenuCommand::Delete:
            return dispatchEditKey(key::kDelete);
        case MenuCommand::SelectAll:
            return dispatchEditKey(key::kSelectAll);
        case MenuCommand::Source:
            return openSourceWindow();
        case MenuCommand::Compute:
            return computeAgain();
        case MenuCommand::Panel:
            addView(DesktopViewFactory::makeLayoutTableView());
            break;
        case MenuCommand::TextArea:
            addView(make<TextEditable>());
            break;
        case MenuCommand::Project:
            return addProjectView();
        case MenuCommand::Properties:
            addView(DesktopViewFactory::makePropertiesElement(*this));
            break;
        case MenuCommand::HtmlDocumentation:
        case MenuCommand::WebSite:
            return openUserGuide(window(), defaultGuideFolders());
        case MenuCommand::About:
            return showAbout(window());
        case MenuCommand::KeyboardShortcuts:
            return showKeyboardShortcuts();
        case MenuCommand::NodeOpen:
            nodeMenuChosen(NodeAction::Open);
            break;
        case MenuCommand::NodeNavigateTo:
            nodeMenuChosen(NodeAction::NavigateTo);
            break;
        case MenuCommand::GoToCause:
        case MenuCommand::CellGoToCause:
            goToCause();
            break;
        case MenuCommand::Explain:
        case MenuCommand::CellExplain:
            addExplainView(static_cast<MenuCommand>(id) == MenuCommand::CellExplain);
            break;
        case MenuCommand::Find:
        case MenuCommand::Replace:
        case MenuCommand::FindNext:
        case MenuCommand::FindPrevious:
            findMenuChosen(static_cast<MenuCommand>(id));
            break;
        case MenuCommand::WhereUsed:
        case MenuCommand::CellWhereUsed:
            addWhereUsedView();
            break;
        case MenuCommand::DeleteField:
        case MenuCommand::DeleteTable:
        case MenuCommand::CellDeleteField:
        case MenuCommand::CellDeleteTable:
            deleteMenuChosen(static_cast<MenuCommand>(id));
            break;
        case MenuCommand::Import:
        case MenuCommand::ExportTable:
        case MenuCommand::Print:
        case MenuCommand::ExportPdf:
            break;  // taken by dataMenuChosen above
        case MenuCommand::ZoomIn:
        case MenuCommand::ZoomOut:
        case MenuCommand::ZoomReset:
        case MenuCommand::RecentRemoveMissing:
        case MenuCommand::RecentClear:
        case MenuCommand::AppearanceSystem:
        case MenuCommand::AppearanceLight:
        case MenuCommand::AppearanceDark:
        case MenuCommand::AppearanceHighContrast:
            break;  // taken by settingsMenuChosen above
    }
    afterEvent();
}

void MainPanel::message(const toolkit::PostedMessage& message) {
    if (isComputing()) {
        m_heldMessages.push_back(message);
        return;
    }
    noteChosenFile(message);
    if (m_chartExport.handleMessage(message)) return;
    if (dataMessage(message)) return afterEvent();
    if (message.id == kStartMessage) {
        m_flow.start();
    } else if (!m_nameEdits.handleMessage(message) && !m_deletes.handleMessage(message)) {
        m_flow.handleMessage(message);
    }
    afterEvent();
}

void MainPanel::closeRequested() {
    if (isComputing()) return;
    m_flow.exit();
}

}  // namespace qv

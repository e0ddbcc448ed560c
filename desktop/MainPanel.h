// The application's window: the work area of views (the editable container
// it builds on), the menus, the current document and the document flow
// that opens, saves, creates and closes documents. It holds the document
// (the kernel, the layout root and the comments after the last view), the
// display settings, the source window while it is open, and what the
// window shows while the kernel computes.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/ChartExport.h"
#include "desktop/DeleteFlow.h"
#include "desktop/DocumentFlow.h"
#include "desktop/FindPanel.h"
#include "desktop/ImportFlow.h"
#include "desktop/MainPanelKernelFeedback.h"
#include "desktop/NameEditFlow.h"
#include "desktop/OpenTableDialog.h"
#include "desktop/PrintFlow.h"
#include "desktop/SourceWindow.h"
#include "desktop/TableExportFlow.h"
#include "desktop/UserSettings.h"
#include "desktop/WaitIndicator.h"
#include "editing/EditableContainerPanel.h"
#include "kernel/FindReplace.h"
#include "kernel/Kernel.h"
#include "views/GlobalSettings.h"
#include "views/SupportFlags.h"
#include "views/ViewHost.h"

namespace qv {

class TableEditable;
class TextEditable;
class TitleDecorator;
class ZoomedWindow;

// ORDER MENU COMMAND: the ids the menu items are chosen by.
enum class MenuCommand : std::int32_t {
    New = 1,
    Open,
    Save,
    SaveAs,
    Exit,
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
    Source,
    Panel,
    TextArea,
    Project,
    Properties,
    HtmlDocumentation,
    WebSite,
    About,
    // The context menu of a node of a project view's tree.
    NodeOpen,
    NodeNavigateTo,
    // The View menu's Compute (F9).
    Compute,
    // Edit's Go to cause, the Add menu's Explain, and a grid cell's
    // context menu (its Explain and Go to cause).
    GoToCause,
    Explain,
    CellExplain,
    CellGoToCause,
    // Edit's find and replace (see MainPanelFind.cpp).
    Find,
    Replace,
    FindNext,
    FindPrevious,
    // The Add menu's Where used, and the same item of a grid's context menu.
    WhereUsed,
    CellWhereUsed,
    // Edit's Delete field and Delete table, and the same items of a grid's
    // context menu (see MainPanelDelete.cpp).
    DeleteField,
    DeleteTable,
    CellDeleteField,
    CellDeleteTable,
    // File's Import... and Export table... (see MainPanelData.cpp).
    Import,
    ExportTable,
    // The View menu's zoom, and File > Recent's own items (see
    // MainPanelSettings.cpp); its documents have ids of their own.
    ZoomIn,
    ZoomOut,
    ZoomReset,
    RecentRemoveMissing,
    RecentClear,
    // File's Print... and Export PDF... (see MainPanelData.cpp).
    Print,
    ExportPdf,
    // Help's list of the keys (see MainPanelKeys.cpp).
    KeyboardShortcuts,
    // View > Appearance, in the order of toolkit::Appearance (see
    // MainPanelSettings.cpp).
    AppearanceSystem,
    AppearanceLight,
    AppearanceDark,
    AppearanceHighContrast,
};

// How the program uses the user's settings file: the window reads and
// writes it; a screenshot only reads it (the zoom, the recent documents)
// and keeps its own window size.
enum class SettingsUse { Window, Screenshot };

class MainPanel final : public EditableContainerPanel,
                        public DocumentFlowHost,
                        public SourceWindowHost,
                        public ViewHost,
                        public FindPanelHost {
    QV_OBJECT(MainPanel, EditableContainerPanel, "MainPanel")
  public:
    // Where the first new view goes; the next ones go to the first free
    // spot after it in reading order.
    static constexpr toolkit::Point kNewViewCorner{40, 40};
    // Between views side by side or one above the other.
    static constexpr std::int32_t kNewViewGap = 10;
    // Right and down from one cascaded view to the next, when no spot is
    // free.
    static constexpr std::int32_t kNewViewCascade = 24;
    // Posted to itself at construction: the document flow starts once the
    // window shows, so that a long first computation runs under the wait
    // indicator with its Stop, as it does after Open.
    static constexpr std::int32_t kStartMessage = toolkit::kFileChosenMessage + 300;
    // The expression of the project view the Add menu opens.
    static constexpr std::string_view kProjectExpression = "Table1";
    // File > Recent's n-th document (from 0) is chosen as this id + n.
    static constexpr std::int32_t kFirstRecentId = 900;

    // Builds the menus and posts the first step of the document flow: the
    // document at `startupPath`, or the default document when it is empty.
    MainPanel(toolkit::Window& window, std::string startupPath);
    ~MainPanel() override;

    const Pointer<Kernel>& kernel() const noexcept { return m_kernel; }
    const Pointer<GlobalSettings>& settings() const noexcept { return m_settings; }
    SupportFlags& supportFlags() noexcept { return m_supportFlags; }
    DocumentFlow& flow() noexcept { return m_flow; }
    const DocumentFlow& flow() const noexcept { return m_flow; }
    const WaitIndicator& waitIndicator() const noexcept { return m_wait; }
    // The menu bar's menus, and the context menu of the empty work area
    // (`menu_bar_popup`: its items are the File, View, Add and Help menus).
    const toolkit::MenuBar& menus() const noexcept { return m_menus; }
    const toolkit::MenuItem& menuBarPopup() const noexcept { return m_menuBarPopup; }
    // The source window, while one is open.
    SourceWindow* sourceWindow() const noexcept { return m_sourceWindow.get(); }
    // The table-opening dialog opened last (it may have been closed since).
    OpenTableDialog* tableDialog() const noexcept { return m_tableDialog.get(); }

    // Puts a view in a new frame at the first free spot of the work area
    // as an undoable command; the view takes the keyboard.
    void addView(const Pointer<AbstractEditable>& element);
    void openSourceWindow();
    // Compute: the cells a stop left uncomputed are computed again, and
    // every view shows the values.
    void computeAgain();
    // Every view evaluates its value again (under the wait indicator), when
    // the program changed since the last time or `force` says so; then the
    // window repaints. Painting never computes.
    void refreshViews(bool force = false);

    // ViewHost.
    Pointer<Kernel> viewKernel() override { return m_kernel; }
    const Pointer<GlobalSettings>& viewSettings() const override { return m_settings; }
    void openTableView(const Pointer<TableResult>& table, TableViewKind kind) override;
    void openResultView(const StringPointer& expression) override;
    void openTableDialog(const Pointer<TableResult>& table) override;
    void popupNodeMenu(toolkit::Point at, std::function<void(NodeAction)> chosen) override;
    Pointer<Object> documentProperties() override { return getProperties(); }
    void goToCell(const CellPlace& place) override;
    std::atomic<bool>* explainStop() override { return &m_explainStop; }

    // Find and replace (MainPanelFind.cpp): the panel, and what it asks of
    // the work area.
    FindPanel& findPanel() noexcept { return m_find; }
    std::unique_ptr<FindSearch> startSearch(TextMatcher matcher, FindScope::Kind scope) override;
    void showHit(const FindHit& hit) override;
    bool replaceHit(const TextMatcher& matcher, const FindHit& hit,
                    std::string_view replacement) override;
    std::int64_t replaceAll(const TextMatcher& matcher, FindScope::Kind scope,
                            std::string_view replacement) override;
    std::int32_t modelChangeCount() override { return m_kernel->getChangeCount(); }
    std::int32_t workAreaTop() const override;

    // The cell of the results the selected grid position shows.
    std::optional<CellPlace> selectedCell() const;
    // Selects the cell where the selected cell's error began (for a cycle,
    // the next cell of the loop), opening a view of its table if none
    // shows it. Nothing happens for a cell without an error.
    void goToCause();
    // Adds an explain view of the selected cell; from a cell's context
    // menu only when the work area has none yet.
    void addExplainView(bool unlessShown);
    // The table or field of the selected grid cell ("Prices.qty"), or empty.
    std::string selectedNameTarget() const;
    // Adds the list of the places that use the selected table or field.
    void addWhereUsedView();
    // Selects a view of the work area and brings it into sight.
    void showView(const Pointer<AbstractEditable>& view);
    NameEditFlow& nameEdits() noexcept { return m_nameEdits; }
    // The keyboard (MainPanelKeys.cpp): moves it to the next view of the
    // work area (or the previous one), in reading order of their corners;
    // the view is raised, brought into sight and marked as selected.
    void focusNextView(bool backwards);
    // Help > Keyboard Shortcuts, made from the menus as they are now.
    void showKeyboardShortcuts();

    // Deleting a field or a table (MainPanelDelete.cpp). The field of the
    // selected grid cell (program table index, field index), and the table
    // of the selected line of a list of tables or of the selected grid.
    struct FieldChoice {
        std::int32_t table;
        std::int32_t field;
    };
    std::optional<FieldChoice> selectedField() const;
    std::optional<std::int32_t> selectedTable() const;
    DeleteFlow& deletes() noexcept { return m_deletes; }

    // File > Export table... (MainPanelData.cpp): the table of the selected
    // grid, or of the selected line of a list of tables.
    std::optional<std::int32_t> tableToExport() const;
    // File > Print... and Export PDF...: the selected grid as it prints (a
    // detailed view turned a record a line), a new grid of the table
    // selected in a list of tables, or null.
    Pointer<TableEditable> gridToPrint();
    PrintFlow& prints() noexcept { return m_print; }
    // File > Import...: the preview and the import (ImportFlow).
    ImportFlow& imports() noexcept { return m_import; }

    // The user's settings (MainPanelSettings.cpp). The zoom of the work
    // area, through the window the panel sees (without one the View menu's
    // zoom does nothing).
    void attachZoom(ZoomedWindow& zoom);
    std::int32_t zoomPercent() const noexcept { return m_user.zoomPercent; }
    // Reads the settings file at `path` and applies it: zoom, recent
    // documents, the dialogs' folder and (for the window) its place. From
    // then on changes are written to it (for the window). A file that
    // cannot be used is ignored, with a notice once the window is idle.
    // Without this call the settings live in memory only.
    void enableUserSettings(std::string path, SettingsUse use);
    const UserSettings& userSettings() const noexcept { return m_user; }
    // File > Recent's n-th document, through the document flow.
    void openRecent(std::size_t index);

    // The program text and the layout text, as a document is written
    // (without the end mark).
    StringPointer toSource() const override;
    // The layout text and the end comments: what follows the model's text.
    std::string layoutSource() const;
    // The document properties (settings, kernel option, support flags).
    Pointer<Object> getProperties() override;

    // DocumentFlowHost (and the source window's host).
    void loadDocument(const StringPointer& text) override;
    StringPointer documentSource() override { return toSource(); }
    std::unique_ptr<RecoveryText> recoveryText() override;
    void clearUndoHistory() override;
    std::optional<std::string> commitPendingEdit() override;
    void markSavedPosition() override;
    bool isAtSavedPosition() const override;
    std::vector<std::string> maximizedViewTitles() const override;
    std::uint64_t changeStamp() const override;
    std::optional<LoadFailure> reloadDocument(const StringPointer& text) override;
    Pointer<Kernel> currentKernel() override { return m_kernel; }
    void documentPathUsed(const std::string& absolutePath) override;
    void programEnding() override;

    // WindowListener. While the kernel computes, only the wait indicator
    // paints and takes input (a resize only marks the layout stale).
    void paint(toolkit::Graphics& graphics, const toolkit::Rect& area) override;
    void mouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t modifiers) override;
    void wheel(std::int32_t steps, toolkit::Point position, std::uint32_t modifiers) override;
    void key(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    void menuChosen(std::int32_t id) override;
    void message(const toolkit::PostedMessage& message) override;
    void timer(std::int32_t id) override;
    void closeRequested() override;

  private:
    void buildMenus();
    // Find and replace: the Edit menu's items, the panel's share of the
    // window's events, the scope and text areas of a search, a replace
    // applied, and a whole name replaced by renaming it.
    void findMenuChosen(MenuCommand command);
    bool findMouse(toolkit::MouseKind kind, toolkit::Point position, std::uint32_t modifiers);
    void paintFindPanel(toolkit::Graphics& graphics);
    FindScope findScope(FindScope::Kind kind) const;
    std::vector<Pointer<TextEditable>> textAreas() const;
    void applyReplace(const std::vector<PlannedText>& planned,
                      const std::vector<Pointer<TextEditable>>& areas);
    std::int64_t renameForReplace(const NamedPlace& named, std::string_view newName);
    void deleteMenuChosen(MenuCommand command);
    // Zoom and File > Recent; false for any other item.
    bool settingsMenuChosen(std::int32_t id);
    toolkit::MenuItem recentMenuItem() const;
    void zoomChanged(bool changed);
    toolkit::MenuItem appearanceMenuItem() const;
    void chooseAppearance(toolkit::Appearance appearance);
    // A file dialog's answer: its folder is where the next one starts.
    void noteChosenFile(const toolkit::PostedMessage& message);
    void showSettingsNotice();
    void saveUserSettings();
    // File's Import... and Export table...; false for any other item.
    bool dataMenuChosen(MenuCommand command);
    bool dataMessage(const toolkit::PostedMessage& message);
    // F6, Shift+F6, Ctrl+Tab and Ctrl+Shift+Tab; true when it was one.
    bool viewKey(std::int32_t code, std::uint32_t modifiers);
    // Ctrl+Delete on a field's name cell or a table's name in a list of
    // tables; true when it deleted (or asked).
    bool deleteKey(std::int32_t code, std::uint32_t modifiers);
    // The context menu's Delete field or Delete table, for the selected cell.
    void addDeleteItems(toolkit::MenuBar& items) const;
    // Edit items act as their keys do.
    void dispatchEditKey(std::int32_t code);
    void addProjectView();
    // Puts each view in a new frame at the first free spot, as one undoable
    // step; each refreshed, the last one taking the keyboard.
    void addViews(const std::vector<Pointer<AbstractEditable>>& elements);
    // The frames that a new view should not cover.
    std::vector<toolkit::Rect> frameRects() const;
    // Lays the frame out and finds it a spot among `taken`.
    toolkit::Point newViewCorner(TitleDecorator& frame,
                                 const std::vector<toolkit::Rect>& taken) const;
    void takeKeyboard(Pointer<AbstractEditable> element);
    // After every event: the views follow the program and the selection.
    void afterEvent();
    void nodeMenuChosen(NodeAction action);
    // A right press on a grid cell offers Explain and Go to cause.
    bool offerCellMenu(toolkit::Point at);
    // For a selected error cell, while nothing is edited, the formula line
    // shows its value followed by its cause.
    void showSelectedCause();
    // A click on the cause in the formula line.
    void followShownCause();
    // Selects the cell where the error of `place` began; with `orBack`,
    // `place` itself when its cause is no other cell.
    void goToCauseOf(const CellPlace& place, bool orBack);
    bool isEmptyWorkArea(toolkit::Point point) const;
    void watch(const Pointer<Kernel>& kernel);
    void waitEnded();
    // The kernel computes, or an import reads its file: the window takes no
    // input but a stop meanwhile.
    bool isComputing() const noexcept { return m_wait.isWaiting() || m_import.isReading(); }

    Pointer<MainPanelKernelFeedback> m_feedback;
    Pointer<Kernel> m_kernel;
    Pointer<GlobalSettings> m_settings;
    PlainSupportFlags m_supportFlags;
    StringPointer m_endComments;
    toolkit::MenuBar m_menus;
    toolkit::MenuItem m_menuBarPopup;
    WaitIndicator m_wait;
    // Dialog answers that came while the kernel computed; handled after.
    std::vector<toolkit::PostedMessage> m_heldMessages;
    std::unique_ptr<SourceWindow> m_sourceWindow;
    std::unique_ptr<OpenTableDialog> m_tableDialog;
    std::function<void(NodeAction)> m_nodeMenuChoice;
    // The kernel and its program's change count the views show.
    const Kernel* m_refreshedKernel = nullptr;
    std::int32_t m_refreshedCount = 0;
    ChartExport m_chartExport;
    TableExportFlow m_tableExport;
    // The wait indicator's Stop, for explanations under way.
    std::atomic<bool> m_explainStop{false};
    // The cause line shown last, for the cell and results it was made for.
    struct ShownCause {
        const Kernel* kernel = nullptr;
        std::int32_t changeCount = -1;
        CellPlace place;
        std::string line;
        // Where the cause begins in the line.
        std::int32_t linkStart = -1;
    } m_shownCause;
    DocumentFlow m_flow;
    FindPanel m_find{window(), *this};
    NameEditFlow m_nameEdits{window(), support(), *this,
                             [this](const Pointer<AbstractEditable>& view) { showView(view); }};
    DeleteFlow m_deletes{window(), support(), *this, m_nameEdits};
    ImportFlow m_import{window(), support(), *this, [this] { waitEnded(); },
                        [this] { afterEvent(); }};
    ZoomedWindow* m_zoom = nullptr;
    UserSettings m_user;
    std::string m_userSettingsPath;
    SettingsUse m_settingsUse = SettingsUse::Screenshot;
    std::optional<std::string> m_settingsNotice;
    // A settings file that cannot be written is told once.
    bool m_settingsWriteTold = false;
    PrintFlow m_print{window(), m_wait, [this] { waitEnded(); }};
};

}  // namespace qv

// The main panel's share of the user's settings: the zoom of the work
// area, its colours, File > Recent, the folder the file dialogs start in and the
// window's place, read at start and written whenever one changes (the
// window's place when the program ends). Writing is never in the way of
// work: a file that cannot be written is told once, and the program goes on.
#include <filesystem>

#include "core/Errors.h"
#include "desktop/ImportFlow.h"
#include "desktop/MainPanel.h"
#include "desktop/RecentDocuments.h"
#include "desktop/ZoomedWindow.h"

namespace qv {

namespace {

constexpr RecentMenuIds kRecentIds{MainPanel::kFirstRecentId,
                                   static_cast<std::int32_t>(MenuCommand::RecentRemoveMissing),
                                   static_cast<std::int32_t>(MenuCommand::RecentClear)};

std::string folderOf(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return {};
    return absolute.lexically_normal().parent_path().string();
}

}  // namespace

void MainPanel::attachZoom(ZoomedWindow& zoom) {
    m_zoom = &zoom;
    m_zoom->setPercent(m_user.zoomPercent);
}

void MainPanel::enableUserSettings(std::string path, SettingsUse use) {
    SettingsReading reading = readSettingsFile(path);
    m_userSettingsPath = std::move(path);
    m_settingsUse = use;
    m_user = reading.settings;
    // Nobody would see a notice in a screenshot.
    if (use == SettingsUse::Window) m_settingsNotice = reading.problem;
    if (m_zoom != nullptr) m_zoom->setPercent(m_user.zoomPercent);
    if (m_user.appearance != toolkit::Appearance::System) window().setAppearance(m_user.appearance);
    if (!m_user.lastFolder.empty()) window().setFileDialogFolder(m_user.lastFolder);
    if (use == SettingsUse::Window && m_user.window) {
        if (auto placed = placedOnScreen(*m_user.window, window().screenArea()))
            window().setGeometry(*placed);
    }
    buildMenus();
    window().setMenuBar(m_menus);
}

void MainPanel::saveUserSettings() {
    if (m_userSettingsPath.empty() || m_settingsUse != SettingsUse::Window) return;
    try {
        writeSettingsFile(m_userSettingsPath, m_user);
    } catch (const StringPointer& message) {
        if (m_settingsWriteTold) return;
        m_settingsWriteTold = true;
        m_settingsNotice = "The settings could not be saved (" +
                           (message.isNull() ? m_userSettingsPath : message->toStdString()) +
                           "). They stay as they are for this session.";
    }
}

void MainPanel::showSettingsNotice() {
    if (!m_settingsNotice || m_flow.state() != FlowState::Idle) return;
    std::string notice = std::move(*m_settingsNotice);
    m_settingsNotice.reset();
    window().showMessageBox(notice, kProductName, toolkit::MessageBoxKind::Notice);
}

toolkit::MenuItem MainPanel::appearanceMenuItem() const {
    using toolkit::Appearance;
    struct Choice {
        const char* caption;
        Appearance appearance;
    };
    static constexpr Choice kChoices[] = {{"&Desktop's Colours", Appearance::System},
                                          {"&Light", Appearance::Light},
                                          {"Dar&k", Appearance::Dark},
                                          {"&High Contrast", Appearance::HighContrast}};
    toolkit::MenuItem appearance;
    appearance.caption = "&Appearance";
    for (const Choice& choice : kChoices) {
        toolkit::MenuItem item;
        item.caption = choice.caption;
        item.id = static_cast<std::int32_t>(MenuCommand::AppearanceSystem) +
                  static_cast<std::int32_t>(choice.appearance);
        item.checkable = true;
        item.checked = m_user.appearance == choice.appearance;
        appearance.items.push_back(std::move(item));
    }
    return appearance;
}

void MainPanel::chooseAppearance(toolkit::Appearance appearance) {
    if (appearance == m_user.appearance) return;
    m_user.appearance = appearance;
    window().setAppearance(appearance);
    buildMenus();
    window().setMenuBar(m_menus);
    saveUserSettings();
}

toolkit::MenuItem MainPanel::recentMenuItem() const {
    return recentMenu(m_user.recent, kRecentIds, regularFileExists);
}

bool MainPanel::settingsMenuChosen(std::int32_t id) {
    if (id >= kFirstRecentId &&
        id < kFirstRecentId + static_cast<std::int32_t>(UserSettings::kMaxRecent)) {
        openRecent(static_cast<std::size_t>(id - kFirstRecentId));
        return true;
    }
    auto first = static_cast<std::int32_t>(MenuCommand::AppearanceSystem);
    if (id >= first && id <= static_cast<std::int32_t>(MenuCommand::AppearanceHighContrast)) {
        chooseAppearance(static_cast<toolkit::Appearance>(id - first));
        return true;
    }
    switch (static_cast<MenuCommand>(id)) {
        case MenuCommand::ZoomIn:
            zoomChanged(m_zoom != nullptr && m_zoom->zoomIn());
            return true;
        case MenuCommand::ZoomOut:
            zoomChanged(m_zoom != nullptr && m_zoom->zoomOut());
            return true;
        case MenuCommand::ZoomReset:
            zoomChanged(m_zoom != nullptr && m_zoom->setPercent(WorkAreaZoom::kNormalPercent));
            return true;
        case MenuCommand::RecentRemoveMissing:
            if (!forgetMissing(m_user.recent, regularFileExists)) return true;
            break;
        case MenuCommand::RecentClear:
            if (m_user.recent.empty()) return true;
            m_user.recent.clear();
            break;
        default:
            return false;
    }
    buildMenus();
    window().setMenuBar(m_menus);
    saveUserSettings();
    return true;
}

void MainPanel::zoomChanged(bool changed) {
    if (!changed) return;
    m_user.zoomPercent = m_zoom->zoom().percent();
    support().invalidateLayout();
    buildMenus();
    window().setMenuBar(m_menus);
    saveUserSettings();
}

void MainPanel::openRecent(std::size_t index) {
    if (index >= m_user.recent.size()) return;
    m_flow.openPath(m_user.recent[index]);
    // A document that went away since the menu was made shows greyed now.
    buildMenus();
    window().setMenuBar(m_menus);
}

// The menus are made again even when the list stays as it was: which of
// its documents are missing is looked at anew.
void MainPanel::documentPathUsed(const std::string& absolutePath) {
    std::vector<std::string> before = m_user.recent;
    rememberRecent(m_user.recent, absolutePath);
    buildMenus();
    window().setMenuBar(m_menus);
    if (m_user.recent != before) saveUserSettings();
}

void MainPanel::noteChosenFile(const toolkit::PostedMessage& message) {
    bool fileDialog = message.id == toolkit::kFileChosenMessage ||
                      message.id == ChartExport::kFileChosenMessage ||
                      message.id == TableExportFlow::kFileChosenMessage ||
                      message.id == ImportFlow::kFileChosenMessage;
    if (!fileDialog || message.text.empty()) return;
    std::string folder = folderOf(message.text);
    if (folder.empty() || folder == m_user.lastFolder || !isStorablePath(folder)) return;
    m_user.lastFolder = folder;
    window().setFileDialogFolder(folder);
    saveUserSettings();
}

void MainPanel::programEnding() {
    if (m_settingsUse != SettingsUse::Window) return;
    m_user.window = window().geometry();
    saveUserSettings();
}

}  // namespace qv

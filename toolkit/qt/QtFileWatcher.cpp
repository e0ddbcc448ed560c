#include "toolkit/qt/QtFileWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

namespace qv::toolkit {

namespace {

class QtFileWatcher final : public FileWatcher {
  public:
    QtFileWatcher(const std::string& path, std::function<void()> onChange)
        : m_path(QString::fromStdString(path)), m_changed(std::move(onChange)) {
        QFileInfo file(m_path);
        m_watcher.addPath(file.absolutePath());
        follow();
        QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, [this] { seen(); });
        QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, [this] { seen(); });
    }

  private:
    // An editor that saves by renaming a new file over the old one ends the
    // watch on the old file: the path is watched again whenever it names
    // a file.
    void follow() {
        if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
            m_watcher.addPath(m_path);
    }
    void seen() {
        follow();
        m_changed();
    }

    QString m_path;
    std::function<void()> m_changed;
    QFileSystemWatcher m_watcher;
};

}  // namespace

std::unique_ptr<FileWatcher> makeQtFileWatcher(const std::string& path,
                                               std::function<void()> changed) {
    return std::make_unique<QtFileWatcher>(path, std::move(changed));
}

}  // namespace qv::toolkit

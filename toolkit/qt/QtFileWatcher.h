// The file watcher of the Qt backend, over QFileSystemWatcher.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "toolkit/Window.h"

namespace qv::toolkit {

// Calls `changed` on the window's thread whenever the file or its folder
// changes (the folder too, so that a file replaced by a rename or removed
// and made again is still followed).
std::unique_ptr<FileWatcher> makeQtFileWatcher(const std::string& path,
                                               std::function<void()> changed);

}  // namespace qv::toolkit

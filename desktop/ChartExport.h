// Exporting a chart to a file with the desktop's wording of a failure, and
// the work area's "Export chart..." context menu with its save dialog.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "charts/ChartFile.h"
#include "toolkit/Window.h"
#include "views/ChartEditable.h"

namespace qv {

// Writes the chart of `model` at `size` to `path`; the reason it could not,
// or nothing when the file was written. On any failure the file is left as
// it was.
std::optional<std::string> exportChart(const Pointer<ChartModel>& model, toolkit::Size size,
                                       const std::string& path,
                                       const toolkit::ImageEncoder& encodePng);

// The chart a context menu at `hit` (the innermost editable under the
// pointer) is about: the chart itself, the one it lies in, or the view of
// the frame hit on its title bar; the null object elsewhere.
Pointer<ChartEditable> chartAt(const Pointer<AbstractEditable>& hit);

class ChartExport {
  public:
    // Beyond the ids of the menu bar's commands.
    static constexpr std::int32_t kMenuId = 200;
    // The save dialog's own reply, so that it never reaches the document's
    // commands (whose dialog may have been cancelled and still be awaited).
    static constexpr std::int32_t kFileChosenMessage = toolkit::kFileChosenMessage + 200;
    static constexpr std::string_view kMenuCaption = "&Export chart...";
    static constexpr std::string_view kFilter =
        "PNG Images(*.png),*.png,SVG Pictures(*.svg),*.svg,";
    static constexpr std::string_view kDefaultExtension = "png";
    static constexpr std::string_view kFailureNotice = "Can not export the chart:\n\n";

    explicit ChartExport(toolkit::Window& window) : m_window(window) {}
    ChartExport(const ChartExport&) = delete;
    ChartExport& operator=(const ChartExport&) = delete;

    // Shows the chart's context menu when `hit` is on a chart; false (and
    // nothing shown) elsewhere.
    bool offerMenu(const Pointer<AbstractEditable>& hit, toolkit::Point at);
    // The menu's item: asks where to write. False for any other item.
    bool menuChosen(std::int32_t id);
    // The file chosen in the save dialog: writes it, and tells the user
    // when that failed. False for any other message.
    bool handleMessage(const toolkit::PostedMessage& message);

  private:
    toolkit::Window& m_window;
    // What the menu was offered for: the chart's model and its size on
    // screen, which the exported picture keeps.
    Pointer<ChartModel> m_model;
    toolkit::Size m_size;
    bool m_awaitingFile = false;
};

}  // namespace qv

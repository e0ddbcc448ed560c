#include "desktop/ChartExport.h"

#include <new>

#include "desktop/DocumentTitle.h"
#include "editing/TitleDecorator.h"
#include "views/InnerViewEditable.h"

namespace qv {

std::optional<std::string> exportChart(const Pointer<ChartModel>& model, toolkit::Size size,
                                       const std::string& path,
                                       const toolkit::ImageEncoder& encodePng) {
    try {
        std::optional<ChartFileFailure> failure =
            writeChartFile(ChartPicture(model, size), path, encodePng);
        if (!failure) return std::nullopt;
        return failure->message;
    } catch (const StringPointer& message) {
        return message->toStdString();
    } catch (const std::bad_alloc&) {
        return "can not write " + path + ": out of memory";
    }
}

Pointer<ChartEditable> chartAt(const Pointer<AbstractEditable>& hit) {
    for (AbstractEditable* at = hit.isNull() ? nullptr : hit.get(); at != nullptr;
         at = at->parent()) {
        Pointer<AbstractEditable> editable(at);
        if (auto chart = cast<ChartEditable>(editable); !chart.isNull()) return chart;
        // A frame ends the search: the views around it are not its chart.
        if (auto frame = cast<TitleDecorator>(editable); !frame.isNull()) {
            // A chart of a named table shows its chart inside a view of its own.
            auto shows = cast<InnerViewEditable>(frame->view());
            return cast<ChartEditable>(shows.isNull() ? frame->view() : shows->innerView());
        }
    }
    return {};
}

bool ChartExport::offerMenu(const Pointer<AbstractEditable>& hit, toolkit::Point at) {
    // A chart kept from an earlier menu would hold its document's results.
    m_model = {};
    m_awaitingFile = false;
    Pointer<ChartEditable> chart = chartAt(hit);
    if (chart.isNull()) return false;
    m_model = chart->model();
    m_size = {chart->bounds().width, chart->bounds().height};
    m_window.popupMenu({toolkit::MenuItem{std::string(kMenuCaption), kMenuId, {}, {}}}, at);
    return true;
}

bool ChartExport::menuChosen(std::int32_t id) {
    if (id != kMenuId || m_model.isNull()) return false;
    toolkit::FileDialogRequest request;
    request.save = true;
    request.filter = kFilter;
    request.defaultExtension = kDefaultExtension;
    request.replyMessage = kFileChosenMessage;
    m_awaitingFile = true;
    m_window.showFileDialog(request);
    return true;
}

bool ChartExport::handleMessage(const toolkit::PostedMessage& message) {
    if (message.id != kFileChosenMessage) return false;
    if (!m_awaitingFile || m_model.isNull()) return true;
    m_awaitingFile = false;
    Pointer<ChartModel> model = m_model;
    m_model = {};
    toolkit::Window& window = m_window;
    auto encodePng = [&window](toolkit::Size size, const toolkit::ImagePainter& paint,
                               std::string& bytes, std::string& error) {
        return window.encodeImage(size, paint, bytes, error);
    };
    if (std::optional<std::string> failure = exportChart(model, m_size, message.text, encodePng))
        m_window.showMessageBox(std::string(kFailureNotice) + *failure, kProductName,
                                toolkit::MessageBoxKind::Notice);
    return true;
}

}  // namespace qv

#include "toolkit/qt/QtPrinting.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSize>
#include <memory>
#include <optional>

#include "toolkit/qt/QtGraphics.h"

namespace qv::toolkit {

namespace {

constexpr double kScreenDpi = 96.0;
constexpr double kMarginMillimetres = 15.0;
constexpr QSize kPreviewSize{820, 900};

void useA4(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter));
}

// The pages of one painter over a paged device. The device starts on its
// first page, so every page after it is asked for with newPage.
class QtPageSink final : public PageSink {
  public:
    QtPageSink(QPagedPaintDevice& device, QPainter& painter)
        : m_device(device), m_painter(painter) {
        double scale = device.logicalDpiX() / kScreenDpi;
        QRectF printable = device.pageLayout().paintRectPixels(device.logicalDpiX());
        m_size = {static_cast<std::int32_t>(printable.width() / scale),
                  static_cast<std::int32_t>(printable.height() / scale)};
        m_painter.scale(scale, scale);
    }

    Size pageSize() const override { return m_size; }

    Graphics& beginPage() override {
        if (m_pages++ > 0) m_device.newPage();
        m_graphics.emplace(m_painter, m_size, TextShaping::Simple);
        return *m_graphics;
    }

    void endPage() override { m_graphics.reset(); }

  private:
    QPagedPaintDevice& m_device;
    QPainter& m_painter;
    Size m_size;
    std::int32_t m_pages = 0;
    std::optional<QtGraphics> m_graphics;
};

// Paints every page onto the device; false when `paint` stopped.
bool paintPages(QPagedPaintDevice& device, const PagePainter& paint, std::string& error) {
    QPainter painter;
    if (!painter.begin(&device)) {
        error = "the pages could not be started";
        return false;
    }
    bool whole = false;
    {
        QtPageSink sink(device, painter);
        whole = paint(sink);
    }
    painter.end();
    return whole;
}

}  // namespace

bool encodePdfDocument(std::string_view title, const PagePainter& paint, std::string& bytes,
                       std::string& error) {
    error.clear();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
        writer.setCreator(QStringLiteral("Quorvatelle"));
        writer.setResolution(300);
        useA4(writer);
        if (!paintPages(writer, paint, error)) return false;
    }
    const QByteArray& data = buffer.data();
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
}

void showPrintPreview(QWidget* parent, std::string_view title, PagePainter paint) {
    // The printer lives as long as the dialog that prints on it.
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    useA4(*printer);
    auto* dialog = new QPrintPreviewDialog(printer.get(), parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    // Large enough to read a page at its first zoom.
    dialog->resize(kPreviewSize);
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [printer, paint = std::move(paint)](QPrinter* target) {
                         std::string error;
                         paintPages(*target, paint, error);
                     });
    dialog->open();
}

}  // namespace qv::toolkit

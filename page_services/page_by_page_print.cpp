#include "page_services/page_by_page_print.h"

#include "page_services/print_plan.h"

#include <QPdfDocument>
#include <QPrinter>

namespace quillo::page_services {

PageByPagePrint::PageByPagePrint(QPdfDocument& document, QPrinter& printer, Done done, QObject* parent)
    : QObject(parent)
    , m_document(document)
    , m_printer(printer)
    , m_done(std::move(done)) {
    std::vector<PrintRange> ranges;
    for (const QPageRanges::Range& range : printer.pageRanges().toRangeList())
        ranges.push_back({range.from, range.to});
    m_pages = pagesToPrint(document.pageCount(), ranges);
    m_renderer.setDocument(&document);
    m_renderer.setRenderMode(QPdfPageRenderer::RenderMode::MultiThreaded);
    connect(&m_renderer, &QPdfPageRenderer::pageRendered, this, &PageByPagePrint::paint);
}

PageByPagePrint::~PageByPagePrint() {
    if (m_painter.isActive()) {
        m_printer.abort();
        m_painter.end();
    }
}

bool PageByPagePrint::start() {
    if (m_pages.empty() || !m_painter.begin(&m_printer))
        return false;
    requestNext();
    return true;
}

void PageByPagePrint::requestNext() {
    const int page = m_pages[m_next];
    const QSizeF points = m_document.pagePointSize(page);
    m_request = m_renderer.requestPage(page, (points * kDpi / 72.0).toSize());
}

void PageByPagePrint::paint(int, QSize, const QImage& image, QPdfDocumentRenderOptions, quint64 requestId) {
    if (requestId != m_request || !m_painter.isActive())
        return;
    if (m_next > 0 && !m_printer.newPage()) {
        m_painter.end();
        m_done(false);
        return;
    }
    // The engine's page already holds its margins: it covers the whole sheet.
    if (!image.isNull()) {
        const QRectF paper = m_printer.paperRect(QPrinter::DevicePixel);
        m_painter.drawImage(
            QRectF(QPointF(0, 0), QSizeF(image.size()).scaled(paper.size(), Qt::KeepAspectRatio)), image);
    }
    if (++m_next < m_pages.size()) {
        requestNext();
        return;
    }
    m_done(m_painter.end());
}

} // namespace quillo::page_services

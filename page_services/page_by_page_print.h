#pragma once

#include <QObject>
#include <QPainter>
#include <QPdfPageRenderer>
#include <functional>
#include <vector>

class QPdfDocument;
class QPrinter;

namespace quillo::page_services {

// Sends a document to a printer a page at a time: the PDF library draws each page on a thread of
// its own, and the page is painted and let go before the next is asked for, so a long print holds
// one page image and the client's windows go on between pages. The printer's page ranges choose
// the pages.
class PageByPagePrint final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageByPagePrint)

public:
    // completed: every page went to the printer.
    using Done = std::function<void(bool completed)>;
    // A printer's page is drawn at this resolution: enough for paper, and it is one page at a time.
    static constexpr int kDpi = 300;

    PageByPagePrint(QPdfDocument& document, QPrinter& printer, Done done, QObject* parent);
    // A print that has not ended is called off: the printer gets nothing.
    ~PageByPagePrint() override;

    // Asks for the first page; false when there is nothing to print or the printer cannot start.
    bool start();

    std::size_t printed() const { return m_next; }
    std::size_t total() const { return m_pages.size(); }

private:
    void requestNext();
    void paint(int page, QSize size, const QImage& image, QPdfDocumentRenderOptions options,
               quint64 requestId);

    QPdfDocument& m_document;
    QPrinter& m_printer;
    Done m_done;
    QPdfPageRenderer m_renderer;
    QPainter m_painter;
    std::vector<int> m_pages;
    std::size_t m_next = 0;
    quint64 m_request = 0;
};

} // namespace quillo::page_services

#pragma once

#include <QObject>
#include <functional>

class QWebEnginePage;
class QWidget;

namespace quillo::page_services {

// window.print() as a browser answers it: the page is laid out for paper by the engine, shown in a
// preview, and printed from there, a printer or a PDF file, as the operator chooses. One print
// question per page at a time; what a page asks meanwhile is dropped with one line in the log.
// However long the page, the client holds the engine's PDF and a few drawn pages at most: the
// preview draws the pages on screen, and a printer gets one page drawn at a time.
class PagePrinter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PagePrinter)

public:
    // The window a page without a view of its own prints from; null when there is none.
    using FallbackParent = std::function<QWidget*()>;
    // The folder a print to a file is offered in, made when missing.
    using FileFolder = std::function<QString()>;

    PagePrinter(FallbackParent fallbackParent, FileFolder fileFolder, QObject* parent);
    ~PagePrinter() override;

    // Hooks the page's print requests; the state of its print is the page's own and goes with it.
    void attachPage(QWebEnginePage& page);

private:
    void onPrintRequested(QWebEnginePage& page);
    void showPreview(QWebEnginePage& page, QObject& printState, const QByteArray& pdf);

    FallbackParent m_fallbackParent;
    FileFolder m_fileFolder;
};

} // namespace quillo::page_services

#pragma once

#include <QObject>
#include <functional>
#include <map>

class QWebEnginePage;
class QWidget;

namespace quillo::page_services {

// window.print() as a browser answers it: the page is laid out for paper by the engine, shown in a
// preview, and printed from there, a printer or a PDF file, as the operator chooses. One print
// question per page at a time; what a page asks meanwhile is dropped with one line in the log.
class PagePrinter final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PagePrinter)

public:
    // The window a page without a view of its own prints from; null when there is none.
    using FallbackParent = std::function<QWidget*()>;

    PagePrinter(FallbackParent fallbackParent, QObject* parent);
    ~PagePrinter() override;

    // Hooks the page's print requests; its state goes when the page does.
    void attachPage(QWebEnginePage& page);

private:
    void onPrintRequested(QWebEnginePage& page);
    void showPreview(QWebEnginePage& page, const QByteArray& pdf);
    void finished(const QWebEnginePage* page);

    FallbackParent m_fallbackParent;
    // Pages whose print is being prepared or whose preview is open, with whether a dropped request
    // has been logged since.
    std::map<const QWebEnginePage*, bool> m_busy;
};

} // namespace quillo::page_services

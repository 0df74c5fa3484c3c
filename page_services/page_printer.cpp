#include "page_services/page_printer.h"

#include "page_services/page_services.h"
#include "page_services/web_log.h"
#include "page_services/web_policy.h"
#include "page_services/window_modality.h"

#include <QBuffer>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfDocument>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

namespace quillo::page_services {

namespace {

constexpr char kPreviewTitle[] = "Print preview";
// The resolution pages are drawn at: enough to read in the preview, enough for paper, and no more,
// since every page is an image this size while the preview is open.
constexpr int kPreviewDpi = 150;
constexpr int kPrintDpi = 300;
// A browser's default margins, so nothing is cut at the edge of a printer's reach.
constexpr qreal kMarginMm = 10;

// Where a print to a file goes on a machine without printers: the Downloads folder, named after the
// page, never over a file that is there.
QString defaultPdfPath(const QString& title) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    const std::string name =
        safeDownloadName((title.isEmpty() ? QStringLiteral("page") : title).toStdString() + ".pdf");
    const QDir dir(folder);
    const std::optional<std::string> free = freeDownloadName(
        name, [&dir](const std::string& candidate) { return dir.exists(QString::fromStdString(candidate)); });
    return dir.filePath(QString::fromStdString(free.value_or(name)));
}

// The preview of one page laid out for paper, and the way on to the print dialog.
class PrintPreview final : public QDialog {
public:
    PrintPreview(QWebEnginePage& page, const QByteArray& pdf, std::unique_ptr<QPrinter> printer,
                 QWidget* parent)
        : QDialog(parent)
        , m_page(&page)
        , m_pdf(pdf)
        , m_printer(std::move(printer)) {
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(QString::fromLatin1(kPreviewTitle));
        m_buffer.setData(m_pdf);
        m_buffer.open(QIODevice::ReadOnly);
        m_document.load(&m_buffer);

        m_preview = new QPrintPreviewWidget(m_printer.get(), this);
        connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &PrintPreview::paintPages);
        auto* buttons = new QDialogButtonBox(this);
        QPushButton* print = buttons->addButton(tr("Print..."), QDialogButtonBox::AcceptRole);
        buttons->addButton(QDialogButtonBox::Cancel);
        print->setDefault(true);
        print->setFocus();
        connect(print, &QPushButton::clicked, this, &PrintPreview::askPrinter);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_preview, 1);
        layout->addWidget(buttons);
        resize(720, 860);
    }

    int pageCount() const { return m_document.pageCount(); }

private:
    void askPrinter() {
        if (m_printDialog) {
            m_printDialog->raise();
            m_printDialog->activateWindow();
            return;
        }
        m_printDialog = new QPrintDialog(m_printer.get(), this);
        m_printDialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_printDialog, &QDialog::accepted, this, &PrintPreview::print);
        // Modal to the preview alone: the console and every other window go on meanwhile.
        makeModalToWindowOnly(*m_printDialog, *this);
        m_printDialog->show();
    }

    void print() {
        const QString origin = m_page ? PageServices::originText(m_page->url()) : QString();
        if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty()) {
            // A file gets the engine's own PDF, laid out anew for the chosen paper: its text stays
            // text, as a browser's "save as PDF" keeps it.
            if (m_page) {
                qCInfo(lcWeb).noquote()
                    << "page from" << origin << "printing to" << m_printer->outputFileName();
                QPageLayout layout = m_printer->pageLayout();
                m_page->printToPdf(m_printer->outputFileName(), layout, m_printer->pageRanges());
            }
        } else {
            m_printing = true;
            m_preview->print();
            m_printing = false;
            qCInfo(lcWeb).noquote() << "page from" << origin << "sent to the printer"
                                    << m_printer->printerName();
        }
        accept();
    }

    void paintPages(QPrinter* printer) {
        QPainter painter;
        if (m_document.pageCount() <= 0 || !painter.begin(printer))
            return;
        const int dpi = m_printing ? kPrintDpi : kPreviewDpi;
        const QRectF paper = printer->paperRect(QPrinter::DevicePixel);
        const QPageRanges ranges = printer->pageRanges();
        bool first = true;
        for (int index = 0; index < m_document.pageCount(); ++index) {
            if (!ranges.isEmpty() && !ranges.contains(index + 1))
                continue;
            if (!first)
                printer->newPage();
            first = false;
            // The engine's page already holds its margins: it covers the whole sheet.
            const QSizeF points = m_document.pagePointSize(index);
            const QImage image = m_document.render(index, (points * dpi / 72.0).toSize());
            if (image.isNull())
                continue;
            const QSizeF fitted = QSizeF(image.size()).scaled(paper.size(), Qt::KeepAspectRatio);
            painter.drawImage(QRectF(QPointF(0, 0), fitted), image);
        }
    }

    QPointer<QWebEnginePage> m_page;
    QByteArray m_pdf;
    QBuffer m_buffer;
    QPdfDocument m_document;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget* m_preview = nullptr;
    QPointer<QPrintDialog> m_printDialog;
    bool m_printing = false;
};

} // namespace

PagePrinter::PagePrinter(FallbackParent fallbackParent, QObject* parent)
    : QObject(parent)
    , m_fallbackParent(std::move(fallbackParent)) {}

PagePrinter::~PagePrinter() = default;

void PagePrinter::attachPage(QWebEnginePage& page) {
    connect(&page, &QWebEnginePage::printRequested, this, [this, page = &page] { onPrintRequested(*page); });
    connect(&page, &QWebEnginePage::pdfPrintingFinished, this,
            [page = &page](const QString& filePath, bool success) {
                if (success)
                    qCInfo(lcWeb).noquote()
                        << "page from" << PageServices::originText(page->url()) << "printed to" << filePath;
                else
                    qCWarning(lcWeb).noquote() << "page from" << PageServices::originText(page->url())
                                               << "could not be printed to" << filePath;
            });
    connect(&page, &QObject::destroyed, this, [this, key = &page] { m_busy.erase(key); });
}

void PagePrinter::onPrintRequested(QWebEnginePage& page) {
    const auto [busy, fresh] = m_busy.try_emplace(&page, false);
    if (!fresh) {
        // A page that prints in a loop gets one question and one line.
        if (!busy->second)
            qCInfo(lcWeb).noquote() << "print request from" << PageServices::originText(page.url())
                                    << "dropped: its print question is open; further ones go unlogged"
                                    << "until it closes";
        busy->second = true;
        return;
    }
    // Laid out as the paper will be, with a browser's margins, for the printer the dialog starts on.
    QPrinter printer;
    printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
    page.printToPdf(
        [self = QPointer<PagePrinter>(this),
         target = QPointer<QWebEnginePage>(&page)](const QByteArray& pdf) {
            if (self && target)
                self->showPreview(*target, pdf);
        },
        printer.pageLayout());
}

void PagePrinter::showPreview(QWebEnginePage& page, const QByteArray& pdf) {
    const QString origin = PageServices::originText(page.url());
    QWidget* parent = nullptr;
    if (QWebEngineView* view = QWebEngineView::forPage(&page))
        parent = view;
    else if (m_fallbackParent)
        parent = m_fallbackParent();
    if (pdf.isEmpty() || parent == nullptr) {
        qCWarning(lcWeb).noquote() << "print request from" << origin << "failed:"
                                   << (pdf.isEmpty() ? "the page could not be laid out for paper"
                                                     : "no window to ask in");
        finished(&page);
        return;
    }

    auto printer = std::make_unique<QPrinter>();
    printer->setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
    printer->setFullPage(true);
    printer->setDocName(page.title());
    // With no printer installed, the one way out is a PDF file; the dialog starts there.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(defaultPdfPath(page.title()));
    }
    auto* preview = new PrintPreview(page, pdf, std::move(printer), parent);
    // Parented to the page's view, so it goes with it, but a window of its own.
    preview->setWindowFlag(Qt::Dialog);
    connect(preview, &QObject::destroyed, this, [this, key = &page] { finished(key); });
    preview->show();
    preview->raise();
    preview->activateWindow();
    qCInfo(lcWeb).noquote() << "print preview of" << preview->pageCount() << "pages shown for" << origin;
}

void PagePrinter::finished(const QWebEnginePage* page) {
    m_busy.erase(page);
}

} // namespace quillo::page_services

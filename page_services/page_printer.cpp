#include "page_services/page_printer.h"

#include "page_services/page_by_page_print.h"
#include "page_services/page_services.h"
#include "page_services/web_log.h"
#include "page_services/web_policy.h"
#include "page_services/window_modality.h"

#include <QAbstractScrollArea>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfPageRenderer>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <vector>

namespace quillo::page_services {

namespace {

// A browser's default margins, so nothing is cut at the edge of a printer's reach.
constexpr qreal kMarginMm = 10;

// Where a print to a file goes on a machine without printers: the download folder, named after
// the page, never over a file that is there.
QString defaultPdfPath(const QString& folder, const QString& title) {
    const std::string name =
        safeDownloadName((title.isEmpty() ? QStringLiteral("page") : title).toStdString() + ".pdf");
    const QDir dir(folder);
    const std::optional<std::string> free = freeDownloadName(
        name, [&dir](const std::string& candidate) { return dir.exists(QString::fromStdString(candidate)); });
    return dir.filePath(QString::fromStdString(free.value_or(name)));
}

} // namespace

// A page's print from its request until its preview closes; the page owns it, so a page made
// later, wherever it lives, starts without it.
class PrintState final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrintState)

public:
    explicit PrintState(QWebEnginePage& page)
        : QObject(&page) {}

    // Whether a request dropped meanwhile has been logged.
    bool dropLogged = false;
};

namespace {

// The pages of the preview one under another, as a browser shows them. Only the pages in sight are
// drawn, by the PDF library on a thread of its own, and the last few drawn are kept. Every page
// takes the place of the first, as the engine lays them all out for one paper: placing a thousand
// pages costs no more than placing one, where a view that measures each page stalls the client.
class PreviewPages final : public QAbstractScrollArea {
public:
    PreviewPages(QPdfDocument& document, QWidget* parent)
        : QAbstractScrollArea(parent)
        , m_document(document) {
        const QSizeF first = document.pageCount() > 0 ? document.pagePointSize(0) : QSizeF();
        if (first.width() > 0 && first.height() > 0)
            m_paper = first;
        m_renderer.setDocument(&document);
        m_renderer.setRenderMode(QPdfPageRenderer::RenderMode::MultiThreaded);
        connect(&m_renderer, &QPdfPageRenderer::pageRendered, this, &PreviewPages::rendered);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFocusPolicy(Qt::StrongFocus);
        viewport()->setBackgroundRole(QPalette::Dark);
        viewport()->setAutoFillBackground(true);
        verticalScrollBar()->setSingleStep(40);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QAbstractScrollArea::resizeEvent(event);
        const int pitch = pageSize().height() + kSpacing;
        verticalScrollBar()->setRange(
            0, std::max(0, kSpacing + m_document.pageCount() * pitch - viewport()->height()));
        verticalScrollBar()->setPageStep(viewport()->height());
    }

    void scrollContentsBy(int, int) override { viewport()->update(); }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(viewport());
        const QSize size = pageSize();
        const int pitch = size.height() + kSpacing;
        const int top = verticalScrollBar()->value();
        const int first = std::max(0, (top - kSpacing) / pitch);
        const int last = std::min(m_document.pageCount() - 1, (top + viewport()->height()) / pitch);
        for (int index = first; index <= last; ++index) {
            const QRect place(kSpacing, kSpacing + index * pitch - top, size.width(), size.height());
            painter.fillRect(place, Qt::white);
            const auto kept = m_kept.find(index);
            if (kept != m_kept.end())
                painter.drawImage(place, kept->second);
            if (kept == m_kept.end() || kept->second.size() != imageSize())
                request(index, imageSize());
        }
    }

private:
    static constexpr int kSpacing = 10;
    static constexpr std::size_t kKeptPages = 12;

    QSize pageSize() const {
        const int width = std::max(1, viewport()->width() - 2 * kSpacing);
        return {width, std::max(1, int(width * m_paper.height() / m_paper.width()))};
    }

    // Pixels for the screen's pixels, so the text stays sharp where a point is more than one.
    QSize imageSize() const { return (QSizeF(pageSize()) * devicePixelRatioF()).toSize(); }

    void request(int index, QSize size) {
        const auto asked = m_asked.find(index);
        if (asked != m_asked.end() && asked->second == size)
            return;
        m_asked[index] = size;
        m_renderer.requestPage(index, size);
    }

    void rendered(int index, QSize size, const QImage& image, QPdfDocumentRenderOptions, quint64) {
        m_asked.erase(index);
        // A page the library could not draw stays blank rather than being asked for again.
        if (image.isNull())
            return;
        // A page drawn for a width the preview no longer has is drawn again when it is in sight.
        if (size != imageSize()) {
            viewport()->update();
            return;
        }
        m_kept[index] = image;
        m_order.erase(std::remove(m_order.begin(), m_order.end(), index), m_order.end());
        m_order.push_back(index);
        while (m_order.size() > kKeptPages) {
            m_kept.erase(m_order.front());
            m_order.pop_front();
        }
        viewport()->update();
    }

    QPdfDocument& m_document;
    QPdfPageRenderer m_renderer;
    // A4 until the document says otherwise.
    QSizeF m_paper{595, 842};
    std::map<int, QImage> m_kept;
    std::deque<int> m_order;
    // Pages asked of the renderer and not yet drawn, with the size asked for.
    std::map<int, QSize> m_asked;
};

// The preview of one page laid out for paper, and the way on to the print dialog.
class PrintPreview final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrintPreview)

public:
    PrintPreview(QWebEnginePage& page, std::unique_ptr<QTemporaryFile> pdf, std::unique_ptr<QPrinter> printer,
                 QWidget* parent)
        : QDialog(parent)
        , m_page(&page)
        , m_pdf(std::move(pdf))
        , m_printer(std::move(printer)) {
        setAttribute(Qt::WA_DeleteOnClose);
        setWindowTitle(tr("Print preview"));
        m_document.load(m_pdf->fileName());

        m_view = new PreviewPages(m_document, this);
        m_progress = new QLabel(this);
        m_progress->hide();
        auto* buttons = new QDialogButtonBox(this);
        m_print = buttons->addButton(tr("Print..."), QDialogButtonBox::AcceptRole);
        buttons->addButton(QDialogButtonBox::Cancel);
        m_print->setDefault(true);
        m_print->setFocus();
        connect(m_print, &QPushButton::clicked, this, &PrintPreview::askPrinter);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_view, 1);
        layout->addWidget(m_progress);
        layout->addWidget(buttons);
        resize(720, 860);
    }

    // The view and a print under way read the document: they go before it.
    ~PrintPreview() override {
        if (m_job && !m_jobEnded)
            qCInfo(lcWeb).noquote() << "print of the page from" << origin() << "called off after"
                                    << m_job->printed() << "of" << m_job->total() << "pages";
        m_job.reset();
        delete m_view;
    }

    int pageCount() const { return m_document.pageCount(); }

private:
    QString origin() const { return m_page ? PageServices::originText(m_page->url()) : QString(); }

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
        if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty()) {
            // A file gets the engine's own PDF, laid out anew for the chosen paper: its text stays
            // text, as a browser's "save as PDF" keeps it, and the engine writes it.
            if (m_page) {
                qCInfo(lcWeb).noquote()
                    << "page from" << origin() << "printing to" << m_printer->outputFileName();
                m_page->printToPdf(m_printer->outputFileName(), m_printer->pageLayout(),
                                   m_printer->pageRanges());
            }
            accept();
            return;
        }
        m_job = std::make_unique<PageByPagePrint>(
            m_document, *m_printer, [this](bool completed) { printed(completed); }, nullptr);
        if (!m_job->start()) {
            qCWarning(lcWeb).noquote()
                << "page from" << origin() << "could not be sent to the printer" << m_printer->printerName();
            m_job.reset();
            return;
        }
        m_print->setEnabled(false);
        m_progress->show();
        m_progress->setText(tr("Printing %n page(s)...", nullptr, int(m_job->total())));
    }

    void printed(bool completed) {
        m_jobEnded = true;
        if (completed)
            qCInfo(lcWeb).noquote() << "page from" << origin() << "sent to the printer"
                                    << m_printer->printerName();
        else
            qCWarning(lcWeb).noquote()
                << "page from" << origin() << "could not be printed on" << m_printer->printerName() << "after"
                << m_job->printed() << "of" << m_job->total() << "pages";
        // Not from within the job's own call.
        QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
    }

    QPointer<QWebEnginePage> m_page;
    std::unique_ptr<QTemporaryFile> m_pdf;
    QPdfDocument m_document;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<PageByPagePrint> m_job;
    PreviewPages* m_view = nullptr;
    QLabel* m_progress = nullptr;
    QPushButton* m_print = nullptr;
    QPointer<QPrintDialog> m_printDialog;
    bool m_jobEnded = false;
};

} // namespace

PagePrinter::PagePrinter(FallbackParent fallbackParent, FileFolder fileFolder, QObject* parent)
    : QObject(parent)
    , m_fallbackParent(std::move(fallbackParent))
    , m_fileFolder(std::move(fileFolder)) {}

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
}

void PagePrinter::onPrintRequested(QWebEnginePage& page) {
    if (auto* busy = page.findChild<PrintState*>(QString(), Qt::FindDirectChildrenOnly)) {
        // A page that prints in a loop gets one question and one line.
        if (!busy->dropLogged)
            qCInfo(lcWeb).noquote() << "print request from" << PageServices::originText(page.url())
                                    << "dropped: its print question is open; further ones go unlogged"
                                    << "until it closes";
        busy->dropLogged = true;
        return;
    }
    auto* state = new PrintState(page);
    // Laid out as the paper will be, with a browser's margins, for the printer the dialog starts on.
    QPrinter printer;
    printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
    page.printToPdf(
        [self = QPointer<PagePrinter>(this), target = QPointer<QWebEnginePage>(&page),
         state = QPointer<PrintState>(state)](const QByteArray& pdf) {
            if (self && target && state)
                self->showPreview(*target, *state, pdf);
        },
        printer.pageLayout());
}

void PagePrinter::showPreview(QWebEnginePage& page, QObject& printState, const QByteArray& pdf) {
    const QString origin = PageServices::originText(page.url());
    QWidget* parent = nullptr;
    if (QWebEngineView* view = QWebEngineView::forPage(&page))
        parent = view;
    else if (m_fallbackParent)
        parent = m_fallbackParent();
    // The preview reads the pages from a file as it draws them, rather than from a copy held here.
    auto file = std::make_unique<QTemporaryFile>();
    const char* failure = nullptr;
    if (pdf.isEmpty())
        failure = "the page could not be laid out for paper";
    else if (parent == nullptr)
        failure = "no window to ask in";
    else if (!file->open() || file->write(pdf) != pdf.size() || !file->flush())
        failure = "its pages could not be kept for the preview";
    if (failure != nullptr) {
        qCWarning(lcWeb).noquote() << "print request from" << origin << "failed:" << failure;
        delete &printState;
        return;
    }

    auto printer = std::make_unique<QPrinter>();
    printer->setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
    printer->setFullPage(true);
    printer->setDocName(page.title());
    // With no printer installed, the one way out is a PDF file; the dialog starts there, in a
    // folder that exists, as it refuses a file it cannot create.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(defaultPdfPath(m_fileFolder(), page.title()));
    }
    auto* preview = new PrintPreview(page, std::move(file), std::move(printer), parent);
    // Parented to the page's view, so it goes with it, but a window of its own.
    preview->setWindowFlag(Qt::Dialog);
    connect(preview, &QObject::destroyed, &printState, &QObject::deleteLater);
    preview->show();
    preview->raise();
    preview->activateWindow();
    qCInfo(lcWeb).noquote() << "print preview of" << preview->pageCount() << "pages shown for" << origin;
}

} // namespace quillo::page_services

#include "page_printer.moc"

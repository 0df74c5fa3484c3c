#include "page_services/download_notice.h"

#include "page_services/web_log.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>

namespace quillo::page_services {

DownloadNotice::DownloadNotice(QWebEngineDownloadRequest& download, const QString& path, QWidget* parent)
    : QDialog(parent)
    , m_path(path) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Download"));
    setModal(false);

    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);
    m_progress = new QProgressBar(this);
    auto* buttons = new QDialogButtonBox(this);
    m_openFolder = buttons->addButton(tr("Open folder"), QDialogButtonBox::ActionRole);
    m_cancelOrClose = buttons->addButton(QDialogButtonBox::Cancel);
    connect(m_openFolder, &QPushButton::clicked, this, &DownloadNotice::openFolder);
    connect(m_cancelOrClose, &QPushButton::clicked, this, [this] {
        if (m_download && !m_download->isFinished())
            m_download->cancel();
        else
            close();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addWidget(buttons);
    setMinimumWidth(360);

    follow(download);
}

DownloadNotice::~DownloadNotice() = default;

void DownloadNotice::follow(QWebEngineDownloadRequest& download) {
    if (m_download)
        m_download->disconnect(this);
    m_download = &download;
    connect(&download, &QWebEngineDownloadRequest::receivedBytesChanged, this, &DownloadNotice::update);
    connect(&download, &QWebEngineDownloadRequest::totalBytesChanged, this, &DownloadNotice::update);
    connect(&download, &QWebEngineDownloadRequest::stateChanged, this, &DownloadNotice::update);
    connect(&download, &QWebEngineDownloadRequest::isFinishedChanged, this, &DownloadNotice::update);
    update();
}

void DownloadNotice::update() {
    if (!m_download)
        return;
    const QString name = QFileInfo(m_path).fileName();
    const qint64 total = m_download->totalBytes();
    switch (m_download->state()) {
    case QWebEngineDownloadRequest::DownloadRequested:
    case QWebEngineDownloadRequest::DownloadInProgress:
        m_status->setText(tr("Downloading %1").arg(name));
        // An unknown size shows a busy bar rather than one stuck at nothing.
        m_progress->setRange(0, total > 0 ? 1000 : 0);
        if (total > 0)
            m_progress->setValue(int(m_download->receivedBytes() * 1000 / total));
        return;
    case QWebEngineDownloadRequest::DownloadCompleted:
        // Saved only once the owner has moved the file into place and called showSaved().
        m_progress->setRange(0, 1);
        m_progress->setValue(1);
        return;
    case QWebEngineDownloadRequest::DownloadCancelled:
        showFailed(tr("it was cancelled"));
        return;
    case QWebEngineDownloadRequest::DownloadInterrupted:
        // The engine may still take it up again by itself.
        if (m_download->isFinished())
            showFailed(m_download->interruptReasonString());
        return;
    }
}

void DownloadNotice::showSaved(const QString& path) {
    m_path = path;
    m_status->setText(tr("Saved %1 in %2").arg(QFileInfo(path).fileName(), QFileInfo(path).absolutePath()));
    m_progress->setRange(0, 1);
    m_progress->setValue(1);
    showFinished();
}

void DownloadNotice::showFailed(const QString& reason) {
    m_status->setText(tr("The download of %1 did not arrive: %2").arg(QFileInfo(m_path).fileName(), reason));
    m_progress->hide();
    showFinished();
}

void DownloadNotice::showFinished() {
    // The notice now only informs, and Enter opens the folder.
    m_cancelOrClose->setText(tr("Close"));
    m_openFolder->setDefault(true);
    m_openFolder->setFocus();
    m_download = nullptr;
}

void DownloadNotice::openFolder() {
    const QString folder = QFileInfo(m_path).absolutePath();
    qCInfo(lcWeb) << "opening download folder" << folder;
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

} // namespace quillo::page_services

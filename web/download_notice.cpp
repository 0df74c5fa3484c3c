#include "web/download_notice.h"

#include "web/web_log.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>

namespace quillo::web {

DownloadNotice::DownloadNotice(QWebEngineDownloadRequest& download, const QString& path, QWidget* parent)
    : QDialog(parent)
    , m_download(&download)
    , m_path(path) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromLatin1(kTitle));
    setModal(false);

    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);
    m_progress = new QProgressBar(this);
    auto* buttons = new QDialogButtonBox(this);
    m_openFolder = buttons->addButton(QString::fromLatin1(kOpenFolder), QDialogButtonBox::ActionRole);
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

    connect(&download, &QWebEngineDownloadRequest::receivedBytesChanged, this, &DownloadNotice::update);
    connect(&download, &QWebEngineDownloadRequest::totalBytesChanged, this, &DownloadNotice::update);
    connect(&download, &QWebEngineDownloadRequest::stateChanged, this, &DownloadNotice::update);
    update();
}

DownloadNotice::~DownloadNotice() = default;

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
        m_status->setText(tr("Saved %1 in %2").arg(name, QFileInfo(m_path).absolutePath()));
        m_progress->setRange(0, 1);
        m_progress->setValue(1);
        qCInfo(lcWeb) << "download saved:" << m_path;
        break;
    case QWebEngineDownloadRequest::DownloadCancelled:
        m_status->setText(tr("The download of %1 was cancelled.").arg(name));
        m_progress->hide();
        qCInfo(lcWeb) << "download cancelled:" << m_path;
        break;
    case QWebEngineDownloadRequest::DownloadInterrupted:
        m_status->setText(tr("The download of %1 failed: %2").arg(name, m_download->interruptReasonString()));
        m_progress->hide();
        qCInfo(lcWeb) << "download failed:" << m_path << m_download->interruptReasonString();
        break;
    }
    // Finished one way or another: the notice now only informs, and Enter opens the folder.
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

} // namespace quillo::web

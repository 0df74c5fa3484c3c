#include "browser_host/zoom_keeper.h"

#include "browser_host/page_origin.h"
#include "platform/client_settings.h"

#include <QLoggingCategory>
#include <QUrl>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcZoom, "quillo.zoom", QtInfoMsg)

namespace {
const QString kLevelsKey = u"zoom/levels"_s;
}

QString zoomOrigin(const QUrl& page) {
    return QString::fromStdString(quillo::serializeOrigin(quillo::originOfUrl(page)));
}

ZoomKeeper::ZoomKeeper(QObject* parent)
    : QObject(parent) {
    const std::unique_ptr<QSettings> settings = quillo::openClientSettings();
    m_memory = quillo::ZoomMemory::fromText(settings->value(kLevelsKey).toString().toStdString());
}

ZoomKeeper::~ZoomKeeper() = default;

double ZoomKeeper::factorFor(const QUrl& page) const {
    const QString origin = zoomOrigin(page);
    return origin.isEmpty() ? quillo::kDefaultZoom : m_memory.factorFor(origin.toStdString());
}

void ZoomKeeper::setFactor(const QUrl& page, double factor) {
    const QString origin = zoomOrigin(page);
    if (origin.isEmpty())
        return;
    m_memory.remember(origin.toStdString(), factor);
    save();
    emit factorChanged(origin, factor);
}

void ZoomKeeper::resetAll() {
    const std::vector<std::string> origins = m_memory.origins();
    m_memory = quillo::ZoomMemory();
    save();
    qCInfo(lcZoom) << "zoom reset to 100 % for" << origins.size() << "sites";
    for (const std::string& origin : origins)
        emit factorChanged(QString::fromStdString(origin), quillo::kDefaultZoom);
}

void ZoomKeeper::save() const {
    const std::unique_ptr<QSettings> settings = quillo::openClientSettings();
    settings->setValue(kLevelsKey, QString::fromStdString(m_memory.toText()));
    settings->sync();
    if (settings->status() != QSettings::NoError)
        qCWarning(lcZoom) << "zoom levels not saved to" << settings->fileName();
}

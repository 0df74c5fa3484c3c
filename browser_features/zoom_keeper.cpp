#include "browser_features/zoom_keeper.h"

#include "page_services/page_origin.h"
#include "settings/client_settings.h"

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

ZoomKeeper::ZoomKeeper(quillo::ClientSettings& settings, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_memory(quillo::ZoomMemory::fromText(settings.value(kLevelsKey).toString().toStdString())) {}

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

void ZoomKeeper::save() {
    // A failed write is logged by the settings.
    m_settings.setValue(kLevelsKey, QString::fromStdString(m_memory.toText()));
}

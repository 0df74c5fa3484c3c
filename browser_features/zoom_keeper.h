#pragma once

#include "browser_features/zoom_levels.h"

#include <QObject>
#include <QString>

class QUrl;

namespace quillo {
class ClientSettings;
}

// The zoom level of each site for the whole run and the next ones: every browser asks it which
// level a page's origin gets and tells it when the operator zooms, and the levels are kept in the
// client's own settings file. One for the run, shared by every browser.
class ZoomKeeper final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ZoomKeeper)

public:
    // Reads the levels left by the last run from the client's own settings, where it keeps them.
    explicit ZoomKeeper(quillo::ClientSettings& settings, QObject* parent = nullptr);
    ~ZoomKeeper() override;

    // The level for a page at this address: the one its origin was left at, else 100 %.
    double factorFor(const QUrl& page) const;
    // The operator zoomed a page at this address to `factor`: remembered and saved for its origin
    // (pages without a web origin are zoomed but not remembered), and every browser showing the
    // same origin follows.
    void setFactor(const QUrl& page, double factor);
    // Every site back to 100 %, in the settings and in every browser showing one.
    void resetAll();

signals:
    void factorChanged(const QString& origin, double factor);

private:
    void save();

    quillo::ClientSettings& m_settings;
    quillo::ZoomMemory m_memory;
};

// The origin a zoom level is kept under; empty for pages that are not on the web.
QString zoomOrigin(const QUrl& page);

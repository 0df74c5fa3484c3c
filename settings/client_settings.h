#pragma once

#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

namespace quillo {

// The client's own remembered choices and state (zoom per site, the main window's place, spelling
// languages, the alert sound, what an administrator set with quillo-setup): a file of its own in
// the user's configuration folder, never the Tarnwick key, which belongs to the installer and holds
// the operator's order number. Each user of it keeps its values under a group of its own.
//
// One object for a program's run, made by the program and handed to whoever keeps a value. Every
// write goes through to the file at once. A write that cannot reach the file (unwritable file or
// folder, a full disk) is logged once, not once per write; the value stays here, so reads still
// see it and the next write that succeeds stores it with every other value.
class ClientSettings final {
    Q_DISABLE_COPY_MOVE(ClientSettings)

public:
    // The file in the user's configuration folder, as both the client and quillo-setup name it.
    ClientSettings();
    // Another file, for tests.
    explicit ClientSettings(const QString& fileName);
    ~ClientSettings();

    QString fileName() const;
    // As the file holds it now, with what this object could not write yet.
    bool contains(const QString& key) const;
    QVariant value(const QString& key, const QVariant& fallback = {}) const;

    // Each returns whether the file now holds every value written so far.
    bool setValue(const QString& key, const QVariant& value);
    bool remove(const QString& key);

private:
    bool writeThrough();

    QString m_fileName;
    std::unique_ptr<QSettings> m_settings;
    // Whether the last write failed, so that a run of failures is logged once.
    bool m_failing = false;
};

} // namespace quillo

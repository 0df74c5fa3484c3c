#include "tests/support/e2e_harness.h"

#include <QDir>
#include <QFile>
#include <QHash>

using namespace Qt::StringLiterals;

namespace quillo::e2e {

namespace {

// The parent pid is the fourth field of /proc/<pid>/stat; the command name before it may hold
// spaces and parentheses, so parsing starts after the last ')'.
std::optional<qint64> parentOf(const QString& pid) {
    QFile stat(u"/proc/"_s + pid + u"/stat"_s);
    if (!stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0)
        return std::nullopt;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    if (fields.size() < 2)
        return std::nullopt;
    bool ok = false;
    const qint64 parent = fields.at(1).toLongLong(&ok);
    return ok ? std::optional<qint64>(parent) : std::nullopt;
}

// A zombie, or a process whose exit has begun (PF_EXITING in the flags, the ninth field of stat).
bool isEnding(qint64 pid) {
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 7)
        return true;
    constexpr quint64 kExiting = 0x4;
    return fields.at(0) == "Z" || fields.at(0) == "X" || (fields.at(6).toULongLong() & kExiting) != 0;
}

} // namespace

QList<qint64> processTreePids(qint64 pid) {
    QMultiHash<qint64, qint64> children;
    const QStringList entries = QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool numeric = false;
        const qint64 child = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        if (const auto parent = parentOf(entry))
            children.insert(*parent, child);
    }
    QList<qint64> tree = {pid};
    for (qsizetype i = 0; i < tree.size(); ++i)
        tree += children.values(tree.at(i));
    return tree;
}

qint64 processTreePss(qint64 pid) {
    qint64 total = 0;
    const QList<qint64> tree = processTreePids(pid);
    for (const qint64 member : tree) {
        // An ending process holds its memory map while it tears it down, and reading its rollup
        // then waits as long (minutes, seen on a loaded machine); its memory is on its way back.
        if (isEnding(member))
            continue;
        QFile rollup(u"/proc/%1/smaps_rollup"_s.arg(member));
        if (!rollup.open(QIODevice::ReadOnly))
            continue; // gone meanwhile
        // /proc files report a size of 0, so QFile::atEnd() is true before the first read.
        const QList<QByteArray> lines = rollup.readAll().split('\n');
        for (const QByteArray& line : lines) {
            if (line.startsWith("Pss:")) {
                total += line.mid(4).trimmed().split(' ').first().toLongLong();
                break;
            }
        }
    }
    return total;
}

} // namespace quillo::e2e

namespace quillo::e2e {

QList<qint64> rendererPids(qint64 pid) {
    const auto commandLine = [](qint64 member) {
        QFile cmdline(u"/proc/%1/cmdline"_s.arg(member));
        return cmdline.open(QIODevice::ReadOnly) ? cmdline.readAll() : QByteArray();
    };
    // Renderers are forked by the engine's zygote and keep its command line.
    QList<qint64> renderers;
    for (const qint64 member : processTreePids(pid)) {
        const auto parent = parentOf(QString::number(member));
        if (commandLine(member).contains("--type=renderer") ||
            (parent && commandLine(*parent).contains("--type=zygote")))
            renderers.append(member);
    }
    return renderers;
}

} // namespace quillo::e2e

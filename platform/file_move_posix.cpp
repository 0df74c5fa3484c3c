#include "platform/file_move.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace quillo {

namespace {

// O_CREAT | O_EXCL: fails on anything at the path, a dangling link included, and never follows one.
FileMoveResult copyThenRemove(const QString& from, const QString& to) {
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly))
        return FileMoveResult::Failed;
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return QFileInfo(to).isSymLink() || QFileInfo::exists(to) ? FileMoveResult::Taken
                                                                  : FileMoveResult::Failed;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 16);
        if (chunk.isEmpty() || target.write(chunk) != chunk.size()) {
            target.remove();
            return FileMoveResult::Failed;
        }
    }
    if (!target.flush()) {
        target.remove();
        return FileMoveResult::Failed;
    }
    target.close();
    source.remove();
    return FileMoveResult::Moved;
}

} // namespace

FileMoveResult moveFileWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#ifdef QUILLO_HAVE_RENAMEAT2
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return FileMoveResult::Moved;
    if (errno == EEXIST)
        return FileMoveResult::Taken;
    // Older kernels and some file systems lack the flag; the link below does the same in two steps.
    if (errno != EINVAL && errno != ENOSYS && errno != EXDEV)
        return FileMoveResult::Failed;
#endif
    // A hard link is made only where nothing is, and never through a link at the new path.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return FileMoveResult::Moved;
    }
    if (errno == EEXIST)
        return FileMoveResult::Taken;
    return copyThenRemove(from, to);
}

} // namespace quillo

#include "platform/file_move.h"

#include <QDir>
#include <QString>

#include <windows.h>

namespace quillo {

FileMoveResult moveFileWithoutReplacing(const QString& from, const QString& to) {
    const QString source = QDir::toNativeSeparators(from);
    const QString target = QDir::toNativeSeparators(to);
    // Without MOVEFILE_REPLACE_EXISTING the move fails on anything at the new path, links included.
    if (::MoveFileExW(reinterpret_cast<const wchar_t*>(source.utf16()),
                      reinterpret_cast<const wchar_t*>(target.utf16()), MOVEFILE_COPY_ALLOWED))
        return FileMoveResult::Moved;
    const DWORD error = ::GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? FileMoveResult::Taken
                                                                       : FileMoveResult::Failed;
}

} // namespace quillo

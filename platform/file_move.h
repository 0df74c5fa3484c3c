#pragma once

class QString;

namespace quillo {

enum class FileMoveResult {
    Moved,
    // Something is at the new path already, a link to a missing file included; nothing changed.
    Taken,
    // The move failed for another reason; the file is still where it was.
    Failed,
};

// Moves a file to a new path only where nothing is, without ever following or replacing a link
// there: a link to a missing file must not make the file land at its target. Across file systems
// the file is copied into a newly created one and the original removed.
FileMoveResult moveFileWithoutReplacing(const QString& from, const QString& to);

} // namespace quillo

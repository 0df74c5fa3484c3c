#include "platform/process_end.h"

#include <windows.h>

namespace quillo {

bool endProcess(std::int64_t pid) {
    if (pid <= 0)
        return false;
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(pid));
    if (process == nullptr)
        return false;
    const bool ended = ::TerminateProcess(process, 1) != FALSE;
    ::CloseHandle(process);
    return ended;
}

} // namespace quillo

#include "platform/process_end.h"

#include <csignal>
#include <sys/types.h>

namespace quillo {

bool endProcess(std::int64_t pid) {
    // A hung renderer does not run its handlers; only SIGKILL is sure to end it.
    return pid > 0 && ::kill(pid_t(pid), SIGKILL) == 0;
}

} // namespace quillo

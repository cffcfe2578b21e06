#include "tools/tooloutput.h"

#include "core/documents/filereplacement.h"
#include "tools/toolinput.h"

#include <csignal>

namespace wirevane {

void writeToolOutput(const std::string& path, const std::string& bytes) {
    if (bytes.empty())
        throw InputError{path + ": the picture cannot be made"};
    const std::string reason = writeFileReplacing(path, bytes);
    if (!reason.empty())
        throw InputError{path + ": cannot be written (" + reason + ")"};
}

namespace {

void removeAndStop(int signal) {
    removeUnfinishedReplacement();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void removeUnfinishedFileOnInterrupt() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, removeAndStop);
}

} // namespace wirevane

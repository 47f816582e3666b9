#include "surface/GuiApplication.h"

#include <QGuiApplication>

#include <cstdlib>
#include <memory>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace qbm {

void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        // Without a session (CI, a service) Qt falls back to its own folder and says so on stderr,
        // which would mix with the tool's output; give it a private folder quietly instead.
        const std::string dir = "/tmp/runtime-qbm-" + std::to_string(getuid());
        mkdir(dir.c_str(), 0700);
        struct stat st {};
        if (stat(dir.c_str(), &st) == 0 && st.st_uid == getuid() && (st.st_mode & 0077) == 0)
            setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
    }
    static int argc = 1;
    static char name[] = "qbm";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace qbm

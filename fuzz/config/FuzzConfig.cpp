// SPDX-License-Identifier: GPL-3.0-or-later
// Configuration files from anywhere: loading one must never crash, and the
// experiment it sets up must run without undefined behaviour, whatever the
// records hold.
#include "config/ConfigFile.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// The input as a file that lives in memory only: the loader reads it by a
// path, and nothing is left on the disk when the run ends, even by a crash.
const std::string& inputFile(const std::uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("ionaria-fuzz.C14", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ftruncate(fd, 0) != 0 ||
        pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
        std::abort();
    }
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = inputFile(data, size);
    Ionaria::sim::Engine engine;
    Ionaria::sim::Handlers handlers(engine);
    handlers.startup();
    Ionaria::config::ConfigFile::load(path, handlers);
    if (!engine.params().Timer1) {
        engine.Command5_Click();
    }
    engine.setStepsPerTickOverride(7);
    for (int tick = 0; tick < 40; ++tick) {
        engine.Timer1_Timer();
    }
    // The labels format whatever the chemistry left.
    const std::string labels =
        engine.params().Labeltps() + engine.params().Labelint() + engine.params().Labelu();
    if (labels.size() > 4096) {
        __builtin_trap();
    }
    return 0;
}

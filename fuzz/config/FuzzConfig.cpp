// Configuration files from anywhere: loading one must never crash, and the
// experiment it sets up must run without undefined behaviour, whatever the
// records hold.
#include "config/ConfigFile.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/ionaria-fuzz-" + std::to_string(getpid()) + ".C14";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Ionaria::sim::Engine engine;
    Ionaria::sim::Handlers handlers(engine);
    handlers.startup();
    Ionaria::config::ConfigFile::load(path, handlers);
    engine.params().Timer1 = true;
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

// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's "Ouvrir" then "Enregistrer", without the window:
//   web_config_resave OUT.C14 IN.C14...
// loads each IN in turn through the handlers as the window does, printing
// its refusal ("title : text") or an empty line, then writes the settings to
// OUT, for tests/web/files.mjs to compare with what the page shows and
// downloads.
#include "config/ConfigFile.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <iostream>

int main(int argc, char* argv[]) {
    using Ionaria::config::ConfigFile;
    if (argc < 3) {
        std::cerr << "usage : web_config_resave SORTIE.C14 ENTREE.C14...\n";
        return 2;
    }
    Ionaria::sim::Engine engine;
    Ionaria::sim::Handlers handlers(engine);
    handlers.startup();
    for (int i = 2; i < argc; ++i) {
        if (const auto refusal = ConfigFile::load(argv[i], handlers)) {
            std::cout << refusal->title << " : " << refusal->text;
        }
        std::cout << "\n";
    }
    if (const auto failure = ConfigFile::save(argv[1], engine.params())) {
        std::cerr << failure->title << " : " << failure->text << "\n";
        return 1;
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/SaveFailure.h"

#include <filesystem>

#include <unistd.h>

namespace Ionaria::config {

Message saveFailure(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::filesystem::path folder = parent.empty() ? std::filesystem::path(".") : parent;
    if (::access(folder.c_str(), F_OK) == 0 && ::access(folder.c_str(), W_OK | X_OK) != 0) {
        std::string shown;
        for (const char c : folder.string()) {
            shown += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
        }
        return {"Enregistrement impossible",
                "Le dossier " + shown +
                    " est protégé en écriture : rien ne peut y être enregistré, même à la place "
                    "d'un fichier existant. Choisir un autre dossier."};
    }
    return ConfigFile::messageWriteError();
}

} // namespace Ionaria::config

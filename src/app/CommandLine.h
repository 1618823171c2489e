// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CourbesOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace Ionaria::app {

// What the command line asks for.
struct CommandLine {
    enum class Mode { Window, Batch, Help, Version, Calcul, Exercice, Error };

    Mode mode = Mode::Window;
    std::string error;        // Mode::Error: what was wrong, in French
    std::string configFile;   // --batch FILE, or the file to open in the window
    std::string exerciseFile; // an exercise descriptor to open in the window
    long long seconds = 600;
    std::optional<std::string> csvPath; // "-" is standard output
    std::optional<std::string> pngPath;
    std::optional<std::string> pdfPath;
    std::string titre = "Orbelle - Ionaria";
    int exemplaires = 1;
    // --echelle: the PNG's pixels per picture pixel, 1 to 4.
    int echelle = 1;
    bool echelleGiven = false;
    std::string expression; // --calcul
    bool radians = false;
    std::optional<std::string> dossier; // the application folder
    CourbesOptions courbes;

    // --exercice FICHIER: writes an exercise descriptor from the options
    // below, or with --lire prints the one there is. Every text is as typed;
    // the writer checks them.
    struct Exercice {
        std::string file;
        bool lire = false;
        std::optional<std::string> intitule;
        std::optional<std::string> enonce;
        std::optional<std::string> correction;
        std::optional<std::string> configurationEnonce;
        std::optional<std::string> configurationCorrection;
        std::optional<std::string> notions;
        std::optional<int> niveau;
        std::optional<int> duree;
        // Whether any option that writes was given.
        bool writes() const;
    };
    Exercice exercice;

    static CommandLine parse(const std::vector<std::string>& arguments);
    // Whether the window takes the file as an exercise descriptor (".E37",
    // or the guided first use), not as a configuration.
    static bool isExerciseName(const std::string& path);
    static std::string usage();
};

} // namespace Ionaria::app

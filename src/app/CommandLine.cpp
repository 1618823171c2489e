// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <system_error>

namespace Ionaria::app {

namespace {

std::optional<long long> parseWhole(const std::string& text) {
    long long value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) {
        return std::nullopt;
    }
    return value;
}

// Two names of one file: links or hard links to it, or two spellings of a
// path not yet made. Devices (/dev/null) take any number of outputs.
bool sameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const std::string* path : {&a, &b}) {
        if (fs::exists(*path, ec) && !fs::is_regular_file(*path, ec)) {
            return false;
        }
    }
    if (fs::equivalent(a, b, ec)) {
        return true;
    }
    const auto canonical = [](const std::string& path, std::error_code& error) {
        return fs::weakly_canonical(fs::absolute(path, error), error);
    };
    std::error_code ecA;
    std::error_code ecB;
    const auto canonicalA = canonical(a, ecA);
    const auto canonicalB = canonical(b, ecB);
    return !ecA && !ecB && canonicalA == canonicalB;
}

// What the run reads and writes must be distinct files: an output written
// over the configuration, or over another output, loses it.
std::string clashingOutputs(const CommandLine& cl) {
    std::vector<std::pair<const char*, std::string>> outputs;
    if (cl.csvPath && *cl.csvPath != "-") {
        outputs.emplace_back("--csv", *cl.csvPath);
    }
    if (cl.pngPath) {
        outputs.emplace_back("--png", *cl.pngPath);
    }
    if (cl.pdfPath) {
        outputs.emplace_back("--pdf", *cl.pdfPath);
    }
    if (cl.courbes.path) {
        outputs.emplace_back("--courbes", *cl.courbes.path);
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        if (sameFile(outputs[i].second, cl.configFile)) {
            return std::string(outputs[i].first) +
                   " désigne le fichier de configuration : " + outputs[i].second;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (sameFile(outputs[i].second, outputs[j].second)) {
                return std::string(outputs[j].first) + " et " + outputs[i].first +
                       " désignent le même fichier : " + outputs[i].second;
            }
        }
    }
    return {};
}

} // namespace

std::string CommandLine::usage() {
    return "Utilisation :\n"
           "  ionaria [FICHIER.C14]                 ouvre le simulateur (et la configuration)\n"
           "  ionaria FICHIER.E37                   ouvre le simulateur sur l'exercice\n"
           "  ionaria --batch FICHIER.C14 [options] fait l'expérience sans fenêtre\n"
           "      --seconds N      durée simulée en secondes (600 par défaut)\n"
           "      --csv SORTIE|-   une ligne par seconde simulée (- : sortie standard, sans "
           "résumé)\n"
           "      --png IMAGE.png  l'image de l'expérience à la fin\n"
           "      --pdf PAGES.pdf  l'impression de l'image à la fin\n"
           "      --titre TEXTE    le titre imprimé (\"Orbelle - Ionaria\" par défaut)\n"
           "      --exemplaires N  le nombre d'exemplaires imprimés (1 à 99)\n"
           "      --courbes COURBES.png|.svg|.pdf  les courbes des mesures à la fin\n"
           "      --grandeurs LISTE  les courbes, séparées par des virgules (i,mG,mD par "
           "défaut) :\n"
           "                       i, U, mG, mD, Cl-, SO42-, H+, Fe2+, Fe3+, Na+, Zn2+, Al3+, "
           "Cu2+\n"
           "      --faraday        ajoute aux masses celles que prédit la loi de Faraday\n"
           "      --format-csv tableur|csv  le CSV pour un tableur en français (« ; », "
           "virgule\n"
           "                       décimale) ou le CSV ordinaire (« , », point décimal ; par "
           "défaut)\n"
           "  ionaria --calcul \"EXPRESSION\" [--radians]  calcule comme la calculatrice\n"
           "  ionaria --dossier DOSSIER ...         dossier de l'application\n"
           "  ionaria --help | --version\n";
}

bool CommandLine::isExerciseName(const std::string& path) {
    std::string name = path.substr(path.find_last_of("/\\") + 1);
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return name == "kivar.pem" || (name.size() > 4 && name.ends_with(".e37"));
}

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
    CommandLine cl;
    const auto fail = [&cl](std::string message) {
        cl.mode = Mode::Error;
        cl.error = std::move(message);
        return cl;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= arguments.size()) {
                return false;
            }
            out = arguments[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            cl.mode = Mode::Help;
            return cl;
        }
        if (a == "--version") {
            cl.mode = Mode::Version;
            return cl;
        }
        if (a == "--batch") {
            if (!value(cl.configFile)) {
                return fail("--batch demande un fichier de configuration");
            }
            cl.mode = Mode::Batch;
        } else if (a == "--seconds") {
            const auto n = value(v) ? parseWhole(v) : std::nullopt;
            // The simulated clock counts seconds in 32 bits.
            if (!n || *n < 0 || *n > std::numeric_limits<std::int32_t>::max()) {
                return fail("--seconds demande un nombre entier de secondes, de 0 à 2147483647");
            }
            cl.seconds = *n;
        } else if (a == "--csv") {
            if (!value(v)) {
                return fail("--csv demande un fichier ou -");
            }
            cl.csvPath = v;
        } else if (a == "--png") {
            if (!value(v)) {
                return fail("--png demande un fichier");
            }
            cl.pngPath = v;
        } else if (a == "--pdf") {
            if (!value(v)) {
                return fail("--pdf demande un fichier");
            }
            cl.pdfPath = v;
        } else if (a == "--titre") {
            if (!value(cl.titre)) {
                return fail("--titre demande un texte");
            }
        } else if (a == "--exemplaires") {
            const auto n = value(v) ? parseWhole(v) : std::nullopt;
            if (!n || *n < 1 || *n > 99) {
                return fail("--exemplaires demande un nombre de 1 à 99");
            }
            cl.exemplaires = static_cast<int>(*n);
        } else if (a == "--calcul") {
            if (!value(cl.expression)) {
                return fail("--calcul demande une expression");
            }
            cl.mode = Mode::Calcul;
        } else if (a == "--radians") {
            cl.radians = true;
        } else if (a == "--dossier") {
            if (!value(v)) {
                return fail("--dossier demande un dossier");
            }
            cl.dossier = v;
        } else if (std::string error; takeCourbesOption(arguments, i, cl.courbes, error)) {
            if (!error.empty()) {
                return fail(std::move(error));
            }
        } else if (!a.empty() && a[0] == '-') {
            return fail("option inconnue : " + a);
        } else if (cl.mode == Mode::Window && cl.configFile.empty() && cl.exerciseFile.empty()) {
            (isExerciseName(a) ? cl.exerciseFile : cl.configFile) = a;
        } else {
            return fail("argument en trop : " + a);
        }
    }
    const bool batchOnly = cl.csvPath || cl.pngPath || cl.pdfPath;
    if (batchOnly && cl.mode != Mode::Batch) {
        return fail("--csv, --png et --pdf vont avec --batch");
    }
    if (std::string error =
            checkCourbesOptions(cl.courbes, cl.mode == Mode::Batch, cl.csvPath.has_value());
        !error.empty()) {
        return fail(std::move(error));
    }
    if (cl.mode == Mode::Batch) {
        if (std::string clash = clashingOutputs(cl); !clash.empty()) {
            return fail(std::move(clash));
        }
    }
    return cl;
}

} // namespace Ionaria::app

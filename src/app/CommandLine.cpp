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
    if (cl.courbes.caracteristique) {
        outputs.emplace_back("--caracteristique", *cl.courbes.caracteristique);
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
           "      --echelle K      l'image K fois plus grande, de 1 à 4 (1 par défaut)\n"
           "      --pdf PAGES.pdf  l'impression de l'image à la fin\n"
           "      --titre TEXTE    le titre imprimé (\"Orbelle - Ionaria\" par défaut)\n"
           "      --exemplaires N  le nombre d'exemplaires imprimés (1 à 99)\n"
           "      --courbes COURBES.png|.svg|.pdf  les courbes des mesures à la fin\n"
           "      --grandeurs LISTE  les courbes, séparées par des virgules (i,mG,mD par "
           "défaut) :\n"
           "                       i, U, mG, mD, Cl-, SO42-, H+, HO-, Fe2+, Fe3+, Na+, Zn2+, "
           "Al3+,\n"
           "                       Cu2+, pH (électrolyse), EG, ED (potentiels, avec la loi de "
           "Nernst)\n"
           "      --faraday        ajoute aux masses celles que prédit la loi de Faraday\n"
           "      --caracteristique FICHIER.csv|.png|.svg|.pdf  la caractéristique I = f(U)\n"
           "                       de l'électrolyseur à la fin, de 0 à 10 V, avec son seuil\n"
           "      --format-csv tableur|csv  le CSV pour un tableur en français (« ; », "
           "virgule\n"
           "                       décimale) ou le CSV ordinaire (« , », point décimal ; par "
           "défaut)\n"
           "  ionaria --exercice FICHIER.E37 --intitule TEXTE --enonce ENONCE.RTF [options]\n"
           "                                        écrit le fichier d'un exercice\n"
           "      --correction CORRECTION.RTF  le texte de la correction\n"
           "      --configuration-enonce F.C14  la configuration chargée avec l'énoncé\n"
           "      --configuration-correction F.C14  celle chargée avec la correction\n"
           "      --niveau N       le niveau, de 0 à 3 (0 par défaut)\n"
           "      --notions TEXTE  les notions abordées (504 octets au plus)\n"
           "      --duree N        la durée en sabliers, de 0 à 10 (1 par défaut)\n"
           "                       Les noms de fichiers sont ceux du dossier de l'exercice.\n"
           "  ionaria --exercice FICHIER.E37 --lire  affiche le contenu d'un exercice\n"
           "  ionaria --calcul \"EXPRESSION\" [--radians]  calcule comme la calculatrice\n"
           "  ionaria --dossier DOSSIER ...         dossier de l'application\n"
           "  ionaria --help | --version\n";
}

bool CommandLine::Exercice::writes() const {
    return intitule || enonce || correction || configurationEnonce || configurationCorrection ||
           notions || niveau || duree;
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

namespace {

// The arguments still to read.
class Arguments {
public:
    explicit Arguments(const std::vector<std::string>& all) : m_all(all) {}
    bool done() const { return m_next >= m_all.size(); }
    const std::string& take() { return m_all[m_next++]; }
    // The value of the option just taken; false when the line ends first.
    bool value(std::string& out) {
        if (done()) {
            return false;
        }
        out = take();
        return true;
    }

private:
    const std::vector<std::string>& m_all;
    std::size_t m_next = 0;
};

// What reading one argument gave: whether a reader knew it, and what was
// wrong with it, in French (empty when nothing was).
struct Taken {
    bool known = false;
    std::string error;
};

Taken known() {
    return {true, {}};
}
Taken wrong(std::string message) {
    return {true, std::move(message)};
}

// What to run: the batch and its duration, the calculation, the folder.
Taken readRunOption(CommandLine& cl, const std::string& a, Arguments& args) {
    using Mode = CommandLine::Mode;
    std::string v;
    if (a == "--batch") {
        if (!args.value(cl.configFile)) {
            return wrong("--batch demande un fichier de configuration");
        }
        cl.mode = Mode::Batch;
        return known();
    }
    if (a == "--seconds") {
        const auto n = args.value(v) ? parseWhole(v) : std::nullopt;
        // The simulated clock counts seconds in 32 bits.
        if (!n || *n < 0 || *n > std::numeric_limits<std::int32_t>::max()) {
            return wrong("--seconds demande un nombre entier de secondes, de 0 à 2147483647");
        }
        cl.seconds = *n;
        return known();
    }
    if (a == "--calcul") {
        if (!args.value(cl.expression)) {
            return wrong("--calcul demande une expression");
        }
        cl.mode = Mode::Calcul;
        return known();
    }
    if (a == "--radians") {
        cl.radians = true;
        return known();
    }
    if (a == "--dossier") {
        if (!args.value(v)) {
            return wrong("--dossier demande un dossier");
        }
        cl.dossier = v;
        return known();
    }
    return {};
}

// What an exercise descriptor holds, for --exercice.
Taken readExerciceOption(CommandLine& cl, const std::string& a, Arguments& args) {
    auto& e = cl.exercice;
    std::string v;
    const auto text = [&](std::optional<std::string>& out, const char* message) {
        if (!args.value(v)) {
            return wrong(message);
        }
        out = v;
        return known();
    };
    const auto number = [&](std::optional<int>& out, int high, const std::string& message) {
        const auto n = args.value(v) ? parseWhole(v) : std::nullopt;
        if (!n || *n < 0 || *n > high) {
            return wrong(message);
        }
        out = static_cast<int>(*n);
        return known();
    };
    if (a == "--exercice") {
        if (!args.value(e.file)) {
            return wrong("--exercice demande le fichier de l'exercice");
        }
        cl.mode = CommandLine::Mode::Exercice;
        return known();
    }
    if (a == "--lire") {
        e.lire = true;
        return known();
    }
    if (a == "--intitule") {
        return text(e.intitule, "--intitule demande un texte");
    }
    if (a == "--enonce") {
        return text(e.enonce, "--enonce demande un fichier");
    }
    if (a == "--correction") {
        return text(e.correction, "--correction demande un fichier");
    }
    if (a == "--configuration-enonce") {
        return text(e.configurationEnonce, "--configuration-enonce demande un fichier");
    }
    if (a == "--configuration-correction") {
        return text(e.configurationCorrection, "--configuration-correction demande un fichier");
    }
    if (a == "--notions") {
        return text(e.notions, "--notions demande un texte");
    }
    if (a == "--niveau") {
        return number(e.niveau, 3, "--niveau demande un nombre de 0 à 3");
    }
    if (a == "--duree") {
        return number(e.duree, 10, "--duree demande un nombre de sabliers, de 0 à 10");
    }
    return {};
}

// What the batch writes: the rows, the picture, the printed pages.
Taken readOutputOption(CommandLine& cl, const std::string& a, Arguments& args) {
    std::string v;
    const auto path = [&](std::optional<std::string>& out, const char* message) {
        if (!args.value(v)) {
            return wrong(message);
        }
        out = v;
        return known();
    };
    if (a == "--csv") {
        return path(cl.csvPath, "--csv demande un fichier ou -");
    }
    if (a == "--png") {
        return path(cl.pngPath, "--png demande un fichier");
    }
    if (a == "--pdf") {
        return path(cl.pdfPath, "--pdf demande un fichier");
    }
    if (a == "--titre") {
        return args.value(cl.titre) ? known() : wrong("--titre demande un texte");
    }
    if (a == "--echelle") {
        const auto n = args.value(v) ? parseWhole(v) : std::nullopt;
        if (!n || *n < 1 || *n > 4) {
            return wrong("--echelle demande un nombre de 1 à 4");
        }
        cl.echelle = static_cast<int>(*n);
        cl.echelleGiven = true;
        return known();
    }
    if (a == "--exemplaires") {
        const auto n = args.value(v) ? parseWhole(v) : std::nullopt;
        if (!n || *n < 1 || *n > 99) {
            return wrong("--exemplaires demande un nombre de 1 à 99");
        }
        cl.exemplaires = static_cast<int>(*n);
        return known();
    }
    return {};
}

// What the batch draws of the curves, and the dialect of its rows.
Taken readCourbesOption(CommandLine& cl, const std::string& a, Arguments& args) {
    const auto next = [&args]() -> std::optional<std::string> {
        std::string v;
        if (!args.value(v)) {
            return std::nullopt;
        }
        return v;
    };
    std::string error;
    if (!takeCourbesOption(a, next, cl.courbes, error)) {
        return {};
    }
    return error.empty() ? known() : wrong(std::move(error));
}

// An argument that is no option: the one file the window opens.
Taken readOperand(CommandLine& cl, const std::string& a) {
    if (!a.empty() && a[0] == '-') {
        return wrong("option inconnue : " + a);
    }
    if (cl.mode == CommandLine::Mode::Window && cl.configFile.empty() && cl.exerciseFile.empty()) {
        (CommandLine::isExerciseName(a) ? cl.exerciseFile : cl.configFile) = a;
        return known();
    }
    return wrong("argument en trop : " + a);
}

// What is wrong with the options of an exercise taken together.
std::string exerciceError(const CommandLine& cl) {
    const auto& e = cl.exercice;
    if (cl.mode != CommandLine::Mode::Exercice) {
        return e.lire || e.writes() ? "--lire, --intitule, --enonce, --correction, --niveau, "
                                      "--notions, --duree et --configuration-... vont avec "
                                      "--exercice"
                                    : std::string();
    }
    if (!cl.configFile.empty() || !cl.exerciseFile.empty() || !cl.expression.empty()) {
        return "--exercice ne va ni avec --batch, ni avec --calcul, ni avec un fichier à ouvrir";
    }
    if (e.lire) {
        return e.writes() ? "--lire ne va avec aucune option qui écrit l'exercice" : std::string();
    }
    if (!e.intitule || !e.enonce) {
        return "--exercice demande --intitule et --enonce, ou --lire";
    }
    return {};
}

// What is wrong with the options taken together; empty when nothing is.
std::string combinationError(const CommandLine& cl) {
    if (std::string error = exerciceError(cl); !error.empty()) {
        return error;
    }
    const bool batchOnly = cl.csvPath || cl.pngPath || cl.pdfPath;
    if (batchOnly && cl.mode != CommandLine::Mode::Batch) {
        return "--csv, --png et --pdf vont avec --batch";
    }
    if (cl.echelleGiven && !cl.pngPath) {
        return "--echelle va avec --png";
    }
    if (std::string error = checkCourbesOptions(cl.courbes, cl.mode == CommandLine::Mode::Batch,
                                                cl.csvPath.has_value());
        !error.empty()) {
        return error;
    }
    if (cl.mode == CommandLine::Mode::Batch) {
        return clashingOutputs(cl);
    }
    return {};
}

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
    CommandLine cl;
    const auto fail = [&cl](std::string message) {
        cl.mode = Mode::Error;
        cl.error = std::move(message);
        return cl;
    };
    Arguments args(arguments);
    while (!args.done()) {
        const std::string& a = args.take();
        if (a == "--help" || a == "-h") {
            cl.mode = Mode::Help;
            return cl;
        }
        if (a == "--version") {
            cl.mode = Mode::Version;
            return cl;
        }
        Taken taken = readRunOption(cl, a, args);
        if (!taken.known) {
            taken = readOutputOption(cl, a, args);
        }
        if (!taken.known) {
            taken = readCourbesOption(cl, a, args);
        }
        if (!taken.known) {
            taken = readExerciceOption(cl, a, args);
        }
        if (!taken.known) {
            taken = readOperand(cl, a);
        }
        if (!taken.error.empty()) {
            return fail(std::move(taken.error));
        }
    }
    if (std::string error = combinationError(cl); !error.empty()) {
        return fail(std::move(error));
    }
    return cl;
}

} // namespace Ionaria::app

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CourbesOptions.h"

#include "sim/Quantities.h"

#include <algorithm>

namespace Ionaria::app {

namespace {

std::string lowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string knownKeys() {
    std::string list;
    for (const std::string& key : sim::quantityKeys()) {
        list += (list.empty() ? "" : ", ") + key;
    }
    return list;
}

// The keys of a comma-separated list, each once; an error names the first
// one that is not a quantity.
std::vector<std::string> splitKeys(const std::string& text, std::string& error) {
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string key = trimmed(text.substr(start, comma - start));
        if (key.empty()) {
            error = "--grandeurs demande des grandeurs séparées par des virgules : " + knownKeys();
            return {};
        }
        if (!sim::knownQuantityKey(key)) {
            error = "grandeur inconnue : " + key + " (grandeurs : " + knownKeys() + ")";
            return {};
        }
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            keys.push_back(key);
        }
        start = comma + 1;
    }
    return keys;
}

} // namespace

std::optional<CourbesOptions::Format> CourbesOptions::formatOf(const std::string& path) {
    const std::string name = lowered(path.substr(path.find_last_of("/\\") + 1));
    const auto endsWith = [&name](const char* extension) {
        const std::string e(extension);
        return name.size() > e.size() && name.ends_with(e);
    };
    if (endsWith(".png")) {
        return Format::Png;
    }
    if (endsWith(".svg")) {
        return Format::Svg;
    }
    if (endsWith(".pdf")) {
        return Format::Pdf;
    }
    return std::nullopt;
}

bool CourbesOptions::isCsv(const std::string& path) {
    const std::string name = lowered(path.substr(path.find_last_of("/\\") + 1));
    return name.size() > 4 && name.ends_with(".csv");
}

bool CourbesOptions::drawsCharts() const {
    return path || (caracteristique && !isCsv(*caracteristique));
}

bool takeCourbesOption(const std::string& option,
                       const std::function<std::optional<std::string>()>& next,
                       CourbesOptions& options, std::string& error) {
    if (option == "--courbes") {
        const auto path = next();
        if (!path || !CourbesOptions::formatOf(*path)) {
            error = "--courbes demande un fichier .png, .svg ou .pdf";
            return true;
        }
        options.path = *path;
    } else if (option == "--caracteristique") {
        const auto file = next();
        if (!file || !(CourbesOptions::isCsv(*file) || CourbesOptions::formatOf(*file))) {
            error = "--caracteristique demande un fichier .csv, .png, .svg ou .pdf";
            return true;
        }
        options.caracteristique = *file;
    } else if (option == "--grandeurs") {
        const auto list = next();
        if (!list) {
            error = "--grandeurs demande des grandeurs séparées par des virgules : " + knownKeys();
            return true;
        }
        options.grandeurs = splitKeys(*list, error);
        options.grandeursGiven = true;
    } else if (option == "--faraday") {
        options.faraday = true;
    } else if (option == "--format-csv") {
        const std::string value = next().value_or(std::string());
        if (value == "tableur") {
            options.csvDialect = sim::CsvDialect::Tableur;
        } else if (value == "csv") {
            options.csvDialect = sim::CsvDialect::Standard;
        } else {
            error = "--format-csv demande tableur ou csv";
        }
        options.formatGiven = true;
    } else {
        return false;
    }
    return true;
}

std::string checkCourbesOptions(const CourbesOptions& options, bool batch, bool csv) {
    const bool any = options.path || options.caracteristique || options.grandeursGiven ||
                     options.faraday || options.formatGiven;
    if (any && !batch) {
        return "--courbes, --caracteristique, --grandeurs, --faraday et --format-csv vont avec "
               "--batch";
    }
    if ((options.grandeursGiven || options.faraday) && !options.path) {
        return "--grandeurs et --faraday vont avec --courbes";
    }
    if (options.formatGiven && !csv) {
        return "--format-csv va avec --csv";
    }
    return {};
}

} // namespace Ionaria::app

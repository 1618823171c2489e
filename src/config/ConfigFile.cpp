// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/ConfigFile.h"

#include "base/Numbers.h"
#include "base/RecordFile.h"
#include "base/Rounding.h"
#include "config/SaveFailure.h"
#include "sim/Catalogue.h"
#include "sim/Handlers.h"

#include <filesystem>
#include <system_error>

namespace Ionaria::config {

namespace cat = sim::catalogue;
using base::RecordFile;

namespace {

#ifdef _WIN32
bool isSeparator(char c) {
    return c == '\\' || c == '/';
}
constexpr char preferredSeparator = '\\';
#else
bool isSeparator(char c) {
    return c == '/';
}
constexpr char preferredSeparator = '/';
#endif

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A numeric record as the loader reads it: text that is not a number reads
// as 0; a value beyond the integer type gives no result.
std::optional<int> recordInt16(const std::string& text) {
    const auto rounded = base::roundToInt16(base::parseDouble(text).value_or(0.0));
    if (!rounded) {
        return std::nullopt;
    }
    return *rounded;
}

// A spin button's setting: a value beyond its range, however far, takes the
// nearest bound, as a numeric box's does; text that is not a number reads
// as 0 before that.
int recordSpin(const std::string& text, int low, int high) {
    const double value = base::parseDouble(text).value_or(0.0);
    if (!(value >= low)) {
        return low;
    }
    if (value > high) {
        return high;
    }
    return base::roundToInt32(value).value_or(low);
}

bool inRange(const std::optional<int>& value, int low, int high) {
    return value && *value >= low && *value <= high;
}

// The text a numeric box gets from a file: verbatim, unless the engine could
// not use it (not a number, or not above 0 where it divides by the value or
// needs it positive), which becomes the lower bound of the box's range, or
// it lies above the range, which becomes the upper bound.
std::string loadedText2(std::size_t index, const std::string& text) {
    const auto& range = cat::text2Ranges[index];
    if (const auto wide = base::parseDouble(text);
        wide && *wide > static_cast<double>(range.high)) {
        return base::formatGeneral(range.high);
    }
    const auto value = base::parseSingle(text);
    const bool needsPositive = index != static_cast<std::size_t>(cat::Text2Arret);
    if (!value || (needsPositive && !(*value > 0.0F))) {
        return base::formatGeneral(range.low);
    }
    return text;
}

} // namespace

Message ConfigFile::messageNoName() {
    return {"Enregistrement impossible", "Il faut donner un nom au fichier!"};
}
Message ConfigFile::messageMissing() {
    return {"impossible d'ouvrir ce fichier", "Nom de fichier incorrect ou chemin non valide"};
}
Message ConfigFile::messageNotConfig() {
    return {"Fichier non valide", "Ce fichier ne correspond pas à cette application"};
}
Message ConfigFile::messageReadError() {
    return {"Erreur lors du chargement du fichier", "Lecture impossible sur disque"};
}
Message ConfigFile::messageWriteError() {
    return {"Enregistrement impossible", "Ecriture impossible sur disque"};
}

std::vector<std::string> ConfigFile::records(const sim::ParamStore& p) {
    std::vector<std::string> out(Record::Nernst);
    out[Record::Signature] = signature;
    out[Record::Montage] = std::to_string(cat::montageCode(p.Option2));
    out[Record::Scale] = p.Option1 == 1 ? "1" : "0";
    out[Record::Stop] = p.Check1 == 1 ? "1" : "0";
    out[Record::Speed] = std::to_string(p.HScroll2);
    out[Record::Voltage] = std::to_string(p.UpDown1);
    out[Record::Current] = std::to_string(p.UpDown2);
    out[Record::Nature1] = std::to_string(p.Combo2[0].listIndex);
    out[Record::Nature2] = std::to_string(p.Combo2[1].listIndex);
    out[Record::Electrolyte] = std::to_string(p.Combo1.listIndex);
    for (std::size_t i = 0; i < p.Text2.size(); ++i) {
        out[Record::FirstBox + i] = p.Text2[i].text();
    }
    // Each option a record of its own, after the twenty: none when both
    // are off, so that such a file reads as the older versions wrote it.
    if (p.Check3 == 1 || p.Check4 == 1) {
        out.emplace_back(p.Check3 == 1 ? "1" : "0");
    }
    if (p.Check4 == 1) {
        out.emplace_back("1");
    }
    return out;
}

std::optional<Message> ConfigFile::save(const std::string& path, const sim::ParamStore& params) {
    if (RecordFile::writeAll(path, records(params)) != RecordFile::Status::Ok) {
        return saveFailure(path);
    }
    return std::nullopt;
}

std::optional<Message> ConfigFile::load(const std::string& path, sim::Handlers& handlers) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return std::filesystem::exists(path, ec) ? messageReadError() : messageMissing();
    }
    const auto file = RecordFile::readAll(path, recordCount);
    if (file.status == RecordFile::Status::CannotOpen) {
        return messageReadError();
    }
    // The signature decides before anything else, even in a damaged file: a
    // file whose first record is not even a record is no configuration.
    if (file.status != RecordFile::Status::Ok) {
        const auto first = RecordFile::readOne(path, 1);
        const bool notConfig = first.status == RecordFile::Status::BadRecord ||
                               (first.status == RecordFile::Status::Ok && first.value != signature);
        return notConfig ? messageNotConfig() : messageReadError();
    }
    const auto& r = file.values;
    if (r[Record::Signature] != signature) {
        return messageNotConfig();
    }

    const auto montage = recordInt16(r[Record::Montage]);
    const auto check1 = recordInt16(r[Record::Stop]);
    const auto speed = recordInt16(r[Record::Speed]);
    const int voltage = recordSpin(r[Record::Voltage], cat::upDown1Min, cat::upDown1Max);
    const int current = recordSpin(r[Record::Current], cat::upDown2Min, cat::upDown2Max);
    const auto nature1 = recordInt16(r[Record::Nature1]);
    const auto nature2 = recordInt16(r[Record::Nature2]);
    const auto electrolyte = recordInt16(r[Record::Electrolyte]);
    const bool pile = montage && *montage == cat::montageCode(cat::Montage::Pile);
    const int natureCount =
        static_cast<int>(pile ? cat::naturesPile.size() : cat::naturesElectrolyse.size());
    const bool usable = inRange(montage, 0, cat::montageCount - 1) && check1.has_value() &&
                        inRange(speed, cat::hScroll2Min, cat::hScroll2Max) &&
                        inRange(nature1, 0, natureCount - 1) &&
                        inRange(nature2, 0, natureCount - 1) &&
                        inRange(electrolyte, 0, static_cast<int>(cat::electrolytes.size()) - 1);
    if (!usable) {
        return messageReadError();
    }

    handlers.selectOption2(*cat::montageOfCode(*montage));
    handlers.selectOption1(r[Record::Scale] == "1" ? 1 : 0);
    handlers.setCheck1(*check1 == 1 ? 1 : 0);
    handlers.setHScroll2(*speed);
    handlers.setUpDown1(voltage);
    handlers.setUpDown2(current);
    handlers.selectCombo2(0, *nature1);
    handlers.selectCombo2(1, *nature2);
    handlers.selectCombo1(*electrolyte);
    for (std::size_t i = 0; i < 10; ++i) {
        handlers.setText2(static_cast<int>(i), loadedText2(i, r[Record::FirstBox + i]));
    }
    // Older files stop at twenty records; whatever else stands there, even a
    // damaged record, leaves the option off.
    const auto nernst = RecordFile::readOne(path, recordNernst);
    const int check3 = nernst.status == RecordFile::Status::Ok && nernst.value == "1" ? 1 : 0;
    if (handlers.engine().params().Check3 != check3) {
        handlers.setCheck3(check3);
    }
    const auto surtension = RecordFile::readOne(path, recordSurtension);
    const int check4 =
        surtension.status == RecordFile::Status::Ok && surtension.value == "1" ? 1 : 0;
    if (handlers.engine().params().Check4 != check4) {
        handlers.setCheck4(check4);
    }
    handlers.afterLoad();
    return std::nullopt;
}

std::optional<std::string> ConfigFile::pathForName(const std::string& typedName,
                                                   const std::string& folder) {
    std::string name = trim(typedName);
    if (name.empty()) {
        return std::nullopt;
    }
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (isSeparator(name[i])) {
            nameStart = i + 1;
        }
    }
    const bool hasFolder = nameStart > 0;
    const auto dot = name.find('.', nameStart);
    if (dot != std::string::npos) {
        name.resize(dot);
    }
    if (!hasFolder) {
        std::string prefix = folder;
        if (prefix.empty() || !isSeparator(prefix.back())) {
            prefix.push_back(preferredSeparator);
        }
        name = prefix + name;
    }
    return name + extension;
}

} // namespace Ionaria::config

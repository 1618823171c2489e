// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/DescriptorWriter.h"

#include "base/RecordFile.h"
#include "base/Windows1252.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>

namespace Ionaria::exercises {

namespace {

using base::RecordFile;
using Field = DescriptorWriter::Field;
using Problem = DescriptorWriter::Problem;
using Refusal = DescriptorWriter::Refusal;

constexpr int recordOfRecord6 = 6;

std::string trimmed(const std::string& text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

// The first character of text that Windows-1252 lacks, as UTF-8.
std::string firstForeignCharacter(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if ((b & 0xE0) == 0xC0) {
            length = 2;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
        }
        length = std::min(length, text.size() - i);
        const std::string character = text.substr(i, length);
        if (!base::utf8ToWindows1252Exactly(character)) {
            return character;
        }
        i += length;
    }
    return {};
}

// The text in Windows-1252, or why it cannot be.
std::optional<Refusal> encodable(Field field, const std::string& text, std::size_t maxBytes,
                                 std::string* bytes = nullptr) {
    const auto encoded = base::utf8ToWindows1252Exactly(text);
    if (!encoded) {
        return Refusal{field, Problem::NotWindows1252, text, 0, firstForeignCharacter(text)};
    }
    if (encoded->size() > maxBytes) {
        return Refusal{field, Problem::TooLong, text, encoded->size(), {}};
    }
    if (bytes != nullptr) {
        *bytes = *encoded;
    }
    return std::nullopt;
}

std::string wholeNumber(int value) {
    std::array<char, 16> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return ec == std::errc() ? std::string(buffer.data(), end) : std::string();
}

// A record of bytes already in the code page, padded with zeros.
std::string record(const std::string& bytes) {
    std::string out(RecordFile::recordSize, '\0');
    out[0] = static_cast<char>(bytes.size() & 0xFFU);
    out[1] = static_cast<char>((bytes.size() >> 8U) & 0xFFU);
    out.replace(2, bytes.size(), bytes);
    return out;
}

std::string recordOf(const std::string& text) {
    return record(base::utf8ToWindows1252(text));
}

const char* fieldName(Field field) {
    switch (field) {
    case Field::Statement:
        return "le nom du fichier de l'énoncé";
    case Field::StatementConfiguration:
        return "le nom de la configuration de l'énoncé";
    case Field::Correction:
        return "le nom du fichier de la correction";
    case Field::CorrectionConfiguration:
        return "le nom de la configuration de la correction";
    case Field::Level:
        return "le niveau";
    case Field::Notions:
        return "les notions abordées";
    case Field::Title:
        return "l'intitulé";
    case Field::Hourglasses:
        return "la durée";
    }
    return "";
}

bool isName(Field field) {
    return field == Field::Statement || field == Field::StatementConfiguration ||
           field == Field::Correction || field == Field::CorrectionConfiguration;
}

std::string capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

} // namespace

std::optional<Refusal> DescriptorWriter::checkName(Field field, const std::string& name) {
    const std::string value = trimmed(name);
    if (value.empty()) {
        return field == Field::Statement
                   ? std::optional(Refusal{field, Problem::Blank, name, 0, {}})
                   : std::nullopt;
    }
    if (value.find_first_of("/\\") != std::string::npos || value == "." || value == "..") {
        return Refusal{field, Problem::PathSeparator, value, 0, {}};
    }
    if (std::any_of(value.begin(), value.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
        return Refusal{field, Problem::ControlCharacter, value, 0, {}};
    }
    return encodable(field, value, RecordFile::maxTextBytes);
}

std::optional<std::array<std::string, DescriptorWriter::notionRecords>>
DescriptorWriter::cutNotions(const std::string& notions) {
    const auto bytes = base::utf8ToWindows1252Exactly(notions);
    if (!bytes || bytes->size() > maxNotionBytes) {
        return std::nullopt;
    }
    std::array<std::string, notionRecords> pieces;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::size_t start = i * RecordFile::maxTextBytes;
        if (start < bytes->size()) {
            pieces[i] = bytes->substr(start, RecordFile::maxTextBytes);
        }
    }
    return pieces;
}

std::optional<Refusal> DescriptorWriter::check(const ExerciseDescriptor& d) {
    const std::pair<Field, const std::string*> names[] = {
        {Field::Statement, &d.statement},
        {Field::StatementConfiguration, &d.statementConfiguration},
        {Field::Correction, &d.correction},
        {Field::CorrectionConfiguration, &d.correctionConfiguration},
    };
    for (const auto& [field, name] : names) {
        if (auto refusal = checkName(field, *name)) {
            return refusal;
        }
    }
    if (d.level < 0 || d.level > ExerciseDescriptor::maxLevel) {
        return Refusal{Field::Level, Problem::OutOfRange, wholeNumber(d.level), 0, {}};
    }
    if (auto refusal = encodable(Field::Notions, d.notions, maxNotionBytes)) {
        return refusal;
    }
    const std::string title = trimmed(d.title);
    if (title.empty()) {
        return Refusal{Field::Title, Problem::Blank, d.title, 0, {}};
    }
    if (auto refusal = encodable(Field::Title, title, RecordFile::maxTextBytes)) {
        return refusal;
    }
    if (d.hourglasses < 0 || d.hourglasses > ExerciseDescriptor::maxHourglasses) {
        return Refusal{Field::Hourglasses, Problem::OutOfRange, wholeNumber(d.hourglasses), 0, {}};
    }
    return std::nullopt;
}

std::string DescriptorWriter::encode(const ExerciseDescriptor& d, std::string_view kept) {
    const auto notions = cutNotions(d.notions).value_or(std::array<std::string, notionRecords>{});
    std::string bytes;
    bytes.reserve(ExerciseDescriptor::recordCount * RecordFile::recordSize);
    bytes += recordOf(trimmed(d.statement));
    bytes += recordOf(trimmed(d.statementConfiguration));
    bytes += recordOf(trimmed(d.correction));
    bytes += recordOf(trimmed(d.correctionConfiguration));
    bytes += recordOf(wholeNumber(d.level));
    const std::size_t record6Start = (recordOfRecord6 - 1) * RecordFile::recordSize;
    if (kept.size() >= record6Start + RecordFile::recordSize) {
        bytes += kept.substr(record6Start, RecordFile::recordSize);
    } else {
        bytes += recordOf(d.record6);
    }
    for (const std::string& piece : notions) {
        bytes += record(piece);
    }
    bytes += recordOf(trimmed(d.title));
    bytes += recordOf(wholeNumber(d.hourglasses));
    if (kept.size() > bytes.size()) {
        bytes += kept.substr(bytes.size());
    }
    return bytes;
}

DescriptorWriter::Result DescriptorWriter::write(const std::filesystem::path& file,
                                                 const ExerciseDescriptor& descriptor,
                                                 bool keepOthers) {
    Result result;
    result.refusal = check(descriptor);
    if (result.refusal) {
        return result;
    }
    std::string kept;
    if (keepOthers) {
        std::ifstream in(file, std::ios::binary);
        kept.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    result.written = base::CarefulFile::writeAll(file.string(), encode(descriptor, kept));
    return result;
}

std::string DescriptorWriter::message(const Refusal& refusal) {
    const std::string what = fieldName(refusal.field);
    const std::string quoted = "« " + refusal.text + " »";
    switch (refusal.problem) {
    case Problem::Blank:
        return refusal.field == Field::Title ? "Il faut donner un intitulé à l'exercice."
                                             : "Il faut choisir le fichier de l'énoncé.";
    case Problem::TooLong:
        if (isName(refusal.field)) {
            return capitalised(what) + " " + quoted +
                   " est trop long : " + wholeNumber(static_cast<int>(refusal.bytes)) +
                   " octets, 126 au plus.";
        }
        return capitalised(what) +
               (refusal.field == Field::Notions ? " sont trop longues : " : " est trop long : ") +
               wholeNumber(static_cast<int>(refusal.bytes)) + " octets, " +
               wholeNumber(static_cast<int>(
                   refusal.field == Field::Notions ? maxNotionBytes : RecordFile::maxTextBytes)) +
               " au plus.";
    case Problem::NotWindows1252:
        return capitalised(what) + (isName(refusal.field) ? " " + quoted : std::string()) +
               (refusal.field == Field::Notions ? " contiennent" : " contient") +
               " le caractère « " + refusal.character +
               " », que le fichier de l'exercice ne peut pas enregistrer.";
    case Problem::PathSeparator:
        return capitalised(what) + " " + quoted +
               " n'est pas un simple nom de fichier : le fichier doit être dans le dossier de "
               "l'exercice, nommé sans / ni \\.";
    case Problem::ControlCharacter:
        return capitalised(what) + " " + quoted + " contient une tabulation ou un saut de ligne.";
    case Problem::OutOfRange:
        return refusal.field == Field::Level
                   ? "Le niveau va de 0 à 3."
                   : "La durée va de 0 à " + wholeNumber(ExerciseDescriptor::maxHourglasses) +
                         " sabliers.";
    }
    return {};
}

} // namespace Ionaria::exercises

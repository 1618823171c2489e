// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/ExerciseDescriptor.h"

#include "base/RecordFile.h"

#include <algorithm>

namespace Ionaria::exercises {

namespace {

std::string trimmed(const std::string& text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

// The leading whole number of a text, as teachers type it ("2", " 3 ", "2 niveaux");
// anything else counts as 0. The result is clamped to [0, high].
int leadingNumber(const std::string& text, int high) {
    const std::string value = trimmed(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    int number = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        number = std::min(number * 10 + (value[i] - '0'), high);
    }
    return negative ? 0 : number;
}

} // namespace

bool ExerciseDescriptor::corrected() const {
    return !trimmed(correction).empty() || !trimmed(correctionConfiguration).empty();
}

std::string ExerciseDescriptor::correctionLabel() const {
    return corrected() ? "Exercice corrigé" : "Non corrigé";
}

ExerciseDescriptor ExerciseDescriptor::fromRecords(const std::vector<std::string>& records) {
    const auto record = [&records](std::size_t n) {
        return n >= 1 && n <= records.size() ? records[n - 1] : std::string();
    };
    ExerciseDescriptor descriptor;
    descriptor.statement = trimmed(record(1));
    descriptor.statementConfiguration = trimmed(record(2));
    descriptor.correction = trimmed(record(3));
    descriptor.correctionConfiguration = trimmed(record(4));
    descriptor.level = leadingNumber(record(5), maxLevel);
    descriptor.record6 = record(6);
    descriptor.notions = record(7) + record(8) + record(9) + record(10);
    descriptor.title = trimmed(record(11));
    descriptor.hourglasses = leadingNumber(record(12), maxHourglasses);
    return descriptor;
}

std::optional<ExerciseDescriptor> ExerciseDescriptor::read(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        return std::nullopt;
    }
    const base::RecordFile::Records records = base::RecordFile::readAll(file.string(), recordCount);
    if (records.status != base::RecordFile::Status::Ok) {
        return std::nullopt;
    }
    return fromRecords(records.values);
}

} // namespace Ionaria::exercises

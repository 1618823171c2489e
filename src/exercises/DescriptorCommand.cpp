// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/DescriptorCommand.h"

#include "exercises/DescriptorWriter.h"

#include <array>
#include <charconv>
#include <ostream>

namespace Ionaria::exercises {

namespace {

std::string wholeNumber(int value) {
    std::array<char, 16> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return ec == std::errc() ? std::string(buffer.data(), end) : std::string();
}

} // namespace

int DescriptorCommand::write(const std::string& file, const ExerciseDescriptor& descriptor,
                             std::ostream& err) {
    const DescriptorWriter::Result result = DescriptorWriter::write(file, descriptor, true);
    if (result.refusal) {
        err << "ionaria : " << DescriptorWriter::message(*result.refusal) << "\n";
        return refused;
    }
    if (!result.written.ok()) {
        err << "Ecriture impossible sur disque : " << file << "\n";
        return writeError;
    }
    return ok;
}

std::string DescriptorCommand::listing(const ExerciseDescriptor& d) {
    std::string text;
    const auto line = [&text](const char* option, const std::string& value) {
        text += option;
        text += " : ";
        text += value;
        text += "\n";
    };
    line("intitule", d.title);
    line("enonce", d.statement);
    line("configuration-enonce", d.statementConfiguration);
    line("correction", d.correction);
    line("configuration-correction", d.correctionConfiguration);
    line("niveau", wholeNumber(d.level));
    line("notions", d.notions);
    line("duree", wholeNumber(d.hourglasses));
    return text;
}

int DescriptorCommand::print(const std::string& file, std::ostream& out, std::ostream& err) {
    const auto descriptor = ExerciseDescriptor::read(file);
    if (!descriptor) {
        err << "Lecture impossible : " << file << "\n";
        return cannotRead;
    }
    out << listing(*descriptor);
    out.flush();
    if (!out) {
        err << "Ecriture impossible sur disque : sortie standard\n";
        return writeError;
    }
    return ok;
}

} // namespace Ionaria::exercises

// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/RecordFile.h"
#include "exercises/AnswerBounds.h"
#include "exercises/ExerciseDescriptor.h"
#include "exercises/ExerciseFiles.h"
#include "exercises/RtfReader.h"
#include "exercises/RtfWriter.h"

#include <QByteArray>
#include <QDir>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using Ionaria::base::RecordFile;
using Ionaria::exercises::AnswerBounds;
using Ionaria::exercises::ExerciseDescriptor;
using Ionaria::exercises::ExerciseFiles;
using Ionaria::exercises::RtfReader;
using Ionaria::exercises::RtfWriter;

namespace {

QGuiApplication* application = nullptr;

// The bytes as a descriptor: its records, then every name it holds, located
// from a folder that exists.
void fuzzDescriptor(const std::string& bytes) {
    std::istringstream in(bytes);
    std::vector<std::string> records;
    for (int n = 1; n <= ExerciseDescriptor::recordCount; ++n) {
        RecordFile::Text text =
            RecordFile::readRecord(in, static_cast<std::int64_t>(bytes.size()), n);
        records.push_back(text.status == RecordFile::Status::Ok ? text.value : std::string());
    }
    const ExerciseDescriptor descriptor = ExerciseDescriptor::fromRecords(records);
    if (descriptor.level < 0 || descriptor.level > ExerciseDescriptor::maxLevel ||
        descriptor.hourglasses < 0 || descriptor.hourglasses > ExerciseDescriptor::maxHourglasses) {
        std::abort();
    }
    const std::filesystem::path folder = QDir::tempPath().toStdString();
    for (const std::string& name : {descriptor.statement, descriptor.statementConfiguration,
                                    descriptor.correction, descriptor.correctionConfiguration}) {
        const auto located = ExerciseFiles::locate(folder, name);
        if (located && ExerciseFiles::leavesFolder(name) && !std::filesystem::exists(*located)) {
            std::abort();
        }
    }
}

void fuzzRichText(const QByteArray& bytes) {
    const QByteArray rtf = RtfReader::isRtf(bytes) ? bytes : "{\\rtf1 " + bytes;
    QTextDocument first;
    if (!RtfReader::read(rtf, first)) {
        std::abort();
    }
    const RtfWriter::Written counted = RtfWriter::writeCounted(first);
    // The window saves only what it can reopen whole; what it would refuse
    // to save is never written.
    if (AnswerBounds::of(counted) != AnswerBounds::Excess::None) {
        return;
    }
    const QByteArray& written = counted.bytes;
    QTextDocument second;
    if (!RtfReader::read(written, second)) {
        std::abort();
    }
    const RtfWriter::Written again = RtfWriter::writeCounted(second);
    if (again.pictures.count != counted.pictures.count) {
        std::fprintf(stderr, "pictures lost: %d written, %d read back\n", counted.pictures.count,
                     again.pictures.count);
        std::abort();
    }
    if (again.bytes != written) {
        std::fprintf(stderr, "writer not stable:\n%s\n---\n%s\n", written.constData(),
                     again.bytes.constData());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QGuiApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    fuzzRichText(bytes);
    fuzzDescriptor(bytes.toStdString());
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/AnswerTextEdit.h"
#include "exercises/RtfReader.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>

using namespace Ionaria;

namespace {

// The text box of the exercises at the window's design size, px.
constexpr int boxWidth = 247;
constexpr int boxHeight = 164;

// Texts as large as the reader takes, each of one shape the layout finds
// hard: one run of letters with no place to break a line; one paragraph of
// words; as many paragraphs as the reader takes; one paragraph whose every
// letter changes the format; paragraphs each with as many changes of format
// as the reader keeps in one.
enum class Shape { LongRun, OneParagraph, Paragraphs, FormatRuns, FormatRunsParagraphs };

QByteArray statement(Shape shape) {
    // What the limit leaves after the header and the closing brace.
    const qsizetype room = exercises::RtfReader::maxInputBytes - 16;
    QByteArray body;
    body.reserve(room);
    switch (shape) {
    case Shape::LongRun:
        body.fill('a', room);
        break;
    case Shape::OneParagraph:
        while (body.size() + 8 <= room) {
            body += "mot mot ";
        }
        break;
    case Shape::Paragraphs: {
        const qsizetype each = room / exercises::RtfReader::maxParagraphs;
        const QByteArray paragraph = QByteArray("mot ").repeated(each / 4 - 2) + "\\par ";
        for (int i = 0; i < exercises::RtfReader::maxParagraphs; ++i) {
            body += paragraph;
        }
        break;
    }
    case Shape::FormatRuns:
        while (body.size() + 14 <= room) {
            body += "{\\b a}{\\i b}";
        }
        break;
    case Shape::FormatRunsParagraphs: {
        const QByteArray paragraph =
            QByteArray("{\\b a}{\\i b}").repeated(exercises::RtfReader::maxFormatRuns / 2) +
            "\\par ";
        while (body.size() + paragraph.size() <= room) {
            body += paragraph;
        }
        break;
    }
    }
    return "{\\rtf1\\ansi " + body + "}";
}

// The box as the window holds it: shown, at its design size, holding a short
// text before the statement comes.
struct Box {
    exercises::AnswerTextEdit edit;
    Box() {
        edit.resize(boxWidth, boxHeight);
        edit.show();
        reset();
    }
    void reset() {
        edit.setPlainText(QStringLiteral("Ionaria\n\nUn texte court, comme la présentation."));
        QApplication::processEvents();
    }
};

void paintNow(Box& box) {
    box.edit.viewport()->repaint();
    QApplication::processEvents();
}

// What the pupil waits for when a statement, a correction or a text opens:
// the file's bytes (already in memory) read into the shown box as the window
// reads them, then the box painted and the events handled that opening left.
// The part of a long text below the box may still be laid out afterwards, a
// step at a time between events.
void openText(benchmark::State& state) {
    const QByteArray bytes = statement(static_cast<Shape>(state.range(0)));
    if (!exercises::RtfReader::check(bytes)) {
        state.SkipWithError("the reader refuses the text");
        return;
    }
    Box box;
    for (auto _ : state) {
        exercises::RtfReader::show(bytes, box.edit);
        paintNow(box);
        state.PauseTiming();
        box.reset();
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

// Then going to the end of the text at once (Ctrl+End) and painting it, which
// lays out everything that opening left to later: the most any later step of
// reading the text makes the pupil wait.
void goToEnd(benchmark::State& state) {
    const QByteArray bytes = statement(static_cast<Shape>(state.range(0)));
    Box box;
    for (auto _ : state) {
        state.PauseTiming();
        exercises::RtfReader::show(bytes, box.edit);
        paintNow(box);
        state.ResumeTiming();
        box.edit.moveCursor(QTextCursor::End);
        paintNow(box);
        state.PauseTiming();
        box.reset();
        state.ResumeTiming();
    }
}

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Or leaving the box alone after opening, while it lays out the rest of the
// text a step at a time between events: longest_step_ms is the longest the
// box does not answer the pupil meanwhile, as CPU of this thread.
void layOutRest(benchmark::State& state) {
    const QByteArray bytes = statement(static_cast<Shape>(state.range(0)));
    Box box;
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        exercises::RtfReader::show(bytes, box.edit);
        paintNow(box);
        state.ResumeTiming();
        const QTextBlock last = box.edit.document()->lastBlock();
        while (last.layout()->lineCount() == 0) {
            const double before = threadCpuMs();
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
            longest = std::max(longest, threadCpuMs() - before);
        }
        state.PauseTiming();
        box.reset();
        state.ResumeTiming();
    }
    state.counters["longest_step_ms"] = longest;
}

void shapes(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("shape");
    for (const Shape shape : {Shape::LongRun, Shape::OneParagraph, Shape::Paragraphs,
                              Shape::FormatRuns, Shape::FormatRunsParagraphs}) {
        benchmark->Arg(static_cast<int>(shape));
    }
    // One opening per figure; for medians: --benchmark_repetitions=3.
    benchmark->Unit(benchmark::kMillisecond)->Iterations(1);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::RegisterBenchmark("openText", openText)->Apply(shapes);
    benchmark::RegisterBenchmark("goToEnd", goToEnd)->Apply(shapes);
    benchmark::RegisterBenchmark("layOutRest", layOutRest)->Apply(shapes);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

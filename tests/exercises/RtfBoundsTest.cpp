// SPDX-License-Identifier: GPL-3.0-or-later
#include "RtfFixture.h"

#include "exercises/RtfParser.h"

#include <QtTest>

using namespace rtftest;

// Files from anywhere: hostile input ends, within bounds of time and memory,
// and the paragraph and picture bounds hold.
class RtfBoundsTest : public QObject {
    Q_OBJECT

private slots:
    void survivesHostileInput_data();
    void survivesHostileInput();
    void boundsHostileFiles_data();
    void boundsHostileFiles();
    void paragraphCap_data();
    void paragraphCap();
    void pictureBudget_data();
    void pictureBudget();
    void formatRunCap_data();
    void formatRunCap();
    void formatsFollowLateTables();
};

void RtfBoundsTest::survivesHostileInput_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("deep nesting") << "{\\rtf1 a" + QByteArray(100000, '{') + "b" +
                                         QByteArray(100000, '}') + "c}"
                                  << QStringLiteral("abc");
    QTest::newRow("deep nesting never closed")
        << "{\\rtf1 a" + QByteArray(300000, '{') + "\\b b" << QStringLiteral("a<b>b</b>");
    QTest::newRow("too many closing braces") << QByteArray("{\\rtf1 a}}}}b") << QStringLiteral("a");
    QTest::newRow("huge numbers")
        << QByteArray(R"({\rtf1{\uc99999999999 \u99999999999999999999 a}\li-99999999999999 )"
                      R"(\fi99999999999\u-99999999999?b})")
        << QStringLiteral("b");
    QTest::newRow("enormous bin") << QByteArray("{\\rtf1 a\\bin999999999999999 xyz}")
                                  << QStringLiteral("a");
    QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 xyz}") << QStringLiteral("axyz");
    QTest::newRow("truncated hex escape") << QByteArray("{\\rtf1 abc\\'4") << QStringLiteral("abc");
    QTest::newRow("truncated control word") << QByteArray("{\\rtf1 abc\\") << QStringLiteral("abc");
    QTest::newRow("truncated unicode skip")
        << QByteArray("{\\rtf1 abc\\u233") << QStringLiteral("abcé");
    QTest::newRow("very long control word")
        << "{\\rtf1 a\\" + QByteArray(100000, 'b') + " c}" << QStringLiteral("ac");
    QTest::newRow("odd picture hex")
        << QByteArray("{\\rtf1 {\\pict\\pngblip 89504e470}x}") << QStringLiteral("x");
}

void RtfBoundsTest::survivesHostileInput() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(markup(document), expected);
}

// Files of the largest size taken, each built to cost the reader the most in
// one way: what the reader keeps stays within its bounds and far below a
// hundred megabytes, and what it refuses it refuses before building anything.
void RtfBoundsTest::boundsHostileFiles_data() {
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("status");
    const auto shapes = Ionaria::testing::hostileRtfShapes();
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const bool marks = i < 3;
        QTest::newRow(shapes[i].name)
            << int(i)
            << int(marks ? RtfReader::Status::TooManyParagraphs : RtfReader::Status::Read);
    }
}

void RtfBoundsTest::boundsHostileFiles() {
    QFETCH(int, shape);
    QFETCH(int, status);
    const QByteArray bytes = Ionaria::testing::hostileRtfShapes()[std::size_t(shape)].make(
        RtfReader::maxInputBytes, RtfReader::maxParagraphs);
    QVERIFY(bytes.size() <= RtfReader::maxInputBytes);
    QVERIFY(bytes.size() > RtfReader::maxInputBytes - 100000);
    QCOMPARE(int(RtfReader::check(bytes).status), status);
    const double before = heapBytes();
    QTextDocument document;
    QCOMPARE(int(RtfReader::read(bytes, document).status), status);
    const double held = heapBytes() - before;
    QVERIFY2(held < 100e6, qPrintable(QString("%1 MB").arg(held / 1e6)));
    QVERIFY(document.blockCount() <= RtfReader::maxParagraphs + 1);
    QVERIFY(imageCount(document) <= RtfReader::maxPictures);
    QVERIFY(picturePixels(document) <= RtfReader::maxPicturePixels);
    if (status != int(RtfReader::Status::Read)) {
        QVERIFY(document.isEmpty());
    }
}

void RtfBoundsTest::paragraphCap_data() {
    QTest::addColumn<QByteArray>("mark");
    QTest::addColumn<int>("marks");
    QTest::addColumn<int>("status");
    const std::array<std::pair<const char*, const char*>, 5> marks = {{{"par", "\\par "},
                                                                       {"row", "\\row "},
                                                                       {"sect", "\\sect "},
                                                                       {"page", "\\page "},
                                                                       {"line end", "\\\n"}}};
    for (const auto& [name, mark] : marks) {
        QTest::addRow("%s at the cap", name)
            << QByteArray(mark) << RtfReader::maxParagraphs << int(RtfReader::Status::Read);
        QTest::addRow("%s beyond", name) << QByteArray(mark) << RtfReader::maxParagraphs + 1
                                         << int(RtfReader::Status::TooManyParagraphs);
    }
    QTest::newRow("marks in a skipped group do not count")
        << QByteArray("{\\*\\unknown \\par}") << RtfReader::maxParagraphs + 1
        << int(RtfReader::Status::Read);
}

void RtfBoundsTest::paragraphCap() {
    QFETCH(QByteArray, mark);
    QFETCH(int, marks);
    QFETCH(int, status);
    const QByteArray bytes = "{\\rtf1 x" + mark.repeated(marks) + "y}";
    QCOMPARE(int(RtfReader::check(bytes).status), status);
    QTextDocument document;
    document.setPlainText(QStringLiteral("avant"));
    QCOMPARE(int(RtfReader::read(bytes, document).status), status);
    if (status == int(RtfReader::Status::Read)) {
        QVERIFY(document.toPlainText().startsWith(QLatin1Char('x')));
        QVERIFY(document.toPlainText().endsWith(QLatin1Char('y')));
        if (!mark.startsWith("{")) {
            QCOMPARE(document.blockCount(), marks + 1);
        }
    } else {
        QVERIFY(document.isEmpty());
    }
}

void RtfBoundsTest::pictureBudget_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("images");
    QTest::addColumn<qint64>("pixels");
    const QByteArray small = "{\\pict\\pngblip " + pictureHex(testImage(), "PNG") + "}";
    const QByteArray large = "{\\pict\\pngblip " + Ionaria::testing::pngHex(4096, 2048) + "}";
    QTest::newRow("the most pictures")
        << "{\\rtf1 " + small.repeated(RtfReader::maxPictures) + "}" << RtfReader::maxPictures
        << qint64{12 * 6 * RtfReader::maxPictures};
    QTest::newRow("one picture more")
        << "{\\rtf1 " + small.repeated(RtfReader::maxPictures + 1) + "}" << RtfReader::maxPictures
        << qint64{12 * 6 * RtfReader::maxPictures};
    QTest::newRow("every pixel in one picture")
        << "{\\rtf1 " + large + small + "}" << 1 << RtfReader::maxPicturePixels;
    QTest::newRow("a small picture before")
        << "{\\rtf1 " + small + large + small + "}" << 2 << qint64{2 * 12 * 6};
}

void RtfBoundsTest::pictureBudget() {
    QFETCH(QByteArray, rtf);
    QFETCH(int, images);
    QFETCH(qint64, pixels);
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(imageCount(document), images);
    QCOMPARE(picturePixels(document), pixels);
}

namespace {

// One bold letter and one italic one: two runs of text of one format.
const QByteArray twoRuns = "{\\b a}{\\i b}";

QList<int> fragmentsPerBlock(const QTextDocument& document) {
    QList<int> counts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        int count = 0;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            ++count;
        }
        counts.append(count);
    }
    return counts;
}

QString withoutBreaks(QString text) {
    return text.remove(Ionaria::exercises::rtf::zeroWidthSpace);
}

} // namespace

// A paragraph keeps the formats of its first runs up to its cap, a text up to
// its own, and the text whole; the rest of a paragraph's text takes the format
// of its last kept run.
void RtfBoundsTest::formatRunCap_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QList<int>>("fragments");
    QTest::addColumn<bool>("kept");
    const int cap = RtfReader::maxFormatRuns;
    const QByteArray atCap = twoRuns.repeated(cap / 2);
    QTest::newRow("at the cap") << atCap << QList<int>{cap} << true;
    QTest::newRow("one run beyond") << atCap + "{\\b c}" << QList<int>{cap} << false;
    QTest::newRow("groups of one format are one run")
        << QByteArray("{\\b a}{\\b b}").repeated(cap) << QList<int>{1} << true;
    QTest::newRow("each paragraph counts its own")
        << atCap + "\\par " + atCap << QList<int>{cap, cap} << true;
    QTest::newRow("a paragraph beyond, the next one whole")
        << atCap + twoRuns + "\\par " + twoRuns << QList<int>{cap, 2} << false;
    const QByteArray paragraphAtCap = atCap + "\\par ";
    const int paragraphs = RtfReader::maxTextFormatRuns / cap;
    QTest::newRow("the text at its cap")
        << paragraphAtCap.repeated(paragraphs - 1) + atCap << QList<int>(paragraphs, cap) << true;
    QTest::newRow("beyond the text's cap, each paragraph its first run")
        << paragraphAtCap.repeated(paragraphs) + twoRuns + "\\par " + twoRuns
        << QList<int>(paragraphs, cap) + QList<int>{1, 1} << false;
    // The size limit filled with runs of one letter.
    QByteArray filled = twoRuns;
    while (filled.size() + twoRuns.size() + 16 <= RtfReader::maxInputBytes) {
        filled += twoRuns;
    }
    QTest::newRow("a run every letter up to the size limit") << filled << QList<int>{cap} << false;
}

void RtfBoundsTest::formatRunCap() {
    QFETCH(QByteArray, body);
    QFETCH(QList<int>, fragments);
    QFETCH(bool, kept);
    const QByteArray bytes = "{\\rtf1\\ansi " + body + "}";
    QVERIFY(bytes.size() <= RtfReader::maxInputBytes);
    const RtfReader::Result checked = RtfReader::check(bytes);
    QVERIFY(checked);
    QCOMPARE(checked.formatsKept, kept);
    QTextDocument document;
    const RtfReader::Result read = RtfReader::read(bytes, document);
    QVERIFY(read);
    QCOMPARE(read.formatsKept, kept);
    QCOMPARE(fragmentsPerBlock(document), fragments);

    // The text is whole: every letter of the file, in order.
    QString letters;
    for (qsizetype at = body.indexOf('}'); at >= 0; at = body.indexOf('}', at + 1)) {
        letters += QLatin1Char(body[at - 1]);
        if (QByteArrayView(body).sliced(at + 1).startsWith("\\par ")) {
            letters += QChar::ParagraphSeparator;
        }
    }
    QCOMPARE(withoutBreaks(document.toRawText()), letters);

    // Past the cap, the text keeps the format of the last kept run.
    const QTextBlock first = document.begin();
    QTextBlock::iterator last = first.begin();
    for (auto it = first.begin(); !it.atEnd(); ++it) {
        last = it;
    }
    const bool lastKeptBold = fragments[0] % 2 == 1;
    QCOMPARE(last.fragment().charFormat().fontWeight() == QFont::Bold, lastKeptBold);
}

// Formats are made once for each formatting, but not kept across a change of
// the tables they name.
void RtfBoundsTest::formatsFollowLateTables() {
    QTextDocument document;
    QVERIFY(RtfReader::read("{\\rtf1{\\cf1 a}{\\colortbl;\\red255\\green0\\blue0;}{\\cf1 b}"
                            "{\\f1 c}{\\fonttbl{\\f1 Liberation Serif;}}{\\f1 d}}",
                            document));
    QTextCursor cursor(&document);
    const auto formatAfter = [&cursor](int position) {
        cursor.setPosition(position);
        return cursor.charFormat();
    };
    QVERIFY(!formatAfter(1).hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(formatAfter(2).foreground().color(), QColor(255, 0, 0));
    QVERIFY(!formatAfter(3).fontFamilies().toStringList().contains("Liberation Serif"));
    QCOMPARE(formatAfter(4).fontFamilies().toStringList().value(0), "Liberation Serif");
}

QTEST_MAIN(RtfBoundsTest)
#include "RtfBoundsTest.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedDialogs.h"

#include "exercises/AnswerBounds.h"
#include "exercises/AnswerTextEdit.h"
#include "exercises/ExerciseSession.h"
#include "exercises/RtfParser.h"
#include "exercises/RtfReader.h"
#include "exercises/RtfWriter.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include <memory>

using namespace Ionaria;
using exercises::AnswerBounds;
using exercises::AnswerTextEdit;
using exercises::ExerciseSession;
using exercises::RtfReader;
using exercises::RtfWriter;
namespace rtf = exercises::rtf;

namespace {

// A picture whose PNG is about as large as its pixels: noise does not compress.
QImage noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            line[x] = random.generate() | 0xFF000000U;
        }
    }
    return image;
}

// A picture as the copy of the experiment gives it: mostly flat colour.
QImage drawing(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    for (int y = 0; y < height; y += 16) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(0, 0, 200));
        }
    }
    return image;
}

struct Shown {
    int count = 0;
    QList<QSize> sizes;
};

// The pictures of a document, in order, at their own size in pixels.
Shown picturesOf(const QTextDocument& document) {
    Shown shown;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) {
                continue;
            }
            const QVariant resource = document.resource(QTextDocument::ImageResource,
                                                        QUrl(format.toImageFormat().name()));
            for (int n = 0; n < it.fragment().length(); ++n) {
                ++shown.count;
                shown.sizes << resource.value<QImage>().size();
            }
        }
    }
    return shown;
}

// The answer box of the exercises window and the session that saves it.
struct Answer {
    sim::Engine engine;
    sim::Handlers handlers{engine};
    AnswerTextEdit supertext;
    QLineEdit fich;
    ScriptedDialogs dialogs;
    QTemporaryDir folder;
    std::unique_ptr<ExerciseSession> session;

    Answer() {
        handlers.startup();
        session = std::make_unique<ExerciseSession>(
            supertext, fich, handlers, [] {}, folder.path(), nullptr, dialogs);
        fich.setText(QStringLiteral("Texte: reponse.RTF"));
        supertext.setPlainText(QStringLiteral("Réponse de l'élève : "));
        supertext.moveCursor(QTextCursor::End);
    }
    // Pastes the picture as the clipboard holds it after a copy.
    void paste(const QImage& image) {
        auto* data = new QMimeData;
        data->setImageData(image);
        QApplication::clipboard()->setMimeData(data);
        supertext.moveCursor(QTextCursor::End);
        supertext.paste();
    }
    QString save() {
        const QString path = folder.filePath("reponse.RTF");
        dialogs.saveName = path;
        session->savetexte()->trigger();
        return path;
    }
};

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The pupil's answer box: a picture pasted that the reader could not take
// back is refused at once, everything that was taken saves and reopens
// whole, and a run with no space is cut at the box's edge.
class AnswerBoxTest : public QObject {
    Q_OBJECT

private slots:
    void pastesUpToTheBounds_data();
    void pastesUpToTheBounds();
    void saveRefusedKeepsOldFile();
    void formatRunsUpToTheBound_data();
    void formatRunsUpToTheBound();
    void accentsTakeOneByte_data();
    void accentsTakeOneByte();
    void opensInTheBox_data();
    void opensInTheBox();
    void refusedTextKeepsTheBox_data();
    void refusedTextKeepsTheBox();
};

void AnswerBoxTest::pastesUpToTheBounds_data() {
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<int>("accepted");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("small ones, up to their number")
        << drawing(16, 16) << RtfReader::maxPictures << "plus de 100 images";
    // The experiment copied at four times its size: 1668 x 1988 px.
    QTest::newRow("copies at x4, up to their pixels")
        << drawing(1668, 1988) << 2 << "trop grandes ensemble";
    QTest::newRow("copies at x1, up to their pixels")
        << drawing(417, 497) << 40 << "trop grandes ensemble";
    QTest::newRow("noise, up to the file's size") << noise(380, 380) << 2 << "dépasserait 2 Mo";
    QTest::newRow("one side too long") << drawing(9000, 2) << 0 << "8 192 points de côté";
}

void AnswerBoxTest::pastesUpToTheBounds() {
    QFETCH(QImage, picture);
    QFETCH(int, accepted);
    QFETCH(QString, refusal);
    Answer answer;
    for (int n = 0; n < accepted; ++n) {
        answer.paste(picture);
    }
    QCOMPARE(answer.dialogs.messages, QStringList());
    QCOMPARE(picturesOf(*answer.supertext.document()).count, accepted);
    const QString before = answer.supertext.toHtml();
    answer.paste(picture);
    QCOMPARE(answer.dialogs.messages.size(), 1);
    QVERIFY2(answer.dialogs.messages[0].startsWith(QStringLiteral("Image refusée | ")),
             qPrintable(answer.dialogs.messages[0]));
    QVERIFY2(answer.dialogs.messages[0].contains(refusal), qPrintable(answer.dialogs.messages[0]));
    QCOMPARE(answer.supertext.toHtml(), before);

    // What was taken saves, and reopens whole.
    const QString path = answer.save();
    QCOMPARE(answer.dialogs.messages.size(), 1);
    QCOMPARE(answer.session->texteModifie(), 0);
    QTextDocument reopened;
    QVERIFY(RtfReader::read(contents(path), reopened));
    const Shown shown = picturesOf(reopened);
    QCOMPARE(shown.count, accepted);
    for (const QSize& size : shown.sizes) {
        QCOMPARE(size, picture.size());
    }
    QVERIFY(reopened.toPlainText().startsWith(QStringLiteral("Réponse de l'élève : ")));
}

void AnswerBoxTest::saveRefusedKeepsOldFile() {
    Answer answer;
    const QString path = answer.folder.filePath("reponse.RTF");
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("{\\rtf1 ancien}");
    }
    // Pictures that came with a loaded text, not through a paste, over the
    // pixels the reader keeps.
    QTextDocument* document = answer.supertext.document();
    document->addResource(QTextDocument::ImageResource, QUrl("grande.png"), drawing(2048, 2048));
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    for (int n = 0; n < 3; ++n) {
        cursor.insertImage(QStringLiteral("grande.png"));
    }
    answer.dialogs.answerOk = true;
    answer.save();
    QCOMPARE(answer.dialogs.fileDialogs, 0);
    QCOMPARE(answer.dialogs.messages.size(), 1);
    QVERIFY2(answer.dialogs.messages[0].startsWith(
                 QStringLiteral("Enregistrement impossible | Le texte n'est pas enregistré")),
             qPrintable(answer.dialogs.messages[0]));
    QVERIFY(answer.dialogs.messages[0].contains(QStringLiteral("Retirer des images")));
    QCOMPARE(contents(path), QByteArray("{\\rtf1 ancien}"));
    QCOMPARE(answer.session->texteModifie(), 1);
}

// A text that changes format more often than the reader keeps is not saved:
// reopened, it would lose formats. Up to the bounds, it reopens with every
// format.
void AnswerBoxTest::formatRunsUpToTheBound_data() {
    QTest::addColumn<int>("runs");
    QTest::addColumn<int>("paragraphs");
    QTest::addColumn<int>("excess");
    const int none = int(AnswerBounds::Excess::None);
    const int tooMany = int(AnswerBounds::Excess::TooManyFormatRuns);
    const int paragraphs = RtfReader::maxTextFormatRuns / RtfReader::maxFormatRuns;
    QTest::newRow("a paragraph at its bound") << RtfReader::maxFormatRuns << 1 << none;
    QTest::newRow("a paragraph beyond") << RtfReader::maxFormatRuns + 2 << 1 << tooMany;
    QTest::newRow("the text at its bound") << RtfReader::maxTextFormatRuns << paragraphs << none;
    QTest::newRow("the text beyond")
        << RtfReader::maxTextFormatRuns + RtfReader::maxFormatRuns << paragraphs + 1 << tooMany;
}

void AnswerBoxTest::formatRunsUpToTheBound() {
    QFETCH(int, runs);
    QFETCH(int, paragraphs);
    QFETCH(int, excess);
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    const int each = runs / paragraphs;
    cursor.beginEditBlock();
    for (int n = 0; n < runs; ++n) {
        if (n > 0 && n % each == 0) {
            cursor.insertBlock();
        }
        cursor.insertText(QStringLiteral("x"), n % 2 == 0 ? bold : italic);
    }
    cursor.endEditBlock();
    const RtfWriter::Written written = RtfWriter::writeCounted(document);
    QCOMPARE(int(AnswerBounds::of(written)), excess);
    const auto refusal = AnswerBounds::saveRefusal(AnswerBounds::Excess(excess));
    if (excess != int(AnswerBounds::Excess::None)) {
        QVERIFY(refusal);
        QVERIFY(QString::fromStdString(refusal->text)
                    .contains(QStringLiteral("trop souvent de mise en forme")));
        return;
    }
    QVERIFY(!refusal);
    QTextDocument reopened;
    QVERIFY(RtfReader::read(written.bytes, reopened));
    QCOMPARE(reopened.blockCount(), paragraphs);
    int fragments = 0;
    for (QTextBlock block = reopened.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QCOMPARE(it.fragment().charFormat().fontWeight() == QFont::Bold, fragments % 2 == 0);
            ++fragments;
        }
    }
    QCOMPARE(fragments, runs);
}

void AnswerBoxTest::accentsTakeOneByte_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("é") << QStringLiteral("é") << QByteArray("\\'e9");
    QTest::newRow("euro sign") << QStringLiteral("€") << QByteArray("\\'80");
    QTest::newRow("œ") << QStringLiteral("œ") << QByteArray("\\'9c");
    QTest::newRow("not in the code page") << QStringLiteral("ĉ") << QByteArray("\\u265\\'3f");
}

void AnswerBoxTest::accentsTakeOneByte() {
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    QTextDocument document;
    document.setPlainText(text.repeated(1000));
    const QByteArray rtf = RtfWriter::write(document);
    QVERIFY2(rtf.contains(written.repeated(1000)), rtf.left(200).constData());
    QTextDocument reread;
    QVERIFY(RtfReader::read(rtf, reread));
    // Without the reader's own break marks, which the writer leaves out.
    QCOMPARE(reread.toPlainText().remove(rtf::zeroWidthSpace), text.repeated(1000));
    QCOMPARE(RtfWriter::write(reread), rtf);
}

void AnswerBoxTest::opensInTheBox_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("scrolls");
    const QByteArray run(20000, 'a');
    QTest::newRow("one run with no space") << run << QString::fromLatin1(run) << true;
    QTest::newRow("one long paragraph of words")
        << QByteArray("mot ").repeated(5000) << QStringLiteral("mot ").repeated(5000) << true;
    QTest::newRow("many paragraphs") << QByteArray("ligne\\par ").repeated(5000)
                                     << QStringLiteral("ligne\n").repeated(5000) << true;
    QTest::newRow("a short text") << QByteArray("Un texte court.")
                                  << QStringLiteral("Un texte court.") << false;
}

// Opening shows the text from its start, laid out within the box's width,
// with nothing to undo and the scroll bar only when the text needs it; what
// the box was given to lay a long run out is never written back.
void AnswerBoxTest::opensInTheBox() {
    QFETCH(QByteArray, body);
    QFETCH(QString, text);
    QFETCH(bool, scrolls);
    AnswerTextEdit box;
    box.resize(247, 164);
    box.show();
    box.setPlainText(QStringLiteral("Un texte avant, le curseur à la fin."));
    box.moveCursor(QTextCursor::End);
    QVERIFY(RtfReader::show("{\\rtf1\\ansi " + body + "}", box));
    QTextDocument& document = *box.document();
    QCOMPARE(box.textCursor().position(), 0);
    QVERIFY(!box.textCursor().hasSelection());
    QVERIFY(!document.isUndoAvailable());
    QCOMPARE(box.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    if (document.blockCount() > 100) {
        // What lies below the box waits for its turn.
        QCOMPARE(document.lastBlock().layout()->lineCount(), 0);
    }
    const QSizeF laidOut = document.documentLayout()->documentSize();
    QApplication::processEvents();
    QVERIFY2(laidOut.width() <= box.viewport()->width(),
             qPrintable(QString::number(laidOut.width())));
    QCOMPARE(box.verticalScrollBar()->isVisible(), scrolls);
    if (body.startsWith('a')) {
        // Cut where each line ends: many lines, none wider than the box.
        QVERIFY2(laidOut.height() > 100 * QFontMetricsF(box.font()).height(),
                 qPrintable(QString::number(laidOut.height())));
    }
    const QString shown = document.toPlainText();
    const qsizetype breaks = body.startsWith('a') ? (body.size() - 1) / rtf::maxUnbrokenRun : 0;
    QCOMPARE(shown.count(rtf::zeroWidthSpace), breaks);
    QCOMPARE(QString(shown).remove(rtf::zeroWidthSpace), text);
    QTextDocument reread;
    QVERIFY(RtfReader::read(RtfWriter::write(document), reread));
    QCOMPARE(reread.toPlainText(), shown);
    if (body.startsWith('a')) {
        QVERIFY(RtfWriter::write(document).contains(body));
    }
}

void AnswerBoxTest::refusedTextKeepsTheBox_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<RtfReader::Status>("status");
    QTest::newRow("too many paragraphs")
        << "{\\rtf1 " + QByteArray("\\par ").repeated(RtfReader::maxParagraphs + 1) + "}"
        << RtfReader::Status::TooManyParagraphs;
    QTest::newRow("too large") << "{\\rtf1 " + QByteArray(RtfReader::maxInputBytes, 'a') + "}"
                               << RtfReader::Status::TooLarge;
    QTest::newRow("not rich text") << QByteArray("texte") << RtfReader::Status::NotRichText;
}

void AnswerBoxTest::refusedTextKeepsTheBox() {
    QFETCH(QByteArray, bytes);
    QFETCH(RtfReader::Status, status);
    AnswerTextEdit box;
    box.setPlainText(QStringLiteral("La réponse d'avant."));
    box.moveCursor(QTextCursor::End);
    QCOMPARE(RtfReader::show(bytes, box).status, status);
    QCOMPARE(box.toPlainText(), QStringLiteral("La réponse d'avant."));
    QCOMPARE(box.textCursor().position(), box.toPlainText().size());
}

QTEST_MAIN(AnswerBoxTest)
#include "AnswerBoxTest.moc"

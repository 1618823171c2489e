// SPDX-License-Identifier: GPL-3.0-or-later
#include "RtfFixture.h"

#include <QtTest>

using namespace rtftest;

// The writer: what it writes reads back as it was, in plain ASCII.
class RtfRoundTripTest : public QObject {
    Q_OBJECT

private slots:
    void roundTrips_data();
    void roundTrips();
    void roundTripsBuiltDocument();
    void writesPlainAscii();
};

void RtfRoundTripTest::roundTrips_data() {
    QTest::addColumn<QByteArray>("rtf");

    for (const char* file :
         {"pile-pandoc.rtf", "pile-libreoffice.rtf", "electrolyse-libreoffice.rtf"}) {
        QTest::newRow(file) << readFile(QString::fromLatin1(file));
    }
    QTest::newRow("formats") << QByteArray(
        R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1 Courier New;}})"
        R"({\colortbl;\red192\green0\blue0;\red255\green255\blue0;})"
        R"(\qc\li300\ri150\fi-150\sb60\sa120 {\b\i\ul\strike\fs30\cf1\highlight2 )"
        R"(tout} {\f1\super 2+}{\sub 4}\par\pard\qj sym\'e9trique \{\}\\\tab)"
        R"( fin\line suite\u-10179?\u-8704?\u1071?\~\-\_})");
    QTest::newRow("empty paragraphs") << QByteArray(R"({\rtf1 \par\par x\par})");
    QTest::newRow("font names with special characters") << QByteArray(
        R"({\rtf1{\fonttbl{\f0 D\u233\'e9j\u224\'e0  Vu\~Sans;}{\f1 \u1071?z;}}x\f1 y})");
    QTest::newRow("font named by a brace alone") << QByteArray("{\\rtf1 5{\\fonttbl\\f\\}} ");
    QTest::newRow("font names with escaped braces")
        << QByteArray(R"({\rtf1{\fonttbl{\f0 Ar\{ial\};}{\f1 Cou\\rier;}}a{\f1 b}})");
    QTest::newRow("control characters from a code page")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932 a\\'82\\'a0\\'ff\\'fd b}");
    QTest::newRow("picture") << "{\\rtf1 {\\pict\\pngblip\\picwgoal300\\pichgoal150 " +
                                    pictureHex(testImage(), "PNG") + "}}";
}

void RtfRoundTripTest::roundTrips() {
    QFETCH(QByteArray, rtf);
    QTextDocument first;
    QVERIFY(RtfReader::read(rtf, first));
    const QByteArray written = RtfWriter::write(first);
    QTextDocument second;
    QVERIFY(RtfReader::read(written, second));
    QCOMPARE(fullDescription(second), fullDescription(first));
    QCOMPARE(RtfWriter::write(second), written);
}

void RtfRoundTripTest::roundTripsBuiltDocument() {
    QTextDocument document;
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("schema.png")),
                         testImage());
    QTextCursor cursor(&document);
    QTextCharFormat sub;
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    QTextCharFormat sup;
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    cursor.insertText(QStringLiteral("SO"));
    cursor.insertText(QStringLiteral("4"), sub);
    cursor.insertText(QStringLiteral("2−"), sup);
    QTextListFormat listFormat;
    listFormat.setStyle(QTextListFormat::ListDecimal);
    cursor.insertList(listFormat);
    cursor.insertText(QStringLiteral("anode"), QTextCharFormat());
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("cathode"));
    cursor.insertBlock();
    cursor.currentList()->remove(cursor.block());
    QTextBlockFormat plain;
    cursor.setBlockFormat(plain);
    QTextImageFormat image;
    image.setName(QStringLiteral("schema.png"));
    image.setWidth(24);
    image.setHeight(12);
    cursor.insertImage(image);

    QTextDocument reread;
    QVERIFY(RtfReader::read(RtfWriter::write(document), reread));
    QCOMPARE(markup(reread),
             QStringLiteral("SO<sub>4</sub><sup>2−</sup>\n1.\tanode\n2.\tcathode\n<img>"));
    QCOMPARE(blockContaining(reread, QStringLiteral("anode")).blockFormat().textIndent(), -24.0);
    QVERIFY(blockContaining(reread, QStringLiteral("anode")).blockFormat().leftMargin() > 0);
    const QTextImageFormat readImage =
        formatAt(reread, QString(QChar::ObjectReplacementCharacter)).toImageFormat();
    QCOMPARE(QSizeF(readImage.width(), readImage.height()), QSizeF(24, 12));
    QCOMPARE(reread.resource(QTextDocument::ImageResource, QUrl(readImage.name()))
                 .value<QImage>()
                 .convertToFormat(QImage::Format_RGB32),
             testImage());
}

void RtfRoundTripTest::writesPlainAscii() {
    QTextDocument document;
    document.setPlainText(QStringLiteral("Électrolyse : Cu²⁺ {x} \\ 😀 Я"));
    const QByteArray rtf = RtfWriter::write(document);
    for (const char c : rtf) {
        QVERIFY(static_cast<unsigned char>(c) < 0x80);
    }
    // Windows-1252 takes one byte, written in hexadecimal; other characters
    // need the Unicode escape.
    QVERIFY(rtf.contains(" \\'c9lectrolyse"));
    QVERIFY(rtf.contains("Cu\\'b2\\u8314\\'3f"));
    QVERIFY(!rtf.contains("\\u201"));
    QVERIFY(rtf.contains("\\{x\\} \\\\ \\u-10179\\'3f\\u-8704\\'3f"));
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
}

QTEST_MAIN(RtfRoundTripTest)
#include "RtfRoundTripTest.moc"

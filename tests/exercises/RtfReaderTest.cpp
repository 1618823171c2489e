// SPDX-License-Identifier: GPL-3.0-or-later
#include "RtfFixture.h"
#include "look/Faces.h"

#include <QtTest>

using namespace rtftest;

// What the reader makes of rich text: the text, its paragraph and character
// formats, pictures, and the files of other programs.
class RtfReaderTest : public QObject {
    Q_OBJECT

private slots:
    void readsText_data();
    void readsText();
    void readsParagraphFormats_data();
    void readsParagraphFormats();
    void readsCharacterFormats();
    void readsPictures_data();
    void readsPictures();
    void refusesWhatIsNotRichText();
    void readsSamplesOfOtherPrograms_data();
    void readsSamplesOfOtherPrograms();
};

void RtfReaderTest::readsText_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("escaped symbols")
        << QByteArray(R"({\rtf1 a\{b\}c\\d})") << QStringLiteral("a{b}c\\d");
    QTest::newRow("code page 1252")
        << QByteArray(R"({\rtf1\ansi\ansicpg1252 \'e9l\'e8ve \'80 \'9c})")
        << QStringLiteral("élève € œ");
    QTest::newRow("code page 1251")
        << QByteArray(R"({\rtf1\ansi\ansicpg1251 \'c0\'e1})") << QStringLiteral("Аб");
    QTest::newRow("unicode font name")
        << QByteArray(
               R"({\rtf1{\fonttbl{\f0 D\u233\'e9j\u224\'e0 Vu;}{\f1\fcharset204 \'c0\'e1;}}x})")
        << QStringLiteral("x");
    QTest::newRow("font charset")
        << QByteArray(
               R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset161 Arial Greek;}}\f0 \'e9 {\f1 \'e1}})")
        << QStringLiteral("é α");
    QTest::newRow("unicode with fallback")
        << QByteArray(R"({\rtf1 \u233?t\u233\'e9 Cu\u178?})") << QStringLiteral("été Cu²");
    QTest::newRow("unicode skip count")
        << QByteArray(R"({\rtf1 {\uc2\u8722\'2d\'2d}{\uc0\u8594 x}\u8217'a})")
        << QStringLiteral("−→x’a");
    QTest::newRow("unicode skip ends with the group")
        << QByteArray(R"({\rtf1 {\uc3\u233}x})") << QStringLiteral("éx");
    QTest::newRow("negative unicode and surrogates")
        << QByteArray(R"({\rtf1 \u-4064?\u-10179?\u-8704?})")
        << QString(QChar(0xF020)) + QString::fromUtf8("😀");
    QTest::newRow("lone surrogate")
        << QByteArray(R"({\rtf1 a\u-10179?b})") << QStringLiteral("a\uFFFDb");
    QTest::newRow("emphasis")
        << QByteArray(R"({\rtf1 a\b b\b0 c\i d\i0 \ul e\ulnone \strike f\strike0 g})")
        << QStringLiteral("a<b>b</b>c<i>d</i><u>e</u><s>f</s>g");
    QTest::newRow("groups restore")
        << QByteArray(R"({\rtf1 {\b\i x}y{\ul z}})") << QStringLiteral("<b><i>x</i></b>y<u>z</u>");
    QTest::newRow("super and sub")
        << QByteArray(R"({\rtf1 Cu{\super 2+} SO{\sub 4}{\super 2\u8722?}})")
        << QStringLiteral("Cu<sup>2+</sup> SO<sub>4</sub><sup>2−</sup>");
    QTest::newRow("up and dn") << QByteArray(R"({\rtf1 H{\dn4 2}O e{\up6 -}\up6 a\up0 b})")
                               << QStringLiteral("H<sub>2</sub>O e<sup>-a</sup>b");
    QTest::newRow("nosupersub and plain")
        << QByteArray(R"({\rtf1 \super a\nosupersub b\b\sub c\plain d})")
        << QStringLiteral("<sup>a</sup>b<b><sub>c</sub></b>d");
    QTest::newRow("starred destinations")
        << QByteArray(R"({\rtf1 {\*\generator Prog;}a{\*\unknown {nested \b x} y}b})")
        << QStringLiteral("ab");
    QTest::newRow("tables and info")
        << QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red1\green2\blue3;})"
                      R"({\stylesheet{\s1 Titre;}}{\info{\title T}{\author A}}texte})")
        << QStringLiteral("texte");
    QTest::newRow("paragraphs lines tabs")
        << QByteArray("{\\rtf1 a\\par b\\line c\\tab d\\\nsuite}")
        << QStringLiteral("a\nb\u2028c\td\nsuite");
    QTest::newRow("line endings ignored")
        << QByteArray("{\\rtf1 ab\r\ncd\n}") << QStringLiteral("abcd");
    QTest::newRow("fields keep their result")
        << QByteArray(R"({\rtf1 voir {\field{\*\fldinst HYPERLINK "x"}{\fldrslt le site}}.})")
        << QStringLiteral("voir le site.");
    QTest::newRow("lists as text")
        << QByteArray(R"({\rtf1{\*\pn\pnlvlblt{\pntxtb x}}{\pntext\f0 1.\tab}Zinc\par)"
                      R"({\listtext 2.\tab}Cuivre})")
        << QStringLiteral("1.\tZinc\n2.\tCuivre");
    QTest::newRow("upr keeps the unicode part")
        << QByteArray(R"({\rtf1 {\upr{ancien}{\*\ud{nouveau}}}})") << QStringLiteral("nouveau");
    QTest::newRow("named symbols")
        << QByteArray(R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~x})")
        << QStringLiteral("—–•‘’“”\u00A0x");
    QTest::newRow("binary run skipped")
        << QByteArray("{\\rtf1 a{\\bin3 }}}b}") << QStringLiteral("ab");
    QTest::newRow("text after the document ignored")
        << QByteArray(R"({\rtf1 dedans}dehors)") << QStringLiteral("dedans");
    QTest::newRow("non-shape picture skipped")
        << QByteArray(R"({\rtf1 a{\nonshppict{\pict\wmetafile8 0102}}b})") << QStringLiteral("ab");
}

void RtfReaderTest::readsText() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(markup(document), expected);
}

void RtfReaderTest::readsParagraphFormats_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QList<double>>("margins");

    QTest::newRow("default") << QByteArray(R"({\rtf1 x})") << int(Qt::AlignLeft)
                             << QList<double>{0, 0, 0, 0, 0};
    QTest::newRow("centred") << QByteArray(R"({\rtf1\qc x})") << int(Qt::AlignHCenter)
                             << QList<double>{0, 0, 0, 0, 0};
    QTest::newRow("right") << QByteArray(R"({\rtf1\qr x})") << int(Qt::AlignRight)
                           << QList<double>{0, 0, 0, 0, 0};
    QTest::newRow("justified") << QByteArray(R"({\rtf1\qj x})") << int(Qt::AlignJustify)
                               << QList<double>{0, 0, 0, 0, 0};
    QTest::newRow("indents in twips") << QByteArray(R"({\rtf1\li720\ri360\fi-360\sb120\sa240 x})")
                                      << int(Qt::AlignLeft) << QList<double>{48, 24, -24, 8, 16};
    QTest::newRow("pard resets") << QByteArray(R"({\rtf1\qc\li720 a\par\pard x})")
                                 << int(Qt::AlignLeft) << QList<double>{0, 0, 0, 0, 0};
    QTest::newRow("properties of the paragraph end apply")
        << QByteArray(R"({\rtf1 x\qr\li150\par})") << int(Qt::AlignRight)
        << QList<double>{10, 0, 0, 0, 0};
}

void RtfReaderTest::readsParagraphFormats() {
    QFETCH(QByteArray, rtf);
    QFETCH(int, alignment);
    QFETCH(QList<double>, margins);
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    const QTextBlockFormat format = blockContaining(document, QStringLiteral("x")).blockFormat();
    QCOMPARE(int(format.alignment() & Qt::AlignHorizontal_Mask), alignment);
    QCOMPARE(format.leftMargin(), margins[0]);
    QCOMPARE(format.rightMargin(), margins[1]);
    QCOMPARE(format.textIndent(), margins[2]);
    QCOMPARE(format.topMargin(), margins[3]);
    QCOMPARE(format.bottomMargin(), margins[4]);
}

void RtfReaderTest::readsCharacterFormats() {
    // A font the machine lacks, or a character the font lacks, falls back to
    // the text face.
    const QString textFace = QString::fromLatin1(Ionaria::look::textFamily);
    const QByteArray rtf =
        R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\froman Times New Roman;}})"
        R"({\colortbl;\red255\green0\blue0;\red255\green255\blue0;})"
        R"(normal {\f1\fs36 grand} {\cf1 rouge} {\highlight2 surligne} {\cb2 fond} )"
        R"({\cf9 hors table} {\fs99999999999999999999 immense} {\fs-4 negatif}})";
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(formatAt(document, QStringLiteral("normal")).fontFamilies().toStringList(),
             QStringList({QStringLiteral("Arial"), textFace}));
    QCOMPARE(formatAt(document, QStringLiteral("normal")).fontPointSize(), 12.0);
    QCOMPARE(formatAt(document, QStringLiteral("grand")).fontFamilies().toStringList(),
             QStringList({QStringLiteral("Times New Roman"), textFace}));
    QCOMPARE(formatAt(document, QStringLiteral("grand")).fontPointSize(), 18.0);
    QCOMPARE(formatAt(document, QStringLiteral("rouge")).foreground().color(), QColor(255, 0, 0));
    QCOMPARE(formatAt(document, QStringLiteral("surligne")).background().color(),
             QColor(255, 255, 0));
    QCOMPARE(formatAt(document, QStringLiteral("fond")).background().color(), QColor(255, 255, 0));
    QCOMPARE(formatAt(document, QStringLiteral("hors table")).foreground().style(), Qt::NoBrush);
    QCOMPARE(formatAt(document, QStringLiteral("immense")).fontPointSize(), 1638.0);
    QCOMPARE(formatAt(document, QStringLiteral("negatif")).fontPointSize(), 12.0);

    QTextDocument named;
    QVERIFY(RtfReader::read(
        R"({\rtf1{\fonttbl{\f0 D\u233\'e9j\u224\'e0  Vu;}{\f1\fcharset204 \'c0\'e1;}}x{\f1 y}})",
        named));
    QCOMPARE(formatAt(named, QStringLiteral("x")).fontFamilies().toStringList(),
             QStringList({QStringLiteral("Déjà Vu"), textFace}));
    QCOMPARE(formatAt(named, QStringLiteral("y")).fontFamilies().toStringList(),
             QStringList({QStringLiteral("Аб"), textFace}));
}

void RtfReaderTest::readsPictures_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("images");
    QTest::addColumn<QSizeF>("shown");

    const QByteArray png = pictureHex(testImage(), "PNG");
    const QByteArray jpeg = pictureHex(testImage(), "JPEG");
    QTest::newRow("png with goal size")
        << "{\\rtf1 a{\\pict\\pngblip\\picw12\\pich6\\picwgoal480\\pichgoal240\n" + png + "}b}" << 1
        << QSizeF(32, 16);
    QTest::newRow("png scaled") << "{\\rtf1 {\\pict\\pngblip\\picscalex50\\picscaley200 " + png +
                                       "}}"
                                << 1 << QSizeF(6, 12);
    QTest::newRow("jpeg in shape picture")
        << "{\\rtf1 {\\*\\shppict{\\pict{\\*\\blipuid 0011}\\jpegblip " + jpeg +
               "}}{\\nonshppict{\\pict\\wmetafile8 00}}}"
        << 1 << QSizeF(12, 6);
    QTest::newRow("binary png") << "{\\rtf1 {\\pict\\pngblip\\bin" +
                                       QByteArray::number(QByteArray::fromHex(png).size()) + " " +
                                       QByteArray::fromHex(png) + "}}"
                                << 1 << QSizeF(12, 6);
    QTest::newRow("metafile dropped")
        << QByteArray("{\\rtf1 {\\pict\\wmetafile8 0102}}") << 0 << QSizeF();
    QTest::newRow("corrupt png dropped")
        << "{\\rtf1 {\\pict\\pngblip " + png.left(png.size() / 2) + "}}" << 0 << QSizeF();
    QTest::newRow("huge announced png dropped")
        << "{\\rtf1 {\\pict\\pngblip " + pngAnnouncing(100000).toHex() + "}}" << 0 << QSizeF();
    QTest::newRow("unterminated picture")
        << "{\\rtf1 {\\pict\\pngblip " + png << 1 << QSizeF(12, 6);
}

void RtfReaderTest::readsPictures() {
    QFETCH(QByteArray, rtf);
    QFETCH(int, images);
    QFETCH(QSizeF, shown);
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(imageCount(document), images);
    if (images > 0) {
        const QTextImageFormat format =
            formatAt(document, QString(QChar::ObjectReplacementCharacter)).toImageFormat();
        QCOMPARE(QSizeF(format.width(), format.height()), shown);
        const QImage image =
            document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
        QCOMPARE(image.size(), QSize(12, 6));
        QCOMPARE(image.pixelColor(1, 1).blue() > 150, true);
    }
}

void RtfReaderTest::refusesWhatIsNotRichText() {
    QTextDocument document;
    document.setPlainText(QStringLiteral("ancien"));
    QVERIFY(!RtfReader::read("texte simple", document));
    QVERIFY(document.isEmpty());
    QVERIFY(!RtfReader::read({}, document));
    QVERIFY(RtfReader::isRtf("\xEF\xBB\xBF \r\n{\\rtf1 x}"));
    QVERIFY(!RtfReader::isRtf("{\\rt"));
}

void RtfReaderTest::readsSamplesOfOtherPrograms_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("formulas");
    QTest::addColumn<int>("images");

    QTest::newRow("pandoc")
        << QStringLiteral("pile-pandoc.rtf")
        << QStringList{QStringLiteral("(Cu<sup>2+</sup> + SO<sub>4</sub><sup>2−</sup>)"),
                       QStringLiteral("Zn → Zn<sup>2+</sup> + 2 e<sup>−</sup>."),
                       QStringLiteral("2 H<sub>2</sub>O → 2 H<sub>2</sub> + O<sub>2</sub>"),
                       QStringLiteral("<b>Questions :</b>"),
                       QStringLiteral("<i>Donnée :</i> E°(Cu<sup>2+</sup>/Cu)"),
                       QStringLiteral("1.\tÉcrire la demi-équation à l’anode"),
                       QStringLiteral("•\tl’électrode de zinc perd de la masse ;")}
        << 1;
    QTest::newRow("word processor from docx")
        << QStringLiteral("pile-libreoffice.rtf")
        << QStringList{QStringLiteral("(Cu<sup>2+</sup> + SO<sub>4</sub><sup>2−</sup>)"),
                       QStringLiteral("2 H<sub>2</sub>O → 2 H<sub>2</sub> + O<sub>2</sub>"),
                       QStringLiteral("<b>Questions :</b>"),
                       QStringLiteral("K<sup>+</sup> et NO<sub>3</sub><sup>−</sup>")}
        << 1;
    QTest::newRow("word processor from html")
        << QStringLiteral("electrolyse-libreoffice.rtf")
        << QStringList{QStringLiteral("Électrolyse d'une solution de chlorure de sodium"),
                       QStringLiteral("Cathode : 2 H<sub>2</sub>O + 2 e<sup>−</sup> → "
                                      "H<sub>2</sub> + 2 HO<sup>−</sup>"),
                       QStringLiteral("Cu<sup>2+</sup>"),
                       QStringLiteral("SO<sub>4</sub><sup>2−</sup>"),
                       QStringLiteral("<b>Attention</b>"),
                       QStringLiteral("<i>toxique</i>"),
                       QStringLiteral("<u>Travailler sous la hotte</u>"),
                       QStringLiteral("<s>l'ancien protocole</s>"),
                       QStringLiteral("g·mol<sup>−1</sup>"),
                       QStringLiteral("«\u00A0bon travail\u00A0»")}
        << 1;
}

void RtfReaderTest::readsSamplesOfOtherPrograms() {
    QFETCH(QString, file);
    QFETCH(QStringList, formulas);
    QFETCH(int, images);
    const QByteArray rtf = readFile(file);
    QVERIFY(!rtf.isEmpty());
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    const QString text = markup(document);
    for (const QString& formula : formulas) {
        QVERIFY2(text.contains(formula), qPrintable(formula + QStringLiteral("\n---\n") + text));
    }
    QCOMPARE(imageCount(document), images);
    QVERIFY(!text.contains(QStringLiteral("Helvetica")));
    QVERIFY(!text.contains(QLatin1Char('\\')));
    QVERIFY(!text.contains(QLatin1Char('{')));
}

QTEST_MAIN(RtfReaderTest)
#include "RtfReaderTest.moc"

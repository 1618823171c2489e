// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/RtfReader.h"
#include "exercises/RtfWriter.h"
#include "support/HostileRtf.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextList>
#include <QUrl>
#include <QtTest>

#include <array>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define IONARIA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define IONARIA_ASAN 1
#endif
#endif
#ifdef IONARIA_ASAN
// The sanitizer runtime's count of the bytes its allocator hands out; not
// every compiler ships the header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

using Ionaria::exercises::RtfReader;
using Ionaria::exercises::RtfWriter;

namespace {

// The text of a document with its character emphasis as tags, one line per
// paragraph: enough to compare chemistry formulas and styles at a glance.
QString markup(const QTextDocument& document) {
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                line += QStringLiteral("<img>");
                continue;
            }
            QStringList tags;
            if (format.fontWeight() >= QFont::DemiBold) {
                tags << QStringLiteral("b");
            }
            if (format.fontItalic()) {
                tags << QStringLiteral("i");
            }
            if (format.fontUnderline()) {
                tags << QStringLiteral("u");
            }
            if (format.fontStrikeOut()) {
                tags << QStringLiteral("s");
            }
            if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript) {
                tags << QStringLiteral("sup");
            } else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) {
                tags << QStringLiteral("sub");
            }
            for (const QString& tag : tags) {
                line += QLatin1Char('<') + tag + QLatin1Char('>');
            }
            line += fragment.text();
            for (auto tag = tags.crbegin(); tag != tags.crend(); ++tag) {
                line += QStringLiteral("</") + *tag + QLatin1Char('>');
            }
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

QString colorName(const QBrush& brush) {
    return brush.style() == Qt::NoBrush ? QStringLiteral("-") : brush.color().name();
}

// Everything the writer promises to keep, for round trips.
QStringList fullDescription(const QTextDocument& document) {
    QStringList out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        out << QStringLiteral("P align=%1 li=%2 ri=%3 fi=%4 sb=%5 sa=%6")
                   .arg(int(bf.alignment() & Qt::AlignHorizontal_Mask))
                   .arg(bf.leftMargin(), 0, 'f', 2)
                   .arg(bf.rightMargin(), 0, 'f', 2)
                   .arg(bf.textIndent(), 0, 'f', 2)
                   .arg(bf.topMargin(), 0, 'f', 2)
                   .arg(bf.bottomMargin(), 0, 'f', 2);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            if (f.isImageFormat()) {
                const QTextImageFormat image = f.toImageFormat();
                const QImage pixels =
                    document.resource(QTextDocument::ImageResource, QUrl(image.name()))
                        .value<QImage>()
                        .convertToFormat(QImage::Format_ARGB32);
                out << QStringLiteral("  image %1x%2 shown %3x%4 key=%5")
                           .arg(pixels.width())
                           .arg(pixels.height())
                           .arg(image.width(), 0, 'f', 2)
                           .arg(image.height(), 0, 'f', 2)
                           .arg(qHash(QByteArray(reinterpret_cast<const char*>(pixels.constBits()),
                                                 pixels.sizeInBytes())));
                continue;
            }
            // A fragment without a family is in the default font, which files name.
            out << QStringLiteral("  [%1] %2pt w%3 i%4 u%5 s%6 fg=%7 bg=%8 v%9 '%10'")
                       .arg(f.fontFamilies().toStringList().value(0,
                                                                  document.defaultFont().family()))
                       .arg(f.fontPointSize())
                       .arg(f.fontWeight())
                       .arg(int(f.fontItalic()))
                       .arg(int(f.fontUnderline()))
                       .arg(int(f.fontStrikeOut()))
                       .arg(colorName(f.foreground()), colorName(f.background()))
                       .arg(int(f.verticalAlignment()))
                       .arg(fragment.text());
        }
    }
    return out;
}

QByteArray pictureHex(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toHex();
}

QImage testImage() {
    QImage image(12, 6, QImage::Format_RGB32);
    image.fill(QColor(200, 120, 40));
    for (int x = 0; x < 6; ++x) {
        for (int y = 0; y < 6; ++y) {
            image.setPixelColor(x, y, QColor(20, 60, 200));
        }
    }
    return image;
}

std::uint32_t crc32(const QByteArray& bytes) {
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k) {
            crc = (crc & 1U) != 0 ? (crc >> 1U) ^ 0xEDB88320U : crc >> 1U;
        }
    }
    return ~crc;
}

void putBigEndian(QByteArray& bytes, qsizetype at, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) {
        bytes[at + k] = static_cast<char>((value >> (8 * (3 - k))) & 0xFFU);
    }
}

// A well-formed PNG whose header announces a picture of side pixels square.
QByteArray pngAnnouncing(std::uint32_t side) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    testImage().save(&buffer, "PNG");
    putBigEndian(bytes, 16, side);
    putBigEndian(bytes, 20, side);
    putBigEndian(bytes, 29, crc32(bytes.mid(12, 17)));
    return bytes;
}

QByteArray readFile(const QString& name) {
    QFile file(QStringLiteral(IONARIA_TEST_DATA "/rtf/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

// The bytes the heap holds, from the sanitizer's allocator when it replaces
// the C library's.
double heapBytes() {
#ifdef IONARIA_ASAN
    return static_cast<double>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
#endif
}

qint64 picturePixels(const QTextDocument& document) {
    qint64 pixels = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                const QImage image =
                    document
                        .resource(QTextDocument::ImageResource,
                                  QUrl(it.fragment().charFormat().toImageFormat().name()))
                        .value<QImage>();
                pixels += qint64{image.width()} * image.height();
            }
        }
    }
    return pixels;
}

int imageCount(const QTextDocument& document) {
    int count = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat()) {
                const QImage image =
                    document
                        .resource(QTextDocument::ImageResource,
                                  QUrl(it.fragment().charFormat().toImageFormat().name()))
                        .value<QImage>();
                count += image.isNull() ? 0 : 1;
            }
        }
    }
    return count;
}

QTextBlock blockContaining(const QTextDocument& document, const QString& text) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text().contains(text)) {
            return block;
        }
    }
    return {};
}

QTextCharFormat formatAt(const QTextDocument& document, const QString& text) {
    const QTextBlock block = blockContaining(document, text);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().text().contains(text)) {
            return it.fragment().charFormat();
        }
    }
    return {};
}

} // namespace

class RtfTest : public QObject {
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
    void survivesHostileInput_data();
    void survivesHostileInput();
    void boundsHostileFiles_data();
    void boundsHostileFiles();
    void paragraphCap_data();
    void paragraphCap();
    void pictureBudget_data();
    void pictureBudget();
    void readsSamplesOfOtherPrograms_data();
    void readsSamplesOfOtherPrograms();
    void roundTrips_data();
    void roundTrips();
    void roundTripsBuiltDocument();
    void writesPlainAscii();
};

void RtfTest::readsText_data() {
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

void RtfTest::readsText() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(markup(document), expected);
}

void RtfTest::readsParagraphFormats_data() {
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

void RtfTest::readsParagraphFormats() {
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

void RtfTest::readsCharacterFormats() {
    const QByteArray rtf =
        R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\froman Times New Roman;}})"
        R"({\colortbl;\red255\green0\blue0;\red255\green255\blue0;})"
        R"(normal {\f1\fs36 grand} {\cf1 rouge} {\highlight2 surligne} {\cb2 fond} )"
        R"({\cf9 hors table} {\fs99999999999999999999 immense} {\fs-4 negatif}})";
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(formatAt(document, QStringLiteral("normal")).fontFamilies().toStringList(),
             QStringList{QStringLiteral("Arial")});
    QCOMPARE(formatAt(document, QStringLiteral("normal")).fontPointSize(), 12.0);
    QCOMPARE(formatAt(document, QStringLiteral("grand")).fontFamilies().toStringList(),
             QStringList{QStringLiteral("Times New Roman")});
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
             QStringList{QStringLiteral("Déjà Vu")});
    QCOMPARE(formatAt(named, QStringLiteral("y")).fontFamilies().toStringList(),
             QStringList{QStringLiteral("Аб")});
}

void RtfTest::readsPictures_data() {
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

void RtfTest::readsPictures() {
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

void RtfTest::refusesWhatIsNotRichText() {
    QTextDocument document;
    document.setPlainText(QStringLiteral("ancien"));
    QVERIFY(!RtfReader::read("texte simple", document));
    QVERIFY(document.isEmpty());
    QVERIFY(!RtfReader::read({}, document));
    QVERIFY(RtfReader::isRtf("\xEF\xBB\xBF \r\n{\\rtf1 x}"));
    QVERIFY(!RtfReader::isRtf("{\\rt"));
}

void RtfTest::survivesHostileInput_data() {
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

void RtfTest::survivesHostileInput() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(markup(document), expected);
}

// Files of the largest size taken, each built to cost the reader the most in
// one way: what the reader keeps stays within its bounds and far below a
// hundred megabytes, and what it refuses it refuses before building anything.
void RtfTest::boundsHostileFiles_data() {
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

void RtfTest::boundsHostileFiles() {
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

void RtfTest::paragraphCap_data() {
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

void RtfTest::paragraphCap() {
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

void RtfTest::pictureBudget_data() {
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

void RtfTest::pictureBudget() {
    QFETCH(QByteArray, rtf);
    QFETCH(int, images);
    QFETCH(qint64, pixels);
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(imageCount(document), images);
    QCOMPARE(picturePixels(document), pixels);
}

void RtfTest::readsSamplesOfOtherPrograms_data() {
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

void RtfTest::readsSamplesOfOtherPrograms() {
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

void RtfTest::roundTrips_data() {
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

void RtfTest::roundTrips() {
    QFETCH(QByteArray, rtf);
    QTextDocument first;
    QVERIFY(RtfReader::read(rtf, first));
    const QByteArray written = RtfWriter::write(first);
    QTextDocument second;
    QVERIFY(RtfReader::read(written, second));
    QCOMPARE(fullDescription(second), fullDescription(first));
    QCOMPARE(RtfWriter::write(second), written);
}

void RtfTest::roundTripsBuiltDocument() {
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

void RtfTest::writesPlainAscii() {
    QTextDocument document;
    document.setPlainText(QStringLiteral("Électrolyse : Cu²⁺ {x} \\ 😀 Я"));
    const QByteArray rtf = RtfWriter::write(document);
    for (const char c : rtf) {
        QVERIFY(static_cast<unsigned char>(c) < 0x80);
    }
    QVERIFY(rtf.contains("\\u201\\'c9lectrolyse"));
    QVERIFY(rtf.contains("Cu\\u178\\'b2\\u8314\\'3f"));
    QVERIFY(rtf.contains("\\{x\\} \\\\ \\u-10179\\'3f\\u-8704\\'3f"));
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
}

QTEST_MAIN(RtfTest)
#include "RtfTest.moc"

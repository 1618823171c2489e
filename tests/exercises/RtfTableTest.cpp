// SPDX-License-Identifier: GPL-3.0-or-later
#include "RtfFixture.h"
#include "RtfTableFixture.h"

#include "exercises/RtfTableBuilder.h"

#include <QtTest>

using namespace rtftest;
using Ionaria::exercises::rtf::RtfTableBuilder;

// Tables and numbered paragraphs of teachers' files: read as tables and
// numbers, and written back as such.
//
// The files tableau-*.rtf were made from tests/data/rtf/sources/tableau.html
// (a 2x3 table whose second row has a cell over two columns, then a numbered
// list of two items) by the programs teachers use, on Debian 12:
//   pandoc 2.17.1.1:
//     pandoc -s -f html -t rtf tableau.html -o tableau-pandoc.rtf
//   AbiWord 3.0.5:
//     abiword --to=rtf tableau.html -o tableau-abiword.rtf
//   LibreOffice 7.4.7.2 (Writer):
//     soffice --headless --infilter="HTML (StarWriter)"
//             --convert-to "rtf:Rich Text Format" tableau.html
//     mv tableau.rtf tableau-libreoffice.rtf
class RtfTableTest : public QObject {
    Q_OBJECT

private slots:
    void readsTablesOfOtherPrograms_data();
    void readsTablesOfOtherPrograms();
    void roundTripsTablesOfOtherPrograms_data();
    void roundTripsTablesOfOtherPrograms();
    void readsTables_data();
    void readsTables();
    void readsCellFormats();
    void readsWidths_data();
    void readsWidths();
    void roundTripsTables_data();
    void roundTripsTables();
    void roundTripsBuiltTable();
    void readsNumbers_data();
    void readsNumbers();
    void boundsTables_data();
    void boundsTables();
};

namespace {

// The formats of every cell of every table, and the table's own.
QStringList cellFormats(const QTextDocument& document) {
    QStringList out;
    for (const QTextTable* table : tablesOf(document)) {
        const QTextTableFormat format = table->format();
        QStringList widths;
        for (const QTextLength& length : format.columnWidthConstraints()) {
            widths << QString::number(length.rawValue(), 'f', 2);
        }
        out << QStringLiteral("table width=%5 padding=%1 align=%2 headers=%3 widths=%4")
                   .arg(format.cellPadding(), 0, 'f', 2)
                   .arg(int(format.alignment() & Qt::AlignHorizontal_Mask))
                   .arg(format.headerRowCount())
                   .arg(widths.join(QLatin1Char(',')))
                   .arg(format.width().rawValue(), 0, 'f', 2);
        for (int r = 0; r < table->rows(); ++r) {
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() != r || cell.column() != c) {
                    continue;
                }
                const QTextTableCellFormat f = cell.format().toTableCellFormat();
                const auto side = [&f](QTextFormat::Property width, QTextFormat::Property style,
                                       QTextFormat::Property brush) {
                    if (!f.hasProperty(width)) {
                        return QStringLiteral("-");
                    }
                    return QStringLiteral("%1/%2/%3")
                        .arg(f.doubleProperty(width), 0, 'f', 2)
                        .arg(f.intProperty(style))
                        .arg(f.hasProperty(brush) ? f.brushProperty(brush).color().name()
                                                  : QStringLiteral("-"));
                };
                out << QStringLiteral("  %1,%2 t=%3 l=%4 b=%5 r=%6 bg=%7 v=%8")
                           .arg(r)
                           .arg(c)
                           .arg(side(QTextFormat::TableCellTopBorder,
                                     QTextFormat::TableCellTopBorderStyle,
                                     QTextFormat::TableCellTopBorderBrush),
                                side(QTextFormat::TableCellLeftBorder,
                                     QTextFormat::TableCellLeftBorderStyle,
                                     QTextFormat::TableCellLeftBorderBrush),
                                side(QTextFormat::TableCellBottomBorder,
                                     QTextFormat::TableCellBottomBorderStyle,
                                     QTextFormat::TableCellBottomBorderBrush),
                                side(QTextFormat::TableCellRightBorder,
                                     QTextFormat::TableCellRightBorderStyle,
                                     QTextFormat::TableCellRightBorderBrush),
                                colorName(f.background()))
                           .arg(int(f.verticalAlignment()));
            }
        }
    }
    return out;
}

const QStringList tableauShape = {QStringLiteral("2x3"),
                                  QStringLiteral("Électrode|Réaction|Masse (g)"),
                                  QStringLiteral("Cathode : dépôt de cuivre<2x1>|10,5")};

} // namespace

void RtfTableTest::readsTablesOfOtherPrograms_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("shape");

    QTest::newRow("LibreOffice") << QStringLiteral("tableau-libreoffice.rtf") << tableauShape;
    QTest::newRow("AbiWord") << QStringLiteral("tableau-abiword.rtf") << tableauShape;
    // pandoc writes the merged cell as a cell and an empty one.
    QTest::newRow("pandoc") << QStringLiteral("tableau-pandoc.rtf")
                            << QStringList{QStringLiteral("2x3"),
                                           QStringLiteral("Électrode|Réaction|Masse (g)"),
                                           QStringLiteral("Cathode : dépôt de cuivre||10,5")};
}

void RtfTableTest::readsTablesOfOtherPrograms() {
    QFETCH(QString, file);
    QFETCH(QStringList, shape);
    const QByteArray rtf = readFile(file);
    QVERIFY(!rtf.isEmpty());
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(tablesShape(document), shape);
    const QStringList paragraphs = paragraphsOutsideTables(document);
    const auto at = [&paragraphs](const QString& text) { return paragraphs.indexOf(text); };
    const qsizetype before = at(QStringLiteral("Résultats de l'électrolyse :"));
    const qsizetype first = at(QStringLiteral("1.\tÉcrire la demi-équation à l'anode."));
    const qsizetype second = at(QStringLiteral("2.\tCalculer la masse déposée."));
    QVERIFY2(before >= 0 && first > before && second == first + 1,
             qPrintable(paragraphs.join(QLatin1Char('\n'))));
    // The table stands between the paragraph before it and the list.
    const QTextTable* table = tablesOf(document).front();
    QCOMPARE(document.findBlock(table->firstPosition() - 1).text(),
             QStringLiteral("Résultats de l'électrolyse :"));
    QVERIFY(document.findBlock(table->lastPosition() + 1).blockNumber() <=
            blockContaining(document, QStringLiteral("Écrire la demi")).blockNumber());
    // No cell mark was kept as text.
    QVERIFY(!document.toPlainText().contains(QLatin1Char('\t') + QStringLiteral("Réaction")));
}

void RtfTableTest::roundTripsTablesOfOtherPrograms_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("LibreOffice") << QStringLiteral("tableau-libreoffice.rtf");
    QTest::newRow("AbiWord") << QStringLiteral("tableau-abiword.rtf");
    QTest::newRow("pandoc") << QStringLiteral("tableau-pandoc.rtf");
}

void RtfTableTest::roundTripsTablesOfOtherPrograms() {
    QFETCH(QString, file);
    QTextDocument first;
    QVERIFY(RtfReader::read(readFile(file), first));
    const QByteArray written = RtfWriter::write(first);
    QVERIFY(written.contains("\\trowd") && written.contains("\\cellx"));
    QTextDocument second;
    QVERIFY(RtfReader::read(written, second));
    QCOMPARE(tablesShape(second), tablesShape(first));
    QCOMPARE(paragraphsOutsideTables(second), paragraphsOutsideTables(first));
    QCOMPARE(cellFormats(second), cellFormats(first));
    QCOMPARE(fullDescription(second), fullDescription(first));
    QCOMPARE(RtfWriter::write(second), written);
}

void RtfTableTest::readsTables_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("shape");
    QTest::addColumn<QStringList>("paragraphs");

    // A table that opens the text has the document's first paragraph before
    // it and a paragraph after it.
    const QStringList empty{QString(), QString()};
    QTest::newRow("cells and rows")
        << QByteArray(R"({\rtf1 \trowd\cellx1000\cellx2000\pard\intbl a\cell b\cell\row})")
        << QStringList{"1x2", "a|b"} << empty;
    QTest::newRow("paragraph marks ending the cells' paragraphs")
        << QByteArray(R"({\rtf1 \trowd\cellx1000\cellx2000{\pard\intbl a\par}\cell)"
                      R"({\pard\intbl b\par c\par}\cell\intbl\row})")
        << QStringList{"1x2", "a|b/c"} << empty;
    QTest::newRow("an empty last paragraph of a cell kept")
        << QByteArray(R"({\rtf1 \trowd\cellx1000\intbl a\par\par\cell\row})")
        << QStringList{"1x1", "a/"} << empty;
    QTest::newRow("cells merged across columns by words")
        << QByteArray(R"({\rtf1 \trowd\clmgf\cellx1000\clmrg\cellx2000\cellx3000)"
                      R"(\intbl ab\cell\cell c\cell\row)"
                      R"(\trowd\cellx1000\cellx2000\cellx3000\intbl d\cell e\cell f\cell\row})")
        << QStringList{"2x3", "ab<2x1>|c", "d|e|f"} << empty;
    QTest::newRow("cells merged across rows")
        << QByteArray(R"({\rtf1 \trowd\clvmgf\cellx1000\cellx2000\intbl a\cell b\cell\row)"
                      R"(\trowd\clvmrg\cellx1000\cellx2000\intbl\cell c\cell\row)"
                      R"(\trowd\clvmrg\cellx1000\cellx2000\intbl\cell d\cell\row})")
        << QStringList{"3x2", "a<1x3>|b", "c", "d"} << empty;
    QTest::newRow("rows of different edges share the columns")
        << QByteArray(R"({\rtf1 \trowd\cellx1000\cellx3000\intbl a\cell b\cell\row)"
                      R"(\trowd\cellx2000\cellx3000\intbl c\cell d\cell\row})")
        << QStringList{"2x3", "a|b<2x1>", "c<2x1>|d"} << empty;
    QTest::newRow("a shorter row padded with empty cells")
        << QByteArray(R"({\rtf1 \trowd\cellx1000\cellx2000\intbl a\cell b\cell\row)"
                      R"(\trowd\cellx1000\intbl c\cell\row})")
        << QStringList{"2x2", "a|b", "c|"} << empty;
    QTest::newRow("a row defined once serves the next")
        << QByteArray(R"({\rtf1 \trowd\cellx1000\cellx2000\intbl a\cell b\cell\row)"
                      R"(\intbl c\cell d\cell\row})")
        << QStringList{"2x2", "a|b", "c|d"} << empty;
    QTest::newRow("more cells than defined")
        << QByteArray(R"({\rtf1 \trowd\cellx1000\intbl a\cell b\cell\row})")
        << QStringList{"1x2", "a|b"} << empty;
    QTest::newRow("cells without a definition")
        << QByteArray(R"({\rtf1 \intbl a\cell b\cell\row})") << QStringList{"1x2", "a|b"} << empty;
    QTest::newRow("a row never ended")
        << QByteArray(R"({\rtf1 \trowd\cellx1000\cellx2000\intbl a\cell b})")
        << QStringList{"1x2", "a|b"} << empty;
    QTest::newRow("text before and after")
        << QByteArray(R"({\rtf1 avant\par\trowd\cellx1000\intbl x\cell\row\pard apr\'e8s\par})")
        << QStringList{"1x1", "x"} << QStringList{"avant", "après", ""};
    QTest::newRow("text before the row in the same paragraph")
        << QByteArray(R"({\rtf1 avant\trowd\cellx1000\intbl x\cell\row})")
        << QStringList{"1x1", "x"} << QStringList{"avant", ""};
    QTest::newRow("two tables") << QByteArray(
                                       R"({\rtf1 \trowd\cellx1000\intbl a\cell\row\pard entre\par)"
                                       R"(\trowd\cellx1000\cellx2000\intbl b\cell c\cell\row})")
                                << QStringList{"1x1", "a", "1x2", "b|c"}
                                << QStringList{"", "entre", ""};
    QTest::newRow("cell and row marks outside a table")
        << QByteArray(R"({\rtf1 a\cell b\row c})") << QStringList{} << QStringList{"a\tb", "c"};
    QTest::newRow("nested cells kept as tabs")
        << QByteArray(R"({\rtf1 \trowd\cellx2000\intbl a\nestcell b\nestcell{\*\nesttableprops)"
                      R"(\trowd\cellx500\cellx1000\nestrow}\cell\row})")
        << QStringList{"1x1", "a\tb\t"} << empty;
    QTest::newRow("pictures in cells")
        << "{\\rtf1 \\trowd\\cellx1000\\intbl {\\pict\\pngblip " + pictureHex(testImage(), "PNG") +
               "}\\cell\\row}"
        << QStringList{"1x1", QString(QChar::ObjectReplacementCharacter)} << empty;
}

void RtfTableTest::readsTables() {
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, shape);
    QFETCH(QStringList, paragraphs);
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(tablesShape(document), shape);
    QCOMPARE(paragraphsOutsideTables(document), paragraphs);
}

void RtfTableTest::readsCellFormats() {
    const QByteArray rtf =
        R"({\rtf1{\colortbl;\red200\green0\blue0;\red240\green240\blue160;})"
        R"(\trowd\trgaph108\trqc\trhdr\clbrdrt\brdrs\brdrw30\brdrcf1\clbrdrb\brdrdb\brdrw15)"
        R"(\clcbpat2\clvertalc\cellx1500\clbrdrl\brdrdot\clbrdrr\brdrnone\clvertalb\cellx4500)"
        R"(\intbl a\cell b\cell\row)"
        R"(\trowd\trbrdrt\brdrs\brdrw45\trbrdrv\brdrdash\brdrw15\cellx1500\cellx4500)"
        R"(\intbl c\cell d\cell\row})";
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(cellFormats(document),
             (QStringList{
                 "table width=0.00 padding=7.20 align=4 headers=1 widths=100.00,200.00",
                 "  0,0 t=2.00/3/#c80000 l=- b=1.00/4/- r=- bg=#f0f0a0 v=3",
                 "  0,1 t=- l=1.00/1/- b=- r=- bg=- v=5",
                 "  1,0 t=3.00/3/- l=- b=- r=1.00/2/- bg=- v=0",
                 "  1,1 t=3.00/3/- l=1.00/2/- b=- r=- bg=- v=0",
             }));
}

// A table up to 9 cm keeps its widths; a wider one, made for the page, takes
// its share of the page's width from the window's.
void RtfTableTest::readsWidths_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("widths");

    QTest::newRow("narrow") << QByteArray(R"({\rtf1 \trowd\cellx1500\cellx4500\intbl\row})")
                            << QStringLiteral("table width=0.00 widths=100.00,200.00 fixed");
    QTest::newRow("9 cm") << QByteArray(R"({\rtf1 \trowd\cellx2000\cellx5102\intbl\row})")
                          << QStringLiteral("table width=0.00 widths=133.33,206.80 fixed");
    QTest::newRow("page wide from a margin")
        << QByteArray(R"({\rtf1 \trowd\trleft-108\cellx2772\cellx8532\intbl\row})")
        << QStringLiteral("table width=89.65 widths=33.33,66.67 shared");
    QTest::newRow("wider than the page")
        << QByteArray(R"({\rtf1 \trowd\cellx5000\cellx20000\intbl\row})")
        << QStringLiteral("table width=100.00 widths=25.00,75.00 shared");
}

void RtfTableTest::readsWidths() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, widths);
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    const QTextTableFormat format = tablesOf(document).front()->format();
    QStringList columns;
    for (const QTextLength& length : format.columnWidthConstraints()) {
        columns << QString::number(length.rawValue(), 'f', 2);
    }
    const bool shared =
        format.columnWidthConstraints().front().type() == QTextLength::PercentageLength;
    QCOMPARE(QStringLiteral("table width=%1 widths=%2 %3")
                 .arg(format.width().rawValue(), 0, 'f', 2)
                 .arg(columns.join(QLatin1Char(',')))
                 .arg(shared ? QStringLiteral("shared") : QStringLiteral("fixed")),
             widths);
    // Written and read again, the widths stay within a twip of the page's.
    const QByteArray written = RtfWriter::write(document);
    QTextDocument reread;
    QVERIFY(RtfReader::read(written, reread));
    const QList<QTextLength> again = tablesOf(reread).front()->format().columnWidthConstraints();
    for (qsizetype c = 0; c < again.size(); ++c) {
        QVERIFY(qAbs(again[c].rawValue() - format.columnWidthConstraints()[c].rawValue()) < 0.02);
    }
    QCOMPARE(RtfWriter::write(reread), written);
}

void RtfTableTest::roundTripsTables_data() {
    QTest::addColumn<QByteArray>("rtf");

    QTest::newRow("merged both ways")
        << QByteArray(R"({\rtf1 \trowd\clvmgf\clmgf\cellx1000\clmrg\cellx2000\cellx3000)"
                      R"(\intbl a\cell\cell b\cell\row)"
                      R"(\trowd\clvmrg\cellx2000\cellx3000\intbl\cell c\cell\row)"
                      R"(\trowd\cellx1000\cellx2000\cellx3000\intbl d\cell e\cell f\cell\row})");
    QTest::newRow("formats") << QByteArray(
        R"({\rtf1{\colortbl;\red200\green0\blue0;\red240\green240\blue160;})"
        R"(\trowd\trgaph108\trqr\clbrdrt\brdrs\brdrw30\brdrcf1\clcbpat2)"
        R"(\clvertalc\cellx1500\clbrdrl\brdrdot\cellx4500)"
        R"(\intbl\qc {\b a}\par\li300 x{\super 2}\cell\par\par\cell\row})");
    QTest::newRow("table opening the text")
        << QByteArray(R"({\rtf1 \trowd\cellx1000\intbl a\cell\row\pard b})");
    QTest::newRow("empty paragraphs around a table")
        << QByteArray(R"({\rtf1 \par\par\trowd\cellx1000\intbl a\cell\row\par\par})");
    QTest::newRow("padded rows") << QByteArray(
        R"({\rtf1 \trowd\trleft500\cellx1000\intbl a\cell\row\trowd\cellx3000\intbl b\cell\row})");
    QTest::newRow("lists in cells")
        << QByteArray(R"({\rtf1 \trowd\cellx3000\intbl{\*\pn\pndec{\pntxta .}}a\par b\cell\row})");
}

void RtfTableTest::roundTripsTables() {
    QFETCH(QByteArray, rtf);
    QTextDocument first;
    QVERIFY(RtfReader::read(rtf, first));
    QVERIFY(!tablesOf(first).isEmpty());
    const QByteArray written = RtfWriter::write(first);
    QTextDocument second;
    QVERIFY(RtfReader::read(written, second));
    QCOMPARE(tablesShape(second), tablesShape(first));
    QCOMPARE(paragraphsOutsideTables(second), paragraphsOutsideTables(first));
    QCOMPARE(cellFormats(second), cellFormats(first));
    QCOMPARE(fullDescription(second), fullDescription(first));
    QCOMPARE(RtfWriter::write(second), written);
}

// A table made in the editor, without widths: the writer gives its columns
// a width and keeps its merges.
void RtfTableTest::roundTripsBuiltTable() {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("Mesures"));
    cursor.insertBlock();
    QTextTable* table = cursor.insertTable(3, 3);
    table->mergeCells(0, 0, 1, 3);
    table->mergeCells(1, 0, 2, 1);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("t (min)"));
    table->cellAt(1, 0).firstCursorPosition().insertText(QStringLiteral("m (g)"));
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("10,0"));
    table->cellAt(2, 2).firstCursorPosition().insertText(QStringLiteral("9,9"));

    QTextDocument reread;
    QVERIFY(RtfReader::read(RtfWriter::write(document), reread));
    QCOMPARE(tablesShape(reread), (QStringList{"3x3", "t (min)<3x1>", "m (g)<1x2>|10,0|", "|9,9"}));
    QCOMPARE(paragraphsOutsideTables(reread).front(), QStringLiteral("Mesures"));
    const QList<QTextLength> widths = tablesOf(reread).front()->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 3);
    for (const QTextLength& width : widths) {
        QCOMPARE(width.type(), QTextLength::PercentageLength);
        QVERIFY(qAbs(width.rawValue() - 100.0 / 3) < 0.01);
    }
}

void RtfTableTest::readsNumbers_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("decimal from the numbering group")
        << QByteArray(R"({\rtf1 {\*\pn\pnlvlbody\pndec\pnstart1{\pntxta .}}Zinc\par)"
                      R"({\*\pn\pnlvlbody\pndec{\pntxta .}}Cuivre})")
        << QStringLiteral("1.\tZinc\n2.\tCuivre");
    QTest::newRow("start, roman and letters")
        << QByteArray(R"({\rtf1 {\*\pn\pnucrm\pnstart3{\pntxta )}}a\par b\par)"
                      R"(\pard{\*\pn\pnlvl2\pnlcltr{\pntxtb (}{\pntxta )}}c\par d\par)"
                      R"(\pard{\*\pn\pnlvl3\pnlcrm\pnstart4}e})")
        << QStringLiteral("III)\ta\nIV)\tb\n(a)\tc\n(b)\td\niv\te");
    QTest::newRow("bullets") << QByteArray(R"({\rtf1 {\*\pn\pnlvlblt{\pntxtb \'b7}}a\par b})")
                             << QStringLiteral("•\ta\n•\tb");
    QTest::newRow("the written number wins")
        << QByteArray(R"({\rtf1 {\listtext\pard\plain  5.\tab}{\*\pn\pndec{\pntxta .}}\ls1 a})")
        << QStringLiteral("5.\ta");
    QTest::newRow("a blank written number gives way")
        << QByteArray(R"({\rtf1 {\listtext\pard  \tab}\pard{\*\pn\pndec{\pntxta .}}\ls1 a\par)"
                      R"({\listtext\pard  \tab}\pard{\*\pn\pndec{\pntxta .}}\ls1 b})")
        << QStringLiteral("1.\ta\n2.\tb");
    QTest::newRow("lists only named, continued after other paragraphs")
        << QByteArray(R"({\rtf1 \ls2 a\par b\par\pard c\par\ls2 d\par\ls3 e})")
        << QStringLiteral("1.\ta\n2.\tb\nc\n3.\td\n1.\te");
    QTest::newRow("deeper levels start again")
        << QByteArray(R"({\rtf1 \ls1\ilvl0 a\par\ilvl1 b\par c\par\ilvl0 d\par\ilvl1 e})")
        << QStringLiteral("1.\ta\n1.\tb\n2.\tc\n2.\td\n1.\te");
    QTest::newRow("empty numbered paragraph")
        << QByteArray(R"({\rtf1 \ls1 \par x})") << QStringLiteral("1.\t\n2.\tx");
    QTest::newRow("picture first")
        << "{\\rtf1 \\ls1 {\\pict\\pngblip " + pictureHex(testImage(), "PNG") + "}x}"
        << QStringLiteral("1.\t<img>x");
    QTest::newRow("starred numbering of a destination skipped")
        << QByteArray(R"({\rtf1 {\*\unknown{\*\pn\pndec}}a})") << QStringLiteral("a");
}

void RtfTableTest::readsNumbers() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QCOMPARE(markup(document), expected);
}

// Tables too wide or too many: read, within the reader's bounds, their text
// kept.
void RtfTableTest::boundsTables_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("tables");
    QTest::addColumn<int>("columns");

    QByteArray wide = "{\\rtf1 \\trowd";
    QByteArray wideCells = "\\intbl ";
    for (int i = 1; i <= 100; ++i) {
        wide += "\\cellx" + QByteArray::number(i * 100);
        wideCells += "c" + QByteArray::number(i) + "\\cell ";
    }
    QTest::newRow("more cells than columns")
        << wide + wideCells + "\\row}" << 1 << RtfTableBuilder::maxColumns;

    QByteArray many = "{\\rtf1 \\trowd";
    for (int i = 1; i <= RtfTableBuilder::maxColumns; ++i) {
        many += "\\cellx" + QByteArray::number(i * 100);
    }
    const int rows = RtfTableBuilder::maxCells / RtfTableBuilder::maxColumns + 1;
    QTest::newRow("more cells than all tables may have")
        << many + QByteArray("\\intbl x\\cell\\row ").repeated(rows) + "}" << 0 << 0;
    QTest::newRow("rows of many edges") << "{\\rtf1 " + [] {
        QByteArray out;
        for (int r = 0; r < 70; ++r) {
            out += "\\trowd\\cellx" + QByteArray::number(100 + r) +
                   "\\cellx9000\\intbl a\\cell b\\cell\\row ";
        }
        return out;
    }() + "}" << 0 << 0;
}

void RtfTableTest::boundsTables() {
    QFETCH(QByteArray, rtf);
    QFETCH(int, tables);
    QFETCH(int, columns);
    const double before = heapBytes();
    QTextDocument document;
    QVERIFY(RtfReader::read(rtf, document));
    QVERIFY(heapBytes() - before < 100e6);
    const QList<QTextTable*> found = tablesOf(document);
    QCOMPARE(found.size(), tables);
    if (tables > 0) {
        QCOMPARE(found.front()->columns(), columns);
        // The cells beyond the last column join it.
        QVERIFY(cellText(found.front()->cellAt(0, columns - 1)).endsWith(QStringLiteral("c100")));
    } else {
        // The rows remain as lines of text.
        QVERIFY(document.toPlainText().count(QLatin1Char('\n')) >= 60);
        QVERIFY(!document.toPlainText().contains(QStringLiteral("\\cell")));
    }
}

QTEST_MAIN(RtfTableTest)
#include "RtfTableTest.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The faces and the colours of what the program shows: every character of its
// texts in the face chosen for it, and every text readable under a dark
// desktop theme.
#include "CourbesRun.h"
#include "MainWindowFixture.h"
#include "calc/Machine.h"
#include "config/Enregistrer.h"
#include "config/MessageBoxes.h"
#include "config/Ouvrir.h"
#include "exercises/Fichexo.h"
#include "look/Faces.h"
#include "report/Confimp.h"
#include "sim/Quantities.h"
#include "ui/ChartExport.h"
#include "ui/CourbesChart.h"
#include "ui/MainWindow.h"
#include "ui/PagePicture3.h"
#include "ui/PrintedPage.h"
#include "ui/TabStrip.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <cmath>
#include <memory>
#include <optional>
#include <string>

using namespace Ionaria;
using Ionaria::ui::MainWindow;
using namespace windowtest;

namespace {

// The characters of text that the font cannot draw itself.
QString missing(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    QString absent;
    for (const char32_t c : text.toUcs4()) {
        if (c != U' ' && !metrics.inFontUcs4(c)) {
            absent += QString::fromUcs4(&c, 1);
        }
    }
    return absent;
}

// WCAG 2.1 relative luminance of an sRGB colour.
double luminance(const QColor& c) {
    const auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colours of a dark desktop theme: light texts, dark backgrounds.
QPalette darkTheme() {
    QPalette p;
    const QColor dark(45, 45, 45);
    const QColor light(238, 238, 236);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Window, dark);
        p.setColor(group, QPalette::WindowText, light);
        p.setColor(group, QPalette::Base, QColor(30, 30, 30));
        p.setColor(group, QPalette::AlternateBase, QColor(53, 53, 53));
        p.setColor(group, QPalette::Text, light);
        p.setColor(group, QPalette::Button, QColor(60, 60, 60));
        p.setColor(group, QPalette::ButtonText, light);
        p.setColor(group, QPalette::PlaceholderText, QColor(160, 160, 160));
        p.setColor(group, QPalette::ToolTipBase, dark);
        p.setColor(group, QPalette::ToolTipText, light);
        p.setColor(group, QPalette::Highlight, QColor(21, 83, 158));
        p.setColor(group, QPalette::HighlightedText, light);
        p.setColor(group, QPalette::Link, QColor(138, 180, 248));
    }
    return p;
}

// The colour a widget's text is drawn over: its own background when it fills
// it, or else that of the nearest one behind it that paints.
QColor behind(const QWidget* w) {
    for (const QWidget* p = w; p != nullptr; p = p->parentWidget()) {
        if (qobject_cast<const ui::PrintedPage*>(p) != nullptr) {
            return ui::PrintedPage::background;
        }
        if (qobject_cast<const ui::TabStrip*>(p) != nullptr) {
            return ui::TabStrip::background;
        }
        if (qobject_cast<const ui::MainWindow*>(p) != nullptr) {
            return ui::MainWindow::gradientBottom;
        }
        if (p->autoFillBackground() || p->isWindow()) {
            return p->palette().color(p->backgroundRole());
        }
    }
    return {};
}

struct Reading {
    QString what;
    double ratio = 0.0;
};

// The text of each kind of control against what it is drawn over.
std::optional<Reading> readingOf(QWidget* w) {
    const QPalette::ColorGroup group = w->isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QPalette& pal = w->palette();
    const auto pair = [&](QPalette::ColorRole text, QPalette::ColorRole back) {
        return contrast(pal.color(group, text), pal.color(group, back));
    };
    const QString name =
        QStringLiteral("%1 « %2 »")
            .arg(QString::fromLatin1(w->metaObject()->className()),
                 w->objectName().isEmpty() ? w->accessibleName() : w->objectName());
    if (qobject_cast<QLineEdit*>(w) != nullptr || qobject_cast<QAbstractSpinBox*>(w) != nullptr ||
        qobject_cast<QTextEdit*>(w) != nullptr || qobject_cast<QAbstractItemView*>(w) != nullptr) {
        return Reading{name, pair(QPalette::Text, QPalette::Base)};
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        return combo->isEditable() ? Reading{name, pair(QPalette::Text, QPalette::Base)}
                                   : Reading{name, pair(QPalette::ButtonText, QPalette::Button)};
    }
    if (qobject_cast<QCheckBox*>(w) != nullptr || qobject_cast<QRadioButton*>(w) != nullptr ||
        qobject_cast<QLabel*>(w) != nullptr || qobject_cast<QGroupBox*>(w) != nullptr) {
        return Reading{name, contrast(pal.color(group, w->foregroundRole()), behind(w))};
    }
    if (qobject_cast<QAbstractButton*>(w) != nullptr) {
        return Reading{name, pair(QPalette::ButtonText, QPalette::Button)};
    }
    return std::nullopt;
}

// Every visible control of the window whose text reads below 4.5:1.
QStringList unreadable(QWidget* window) {
    QStringList faults;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (!w->isVisible() || w->window() != window) {
            continue;
        }
        if (const auto reading = readingOf(w); reading && reading->ratio < 4.5) {
            faults << QStringLiteral("%1 : %2").arg(reading->what).arg(reading->ratio, 0, 'f', 2);
        }
    }
    return faults;
}

} // namespace

class LookTest : public WindowTestBase {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { QApplication::setPalette(m_systemPalette); }
    void faces_data();
    void faces();
    void textFaceIsFound();
    void panelTexts();
    void svgNamesAGenericFamily();
    void printTitleInOneFace();
    void mainWindowUnderDarkTheme();
    void dialogsUnderDarkTheme_data();
    void dialogsUnderDarkTheme();

private:
    QPalette m_systemPalette;
};

void LookTest::initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
    m_systemPalette = QApplication::palette();
    // As a dark desktop theme does, before any window is made.
    QApplication::setPalette(darkTheme());
}

void LookTest::faces_data() {
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QStringList>("texts");
    QStringList symbols;
    for (int reaction = 0; reaction < 64; ++reaction) {
        const std::string equation = sim::halfEquationPretty(reaction);
        if (!equation.empty()) {
            symbols << QString::fromStdString(equation);
        }
    }
    QVERIFY2(symbols.size() > 5, "the half-equations");
    QTest::newRow("half-equations") << look::textFont(10) << symbols;
    QStringList axes;
    testing::CourbesRun run;
    for (const sim::Quantity& q : sim::quantitiesOf(run.record, false)) {
        axes << QString::fromStdString(q.symbol) + QStringLiteral(" (mol·L⁻¹)")
             << QString::fromStdString(q.name);
    }
    QVERIFY2(axes.size() > 10, "the quantities");
    QTest::newRow("axis titles, bold") << look::textFont(11, true) << axes;
    QTest::newRow("legends") << look::textFont(11) << axes;
    QTest::newRow("calculator keys")
        << look::textFont(11)
        << QStringList{QStringLiteral("eˣ 10ˣ √ π xʸ x² ← ÷ INV SIN"),
                       QStringLiteral("Erreur saisie: revoir les parenthèses")};
    QTest::newRow("print title, formulas")
        << look::textFont(16, true)
        << QStringList{QStringLiteral("Électrolyse de CuSO₄ : Cu²⁺ + 2 e⁻ → Cu"),
                       QStringLiteral("« H₂O » · Ω Δ λ μ à â ç è é ê ë î ï ô ù û ü ÿ œ Œ")};
}

// Nothing the program writes outside the picture depends on fallback: the
// face it names has every character.
void LookTest::faces() {
    QFETCH(QFont, font);
    QFETCH(QStringList, texts);
    for (const QString& text : texts) {
        QVERIFY2(missing(font, text).isEmpty(),
                 qPrintable(QStringLiteral("%1 : %2").arg(text, missing(font, text))));
    }
}

// The face asked for is the one drawn, so that the check above is on it.
void LookTest::textFaceIsFound() {
    QCOMPARE(QFontInfo(look::textFont(11)).family(), QString::fromLatin1(look::textFamily));
    QCOMPARE(QFontInfo(look::textFont(11, true)).family(), QString::fromLatin1(look::textFamily));
    QCOMPARE(QFontInfo(ui::PrintedPage::arial8()).family(),
             QString::fromLatin1(look::designFamily));
}

// The panels' labels of every montage and page, in the design face itself.
void LookTest::panelTexts() {
    openWindow();
    MainWindow& w = window();
    int checked = 0;
    for (int montage = 0; montage < 3; ++montage) {
        w.Picture3->Option2[static_cast<std::size_t>(montage)]->click();
        for (int tab = 0; tab < static_cast<int>(ui::TabStrip::captions().size()); ++tab) {
            showTab(tab);
            for (auto* page : w.findChildren<ui::PrintedPage*>()) {
                if (!page->isVisible()) {
                    continue;
                }
                for (const auto& printed : page->printedTexts()) {
                    QVERIFY2(missing(printed.font, printed.text).isEmpty(),
                             qPrintable(printed.text));
                    ++checked;
                }
            }
        }
    }
    QVERIFY(checked > 20);
    closeWindow();
}

// A viewer without DejaVu Sans draws the curves in a sans-serif face.
void LookTest::svgNamesAGenericFamily() {
    testing::CourbesRun run;
    run.copperDeposit();
    run.runFor(60);
    ui::CourbesChart chart(run.record);
    chart.setQuantities({QStringLiteral("U"), QStringLiteral("Cu2+")});
    chart.setSize(QSizeF(600.0, 400.0));
    const QString svg = QString::fromUtf8(ui::chartBytes(chart, ui::ChartFormat::Svg));
    const QRegularExpression family(QStringLiteral("font-family=\"([^\"]*)\""));
    int count = 0;
    for (auto it = family.globalMatch(svg); it.hasNext(); ++count) {
        const QRegularExpressionMatch match = it.next();
        QVERIFY2(match.captured(1) == look::svgFamilies(),
                 qPrintable(svg.mid(match.capturedStart() - 300, 600)));
    }
    QVERIFY(count > 0);
}

// The title of a printout with formulas embeds the text face and nothing
// else: no character came from another font.
void LookTest::printTitleInOneFace() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("titre.pdf"));
    QCOMPARE(report::PicturePrinter::printPdf(pdf, report::PicturePrinter::Picture{},
                                              QStringLiteral("Cu²⁺ + 2 e⁻ → Cu ; SO₄²⁻ ; H₂O"), 1),
             report::PicturePrinter::Outcome::Printed);
    QProcess fonts;
    fonts.start(QStringLiteral("pdffonts"), {pdf});
    QVERIFY(fonts.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(fonts.readAllStandardOutput())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                  .mid(2);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.front().contains(QStringLiteral("DejaVuSans-Bold")), qPrintable(lines.front()));
}

void LookTest::mainWindowUnderDarkTheme() {
    openWindow();
    MainWindow& w = window();
    int pages = 0;
    for (int montage = 0; montage < 3; ++montage) {
        w.Picture3->Option2[static_cast<std::size_t>(montage)]->click();
        for (int tab = 0; tab < static_cast<int>(ui::TabStrip::captions().size()); ++tab) {
            showTab(tab);
            const QStringList faults = unreadable(&w);
            QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("montage %1, page %2 : %3")
                                                      .arg(montage)
                                                      .arg(tab)
                                                      .arg(faults.join(QStringLiteral(", ")))));
            ++pages;
        }
    }
    QVERIFY(pages >= 3);
    closeWindow();
}

void LookTest::dialogsUnderDarkTheme_data() {
    QTest::addColumn<QString>("dialog");
    for (const char* name : {"calculator", "exercises", "printing", "open", "save"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

void LookTest::dialogsUnderDarkTheme() {
    QFETCH(QString, dialog);
    openWindow();
    MainWindow& w = window();
    std::string path;
    QPrinter printer;
    std::unique_ptr<QWidget> shown;
    if (dialog == QStringLiteral("calculator")) {
        shown = std::make_unique<calc::Machine>(&w);
    } else if (dialog == QStringLiteral("exercises")) {
        shown = std::make_unique<exercises::Fichexo>(
            m_dir->path(), [](const QString&) {}, &w);
    } else if (dialog == QStringLiteral("printing")) {
        shown =
            std::make_unique<report::Confimp>(QImage(40, 40, QImage::Format_RGB32), printer, &w);
    } else if (dialog == QStringLiteral("open")) {
        shown = std::make_unique<config::Ouvrir>(w.handlers(), path, &w,
                                                 config::MessageBoxes::standard());
    } else {
        shown = std::make_unique<config::Enregistrer>(w.engine().params(), path, &w,
                                                      config::MessageBoxes::standard());
    }
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
    const QStringList faults = unreadable(shown.get());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
    shown.reset();
    closeWindow();
}

QTEST_MAIN(LookTest)
#include "LookTest.moc"

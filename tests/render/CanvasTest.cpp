// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/QtCanvas.h"
#include "render/RecordingCanvas.h"

#include <QTest>

#include <limits>

using namespace Ionaria::render;

namespace {

Color at(const QtCanvas& c, int x, int y) {
    const QRgb p = c.image().pixel(x, y);
    return {qRed(p), qGreen(p), qBlue(p)};
}

constexpr Color red{255, 0, 0};

} // namespace

Q_DECLARE_METATYPE(Ionaria::render::Color)

class CanvasTest : public QObject {
    Q_OBJECT

private slots:
    void rgbRounding_data();
    void rgbRounding();
    void onepixelLineLeavesEndPoint();
    void boxesIncludeBothCorners();
    void boxOutlineFillsWhenSolid();
    void scaleTopMovesDrawing();
    void clsRestoresBackground();
    void arcAspect_data();
    void arcAspect();
    void circleMovesCursorToCentre();
    void fontSizesArePixels_data();
    void fontSizesArePixels();
    void printCursor();
    void badPositionsAreSkipped();
    void recordingKeepsState();
};

void CanvasTest::rgbRounding_data() {
    QTest::addColumn<double>("r");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("expected");
    QTest::newRow("half to even down") << 2.5 << true << 2;
    QTest::newRow("half to even up") << 3.5 << true << 4;
    QTest::newRow("above 255 is 255") << 300.0 << true << 255;
    QTest::newRow("negative") << -1.0 << false << 0;
    QTest::newRow("beyond a short") << 40000.0 << false << 0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << false << 0;
}

void CanvasTest::rgbRounding() {
    QFETCH(double, r);
    QFETCH(bool, valid);
    QFETCH(int, expected);
    const auto c = rgb(r, 10.0, 20.0);
    QCOMPARE(c.has_value(), valid);
    if (valid) {
        QCOMPARE(c->r, expected);
        QCOMPARE(c->g, 10);
    }
}

void CanvasTest::onepixelLineLeavesEndPoint() {
    QtCanvas c;
    c.line(10, 20, 15, 20, red);
    c.line(30, 40, 30, 35, red);
    QCOMPARE(at(c, 10, 20), red);
    QCOMPARE(at(c, 14, 20), red);
    QCOMPARE(at(c, 15, 20), white);
    QCOMPARE(at(c, 30, 40), red);
    QCOMPARE(at(c, 30, 36), red);
    QCOMPARE(at(c, 30, 35), white);
}

void CanvasTest::boxesIncludeBothCorners() {
    QtCanvas c;
    c.fillBox(10, 10, 12, 12, red);
    QCOMPARE(at(c, 10, 10), red);
    QCOMPARE(at(c, 12, 12), red);
    QCOMPARE(at(c, 13, 12), white);
    c.fillBox(50, 60, 40, 60, black); // a zero-height box is one row
    QCOMPARE(at(c, 40, 60), black);
    QCOMPARE(at(c, 50, 60), black);
    QCOMPARE(at(c, 45, 61), white);
    c.box(100, 100, 110, 105, black);
    QCOMPARE(at(c, 100, 100), black);
    QCOMPARE(at(c, 110, 105), black);
    QCOMPARE(at(c, 111, 105), white);
    QCOMPARE(at(c, 105, 102), white);
}

void CanvasTest::boxOutlineFillsWhenSolid() {
    QtCanvas c;
    c.setFillStyle(FillStyle::Solid);
    c.setFillColor(red);
    c.box(100, 100, 110, 105, black);
    QCOMPARE(at(c, 105, 102), red);
    QCOMPARE(at(c, 100, 102), black);
}

void CanvasTest::scaleTopMovesDrawing() {
    QtCanvas c;
    c.setScaleTop(90);
    c.fillBox(5, 100, 5, 100, red);
    QCOMPARE(at(c, 5, 10), red);
    QCOMPARE(at(c, 5, 100), white);
}

void CanvasTest::clsRestoresBackground() {
    QtCanvas c;
    c.fillBox(0, 0, 3, 3, red);
    c.makeBackground();
    c.fillBox(10, 10, 12, 12, black);
    c.setCurrentX(50);
    c.cls();
    QCOMPARE(at(c, 1, 1), red);
    QCOMPARE(at(c, 11, 11), white);
    QCOMPARE(c.currentX(), 0.0);
    c.clearPicture();
    QCOMPARE(at(c, 1, 1), white);
    c.cls();
    QCOMPARE(at(c, 1, 1), white);
}

void CanvasTest::arcAspect_data() {
    QTest::addColumn<double>("aspect");
    QTest::addColumn<int>("topY");
    QTest::addColumn<int>("rightX");
    // Radius 100 at (200, 250): below 1 the radius is horizontal, above 1
    // vertical.
    QTest::newRow("0.7") << 0.7 << 180 << 300;
    QTest::newRow("4") << 4.0 << 150 << 225;
}

void CanvasTest::arcAspect() {
    QFETCH(double, aspect);
    QFETCH(int, topY);
    QFETCH(int, rightX);
    QtCanvas c;
    c.arc(200, 250, 100, 0.0, 3.14, aspect, black);
    QCOMPARE(at(c, 200, topY), black);
    QCOMPARE(at(c, 200, topY - 2), white);
    QCOMPARE(at(c, 200, 500 - topY), white); // the lower half is not drawn
    bool rightEnd = false;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -2; dy <= 0; ++dy) {
            rightEnd = rightEnd || at(c, rightX + dx, 250 + dy) == black;
        }
    }
    QVERIFY(rightEnd);
}

void CanvasTest::circleMovesCursorToCentre() {
    QtCanvas c;
    c.setFillStyle(FillStyle::Solid);
    c.setFillColor(red);
    c.circle(100.4, 120.6, 5, black);
    QCOMPARE(c.currentX(), 100.4);
    QCOMPARE(c.currentY(), 120.6);
    QCOMPARE(at(c, 100, 121), red);
    QCOMPARE(at(c, 105, 121), black);
    QCOMPARE(at(c, 107, 121), white);
}

// Points at 96 dots per inch, in the metrics of Liberation Sans with full
// hinting and no antialiasing. The advances of "Cu" are FreeType's hinted
// ones, measured apart from Qt: convert -debug annotate +antialias -font
// LiberationSans-Regular.ttf -density 72 -pointsize N label:Cu gives 13, 16
// and 20 for 11, 13 and 16 pixels per em. The line heights are those Qt gives
// that face (its ascent plus descent): 12, 15 and 17 px with the
// fonts-liberation of Debian 12.
void CanvasTest::fontSizesArePixels_data() {
    QTest::addColumn<double>("points");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("width");
    QTest::newRow("8 pt, 11 px") << 8.0 << 12.0 << 13.0;
    QTest::newRow("10 pt, 13 px") << 10.0 << 15.0 << 16.0;
    QTest::newRow("12 pt, 16 px") << 12.0 << 17.0 << 20.0;
}

void CanvasTest::fontSizesArePixels() {
    QFETCH(double, points);
    QFETCH(double, height);
    QFETCH(double, width);
    QtCanvas c;
    c.setFontName("Arial");
    c.setFontSize(points);
    QCOMPARE(c.textHeight("A"), height);
    QCOMPARE(c.textWidth("Cu"), width);
}

void CanvasTest::printCursor() {
    QtCanvas c;
    c.setFontSize(10);
    c.setCurrentX(20);
    c.setCurrentY(30);
    c.print("Fe");
    QCOMPARE(c.currentX(), 20 + c.textWidth("Fe"));
    QCOMPARE(c.currentY(), 30.0);
    c.printLine("x");
    QCOMPARE(c.currentX(), 0.0);
    QCOMPARE(c.currentY(), 30 + c.textHeight("x"));
    // The text stands below and right of the cursor.
    bool inked = false;
    for (int x = 20; x < 30; ++x) {
        for (int y = 30; y < 44; ++y) {
            inked = inked || at(c, x, y) == black;
        }
    }
    QVERIFY(inked);
    QCOMPARE(at(c, 19, 29), white);
}

void CanvasTest::badPositionsAreSkipped() {
    QtCanvas c;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    c.line(nan, 0, 10, 10, black);
    c.line(0, 0, inf, 10, black);
    c.fillBox(0, 0, 1e12, 10, black);
    c.box(nan, nan, nan, nan, black);
    c.circle(10, 10, nan, black);
    c.circle(10, 10, -3, black);
    c.arc(100, 100, 50, 0, nan, 0.7, black);
    c.arc(100, 100, 50, 0, 1, 0.0, black);
    c.setCurrentX(nan);
    c.print("x");
    c.setFontSize(nan);
    QCOMPARE(c.fontSize(), 8.0);
    const QImage& image = c.image();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                QFAIL(qPrintable(QStringLiteral("pixel drawn at %1,%2").arg(x).arg(y)));
            }
        }
    }
}

void CanvasTest::recordingKeepsState() {
    RecordingCanvas c;
    c.setFillStyle(FillStyle::Solid);
    c.setFillColor(red);
    c.setDrawWidth(3);
    c.setScaleTop(90);
    c.circle(10, 20, 4, black);
    c.setFontBold(true);
    c.print("G");
    QCOMPARE(c.ops().size(), std::size_t{2});
    const DrawOp& circle = c.ops()[0];
    QCOMPARE(circle.kind, DrawOp::Kind::Circle);
    QVERIFY(circle.filled);
    QCOMPARE(circle.fill, red);
    QCOMPARE(circle.width, 3);
    QCOMPARE(circle.scaleTop, 90);
    QCOMPARE(c.ops()[1].text, std::string("G"));
    QVERIFY(c.ops()[1].font.bold);
    QCOMPARE(c.ops()[1].x1, 10.0); // the cursor was left at the centre
}

QTEST_MAIN(CanvasTest)
#include "CanvasTest.moc"

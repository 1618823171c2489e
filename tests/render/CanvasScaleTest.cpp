// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureFixture.h"
#include "render/QtCanvas.h"
#include "sim/Catalogue.h"

#include <QtTest>

#include <cstdlib>

using Ionaria::sim::catalogue::Montage;

using Ionaria::render::QtCanvas;

namespace {

namespace cat = Ionaria::sim::catalogue;

// Aligned k x k blocks of a picture drawn at k times its size whose pixels
// are not all the same: a picture stretched from its own size has none.
int mixedBlocks(const QImage& image, int k) {
    int mixed = 0;
    for (int y = 0; y + k <= image.height(); y += k) {
        for (int x = 0; x + k <= image.width(); x += k) {
            const QRgb first = image.pixel(x, y);
            bool same = true;
            for (int dy = 0; dy < k && same; ++dy) {
                for (int dx = 0; dx < k && same; ++dx) {
                    same = image.pixel(x + dx, y + dy) == first;
                }
            }
            mixed += same ? 0 : 1;
        }
    }
    return mixed;
}

// The share of the picture's pixels that the large drawing, sampled back at
// every k-th pixel, shows within a small difference of colour.
double sampledMatch(const QImage& small, const QImage& large, int k) {
    int close = 0;
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            const QRgb a = small.pixel(x, y);
            const QRgb b = large.pixel(x * k + k / 2, y * k + k / 2);
            const int d = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b));
            close += d <= 24 ? 1 : 0;
        }
    }
    return static_cast<double>(close) / (small.width() * small.height());
}

} // namespace

// The picture drawn again at other scales from what it was asked to draw.
class CanvasScaleTest : public QObject {
    Q_OBJECT

private slots:
    void imageSize_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QSize>("size");
        QTest::newRow("own size") << 1.0 << QSize(417, 497);
        QTest::newRow("a zoom and a half") << 1.5 << QSize(626, 746);
        QTest::newRow("double") << 2.0 << QSize(834, 994);
        QTest::newRow("full HD projector") << 2.5 << QSize(1043, 1243);
        QTest::newRow("four times") << 4.0 << QSize(1668, 1988);
    }
    void imageSize() {
        QFETCH(double, scale);
        QFETCH(QSize, size);
        Picture p;
        p.run(3);
        p.host.canvas().setScale(scale);
        QCOMPARE(p.host.image().size(), size);
        QCOMPARE(p.host.canvas().render(scale).size(), size);
    }

    // A round trip through another scale gives back the very pixels drawn at
    // the picture's own size, for every kind of montage and scale of view.
    void roundTripKeepsThePixels_data() {
        QTest::addColumn<Montage>("montage");
        QTest::addColumn<int>("view");
        QTest::addColumn<double>("scale");
        QTest::newRow("electrolysis, microscopic, 2") << Montage::Tension << 0 << 2.0;
        QTest::newRow("electrolysis, macroscopic, 1.5") << Montage::Tension << 1 << 1.5;
        QTest::newRow("cell, microscopic, 2.5") << Montage::Pile << 0 << 2.5;
        QTest::newRow("current generator, macroscopic, 3") << Montage::Courant << 1 << 3.0;
    }
    void roundTripKeepsThePixels() {
        QFETCH(Montage, montage);
        QFETCH(int, view);
        QFETCH(double, scale);
        Picture p;
        p.handlers.selectOption2(montage);
        p.handlers.selectOption1(view);
        p.run(40);
        const QImage own = p.host.image().copy();
        const QImage background = p.host.canvas().background().copy();
        QCOMPARE(p.host.canvas().render(1.0), own);
        p.host.canvas().setScale(scale);
        QVERIFY(p.host.image() != own);
        p.host.canvas().setScale(1.0);
        QCOMPARE(p.host.image(), own);
        QCOMPARE(p.host.canvas().background(), background);
    }

    // At a larger scale the picture is drawn, not stretched, and still shows
    // the same thing.
    void drawnNotStretched_data() {
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("k");
        QTest::newRow("microscopic, 2") << 0 << 2;
        QTest::newRow("macroscopic, 2") << 1 << 2;
        QTest::newRow("microscopic, 4") << 0 << 4;
    }
    void drawnNotStretched() {
        QFETCH(int, view);
        QFETCH(int, k);
        Picture p;
        p.handlers.selectOption1(view);
        p.run(60);
        const QImage own = p.host.image().copy();
        const QImage large = p.host.canvas().render(k);
        QCOMPARE(large.size(), own.size() * k);
        // The edges of the curves, the texts and the particles.
        const int mixed = mixedBlocks(large, k);
        QVERIFY2(mixed > 1000, qPrintable(QString::number(mixed)));
        const double match = sampledMatch(own, large, k);
        QVERIFY2(match > 0.97, qPrintable(QString::number(match)));
    }

    // The ticks that follow a change of scale draw at the new scale over the
    // background drawn again, as the ticks at the picture's own size do.
    void ticksGoOnAtTheNewScale() {
        Picture p;
        Picture q;
        p.run(20);
        q.run(20);
        q.host.canvas().setScale(2.0);
        p.run(25);
        q.run(25);
        QCOMPARE(q.host.image().size(), QSize(834, 994));
        QCOMPARE(q.host.canvas().render(1.0), p.host.image());
    }

    // A frame keeps only what was drawn since the last clearing; the
    // background keeps what the last drawing of the montage made.
    void operationsAreKeptOnlyUntilCleared() {
        QtCanvas c;
        c.line(0, 0, 10, 10, Ionaria::render::black);
        c.makeBackground();
        QCOMPARE(c.backgroundOps().size(), std::size_t(1));
        QCOMPARE(c.frameOps().size(), std::size_t(0));
        c.setCurrentX(5);
        c.setCurrentY(5);
        c.print("x");
        c.circle(20, 20, 5);
        QCOMPARE(c.frameOps().size(), std::size_t(2));
        c.cls();
        QCOMPARE(c.frameOps().size(), std::size_t(0));
        QCOMPARE(c.backgroundOps().size(), std::size_t(1));
        c.clearPicture();
        QCOMPARE(c.backgroundOps().size(), std::size_t(0));
        // What cannot be drawn is not kept either.
        c.circle(std::nan(""), 0, 3);
        c.line(1e9, 0, 0, 0, Ionaria::render::black);
        c.fillBox(0, 0, 1, 1, Ionaria::render::black);
        QCOMPARE(c.frameOps().size(), std::size_t(2));
    }

    void scaleOutOfRangeIsClamped_data() {
        QTest::addColumn<double>("asked");
        QTest::addColumn<double>("kept");
        QTest::newRow("zero") << 0.0 << QtCanvas::minimumScale;
        QTest::newRow("negative") << -2.0 << QtCanvas::minimumScale;
        QTest::newRow("huge") << 1e9 << QtCanvas::maximumScale;
        QTest::newRow("not a number") << std::nan("") << 1.0;
    }
    void scaleOutOfRangeIsClamped() {
        QFETCH(double, asked);
        QFETCH(double, kept);
        QtCanvas c;
        c.setScale(asked);
        QCOMPARE(c.scale(), kept);
        QCOMPARE(c.image().size(), QtCanvas::imageSize(kept));
    }
};

QTEST_MAIN(CanvasScaleTest)
#include "CanvasScaleTest.moc"

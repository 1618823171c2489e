// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CourbesWindow.h"

#include "base/CarefulFile.h"
#include "look/Faces.h"
#include "sim/Quantities.h"
#include "sim/Reading.h"
#include "ui/ChartExport.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTransform>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace Ionaria::ui {

namespace {

constexpr int shownEvents = 8;   // lines of the events list
constexpr double keyStep = 0.01; // of the time axis, per arrow key

const QStringList defaultChosen = {QStringLiteral("i"), QStringLiteral("mG"), QStringLiteral("mD")};

QString savedName(const QString& name) {
    return QDir::home().filePath(name);
}

} // namespace

const QString CourbesWindow::tableurFilter =
    QStringLiteral("Tableur (point-virgule, virgule décimale) (*.csv)");
const QString CourbesWindow::csvFilter = QStringLiteral("CSV (virgule, point décimal) (*.csv)");

CourbesWindow::CourbesWindow(const sim::Recorder& record, QWidget* parent,
                             config::MessageBoxes& boxes)
    : QWidget(parent, Qt::Window), m_record(record), m_messages(boxes), m_chart(record) {
    setObjectName(QStringLiteral("Courbes"));
    setWindowTitle(QStringLiteral("Courbes"));
    setAccessibleName(QStringLiteral("Courbes des mesures"));
    // The reading's formulas need the text face; the colours stay the
    // desktop's, as nothing of the design is drawn here but the plots.
    look::useTextFace(this);
    resize(designWidth, designHeight);
    m_designFont = font();
    m_ask = [](QWidget* owner, const QString& title, const QString& suggested,
               const QStringList& filters, QString& chosenFilter) {
        return QFileDialog::getSaveFileName(owner, title, suggested,
                                            filters.join(QStringLiteral(";;")), &chosenFilter);
    };

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(createPanel());
    layout->addWidget(createView(), 1);

    setTabOrder(m_faraday, m_characteristic);
    setTabOrder(m_characteristic, m_time);
    setTabOrder(m_time, m_follow);
    setTabOrder(m_follow, m_view);
    setTabOrder(m_view, m_exportMeasures);
    setTabOrder(m_exportMeasures, m_exportImage);
    setTabOrder(m_exportImage, m_close);

    connectControls();
    createZoomKeys();
    m_timer.setInterval(refreshInterval);
    connect(&m_timer, &QTimer::timeout, this, &CourbesWindow::refreshIfChanged);

    for (const QString& id : defaultChosen) {
        m_chosen.insert(id, true);
    }
    refreshIfChanged();
}

CourbesWindow::~CourbesWindow() {
    m_timer.stop();
    m_view->viewport()->removeEventFilter(this);
    m_view->removeEventFilter(this);
    // The controls call back into the window as they lose the focus, and the
    // view shows the chart's scene: they go before the chart.
    const auto children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        delete child;
    }
}

void CourbesWindow::updateBoxes() {
    const std::vector<sim::Quantity> available = sim::quantitiesOf(m_record, true);
    QStringList ids;
    for (const auto& q : available) {
        ids.append(QString::fromStdString(q.id));
    }
    if (ids == m_boxOrder) {
        return;
    }
    QWidget* before = m_faraday;
    for (QCheckBox* box : std::as_const(m_boxes)) {
        delete box;
    }
    m_boxes.clear();
    m_boxOrder = ids;
    QWidget* previous = nullptr;
    for (const auto& q : available) {
        const QString id = QString::fromStdString(q.id);
        auto* box = new QCheckBox(QString::fromStdString(q.name), m_boxesLayout->parentWidget());
        box->setObjectName(QStringLiteral("grandeur ") + id);
        box->setAccessibleName(QStringLiteral("Tracer ") + QString::fromStdString(q.name));
        box->setChecked(m_chosen.value(id, false));
        m_boxesLayout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this, id](bool on) {
            m_chosen.insert(id, on);
            choicesChanged();
        });
        m_boxes.insert(id, box);
        if (previous != nullptr) {
            setTabOrder(previous, box);
        }
        previous = box;
    }
    if (previous != nullptr) {
        setTabOrder(previous, before);
    }
}

void CourbesWindow::choicesChanged() {
    QStringList ids;
    for (const QString& id : std::as_const(m_boxOrder)) {
        if (m_boxes.value(id)->isChecked()) {
            ids.append(id);
        }
    }
    m_chart.setFaraday(m_faraday->isChecked());
    m_chart.setQuantities(ids);
    m_chart.setCharacteristicShown(m_characteristic->isChecked());
    updateReadout();
}

bool CourbesWindow::refreshIfChanged() {
    if (m_drawn && m_record.revision() == m_shownRevision) {
        return false;
    }
    m_shownRevision = m_record.revision();
    m_drawn = true;
    updateBoxes();
    const auto before = m_chart.quantities();
    choicesChanged();
    if (m_chart.quantities() == before) {
        m_chart.refresh();
    }
    updateTimeBox();
    updateReadout();
    updateEvents();
    emit redrawn();
    return true;
}

// While the pupil types, the box only lets its range grow: its text, unit
// and value stay theirs. A time read keeps the unit it was typed in.
void CourbesWindow::updateTimeBox() {
    const TimeUnit& unit = m_chart.timeUnit();
    const bool editing = m_time->hasFocus();
    if (!editing && !m_readSeconds) {
        m_boxUnitSeconds = unit.seconds;
        m_boxUnitSymbol = unit.symbol;
    }
    const QSignalBlocker blocker(m_time);
    const double last = std::max<double>(m_record.lastSeconds(), 0.0) / m_boxUnitSeconds;
    if (editing) {
        if (m_time->maximum() < last) {
            m_time->setMaximum(last);
        }
        return;
    }
    m_time->setSuffix(QLatin1Char(' ') + m_boxUnitSymbol);
    m_time->setDecimals(m_boxUnitSeconds == 1.0 ? 0 : (m_boxUnitSeconds == 60.0 ? 2 : 3));
    m_time->setSingleStep(m_boxUnitSeconds == 1.0 ? 1.0 : 0.1);
    m_time->setRange(0.0, last);
    m_time->setValue(m_readSeconds.value_or(m_record.lastSeconds()) / m_boxUnitSeconds);
}

void CourbesWindow::readAt(double seconds) {
    m_readSeconds = std::clamp(seconds, 0.0, static_cast<double>(m_record.lastSeconds()));
    {
        // A time chosen stops the reading from following the run.
        const QSignalBlocker blocker(m_follow);
        m_follow->setChecked(false);
    }
    m_chart.setCursor(m_readSeconds);
    {
        const QSignalBlocker blocker(m_time);
        m_time->setValue(*m_readSeconds / m_boxUnitSeconds);
    }
    updateReadout();
}

void CourbesWindow::updateReadout() {
    QStringList lines;
    for (const std::string& line :
         sim::readingLines(m_record, m_readSeconds, m_faraday->isChecked())) {
        lines << QString::fromStdString(line);
    }
    m_readout->setText(lines.join(QLatin1Char('\n')));
}

void CourbesWindow::updateEvents() {
    QStringList lines;
    for (const std::string& line : sim::eventLines(m_record, shownEvents)) {
        lines << QString::fromStdString(line);
    }
    if (lines.isEmpty()) {
        m_events->clear();
        return;
    }
    m_events->setText(lines.join(QLatin1Char('\n')));
}

bool CourbesWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (const auto t = m_chart.secondsAt(m_view->mapToScene(mouse->position().toPoint()))) {
                readAt(*t);
            }
        } else if (event->type() == QEvent::Resize) {
            // The chart is laid out at the design scale and shown at the
            // window's: texts and lines grow with it.
            m_view->setTransform(QTransform::fromScale(m_zoom, m_zoom));
            m_chart.setSize(QSizeF(m_view->viewport()->size()) / m_zoom);
        }
    } else if (watched == m_view && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const double span = std::max(1.0, static_cast<double>(m_record.lastSeconds()));
        const double now = m_readSeconds.value_or(m_record.lastSeconds());
        switch (key->key()) {
        case Qt::Key_Left:
            readAt(now - keyStep * span);
            return true;
        case Qt::Key_Right:
            readAt(now + keyStep * span);
            return true;
        case Qt::Key_Home:
            readAt(0.0);
            return true;
        case Qt::Key_End:
            readAt(span);
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

double CourbesWindow::zoomFor(const QSize& size) {
    return std::clamp(std::min(static_cast<double>(size.width()) / designWidth,
                               static_cast<double>(size.height()) / designHeight),
                      1.0, MainWindow::maximumZoom);
}

void CourbesWindow::createZoomKeys() {
    auto key = [this](const QList<QKeySequence>& keys, auto slot) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    key({QKeySequence(Qt::Key_F11)}, [this] {
        if (isFullScreen()) {
            showNormal();
        } else {
            showFullScreen();
        }
    });
    const auto step = [this](int steps) {
        if (isFullScreen() || isMaximized()) {
            showNormal();
        }
        const double z = steps == 0 ? 1.0 : MainWindow::nextZoom(m_zoom, steps);
        QSize target(static_cast<int>(std::lround(designWidth * z)),
                     static_cast<int>(std::lround(designHeight * z)));
        // Growing, the frame of the window stays on the screen.
        if (const QScreen* s = screen(); s != nullptr && z > m_zoom) {
            target =
                target.boundedTo(s->availableGeometry().size() - (frameGeometry().size() - size()));
        }
        // The texts shrink first, so that the layout lets the window shrink.
        applyZoom(zoomFor(target));
        resize(target);
    };
    key({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        [step] { step(1); });
    key({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [step] { step(-1); });
    key({QKeySequence(Qt::CTRL | Qt::Key_0)}, [step] { step(0); });
}

void CourbesWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyZoom(zoomFor(size()));
}

void CourbesWindow::applyZoom(double z) {
    if (z == m_zoom) {
        return;
    }
    m_zoom = z;
    QFont f = m_designFont;
    if (f.pixelSize() > 0) {
        f.setPixelSize(static_cast<int>(std::lround(f.pixelSize() * z)));
    } else {
        f.setPointSizeF(f.pointSizeF() * z);
    }
    setFont(f);
    m_panel->setFixedWidth(static_cast<int>(std::lround(panelWidth * z)));
    // The smaller texts' minimum size holds at once, for a resize that follows.
    layout()->activate();
    m_view->setTransform(QTransform::fromScale(m_zoom, m_zoom));
    m_chart.setSize(QSizeF(m_view->viewport()->size()) / m_zoom);
}

void CourbesWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshIfChanged();
    m_timer.start();
}

void CourbesWindow::hideEvent(QHideEvent* event) {
    m_timer.stop();
    QWidget::hideEvent(event);
}

bool CourbesWindow::exportMeasures(const QString& path, sim::CsvDialect dialect) {
    std::string bytes = sim::csvHeader(dialect, m_record.run().potentials);
    for (const auto& bucket : m_record.buckets()) {
        sim::appendCsvRow(bytes, bucket.first, dialect);
    }
    const auto result = base::CarefulFile::writeAll(path.toStdString(), bytes);
    if (!result.ok()) {
        m_messages.critical(this, QStringLiteral("Exporter les mesures"),
                            QString::fromLatin1(output::notWrittenText) + QStringLiteral(" :\n") +
                                path + QLatin1Char('\n') + failureReason(result));
        return false;
    }
    emit exported(QStringLiteral("Mesures exportées dans « %1 ».").arg(QFileInfo(path).fileName()));
    return true;
}

bool CourbesWindow::exportImage(const QString& path) {
    const auto format = chartFormatOf(path);
    const auto result = format ? writeChart(path, m_chart, *format)
                               : output::Result{base::CarefulFile::Status::WriteFailed, 0};
    if (!result.ok()) {
        m_messages.critical(this, QStringLiteral("Exporter l'image"),
                            QString::fromLatin1(output::notWrittenText) + QStringLiteral(" :\n") +
                                path + QLatin1Char('\n') +
                                (format ? failureReason(result)
                                        : QStringLiteral("Choisir un nom en .png, .svg ou .pdf.")));
        return false;
    }
    emit exported(
        QStringLiteral("Image des courbes exportée dans « %1 ».").arg(QFileInfo(path).fileName()));
    return true;
}

void CourbesWindow::exportMeasuresClicked() {
    QString chosen = tableurFilter;
    const QString path =
        m_ask(this, QStringLiteral("Exporter les mesures"),
              savedName(QStringLiteral("mesures.csv")), {tableurFilter, csvFilter}, chosen);
    if (path.isEmpty()) {
        return;
    }
    exportMeasures(path,
                   chosen == csvFilter ? sim::CsvDialect::Standard : sim::CsvDialect::Tableur);
}

void CourbesWindow::exportImageClicked() {
    const QStringList filters = {QStringLiteral("Image PNG (*.png)"),
                                 QStringLiteral("Dessin SVG (*.svg)"),
                                 QStringLiteral("Document PDF (*.pdf)")};
    QString chosen = filters.front();
    QString path = m_ask(this, QStringLiteral("Exporter l'image"),
                         savedName(QStringLiteral("courbes.png")), filters, chosen);
    if (path.isEmpty()) {
        return;
    }
    if (!chartFormatOf(path)) {
        const qsizetype index = std::max<qsizetype>(0, filters.indexOf(chosen));
        path += extensionOf(std::array{ChartFormat::Png, ChartFormat::Svg,
                                       ChartFormat::Pdf}[static_cast<std::size_t>(index)]);
    }
    exportImage(path);
}

} // namespace Ionaria::ui

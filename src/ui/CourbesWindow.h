// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/MessageBoxes.h"
#include "sim/MeasureCsv.h"
#include "sim/Recorder.h"
#include "ui/CourbesChart.h"

#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

class QCheckBox;
class QDoubleSpinBox;
class QGraphicsView;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace Ionaria::ui {

// The window "Courbes": the measurements of the run plotted against time as
// the run goes on, the values at a chosen time, and the exports of the
// measurements and of the picture. It only reads the record, at most ten
// times a second and only when it changed, so that it never holds up the
// animation.
class CourbesWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int refreshInterval = 100; // ms
    // The size the window opens at; larger, its texts and lines grow with
    // it, by the smaller of its two ratios to this size.
    static constexpr int designWidth = 980;  // px
    static constexpr int designHeight = 660; // px

    static double zoomFor(const QSize& size);
    double zoom() const { return m_zoom; }

    // The choices of the CSV export, the spreadsheet's first.
    static const QString tableurFilter;
    static const QString csvFilter;

    // Asks for the name of a file to write: the title, the name suggested,
    // the filters and, in and out, the filter chosen. Empty when cancelled.
    using SaveAsker =
        std::function<QString(QWidget* parent, const QString& title, const QString& suggested,
                              const QStringList& filters, QString& chosenFilter)>;

    explicit CourbesWindow(const sim::Recorder& record, QWidget* parent = nullptr,
                           config::MessageBoxes& boxes = config::MessageBoxes::standard());
    ~CourbesWindow() override;

    CourbesChart& chart() { return m_chart; }
    QCheckBox* quantityBox(const QString& id) const { return m_boxes.value(id); }
    QCheckBox* faradayBox() const { return m_faraday; }
    QCheckBox* characteristicBox() const { return m_characteristic; }
    QDoubleSpinBox* timeBox() const { return m_time; }
    QCheckBox* followBox() const { return m_follow; }
    QLabel* readout() const { return m_readout; }
    QPushButton* exportMeasuresButton() const { return m_exportMeasures; }
    QPushButton* exportImageButton() const { return m_exportImage; }
    QGraphicsView* view() const { return m_view; }
    void setSaveAsker(SaveAsker asker) { m_ask = std::move(asker); }

    // Redraws when the record changed since the last drawing; returns
    // whether it did.
    bool refreshIfChanged();
    // Shows the values at a time, s, as the pointer or the time box chooses
    // it.
    void readAt(double seconds);
    // The time whose values are shown; none shows the last measurement.
    std::optional<double> readTime() const { return m_readSeconds; }

    // The record as the batch CSV writes it, in a dialect. False, after
    // the message, when the file could not be written.
    bool exportMeasures(const QString& path, sim::CsvDialect dialect);
    // The chart as PNG, SVG or PDF by the file's extension.
    bool exportImage(const QString& path);

public slots:
    void exportMeasuresClicked();
    void exportImageClicked();

signals:
    // The chart was drawn again from the record.
    void redrawn();
    // A file was written: what to tell the pupil, with its name.
    void exported(const QString& confirmation);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // F11, Ctrl++, Ctrl+- and Ctrl+0, as in the main window.
    static constexpr int panelWidth = 250; // px

    // CourbesControls.cpp.
    QWidget* createPanel();
    QGraphicsView* createView();
    void connectControls();
    void createZoomKeys();
    // The texts, the panel and the chart's view at the scale z.
    void applyZoom(double z);
    void updateBoxes();
    void choicesChanged();
    void updateReadout();
    void updateEvents();
    void updateTimeBox();

    const sim::Recorder& m_record;
    config::MessageBoxes& m_messages;
    CourbesChart m_chart;
    QTimer m_timer;
    std::uint64_t m_shownRevision = 0;
    bool m_drawn = false;
    std::optional<double> m_readSeconds;
    SaveAsker m_ask;

    QVBoxLayout* m_boxesLayout = nullptr;
    QHash<QString, QCheckBox*> m_boxes;
    QStringList m_boxOrder;
    QHash<QString, bool> m_chosen; // by id, kept while a box is away
    QCheckBox* m_faraday = nullptr;
    QCheckBox* m_characteristic = nullptr;
    QDoubleSpinBox* m_time = nullptr;
    QCheckBox* m_follow = nullptr;
    // The unit of the time box, kept while a time chosen is shown.
    double m_boxUnitSeconds = 1.0; // s per unit
    QString m_boxUnitSymbol = QStringLiteral("s");
    QLabel* m_readout = nullptr;
    QLabel* m_events = nullptr;
    QPushButton* m_exportMeasures = nullptr;
    QPushButton* m_exportImage = nullptr;
    QPushButton* m_close = nullptr;
    QGraphicsView* m_view = nullptr;
    QWidget* m_panel = nullptr;
    QFont m_designFont;
    double m_zoom = 1.0;
};

} // namespace Ionaria::ui

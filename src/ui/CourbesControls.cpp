// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of the Courbes window: made and connected here, so that
// CourbesWindow.cpp keeps what they do.
#include "ui/CourbesWindow.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGraphicsView>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace Ionaria::ui {

// The panel on the left: the quantities' boxes, the options, the reading
// and the buttons.
QWidget* CourbesWindow::createPanel() {
    auto* panel = new QVBoxLayout;
    auto* grandeurs = new QGroupBox(QStringLiteral("Grandeurs"), this);
    grandeurs->setAccessibleName(QStringLiteral("Grandeurs tracées"));
    m_boxesLayout = new QVBoxLayout(grandeurs);
    // The electrolysis's twenty quantities, the law and the characteristic
    // fit the height the window opens at.
    m_boxesLayout->setSpacing(2);
    panel->addWidget(grandeurs);

    m_faraday = new QCheckBox(QStringLiteral("&Loi de Faraday"), this);
    m_faraday->setAccessibleName(QStringLiteral("Loi de Faraday"));
    m_faraday->setAccessibleDescription(
        QStringLiteral("Ajoute à chaque masse celle que prédit la loi de Faraday à partir du "
                       "courant mesuré"));
    m_faraday->setToolTip(m_faraday->accessibleDescription());
    panel->addWidget(m_faraday);

    m_characteristic = new QCheckBox(QStringLiteral("&Caractéristique I = f(U)"), this);
    m_characteristic->setAccessibleName(QStringLiteral("Caractéristique I = f(U)"));
    m_characteristic->setAccessibleDescription(
        QStringLiteral("Ajoute sous les courbes l'intensité selon la tension du générateur, de 0 "
                       "à 10 V, pour l'état présent de l'électrolyseur, avec son seuil"));
    m_characteristic->setToolTip(m_characteristic->accessibleDescription());
    panel->addWidget(m_characteristic);

    auto* timeLabel = new QLabel(QStringLiteral("&Temps de lecture :"), this);
    m_time = new QDoubleSpinBox(this);
    m_time->setAccessibleName(QStringLiteral("Temps de lecture"));
    m_time->setKeyboardTracking(false);
    m_time->setLocale(QLocale(QLocale::French, QLocale::France));
    timeLabel->setBuddy(m_time);
    panel->addWidget(timeLabel);
    panel->addWidget(m_time);
    m_follow = new QCheckBox(QStringLiteral("&Suivre la mesure"), this);
    m_follow->setChecked(true);
    m_follow->setAccessibleName(QStringLiteral("Suivre la mesure"));
    m_follow->setAccessibleDescription(
        QStringLiteral("Coché, la lecture suit la dernière mesure ; un temps tapé la fixe"));
    m_follow->setToolTip(m_follow->accessibleDescription());
    panel->addWidget(m_follow);

    m_readout = new QLabel(this);
    m_readout->setAccessibleName(QStringLiteral("Valeurs à l'instant choisi"));
    m_readout->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_readout->setWordWrap(true);
    panel->addWidget(m_readout);

    m_events = new QLabel(this);
    m_events->setAccessibleName(QStringLiteral("Changements de réaction"));
    m_events->setWordWrap(true);
    panel->addWidget(m_events);
    panel->addStretch(1);

    m_exportMeasures = new QPushButton(QStringLiteral("Exporter les &mesures…"), this);
    m_exportMeasures->setAccessibleName(QStringLiteral("Exporter les mesures"));
    m_exportImage = new QPushButton(QStringLiteral("Exporter l'&image…"), this);
    m_exportImage->setAccessibleName(QStringLiteral("Exporter l'image"));
    m_close = new QPushButton(QStringLiteral("&Fermer"), this);
    m_close->setAccessibleName(QStringLiteral("Fermer la fenêtre Courbes"));
    for (QPushButton* button : {m_exportMeasures, m_exportImage, m_close}) {
        panel->addWidget(button);
    }

    auto* panelWidget = new QWidget(this);
    panelWidget->setLayout(panel);
    panelWidget->setFixedWidth(panelWidth);
    m_panel = panelWidget;
    return panelWidget;
}

QGraphicsView* CourbesWindow::createView() {
    m_view = new QGraphicsView(&m_chart.scene(), this);
    m_view->setAccessibleName(QStringLiteral("Courbes des mesures"));
    m_view->setAccessibleDescription(QStringLiteral(
        "Le pointeur ou les flèches gauche et droite choisissent le temps de lecture"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setFocusPolicy(Qt::StrongFocus);
    m_view->viewport()->setMouseTracking(true);
    m_view->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);
    return m_view;
}

void CourbesWindow::connectControls() {
    connect(m_faraday, &QCheckBox::toggled, this, &CourbesWindow::choicesChanged);
    connect(m_characteristic, &QCheckBox::toggled, this, &CourbesWindow::choicesChanged);
    // A time typed is read on Enter, even the one already shown, in the unit
    // the box shows.
    connect(m_time, &QDoubleSpinBox::editingFinished, this,
            [this] { readAt(m_time->value() * m_boxUnitSeconds); });
    connect(m_time, &QDoubleSpinBox::valueChanged, this,
            [this](double value) { readAt(value * m_boxUnitSeconds); });
    connect(m_follow, &QCheckBox::toggled, this, [this](bool follow) {
        if (follow) {
            m_readSeconds.reset();
            m_chart.setCursor(std::nullopt);
            updateTimeBox();
            updateReadout();
        }
    });
    connect(m_exportMeasures, &QPushButton::clicked, this, &CourbesWindow::exportMeasuresClicked);
    connect(m_exportImage, &QPushButton::clicked, this, &CourbesWindow::exportImageClicked);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
}

} // namespace Ionaria::ui

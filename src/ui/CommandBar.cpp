// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CommandBar.h"

#include "ui/HintLine.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowLayout.h"
#include "ui/Zoom.h"

#include <QFrame>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <array>

namespace Ionaria::ui {

namespace {

using namespace mainLayout;

struct Command {
    QPushButton* MainWindow::*button;
    const char* name;
    const char* caption; // UTF-8, & before the access key
    const char* hint;    // UTF-8
    void (MainWindow::*handler)();
};

// In the frame under the tabs, side by side.
const std::array<Command, 2> frameCommands{{
    {&MainWindow::Command3, "Command3", "Retour à l'état initial", "Retrouver l'état initial",
     &MainWindow::Command3_Click},
    {&MainWindow::Command5, "Command5", "Pause / Marche", "Arrêter ou lancer l'animation",
     &MainWindow::Command5_Click},
}};

// Along the bottom, from left to right.
const std::array<Command, 10> rowCommands{{
    {&MainWindow::Command2, "Command2", "&Ouvrir", "Pour retrouver une situation enregistrée",
     &MainWindow::Command2_Click},
    {&MainWindow::Command11, "Command11", "&Enregistrer",
     "Pour conserver la configuration en cours", &MainWindow::Command11_Click},
    {&MainWindow::Command10, "Command10", "&Imprimer",
     "Pour configurer l'imprimante et imprimer l'image", &MainWindow::Command10_Click},
    {&MainWindow::Command4, "Command4", "Co&pier",
     "Copier pour placer l'image dans le presse- papiers puis coller depuis Word, Paint...",
     &MainWindow::Command4_Click},
    {&MainWindow::Command6, "Command6", "É&tat du système", "Afficher l'état du système",
     &MainWindow::Command6_Click},
    {&MainWindow::Command12, "Command12", "Co&urbes",
     "Tracer les mesures au cours du temps et les exporter", &MainWindow::Command12_Click},
    {&MainWindow::btexo, "btexo", "E&xercices",
     "Ouvrir un énoncé, enregistrer le texte, obtenir la correction, imprimer ou fermer.",
     &MainWindow::btexo_Click},
    {&MainWindow::Command8, "Command8", "&Calculatrice", "Machine à calculer",
     &MainWindow::Command8_Click},
    {&MainWindow::Command7, "Command7", "&Aide",
     "Si vous rencontrez une difficulté avec cette application", &MainWindow::Command7_Click},
    {&MainWindow::Command1, "Command1", "&Fermer",
     "Pour retrouver le module principal et quitter cette application",
     &MainWindow::Command1_Click},
}};

QPushButton* makeButton(MainWindow& window, HintLine& hints, const Command& c) {
    const QString hint = QString::fromUtf8(c.hint);
    auto* button = new QPushButton(QString::fromUtf8(c.caption), &window);
    button->setObjectName(QString::fromLatin1(c.name));
    hints.setHint(button, hint);
    button->setToolTip(hint);
    button->setAccessibleDescription(hint);
    QObject::connect(button, &QPushButton::clicked, &window, c.handler);
    window.*c.button = button;
    return button;
}

// The row spans the window; each button gets its caption's width and an
// equal share of what is left.
void layOutRow(const MainWindow& window) {
    std::array<QPushButton*, rowCommands.size()> row{};
    std::transform(rowCommands.begin(), rowCommands.end(), row.begin(),
                   [&window](const Command& c) { return window.*c.button; });
    const int available =
        MainWindow::designWidth - 2 * margin - buttonSpacing * static_cast<int>(row.size() - 1);
    int natural = 0;
    for (QPushButton* b : row) {
        natural += b->sizeHint().width();
    }
    // A row too long at the style's widest takes the captions' own widths.
    const bool tight = natural > available;
    const auto width = [tight](QPushButton* b) {
        if (!tight) {
            return b->sizeHint().width();
        }
        return b->fontMetrics().horizontalAdvance(QString(b->text()).remove(QLatin1Char('&'))) +
               2 * buttonSpacing;
    };
    if (tight) {
        natural = 0;
        for (QPushButton* b : row) {
            natural += width(b);
        }
    }
    const int extra = std::max(0, available - natural) / static_cast<int>(row.size());
    int x = margin;
    for (QPushButton* b : row) {
        const int w = b == row.back() ? MainWindow::designWidth - margin - x : width(b) + extra;
        Zoom::setGeometry(b, QRect(x, buttonsTop, w, buttonHeight));
        x += w + buttonSpacing;
    }
}

} // namespace

void createCommandBar(MainWindow& window, HintLine& hints) {
    window.Frame1 = new QFrame(&window);
    window.Frame1->setObjectName(QStringLiteral("Frame1"));
    Zoom::setGeometry(window.Frame1, frame1Rect);
    QPushButton* reset = makeButton(window, hints, frameCommands[0]);
    QPushButton* pause = makeButton(window, hints, frameCommands[1]);
    const int half = (frame1Rect.width() - buttonSpacing) / 2;
    reset->setParent(window.Frame1);
    pause->setParent(window.Frame1);
    Zoom::setGeometry(reset, QRect(0, 0, half, frame1Rect.height()));
    Zoom::setGeometry(pause, QRect(half + buttonSpacing, 0,
                                   frame1Rect.width() - half - buttonSpacing, frame1Rect.height()));
    pause->setIcon(window.style()->standardIcon(QStyle::SP_MediaPlay));

    for (const Command& c : rowCommands) {
        makeButton(window, hints, c);
    }
    layOutRow(window);
}

} // namespace Ionaria::ui

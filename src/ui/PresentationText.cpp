// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PresentationText.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace Ionaria::ui {

namespace {

enum class Look { Title, Plain, Emphasis, Aside };

struct Piece {
    Look look;
    const char* text;
};

// The sixteen pieces of the presentation, in order; "\n" is a line break.
constexpr Piece pieces[] = {
    {Look::Title, "Ionaria\n"},
    {Look::Plain, "\nCe simulateur permet d'illustrer le fonctionnement d'une pile et d'un "
                  "électrolyseur à l'échelle "},
    {Look::Emphasis, "microscopique ou macroscopique "},
    {Look::Plain, "(onglet Animation).\n\nLes paramètres modifiables sont :\n"},
    {Look::Plain, "   - la nature et la concentration des solutions,\n"
                  "   - la nature et la masse des électrodes,\n"
                  "   - les caractéristiques du générateur.\n\n"},
    {Look::Plain, "Vous pouvez connaître à chaque instant l'état du système."},
    {Look::Plain, "\n\n"},
    {Look::Plain, "Les images obtenues peuvent être imprimées ou placées dans le presse-papiers "},
    {Look::Aside, "(bouton Copier) pour les utiliser dans une autre application.\n\n"},
    {Look::Plain, "Vous pouvez obtenir l'énoncé d'un exercice "},
    {Look::Plain, "dans cette fenêtre en appuyant sur l'onglet "},
    {Look::Emphasis, "Exercices"},
    {Look::Plain, ".\n\n"},
    {Look::Plain, "Pour vous familiariser avec ce simulateur, choisissez d'abord l'activité "},
    {Look::Emphasis, "Prise en main "},
    {Look::Plain, "dans le menu Exercices."},
};

QTextCharFormat format(Look look) {
    QFont font(QStringLiteral("Liberation Sans"));
    // Points, so that the text grows with the window's zoom: 18 and 12 px
    // at its design size.
    font.setPointSizeF(look == Look::Title ? 13.5 : 9.0);
    QTextCharFormat f;
    f.setFont(font);
    f.setForeground(QColor(0, 0, 0));
    switch (look) {
    case Look::Title:
        f.setFontWeight(QFont::Bold);
        f.setForeground(QColor(0, 0, 200));
        break;
    case Look::Emphasis:
        f.setFontWeight(QFont::Bold);
        f.setForeground(QColor(0, 0, 200));
        break;
    case Look::Aside:
        f.setFontItalic(true);
        break;
    case Look::Plain:
        break;
    }
    return f;
}

} // namespace

void writePresentation(QTextEdit& supertext) {
    supertext.clear();
    QTextCursor cursor(supertext.document());
    for (const Piece& piece : pieces) {
        cursor.insertText(QString::fromUtf8(piece.text), format(piece.look));
    }
    supertext.moveCursor(QTextCursor::Start);
}

} // namespace Ionaria::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/Keypad.h"

#include <QDialog>
#include <QString>

#include <string_view>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace Ionaria::calc {

// "Machine à calculer": the scientific calculator's window. It places the
// keys of the keypad, hands them and the characters typed in the display to
// it, beeps when it says so, and shows its display.
class Machine : public QDialog {
    Q_OBJECT

public:
    explicit Machine(QWidget* parent = nullptr);
    ~Machine() override;

    // Opens the calculator modally on parent; returns once it is closed.
    static void ouvrir(QWidget* parent);
    // Closes the calculator if it is open, as the main window does when it is
    // unloaded. Does nothing otherwise.
    static void closeIfOpen();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* addKey(const KeyInfo& key, const QRect& geometry);
    void createKeys();
    void createOptions();

    // Shows the text at the end of the display; a message is shown whole,
    // in a smaller type when it needs it, and also as the display's tooltip.
    void afficher(const QString& texte, bool message = false);
    // Shows what the keypad's display holds.
    void montrer();
    void press(const KeyInfo& key);
    void pressNamed(std::string_view name);

    QLineEdit* m_z1 = nullptr;
    QRadioButton* m_radians = nullptr;
    QRadioButton* m_scientifique = nullptr;

    // The memory register, kept for the whole run across openings.
    static double memoire;
    static Machine* s_ouverte;
    Keypad m_keypad{memoire};
};

} // namespace Ionaria::calc

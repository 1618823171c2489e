// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace Ionaria::calc {

// "Machine à calculer": the scientific calculator. The keys build the
// expression as text, "EXE" hands it to the evaluator and shows the result or
// the message of its error code.
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
    QPushButton* addKey(const char* name, const QString& caption, const QString& tooltip,
                        const QRect& geometry, std::function<void()> action);
    void createKeys();
    void createDigitKeys();
    void createFunctionKeys();
    void createMemoryAndOperatorKeys();
    void createOptions();

    void ajoute(const QString& texte);
    void produitImplicite();
    void regleReponse();
    // Shows the text at the end of the display; a message is shown whole,
    // in a smaller type when it needs it, and also as the display's tooltip.
    void afficher(const QString& texte, bool message = false);
    bool afficheurVide() const;
    bool scientifique() const;

    void fonction(const QString& texte);
    void ANS_Click();
    void EFFACE_Click();
    void RAZ_Click();
    void EXE_Click();
    void plus_Click();
    void moins_Click();
    void multip_Click();
    void div_Click();
    void puissance_Click();
    void btcarre_Click();
    void memoireAjoute(double signe);
    void Command3_Click();
    void Command4_Click();
    void C_Click();

    QLineEdit* m_z1 = nullptr;
    QRadioButton* m_radians = nullptr;
    QRadioButton* m_scientifique = nullptr;

    QString m_expression;
    QString m_reponse;
    std::int16_t m_codeErreur = 0;
    // The last "EXE" showed "Dépassement de capacité": there is no answer to
    // reuse, although the evaluation itself raised no error code.
    bool m_depassement = false;

    // The memory register, kept for the whole run across openings.
    static double memoire;
    static Machine* s_ouverte;
};

} // namespace Ionaria::calc

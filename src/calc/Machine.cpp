// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/Machine.h"

#include "calc/ResultDisplay.h"
#include "look/DesignPalette.h"
#include "look/Faces.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

namespace Ionaria::calc {

double Machine::memoire = 0.0;
Machine* Machine::s_ouverte = nullptr;

namespace {

constexpr int kLargeur = 302;
constexpr int kHauteur = 431;
constexpr int kPoliceAffichage = 15; // px
constexpr int kPoliceMessageMin = 8; // px
constexpr int kMargeTexte = 4;       // px, each side of the display's text

QString depuis(std::string_view texte) {
    return QString::fromUtf8(texte.data(), static_cast<qsizetype>(texte.size()));
}

// Key grid of the upper rows: six keys across.
QRect cleHaute(int colonne, int ligne) {
    return {4 + 49 * colonne, 46 + 32 * ligne, 46, 28};
}

// Digit pad, inside the frame painted at (81, 289)-(206, 421).
QRect cleChiffre(int colonne, int ligne) {
    return {86 + 39 * colonne, 294 + 31 * ligne, 36, 28};
}

QRect clePrefixe(int colonne, int ligne) {
    return {4 + 38 * colonne, 294 + 31 * ligne, 36, 28};
}

QRect cleOperateur(int colonne, int ligne) {
    return {210 + 44 * colonne, 294 + 31 * ligne, 42, 28};
}

// Rounds halves to the even neighbour, as every conversion to a whole number.
int arrondiPair(double valeur) {
    return static_cast<int>(std::nearbyint(valeur));
}

// The decimal point as a pupil types it: "." or the French ",", the keypad's
// decimal key whatever its layout writes (",", "." or nothing), or the decimal
// point of the user's language ("٫" in Arabic).
bool pointDecimal(const QKeyEvent& touche) {
    if (touche.modifiers().testFlag(Qt::KeypadModifier) &&
        (touche.key() == Qt::Key_Period || touche.key() == Qt::Key_Comma)) {
        return true;
    }
    const QString texte = touche.text();
    return texte == QLatin1String(".") || texte == QLatin1String(",") ||
           (!texte.isEmpty() && texte == QLocale().decimalPoint());
}

} // namespace

Machine::Machine(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Machine"));
    setWindowTitle(QStringLiteral("Machine à calculer"));
    setModal(true);
    setFixedSize(kLargeur, kHauteur);
    look::useDesignPalette(this);
    // The keys' symbols (eˣ, xʸ, √, ←) and the messages in a face that has
    // them all, whatever the platform's own.
    const QFont police = look::textFont(11);
    setFont(police);

    m_z1 = new QLineEdit(this);
    m_z1->setObjectName(QStringLiteral("z1"));
    m_z1->setGeometry(6, 8, 290, 32);
    QFont policeAffichage = police;
    policeAffichage.setPixelSize(kPoliceAffichage);
    m_z1->setFont(policeAffichage);
    m_z1->setContextMenuPolicy(Qt::NoContextMenu);
    m_z1->setDragEnabled(false);
    m_z1->setAcceptDrops(false);
    m_z1->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_z1->installEventFilter(this);

    createOptions();
    createKeys();

    montrer();
    s_ouverte = this;
}

Machine::~Machine() {
    if (s_ouverte == this) {
        s_ouverte = nullptr;
    }
}

void Machine::ouvrir(QWidget* parent) {
    Machine machine(parent);
    machine.exec();
}

void Machine::closeIfOpen() {
    if (s_ouverte != nullptr) {
        s_ouverte->reject();
    }
}

void Machine::createOptions() {
    auto* angles = new QGroupBox(QStringLiteral("Angles"), this);
    angles->setGeometry(6, 180, 142, 70);
    auto* degres = new QRadioButton(QStringLiteral("Degrés"), angles);
    degres->setObjectName(QStringLiteral("angle0"));
    degres->setGeometry(10, 18, 120, 22);
    m_radians = new QRadioButton(QStringLiteral("Radians"), angles);
    m_radians->setObjectName(QStringLiteral("angle1"));
    m_radians->setGeometry(10, 42, 120, 22);
    degres->setChecked(true);

    auto* affichage = new QGroupBox(QStringLiteral("Affichage"), this);
    affichage->setGeometry(154, 180, 142, 70);
    m_scientifique = new QRadioButton(QStringLiteral("Scientifique"), affichage);
    m_scientifique->setObjectName(QStringLiteral("C0"));
    m_scientifique->setGeometry(10, 18, 120, 22);
    auto* standard = new QRadioButton(QStringLiteral("Standard"), affichage);
    standard->setObjectName(QStringLiteral("C1"));
    standard->setGeometry(10, 42, 120, 22);
    standard->setChecked(true);

    for (QRadioButton* option : {degres, m_radians, m_scientifique, standard}) {
        option->setFocusPolicy(Qt::NoFocus);
        connect(option, &QRadioButton::clicked, this, [this] {
            m_z1->setFocus();
            m_z1->end(false);
        });
    }
    connect(m_radians, &QRadioButton::toggled, this,
            [this](bool radians) { m_keypad.setRadians(radians); });
    // Either display choice shows the answer on show again in its form.
    for (QRadioButton* choix : {m_scientifique, standard}) {
        connect(choix, &QRadioButton::clicked, this, [this] {
            m_keypad.setScientifique(m_scientifique->isChecked());
            montrer();
        });
    }
    // The options on a light panel of their own: the gradient darkens to the
    // right, where dark text would no longer read.
    for (QGroupBox* groupe : {angles, affichage}) {
        groupe->setAutoFillBackground(true);
    }
}

QPushButton* Machine::addKey(const KeyInfo& key, const QRect& geometry) {
    auto* cle = new QPushButton(depuis(key.caption), this);
    cle->setObjectName(depuis(key.name));
    cle->setGeometry(geometry);
    cle->setFocusPolicy(Qt::NoFocus);
    cle->setAutoDefault(false);
    if (!key.tooltip.empty()) {
        cle->setToolTip(depuis(key.tooltip));
    }
    connect(cle, &QPushButton::clicked, this, [this, &key] {
        press(key);
        m_z1->setFocus();
        m_z1->end(false);
    });
    return cle;
}

// Each key where the window has always had it: the upper rows of functions,
// powers, parentheses, the last answer and the memory; the unit prefixes, the
// digit pad and the operators below the options.
void Machine::createKeys() {
    const std::string_view prefixes[] = {"pico", "nano", "micro", "mil",
                                         "kilo", "mega", "giga",  "tera"};
    const std::string_view hautes[] = {
        "bsin", "Bcos", "Btan",     "invsin",   "invcos",   "Btoncommande3", "Bln",     "Blog",
        "Bexp", "B10x", "racine",   "pi",       "Command5", "puissance",     "btcarre", "Bpo",
        "bpf",  "ANS",  "Command1", "Command2", "Command3", "Command4",      "EFFACE",  "RAZ"};
    const std::string_view operateurs[] = {"div", "multip", "plus", "moins"};
    auto position = [](std::span<const std::string_view> noms, std::string_view nom) {
        const auto trouve = std::find(noms.begin(), noms.end(), nom);
        return trouve == noms.end() ? -1 : static_cast<int>(trouve - noms.begin());
    };
    QFont petite = font();
    petite.setPixelSize(9);
    for (const KeyInfo& key : keypadKeys()) {
        QRect place;
        if (key.name.size() == 2 && key.name[0] == 'B' && key.name[1] >= '0' &&
            key.name[1] <= '9') {
            const int chiffre = key.name[1] - '0';
            place = chiffre == 0 ? cleChiffre(0, 3)
                                 : cleChiffre((chiffre - 1) % 3, 2 - (chiffre - 1) / 3);
        } else if (key.name == "Bpoint") {
            place = cleChiffre(1, 3);
        } else if (key.name == "BtoEXP") {
            place = cleChiffre(2, 3);
        } else if (const int i = position(prefixes, key.name); i >= 0) {
            place = clePrefixe(i % 2, i / 2);
        } else if (const int j = position(hautes, key.name); j >= 0) {
            place = cleHaute(j % 6, j / 6);
        } else if (const int k = position(operateurs, key.name); k >= 0) {
            place = cleOperateur(k % 2, k / 2);
        } else {
            place = {210, 356, 86, 59}; // "EXE", two rows high
        }
        QPushButton* cle = addKey(key, place);
        if (key.name == "invsin" || key.name == "invcos" || key.name == "Btoncommande3") {
            cle->setFont(petite);
        }
    }
}

void Machine::afficher(const QString& texte, bool message) {
    QFont police = m_z1->font();
    police.setPixelSize(kPoliceAffichage);
    if (message) {
        // The room for text inside the frame and the margins of the box.
        const int place = m_z1->contentsRect().width() - 2 * kMargeTexte;
        while (police.pixelSize() > kPoliceMessageMin &&
               QFontMetrics(police).horizontalAdvance(texte) > place) {
            police.setPixelSize(police.pixelSize() - 1);
        }
    }
    m_z1->setFont(police);
    m_z1->setToolTip(message ? texte : QString());
    m_z1->setText(texte);
    m_z1->end(false);
    m_z1->setFocus();
}

void Machine::montrer() {
    afficher(depuis(m_keypad.display()), m_keypad.displayIsMessage());
}

void Machine::press(const KeyInfo& key) {
    if (key.action == KeyAction::Execute) {
        m_z1->setText(depuis(kPatience));
        m_z1->repaint();
    }
    if (m_keypad.press(key)) {
        QApplication::beep();
    }
    montrer();
}

void Machine::pressNamed(std::string_view name) {
    for (const KeyInfo& key : keypadKeys()) {
        if (key.name == name) {
            press(key);
        }
    }
}

bool Machine::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_z1 || event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* touche = static_cast<QKeyEvent*>(event);
    if (touche->key() == Qt::Key_Escape) {
        return false;
    }
    if (touche->key() == Qt::Key_Backspace) {
        pressNamed("EFFACE");
        return true;
    }
    if (touche->key() == Qt::Key_Return || touche->key() == Qt::Key_Enter) {
        pressNamed("EXE");
        return true;
    }
    const QString texte = touche->text();
    const char32_t caractere = pointDecimal(*touche) ? U'.'
                               : texte.size() == 1   ? texte.front().unicode()
                                                     : U'\0';
    if (caractere != U'\0') {
        if (m_keypad.type(caractere)) {
            QApplication::beep();
        }
        montrer();
    }
    return true;
}

void Machine::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter peintre(this);
    for (int x = 0; x <= 301; ++x) {
        const int v = arrondiPair(200.0 - x / 2.0);
        peintre.setPen(QColor(v, v + 50, v + 50));
        peintre.drawLine(x, 0, x, 430);
    }
    // drawRect covers width + 1 pixels: these are the outlines of the boxes
    // whose corners are (1, 1)-(299, 428), (82, 290)-(206, 421) and
    // (81, 289)-(205, 420).
    peintre.setPen(Qt::white);
    peintre.drawRect(1, 1, 298, 427);
    peintre.setPen(Qt::black);
    peintre.drawLine(1, 1, 299, 1);
    peintre.drawLine(1, 1, 1, 427);
    peintre.setPen(Qt::white);
    peintre.drawRect(82, 290, 124, 131);
    peintre.setPen(QColor(0, 128, 128));
    peintre.drawRect(81, 289, 124, 131);
}

} // namespace Ionaria::calc

// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/Machine.h"

#include "calc/Evaluator.h"
#include "calc/NumberText.h"
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

#include <cmath>
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

    m_expression.clear();
    afficher(m_expression);
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
    connect(m_scientifique, &QRadioButton::clicked, this, [this] { C_Click(); });
    connect(standard, &QRadioButton::clicked, this, [this] { C_Click(); });
    // The options on a light panel of their own: the gradient darkens to the
    // right, where dark text would no longer read.
    for (QGroupBox* groupe : {angles, affichage}) {
        groupe->setAutoFillBackground(true);
    }
}

QPushButton* Machine::addKey(const char* name, const QString& caption, const QString& tooltip,
                             const QRect& geometry, std::function<void()> action) {
    auto* cle = new QPushButton(caption, this);
    cle->setObjectName(QString::fromLatin1(name));
    cle->setGeometry(geometry);
    cle->setFocusPolicy(Qt::NoFocus);
    cle->setAutoDefault(false);
    if (!tooltip.isEmpty()) {
        cle->setToolTip(tooltip);
    }
    connect(cle, &QPushButton::clicked, this, [this, action = std::move(action)] {
        action();
        m_z1->setFocus();
        m_z1->end(false);
    });
    return cle;
}

void Machine::createKeys() {
    createDigitKeys();
    createFunctionKeys();
    createMemoryAndOperatorKeys();
}

// The digit pad and the prefixes of the units beside it.
void Machine::createDigitKeys() {
    const QString aucun;
    const char* const chiffres[] = {"B0", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "B9"};
    for (int chiffre = 0; chiffre <= 9; ++chiffre) {
        const QString texte = QString::number(chiffre);
        const QRect place =
            chiffre == 0 ? cleChiffre(0, 3) : cleChiffre((chiffre - 1) % 3, 2 - (chiffre - 1) / 3);
        addKey(chiffres[chiffre], texte, aucun, place, [this, texte] { ajoute(texte); });
    }
    addKey("Bpoint", QStringLiteral("."), aucun, cleChiffre(1, 3), [this] { ajoute("."); });
    addKey("BtoEXP", QStringLiteral("EXP"), aucun, cleChiffre(2, 3), [this] { ajoute("E"); });

    struct Prefixe {
        const char* nom;
        const char* legende;
        const char* bulle;
        const char* puissance;
    };
    const Prefixe prefixes[] = {
        {"pico", "p", "pico", "E-12"}, {"nano", "n", "nano", "E-9"}, {"micro", "µ", "micro", "E-6"},
        {"mil", "m", "milli", "E-3"},  {"kilo", "k", "kilo", "E+3"}, {"mega", "M", "", "E+6"},
        {"giga", "G", "Giga", "E+9"},  {"tera", "T", "", "E+12"},
    };
    for (int i = 0; i < 8; ++i) {
        const Prefixe& p = prefixes[i];
        const QString puissance = QString::fromLatin1(p.puissance);
        addKey(p.nom, QString::fromUtf8(p.legende), QString::fromUtf8(p.bulle),
               clePrefixe(i % 2, i / 2), [this, puissance] { ajoute(puissance); });
    }
}

// The upper rows: functions, powers, parentheses and the last answer.
void Machine::createFunctionKeys() {
    const QString aucun;
    struct Fonction {
        const char* nom;
        const char* legende;
        const char* bulle;
        const char* texte;
    };
    const Fonction fonctions[] = {
        {"bsin", "&SIN", "Sinus", "sin "},
        {"Bcos", "&COS", "Cosinus", "cos "},
        {"Btan", "&TAN", "Tangente", "tan "},
        {"invsin", "INV S&IN", "Inverse sinus", "invSIN "},
        {"invcos", "INV C&OS", "Inverse cosinus", "invCOS "},
        {"Btoncommande3", "INV T&AN", "Inverse tangente", "invTAN "},
        {"Bln", "l&n", "", "ln "},
        {"Blog", "&Log", "", "log "},
        {"Bexp", "eˣ", "", "exp "},
        {"B10x", "10ˣ", "", "10 ^ "},
        {"racine", "√", "Racine carré", "SQR "},
        {"Command5", "1/x", "Inverse", "1 / "},
    };
    QFont petite = font();
    petite.setPixelSize(9);
    for (int i = 0; i < 12; ++i) {
        const Fonction& f = fonctions[i];
        const QString texte = QString::fromLatin1(f.texte);
        const int colonne = i < 11 ? i % 6 : 0;
        const int ligne = i < 11 ? i / 6 : 2;
        QPushButton* cle = addKey(f.nom, QString::fromUtf8(f.legende), QString::fromUtf8(f.bulle),
                                  cleHaute(colonne, ligne), [this, texte] { fonction(texte); });
        if (i >= 3 && i <= 5) {
            cle->setFont(petite);
        }
    }
    addKey("pi", QStringLiteral("π"), aucun, cleHaute(5, 1),
           [this] { fonction(depuis(formatNumber(4.0 * std::atan(1.0)).value_or(""))); });
    addKey("puissance", QStringLiteral("xʸ"), aucun, cleHaute(1, 2), [this] { puissance_Click(); });
    addKey("btcarre", QStringLiteral("x²"), aucun, cleHaute(2, 2), [this] { btcarre_Click(); });
    addKey("Bpo", QStringLiteral("("), aucun, cleHaute(3, 2), [this] { fonction("("); });
    addKey("bpf", QStringLiteral(")"), aucun, cleHaute(4, 2), [this] { ajoute(")"); });
    addKey("ANS", QStringLiteral("ANS"), QStringLiteral("Dernière réponse"), cleHaute(5, 2),
           [this] { ANS_Click(); });
}

void Machine::createMemoryAndOperatorKeys() {
    const QString aucun;
    addKey("Command1", QStringLiteral("M+"), QStringLiteral("Ajouter à la méoire"), cleHaute(0, 3),
           [this] { memoireAjoute(1.0); });
    addKey("Command2", QStringLiteral("M-"), QStringLiteral("Soustraire à la mémoire"),
           cleHaute(1, 3), [this] { memoireAjoute(-1.0); });
    addKey("Command3", QStringLiteral("RM"), QStringLiteral("Rappel mémoire"), cleHaute(2, 3),
           [this] { Command3_Click(); });
    addKey("Command4", QStringLiteral("CM"), QStringLiteral("Effacer la mémoire"), cleHaute(3, 3),
           [this] { Command4_Click(); });
    addKey("EFFACE", QStringLiteral("←"), QStringLiteral("Effacer dernier caractère"),
           cleHaute(4, 3), [this] { EFFACE_Click(); });
    addKey("RAZ", QStringLiteral("AC"), QStringLiteral("Tout effacer"), cleHaute(5, 3),
           [this] { RAZ_Click(); });

    addKey("div", QStringLiteral("÷"), aucun, cleOperateur(0, 0), [this] { div_Click(); });
    addKey("multip", QStringLiteral("x"), aucun, cleOperateur(1, 0), [this] { multip_Click(); });
    addKey("plus", QStringLiteral("+"), aucun, cleOperateur(0, 1), [this] { plus_Click(); });
    addKey("moins", QStringLiteral("-"), aucun, cleOperateur(1, 1), [this] { moins_Click(); });
    addKey("EXE", QStringLiteral("EXE"), QStringLiteral("Calculer"), {210, 356, 86, 59},
           [this] { EXE_Click(); });
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

bool Machine::afficheurVide() const {
    return m_z1->text().trimmed().isEmpty();
}

bool Machine::scientifique() const {
    return m_scientifique->isChecked();
}

void Machine::ajoute(const QString& texte) {
    m_expression += texte;
    afficher(m_expression);
}

void Machine::produitImplicite() {
    if (!m_expression.isEmpty() && !m_expression.endsWith(QLatin1Char('(')) &&
        !m_expression.endsWith(QLatin1Char('-')) && !m_expression.endsWith(QLatin1Char(' '))) {
        m_expression += QStringLiteral(" * ");
    }
}

void Machine::regleReponse() {
    if (m_expression.trimmed().isEmpty()) {
        ANS_Click();
    }
}

void Machine::fonction(const QString& texte) {
    produitImplicite();
    ajoute(texte);
}

void Machine::ANS_Click() {
    if (m_codeErreur == kSansErreur && !m_depassement) {
        m_expression += m_reponse.trimmed();
    }
    afficher(m_expression);
}

void Machine::EFFACE_Click() {
    if (m_expression.isEmpty()) {
        return;
    }
    const qsizetype dernier = m_expression.size() - 1;
    if (m_expression.at(dernier) != QLatin1Char(' ')) {
        m_expression.chop(1);
    } else if (dernier >= 1 && QStringLiteral("*+/-^").contains(m_expression.at(dernier - 1))) {
        m_expression.chop(3);
    } else {
        qsizetype coupure = dernier - 1;
        while (coupure >= 0 && m_expression.at(coupure) != QLatin1Char(' ') &&
               m_expression.at(coupure) != QLatin1Char('(')) {
            --coupure;
        }
        m_expression.truncate(coupure + 1);
    }
    afficher(m_expression);
}

void Machine::RAZ_Click() {
    m_expression.clear();
    afficher(m_expression);
}

void Machine::EXE_Click() {
    m_codeErreur = kSansErreur;
    m_depassement = false;
    std::string copie = m_expression.toStdString();
    m_z1->setText(depuis(kPatience));
    m_z1->repaint();
    const std::int16_t angle = m_radians->isChecked() ? kRadians : std::int16_t{0};
    calcul(copie, m_codeErreur, angle, afficheurVide());
    QString texte;
    if (m_codeErreur == kSansErreur) {
        const TexteResultat resultat = texteResultat(copie, scientifique());
        texte = depuis(resultat.texte);
        if (!resultat.numerique) {
            m_depassement = true;
            QApplication::beep();
        }
        m_expression.clear();
    } else {
        texte = depuis(messageErreur(m_codeErreur));
        QApplication::beep();
    }
    afficher(texte, m_codeErreur != kSansErreur);
    m_reponse = texte;
}

void Machine::plus_Click() {
    if (afficheurVide()) {
        return;
    }
    regleReponse();
    ajoute(m_expression.endsWith(QLatin1Char('E')) ? QStringLiteral("+") : QStringLiteral(" + "));
}

void Machine::moins_Click() {
    if (m_expression.isEmpty() || m_expression.endsWith(QLatin1Char('(')) ||
        m_expression.endsWith(QLatin1Char(' ')) || m_expression.endsWith(QLatin1Char('E'))) {
        ajoute(QStringLiteral("-"));
    } else if (m_expression.endsWith(QLatin1Char('-'))) {
        ajoute(QStringLiteral(" -"));
    } else {
        ajoute(QStringLiteral(" - "));
    }
}

void Machine::multip_Click() {
    if (afficheurVide()) {
        return;
    }
    regleReponse();
    ajoute(QStringLiteral(" * "));
}

void Machine::div_Click() {
    if (afficheurVide()) {
        return;
    }
    regleReponse();
    ajoute(QStringLiteral(" / "));
}

void Machine::puissance_Click() {
    regleReponse();
    ajoute(QStringLiteral(" ^ "));
}

void Machine::btcarre_Click() {
    regleReponse();
    ajoute(QStringLiteral(" ^ 2"));
}

void Machine::memoireAjoute(double signe) {
    const ReadResult lu = readLeadingNumber(m_z1->text().toStdString());
    if (lu.status != ReadStatus::Ok) {
        return;
    }
    // A sum beyond the range of a double leaves the memory as it was.
    const double somme = memoire + signe * lu.value;
    if (std::isfinite(somme)) {
        memoire = somme;
    }
}

void Machine::Command3_Click() {
    const auto texte = scientifique() ? formatScientific(memoire) : formatNumber(memoire);
    if (texte) {
        ajoute(depuis(*texte));
    }
}

void Machine::Command4_Click() {
    memoire = 0.0;
}

void Machine::C_Click() {
    if (!m_expression.isEmpty() || m_codeErreur != kSansErreur || m_depassement ||
        m_reponse.isEmpty()) {
        return;
    }
    const ReadResult lu = readLeadingNumber(m_reponse.toStdString());
    if (lu.status != ReadStatus::Ok) {
        return;
    }
    if (const auto texte = texteNombre(lu.value, scientifique())) {
        afficher(depuis(*texte));
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
        EFFACE_Click();
        return true;
    }
    if (touche->key() == Qt::Key_Return || touche->key() == Qt::Key_Enter) {
        EXE_Click();
        return true;
    }
    if (pointDecimal(*touche)) {
        ajoute(QStringLiteral("."));
        return true;
    }
    const QString texte = touche->text();
    if (texte.size() != 1) {
        return true;
    }
    const QChar c = texte.front();
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
        ajoute(texte);
    } else if (QStringLiteral("eEdD").contains(c)) {
        ajoute(QStringLiteral("E"));
    } else if (c == QLatin1Char('(')) {
        fonction(texte);
    } else if (c == QLatin1Char(')')) {
        ajoute(texte);
    } else if (c == QLatin1Char('*') || c == QChar(0x00D7) || c == QChar(0x00B7)) { // × ·
        multip_Click();
    } else if (c == QLatin1Char('+')) {
        plus_Click();
    } else if (c == QLatin1Char('-')) {
        moins_Click();
    } else if (c == QLatin1Char('/') || c == QChar(0x00F7)) { // ÷
        div_Click();
    } else if (c == QLatin1Char('^')) {
        puissance_Click();
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

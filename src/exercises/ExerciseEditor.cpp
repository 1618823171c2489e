// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/ExerciseEditor.h"

#include "base/CarefulFile.h"
#include "config/ConfigFile.h"
#include "exercises/DescriptorWriter.h"
#include "exercises/RtfWriter.h"
#include "sim/Engine.h"
#include "sim/Handlers.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include <utility>
#include <vector>

namespace Ionaria::exercises {

namespace {

constexpr const char* rtfFilter = "Texte au format RTF (*.RTF *.rtf)";
constexpr const char* configurationFilter = "Configuration d'Ionaria (*.C14 *.c14)";
constexpr const char* saveTitle = "Enregistrer l'exercice";
constexpr const char* descriptorSuffix = ".E37";

QString toQ(const std::string& text) {
    return QString::fromStdString(text);
}

bool sameFolder(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca == cb;
}

QComboBox* configurationChoice() {
    auto* box = new QComboBox;
    box->addItem(QStringLiteral("aucune"));
    box->addItem(QString::fromUtf8(ExerciseEditor::currentConfiguration));
    box->addItem(QStringLiteral("un fichier de configuration (.C14) :"));
    return box;
}

} // namespace

// What saving writes, worked out and checked before anything is.
struct ExerciseEditor::Plan {
    struct Copy {
        QString from;
        QString to;
    };
    QString path; // the descriptor
    ExerciseDescriptor descriptor;
    std::vector<Copy> copies;
    QString configuration; // where the current configuration goes; empty: nowhere
    QStringList replaced;  // files already there that will be replaced
};

ExerciseEditor::ExerciseEditor(ExerciseEditorPrompts& prompts, sim::Handlers& handlers,
                               std::function<void(const QString&)> openExercise,
                               const QString& folder, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_handlers(handlers),
      m_openExercise(std::move(openExercise)), m_startFolder(folder), m_fichier(new QLineEdit),
      m_intitule(new QLineEdit), m_niveau(new QComboBox), m_notions(new QLineEdit),
      m_duree(new QSpinBox), m_enonce(new QLineEdit), m_correction(new QLineEdit),
      m_configEnonce(configurationChoice()), m_configEnonceFile(new QLineEdit),
      m_configCorrection(configurationChoice()), m_configCorrectionFile(new QLineEdit),
      m_createEnonce(new QPushButton), m_createCorrection(new QPushButton), m_durees(new QLineEdit),
      m_valeurs(new QTableWidget(0, 4)) {
    setObjectName(QStringLiteral("editeurExercice"));
    setWindowTitle(QString::fromUtf8(titleNew));
    setModal(true);

    const struct {
        QWidget* widget;
        const char* name;
    } names[] = {
        {m_fichier, "fichier"},
        {m_intitule, "intitule"},
        {m_niveau, "niveau"},
        {m_notions, "notions"},
        {m_duree, "duree"},
        {m_enonce, "enonce"},
        {m_correction, "correction"},
        {m_configEnonce, "configurationEnonce"},
        {m_configEnonceFile, "fichierConfigurationEnonce"},
        {m_configCorrection, "configurationCorrection"},
        {m_configCorrectionFile, "fichierConfigurationCorrection"},
        {m_durees, "durees"},
        {m_valeurs, "valeurs"},
    };
    for (const auto& [widget, name] : names) {
        widget->setObjectName(QString::fromLatin1(name));
    }
    for (int level = 0; level <= ExerciseDescriptor::maxLevel; ++level) {
        m_niveau->addItem(QString::number(level));
    }
    m_duree->setRange(0, ExerciseDescriptor::maxHourglasses);
    m_duree->setValue(1);
    m_duree->setSuffix(QStringLiteral(" sablier(s)"));
    m_configEnonceFile->setAccessibleName(
        QStringLiteral("Fichier de la configuration de l'énoncé"));
    m_configCorrectionFile->setAccessibleName(
        QStringLiteral("Fichier de la configuration de la correction"));
    m_durees->setText(QStringLiteral("600 1800 3600"));
    m_durees->setToolTip(QStringLiteral("Les durées simulées, en secondes, séparées par des "
                                        "espaces."));
    m_valeurs->setHorizontalHeaderLabels({QStringLiteral("Configuration"),
                                          QStringLiteral("Durée (s)"), QStringLiteral("Grandeur"),
                                          QStringLiteral("Valeur")});
    m_valeurs->horizontalHeader()->setStretchLastSection(true);
    m_valeurs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_valeurs->setMinimumHeight(120);
    m_valeurs->setAccessibleName(QStringLiteral("Valeurs du simulateur"));

    auto* form = new QFormLayout;
    const auto row = [form](const QString& label, QWidget* field, QLayout* line = nullptr) {
        auto* caption = new QLabel(label);
        caption->setBuddy(field);
        if (line != nullptr) {
            form->addRow(caption, line);
        } else {
            form->addRow(caption, field);
        }
    };
    const auto button = [this](const QString& text, const char* name, auto slot) {
        auto* b = new QPushButton(text);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    const auto line = [](std::initializer_list<QWidget*> widgets) {
        auto* layout = new QHBoxLayout;
        layout->setContentsMargins(0, 0, 0, 0);
        for (QWidget* w : widgets) {
            layout->addWidget(w);
        }
        return layout;
    };

    row(QStringLiteral("&Fichier de l'exercice :"), m_fichier,
        line({m_fichier,
              button(QStringLiteral("&Parcourir…"), "parcourir", [this] { chooseDescriptor(); })}));
    row(QStringLiteral("&Intitulé :"), m_intitule);
    row(QStringLiteral("Ni&veau :"), m_niveau);
    row(QStringLiteral("&Notions abordées :"), m_notions);
    row(QStringLiteral("&Durée :"), m_duree);

    m_createEnonce->setText(QStringLiteral("&Créer…"));
    m_createEnonce->setObjectName(QStringLiteral("creerEnonce"));
    m_createEnonce->setAutoDefault(false);
    connect(m_createEnonce, &QPushButton::clicked, this, [this] { createText(false); });
    m_createCorrection->setText(QStringLiteral("C&réer…"));
    m_createCorrection->setObjectName(QStringLiteral("creerCorrection"));
    m_createCorrection->setAutoDefault(false);
    connect(m_createCorrection, &QPushButton::clicked, this, [this] { createText(true); });

    row(QStringLiteral("&Texte de l'énoncé :"), m_enonce,
        line(
            {m_enonce,
             button(QStringLiteral("C&hoisir…"), "choisirEnonce", [this] { chooseText(m_enonce); }),
             m_createEnonce, button(QStringLiteral("&Modifier le texte"), "ouvrirEnonce", [this] {
                 openText(false);
             })}));
    row(QStringLiteral("Confi&guration de l'énoncé :"), m_configEnonce,
        line({m_configEnonce, m_configEnonceFile,
              button(QStringLiteral("Choisir…"), "choisirConfigurationEnonce",
                     [this] { chooseConfiguration(m_configEnonce, m_configEnonceFile); })}));
    row(QStringLiteral("C&orrection :"), m_correction,
        line({m_correction,
              button(QStringLiteral("Choi&sir…"), "choisirCorrection",
                     [this] { chooseText(m_correction); }),
              m_createCorrection,
              button(QStringLiteral("Modifier le te&xte"), "ouvrirCorrection",
                     [this] { openText(true); })}));
    row(QStringLiteral("Configuration de &la correction :"), m_configCorrection,
        line({m_configCorrection, m_configCorrectionFile,
              button(QStringLiteral("Choisir…"), "choisirConfigurationCorrection", [this] {
                  chooseConfiguration(m_configCorrection, m_configCorrectionFile);
              })}));
    row(QStringLiteral("D&urées à vérifier (s) :"), m_durees,
        line({m_durees, button(QStringLiteral("Vérifier les v&aleurs"), "verifier",
                               [this] { checkValues(); })}));

    auto* buttons = new QDialogButtonBox;
    QPushButton* saveButton =
        buttons->addButton(QStringLiteral("&Enregistrer"), QDialogButtonBox::AcceptRole);
    saveButton->setObjectName(QStringLiteral("enregistrer"));
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("annuler"));
    QPushButton* copy =
        button(QStringLiteral("Copier le ta&bleau"), "copier", [this] { copyValues(); });
    buttons->addButton(copy, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { save(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_valeurs);
    layout->addWidget(buttons);

    for (QLineEdit* field : {m_fichier, m_enonce, m_correction}) {
        connect(field, &QLineEdit::textChanged, this, &ExerciseEditor::updateFields);
    }
    for (QComboBox* box : {m_configEnonce, m_configCorrection}) {
        connect(box, &QComboBox::currentIndexChanged, this, &ExerciseEditor::updateFields);
    }
    updateFields();
    resize(720, sizeHint().height());
}

ExerciseEditor::~ExerciseEditor() = default;

QString ExerciseEditor::descriptorPath() const {
    QString path = m_fichier->text().trimmed();
    if (path.isEmpty()) {
        return {};
    }
    path = QDir(m_startFolder).absoluteFilePath(path);
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1String(descriptorSuffix);
    }
    return QDir::cleanPath(path);
}

QString ExerciseEditor::folder() const {
    const QString path = descriptorPath();
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

QString ExerciseEditor::stem() const {
    return QFileInfo(descriptorPath()).completeBaseName();
}

ExerciseEditor::Source ExerciseEditor::sourceOf(const QComboBox* box) {
    return static_cast<Source>(box->currentIndex());
}

void ExerciseEditor::refuse(const QString& text) {
    m_prompts.critical(this, QString::fromUtf8(DescriptorWriter::refusalTitle), text);
}

void ExerciseEditor::updateFields() {
    const QString where = folder();
    const auto missing = [&where](const QLineEdit* field) {
        const QString text = field->text().trimmed();
        return text.isEmpty() || !QFileInfo(QDir(where).absoluteFilePath(text)).isFile();
    };
    m_createEnonce->setEnabled(!where.isEmpty() && missing(m_enonce));
    m_createCorrection->setEnabled(!where.isEmpty() && missing(m_correction));
    m_configEnonceFile->setEnabled(sourceOf(m_configEnonce) == Source::File);
    m_configCorrectionFile->setEnabled(sourceOf(m_configCorrection) == Source::File);
}

bool ExerciseEditor::load(const QString& path) {
    const auto descriptor = ExerciseDescriptor::read(path.toStdString());
    if (!descriptor) {
        return false;
    }
    m_editing = QFileInfo(path).absoluteFilePath();
    m_loaded = *descriptor;
    setWindowTitle(QString::fromUtf8(titleEdit));
    const QDir dir = QFileInfo(m_editing).absoluteDir();
    const auto inFolder = [&dir](const std::string& name) {
        return name.empty() ? QString() : dir.filePath(toQ(name));
    };
    m_fichier->setText(m_editing);
    m_fichier->setReadOnly(true);
    m_intitule->setText(toQ(descriptor->title));
    m_niveau->setCurrentIndex(descriptor->level);
    m_notions->setText(toQ(descriptor->notions));
    m_duree->setValue(descriptor->hourglasses);
    m_enonce->setText(inFolder(descriptor->statement));
    m_correction->setText(inFolder(descriptor->correction));
    const auto setConfiguration = [&](QComboBox* box, QLineEdit* field, const std::string& name) {
        box->setCurrentIndex(static_cast<int>(name.empty() ? Source::None : Source::File));
        field->setText(inFolder(name));
    };
    setConfiguration(m_configEnonce, m_configEnonceFile, descriptor->statementConfiguration);
    setConfiguration(m_configCorrection, m_configCorrectionFile,
                     descriptor->correctionConfiguration);
    updateFields();
    return true;
}

std::optional<ExerciseEditor::Plan> ExerciseEditor::plan() {
    Plan p;
    p.path = descriptorPath();
    if (p.path.isEmpty()) {
        refuse(QStringLiteral("Il faut choisir le fichier de l'exercice."));
        return std::nullopt;
    }
    const QString where = folder();
    if (!QFileInfo(where).isDir()) {
        refuse(QStringLiteral("Le dossier ") + QDir::toNativeSeparators(where) +
               QStringLiteral(" n'existe pas."));
        return std::nullopt;
    }
    const QDir dir(where);
    const QString base = stem();
    bool missing = false;
    // The name in the descriptor of a file chosen by the teacher: its own
    // when it is in the exercise's folder, else the name of its copy there.
    const auto nameOf = [&](const QString& typed, const QString& copyName) -> QString {
        const QString text = typed.trimmed();
        if (text.isEmpty()) {
            return {};
        }
        const QFileInfo file(dir.absoluteFilePath(text));
        if (!file.isFile()) {
            refuse(QStringLiteral("Le fichier ") + QDir::toNativeSeparators(file.filePath()) +
                   QStringLiteral(" est introuvable."));
            missing = true;
            return {};
        }
        if (sameFolder(file.absolutePath(), where)) {
            return file.fileName();
        }
        for (const Plan::Copy& copy : p.copies) {
            if (copy.from == file.absoluteFilePath()) {
                return QFileInfo(copy.to).fileName();
            }
        }
        p.copies.push_back({file.absoluteFilePath(), dir.filePath(copyName)});
        return copyName;
    };
    const auto textName = [&](const QLineEdit* field, const char* part) {
        const QString suffix = QFileInfo(field->text().trimmed()).suffix();
        return nameOf(field->text(), base + QLatin1String(part) + QLatin1Char('.') +
                                         (suffix.isEmpty() ? QStringLiteral("RTF") : suffix));
    };
    const auto configurationName = [&](const QComboBox* box, const QLineEdit* field,
                                       const QString& ownName) -> QString {
        switch (sourceOf(box)) {
        case Source::None:
            return {};
        case Source::Current:
            if (p.configuration.isEmpty()) {
                p.configuration = dir.filePath(ownName);
            }
            return QFileInfo(p.configuration).fileName();
        case Source::File:
            if (field->text().trimmed().isEmpty()) {
                refuse(
                    QStringLiteral("Il faut choisir le fichier de configuration, ou « aucune »."));
                missing = true;
                return {};
            }
            return nameOf(field->text(), ownName);
        }
        return {};
    };

    ExerciseDescriptor& d = p.descriptor;
    d.statement = textName(m_enonce, "-enonce").toStdString();
    if (missing) {
        return std::nullopt;
    }
    d.correction = textName(m_correction, "-correction").toStdString();
    if (missing) {
        return std::nullopt;
    }
    d.statementConfiguration =
        configurationName(m_configEnonce, m_configEnonceFile, base + QStringLiteral(".C14"))
            .toStdString();
    if (missing) {
        return std::nullopt;
    }
    d.correctionConfiguration = configurationName(m_configCorrection, m_configCorrectionFile,
                                                  base + QStringLiteral("-correction.C14"))
                                    .toStdString();
    if (missing) {
        return std::nullopt;
    }
    d.level = m_niveau->currentIndex();
    d.notions = m_notions->text().toStdString();
    d.title = m_intitule->text().trimmed().toStdString();
    d.hourglasses = m_duree->value();
    d.record6 = m_loaded.record6;
    if (const auto refusal = DescriptorWriter::check(d)) {
        refuse(toQ(DescriptorWriter::message(*refusal)));
        return std::nullopt;
    }
    for (const Plan::Copy& copy : p.copies) {
        if (QFileInfo::exists(copy.to)) {
            p.replaced << QFileInfo(copy.to).fileName();
        }
    }
    if (!p.configuration.isEmpty() && QFileInfo::exists(p.configuration)) {
        p.replaced << QFileInfo(p.configuration).fileName();
    }
    if (QFileInfo::exists(p.path) && !sameFolder(p.path, m_editing)) {
        p.replaced << QFileInfo(p.path).fileName();
    }
    return p;
}

bool ExerciseEditor::save() {
    const std::optional<Plan> p = plan();
    if (!p) {
        return false;
    }
    if (!p->copies.empty() || !p->replaced.isEmpty()) {
        QString text = QStringLiteral("Les fichiers d'un exercice sont rangés dans son dossier, ") +
                       QDir::toNativeSeparators(folder()) + QStringLiteral(".\n");
        for (const Plan::Copy& copy : p->copies) {
            text += QStringLiteral("\n- ") + QDir::toNativeSeparators(copy.from) +
                    QStringLiteral(" y sera copié sous le nom ") + QFileInfo(copy.to).fileName();
        }
        for (const QString& name : p->replaced) {
            text += QStringLiteral("\n- ") + name + QStringLiteral(" existe déjà et sera remplacé");
        }
        text += QStringLiteral("\n\nContinuer ?");
        if (!m_prompts.question(this, QString::fromUtf8(saveTitle), text)) {
            return false;
        }
    }
    const config::Message writeError = config::ConfigFile::messageWriteError();
    const auto failed = [this, &writeError](const QString& path) {
        m_prompts.critical(this, toQ(writeError.title),
                           toQ(writeError.text) + QStringLiteral(" : ") +
                               QDir::toNativeSeparators(path));
        return false;
    };
    for (const Plan::Copy& copy : p->copies) {
        QFile source(copy.from);
        if (!source.open(QIODevice::ReadOnly)) {
            refuse(QStringLiteral("Le fichier ") + QDir::toNativeSeparators(copy.from) +
                   QStringLiteral(" ne peut pas être lu."));
            return false;
        }
        const QByteArray bytes = source.readAll();
        if (!base::CarefulFile::writeAll(
                 copy.to.toStdString(),
                 std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))
                 .ok()) {
            return failed(copy.to);
        }
    }
    if (!p->configuration.isEmpty() &&
        config::ConfigFile::save(p->configuration.toStdString(), m_handlers.engine().params())) {
        return failed(p->configuration);
    }
    const bool keep = !m_editing.isEmpty() && sameFolder(p->path, m_editing);
    const DescriptorWriter::Result written =
        DescriptorWriter::write(p->path.toStdString(), p->descriptor, keep);
    if (written.refusal) {
        refuse(toQ(DescriptorWriter::message(*written.refusal)));
        return false;
    }
    if (!written.written.ok()) {
        return failed(p->path);
    }
    accept();
    if (m_openExercise) {
        m_openExercise(p->path);
    }
    return true;
}

void ExerciseEditor::chooseDescriptor() {
    const QString start = folder().isEmpty() ? m_startFolder : folder();
    const QString name = m_prompts.descriptorName(this, start);
    if (!name.isEmpty()) {
        m_fichier->setText(name);
    }
}

void ExerciseEditor::chooseText(QLineEdit* field) {
    const QString start = folder().isEmpty() ? m_startFolder : folder();
    const QString name = m_prompts.openFileName(this, start, QString::fromUtf8(rtfFilter));
    if (!name.isEmpty()) {
        field->setText(name);
    }
}

void ExerciseEditor::chooseConfiguration(QComboBox* source, QLineEdit* field) {
    const QString start = folder().isEmpty() ? m_startFolder : folder();
    const QString name =
        m_prompts.openFileName(this, start, QString::fromUtf8(configurationFilter));
    if (!name.isEmpty()) {
        source->setCurrentIndex(static_cast<int>(Source::File));
        field->setText(name);
    }
}

void ExerciseEditor::createText(bool correction) {
    if (folder().isEmpty()) {
        refuse(QStringLiteral("Choisir d'abord le fichier de l'exercice : le texte est créé dans "
                              "son dossier."));
        return;
    }
    const QString path = QDir(folder()).filePath(
        stem() + (correction ? QStringLiteral("-correction.RTF") : QStringLiteral("-enonce.RTF")));
    if (QFileInfo::exists(path) &&
        !m_prompts.question(this, QString::fromUtf8(saveTitle),
                            QStringLiteral("Le fichier ") + QDir::toNativeSeparators(path) +
                                QStringLiteral(" existe déjà. Le remplacer par un texte à "
                                               "compléter ?"))) {
        return;
    }
    // A starting text that any word processor opens: the title as a heading,
    // the notions, then the place of the questions or of the answers.
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat heading;
    heading.setFontPointSize(16);
    heading.setFontWeight(QFont::Bold);
    QTextCharFormat plain;
    plain.setFontPointSize(12);
    QTextCharFormat part;
    part.setFontPointSize(13);
    part.setFontWeight(QFont::Bold);
    const QString title = m_intitule->text().trimmed();
    cursor.insertText(title.isEmpty() ? QStringLiteral("Exercice") : title, heading);
    if (correction) {
        cursor.insertText(QStringLiteral(" : correction"), heading);
    }
    if (!m_notions->text().trimmed().isEmpty()) {
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Notions abordées : ") + m_notions->text().trimmed(),
                          plain);
    }
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertText(correction ? QStringLiteral("Réponses") : QStringLiteral("Questions"), part);
    for (int n = 1; n <= 3; ++n) {
        cursor.insertBlock();
        cursor.insertText(QString::number(n) + QStringLiteral(". "), plain);
    }
    const QByteArray bytes = RtfWriter::write(document);
    if (!base::CarefulFile::writeAll(
             path.toStdString(),
             std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))
             .ok()) {
        const config::Message message = config::ConfigFile::messageWriteError();
        m_prompts.critical(this, toQ(message.title), toQ(message.text));
        return;
    }
    (correction ? m_correction : m_enonce)->setText(path);
    openText(correction);
}

void ExerciseEditor::openText(bool correction) {
    const QString text = (correction ? m_correction : m_enonce)->text().trimmed();
    if (text.isEmpty()) {
        refuse(correction ? QStringLiteral("Choisir ou créer d'abord le texte de la correction.")
                          : QStringLiteral("Choisir ou créer d'abord le texte de l'énoncé."));
        return;
    }
    const QString path = QDir(folder().isEmpty() ? m_startFolder : folder()).absoluteFilePath(text);
    if (!QFileInfo(path).isFile()) {
        refuse(QStringLiteral("Le fichier ") + QDir::toNativeSeparators(path) +
               QStringLiteral(" est introuvable."));
        return;
    }
    if (!m_prompts.openUrl(QUrl::fromLocalFile(path))) {
        refuse(QStringLiteral("Aucun traitement de texte n'a pu ouvrir ") +
               QDir::toNativeSeparators(path) + QStringLiteral("."));
    }
}

} // namespace Ionaria::exercises

// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/Enregistrer.h"

#include "config/ConfigFile.h"
#include "config/FileBrowser.h"
#include "config/MessageBoxes.h"
#include "look/DesignPalette.h"
#include "look/Faces.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace Ionaria::config {

namespace {

// The busy pointer for the time of a save.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { restore(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    void restore() {
        if (m_active) {
            QApplication::restoreOverrideCursor();
            m_active = false;
        }
    }

private:
    bool m_active = true;
};

QString bareName(const QString& text) {
    const auto cut =
        std::max(text.lastIndexOf(QLatin1Char('/')), text.lastIndexOf(QDir::separator()));
    return text.mid(cut + 1);
}

} // namespace

Enregistrer::Enregistrer(const sim::ParamStore& params, std::string& cheminConfig,
                         QWidget* mainWindow, MessageBoxes& boxes)
    : QDialog(mainWindow), m_params(params), m_cheminConfig(cheminConfig), m_boxes(boxes),
      m_browser(new FileBrowser(QStringLiteral("*.C14"), this)), m_text1(new QLineEdit(this)),
      m_ok(new QPushButton(QStringLiteral("&Enregistrer"), this)),
      m_cancel(new QPushButton(QStringLiteral("&Annuler"), this)) {
    setObjectName(QStringLiteral("enregistrer"));
    setWindowTitle(QStringLiteral("Enregistrer la configuration"));
    setModal(true);
    look::useDesignPalette(this);
    look::useTextFace(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setText(QString::fromStdString(m_cheminConfig));
    m_text1->installEventFilter(this);

    m_browser->layOutDialog(*this, QStringLiteral("Nom du fichier :"), m_text1, nullptr, m_ok,
                            m_cancel, mainWindow);

    connect(m_browser, &FileBrowser::folderChanged, this,
            [this](const QString&) { m_text1->setText(bareName(m_text1->text())); });
    connect(m_browser, &FileBrowser::fileActivated, this, [this](const QString& name) {
        m_text1->setText(name);
        confirm();
    });
    connect(m_ok, &QPushButton::clicked, this, &Enregistrer::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool Enregistrer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_text1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            confirm();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Enregistrer::confirm() {
    BusyPointer busy;
    const QString typed = m_text1->text().trimmed();
    m_text1->setText(typed);
    const auto path =
        ConfigFile::pathForName(typed.toStdString(), m_browser->folder().toStdString());
    if (!path) {
        busy.restore();
        const Message message = ConfigFile::messageNoName();
        m_boxes.critical(this, QString::fromStdString(message.title),
                         QString::fromStdString(message.text));
        return;
    }
    m_cheminConfig = *path;
    const QString shown = QString::fromStdString(*path);
    m_text1->setText(shown);
    QDir::setCurrent(m_browser->folder());
    if (QFileInfo::exists(shown)) {
        busy.restore();
        if (!m_boxes.warningYesNo(this, QStringLiteral("Ce fichier existe déjà!"),
                                  QStringLiteral("Ecraser le fichier existant?"))) {
            return;
        }
    }
    if (const auto failure = ConfigFile::save(*path, m_params)) {
        busy.restore();
        m_boxes.critical(this, QString::fromStdString(failure->title),
                         QString::fromStdString(failure->text));
        return;
    }
    emit configurationSaved(shown);
    accept();
}

} // namespace Ionaria::config

// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/Ouvrir.h"

#include "config/ConfigFile.h"
#include "config/FileBrowser.h"
#include "config/MessageBoxes.h"
#include "look/DesignPalette.h"
#include "look/Faces.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace Ionaria::config {

Ouvrir::Ouvrir(sim::Handlers& handlers, std::string& cheminConfig, QWidget* mainWindow,
               MessageBoxes& boxes)
    : QDialog(mainWindow), m_handlers(handlers), m_cheminConfig(cheminConfig), m_boxes(boxes),
      m_browser(new FileBrowser(QStringLiteral("*.C14"), this)), m_ficharge(new QLineEdit(this)),
      m_ok(new QPushButton(QStringLiteral("&Ouvrir"), this)),
      m_cancel(new QPushButton(QStringLiteral("&Annuler"), this)),
      m_frame1(new QLabel(QStringLiteral("Chargement de la configuration..."), this)) {
    setObjectName(QStringLiteral("ouvrir"));
    setWindowTitle(QStringLiteral("Ouvrir une configuration"));
    setModal(true);
    look::useDesignPalette(this);
    look::useTextFace(this);
    m_ficharge->setObjectName(QStringLiteral("ficharge"));
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_frame1->setFrameShape(QFrame::Panel);
    m_frame1->setAlignment(Qt::AlignCenter);
    m_frame1->hide();

    m_browser->layOutDialog(*this, QStringLiteral("Fichier :"), m_ficharge, m_frame1, m_ok,
                            m_cancel, mainWindow);

    connect(m_browser, &FileBrowser::fileClicked, this, [this](const QString& name) {
        m_ficharge->setText(FileBrowser::join(m_browser->folder(), name));
        QDir::setCurrent(m_browser->folder());
    });
    connect(m_browser, &FileBrowser::fileActivated, this, [this](const QString& name) {
        m_ficharge->setText(FileBrowser::join(m_browser->folder(), name));
        confirm();
    });
    connect(m_ok, &QPushButton::clicked, this, &Ouvrir::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_ok->setDefault(true);
}

void Ouvrir::confirm() {
    const QString text = m_ficharge->text();
    if (text.trimmed().isEmpty()) {
        return;
    }
    m_cheminConfig = text.toStdString();
    if (!QFileInfo::exists(text)) {
        const Message message = ConfigFile::messageMissing();
        m_boxes.critical(this, QString::fromStdString(message.title),
                         QString::fromStdString(message.text));
        return;
    }
    m_frame1->show();
    QCoreApplication::processEvents();
    const auto failure = ConfigFile::load(m_cheminConfig, m_handlers);
    m_frame1->hide();
    if (failure) {
        m_boxes.critical(this, QString::fromStdString(failure->title),
                         QString::fromStdString(failure->text));
    } else {
        emit configurationLoaded(text);
    }
    accept();
}

} // namespace Ionaria::config

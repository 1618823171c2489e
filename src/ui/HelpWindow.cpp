// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStringList>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace Ionaria::ui {

HelpWindow::HelpWindow(const QString& folder, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("aide"));
    setWindowTitle(QStringLiteral("Aide d'Ionaria"));
    setModal(false);
    resize(640, 520);
    m_browser->setObjectName(QStringLiteral("aideTexte"));
    m_browser->setSearchPaths({folder});
    m_browser->setOpenExternalLinks(false);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    m_browser->document()->setDefaultFont(font);

    auto* sommaire = new QPushButton(QStringLiteral("&Sommaire"), this);
    auto* precedent = new QPushButton(QStringLiteral("&Précédent"), this);
    auto* suivant = new QPushButton(QStringLiteral("Sui&vant"), this);
    auto* fermer = new QPushButton(QStringLiteral("&Fermer"), this);
    precedent->setEnabled(false);
    suivant->setEnabled(false);
    connect(sommaire, &QPushButton::clicked, this, &HelpWindow::showContents);
    connect(precedent, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(suivant, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, precedent, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, suivant, &QPushButton::setEnabled);
    connect(fermer, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(sommaire);
    buttons->addWidget(precedent);
    buttons->addWidget(suivant);
    buttons->addStretch();
    buttons->addWidget(fermer);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    showContents();
}

bool HelpWindow::available(const QString& folder) {
    return QFileInfo(QDir(folder).filePath(QString::fromLatin1(contentsPage))).isFile();
}

QString HelpWindow::missingTitle() {
    return QStringLiteral("Aide introuvable");
}

QString HelpWindow::missingText(const QStringList& searched) {
    QString text = QStringLiteral("Les pages d'aide d'Ionaria sont introuvables. Elles ont été "
                                  "cherchées dans :");
    for (const QString& folder : searched) {
        text += QStringLiteral("\n   ") + QDir::toNativeSeparators(folder);
    }
    return text + QStringLiteral("\n\nRevoir l'installation du logiciel.");
}

void HelpWindow::showContents() {
    m_browser->setSource(
        QUrl::fromLocalFile(QDir(m_folder).filePath(QString::fromLatin1(contentsPage))));
}

} // namespace Ionaria::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HelpWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QHBoxLayout>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStringList>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

namespace Ionaria::ui {

HelpWindow::HelpWindow(const QString& folder, QWidget* parent)
    : QDialog(parent), m_folder(folder), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("aide"));
    setWindowTitle(QStringLiteral("Aide d'Ionaria"));
    setModal(false);
    m_browser->setObjectName(QStringLiteral("aideTexte"));
    m_browser->setSearchPaths({folder});
    m_browser->setOpenExternalLinks(false);

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
    setZoom(1.0);
    showContents();
}

void HelpWindow::setZoom(double z) {
    if (!(z > 0.0)) {
        return;
    }
    m_zoom = z;
    QFont buttons = font();
    buttons.setPixelSize(static_cast<int>(std::lround(11.0 * z)));
    setFont(buttons);
    QFont text(QStringLiteral("Liberation Sans"));
    text.setPixelSize(static_cast<int>(std::lround(textPixels * z)));
    m_browser->document()->setDefaultFont(text);
    constexpr double inchesPerMetre = 1.0 / 0.0254;
    const int dotsPerMetre = static_cast<int>(std::lround(96.0 * z * inchesPerMetre));
    m_textDevice.setDotsPerMeterX(dotsPerMetre);
    m_textDevice.setDotsPerMeterY(dotsPerMetre);
    if (QAbstractTextDocumentLayout* layout = m_browser->document()->documentLayout()) {
        layout->setPaintDevice(&m_textDevice);
    }
    m_browser->document()->markContentsDirty(0, m_browser->document()->characterCount());
    if (!m_sizedByUser) {
        QSize target(static_cast<int>(std::lround(designWidth * z)),
                     static_cast<int>(std::lround(designHeight * z)));
        if (const QScreen* s = screen()) {
            target = target.boundedTo(s->availableGeometry().size());
        }
        m_sizeGiven = target;
        resize(target);
    }
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (isVisible() && event->size() != m_sizeGiven) {
        m_sizedByUser = true;
    }
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/Confimp.h"

#include "look/DesignPalette.h"
#include "look/Faces.h"
#include "report/PicturePrinter.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Ionaria::report {

Confimp::Confimp(const PicturePrinter::Picture& picture, QPrinter& printer, QWidget* mainWindow)
    : QDialog(mainWindow), m_picture(picture), m_printer(printer),
      m_frame1(new QGroupBox(QStringLiteral("Options"), this)),
      m_check1(new QCheckBox(QStringLiteral("Le schéma"), m_frame1)),
      m_text1(new QLineEdit(QStringLiteral("Orbelle - Ionaria"), m_frame1)),
      m_upDown1(new QSpinBox(m_frame1)), m_label4(new QLabel(QStringLiteral("1"), m_frame1)),
      m_text2(new QLineEdit(m_frame1)), m_ok(new QPushButton(QStringLiteral("&OK"), this)),
      m_cancel(new QPushButton(QStringLiteral("&Annuler"), this)),
      m_printers(new QPushButton(QStringLiteral("&Imprimantes"), this)),
      m_frame2(new QFrame(this)) {
    setObjectName(QStringLiteral("confimp"));
    setWindowTitle(QStringLiteral("Imprimer"));
    setModal(true);
    look::useDesignPalette(this);
    look::useTextFace(this);
    m_check1->setChecked(true);
    m_upDown1->setRange(1, maxCopies);
    m_upDown1->setValue(1);
    m_text2->setReadOnly(true);

    auto* options = new QFormLayout(m_frame1);
    options->addRow(m_check1);
    options->addRow(QStringLiteral("Titre de la page :"), m_text1);
    // The spin box shows the number of copies; the label that repeats it is
    // kept for whoever reads it, out of sight.
    m_label4->hide();
    auto* copies = new QHBoxLayout;
    copies->addWidget(m_upDown1);
    copies->addStretch();
    options->addRow(QStringLiteral("Nombre d'exemplaires :"), copies);
    options->addRow(QStringLiteral("Imprimante:"), m_text2);

    auto* waiting = new QVBoxLayout(m_frame2);
    waiting->addWidget(
        new QLabel(QStringLiteral("Veuillez patienter quelques instants..."), m_frame2));
    m_frame2->setFrameShape(QFrame::StyledPanel);
    m_frame2->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_printers);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_frame1);
    layout->addWidget(m_frame2);
    layout->addLayout(buttons);

    if (mainWindow != nullptr) {
        move(mainWindow->pos() + QPoint(20, 20));
    }
    refreshPrinterName();

    connect(m_upDown1, &QSpinBox::valueChanged, this,
            [this](int value) { m_label4->setText(QString::number(value)); });
    connect(m_ok, &QPushButton::clicked, this, &Confimp::printAndClose);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_printers, &QPushButton::clicked, this, &Confimp::choosePrinter);
    m_ok->setDefault(true);
}

void Confimp::refreshPrinterName() {
    const QString name = m_printer.outputFormat() == QPrinter::PdfFormat
                             ? m_printer.outputFileName()
                             : m_printer.printerName();
    m_text2->setText(name);
}

void Confimp::choosePrinter() {
    QPrintDialog dialog(&m_printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimantes"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile);
    dialog.exec();
    refreshPrinterName();
}

void Confimp::printAndClose() {
    m_ok->hide();
    m_printers->hide();
    m_cancel->hide();
    m_frame1->hide();
    m_frame2->show();
    repaint();
    QCoreApplication::processEvents();
    if (PicturePrinter::print(m_printer, m_picture, m_text1->text(), m_upDown1->value()) ==
        PicturePrinter::Outcome::NotWritten) {
        emit printNotWritten(m_printer.outputFileName());
    }
    accept();
}

} // namespace Ionaria::report

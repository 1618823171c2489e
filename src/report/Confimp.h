// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/PicturePrinter.h"

#include <QDialog>
#include <QImage>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QSpinBox;

namespace Ionaria::report {

// The print dialog: a page title, a number of copies and the printer, then
// the printing of the experiment picture.
class Confimp : public QDialog {
    Q_OBJECT

public:
    static constexpr int maxCopies = 99;

    // The printer outlives the dialog, so that a choice made with
    // "&Imprimantes" holds for the next prints.
    Confimp(const PicturePrinter::Picture& picture, QPrinter& printer, QWidget* mainWindow);
    Confimp(const QImage& picture, QPrinter& printer, QWidget* mainWindow)
        : Confimp(PicturePrinter::Picture::of(picture), printer, mainWindow) {}

    QLineEdit* Text1() const { return m_text1; }
    QSpinBox* UpDown1() const { return m_upDown1; }
    QLabel* Label4() const { return m_label4; }
    QLineEdit* Text2() const { return m_text2; }
    QPushButton* Command1() const { return m_ok; }       // "&OK"
    QPushButton* Command2() const { return m_printers; } // "&Imprimantes"
    QPushButton* Command3() const { return m_cancel; }   // "&Annuler"
    QGroupBox* Frame1() const { return m_frame1; }
    QFrame* Frame2() const { return m_frame2; }

    // "&OK": prints, then closes.
    void printAndClose();
    // "&Imprimantes": the system's printer setup.
    void choosePrinter();

signals:
    // The pages printed to a file could not be written there; the file that
    // was there is kept.
    void printNotWritten(const QString& path);

private:
    void refreshPrinterName();

    PicturePrinter::Picture m_picture;
    QPrinter& m_printer;
    QGroupBox* m_frame1;
    QCheckBox* m_check1;
    QLineEdit* m_text1;
    QSpinBox* m_upDown1;
    QLabel* m_label4;
    QLineEdit* m_text2;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_printers;
    QFrame* m_frame2;
};

} // namespace Ionaria::report

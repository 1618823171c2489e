// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/Fichexo.h"

#include "config/FileBrowser.h"
#include "exercises/ExerciseDescriptor.h"
#include "exercises/ExerciseFiles.h"
#include "look/DesignPalette.h"
#include "look/Faces.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace Ionaria::exercises {

namespace {

// A descriptor's file name with its title after it; the item's text stays
// the name, which the preview and the opening read.
class TitledNameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString title = index.data(Fichexo::titleRole).toString();
        if (!title.isEmpty()) {
            option->text += QStringLiteral("  —  ") + title;
        }
    }
};

constexpr int levelImageSide = 26;  // px
constexpr int hourglassWidth = 16;  // px
constexpr int hourglassHeight = 24; // px
const QColor titleBand(0, 0, 128);
const QColor levelOn(255, 190, 0);
const QColor levelOff(70, 70, 70);

QPixmap levelPixmap(bool lit) {
    QPixmap pixmap(levelImageSide, levelImageSide);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(lit ? levelOn : levelOff);
    p.drawEllipse(QRectF(2, 2, levelImageSide - 4, levelImageSide - 4));
    return pixmap;
}

// A row of count hourglasses: two glass bulbs between two plates, sand below.
QPixmap hourglassPixmap(int count) {
    QPixmap pixmap(std::max(1, count * hourglassWidth), hourglassHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < count; ++i) {
        const double x = i * hourglassWidth;
        const double left = x + 3;
        const double right = x + hourglassWidth - 3;
        const double middle = x + hourglassWidth / 2.0;
        const double top = 3;
        const double bottom = hourglassHeight - 3;
        const double waist = hourglassHeight / 2.0;
        QPainterPath glass;
        glass.moveTo(left, top);
        glass.lineTo(right, top);
        glass.lineTo(middle + 1, waist);
        glass.lineTo(right, bottom);
        glass.lineTo(left, bottom);
        glass.lineTo(middle - 1, waist);
        glass.closeSubpath();
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(225, 235, 255));
        p.drawPath(glass);
        QPainterPath sand;
        sand.moveTo(middle, waist + 3);
        sand.lineTo(right - 1, bottom - 1);
        sand.lineTo(left + 1, bottom - 1);
        sand.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 160, 60));
        p.drawPath(sand);
        p.setPen(QPen(QColor(110, 60, 20), 2));
        p.drawLine(QPointF(x + 1, top - 1), QPointF(x + hourglassWidth - 1, top - 1));
        p.drawLine(QPointF(x + 1, bottom + 1), QPointF(x + hourglassWidth - 1, bottom + 1));
    }
    return pixmap;
}

QLabel* wrappedLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

} // namespace

// Long because it reads as the dialog looks, top to bottom: the controls,
// then the preview column beside the file list, the buttons, the size, and
// last the connections. Split, each part would have to hand the others the
// same dozen controls.
Fichexo::Fichexo(const QString& startFolder, Opener open, QWidget* mainWindow)
    : QDialog(mainWindow), m_open(std::move(open)),
      m_browser(new config::FileBrowser(QString::fromLatin1(pattern), this)),
      m_ouvreur(new QPushButton(QStringLiteral("&Ouvrir l'exercice sélectionné"), this)),
      m_image5(new QPushButton(QStringLiteral("&Fermer sans charger d'exercice"), this)),
      m_levelLabel(new QLabel(QStringLiteral("Niveau :"), this)),
      m_correction(wrappedLabel(this, "correction")),
      m_notionsCaption(new QLabel(QStringLiteral("Notions abordées :"), this)),
      m_notions(wrappedLabel(this, "notions")), m_title(wrappedLabel(this, "titre")),
      m_hourglassRow(new QLabel(this)),
      m_selectHint(new QLabel(QStringLiteral("Sélectionner un fichier"), this)),
      m_wait(new QLabel(QStringLiteral("Patienter quelques instants"), this)),
      m_loading(new QLabel(QStringLiteral(" Chargement des fichiers"), this)) {
    setObjectName(QStringLiteral("Fichexo"));
    setWindowTitle(QString::fromUtf8(title));
    setModal(true);
    look::useDesignPalette(this);
    look::useTextFace(this);
    m_ouvreur->setObjectName(QStringLiteral("ouvreur"));
    m_image5->setObjectName(QStringLiteral("Image5"));
    m_levelLabel->setObjectName(QStringLiteral("niveau"));
    m_hourglassRow->setObjectName(QStringLiteral("sabliers"));
    m_selectHint->setObjectName(QStringLiteral("selection"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);

    auto* levels = new QHBoxLayout;
    levels->addWidget(m_levelLabel);
    for (std::size_t k = 0; k < m_levelImages.size(); ++k) {
        m_levelImages[k] = new QLabel(this);
        m_levelImages[k]->setObjectName(QStringLiteral("niveau%1").arg(k));
        m_levelImages[k]->setFixedSize(levelImageSide, levelImageSide);
        levels->addWidget(m_levelImages[k]);
    }
    levels->addStretch();

    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(m_selectHint);
    previewColumn->addLayout(levels);
    previewColumn->addWidget(m_correction);
    previewColumn->addWidget(m_title);
    previewColumn->addWidget(m_notionsCaption);
    previewColumn->addWidget(m_notions);
    previewColumn->addWidget(m_hourglassRow);
    previewColumn->addStretch();
    previewColumn->addWidget(m_wait);
    previewColumn->addWidget(m_loading);

    auto* middle = new QHBoxLayout;
    middle->addWidget(m_browser, 1);
    middle->addLayout(previewColumn, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ouvreur);
    buttons->addWidget(m_image5);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, titleBandHeight + 8, 10, 10);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    if (mainWindow != nullptr) {
        setGeometry(mainWindow->geometry());
    } else {
        resize(800, 600);
    }

    m_wait->hide();
    m_loading->hide();
    m_browser->File1()->installEventFilter(this);
    m_browser->File1()->setItemDelegate(new TitledNameDelegate(m_browser->File1()));
    connect(m_browser, &config::FileBrowser::folderChanged, this, [this] {
        showTitles();
        preview({});
    });
    connect(m_browser, &config::FileBrowser::fileClicked, this, &Fichexo::preview);
    connect(m_browser, &config::FileBrowser::fileActivated, this, [this](const QString& name) {
        preview(name);
        openSelected();
    });
    // Moving through the list with the arrows previews as a click does.
    connect(m_browser->File1(), &QListWidget::currentTextChanged, this, &Fichexo::preview);
    connect(m_ouvreur, &QPushButton::clicked, this, &Fichexo::openSelected);
    connect(m_image5, &QPushButton::clicked, this, &QDialog::reject);

    m_browser->setFolder(startFolder);
    preview({});
}

void Fichexo::showTitles() {
    QListWidget* files = m_browser->File1();
    for (int i = 0; i < files->count(); ++i) {
        QListWidgetItem* item = files->item(i);
        const QString path = config::FileBrowser::join(m_browser->folder(), item->text());
        const auto descriptor = ExerciseDescriptor::read(path.toStdString());
        const QString exerciseTitle =
            descriptor ? QString::fromStdString(descriptor->title).trimmed() : QString();
        if (exerciseTitle.isEmpty()) {
            continue;
        }
        item->setData(titleRole, exerciseTitle);
        item->setData(Qt::AccessibleTextRole, item->text() + QStringLiteral(" : ") + exerciseTitle);
        item->setToolTip(exerciseTitle);
    }
}

QString Fichexo::dossierExo() const {
    return QDir::toNativeSeparators(config::FileBrowser::join(m_browser->folder(), QString()));
}

QString Fichexo::selectedPath() const {
    return m_selected;
}

bool Fichexo::levelImagesShown() const {
    return m_levelImages[0]->isVisibleTo(this);
}

bool Fichexo::levelLit(int image) const {
    return image >= 0 && image < static_cast<int>(m_lit.size()) &&
           m_lit[static_cast<std::size_t>(image)];
}

QString Fichexo::correctionText() const {
    return m_correction->text();
}

QString Fichexo::notionsText() const {
    return m_notions->text();
}

QString Fichexo::titleText() const {
    return m_title->text();
}

bool Fichexo::selectionHintShown() const {
    return m_selectHint->isVisibleTo(this);
}

void Fichexo::showNothingSelected() {
    m_selected.clear();
    m_levelLabel->hide();
    for (QLabel* image : m_levelImages) {
        image->hide();
    }
    m_lit.fill(false);
    m_ouvreur->hide();
    m_correction->clear();
    m_notionsCaption->hide();
    m_notions->clear();
    m_title->clear();
    m_hourglasses = 0;
    m_hourglassRow->clear();
    m_selectHint->show();
}

void Fichexo::showLevel(int level) {
    m_levelLabel->show();
    for (std::size_t k = 0; k < m_levelImages.size(); ++k) {
        m_lit[k] = level > static_cast<int>(k);
        m_levelImages[k]->setPixmap(levelPixmap(m_lit[k]));
        m_levelImages[k]->show();
    }
}

void Fichexo::preview(const QString& name) {
    showNothingSelected();
    if (name.isEmpty()) {
        return;
    }
    m_selected = config::FileBrowser::join(m_browser->folder(), name);
    m_selectHint->hide();
    m_ouvreur->show();
    const std::optional<ExerciseDescriptor> descriptor =
        ExerciseDescriptor::read(m_selected.toStdString());
    if (!descriptor) {
        // Opening it tells the user why it cannot be read.
        return;
    }
    showLevel(descriptor->level);
    m_correction->setText(QString::fromStdString(descriptor->correctionLabel()));
    m_notionsCaption->show();
    m_notions->setText(QString::fromStdString(descriptor->notions));
    m_title->setText(QString::fromStdString(descriptor->title));
    m_hourglasses = descriptor->hourglasses;
    if (m_hourglasses > 0) {
        m_hourglassRow->setPixmap(hourglassPixmap(m_hourglasses));
    }
}

void Fichexo::openSelected() {
    if (m_selected.isEmpty()) {
        return;
    }
    m_wait->show();
    m_loading->show();
    repaint();
    if (m_open) {
        m_open(m_selected);
    }
    m_wait->hide();
    m_loading->hide();
    accept();
}

QColor Fichexo::titleColour(int index, int count) {
    const int span = titleLastBlue - titleFirstBlue;
    const int blue =
        count > 0 ? titleFirstBlue + span * std::clamp(index, 0, count) / count : titleFirstBlue;
    return QColor(255, 255, blue);
}

void Fichexo::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter p(this);
    p.fillRect(QRect(0, 0, width(), titleBandHeight), titleBand);
    QFont font(QString::fromLatin1(look::designFamily));
    font.setPixelSize(titlePixelSize);
    font.setBold(true);
    p.setFont(font);
    const QFontMetrics metrics(font);
    const QString text = QString::fromUtf8(title);
    const int count = static_cast<int>(text.size());
    int x = 12;
    const int baseline = (titleBandHeight + metrics.ascent() - metrics.descent()) / 2;
    for (int i = 0; i < count; ++i) {
        const QString character = text.mid(i, 1);
        p.setPen(titleColour(i, count));
        p.drawText(x, baseline, character);
        x += metrics.horizontalAdvance(character);
    }
}

bool Fichexo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_browser->File1() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const QListWidgetItem* item = m_browser->File1()->currentItem();
            if (item != nullptr) {
                preview(item->text());
                openSelected();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace Ionaria::exercises

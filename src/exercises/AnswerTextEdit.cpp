// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/AnswerTextEdit.h"

#include "exercises/AnswerBounds.h"
#include "exercises/RtfWriter.h"

#include <QImage>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace Ionaria::exercises {

AnswerTextEdit::AnswerTextEdit(QWidget* parent) : QTextEdit(parent) {
    // A run of characters with no space in it is cut where the line ends:
    // kept whole, its one line costs a layout that grows with its square.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

bool AnswerTextEdit::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

void AnswerTextEdit::insertFromMimeData(const QMimeData* source) {
    QTextCursor block = textCursor();
    // One step of the undo history, whatever the paste is made of, so that a
    // refused one is taken back whole.
    block.beginEditBlock();
    const bool image = source->hasImage() && !source->hasHtml();
    if (image) {
        const QImage picture = qvariant_cast<QImage>(source->imageData());
        if (!picture.isNull()) {
            const QString name = QStringLiteral("collage-%1.png").arg(++m_pasted);
            document()->addResource(QTextDocument::ImageResource, QUrl(name), picture);
            QTextImageFormat format;
            format.setName(name);
            // Shown at its size in pixels of the picture, as it is written.
            format.setWidth(picture.width() / picture.devicePixelRatio());
            format.setHeight(picture.height() / picture.devicePixelRatio());
            textCursor().insertImage(format);
        }
    } else {
        QTextEdit::insertFromMimeData(source);
    }
    block.endEditBlock();
    const AnswerBounds::Excess after = AnswerBounds::of(RtfWriter::writeCounted(*document()));
    // A pasted text with too many formats in one paragraph is kept: the save
    // will tell, and the pupil can mend it in the box.
    if (after == AnswerBounds::Excess::None || after == AnswerBounds::Excess::TooManyFormatRuns) {
        return;
    }
    document()->undo();
    // A text that exceeded already (a long statement) still takes what is not
    // a picture: its save will tell.
    if (AnswerBounds::of(RtfWriter::writeCounted(*document())) != AnswerBounds::Excess::None) {
        document()->redo();
        return;
    }
    if (m_refused) {
        m_refused(*AnswerBounds::pasteRefusal(after));
    }
}

} // namespace Ionaria::exercises

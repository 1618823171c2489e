// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/RtfWriter.h"

#include "exercises/RtfTableWriter.h"

#include "base/Windows1252.h"

#include <QBuffer>
#include <QCache>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextList>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <vector>

namespace Ionaria::exercises {

namespace {

constexpr double twipsPerPixel = 15.0;
constexpr int listHangTwips = 360;
constexpr qsizetype hexBytesPerLine = 64;
// The pictures' PNG kept between two writings, in hexadecimal bytes.
constexpr qsizetype maxRecentHexBytes = qsizetype{32} * 1024 * 1024;

int toTwips(double pixels) {
    return static_cast<int>(std::lround(pixels * twipsPerPixel));
}

QString familyOf(const QTextCharFormat& format) {
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.front();
}

// The font and colour tables of the file header, filled while the body is written.
class Tables {
public:
    explicit Tables(const QTextDocument& document) {
        m_fonts.push_back(RtfWriter::fontTableName(document.defaultFont().family()));
    }

    int fontIndex(const QString& family) {
        const QString name = RtfWriter::fontTableName(family);
        if (name.isEmpty()) {
            return 0;
        }
        const auto found = std::find(m_fonts.begin(), m_fonts.end(), name);
        if (found != m_fonts.end()) {
            return static_cast<int>(found - m_fonts.begin());
        }
        m_fonts.push_back(name);
        return static_cast<int>(m_fonts.size()) - 1;
    }

    int colorIndex(const QColor& color) {
        const QRgb rgb = color.rgb() & 0xFFFFFFU;
        const auto found = std::find(m_colors.begin(), m_colors.end(), rgb);
        if (found != m_colors.end()) {
            return static_cast<int>(found - m_colors.begin()) + 1;
        }
        m_colors.push_back(rgb);
        return static_cast<int>(m_colors.size());
    }

    const std::vector<QString>& fonts() const { return m_fonts; }
    const std::vector<QRgb>& colors() const { return m_colors; }

private:
    std::vector<QString> m_fonts;
    std::vector<QRgb> m_colors;
};

void appendHexByte(QByteArray& out, unsigned char byte) {
    out += "\\'";
    out += QByteArray::number(byte, 16).rightJustified(2, '0');
}

void appendEscaped(QByteArray& out, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        switch (unit) {
        case u'\\':
            out += "\\\\";
            continue;
        case u'{':
            out += "\\{";
            continue;
        case u'}':
            out += "\\}";
            continue;
        case u'\t':
            out += "\\tab ";
            continue;
        case 0x2028:
            out += "\\line ";
            continue;
        case 0x00A0:
            out += "\\~";
            continue;
        case 0x00AD:
            out += "\\-";
            continue;
        case 0x2011:
            out += "\\_";
            continue;
        case 0x200B:
            // The reader's own mark in long runs (rtf::zeroWidthSpace): it is
            // put back at the same places on reading.
            continue;
        default:
            break;
        }
        if (unit < 0x20) {
            continue;
        }
        if (unit < 0x80) {
            out += static_cast<char>(unit);
            continue;
        }
        // A character of the file's code page takes its one byte; only the
        // others need the longer Unicode escape, with "?" for older readers.
        if (!QChar::isSurrogate(unit)) {
            const std::string bytes = base::utf8ToWindows1252(QString(QChar(unit)).toStdString());
            if (bytes.size() == 1 && static_cast<unsigned char>(bytes.front()) >= 0x80) {
                appendHexByte(out, static_cast<unsigned char>(bytes.front()));
                continue;
            }
        }
        out += "\\u";
        out += QByteArray::number(unit > 0x7FFF ? static_cast<int>(unit) - 0x10000
                                                : static_cast<int>(unit));
        // The fallback is a hex escape: some readers mishandle a plain
        // character right after the number.
        appendHexByte(out, '?');
    }
}

void appendCharFormat(QByteArray& out, const QTextCharFormat& format, Tables& tables,
                      const QTextDocument& document) {
    out += "\\f" + QByteArray::number(tables.fontIndex(familyOf(format)));
    double points = format.fontPointSize();
    if (points <= 0) {
        points = document.defaultFont().pointSizeF();
    }
    if (points <= 0) {
        points = 12;
    }
    out += "\\fs" + QByteArray::number(std::max(1L, std::lround(points * 2)));
    if (format.fontWeight() >= QFont::DemiBold) {
        out += "\\b";
    }
    if (format.fontItalic()) {
        out += "\\i";
    }
    if (format.fontUnderline()) {
        out += "\\ul";
    }
    if (format.fontStrikeOut()) {
        out += "\\strike";
    }
    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
        out += "\\cf" + QByteArray::number(tables.colorIndex(format.foreground().color()));
    }
    if (format.hasProperty(QTextFormat::BackgroundBrush)) {
        // Shading takes any colour in every word processor; highlighting is
        // the older word, limited to a few colours in some of them.
        const QByteArray index = QByteArray::number(tables.colorIndex(format.background().color()));
        out += "\\chcbpat" + index + "\\highlight" + index;
    }
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript) {
        out += "\\super";
    } else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) {
        out += "\\sub";
    }
    out += ' ';
}

QImage imageOf(const QTextDocument& document, const QString& name) {
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
    if (resource.canConvert<QImage>() && resource.typeId() == QMetaType::QImage) {
        return resource.value<QImage>();
    }
    if (resource.typeId() == QMetaType::QPixmap) {
        return resource.value<QPixmap>().toImage();
    }
    if (resource.typeId() == QMetaType::QByteArray) {
        return QImage::fromData(resource.toByteArray());
    }
    return {};
}

// Each picture of the document is made into PNG once, whatever the number of
// times it shows.
class Pictures {
public:
    explicit Pictures(const QTextDocument& document) : m_document(document) {}

    void append(QByteArray& out, const QTextImageFormat& format) {
        auto found = m_encoded.find(format.name());
        if (found == m_encoded.end()) {
            found = m_encoded.insert(format.name(), encode(format.name()));
        }
        const Encoded& picture = found.value();
        if (picture.hex.isEmpty()) {
            return;
        }
        const double width = format.width() > 0 ? format.width() : picture.size.width();
        const double height = format.height() > 0 ? format.height() : picture.size.height();
        out += "{\\pict\\pngblip\\picw" + QByteArray::number(picture.size.width()) + "\\pich" +
               QByteArray::number(picture.size.height()) + "\\picwgoal" +
               QByteArray::number(toTwips(width)) + "\\pichgoal" +
               QByteArray::number(toTwips(height)) + "\n";
        for (qsizetype start = 0; start < picture.hex.size(); start += 2 * hexBytesPerLine) {
            out += picture.hex.mid(start, 2 * hexBytesPerLine);
            out += '\n';
        }
        out += '}';
        ++m_use.count;
        m_use.pixels += qint64{picture.size.width()} * picture.size.height();
        m_use.largestSide =
            std::max({m_use.largestSide, picture.size.width(), picture.size.height()});
    }

    const RtfWriter::PictureUse& use() const { return m_use; }

private:
    struct Encoded {
        QSize size;
        QByteArray hex;
    };

    Encoded encode(const QString& name) const {
        const QImage image = imageOf(m_document, name);
        if (image.isNull()) {
            return {};
        }
        // The answer is written again at every paste, to check it: a picture
        // already made into PNG is not made again.
        static QCache<qint64, Encoded> recent(maxRecentHexBytes);
        if (const Encoded* known = recent.object(image.cacheKey())) {
            return *known;
        }
        QByteArray png;
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
            return {};
        }
        Encoded encoded{image.size(), png.toHex()};
        const auto cost = std::max<qsizetype>(1, encoded.hex.size());
        recent.insert(image.cacheKey(), new Encoded(encoded), cost);
        return encoded;
    }

    const QTextDocument& m_document;
    QHash<QString, Encoded> m_encoded;
    RtfWriter::PictureUse m_use;
};

QString listMarker(const QTextBlock& block) {
    const QTextList* list = block.textList();
    switch (list->format().style()) {
    case QTextListFormat::ListDisc:
        return QString(QChar(0x2022));
    case QTextListFormat::ListCircle:
        return QString(QChar(0x25E6));
    case QTextListFormat::ListSquare:
        return QString(QChar(0x25AA));
    default:
        return list->itemText(block);
    }
}

// The marker of a list item looks like the start of its text.
QTextCharFormat markerFormat(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        if (!format.isImageFormat()) {
            return format;
        }
    }
    return block.charFormat();
}

void appendParagraphFormat(QByteArray& out, const QTextBlock& block,
                           const QTextDocument& document) {
    const QTextBlockFormat format = block.blockFormat();
    out += "\\pard";
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter) {
        out += "\\qc";
    } else if (alignment & Qt::AlignJustify) {
        out += "\\qj";
    } else if (alignment & (Qt::AlignRight | Qt::AlignTrailing)) {
        out += "\\qr";
    } else {
        out += "\\ql";
    }
    double left = format.leftMargin() + format.indent() * document.indentWidth();
    double first = format.textIndent();
    if (const QTextList* list = block.textList()) {
        left += list->format().indent() * document.indentWidth();
        first = -std::min(static_cast<double>(listHangTwips) / twipsPerPixel, left);
    }
    out += "\\li" + QByteArray::number(toTwips(left));
    out += "\\ri" + QByteArray::number(toTwips(format.rightMargin()));
    out += "\\fi" + QByteArray::number(toTwips(first));
    out += "\\sb" + QByteArray::number(toTwips(format.topMargin()));
    out += "\\sa" + QByteArray::number(toTwips(format.bottomMargin()));
    out += ' ';
}

} // namespace

QString RtfWriter::fontTableName(const QString& family) {
    QString name;
    for (const QChar c : family) {
        if (c == QLatin1Char(';') || c == QLatin1Char('{') || c == QLatin1Char('}') ||
            c == QLatin1Char('\\')) {
            continue;
        }
        name += c.unicode() < 0x20 || c.isSpace() || c.category() == QChar::Other_Format ||
                        c.unicode() == 0x2011
                    ? QLatin1Char(' ')
                    : c;
    }
    return name.simplified();
}

QByteArray RtfWriter::write(const QTextDocument& document) {
    return writeCounted(document).bytes;
}

RtfWriter::Written RtfWriter::writeCounted(const QTextDocument& document) {
    Tables tables(document);
    Pictures pictures(document);
    QByteArray body;
    const auto writeBlock = [&tables, &pictures, &document](QByteArray& out,
                                                            const QTextBlock& block) {
        appendParagraphFormat(out, block, document);
        if (block.textList()) {
            out += '{';
            appendCharFormat(out, markerFormat(block), tables, document);
            appendEscaped(out, listMarker(block));
            out += "\\tab}";
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                for (qsizetype n = 0; n < fragment.length(); ++n) {
                    pictures.append(out, format.toImageFormat());
                }
                continue;
            }
            out += '{';
            appendCharFormat(out, format, tables, document);
            appendEscaped(out, fragment.text());
            out += '}';
        }
    };
    rtf::appendFrame(body, *document.rootFrame(), writeBlock,
                     [&tables](const QColor& color) { return tables.colorIndex(color); });

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (std::size_t i = 0; i < tables.fonts().size(); ++i) {
        out += "{\\f" + QByteArray::number(static_cast<qulonglong>(i)) + "\\fnil\\fcharset0 ";
        appendEscaped(out, tables.fonts()[i]);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (const QRgb rgb : tables.colors()) {
        out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" +
               QByteArray::number(qGreen(rgb)) + "\\blue" + QByteArray::number(qBlue(rgb)) + ';';
    }
    out += "}\n";
    out += body;
    out += "}\n";
    return {out, pictures.use()};
}

} // namespace Ionaria::exercises

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace Ionaria::testing {

// Rich-text files built to cost a reader the most that the format lets a
// file of a given size ask for: each repeats one piece until the size.
// The piece repeated, numbered where distinct pieces cost more than equal ones.
inline QByteArray repeatedUpTo(qsizetype size, const QByteArray& head,
                               const std::function<QByteArray(int)>& piece,
                               const QByteArray& tail = "}") {
    QByteArray out = head;
    out.reserve(size);
    for (int i = 0;; ++i) {
        const QByteArray next = piece(i);
        if (next.isEmpty() || out.size() + next.size() + tail.size() > size) {
            break;
        }
        out += next;
    }
    return out + tail;
}

inline QByteArray pngHex(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

// Every shape, each made on demand at size bytes; paragraphs is the
// reader's cap on paragraphs, for the text that stays just within it.
struct HostileShape {
    const char* name;
    std::function<QByteArray(qsizetype size, int paragraphs)> make;
};

inline std::vector<HostileShape> hostileRtfShapes() {
    static const QByteArray head = "{\\rtf1\\ansi ";
    const auto same = [](const char* piece) {
        return [piece](qsizetype size, int) {
            return repeatedUpTo(size, head, [piece](int) { return QByteArray(piece); });
        };
    };
    std::vector<HostileShape> shapes;
    shapes.push_back({"paragraph marks", same("\\par ")});
    shapes.push_back({"table rows", same("\\row ")});
    shapes.push_back({"line ends as paragraphs", same("\\\n")});
    shapes.push_back({"paragraphs of text up to the cap", [](qsizetype size, int paragraphs) {
                          const qsizetype length = size / paragraphs - 6;
                          return repeatedUpTo(size, head, [length, paragraphs](int i) {
                              return i >= paragraphs ? QByteArray()
                                                     : QByteArray(length, 'a') + "\\par ";
                          });
                      }});
    shapes.push_back(
        {"paragraphs of distinct formats up to the cap", [](qsizetype size, int paragraphs) {
             return repeatedUpTo(size, head, [paragraphs](int i) {
                 return i >= paragraphs ? QByteArray("{\\i x}")
                                        : "\\li" + QByteArray::number(i) + "\\sb" +
                                              QByteArray::number(i % 7) + " x\\par ";
             });
         }});
    shapes.push_back({"table cells", same("\\cell ")});
    shapes.push_back({"plain text", same("abcdefgh")});
    shapes.push_back({"unicode escapes", [](qsizetype size, int) {
                          return repeatedUpTo(size, head, [](int i) {
                              return "\\u" + QByteArray::number(0x4E00 + i % 20000) + "?";
                          });
                      }});
    shapes.push_back({"runs of distinct formats", [](qsizetype size, int) {
                          return repeatedUpTo(size, head, [](int i) {
                              return "{\\fs" + QByteArray::number(1 + i % 3000) + "\\cf" +
                                     QByteArray::number(i % 64) + (i % 2 ? "\\b" : "\\i") +
                                     (i % 3 ? "\\ul" : "\\strike") + " x}";
                          });
                      }});
    shapes.push_back({"font table", [](qsizetype size, int) {
                          return repeatedUpTo(
                              size, head + "{\\fonttbl",
                              [](int i) {
                                  return "{\\f" + QByteArray::number(i) + " F" +
                                         QByteArray::number(i) + ";}";
                              },
                              "}x}");
                      }});
    shapes.push_back({"text in many code pages", [](qsizetype size, int) {
                          return repeatedUpTo(size, head, [](int i) {
                              return "{\\fonttbl{\\f" + QByteArray::number(i) + "\\cpg" +
                                     QByteArray::number(i % 65536) + " F;}}\\f" +
                                     QByteArray::number(i) + " \\'e9";
                          });
                      }});
    shapes.push_back({"colour table", [](qsizetype size, int) {
                          return repeatedUpTo(
                              size, head + "{\\colortbl",
                              [](int i) { return "\\red" + QByteArray::number(i % 256) + ";"; },
                              "}x}");
                      }});
    shapes.push_back({"empty groups", same("{}")});
    shapes.push_back({"nesting", same("{")});
    shapes.push_back({"tiny pictures", [](qsizetype size, int) {
                          const QByteArray tiny = pngHex(1, 1);
                          return repeatedUpTo(size, head, [&tiny](int) {
                              return "{\\pict\\pngblip " + tiny + "}";
                          });
                      }});
    shapes.push_back({"large pictures", [](qsizetype size, int) {
                          const QByteArray large = pngHex(4096, 2048);
                          return repeatedUpTo(size, head, [&large](int) {
                              return "{\\pict\\pngblip " + large + "}";
                          });
                      }});
    return shapes;
}

} // namespace Ionaria::testing

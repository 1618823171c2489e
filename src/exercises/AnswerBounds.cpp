// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/AnswerBounds.h"

#include "exercises/RtfReader.h"

namespace Ionaria::exercises {

namespace {

static_assert(RtfReader::maxInputBytes == 2 * 1024 * 1024, "the messages give the size");
static_assert(RtfReader::maxParagraphs == 20000, "the messages give the count");
static_assert(RtfReader::maxPictures == 100, "the messages give the count");
static_assert(RtfReader::maxPictureSidePixels == 8192, "the messages give the side");
static_assert(RtfReader::maxFormatRuns == 10000 && RtfReader::maxTextFormatRuns == 50000,
              "the messages give the counts");

// What exceeds, and what to take out, as the two messages say it.
struct Reason {
    const char* exceeds;
    const char* remedy;
};

std::optional<Reason> reasonOf(AnswerBounds::Excess excess) {
    using Excess = AnswerBounds::Excess;
    switch (excess) {
    case Excess::None:
        return std::nullopt;
    case Excess::TooLarge:
        return Reason{"le fichier dépasserait 2 Mo",
                      "Retirer des images (ou en coller de plus petites) ou une partie du texte."};
    case Excess::TooManyParagraphs:
        return Reason{"le texte aurait plus de 20 000 paragraphes", "Retirer une partie du texte."};
    case Excess::TooManyPictures:
        return Reason{"le texte aurait plus de 100 images", "Retirer des images."};
    case Excess::TooManyPixels:
        return Reason{"les images seraient trop grandes ensemble",
                      "Retirer des images ou en coller de plus petites (copie de taille x1)."};
    case Excess::PictureTooWide:
        return Reason{"une image aurait plus de 8 192 points de côté",
                      "Retirer cette image ou en coller une plus petite."};
    case Excess::TooManyFormatRuns:
        return Reason{"le texte changerait trop souvent de mise en forme (plus de 10 000 fois "
                      "dans un paragraphe ou de 50 000 fois en tout)",
                      "Retirer la mise en forme d'une partie du texte."};
    }
    return std::nullopt;
}

} // namespace

AnswerBounds::Excess AnswerBounds::of(const RtfWriter::Written& written) {
    const RtfWriter::PictureUse& pictures = written.pictures;
    if (pictures.largestSide > RtfReader::maxPictureSidePixels) {
        return Excess::PictureTooWide;
    }
    if (pictures.count > RtfReader::maxPictures) {
        return Excess::TooManyPictures;
    }
    if (pictures.pixels > RtfReader::maxPicturePixels) {
        return Excess::TooManyPixels;
    }
    const RtfReader::Result checked = RtfReader::check(written.bytes);
    switch (checked.status) {
    case RtfReader::Status::Read:
        return checked.formatsKept ? Excess::None : Excess::TooManyFormatRuns;
    case RtfReader::Status::TooManyParagraphs:
        return Excess::TooManyParagraphs;
    case RtfReader::Status::TooLarge:
    case RtfReader::Status::NotRichText:
        break;
    }
    return Excess::TooLarge;
}

std::optional<ExerciseMessage> AnswerBounds::saveRefusal(Excess excess) {
    const auto reason = reasonOf(excess);
    if (!reason) {
        return std::nullopt;
    }
    return ExerciseMessage{ExerciseMessage::Icon::Critical, ExerciseMessage::Buttons::Ok,
                           "Enregistrement impossible",
                           std::string("Le texte n'est pas enregistré : ") + reason->exceeds +
                               " et la fenêtre exercice ne pourrait pas le rouvrir en entier.\n" +
                               reason->remedy + "\nL'ancien fichier reste tel qu'il était."};
}

std::optional<ExerciseMessage> AnswerBounds::pasteRefusal(Excess excess) {
    const auto reason = reasonOf(excess);
    if (!reason) {
        return std::nullopt;
    }
    return ExerciseMessage{ExerciseMessage::Icon::Critical, ExerciseMessage::Buttons::Ok,
                           "Image refusée",
                           std::string("L'image n'est pas collée : avec elle, ") + reason->exceeds +
                               " et le texte ne pourrait plus être enregistré puis rouvert en "
                               "entier.\n" +
                               reason->remedy};
}

} // namespace Ionaria::exercises

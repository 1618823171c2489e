// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/ExerciseMessage.h"

#include "exercises/RtfReader.h"

namespace Ionaria::exercises {

ExerciseMessage ExerciseMessage::cannotRead() {
    return {Icon::Critical, Buttons::Ok, "Lecture impossible",
            "Vérifier:\n- le nom du fichier,\n- l'état du lecteur."};
}

ExerciseMessage ExerciseMessage::fileMissing(const std::string& folder, const std::string& name) {
    return {Icon::Critical, Buttons::Ok, "Fichier absent",
            "Le fichier " + folder + name + " est introuvable"};
}

ExerciseMessage ExerciseMessage::installationIncomplete() {
    return {Icon::Critical, Buttons::Ok, "Fichier absent",
            "Fichier introuvable. Revoir l'installation du logiciel."};
}

ExerciseMessage ExerciseMessage::abandonEdits() {
    return {Icon::Question, Buttons::OkCancel, "Abandon des données?",
            "Attention: perte des modifications du texte."};
}

ExerciseMessage ExerciseMessage::textTooLarge(const std::string& name) {
    static_assert(RtfReader::maxInputBytes == 2 * 1024 * 1024, "the message gives the size");
    return {Icon::Critical, Buttons::Ok, "Texte trop volumineux",
            "Le fichier " + name +
                " dépasse 2 Mo : ce n'est pas un texte que la fenêtre exercice peut ouvrir."};
}

ExerciseMessage ExerciseMessage::textTooLong(const std::string& name) {
    static_assert(RtfReader::maxParagraphs == 20000, "the message gives the count");
    return {Icon::Critical, Buttons::Ok, "Texte trop long",
            "Le fichier " + name +
                " a plus de 20 000 paragraphes ou lignes de tableau : la fenêtre exercice ne "
                "peut pas l'ouvrir."};
}

ExerciseMessage ExerciseMessage::overwrite(const std::string& name) {
    return {Icon::Question, Buttons::OkCancel, "Ecraser le fichier?",
            "Le fichier " + name + " existe déjà.\nEcraser l'ancien?"};
}

} // namespace Ionaria::exercises

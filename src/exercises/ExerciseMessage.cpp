#include "exercises/ExerciseMessage.h"

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

ExerciseMessage ExerciseMessage::overwrite(const std::string& name) {
    return {Icon::Question, Buttons::OkCancel, "Ecraser le fichier?",
            "Le fichier " + name + " existe déjà.\nEcraser l'ancien?"};
}

} // namespace Ionaria::exercises

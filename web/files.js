// SPDX-License-Identifier: GPL-3.0-or-later
// Configurations opened from, and saved to, the user's own files, as the
// desktop's "Ouvrir" and "Enregistrer" do. The bytes go through the module's
// file system, so the desktop's reader and writer handle them: the page
// never reads nor writes a configuration itself.
"use strict";

const IonariaFiles = (() => {
  // FS: the module's file system; folder: where the session keeps the
  // user's files; loaded(name, message): after each opening, with the
  // refusal's text or an empty one.
  const install = ({ session, FS, folder, configurationPath, messageNoName, say, loaded }) => {
    FS.mkdirTree(folder);
    const baseName = (path) => path.slice(path.lastIndexOf("/") + 1);

    const dialog = document.getElementById("enregistrer-configuration");
    const typed = document.getElementById("nom-fichier");
    const refusal = document.getElementById("refus-enregistrement");
    const chooser = document.getElementById("fichier-ouvert");
    document.getElementById("ouvrir").addEventListener("click", () => {
      chooser.value = "";
      chooser.click();
    });
    chooser.addEventListener("change", async () => {
      const file = chooser.files[0];
      if (!file) return;
      // The name a user gave may hold anything; the module's copy takes a
      // name of its own, and the window shows the user's.
      const path = `${folder}/ouvert.C14`;
      FS.writeFile(path, new Uint8Array(await file.arrayBuffer()));
      const message = session.load(path);
      FS.unlink(path);
      // As on the desktop, the save proposes the name last opened or saved.
      if (!message) typed.value = file.name;
      loaded(file.name, message);
    });

    document.getElementById("enregistrer").addEventListener("click", () => {
      refusal.textContent = "";
      dialog.showModal();
      typed.select();
    });
    document.getElementById("annuler-enregistrement").addEventListener("click", () => dialog.close());
    dialog.addEventListener("submit", (event) => {
      event.preventDefault();
      const path = configurationPath(typed.value);
      if (!path) {
        refusal.textContent = messageNoName();
        typed.focus();
        return;
      }
      const failure = session.save(path);
      if (failure) {
        refusal.textContent = failure;
        return;
      }
      const bytes = FS.readFile(path);
      FS.unlink(path);
      const name = baseName(path);
      typed.value = name;
      dialog.close();
      const link = document.createElement("a");
      link.href = URL.createObjectURL(new Blob([bytes], { type: "application/octet-stream" }));
      link.download = name;
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href), 0);
      document.title = `Ionaria - ${name}`;
      say(`Configuration enregistrée sous ${name}.`);
    });
  };

  return { install };
})();

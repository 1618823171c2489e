// SPDX-License-Identifier: GPL-3.0-or-later
// The picture's commands in the browser, as the desktop window has them: the
// picture copied to the clipboard, saved as a PNG file, and "Imprimer" with
// a page title, the browser's print dialog then choosing the printer and the
// number of copies.
"use strict";

const IonariaCommands = (() => {
  const pictureBlob = (canvas) => new Promise((resolve, reject) => {
    canvas.toBlob((blob) => (blob ? resolve(blob) : reject(new Error("image vide"))), "image/png");
  });

  const install = (canvas, say) => {
    document.getElementById("copier").addEventListener("click", async () => {
      try {
        await navigator.clipboard.write([new ClipboardItem({ "image/png": pictureBlob(canvas) })]);
        say("Image copiée dans le presse-papiers.");
      } catch {
        say("Le navigateur n'a pas permis de copier l'image.");
      }
    });

    document.getElementById("enregistrer-image").addEventListener("click", async () => {
      const link = document.createElement("a");
      link.href = URL.createObjectURL(await pictureBlob(canvas));
      link.download = "ionaria.png";
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href), 0);
    });

    // The printed page: the title, bold, then the picture as shown, centred.
    const dialog = document.getElementById("confimp");
    const title = document.getElementById("Text1");
    const page = document.getElementById("impression");
    document.getElementById("imprimer").addEventListener("click", () => dialog.showModal());
    document.getElementById("annuler-impression").addEventListener("click", () => dialog.close());
    dialog.addEventListener("submit", (event) => {
      event.preventDefault();
      dialog.close();
      const heading = document.createElement("h1");
      heading.textContent = title.value;
      const image = new Image();
      image.alt = canvas.getAttribute("aria-label") ?? "";
      image.src = canvas.toDataURL("image/png");
      image.style.width = `${canvas.clientWidth}px`;
      page.replaceChildren(heading, image);
      image.decode().then(() => window.print(), () => window.print());
    });
  };

  return { install };
})();

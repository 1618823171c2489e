// SPDX-License-Identifier: GPL-3.0-or-later
// The window's panels in the page: the four tabbed pages of parameters, the
// hint line, "État du système" and the picture told in words. Every edit
// goes to the session's handlers, as the desktop's widgets call them, and
// the controls are then set again from what the engine holds, which may
// have refused or bounded the edit. Nothing here computes a value: the texts
// shown are the engine's own.
"use strict";

const IonariaPanels = (() => {
  // The desktop's hint line: what each control or page is for, shown when
  // the pointer is over it or it takes the focus.
  const hints = [
    ["#illustration", "Utiliser la boîte à onglets pour modifier les paramètres"],
    ["#Picture3", "Sélectionner le montage que vous souhaitez utiliser"],
    ["#Frame2", "Définir la nature et la masse de l'électrode G"],
    ["#Picture1", "Définir la nature et la masse de l'électrode D"],
    ["#Picaff", "Vous pouvez modifier les paramètres de l'animation"],
    ["#retour", "Retrouver l'état initial"],
    ["#marche", "Arrêter ou lancer l'animation"],
    ["#imprimer", "Pour configurer l'imprimante et imprimer l'image"],
    ["#copier", "Copier pour placer l'image dans le presse- papiers puis coller depuis Word, Paint..."],
    ["#etat", "Afficher l'état du système"],
    ["#courbes-ouvrir", "Tracer les mesures au cours du temps et les exporter"],
    ["#ouvrir", "Pour retrouver une situation enregistrée"],
    ["#enregistrer", "Pour conserver la configuration en cours"],
    ["#enregistrer-image", "Enregistrer l'image dans un fichier PNG"],
    ["a[href='exercices.html']", "Ouvrir un énoncé, enregistrer le texte, obtenir la correction, imprimer ou fermer."],
    ["a[href='calculatrice.html']", "Machine à calculer"],
    ["a[href='aide/index.html']", "Si vous rencontrez une difficulté avec cette application"],
  ];
  const welcome = "Vous pouvez modifier les paramètres,\nouvrir une configuration ou un exercice";

  // While a run goes on the words follow it every few seconds: a live
  // region is read aloud at each change, where the desktop's description
  // waits to be asked for.
  const describeEveryMs = 5000;

  // The picture's design size and the room the measures take above it, px.
  const pictureWidth = 417;
  const pictureHeight = 497 + 30;

  const $ = (id) => document.getElementById(id);

  const install = (session, { module, view, changed, fixedZoom }) => {
    const pending = new Set();
    const boxes = [...document.querySelectorAll("input.nombre")].map((box) => [Number(box.id.slice(6)), box]);
    const description = $("description");
    const refus = $("refus");
    const info = $("info");
    let describedAt = -Infinity;

    const fillList = (select, list) => {
      const shown = [...select.options].map((o) => o.text);
      if (JSON.stringify(shown) !== JSON.stringify(list.items)) {
        select.replaceChildren(...list.items.map((item) => new Option(item)));
      }
      select.selectedIndex = list.listIndex;
    };

    const describe = () => {
      describedAt = performance.now();
      const text = session.description();
      if (description.textContent !== text) description.textContent = text;
    };

    // The controls as the engine holds them; a box being typed in keeps
    // what is typed.
    const sync = () => {
      const c = session.controls();
      for (const [index, box] of boxes) {
        if (!(pending.has(index) && document.activeElement === box)) box.value = c.Text2[index];
      }
      fillList($("Combo1"), c.Combo1);
      fillList($("Combo2_0"), c.Combo2[0]);
      fillList($("Combo2_1"), c.Combo2[1]);
      for (const name of ["Pile", "Tension", "Courant"]) {
        document.querySelector(`input[name="Option2"][value="${name}"]`).checked = c.Option2 === module.Montage[name];
      }
      for (const option of document.querySelectorAll('input[name="Option1"]')) {
        option.checked = Number(option.value) === c.Option1;
      }
      for (const n of [1, 2, 3, 4]) $(`Check${n}`).checked = c[`Check${n}`] === 1;
      $("HScroll2").value = c.HScroll2;
      $("Text2_9").classList.toggle("grise", !session.stopBoxWhite());
      const pile = c.Option2 === module.Montage.Pile;
      $("solution-aqueuse").hidden = pile;
      $("conducteur").hidden = !pile;
      $("ligne-Check4").hidden = pile;
      for (const page of document.querySelectorAll(".electrode")) {
        const k = Number(page.dataset.electrode);
        page.querySelector(".demi-pile").hidden = !pile;
        const tag = Number(c.Combo2[k].tag);
        page.querySelector(".sel").textContent = module.halfCellSolutionTitle(tag);
      }
      for (const [n, montage] of [[1, module.Montage.Tension], [2, module.Montage.Courant]]) {
        const label = $(`Label${n}`);
        const arrows = $(`UpDown${n}`);
        label.value = c[`Label${n}`];
        label.classList.toggle("actif", c.Option2 === montage);
        arrows.value = c[`UpDown${n}`];
        arrows.disabled = c.Option2 !== montage;
        arrows.setAttribute("aria-valuetext", module.spokenMeasure(c[`Label${n}`]));
      }
      refus.textContent = session.refusal().join("\n");
      describe();
      changed();
    };

    // An edit through one of the session's handlers, then the controls again.
    const edit = (handler, ...args) => {
      session[handler](...args);
      sync();
    };

    for (const span of document.querySelectorAll("[data-etendue]")) {
      const [index, unit] = span.dataset.etendue.split(" ");
      span.textContent = module.text2RangeText(Number(index), unit);
    }
    for (const [id, min, max] of [["HScroll2", module.hScroll2Min, module.hScroll2Max],
      ["UpDown1", module.upDown1Min, module.upDown1Max], ["UpDown2", module.upDown2Min, module.upDown2Max]]) {
      Object.assign($(id), { min, max, step: 1 });
    }

    // The number boxes, as the desktop's: the focus taken, each key offered
    // to the handlers (which may refuse it or give another), the text
    // followed as it changes, then validated by Enter or on leaving.
    for (const [index, box] of boxes) {
      const typed = () => {
        pending.add(index);
        session.setText2(index, box.value);
      };
      box.addEventListener("focus", () => {
        pending.add(index);
        session.Text2_GotFocus(index);
      });
      box.addEventListener("input", typed);
      box.addEventListener("keydown", (event) => {
        if (event.ctrlKey || event.altKey || event.metaKey) return;
        if (event.key === "Enter") {
          event.preventDefault();
          if (session.Text2_KeyPress(index, module.keyEnter) === module.keyEnter) {
            pending.delete(index);
            sync();
            view.canvas.focus();
          }
        } else if (event.key === "Backspace") {
          if (session.Text2_KeyPress(index, module.keyBackspace) === 0) event.preventDefault();
        } else if ([...event.key].length === 1) {
          event.preventDefault();
          const accepted = session.Text2_KeyPress(index, event.key.codePointAt(0));
          if (accepted !== 0) {
            box.setRangeText(String.fromCodePoint(accepted), box.selectionStart, box.selectionEnd, "end");
            typed();
          }
        }
      });
      box.addEventListener("blur", () => {
        if (!pending.has(index)) return;
        pending.delete(index);
        session.Text2_LostFocus(index);
        sync();
      });
    }

    $("Combo1").addEventListener("change", (e) => edit("selectCombo1", e.target.selectedIndex));
    for (const k of [0, 1]) {
      $(`Combo2_${k}`).addEventListener("change", (e) => edit("selectCombo2", k, e.target.selectedIndex));
    }
    for (const option of document.querySelectorAll('input[name="Option2"]')) {
      option.addEventListener("change", () => {
        const montage = module.Montage[option.value];
        if (session.controls().Option2 !== montage) session.selectOption2(montage);
        sync();
      });
    }
    for (const option of document.querySelectorAll('input[name="Option1"]')) {
      option.addEventListener("change", () => {
        const scale = Number(option.value);
        if (session.controls().Option1 !== scale) session.selectOption1(scale);
        sync();
      });
    }
    for (const n of [1, 2, 3, 4]) {
      $(`Check${n}`).addEventListener("change", (e) => edit(`setCheck${n}`, e.target.checked ? 1 : 0));
    }
    for (const id of ["HScroll2", "UpDown1", "UpDown2"]) {
      $(id).addEventListener("input", (e) => edit(`set${id}`, Number(e.target.value)));
    }

    // The tab strip: one tab in the Tab order, the arrows, Home and End
    // going from one to another as the desktop's do.
    const tabs = [...document.querySelectorAll('#onglets [role="tab"]')];
    const choose = (tab, focus) => {
      for (const t of tabs) {
        const on = t === tab;
        t.setAttribute("aria-selected", String(on));
        t.tabIndex = on ? 0 : -1;
        $(t.getAttribute("aria-controls")).hidden = !on;
      }
      if (focus) tab.focus();
    };
    for (const tab of tabs) tab.addEventListener("click", () => choose(tab, true));
    $("onglets").addEventListener("keydown", (event) => {
      const at = tabs.indexOf(document.activeElement);
      const to = { ArrowLeft: at - 1, ArrowUp: at - 1, ArrowRight: at + 1, ArrowDown: at + 1,
        Home: 0, End: tabs.length - 1 }[event.key];
      if (at < 0 || to === undefined) return;
      event.preventDefault();
      choose(tabs[(to + tabs.length) % tabs.length], true);
    });

    // The hint line.
    info.textContent = welcome;
    const hintOf = (target) => {
      for (let e = target; e instanceof Element; e = e.parentElement) {
        const found = hints.find(([selector]) => e.matches(selector));
        if (found) return found[1];
      }
      return undefined;
    };
    const showHint = (event) => {
      const hint = hintOf(event.target);
      if (hint !== undefined && info.textContent !== hint) info.textContent = hint;
    };
    document.addEventListener("pointerover", showHint);
    document.addEventListener("focusin", showHint);

    // "État du système": the run paused, as the desktop's command does, and
    // the report's lines.
    const dialog = $("etat-systeme");
    $("etat").addEventListener("click", () => {
      if (session.running()) session.pauseMarche();
      $("etat-lignes").textContent = session.reportLines().join("\n");
      changed();
      dialog.showModal();
    });

    // The picture and the panels grow with the window, side by side on a
    // wide screen, one above the other on a screen held upright.
    const fit = () => {
      let zoom = view.zoom;
      if (!fixedZoom) {
        const upright = innerHeight > innerWidth;
        const width = upright ? innerWidth - 32 : innerWidth * 0.55;
        const height = upright ? innerHeight * 0.6 : innerHeight - 120;
        zoom = Math.min(width / pictureWidth, height / pictureHeight, 3);
        // Zoom 1 where it fits across, the picture's own pixels.
        if (innerWidth >= pictureWidth + 64) zoom = Math.max(zoom, 1);
        zoom = Math.round(zoom * 20) / 20;
        view.setZoom(zoom);
      }
      document.documentElement.style.setProperty("--zoom", String(zoom));
      changed();
    };
    addEventListener("resize", fit);
    fit();

    return {
      // After a configuration is loaded, the run reset or paused.
      refresh: sync,
      // After the picture is drawn again: the words follow a run now and then.
      drawn: (running) => {
        if (!running || performance.now() - describedAt >= describeEveryMs) describe();
      },
    };
  };

  return { install };
})();

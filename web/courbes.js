// SPDX-License-Identifier: GPL-3.0-or-later
// "Courbes" in the browser, as the desktop's window has it: the measurements
// of the run plotted against time, one plot a quantity under a shared time
// axis, the mass Faraday's law gives over each mass, the electrolyser's
// characteristic I = f(U) under them, the values read at a
// chosen time, the measurements exported in either CSV dialect and the plots
// as a PNG picture. The
// engine gives every number and every text: this file only lays them out.
// The plots are drawn by uPlot; the record is read again at most ten times a
// second while the dialog is open, and only when it changed.
"use strict";

const IonariaCourbes = (() => {
  const refreshMs = 100;
  const keyStep = 0.01; // of the time axis, per arrow key
  const shownQuantities = ["i", "mG", "mD"];
  // The drawing of a plot, px: the desktop's margins.
  const leftMargin = 84;
  const plotHeightMin = 110;
  const timeTitleHeight = 18;
  const colours = {
    i: "rgb(214,39,40)", U: "rgb(31,119,180)", mG: "rgb(44,160,44)", mD: "rgb(255,127,14)",
    "Cl-": "rgb(148,103,189)", "SO42-": "rgb(140,86,75)", "H+": "rgb(227,119,194)",
    "Fe2+": "rgb(102,102,0)", "Fe3+": "rgb(188,189,34)", "Na+": "rgb(23,190,207)",
    "Zn2+": "rgb(57,59,121)", "Al3+": "rgb(0,153,102)", "Cu2+": "rgb(0,102,204)",
    EG: "rgb(128,0,128)", ED: "rgb(204,85,0)",
  };
  const faradayColour = "rgb(170,0,170)";
  const eventColour = "rgb(110,110,110)";
  const gridColour = "rgb(225,225,225)";
  const font = '10px "Ionaria Liberation Sans", sans-serif';
  const titleFont = 'bold 11px "Ionaria Liberation Sans", sans-serif';
  const colourOf = (id) => colours[id.split(" ")[0]] ?? "rgb(0,0,0)";

  // The dialects of the export, the spreadsheet's first, as the desktop's
  // file dialog offers them.
  const dialects = [
    { value: "tableur", text: "Tableur (point-virgule, virgule décimale) (*.csv)" },
    { value: "csv", text: "CSV (virgule, point décimal) (*.csv)" },
  ];
  const csvName = "mesures.csv";
  const imageName = "courbes.png";
  const notWritten = "Ecriture impossible sur disque";

  const element = (tag, properties = {}, children = []) => {
    const e = Object.assign(document.createElement(tag), properties);
    e.append(...children);
    return e;
  };
  const checkbox = (id, text, checked, title) => {
    const box = element("input", { type: "checkbox", id, checked });
    if (title) box.title = title;
    return element("div", {}, [box, " ", element("label", { htmlFor: id, textContent: text })]);
  };

  // Two traces of different times as one table, each point kept, even two at
  // the same time; the other trace has a hole there, which its line spans.
  const merged = (ta, va, tb, vb) => {
    const n = ta.length + tb.length;
    const times = new Float64Array(n);
    const a = new Array(n).fill(null);
    const b = new Array(n).fill(null);
    for (let i = 0, j = 0, k = 0; k < n; ++k) {
      if (j >= tb.length || (i < ta.length && ta[i] <= tb[j])) {
        times[k] = ta[i];
        a[k] = va[i++];
      } else {
        times[k] = tb[j];
        b[k] = vb[j++];
      }
    }
    return [times, a, b];
  };

  const install = (session, dialog, opener) => {
    dialog.setAttribute("aria-labelledby", "courbes-titre");
    const boxes = element("fieldset", { id: "courbes-grandeurs" }, [element("legend", { textContent: "Grandeurs" })]);
    const faraday = checkbox("courbes-faraday", "Loi de Faraday", false,
      "Ajoute à chaque masse celle que prédit la loi de Faraday à partir du courant mesuré");
    const characteristic = checkbox("courbes-caracteristique", "Caractéristique I = f(U)", false,
      "Ajoute sous les courbes l'intensité selon la tension du générateur, de 0 à 10 V, "
      + "pour l'état présent de l'électrolyseur, avec son seuil");
    const time = element("input", { type: "number", id: "courbes-temps", min: "0", step: "1" });
    const unit = element("span", { id: "courbes-unite", textContent: "s" });
    const follow = checkbox("courbes-suivre", "Suivre la mesure", true,
      "Coché, la lecture suit la dernière mesure ; un temps tapé la fixe");
    const reading = element("div", { id: "courbes-lecture" });
    reading.setAttribute("role", "group");
    reading.setAttribute("aria-label", "Valeurs à l'instant choisi");
    const events = element("div", { id: "courbes-changements" });
    events.setAttribute("role", "group");
    events.setAttribute("aria-label", "Changements de réaction");
    const format = element("select", { id: "courbes-format" },
      dialects.map((d) => new Option(d.text, d.value)));
    const exporter = element("button", { type: "button", id: "courbes-exporter", textContent: "Exporter les mesures…" });
    const imageExporter = element("button", { type: "button", id: "courbes-image", textContent: "Exporter l'image…" });
    const close = element("button", { type: "button", id: "courbes-fermer", textContent: "Fermer" });
    close.setAttribute("aria-label", "Fermer la fenêtre Courbes");
    const notice = element("p", { id: "courbes-avis" });
    notice.setAttribute("role", "status");
    // The plots take the keyboard as the desktop's view does: the arrows,
    // Home and End move the time read.
    const traces = element("div", { id: "courbes-traces", tabIndex: 0 });
    traces.setAttribute("role", "slider");
    traces.setAttribute("aria-label", "Courbes des mesures");
    traces.setAttribute("aria-description",
      "Le pointeur ou les flèches gauche et droite choisissent le temps de lecture");
    const panel = element("div", { className: "courbes-panneau" }, [
      element("h2", { id: "courbes-titre", textContent: "Courbes" }),
      boxes, faraday, characteristic,
      element("div", {}, [element("label", { htmlFor: "courbes-temps", textContent: "Temps de lecture :" }), " ", time, " ", unit]),
      follow, reading, events,
      element("div", {}, [element("label", { htmlFor: "courbes-format", textContent: "Format des mesures :" }), " ", format]),
      element("div", {}, [exporter, " ", imageExporter, " ", close]),
      notice,
    ]);
    dialog.replaceChildren(element("div", { className: "courbes" }, [panel, traces]));
    const faradayBox = faraday.querySelector("input");
    const followBox = follow.querySelector("input");
    const characteristicBox = characteristic.querySelector("input");

    const chosen = new Map(shownQuantities.map((id) => [id, true]));
    let shownIds = "";
    let readSeconds = null; // null: the last measurement
    let axis = null;
    let plots = []; // { id, chart, data }
    let characteristicPlot = null; // { chart, curve }
    let drawnRevision = -1;
    let layoutKey = "";
    let timer = 0;
    let timeUnitSeconds = 1;

    const lastSeconds = () => session.recordLastSeconds();
    const linesInto = (container, lines) => {
      container.replaceChildren(...lines.map((line) => element("div", { textContent: line })));
    };
    const showReading = () => {
      const lines = session.courbesReading(readSeconds ?? -1, faradayBox.checked);
      linesInto(reading, lines);
      traces.setAttribute("aria-valuetext", lines[0]);
      traces.setAttribute("aria-valuemin", "0");
      traces.setAttribute("aria-valuemax", String(lastSeconds()));
      traces.setAttribute("aria-valuenow", String(readSeconds ?? lastSeconds()));
    };
    const showTime = () => {
      if (document.activeElement === time) return;
      time.step = timeUnitSeconds === 1 ? "1" : "0.1";
      time.max = session.courbesTimeValue(lastSeconds());
      time.value = session.courbesTimeValue(readSeconds ?? lastSeconds());
      unit.textContent = axis ? axis.unit : "s";
    };

    // The quantities' boxes, made again when the run's quantities change.
    const updateBoxes = () => {
      const quantities = session.courbesQuantities();
      const ids = quantities.map((q) => q.id).join("\n");
      if (ids === shownIds) return;
      shownIds = ids;
      boxes.replaceChildren(boxes.firstChild, ...quantities.map((q, k) => {
        const row = checkbox(`courbes-grandeur-${k}`, q.name, chosen.get(q.id) === true);
        row.querySelector("input").addEventListener("change", (event) => {
          chosen.set(q.id, event.target.checked);
          rebuild();
        });
        row.querySelector("input").dataset.grandeur = q.id;
        return row;
      }));
    };

    // Changes of reaction across every plot, labelled on the first; the
    // line of the time read across them all.
    const drawOver = (u, first) => {
      const ctx = u.ctx;
      const { left, top, width, height } = u.bbox;
      ctx.save();
      ctx.lineWidth = devicePixelRatio;
      ctx.strokeStyle = eventColour;
      ctx.setLineDash([4 * devicePixelRatio, 3 * devicePixelRatio]);
      ctx.font = font.replace("10px", `${10 * devicePixelRatio}px`);
      let labelRight = -Infinity;
      for (const e of session.courbesEvents()) {
        const x = u.valToPos(e.time, "x", true);
        ctx.beginPath();
        ctx.moveTo(x, top);
        ctx.lineTo(x, top + height);
        ctx.stroke();
        if (!first) continue;
        const w = ctx.measureText(e.text).width;
        let at = x + 3 * devicePixelRatio;
        if (at + w > left + width) at = Math.max(left, x - 3 * devicePixelRatio - w);
        const y = top + (at < labelRight ? 26 : 12) * devicePixelRatio;
        labelRight = at + w;
        ctx.fillStyle = "rgba(255,255,255,0.86)";
        ctx.fillRect(at - devicePixelRatio, y - 10 * devicePixelRatio, w + 2 * devicePixelRatio, 13 * devicePixelRatio);
        ctx.fillStyle = "rgb(60,60,60)";
        ctx.fillText(e.text, at, y);
      }
      if (readSeconds !== null) {
        const x = u.valToPos(readSeconds / timeUnitSeconds, "x", true);
        ctx.strokeStyle = "rgb(0,0,0)";
        ctx.setLineDash([devicePixelRatio, 2 * devicePixelRatio]);
        ctx.beginPath();
        ctx.moveTo(x, top);
        ctx.lineTo(x, top + height);
        ctx.stroke();
      }
      ctx.restore();
    };

    const readAt = (seconds) => {
      readSeconds = Math.min(Math.max(seconds, 0), lastSeconds());
      followBox.checked = false;
      showReading();
      showTime();
      for (const p of plots) p.chart.redraw(false, false);
    };

    const sizes = () => {
      const width = Math.max(300, traces.clientWidth);
      const n = Math.max(1, (plots.length || [...chosen.values()].filter(Boolean).length)
        + (characteristicBox.checked ? 1 : 0));
      const each = Math.max(plotHeightMin, (traces.clientHeight - timeTitleHeight) / n);
      return { width, each };
    };

    const dataOf = (p) => (p.loiTimes
      ? merged(p.times, p.values, p.loiTimes, p.loiValues)
      : [p.times, p.values]);

    // The plots of the quantities chosen, made again when the choice, the
    // law's overlay or the size changes.
    const rebuild = () => {
      for (const p of plots) p.chart.destroy();
      characteristicPlot?.chart.destroy();
      characteristicPlot = null;
      traces.replaceChildren();
      plots = [];
      axis = session.courbesTimeAxis();
      timeUnitSeconds = axis.seconds;
      const ids = shownIds.split("\n").filter((id) => chosen.get(id));
      const { width, each } = sizes();
      ids.forEach((id, k) => {
        const last = k === ids.length - 1;
        const plot = session.courbesPlot(id, width - leftMargin, faradayBox.checked);
        if (!plot) return;
        const state = { id, plot };
        const legend = element("div", { className: "courbes-legende" });
        if (plot.legend) {
          legend.append(element("span", { textContent: plot.name, style: `color:${colourOf(id)}` }));
          if (plot.loiName) legend.append(" ", element("span", { textContent: `– – ${plot.loiName}`, style: `color:${faradayColour}` }));
        }
        const holder = element("div", { className: "courbes-trace" }, [legend]);
        traces.append(holder);
        const series = [{}, { stroke: colourOf(id), width: 2, spanGaps: true, points: { show: false } }];
        if (plot.loiName) series.push({ stroke: faradayColour, width: 2, dash: [6, 4], spanGaps: true, points: { show: false } });
        state.chart = new uPlot({
          width,
          height: each + (last ? timeTitleHeight : 0),
          legend: { show: false },
          select: { show: false },
          cursor: { y: false, points: { show: false }, drag: { x: false, y: false } },
          scales: {
            x: { time: false, range: () => [axis.min, axis.max] },
            y: { range: () => [state.plot.min, state.plot.max] },
          },
          axes: [
            { scale: "x", font, labelFont: titleFont, grid: { stroke: gridColour, width: 1 },
              splits: () => axis.splits, values: () => axis.labels,
              label: last ? axis.title : undefined, labelSize: last ? timeTitleHeight : 0 },
            { scale: "y", font, labelFont: titleFont, size: leftMargin - 20, grid: { stroke: gridColour, width: 1 },
              splits: () => state.plot.splits, values: () => state.plot.labels, label: plot.title, labelSize: 20 },
          ],
          series,
          hooks: { draw: [(u) => drawOver(u, k === 0)] },
        }, dataOf(plot), holder);
        // The pointer over a plot reads the time under it.
        state.chart.over.addEventListener("mousemove", (event) => {
          readAt(Math.max(0, state.chart.posToVal(event.offsetX, "x")) * timeUnitSeconds);
        });
        plots.push(state);
      });
      if (characteristicBox.checked) addCharacteristic(width, each);
      drawnRevision = session.recordRevision();
      layoutKey = `${width}x${traces.clientHeight}`;
      linesInto(events, session.courbesEventLines());
      showReading();
      showTime();
    };

    // The characteristic of the present state under the curves, its
    // threshold dashed across it, both named in its legend; its own axis of
    // the generator's voltage.
    const addCharacteristic = (width, each) => {
      const state = { curve: session.courbesCharacteristic() };
      state.seuilName = element("span", { textContent: `– – ${state.curve.seuilName}`, style: `color:${eventColour}` });
      const legend = element("div", { className: "courbes-legende" }, [
        element("span", { textContent: state.curve.name, style: `color:${colourOf("i")}` }), " ", state.seuilName,
      ]);
      const holder = element("div", { className: "courbes-trace", id: "courbes-trace-caracteristique" }, [legend]);
      traces.append(holder);
      const threshold = (u) => {
        if (state.curve.seuil === null) return;
        const x = u.valToPos(state.curve.seuil, "x", true);
        const { top, height } = u.bbox;
        const ctx = u.ctx;
        ctx.save();
        ctx.strokeStyle = eventColour;
        ctx.lineWidth = 1.5 * devicePixelRatio;
        ctx.setLineDash([6 * devicePixelRatio, 3 * devicePixelRatio]);
        ctx.beginPath();
        ctx.moveTo(x, top);
        ctx.lineTo(x, top + height);
        ctx.stroke();
        ctx.restore();
      };
      state.chart = new uPlot({
        width,
        height: each + timeTitleHeight,
        legend: { show: false },
        select: { show: false },
        cursor: { show: false },
        scales: {
          x: { time: false, range: () => [state.curve.tension.min, state.curve.tension.max] },
          y: { range: () => [state.curve.intensite.min, state.curve.intensite.max] },
        },
        axes: [
          { scale: "x", font, labelFont: titleFont, grid: { stroke: gridColour, width: 1 },
            splits: () => state.curve.tension.splits, values: () => state.curve.tension.labels,
            label: state.curve.tension.title, labelSize: timeTitleHeight },
          { scale: "y", font, labelFont: titleFont, size: leftMargin - 20, grid: { stroke: gridColour, width: 1 },
            splits: () => state.curve.intensite.splits, values: () => state.curve.intensite.labels,
            label: state.curve.intensite.title, labelSize: 20 },
        ],
        series: [{}, { stroke: colourOf("i"), width: 2, points: { show: false } }],
        hooks: { draw: [threshold] },
      }, [state.curve.tensions, state.curve.intensites], holder);
      characteristicPlot = state;
    };

    // Reads the record again into the plots as they are.
    const reload = () => {
      drawnRevision = session.recordRevision();
      axis = session.courbesTimeAxis();
      timeUnitSeconds = axis.seconds;
      const { width } = sizes();
      for (const state of plots) {
        state.plot = session.courbesPlot(state.id, width - leftMargin, faradayBox.checked);
        const data = dataOf(state.plot);
        state.chart.batch(() => state.chart.setData(data));
      }
      if (characteristicPlot) {
        characteristicPlot.curve = session.courbesCharacteristic();
        characteristicPlot.seuilName.textContent = `– – ${characteristicPlot.curve.seuilName}`;
        characteristicPlot.chart.setData([characteristicPlot.curve.tensions, characteristicPlot.curve.intensites]);
      }
      linesInto(events, session.courbesEventLines());
      showReading();
      showTime();
    };

    // Draws again from the record when it changed since; returns whether it
    // did. A new quantity, a resize or a new unit on an axis makes the plots
    // again.
    const refresh = (force = false) => {
      updateBoxes();
      const size = `${Math.max(300, traces.clientWidth)}x${traces.clientHeight}`;
      const wanted = shownIds.split("\n").filter((id) => chosen.get(id)).join("\n");
      if (force || size !== layoutKey || wanted !== plots.map((p) => p.id).join("\n")) {
        rebuild();
        return true;
      }
      if (session.recordRevision() === drawnRevision) return false;
      const titles = () => [axis.title, ...plots.map((p) => p.plot.title)].join("\n");
      const before = titles();
      reload();
      if (titles() !== before) rebuild();
      return true;
    };

    faradayBox.addEventListener("change", () => refresh(true));
    characteristicBox.addEventListener("change", () => refresh(true));
    followBox.addEventListener("change", () => {
      if (followBox.checked) {
        readSeconds = null;
        showReading();
        showTime();
        for (const p of plots) p.chart.redraw(false, false);
      }
    });
    // A time typed is read on Enter or when the box is left, in the unit
    // the box shows.
    const typed = () => {
      const value = Number(time.value);
      if (time.value !== "" && Number.isFinite(value)) readAt(value * timeUnitSeconds);
    };
    time.addEventListener("change", typed);
    time.addEventListener("keydown", (event) => {
      if (event.key === "Enter") {
        event.preventDefault();
        typed();
      }
    });
    traces.addEventListener("keydown", (event) => {
      const span = Math.max(1, lastSeconds());
      const now = readSeconds ?? lastSeconds();
      const moves = { ArrowLeft: now - keyStep * span, ArrowRight: now + keyStep * span, Home: 0, End: span };
      if (event.key in moves) {
        event.preventDefault();
        readAt(moves[event.key]);
      }
    });

    exporter.addEventListener("click", () => {
      const bytes = session.measuresCsv(format.value === "tableur");
      const link = element("a", { href: URL.createObjectURL(new Blob([bytes], { type: "text/csv" })), download: csvName });
      link.click();
      setTimeout(() => URL.revokeObjectURL(link.href), 0);
      notice.textContent = `Mesures exportées dans « ${csvName} ».`;
    });
    imageExporter.addEventListener("click", () => {
      picture().toBlob((blob) => {
        if (!blob) {
          notice.textContent = `${notWritten} : ${imageName}`;
          return;
        }
        const link = element("a", { href: URL.createObjectURL(blob), download: imageName });
        link.click();
        setTimeout(() => URL.revokeObjectURL(link.href), 0);
        notice.textContent = `Image des courbes exportée dans « ${imageName} ».`;
      }, "image/png");
    });
    close.addEventListener("click", () => dialog.close());

    opener.addEventListener("click", () => {
      dialog.showModal();
      refresh(true);
      clearInterval(timer);
      timer = setInterval(() => refresh(), refreshMs);
    });
    dialog.addEventListener("close", () => clearInterval(timer));
    window.addEventListener("resize", () => { if (dialog.open) refresh(); });

    // The plots as they are laid out in the dialog, on white as the
    // desktop's picture: each plot's legend, then its canvas, which holds
    // its axes and their titles, at the canvases' own pixels.
    const picture = () => {
      const ratio = devicePixelRatio;
      const holders = [...traces.querySelectorAll(".courbes-trace")];
      const origin = holders.length ? holders[0].getBoundingClientRect() : { top: 0, left: 0 };
      const placed = (rect) => ({
        x: Math.round((rect.left - origin.left) * ratio), y: Math.round((rect.top - origin.top) * ratio),
      });
      const canvases = holders.map((holder) => holder.querySelector("canvas")).filter(Boolean)
        .map((canvas) => ({ canvas, at: placed(canvas.getBoundingClientRect()) }));
      const out = document.createElement("canvas");
      out.width = Math.max(1, ...canvases.map(({ canvas, at }) => at.x + canvas.width));
      out.height = Math.max(1, ...canvases.map(({ canvas, at }) => at.y + canvas.height));
      const ctx = out.getContext("2d");
      ctx.fillStyle = "rgb(255,255,255)";
      ctx.fillRect(0, 0, out.width, out.height);
      ctx.textBaseline = "alphabetic";
      for (const holder of holders) {
        const legend = holder.querySelector(".courbes-legende");
        for (const span of legend ? legend.querySelectorAll("span") : []) {
          const rect = span.getBoundingClientRect();
          const at = placed(rect);
          const style = getComputedStyle(span);
          ctx.font = `${parseFloat(style.fontSize) * ratio}px ${style.fontFamily}`;
          ctx.fillStyle = style.color;
          ctx.fillText(span.textContent, at.x, at.y + Math.round(rect.height * 0.8 * ratio));
        }
      }
      for (const { canvas, at } of canvases) ctx.drawImage(canvas, at.x, at.y);
      return out;
    };

    // The page's tests and measures: refresh, a time read, the plots read
    // again from the record, made again, the picture exported, the
    // characteristic drawn.
    // The characteristic's points as drawn, [tensions, intensites], or null
    // when it is not shown.
    const characteristicPoints = () => (characteristicPlot
      ? [Array.from(characteristicPlot.chart.data[0]), Array.from(characteristicPlot.chart.data[1])]
      : null);

    return { refresh, readAt, reload, rebuild, picture, characteristicPoints };
  };

  return { install };
})();

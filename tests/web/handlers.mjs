// SPDX-License-Identifier: GPL-3.0-or-later
// The WebAssembly session's handlers and state report against the desktop.
// For each row of edits, made through the session's handlers on a shipped
// configuration, the settings are saved by the session and run by the
// desktop's `ionaria --batch`: the session's own run must end on the same
// summary, or be refused with the same message. The state report's lines
// after each run, and after every shipped configuration's, must be those of
// `web_report_lines`, the desktop's report drawn on the same run's picture.
//   node tests/web/handlers.mjs DESKTOP_BUILD WEB_BUILD
import { spawnSync } from "node:child_process";
import { createRequire } from "node:module";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const top = path.resolve(here, "..", "..");
const [desktop, web] = process.argv.slice(2).map((p) => path.resolve(p));
if (!desktop || !web) {
  console.error("usage : node tests/web/handlers.mjs BUILD_BUREAU BUILD_WEB");
  process.exit(2);
}

const createSession = createRequire(import.meta.url)(path.join(web, "site", "ionaria_session.js"));
// The module's own loader would fetch the .wasm by URL, which Node's fetch
// refuses for a path: it is given the bytes.
const Module = await createSession({
  locateFile: (file) => path.join(web, "site", file),
  wasmBinary: fs.readFileSync(path.join(web, "site", "ionaria_session.wasm")),
});
// The picture's texts are measured roughly: the report's lines and the
// measures do not depend on their widths.
const measurer = {
  width: (face, text) => text.length * face.pixelSize * 0.5,
  ascent: (face) => Math.round(face.pixelSize * 0.9),
  height: (face) => Math.round(face.pixelSize * 1.15),
};

const work = fs.mkdtempSync(path.join(os.tmpdir(), "ionaria-handlers-"));
const env = { ...process.env, QT_QPA_PLATFORM: "offscreen" };
function desktopRun(program, file, seconds) {
  const r = spawnSync(path.join(desktop, program), ["--batch", file, "--seconds", String(seconds)],
    { env, encoding: "utf8" });
  if (r.error) throw r.error;
  return { status: r.status, out: r.stdout, err: r.stderr };
}
function configuration(name) {
  return `/configurations/${name}.C14`;
}

let failures = 0;
let checks = 0;
function expectEqual(what, got, wanted) {
  ++checks;
  const a = JSON.stringify(got);
  const b = JSON.stringify(wanted);
  if (a !== b) {
    ++failures;
    console.error(`ÉCHEC ${what}\n  session : ${a}\n  bureau  : ${b}`);
  }
}

// The session at the end of a batch run and the desktop's from the same
// settings: the session's settings saved to a real file for the desktop.
function compareRun(what, session, seconds) {
  const saved = `/tmp/${checks}.C14`;
  expectEqual(`${what} : enregistrement`, session.save(saved), "");
  const file = path.join(work, `${checks}.C14`);
  fs.writeFileSync(file, Module.FS.readFile(saved));
  const refusal = session.refusal();
  const batch = desktopRun("ionaria", file, seconds);
  if (refusal.length > 0) {
    expectEqual(`${what} : refus`, { status: batch.status, message: `${refusal.join("\n")}\n` },
      { status: 3, message: batch.err });
    return;
  }
  session.runAsBatch(seconds);
  expectEqual(`${what} : résumé`, { status: 0, summary: session.summary() },
    { status: batch.status, summary: batch.out });
  const lines = desktopRun(path.join("tests", "web", "web_report_lines"), file, seconds);
  const reported = session.reportLines();
  // The report always weighs both electrodes.
  expectEqual(`${what} : lignes de l'état du système`, reported.length >= 2, true);
  expectEqual(`${what} : état du système`, reported, lines.out.split("\n").slice(0, -1));
}

const K = Module;
// Each edit is a handler of the session and its arguments, as the panels
// call them; `refused` says whether the last edit leaves a refusal.
const rows = [
  { name: "volume typé puis validé", from: "electrolyse-chlorure-de-sodium", seconds: 120,
    edits: [["editText2", K.Text2Volume, "2,5"]], refused: false },
  { name: "concentration au-delà de la borne", from: "electrolyse-chlorure-de-sodium", seconds: 300,
    edits: [["editText2", K.Text2Concentration, "7"], ["setUpDown1", 60]], refused: false },
  { name: "saisie touche par touche", from: "electrolyse-chlorure-de-sodium", seconds: 200,
    edits: [["Text2_GotFocus", K.Text2MasseG], ["setText2", K.Text2MasseG, "0.5"],
      ["Text2_LostFocus", K.Text2MasseG]], refused: false },
  { name: "validation par Entrée", from: "pile-cuivre-zinc", seconds: 600,
    edits: [["Text2_GotFocus", K.Text2Resistance], ["setText2", K.Text2Resistance, "3"],
      ["Text2_KeyPress", K.Text2Resistance, K.keyEnter]], refused: false,
    // Below its range: the box no longer shows what was typed once validated.
    outOfRange: [K.Text2Resistance, "3"] },
  { name: "générateur de courant", from: "electrolyse-chlorure-de-sodium", seconds: 600,
    edits: [["selectOption2", K.Montage.Courant], ["setUpDown2", 150]], refused: false },
  { name: "tension hors bornes", from: "electrolyse-chlorure-de-sodium", seconds: 60,
    edits: [["setUpDown1", 1000]], refused: false },
  { name: "électrolyte et électrodes", from: "electrolyse-chlorure-de-sodium", seconds: 900,
    edits: [["selectCombo1", 6], ["selectCombo2", 0, 1], ["selectCombo2", 1, 3]], refused: false },
  { name: "acide et zinc", from: "electrolyse-chlorure-de-sodium", seconds: 60,
    edits: [["selectCombo1", 0], ["selectCombo2", 0, 4]], refused: true },
  { name: "refus levé par l'électrode", from: "electrolyse-chlorure-de-sodium", seconds: 60,
    edits: [["selectCombo1", 0], ["selectCombo2", 0, 4], ["selectCombo2", 0, 3]], refused: false },
  { name: "pile de concentration", from: "pile-cuivre-zinc", seconds: 60,
    edits: [["selectCombo2", 1, 1], ["editText2", K.Text2ConcentrationG, "0,01"]], refused: true },
  { name: "pile de concentration avec les potentiels", from: "pile-cuivre-zinc", seconds: 600,
    edits: [["selectCombo2", 1, 1], ["editText2", K.Text2ConcentrationG, "0,01"],
      ["setCheck3", 1]], refused: false },
  { name: "résistance et volumes", from: "pile-cuivre-zinc", seconds: 1200,
    edits: [["editText2", K.Text2Resistance, "12,345"], ["editText2", K.Text2VolumeG, "150"],
      ["editText2", K.Text2VolumeD, "1000"]], refused: false },
  { name: "surtension, arrêt programmé, vitesse, échelle", from: "electrolyse-chlorure-de-sodium",
    seconds: 3600, edits: [["setCheck4", 1], ["setCheck1", 1], ["editText2", K.Text2Arret, "1234"],
      ["setHScroll2", 50], ["selectOption1", 1], ["setCheck2", 1]], refused: false },
  { name: "montage de pile depuis l'électrolyse", from: "electrolyse-chlorure-de-sodium", seconds: 300,
    edits: [["selectOption2", K.Montage.Pile]], refused: false },
];

for (const row of rows) {
  const session = new Module.Session(measurer);
  expectEqual(`${row.name} : chargement`, session.load(configuration(row.from)), "");
  let refusal = [];
  for (const [handler, ...args] of row.edits) {
    const outcome = session[handler](...args);
    if (Array.isArray(outcome)) refusal = outcome;
  }
  expectEqual(`${row.name} : refusé`, refusal.length === 2, row.refused);
  if (row.outOfRange) {
    const [box, typed] = row.outOfRange;
    expectEqual(`${row.name} : validée`, session.controls().Text2[box] !== typed, true);
  }
  compareRun(row.name, session, row.seconds);
  session.delete();
}

for (const name of fs.readdirSync(path.join(top, "data", "configurations")).sort()) {
  if (!name.endsWith(".C14")) continue;
  for (const seconds of [1, 120, 3600]) {
    const session = new Module.Session(measurer);
    expectEqual(`${name} : chargement`, session.load(`/configurations/${name}`), "");
    compareRun(`${name}, ${seconds} s`, session, seconds);
    session.delete();
  }
}

fs.rmSync(work, { recursive: true, force: true });
console.log(`poignées et état du système : ${checks - failures}/${checks} vérifications réussies`);
process.exit(failures === 0 ? 0 : 1);

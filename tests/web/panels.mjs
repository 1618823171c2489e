// SPDX-License-Identifier: GPL-3.0-or-later
// The window's panels in the page (web/panels.js) against the desktop's
// handlers. Each row drives the page's own controls in headless chromium
// (clicks, keys typed in the boxes, lists, the tabs) on a shipped
// configuration, and names the same edits as the desktop's handlers take
// them; `web_panels_dump` (tests/web/PanelsDump.cpp) makes those edits
// natively. The session's controls, measures, refusal and the picture's
// description must be the desktop's; the page's controls must show what the
// session holds, a refusal the desktop's message over the picture (and to a
// screen reader), and the live region the desktop's description.
//   node tests/web/panels.mjs DESKTOP_BUILD WEB_BUILD
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { Failures, launchChromium, serveSite, top } from "./site.mjs";

const [desktop, web] = process.argv.slice(2).map((p) => path.resolve(p));
if (!desktop || !web) {
  console.error("usage : node tests/web/panels.mjs BUILD_BUREAU BUILD_WEB");
  process.exit(2);
}

// What a row does in the page, each step a function of the page, and the
// desktop's edits it stands for, some known only once the page is read
// (a check's state before its click, a range's bounds).
const tab = (n) => async (page) => page.click(`#onglet-${n}`);
const type = (id, text, end = "Tab") => async (page) => {
  await page.click(`#${id}`, { clickCount: 3 });
  await page.keyboard.type(text);
  await page.keyboard.press(end);
};
const choose = (id, index) => async (page) => {
  const value = await page.$eval(`#${id}`, (s, i) => s.options[i].value, index);
  await page.select(`#${id}`, value);
};
const click = (id) => async (page) => page.click(`#${id}`);
// A range moved by the keyboard to one end: Home or End.
const end = (id, key) => async (page) => {
  await page.focus(`#${id}`);
  await page.keyboard.press(key);
};
const bound = (id, which) => async (page) => page.$eval(`#${id}`, (r, w) => r[w], which);
const toggled = (id) => async (page) => page.$eval(`#${id}`, (c) => (c.checked ? 0 : 1));

const rows = [
  { name: "volume typé puis quitté", from: "electrolyse-chlorure-de-sodium",
    steps: [[type("Text2_1", "2,5"), "editText2:1:2,5"]] },
  { name: "concentration validée par Entrée", from: "electrolyse-chlorure-de-sodium",
    steps: [[type("Text2_0", "0,25", "Enter"), "editText2:0:0,25"]] },
  { name: "volume hors de sa plage", from: "electrolyse-chlorure-de-sodium",
    steps: [[type("Text2_1", "5000"), "editText2:1:5000"]] },
  { name: "électrolyte et électrodes", from: "electrolyse-chlorure-de-sodium",
    steps: [[choose("Combo1", 6), "selectCombo1:6"], [tab(2), null],
      [choose("Combo2_0", 1), "selectCombo2:0:1"], [tab(3), null],
      [choose("Combo2_1", 3), "selectCombo2:1:3"], [type("Text2_3", "0,5"), "editText2:3:0,5"]] },
  { name: "acide et zinc refusés", from: "electrolyse-chlorure-de-sodium", refused: true,
    steps: [[choose("Combo1", 0), "selectCombo1:0"], [tab(2), null],
      [choose("Combo2_0", 4), "selectCombo2:0:4"]] },
  { name: "générateur de courant au plus fort", from: "electrolyse-chlorure-de-sodium",
    steps: [[click("Option2_2"), "selectOption2:Courant"],
      [end("UpDown2", "End"), async (page) => `setUpDown2:${await bound("UpDown2", "max")(page)}`]] },
  { name: "générateur de tension au plus faible, surtension", from: "electrolyse-chlorure-de-sodium",
    steps: [[click("Option2_1"), "selectOption2:Tension"],
      [end("UpDown1", "Home"), async (page) => `setUpDown1:${await bound("UpDown1", "min")(page)}`],
      [click("Check4"), async (page) => `setCheck4:${await toggled("Check4")(page)}`]] },
  { name: "pile de concentration refusée", from: "pile-cuivre-zinc", refused: true,
    steps: [[tab(3), null], [choose("Combo2_1", 1), "selectCombo2:1:1"], [tab(2), null],
      [type("Text2_5", "0,01"), "editText2:5:0,01"]] },
  { name: "pile de concentration avec les potentiels", from: "pile-cuivre-zinc",
    steps: [[tab(3), null], [choose("Combo2_1", 1), "selectCombo2:1:1"], [tab(2), null],
      [type("Text2_5", "0,01"), "editText2:5:0,01"], [tab(1), null],
      [click("Check3"), async (page) => `setCheck3:${await toggled("Check3")(page)}`]] },
  { name: "résistance et volumes de la pile", from: "pile-cuivre-zinc",
    steps: [[type("Text2_4", "12,345"), "editText2:4:12,345"], [tab(2), null],
      [type("Text2_6", "150"), "editText2:6:150"], [tab(3), null],
      [type("Text2_8", "1000"), "editText2:8:1000"]] },
  { name: "animation : échelle, vitesse, arrêt programmé", from: "electrolyse-chlorure-de-sodium",
    steps: [[tab(4), null], [click("Option1_1"), "selectOption1:1"],
      [click("Check2"), async (page) => `setCheck2:${await toggled("Check2")(page)}`],
      [end("HScroll2", "Home"), async (page) => `setHScroll2:${await bound("HScroll2", "min")(page)}`],
      [type("Text2_9", "1234"), "editText2:9:1234"],
      [click("Check1"), async (page) => `setCheck1:${await toggled("Check1")(page)}`]] },
  { name: "cases cochées puis décochées", from: "electrolyse-chlorure-de-sodium",
    steps: [[click("Check4"), async (page) => `setCheck4:${await toggled("Check4")(page)}`],
      [click("Check4"), async (page) => `setCheck4:${await toggled("Check4")(page)}`],
      [tab(4), null], [click("Check1"), async (page) => `setCheck1:${await toggled("Check1")(page)}`],
      [click("Check1"), async (page) => `setCheck1:${await toggled("Check1")(page)}`]] },
  { name: "montage de pile depuis l'électrolyse", from: "electrolyse-chlorure-de-sodium",
    steps: [[click("Option2_0"), "selectOption2:Pile"]] },
  { name: "pile après dix minutes", from: "pile-cuivre-zinc", seconds: 600, steps: [] },
  { name: "électrolyse après une heure", from: "electrolyse-chlorure-de-sodium", seconds: 3600, steps: [] },
];

// The state as the dump writes it, read from the page's session and from
// what the page shows.
function pageState() {
  const s = window.ionariaView.session;
  const c = s.controls();
  const m = s.measures();
  const lines = c.Text2.map((t, i) => `Text2_${i}=${t}`);
  lines.push(`Combo1=${c.Combo1.listIndex}`, `Combo2_0=${c.Combo2[0].listIndex}`,
    `Combo2_1=${c.Combo2[1].listIndex}`, `Option1=${c.Option1}`, `Option2=${c.Option2.value}`);
  for (const n of [1, 2, 3, 4]) lines.push(`Check${n}=${c[`Check${n}`]}`);
  lines.push(`HScroll2=${c.HScroll2}`, `UpDown1=${c.UpDown1}`, `UpDown2=${c.UpDown2}`,
    `Label1=${c.Label1}`, `Label2=${c.Label2}`, `temps=${m.temps}`, `intensite=${m.intensite}`,
    `tension=${m.tension}`, `stopBoxWhite=${s.stopBoxWhite() ? 1 : 0}`, `refus=${s.refusal().join("\\n")}`,
    `description=${s.description().replaceAll("\n", "\\n")}`);
  // What the controls show, against the session.
  const $ = (id) => document.getElementById(id);
  const shown = [];
  const expect = (what, got, wanted) => {
    if (got !== wanted) shown.push(`${what} montre ${JSON.stringify(got)} au lieu de ${JSON.stringify(wanted)}`);
  };
  c.Text2.forEach((t, i) => expect(`Text2_${i}`, $(`Text2_${i}`).value, t));
  expect("Combo1", $("Combo1").selectedIndex, c.Combo1.listIndex);
  expect("Combo2_0", $("Combo2_0").selectedIndex, c.Combo2[0].listIndex);
  expect("Combo2_1", $("Combo2_1").selectedIndex, c.Combo2[1].listIndex);
  expect("Option2", document.querySelector('input[name="Option2"]:checked')?.id, `Option2_${c.Option2.value}`);
  expect("Option1", document.querySelector('input[name="Option1"]:checked')?.id, `Option1_${c.Option1}`);
  for (const n of [1, 2, 3, 4]) expect(`Check${n}`, $(`Check${n}`).checked, c[`Check${n}`] === 1);
  for (const id of ["HScroll2", "UpDown1", "UpDown2"]) expect(id, Number($(id).value), c[id]);
  expect("Text2_9 grisée", $("Text2_9").classList.contains("grise"), !s.stopBoxWhite());
  expect("Label1", $("Label1").value, c.Label1);
  expect("Label2", $("Label2").value, c.Label2);
  expect("refus", $("refus").textContent, s.refusal().join("\n"));
  expect("description", $("description").textContent, s.description());
  // The refusal is drawn over the picture by the engine's own drawing, as on
  // the desktop.
  const drawn = [...s.backgroundOps().texts, ...s.frameOps().texts];
  for (const line of s.refusal()) {
    if (!drawn.includes(line)) shown.push(`l'image ne montre pas « ${line} »`);
  }
  return { lines, shown, refusalShown: $("refus").textContent };
}

const failures = new Failures("ÉCHEC");
const work = fs.mkdtempSync(path.join(os.tmpdir(), "ionaria-panels-"));
const server = await serveSite(web);
const browser = await launchChromium();
const got = [];
try {
  const page = await browser.newPage();
  for (const row of rows) {
    const query = `configuration=${row.from}${row.seconds ? `&secondes=${row.seconds}` : ""}`;
    await page.goto(`${server.base}/index.html?${query}`);
    await page.waitForSelector("body[data-drawn]");
    // Edits made while the clock runs would meet ticks the desktop's do not;
    // a batch's run leaves the timer on, but the page ticks no more.
    failures.check(row.seconds || !(await page.evaluate(() => window.ionariaView.session.running())),
      `${row.name} : la configuration est en marche à son ouverture`);
    const edits = [`${path.join(top, "data", "configurations", row.from)}.C14`];
    if (row.seconds) edits.push(`batch:${row.seconds}`);
    for (const [step, edit] of row.steps) {
      // A check's state or a range's bound is read before the step.
      const named = typeof edit === "function" ? await edit(page) : edit;
      await step(page);
      if (named) edits.push(named);
    }
    const state = await page.evaluate(pageState);
    for (const problem of state.shown) failures.add(`${row.name} : ${problem}`);
    failures.check((state.refusalShown !== "") === Boolean(row.refused),
      `${row.name} : refus « ${state.refusalShown} »`);
    got.push({ row, edits, state });
  }
} catch (error) {
  failures.add(String(error));
} finally {
  await browser.close();
  server.stop();
}

const list = path.join(work, "rows.txt");
fs.writeFileSync(list, got.map((g) => g.edits.join(" ")).join("\n") + "\n");
const dumped = execFileSync(path.join(desktop, "tests", "web", "web_panels_dump"), [list],
  { encoding: "utf8", env: { ...process.env, QT_QPA_PLATFORM: "offscreen" } }).split("\n\n");
for (const [i, { row, edits, state }] of got.entries()) {
  const wanted = (dumped[i] ?? "").split("\n");
  for (const [k, line] of state.lines.entries()) {
    failures.check(line === wanted[k], `${row.name} (${edits.slice(1).join(" ")}) :\n  page   : ${line}\n  bureau : ${wanted[k]}`);
  }
}
fs.rmSync(work, { recursive: true, force: true });
failures.end(`panneaux : ${got.length} lignes de modifications, commandes, mesures, refus et description comme sur le bureau`);

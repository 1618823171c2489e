// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped exercises in the browser (build-web/site/exercices.html), in
// Debian's chromium, headless: every descriptor of data/exercices is listed;
// each statement and correction shows the text of its Markdown source, with
// a box for each "Votre réponse :" of the statement; "Voir la correction" is
// offered only for a corrected exercise; what the pupil types is in the page
// that "Enregistrer" downloads; and the exercise's configuration opens in the
// experiment's page.
//   node tests/web/exercises.mjs WEB_BUILD
// puppeteer-core comes from web/node_modules (npm ci in web/).
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { Failures, launchChromium, serveSite, top } from "./site.mjs";

if (process.argv.length !== 3) {
  console.error("usage : node tests/web/exercises.mjs BUILD_WEB");
  process.exit(2);
}
const data = path.join(top, "data", "exercices");

// The first heading of a text's source, its apostrophes typeset as pandoc
// does, and how many answers it asks for.
const source = (page) => {
  const md = fs.readFileSync(path.join(data, "sources", page.replace(/\.html$/, ".md")), "utf8");
  return { heading: md.match(/^# (.*)$/m)[1].replaceAll("'", "’"),
    answers: md.split("*Votre réponse :*").length - 1 };
};
const descriptors = fs.readdirSync(data).filter((n) => n.endsWith(".E37") || n === "KIVAR.PEM");

const server = await serveSite(process.argv[2]);
const { base, site } = server;

const failures = new Failures("ÉCHEC");
const check = (ok, what) => failures.check(ok, what);
const downloads = fs.mkdtempSync(path.join(os.tmpdir(), "ionaria-exercices-"));
const browser = await launchChromium();
try {
  const page = await browser.newPage();
  const cdp = await page.createCDPSession();
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });
  await page.goto(`${base}/exercices.html`);
  await page.waitForSelector("body[data-pret]");
  const index = JSON.parse(fs.readFileSync(path.join(site, "exercices", "index.json"), "utf8"));
  check(await page.$eval("body", (b) => Number(b.dataset.pret)) === descriptors.length,
    `la liste ne compte pas les ${descriptors.length} exercices livrés`);

  const shown = () => page.$eval("#texte", (t) => ({
    heading: t.querySelector("h1")?.textContent.replace(/\s+/g, " ").trim(),
    boxes: t.querySelectorAll("textarea").length,
    readOnly: [...t.querySelectorAll("textarea")].every((box) => box.readOnly),
  }));
  for (const [i, exercise] of index.entries()) {
    await page.goto(`${base}/exercices.html`);
    await page.waitForSelector("body[data-pret]");
    await page.click(`#liste li:nth-child(${i + 1}) button`);
    await page.waitForSelector(`body[data-ouvert="${exercise.descripteur}"]`);
    const statement = await shown();
    const expected = source(exercise.enonce);
    check(statement.heading === expected.heading,
      `${exercise.descripteur} : l'énoncé montre « ${statement.heading} »`);
    check(statement.boxes === expected.answers,
      `${exercise.descripteur} : ${statement.boxes} cases de réponse pour ${expected.answers} questions`);
    const offered = await page.$eval("#correction", (b) => !b.disabled);
    check(offered === exercise.corrige, `${exercise.descripteur} : « Voir la correction » mal proposé`);
    if (exercise.correction) {
      await page.click("#correction");
      await page.waitForFunction((h) => document.querySelector("#texte h1")?.textContent
        .replace(/\s+/g, " ").trim() === h, { timeout: 5000 }, source(exercise.correction).heading)
        .catch(() => failures.add(`${exercise.descripteur} : la correction ne s'affiche pas`));
      check((await shown()).readOnly, `${exercise.descripteur} : la correction se laisse modifier`);
    }
  }

  // An answer typed in the first box of an exercise goes into the page saved.
  const withAnswers = index.find((e) => source(e.enonce).answers > 0);
  await page.goto(`${base}/exercices.html?exercice=${encodeURIComponent(withAnswers.descripteur)}`);
  await page.waitForSelector("#texte textarea");
  const answer = "La cathode est G : Cu²⁺ + 2 e⁻ → Cu";
  await page.type("#reponse-1", answer);
  await page.click("#enregistrer");
  const saved = path.join(downloads, withAnswers.enonce.replace(/-enonce\.html$/, "-reponses.html"));
  for (let t = 0; t < 50 && !fs.existsSync(saved); ++t) await new Promise((r) => setTimeout(r, 100));
  const text = fs.existsSync(saved) ? fs.readFileSync(saved, "utf8") : "";
  check(text.includes(answer) && !text.includes("<textarea"),
    "la page enregistrée n'a pas la réponse tapée à la place de sa case");

  // Its configuration opens in the experiment's page, with no refusal.
  await page.goto(`${base}/exercices.html?exercice=${encodeURIComponent(withAnswers.descripteur)}`);
  await page.waitForSelector("#texte h1");
  await Promise.all([page.waitForNavigation(), page.click("#configuration")]);
  await page.waitForSelector("body[data-drawn]");
  const opened = await page.$eval("#configuration", (s) => s.value);
  check(opened === `/exercices/${withAnswers.configurationEnonce}`,
    `la page de l'expérience a chargé ${opened} et non la configuration de l'exercice`);
  check(await page.$eval("#message", (m) => m.textContent) === "",
    "la configuration de l'exercice est refusée");
} catch (error) {
  failures.add(String(error));
} finally {
  await browser.close();
  server.stop();
  fs.rmSync(downloads, { recursive: true, force: true });
}
failures.end(`exercices : ${descriptors.length} exercices, leurs textes, leurs réponses et leurs configurations`);

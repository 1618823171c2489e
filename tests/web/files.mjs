// SPDX-License-Identifier: GPL-3.0-or-later
// Configurations opened from, and saved to, the user's files in the
// experiment's page, in Debian's chromium, headless: for each case the page
// starts on a shipped configuration, opens a file with "Ouvrir" and saves
// with "Enregistrer". The refusal it shows and the file it downloads are the
// desktop's, byte for byte: web_config_resave does the same with the
// desktop's reader and writer. A saved file opened again saves the same
// bytes, and a name left empty is refused as on the desktop.
// Damaged files are opened as the desktop opens them, refused or not.
//   node tests/web/files.mjs DESKTOP_BUILD WEB_BUILD
// puppeteer-core comes from web/node_modules (npm ci in web/).
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { Failures, launchChromium, serveSite, top } from "./site.mjs";

if (process.argv.length !== 4) {
  console.error("usage : node tests/web/files.mjs BUILD BUILD_WEB");
  process.exit(2);
}
const resave = path.join(path.resolve(process.argv[2]), "tests", "web", "web_config_resave");
const server = await serveSite(process.argv[3]);
const failures = new Failures("ÉCHEC");
const work = fs.mkdtempSync(path.join(os.tmpdir(), "ionaria-fichiers-"));
const browser = await launchChromium();
// The page starts on the configurations of its list; the files opened are
// those and the exercises'.
const shipped = path.join(top, "data", "configurations");
const listed = (folder) => fs.readdirSync(folder).filter((n) => n.endsWith(".C14")).sort()
  .map((n) => path.join(folder, n));
const starts = listed(shipped).map((file) => path.basename(file));
const opened = [...listed(shipped), ...listed(path.join(top, "data", "exercices"))];
const first = starts[0];
const sample = fs.readFileSync(opened.at(-1));

// Files that are not whole configurations, each written into work/.
const damaged = [
  ["vide.C14", Buffer.alloc(0)],
  ["texte.C14", Buffer.from("Ceci n'est pas une configuration.\n")],
  // Cut after a record's first length byte, then after five whole records
  // and the start of a sixth: the records wholly past the end read as
  // empty texts, which the desktop takes as it takes them.
  ["coupe.C14", sample.subarray(0, 5 * 128 + 1)],
  ["tronque.C14", sample.subarray(0, 5 * 128 + 40)],
  // The signature kept, the montage's record holding a code no montage has.
  ["montage.C14", Buffer.concat([sample.subarray(0, 128), Buffer.from([1, 0, 0x39]),
                                 Buffer.alloc(125), sample.subarray(256)])],
].map(([name, bytes]) => {
  const file = path.join(work, name);
  fs.writeFileSync(file, bytes);
  return file;
});

// What the desktop shows for each file and then writes, after starting on
// START.
const desktop = (start, file) => {
  const out = path.join(work, "bureau.C14");
  fs.rmSync(out, { force: true });
  const said = execFileSync(resave, [out, path.join(shipped, start), file], { encoding: "utf8" });
  return { refusal: said.split("\n")[1], bytes: fs.readFileSync(out) };
};

// A download, whole: chromium gives it its name once it is written. Up to
// 20 s, for a loaded machine.
const waitForFile = async (file) => {
  for (let t = 0; t < 400; ++t) {
    if (fs.existsSync(file)) return fs.readFileSync(file);
    await new Promise((r) => setTimeout(r, 50));
  }
  return null;
};

// The page on START, FILE opened, then saved under TYPED: what it shows
// and what it downloads into its own folder.
const inPage = async (start, file, typed) => {
  const folder = fs.mkdtempSync(path.join(work, "page-"));
  const page = await browser.newPage();
  try {
    const cdp = await page.createCDPSession();
    await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: folder });
    await page.goto(`${server.base}/index.html?configuration=${start.replace(/\.C14$/, "")}`);
    await page.waitForSelector("body[data-drawn]");
    await page.waitForFunction(() => !document.getElementById("ouvrir").disabled);
    const input = await page.$("#fichier-ouvert");
    await input.uploadFile(file);
    await page.waitForFunction((name) => document.title.endsWith(name)
      || document.getElementById("message").textContent !== "", {}, path.basename(file));
    const shown = await page.evaluate(() => ({
      refusal: document.getElementById("message").textContent,
      title: document.title,
    }));
    await page.click("#enregistrer");
    shown.proposed = await page.$eval("#nom-fichier", (box) => box.value);
    await page.$eval("#nom-fichier", (box, text) => { box.value = text; }, typed);
    await page.click("#ok-enregistrement");
    const name = await page.$eval("#nom-fichier", (box) => box.value);
    const bytes = await waitForFile(path.join(folder, name));
    return { ...shown, name, bytes };
  } finally {
    await page.close();
  }
};

try {
  // Every shipped configuration opened from the user's files, then saved.
  for (const file of opened) {
    const name = path.basename(file);
    const expected = desktop(first, file);
    const got = await inPage(first, file, "essai");
    failures.check(got.refusal === "" && expected.refusal === "",
                   `${name} : refusé (« ${got.refusal} », bureau « ${expected.refusal} »)`);
    failures.check(got.title === `Ionaria - ${name}`, `${name} : titre « ${got.title} »`);
    failures.check(got.proposed === name, `${name} : « ${got.proposed} » proposé pour l'enregistrer`);
    failures.check(got.name === "essai.C14", `${name} : enregistré sous « ${got.name} »`);
    failures.check(got.bytes !== null && got.bytes.equals(expected.bytes),
                   `${name} : le fichier enregistré n'est pas celui du bureau`);
    // Round trip: the saved file opens and saves to the same bytes.
    if (got.bytes !== null) {
      const again = path.join(work, "relu.C14");
      fs.writeFileSync(again, got.bytes);
      const second = await inPage(first, again, "relu");
      failures.check(second.bytes !== null && second.bytes.equals(got.bytes),
                     `${name} : relu puis enregistré, le fichier change`);
    }
  }

  // Files damaged or foreign: the desktop's message or none, and the
  // settings the desktop keeps.
  const start = starts[1];
  let refused = 0;
  for (const file of damaged) {
    const expected = desktop(start, file);
    const got = await inPage(start, file, "apres-refus.txt");
    if (expected.refusal !== "") refused += 1;
    failures.check(got.refusal === expected.refusal,
                   `${path.basename(file)} : « ${got.refusal} » au lieu de « ${expected.refusal} »`);
    // A file opened, damaged or not, gives its name to the next save.
    const proposed = expected.refusal === "" ? path.basename(file) : "";
    failures.check(got.proposed === proposed, `${path.basename(file)} : « ${got.proposed} » proposé`);
    failures.check(got.name === "apres-refus.C14", `${path.basename(file)} : nom « ${got.name} »`);
    failures.check(got.bytes !== null && got.bytes.equals(expected.bytes),
                   `${path.basename(file)} : les réglages enregistrés ne sont pas ceux du bureau`);
  }

  failures.check(refused >= 3, `seuls ${refused} fichiers abîmés sont refusés par le bureau`);

  // A name of blanks is refused in the dialog, which stays open.
  const page = await browser.newPage();
  await page.goto(`${server.base}/index.html`);
  await page.waitForFunction(() => !document.getElementById("enregistrer").disabled);
  await page.click("#enregistrer");
  await page.$eval("#nom-fichier", (box) => { box.value = "   "; });
  await page.click("#ok-enregistrement");
  const blank = await page.evaluate(() => ({
    text: document.getElementById("refus-enregistrement").textContent,
    open: document.getElementById("enregistrer-configuration").open,
  }));
  failures.check(blank.text === "Enregistrement impossible : Il faut donner un nom au fichier!",
                 `nom vide : « ${blank.text} »`);
  failures.check(blank.open, "nom vide : la boîte se ferme");
  await page.close();
} finally {
  await browser.close();
  server.stop();
  fs.rmSync(work, { recursive: true, force: true });
}
failures.end(`Fichiers : ${opened.length} configurations ouvertes et enregistrées comme le `
             + `bureau, aller-retour compris ; ${damaged.length} fichiers abîmés ou étrangers traités de même, dont 3 refusés ou plus.`);

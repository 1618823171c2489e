// SPDX-License-Identifier: GPL-3.0-or-later
// "Courbes" in the page, in Debian's chromium, headless: after a run of a
// shipped configuration for some seconds, the measurements exported from the
// dialog in either dialect are, byte for byte, the CSV of the Node batch for
// the same configuration and seconds; the reading at a time typed in the
// dialog, with and without the law's overlay, is the desktop window's text;
// the dialog shows a plot for each quantity ticked, and the law's curve over
// a mass.
//   node tests/web/courbes.mjs DESKTOP_BUILD WEB_BUILD
// DESKTOP_BUILD holds tests/web/web_courbes_reading, WEB_BUILD
// ionaria_batch.js and the site; puppeteer-core comes from web/node_modules.
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { Failures, launchChromium, serveSite, top } from "./site.mjs";

if (process.argv.length !== 4) {
  console.error("usage : node tests/web/courbes.mjs DESKTOP_BUILD BUILD_WEB");
  process.exit(2);
}
const [desktop, web] = process.argv.slice(2).map((dir) => path.resolve(dir));
const server = await serveSite(web);
const failures = new Failures("ÉCHEC");
const work = fs.mkdtempSync(path.join(os.tmpdir(), "ionaria-courbes-"));
const browser = await launchChromium();

// Configuration, seconds of the run, times read (s; -1 the last measurement,
// each typed in the unit the dialog shows, and whole in it or a half of it):
// a deposit whose copper runs out (a change of reaction), a soluble anode,
// and the cell, whose concentrations are those of its half-cells.
const runs = [
  ["depot-de-cuivre", 2400, [-1, 0, 30, 1230, 2100, 99990]],
  ["anode-soluble-cuivre", 300, [-1, 150, 7]],
  ["pile-cuivre-zinc", 700, [-1, 90, 630]],
  ["electrolyse-chlorure-de-sodium", 60, [-1, 30]],
];

const batchCsv = (configuration, seconds, dialect) => {
  const out = path.join(work, `batch-${dialect}.csv`);
  execFileSync("node", [path.join(top, "web", "batch.mjs"),
    path.join(top, "data", "configurations", `${configuration}.C14`), "--seconds", String(seconds),
    "--csv", out, "--format-csv", dialect], { env: { ...process.env, IONARIA_WEB_BUILD: web }, stdio: "ignore" });
  return fs.readFileSync(out);
};

const desktopReadings = (configuration, seconds, faraday, times) => execFileSync(
  path.join(desktop, "tests", "web", "web_courbes_reading"),
  [path.join(top, "data", "configurations", `${configuration}.C14`), String(seconds), faraday ? "1" : "0",
    ...times.map(String)], { encoding: "utf8", stdio: ["ignore", "pipe", "pipe"] }).split("\n\n").slice(0, times.length);

// The file the page downloads, once it is whole.
const downloaded = async (name) => {
  const file = path.join(work, name);
  for (let t = 0; t < 100; ++t) {
    if (fs.existsSync(file) && !fs.existsSync(`${file}.crdownload`)) return fs.readFileSync(file);
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  return null;
};

let compared = 0;
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  const cdp = await page.createCDPSession();
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: work });
  for (const [configuration, seconds, times] of runs) {
    await page.goto(`${server.base}/index.html?configuration=${configuration}&secondes=${seconds}`);
    await page.waitForSelector("body[data-drawn]");
    await page.click("#courbes-ouvrir");
    await page.waitForSelector("dialog#courbes[open] #courbes-traces canvas");

    for (const dialect of ["tableur", "csv"]) {
      fs.rmSync(path.join(work, "mesures.csv"), { force: true });
      await page.select("#courbes-format", dialect);
      await page.click("#courbes-exporter");
      const bytes = await downloaded("mesures.csv");
      const expected = batchCsv(configuration, seconds, dialect);
      failures.check(bytes !== null && Buffer.compare(bytes, expected) === 0,
        `${configuration}, ${seconds} s, ${dialect} : l'export n'est pas le CSV du batch `
        + `(${bytes?.length} octets au lieu de ${expected.length})`);
      compared += 1;
    }
    const notice = await page.$eval("#courbes-avis", (e) => e.textContent);
    failures.check(notice === "Mesures exportées dans « mesures.csv ».", `${configuration} : avis « ${notice} »`);

    for (const faraday of [false, true]) {
      const expected = desktopReadings(configuration, seconds, faraday, times);
      const checked = await page.$eval("#courbes-faraday", (e) => e.checked);
      if (checked !== faraday) await page.click("#courbes-faraday");
      for (const [k, at] of times.entries()) {
        if (at < 0) {
          // Following the measurement again reads the last one.
          if (!(await page.$eval("#courbes-suivre", (e) => e.checked))) await page.click("#courbes-suivre");
        } else {
          await page.click("#courbes-temps", { clickCount: 3 });
          const unit = await page.$eval("#courbes-unite", (e) => e.textContent);
          const perUnit = { s: 1, min: 60, h: 3600 }[unit];
          await page.keyboard.type(String(at / perUnit));
          await page.keyboard.press("Enter");
        }
        const shown = await page.$$eval("#courbes-lecture > div", (all) => all.map((e) => e.textContent).join("\n"));
        failures.check(shown === expected[k],
          `${configuration}, lecture à ${at} s${faraday ? " avec la loi" : ""} :\n${shown}\n  au lieu de\n${expected[k]}`);
      }
    }

    // A plot a quantity ticked, the law's dashed curve drawn over the masses.
    const plots = await page.$$eval("#courbes-traces .uplot", (all) => all.length);
    const ticked = await page.$$eval("#courbes-grandeurs input:checked", (all) => all.length);
    failures.check(plots === ticked && plots > 0, `${configuration} : ${plots} tracés pour ${ticked} grandeurs cochées`);
    const legends = await page.$$eval("#courbes-traces .courbes-legende", (all) => all.map((e) => e.textContent).join(" | "));
    failures.check(legends.includes("m(G), loi de Faraday") && legends.includes("m(D), loi de Faraday"),
      `${configuration} : la loi de Faraday n'est pas tracée sur les masses (${legends})`);
    await page.click("#courbes-fermer");
    await page.waitForFunction(() => !document.getElementById("courbes").open);
  }
} catch (error) {
  failures.add(String(error));
} finally {
  await browser.close();
  server.stop();
  fs.rmSync(work, { recursive: true, force: true });
}
failures.end(`courbes : ${compared} exports identiques au batch sous Node, lectures identiques au bureau`);

// SPDX-License-Identifier: GPL-3.0-or-later
// "Courbes" in the page, in Debian's chromium, headless: after a run of a
// shipped configuration for some seconds, the measurements exported from the
// dialog in either dialect are, byte for byte, the CSV of the Node batch for
// the same configuration and seconds; the reading at a time typed in the
// dialog, with and without the law's overlay, is the desktop window's text;
// the dialog shows a plot for each quantity ticked, and the law's curve over
// a mass; the characteristic I = f(U) drawn under them has the points and
// the threshold of the desktop window's for the same run, or none for the
// cell, whose legend says so; the picture exported is a PNG of the plots stacked as the dialog
// lays them out, their pixels those of the dialog's canvases on white and the
// legends drawn above them.
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
// each typed in the unit the dialog shows, and whole in it or a half of it),
// device pixels per CSS pixel: a deposit whose copper runs out (a change of
// reaction), a soluble anode, and the cell, whose concentrations are those of
// its half-cells; a screen of twice the density once, whose picture has its
// canvases' finer pixels.
const runs = [
  ["depot-de-cuivre", 2400, [-1, 0, 30, 1230, 2100, 99990], 1],
  ["anode-soluble-cuivre", 300, [-1, 150, 7], 1],
  ["pile-cuivre-zinc", 700, [-1, 90, 630], 1],
  ["electrolyse-chlorure-de-sodium", 60, [-1, 30], 2],
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

// The characteristic the desktop's window draws at the end of the run:
// {seuil, points: [tensions, intensites]}, or null for the cell.
const desktopCharacteristic = (configuration, seconds) => {
  const [, text] = execFileSync(path.join(desktop, "tests", "web", "web_courbes_reading"),
    [path.join(top, "data", "configurations", `${configuration}.C14`), String(seconds), "0", "-1"],
    { encoding: "utf8", stdio: ["ignore", "pipe", "pipe"] }).split("\n\n");
  if (!text.trim()) return null;
  const [seuil, , ...rows] = text.split("\n");
  const points = rows.map((row) => row.split(",").map(Number));
  return { seuil, points: [points.map((p) => p[0]), points.map((p) => p[1])] };
};

// The file the page downloads, once it is whole.
const downloaded = async (name) => {
  const file = path.join(work, name);
  for (let t = 0; t < 100; ++t) {
    if (fs.existsSync(file) && !fs.existsSync(`${file}.crdownload`)) return fs.readFileSync(file);
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  return null;
};

// The width and height a PNG's header gives, or null when it is not a PNG.
const pngSize = (bytes) => {
  const signature = Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
  if (!bytes || bytes.length < 24 || !bytes.subarray(0, 8).equals(signature)
      || bytes.toString("latin1", 12, 16) !== "IHDR") return null;
  return { width: bytes.readUInt32BE(16), height: bytes.readUInt32BE(20) };
};

// The picture decoded in the page and set against the dialog's canvases, each
// over white at the place the dialog shows it: the pixels that differ by more
// than rounding, the share of pixels not white, and how many legends have ink
// in the band above their plot.
const pictureAgainstDialog = (page, bytes) => page.evaluate(async (base64) => {
  const image = await createImageBitmap(new Blob([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))]));
  const whole = new OffscreenCanvas(image.width, image.height).getContext("2d");
  whole.drawImage(image, 0, 0);
  const shot = whole.getImageData(0, 0, image.width, image.height).data;
  const ratio = devicePixelRatio;
  const holders = [...document.querySelectorAll("#courbes-traces .courbes-trace")];
  const origin = holders[0].getBoundingClientRect();
  let differing = 0;
  let inkedLegends = 0;
  let bottom = 0;
  let width = 0;
  for (const holder of holders) {
    const canvas = holder.querySelector("canvas");
    const rect = canvas.getBoundingClientRect();
    const x0 = Math.round((rect.left - origin.left) * ratio);
    const y0 = Math.round((rect.top - origin.top) * ratio);
    bottom = Math.max(bottom, y0 + canvas.height);
    width = Math.max(width, x0 + canvas.width);
    const own = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
    for (let y = 0; y < canvas.height; ++y) {
      for (let x = 0; x < canvas.width; ++x) {
        const a = (y * canvas.width + x) * 4;
        const b = ((y0 + y) * image.width + x0 + x) * 4;
        for (let c = 0; c < 3; ++c) {
          const overWhite = (own[a + c] * own[a + 3] + 255 * (255 - own[a + 3])) / 255;
          if (Math.abs(shot[b + c] - overWhite) > 2) {
            differing += 1;
            break;
          }
        }
      }
    }
    const legendTop = Math.round((holder.getBoundingClientRect().top - origin.top) * ratio);
    let ink = false;
    for (let k = legendTop * image.width * 4; k < y0 * image.width * 4 && !ink; k += 4) {
      ink = shot[k] < 200 || shot[k + 1] < 200 || shot[k + 2] < 200;
    }
    if (ink) inkedLegends += 1;
  }
  let notWhite = 0;
  for (let k = 0; k < shot.length; k += 4) {
    if (shot[k] !== 255 || shot[k + 1] !== 255 || shot[k + 2] !== 255) notWhite += 1;
  }
  return {
    differing, inkedLegends, notWhiteShare: notWhite / (image.width * image.height), width, height: bottom,
    legends: holders.filter((h) => h.querySelector(".courbes-legende span")).length,
  };
}, bytes.toString("base64"));

let compared = 0;
let pictures = 0;
let characteristics = 0;
try {
  const page = await browser.newPage();
  const cdp = await page.createCDPSession();
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: work });
  for (const [configuration, seconds, times, scale] of runs) {
    await page.setViewport({ width: 1280, height: 900, deviceScaleFactor: scale });
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

    // The characteristic of the run's end, as the desktop's window draws it.
    await page.click("#courbes-caracteristique");
    const drawn = await page.evaluate(() => window.ionariaCourbes.characteristicPoints());
    const expected = desktopCharacteristic(configuration, seconds);
    const seuil = await page.$eval("#courbes-trace-caracteristique .courbes-legende", (e) => e.textContent);
    if (expected === null) {
      failures.check(drawn !== null && drawn[0].length === 0 && seuil.endsWith("– – pas de caractéristique pour la pile"),
        `${configuration} : la pile a une caractéristique (${drawn?.[0].length} points, « ${seuil} »)`);
    } else {
      const same = drawn !== null && drawn[0].length === expected.points[0].length
        && drawn.every((values, k) => values.every((v, n) => Object.is(v, expected.points[k][n])));
      failures.check(same && expected.points[0].length > 100, `${configuration} : caractéristique de `
        + `${drawn?.[0].length} points, pas les ${expected.points[0].length} du bureau`);
      failures.check(seuil === `Caractéristique I = f(U) – – ${expected.seuil}`,
        `${configuration} : légende de la caractéristique « ${seuil} », seuil du bureau « ${expected.seuil} »`);
      characteristics += 1;
    }

    // The picture, with the law's curves, a time read and the characteristic
    // drawn.
    fs.rmSync(path.join(work, "courbes.png"), { force: true });
    await page.click("#courbes-image");
    const png = await downloaded("courbes.png");
    const size = pngSize(png);
    failures.check(size !== null, `${configuration} : « courbes.png » n'est pas une image PNG`);
    if (size) {
      const seen = await pictureAgainstDialog(page, png);
      failures.check(size.width === seen.width && size.height === seen.height,
        `${configuration} : image de ${size.width}x${size.height} px au lieu de ${seen.width}x${seen.height}`);
      failures.check(seen.differing === 0, `${configuration} : ${seen.differing} pixels de l'image diffèrent des tracés`);
      failures.check(seen.notWhiteShare > 0.01, `${configuration} : image blanche (${seen.notWhiteShare} non blanc)`);
      failures.check(seen.legends > 0 && seen.inkedLegends === seen.legends,
        `${configuration} : ${seen.inkedLegends} légendes dessinées sur ${seen.legends}`);
      pictures += 1;
    }
    const told = await page.$eval("#courbes-avis", (e) => e.textContent);
    failures.check(told === "Image des courbes exportée dans « courbes.png ».", `${configuration} : avis « ${told} »`);
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
failures.end(`courbes : ${compared} exports identiques au batch sous Node, lectures identiques au bureau, `
  + `${characteristics} caractéristiques identiques au bureau, ${pictures} images PNG conformes aux tracés`);

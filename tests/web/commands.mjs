// SPDX-License-Identifier: GPL-3.0-or-later
// The picture's commands of the experiment's page, in Debian's chromium,
// headless: the PNG saved and the image copied to the clipboard hold the
// canvas's pixels, and "Imprimer" prints one page with the title typed and
// the picture (the page printed to PDF, read back by pdftotext and pdfinfo).
//   node tests/web/commands.mjs WEB_BUILD
// puppeteer-core comes from web/node_modules (npm ci in web/).
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { Failures, launchChromium, serveSite } from "./site.mjs";

if (process.argv.length !== 3) {
  console.error("usage : node tests/web/commands.mjs BUILD_WEB");
  process.exit(2);
}
const server = await serveSite(process.argv[2]);
const failures = new Failures("ÉCHEC");
const work = fs.mkdtempSync(path.join(os.tmpdir(), "ionaria-commandes-"));
const browser = await launchChromium();

// How many pixels of a PNG, given as bytes in base64, differ from the canvas's.
const differences = (page, base64) => page.evaluate(async (data) => {
  const canvas = document.getElementById("illustration");
  const image = new Image();
  image.src = `data:image/png;base64,${data}`;
  await image.decode();
  if (image.width !== canvas.width || image.height !== canvas.height) return -1;
  const copy = new OffscreenCanvas(image.width, image.height).getContext("2d");
  copy.drawImage(image, 0, 0);
  const a = copy.getImageData(0, 0, image.width, image.height).data;
  const b = canvas.getContext("2d").getImageData(0, 0, image.width, image.height).data;
  let count = 0;
  for (let i = 0; i < a.length; i += 4) {
    if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) count += 1;
  }
  return count;
}, base64);

try {
  const page = await browser.newPage();
  const cdp = await page.createCDPSession();
  await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: work });
  await browser.defaultBrowserContext().overridePermissions(server.base,
    ["clipboard-read", "clipboard-write", "clipboard-sanitized-write"]);
  await page.goto(`${server.base}/index.html?configuration=electrolyse-chlorure-de-sodium&secondes=60`);
  await page.waitForSelector("body[data-drawn]");

  await page.click("#enregistrer-image");
  const png = path.join(work, "ionaria.png");
  for (let t = 0; t < 50 && !fs.existsSync(png); ++t) await new Promise((r) => setTimeout(r, 100));
  const saved = fs.existsSync(png) ? await differences(page, fs.readFileSync(png).toString("base64")) : -2;
  failures.check(saved === 0, `le PNG enregistré n'est pas l'image (${saved})`);

  await page.click("#copier");
  await page.waitForFunction(() => document.getElementById("avis").textContent !== "");
  const copied = await page.evaluate(async () => {
    const [item] = await navigator.clipboard.read();
    const blob = await item.getType("image/png");
    const bytes = new Uint8Array(await blob.arrayBuffer());
    let text = "";
    for (const byte of bytes) text += String.fromCharCode(byte);
    return btoa(text);
  }).catch((error) => String(error));
  const inClipboard = copied.startsWith("iVBOR") ? await differences(page, copied) : copied;
  failures.check(inClipboard === 0, `l'image du presse-papiers n'est pas l'image (${inClipboard})`);

  const title = "TP électrolyse – groupe 2";
  await page.evaluate(() => {
    window.print = () => { document.body.dataset.imprime = "1"; };
  });
  await page.click("#imprimer");
  await page.click("#Text1", { clickCount: 3 });
  await page.keyboard.type(title);
  await page.click("#ok-impression");
  await page.waitForSelector("body[data-imprime]");
  const pdf = path.join(work, "impression.pdf");
  await page.pdf({ path: pdf, format: "A4" });
  const text = execFileSync("pdftotext", [pdf, "-"], { encoding: "utf8" });
  const pages = execFileSync("pdfinfo", [pdf], { encoding: "utf8" }).match(/^Pages:\s+(\d+)/m)?.[1];
  failures.check(pages === "1", `l'impression tient sur ${pages} pages`);
  failures.check(text.includes(title), `la page imprimée n'a pas le titre : ${JSON.stringify(text.slice(0, 200))}`);
  failures.check(!text.includes("Copier l'image"), "la page imprimée montre les commandes de la fenêtre");
  const printed = await page.$eval("#impression img", (img) => img.src.split(",")[1]);
  const inPrint = await differences(page, printed);
  failures.check(inPrint === 0, `l'image imprimée n'est pas l'image (${inPrint})`);
} catch (error) {
  failures.add(String(error));
} finally {
  await browser.close();
  server.stop();
  fs.rmSync(work, { recursive: true, force: true });
}
failures.end("commandes de l'image : PNG, presse-papiers et impression avec son titre");

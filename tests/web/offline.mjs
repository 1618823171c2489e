// SPDX-License-Identifier: GPL-3.0-or-later
// The site once opened works with no network, and can be installed as an
// app: the page (build-web/site/index.html) is opened once from a local
// server in Debian's chromium, headless; then the server is stopped, and the
// page, opened again by its address and by its folder's, still draws the
// experiment and runs it. Chromium itself must find nothing that keeps the
// site from being installed.
//   node tests/web/offline.mjs WEB_BUILD
// puppeteer-core comes from web/node_modules (npm ci in web/).
import { Failures, launchChromium, serveSite } from "./site.mjs";

if (process.argv.length !== 3) {
  console.error("usage : node tests/web/offline.mjs BUILD_WEB");
  process.exit(2);
}
const server = await serveSite(process.argv[2]);
const base = server.base;

const failures = new Failures("ÉCHEC");
const check = (ok, what) => failures.check(ok, what);

// Started with "Pause / Marche", the clock of the strip moves: the
// experiment runs, not only its first frame.
const runs = (page) => page.click("#marche").then(() => page.evaluate(async () => {
  const clock = document.getElementById("temps");
  const first = clock.value;
  for (let i = 0; i < 50 && clock.value === first; ++i) {
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  return clock.value !== first;
}));

// Some pixel of the picture is not the page's white.
const drawn = (page) => page.evaluate(() => {
  const picture = document.getElementById("illustration");
  const pixels = picture.getContext("2d").getImageData(0, 0, picture.width, picture.height).data;
  for (let i = 0; i < pixels.length; i += 4) {
    if (pixels[i] !== 255 || pixels[i + 1] !== 255 || pixels[i + 2] !== 255) return true;
  }
  return false;
});

const browser = await launchChromium();
let summary = "";
try {
  const page = await browser.newPage();
  const address = `${base}/index.html?configuration=electrolyse-chlorure-de-sodium`;
  await page.goto(address);
  await page.waitForSelector("body[data-drawn]");
  const kept = await page.evaluate(async () => {
    const late = new Promise((resolve, reject) => {
      setTimeout(() => reject(new Error("aucun service worker ne tient la page après 20 s")), 20000);
    });
    await Promise.race([navigator.serviceWorker.ready, late]);
    if (!navigator.serviceWorker.controller) {
      await Promise.race([late, new Promise((resolve) => {
        navigator.serviceWorker.addEventListener("controllerchange", resolve);
      })]);
    }
    const names = await caches.keys();
    const cache = await caches.open(names.find((name) => name.startsWith("ionaria-")));
    return (await cache.keys()).map((request) => new URL(request.url).pathname);
  });
  for (const file of ["/index.html", "/picture.js", "/ionaria_session.wasm", "/ionaria_session.data",
    "/fonts/LiberationSans-Regular.ttf", "/manifest.webmanifest"]) {
    check(kept.includes(file), `${file} n'est pas gardé pour le mode hors ligne`);
  }

  const cdp = await page.createCDPSession();
  const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
  check(installabilityErrors.length === 0,
    `chromium refuse d'installer le site : ${JSON.stringify(installabilityErrors)}`);

  server.stop();
  const servedOnline = server.served();
  const cut = await page.evaluate(() => fetch("absent-du-site.txt").then(() => false, () => true));
  check(cut, "le serveur répond encore : le réseau n'est pas coupé");

  for (const offline of [address, `${base}/`]) {
    await page.goto(offline);
    await page.waitForSelector("body[data-drawn]", { timeout: 15000 });
    check(await drawn(page), `${offline} hors ligne : l'image est blanche`);
    check(await runs(page), `${offline} hors ligne : l'expérience ne s'anime pas`);
  }
  check(server.served() === servedOnline, "une page hors ligne a encore demandé le serveur");
  summary = `hors ligne : ${kept.length} fichiers gardés, la page s'ouvre et s'anime sans réseau`;
} catch (error) {
  failures.add(String(error));
} finally {
  await browser.close();
  server.stop();
}
failures.end(summary);

// SPDX-License-Identifier: GPL-3.0-or-later
// How long "Courbes" takes to draw again a 100-hour record, in Debian's
// chromium, headless: the page runs a configuration for 360 000 simulated
// seconds as the batch does, opens the dialog, then reads the record into
// its plots again and draws them, many times; it prints the median and the
// slowest, for the quantities shown at first with the law's overlay and for
// every quantity of the run. The sodium chloride electrolysis, the default,
// runs the whole 100 hours; the others stop sooner. A measurement, not a
// check: it fails only when the page cannot be driven.
//   node bench/web/courbes.mjs WEB_BUILD [CONFIGURATION]
// puppeteer-core comes from web/node_modules (npm ci in web/).
import { launchChromium, serveSite } from "../../tests/web/site.mjs";

if (process.argv.length < 3 || process.argv.length > 4) {
  console.error("usage : node bench/web/courbes.mjs BUILD_WEB [CONFIGURATION]");
  process.exit(2);
}
const configuration = process.argv[3] ?? "electrolyse-chlorure-de-sodium";
const seconds = 360000;
const repeats = 60;
const server = await serveSite(process.argv[2]);
const browser = await launchChromium();

// Draws again `repeats` times, each after the last has been painted.
const timings = (page) => page.evaluate(async (count) => {
  const times = [];
  for (let k = 0; k < count; ++k) {
    await new Promise((resolve) => requestAnimationFrame(resolve));
    const start = performance.now();
    window.ionariaCourbes.reload();
    times.push(performance.now() - start);
  }
  times.sort((a, b) => a - b);
  return { median: times[Math.floor(times.length / 2)], slowest: times[times.length - 1] };
}, repeats);

try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  const begun = Date.now();
  await page.goto(`${server.base}/index.html?configuration=${configuration}&secondes=${seconds}`,
    { timeout: 0 });
  await page.waitForSelector("body[data-drawn]", { timeout: 0 });
  const filled = (Date.now() - begun) / 1000;
  await page.click("#courbes-ouvrir");
  await page.waitForSelector("dialog#courbes[open] #courbes-traces canvas");
  await page.click("#courbes-faraday");
  const record = await page.evaluate(() => {
    const text = document.querySelector("#courbes-lecture > div").textContent;
    return { reading: text, plots: document.querySelectorAll("#courbes-traces .uplot").length };
  });
  const first = await timings(page);
  await page.$$eval("#courbes-grandeurs input:not(:checked)", (all) => all.forEach((box) => box.click()));
  const plots = await page.$$eval("#courbes-traces .uplot", (all) => all.length);
  const every = await timings(page);
  console.log(`${configuration} : ${seconds} s simulées en ${filled.toFixed(1)} s, dernière lecture « ${record.reading} »`);
  console.log(`Courbes, ${record.plots} tracés avec la loi de Faraday : médiane ${first.median.toFixed(2)} ms, au plus ${first.slowest.toFixed(2)} ms (${repeats} dessins)`);
  console.log(`Courbes, ${plots} tracés : médiane ${every.median.toFixed(2)} ms, au plus ${every.slowest.toFixed(2)} ms (${repeats} dessins)`);
} finally {
  await browser.close();
  server.stop();
}

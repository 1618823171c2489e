// SPDX-License-Identifier: GPL-3.0-or-later
// The experiment page's budgets in Debian's chromium, headless, from a
// local server:
// - interactive: from the start of the page's loading until its commands
//   are enabled and its first picture drawn, in a fresh browser (nothing
//   cached) and then reloaded five times (median);
// - memory after a 100-hour run at full speed, with the picture drawn after
//   every tick: the page's process's own memory (its private pages, from
//   /proc, what chromium's task manager calls its memory footprint), with
//   for comparison its proportional share of the pages it shares with
//   chromium's other processes (the browser's code among them) and all it
//   has resident, its JavaScript heap and the module's WebAssembly memory.
// The times are figures to quote, never a pass or a failure; the memory
// over its budget of 100 MB fails.
//   node bench/web/budgets.mjs WEB_BUILD
// puppeteer-core comes from web/node_modules (npm ci in web/).
import fs from "node:fs";
import { Failures, launchChromium, serveSite } from "../../tests/web/site.mjs";

if (process.argv.length !== 3) {
  console.error("usage : node bench/web/budgets.mjs BUILD_WEB");
  process.exit(2);
}
// Megabytes, of 10^6 bytes.
const budgetMB = 100;
const hours = 100;
// The speed bar's highest setting (the catalogue's hScroll2Max): simulated
// seconds a tick.
const fullSpeed = 39;
const server = await serveSite(process.argv[2]);
const failures = new Failures("BUDGET DÉPASSÉ");
const browser = await launchChromium();

// The page enables its commands before it asks for its first frame: the
// first picture is when it answers the pupil.
const interactive = (page) => page.evaluate(() => Number(document.body.dataset.drawn));

// The memory of a process, in MB, from /proc: resident, proportional (its
// shares of the pages it shares with chromium's other processes) and its
// own (the pages no other process holds).
const memoryOf = (pid) => {
  const text = fs.readFileSync(`/proc/${pid}/smaps_rollup`, "utf8");
  // /proc's "kB" are kibibytes.
  const kB = (name) => Number(new RegExp(`^${name}:\\s+(\\d+) kB$`, "m").exec(text)[1]) * 1024 / 1e6;
  return {
    resident: kB("Rss"),
    proportional: kB("Pss"),
    own: kB("Private_Clean") + kB("Private_Dirty"),
  };
};

try {
  const page = await browser.newPage();
  const address = `${server.base}/index.html?configuration=electrolyse-chlorure-de-sodium`;
  await page.goto(address);
  await page.waitForSelector("body[data-drawn]");
  const cold = await interactive(page);
  const warm = [];
  for (let i = 0; i < 5; ++i) {
    await page.reload();
    await page.waitForSelector("body[data-drawn]");
    warm.push(await interactive(page));
  }
  warm.sort((a, b) => a - b);
  console.log(`interactive : ${cold} ms la première fois, ${warm[2]} ms rechargée (médiane de 5)`);

  // The run: the speed at its highest, the programmed stop off, ticked as
  // fast as the page can with the picture drawn after every tick.
  const run = await page.evaluate(async (seconds, fullSpeed) => {
    const view = window.ionariaView;
    const session = view.session;
    if (session.controls().Check1 === 1) session.setCheck1(0);
    session.setHScroll2(fullSpeed);
    if (session.controls().HScroll2 !== fullSpeed) return { speed: session.controls().HScroll2 };
    session.retour();
    if (!session.running()) session.pauseMarche();
    const start = performance.now();
    let ticks = 0;
    while (session.seconds() < seconds && session.running()) {
      session.tick();
      view.draw();
      ticks += 1;
      // Now and then the page breathes, as between animation frames, so
      // that the collector runs as it would.
      if (ticks % 500 === 0) await new Promise((r) => setTimeout(r, 0));
    }
    return { seconds: session.seconds(), ticks, ms: performance.now() - start };
  }, hours * 3600, fullSpeed);
  failures.check(run.speed === undefined, `la vitesse la plus haute n'est pas ${fullSpeed}`);
  failures.check(run.seconds >= hours * 3600, `la marche s'arrête à ${run.seconds} s`);

  const cdp = await page.createCDPSession();
  await cdp.send("HeapProfiler.collectGarbage");
  await cdp.send("Performance.enable");
  const metrics = Object.fromEntries((await cdp.send("Performance.getMetrics")).metrics
    .map((m) => [m.name, m.value]));
  const wasmMB = await page.evaluate(() => window.ionariaView.session.memoryBytes() / 1e6);
  // The page's own process: of chromium's renderers (the service worker
  // has one too), the one that holds the most of its own.
  const browserCdp = await browser.target().createCDPSession();
  const { processInfo } = await browserCdp.send("SystemInfo.getProcessInfo");
  const renderer = processInfo.filter((p) => p.type === "renderer" && fs.existsSync(`/proc/${p.id}`))
    .map((p) => memoryOf(p.id)).sort((a, b) => b.own - a.own)[0];
  const heapMB = metrics.JSHeapUsedSize / 1e6;
  const mb = (v) => `${v.toFixed(1)} Mo`;
  console.log(`après ${hours} h à pleine vitesse (${run.seconds} s simulées en ${run.ticks} ticks dessinés en ` +
    `${(run.ms / 1000).toFixed(1)} s) : processus de la page ${mb(renderer.own)} à lui seul, ` +
    `${mb(renderer.proportional)} en part proportionnelle, ${mb(renderer.resident)} résidents ; ` +
    `tas JavaScript ${mb(heapMB)}, mémoire WebAssembly ${mb(wasmMB)}`);
  failures.check(renderer.own < budgetMB, `la page occupe ${mb(renderer.own)} à elle seule`);
} finally {
  await browser.close();
  server.stop();
}
failures.end(`budgets : la page reste sous ${budgetMB} Mo après ${hours} h de marche`);

// SPDX-License-Identifier: GPL-3.0-or-later
// The experiment page's budgets in Debian's chromium, headless, from a
// local server:
// - interactive: from the start of the page's loading until its commands
//   are enabled and its first picture drawn, in a fresh browser (nothing
//   cached) and then reloaded five times (median);
// - memory after a 100-hour run at full speed: the page's own process
//   (resident memory from /proc), its JavaScript heap and the module's
//   WebAssembly memory, with the picture drawn after every tick.
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
const budgetMiB = 100;
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

// The memory of a process, in MiB, from /proc: resident, proportional (its
// shares of the pages it shares with chromium's other processes) and its
// own (the pages no other process holds).
const memoryOf = (pid) => {
  const text = fs.readFileSync(`/proc/${pid}/smaps_rollup`, "utf8");
  const kB = (name) => Number(new RegExp(`^${name}:\\s+(\\d+) kB$`, "m").exec(text)[1]);
  return {
    resident: kB("Rss") / 1024,
    proportional: kB("Pss") / 1024,
    own: (kB("Private_Clean") + kB("Private_Dirty")) / 1024,
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
  const wasmMiB = await page.evaluate(() => window.ionariaView.session.memoryBytes() / 1048576);
  // The page's own process: the renderer that holds the most.
  const browserCdp = await browser.target().createCDPSession();
  const { processInfo } = await browserCdp.send("SystemInfo.getProcessInfo");
  const renderer = processInfo.filter((p) => p.type === "renderer" && fs.existsSync(`/proc/${p.id}`))
    .map((p) => memoryOf(p.id)).sort((a, b) => b.resident - a.resident)[0];
  const heapMiB = metrics.JSHeapUsedSize / 1048576;
  const mib = (v) => `${v.toFixed(1)} Mio`;
  console.log(`après ${hours} h à pleine vitesse (${run.seconds} s simulées en ${run.ticks} ticks dessinés en ` +
    `${(run.ms / 1000).toFixed(1)} s) : processus de la page ${mib(renderer.own)} à lui seul, ` +
    `${mib(renderer.proportional)} en part proportionnelle, ${mib(renderer.resident)} résidents ; ` +
    `tas JavaScript ${mib(heapMiB)}, mémoire WebAssembly ${mib(wasmMiB)}`);
  failures.check(renderer.proportional < budgetMiB,
                 `la page occupe ${mib(renderer.proportional)} en part proportionnelle`);
} finally {
  await browser.close();
  server.stop();
}
failures.end(`budgets : la page reste sous ${budgetMiB} Mio après ${hours} h de marche`);

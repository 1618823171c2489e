// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the site's pages, read from Chromium's own
// accessibility tree (headless, Debian's chromium): every control has a
// name, every page a language and a title, and the Tab key reaches every
// control that can take the focus, in the order of the page. Every link of
// the help pages leads to a page of the site and a place in it.
//   node tests/web/accessibility.mjs WEB_BUILD
// puppeteer-core comes from web/node_modules (npm ci in web/).
import fs from "node:fs";
import path from "node:path";
import { Failures, launchChromium, serveSite } from "./site.mjs";

if (process.argv.length !== 3) {
  console.error("usage : node tests/web/accessibility.mjs BUILD_WEB");
  process.exit(2);
}
const server = await serveSite(process.argv[2]);
const { base, site } = server;

// Each page, once its script has built what it shows, and the button that
// opens a modal dialog over it, whose controls alone are then reached.
const pages = [
  ["index.html", "body[data-drawn]"],
  ["batch.html", "#lancer:not([disabled])"],
  ["calculatrice.html", "body[data-ready]"],
  ["exercices.html", "body[data-pret]"],
  ["exercices.html?exercice=loi-de-faraday.E37", "#texte textarea"],
  ["aide/index.html", "body"],
  ["index.html?configuration=depot-de-cuivre&secondes=120", "body[data-drawn]", "#courbes-ouvrir"],
];
const controls = new Set(["button", "link", "combobox", "textbox", "spinbutton", "radio",
  "checkbox", "slider", "listbox", "menuitem", "tab", "MenuListPopup"]);

const failures = new Failures("ÉCHEC");
const browser = await launchChromium();
let named = 0;
try {
  const page = await browser.newPage();
  for (const [address, ready, opener] of pages) {
    await page.goto(`${base}/${address}`);
    await page.waitForSelector(ready);
    if (opener) {
      await page.click(opener);
      await page.waitForSelector("dialog[open]");
    }
    const { lang, title } = await page.evaluate(() => ({ lang: document.documentElement.lang, title: document.title }));
    if (lang !== "fr" || !title) failures.add(`${address} : langue « ${lang} », titre « ${title} »`);

    const tree = await page.accessibility.snapshot({ interestingOnly: false });
    const walk = (node) => {
      if (controls.has(node.role) && node.role !== "MenuListPopup") {
        if (!node.name || !node.name.trim()) {
          failures.add(`${address} : un contrôle « ${node.role} » sans nom`);
        } else {
          named += 1;
        }
      }
      for (const child of node.children ?? []) walk(child);
    };
    walk(tree);

    // The Tab key goes through every focusable control once, in the page's
    // order, or the open modal dialog's.
    const focusable = await page.evaluate(() => {
      const root = document.querySelector("dialog[open]") ?? document;
      return [...root.querySelectorAll(
        "a[href], button:not([disabled]), input:not([disabled]), select:not([disabled]), textarea, [tabindex]")]
        .filter((e) => e.offsetParent !== null && e.tabIndex >= 0)
        .filter((e) => e.type !== "radio" || e.checked).map((e) => e.id || e.textContent.trim());
    });
    // From the top of the page or of the dialog: a mark that takes the focus
    // but not Tab's.
    await page.evaluate(() => {
      const start = document.createElement("span");
      start.tabIndex = -1;
      (document.querySelector("dialog[open]") ?? document.body).prepend(start);
      start.focus();
    });
    const reached = [];
    for (let i = 0; i < focusable.length; ++i) {
      await page.keyboard.press("Tab");
      reached.push(await page.evaluate(() => document.activeElement.id || document.activeElement.textContent.trim()));
    }
    if (JSON.stringify(reached) !== JSON.stringify(focusable)) {
      failures.add(`${address} : Tab atteint ${JSON.stringify(reached)} au lieu de ${JSON.stringify(focusable)}`);
    }
  }
  const help = fs.readdirSync(path.join(site, "aide")).filter((n) => n.endsWith(".html"));
  for (const name of help) {
    await page.goto(`${base}/aide/${name}`);
    for (const link of await page.$$eval("a[href]", (all) => all.map((a) => a.href))) {
      const target = new URL(link);
      const file = path.join(site, decodeURIComponent(target.pathname));
      const text = fs.existsSync(file) ? fs.readFileSync(file, "utf8") : null;
      const anchor = decodeURIComponent(target.hash.slice(1));
      if (text === null || (anchor && !text.includes(`id="${anchor}"`))) {
        failures.add(`aide/${name} : le lien ${target.pathname}${target.hash} ne mène nulle part`);
      }
    }
  }
} finally {
  await browser.close();
  server.stop();
}
failures.end(`accessibilité du site : ${named} contrôles nommés sur ${pages.length} pages, tous atteints au clavier`);

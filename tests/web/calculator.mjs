// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's calculator (build-web/site/calculatrice.html) gives the
// desktop's results: sequences of keys, clicked and typed in Debian's
// chromium, headless, show in its display what the desktop's keypad shows
// after each sequence (web_keypad_dump, built with the desktop), the
// sequences following one another in one page as in one keypad there: a
// table of the keys' rules, then 60 drawn with a fixed seed.
//   node tests/web/calculator.mjs DESKTOP_BUILD WEB_BUILD
// puppeteer-core comes from web/node_modules (npm ci in web/).
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { Failures, launchChromium, serveSite } from "./site.mjs";

const [desktop, web] = process.argv.slice(2).map((p) => path.resolve(p));
if (!desktop || !web) {
  console.error("usage : node tests/web/calculator.mjs BUILD_BUREAU BUILD_WEB");
  process.exit(2);
}

const table = [
  "B2 plus B3 multip B4 EXE",
  "t:2*(3+4) Enter",
  "t:1,5+2,25 Enter",
  "t:12e3/4 Enter",
  "t:3×4÷2 Enter",
  "Bpo B2 plus EXE",
  "B2 plus plus EXE",
  "bsin B3 B0 EXE",
  "radians bsin pi EXE",
  "radians Bcos pi EXE",
  "invsin B0 Bpoint B5 EXE",
  "Bln B2 EXE",
  "Blog B2 EXE",
  "Bexp B1 EXE",
  "racine B2 EXE",
  "B10x B3 EXE",
  "Command5 B3 EXE",
  "B2 puissance B0 Bpoint B5 EXE",
  "B1 B2 B3 B4 B5 EXE scientifique",
  "scientifique B1 B0 B0 B0 B0 B0 B0 B0 B0 B0 EXE standard",
  "B7 EXE Command1 Command1 RAZ Command3 multip B2 EXE",
  "B4 Bpoint B7 kilo EXE",
  "B2 micro EXE",
  "B9 BtoEXP B9 B9 B9 EXE",
  "B9 BtoEXP B9 B9 B9 EXE ANS",
  "B2 bsin EFFACE",
  "B2 plus B3 EXE ANS multip B2 EXE",
  "t:2+3 Backspace Backspace Enter",
  "moins moins B5 EXE",
  "B1 div B0 EXE",
];

// A drawn sequence: keys, with now and then an option or some typed text.
let seed = 20261209;
const random = () => {
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return seed / 2147483648;
};
const keyNames = ["B0", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "B8", "B9", "Bpoint", "BtoEXP",
  "pico", "nano", "micro", "mil", "kilo", "mega", "giga", "tera", "bsin", "Bcos", "Btan",
  "invsin", "invcos", "Btoncommande3", "Bln", "Blog", "Bexp", "B10x", "racine", "Command5", "pi",
  "puissance", "btcarre", "Bpo", "bpf", "ANS", "Command1", "Command2", "Command3", "Command4",
  "EFFACE", "RAZ", "div", "multip", "plus", "moins", "EXE"];
const extras = ["radians", "degres", "scientifique", "standard", "t:1,5", "t:(2", "t:)", "t:e-"];
const drawn = [];
for (let i = 0; i < 60; ++i) {
  const words = [];
  const length = 3 + Math.floor(random() * 14);
  for (let k = 0; k < length; ++k) {
    words.push(random() < 0.15 ? extras[Math.floor(random() * extras.length)]
      : keyNames[Math.floor(random() * keyNames.length)]);
  }
  words.push("EXE");
  drawn.push(words.join(" "));
}
const sequences = [...table, ...drawn];

const work = fs.mkdtempSync(path.join(os.tmpdir(), "ionaria-calculatrice-"));
fs.writeFileSync(path.join(work, "sequences.txt"), sequences.join("\n") + "\n");
const expected = execFileSync(path.join(desktop, "tests", "web", "web_keypad_dump"),
  [path.join(work, "sequences.txt")], { encoding: "utf8" }).split("\n").slice(0, -1);
fs.rmSync(work, { recursive: true });

const server = await serveSite(web);

const options = { radians: "#angle1", degres: "#angle0", scientifique: "#C0", standard: "#C1" };
const browser = await launchChromium(["--lang=fr-FR"]);
const failures = new Failures("ÉCART");
try {
  const page = await browser.newPage();
  await page.goto(`${server.base}/calculatrice.html`);
  await page.waitForSelector("body[data-ready]");
  for (const [index, sequence] of sequences.entries()) {
    for (const word of sequence.split(" ")) {
      if (options[word]) {
        await page.click(options[word]);
      } else if (word === "Enter" || word === "Backspace") {
        await page.focus("#z1");
        await page.keyboard.press(word);
      } else if (word.startsWith("t:")) {
        await page.focus("#z1");
        await page.keyboard.type(word.slice(2));
      } else {
        await page.click(`#${word}`);
      }
    }
    const shown = await page.$eval("#z1", (z1) => `${z1.value}\t${z1.classList.contains("message") ? 1 : 0}`);
    if (shown !== expected[index]) {
      failures.add(`« ${sequence} » : le navigateur montre « ${shown} », le bureau « ${expected[index]} »`);
    }
  }
  // Every key of the keypad is a button of the page, named by its caption.
  const named = await page.$$eval("button", (buttons) => buttons.filter((b) => b.textContent.trim()).length);
  failures.check(named === keyNames.length, `${named} touches nommées sur ${keyNames.length}`);
} finally {
  await browser.close();
  server.stop();
}
failures.end(`calculatrice : ${sequences.length} suites de touches, mêmes affichages que sur le bureau`);

// SPDX-License-Identifier: GPL-3.0-or-later
// What the browser checks share: the site of a WebAssembly build served on a
// free local port, Debian's chromium started headless through puppeteer-core
// (from web/node_modules: npm ci in web/), and a list of failures that ends
// the check.
import { createRequire } from "node:module";
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { fileURLToPath } from "node:url";

export const top = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..", "..");
const require = createRequire(path.join(top, "web", "package.json"));
export const puppeteer = require("puppeteer-core");

const types = {
  ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm", ".ttf": "font/ttf",
  ".json": "application/json", ".png": "image/png", ".svg": "image/svg+xml",
  ".webmanifest": "application/manifest+json",
};

// Serves WEB_BUILD/site; a folder's address is its index.html. Returns the
// base address, the count of files served so far, and how to stop.
export async function serveSite(webBuild) {
  const site = path.join(path.resolve(webBuild), "site");
  let served = 0;
  const server = http.createServer((req, res) => {
    let name = decodeURIComponent(new URL(req.url, "http://x").pathname);
    if (name.endsWith("/")) name += "index.html";
    const file = path.join(site, name);
    if (!file.startsWith(site) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      res.writeHead(404).end();
      return;
    }
    served += 1;
    res.writeHead(200, { "Content-Type": types[path.extname(file)] ?? "application/octet-stream" });
    fs.createReadStream(file).pipe(res);
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return {
    site,
    base: `http://127.0.0.1:${server.address().port}`,
    served: () => served,
    stop: () => {
      server.close();
      server.closeAllConnections();
    },
  };
}

export function launchChromium(args = []) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", ...args],
  });
}

// Failures gathered along a check; end() prints them and exits 1, or prints
// the summary when there are none.
export class Failures {
  constructor(prefix) {
    this.prefix = prefix;
    this.list = [];
  }

  check(ok, what) {
    if (!ok) this.list.push(what);
  }

  add(what) {
    this.list.push(what);
  }

  end(summary) {
    if (this.list.length > 0) {
      for (const failure of this.list) console.error(`${this.prefix} ${failure}`);
      process.exit(1);
    }
    console.log(summary);
  }
}

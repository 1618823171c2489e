// SPDX-License-Identifier: GPL-3.0-or-later
// Ionaria offline: a classroom often has no internet, or loses it in the
// middle of a lesson. The first visit keeps the whole site in a cache, and
// from then on every page, the WebAssembly modules, their data and the fonts
// are answered from it, network or not. Each build of the site writes its
// own version here, so the browser sees a changed worker at the next visit
// with a network, fills a new cache and drops the old one.
"use strict";

const cacheName = "ionaria-@IONARIA_SITE_VERSION@";
const siteFiles = [@IONARIA_SITE_FILES@];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(cacheName)
    .then((cache) => cache.addAll(siteFiles))
    .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith("ionaria-") && name !== cacheName)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The query of a page (the configuration, the zoom) does not change its
// file, and the site's folder is its index page.
const sameFile = { ignoreSearch: true };

self.addEventListener("fetch", (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== "GET" || url.origin !== self.location.origin) {
    return;
  }
  if (url.pathname.endsWith("/")) {
    url.pathname += "index.html";
  }
  event.respondWith(caches.open(cacheName).then(async (cache) => {
    const kept = await cache.match(url.href, sameFile);
    if (kept) {
      return kept;
    }
    const response = await fetch(request);
    if (response.ok) {
      await cache.put(url.href.split("?")[0], response.clone());
    }
    return response;
  }));
});

// The service worker: keeps every file of the site for offline play, and takes a new version
// when one is served (site.py stamps the version and the file list into this file; a changed
// file changes the stamp, and the browser installs the new worker at the next visit).
'use strict';

const VERSION = '@VERSION@';
const FILES = @FILES@;
const CACHE = 'boughfall-' + VERSION;

self.addEventListener('install', (event) => {
  // The page registers this worker after the game has started, so most files are in the
  // browser's HTTP cache already: revalidating costs a request each, not the bytes again.
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(
      FILES.map((name) => new Request(name, {cache: 'no-cache'})))).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(names.filter(
      (name) => name.startsWith('boughfall-') && name !== CACHE).map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  // The site's own files come from the cache (the page with any query is the page); anything
  // else goes to the network.
  event.respondWith(caches.open(CACHE).then((cache) =>
      cache.match(request, {ignoreSearch: request.mode === 'navigate'})
          .then((cached) => cached || fetch(request))));
});

// The page's offline cache: after one visit its files come from here, so the
// game loads and plays with no network. The cache is named by the release's
// version and the build (both filled in when the page is built), so that a
// new release replaces the old files; requests for anything else (a replay
// beside the page) go to the network as they would without this worker.
'use strict';

// The page's files, sorted, the page itself first (filled in when the page
// is built, from the release's list of them).
const FILES = ['./', ...'@STIVRA_OFFLINE_FILES@'.split(' ')];
const scope = new URL(self.registration.scope);
// Several copies of the page may live on one site (/a/ and /b/): each keeps
// and clears only caches of its own scope.
const PREFIX = `stivra ${scope.pathname} `;
const CACHE = `${PREFIX}@STIVRA_VERSION@-@STIVRA_BUILD@`;
// Caches of builds that named them before scopes did.
const UNSCOPED = /^stivra-\d+\.\d+\.\d+-[0-9a-f]{16}$/;
const cached = new Set(FILES.map((f) => new URL(f, scope).pathname));

self.addEventListener('install', (event) => {
  // From the network, never from the browser's HTTP cache: that may still
  // hold the files of the build before.
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((f) => new Request(f, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  const old = (k) => (k.startsWith(PREFIX) && k !== CACHE) || UNSCOPED.test(k);
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter(old).map((k) => caches.delete(k))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== scope.origin || !cached.has(url.pathname)) return;
  // The page itself with ?seed=... or #run=... is the same file.
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((hit) => hit || fetch(event.request)));
});

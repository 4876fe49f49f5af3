// Keeps the installed page, its manifest and its icons, so once visited Pelmiro opens
// with no network. The build fills in the files and names the cache after their contents:
// a new build makes this file differ, the browser installs it, and the old cache is dropped.
const CACHE = 'pelmiro-{{VERSION}}';
const FILES = {{FILES}};

self.addEventListener('install', (event) => {
  // Past the HTTP cache, which may still hold the previous build's files.
  const fresh = FILES.map((file) => new Request(file, { cache: 'reload' }));
  event.waitUntil(
    caches.open(CACHE).then((cache) => cache.addAll(fresh)).then(() => self.skipWaiting()),
  );
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((name) => name !== CACHE)
        .map((name) => caches.delete(name))))
      .then(() => self.clients.claim()),
  );
});

// The page is one file, so any visit, with or without a query or "index.html", gets it.
self.addEventListener('fetch', (event) => {
  const wanted = event.request.mode === 'navigate' ? './' : event.request;
  event.respondWith(
    caches.open(CACHE)
      .then((cache) => cache.match(wanted, { ignoreSearch: true }))
      .then((hit) => hit ?? fetch(event.request)),
  );
});

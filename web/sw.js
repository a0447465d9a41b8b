// The site's service worker: every file of this build is cached at install, so after one
// visit the game starts with no network. Pages are answered from the network when it is
// there (a new build shows at once) and from the cache when it is not. web.sh fills in the
// build's version and file list.
const CACHE = 'zorblats-@VERSION@';
const FILES = [@FILES@];

self.addEventListener('install', event => {
  event.waitUntil(caches.open(CACHE).then(cache => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(name => name !== CACHE).map(name => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET') return;
  event.respondWith(fetch(event.request).then(response => {
    if (response.ok && new URL(event.request.url).origin === self.location.origin) {
      const copy = response.clone();
      caches.open(CACHE).then(cache => cache.put(event.request, copy));
    }
    return response;
  }).catch(() => caches.match(event.request, {ignoreSearch: true})
    .then(cached => cached || Response.error())));
});

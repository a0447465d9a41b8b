// The site's service worker: every file of this build is kept at install, fetched past the
// browser's HTTP cache so that the copy is all of one build, and the game starts from that
// copy at once, with a network or without, however slowly it answers. A new build installs
// beside the running one and takes over at the next start. Its caches are named by the
// site's address: other sites on the same host, and other copies of the game, keep theirs.
// web.sh fills in the build's version and file list.
const OWN = `zorblats ${self.registration.scope} `;
const CACHE = `${OWN}@VERSION@`;
const FILES = [@FILES@];

self.addEventListener('install', event => {
  event.waitUntil(caches.open(CACHE)
    .then(cache => cache.addAll(FILES.map(file => new Request(file, {cache: 'reload'})))));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(name => name.startsWith(OWN) && name !== CACHE)
      .map(name => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(CACHE)
    .then(cache => cache.match(event.request, {ignoreSearch: true}))
    .then(kept => kept || fetch(event.request)));
});

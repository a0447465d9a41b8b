// A static server for the built site: node web/serve.js <folder> [port]. Any web server
// does as well; this one only needs node and sets the types browsers check (wasm).
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');

const root = path.resolve(process.argv[2] || '.');
const port = Number(process.argv[3] || 8000);
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

const server = http.createServer((request, response) => {
  let name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
  if (name.endsWith('/')) name += 'index.html';
  const file = path.join(root, path.normalize(name));
  if (!file.startsWith(root + path.sep)) {
    response.writeHead(403).end();
    return;
  }
  fs.readFile(file, (error, body) => {
    if (error) {
      response.writeHead(404, {'Content-Type': 'text/plain'}).end('Not found\n');
      return;
    }
    response.writeHead(200, {
      'Content-Type': types[path.extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-cache',
    });
    response.end(body);
  });
});
server.listen(port, '127.0.0.1', () => {
  console.log(`ZORBLATS is served at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops)`);
});

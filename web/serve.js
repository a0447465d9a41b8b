// A static server for the built site: node web/serve.js <folder> [port] [--lan]. Any web
// server does as well; this one only needs node and sets the types browsers check (wasm).
// It listens on 127.0.0.1; with --lan on every address of the machine, so that a phone on
// the same network can open the game at the address it prints.
'use strict';
const http = require('http');
const fs = require('fs');
const os = require('os');
const path = require('path');

const args = process.argv.slice(2);
const lan = args.includes('--lan');
const [folder, portText] = args.filter(arg => arg !== '--lan');
const root = path.resolve(folder || '.');
const port = Number(portText || 8000);
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

// The file a request names, or null for a name no file can have (bad escapes, a NUL, a
// way out of the folder).
function fileOf(url) {
  let name;
  try {
    name = decodeURIComponent(new URL(url, 'http://x').pathname);
  } catch {
    return null;
  }
  if (name.includes('\0')) return null;
  if (name.endsWith('/')) name += 'index.html';
  const file = path.join(root, path.normalize(name));
  return file.startsWith(root + path.sep) ? file : null;
}

const server = http.createServer((request, response) => {
  const file = fileOf(request.url);
  if (!file) {
    response.writeHead(400, {'Content-Type': 'text/plain'}).end('Bad request\n');
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
server.listen(port, lan ? '0.0.0.0' : '127.0.0.1', () => {
  const at = server.address().port;
  const hosts = ['127.0.0.1'];
  if (lan) {
    for (const list of Object.values(os.networkInterfaces())) {
      for (const one of list) if (one.family === 'IPv4' && !one.internal) hosts.push(one.address);
    }
  }
  console.log(`ZORBLATS is served at ${hosts.map(host => `http://${host}:${at}/`).join(' and ')} (Ctrl+C stops)`);
});

// What the web tests and benchmarks share: the built site served on a free port, Debian's
// headless Chromium driven by playwright-core, the game's canvas read back in the game's own
// 5-6-5 colours, taps on game pixels and fingers on a touch screen.
'use strict';
const { execFileSync, spawn } = require('node:child_process');
const path = require('node:path');
const { chromium } = require('playwright-core');

const CHROMIUM = process.env.ZORBLATS_CHROMIUM || '/usr/lib/chromium/chromium-headless-shell';
const WIDTH = 240;
const HEIGHT = 320;
// Page sizes: a phone upright and sideways (CSS pixels at 2.625 device pixels each), touch only.
const PHONE = {viewport: {width: 412, height: 915}, deviceScaleFactor: 2.625, hasTouch: true, isMobile: true};
const SIDEWAYS = {width: 915, height: 412};

// Serves a site folder with web/serve.js; resolves to its address and a stop function.
function serve(site) {
  const server = spawn(process.execPath, [path.join(__dirname, '..', 'serve.js'), site, '0'],
                       {stdio: ['ignore', 'pipe', 'inherit']});
  return new Promise((resolve, reject) => {
    server.stdout.on('data', text => {
      const found = /http:\/\/[\d.:]+\//.exec(String(text));
      if (found) resolve({url: found[0], stop: () => server.kill()});
    });
    server.on('exit', code => reject(new Error(`the server ended (${code})`)));
  });
}

const launch = () => chromium.launch({
  executablePath: CHROMIUM,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

// The canvas as 5-6-5 colours, row by row (passed as base64: a plain array is slow).
async function screen(page) {
  const base64 = await page.evaluate(() => {
    const data = document.getElementById('screen').getContext('2d').getImageData(0, 0, 240, 320).data;
    const colours = new Uint16Array(240 * 320);
    for (let i = 0; i < colours.length; ++i) {
      colours[i] = (data[4 * i] >> 3) << 11 | (data[4 * i + 1] >> 2) << 5 | data[4 * i + 2] >> 3;
    }
    const bytes = new Uint8Array(colours.buffer);
    let text = '';
    for (let i = 0; i < bytes.length; i += 8192) text += String.fromCharCode(...bytes.subarray(i, i + 8192));
    return btoa(text);
  });
  const bytes = Buffer.from(base64, 'base64');
  return new Uint16Array(bytes.buffer, bytes.byteOffset, WIDTH * HEIGHT).slice();
}

// A picture of the screen's size (the gallery tool's) as 5-6-5 colours.
function readBmp(file) {
  const rgb = execFileSync('convert', [file, '-depth', '8', 'rgb:-'], {maxBuffer: 1 << 20});
  const out = new Uint16Array(WIDTH * HEIGHT);
  for (let i = 0; i < out.length; ++i) out[i] = (rgb[3 * i] >> 3) << 11 | (rgb[3 * i + 1] >> 2) << 5 | rgb[3 * i + 2] >> 3;
  return out;
}

// How many pixels of a part of two screens, [left, top, right, bottom), differ.
const WHOLE = [0, 0, WIDTH, HEIGHT];
function differences(a, b, [left, top, right, bottom] = WHOLE) {
  let count = 0;
  for (let y = top; y < bottom; ++y) for (let x = left; x < right; ++x) count += a[y * WIDTH + x] !== b[y * WIDTH + x];
  return count;
}

// Waits until the screen passes test (a function of the screen, true when it is the one
// wanted); what names it in the failure. Resolves to that screen.
async function waitFor(page, test, what, timeoutMs = 8000) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    // A page that is loading again has no screen to read yet.
    const shown = await screen(page).catch(error => {
      if (/context was destroyed|navigat/.test(error.message)) return null;
      throw error;
    });
    if (shown && test(shown)) return shown;
    if (Date.now() > end) throw new Error(`${what}: never shown within ${timeoutMs / 1000} s`);
    await page.waitForTimeout(40);
  }
}

// Waits until the canvas shows the picture in the parts given.
async function waitForScreen(page, picture, what, timeoutMs = 8000, parts = [WHOLE]) {
  let least = Infinity;
  const same = shown => (least = Math.min(least, parts.reduce((n, part) => n + differences(shown, picture, part), 0))) === 0;
  return waitFor(page, same, what, timeoutMs)
    .catch(error => { throw new Error(`${error.message} (at best ${least} pixels differ)`); });
}

// The page point in the middle of a game pixel.
async function pagePoint(page, x, y) {
  const box = await page.locator('#screen').boundingBox();
  return [box.x + (x + 0.5) * box.width / WIDTH, box.y + (y + 0.5) * box.height / HEIGHT];
}

async function tap(page, x, y) {
  const [px, py] = await pagePoint(page, x, y);
  await page.mouse.click(px, py);
}

async function touch(page, x, y) {
  const [px, py] = await pagePoint(page, x, y);
  await page.touchscreen.tap(px, py);
}

// Fingers on the page's touch screen, several at once, through the DevTools protocol:
// put(id, [x, y]) sets a finger down or slides it there, lift(id) lifts it.
async function fingers(page) {
  const session = await page.context().newCDPSession(page);
  const down = new Map();
  const send = type => session.send('Input.dispatchTouchEvent', {
    type, touchPoints: [...down].map(([id, [x, y]]) => ({id, x, y, radiusX: 4, radiusY: 4}))});
  return {
    put: (id, point) => {
      const type = down.has(id) ? 'touchMove' : 'touchStart';
      down.set(id, point);
      return send(type);
    },
    lift: id => {
      down.delete(id);
      return send(down.size ? 'touchMove' : 'touchEnd');
    },
  };
}

// The middle of the page's element found by its accessible name (a button's).
async function middleOf(page, name) {
  const box = await page.getByRole('button', {name}).boundingBox();
  return [box.x + box.width / 2, box.y + box.height / 2];
}

module.exports = {WHOLE, PHONE, SIDEWAYS, serve, launch, screen, readBmp, differences, waitFor, waitForScreen,
                  pagePoint, tap, touch, fingers, middleOf};

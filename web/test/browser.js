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
const WHOLE = [0, 0, WIDTH, HEIGHT];
// Page sizes: a phone upright and sideways (CSS pixels at 2.625 device pixels each), touch only.
const PHONE = {viewport: {width: 412, height: 915}, deviceScaleFactor: 2.625, hasTouch: true, isMobile: true};
const SIDEWAYS = {width: 915, height: 412};

// Serves a site folder with web/serve.js; resolves to its address and a stop function.
function serve(site) {
  const server = spawn(process.execPath, [path.join(__dirname, '..', 'serve.js'), site, '0'],
                       {stdio: ['ignore', 'pipe', 'inherit']});
  return new Promise((resolve, reject) => {
    const stop = () => server.kill();
    server.stdout.once('data', text => resolve({url: /http:\/\/[\d.:]+\//.exec(String(text))[0], stop}));
    server.on('exit', code => reject(new Error(`the server ended (${code})`)));
  });
}

const launch = () => chromium.launch({
  executablePath: CHROMIUM,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

// A screen's pixels as 5-6-5 colours, from bytes of step bytes a pixel (red, green, blue first).
function colours(bytes, step) {
  const out = new Uint16Array(WIDTH * HEIGHT);
  for (let i = 0; i < out.length; ++i) {
    const p = step * i;
    out[i] = (bytes[p] >> 3) << 11 | (bytes[p + 1] >> 2) << 5 | bytes[p + 2] >> 3;
  }
  return out;
}

// The canvas (passed as base64: a plain array is slow).
async function screen(page) {
  const base64 = await page.evaluate(() => {
    const bytes = document.getElementById('screen').getContext('2d').getImageData(0, 0, 240, 320).data;
    let text = '';
    for (let i = 0; i < bytes.length; i += 8192) text += String.fromCharCode(...bytes.subarray(i, i + 8192));
    return btoa(text);
  });
  return colours(Buffer.from(base64, 'base64'), 4);
}

// A picture of the screen's size (the gallery tool's).
const readBmp = file => colours(execFileSync('convert', [file, '-depth', '8', 'rgb:-'], {maxBuffer: 1 << 20}), 3);

// How many pixels of a part of two screens, [left, top, right, bottom), differ.
function differences(a, b, [left, top, right, bottom] = WHOLE) {
  let count = 0;
  for (let y = top; y < bottom; ++y) for (let x = left; x < right; ++x) count += a[y * WIDTH + x] !== b[y * WIDTH + x];
  return count;
}

// Waits until the screen passes test (a function of the screen, true when it is the one
// wanted); what names it in the failure. Resolves to that screen.
async function waitFor(page, test, what, timeoutMs = 8000) {
  for (const end = Date.now() + timeoutMs; ;) {
    // A page that is loading again has no screen to read yet.
    const reading = screen(page);
    const shown = await reading.catch(error => (/destroyed|navigat/.test(error.message) ? null : reading));
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

// The page point in the middle of a game pixel, and a click or a finger's tap there.
async function pagePoint(page, x, y) {
  const box = await page.locator('#screen').boundingBox();
  return [box.x + (x + 0.5) * box.width / WIDTH, box.y + (y + 0.5) * box.height / HEIGHT];
}
const tap = async (page, x, y) => page.mouse.click(...await pagePoint(page, x, y));
const touch = async (page, x, y) => page.touchscreen.tap(...await pagePoint(page, x, y));

// Fingers on the page's touch screen, several at once, through the DevTools protocol: a
// function of a finger's number and a page point that sets the finger down there or slides
// it there, or with null lifts it.
async function fingers(page) {
  const session = await page.context().newCDPSession(page);
  const down = new Map();
  return async (id, point) => {
    const type = point && !down.has(id) ? 'touchStart' : 'touchMove';
    if (point) down.set(id, point);
    else down.delete(id);
    const touchPoints = [...down].map(([n, [x, y]]) => ({id: n, x, y}));
    await session.send('Input.dispatchTouchEvent', {type: down.size ? type : 'touchEnd', touchPoints});
  };
}

// The middle of the page's button found by its accessible name.
async function middleOf(page, name) {
  const box = await page.getByRole('button', {name}).boundingBox();
  return [box.x + box.width / 2, box.y + box.height / 2];
}

module.exports = {WHOLE, PHONE, SIDEWAYS, serve, launch, screen, readBmp, differences, waitFor, waitForScreen,
                  pagePoint, tap, touch, fingers, middleOf};

// The browser build measured in Debian's headless Chromium, each figure beside its floor in
// the same run: page load to the start screen and to the menu (after the load event), the
// site's size, the processor time of the whole browser idle in the menu and in the name
// entry beside a bare page holding a canvas of the same size, play beside a bare page that
// draws a 240 x 320 canvas every 50 ms, and the pacing of the play frames.
// Usage: node bench/web_bench.js <site folder> <native build folder>
'use strict';
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const web = require('../web/test/browser');

const site = path.resolve(process.argv[2] || 'build-web/site');
const native = path.resolve(process.argv[3] || 'build-web/native');
// The name entry's keyboard as the gallery tool draws it, to know when the name entry shows.
const gallery = fs.mkdtempSync(path.join(os.tmpdir(), 'zorblats-gallery-'));
execFileSync(path.join(native, 'tools/gallery/gallery'), [path.join(native, 'bin'), gallery],
             {env: {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy'}, stdio: 'ignore'});
const keyboard = web.readBmp(path.join(gallery, '15-name-entry.bmp'));
fs.rmSync(gallery, {recursive: true, force: true});
const WINDOW_MS = 15000;

// Processor time of a process and all its descendants, in ms.
function treeCpuMs(root) {
  const parents = new Map();
  const times = new Map();
  for (const pid of fs.readdirSync('/proc').filter(name => /^\d+$/.test(name))) {
    try {
      const fields = fs.readFileSync(`/proc/${pid}/stat`, 'utf8').replace(/^.*\) /, '').split(' ');
      parents.set(Number(pid), Number(fields[1]));
      times.set(Number(pid), (Number(fields[11]) + Number(fields[12])) * 10);  // ticks of 10 ms
    } catch (gone) { /* the process ended meanwhile */ }
  }
  let total = 0;
  for (const [pid, ms] of times) {
    for (let p = pid; p; p = parents.get(p)) {
      if (p === root) { total += ms; break; }
    }
  }
  return total;
}

// Runs a scene in a fresh browser; measure() returns the share of a core it used.
async function inBrowser(scene) {
  const server = await web.chromium.launchServer(web.options);
  const browser = await web.chromium.connect(server.wsEndpoint());
  const page = await browser.newPage({viewport: {width: 480, height: 700}});
  const measure = async () => {
    await page.waitForTimeout(2000);  // settle
    const before = treeCpuMs(server.process().pid);
    const started = Date.now();
    await page.waitForTimeout(WINDOW_MS);
    return (treeCpuMs(server.process().pid) - before) / (Date.now() - started) * 100;
  };
  try {
    return await scene(page, measure);
  } finally {
    await browser.close();
    await server.close();
  }
}

// Records when each whole screen and each play frame reaches the canvas.
function recordDraws() {
  window.draws = [];
  let hooked = null;
  Object.defineProperty(window, 'Module', {
    configurable: true,
    get: () => hooked,
    set: module => {
      const draw = module.page.draw;
      module.page.draw = (...args) => {
        window.draws.push([performance.now(), args[5] * args[6]]);
        draw(...args);
      };
      hooked = module;
    },
  });
}

// A bare page with a canvas as the game's: still, drawn whole every 50 ms (play), or blinking
// a cursor as the name entry does (a 10 ms timer, a 10 x 12 change every 40 ms).
const bare = script => 'data:text/html,' + encodeURIComponent(`<body style="margin:0;background:#000">
  <canvas id="c" width="240" height="320" style="width:480px;height:640px;image-rendering:pixelated"></canvas>
  <script>const c = document.getElementById('c').getContext('2d'); const i = c.createImageData(240, 320);
  let n = 0; c.putImageData(i, 0, 0); ${script}</script>`);
const STILL = '';
const PLAYING = 'setInterval(() => { i.data.fill(++n & 255); c.putImageData(i, 0, 0); }, 50);';
const BLINKING = 'setInterval(() => { if (++n % 4 === 0) { c.fillStyle = n % 8 ? "#fff" : "#000"; c.fillRect(60, 60, 10, 12); } }, 10);';

const pct = value => `${value.toFixed(1)} %`;

(async () => {
  const served = await web.serve(site);
  const rows = [];
  const row = (what, figure, floor, goal) => {
    rows.push([what, figure, floor, goal]);
    console.log([what, figure, floor, goal].join(' | '));
  };

  // Load: the start screen is the first whole screen drawn, the menu the next one a second on.
  const loads = [];
  for (let run = 0; run < 5; ++run) {
    loads.push(await inBrowser(async page => {
      await page.addInitScript(recordDraws);
      await page.goto(served.url);
      await page.waitForTimeout(2500);
      return page.evaluate(() => {
        const load = performance.getEntriesByType('navigation')[0].loadEventStart;
        const whole = window.draws.filter(d => d[1] === 240 * 320).map(d => d[0] - load);
        return [load, whole[0], whole.find(t => t > whole[0] + 500)];
      });
    }));
  }
  const median = values => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];
  row('load event after navigation (median of 5)', `${median(loads.map(l => l[0])).toFixed(0)} ms`, '', '');
  row('start screen after the load event', `${median(loads.map(l => l[1])).toFixed(0)} ms`, '', 'within 1000 ms');
  row('menu after the load event', `${median(loads.map(l => l[2])).toFixed(0)} ms`, '', '(start screen + 1000 ms)');

  const files = fs.readdirSync(site, {recursive: true}).map(f => path.join(site, f)).filter(f => fs.statSync(f).isFile());
  const bytes = files.reduce((sum, f) => sum + fs.statSync(f).size, 0);
  const gzipped = files.reduce((sum, f) => sum + zlib.gzipSync(fs.readFileSync(f), {level: 9}).length, 0);
  row('site size', `${(bytes / 1024).toFixed(0)} KB (${(gzipped / 1024).toFixed(0)} KB gzipped)`, '', 'under 1024 KB');

  const idleBare = await inBrowser(async (page, measure) => { await page.goto(bare(STILL)); return measure(); });
  const idleMenu = await inBrowser(async (page, measure) => {
    await page.goto(served.url);
    return measure();
  });
  row('idle in the menu (whole browser)', pct(idleMenu), `${pct(idleBare)} bare canvas`, 'within 1 % of the floor');

  const nameEntry = await inBrowser(async (page, measure) => {
    await page.goto(served.url);
    await page.waitForTimeout(2500);
    await web.tap(page, 120, 105);  // options: hard, for a quick loss
    await web.tap(page, 28, 141);
    await web.tap(page, 30, 303);
    await page.waitForTimeout(300);
    await web.tap(page, 120, 71);
    await page.keyboard.down('Space');
    await page.waitForTimeout(2000);
    await page.keyboard.up('Space');
    await web.waitForScreen(page, keyboard, 'the name entry', 120000, 234, 320);
    return measure();
  });
  const blinking = await inBrowser(async (page, measure) => { await page.goto(bare(BLINKING)); return measure(); });
  row('idle in the name entry (whole browser)', pct(nameEntry),
      `${pct(idleBare)} bare canvas, ${pct(blinking)} blinking as the entry does`, 'within 1 % of the floor');

  const playBare = await inBrowser(async (page, measure) => { await page.goto(bare(PLAYING)); return measure(); });
  let frames = [];
  const play = await inBrowser(async (page, measure) => {
    await page.addInitScript(recordDraws);
    await page.goto(served.url);
    await page.waitForTimeout(2500);
    await web.tap(page, 120, 71);
    await page.waitForTimeout(1500);
    await page.evaluate(() => { window.draws.length = 0; });
    const share = await measure();
    frames = await page.evaluate(() => window.draws.map(d => d[0]));
    return share;
  });
  row('play (whole browser)', pct(play), `${pct(playBare)} bare canvas drawn every 50 ms`, '');
  const gaps = frames.slice(1).map((t, i) => t - frames[i]).filter(g => g > 20);  // frame to frame
  const sorted = gaps.slice().sort((a, b) => a - b);
  const mean = gaps.reduce((a, b) => a + b, 0) / gaps.length;
  const spread = Math.sqrt(gaps.reduce((a, g) => a + (g - mean) ** 2, 0) / gaps.length);
  row('play frames', `${gaps.length} frames: mean ${mean.toFixed(1)} ms, sd ${spread.toFixed(1)} ms, ` +
      `95 % ${sorted[Math.floor(0.95 * sorted.length)].toFixed(1)} ms, max ${sorted[sorted.length - 1].toFixed(1)} ms`,
      '50 ms wait', 'mean near 50 ms + the frame');
  served.stop();
})();

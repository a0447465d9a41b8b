// The browser build measured in Debian's headless Chromium, each figure beside its floor in
// the same run: the time from the page's load to the start screen and to the menu; the
// processor time of the whole browser (every process of its tree) idle in the menu and in
// the name entry, beside a second browser showing a bare canvas of the same size; the same
// while playing, beside a bare canvas drawn every 50 ms; and the pacing of the play frames.
// Then a phone's page with the on-screen controls: idle in the menu, and the time from a
// touch on Fire to the canvas showing the shot.
// The game browser and the floor browser run at the same time, so they share the machine's
// noise. Every round starts both browsers afresh (each with a fresh profile).
// Usage: node bench/web_bench.js <site> <gallery folder> [rounds] [seconds]
'use strict';
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const { chromium } = require(path.join(__dirname, '..', 'web', 'node_modules', 'playwright-core'));

const [site, gallery] = process.argv.slice(2, 4).map(p => path.resolve(p));
const rounds = Number(process.argv[4] || 3);
const seconds = Number(process.argv[5] || 10);
const CHROMIUM = process.env.ZORBLATS_CHROMIUM || '/usr/lib/chromium/chromium-headless-shell';
const TICKS_PER_SECOND = Number(process.env.CLK_TCK || 100);
const VIEWPORT = {width: 480, height: 640};  // the canvas at scale 2 in both browsers
// A phone upright, touch only: the page shows its on-screen controls.
const PHONE = {viewport: {width: 412, height: 915}, deviceScaleFactor: 2.625, hasTouch: true, isMobile: true};
const PRESSES = 24;  // touches on Fire timed in a round
const SHIP_TOP = 236;  // the first row of the ship; its shot starts above it
const NEW_GAME = [120, 71];  // game pixels of the taps: the main menu's New game and Options,
const OPTIONS = [120, 105];  // the options' Hard and Back, the play screen's Menu
const HARD = [28, 143];
const BACK = [30, 303];
const MENU_BUTTON = [208, 282];
const HEADING_ROWS = 50;  // the name entry's heading (its keyboard may show the keys' focus mark)
const sleep = ms => new Promise(done => setTimeout(done, ms));

// Serves a folder with the game's own static server; resolves to its address and its stop.
function serve(folder) {
  const server = spawn(process.execPath, [path.join(__dirname, '..', 'web', 'serve.js'), folder, '0'],
                       {stdio: ['ignore', 'pipe', 'inherit']});
  return new Promise((resolve, reject) => {
    server.stdout.on('data', text => {
      const found = /http:\/\/[\d.:]+\//.exec(String(text));
      if (found) resolve({url: found[0], stop: () => server.kill()});
    });
    server.on('exit', code => reject(new Error(`the server for ${folder} ended (${code})`)));
  });
}

// A digest of the 5-6-5 colours of rows top to bottom - 1 of a 240-wide RGBA picture; the
// same function runs in the page (as text) and here.
function digest(rgba, top, bottom) {
  let hash = 2166136261;
  for (let i = top * 240; i < bottom * 240; ++i) {
    const colour = (rgba[4 * i] >> 3) << 11 | (rgba[4 * i + 1] >> 2) << 5 | rgba[4 * i + 2] >> 3;
    hash = Math.imul(hash ^ colour, 16777619);
  }
  return hash >>> 0;
}

// The gallery tool's 24-bit BMP of a screen as RGBA.
function readBmp(name) {
  const bytes = fs.readFileSync(path.join(gallery, `${name}.bmp`));
  const start = bytes.readUInt32LE(10), rowBytes = (240 * 3 + 3) & ~3;
  const rgba = new Uint8Array(240 * 320 * 4);
  for (let y = 0; y < 320; ++y) {
    for (let x = 0; x < 240; ++x) {
      const from = start + (319 - y) * rowBytes + 3 * x, to = 4 * (y * 240 + x);
      rgba.set([bytes[from + 2], bytes[from + 1], bytes[from], 255], to);
    }
  }
  return rgba;
}
const START_SCREEN = digest(readBmp('01-start-screen'), 0, 320);
const MENU = digest(readBmp('02-main-menu'), 0, 320);
const NAME_ENTRY = digest(readBmp('15-name-entry'), 0, HEADING_ROWS);

// Put into the game's page before its scripts: every canvas draw is timed while
// bench.timing is set, and while bench.watching is set the canvas is read back after each
// draw and each new picture noted with its time and digests (whole, heading rows).
const HOOK = `(() => {
  const digest = ${digest};
  const bench = window.bench = {timing: false, watching: false, draws: [], pictures: [], last: 0,
                                shot: null, pressedAt: 0, shownAt: 0};
  // Whether a part of the canvas, [left, top, width, height], shows the amber of a shot.
  const amberIn = (context, part) => {
    const data = context.getImageData(...part).data;
    for (let i = 0; i < data.length; i += 4) if (data[i] === 255 && data[i + 1] === 199 && data[i + 2] === 74) return true;
    return false;
  };
  bench.amberIn = part => amberIn(document.getElementById('screen').getContext('2d'), part);
  addEventListener('pointerdown', event => { bench.pressedAt = event.timeStamp; }, true);
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    put.apply(this, args);
    const now = performance.now();
    if (bench.timing) bench.draws.push(now);
    if (bench.shot && bench.pressedAt && !bench.shownAt && amberIn(this, bench.shot)) bench.shownAt = now;
    if (!bench.watching) return;
    const rgba = this.getImageData(0, 0, 240, 320).data;
    const whole = digest(rgba, 0, 320);
    if (whole !== bench.last) bench.pictures.push([now, whole, digest(rgba, 0, ${HEADING_ROWS})]);
    bench.last = whole;
  };
})();`;

// Waits until the game's page has shown a picture that test accepts; gives its time.
async function waitForPicture(page, test, what, timeoutMs) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const found = (await page.evaluate(() => window.bench.pictures)).find(test);
    if (found) return found[0];
    if (Date.now() > end) break;
    await sleep(100);
  }
  throw new Error(`${what} never showed (is the gallery from the same build?)`);
}

// ---- Processor time of a browser's process tree, from /proc --------------------------
function processes() {
  const all = new Map();  // pid -> [parent, utime + stime in ticks]
  for (const name of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(name)) continue;
    let stat;
    try { stat = fs.readFileSync(`/proc/${name}/stat`, 'utf8'); } catch { continue; }
    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');  // from field 3, the state
    all.set(Number(name), [Number(fields[1]), Number(fields[11]) + Number(fields[12])]);
  }
  return all;
}
function treeTicks(all, root) {
  const ticks = new Map();
  const queue = [root];
  while (queue.length) {
    const pid = queue.pop();
    if (!all.has(pid)) continue;
    ticks.set(pid, all.get(pid)[1]);
    for (const [child, [parent]] of all) if (parent === pid) queue.push(child);
  }
  return ticks;
}
// Runs during while the clock runs `seconds`; gives each tree's processor time as % of a core.
async function cpuPercent(roots, during = () => sleep(seconds * 1000)) {
  const before = processes();
  const start = Date.now();
  await during();
  const wall = (Date.now() - start) / 1000;
  const after = processes();
  return roots.map(root => {
    const from = treeTicks(before, root);
    let used = 0;
    for (const [pid, ticks] of treeTicks(after, root)) used += ticks - (from.get(pid) || 0);
    return 100 * used / TICKS_PER_SECOND / wall;
  });
}

async function launch() {
  const server = await chromium.launchServer({
    executablePath: CHROMIUM,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  return {pid: server.process().pid, server, browser: await chromium.connect(server.wsEndpoint())};
}

// The settings file the rounds start from: easy, sound on, and a table of five scores of
// -1, so that any game ends in the name entry.
function settingsBytes() {
  const bytes = new Uint8Array(211);
  const view = new DataView(bytes.buffer);
  for (let place = 0; place < 5; ++place) view.setInt32(156 + 4 * place, -1, true);
  bytes.set([1, 1, 35, 0], 176);
  bytes.set([...Buffer.from('Brask')], 180);
  return bytes;
}
function storeSettings(page, bytes) {
  return page.evaluate(contents => new Promise((resolve, reject) => {
    const open = indexedDB.open('/saves/zorblats');
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const store = open.result.transaction('FILE_DATA', 'readwrite').objectStore('FILE_DATA');
      const put = store.put({timestamp: new Date(), mode: 0o100644, contents: Uint8Array.from(contents)},
                            '/saves/zorblats/zorblats.set');
      put.onsuccess = () => resolve();
      put.onerror = () => reject(put.error);
    };
  }), Array.from(bytes));
}

// The game's page with the hook, watching its pictures from the start.
async function openGame(context, url) {
  const page = await context.newPage();
  page.on('pageerror', error => console.error('page error:', error.message));
  await page.addInitScript(`${HOOK}; window.bench.watching = true;`);
  await page.goto(url);
  return page;
}

async function tap(page, x, y) {
  const box = await page.locator('#screen').boundingBox();
  await page.mouse.click(box.x + (x + 0.5) * box.width / 240, box.y + (y + 0.5) * box.height / 320);
}

// Holds one arrow key down (null: none), letting go of the other.
async function hold(page, key) {
  for (const other of ['ArrowLeft', 'ArrowRight']) if (other !== key) await page.keyboard.up(other);
  if (key) await page.keyboard.down(key);
}

// Touches Fire PRESSES times, each once the last shot is gone from the ship's column, and
// gives the times from the touch to the first canvas draw showing the new shot.
async function timeShots(page) {
  const session = await page.context().newCDPSession(page);
  const touch = (type, x, y) => session.send('Input.dispatchTouchEvent', {type, touchPoints: type === 'touchEnd' ? [] : [{x, y}]});
  const box = await page.locator('#screen').boundingBox();
  await touch('touchStart', box.x + box.width / 2, box.y + NEW_GAME[1] * box.height / 320);
  await touch('touchEnd');
  await sleep(4000);  // past the level's banner
  const fire = await page.getByRole('button', {name: 'Fire'}).boundingBox();
  const ship = await page.evaluate(top => {  // the middle of the ship's ember outline
    const data = document.getElementById('screen').getContext('2d').getImageData(0, top, 240, 28).data;
    let sum = 0, count = 0;
    for (let i = 0; i < data.length; i += 4) if (data[i] === 148 && data[i + 1] === 52 && data[i + 2] === 16) sum += (i / 4) % 240, ++count;
    return Math.round(sum / count);
  }, SHIP_TOP);
  const column = [ship - 4, 0, 9, SHIP_TOP - 2];
  const times = [];
  for (let i = 0; i < PRESSES; ++i) {
    for (let waited = 0; await page.evaluate(part => window.bench.amberIn(part), column) && waited < 3000; waited += 20) await sleep(20);
    await page.evaluate(part => Object.assign(window.bench, {shot: part, pressedAt: 0, shownAt: 0}), [ship - 4, SHIP_TOP - 40, 9, 38]);
    await touch('touchStart', fire.x + fire.width / 2, fire.y + fire.height / 2);
    for (let waited = 0; !(await page.evaluate(() => window.bench.shownAt)) && waited < 2000; waited += 10) await sleep(10);
    await touch('touchEnd');
    const [pressed, shown] = await page.evaluate(() => [window.bench.pressedAt, window.bench.shownAt]);
    if (pressed && shown) times.push(shown - pressed);
  }
  return times;
}

function intervals(times) {
  return times.slice(1).map((t, i) => t - times[i]);
}

// One round: fresh browsers; the load; the menu, play and the name entry beside the floors.
async function round(siteUrl, floorUrl) {
  const game = await launch();
  const floor = await launch();
  const row = {};
  try {
    // The first visit, in a fresh profile: load, start screen, menu.
    let context = await game.browser.newContext({viewport: VIEWPORT});
    let page = await openGame(context, siteUrl);
    row.menuMs = await waitForPicture(page, p => p[1] === MENU, 'the main menu', 20000);
    row.startMs = await waitForPicture(page, p => p[1] === START_SCREEN, 'the start screen', 0);
    row.loadMs = await page.evaluate(() => performance.getEntriesByType('navigation')[0].loadEventStart);
    row.afterLoadMs = row.startMs - row.loadMs;
    await context.close();

    // A page without its service worker (the floor has none), the settings stored and the
    // page loaded again.
    context = await game.browser.newContext({viewport: VIEWPORT, serviceWorkers: 'block'});
    page = await openGame(context, siteUrl);
    await waitForPicture(page, p => p[1] === MENU, 'the main menu', 20000);
    await storeSettings(page, settingsBytes());
    await page.goto(siteUrl);
    await waitForPicture(page, p => p[1] === MENU, 'the main menu', 20000);
    await page.evaluate(() => { window.bench.watching = false; });
    const floorContext = await floor.browser.newContext({viewport: VIEWPORT});
    const floorPage = await floorContext.newPage();
    await floorPage.goto(floorUrl);
    await sleep(2000);
    [row.floorIdle, row.menu] = await cpuPercent([floor.pid, game.pid]);

    // Play: New game, past the level banner, then the ship sweeping right and left (two
    // seconds each way) and firing four times a second, beside the floor drawing every 50 ms.
    await floorPage.goto(`${floorUrl}?frames`);
    await tap(page, ...NEW_GAME);
    await sleep(1500);
    await page.evaluate(() => { window.bench.timing = true; });
    await floorPage.evaluate(() => { window.floorDraws = []; });
    [row.floorFrames, row.play] = await cpuPercent([floor.pid, game.pid], async () => {
      for (let i = 0; i < seconds * 4; ++i) {
        if (i % 8 === 0) await hold(page, i % 16 ? 'ArrowLeft' : 'ArrowRight');
        await page.keyboard.down('ArrowUp');  // held for two frames: the game fires while it is held
        await sleep(100);
        await page.keyboard.up('ArrowUp');
        await sleep(150);
      }
    });
    row.frames = intervals(await page.evaluate(() => window.bench.draws));
    row.floorFramesAt = intervals(await floorPage.evaluate(() => window.floorDraws));
    await page.evaluate(() => { window.bench.timing = false; });

    // A new game on hard, lost with the ship standing still under the enemies, then the
    // name entry beside the bare canvas.
    await floorPage.goto(floorUrl);
    await hold(page, null);
    for (const point of [MENU_BUTTON, OPTIONS, HARD, BACK, NEW_GAME]) {
      await tap(page, ...point);
      await sleep(700);
    }
    await sleep(1000);
    await hold(page, 'ArrowLeft');
    await sleep(3000);
    await hold(page, 'ArrowRight');
    await sleep(1500);
    await hold(page, null);
    await page.evaluate(() => { window.bench.pictures = []; window.bench.watching = true; });
    await waitForPicture(page, p => p[2] === NAME_ENTRY, 'the name entry', 300000);
    await page.evaluate(() => { window.bench.watching = false; });
    await sleep(2000);
    [row.floorEntry, row.entry] = await cpuPercent([floor.pid, game.pid]);
    await floorPage.goto(`${floorUrl}?blink`);
    await sleep(1000);
    [row.floorBlink, row.entry2] = await cpuPercent([floor.pid, game.pid]);
    await context.close();

    // The phone page, its controls shown, idle in the menu beside the bare canvas, then
    // play by touch: the time from a touch on Fire to the canvas showing the shot.
    await floorPage.goto(floorUrl);
    context = await game.browser.newContext({...PHONE, serviceWorkers: 'block'});
    page = await openGame(context, siteUrl);
    await waitForPicture(page, p => p[1] === MENU, 'the main menu on the phone', 20000);
    await page.evaluate(() => { window.bench.watching = false; });
    await sleep(2000);
    [row.floorPhone, row.phone] = await cpuPercent([floor.pid, game.pid]);
    row.shots = await timeShots(page);
  } finally {
    for (const one of [game, floor]) {
      await one.browser.close().catch(() => {});
      await one.server.close().catch(() => {});
    }
  }
  return row;
}

const median = values => {
  const sorted = [...values].sort((a, b) => a - b);
  const n = sorted.length;
  return n % 2 ? sorted[(n - 1) / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
};
const percentile = (values, p) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(p / 100 * sorted.length))];
};
const mean = values => values.reduce((a, b) => a + b, 0) / values.length;
const f = (value, width, digits = 1) => value.toFixed(digits).padStart(width);

// The columns of a round's line: the load in ms after navigation, then each processor
// time (% of a core) beside its floor, then the play frames' intervals in ms.
const COLUMNS = [
  ['load_ms', 'loadMs', 0], ['start_ms', 'startMs', 0], ['menu_ms', 'menuMs', 0],
  ['bare_%', 'floorIdle', 2], ['menu_%', 'menu', 2], ['frames_%', 'floorFrames', 2], ['play_%', 'play', 2],
  ['bare_%', 'floorEntry', 2], ['entry_%', 'entry', 2], ['blink_%', 'floorBlink', 2], ['entry_%', 'entry2', 2],
  ['bare_%', 'floorPhone', 2], ['phone_%', 'phone', 2],
];

async function main() {
  const siteServer = await serve(site);
  const floorServer = await serve(__dirname);
  const rows = [];
  try {
    console.log(['round', ...COLUMNS.map(([title]) => title), 'frame_mean', 'p95', 'max']
      .map(title => title.padStart(8)).join(' '));
    for (let r = 1; r <= rounds; ++r) {
      const row = await round(siteServer.url, `${floorServer.url}web_floor.html`);
      rows.push(row);
      console.log([String(r).padStart(8), ...COLUMNS.map(([, key, digits]) => f(row[key], 8, digits)),
                   f(mean(row.frames), 10), f(percentile(row.frames, 95), 8), f(Math.max(...row.frames), 8)].join(' '));
    }
  } finally {
    siteServer.stop();
    floorServer.stop();
  }

  const m = key => median(rows.map(row => row[key]));
  const verdict = ok => (ok ? 'met' : 'MISSED');
  const beside = (game, floor) => `${f(m(game), 5, 2)} % of a core; floor ${f(m(floor), 0, 2)} %, above it ` +
    `${f(m(game) - m(floor), 0, 2)} %` + (m(floor) > 0 ? `, ratio ${f(m(game) / m(floor), 0, 2)}` : '');
  console.log();
  console.log(`medians of ${rounds} rounds, ${seconds} s windows:`);
  console.log(`start screen after the load event:  ${f(m('afterLoadMs'), 5, 0)} ms` +
              `  (goal <= 1000)  ${verdict(m('afterLoadMs') <= 1000)}`);
  console.log(`  after navigation: load event ${f(m('loadMs'), 0, 0)} ms, start screen ${f(m('startMs'), 0, 0)} ms, ` +
              `menu ${f(m('menuMs'), 0, 0)} ms`);
  console.log(`idle in the menu, bare canvas:      ${beside('menu', 'floorIdle')}  (goal: within 1)  ` +
              verdict(m('menu') - m('floorIdle') <= 1));
  console.log(`idle in the name entry, bare canvas: ${beside('entry', 'floorEntry')}  (goal: within 1)  ` +
              verdict(m('entry') - m('floorEntry') <= 1));
  console.log(`  beside a canvas blinking a cursor as the name entry does (wakes every 10 ms): ` +
              beside('entry2', 'floorBlink'));
  console.log(`idle in the menu on a phone, the on-screen controls shown: ${beside('phone', 'floorPhone')}` +
              `  (goal: within 1 of the menu without them, ${f(m('menu'), 0, 2)} %)  ${verdict(m('phone') - m('menu') <= 1)}`);
  console.log(`playing, canvas drawn every 50 ms:  ${beside('play', 'floorFrames')}`);
  const shots = rows.flatMap(row => row.shots);
  console.log(`a touch on Fire to the shot shown: ${shots.length} of ${rounds * PRESSES} presses, ` +
              `median ${f(percentile(shots, 50), 0)} ms, p95 ${f(percentile(shots, 95), 0)} ms, ` +
              `max ${f(Math.max(...shots), 0)} ms  (goal: under 70 ms)  ${verdict(percentile(shots, 95) < 70)}`);
  const draws = rows.reduce((sum, row) => sum + row.frames.length + 1, 0);
  const floorDraws = rows.reduce((sum, row) => sum + row.floorFramesAt.length + 1, 0);
  console.log(`canvas draws while playing: ${draws}, the floor's ${floorDraws}`);
  const frames = rows.flatMap(row => row.frames);
  const floorFrames = rows.flatMap(row => row.floorFramesAt);
  for (const [name, list] of [['play frames:', frames], ['the floor, every 50 ms:', floorFrames]]) {
    console.log(`${name.padEnd(24)} ${String(list.length).padStart(5)} intervals (ms): mean ${f(mean(list), 0)}, ` +
                `p50 ${f(percentile(list, 50), 0)}, p95 ${f(percentile(list, 95), 0)}, max ${f(Math.max(...list), 0)}`);
  }
}

main().catch(error => {
  console.error(error);
  process.exit(1);
});

// The browser build played in headless Chromium, as players would: on a desktop by mouse,
// keys and a pad; on an upright and a sideways phone by touch alone, through the on-screen
// controls; the screens compared pixel for pixel with the gallery tool's pictures (the same
// content drawn by the desktop's code). What only the page does is checked here (the game's
// rules are the desktop tests'): its layout, controls and buttons, focus, sound, storage,
// downloads, offline copy, one tab, full screen, and replays crossing between the page and
// the desktop game. Each step waits for the screen it names and fails with its name; an
// error inside a page fails its step.
// Usage: node web/test/e2e.js <site folder> <native build folder> <desktop game folder>
//        (ONLY=<words> picks steps; words that match none fail)
'use strict';
const assert = require('node:assert/strict');
const { execFileSync, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const web = require('./browser');
const shots = require('../screenshots');

const [site, native, desktopGame] = process.argv.slice(2).map(p => path.resolve(p));
// Taps at game pixels, and parts of the screen: [left, top, right, bottom) in game pixels.
const NEW_GAME = [120, 71];
const OPTIONS = [120, 105];
const EXIT = [120, 239];
const BACK = [30, 303];
const HARD = [28, 141];
const PANEL = [0, 266, 240, 320];  // lives, score and level below the play field
const TITLE = [0, 0, 240, 60];

// The desktop's screens, drawn by the gallery tool from the same content, and the test's
// other files.
const gallery = fs.mkdtempSync(path.join(os.tmpdir(), 'zorblats-web-'));
execFileSync(path.join(native, 'tools/gallery/gallery'), [path.join(native, 'bin'), gallery],
             {env: {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy'}, stdio: 'ignore'});
const picture = name => web.readBmp(path.join(gallery, `${name}.bmp`));

// Waits until the parts of the screen (all of it if none are given) are the named picture's.
const showing = (page, name, what, ...parts) =>
  web.waitForScreen(page, picture(name), what, 20000, parts.length ? parts : [web.WHOLE]);
// The ship's place: the middle of its outline's pixels in its rows.
function shipX(shown) {
  const ember = (150 >> 3) << 11 | (52 >> 2) << 5 | 22 >> 3;  // the ship's outline
  const xs = [];
  for (let i = 236 * 240; i < 265 * 240; ++i) if (shown[i] === ember) xs.push(i % 240);
  return xs.reduce((a, b) => a + b, 0) / xs.length;  // NaN when no ship shows
}

// Put into every page before its scripts: a pad in the browser's standard layout whose
// buttons the test presses, counting the page's reads of it; counts of the sounds started
// and the canvas draws; a storage that aborts every write while window.refuseWrites is set,
// as a full quota aborts it.
function instruments() {
  const pad = {index: 0, connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
               buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
  Object.assign(window, {padReads: 0, soundsStarted: 0, draws: 0});
  navigator.getGamepads = () => (++window.padReads, [pad]);
  window.padButton = (button, down) => { pad.buttons[button].pressed = down; };
  addEventListener('load', () => dispatchEvent(Object.assign(new Event('gamepadconnected'), {gamepad: pad})));
  const after = (prototype, method, then) => {
    const original = prototype[method];
    prototype[method] = function (...rest) {
      const result = original.apply(this, rest);
      then(this);
      return result;
    };
  };
  after(AudioBufferSourceNode.prototype, 'start', () => ++window.soundsStarted);
  after(CanvasRenderingContext2D.prototype, 'putImageData', () => ++window.draws);
  after(IDBObjectStore.prototype, 'put', store => window.refuseWrites && store.transaction.abort());
}

// ---- Each step's browser contexts, the errors in their pages, and its pages ----------------
let url, browser;
const contexts = [];
const errors = [];
async function newContext(options) {
  const context = await browser.newContext(options);
  contexts.push(context);
  context.on('page', page => page.on('pageerror', error => errors.push(error.message)));
  await context.addInitScript(instruments);
  return context;
}
// A page of the game in a new context with these options, once it shows the screens named.
async function open(options, screens = ['02-main-menu']) {
  const page = await (await newContext(options)).newPage();
  await page.goto(url);
  for (const screen of screens) await showing(page, screen, `the ${screen} screen`);
  return page;
}

// Presses and lets go of a pad button, each once the page has read the pad again.
async function pressPad(page, button) {
  for (const down of [true, false]) {
    const reads = await page.evaluate(([b, d]) => (window.padButton(b, d), window.padReads), [button, down]);
    await page.waitForFunction(n => window.padReads > n + 1, reads);
  }
}

// The ship at rest: no control shows held, and the ship is where it was four draws later.
async function shipAtRest(page, what) {
  assert.equal(await page.locator('.control.held').count(), 0, `${what}: a control still shows held`);
  const before = shipX(await web.screen(page));
  await page.waitForFunction(n => window.draws >= n + 4, await page.evaluate(() => window.draws));
  assert.equal(shipX(await web.screen(page)), before, `${what}: the ship still moves`);
}

// The sentence on the page's closing notice, once it shows.
async function closingSentence(page) {
  await page.locator('#notice-button', {hasText: /again/}).waitFor({timeout: 60000});
  return page.locator('#notice-text').textContent();
}

// ---- The steps -------------------------------------------------------------------------------
// A desktop page by mouse, keys and a pad. Its second session, saved with "Save this replay",
// plays to its end with the same pictures at every checkpoint on the desktop, and a session the
// desktop recorded does the same on the page from a link (the file in its fragment); a link cut
// short is refused with its sentence.
async function desktop() {
  const page = await open({viewport: {width: 1280, height: 800}}, ['01-start-screen', '02-main-menu']);
  await web.tap(page, ...NEW_GAME);
  await showing(page, '14-level-banner', 'play after a tap on New game', PANEL);
  await page.evaluate(() => {
    document.hasFocus = () => false;
    dispatchEvent(new Event('blur'));
  });
  await showing(page, '03-main-menu-resume', 'the menu with Resume after a lost focus');
  await web.tap(page, ...EXIT);
  assert.match(await closingSentence(page), /ZORBLATS has ended/);
  assert.equal(await page.evaluate(() => document.activeElement.textContent), 'Play again', 'the focus');
  await page.keyboard.press('Enter');
  await showing(page, '02-main-menu', 'the menu after Play again by Enter');
  const manifest = await (await fetch(`${url}manifest.webmanifest`)).json();  // installable
  assert.deepEqual(manifest.icons.map(icon => icon.sizes), ['192x192', '512x512'], 'the icons');
  for (const icon of manifest.icons) {  // each a PNG of its size
    const png = Buffer.from(await (await fetch(url + icon.src)).arrayBuffer());
    assert.equal(`${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`, icon.sizes, icon.src);
  }
  // The pad: down to New game, south presses it; Space fires, heard, held for a second as a
  // player holds it; the pad's Start pauses the game.
  for (const button of [13, 0]) await pressPad(page, button);
  await showing(page, '14-level-banner', 'play after the pad\'s south button', PANEL);
  await page.keyboard.down('Space');
  await page.waitForFunction(() => window.soundsStarted > 0);
  await page.waitForTimeout(1200);
  await page.keyboard.up('Space');
  await pressPad(page, 9);
  await showing(page, '03-main-menu-resume', 'the menu after the pad\'s Start', [0, 0, 240, 56]);
  await web.tap(page, ...EXIT);
  const [download] = await Promise.all([page.waitForEvent('download'),
                                        page.getByRole('button', {name: 'Save this replay'}).click()]);
  // The desktop game without a display (SDL's dummy drivers), in a folder of its own where it
  // keeps its settings and replays, its lock there too. Its session: the start screen and the
  // menu, ended by SIGTERM after 3 s of the wall clock, its game clock: a checkpoint a second.
  const folder = path.join(gallery, 'desktop');
  fs.cpSync(desktopGame, folder, {recursive: true});
  const env = {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy', XDG_RUNTIME_DIR: folder};
  const recorded = path.join(folder, 'desktop.zrp');
  spawnSync('timeout', ['-s', 'TERM', '3', path.join(folder, 'zorblats'), '--record', recorded], {env});
  const watched = spawnSync(path.join(folder, 'zorblats'), ['--replay', await download.path()],
                            {env, encoding: 'utf8', timeout: 120000});
  const SAME = /The replay played to its end: the same pictures at all (\d+) checkpoints\./;
  const desktopSaid = SAME.exec(watched.stdout);
  assert.ok(watched.status === 0 && desktopSaid && Number(desktopSaid[1]) >= 3,
            `the desktop's replay of the page's session: ${watched.status} ${watched.stdout}${watched.stderr}`);
  const link = `${url}#replay=${fs.readFileSync(recorded).toString('base64url')}`;
  await page.goto('about:blank');
  await page.goto(link);
  await page.locator('#replay-status', {hasText: 'replay x1'}).waitFor();  // in the page's corner
  assert.ok(SAME.exec(await closingSentence(page))?.[1] >= 2, 'the page\'s replay of the desktop\'s session');
  await page.goto('about:blank');
  await page.goto(link.slice(0, -40));
  assert.equal(await closingSentence(page), 'The replay file is cut short.');
}

async function layout() {
  const sizes = [  // width, height, device pixels per CSS pixel, touch, scale, the controls' place
    [412, 915, 2.625, true, 4, 'below'], [915, 412, 2.625, true, 3, 'beside'],
    [800, 1280, 2, true, 6, 'below'], [1280, 800, 2, true, 5, 'beside'], [390, 844, 3, false, 4],
    [1280, 800, 1, false, 2], [200, 200, 1, false, 1], [1280, 800, 1.5, false, 3]];
  for (const [width, height, ratio, touch, scale, place] of sizes) {
    const what = `${width} x ${height} at ${ratio}`;
    const page = await open({viewport: {width, height}, deviceScaleFactor: ratio, hasTouch: touch, isMobile: touch});
    const ids = ['screen', 'left', 'right', 'fire', 'fullscreen'];
    const boxes = await Promise.all(ids.map(id => page.locator(`#${id}`).boundingBox()));
    const [picture, ...controls] = boxes.map(box => box && [box.x, box.y, box.x + box.width, box.y + box.height]);
    const device = picture.map(v => Math.round(v * ratio));
    assert.deepEqual([device[2] - device[0], device[3] - device[1]], [240 * scale, 320 * scale], what);
    assert.equal(controls.slice(0, 3).every(Boolean), touch, `${what}: the controls shown`);
    const shown = controls.filter(Boolean);
    for (const [i, a] of shown.entries()) {
      assert.ok(a[0] >= 0 && a[1] >= 0 && a[2] <= width && a[3] <= height, `${what}: ${a} off the page`);
      for (const b of [picture, ...shown.slice(i + 1)]) {
        assert.ok(a[2] <= b[0] || b[2] <= a[0] || a[3] <= b[1] || b[3] <= a[1], `${what}: ${a} over ${b}`);
      }
    }
    for (const control of touch ? controls.slice(0, 3) : []) {
      const side = control[2] - control[0];
      assert.ok(side >= 48 && Math.round(side * ratio) % 20 === 0, `${what}: a control ${side} CSS pixels wide`);
      const beside = control[2] <= picture[0] || control[0] >= picture[2];
      assert.ok(place === 'below' ? control[1] >= picture[3] : beside, `${what}: a control not ${place} the picture`);
    }
    const centred = [width * ratio - 240 * scale, height * ratio - 320 * scale].map(v => Math.max(0, Math.floor(v / 2)));
    if (!touch) assert.deepEqual(device.slice(0, 2), centred, `${what}: centred`);
  }
}

async function touchPlay() {
  const page = await open(web.PHONE);
  const finger = await web.fingers(page);
  await web.touch(page, ...NEW_GAME);
  await showing(page, '14-level-banner', 'play after a touch on New game', PANEL);
  // A finger slid from one arrow to the other and back, then held with Fire: upright the ship
  // ends on the left, and sideways it starts to the right, away from that edge.
  for (const [size, names] of [[null, ['left', 'right', 'left']], [web.SIDEWAYS, ['right', 'left', 'right']]]) {
    const where = size ? 'sideways' : 'upright';
    if (size) await page.setViewportSize(size);
    for (const name of names) {
      const from = shipX(await web.screen(page));
      await finger(1, await web.middleOf(page, new RegExp(name)));
      const moved = shown => (name === 'left' ? from - shipX(shown) : shipX(shown) - from) > 6;
      await web.waitFor(page, moved, `${where}: the ship moving ${name} while held`);
    }
    await finger(2, await web.middleOf(page, /fire/i));
    // The score's digits change, and the ship goes on moving: both fingers hold their controls.
    const before = await web.screen(page);
    const both = shown => Math.abs(shipX(shown) - shipX(before)) > 6;
    const scored = shown => web.differences(shown, before, [124, 273, 172, 289]) > 12 && both(shown);
    await web.waitFor(page, scored, `${where}: a score and a move while a second finger holds Fire`, 20000);
    await finger(2, null);
    await finger(1, null);
    await shipAtRest(page, `${where}: the fingers lifted`);
  }
  // A finger still on Move right when the page is hidden: it lets go, and the game pauses.
  const hide = hidden => page.evaluate(on => {
    Object.defineProperty(document, 'visibilityState', {value: on ? 'hidden' : 'visible', configurable: true});
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
  await finger(1, await web.middleOf(page, /right/));
  await hide(true);
  await showing(page, '03-main-menu-resume', 'the menu with Resume when the page is hidden');
  await hide(false);
  await finger(2, await web.pagePoint(page, 120, 36));  // a second finger taps Resume
  await finger(2, null);
  await showing(page, '14-level-banner', 'play again after Resume', [180, 276, 238, 290]);  // Menu
  await shipAtRest(page, 'back from hidden');
}

// A phone page by touch. Options set with the storage refusing to write: the "error in
// settings file" box (the gallery tool's picture of it over the options), the options kept
// in play; the next save stored. Offline, from the service worker's copy, the page reads it
// back, and the full screen chosen by its button comes back at the first tap; left by F11,
// it stays left in a second tab, which waits until the first closes.
async function storage() {
  const page = await open(web.PHONE);
  // Waits until the page is in full screen or not, and the game has stored that choice in the
  // browser's storage (Emscripten's IndexedDB file system): each poll reads the stored file
  // for the next one to look at.
  const fullScreen = on => page.waitForFunction(want => {
    indexedDB.open('/saves/zorblats').onsuccess = ({target: {result: db}}) => {
      const get = db.transaction('FILE_DATA').objectStore('FILE_DATA').get('/saves/zorblats/zorblats.conf');
      get.onsuccess = () => { window.storedChoice = new TextDecoder().decode(get.result?.contents); };
    };
    return Boolean(document.fullscreenElement) === want && window.storedChoice?.includes(`fullscreen=${Number(want)}`);
  }, on, {polling: 50});
  await page.evaluate(() => { window.refuseWrites = true; });
  await web.touch(page, ...OPTIONS);
  await showing(page, '04-options', 'the options', TITLE);
  for (const point of [HARD, BACK]) await web.touch(page, ...point);
  await showing(page, '21-settings-error', 'the "error in settings file" box over the options');
  await page.evaluate(() => { window.refuseWrites = false; });
  await web.touch(page, 120, 178);  // the box's OK
  await showing(page, '02-main-menu', 'the menu after the box');
  await web.touch(page, ...OPTIONS);
  const chosen = await showing(page, '04-options', 'the options after the box', TITLE, [0, 200, 240, 320]);
  assert.ok(web.differences(chosen, picture('04-options')) > 0, 'Hard kept in play');
  await web.touch(page, ...BACK);
  await showing(page, '02-main-menu', 'the menu after a save that worked');
  await page.getByRole('button', {name: 'Full screen'}).tap();
  await fullScreen(true);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.context().setOffline(true);
  await page.reload();
  await showing(page, '02-main-menu', 'the menu offline after a reload');
  assert.equal(await page.evaluate(() => document.fullscreenElement), null, 'not full screen before a tap');
  await web.touch(page, ...OPTIONS);
  await fullScreen(true);
  await web.waitForScreen(page, chosen, 'the options read back', 20000);
  await page.keyboard.press('F11');
  await fullScreen(false);
  const second = await page.context().newPage();
  await second.goto(url);
  await second.getByText('already open in another tab').waitFor();
  await page.close();
  await showing(second, '02-main-menu', 'the menu in the second tab');
  await web.touch(second, ...OPTIONS);
  await showing(second, '04-options', 'the options in the second tab', TITLE);
  assert.equal(await second.evaluate(() => document.fullscreenElement), null, 'the page chosen again');
}

async function refusals() {
  // No storage (indexedDB.open throws) and no service worker: the files come from the server.
  const context = await newContext({...web.PHONE, serviceWorkers: 'block'});
  await context.addInitScript(() => {
    indexedDB.open = () => { throw new DOMException('refused', 'QuotaExceededError'); };
  });
  const page = await context.newPage();
  // A file that does not download: a sentence naming it and a button to try again; the
  // progress shows while the other files come.
  const failures = [['zorblats.js', 404, /zorblats\.js could not be downloaded: the server does not have it/],
                    ['zorblats.wasm', 'internetdisconnected', /zorblats\.wasm could not be downloaded: the network/]];
  for (const [file, failure, sentence] of failures) {
    await page.route(`**/${file}`, async route => {  // once the progress shows
      const progress = page.getByText(/Loading ZORBLATS: \d+ of \d+ KB/);
      await progress.waitFor().catch(() => errors.push(`no progress shown before ${file} failed`));
      await (typeof failure === 'number' ? route.fulfill({status: failure}) : route.abort(failure));
    });
    await page.goto(url);
    await page.getByText(sentence).waitFor();
    await page.unroute(`**/${file}`);
  }
  await page.getByRole('button', {name: 'Try again'}).tap();
  await showing(page, '02-main-menu', 'the menu after Try again');
  // The first save gives the box, and play goes on.
  await web.touch(page, ...OPTIONS);
  await showing(page, '04-options', 'the options', TITLE);
  for (const point of [HARD, BACK]) await web.touch(page, ...point);
  await showing(page, '21-settings-error', 'the "error in settings file" box with no storage');
  await web.touch(page, 120, 178);  // the box's OK
  await showing(page, '02-main-menu', 'the menu after the box');
  // The server answers a request it cannot read with 400 and goes on.
  assert.equal((await fetch(`${url}%`)).status, 400, 'GET /%');
}

// The README's pictures of the page are what it draws now, but for the stars of the play field.
async function readmePictures() {
  const changing = await shots.draw(browser, url, gallery, gallery);
  for (const [name, part] of Object.entries(changing)) {
    const files = [path.join(__dirname, '../../docs/screenshots', `${name}.png`), path.join(gallery, `${name}.png`)];
    const cover = part ? ['-fill', 'black', '-draw', `rectangle ${part[0]},${part[1]} ${part[2] - 1},${part[3] - 1}`] : [];
    const compare = ['-metric', 'AE', '-compare', '-format', '%[distortion]', 'info:'];
    const differing = execFileSync('convert', [...files, ...cover, ...compare], {encoding: 'utf8'});
    assert.equal(differing, '0', `docs/screenshots/${name}.png is not what the page draws: node web/screenshots.js`);
  }
}

const steps = [
  ['desktop: mouse, keys, a pad, sound, a lost focus, Play again; replays on the desktop and by link', desktop],
  ['layout: the picture, the controls and the full-screen button at phone, tablet and desktop sizes', layout],
  ['phone by touch alone: the controls move, turn and fire, upright and sideways; nothing stays held', touchPlay],
  ['storage: a refused save, the next one read back; the full screen kept; offline; a second tab', storage],
  ['refusals: a failed download names the file, tries again; no storage gives the box; a bad request', refusals],
  ['the README\'s pictures of the page', readmePictures],
];

(async () => {
  const server = await web.serve(site);
  url = server.url;
  browser = await web.launch();
  const chosen = steps.filter(([name]) => name.includes(process.env.ONLY || ''));
  let failed = chosen.length ? 0 : 1;
  if (!chosen.length) console.log(`FAIL no step matches ONLY=${process.env.ONLY}`);
  for (const [name, run] of chosen) {
    const started = Date.now();
    errors.length = 0;
    try {
      const hang = new Error('no end within 150 s: the page hangs');
      const hung = new Promise((_, reject) => setTimeout(reject, 150000, hang));
      await Promise.race([run(), hung]);
      if (errors.length) throw new Error(`errors in the page: ${errors.join('; ')}`);
      console.log(`ok   ${name} (${Date.now() - started} ms)`);
    } catch (error) {
      ++failed;
      console.log(`FAIL ${name}\n     ${error.message.split('\n').join('\n     ')}`);
    }
    for (const context of contexts.splice(0)) await context.close().catch(() => {});
  }
  await browser.close();
  server.stop();
  fs.rmSync(gallery, {recursive: true, force: true});
  console.log(failed ? `${failed} of ${chosen.length} failed` : `all ${chosen.length} passed`);
  process.exit(failed ? 1 : 0);
})();

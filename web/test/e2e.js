// The browser build played in headless Chromium, as players would: on a desktop by mouse,
// keys and a pad; on an upright and a sideways phone by touch alone, through the on-screen
// controls; the screens compared pixel for pixel with the gallery tool's pictures (the same
// content drawn by the desktop's code). Each step waits for the screen it names and fails
// with its name; an error inside a page fails its step. Replays cross between the page and
// the desktop game in both directions.
// Usage: node web/test/e2e.js <site folder> <native build folder> <desktop game folder>
//        (ONLY=<words> picks steps)
'use strict';
const assert = require('node:assert/strict');
const { execFileSync, spawn, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const web = require('./browser');
const shots = require('../screenshots');

const [site, native, desktopGame] = process.argv.slice(2).map(p => path.resolve(p));
// Taps at game pixels, and parts of the screen: [left, top, right, bottom) in game pixels.
const NEW_GAME = [120, 71];
const OPTIONS = [120, 105];
const HIGH_SCORES = [120, 168];
const EXIT = [120, 239];
const BACK = [30, 303];
const HARD = [28, 141];
const WHOLE = web.WHOLE;
const PANEL = [0, 266, 240, 320];  // lives, score and level below the play field
const SCORE = [124, 273, 172, 289];
const TITLE = [0, 0, 240, 60];

// The desktop's screens, drawn by the gallery tool from the same content, and the test's
// other files.
const gallery = fs.mkdtempSync(path.join(os.tmpdir(), 'zorblats-web-'));
execFileSync(path.join(native, 'tools/gallery/gallery'), [path.join(native, 'bin'), gallery],
             {env: {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy'}, stdio: 'ignore'});
const picture = name => web.readBmp(path.join(gallery, `${name}.bmp`));

// Waits until the parts of the screen are those of the named picture.
const showing = (page, name, parts, what = name) => web.waitForScreen(page, picture(name), what, 20000, parts);
// The ship's place: the middle of its outline's pixels in its rows.
function shipX(shown) {
  const ember = (150 >> 3) << 11 | (52 >> 2) << 5 | 22 >> 3;  // the ship's outline
  let sum = 0, count = 0;
  for (let i = 236 * 240; i < 265 * 240; ++i) if (shown[i] === ember) sum += i % 240, ++count;
  return count ? sum / count : NaN;
}

// ---- Put into the pages before their scripts ---------------------------------------------
// The page's clock four times as fast (a lost game in seconds): the game's frames wait
// with setTimeout and time themselves with performance.now.
function fastClock() {
  const now = performance.now.bind(performance);
  const start = now();
  performance.now = () => start + (now() - start) * 4;
  const setTimer = window.setTimeout.bind(window);
  window.setTimeout = (call, ms, ...rest) => setTimer(call, (ms || 0) / 4, ...rest);
}
// A pad in the browser's standard layout whose buttons the test presses, counting the
// page's reads of it; counts of the sounds started and the canvas draws; a storage that
// aborts every write while window.refuseWrites is set, as a full quota aborts it.
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

// ---- Helpers -------------------------------------------------------------------------------
// A file of the settings folder as the browser keeps it (Emscripten's IndexedDB file system).
function savedFile(page, name) {
  return page.evaluate(file => new Promise((resolve, reject) => {
    const open = indexedDB.open('/saves/zorblats');
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const get = open.result.transaction('FILE_DATA').objectStore('FILE_DATA').get(`/saves/zorblats/${file}`);
      get.onsuccess = () => resolve(get.result && get.result.contents ? Array.from(get.result.contents) : null);
    };
  }), name);
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

const hide = (page, hidden) => page.evaluate(on => {
  Object.defineProperty(document, 'visibilityState', {value: on ? 'hidden' : 'visible', configurable: true});
  document.dispatchEvent(new Event('visibilitychange'));
}, hidden);

// ---- The steps -------------------------------------------------------------------------------
async function desktop(t) {
  const page = await t.open({viewport: {width: 1280, height: 800}}, ['01-start-screen', '02-main-menu']);
  await web.tap(page, ...NEW_GAME);
  await showing(page, '14-level-banner', [PANEL], 'play after a tap on New game');
  await page.keyboard.down('Space');  // sound is on: the shots are heard
  await page.waitForFunction(() => window.soundsStarted > 0);
  await page.keyboard.up('Space');
  await page.evaluate(() => {
    document.hasFocus = () => false;
    dispatchEvent(new Event('blur'));
  });
  await showing(page, '03-main-menu-resume', [WHOLE], 'the menu with Resume after a lost focus');
  await page.evaluate(() => { document.hasFocus = () => true; });
  for (const on of [true, false]) {
    await page.getByRole('button', {name: 'Full screen'}).click();
    await page.waitForFunction(full => Boolean(document.fullscreenElement) === full, on);
  }
  await web.tap(page, ...EXIT);
  await page.getByText('ZORBLATS has ended.').waitFor();
  assert.equal(await page.evaluate(() => document.activeElement.textContent), 'Play again', 'the focus');
  await page.keyboard.press('Enter');
  await showing(page, '02-main-menu', [WHOLE], 'the menu after Play again by Enter');
  const manifest = await (await fetch(`${t.url}manifest.webmanifest`)).json();  // installable
  assert.deepEqual(manifest.icons.map(icon => icon.sizes), ['192x192', '512x512'], 'the icons');
  for (const icon of manifest.icons) {  // each a PNG of its size
    const png = Buffer.from(await (await fetch(t.url + icon.src)).arrayBuffer());
    assert.equal(`${png.readUInt32BE(16)}x${png.readUInt32BE(20)}`, icon.sizes, icon.src);
  }
  // The pad: down to New game, south presses it, Start pauses the game.
  await pressPad(page, 13);
  await pressPad(page, 0);
  await showing(page, '14-level-banner', [PANEL], 'play after the pad\'s south button');
  await pressPad(page, 9);
  await showing(page, '03-main-menu-resume', [[0, 0, 240, 56]], 'the menu after the pad\'s Start');
}

async function layout(t) {
  const sizes = [  // width, height, device pixels per CSS pixel, touch, scale, the controls' place
    [412, 915, 2.625, true, 4, 'below'], [915, 412, 2.625, true, 3, 'beside'],
    [800, 1280, 2, true, 6, 'below'], [1280, 800, 2, true, 5, 'beside'], [390, 844, 3, false, 4],
    [1280, 800, 1, false, 2], [200, 200, 1, false, 1], [1280, 800, 1.5, false, 3]];
  for (const [width, height, ratio, touch, scale, place] of sizes) {
    const what = `${width} x ${height} at ${ratio}`;
    const options = {viewport: {width, height}, deviceScaleFactor: ratio, hasTouch: touch, isMobile: touch};
    const page = await (await t.context(options)).newPage();
    await page.goto(t.url);
    await page.waitForFunction(() => getComputedStyle(document.getElementById('screen')).display !== 'none');
    const [picture, ...controls] = await page.evaluate(() => ['screen', 'left', 'right', 'fire', 'fullscreen'].map(id => {
      const element = document.getElementById(id);
      const box = element.getBoundingClientRect();
      return getComputedStyle(element).display === 'none' ? null : [box.left, box.top, box.right, box.bottom];
    }));
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

async function touchPlay(t) {
  const page = await t.open(web.PHONE);
  const hand = await web.fingers(page);
  await web.touch(page, ...NEW_GAME);
  await showing(page, '14-level-banner', [PANEL], 'play after a touch on New game');
  for (const size of [null, web.SIDEWAYS]) {
    const where = size ? 'sideways' : 'upright';
    if (size) await page.setViewportSize(size);
    // Upright the finger goes from left to right, sideways from right to left.
    const [first, then] = size ? ['right', 'left'] : ['left', 'right'];
    const moved = (name, from) => shown => (name === 'left' ? from - shipX(shown) : shipX(shown) - from) > 6;
    await hand.put(1, await web.middleOf(page, new RegExp(first)));
    await web.waitFor(page, moved(first, shipX(await web.screen(page))), `${where}: the ship moving ${first} while held`);
    await hand.put(1, await web.middleOf(page, new RegExp(then)));
    await web.waitFor(page, moved(then, shipX(await web.screen(page))), `${where}: the ship turning ${then} on a finger slid there`);
    await hand.put(2, await web.middleOf(page, /fire/i));
    const before = await web.screen(page);
    await web.waitFor(page, shown => web.differences(shown, before, SCORE) > 12, `${where}: a score while a second finger holds Fire`, 20000);
    await hand.lift(2);
    await hand.lift(1);
    await shipAtRest(page, `${where}: the fingers lifted`);
  }
  // A finger still on Move right when the page is hidden: it lets go, and the game pauses.
  await hand.put(1, await web.middleOf(page, /right/));
  await hide(page, true);
  await showing(page, '03-main-menu-resume', [WHOLE], 'the menu with Resume when the page is hidden');
  await hide(page, false);
  await hand.put(2, await web.pagePoint(page, 120, 36));  // a second finger taps Resume
  await hand.lift(2);
  await showing(page, '14-level-banner', [[180, 276, 238, 290]], 'play again after Resume');  // Menu
  await shipAtRest(page, 'back from hidden');
  await hand.lift(1);
  // The page's own button answers a touch.
  const [x, y] = await web.middleOf(page, 'Full screen');
  await page.touchscreen.tap(x, y);
  await page.waitForFunction(() => document.fullscreenElement !== null);
}

async function lostGame(t) {
  const page = await t.open(web.PHONE, ['02-main-menu'], fastClock);
  const hand = await web.fingers(page);
  await web.touch(page, ...OPTIONS);
  await showing(page, '04-options', [TITLE], 'the options');
  for (const point of [HARD, [28, 249], BACK]) await web.touch(page, ...point);  // hard, sound off
  await showing(page, '02-main-menu', [WHOLE], 'the menu after the options');
  await web.touch(page, ...NEW_GAME);
  await showing(page, '14-level-banner', [PANEL], 'play');
  await hand.put(1, await web.middleOf(page, /fire/i));
  const before = await web.screen(page);
  await web.waitFor(page, shown => web.differences(shown, before, SCORE) > 12, 'a score', 20000);
  await hand.lift(1);
  await showing(page, '15-name-entry', [[0, 234, 240, 320]], 'the name entry\'s keyboard after the game is lost');
  for (const x of [34, 71, 34]) await web.touch(page, x, 277);  // a, d, a
  // The save of the name refused: the box, then the menu, and the table as the player saw it.
  await page.evaluate(() => { window.refuseWrites = true; });
  await web.touch(page, 228, 277);  // Enter
  await showing(page, '21-settings-error', [[20, 122, 220, 198]], 'the "error in settings file" box');
  await web.touch(page, 120, 178);  // its OK
  await showing(page, '02-main-menu', [WHOLE], 'the menu after the box');
  await web.touch(page, ...HIGH_SCORES);
  const table = await showing(page, '05-high-scores', [TITLE, [0, 200, 240, 320]], 'the high scores but the table');
  assert.ok(web.differences(table, picture('05-high-scores'), [0, 60, 240, 200]) > 0, 'a table of its own');
  // The next save that the storage takes keeps it, and a new page reads it back.
  await page.evaluate(() => { window.refuseWrites = false; });
  await web.touch(page, 40, 218);  // OK below the table
  await web.touch(page, ...OPTIONS);
  await showing(page, '04-options', [TITLE], 'the options');
  await web.touch(page, ...BACK);
  await showing(page, '02-main-menu', [WHOLE], 'the menu after a save that worked');
  const saved = await savedFile(page, 'zorblats.set');
  assert.equal(Buffer.from(saved.slice(6, 10)).toString('latin1'), 'ada\0', 'the best name');
  assert.ok(Buffer.from(saved).readInt32LE(156) > 0, 'its score');
  assert.deepEqual([saved.length, saved[2], saved[176]], [211, 2, 0], 'the file, hard, no sound');
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.reload();
  await showing(page, '02-main-menu', [WHOLE], 'the menu after a reload');
  await web.touch(page, ...HIGH_SCORES);
  await web.waitForScreen(page, table, 'the table read back');
  // Offline after the first visit: the service worker's copy.
  await page.context().setOffline(true);
  await page.reload();
  await showing(page, '02-main-menu', [WHOLE], 'the menu offline');
  await page.context().setOffline(false);
  // A second tab waits while the game is open in the first, and takes it when that closes.
  const second = await page.context().newPage();
  await second.goto(t.url);
  await second.getByText('already open in another tab').waitFor();
  await page.close();
  await showing(second, '02-main-menu', [WHOLE], 'the menu in the second tab');
}

// The display choice as the game stored it: 1 full screen, 0 the page.
const storedChoice = page => savedFile(page, 'zorblats.conf')
  .then(bytes => (bytes ? /fullscreen=(\d)/.exec(Buffer.from(bytes).toString())[1] : ''));

async function fullScreen(t) {
  const context = await t.context({viewport: {width: 390, height: 844}});
  let page = await t.open(context);
  const isFull = on => page.waitForFunction(full => Boolean(document.fullscreenElement) === full, on);
  const kept = async on => {  // the game stores the choice on its next turn
    for (const end = Date.now() + 8000; await storedChoice(page) !== (on ? '1' : '0');) {
      assert.ok(Date.now() < end, `the choice ${on ? 'full screen' : 'the page'} not stored within 8 s`);
      await page.waitForTimeout(50);
    }
  };
  await page.keyboard.press('F11');
  await isFull(true);
  await kept(true);
  await page.close();
  page = await t.open(context);
  assert.equal(await page.evaluate(() => document.fullscreenElement), null, 'not before a tap');
  await web.tap(page, 120, 300);  // below the menu's buttons
  await isFull(true);
  await page.keyboard.press('F11');
  await isFull(false);
  await kept(false);
  await page.close();
  page = await t.open(context);
  await web.tap(page, ...OPTIONS);
  await showing(page, '04-options', [TITLE], 'the options after the first tap');
  assert.equal(await page.evaluate(() => document.fullscreenElement), null, 'the page chosen again');
}

async function refusals(t) {
  // No storage at all (indexedDB.open throws): the first save gives the box, play goes on.
  const context = await t.context({viewport: {width: 240, height: 320}});
  await context.addInitScript(() => {
    indexedDB.open = () => { throw new DOMException('refused', 'QuotaExceededError'); };
  });
  const page = await t.open(context);
  await web.tap(page, ...OPTIONS);
  await showing(page, '04-options', [TITLE], 'the options');
  await web.tap(page, ...HARD);
  await web.tap(page, ...BACK);
  await showing(page, '21-settings-error', [WHOLE], 'the "error in settings file" box over the options');
  await page.keyboard.press('Enter');
  await showing(page, '02-main-menu', [WHOLE], 'the menu after the box');
  // The server answers a request it cannot read with 400 and goes on.
  assert.equal((await fetch(`${t.url}%`)).status, 400, 'GET /%');
  // A file that does not download: a sentence naming it and a button to try again; the
  // progress shows while the files come.
  const phone = await t.context({...web.PHONE, serviceWorkers: 'block'});
  const failing = await phone.newPage();
  const failures = [['zorblats.js', 404, /zorblats\.js could not be downloaded: the server does not have it/],
                    ['zorblats.wasm', 'internetdisconnected', /zorblats\.wasm could not be downloaded: the network/],
                    ['zorblats.data', 404, /zorblats\.data could not be downloaded/]];
  for (const [file, failure, sentence] of failures) {
    let fail;
    const held = new Promise(done => { fail = done; });
    await failing.route(`**/${file}`, async route => {
      await held;
      await (typeof failure === 'number' ? route.fulfill({status: failure}) : route.abort(failure));
    });
    await failing.goto(t.url);
    await failing.getByText(/Loading ZORBLATS: \d+ of \d+ KB/).waitFor();
    fail();
    await failing.getByText(sentence).waitFor();
    await failing.unroute(`**/${file}`);
  }
  const [x, y] = await web.middleOf(failing, 'Try again');
  await failing.touchscreen.tap(x, y);
  await showing(failing, '02-main-menu', [WHOLE], 'the menu after Try again');
}

// The sentence on the page's closing notice, once it shows.
async function closingSentence(page) {
  await page.locator('#notice-button', {hasText: /again/}).waitFor({timeout: 60000});
  return page.locator('#notice-text').textContent();
}

// One replay format on both platforms: a game played here and saved with the page's "Save
// this replay" plays on the desktop, and a session the desktop recorded plays here from a
// link (the file in its fragment); each ends saying it showed the same pictures at every
// checkpoint. A damaged link is refused on the page with its sentence.
async function replays(t) {
  // The desktop game in a folder of its own (it keeps its settings and replays beside its
  // data), without a display: SDL's dummy drivers, and a runtime folder of its own for its lock.
  const folder = path.join(gallery, 'desktop');
  fs.cpSync(desktopGame, folder, {recursive: true});
  for (const kept of ['zorblats.set', 'replays']) fs.rmSync(path.join(folder, 'data', kept), {recursive: true, force: true});
  const game = path.join(folder, 'zorblats');
  const env = {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy', XDG_RUNTIME_DIR: folder};
  // Its session: the start screen and the menu, ended by SIGTERM. Without a display no picture
  // shows when the menu waits, but the game's clock is the wall clock: 3 s are the start
  // screen's second and two of the menu, a checkpoint each, however loaded the machine.
  const recording = spawn(game, ['--record', path.join(folder, 'desktop.zrp')], {env, stdio: 'ignore'});
  await new Promise(done => setTimeout(done, 3000));
  recording.kill('SIGTERM');
  await new Promise(done => recording.on('exit', done));

  // A game here: New game, the ship moving and firing, the menu, Exit, "Save this replay".
  const page = await t.open({viewport: {width: 800, height: 700}});
  await web.tap(page, ...NEW_GAME);
  await showing(page, '14-level-banner', [PANEL], 'play');
  for (const key of ['ArrowLeft', 'ArrowRight']) {  // each held 1.2 s, as a player holds it
    await page.keyboard.down(key);
    await page.keyboard.down('ArrowUp');
    await page.waitForTimeout(1200);
    await page.keyboard.up('ArrowUp');
    await page.keyboard.up(key);
  }
  await page.keyboard.press('Escape');
  await showing(page, '03-main-menu-resume', [WHOLE], 'the menu with Resume');
  await web.tap(page, ...EXIT);
  assert.match(await closingSentence(page), /ZORBLATS has ended/);
  const [download] = await Promise.all([page.waitForEvent('download'),
                                        page.getByRole('button', {name: 'Save this replay'}).click()]);
  const browserFile = path.join(folder, 'browser.zrp');
  await download.saveAs(browserFile);
  const SAME = /The replay played to its end: the same pictures at all (\d+) checkpoints\./;
  const watched = spawnSync(game, ['--replay', browserFile], {env, encoding: 'utf8', timeout: 120000});
  const desktopSaid = SAME.exec(watched.stdout);
  assert.ok(watched.status === 0 && desktopSaid && Number(desktopSaid[1]) >= 3,
            `the desktop's replay of the page's session: ${watched.status} ${watched.stdout}${watched.stderr}`);

  // The desktop's session here from a link, its state in the page's corner.
  const link = `${t.url}#replay=${fs.readFileSync(path.join(folder, 'desktop.zrp')).toString('base64url')}`;
  await page.goto('about:blank');
  await page.goto(link);
  await page.locator('#replay-status', {hasText: 'replay x1'}).waitFor();
  const browserSaid = SAME.exec(await closingSentence(page));
  assert.ok(browserSaid && Number(browserSaid[1]) >= 2, `the page's replay of the desktop's session`);
  // A link whose file is cut short: the page says why.
  await page.goto('about:blank');
  await page.goto(link.slice(0, -40));
  assert.equal(await closingSentence(page), 'The replay file is cut short.');
}

// The README's pictures of the page are what it draws now, but for the stars of the play field.
async function readmePictures(t) {
  const out = fs.mkdtempSync(path.join(gallery, 'shots-'));
  const changing = await shots.draw(t.browser, t.url, out, gallery);
  for (const [name, part] of Object.entries(changing)) {
    const files = [path.join(__dirname, '../../docs/screenshots', `${name}.png`), path.join(out, `${name}.png`)];
    const masked = files.map((file, i) => {
      const to = path.join(out, `${name}-${i}.png`);
      const cover = part ? ['-fill', 'black', '-draw', `rectangle ${part[0]},${part[1]} ${part[2] - 1},${part[3] - 1}`] : [];
      execFileSync('convert', [file, ...cover, to]);
      return to;
    });
    const differing = spawnSync('compare', ['-metric', 'AE', ...masked, 'null:'], {encoding: 'utf8'}).stderr.trim();
    assert.equal(differing, '0', `docs/screenshots/${name}.png is not what the page draws: node web/screenshots.js`);
  }
}

const steps = [
  ['desktop: the screens as drawn; mouse, keys, a pad, sound, a lost focus, full screen; Exit and Play again by keys', desktop],
  ['layout: the picture, the controls and the full-screen button at phone, tablet and desktop sizes', layout],
  ['phone by touch alone: the controls move, turn and fire, upright and sideways; nothing stays held', touchPlay],
  ['phone: a game lost and a name entered by touch; a refused save keeps the table; read back, offline; a second tab waits', lostGame],
  ['full screen chosen outlives the page: back at the first tap, and left again', fullScreen],
  ['refusals: no storage gives the box; a bad request gets 400; a failed download names the file, tries again', refusals],
  ['replays across platforms: the page\'s on the desktop, the desktop\'s from a link; a cut link refused', replays],
  ['the README\'s pictures of the page', readmePictures],
];

(async () => {
  const server = await web.serve(site);
  const browser = await web.launch();
  const chosen = steps.filter(([name]) => name.includes(process.env.ONLY || ''));
  let failed = chosen.length ? 0 : 1;
  if (!chosen.length) console.log(`FAIL no step matches ONLY=${process.env.ONLY}`);
  for (const [name, run] of chosen) {
    const started = Date.now();
    const contexts = [];
    const errors = [];
    const t = {
      browser,
      url: server.url,
      async context(options) {
        const context = await browser.newContext(options);
        contexts.push(context);
        context.on('page', page => page.on('pageerror', error => errors.push(error.message)));
        await context.addInitScript(instruments);
        return context;
      },
      // A page of the game in a new context made with these options (or in the context
      // given), once it shows the screens named, in turn.
      async open(options, screens = ['02-main-menu'], ...scripts) {
        const context = options.newPage ? options : await t.context(options);
        for (const script of scripts) await context.addInitScript(script);
        const page = await context.newPage();
        await page.goto(t.url);
        for (const screen of screens) await showing(page, screen, [WHOLE], `the ${screen} screen`);
        return page;
      },
    };
    try {
      let timer;
      const hung = new Promise((_, reject) => {
        timer = setTimeout(() => reject(new Error('no end within 150 s: the page hangs')), 150000);
      });
      await Promise.race([run(t), hung]).finally(() => clearTimeout(timer));
      if (errors.length) throw new Error(`errors in the page: ${errors.join('; ')}`);
      console.log(`ok   ${name} (${Date.now() - started} ms)`);
    } catch (error) {
      ++failed;
      console.log(`FAIL ${name}\n     ${error.message.split('\n').join('\n     ')}`);
    }
    for (const context of contexts) await context.close().catch(() => {});
  }
  await browser.close();
  server.stop();
  fs.rmSync(gallery, {recursive: true, force: true});
  console.log(failed ? `${failed} of ${chosen.length} failed` : `all ${chosen.length} passed`);
  process.exit(failed ? 1 : 0);
})();

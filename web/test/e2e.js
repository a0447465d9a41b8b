// The browser build played in headless Chromium, as a player would: the start screen and the
// menu pixel for pixel as the desktop draws them (the gallery tool's pictures), the picture's
// fit, New game by a tap and by a touch, a game played by keys until it is lost and a name
// typed, options, scores and the full screen that outlive the page, a storage that refuses,
// offline play after one visit, a second tab refused and the page left when the game ends.
// Usage: node web/test/e2e.js <site folder> <native build folder>
'use strict';
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const web = require('./browser');

const [site, native] = process.argv.slice(2).map(p => path.resolve(p));
const NEW_GAME = [120, 71];
const OPTIONS = [120, 105];
const HIGH_SCORES = [120, 168];
const EXIT = [120, 239];
const MENU_BUTTON = [208, 282];
const BACK = [30, 303];
const SOUND_OFF = [28, 249];
const HARD = [28, 141];
const KEY_A = [34, 277];

// The desktop's screens, drawn by the gallery tool from the same content.
const gallery = fs.mkdtempSync(path.join(os.tmpdir(), 'zorblats-gallery-'));
execFileSync(path.join(native, 'tools/gallery/gallery'), [path.join(native, 'bin'), gallery],
             {env: {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy'}, stdio: 'ignore'});
const picture = name => web.readBmp(path.join(gallery, `${name}.bmp`));

// The page's clock four times as fast (a lost game in seconds): the game's frames wait
// with setTimeout and time themselves with performance.now.
function fastClock(speed) {
  const now = performance.now.bind(performance);
  const start = now();
  performance.now = () => start + (now() - start) * speed;
  const setTimer = window.setTimeout.bind(window);
  window.setTimeout = (call, ms, ...rest) => setTimer(call, (ms || 0) / speed, ...rest);
}

// A pad in the browser's standard layout whose buttons the test presses (padButton).
function fakePad() {
  const pad = {index: 0, connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
               buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
  navigator.getGamepads = () => [pad];
  window.padButton = (button, down) => { pad.buttons[button].pressed = down; };
  addEventListener('load', () => dispatchEvent(Object.assign(new Event('gamepadconnected'), {gamepad: pad})));
}

async function pressPad(page, button) {
  for (const down of [true, false]) {
    await page.evaluate(([b, d]) => window.padButton(b, d), [button, down]);
    await page.waitForTimeout(100);
  }
}

// Counts the sounds the page starts.
function countSounds() {
  window.soundsStarted = 0;
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...rest) {
    ++window.soundsStarted;
    return start.apply(this, rest);
  };
}
const soundsStarted = page => page.evaluate(() => window.soundsStarted);

// The settings file as the browser keeps it (Emscripten's IndexedDB file system).
function settingsFile(page) {
  return page.evaluate(() => new Promise((resolve, reject) => {
    const open = indexedDB.open('/saves/zorblats');
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const get = open.result.transaction('FILE_DATA').objectStore('FILE_DATA')
        .get('/saves/zorblats/zorblats.set');
      get.onsuccess = () => resolve(get.result ? Array.from(get.result.contents) : null);
    };
  }));
}

async function openGame(context, url) {
  const page = await context.newPage();
  page.on('pageerror', error => console.error('page error:', error.message));
  await page.goto(url);
  await web.waitForScreen(page, picture('02-main-menu'), 'the main menu');
  return page;
}

const checks = [];
const check = (name, run) => checks.push({name, run});

check('the start screen and the menu as on the desktop; a tap starts a game, a lost focus pauses it; Exit ends it; a pad plays', async ({browser, url}) => {
  const context = await browser.newContext({viewport: {width: 1280, height: 800}});
  await context.addInitScript(fakePad);
  await context.addInitScript(countSounds);
  const page = await context.newPage();
  await page.goto(url);
  await web.waitForScreen(page, picture('01-start-screen'), 'the start screen', 10000);
  await web.waitForScreen(page, picture('02-main-menu'), 'the main menu');
  await web.tap(page, ...NEW_GAME);
  await page.waitForTimeout(1200);
  await page.keyboard.down('Space');  // shots: sound is on
  await page.waitForTimeout(500);
  await page.keyboard.up('Space');
  assert.ok(await soundsStarted(page) > 0, 'the shots are heard');
  await page.evaluate(() => {
    document.hasFocus = () => false;
    dispatchEvent(new Event('blur'));
  });
  await web.waitForScreen(page, picture('03-main-menu-resume'), 'the menu with Resume');
  await web.tap(page, ...EXIT);
  await page.getByText('ZORBLATS has ended.').waitFor();
  await page.getByRole('button', {name: 'Play again'}).click();
  await web.waitForScreen(page, picture('02-main-menu'), 'the menu after Play again');
  // Installable: the manifest's icons load at their stated sizes.
  const icons = await page.evaluate(async () => {
    const manifest = await (await fetch('manifest.webmanifest')).json();
    return Promise.all(manifest.icons.map(icon => new Promise(loaded => {
      const image = new Image();
      image.onload = () => loaded(`${image.naturalWidth}x${image.naturalHeight}`);
      image.onerror = () => loaded('missing');
      image.src = icon.src;
    }).then(size => [icon.sizes, size])));
  });
  assert.deepEqual(icons, [['192x192', '192x192'], ['512x512', '512x512']]);
  // The pad: down to New game, south presses it, Start pauses the game.
  await pressPad(page, 13);
  await pressPad(page, 0);
  await page.waitForTimeout(1200);
  await pressPad(page, 9);
  await web.waitForScreen(page, picture('03-main-menu-resume'), 'the menu with Resume by pad', 4000, 0, 56);
  await context.close();
});

check('the picture: the largest whole scale in device pixels, centred, refitted', async ({browser, url}) => {
  const sizes = [  // [width, height, device pixels per CSS pixel, scale]
    [390, 844, 3, 4], [844, 390, 3, 3], [1280, 800, 1, 2], [200, 200, 1, 1], [1280, 800, 1.5, 3]];
  for (const [width, height, ratio, scale] of sizes) {
    const context = await browser.newContext({viewport: {width: 320, height: 320}, deviceScaleFactor: ratio});
    const page = await context.newPage();
    await page.goto(url);
    await page.setViewportSize({width, height});
    await page.waitForTimeout(100);
    const box = await page.locator('#screen').boundingBox();
    const fitted = [box.width * ratio, box.height * ratio, box.x * ratio, box.y * ratio];
    const centred = [240 * scale, 320 * scale, Math.max(0, Math.floor((width * ratio - 240 * scale) / 2)),
                     Math.max(0, Math.floor((height * ratio - 320 * scale) / 2))];
    assert.deepEqual(fitted.map(Math.round), centred, `${width}x${height} at ${ratio}`);
    assert.equal(await page.locator('#screen').evaluate(c => getComputedStyle(c).imageRendering), 'pixelated');
    await context.close();
  }
});

check('a touch starts a game and opens its menu; no touch scrolls the page', async ({browser, url}) => {
  const context = await browser.newContext({viewport: {width: 390, height: 844}, deviceScaleFactor: 3,
                                            hasTouch: true, isMobile: true});
  const page = await openGame(context, url);
  await web.touch(page, ...NEW_GAME);
  await page.waitForTimeout(1500);
  await web.touch(page, ...MENU_BUTTON);
  await web.waitForScreen(page, picture('03-main-menu-resume'), 'the menu with Resume');
  assert.equal(await page.evaluate(() => getComputedStyle(document.body).touchAction), 'none');
  await context.close();
});

check('a game played by keys until lost, a name typed, options and scores stored; offline; one tab', async ({browser, url}) => {
  const context = await browser.newContext({viewport: {width: 480, height: 700}});
  await context.addInitScript(fastClock, 4);
  let page = await openGame(context, url);
  // Options: hard, and no sound.
  await web.tap(page, ...OPTIONS);
  await web.waitForScreen(page, picture('04-options'), 'the options', 8000, 0, 60);
  await web.tap(page, ...HARD);
  await web.tap(page, ...SOUND_OFF);
  await web.tap(page, ...BACK);
  await web.waitForScreen(page, picture('02-main-menu'), 'the menu after the options');
  // New game by keys: the focus mark onto New game, then Enter; fire until a score.
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await page.keyboard.down('Space');
  await page.waitForTimeout(2000);
  await page.keyboard.up('Space');
  await web.waitForScreen(page, picture('15-name-entry'), 'the name entry\'s keyboard', 30000, 234, 320);
  await page.keyboard.type('Ad');
  await web.tap(page, ...KEY_A, 300);  // the on-screen keyboard's a, held: the page goes on
  await page.keyboard.press('Enter');
  await web.waitForScreen(page, picture('02-main-menu'), 'the menu after the name');
  const saved = await settingsFile(page);
  assert.equal(Buffer.from(saved.slice(6, 10)).toString('latin1'), 'Ada\0', 'the best name');
  assert.ok(Buffer.from(saved).readInt32LE(156) > 0, 'its score');
  assert.deepEqual([saved.length, saved[2], saved[176]], [211, 2, 0], 'the file, hard, no sound');
  await page.close();

  page = await openGame(context, url);  // the page loaded again: the file read back
  await web.tap(page, ...HIGH_SCORES);
  await page.waitForTimeout(300);
  assert.notEqual(web.differences(await web.screen(page), picture('05-high-scores'), 80, 200), 0);
  const table = await web.screen(page);
  assert.deepEqual(await settingsFile(page), saved, 'the file as the save left it');

  // A second tab of the site: the game is open in the first.
  const second = await context.newPage();
  await second.goto(url);
  await second.getByText('already open in another tab').waitFor();
  await second.close();

  // Offline after the first visit: the service worker's copy.
  await page.evaluate(() => navigator.serviceWorker.ready);
  await context.setOffline(true);
  await page.reload();
  await web.waitForScreen(page, picture('02-main-menu'), 'the menu offline');
  await web.tap(page, ...HIGH_SCORES);
  await web.waitForScreen(page, table, 'the kept table offline');
  await context.close();
});

check('the full screen chosen outlives the page: back at the first tap, and left again', async ({browser, url}) => {
  const context = await browser.newContext({viewport: {width: 390, height: 844}});
  let page = await openGame(context, url);
  const fullScreen = shown => page.waitForFunction(on => Boolean(document.fullscreenElement) === on, shown);
  await page.keyboard.press('F11');
  await fullScreen(true);
  await page.waitForTimeout(300);  // the game stores it on its next turn
  await page.close();
  page = await openGame(context, url);
  assert.equal(await page.evaluate(() => document.fullscreenElement), null, 'not before a tap');
  await web.tap(page, 120, 300);  // below the menu's buttons
  await fullScreen(true);
  await page.keyboard.press('F11');
  await fullScreen(false);
  await page.waitForTimeout(300);
  await page.close();
  page = await openGame(context, url);
  await web.tap(page, 120, 300);
  await page.waitForTimeout(300);
  assert.equal(await page.evaluate(() => document.fullscreenElement), null, 'the page chosen again');
  await context.close();
});

check('a storage that refuses: the save reports "error in settings file" and play goes on', async ({browser, url}) => {
  const context = await browser.newContext({viewport: {width: 240, height: 320}});
  await context.addInitScript(() => {
    indexedDB.open = () => { throw new DOMException('refused', 'QuotaExceededError'); };
  });
  const page = await openGame(context, url);
  await web.tap(page, ...OPTIONS);
  await web.waitForScreen(page, picture('04-options'), 'the options', 8000, 0, 60);
  await web.tap(page, ...HARD);
  await page.waitForTimeout(200);
  const changed = await web.screen(page);
  await web.tap(page, ...BACK);
  await page.waitForTimeout(500);
  const box = await web.screen(page);
  assert.ok(web.differences(box, changed) > 0 && web.differences(box, picture('02-main-menu')) > 0,
            'a message box');
  await page.keyboard.press('Enter');
  await web.waitForScreen(page, picture('02-main-menu'), 'the menu after the box');
  await context.close();
});

(async () => {
  const server = await web.serve(site);
  const browser = await web.launch();
  let failed = 0;
  const chosen = checks.filter(c => c.name.includes(process.env.ONLY || ''));  // ONLY=<words>
  for (const {name, run} of chosen) {
    const started = Date.now();
    try {
      let timer;
      const hung = new Promise((_, reject) => {
        timer = setTimeout(() => reject(new Error('no end within 60 s: the page hangs')), 60000);
      });
      await Promise.race([run({browser, url: server.url}), hung]).finally(() => clearTimeout(timer));
      console.log(`ok   ${name} (${Date.now() - started} ms)`);
    } catch (error) {
      ++failed;
      console.log(`FAIL ${name}\n     ${error.message.split('\n').join('\n     ')}`);
    }
  }
  await browser.close();
  server.stop();
  fs.rmSync(gallery, {recursive: true, force: true});
  console.log(failed ? `${failed} of ${chosen.length} failed` : `all ${chosen.length} passed`);
  process.exit(failed ? 1 : 0);
})();

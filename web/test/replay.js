// Replays across the two platforms, one file format: a game played in headless Chromium and
// saved with the page's "Save this replay" is played by the desktop build, and a session
// recorded by the desktop build is opened in the browser through a link (the file in its
// fragment); each ends saying it showed the same pictures at every checkpoint. A damaged link
// is refused on the page with its sentence.
// Usage: node web/test/replay.js <site folder> <desktop game folder (bin/)>
'use strict';
const assert = require('node:assert/strict');
const { spawn, spawnSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const web = require('./browser');

const [site, desktop] = process.argv.slice(2).map(p => path.resolve(p));
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'zorblats-replays-'));
const SAME = /The replay played to its end: the same pictures at all (\d+) checkpoints\./;

// The desktop game in a folder of its own (it keeps its settings and replays beside its data),
// without a display: SDL's dummy drivers, and a private runtime folder for its lock.
function desktopGame() {
  const folder = fs.mkdtempSync(path.join(work, 'game-'));
  fs.copyFileSync(path.join(desktop, 'zorblats'), path.join(folder, 'zorblats'));
  fs.chmodSync(path.join(folder, 'zorblats'), 0o755);
  fs.cpSync(path.join(desktop, 'data'), path.join(folder, 'data'), {recursive: true});
  for (const kept of ['zorblats.set', 'replays']) fs.rmSync(path.join(folder, 'data', kept), {recursive: true, force: true});
  const env = {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy', XDG_RUNTIME_DIR: folder};
  return {run: (args, options) => spawnSync(path.join(folder, 'zorblats'), args, {env, encoding: 'utf8', ...options}),
          start: args => spawn(path.join(folder, 'zorblats'), args, {env, stdio: 'ignore'})};
}

// The sentence on the page's closing notice, once it shows.
async function closingSentence(page) {
  await page.locator('#notice-button', {hasText: /again/}).waitFor({timeout: 60000});
  return page.locator('#notice-text').textContent();
}

(async () => {
  const server = await web.serve(site);
  const browser = await web.launch();
  try {
    // A session recorded by the desktop build: its start screen and menu, ended by SIGTERM
    // once the menu waits (the session file appears only at the end).
    const game = desktopGame();
    const recording = game.start(['--record', path.join(work, 'desktop.zrp')]);
    await new Promise(done => setTimeout(done, 3000));
    recording.kill('SIGTERM');
    await new Promise(done => recording.on('exit', done));
    const desktopReplay = fs.readFileSync(path.join(work, 'desktop.zrp'));

    // A game in the browser: New game, the ship moving and firing, the menu, Exit; the page's
    // "Save this replay" on its closing page.
    const page = await browser.newPage({viewport: {width: 800, height: 700}});
    const errors = [];
    page.on('pageerror', error => errors.push(error.message));
    await page.goto(server.url);
    const EXIT_BUTTON = [37, 228, 204, 251];
    const start = await web.waitFor(page, shown => shown.some(c => c !== 0), 'the start screen', 20000);
    const menu = await web.waitFor(page, shown => web.differences(shown, start) > 20000, 'the menu');
    await page.waitForTimeout(300);  // the menu takes taps a moment after it shows
    await web.tap(page, 120, 71);  // New game
    for (const key of ['ArrowLeft', 'ArrowRight']) {
      await page.keyboard.down(key);
      await page.keyboard.down('ArrowUp');
      await page.waitForTimeout(1200);
      await page.keyboard.up('ArrowUp');
      await page.keyboard.up(key);
    }
    await page.keyboard.press('Escape');  // the menu, with Resume
    await web.waitForScreen(page, menu, 'the menu again', 8000, [EXIT_BUTTON]);
    await page.waitForTimeout(300);
    await web.tap(page, 120, 239);  // Exit
    assert.match(await closingSentence(page), /ZORBLATS has ended/);
    const [download] = await Promise.all([page.waitForEvent('download'),
                                          page.getByRole('button', {name: 'Save this replay'}).click()]);
    const browserFile = path.join(work, 'browser.zrp');
    await download.saveAs(browserFile);

    // The desktop plays the browser's session to its end with the same pictures.
    const watched = game.run(['--replay', browserFile], {timeout: 120000});
    const desktopSaid = SAME.exec(watched.stdout);
    assert.ok(watched.status === 0 && desktopSaid && Number(desktopSaid[1]) >= 3,
              `the desktop's replay of the browser's session: ${watched.status} ${watched.stdout}${watched.stderr}`);

    // The browser plays the desktop's session from a link, and says so in its corner.
    const link = `${server.url}#replay=${desktopReplay.toString('base64url')}`;
    await page.goto('about:blank');
    await page.goto(link);
    await page.locator('#replay-status', {hasText: 'replay x1'}).waitFor({timeout: 20000});
    const browserSaid = SAME.exec(await closingSentence(page));
    assert.ok(browserSaid && Number(browserSaid[1]) >= 2, `the browser's replay of the desktop's session`);

    // A link whose file is cut short: the page says why and offers to play.
    await page.goto('about:blank');
    await page.goto(link.slice(0, link.length - 40));
    assert.equal(await closingSentence(page), 'The replay file is cut short.');
    assert.deepEqual(errors, []);
    console.log(`replays across platforms: the browser's (${fs.statSync(browserFile).size} bytes) ` +
                `on the desktop at ${desktopSaid[1]} checkpoints, the desktop's by a link of ` +
                `${link.length} characters in the browser at ${browserSaid[1]}`);
  } finally {
    await browser.close();
    server.stop();
    fs.rmSync(work, {recursive: true, force: true});
  }
})().catch(error => {
  console.error(`FAIL: ${error.message}`);
  process.exit(1);
});

// Screenshots of the page for the README: a phone upright and sideways (412 x 915 CSS pixels
// at 2.625 device pixels each, touch) at the start of play, with the on-screen controls, and
// the menu on a desktop (1280 x 800). The browser test draws them again and compares them.
// Usage: node web/screenshots.js <site folder> <output folder> <native build folder>
'use strict';
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const web = require('./test/browser');

const SHOTS = [  // name, page, whether it shows play
  ['web-phone', web.PHONE, true],
  ['web-phone-sideways', {...web.PHONE, viewport: web.SIDEWAYS}, true],
  ['web-desktop', {viewport: {width: 1280, height: 800}}, false],
];
// The rows of the play screen that every start of play shows the same (lives, score,
// level): the stars above them fall differently each time.
const PANEL_TOP = 266;

// The page's clock at window.clockSpeed times the real one: slowed down, the start of play
// stays on the screen while the browser takes its picture.
function clockAtSpeed() {
  const now = performance.now.bind(performance);
  let real = now(), shown = real;
  window.clockSpeed = 1;
  performance.now = () => {
    shown += (now() - real) * window.clockSpeed;
    real = now();
    return shown;
  };
  const setTimer = window.setTimeout.bind(window);
  window.setTimeout = (call, ms, ...rest) => setTimer(call, (ms || 0) / window.clockSpeed, ...rest);
}

// Draws each shot into out with a browser of the tests, at the moments the gallery tool's
// pictures (in gallery) name; gives each shot's part that changes from run to run (the play
// field's stars) in device pixels, [left, top, right, bottom], or null.
async function draw(browser, url, out, gallery) {
  const changing = {};
  for (const [name, options, play] of SHOTS) {
    const context = await browser.newContext(options);
    await context.addInitScript(clockAtSpeed);
    const page = await context.newPage();
    await page.goto(url);
    await web.waitForScreen(page, web.readBmp(path.join(gallery, '02-main-menu.bmp')), 'the menu', 20000);
    if (play) {
      await page.evaluate(() => { window.clockSpeed = 0.05; });
      await web.touch(page, 120, 71);
      await web.waitForScreen(page, web.readBmp(path.join(gallery, '14-level-banner.bmp')), 'play', 20000, [[0, PANEL_TOP, 240, 320]]);
    }
    await page.screenshot({path: path.join(out, `${name}.png`)});
    const box = await page.locator('#screen').boundingBox();
    const ratio = options.deviceScaleFactor || 1;
    const rows = box.height * PANEL_TOP / 320;
    // One device pixel more on each side: the browser blends a star at the picture's edge
    // into the pixel beside it.
    const [left, top, right, bottom] = [box.x, box.y, box.x + box.width, box.y + rows].map(v => Math.round(v * ratio));
    changing[name] = play ? [left - 1, top - 1, right + 1, bottom] : null;
    await context.close();
  }
  return changing;
}

if (require.main === module) {
  (async () => {
    const [site, out, native] = process.argv.slice(2).map(p => path.resolve(p));
    const gallery = fs.mkdtempSync(path.join(os.tmpdir(), 'zorblats-gallery-'));
    execFileSync(path.join(native, 'tools/gallery/gallery'), [path.join(native, 'bin'), gallery],
                 {env: {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy'}, stdio: 'ignore'});
    const server = await web.serve(site);
    const browser = await web.launch();
    await draw(browser, server.url, out, gallery);
    await browser.close();
    server.stop();
    fs.rmSync(gallery, {recursive: true, force: true});
  })();
}

module.exports = {SHOTS, draw};

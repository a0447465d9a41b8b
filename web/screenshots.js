// Screenshots of the page for the README: the menu on a phone (390 x 844 at 2 device pixels
// per CSS pixel) and on a desktop (1280 x 800).
// Usage: node web/screenshots.js <site folder> <output folder>
'use strict';
const path = require('node:path');
const web = require('./test/browser');

(async () => {
  const [site, out] = process.argv.slice(2).map(p => path.resolve(p));
  const server = await web.serve(site);
  const browser = await web.launch();
  for (const [name, width, height, ratio] of [['web-phone', 390, 844, 2], ['web-desktop', 1280, 800, 1]]) {
    const page = await browser.newPage({viewport: {width, height}, deviceScaleFactor: ratio});
    await page.goto(server.url);
    await page.waitForTimeout(2500);  // the start screen, then the menu
    await page.screenshot({path: path.join(out, `${name}.png`)});
    await page.close();
  }
  await browser.close();
  server.stop();
})();

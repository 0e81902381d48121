// Start-up at the form's own size, 891 x 687: the title, every control at its
// rectangle with its caption, the initial figure with the parallels at page
// y 325, 400 and 550, and nothing else on the white canvas. And the initial
// screen that the page shows before the program runs: the same picture, and
// what the user does meanwhile done once the program runs.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import {
  ENGINE,
  FORM,
  WHITE,
  formBox,
  mouseOn,
  near,
  newPage,
  openSite,
  pointerStep,
  scene,
  screenshot,
  session,
  shotPath,
  untilReady,
  variables,
  watched,
} from './support/browser.mjs';
import { expectCanvasColour, expectInitialFigure, expectOnlyTheScene } from './support/figure.mjs';

const s = session();
before(() => s.start());
after(() => s.stop());

// id, form rectangle (left, top, width, height), caption.
const CONTROLS = [
  ['Label1', [8, 8, 125, 33], '相似と比'],
  ['Command5', [216, 8, 49, 33], '直線'],
  ['Option2_0', [280, 8, 33, 17], '赤'],
  ['Option2_1', [320, 8, 33, 17], '緑'],
  ['Option2_2', [360, 8, 33, 17], '青'],
  ['Option2_3', [400, 8, 33, 17], '白'],
  ['Check1_0', [280, 24, 25, 17], '1'],
  ['Check1_1', [312, 24, 25, 17], '2'],
  ['Check1_2', [344, 24, 25, 17], '3'],
  ['Check1_3', [376, 24, 25, 17], '4'],
  ['Check1_4', [408, 24, 25, 17], '5'],
  ['Command3', [464, 8, 49, 33], 'メモ'],
  ['Label4_0', [528, 10, 24, 12], '太字'],
  ['Label4_1', [528, 27, 24, 12], '細字'],
  ['Option1_4', [560, 8, 57, 17], '赤'],
  ['Option1_5', [600, 8, 57, 17], '緑'],
  ['Option1_6', [640, 8, 57, 17], '青'],
  ['Option1_7', [680, 8, 81, 17], '消しゴム'],
  ['Option1_0', [560, 24, 57, 17], '赤'],
  ['Option1_1', [600, 24, 57, 17], '緑'],
  ['Option1_2', [640, 24, 57, 17], '青'],
  ['Option1_3', [680, 24, 81, 17], '消しゴム'],
  ['Command1', [808, 8, 73, 33], '初期画面'],
  ['gamen', [8, 48, 806, 630], ''],
  ['Command4', [824, 56, 57, 33], '方眼'],
  ['Command6', [824, 592, 57, 33], '印刷'],
  ['Command2', [824, 640, 57, 33], '終了'],
];

test('start-up at 891 x 687', async (t) => {
  const page = await openSite(s);

  await t.test('title and form', async () => {
    assert.equal(await page.title(), '平行線と線分の比 (by Tomiraku)');
    assert.deepEqual(await formBox(page), { left: 0, top: 0, width: 891, height: 687, scale: 1 });
  });

  await t.test('every control at its rectangle with its caption', async () => {
    const found = await page.evaluate((ids) => {
      return ids.map((id) => {
        const el = document.getElementById(id);
        if (!el) {
          return null;
        }
        // An option button or a check box is the label that holds it.
        const box = el.tagName === 'INPUT' ? el.closest('label') : el;
        const r = box.getBoundingClientRect();
        const style = getComputedStyle(box);
        return {
          rect: [r.left, r.top, r.width, r.height],
          caption: box.textContent.trim(),
          shown: style.visibility !== 'hidden' && style.display !== 'none',
        };
      });
    }, CONTROLS.map(([id]) => id));
    CONTROLS.forEach(([id, rect, caption], i) => {
      const got = found[i];
      assert.ok(got, `#${id} is missing`);
      got.rect.forEach((v, k) =>
        assert.ok(Math.abs(v - rect[k]) <= 1, `#${id} at ${got.rect}, not ${rect}`),
      );
      assert.equal(got.caption, caption, `caption of #${id}`);
      assert.ok(got.shown, `#${id} is hidden`);
    });
    // The drawing area inside the sunken border, both layers of it.
    const layers = await page.evaluate(() =>
      ['gamen-strokes', 'gamen-items'].map((id) => {
        const r = document.getElementById(id).getBoundingClientRect();
        return [r.left, r.top, r.width, r.height];
      }),
    );
    assert.deepEqual(layers, [
      [10, 50, 802, 626],
      [10, 50, 802, 626],
    ]);
    // The indicators of option buttons and check boxes are 13 px square, as on the desktop.
    assert.deepEqual(await page.$$eval('#Option1_0, #Check1_0',
      (els) => els.map((el) => [el.offsetWidth, el.offsetHeight])), [[13, 13], [13, 13]]);
    // Only the ended notice and the print dialog are out of sight.
    assert.equal(await page.$eval('#ended', (el) => el.checkVisibility()), false);
    assert.equal(await page.$eval('#print-dialog', (el) => el.open), false);
  });

  await t.test('the initial figure and nothing else', async () => {
    const file = shotPath('startup');
    const img = await screenshot(page, file);
    const box = await formBox(page);
    // The parallels at page y 325, 400 and 550.
    for (const y of [325, 400, 550]) {
      for (const x of [110, 210, 460, 560, 710]) {
        assert.ok(img.css(x, y).every((v) => v < 60), `parallel at page (${x}, ${y})`);
      }
    }
    expectInitialFigure(img, box);
    // The form's ground around the canvas, the canvas's corners white.
    for (const [x, y] of [
      [450, 30],
      [850, 300],
      [150, 20],
      [4, 684],
    ]) {
      assert.deepEqual(img.css(x, y), FORM, `form ground at ${x},${y}`);
    }
    for (const [x, y] of [
      [0, 0],
      [801, 625],
      [700, 50],
      [200, 600],
    ]) {
      expectCanvasColour(img, box, x, y, WHITE, 'blank canvas');
    }
    const items = await scene(page);
    const inked = expectOnlyTheScene(img, box, items);
    assert.ok(inked > 5000, `only ${inked} pixels of figure (${file})`);

    const v = await variables(page);
    assert.equal(v.parallelPY, 275);
    assert.equal(v.parallelQY, 350);
    assert.equal(v.parallelRY, 500);
    assert.equal(v.memoMode, 0);
    assert.equal(v.lineMode, 0);
    assert.equal(v.gridShown, 0);
    assert.deepEqual((await watched(page)).errors, []);
  });
});

test('the initial screen before the program runs', async () => {
  const viewport = { width: 1200, height: 800 };
  // The program's first frame at this size, to compare with.
  const live = await openSite(s, viewport);
  const liveBox = await formBox(live);
  const drawn = await screenshot(live, shotPath('initial-program'));
  await live.close();

  // A page whose module's code is held back at the server until released.
  const context = await s.browser.createBrowserContext();
  try {
    const page = await newPage(context, viewport);
    const held = s.server.hold('/heikosen.wasm');
    const asked = s.server.requests.length;
    await page.goto(s.server.url('/'), { waitUntil: 'load' });
    await page.evaluate(() => window.heikosen.shown);
    // The picture's letters are small; it names the program's own, for print.
    const pictures = await page.$$eval('#form .figure .letter', (letters) =>
      letters.map((letter) => letter.getAttribute('data-picture')));
    assert.equal(pictures.length, 5);

    // Fitted and centred as the program fits it, and the same picture.
    const box = await formBox(page);
    assert.deepEqual(box, liveBox);
    const shown = await screenshot(page, shotPath('initial-screen'));
    expectInitialFigure(shown, box);
    let differ = 0;
    for (let y = 0; y < viewport.height; y += 1) {
      for (let x = 0; x < viewport.width; x += 1) {
        if (!near(shown.css(x, y), drawn.css(x, y), 64)) {
          differ += 1;
        }
      }
    }
    // Antialiased edges, and the title's box, which takes the width of the
    // caption in the font at hand until the program measures it. WebKit draws
    // the scaled form's captions softer once the canvases are on it.
    const allowed = ENGINE === 'webkit' ? 4000 : 1500;
    assert.ok(differ < allowed, `${differ} pixels differ from the program's first frame`);

    // Meanwhile p is dragged down by 30 and the grid button clicked: both are
    // done once the program runs.
    const mouse = mouseOn(page, box);
    await mouse.dragTo(10, 275, 10, 305, 3);
    await mouse.up();
    await page.click('#Command4');
    (await held)();
    await untilReady(page);
    const v = await variables(page);
    // Within the rounding of a scaled page's pointer to the form's pixels, and
    // of the driver's pointer to the page's.
    const within = 0.01 + pointerStep / box.scale;
    assert.ok(Math.abs(v.parallelPY - 305) < within, `p at ${v.parallelPY}, not 305`);
    assert.equal(v.grabbedHandle, 0);
    assert.equal(v.gridShown, 1);
    assert.equal(await page.$('#gamen .figure'), null);
    await page.waitForFunction(
      (n) => performance.getEntriesByType('resource').filter((e) => e.name.includes('/letters/')).length >= n,
      { timeout: 10_000 },
      pictures.length,
    );
    const requested = s.server.requests.slice(asked);
    for (const picture of pictures) {
      assert.ok(requested.includes(`/${picture}`), `${picture} was not loaded`);
    }
    assert.deepEqual((await watched(page)).errors, []);
  } finally {
    await context.close();
  }
});

// The page fits the form before the program has come, snapping the drawing
// area's corner to the device's pixels at any ratio; the program's fit takes
// over without moving it.
test('the first fit is the program\'s at a fractional pixel ratio', async () => {
  const context = await s.browser.createBrowserContext();
  try {
    const page = await newPage(context, { width: 1000, height: 701, dpr: 1.5 });
    const held = s.server.hold('/heikosen.wasm');
    await page.goto(s.server.url('/'), { waitUntil: 'load' });
    await page.evaluate(() => window.heikosen.shown);
    const first = await formBox(page);
    (await held)();
    await untilReady(page);
    assert.deepEqual(await formBox(page), first);
  } finally {
    await context.close();
  }
});

test('every file fetched once on a first visit', async () => {
  // With the service worker refused, which would fetch every file again for
  // its cache.
  const context = await s.browser.createBrowserContext();
  const allow = s.server.refuse('/sw.js');
  try {
    const asked = s.server.requests.length;
    const page = await newPage(context);
    await page.goto(s.server.url('/'), { waitUntil: 'load' });
    await untilReady(page);
    // Until the letter pictures and the icon have come, and a little longer
    // for a second request of anything.
    await page.waitForFunction(
      () => performance.getEntriesByType('resource').filter((e) => e.name.includes('/letters/')).length >= 5,
      { timeout: 10_000 },
    );
    await new Promise((resolve) => setTimeout(resolve, 1500));
    const counts = new Map();
    for (const file of s.server.requests.slice(asked)) {
      counts.set(file, (counts.get(file) ?? 0) + 1);
    }
    for (const file of ['/', '/heikosen.wasm', '/program.js']) {
      assert.ok(counts.has(file), `${file} was not fetched: ${[...counts.keys()]}`);
    }
    // The refused service worker is no file of the site: the browser may ask
    // for it again when its registration fails.
    const twice = [...counts].filter(([file, n]) => n > 1 && file !== '/sw.js');
    assert.deepEqual(twice, [], `fetched more than once: ${JSON.stringify(twice)}`);
    assert.deepEqual((await watched(page)).errors, []);
  } finally {
    allow();
    await context.close();
  }
});

test('a program that cannot be loaded says so, and loads again', async (t) => {
  // The module's code, and the page's program.
  for (const missing of ['/heikosen.wasm', '/program.js']) {
    await t.test(missing, async () => {
      const context = await s.browser.createBrowserContext();
      const allow = s.server.refuse(missing);
      try {
        const page = await newPage(context);
        await page.goto(s.server.url('/'), { waitUntil: 'load' });
        await page.waitForFunction(() => document.getElementById('unavailable').checkVisibility(), {
          timeout: 10_000,
        });
        assert.match(await page.$eval('#unavailable', (el) => el.textContent), /読み込めませんでした/);
        assert.equal(await page.$eval('#form', (el) => el.inert), true);

        allow();
        await Promise.all([page.waitForNavigation({ waitUntil: 'load' }), page.click('#reload')]);
        await untilReady(page);
        assert.equal(await page.$eval('#unavailable', (el) => el.checkVisibility()), false);
        assert.equal((await variables(page)).parallelPY, 275);
      } finally {
        allow();
        await context.close();
      }
    });
  }
});

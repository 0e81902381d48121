// A 1920 x 1080 screen at device pixel ratio 2: the form is scaled to fit,
// centred, drawn sharply, and a drag lands where the finger is. A phone held
// sideways: the form at its least scale, and the page scrolls.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import {
  BLACK,
  cannot,
  canvasToPage,
  control,
  fingers,
  formBox,
  mouseOn,
  openSite,
  pointerStep,
  screenshot,
  session,
  settle,
  shotPath,
  variables,
} from './support/browser.mjs';
import { expectCanvasColour, expectInitialFigure, expectParallel } from './support/figure.mjs';

const s = session();
before(() => s.start());
after(() => s.stop());

const close = (got, want, what, eps) =>
  assert.ok(Math.abs(got - want) <= eps, `${what}: ${got}, not ${want}`);

test('1920 x 1080 at device pixel ratio 2', async (t) => {
  const page = await openSite(s, { width: 1920, height: 1080, dpr: 2, touch: true });
  const box = await formBox(page);
  const scale = Math.min(1920 / 891, 1080 / 687);

  await t.test('scaled to fit and centred', async () => {
    close(box.scale, scale, 'scale', 0.002);
    close(box.height / box.width, 687 / 891, 'aspect', 0.002);
    close(box.left, (1920 - box.width) / 2, 'left', 1);
    close(box.top, (1080 - box.height) / 2, 'top', 1);
    const img = await screenshot(page, shotPath('scaled'));
    assert.equal(img.width, 3840);
    expectInitialFigure(img, box);
    // Sharp: a parallel, 4 canvas px = 12.6 device px wide, goes from white
    // to black within two device pixels at each edge.
    const x = canvasToPage(box, 450, 0).x * 2;
    const centre = Math.floor(canvasToPage(box, 0, 275).y * 2);
    const column = [];
    for (let y = centre - 12; y <= centre + 12; y += 1) {
      column.push(img.at(x, y)[0]);
    }
    const dark = column.filter((v) => v < 40).length;
    const between = column.filter((v) => v >= 40 && v <= 215).length;
    assert.ok(dark >= 11 && dark <= 14, `parallel ${dark} device px dark: ${column}`);
    assert.ok(between <= 4, `blurred edges: ${column}`);
    // The letter ℓ from its sharp picture, not the initial one scaled up: few
    // grey pixels at its edges for its dark ones (about 0.17 against 0.38).
    const ell = await control(page, 'Image1', 0);
    const from = canvasToPage(box, ell.Left, ell.Top);
    const to = canvasToPage(box, ell.Left + ell.Width, ell.Top + ell.Height);
    let ink = 0;
    let grey = 0;
    for (let y = Math.ceil(from.y * 2) + 2; y < Math.floor(to.y * 2) - 2; y += 1) {
      for (let x = Math.ceil(from.x * 2) + 2; x < Math.floor(to.x * 2) - 2; x += 1) {
        const v = img.at(x, y)[0];
        ink += v < 60 ? 1 : 0;
        grey += v >= 60 && v < 200 ? 1 : 0;
      }
    }
    assert.ok(ink > 500 && grey / ink < 0.25, `ℓ blurred: ${grey} grey pixels for ${ink} dark`);
  });

  await t.test('a finger drag lands where the finger is', { skip: cannot.touch }, async () => {
    const touch = await fingers(page);
    const start = canvasToPage(box, 400, 125); // the upper end of l
    const end = { x: start.x + 90, y: start.y + 6 };
    await touch.start(0, start);
    for (let i = 1; i <= 6; i += 1) {
      await touch.move(0, { x: start.x + 15 * i, y: start.y + i });
    }
    await touch.end(0);
    const v = await variables(page);
    assert.equal(v.grabbedHandle, 0);
    close(v.transLX1, 400 + 90 / box.scale, 'upper end of l', 0.01);
    close(v.pointBX, 250, 'B', 1e-6);
    await settle(page);
    const img = await screenshot(page, shotPath('scaled-drag'));
    // The line's upper end is under the finger.
    close(canvasToPage(box, v.transLX1, 125).x, end.x, 'upper end on the page', 0.05);
    const under = img.css(end.x, start.y + 2 * box.scale);
    assert.ok(under.every((c) => c < 60), `no line under the finger: ${under}`);
    const below = v.transLX1 + ((v.transLX2 - v.transLX1) * 8) / 450;
    expectCanvasColour(img, box, below, 133, BLACK, 'l below its upper end');
  });

  await t.test('a mouse drag of p by 40 page pixels', async () => {
    const mouse = mouseOn(page, box);
    const y0 = 275;
    await mouse.dragTo(10, y0, 10, y0 + 40 / box.scale, 4);
    await mouse.up();
    const v = await variables(page);
    close(v.parallelPY, 275 + 40 / box.scale, 'p', 0.01);
    await settle(page);
    expectParallel(await screenshot(page), box, v.parallelPY);
  });
});

test('a phone held sideways: the form at its least scale, scrolled', async () => {
  const page = await openSite(s, { width: 823, height: 412 });
  // 412 / 687 would be too small to touch; the form stays at three quarters,
  // 515 px high, and the page scrolls by the rest.
  await page.evaluate(() => window.scrollTo(0, 60));
  const box = await formBox(page);
  // Centred across, beside the scroll bar where the engine shows one.
  const width = await page.evaluate(() => document.documentElement.clientWidth);
  close(box.scale, 0.75, 'scale', 0.002);
  close(box.left, (width - box.width) / 2, 'left', 1);
  close(box.top, -60, 'top', 1);
  // A drag of p lands where the pointer is, scrolled as the page is.
  const mouse = mouseOn(page, box);
  await mouse.dragTo(10, 275, 10, 305, 3);
  await mouse.up();
  const v = await variables(page);
  // Where the driver rounds the pointer to whole page pixels, to within one.
  close(v.parallelPY, 305, 'p', pointerStep / box.scale + 1e-3);
  assert.equal(v.parallelQY, 350);
  await page.close();
});

// The figure as the screen shows it: where the initial figure's lines run, and
// checks of a screenshot against them, in canvas coordinates of the form's box.

import assert from 'node:assert/strict';

import { BLACK, BLUE, WHITE, canvasToPage, near } from './browser.mjs';

// x where the parallels are sampled: clear of the transversals, the labels and
// the arrow marks of the initial figure.
export const PARALLEL_SAMPLE_X = [100, 200, 450, 550, 620, 700];

// The colour of the screenshot at canvas point (x, y).
export function canvasPixel(img, box, x, y) {
  const p = canvasToPage(box, x, y);
  return img.css(p.x, p.y);
}

export function expectCanvasColour(img, box, x, y, want, what) {
  const got = canvasPixel(img, box, x, y);
  const p = canvasToPage(box, x, y);
  const where = `canvas (${x}, ${y}), page (${p.x.toFixed(1)}, ${p.y.toFixed(1)})`;
  assert.ok(near(got, want), `${what}: ${where} is ${got}, not ${want}`);
}

// Whether some pixel within `radius` canvas pixels of (x, y) has the colour.
function anyNear(img, box, x, y, radius, want) {
  for (let dy = -radius; dy <= radius; dy += 1) {
    for (let dx = -radius; dx <= radius; dx += 1) {
      if (near(canvasPixel(img, box, x + dx, y + dy), want)) {
        return true;
      }
    }
  }
  return false;
}

// A parallel at canvas height y in the given colour, with white a little above
// and below it (the lines are 4 px wide).
export function expectParallel(img, box, y, colour = BLACK, xs = PARALLEL_SAMPLE_X) {
  for (const x of xs) {
    expectCanvasColour(img, box, x, y, colour, `parallel at y ${y}`);
    expectCanvasColour(img, box, x, y - 4, WHITE, `above the parallel at y ${y}`);
    expectCanvasColour(img, box, x, y + 4, WHITE, `below the parallel at y ${y}`);
  }
}

export function expectNoParallel(img, box, y, xs = PARALLEL_SAMPLE_X) {
  for (const x of xs) {
    expectCanvasColour(img, box, x, y, WHITE, `no parallel at y ${y}`);
  }
}

// The initial figure: the three parallels, the transversals l and m, no
// extensions above their upper ends.
export function expectInitialFigure(img, box) {
  for (const y of [275, 350, 500]) {
    expectParallel(img, box, y);
  }
  expectCanvasColour(img, box, 350, 200, BLACK, 'l');
  expectCanvasColour(img, box, 125, 537.5, BLACK, 'l near its lower end');
  expectCanvasColour(img, box, 275, 200, BLACK, 'm');
  expectCanvasColour(img, box, 433, 75, WHITE, 'hidden extension of l');
  expectCanvasColour(img, box, 233, 75, WHITE, 'hidden extension of m');
  // The blue arrow marks at x 660 to 680 on each parallel.
  for (const y of [275, 350, 500]) {
    for (const dy of [-5, 5]) {
      assert.ok(anyNear(img, box, 670, y + dy, 1, BLUE), `arrow mark at (670, ${y + dy})`);
    }
  }
}

// The area that an item of the core's canvas (scene()) may paint, in canvas
// pixels, with `pad` pixels around it for antialiasing.
function footprint(item, pad) {
  if (item.kind === 'line') {
    const half = item.width / 2 + pad;
    const { x1, y1, x2, y2 } = item;
    assert.ok([x1, y1, x2, y2, half].every(Number.isFinite), `line ${JSON.stringify(item)}`);
    return (x, y) => {
      const dx = x2 - x1;
      const dy = y2 - y1;
      const len2 = dx * dx + dy * dy;
      const t =
        len2 === 0 ? 0 : Math.max(0, Math.min(1, ((x - x1) * dx + (y - y1) * dy) / len2));
      return Math.hypot(x - (x1 + t * dx), y - (y1 + t * dy)) <= half;
    };
  }
  const { left: l, top: t, width: w, height: h } = item;
  assert.ok([l, t, w, h].every(Number.isFinite), `item without a box: ${JSON.stringify(item)}`);
  return (x, y) => x >= l - pad && x <= l + w + pad && y >= t - pad && y <= t + h + pad;
}

// Every pixel of the drawing area that is not white lies on an item of the
// core's canvas. Returns the number of such pixels checked.
export function expectOnlyTheScene(img, box, items, pad = 1.5) {
  const areas = items.map((item) => footprint(item, pad));
  const stray = [];
  let inked = 0;
  for (let y = 0; y < 626; y += 1) {
    for (let x = 0; x < 802; x += 1) {
      const rgb = canvasPixel(img, box, x + 0.5, y + 0.5);
      if (near(rgb, WHITE, 6)) {
        continue;
      }
      inked += 1;
      if (!areas.some((inside) => inside(x + 0.5, y + 0.5))) {
        stray.push(`(${x}, ${y}) ${rgb}`);
      }
    }
  }
  assert.deepEqual(stray.slice(0, 20), [], `${stray.length} pixels off the figure`);
  return inked;
}

// The board's picture for print, read in the page: its size, whether the
// screen shows it, its colour at each canvas point of `points`, and how many of
// its pixels are dark in the canvas box `inked` (left, top, width, height), if
// given.
export function printPicture(page, points, inked = null) {
  return page.$eval('#gamen .print', async (img, points, inked) => {
    await img.decode();
    const c = document.createElement('canvas');
    c.width = img.naturalWidth;
    c.height = img.naturalHeight;
    const ctx = c.getContext('2d');
    ctx.drawImage(img, 0, 0);
    // Its pixels per canvas pixel, across the drawing area's 802.
    const k = Math.round(img.naturalWidth / 802);
    const at = ([x, y]) => [...ctx.getImageData(x * k + 1, y * k + 1, 1, 1).data.slice(0, 3)];
    let dark = 0;
    if (inked) {
      const [left, top, width, height] = inked.map((v) => v * k);
      const { data } = ctx.getImageData(left, top, width, height);
      for (let i = 0; i < data.length; i += 4) {
        dark += data[i] < 110 && data[i + 1] < 110 && data[i + 2] < 110 ? 1 : 0;
      }
    }
    const shown = img.checkVisibility?.() ?? null;
    return { size: [img.naturalWidth, img.naturalHeight], shown, colours: points.map(at), dark };
  }, points, inked);
}

// "印刷": the name typed into the page's dialog; the board's picture for print;
// the page printed to PDF through the engine's own print path (Chromium's
// Page.printToPDF, Firefox's browsingContext.print) on a portrait sheet, a
// landscape one and the page's own, and read back with pdfinfo and pdftoppm:
// each time one page holding the window in landscape with the name and the
// parallels. Cancel, or OK with no name, prints nothing.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';

import {
  cannot,
  control,
  decodePng,
  image,
  near,
  openSite,
  screenshot,
  session,
  shotPath,
  variables,
  watched,
} from './support/browser.mjs';
import { printPicture } from './support/figure.mjs';

const NAME = '山田 太郎';

const s = session();
let dir;
before(async () => {
  dir = fs.mkdtempSync(path.join(os.tmpdir(), 'heikosen-print-'));
  await s.start();
});
after(async () => {
  await s.stop();
  fs.rmSync(dir, { recursive: true, force: true });
});

const dialogOpen = (page) => page.$eval('#print-dialog', (el) => el.open);

// The name label's caption as the core holds it.
const nameCaption = async (page) => (await control(page, 'Label5', 0)).Caption;

// Horizontal dark runs of at least `min` pixels, row by row, merged into bands
// of neighbouring rows with the same ends: { x0, x1, y0, y1 }.
function darkBands(img, min) {
  const bands = [];
  for (let y = 0; y < img.height; y += 1) {
    let x = 0;
    while (x < img.width) {
      if (!img.at(x, y).every((v) => v < 100)) {
        x += 1;
        continue;
      }
      const x0 = x;
      while (x < img.width && img.at(x, y).every((v) => v < 100)) {
        x += 1;
      }
      if (x - x0 < min) {
        continue;
      }
      const band = bands.find(
        (b) => b.y1 === y - 1 && Math.abs(b.x0 - x0) <= 2 && Math.abs(b.x1 - x) <= 2,
      );
      if (band) {
        band.y1 = y;
      } else {
        bands.push({ x0, x1: x, y0: y, y1: y });
      }
    }
  }
  return bands;
}

// Finds p, q and r on the printed page: three bands of equal ends whose
// spacing goes 75 to 150 as on the canvas. Returns the map from canvas
// coordinates to the page image.
function findParallels(img) {
  const bands = darkBands(img, 100).map((b) => ({ ...b, y: (b.y0 + b.y1 + 1) / 2 }));
  for (const p of bands) {
    for (const q of bands) {
      for (const r of bands) {
        const sameEnds = [q, r].every(
          (b) => Math.abs(b.x0 - p.x0) <= 2 && Math.abs(b.x1 - p.x1) <= 2,
        );
        const d1 = q.y - p.y;
        const d2 = r.y - q.y;
        if (sameEnds && d1 > 5 && Math.abs(d2 / d1 - 2) < 0.06) {
          const k = (p.x1 - p.x0) / 700;
          return {
            k,
            at: (x, y) => [p.x0 + (x - 50) * k, p.y + (y - 275) * k],
            bands: [p, q, r],
          };
        }
      }
    }
  }
  assert.fail(`no parallels on the printed page; bands: ${JSON.stringify(bands.slice(0, 12))}`);
}

// The image turned a quarter to the right.
function turnRight(img) {
  const rgb = Buffer.alloc(img.rgb.length);
  for (let y = 0; y < img.width; y += 1) {
    for (let x = 0; x < img.height; x += 1) {
      img.rgb.copy(rgb, (y * img.height + x) * 3, ((img.height - 1 - x) * img.width + y) * 3,
        ((img.height - 1 - x) * img.width + y) * 3 + 3);
    }
  }
  return image(img.height, img.width, rgb);
}

// Dark pixels of the image inside a rectangle.
function inkIn(img, [x0, y0], [x1, y1], dark = 110) {
  let ink = 0;
  for (let y = Math.floor(y0); y < y1; y += 1) {
    for (let x = Math.floor(x0); x < x1; x += 1) {
      ink += img.at(x, y).every((v) => v < dark) ? 1 : 0;
    }
  }
  return ink;
}

// The sheets printed on, as the driver's print options give them: A4 (given
// in millimetres: puppeteer hands its default letter size to WebDriver BiDi in
// the wrong unit) in the engine's default orientation, A4 turned, and the
// page's own size.
const A4 = { width: '210mm', height: '297mm' };
const SHEETS = [
  ["A4 in the engine's default orientation", A4],
  ['A4 in landscape', { ...A4, landscape: true }],
  ["the page's own size", { ...A4, preferCSSPageSize: true }],
];

test('printing', async (t) => {
  const page = await openSite(s);

  await t.test('cancel, or OK without a name, prints nothing', async () => {
    await page.click('#Command6');
    assert.ok(await dialogOpen(page));
    const text = await page.$eval('#print-dialog', (el) => el.innerText);
    assert.match(text, /印刷/);
    assert.match(text, /名前を入力してください。/);
    assert.match(text, /名前を入力しないと印刷できません。/);
    assert.equal(await page.$eval('#print-name', (el) => el.value), '');
    await page.type('#print-name', NAME);
    await page.click('#print-cancel');
    assert.equal(await dialogOpen(page), false);

    await page.click('#Command6');
    assert.equal(await page.$eval('#print-name', (el) => el.value), '', 'no default text');
    await page.click('#print-ok');
    assert.equal(await dialogOpen(page), false);

    assert.equal((await watched(page)).prints, 0);
    assert.equal(await nameCaption(page), '');
  });

  await t.test('OK with a name prints', async () => {
    await page.click('#Command6');
    await page.type('#print-name', NAME);
    await page.click('#print-ok');
    assert.equal(await dialogOpen(page), false);
    assert.equal((await watched(page)).prints, 1);
    assert.equal(await nameCaption(page), `名前：${NAME}`);
  });

  await t.test('a browser that cannot print says so', async () => {
    await page.evaluate(() => {
      window.__print = window.print;
      window.print = () => {
        throw new Error('no printing here');
      };
    });
    try {
      await page.click('#Command6');
      await page.type('#print-name', NAME);
      await page.click('#print-ok');
      const said = await page.$eval('#message-dialog', (el) => (el.open ? el.innerText : ''));
      assert.match(said, /印刷できませんでした。/);
      assert.match(said, /このブラウザーでは印刷できません。/);
      await page.click('#message-dialog button');
    } finally {
      await page.evaluate(() => {
        window.print = window.__print;
      });
    }
  });

  await t.test("the board's picture for print", async () => {
    // Three pixels of the picture per canvas pixel, as the desktop prints the
    // window, in place of the canvases.
    const label = await control(page, 'Label5', 0);
    const picture = await printPicture(page, [[450, 275], [450, 350], [450, 500], [450, 300]],
      [label.Left, label.Top, label.Width, label.Height]);
    assert.deepEqual(picture.size, [802 * 3, 626 * 3]);
    assert.equal(picture.shown, false, 'the picture is shown on the screen');
    const [parallels, between] = [picture.colours.slice(0, 3), picture.colours[3]];
    for (const rgb of parallels) {
      assert.ok(rgb.every((v) => v < 60), `a parallel in the picture is ${rgb}`);
    }
    assert.deepEqual(between, [255, 255, 255]);
    assert.ok(picture.dark > 20 * 9, `the name is not in the picture: ${picture.dark} dark pixels`);
  });

  for (const [sheet, options] of SHEETS) {
    await t.test(`one page in landscape on ${sheet}`, { skip: cannot.print }, async () => {
      const pdf = path.join(process.env.HEIKOSEN_PDFS ?? dir, `${sheet.replace(/\W+/g, '-')}.pdf`);
      await page.pdf({ path: pdf, printBackground: true, ...options });
      const info = execFileSync('pdfinfo', [pdf], { encoding: 'utf8' });
      assert.match(info, /^Pages:\s+1$/m, info);
      const [, w, h] = info.match(/^Page size:\s+([\d.]+) x ([\d.]+) pts/m);
      console.log(`# ${sheet}: a page of ${w} x ${h} pt`);

      execFileSync('pdftoppm', ['-r', '96', '-png', '-singlefile', pdf, path.join(dir, 'page')]);
      let img = decodePng(fs.readFileSync(path.join(dir, 'page.png')));
      // On an upright sheet the window is turned a quarter to the left.
      if (Number(w) < Number(h)) {
        img = turnRight(img);
      }
      const { k, at } = findParallels(img);
      // The window is printed whole, as large as the page allows.
      assert.ok(k * 891 <= img.width && k * 687 <= img.height, `window printed at ${k}`);
      assert.ok(k * 891 > 0.8 * img.width || k * 687 > 0.8 * img.height, `window printed at ${k}`);
      const ground = at(850 - 10, 300 - 50); // the form at (850, 300)
      assert.ok(near(img.at(...ground), [0xc0, 0xff, 0xc0], 8), `the form ground: ${img.at(...ground)}`);
      const title = at(20 - 10, 12 - 50); // inside the title
      assert.ok(img.at(...title)[1] >= 100 && img.at(...title)[0] < 40, 'the green title');

      // The name, in the name label at the top left of the canvas.
      const label = await control(page, 'Label5', 0);
      assert.ok(label.Width > 60, `name label ${label.Width} wide`);
      const ink = inkIn(img, at(label.Left, label.Top),
        at(label.Left + label.Width, label.Top + label.Height));
      assert.ok(ink > 20, `the name is not on the page: ${ink} dark pixels`);
    });
  }

  // Chromium and Firefox print in landscape on any sheet they are given;
  // an engine that keeps the sheet upright (WebKit's print dialog) gets the
  // window turned on it. Shown on the screen as print lays it out there.
  await t.test('on an upright sheet, the window turned', { skip: cannot.printMedia }, async () => {
    await page.setViewport({ width: 600, height: 800 });
    await page.emulateMediaType('print');
    try {
      const img = turnRight(await screenshot(page, shotPath('print-upright')));
      const { k, at } = findParallels(img);
      // As large as the sheet allows: the form's width along the sheet's height.
      const fitted = Math.min(800 / 891, 600 / 687);
      assert.ok(Math.abs(k / fitted - 1) < 0.01, `window printed at ${k}, not ${fitted}`);
      assert.ok(near(img.at(...at(840, 250)), [0xc0, 0xff, 0xc0], 8), 'the form ground');
    } finally {
      await page.emulateMediaType(null);
      await page.setViewport({ width: 891, height: 687 });
    }
  });

  await t.test('the figure as it was', async () => {
    // Nothing of the print changed the figure.
    assert.equal((await variables(page)).parallelPY, 275);
  });
});

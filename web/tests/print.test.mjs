// "印刷": the name typed into the page's dialog, the page printed to PDF through
// the DevTools protocol and read back with pdfinfo and pdftoppm: one landscape
// page holding the window with the name and the parallels. Cancel, or OK with
// no name, prints nothing.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { control, decodePng, openSite, session, variables, watched } from './support/browser.mjs';

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

  await t.test('the name on one landscape page with the window', async () => {
    await page.click('#Command6');
    await page.type('#print-name', NAME);
    await page.click('#print-ok');
    assert.equal(await dialogOpen(page), false);
    assert.equal((await watched(page)).prints, 1);
    assert.equal(await nameCaption(page), `名前：${NAME}`);

    const pdf = path.join(dir, 'page.pdf');
    await page.pdf({ path: pdf, preferCSSPageSize: true, printBackground: true });
    const info = execFileSync('pdfinfo', [pdf], { encoding: 'utf8' });
    assert.match(info, /^Pages:\s+1$/m, info);
    const [, w, h] = info.match(/^Page size:\s+([\d.]+) x ([\d.]+) pts/m);
    assert.ok(Number(w) > Number(h), `portrait page: ${w} x ${h}`);

    execFileSync('pdftoppm', ['-r', '96', '-png', '-singlefile', pdf, path.join(dir, 'page')]);
    const img = decodePng(fs.readFileSync(path.join(dir, 'page.png')));
    const { k, at } = findParallels(img);
    // The window is printed whole, at most as wide as the page.
    assert.ok(k > 0.5 && k * 891 <= img.width, `window printed at ${k}`);
    const ground = at(850 - 10, 300 - 50); // the form at (850, 300)
    assert.deepEqual(img.at(...ground), [0xc0, 0xff, 0xc0], 'the form ground');
    const title = at(20 - 10, 12 - 50); // inside the title
    assert.ok(img.at(...title)[1] >= 100 && img.at(...title)[0] < 40, 'the green title');

    // The name, in the name label at the top left of the canvas.
    const label = await control(page, 'Label5', 0);
    assert.ok(label.Width > 60, `name label ${label.Width} wide`);
    const [x0, y0] = at(label.Left, label.Top);
    const [x1, y1] = at(label.Left + label.Width, label.Top + label.Height);
    let ink = 0;
    for (let y = Math.floor(y0); y < y1; y += 1) {
      for (let x = Math.floor(x0); x < x1; x += 1) {
        ink += img.at(x, y).every((v) => v < 110) ? 1 : 0;
      }
    }
    assert.ok(ink > 20, `the name is not on the page: ${ink} dark pixels`);
    // Nothing of the print changed the figure.
    assert.equal((await variables(page)).parallelPY, 275);
  });
});

// The blackboard tools on the page: a memo stroke lies beneath the figure and
// prints sharp however many strokes the board holds, a marker line goes into
// slot 1 and checks its box, the grid shows and hides, the picture of l
// switches its extension; the controls from the keyboard, to the end and back.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import {
  BLACK,
  RED,
  WHITE,
  accessibilityViolations,
  canvasToPage,
  control,
  formBox,
  mouseOn,
  near,
  openSite,
  screenshot,
  session,
  settle,
  shotPath,
  variables,
} from './support/browser.mjs';
import { canvasPixel, expectCanvasColour, printPicture } from './support/figure.mjs';

const GREY = [0xc0, 0xc0, 0xc0];

const s = session();
before(() => s.start());
after(() => s.stop());

const bold = (page, id) =>
  page.$eval(`#${id}`, (el) => Number(getComputedStyle(el).fontWeight) >= 600);

test('blackboard tools', async (t) => {
  const page = await openSite(s);
  const box = await formBox(page);
  const mouse = mouseOn(page, box);

  await t.test('a memo stroke lies beneath the figure', async () => {
    await page.click('#Command3');
    assert.equal((await variables(page)).memoMode, 1);
    assert.ok(await bold(page, 'Command3'));
    // Across l and m at y 300, then down across p at x 600.
    await mouse.dragTo(80, 300, 720, 300, 8);
    await mouse.up();
    await mouse.dragTo(600, 240, 600, 320, 4);
    await mouse.up();
    assert.equal((await variables(page)).penDown, 0);
    const segments = await page.evaluate(() => window.heikosen.strokeCount());
    assert.equal(segments, 12);
    await settle(page);
    const img = await screenshot(page, shotPath('memo'));
    for (const x of [100, 200, 450, 700]) {
      expectCanvasColour(img, box, x, 300, RED, 'the stroke');
    }
    expectCanvasColour(img, box, 600, 255, RED, 'the stroke down');
    // Where the stroke crosses a line of the figure, the line is on top.
    expectCanvasColour(img, box, 600, 275, BLACK, 'p over the stroke');
    expectCanvasColour(img, box, 283.3, 300, BLACK, 'l over the stroke');
    expectCanvasColour(img, box, 308.3, 300, BLACK, 'm over the stroke');
    const v = await variables(page);
    // The figure did not move.
    assert.equal(v.parallelPY, 275);
    assert.equal(v.transLX1, 400);
    // The kept strokes drawn again: at the print's resolution for its picture,
    // then at the screen's resolution once more.
    await page.evaluate(() => dispatchEvent(new Event('beforeprint')));
    const printed = (await printPicture(page, [[100, 300], [450, 300], [700, 300], [600, 255]])).colours;
    for (const rgb of printed) {
      assert.ok(near(rgb, RED), `the stroke in the print's picture is ${rgb}`);
    }
    await settle(page);
    const again = await screenshot(page);
    expectCanvasColour(again, box, 450, 300, RED, 'the stroke drawn again');
    expectCanvasColour(again, box, 600, 255, RED, 'the stroke down drawn again');
  });

  await t.test('more strokes than are drawn again at once print sharp', async () => {
    // Back and forth along the stroke at y 300, a segment a move, sent as the
    // page's own pointer events: the print's picture draws every one of them
    // at its resolution, not the screen's picture of them stretched.
    await page.evaluate((from, to, moves) => {
      const gamen = document.getElementById('gamen');
      const send = (type, x, buttons) => gamen.dispatchEvent(new PointerEvent(type, {
        bubbles: true, pointerId: 1, pointerType: 'mouse', isPrimary: true, button: type === 'pointermove' ? -1 : 0,
        buttons, clientX: x, clientY: from.y }));
      send('pointerdown', from.x, 1);
      for (let i = 1; i <= moves; i += 1) {
        send('pointermove', from.x + ((to.x - from.x) * Math.abs((i % 1200) - 600)) / 600, 1);
      }
      send('pointerup', from.x, 0);
    }, canvasToPage(box, 100, 300), canvasToPage(box, 700, 300), 4200);
    assert.equal(await page.evaluate(() => window.heikosen.strokeCount()), 12 + 4200);
    await page.evaluate(() => dispatchEvent(new Event('beforeprint')));
    // Down the picture's column at canvas x 450, across the stroke.
    const column = await page.$eval('#gamen .print', async (img) => {
      await img.decode();
      const k = Math.round(img.naturalWidth / 802);
      const c = document.createElement('canvas');
      [c.width, c.height] = [img.naturalWidth, img.naturalHeight];
      const ctx = c.getContext('2d');
      ctx.drawImage(img, 0, 0);
      const { data } = ctx.getImageData(450 * k + 1, 290 * k, 1, 20 * k);
      return Array.from({ length: 20 * k }, (_, i) => [...data.slice(i * 4, i * 4 + 3)]);
    });
    // Drawn at the print's resolution, each edge has at most one row between
    // the pen's red and the board's white; the screen's picture stretched
    // three times has two.
    const red = column.filter((rgb) => near(rgb, RED)).length;
    const between = column.filter((rgb) => !near(rgb, RED) && !near(rgb, WHITE)).length;
    assert.ok(red >= 6 && between <= 2, `the stroke in the print's picture: ${JSON.stringify(column)}`);
  });

  await t.test('a marker line into slot 1 checks box 1; clearing the box removes it', async () => {
    await page.click('#Command5');
    let v = await variables(page);
    assert.equal(v.lineMode, 1);
    assert.equal(v.memoMode, 0);
    assert.equal(v.lineSlot, 1);
    assert.ok(await bold(page, 'Command5'));
    assert.equal(await bold(page, 'Command3'), false);
    await mouse.dragTo(100, 100, 300, 200, 5);
    await settle(page);
    // The rubber band follows the pointer before the release.
    expectCanvasColour(await screenshot(page), box, 200, 150, BLACK, 'rubber band');
    await mouse.up();
    const line = await control(page, 'Line4', 0);
    assert.deepEqual([line.X1, line.Y1, line.X2, line.Y2], [100, 100, 300, 200]);
    assert.equal(line.BorderColor, (await control(page, 'Line1', 2)).BorderColor);
    assert.equal(await page.$eval('#Check1_0', (el) => el.checked), true);
    v = await variables(page);
    assert.equal(v.lineSlot, 2);
    await settle(page);
    let img = await screenshot(page, shotPath('marker'));
    expectCanvasColour(img, box, 200, 150, BLACK, 'marker line');
    expectCanvasColour(img, box, 250, 175, BLACK, 'marker line');

    await page.click('#Check1_0');
    assert.equal(await page.$eval('#Check1_0', (el) => el.checked), false);
    assert.equal((await control(page, 'Line4', 0)).X1, 1000);
    await settle(page);
    img = await screenshot(page);
    expectCanvasColour(img, box, 200, 150, WHITE, 'removed marker line');
    // The memo stroke drawn before is still there.
    expectCanvasColour(img, box, 450, 300, RED, 'the stroke');
    await page.click('#Command5');
    assert.equal((await variables(page)).lineMode, 0);
  });

  await t.test('the grid shows and hides', async () => {
    await page.click('#Command4');
    assert.equal((await variables(page)).gridShown, 1);
    assert.ok(await bold(page, 'Command4'));
    await settle(page);
    let img = await screenshot(page, shotPath('grid'));
    // Solid lines on multiples of 50, dotted ones between.
    for (const x of [760, 770, 780, 790]) {
      expectCanvasColour(img, box, x, 50, GREY, 'solid horizontal grid line');
    }
    for (const y of [560, 570, 580, 590, 610]) {
      expectCanvasColour(img, box, 750, y, GREY, 'solid vertical grid line');
    }
    const dotted = [];
    for (let x = 760; x < 800; x += 1) {
      dotted.push(canvasPixel(img, box, x, 25).join());
    }
    assert.ok(dotted.includes(GREY.join()) && dotted.includes(WHITE.join()), 'dotted line');
    // The figure lies above the grid, the stroke beneath it.
    expectCanvasColour(img, box, 550, 275, BLACK, 'p over the grid');
    expectCanvasColour(img, box, 460, 300, GREY, 'the grid over the stroke');
    expectCanvasColour(img, box, 460, 299, RED, 'the stroke beside the grid line');

    await page.click('#Command4');
    assert.equal((await variables(page)).gridShown, 0);
    assert.equal(await bold(page, 'Command4'), false);
    await settle(page);
    img = await screenshot(page);
    expectCanvasColour(img, box, 770, 50, WHITE, 'hidden grid');
  });

  await t.test('the picture of l switches its extension', async () => {
    const pic = await control(page, 'Image1', 0);
    const centre = [pic.Left + pic.Width / 2, pic.Top + pic.Height / 2];
    // The extension runs from (400, 125) up to (466.67, 25).
    await mouse.move(...centre);
    await mouse.down();
    await mouse.up();
    let v = await variables(page);
    assert.equal(v.extension1Shown, 1);
    assert.equal(v.extension2Shown, 0);
    assert.equal(v.grabbedHandle, 0);
    await settle(page);
    let img = await screenshot(page, shotPath('extension'));
    expectCanvasColour(img, box, 433.3, 75, BLACK, 'extension of l');
    expectCanvasColour(img, box, 233.3, 75, WHITE, 'extension of m stays hidden');

    await mouse.down();
    await mouse.up();
    v = await variables(page);
    assert.equal(v.extension1Shown, 0);
    await settle(page);
    img = await screenshot(page);
    expectCanvasColour(img, box, 433.3, 75, WHITE, 'hidden extension of l');

    // A screen reader has the pictures as toggle buttons, pressed while the
    // extension shows, and clicks them as a click on the picture does.
    const pressed = (id) => page.$eval(`#${id}`, (el) => el.getAttribute('aria-pressed'));
    assert.deepEqual([await pressed('Image1_0'), await pressed('Image1_1')], ['false', 'false']);
    await page.$eval('#Image1_1', (el) => el.click());
    assert.equal((await variables(page)).extension2Shown, 1);
    assert.equal(await pressed('Image1_1'), 'true');
    await page.$eval('#Image1_1', (el) => el.click());
    assert.equal((await variables(page)).extension2Shown, 0);
  });

  await t.test('the initial screen wipes the memo strokes', async () => {
    await page.click('#Command1');
    assert.equal(await page.evaluate(() => window.heikosen.strokeCount()), 0);
    await settle(page);
    const img = await screenshot(page);
    expectCanvasColour(img, box, 450, 300, WHITE, 'the wiped stroke');
    expectCanvasColour(img, box, 600, 255, WHITE, 'the wiped stroke down');
  });

  await t.test('the controls from the keyboard, and nothing for axe to find', async () => {
    const focused = () => page.evaluate(() => document.activeElement.id);
    const press = async (key, id) => {
      await page.keyboard.press(key);
      assert.equal(await focused(), id, `${key} lands on ${id}`);
    };
    assert.deepEqual(await accessibilityViolations(page), [], 'the initial screen');
    // Space on 「メモ」 turns the memo on; Tab enters the pens at the one
    // selected, the arrows go round them and select, Tab leaves them.
    await page.focus('#Command3');
    await press(' ', 'Command3');
    assert.equal((await variables(page)).memoMode, 1);
    assert.deepEqual(await accessibilityViolations(page), [], 'memo on');
    await press('Tab', 'Option1_0');
    await press('ArrowRight', 'Option1_1');
    assert.equal((await variables(page)).penColor, 10);
    assert.equal(await page.$eval('#Option1_1', (el) => el.checked), true);
    await press('ArrowLeft', 'Option1_0');
    await press('ArrowUp', 'Option1_7');
    assert.equal((await variables(page)).penColor, 15);
    await press('Tab', 'Command4');
    // Space and Enter click a button once a press.
    for (const [key, shown] of [[' ', 1], [' ', 0], ['Enter', 1], ['Enter', 0]]) {
      await press(key, 'Command4');
      assert.equal((await variables(page)).gridShown, shown, `${key} on 「方眼」`);
    }
    // With a modifier (Ctrl+Space switches the input method on many machines)
    // the keys click nothing.
    for (const [modifier, key] of [['Control', ' '], ['Shift', 'Enter']]) {
      await page.keyboard.down(modifier);
      await press(key, 'Command4');
      await page.keyboard.up(modifier);
      assert.equal((await variables(page)).gridShown, 0, `${modifier}+${key} on 「方眼」`);
    }
    await page.focus('#Command5');
    await press('Enter', 'Command5');
    assert.equal((await variables(page)).lineMode, 1);
    assert.deepEqual(await accessibilityViolations(page), [], 'the line tool on');
    await page.focus('#Command6');
    await page.keyboard.press('Enter');
    assert.ok(await page.$eval('#print-dialog', (el) => el.open));
    assert.deepEqual(await accessibilityViolations(page), [], 'the print dialog open');
    await page.keyboard.press('Escape');
    assert.equal(await page.$eval('#print-dialog', (el) => el.open), false);
    // 「終了」 from the keys: the page says that the program has ended and its
    // button to start again has the focus; Enter on it starts the window
    // afresh, the keys at its first stop, the canvas.
    await page.focus('#Command2');
    await press('Enter', 'restart');
    assert.equal(await page.$eval('#ended', (el) => el.hidden), false);
    await press('Enter', 'gamen');
    assert.equal(await page.$eval('#ended', (el) => el.hidden), true);
    assert.equal((await variables(page)).lineMode, 0);
  });
});

// Dragging the figure with the mouse and with a finger, checked against the
// core's numbers and against the screen; the right press that resets; a
// cancelled touch, a second finger and the context menu.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import {
  BLACK,
  RED,
  WHITE,
  cannot,
  canvasToPage,
  control,
  fingers,
  formBox,
  mouseOn,
  openSite,
  screenshot,
  session,
  settle,
  shotPath,
  variables,
  watched,
} from './support/browser.mjs';
import {
  canvasPixel,
  expectCanvasColour,
  expectNoParallel,
  expectParallel,
} from './support/figure.mjs';

const s = session();
before(() => s.start());
after(() => s.stop());

// The figure's variables, without the pointer's last position.
async function figure(page) {
  const { lastX, lastY, ...rest } = await variables(page);
  return rest;
}

// The board's focus ring.
const RING = [0x00, 0x50, 0xd0];

const close = (got, want, what, eps = 1e-4) =>
  assert.ok(Math.abs(got - want) <= eps, `${what}: ${got}, not ${want}`);

test('drags of the figure', async (t) => {
  const page = await openSite(s, { touch: true });
  const box = await formBox(page);
  const mouse = mouseOn(page, box);
  const at = (x, y) => canvasToPage(box, x, y);
  const initial = await figure(page);
  const black = (await control(page, 'Line1', 0)).BorderColor;
  const red = (await control(page, 'Line2', 0)).BorderColor; // palette colour 12 after the reset
  assert.notEqual(black, red);

  // Puts the figure back: a right press on the board, or where the driver
  // cannot release the right button, "初期画面" (the right press is tested
  // on its own, where it can be).
  const putBack = async () => {
    if (cannot.rightButton) {
      await page.click('#Command1');
    } else {
      await mouse.move(600, 600);
      await mouse.down('right');
      await mouse.up('right');
    }
    assert.deepEqual(await figure(page), initial);
  };

  await t.test('mouse drag of p', async () => {
    // The dark pixels of a label's opaque box: its caption's glyphs, which a
    // move of the label draws again in the same font.
    const glyphs = (img, label) => {
      let dark = 0;
      for (let y = Math.ceil(label.Top); y < label.Top + label.Height - 1; y += 1) {
        for (let x = Math.ceil(label.Left); x < label.Left + label.Width - 1; x += 1) {
          dark += canvasPixel(img, box, x + 0.5, y + 0.5)[0] < 128 ? 1 : 0;
        }
      }
      return dark;
    };
    const labelA = await control(page, 'Label2', 0);
    const glyphA = glyphs(await screenshot(page, shotPath('drag-p-before')), labelA);
    assert.ok(glyphA > 40, `the label A shows ${glyphA} dark pixels`);
    // The left end of p: canvas (10, 275).
    await mouse.dragTo(10, 275, 10, 305, 3);
    let v = await variables(page);
    assert.equal(v.grabbedHandle, 1);
    assert.equal(v.parallelPY, 305);
    assert.equal((await control(page, 'Line1', 0)).BorderColor, red);
    await settle(page);
    let img = await screenshot(page, shotPath('drag-p-held'));
    expectParallel(img, box, 305, RED);
    expectNoParallel(img, box, 275);
    expectParallel(img, box, 350, BLACK);

    await mouse.up();
    v = await variables(page);
    assert.equal(v.grabbedHandle, 0);
    assert.equal(v.parallelPY, 305);
    const p = await control(page, 'Line1', 0);
    assert.deepEqual([p.X1, p.Y1, p.X2, p.Y2, p.BorderColor], [50, 305, 750, 305, black]);
    assert.equal((await control(page, 'Image1', 2)).Top, 269);
    // A and A' slide along l and m; the label A follows A.
    close(v.pointAX, 100 + (300 * 270) / 450, 'A');
    close(v.pointAPrimeX, 400 - (150 * 270) / 450, "A'");
    assert.equal((await control(page, 'Label2', 0)).Top, 274);
    assert.equal(v.pointBX, 250);
    assert.equal(v.pointCX, 150);
    await settle(page);
    img = await screenshot(page, shotPath('drag-p'));
    expectParallel(img, box, 305, BLACK);
    expectNoParallel(img, box, 275);
    const moved = glyphs(img, await control(page, 'Label2', 0));
    assert.ok(Math.abs(moved - glyphA) <= glyphA * 0.2,
      `the label A moved: ${moved} dark pixels, not ${glyphA}`);

    // The press focused the board, with no ring on its sunken frame: the
    // frame's outer and inner grey at its top edge, form y 48 and 49.
    assert.equal(await page.evaluate(() => document.activeElement.id), 'gamen');
    const frame = (y) => img.css(box.left + 300 * box.scale, box.top + (y + 0.5) * box.scale);
    assert.deepEqual([frame(48), frame(49)], [[0x80, 0x80, 0x80], [0x40, 0x40, 0x40]], 'frame');
    // Reached with the keyboard, back from the control after it, it shows the ring.
    await page.evaluate(() => document.getElementById('Command1').focus());
    await page.keyboard.down('Shift');
    await page.keyboard.press('Tab');
    await page.keyboard.up('Shift');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'gamen');
    await settle(page);
    img = await screenshot(page, shotPath('focus-ring'));
    assert.deepEqual([frame(48), frame(49)], [RING, RING], 'the focus ring');
    await page.evaluate(() => document.activeElement.blur());
  });

  await t.test('a right press resets', { skip: cannot.rightButton }, async () => {
    // A right press anywhere on the board puts everything back; no menu opens.
    await mouse.move(600, 600);
    await mouse.down('right');
    await mouse.up('right');
    assert.deepEqual(await figure(page), initial);
    await settle(page);
    assert.deepEqual((await watched(page)).contextMenus, [true]);
    const img = await screenshot(page);
    expectParallel(img, box, 275, BLACK);
    expectNoParallel(img, box, 305);
  });

  await t.test('the figure from the keyboard: Shift+Tab to the canvas, p up by 25, Escape',
    async () => {
    if (cannot.rightButton) {
      await putBack();
    }
    // From 「初期画面」, the next stop of the Tab key, back to the canvas.
    await page.focus('#Command1');
    await settle(page);
    const unfocused = await screenshot(page);
    if (cannot.shiftTab) {
      // The keys go to the canvas all the same, given the focus by the driver.
      console.log(`# Shift+Tab and the focus ring not checked: ${cannot.shiftTab}`);
      await page.focus('#gamen');
    } else {
      await page.keyboard.down('Shift');
      await page.keyboard.press('Tab');
      await page.keyboard.up('Shift');
    }
    assert.equal(await page.evaluate(() => document.activeElement.id), 'gamen');
    if (!cannot.shiftTab) {
      await settle(page);
      const focused = await screenshot(page, shotPath('keys-focused'));
      // The frame shows the focus; the drawing area does not change.
      assert.notDeepEqual(canvasPixel(focused, box, -1, 300), canvasPixel(unfocused, box, -1, 300));
      assert.deepEqual(canvasPixel(focused, box, 400, 300), canvasPixel(unfocused, box, 400, 300));
    }

    const words = () => page.evaluate(() => document.getElementById('gamen-words').textContent);
    assert.match(await words(), /AB 3\.6、BC 7\.2/);
    await page.keyboard.press('KeyP');
    for (let i = 0; i < 25; i += 1) {
      await page.keyboard.press('ArrowUp');
    }
    const v = await variables(page);
    assert.equal(v.grabbedHandle, 1);
    assert.equal(v.parallelPY, 250);
    assert.equal((await control(page, 'Image1', 2)).Top, 214);
    await settle(page);
    let img = await screenshot(page, shotPath('keys-p-held'));
    expectParallel(img, box, 250, RED);
    expectNoParallel(img, box, 275);
    assert.match(await words(), /つかんでいる点: 直線pの左端。.*AB 4\.8、BC 7\.2、A'B' 4\.2、B'C' 6\.3/);

    await page.keyboard.press('Escape');
    assert.equal((await variables(page)).grabbedHandle, 0);
    assert.equal((await control(page, 'Line1', 0)).BorderColor, black);
    await settle(page);
    img = await screenshot(page, shotPath('keys-p'));
    expectParallel(img, box, 250, BLACK);
    assert.match(await words(), /つかんでいる点: なし。/);
    await putBack();
  });

  await t.test('mouse drag of the upper end of l turns it about B', async () => {
    if (cannot.rightButton) {
      await putBack();
    }
    await mouse.move(400, 125);
    await mouse.down();
    assert.equal((await variables(page)).grabbedHandle, 5);
    // Up and down on the way does not matter.
    for (let x = 405; x <= 430; x += 5) {
      await mouse.move(x, 125 + (x - 400) / 5);
    }
    await settle(page);
    expectCanvasColour(await screenshot(page), box, 370, 200, RED, 'l held');
    await mouse.up();

    const v = await variables(page);
    assert.equal(v.grabbedHandle, 0);
    close(v.transLX1, 430, 'upper end of l');
    close(v.transLX2, 70, 'lower end of l');
    close(v.pointAX, 310, 'A'); // a third of the step, the same way
    close(v.pointBX, 250, 'B');
    close(v.pointCX, 130, 'C'); // two thirds, the other way
    const l = await control(page, 'Line1', 3);
    close(l.X1, 430, 'Line1(3).X1');
    close(l.X2, 70, 'Line1(3).X2');
    assert.equal(l.BorderColor, black);
    close((await control(page, 'Label2', 0)).Left, 310 + (31 * 360) / 450, 'label A');
    await settle(page);
    const img = await screenshot(page, shotPath('drag-l'));
    expectCanvasColour(img, box, 370, 200, BLACK, 'l through its new place');
    expectCanvasColour(img, box, 350, 200, WHITE, 'where l was');
    expectCanvasColour(img, box, 106, 530, BLACK, 'l near its new lower end');
    expectCanvasColour(img, box, 130, 530, WHITE, 'where the lower end was');
    await putBack();
  });

  await t.test('touch drag of q; a second finger is ignored', { skip: cannot.touch }, async () => {
    const touch = await fingers(page);
    // No hover with a finger: the drag is measured from where it lands.
    await touch.start(0, at(12, 352));
    assert.equal((await variables(page)).grabbedHandle, 2);
    await touch.move(0, at(12, 362));
    // A second finger on the upper end of l, and its moves, change nothing.
    await touch.start(1, at(400, 125));
    await touch.move(1, at(450, 130));
    await touch.move(0, at(12, 372));
    await touch.move(1, at(480, 135));
    await touch.end(1);
    let v = await variables(page);
    assert.equal(v.grabbedHandle, 2);
    assert.equal(v.transLX1, 400);
    assert.equal(v.parallelQY, 370);
    await touch.end(0);

    v = await variables(page);
    assert.equal(v.grabbedHandle, 0);
    assert.equal(v.parallelQY, 370);
    // B and B' slide down l and m; C and C' stay.
    close(v.pointBX, 100 + (300 * 205) / 450, 'B');
    close(v.pointBPrimeX, 400 - (150 * 205) / 450, "B'");
    assert.equal(v.pointCX, 150);
    assert.equal((await control(page, 'Image1', 3)).Top, 336);
    await settle(page);
    const img = await screenshot(page, shotPath('touch-q'));
    expectParallel(img, box, 370, BLACK);
    expectNoParallel(img, box, 350);
    // The three right presses so far, and no menu for a finger.
    assert.deepEqual((await watched(page)).contextMenus, [true, true, true]);
  });

  await t.test(
    'a cancelled touch ends the drag; the next finger is not swallowed',
    { skip: cannot.touchCancel },
    async () => {
      const touch = await fingers(page);
      await touch.start(0, at(10, 275));
      await touch.move(0, at(10, 285));
      let v = await variables(page);
      assert.equal(v.grabbedHandle, 1);
      assert.equal(v.parallelPY, 285);
      await touch.cancel();
      v = await variables(page);
      assert.equal(v.grabbedHandle, 0);
      assert.equal(v.parallelPY, 285);
      assert.equal((await control(page, 'Line1', 0)).BorderColor, black);

      await touch.start(0, at(10, 370));
      await touch.move(0, at(10, 390));
      v = await variables(page);
      assert.equal(v.grabbedHandle, 2);
      assert.equal(v.parallelQY, 390);
      await touch.end(0);
      assert.equal((await variables(page)).grabbedHandle, 0);

      // And the mouse after it.
      await mouse.dragTo(10, 285, 10, 295, 2);
      await mouse.up();
      assert.equal((await variables(page)).parallelPY, 295);
      assert.deepEqual((await watched(page)).errors, []);
    },
  );

  await t.test('a mouse takes the board from a pen gone silent', { skip: cannot.pen }, async () => {
    // The pen presses on p and is heard no more (as WebKit leaves a pen whose
    // events stop coming); half a second later the mouse drags q, at 390.
    const cdp = await page.createCDPSession();
    const pen = (type, extra = {}) =>
      cdp.send('Input.dispatchMouseEvent', { type, ...at(10, 295), pointerType: 'pen', ...extra });
    await pen('mouseMoved');
    await pen('mousePressed', { button: 'left', buttons: 1, clickCount: 1 });
    assert.equal((await variables(page)).grabbedHandle, 1);
    await new Promise((resolve) => setTimeout(resolve, 600));
    await mouse.dragTo(10, 390, 10, 380, 2);
    let v = await variables(page);
    assert.equal(v.grabbedHandle, 2);
    assert.deepEqual([v.parallelPY, v.parallelQY], [295, 380]);
    assert.equal((await control(page, 'Line1', 0)).BorderColor, black);
    await mouse.up();
    // The pen's late release lets go of nothing the mouse did.
    await pen('mouseReleased', { button: 'left', buttons: 0, clickCount: 1 });
    v = await variables(page);
    assert.deepEqual([v.grabbedHandle, v.parallelPY, v.parallelQY], [0, 295, 380]);
  });
});

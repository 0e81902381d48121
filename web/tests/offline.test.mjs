// Offline: after one visit the service worker holds the site, so that with the
// server gone a reload still shows the figure and the figure still moves.

import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import {
  formBox,
  mouseOn,
  openSite,
  screenshot,
  session,
  settle,
  shotPath,
  untilReady,
  variables,
  watched,
} from './support/browser.mjs';
import { expectInitialFigure, expectParallel } from './support/figure.mjs';

const s = session();
before(() => s.start());
after(() => s.stop());

test('offline after one visit', async () => {
  const page = await openSite(s);
  // The worker has cached the site once it is active.
  const active = await page.evaluate(() =>
    Promise.race([
      navigator.serviceWorker.ready.then(() => true),
      new Promise((resolve) => setTimeout(() => resolve(false), 20_000)),
    ]),
  );
  assert.ok(active, 'no service worker became active within 20 s');
  const online = s.server.requests.length;
  assert.ok(online > 0);

  await s.server.close();
  // Nothing answers on the site's address now.
  await assert.rejects(fetch(s.server.url('/')), 'the server still answers');

  await page.reload({ waitUntil: 'load' });
  await untilReady(page);
  assert.equal(await page.title(), '平行線と線分の比 (by Tomiraku)');
  const box = await formBox(page);
  expectInitialFigure(await screenshot(page, shotPath('offline')), box);

  // The module runs: p still moves.
  const mouse = mouseOn(page, box);
  await mouse.dragTo(10, 275, 10, 295, 2);
  await mouse.up();
  assert.equal((await variables(page)).parallelPY, 295);
  await settle(page);
  expectParallel(await screenshot(page), box, 295);
  assert.equal(s.server.requests.length, online, 'asked the stopped server');
  assert.deepEqual((await watched(page)).errors, []);
});

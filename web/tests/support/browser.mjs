// The site in each engine, from one set of scenarios: Debian's headless
// Chromium through puppeteer-core over the DevTools protocol, Firefox ESR
// through puppeteer-core over WebDriver BiDi, WebKitGTK's MiniBrowser through
// WebKitWebDriver (support/webdriver.mjs). HEIKOSEN_ENGINE names the engine
// (chromium unless set). And the helpers that the browser tests share: where
// the site is, where a point of the canvas lies on the page, screenshots as
// pixels, mouse, touch and pen gestures.

import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';

import puppeteer from 'puppeteer-core';

import { serve } from './server.mjs';
import { WebKitPage } from './webdriver.mjs';

export const CHROMIUM = '/usr/bin/chromium';
// Chromium's own work that has nothing to do with the page, switched off: among
// it the pages of its address bar's suggestions, which it loads into a
// renderer of their own for every fresh context, as busy as the page itself
// while that starts.
export const CHROMIUM_FEATURES_OFF =
  '--disable-features=Translate,MediaRouter,WebUIOmniboxPopup,WebUIOmniboxAimPopup,WebUIOmniboxFullPopup';
export const FIREFOX = '/usr/bin/firefox-esr';

export const ENGINE = process.env.HEIKOSEN_ENGINE || 'chromium';
assert.ok(['chromium', 'firefox', 'webkit'].includes(ENGINE), `unknown engine ${ENGINE}`);

// What an engine's driver cannot do, and why: a scenario skips the step there
// with this reason in its output, and does it in the engines that can.
export const cannot = {
  touch: ENGINE === 'webkit' ? 'WebKitWebDriver sends touch as a mouse' : false,
  touchCancel:
    ENGINE === 'firefox'
      ? "Firefox's WebDriver BiDi has no cancel of a touch"
      : ENGINE === 'webkit'
        ? 'WebKitWebDriver sends touch as a mouse'
        : false,
  pen:
    ENGINE === 'firefox'
      ? "Firefox's WebDriver BiDi refuses a pen's moves"
      : ENGINE === 'webkit'
        ? 'WebKitWebDriver sends a pen as a mouse'
        : false,
  print: ENGINE === 'webkit' ? 'WebKitWebDriver has no print command' : false,
  printMedia:
    ENGINE === 'chromium' ? false : "the driver cannot show the page as it is printed",
  shiftTab:
    ENGINE === 'webkit' ? "WebKitWebDriver's Shift+Tab does not move the page's focus" : false,
  rightButton:
    ENGINE === 'webkit'
      ? 'WebKitWebDriver releases the right button as the left one, which stays held'
      : false,
};

// Page pixels to which the driver rounds the pointer's position: Chromium's
// protocol takes fractions; puppeteer's WebDriver BiDi and WebKitWebDriver
// move it by whole pixels.
export const pointerStep = ENGINE === 'chromium' ? 0 : 1;

const here = path.dirname(fileURLToPath(import.meta.url));

// The assembled site for the tests: HEIKOSEN_SITE, or build-web/site-tests of
// this source tree (the site, with a module that hands out the form's properties).
export function siteDir() {
  const dir = process.env.HEIKOSEN_SITE || path.resolve(here, '../../../build-web/site-tests');
  assert.ok(
    fs.existsSync(path.join(dir, 'index.html')),
    `no site in ${dir}: build it with scripts/build-web.sh or set HEIKOSEN_SITE`,
  );
  return dir;
}

// WebKit's pages, each a browser of its own; a "context" is a set of them
// closed together.
function webkitPages() {
  const pages = new Set();
  return {
    async newPage(viewport) {
      const page = await WebKitPage.open(viewport);
      pages.add(page);
      const close = page.close.bind(page);
      page.close = () => {
        pages.delete(page);
        return close();
      };
      return page;
    },
    createBrowserContext: async () => webkitPages(),
    close: () => Promise.all([...pages].map((page) => page.close())),
  };
}

export async function launchBrowser(engine = ENGINE) {
  if (engine === 'webkit') {
    return webkitPages();
  }
  if (engine === 'firefox') {
    return puppeteer.launch({
      browser: 'firefox',
      protocol: 'webDriverBiDi',
      executablePath: FIREFOX,
      headless: true,
      protocolTimeout: 60_000,
    });
  }
  return puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    // We run as root, where Chromium's sandbox cannot start.
    args: [
      '--no-sandbox',
      '--force-color-profile=srgb',
      '--hide-scrollbars',
      '--no-first-run',
      '--no-default-browser-check',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      CHROMIUM_FEATURES_OFF,
    ],
    protocolTimeout: 60_000,
  });
}

// Records, from before the page's own scripts run, what the tests watch for:
// calls of window.print, whether each context menu on the page was suppressed
// (read once its dispatch is over), and uncaught errors. The test server puts
// it first in the page, in every engine. A print dialog cannot be driven
// (headless Chromium's window.print() leaves the page printing for good), so
// the call is only counted, and the tests print through the driver.
function watchPage() {
  window.__watch = { prints: 0, contextMenus: [], errors: [] };
  window.print = () => {
    window.__watch.prints += 1;
  };
  window.addEventListener('contextmenu', (e) => {
    setTimeout(() => window.__watch.contextMenus.push(e.defaultPrevented));
  });
  window.addEventListener('error', (e) => window.__watch.errors.push(String(e.message)));
  window.addEventListener('unhandledrejection', (e) =>
    window.__watch.errors.push(String(e.reason)),
  );
}

// The server and the browser for one test file: `await start()` in before(),
// `await stop()` in after().
export function session() {
  const s = {
    server: null,
    browser: null,
    async start() {
      s.server = await serve(siteDir(), { head: `<script>(${watchPage})();</script>` });
      s.browser = await launchBrowser();
      return s;
    },
    async stop() {
      await s.browser?.close();
      await s.server?.close();
    },
  };
  return s;
}

// A blank page of the given size in a browser or one of its contexts.
export async function newPage(
  target,
  { width = 891, height = 687, dpr = 1, touch = false } = {},
) {
  if (ENGINE === 'webkit') {
    return target.newPage({ width, height, dpr });
  }
  const page = await target.newPage();
  page.on('pageerror', (e) => console.error('page error:', e.message));
  await page.setViewport({ width, height, deviceScaleFactor: dpr, hasTouch: touch });
  return page;
}

// A new page of the given size showing the site, once its first frame is drawn.
export async function openSite(s, { path: pathname = '/', ...viewport } = {}) {
  const page = await newPage(s.browser, viewport);
  await page.goto(s.server.url(pathname), { waitUntil: 'load' });
  await untilReady(page);
  return page;
}

export async function untilReady(page) {
  await page.waitForFunction(() => Boolean(window.heikosen && window.heikosen.ready), {
    timeout: 30_000,
  });
  await page.evaluate(() => Promise.all([window.heikosen.ready, window.heikosen.sharp]));
}

// --- What the page exposes ---

// Each read waits for the next animation frame first: moves of the mouse and
// of fingers reach the page at the start of a frame, before its callbacks.
async function inNextFrame(page, fn, ...args) {
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(resolve)));
  return page.evaluate(fn, ...args);
}

export const variables = (page) => inNextFrame(page, () => window.heikosen.module.variables());
export const control = (page, name, index = 0) =>
  inNextFrame(page, (n, i) => window.heikosen.module.control(n, i), name, index);
export const scene = (page) => inNextFrame(page, () => window.heikosen.module.scene());
export const watched = (page) => inNextFrame(page, () => window.__watch);

// Where the form stands on the page and its scale.
export async function formBox(page) {
  return page.$eval('#form', (el) => {
    const r = el.getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, height: r.height, scale: r.width / 891 };
  });
}

// Page coordinates (CSS pixels) of a point of the canvas's drawing area, which
// lies at form (10, 50).
export function canvasToPage(box, x, y) {
  return { x: box.left + (10 + x) * box.scale, y: box.top + (50 + y) * box.scale };
}

// Waits for two animation frames, so that whatever an event changed is on screen.
export function settle(page) {
  return page.evaluate(
    () => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(() => r()))),
  );
}

// --- Assistive technology ---

const axeSource = fs.readFileSync(path.resolve(here, '../../node_modules/axe-core/axe.min.js'), 'utf8');

// What axe-core finds wrong on the page as it stands, a line for each rule
// broken with the elements that break it.
export async function accessibilityViolations(page) {
  return page.evaluate(async (source) => {
    if (!globalThis.axe) {
      (0, eval)(source);
    }
    const { violations } = await globalThis.axe.run(document, { resultTypes: ['violations'] });
    return violations.map((v) => `${v.id}: ${v.nodes.map((node) => node.target.join(' ')).join(', ')}`);
  }, axeSource);
}

// --- Gestures ---

// The mouse, in canvas coordinates of the form's current box.
export function mouseOn(page, box) {
  const at = (x, y) => canvasToPage(box, x, y);
  return {
    async move(x, y) {
      const p = at(x, y);
      await page.mouse.move(p.x, p.y);
    },
    async down(button = 'left') {
      await page.mouse.down({ button });
    },
    async up(button = 'left') {
      await page.mouse.up({ button });
    },
    // Hover to (x0, y0), press, move in `steps` even steps to (x1, y1).
    async dragTo(x0, y0, x1, y1, steps = 4) {
      await this.move(x0, y0);
      await this.down();
      for (let i = 1; i <= steps; i += 1) {
        await this.move(x0 + ((x1 - x0) * i) / steps, y0 + ((y1 - y0) * i) / steps);
      }
    },
  };
}

// Fingers on the page. Positions are page coordinates; `id` names the finger.
// In Chromium through the DevTools protocol, which also lets a touch be
// cancelled: each event lists every finger still down, and the protocol
// presses, moves and lifts fingers by comparing it with the list before. In
// Firefox through WebDriver BiDi's touch actions, one source for each finger,
// sent as they are (Firefox refuses the contact size and angles that
// puppeteer's touchscreen adds).
export async function fingers(page) {
  assert.ok(!cannot.touch, cannot.touch);
  if (ENGINE === 'firefox') {
    const act = (id, actions) =>
      page.mainFrame().browsingContext.performActions([
        { type: 'pointer', id: `finger${id}`, parameters: { pointerType: 'touch' }, actions },
      ]);
    const at = (p) => ({ type: 'pointerMove', x: Math.round(p.x), y: Math.round(p.y) });
    return {
      start: (id, p) => act(id, [at(p), { type: 'pointerDown', button: 0 }]),
      move: (id, p) => act(id, [at(p)]),
      end: (id) => act(id, [{ type: 'pointerUp', button: 0 }]),
      cancel() {
        assert.fail(cannot.touchCancel);
      },
    };
  }
  const cdp = await page.createCDPSession();
  const down = new Map();
  const send = (type) =>
    cdp.send('Input.dispatchTouchEvent', {
      type,
      touchPoints: [...down.entries()].map(([id, p]) => ({ id, x: p.x, y: p.y })),
    });
  return {
    async start(id, p) {
      down.set(id, p);
      await send('touchStart');
    },
    async move(id, p) {
      down.set(id, p);
      await send('touchMove');
    },
    async end(id) {
      down.delete(id);
      await send(down.size > 0 ? 'touchMove' : 'touchEnd');
    },
    async cancel() {
      down.clear();
      await send('touchCancel');
    },
  };
}

// --- Pixels ---

// Decodes an 8-bit, non-interlaced PNG (RGB or RGBA) as Chromium writes them.
export function decodePng(buf) {
  assert.equal(buf.readUInt32BE(0), 0x89504e47, 'not a PNG');
  let pos = 8;
  let width = 0;
  let height = 0;
  let channels = 0;
  const idat = [];
  while (pos < buf.length) {
    const len = buf.readUInt32BE(pos);
    const type = buf.toString('latin1', pos + 4, pos + 8);
    const data = buf.subarray(pos + 8, pos + 8 + len);
    if (type === 'IHDR') {
      width = data.readUInt32BE(0);
      height = data.readUInt32BE(4);
      const depth = data[8];
      const colour = data[9];
      assert.equal(depth, 8, 'PNG bit depth');
      assert.equal(data[12], 0, 'interlaced PNG');
      channels = { 0: 1, 2: 3, 4: 2, 6: 4 }[colour];
      assert.ok(channels, `PNG colour type ${colour}`);
    } else if (type === 'IDAT') {
      idat.push(data);
    } else if (type === 'IEND') {
      break;
    }
    pos += 12 + len;
  }
  const raw = zlib.inflateSync(Buffer.concat(idat));
  const stride = width * channels;
  const out = Buffer.alloc(width * height * 3);
  let prev = Buffer.alloc(stride);
  for (let y = 0; y < height; y += 1) {
    const filter = raw[y * (stride + 1)];
    const line = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; i += 1) {
      const a = i >= channels ? line[i - channels] : 0;
      const b = prev[i];
      const c = i >= channels ? prev[i - channels] : 0;
      let v = line[i];
      if (filter === 1) v += a;
      else if (filter === 2) v += b;
      else if (filter === 3) v += (a + b) >> 1;
      else if (filter === 4) {
        const p = a + b - c;
        const pa = Math.abs(p - a);
        const pb = Math.abs(p - b);
        const pc = Math.abs(p - c);
        v += pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      }
      line[i] = v & 0xff;
    }
    for (let x = 0; x < width; x += 1) {
      const s = x * channels;
      const d = (y * width + x) * 3;
      if (channels <= 2) {
        out[d] = out[d + 1] = out[d + 2] = line[s];
      } else {
        out[d] = line[s];
        out[d + 1] = line[s + 1];
        out[d + 2] = line[s + 2];
      }
    }
    prev = line;
  }
  return image(width, height, out);
}

export function image(width, height, rgb) {
  return {
    width,
    height,
    rgb,
    at(x, y) {
      const xi = Math.floor(x);
      const yi = Math.floor(y);
      assert.ok(xi >= 0 && yi >= 0 && xi < width && yi < height, `pixel ${xi},${yi}`);
      const i = (yi * width + xi) * 3;
      return [rgb[i], rgb[i + 1], rgb[i + 2]];
    },
  };
}

// The whole viewport in device pixels; `ratio` turns CSS pixels into them.
// (WebKit's screenshot may hold the page's rows below the viewport.)
export async function screenshot(page, file) {
  const buf = Buffer.from(await page.screenshot({ type: 'png' }));
  if (file) {
    fs.writeFileSync(file, buf);
  }
  const img = decodePng(buf);
  img.ratio = await page.evaluate(() => devicePixelRatio);
  img.css = (x, y) => img.at(x * img.ratio, y * img.ratio);
  return img;
}

// Named colours and a forgiving comparison: edges of antialiased lines blend.
export const WHITE = [255, 255, 255];
export const BLACK = [0, 0, 0];
export const RED = [255, 0, 0];
export const BLUE = [0, 0, 255];
export const FORM = [0xc0, 0xff, 0xc0];

export function near(rgb, want, tolerance = 40) {
  return rgb.every((v, i) => Math.abs(v - want[i]) <= tolerance);
}

// Where screenshots go, to be looked at when a test fails: HEIKOSEN_SHOTS, or
// one temporary directory for this run.
let shotDir = null;
export function shotPath(name) {
  if (!shotDir) {
    shotDir = process.env.HEIKOSEN_SHOTS || fs.mkdtempSync('/tmp/heikosen-web-');
    fs.mkdirSync(shotDir, { recursive: true });
  }
  return path.join(shotDir, `${name}.png`);
}

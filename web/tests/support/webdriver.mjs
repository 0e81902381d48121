// WebKitGTK through W3C WebDriver: WebKitWebDriver starts MiniBrowser (which
// needs an X display: the tests run under Xvfb) and is driven over HTTP with
// fetch. Each page is a browser of its own, with its own data, so that what a
// page is given (its service worker, its cache) is never another page's. The
// page offers the part of puppeteer's Page that the browser tests use, so that
// one set of scenarios drives every engine.

import { spawn } from 'node:child_process';
import net from 'node:net';

export const WEBKIT_DRIVER = '/usr/bin/WebKitWebDriver';
export const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

const BUTTONS = { left: 0, middle: 1, right: 2 };

function freePort() {
  return new Promise((resolve, reject) => {
    const probe = net.createServer();
    probe.once('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The script run in the page for evaluate(): the function's result, awaited,
// or the message of what it threw.
function asyncScript(fn) {
  return `const done = arguments[arguments.length - 1];
    const args = Array.prototype.slice.call(arguments, 0, -1);
    Promise.resolve().then(() => (${fn}).apply(null, args))
      .then((value) => done({ value }), (error) => done({ error: String(error && error.stack || error) }));`;
}

// One driver process and its session: the commands go out one at a time, in
// the order they were asked for.
class Driver {
  static async start({ ratio = 1 } = {}) {
    const port = await freePort();
    // The device pixel ratio is the display's scale, fixed when MiniBrowser starts.
    // In a process group of its own, with the browser it starts, so that both
    // go together (see quit).
    const child = spawn(WEBKIT_DRIVER, [`--port=${port}`], {
      stdio: ['ignore', 'ignore', 'inherit'],
      env: { ...process.env, GDK_SCALE: String(ratio) },
      detached: true,
    });
    const driver = new Driver(child, `http://127.0.0.1:${port}`);
    for (let tries = 0; ; tries += 1) {
      try {
        await fetch(`${driver.base}/status`);
        break;
      } catch (error) {
        if (tries > 100 || child.exitCode !== null) {
          child.kill();
          throw new Error(`WebKitWebDriver did not start: ${error.message}`);
        }
        await sleep(50);
      }
    }
    const session = await driver.send('POST', '/session', {
      capabilities: {
        alwaysMatch: {
          'webkitgtk:browserOptions': { binary: MINIBROWSER, args: ['--automation'] },
          pageLoadStrategy: 'normal',
        },
      },
    });
    driver.session = `/session/${session.sessionId}`;
    driver.version = session.capabilities.browserVersion;
    return driver;
  }

  constructor(child, base) {
    this.child = child;
    this.base = base;
    this.session = '';
    this.queue = Promise.resolve();
  }

  send(method, path, body) {
    const run = async () => {
      const response = await fetch(this.base + path, {
        method,
        headers: { 'Content-Type': 'application/json; charset=utf-8' },
        body: body === undefined ? undefined : JSON.stringify(body),
      });
      const answer = await response.json();
      if (!response.ok) {
        const { error, message } = answer.value ?? {};
        throw new Error(`WebDriver ${method} ${path}: ${error}: ${message}`);
      }
      return answer.value;
    };
    const result = this.queue.then(run);
    this.queue = result.catch(() => {});
    return result;
  }

  command(method, path = '', body) {
    return this.send(method, this.session + path, body);
  }

  // The session ends, and the driver with its browser: a session whose
  // browser's web process has crashed may never answer, and a browser left
  // running would hold the test's output open.
  async quit() {
    try {
      await Promise.race([this.command('DELETE'), sleep(10_000)]);
    } finally {
      try {
        process.kill(-this.child.pid, 'SIGKILL');
      } catch {
        // already gone
      }
    }
  }
}

class Mouse {
  constructor(driver) {
    this.driver = driver;
  }
  act(...actions) {
    return this.driver.command('POST', '/actions', {
      actions: [{ type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' }, actions }],
    });
  }
  move(x, y) {
    return this.act({ type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport' });
  }
  down({ button = 'left' } = {}) {
    return this.act({ type: 'pointerDown', button: BUTTONS[button] });
  }
  up({ button = 'left' } = {}) {
    return this.act({ type: 'pointerUp', button: BUTTONS[button] });
  }
}

// The keys by puppeteer's names, as WebDriver codes them.
const KEYS = {
  Tab: '\uE004', Escape: '\uE00C', Enter: '\uE007', Shift: '\uE008', Control: '\uE009',
  ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015',
};
// A key by puppeteer's name: the named ones, and KeyA..KeyZ as their letters.
const keyValue = (key) => KEYS[key] ?? (/^Key[A-Z]$/.test(key) ? key.slice(3).toLowerCase() : key);

class Keyboard {
  constructor(driver) {
    this.driver = driver;
  }
  act(...actions) {
    return this.driver.command('POST', '/actions', {
      actions: [{ type: 'key', id: 'keyboard', actions }],
    });
  }
  down(key) {
    return this.act({ type: 'keyDown', value: keyValue(key) });
  }
  up(key) {
    return this.act({ type: 'keyUp', value: keyValue(key) });
  }
  press(key) {
    const value = keyValue(key);
    return this.act({ type: 'keyDown', value }, { type: 'keyUp', value });
  }
}

export class WebKitPage {
  constructor(driver, chrome) {
    this.driver = driver;
    this.chrome = chrome;
    this.mouse = new Mouse(driver);
    this.keyboard = new Keyboard(driver);
  }

  static async open({ width = 891, height = 687, dpr = 1 } = {}) {
    const driver = await Driver.start({ ratio: dpr });
    // The window's rectangle holds MiniBrowser's toolbar above the page.
    await driver.command('POST', '/window/rect', { x: 0, y: 0, width, height });
    const inner = await driver.command('POST', '/execute/sync', {
      script: 'return [innerWidth, innerHeight]',
      args: [],
    });
    const chrome = { width: width - inner[0], height: height - inner[1] };
    await driver.command('POST', '/window/rect', {
      width: width + chrome.width,
      height: height + chrome.height,
    });
    return new WebKitPage(driver, chrome);
  }

  on() {
    // The page's errors are watched in the page itself (see browser.mjs).
  }

  async evaluate(fn, ...args) {
    const result = await this.driver.command('POST', '/execute/async', {
      script: asyncScript(fn),
      args,
    });
    if (result && 'error' in result) {
      throw new Error(`in the page: ${result.error}`);
    }
    return result?.value;
  }

  $eval(selector, fn, ...args) {
    return this.evaluate(
      `(selector, ...args) => {
        const element = document.querySelector(selector);
        if (!element) throw new Error('no element ' + selector);
        return (${fn})(element, ...args);
      }`,
      selector,
      ...args,
    );
  }

  $$eval(selector, fn, ...args) {
    return this.evaluate(
      `(selector, ...args) => (${fn})([...document.querySelectorAll(selector)], ...args)`,
      selector,
      ...args,
    );
  }

  async $(selector) {
    const found = await this.evaluate((s) => document.querySelector(s) !== null, selector);
    return found ? { selector } : null;
  }

  async element(selector) {
    const found = await this.driver.command('POST', '/element', {
      using: 'css selector',
      value: selector,
    });
    return Object.values(found)[0];
  }

  focus(selector) {
    return this.evaluate((s) => document.querySelector(s).focus(), selector);
  }

  async click(selector) {
    const id = await this.element(selector);
    await this.driver.command('POST', `/element/${id}/click`, {});
  }

  async type(selector, text) {
    const id = await this.element(selector);
    await this.driver.command('POST', `/element/${id}/value`, { text });
  }

  title() {
    return this.driver.command('GET', '/title');
  }

  goto(url) {
    return this.driver.command('POST', '/url', { url });
  }

  reload() {
    return this.driver.command('POST', '/refresh', {});
  }

  // Resolves once a navigation that begins after this call has loaded.
  async waitForNavigation() {
    await this.evaluate(() => {
      window.__leaving = true;
    });
    await this.waitForFunction(
      () => !window.__leaving && document.readyState === 'complete',
      { timeout: 30_000 },
    );
  }

  async waitForFunction(fn, { timeout = 30_000 } = {}, ...args) {
    const end = Date.now() + timeout;
    for (;;) {
      try {
        if (await this.evaluate(fn, ...args)) {
          return;
        }
      } catch (error) {
        // A page in the middle of a navigation has no document to ask.
        if (Date.now() > end) {
          throw error;
        }
      }
      if (Date.now() > end) {
        throw new Error(`waiting for ${fn} timed out after ${timeout} ms`);
      }
      await sleep(50);
    }
  }

  async screenshot() {
    return Buffer.from(await this.driver.command('GET', '/screenshot'), 'base64');
  }

  close() {
    return this.driver.quit();
  }
}

// The engine's version as MiniBrowser reports it, from a page of its own.
export async function webkitVersion() {
  const driver = await Driver.start();
  try {
    return driver.version;
  } finally {
    await driver.quit();
  }
}

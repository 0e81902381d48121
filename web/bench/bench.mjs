// Benchmarks of the site in Debian's headless Chromium, each against a floor
// measured in the same run:
//
//   node web/bench/bench.mjs --site=DIR --out=FILE [--runs=15] [--moves=600]
//
// - size: the .wasm, JS, HTML and CSS files of the site, each gzipped (level 9),
//   added up; icons and letter pictures are not counted;
// - start-up, against the site's own page without its program: its index.html
//   with every script and every preload of the program's files taken out, the
//   prerendered form as static HTML, served with the site's style sheet and
//   pictures. Each page is loaded in a fresh browser context, taking turns,
//   --runs times; medians. The first frame is the page's first contentful
//   paint, which the browser times when that frame is presented; for the site,
//   when the figure was on the page in the animation frame before it
//   (window.heikosen.shown), else the next animation frame after that. The
//   program answers the pointer from the first animation frame after it has
//   taken the form over and drawn the canvas (window.heikosen.ready): a press
//   from then on is handled and drawn at once (a browser hands the page its
//   pointer events at the start of a frame, before its animation frame
//   callbacks), one before it waits for the take-over. Beside them, for
//   reference, the site with its program's code loaded and not started: the
//   first animation frame after the module is instantiated;
// - a pointer move while p is held: the main thread's own time for the page's
//   work (the event with its listeners, the canvas drawn again, style, layout
//   and paint) from the task that delivers each move up to the one that
//   delivers the next, read from a trace of --moves moves; and the longest
//   task of the main thread during them, by its own time too (on a shared
//   machine the wall time also counts the waits for a core). Once as the
//   browser runs, and once with its CPU throttled 4× (DevTools'
//   Emulation.setCPUThrottlingRate), as on a slow school machine. The floor
//   of a move is a page of the same size with one canvas, whose pointer moves
//   draw one short segment.
//
// The results go to FILE as JSON for bench/bench_report.

import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';

import puppeteer from 'puppeteer-core';

import { CHROMIUM, CHROMIUM_FEATURES_OFF } from '../tests/support/browser.mjs';
import { serve } from '../tests/support/server.mjs';

const args = Object.fromEntries(
  process.argv.slice(2).map((a) => {
    const [k, v] = a.replace(/^--/, '').split('=');
    return [k, v ?? ''];
  }),
);
const site = path.resolve(args.site ?? '');
const out = args.out;
const runs = Number(args.runs ?? 15);
const moves = Number(args.moves ?? 600);
if (!fs.existsSync(path.join(site, 'index.html')) || !out) {
  console.error('usage: bench.mjs --site=DIR --out=FILE [--runs=N] [--moves=N]');
  process.exit(2);
}

// The floor of a pointer move: a page of the form's size whose canvas draws
// one short segment per move.
const MOVE_FLOOR_HTML = `<!doctype html>
<html lang="ja"><head><meta charset="utf-8"><title>floor</title>
<style>
html,body{margin:0;background:#c0ffc0;overflow:hidden}
#form{position:absolute;left:0;top:0;width:891px;height:687px;background:#c0ffc0}
.g{position:absolute;left:8px;top:8px;margin:0;font:bold 32px IPAPGothic,sans-serif}
.m{position:absolute;left:8px;top:40px;margin:0;font:bold 29px IPAPMincho,serif}
#gamen{position:absolute;left:10px;top:50px;width:802px;height:626px;touch-action:none}
</style></head><body><div id="form">
<p class="g">相似と比</p><p class="m">Ａ Ｂ Ｃ</p>
<canvas id="gamen" width="802" height="626"></canvas></div>
<script>
const c = document.getElementById('gamen');
const g = c.getContext('2d');
g.fillStyle = '#fff';
g.fillRect(0, 0, 802, 626);
let last = null;
c.addEventListener('pointermove', (e) => {
  const p = [e.offsetX, e.offsetY];
  if (last) {
    g.beginPath();
    g.moveTo(last[0], last[1]);
    g.lineTo(p[0], p[1]);
    g.stroke();
  }
  last = p;
});
// Shown in the first animation frame, when the canvas is drawn, as the site's figure is.
const shown = new Promise((resolve) => requestAnimationFrame(() => resolve()));
window.heikosen = { shown, ready: shown };
</script></body></html>
`;

// The site's page without its program: no script, inline or not, and no
// preload of the program's code and modules. What stays is the prerendered
// form: the controls, the captions and the picture of the figure.
function withoutScripts(html) {
  return html
    .replace(/<script\b[^>]*>[\s\S]*?<\/script\s*>/gi, '')
    .replace(/<link\b[^>]*\brel=["']?(?:preload|modulepreload)\b[^>]*>/gi, '');
}

// A folder with the site's files but its program's (its code, modules and
// service worker), and its page without scripts.
function staticFloor(dir) {
  const floorDir = fs.mkdtempSync(path.join(os.tmpdir(), 'heikosen-static-'));
  fs.cpSync(dir, floorDir, {
    recursive: true,
    filter: (source) => !/\.(wasm|m?js)$/.test(source),
  });
  const html = withoutScripts(fs.readFileSync(path.join(dir, 'index.html'), 'utf8'));
  if (/<script\b|modulepreload|rel="preload"/i.test(html) || !/id="gamen"/.test(html)) {
    throw new Error('the page without its scripts still has some, or lost its form');
  }
  fs.writeFileSync(path.join(floorDir, 'index.html'), html);
  return floorDir;
}

// The site with its program's code loaded but not started: the same page and
// code, whose program has the page's modules and an app.js that only
// instantiates the module. What the site pays to start its program is what it
// takes beyond this page.
// The modules are imported by name, as the program's modules are, so that the
// program holds and runs them.
const CODE_ONLY_APP = `import createHeikosen from './heikosen.js';
import { Board } from './board.js';
import { listenPointer } from './input.js';
import { provideServices } from './services.js';
import { FormView } from './view.js';

let loaded;
globalThis.heikosen = { shown: globalThis.heikosen?.shown, ready: new Promise((r) => { loaded = r; }) };
const code = await self.heikosenCode;
await createHeikosen({
  hk: {},
  instantiateWasm(imports, receive) {
    WebAssembly.instantiate(code, imports).then(receive);
    return {};
  },
});
loaded();
`;

// The program written as the site's is (web/program.mjs), from the page's
// modules, that app.js, and the module's JavaScript as the build left it
// (build-web/web/ beside build-web/site/).
function codeOnly(dir) {
  const codeDir = fs.mkdtempSync(path.join(os.tmpdir(), 'heikosen-code-'));
  fs.cpSync(dir, codeDir, { recursive: true, filter: (source) => !/sw\.js$/.test(source) });
  const pageDir = fs.mkdtempSync(path.join(os.tmpdir(), 'heikosen-page-'));
  const web = path.join(path.dirname(new URL(import.meta.url).pathname), '..');
  fs.cpSync(path.join(web, 'site'), pageDir, { recursive: true, filter: (s) => !/\.(html|css)$/.test(s) });
  fs.writeFileSync(path.join(pageDir, 'app.js'), CODE_ONLY_APP);
  execFileSync(process.execPath, [path.join(web, 'program.mjs'), path.join(dir, '..', 'web', 'heikosen.js'), pageDir,
    path.join(codeDir, 'program.js')]);
  return codeDir;
}

// --- Size ---

function sizeOf(dir) {
  const files = [];
  const walk = (d) => {
    for (const entry of fs.readdirSync(d, { withFileTypes: true })) {
      const p = path.join(d, entry.name);
      const rel = path.relative(dir, p);
      if (entry.isDirectory()) {
        if (!['icons', 'letters'].includes(rel)) {
          walk(p);
        }
      } else if (/\.(wasm|m?js|html|css)$/.test(entry.name)) {
        const raw = fs.readFileSync(p);
        files.push({ file: rel, bytes: raw.length, gzip: zlib.gzipSync(raw, { level: 9 }).length });
      }
    }
  };
  walk(dir);
  return { gzip: files.reduce((n, f) => n + f.gzip, 0), files };
}

// --- Browser ---

function launch() {
  return puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: [
      '--no-sandbox',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      CHROMIUM_FEATURES_OFF,
      // Frames as soon as they are ready, not on a 60 Hz clock.
      '--disable-frame-rate-limit',
      '--disable-gpu-vsync',
    ],
    protocolTimeout: 120_000,
  });
}

// Before the page's scripts: when window.heikosen.shown resolves (in the
// animation frame that first shows the figure) and the first animation frame
// after window.heikosen.ready resolves, whenever the page sets window.heikosen
// (first with `shown` alone, later with both). With the page's first
// contentful paint, which the browser times when that frame is presented.
function firstFrameHook(withoutProgram) {
  let value;
  let shown;
  let ready;
  const now = () => performance.now();
  const paint = new Promise((resolve) => {
    new PerformanceObserver((list) => {
      const entry = list.getEntriesByName('first-contentful-paint')[0];
      if (entry) {
        resolve(entry.startTime);
      }
    }).observe({ type: 'paint', buffered: true });
  });
  if (withoutProgram) {
    // A page with no scripts: its first frame is its first contentful paint.
    window.__frames = paint.then((painted) => ({ shown: painted, ready: null }));
    return;
  }
  window.__frames = new Promise((resolve) => {
    Object.defineProperty(window, 'heikosen', {
      configurable: true,
      enumerable: true,
      get: () => value,
      set(v) {
        value = v;
        shown ??= v?.shown && v.shown.then(() => {
          const at = now();
          const next = new Promise((r) => requestAnimationFrame(() => r(now())));
          return Promise.all([at, next]);
        });
        ready ??= v?.ready && v.ready.then(() => new Promise((r) => requestAnimationFrame(() => r(now()))));
        if (shown && ready) {
          Promise.all([shown, ready, paint]).then(([[at, next], readyAt, painted]) =>
            resolve({ shown: at <= painted ? painted : next, ready: readyAt }));
        }
      },
    });
  });
}

// A fresh browser context can fail to open right after the last one closed
// (its service worker's session going away): try again.
async function startupOnce(browser, url, withoutProgram = false) {
  for (let attempt = 1; ; attempt += 1) {
    try {
      return await startupInContext(browser, url, withoutProgram);
    } catch (e) {
      if (attempt === 3 || !/Session with given id not found/.test(String(e.message))) {
        throw e;
      }
    }
  }
}

async function startupInContext(browser, url, withoutProgram) {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.setViewport({ width: 891, height: 687 });
    await page.evaluateOnNewDocument(firstFrameHook, withoutProgram);
    await page.goto(url, { waitUntil: 'load' });
    return await page.evaluate(() => window.__frames);
  } finally {
    await context.close();
  }
}

const median = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  const m = s.length >> 1;
  return s.length % 2 ? s[m] : (s[m - 1] + s[m]) / 2;
};

// The page's own work on the main thread: dispatching events (with the
// listeners, the module's code and the canvas calls in them), animation frame
// and timer callbacks, style, layout and paint. Not counted: the hand-over of a
// painted frame to the compositor (Commit), the scheduler and the tracing.
const PAGE_WORK = new Set([
  'EventDispatch',
  'FireAnimationFrame',
  'TimerFire',
  'FunctionCall',
  'UpdateLayoutTree',
  'Layout',
  'PrePaint',
  'Paint',
  'Layerize',
  'RasterTask',
  'Decode Image',
]);

// Per pointer move, from a trace: the thread time of the page's work on the
// main thread from the task that delivers the move up to the one that delivers
// the next (ms, median and mean), and the main thread's longest task.
function analyseTrace(events) {
  const dispatches = events.filter(
    (e) => e.name === 'EventDispatch' && e.args?.data?.type === 'pointermove',
  );
  const byThread = new Map();
  for (const e of dispatches) {
    const k = `${e.pid}:${e.tid}`;
    byThread.set(k, (byThread.get(k) ?? 0) + 1);
  }
  const [main] = [...byThread.entries()].sort((a, b) => b[1] - a[1])[0] ?? [];
  if (!main) {
    throw new Error('no pointer moves in the trace');
  }
  const onMain = events
    .filter((e) => `${e.pid}:${e.tid}` === main && e.ph === 'X')
    .sort((a, b) => a.ts - b.ts || b.dur - a.dur);
  const tasks = onMain.filter((e) => e.name === 'ThreadControllerImpl::RunTask');
  // Outermost page work only: what nests inside it is counted with it.
  const work = [];
  for (const e of onMain) {
    if (PAGE_WORK.has(e.name)) {
      const last = work[work.length - 1];
      if (!last || e.ts >= last.ts + last.dur) {
        work.push(e);
      }
    }
  }
  // Each move starts with the task that delivers it.
  const starts = dispatches
    .filter((d) => `${d.pid}:${d.tid}` === main)
    .map((d) => {
      const task = tasks.find((t) => t.ts <= d.ts && d.ts <= t.ts + t.dur);
      return task ? task.ts : d.ts;
    })
    .sort((a, b) => a - b);
  const perMove = [];
  const perMoveWall = [];
  for (let i = 0; i + 1 < starts.length; i += 1) {
    let busy = 0;
    let wall = 0;
    for (const e of work) {
      if (e.ts >= starts[i] && e.ts < starts[i + 1]) {
        busy += e.tdur ?? e.dur;
        wall += e.dur;
      }
    }
    perMove.push(busy / 1000);
    perMoveWall.push(wall / 1000);
  }
  // Tasks are judged by the main thread's own time in them: on a machine
  // shared with other work, their wall time also counts the waits for a core.
  const during = tasks.filter((t) => t.ts >= starts[0]);
  const own = (t) => (t.tdur ?? t.dur) / 1000;
  return {
    moves: starts.length,
    median_ms: median(perMove),
    mean_ms: perMove.reduce((a, b) => a + b, 0) / perMove.length,
    median_wall_ms: median(perMoveWall),
    longest_task_ms: Math.max(...during.map(own)),
    long_tasks: during.filter((t) => own(t) > 16).length,
    longest_task_wall_ms: Math.max(...during.map((t) => t.dur / 1000)),
  };
}

// Holds p (or the floor's canvas) and moves it up and down by 3 px, one move
// at a time, while tracing.
async function dragTrace(browser, url, count, throttling = 1) {
  const page = await browser.newPage();
  try {
    await page.setViewport({ width: 891, height: 687 });
    await page.goto(url, { waitUntil: 'load' });
    await page.evaluate(() => window.heikosen.ready);
    // The drag begins with the page at rest: in its first frames after the
    // program has drawn the canvas the browser makes the canvases' buffers
    // (tasks of up to 20 ms here), which the page's load no longer waits for,
    // as the program comes after the first frame.
    await new Promise((r) => setTimeout(r, 500));
    if (throttling !== 1) {
      await page.emulateCPUThrottling(throttling);
    }
    const x = 20; // page x of the left end of p: canvas 10
    let y = 325; // page y of p
    await page.mouse.move(x, y);
    await page.mouse.down();
    await page.tracing.start({
      categories: ['devtools.timeline', 'toplevel'],
    });
    let step = 3;
    for (let i = 0; i < count; i += 1) {
      if (Math.abs(y + step - 325) > 30) {
        step = -step;
      }
      y += step;
      await page.mouse.move(x, y);
      await new Promise((r) => setTimeout(r, 4));
    }
    await new Promise((r) => setTimeout(r, 50));
    const trace = JSON.parse(Buffer.from(await page.tracing.stop()).toString('utf8'));
    await page.mouse.up();
    return analyseTrace(trace.traceEvents);
  } finally {
    await page.close();
  }
}

const moveFloorDir = fs.mkdtempSync(path.join(os.tmpdir(), 'heikosen-floor-'));
fs.writeFileSync(path.join(moveFloorDir, 'index.html'), MOVE_FLOOR_HTML);
const staticDir = staticFloor(site);
const codeDir = codeOnly(site);
const app = await serve(site);
const still = await serve(staticDir);
const code = await serve(codeDir);
const moveFloor = await serve(moveFloorDir);
const browser = await launch();
try {
  const result = { size: sizeOf(site), floor_size: sizeOf(staticDir) };
  console.error(`size: ${(result.size.gzip / 1024).toFixed(1)} KB gzip`);

  // One warm-up of each, not counted: the first start of a browser pays for
  // its own caches.
  const loadApp = () => startupOnce(browser, app.url('/'));
  const loadFloor = () => startupOnce(browser, still.url('/'), true);
  const loadCode = () => startupOnce(browser, code.url('/'));
  const loads = [loadApp, loadFloor, loadCode];
  for (const load of loads) {
    await load();
  }
  const results = loads.map(() => []);
  for (let i = 0; i < runs; i += 1) {
    // In turns, each first and last as often as the others.
    for (let k = 0; k < loads.length; k += 1) {
      const n = (i + k) % loads.length;
      results[n].push(await loads[n]());
    }
  }
  const [appRuns, floorRuns, codeRuns] = results;
  const appMs = appRuns.map(({ shown }) => shown);
  const liveMs = appRuns.map(({ ready }) => ready);
  const floorMs = floorRuns.map(({ shown }) => shown);
  const codeMs = codeRuns.map(({ ready }) => ready);
  result.startup = {
    runs,
    app_ms: appMs,
    app_ready_ms: liveMs,
    floor_ms: floorMs,
    code_loaded_ms: codeMs,
    app_median_ms: median(appMs),
    app_ready_median_ms: median(liveMs),
    floor_median_ms: median(floorMs),
    code_loaded_median_ms: median(codeMs),
  };
  const { app_median_ms: appMedian, floor_median_ms: floorMedian } = result.startup;
  console.error(
    `start-up: ${appMedian.toFixed(1)} ms, page without its program ${floorMedian.toFixed(1)} ms; ` +
      `answering the pointer ${result.startup.app_ready_median_ms.toFixed(1)} ms; ` +
      `its code loaded, nothing started ${result.startup.code_loaded_median_ms.toFixed(1)} ms`,
  );

  for (const [key, url, throttling] of [
    ['move', app.url('/'), 1],
    ['floor_move', moveFloor.url('/'), 1],
    ['slow_move', app.url('/'), 4],
    ['slow_floor_move', moveFloor.url('/'), 4],
  ]) {
    result[key] = await dragTrace(browser, url, moves, throttling);
    result[key].throttling = throttling;
    const m = result[key];
    console.error(
      `${key}: ${m.median_ms.toFixed(3)} ms thread, ${m.median_wall_ms.toFixed(3)} ms wall; ` +
        `longest task ${m.longest_task_ms.toFixed(1)} ms thread, ${m.longest_task_wall_ms.toFixed(1)} ms wall`,
    );
  }
  result.chromium = await browser.version();
  fs.writeFileSync(out, `${JSON.stringify(result, null, 2)}\n`);
} finally {
  await browser.close();
  await app.close();
  await still.close();
  await code.close();
  await moveFloor.close();
  fs.rmSync(moveFloorDir, { recursive: true, force: true });
  fs.rmSync(staticDir, { recursive: true, force: true });
  fs.rmSync(codeDir, { recursive: true, force: true });
}

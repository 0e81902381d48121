// The program in the browser: the core (compiled to WebAssembly) owns the
// window; this page starts it, lays out its controls (view.js), draws its
// canvas (board.js), forwards the user's input to it (input.js) and provides
// its services (services.js).

import createHeikosen from './heikosen.js';
import { Board } from './board.js';
import { listenKeys, listenPointer } from './input.js';
import { provideServices } from './services.js';
import { FormView, cssFont, readWindow } from './view.js';

// For the page's tests: `shown` resolves in the first frame that shows the
// initial screen, `ready` once the program has taken the form over and drawn
// its canvas (what the user does from then on is done at once), `sharp` in the
// frame that shows the letters from their sharp pictures; the module (whose
// build for the tests also hands out the form's properties) and the count of
// strokes on the board.
let drawn;
const ready = new Promise((resolve) => { drawn = resolve; });
let sharpened;
const sharp = new Promise((resolve) => { sharpened = resolve; });
globalThis.heikosen = {
  shown: globalThis.heikosen?.shown,
  ready,
  sharp,
  module: null,
  strokeCount: () => board.strokeCount,
};

// The module, from the code that the page compiled (self.heikosenCode, asked
// for by index.html as it came).
const services = {};
const code = await self.heikosenCode;
let failed;
const failure = new Promise((resolve, reject) => { failed = reject; });
const module = await Promise.race([
  createHeikosen({
    hk: services,
    instantiateWasm(imports, receive) {
      WebAssembly.instantiate(code, imports).then((instance) => receive(instance), failed);
      return {};
    },
  }),
  failure,
]);

globalThis.heikosen.module = module;

const formElement = document.getElementById('form');
let view = null;
let board = null;
// The running program, as the page's input and services act on it.
const page = {
  module,
  get view() { return view; },
  get board() { return board; },
  update,
  activate,
  layout,
  restart() {
    module.start();
    build();
  },
};
provideServices(services, page);

module.start();
// The window as the program starts: the first build shows it.
const started = readWindow(module);
// The letter pictures that index.html asked for, in the order of the core's:
// the initial picture's own, which the board starts with, and the sharp ones.
const picturesOf = (pictures) => Promise.all(started.letters.map((name) => pictures.get(name) ?? null));
let letters = await picturesOf(self.heikosenPictures.initial);

// After a click or a press: the window's controls and the canvas.
function update() {
  view.sync(readWindow(module));
  board.refresh();
}

// A click of a control, or its key: the core's list says which control.
function activate(position) {
  module.activate(position);
  update();
}

// Takes the form's elements over (or, starting again, brings them up to date)
// and draws the canvas, which then stands in place of the initial picture.
function build(window = readWindow(module)) {
  if (view === null) {
    view = new FormView(formElement, window, activate);
    listenPointer(view.canvas.box, page);
    listenKeys(formElement, page);
  } else {
    view.sync(window);
  }
  board?.stop();
  board = new Board(module, view.canvas.strokes, view.canvas.items, letters, cssFont);
  layout();
  view.canvas.box.querySelector('.figure')?.remove();
}

// The form fitted to the viewport by the core: scaled and centred, with the
// drawing area's corner on a whole device pixel so that the canvases' pixels
// fall on the screen's; a viewport too small for its least scale scrolls.
function layout() {
  const ratio = self.devicePixelRatio || 1;
  const root = document.documentElement;
  const fit = module.fit(root.clientWidth, root.clientHeight, ratio);
  root.classList.toggle('scrolls', fit.scrolls);
  // The form's transform, where the page's first fit put it.
  root.style.setProperty('--fit', `translate(${fit.left}px, ${fit.top}px) scale(${fit.scale})`);
  board.setScale(fit.scale * ratio);
}

// --- Start ---

// What the user did on the form before the program took it over, done again.
function replay(early) {
  for (const event of early) {
    if (event.type === 'click') {
      document.getElementById(event.id)?.click();
    } else {
      view.canvas.box.dispatchEvent(new PointerEvent(event.type, { ...event, bubbles: true, cancelable: true }));
    }
  }
}

const early = self.heikosenEarly();
build(started);
replay(early);
addEventListener('resize', () => layout());
// A change of the device pixel ratio (another screen, the browser's zoom).
function watchRatio() {
  matchMedia(`(resolution: ${globalThis.devicePixelRatio || 1}dppx)`).addEventListener(
    'change', () => { layout(); watchRatio(); }, { once: true });
}
watchRatio();

drawn();
// The sharp letters, asked for now so that their files and decoding keep
// nothing from the take-over, in place of the initial picture's once they
// have come (which stay where one could not be had).
picturesOf(self.heikosenPictures.sharp()).then((pictures) => {
  letters = pictures.map((picture, n) => picture ?? letters[n]);
  board.setLetters(letters);
  requestAnimationFrame(() => sharpened());
});

// Works offline after the first visit: the service worker, which fetches the
// site's files for its cache, comes once the board is drawn with its letters.
if ('serviceWorker' in navigator && globalThis.isSecureContext) {
  sharp.then(() => navigator.serviceWorker.register('sw.js').catch(() => {}));
}

// The program in the browser: the core (compiled to WebAssembly) owns the
// window; this page lays out its controls, draws its canvas, forwards the
// user's clicks and pointer events to it, and provides its services: the name
// dialog, the printer, messages and the end of the program.

import createHeikosen from './heikosen.js';
import { Board } from './board.js';
import { FormView, familyOf } from './view.js';

// Pixels of the printed board's picture per canvas pixel: sharp on paper.
const PRINT_SCALE = 4;

// The CSS font for one of the core's typefaces, its size in pixels, bold or not.
function cssFont(typeface, px, bold) {
  return `${bold ? 'bold ' : ''}${px}px ${familyOf(typeface)}`;
}

const measureContext = document.createElement('canvas').getContext('2d');
const measured = new Map();

// The width of a line of text in the font the browser uses for it.
function measure(text, typeface, px, bold) {
  const font = cssFont(typeface, px, bold);
  const key = font + '\u0000' + text;
  let width = measured.get(key);
  if (width === undefined) {
    measureContext.font = font;
    width = measureContext.measureText(text).width;
    measured.set(key, width);
  }
  return width;
}

// For the page's tests: `shown` resolves in the first frame that shows the
// initial screen, `ready` in the first frame that the program draws; the
// module (whose build for the tests also hands out the form's properties) and
// the count of strokes on the board.
let drawn;
const ready = new Promise((resolve) => { drawn = resolve; });
globalThis.heikosen = {
  shown: globalThis.heikosen?.shown,
  ready,
  module: null,
  strokeCount: () => board.strokeCount,
};

// The module, from the code that the page compiled (self.heikosenCode, asked
// for by index.html together with the modules).
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
const printDialog = document.getElementById('print-dialog');
const printName = document.getElementById('print-name');
const messageDialog = document.getElementById('message-dialog');
const ended = document.getElementById('ended');

services.measure = measure;

module.start();
// The window as the program starts: the first build shows it.
const started = module.window();
// The letter pictures that index.html asked for, in the order of the core's.
const letters = await Promise.all(
  started.letters.map((name) => self.heikosenPictures.get(name) ?? null));

let view = null;
let board = null;

// After a click or a press: the window's controls and the canvas.
function update() {
  view.sync(module.window());
  board.refresh();
}

// A click of a control, or its key: the core's list says which control.
function activate(position) {
  module.activate(position);
  update();
}

// Takes the form's elements over (or, starting again, brings them up to date)
// and draws the canvas, which then stands in place of the initial picture.
function build(window = module.window()) {
  if (view === null) {
    view = new FormView(formElement, window, activate);
    listen(view.canvas.box);
  } else {
    view.sync(window);
  }
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

// --- Pointer input on the canvas: mouse, touch and pen alike ---
// Each event goes to the core as it comes, with the buttons held after it; the
// core makes good what a browser leaves out (a release that never came, the
// move before a finger's press, a pen gone silent) and lets one pointer hold
// the board at a time.

const DOWN = 0, MOVE = 1, UP = 2;
const KINDS = { mouse: 0, pen: 1, touch: 2 };

// One event to the core, with the page's numbers of its buttons: -1 for a
// press that the canvas does not take, else whether the window's controls may
// have changed. The point goes as a point of the page, which the core maps to
// the canvas.
function send(type, event) {
  return module.pointer(type, event.pointerId, KINDS[event.pointerType] ?? 0,
    event.clientX + scrollX, event.clientY + scrollY, event.button, event.buttons,
    event.timeStamp);
}

function after(changed) {
  if (changed) {
    update();
  } else {
    board.refresh();
  }
}

function listen(box) {
  // No preventDefault here: WebKit sends a pen nothing more once its press is
  // prevented. The style sheet keeps the page from scrolling, zooming and
  // selecting under a drag.
  box.addEventListener('pointerdown', (event) => {
    const changed = send(DOWN, event);
    if (changed < 0) {
      return;
    }
    if (document.activeElement !== box) {
      // Focused for the keyboard, with no ring: the ring says the keyboard came.
      box.focus({ preventScroll: true, focusVisible: false });
    }
    try {
      box.setPointerCapture(event.pointerId);
    } catch {
      // the pointer is already gone; its cancel follows
    }
    after(changed > 0);
  });

  box.addEventListener('pointermove', (event) => {
    // The moves that the browser gathered into this one, but for a move with
    // which a second button went down or up.
    const moves = event.button < 0 ? event.getCoalescedEvents?.() ?? [] : [];
    let changed = false;
    for (const move of moves.length > 0 ? moves : [event]) {
      changed = send(MOVE, move) > 0 || changed;
    }
    after(changed);
  });

  box.addEventListener('pointerup', (event) => {
    after(send(UP, event) > 0);
  });

  for (const type of ['pointercancel', 'lostpointercapture']) {
    box.addEventListener(type, (event) => {
      if (module.pointerGone(event.pointerId)) {
        update();
      }
    });
  }

  box.addEventListener('blur', () => {
    module.canvasBlur();
    update();
  });
}

// The keys of the window and of the canvas, in the core's order; Tab and
// Shift+Tab (the first two) stay the browser's own, which goes through the
// controls in the window's order (the page's order).
const KEYS = [null, null, 'ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'Enter', 'Space',
  'Escape', 'KeyP', 'KeyQ', 'KeyL', 'KeyM', 'KeyC'];
// A key by what it does (the arrows and Enter of the number pad too), a letter
// by its place on the keyboard, whatever the layout or the input method.
const keyName = (event) =>
  (/^Key[A-Z]$/.test(event.code) ? event.code : event.key === ' ' ? 'Space' : event.key);
// A key that the core took: its release clicks nothing more.
let taken = null;

formElement.addEventListener('keydown', (event) => {
  const key = KEYS.indexOf(keyName(event));
  const position = event.target.dataset?.position;
  if (key < 0 || position === undefined || event.defaultPrevented) {
    return;
  }
  const outcome = module.key(Number(position), key, event.shiftKey,
    event.ctrlKey || event.altKey || event.metaKey, event.repeat);
  if (!outcome.handled) {
    return;
  }
  event.preventDefault();
  taken = keyName(event);
  if (outcome.focus >= 0) {
    view.elements[outcome.focus].focus();
  }
  if (outcome.activate >= 0) {
    activate(outcome.activate);
  } else if (outcome.canvas) {
    update();
  }
});
formElement.addEventListener('keyup', (event) => {
  if (keyName(event) === taken) {
    taken = null;
    event.preventDefault();
  }
});

// The window lost the pointer: whatever it held goes up where it was last seen.
addEventListener('blur', () => {
  if (board && module.pointerGone(-1)) {
    update();
  }
});

// --- The core's services ---

services.ask = (title, prompt) => {
  document.getElementById('print-title').textContent = title;
  document.getElementById('print-prompt').textContent = prompt;
  printName.value = '';
  printDialog.returnValue = '';
  printDialog.showModal();
};

// OK (or Enter in the name) closes the dialog and prints at once; Cancel and
// Escape close it and nothing happens.
printDialog.querySelector('form').addEventListener('submit', (event) => {
  event.preventDefault();
  const ok = event.submitter === null || event.submitter.value === 'ok';
  printDialog.close(ok ? 'ok' : 'cancel');
  if (ok) {
    module.printWithName(printName.value);
    update();
  }
});

// What is printed of the board is a picture of it, drawn at the printer's
// finer resolution when a print begins and shown in print in place of the two
// live canvases (which some engines print as black boxes). The page is laid
// out for print by the style sheet: one page in landscape, on whatever sheet.
const printPicture = document.createElement('img');
printPicture.className = 'print';
printPicture.alt = '';

function pictureForPrint() {
  board.setScale(PRINT_SCALE);
  const picture = document.createElement('canvas');
  picture.width = board.strokes.width;
  picture.height = board.strokes.height;
  const ctx = picture.getContext('2d');
  ctx.fillStyle = getComputedStyle(board.strokes.parentElement).backgroundColor;
  ctx.fillRect(0, 0, picture.width, picture.height);
  ctx.drawImage(board.strokes, 0, 0);
  ctx.drawImage(board.items, 0, 0);
  layout();
  printPicture.style.setProperty('--cw', picture.width / PRINT_SCALE);
  printPicture.style.setProperty('--ch', picture.height / PRINT_SCALE);
  printPicture.src = picture.toDataURL('image/png');
  if (printPicture.parentElement !== board.strokes.parentElement) {
    board.strokes.parentElement.append(printPicture);
  }
}

// The picture is made for a print the program starts; a print the browser
// starts (its menu, Ctrl+P) makes it as the print begins.
let pictured = false;
addEventListener('beforeprint', () => {
  if (!pictured && board) {
    pictureForPrint();
  }
});

services.print = () => {
  if (typeof globalThis.print !== 'function') {
    return 2;
  }
  update();
  pictureForPrint();
  pictured = true;
  try {
    globalThis.print();
  } catch {
    return 2;
  } finally {
    pictured = false;
  }
  return 0;
};

services.message = (title, text) => {
  document.getElementById('message-title').textContent = title;
  document.getElementById('message-text').textContent = text;
  messageDialog.showModal();
};

// An installed app's window closes; a tab of the browser cannot be closed by
// the page, which says that the program has ended instead.
services.end = () => {
  const installed = ['standalone', 'fullscreen', 'minimal-ui', 'window-controls-overlay'].some(
    (mode) => matchMedia(`(display-mode: ${mode})`).matches);
  if (installed) {
    globalThis.close();
  }
  formElement.inert = true;
  ended.hidden = false;
};

document.getElementById('restart').addEventListener('click', () => {
  ended.hidden = true;
  formElement.inert = false;
  module.start();
  build();
});

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

requestAnimationFrame(() => drawn());

// Works offline after the first visit.
if ('serviceWorker' in navigator && globalThis.isSecureContext) {
  ready.then(() => navigator.serviceWorker.register('sw.js').catch(() => {}));
}

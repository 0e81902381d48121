// The user's input, forwarded to the core as it comes: pointer events on the
// canvas (mouse, touch and pen alike) and the keys of the window and of the
// canvas. `page` is the running program (app.js): its module, view and board,
// update() after a change and activate(position) for a control's click.

// --- Pointer input on the canvas ---
// Each event goes to the core with the buttons held after it; the core makes
// good what a browser leaves out (a release that never came, the move before a
// finger's press, a pen gone silent) and lets one pointer hold the board at a
// time.

// The core's kinds of pointer, by the page's names of them.
const KINDS = { mouse: 'Mouse', pen: 'Pen', touch: 'Touch' };

export function listenPointer(box, page) {
  const { module } = page;
  const { Down, Move, Up } = module.PagePointer;
  const kinds = Object.fromEntries(Object.entries(KINDS).map(([type, kind]) => [type, module.PointerKind[kind]]));
  // One event to the core, with the page's numbers of its buttons: -1 for a
  // press that the canvas does not take, else whether the window's controls may
  // have changed. The point goes as a point of the page, which the core maps to
  // the canvas.
  const send = (type, event) => module.pointer(type, event.pointerId,
    kinds[event.pointerType] ?? kinds.mouse, event.clientX + scrollX, event.clientY + scrollY,
    event.button, event.buttons, event.timeStamp);
  const after = (changed) => (changed ? page.update() : page.board.refresh());

  // No preventDefault here: WebKit sends a pen nothing more once its press is
  // prevented. The style sheet keeps the page from scrolling, zooming and
  // selecting under a drag.
  box.addEventListener('pointerdown', (event) => {
    const changed = send(Down, event);
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
      changed = send(Move, move) > 0 || changed;
    }
    after(changed);
  });

  box.addEventListener('pointerup', (event) => {
    after(send(Up, event) > 0);
  });

  for (const type of ['pointercancel', 'lostpointercapture']) {
    box.addEventListener(type, (event) => {
      if (module.pointerGone(event.pointerId)) {
        page.update();
      }
    });
  }

  box.addEventListener('blur', () => {
    module.canvasBlur();
    page.update();
  });

  // The window lost the pointer: whatever it held goes up where it was last seen.
  addEventListener('blur', () => {
    if (module.pointerGone(-1)) {
      page.update();
    }
  });
}

// --- Keys ---

// The keys of the window and of the canvas, by the page's names of them, as
// the core names them; Tab and Shift+Tab stay the browser's own, which goes
// through the controls in the window's order (the page's order).
const KEYS = { ArrowLeft: 'Left', ArrowRight: 'Right', ArrowUp: 'Up', ArrowDown: 'Down', Enter: 'Enter',
  Space: 'Space', Escape: 'Escape', KeyP: 'P', KeyQ: 'Q', KeyL: 'L', KeyM: 'M', KeyC: 'C' };
// A key by what it does (the arrows and Enter of the number pad too), a letter
// by its place on the keyboard, whatever the layout or the input method.
const keyName = (event) =>
  (/^Key[A-Z]$/.test(event.code) ? event.code : event.key === ' ' ? 'Space' : event.key);

export function listenKeys(formElement, page) {
  // A key that the core took: its release clicks nothing more.
  let taken = null;
  formElement.addEventListener('keydown', (event) => {
    const key = KEYS[keyName(event)];
    const position = event.target.dataset?.position;
    if (key === undefined || position === undefined || event.defaultPrevented) {
      return;
    }
    const outcome = page.module.key(Number(position), page.module.ControlKey[key], event.shiftKey,
      event.ctrlKey || event.altKey || event.metaKey, event.repeat);
    if (!outcome.handled) {
      return;
    }
    event.preventDefault();
    taken = keyName(event);
    if (outcome.focus >= 0) {
      page.view.elements[outcome.focus].focus();
    }
    if (outcome.activate >= 0) {
      page.activate(outcome.activate);
    } else if (outcome.canvas) {
      page.update();
    }
  });
  formElement.addEventListener('keyup', (event) => {
    if (keyName(event) === taken) {
      taken = null;
      event.preventDefault();
    }
  });
}

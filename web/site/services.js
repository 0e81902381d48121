// The core's services on the page (Module.hk): the width of a line of text,
// the dialog for the pupil's name, the printer, messages and the end of the
// program. `page` is the running program (app.js): its module and board,
// update() after a change, layout() to fit the form again and restart().

import { cssFont } from './view.js';

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

const formElement = document.getElementById('form');
const printDialog = document.getElementById('print-dialog');
const printName = document.getElementById('print-name');
const messageDialog = document.getElementById('message-dialog');
const ended = document.getElementById('ended');

export function provideServices(services, page) {
  services.measure = measure;

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
      page.module.printWithName(printName.value);
      page.update();
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
    const { board, module } = page;
    const scale = module.printOversampling;
    board.setScale(scale, true);
    const picture = document.createElement('canvas');
    picture.width = board.strokes.width;
    picture.height = board.strokes.height;
    const ctx = picture.getContext('2d');
    ctx.fillStyle = getComputedStyle(board.strokes.parentElement).backgroundColor;
    ctx.fillRect(0, 0, picture.width, picture.height);
    ctx.drawImage(board.strokes, 0, 0);
    ctx.drawImage(board.items, 0, 0);
    page.layout();
    printPicture.style.setProperty('--cw', picture.width / scale);
    printPicture.style.setProperty('--ch', picture.height / scale);
    printPicture.src = picture.toDataURL('image/png');
    if (printPicture.parentElement !== board.strokes.parentElement) {
      board.strokes.parentElement.append(printPicture);
    }
  }

  // The picture is made for a print the program starts; a print the browser
  // starts (its menu, Ctrl+P) makes it as the print begins.
  let pictured = false;
  addEventListener('beforeprint', () => {
    if (!pictured && page.board) {
      pictureForPrint();
    }
  });

  services.print = () => {
    const { Printed, Failed } = page.module.PrintStatus;
    if (typeof globalThis.print !== 'function') {
      return Failed;
    }
    page.update();
    pictureForPrint();
    pictured = true;
    try {
      globalThis.print();
    } catch {
      return Failed;
    } finally {
      pictured = false;
    }
    return Printed;
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
    document.getElementById('restart').focus();
  };

  document.getElementById('restart').addEventListener('click', () => {
    ended.hidden = true;
    formElement.inert = false;
    page.restart();
    // The keys go on from the window's first stop, as when it first came.
    formElement.querySelector('[tabindex="0"]')?.focus();
  });
}

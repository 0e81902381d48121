// Writes the site's index.html with the initial screen in it: the form's
// controls as the core lays them out, and a picture of the initial figure in
// the drawing area, so that the browser shows the window in its first frame,
// before the page's modules and the core's code have come. The core runs here
// under Node (a build of the bindings for Node), and the board of the page
// draws the figure on a context that writes SVG instead of pixels.
//
//   node prerender.mjs MODULE PAGE STYLE SCREEN_LETTERS_DIR FIT OUT
//
// MODULE: the bindings built for Node; PAGE: the page with @HEIKOSEN_FORM@ where
// the form goes and a link to STYLE, which is put in the page;
// SCREEN_LETTERS_DIR: the letter pictures at screen resolution (NAME.png), put
// in the picture; FIT: the module of the form's first fit, put in the page for
// its head; OUT: the page written. The program's own letter pictures are
// the site's letters/NAME.png, named in the picture for it.

import fs from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';

import { Board } from './site/board.js';
import { colour, escapeMarkup, familyVariable, formMarkup, readWindow } from './site/view.js';

const [modulePath, pagePath, stylePath, screenLettersDir, fitPath, outPath] = process.argv.slice(2);
if (!outPath) {
  console.error('usage: node prerender.mjs MODULE PAGE STYLE SCREEN_LETTERS_DIR FIT OUT');
  process.exit(2);
}

const number = (x) => String(Math.round(x * 100) / 100);

// A letter picture of the figure: which letter, the file the program draws it
// from, and the small picture shown until then.
const letterAttributes = ({ name, file, href }) =>
  `class="letter" data-letter="${name}" data-picture="${file}" href="${href}"`;

// The canvas calls of the board, written down as SVG elements. A full refresh
// clears the drawing area once and clips to all of it: both are left out, as
// the picture starts empty and is as large as the area. Text is placed by the
// top of its font (the board asks the font's ascent, which is 0 here), so that
// the browser puts it as the canvas does with the font it has.
class SvgContext {
  constructor() {
    this.elements = [];
    this.path = [];
    this.states = [];
    Object.assign(this, {
      fillStyle: '#000', strokeStyle: '#000', lineWidth: 1, lineCap: 'butt', lineJoin: 'miter',
      font: '10px sans-serif', textBaseline: 'alphabetic', dash: [],
    });
  }
  save() {
    const { fillStyle, strokeStyle, lineWidth, lineCap, lineJoin, font, dash } = this;
    this.states.push({ fillStyle, strokeStyle, lineWidth, lineCap, lineJoin, font, dash });
  }
  restore() { Object.assign(this, this.states.pop()); }
  setTransform() {}
  clearRect() {}
  clip() {}
  setLineDash(dash) { this.dash = dash; }
  beginPath() { this.path = []; }
  moveTo(x, y) { this.path.push(`M${number(x)} ${number(y)}`); }
  lineTo(x, y) { this.path.push(`L${number(x)} ${number(y)}`); }
  rect(x, y, w, h) { this.path.push(`M${number(x)} ${number(y)}h${number(w)}v${number(h)}h${number(-w)}z`); }
  // Whole circles only: the board draws no other arcs.
  arc(x, y, r) {
    const [a, b, rr] = [number(x - r), number(x + r), number(r)];
    this.path.push(`M${a} ${number(y)}A${rr} ${rr} 0 1 0 ${b} ${number(y)}A${rr} ${rr} 0 1 0 ${a} ${number(y)}z`);
  }
  stroke() {
    if (this.path.length === 0) {
      return;
    }
    const dash = this.dash.length > 0 ? ` stroke-dasharray="${this.dash.map(number).join(' ')}"` : '';
    this.elements.push(`<path d="${this.path.join('')}" fill="none" stroke="${this.strokeStyle}" ` +
      `stroke-width="${number(this.lineWidth)}" stroke-linecap="${this.lineCap}" ` +
      `stroke-linejoin="${this.lineJoin}"${dash}/>`);
  }
  fill() {
    if (this.path.length > 0) {
      this.elements.push(`<path d="${this.path.join('')}" fill="${this.fillStyle}"/>`);
    }
  }
  fillRect(x, y, w, h) {
    this.elements.push(`<rect x="${number(x)}" y="${number(y)}" width="${number(w)}" ` +
      `height="${number(h)}" fill="${this.fillStyle}"/>`);
  }
  measureText() { return { fontBoundingBoxAscent: 0 }; }
  fillText(text, x, y) {
    this.elements.push(`<text x="${number(x)}" y="${number(y)}" style="font:${this.font}" ` +
      `fill="${this.fillStyle}" dominant-baseline="text-before-edge">${escapeMarkup(text)}</text>`);
  }
  drawImage(picture, x, y, w, h) {
    picture.drawn = true;
    this.elements.push(`<image ${letterAttributes(picture)} ` +
      `x="${number(x)}" y="${number(y)}" width="${number(w)}" height="${number(h)}" ` +
      'preserveAspectRatio="none"/>');
  }
}

// A <canvas> as far as the board uses one.
function canvasOf(context) {
  return { width: 0, height: 0, style: { setProperty() {} }, getContext: () => context };
}

globalThis.requestAnimationFrame = () => 0;
const createHeikosen = createRequire(import.meta.url)(path.resolve(modulePath));
// Without a browser's fonts to measure with, the core estimates the widths; the
// page measures again with its own fonts when it takes the form over.
const services = { measure: () => -1 };
const module = await createHeikosen({ hk: services });
module.start();
const window = readWindow(module);

// The letter pictures at screen resolution, as data URLs, which the browser has
// with the page: a few hundred bytes each, decoded in no time. The program's
// pictures, sharp at any density and in print, load when it starts.
const letters = window.letters.map((name) => ({
  name,
  file: `letters/${name}.png`,
  href: `data:image/png;base64,${fs.readFileSync(path.join(screenLettersDir, `${name}.png`)).toString('base64')}`,
}));
const items = new SvgContext();
const itemsCanvas = canvasOf(items);
const board = new Board(module, canvasOf(new SvgContext()), itemsCanvas, letters,
  (typeface, px, bold) => `${bold ? 'bold ' : ''}${px}px var(${familyVariable(typeface)})`);
// At one pixel per canvas pixel, the canvas is the drawing area's size.
board.setScale(1);
const { width, height } = itemsCanvas;
// A letter that the initial figure does not show is there all the same, of no size.
for (const letter of letters.filter(({ drawn }) => !drawn)) {
  items.elements.push(`<image ${letterAttributes(letter)} width="0" height="0"/>`);
}
const figure = `<svg class="figure" width="${width}" height="${height}" ` +
  `viewBox="0 0 ${width} ${height}" aria-hidden="true">${items.elements.join('')}</svg>`;

const link = `<link rel="stylesheet" href="${path.basename(stylePath)}">`;
let page = fs.readFileSync(pagePath, 'utf8');
for (const needed of [link, '@HEIKOSEN_FORM@', '<title>', '<html lang="ja">', '<meta name="theme-color"']) {
  if (!page.includes(needed)) {
    throw new Error(`${pagePath} has no ${needed}`);
  }
}
page = page
  .replace(link, () => `<style>\n${fs.readFileSync(stylePath, 'utf8')}</style>`)
  .replace(/<title>[^<]*<\/title>/, () => `<title>${escapeMarkup(window.Caption)}</title>`)
  .replace('<html lang="ja">', () => `<html lang="ja" style="--ground:${colour(window.BackColor)}" ` +
    `data-fit="${fs.readFileSync(fitPath).toString('base64')}">`)
  .replace(/(<meta name="theme-color" content=")[^"]*/, (_, meta) => meta + colour(window.BackColor))
  .replace('@HEIKOSEN_FORM@', () => formMarkup(window, figure));
fs.writeFileSync(outPath, page);

// The canvas on the page: the pen strokes on one <canvas>, the core's canvas
// items on a second one above it. Both keep as many pixels per canvas pixel as
// the screen shows (the form's scale times the device pixel ratio), so that
// they are sharp; after an event only the rectangles that the core names are
// painted again.

import { colour, layoutOf, textAt } from './view.js';

// Where the words of a canvas item, of a refresh's header and of a pen
// segment lie, as the module says.
let L = null;

// Frames after a change of size in which both canvases are shown changed.
const PREPARED_FRAMES = 3;

export class Board {
  // module: the core's module; strokes, items: the two canvases; letters: the letter
  // pictures in the order of the core's letters; font(typeface, px, bold): the CSS
  // font for one of the core's typefaces.
  constructor(module, strokes, items, letters, font) {
    this.module = module;
    L = layoutOf(module);
    this.strokes = strokes;
    this.items = items;
    this.letters = letters;
    this.font = font;
    this.strokeContext = strokes.getContext('2d');
    this.itemContext = items.getContext('2d');
    this.scale = 0;
    this.strokeCount = 0;
    // True while the strokes canvas is known to hold nothing, so that a wipe
    // need not clear it (clearing a canvas never drawn on makes its buffer).
    this.strokesClear = true;
    this.redraw = null;
    this.preparing = null;
    this.ascents = new Map();
    // The font last set on the items' context in this paint.
    this.itemFont = null;
  }

  // Device pixels per canvas pixel. Everything is drawn again; the strokes, when
  // they are many, in slices over the next frames unless `atOnce` (a picture
  // for print, which cannot wait).
  setScale(scale, atOnce = false) {
    if (!(scale > 0) || scale === this.scale) {
      return;
    }
    const header = this.module.refresh(true, scale).slice();
    const before = this.scale;
    this.scale = scale;
    const pixelWidth = header[L.PIXEL_WIDTH];
    const pixelHeight = header[L.PIXEL_HEIGHT];
    for (const canvas of [this.items, this.strokes]) {
      canvas.style.setProperty('--cw', pixelWidth / scale);
      canvas.style.setProperty('--ch', pixelHeight / scale);
    }
    const old = before > 0 ? this.snapshot() : null;
    this.items.width = pixelWidth;
    this.items.height = pixelHeight;
    this.strokes.width = pixelWidth;
    this.strokes.height = pixelHeight;
    this.strokesClear = true;  // a canvas given a size is cleared
    this.drawAgain(old, before, atOnce);
    this.update(header);
    this.prepareBuffers(PREPARED_FRAMES);
  }

  // The compositor shows one picture of a canvas while the next is drawn, and
  // the browser makes a canvas's buffers for those pictures the first times it
  // shows the canvas changed: several milliseconds each. After a change of
  // size both canvases are changed by nothing (a transparent pixel drawn over
  // the corner) in the frames after the next two, so that their buffers are
  // made while the board waits, not in the first moves of a drag, nor in the
  // frame that first shows the board at its size, nor in the one after it,
  // which draws what a first press did.
  prepareBuffers(frames) {
    const job = {};
    this.preparing = job;
    const touch = (left) => {
      if (job !== this.preparing || left === 0) {
        return;
      }
      for (const ctx of [this.strokeContext, this.itemContext]) {
        ctx.save();
        ctx.setTransform(1, 0, 0, 1, 0, 0);
        ctx.globalCompositeOperation = 'source-over';
        ctx.fillStyle = 'rgba(0, 0, 0, 0)';
        ctx.fillRect(0, 0, 1, 1);
        ctx.restore();
      }
      requestAnimationFrame(() => touch(left - 1));
    };
    requestAnimationFrame(() => requestAnimationFrame(() => requestAnimationFrame(() => touch(frames))));
  }

  // Another board takes the canvases over: what this one had still to do in
  // the frames to come is given up.
  stop() {
    this.redraw = null;
    this.preparing = null;
  }

  // Other pictures of the letters: the items are drawn again with them.
  setLetters(letters) {
    this.letters = letters;
    if (this.scale > 0) {
      this.update(this.module.refresh(true, this.scale).slice());
    }
  }

  // A copy of the strokes as they stand, to stand in while they are drawn again.
  snapshot() {
    if (this.strokeCount === 0) {
      return null;
    }
    const copy = document.createElement('canvas');
    copy.width = this.strokes.width;
    copy.height = this.strokes.height;
    copy.getContext('2d').drawImage(this.strokes, 0, 0);
    return copy;
  }

  // Draws the strokes on the board again at the new resolution.
  drawAgain(old, before, atOnce) {
    this.redraw = null;
    const count = this.module.keptCount();
    if (count >= 0 && (atOnce || this.module.redrawsAtOnce())) {
      for (let done = 0; done < count;) {
        done = this.drawSlice(this.strokeContext, done);
      }
      return;
    }
    if (old) {
      this.strokesClear = false;
      const ctx = this.strokeContext;
      ctx.setTransform(1, 0, 0, 1, 0, 0);
      ctx.imageSmoothingEnabled = true;
      ctx.drawImage(old, 0, 0, (old.width * this.scale) / before, (old.height * this.scale) / before);
    }
    if (count > 0) {
      this.redraw = { canvas: document.createElement('canvas'), done: 0 };
      this.redraw.canvas.width = this.strokes.width;
      this.redraw.canvas.height = this.strokes.height;
      requestAnimationFrame(() => this.redrawSlice(this.redraw));
    }
  }

  redrawSlice(job) {
    if (job !== this.redraw) {
      return;  // wiped, or drawn at yet another resolution
    }
    const count = this.module.keptCount();
    if (count < 0) {
      this.redraw = null;  // too many to keep: the scaled picture stays
      return;
    }
    job.done = this.drawSlice(job.canvas.getContext('2d'), job.done);
    if (job.done < count) {
      requestAnimationFrame(() => this.redrawSlice(job));
      return;
    }
    // Strokes drawn meanwhile are among the kept ones, so the new picture is whole.
    const target = this.strokeContext;
    target.setTransform(1, 0, 0, 1, 0, 0);
    target.clearRect(0, 0, this.strokes.width, this.strokes.height);
    target.drawImage(job.canvas, 0, 0);
    this.strokesClear = false;
    this.redraw = null;
  }

  // Draws the slice of the kept strokes that starts after the first `done`;
  // where it ends.
  drawSlice(ctx, done) {
    const end = this.module.redrawSliceEnd(done);
    this.drawSegments(ctx, this.module.kept(done, end), end - done);
    return end;
  }

  // Draws the `count` segments at `address`, consecutive ones of one pen in one
  // path, with round ends and joins.
  drawSegments(ctx, address, count) {
    if (count <= 0) {
      return;
    }
    if (ctx === this.strokeContext) {
      this.strokesClear = false;
    }
    const m = this.module;
    const f = m.HEAPF32;
    const u = m.HEAPU32;
    ctx.setTransform(this.scale, 0, 0, this.scale, 0, 0);
    ctx.lineCap = 'round';
    ctx.lineJoin = 'round';
    let pen = -1;
    let width = -1;
    ctx.beginPath();
    for (let i = 0; i < count; ++i) {
      const s = (address >> 2) + i * L.SEGMENT;
      const c = u[s + L.SEGMENT_COLOR];
      const w = u[s + L.SEGMENT_WIDTH];
      if (c !== pen || w !== width) {
        ctx.stroke();
        ctx.beginPath();
        ctx.strokeStyle = colour(c);
        ctx.lineWidth = w;
        pen = c;
        width = w;
      }
      const p = s + L.SEGMENT_POINTS;
      ctx.moveTo(f[p], f[p + 1]);
      ctx.lineTo(f[p + 2], f[p + 3]);
    }
    ctx.stroke();
  }

  // Paints what changed since the last refresh: strokes first, then items.
  refresh() {
    if (this.scale > 0) {
      this.update(this.module.refresh(false, this.scale).slice());
    }
  }

  // header: a refresh's header, copied out of the module's memory.
  update(header) {
    if (header[L.WIPED]) {
      this.redraw = null;
      if (!this.strokesClear) {
        this.strokeContext.setTransform(1, 0, 0, 1, 0, 0);
        this.strokeContext.clearRect(0, 0, this.strokes.width, this.strokes.height);
        this.strokesClear = true;
      }
      this.strokeCount = 0;
    }
    const fresh = header[L.FRESH_COUNT];
    if (fresh > 0) {
      this.drawSegments(this.strokeContext, header[L.FRESH], fresh);
      this.strokeCount += fresh;
      this.module.strokesDrawn();
    }
    const rectCount = header[L.RECT_COUNT];
    if (rectCount > 0) {
      this.paint(header[L.RECTS] >> 2, rectCount, header[L.ITEMS] >> 2, header[L.ITEM_COUNT]);
    }
  }

  // Clears the rectangles (device pixels) and draws the items that the core
  // hands out for them (those that may touch them), clipped to them.
  paint(rects, rectCount, items, itemCount) {
    const i32 = this.module.HEAP32;
    const ctx = this.itemContext;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.save();
    this.itemFont = null;
    ctx.beginPath();
    for (let r = 0; r < rectCount; ++r) {
      const at = rects + r * 4;
      ctx.clearRect(i32[at], i32[at + 1], i32[at + 2], i32[at + 3]);
      ctx.rect(i32[at], i32[at + 1], i32[at + 2], i32[at + 3]);
    }
    ctx.clip();
    ctx.setTransform(this.scale, 0, 0, this.scale, 0, 0);
    for (let n = 0; n < itemCount; ++n) {
      this.drawItem(ctx, items + n * L.RECORD);
    }
    ctx.restore();
  }

  drawItem(ctx, item) {
    const m = this.module;
    const i32 = m.HEAP32;
    const kind = i32[item + L.KIND];
    const f = m.HEAPF32;
    const g = item + L.GEOMETRY;
    if (kind === L.LINE) {
      this.drawLine(ctx, item, f[g] + f[item + L.SHIFT], f[g + 1] + f[item + L.SHIFT + 1],
                    f[g + 2] + f[item + L.SHIFT], f[g + 3] + f[item + L.SHIFT + 1]);
      return;
    }
    if (kind === L.CIRCLE) {
      // Its pen along the line the core gives.
      if (!(f[g + 2] >= 0)) {
        return;
      }
      ctx.strokeStyle = colour(i32[item + L.COLOR]);
      ctx.lineWidth = i32[item + L.WIDTH];
      ctx.setLineDash([]);
      ctx.beginPath();
      ctx.arc(f[g] + f[g + 3], f[g + 1] + f[g + 3], f[g + 2], 0, 2 * Math.PI);
      ctx.stroke();
      return;
    }
    const left = i32[item + L.GEOMETRY], top = i32[item + L.GEOMETRY + 1];
    const width = i32[item + L.GEOMETRY + 2], height = i32[item + L.GEOMETRY + 3];
    if (width <= 0 || height <= 0) {
      return;
    }
    if (kind === L.LABEL) {
      this.drawLabel(ctx, item, left, top, width, height);
    } else if (kind === L.PICTURE) {
      const picture = this.letters[i32[item + L.STYLE]];
      if (picture) {
        ctx.imageSmoothingEnabled = true;
        ctx.imageSmoothingQuality = 'high';
        ctx.drawImage(picture, left, top, width, height);
      } else {
        // Without its picture the control still shows its white ground.
        ctx.fillStyle = '#fff';
        ctx.fillRect(left, top, width, height);
      }
    }
  }

  // A segment from (x1, y1) to (x2, y2), its pen already moved as the core
  // says: flat or round ends, solid or dashed.
  drawLine(ctx, item, x1, y1, x2, y2) {
    if (!Number.isFinite(x1 + y1 + x2 + y2)) {
      return;
    }
    const i32 = this.module.HEAP32;
    const f = this.module.HEAPF32;
    const width = i32[item + L.WIDTH];
    const round = i32[item + L.STYLE] === 1;
    const dashed = f[item + L.DASH + 1] > 0;
    const css = colour(i32[item + L.COLOR]);
    ctx.strokeStyle = css;
    ctx.lineWidth = width;
    ctx.setLineDash(dashed ? [f[item + L.DASH], f[item + L.DASH + 1]] : []);
    if (x1 !== x2 || y1 !== y2) {
      // A solid line's round ends come with the stroke; a dashed one's are drawn apart.
      ctx.lineCap = round && !dashed ? 'round' : 'butt';
      ctx.beginPath();
      ctx.moveTo(x1, y1);
      ctx.lineTo(x2, y2);
      ctx.stroke();
    } else if (!round) {
      ctx.fillStyle = css;
      ctx.fillRect(Math.floor(x1), Math.floor(y1), 1, 1);
      return;
    }
    if (round && (dashed || (x1 === x2 && y1 === y2))) {
      ctx.fillStyle = css;
      ctx.beginPath();
      ctx.arc(x1, y1, width / 2, 0, 2 * Math.PI);
      ctx.arc(x2, y2, width / 2, 0, 2 * Math.PI);
      ctx.fill();
    }
  }

  // An opaque box with its caption at the top left, clipped to the box.
  drawLabel(ctx, item, left, top, width, height) {
    const m = this.module;
    const i32 = m.HEAP32;
    if (i32[item + L.OPAQUE]) {
      ctx.fillStyle = colour(i32[item + L.WIDTH]);
      ctx.fillRect(left, top, width, height);
    }
    if (i32[item + L.CAPTION + 1] === 0) {
      return;
    }
    const caption = textAt(m, i32, item + L.CAPTION);
    const px = i32[item + L.FONT + 2];
    const typeface = textAt(m, i32, item + L.FONT);
    // Set before the label's own state, the font stays for the next labels of
    // the same font in this paint: the context parses a font each time it is set.
    const font = this.font(typeface, px, i32[item + L.STYLE] !== 0);
    if (font !== this.itemFont) {
      ctx.font = font;
      this.itemFont = font;
    }
    ctx.save();
    ctx.beginPath();
    ctx.rect(left, top, width, height);
    ctx.clip();
    ctx.fillStyle = colour(i32[item + L.COLOR]);
    ctx.textBaseline = 'alphabetic';
    const ascent = this.ascent(ctx, font);
    const lines = caption.split('\n');
    const lineHeight = i32[item + L.LINE_HEIGHT];
    for (let n = 0; n < lines.length; ++n) {
      ctx.fillText(lines[n], left, top + n * lineHeight + ascent);
    }
    ctx.restore();
  }

  // The ascent of `font`, the context's, as the browser resolves it.
  ascent(ctx, font) {
    let ascent = this.ascents.get(font);
    if (ascent === undefined) {
      const metrics = ctx.measureText('相');
      ascent = metrics.fontBoundingBoxAscent ?? metrics.actualBoundingBoxAscent;
      this.ascents.set(font, ascent);
    }
    return ascent;
  }
}

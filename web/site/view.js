// The window's controls as elements of the page: the markup of the form as the
// core lays it out (written into the page when the site is assembled, so that
// the first frame shows the window before any script runs), and the view that
// takes those elements over and keeps them up to date from the core's
// properties: labels, real buttons, option buttons and check boxes at the
// layout's positions and in its tab order, and the canvas box with its two
// <canvas> elements.

// The style sheet's variable that holds the family list for one of the core's
// typefaces (gothic, mincho).
export const familyVariable = (typeface) => `--font-${typeface}`;

const resolved = new Map();

// The CSS font family list that stands for one of the core's typefaces.
export function familyOf(typeface) {
  let family = resolved.get(typeface);
  if (family === undefined) {
    family = getComputedStyle(document.documentElement).getPropertyValue(familyVariable(typeface)).trim();
    resolved.set(typeface, family);
  }
  return family;
}

// The CSS font for one of the core's typefaces, its size in pixels, bold or not.
export function cssFont(typeface, px, bold) {
  return `${bold ? 'bold ' : ''}${px}px ${familyOf(typeface)}`;
}

const colours = new Map();

// The CSS colour of one of the core's colours (0xRRGGBB).
export function colour(rgb) {
  let css = colours.get(rgb);
  if (css === undefined) {
    css = '#' + (rgb & 0xffffff).toString(16).padStart(6, '0');
    colours.set(rgb, css);
  }
  return css;
}

const decoder = new TextDecoder();

// A text of the module's, from its address and length in bytes in the two
// words at `at` of `words`.
export const textAt = (module, words, at) =>
  decoder.decode(module.HEAPU8.subarray(words[at], words[at] + words[at + 1]));

let layout = null;
let facts = null;

// Where the words of the module's records lie (recordLayout), asked once.
export const layoutOf = (module) => (layout ??= module.recordLayout());

// The window as the core has it now: what stays of it (windowFacts), its
// caption, the figure in words, and its controls in the order of the Tab key,
// read from their records.
export function readWindow(module) {
  const L = layoutOf(module);
  facts ??= module.windowFacts();
  const head = module.window();
  const [i32, f] = [module.HEAP32, module.HEAPF32];
  const controls = [];
  for (let n = 0; n < head[L.CONTROL_COUNT]; ++n) {
    const c = (head[L.CONTROLS] >> 2) + n * L.CONTROL;
    const [box, flag] = [c + L.BOX, (word) => i32[c + word] !== 0];
    const props = {
      Left: f[box], Top: f[box + 1], Width: f[box + 2], Height: f[box + 3],
      Caption: textAt(module, i32, c + L.TEXT), Visible: flag(L.VISIBLE), Enabled: flag(L.ENABLED),
      AutoSize: flag(L.AUTO_SIZE), Value: i32[c + L.VALUE], BackColor: i32[c + L.BACK_COLOR],
      ForeColor: i32[c + L.FORE_COLOR],
      Font: { Typeface: textAt(module, i32, c + L.TYPEFACE), Bold: flag(L.BOLD), px: i32[c + L.FONT_PIXELS] },
    };
    controls.push({ kind: L.CONTROL_KINDS[i32[c + L.CONTROL_KIND]], id: textAt(module, i32, c + L.ID),
      name: textAt(module, i32, c + L.NAME), tabStop: flag(L.TAB_STOP), group: i32[c + L.GROUP], props });
  }
  return { ...facts, Caption: textAt(module, head, L.WINDOW_CAPTION),
    canvasWords: textAt(module, head, L.CANVAS_WORDS), controls };
}

function place(element, props) {
  element.style.setProperty('--l', props.Left);
  element.style.setProperty('--t', props.Top);
  element.style.setProperty('--cw', props.Width);
  element.style.setProperty('--ch', props.Height);
}

const entities = { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' };
// Text as it stands in markup, between tags or in a quoted attribute.
export const escapeMarkup = (text) => String(text).replace(/[&<>"]/g, (c) => entities[c]);

// The markup of the form: `window` as the core hands it out (readWindow), and
// `figure`, the markup that stands in the drawing area until the canvases are
// drawn. An auto-sized label is left to take the size of its caption in the
// font at hand; the view gives it the size the core measured.
export function formMarkup(window, figure) {
  const at = (props, sized = true) => `--l:${props.Left};--t:${props.Top};--px:${props.Font.px}` +
    (sized ? `;--cw:${props.Width};--ch:${props.Height}` : '');
  const flags = (props, ...more) =>
    [props.Visible === false ? ' hidden' : '', ...more.map((flag) => (flag ? ` ${flag}` : ''))].join('');
  // What a screen reader says of the control, and where the Tab key stops.
  const named = (control) =>
    ` aria-label="${escapeMarkup(control.name)}" tabindex="${control.tabStop ? 0 : -1}"`;
  const group = window.controls.filter((control) => control.group >= 0);
  const { shadow, highlight, darkShadow, light, focusRing } = window.frame;
  const parts = [`<div id="form" style="--w:${window.Width};--h:${window.Height};` +
    `--gap:${window.indicatorGap};--box:${window.indicatorSize};background:${colour(window.BackColor)};` +
    `--shadow:${colour(shadow)};--highlight:${colour(highlight)};--dark-shadow:${colour(darkShadow)};` +
    `--light:${colour(light)};--ring:${colour(focusRing)}">`];
  for (const control of window.controls) {
    const { kind, id, props } = control;
    if (kind === 'label') {
      const font = props.Font;
      const style = `${at(props, !props.AutoSize)};` +
        `font-family:var(${familyVariable(font.Typeface)});font-weight:${font.Bold ? 'bold' : 'normal'};` +
        `color:${colour(props.ForeColor)};background:${colour(props.BackColor)}`;
      parts.push(`<div id="${id}" class="label" style="${style}"${flags(props)}>${escapeMarkup(props.Caption)}</div>`);
    } else if (kind === 'command') {
      parts.push(`<button type="button" id="${id}"${props.Font.Bold ? ' class="bold"' : ''}${named(control)} ` +
        `style="${at(props)}"${flags(props, !props.Enabled && 'disabled')}>${escapeMarkup(props.Caption)}</button>`);
    } else if (kind === 'option' || kind === 'check') {
      if (control === group[0]) {
        // The option buttons are one group for a screen reader, wherever they stand.
        parts.push(`<div class="group" role="radiogroup" aria-label="${escapeMarkup(window.groupName)}" ` +
          `aria-owns="${group.map((option) => option.id).join(' ')}"></div>`);
      }
      // The caption shows; a screen reader has it in the control's name.
      parts.push(`<label class="choice" style="${at(props)}"${flags(props)}>` +
        `<input type="${kind === 'option' ? 'radio' : 'checkbox'}" id="${id}"${named(control)}` +
        `${flags({}, props.Value !== 0 && 'checked', !props.Enabled && 'disabled')}>` +
        `<span aria-hidden="true">${escapeMarkup(props.Caption)}</span></label>`);
    } else if (kind === 'picture') {
      // A letter picture that the canvas draws, as a toggle button for screen readers.
      parts.push(`<button type="button" id="${id}" class="picture"${named(control)} ` +
        `aria-pressed="${props.Value !== 0}" style="${at(props)}"${flags(props)}></button>`);
    } else {
      parts.push(`<div id="${id}" role="img"${named(control)} aria-describedby="gamen-words gamen-keys" ` +
        `style="${at(props)}"${flags(props)}>` +
        `<div class="frame" style="background:${colour(props.BackColor)}">` +
        '<canvas id="gamen-strokes"></canvas><canvas id="gamen-items"></canvas>' +
        `${figure}</div></div>`,
      // The figure in words, read out when it changes, and the keys: for screen readers alone.
      `<div id="gamen-words" class="words" aria-live="polite">${escapeMarkup(window.canvasWords)}</div>` +
        `<div id="gamen-keys" hidden>${escapeMarkup(window.canvasKeys)}</div>`);
    }
  }
  parts.push('</div>');
  return parts.join('\n');
}

export class FormView {
  // form: the #form element, holding the form's markup; window: the core's
  // window (readWindow); activate(position): a click on the control at that
  // position of the window's list.
  constructor(form, window, activate) {
    this.form = form;
    this.elements = window.controls.map((control, position) => this.adopt(control, position, activate));
    this.sync(window);
  }

  adopt(control, position, activate) {
    const element = this.form.querySelector(`#${control.id}`);
    if (element === null) {
      throw new Error(`the page has no element for ${control.id}`);
    }
    element.dataset.position = position;
    if (control.kind === 'canvas') {
      this.canvas = {
        box: element,
        strokes: element.querySelector('#gamen-strokes'),
        items: element.querySelector('#gamen-items'),
        props: control.props,
      };
    } else if (control.kind !== 'label') {
      // The core decides the state; the element shows what it decided.
      element.addEventListener('click', () => activate(position));
    }
    return element;
  }

  // Brings every element up to date with the core's window.
  sync(window) {
    if (document.title !== window.Caption) {
      document.title = window.Caption;
    }
    const words = this.form.querySelector('#gamen-words');
    if (words.textContent !== window.canvasWords) {
      words.textContent = window.canvasWords;
    }
    window.controls.forEach((control, position) => {
      const { kind, props } = control;
      const element = this.elements[position];
      const box = kind === 'option' || kind === 'check' ? element.parentElement : element;
      box.hidden = props.Visible === false;
      const caption = kind === 'option' || kind === 'check' ? element.nextElementSibling : element;
      if (kind !== 'canvas' && caption.textContent !== props.Caption) {
        caption.textContent = props.Caption;
      }
      if (kind === 'label' || kind === 'picture') {
        place(element, props);
      }
      if (kind === 'label') {
        return;
      }
      if (kind === 'picture') {
        element.setAttribute('aria-pressed', String(props.Value !== 0));
      }
      element.tabIndex = control.tabStop ? 0 : -1;
      if (element.getAttribute('aria-label') !== control.name) {
        element.setAttribute('aria-label', control.name);
      }
      if (kind !== 'canvas') {
        element.disabled = !props.Enabled;
      }
      if (kind === 'command') {
        element.classList.toggle('bold', props.Font.Bold);
      } else if (kind === 'option' || kind === 'check') {
        element.checked = props.Value !== 0;
      }
    });
  }
}

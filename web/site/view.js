// The window's controls as elements of the page: the markup of the form as the
// core lays it out (written into the page when the site is assembled, so that
// the first frame shows the window before any script runs), and the view that
// takes those elements over and keeps them up to date from the core's
// properties: labels, real buttons, option buttons and check boxes at the
// layout's positions and in its tab order, and the canvas box with its two
// <canvas> elements.

const families = {
  'ＭＳ Ｐゴシック': '--font-gothic',
  'ＭＳ Ｐ明朝': '--font-mincho',
};

// The style sheet's variable that holds the family list for one of the core's fonts.
export function familyVariable(name) {
  return families[name] ?? '--font-gothic';
}

const resolved = new Map();

// The CSS font family list that stands for one of the core's font names.
export function familyOf(name) {
  let family = resolved.get(name);
  if (family === undefined) {
    family = getComputedStyle(document.documentElement).getPropertyValue(familyVariable(name)).trim();
    resolved.set(name, family);
  }
  return family;
}

function colour(rgb) {
  return '#' + (rgb & 0xffffff).toString(16).padStart(6, '0');
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

// The markup of the form: `window` as the core hands it out (hk_window), and
// `figure`, the markup that stands in the drawing area until the canvases are
// drawn. An auto-sized label is left to take the size of its caption in the
// font at hand; the view gives it the size the core measured.
export function formMarkup(window, figure) {
  const at = (props, sized = true) =>
    `--l:${props.Left};--t:${props.Top}` + (sized ? `;--cw:${props.Width};--ch:${props.Height}` : '');
  const flags = (props, ...more) =>
    [props.Visible === false ? ' hidden' : '', ...more.map((flag) => (flag ? ` ${flag}` : ''))].join('');
  const canvas = window.controls.find((control) => control.kind === 'canvas').props;
  const parts = [
    `<div id="form" style="--w:${window.Width};--h:${window.Height};background:${colour(window.BackColor)}" ` +
      `data-width="${window.Width}" data-height="${window.Height}" ` +
      `data-area="${canvas.Left + canvas.BorderWidth} ${canvas.Top + canvas.BorderWidth}">`,
  ];
  for (const { kind, id, props } of window.controls) {
    if (kind === 'label') {
      const font = props.Font;
      const style = `${at(props, !props.AutoSize)};--px:${font.px};` +
        `font-family:var(${familyVariable(font.Name)});font-weight:${font.Bold ? 'bold' : 'normal'};` +
        `color:${colour(props.ForeColor)};background:${colour(props.BackColor)}`;
      parts.push(`<div id="${id}" class="label" style="${style}"${flags(props)}>${escapeMarkup(props.Caption)}</div>`);
    } else if (kind === 'command') {
      parts.push(`<button type="button" id="${id}"${props.FontBold ? ' class="bold"' : ''} style="${at(props)}"` +
        `${flags(props, !props.Enabled && 'disabled')}>${escapeMarkup(props.Caption)}</button>`);
    } else if (kind === 'option' || kind === 'check') {
      const checked = kind === 'option' ? props.Value : props.Value === 1;
      parts.push(`<label class="choice" style="${at(props)}"${flags(props)}>` +
        `<input type="${kind === 'option' ? 'radio' : 'checkbox'}" id="${id}"` +
        `${flags({}, checked && 'checked', !props.Enabled && 'disabled')}>` +
        `<span>${escapeMarkup(props.Caption)}</span></label>`);
    } else {
      const words = window.canvasText;
      parts.push(`<div id="${id}" tabindex="0" role="img" aria-label="${escapeMarkup(words.name)}" ` +
        `aria-describedby="gamen-words gamen-keys" style="${at(props)}"${flags(props)}>` +
        `<div class="frame" style="background:${colour(props.BackColor)}">` +
        '<canvas id="gamen-strokes"></canvas><canvas id="gamen-items"></canvas>' +
        `${figure}</div></div>`,
      // The figure in words, read out when it changes, and the keys: for screen readers alone.
      `<div id="gamen-words" class="words" aria-live="polite">${escapeMarkup(words.words)}</div>` +
        `<div id="gamen-keys" hidden>${escapeMarkup(words.keys)}</div>`);
    }
  }
  parts.push('</div>');
  return parts.join('\n');
}

export class FormView {
  // form: the #form element, holding the form's markup; window: the core's
  // window (hk_window); handlers: {command(n), option1(i), option2(i),
  // check1(i)} for the user's clicks.
  constructor(form, window, handlers) {
    this.form = form;
    this.elements = new Map();
    for (const control of window.controls) {
      this.elements.set(control.id, { kind: control.kind, element: this.adopt(control, handlers) });
    }
    this.sync(window);
  }

  adopt(control, handlers) {
    const { kind, id, props } = control;
    const element = this.form.querySelector(`#${id}`);
    if (element === null) {
      throw new Error(`the page has no element for ${id}`);
    }
    if (kind === 'command') {
      const number = Number(id.slice('Command'.length));
      element.addEventListener('click', () => handlers.command(number));
    } else if (kind === 'option' || kind === 'check') {
      const [array, index] = id.split('_');
      const click = handlers[array.toLowerCase()];
      // The core decides the state; the box shows what it decided.
      element.addEventListener('click', () => click(Number(index)));
      return element.parentElement;
    } else if (kind === 'canvas') {
      this.canvas = {
        box: element,
        strokes: element.querySelector('#gamen-strokes'),
        items: element.querySelector('#gamen-items'),
        props,
      };
    }
    return element;
  }

  // Brings every element up to date with the core's window.
  sync(window) {
    if (document.title !== window.Caption) {
      document.title = window.Caption;
    }
    const words = this.form.querySelector('#gamen-words');
    if (words.textContent !== window.canvasText.words) {
      words.textContent = window.canvasText.words;
    }
    for (const { id, props } of window.controls) {
      const { kind, element } = this.elements.get(id);
      element.hidden = props.Visible === false;
      if (kind === 'label') {
        if (element.textContent !== props.Caption) {
          element.textContent = props.Caption;
        }
        place(element, props);
      } else if (kind === 'command') {
        if (element.textContent !== props.Caption) {
          element.textContent = props.Caption;
        }
        element.disabled = !props.Enabled;
        element.classList.toggle('bold', props.FontBold);
      } else if (kind === 'option' || kind === 'check') {
        const input = element.firstChild;
        const caption = element.lastChild;
        if (caption.textContent !== props.Caption) {
          caption.textContent = props.Caption;
        }
        input.checked = kind === 'option' ? props.Value : props.Value === 1;
        input.disabled = !props.Enabled;
      }
    }
  }
}

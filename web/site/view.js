// The window's controls as elements of the page, made and kept up to date from
// the core's properties: labels, real buttons, option buttons and check boxes
// at the layout's positions and in its tab order, and the canvas box with its
// two <canvas> elements.

const families = {
  'ＭＳ Ｐゴシック': '--font-gothic',
  'ＭＳ Ｐ明朝': '--font-mincho',
};

const resolved = new Map();

// The CSS font family list that stands for one of the core's font names.
export function familyOf(name) {
  let family = resolved.get(name);
  if (family === undefined) {
    const variable = families[name] ?? '--font-gothic';
    family = getComputedStyle(document.documentElement).getPropertyValue(variable).trim();
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

export class FormView {
  // form: the #form element; window: the core's window (hk_window); handlers:
  // {command(n), option1(i), option2(i), check1(i)} for the user's clicks.
  constructor(form, window, handlers) {
    this.form = form;
    this.elements = new Map();
    form.style.setProperty('--w', window.Width);
    form.style.setProperty('--h', window.Height);
    form.style.background = colour(window.BackColor);
    for (const control of window.controls) {
      const element = this.create(control, handlers);
      place(element, control.props);
      form.append(element);
      this.elements.set(control.id, { kind: control.kind, element });
    }
    this.sync(window);
  }

  create(control, handlers) {
    const { kind, id, props } = control;
    if (kind === 'label') {
      const label = document.createElement('div');
      label.id = id;
      label.className = 'label';
      label.style.setProperty('--px', props.Font.px);
      label.style.fontFamily = familyOf(props.Font.Name);
      label.style.fontWeight = props.Font.Bold ? 'bold' : 'normal';
      label.style.color = colour(props.ForeColor);
      label.style.background = colour(props.BackColor);
      return label;
    }
    if (kind === 'command') {
      const button = document.createElement('button');
      button.type = 'button';
      button.id = id;
      const number = Number(id.slice('Command'.length));
      button.addEventListener('click', () => handlers.command(number));
      return button;
    }
    if (kind === 'option' || kind === 'check') {
      const wrapper = document.createElement('label');
      wrapper.className = 'choice';
      const input = document.createElement('input');
      input.type = kind === 'option' ? 'radio' : 'checkbox';
      input.id = id;
      const [array, index] = id.split('_');
      const click = handlers[array.toLowerCase()];
      // The core decides the state; the box shows what it decided.
      input.addEventListener('click', () => click(Number(index)));
      const caption = document.createElement('span');
      wrapper.append(input, caption);
      return wrapper;
    }
    // The canvas: its frame, and the drawing area with the strokes beneath the items.
    const box = document.createElement('div');
    box.id = id;
    box.tabIndex = 0;
    const frame = document.createElement('div');
    frame.className = 'frame';
    frame.style.background = colour(props.BackColor);
    const strokes = document.createElement('canvas');
    strokes.id = 'gamen-strokes';
    const items = document.createElement('canvas');
    items.id = 'gamen-items';
    frame.append(strokes, items);
    box.append(frame);
    this.canvas = { box, strokes, items, props };
    return box;
  }

  // Brings every element up to date with the core's window.
  sync(window) {
    if (document.title !== window.Caption) {
      document.title = window.Caption;
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

// The viewport's size in CSS pixels. Reading it lays the page out, which costs
// next to nothing while the form has no controls: read it before they are made.
export function viewportSize() {
  const root = document.documentElement;
  return { width: root.clientWidth, height: root.clientHeight };
}

// The form scaled to fit the viewport, centred, with the drawing area's corner
// on a whole device pixel so that the canvases' pixels fall on the screen's.
export function fitToViewport(form, window, area, viewport) {
  const { width, height } = viewport;
  const scale = Math.min(width / window.Width, height / window.Height);
  const ratio = globalThis.devicePixelRatio || 1;
  const snap = (offset, corner) => Math.round((offset + corner * scale) * ratio) / ratio - corner * scale;
  const left = snap((width - window.Width * scale) / 2, area.left);
  const top = snap((height - window.Height * scale) / 2, area.top);
  form.style.transform = `translate(${left}px, ${top}px) scale(${scale})`;
  return { left, top, scale, ratio };
}

// The bindings of the core's module, with strings and JSON across the boundary.

const decoder = new TextDecoder();
const encoder = new TextEncoder();

export class Core {
  constructor(module) {
    this.module = module;
  }
  text(address, length) {
    return decoder.decode(this.module.HEAPU8.subarray(address, address + length));
  }
  json(address) {
    return JSON.parse(this.text(address, this.module._hk_text_length()));
  }
  put(text) {
    const bytes = encoder.encode(text);
    const address = this.module._hk_input(bytes.length);
    this.module.HEAPU8.set(bytes, address);
  }
  start() { this.module._hk_start(); }
  window() { return this.json(this.module._hk_window()); }
  control(name, index) {
    this.put(String(name));
    return this.json(this.module._hk_control(index | 0));
  }
  variables() { return this.json(this.module._hk_variables()); }
  scene() { return this.json(this.module._hk_scene()); }
  refresh(everything) { return this.module._hk_refresh(everything ? 1 : 0); }
  strokesDrawn() { this.module._hk_strokes_drawn(); }
  layout() { return this.json(this.module._hk_layout()); }
  redrawsAtOnce() { return this.module._hk_redraws_at_once() !== 0; }
  redrawSliceEnd(done) { return this.module._hk_redraw_slice_end(done); }
  keptCount() { return this.module._hk_kept_count(); }
  kept() { return this.module._hk_kept(); }
  printWithName(name) {
    this.put(name);
    this.module._hk_print_with_name();
  }
}


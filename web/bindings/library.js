// The page's side of the form's services: the functions that the bindings call
// out to, forwarded to the callbacks that the page installs as Module.hk.
mergeInto(LibraryManager.library, {
  hk_js_measure: function (text, textLength, font, fontLength, px, bold) {
    return Module['hk'].measure(text, textLength, font, fontLength, px, bold);
  },
  hk_js_end: function () {
    Module['hk'].end();
  },
  hk_js_ask: function (title, titleLength, prompt, promptLength) {
    Module['hk'].ask(title, titleLength, prompt, promptLength);
  },
  hk_js_print: function () {
    return Module['hk'].print();
  },
  hk_js_message: function (title, titleLength, text, textLength) {
    Module['hk'].message(title, titleLength, text, textLength);
  },
});

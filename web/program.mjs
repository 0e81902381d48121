// Writes the page's program as one classic script: the module's JavaScript and
// the page's modules (app.js and those it imports), each in a function of its
// own, inside self.heikosenProgram(), which the page calls once its first frame
// is on the screen. The page's head asks for this one file as it is read, so
// that it is at hand by then: the modules asked for only after the first paint
// each waited for the browser's network before being sent.
//
//   node program.mjs MODULE_JS PAGE_DIR OUT

import fs from 'node:fs';
import path from 'node:path';

const [moduleJs, pageDir, out] = process.argv.slice(2);

const wrapped = [];
const done = new Set();

// The module `file`'s code with its imports and exports made plain, after
// those of the modules it imports; its exports are then __NAME's members.
function add(file) {
  const name = path.basename(file, '.js');
  if (done.has(name)) {
    return;
  }
  done.add(name);
  const exported = [];
  let code = fs.readFileSync(name === 'heikosen' ? moduleJs : path.join(pageDir, file), 'utf8')
    .replace(/^import (\w+) from '\.\/([\w-]+\.js)';$/gm, (_, local, from) => {
      add(from);
      return `const ${local} = __${path.basename(from, '.js')}.default;`;
    })
    .replace(/^import \{([^}]*)\} from '\.\/([\w-]+\.js)';$/gm, (_, names, from) => {
      add(from);
      return `const {${names.replace(/\bas\b/g, ':')}} = __${path.basename(from, '.js')};`;
    })
    .replace(/^export (?=(?:async )?(?:function|class|const|let) ([\w$]+))/gm, (_, exportedName) => {
      exported.push(exportedName);
      return '';
    })
    .replace(/^export default ([\w$]+);$/gm, (_, local) => {
      exported.push(`default: ${local}`);
      return '';
    })
    // The module's code is compiled by the page itself: nothing is looked up
    // beside this script.
    .replace(/import\.meta\.url/g, 'document.baseURI');
  const left = code.match(/^\s*(?:import|export)\b.*$|import\.meta|\bimport\(/m);
  if (left) {
    throw new Error(`${file}: cannot be put in the program as it stands: ${left[0].trim()}`);
  }
  if (name === 'app') {
    wrapped.push(code);
  } else {
    wrapped.push(`const __${name} = (() => {\n${code}\nreturn { ${exported.join(', ')} };\n})();`);
  }
}

add('app.js');
// The page runs the script from its text: the name is for the browser's tools.
fs.writeFileSync(out, `self.heikosenProgram = async () => {\n'use strict';\n${wrapped.join('\n')}\n};\n` +
  '//# sourceURL=program.js\n');

// Checks the component's browser scripts (every *.js in the folder given as
// the first argument) the way a linter would, with node's own parsers:
//   - the text parses (V8, as `node --check` does), with its ${name}
//     markers left empty as the emitting code may leave them;
//   - no statement relies on a line break to end it: the blocks are sent as
//     one line, where an automatic semicolon no longer applies;
//   - no comments past the file's header ("//" lines before the first
//     statement, which the build leaves out): the rest is sent as it is, so
//     a comment would reach every page (and a "//" one would swallow the
//     rest of a one-line block); the editor's script is compressed on its
//     way out, which drops a "//" comment standing alone on its line or
//     after ";", "{" or "}";
//   - every name a script uses is declared in it, is one the browser
//     provides, or is listed below as coming from the page around it.
// Prints one line per finding and exits 1 when there is any.
'use strict';
const fs = require('fs');
const path = require('path');
const vm = require('vm');
// acorn ships inside node; it is reached through node's internal modules.
const acorn = require('internal/deps/acorn/acorn/dist/acorn');
const walk = require('internal/deps/acorn/acorn-walk/dist/walk');

const browserNames = new Set([
  'window', 'document', 'navigator', 'location', 'screen', 'top', 'self', 'parent', 'console',
  'alert', 'confirm', 'prompt', 'setTimeout', 'clearTimeout', 'setInterval', 'clearInterval',
  'Array', 'Object', 'String', 'Number', 'Boolean', 'Math', 'Date', 'RegExp', 'JSON', 'Error',
  'parseInt', 'parseFloat', 'isNaN', 'encodeURIComponent', 'decodeURIComponent', 'undefined',
  'Image', 'XMLHttpRequest', 'ActiveXObject', 'FormData', 'FileReader', 'Blob', 'Node', 'Event',
  'getComputedStyle', 'requestAnimationFrame',
]);

// Names a script takes from the page or from another script of the same
// block.
const fromThePage = {
  'pop_window.js': ['Popup'],
  'ajax_get.js': ['OrvelAjaxRequest'],
  'ajax_post.js': ['OrvelAjaxRequest'],
};

const compressed = new Set(['editor.js']);

function commentProblem(file, text, block, start, firstStatement) {
  if (!block && start < firstStatement) return null;
  if (!compressed.has(path.basename(file)) || block) return 'comment (sent to every page as it is)';
  const lineStart = text.lastIndexOf('\n', start - 1) + 1;
  const before = text.slice(lineStart, start);
  if (/^[ \t]*$/.test(before) || /[;{}][ \t]+$/.test(before)) return null;
  return 'comment the compression keeps (it swallows the rest of the block)';
}

function declaredNames(ast) {
  const names = new Set();
  const addPattern = (p) => {
    if (!p) return;
    if (p.type === 'Identifier') names.add(p.name);
    else if (p.type === 'AssignmentPattern') addPattern(p.left);
    else if (p.type === 'RestElement') addPattern(p.argument);
    else if (p.type === 'ArrayPattern') p.elements.forEach(addPattern);
    else if (p.type === 'ObjectPattern') p.properties.forEach((q) => addPattern(q.value || q.argument));
  };
  walk.full(ast, (node) => {
    if (node.type === 'VariableDeclarator') addPattern(node.id);
    else if (/Function/.test(node.type)) {
      if (node.id) names.add(node.id.name);
      node.params.forEach(addPattern);
    } else if (/^Class/.test(node.type) && node.id) names.add(node.id.name);
    else if (node.type === 'CatchClause') addPattern(node.param);
  });
  return names;
}

// Identifiers that read or write a variable (not property names, not the
// declarations themselves).
function usedNames(ast) {
  const used = [];
  walk.fullAncestor(ast, (node, state, ancestors) => {
    if (node.type !== 'Identifier') return;
    const parent = ancestors[ancestors.length - 2];
    if (!parent) return;
    if (parent.type === 'VariableDeclarator' && parent.id === node) return;
    if (/Function|^Class/.test(parent.type) && (parent.id === node || (parent.params || []).includes(node))) return;
    if (parent.type === 'CatchClause' && parent.param === node) return;
    if (parent.type === 'AssignmentPattern' && parent.left === node) return;
    if (parent.type === 'ArrayPattern' || parent.type === 'RestElement') return;
    used.push(node);
  });
  return used;
}

function lint(file, text) {
  const problems = [];
  const say = (pos, message) => {
    const line = text.slice(0, pos).split('\n').length;
    problems.push(`${path.basename(file)}:${line}: ${message}`);
  };
  const filled = text.replace(/\$\{[a-z_]+\}/g, '');
  try {
    new vm.Script(filled, { filename: file });
  } catch (e) {
    problems.push(`${path.basename(file)}: ${e.message}`);
    return problems;
  }
  const comments = [];
  const ast = acorn.parse(filled, {
    ecmaVersion: 2022,
    sourceType: 'script',
    locations: false,
    onInsertedSemicolon: (pos) => say(pos, 'statement ends at a line break without ";"'),
    onComment: comments,
  });
  const firstStatement = ast.body.length ? ast.body[0].start : filled.length;
  for (const c of comments) {
    const problem = commentProblem(file, filled, c.type === 'Block', c.start, firstStatement);
    if (problem) say(c.start, problem);
  }
  const declared = declaredNames(ast);
  const external = new Set(fromThePage[path.basename(file)] || []);
  const reported = new Set();
  for (const node of usedNames(ast)) {
    if (declared.has(node.name) || browserNames.has(node.name) || external.has(node.name)) continue;
    if (reported.has(node.name)) continue;
    reported.add(node.name);
    say(node.start, `"${node.name}" is declared nowhere in the script`);
  }
  return problems;
}

const dir = process.argv[2];
const files = fs.readdirSync(dir).filter((f) => f.endsWith('.js')).sort();
if (files.length === 0) {
  console.log(`no scripts in ${dir}`);
  process.exit(1);
}
let problems = [];
for (const f of files) {
  const file = path.join(dir, f);
  problems = problems.concat(lint(file, fs.readFileSync(file, 'utf8')));
}
problems.forEach((p) => console.log(p));
console.log(`${files.length} scripts, ${problems.length} findings`);
process.exit(problems.length ? 1 : 0);

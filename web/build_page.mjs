// Writes the one-file page: the template with the script, the WebAssembly module and the
// SIMD run fill (base64; run_fill.wasm beside the module), the icons (PNG data URLs;
// icon-16.png and icon-32.png beside the module) and the words of every language (from
// the words file the build writes from po/) inlined, and the sizes the module exports
// filled in.
// With --site, also a folder for a static web host: the same page as index.html with a
// web app manifest, the app icons (icon-192.png, icon-512.png, icon-maskable-512.png
// beside the module) and a service worker that keeps them for offline use.
// Usage: node build_page.mjs MODULE.wasm OUTPUT.html --version X.Y.Z --words WORDS.json
//   [--site DIR] [--expose GLOBAL]
// The version is the project's, which the page and the manifests carry.
// With --expose, the running page is also kept in globalThis[GLOBAL] (benchmark pages only).
import { createHash } from 'node:crypto';
import { copyFileSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { parseArgs } from 'node:util';

const MAX_PAGE_BYTES = 64 * 1024;
const ALLOWED_IMPORTS = ['env.TickCount'];
const VERSION_DIGITS = 16;
const here = new URL('.', import.meta.url);

function fail(message) {
  console.error(`build_page: ${message}`);
  process.exit(1);
}

const usage = 'usage: node build_page.mjs MODULE.wasm OUTPUT.html --version X.Y.Z ' +
  '--words WORDS.json [--site DIR] [--expose GLOBAL]';
let args;
try {
  args = parseArgs({
    allowPositionals: true,
    options: { site: { type: 'string' }, expose: { type: 'string' }, version: { type: 'string' },
      words: { type: 'string' } },
  });
} catch (error) {
  fail(`${error.message}\n${usage}`);
}
const [wasmPath, outputPath] = args.positionals;
const { version } = args.values;
const versionGiven = /^\d+\.\d+\.\d+$/.test(version ?? '');
if (!wasmPath || !outputPath || args.positionals.length > 2 || !versionGiven ||
    !args.values.words) {
  fail(usage);
}
const beside = (name) => new URL(name, pathToFileURL(wasmPath));

const escape = (text) => text.replaceAll('&', '&amp;').replaceAll('<', '&lt;')
  .replaceAll('"', '&quot;');
// Every language's words, English first, in the order the module picks a language by.
const words = JSON.parse(readFileSync(args.values.words, 'utf8'));
const manifestName = ({ language }) => `manifest.${language}.webmanifest`;

// The icons were converted to PNG beside the module.
function iconUrl(size) {
  const png = readFileSync(beside(`icon-${size}.png`));
  return `data:image/png;base64,${png.toString('base64')}`;
}

const wasm = readFileSync(wasmPath);
// The layout and the box's tooltip, as the module has them.
const layout = new WebAssembly.Instance(new WebAssembly.Module(wasm),
  { env: { TickCount: () => 0 } }).exports;
const toolTip = String.fromCharCode(...new Uint16Array(layout.memory.buffer,
  layout.box_tool_tip(), layout.box_tool_tip_length()));
const sizes = {
  ClientWidth: layout.client_width(), ClientHeight: layout.client_height(),
  BoxLeft: layout.box_left(), BoxTop: layout.box_top(), BoxWidth: layout.box_width(),
  BoxHeight: layout.box_height(), BoxPoints: layout.box_points(),
  BoxBottomGap: layout.client_height() - layout.box_top() - layout.box_height(),
};
const importsOf = (module) => WebAssembly.Module.imports(new WebAssembly.Module(module)).map(
  (i) => `${i.module}.${i.name}`,
);
const imports = importsOf(wasm);
const unexpected = imports.filter((name) => !ALLOWED_IMPORTS.includes(name));
if (unexpected.length > 0) {
  fail(`the module must import only the clock, but it also imports ${unexpected.join(', ')}`);
}

const runFill = readFileSync(beside('run_fill.wasm'));
if (`${importsOf(runFill)}` !== 'env.memory') {
  fail('the run fill must import only the main module\'s memory');
}
// What the script needs of each language: its tag and direction, its words, its manifest.
const said = words.map((language) => ({ tag: language.tag, Direction: language.Direction,
  FieldName: language.FieldName, BoxName: language.BoxName, Howto: language.Howto,
  FullScreen: language.FullScreen, manifest: manifestName(language) }));
const start = `startPelmiro('${wasm.toString('base64')}', document,` +
  ` '${runFill.toString('base64')}', ${JSON.stringify(said)})`;
const { expose } = args.values;
const boot = expose ? `globalThis.${expose} = await ${start};` : `${start};`;
const script = `${readFileSync(new URL('pelmiro.js', here), 'utf8')}${boot}`;
const [english] = words;
const template = readFileSync(new URL('pelmiro.html', here), 'utf8')
  .replace('{{VERSION}}', version)
  .replace('{{BoxToolTip}}', escape(toolTip))
  .replace(/\{\{(\w+)\}\}/g, (whole, name) => String(sizes[name] ?? (english[name] !== undefined
    ? escape(english[name]) : whole)))
  .replace('{{ICON_16}}', () => iconUrl(16))
  .replace('{{ICON_32}}', () => iconUrl(32))
  .replace('{{SCRIPT}}', () => script);

// The page's policy lets it load nothing: it runs only its own inline script and style,
// named by their hashes, and compiles only the WebAssembly it carries. The modules need
// 'wasm-unsafe-eval' alone; 'unsafe-eval', which engines without it (Safari before 16)
// would want instead, also runs any string injected into the page as script, so those
// engines show no fireworks rather than the page going unguarded. The site also takes
// its manifest, the manifest's icons and its service worker from its own origin.
const INLINE = /<(script|style)\b[^>]*>([^]*?)<\/\1>/g;
const POLICY = /<meta http-equiv="Content-Security-Policy" content="([^"]*)">/;
const sha256 = (text) => `'sha256-${createHash('sha256').update(text).digest('base64')}'`;
const hashesOf = (page, tag) =>
  [...page.matchAll(INLINE)].filter((block) => block[1] === tag).map((block) => sha256(block[2]));
function withPolicy(page, site) {
  const policy = [
    "default-src 'none'",
    `script-src ${hashesOf(page, 'script').join(' ')} 'wasm-unsafe-eval'`,
    `style-src ${hashesOf(page, 'style').join(' ')}`,
    `img-src ${site ? "'self' " : ''}data:`,
    ...(site ? ["manifest-src 'self'", "worker-src 'self'"] : []),
    "base-uri 'none'",
    "form-action 'none'",
  ].join('; ');
  return page.replace('{{POLICY}}', policy);
}

// Reads back what was written: the policy comes before any script or style and names each
// inline one, allows nothing unsafe, and no attribute carries a style or a handler, which
// it would block.
function checkPolicy(path) {
  const page = readFileSync(path, 'utf8');
  const meta = POLICY.exec(page);
  if (!meta || meta.index > page.search(/<(script|style)\b/) || /'unsafe-/.test(meta[1])) {
    fail(`${path} must start with a policy that allows nothing unsafe`);
  }
  const sources = Object.fromEntries(meta[1].split('; ').map((d) => [d.split(' ')[0], d]));
  for (const [, tag, text] of page.matchAll(INLINE)) {
    if (!sources[`${tag}-src`]?.split(' ').includes(sha256(text))) {
      fail(`${path} has an inline ${tag} whose hash its policy lacks`);
    }
  }
  if (/<[a-z][^>]*\s(style|on[a-z]+)=/i.test(page.replace(INLINE, ''))) {
    fail(`${path} has a style or handler attribute, which its policy blocks`);
  }
}

function writePage(path, page) {
  const unfilled = /\{\{\w+\}\}/.exec(page);
  if (unfilled) {
    fail(`${path} would keep ${unfilled[0]} unfilled`);
  }
  const size = Buffer.byteLength(page);
  if (size > MAX_PAGE_BYTES) {
    fail(`${path} would be ${size} bytes, more than ${MAX_PAGE_BYTES}`);
  }
  writeFileSync(path, page);
  if (path.endsWith('.html')) {
    checkPolicy(path);
  }
}

// The one-file page links nothing, so it also works from file:// and from a plain host.
writePage(outputPath, withPolicy(template.replace('{{SITE}}', ''), false));

if (args.values.site) {
  const site = args.values.site;
  // A manifest holds one language, so there is one for each, all for the same app; the
  // page links the English one, and the script the one of the reader's language.
  const ICONS = [
    { src: 'icon-192.png', sizes: '192x192', type: 'image/png' },
    { src: 'icon-512.png', sizes: '512x512', type: 'image/png' },
    { src: 'icon-maskable-512.png', sizes: '512x512', type: 'image/png', purpose: 'maskable' },
  ];
  const manifest = (language) => ({
    id: './',
    name: 'Pelmiro',
    short_name: 'Pelmiro',
    version,
    description: language.AppDescription,
    lang: language.tag,
    dir: language.Direction,
    start_url: './',
    scope: './',
    // Installed, Pelmiro fills the screen; where it cannot, its own window.
    display_override: ['fullscreen', 'standalone'],
    display: 'fullscreen',
    background_color: '#000000',
    theme_color: '#000000',
    icons: ICONS,
  });
  const files = {
    'index.html': withPolicy(template.replace(
      '{{SITE}}',
      `<link rel="manifest" href="${manifestName(english)}">\n` +
        "<script>navigator.serviceWorker?.register('sw.js');</script>\n",
    ), true),
  };
  for (const language of words) {
    files[manifestName(language)] = `${JSON.stringify(manifest(language), null, 2)}\n`;
  }
  mkdirSync(site, { recursive: true });
  for (const [name, text] of Object.entries(files)) {
    writePage(join(site, name), text);
  }
  const hash = createHash('sha256');
  for (const { src } of ICONS) {
    copyFileSync(beside(src), join(site, src));
    hash.update(readFileSync(beside(src)));
  }
  for (const text of Object.values(files)) {
    hash.update(text);
  }
  const cached = ['./', ...words.map(manifestName),
    ...ICONS.map(({ src }) => src)];
  const worker = readFileSync(new URL('sw.js', here), 'utf8')
    .replace('{{VERSION}}', hash.digest('hex').slice(0, VERSION_DIGITS))
    .replace('{{FILES}}', JSON.stringify(cached));
  writeFileSync(join(site, 'sw.js'), worker);
}

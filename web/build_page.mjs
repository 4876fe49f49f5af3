// Writes the one-file page: the template with the script, the WebAssembly module (base64)
// and the icons (PNG data URLs; icon-16.png and icon-32.png beside the module) inlined.
// Usage: node build_page.mjs MODULE.wasm OUTPUT.html [GLOBAL]
// With GLOBAL, the running page is also kept in globalThis[GLOBAL] (benchmark pages only).
import { readFileSync, writeFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';

const MAX_PAGE_BYTES = 64 * 1024;
const ALLOWED_IMPORTS = ['env.TickCount'];
const here = new URL('.', import.meta.url);

function fail(message) {
  console.error(`build_page: ${message}`);
  process.exit(1);
}

// The icons were converted to PNG beside the module.
function iconUrl(size) {
  const png = readFileSync(new URL(`icon-${size}.png`, pathToFileURL(wasmPath)));
  return `data:image/png;base64,${png.toString('base64')}`;
}

const [wasmPath, outputPath, globalName] = process.argv.slice(2);
if (!wasmPath || !outputPath) {
  fail('usage: node build_page.mjs MODULE.wasm OUTPUT.html [GLOBAL]');
}
const wasm = readFileSync(wasmPath);
const imports = WebAssembly.Module.imports(new WebAssembly.Module(wasm)).map(
  (i) => `${i.module}.${i.name}`,
);
const unexpected = imports.filter((name) => !ALLOWED_IMPORTS.includes(name));
if (unexpected.length > 0) {
  fail(`the module must import only the clock, but it also imports ${unexpected.join(', ')}`);
}

const start = `startPelmiro('${wasm.toString('base64')}', document)`;
const boot = globalName ? `globalThis.${globalName} = await ${start};` : `${start};`;
const script = `${readFileSync(new URL('pelmiro.js', here), 'utf8')}${boot}`;
const page = readFileSync(new URL('pelmiro.html', here), 'utf8')
  .replace('{{ICON_16}}', () => iconUrl(16))
  .replace('{{ICON_32}}', () => iconUrl(32))
  .replace('{{SCRIPT}}', () => script);
const size = Buffer.byteLength(page);
if (size > MAX_PAGE_BYTES) {
  fail(`${outputPath} would be ${size} bytes, more than ${MAX_PAGE_BYTES}`);
}
writeFileSync(outputPath, page);

// Writes the one-file page: the template with the script, the WebAssembly module (base64)
// and the icons (PNG data URLs made from the XPM artwork) inlined.
// Usage: node build_page.mjs MODULE.wasm OUTPUT.html [GLOBAL]
// With GLOBAL, the running page is also kept in globalThis[GLOBAL] (benchmark pages only).
import { readFileSync, writeFileSync } from 'node:fs';
import { deflateSync } from 'node:zlib';

const MAX_PAGE_BYTES = 64 * 1024;
const ALLOWED_IMPORTS = ['env.TickCount'];
const here = new URL('.', import.meta.url);
const assets = new URL('../assets/', import.meta.url);

function fail(message) {
  console.error(`build_page: ${message}`);
  process.exit(1);
}

// An XPM image as rows of RGBA bytes.
function readXpm(text) {
  const strings = [...text.matchAll(/"([^"]*)"/g)].map((m) => m[1]);
  const [width, height, colours, perPixel] = strings[0].trim().split(/\s+/).map(Number);
  const palette = new Map();
  for (const line of strings.slice(1, 1 + colours)) {
    const value = line.slice(perPixel).trim().split(/\s+/)[1];
    const rgb = /^#[0-9a-fA-F]{6}$/.test(value) ? value : null;
    const rgba = rgb ? [...Buffer.from(rgb.slice(1), 'hex'), 255] : [0, 0, 0, 0];
    palette.set(line.slice(0, perPixel), rgba);
  }
  const rows = strings.slice(1 + colours, 1 + colours + height).map((row) => {
    const bytes = [];
    for (let x = 0; x < width; x++) {
      bytes.push(...palette.get(row.slice(x * perPixel, (x + 1) * perPixel)));
    }
    return bytes;
  });
  return { width, height, rows };
}

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) {
    c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  }
  return c >>> 0;
});
function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) {
    c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  }
  return (c ^ 0xffffffff) >>> 0;
}

function pngChunk(type, data) {
  const body = Buffer.concat([Buffer.from(type, 'ascii'), data]);
  const length = Buffer.alloc(4);
  length.writeUInt32BE(data.length);
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(body));
  return Buffer.concat([length, body, crc]);
}

function png({ width, height, rows }) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 6, 0, 0, 0], 8); // 8 bits per channel, RGBA, no interlace
  const scanlines = Buffer.from(rows.flatMap((row) => [0, ...row])); // filter "none"
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    pngChunk('IHDR', header),
    pngChunk('IDAT', deflateSync(scanlines)),
    pngChunk('IEND', Buffer.alloc(0)),
  ]);
}

function iconUrl(size) {
  const xpm = readFileSync(new URL(`pelmiro-${size}.xpm`, assets), 'utf8');
  return `data:image/png;base64,${png(readXpm(xpm)).toString('base64')}`;
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

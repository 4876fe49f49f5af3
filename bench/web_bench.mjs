// The page in headless Chromium: one full tick (model, drawing, putImageData) with every
// spark and rocket in the air at 100 px dots, against the same dots drawn with canvas 2D
// arc() and fill(), in the same page and run; then navigation to the first frame.
// Usage: node web_bench.mjs BENCH_PAGE.html PAGE.html
// Prints "name value" lines: web_tick_ms, web_arc_ms, web_speedup, web_first_frame_s.
import { pathToFileURL } from 'node:url';
import { countFrames, launchChromium } from '../tests/web/browser.mjs';

const SAMPLES = 41;
const TICKS_PER_SAMPLE = 10; // the page's clock has 0.1 ms steps: time ten ticks at once
const NAVIGATIONS = 7;
const DOT_SIZE = 100;
const MS_PER_S = 1000;

const [benchPage, page] = process.argv.slice(2).map((path) => pathToFileURL(path).href);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

function measureTicks(samples, ticksPerSample, dotSize) {
  const DOT_COUNT = 1011; // 1001 sparks and 10 rockets
  const TWIPS_PER_PIXEL = 15;
  const { wasm, frame, context } = globalThis.pelmiro;
  const canvas = context.canvas;
  wasm.apply_dot_size(dotSize);
  const radius = dotSize / 2;
  const flush = () => context.getImageData(0, 0, 1, 1); // waits for the drawing to be done
  const ticks = [];
  const arcs = [];
  for (let s = 0; s < samples; s++) {
    wasm.bench_fill();
    const fields = new Float32Array(wasm.memory.buffer, wasm.bench_dots(), DOT_COUNT * 3);
    const dots = [];
    for (let i = 0; i < fields.length; i += 3) {
      const color = fields[i + 2];
      const rgb = [color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff];
      dots.push([fields[i] / TWIPS_PER_PIXEL, fields[i + 1] / TWIPS_PER_PIXEL, `rgb(${rgb})`]);
    }
    let start = performance.now();
    for (let t = 0; t < ticksPerSample; t++) {
      frame();
      flush();
    }
    ticks.push((performance.now() - start) / ticksPerSample);
    start = performance.now();
    for (let t = 0; t < ticksPerSample; t++) {
      context.fillStyle = '#000';
      context.fillRect(0, 0, canvas.width, canvas.height);
      for (const [x, y, style] of dots) {
        context.fillStyle = style;
        context.beginPath();
        context.arc(x, y, radius, 0, 2 * Math.PI);
        context.fill();
      }
      flush();
    }
    arcs.push((performance.now() - start) / ticksPerSample);
  }
  return { ticks, arcs };
}

const browser = await launchChromium();
try {
  const tab = await browser.newPage();
  await tab.goto(benchPage);
  await tab.waitForFunction(() => globalThis.pelmiro);
  const { ticks, arcs } = await tab.evaluate(measureTicks, SAMPLES, TICKS_PER_SAMPLE, DOT_SIZE);
  const tick = median(ticks);
  const arc = median(arcs);
  await tab.close();

  const firstFrames = [];
  for (let i = 0; i < NAVIGATIONS; i++) {
    const fresh = await browser.newPage();
    await fresh.evaluateOnNewDocument(countFrames);
    await fresh.goto(page);
    await fresh.waitForFunction(() => globalThis.frames >= 1);
    firstFrames.push((await fresh.evaluate(() => globalThis.firstFrameMs)) / MS_PER_S);
    await fresh.close();
  }
  console.log(`web_tick_ms ${tick}`);
  console.log(`web_arc_ms ${arc}`);
  console.log(`web_speedup ${arc / tick}`);
  console.log(`web_first_frame_s ${median(firstFrames)}`);
} finally {
  await browser.close();
}

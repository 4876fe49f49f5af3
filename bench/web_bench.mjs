// The page in headless Chromium on a 1280 x 800 desktop, where the field is at full size:
// one full tick (model, drawing, putImageData) with every spark and rocket in the air at
// 100 px dots, against the same dots drawn with canvas 2D arc() and fill(), in the same
// page and run, and the same tick at pixel ratio 3; the same tick in full screen on a 4K
// screen (1920 x 1080 CSS pixels at ratio 2), at 100 px and 1 px dots; navigation to the
// first frame; and
// what the page costs while nothing is launched: its renderer's main-thread task time
// over 10 s, at pixel ratios 1 and 3.
// Usage: node web_bench.mjs BENCH_PAGE.html PAGE.html
//        node web_bench.mjs --idle PAGE.html (the idle figures alone, say of an older build)
// Prints "name value" lines: web_tick_ms, web_arc_ms, web_speedup, web_tick_ratio3_ms,
// web_tick_4k_ms, web_tick_4k_1px_ms, web_first_frame_s, web_idle_ratio1_pct,
// web_idle_ratio3_pct.
import { setTimeout as sleep } from 'node:timers/promises';
import { pathToFileURL } from 'node:url';
import { countFrames, launchChromium } from '../tests/web/browser.mjs';

const SAMPLES = 41;
const TICKS_PER_SAMPLE = 10; // the page's clock has 0.1 ms steps: time ten ticks at once
const NAVIGATIONS = 7;
const DOT_SIZE = 100;
const MS_PER_S = 1000;
const DESKTOP = { width: 1280, height: 800 };
const HIGH_RATIO = 3;
const SCREEN_4K = { width: 1920, height: 1080, deviceScaleFactor: 2 }; // 3840 x 2160 device px
const SAMPLES_4K = 15;
const TICKS_PER_SAMPLE_4K = 4;
const IDLE_MS = 10 * MS_PER_S;
const SETTLE_MS = MS_PER_S; // past loading, before the idle count starts
const PERCENT = 100;

const idleOnly = process.argv[2] === '--idle';
const [benchPage, page] = process.argv.slice(idleOnly ? 3 : 2)
  .map((path) => pathToFileURL(path).href);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

async function openAt(browser, url, deviceScaleFactor) {
  const tab = await browser.newPage();
  await tab.setViewport({ ...DESKTOP, deviceScaleFactor });
  await tab.goto(url);
  return tab;
}

// Per cent of one core the renderer's main thread spends on tasks while the page idles.
async function idlePercent(browser, url, deviceScaleFactor) {
  const tab = await openAt(browser, url, deviceScaleFactor);
  await sleep(SETTLE_MS);
  const cdp = await tab.createCDPSession();
  await cdp.send('Performance.enable');
  const taskSeconds = async () => (await cdp.send('Performance.getMetrics')).metrics
    .find(({ name }) => name === 'TaskDuration').value;
  const before = await taskSeconds();
  const start = performance.now();
  await sleep(IDLE_MS);
  const busy = (await taskSeconds()) - before;
  const seconds = (performance.now() - start) / MS_PER_S;
  await tab.close();
  return (PERCENT * busy) / seconds;
}

async function printIdle(browser, url) {
  console.log(`web_idle_ratio1_pct ${await idlePercent(browser, url, 1)}`);
  console.log(`web_idle_ratio3_pct ${await idlePercent(browser, url, HIGH_RATIO)}`);
}

function measureTicks(samples, ticksPerSample, dotSize, withArcs) {
  const DOT_COUNT = 1011; // 1001 sparks and 10 rockets
  const TWIPS_PER_PIXEL = 15;
  const { wasm, frame, context } = globalThis.pelmiro;
  const canvas = context.canvas;
  wasm.apply_dot_size(dotSize);
  const radius = dotSize / 2;
  const flush = () => context.getImageData(0, 0, 1, 1); // waits for the drawing to be done
  // An unchanged picture is not drawn at all, so every timed tick follows a fresh fill,
  // each a pixel away from the one before; the fills are timed alone and taken off.
  let puts = 0;
  const put = context.putImageData.bind(context);
  context.putImageData = (...args) => {
    puts++;
    return put(...args);
  };
  const ticks = [];
  const arcs = [];
  for (let s = 0; s < samples; s++) {
    let start = performance.now();
    for (let t = 0; t < ticksPerSample; t++) {
      wasm.bench_fill();
    }
    const fills = performance.now() - start;
    puts = 0;
    start = performance.now();
    for (let t = 0; t < ticksPerSample; t++) {
      wasm.bench_fill();
      frame();
      flush();
    }
    ticks.push((performance.now() - start - fills) / ticksPerSample);
    if (puts !== ticksPerSample) {
      throw new Error(`only ${puts} of ${ticksPerSample} timed ticks drew their picture`);
    }
    if (!withArcs) {
      continue;
    }
    const fields = new Float32Array(wasm.memory.buffer, wasm.bench_dots(), DOT_COUNT * 3);
    const dots = [];
    for (let i = 0; i < fields.length; i += 3) {
      const color = fields[i + 2];
      const rgb = [color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff];
      dots.push([fields[i] / TWIPS_PER_PIXEL, fields[i + 1] / TWIPS_PER_PIXEL, `rgb(${rgb})`]);
    }
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

// The tick's median in full screen on a 4K screen, at each dot size.
async function fullScreenTicks(browser, url, dotSizes) {
  const tab = await browser.newPage();
  await tab.setViewport(SCREEN_4K);
  await tab.goto(url);
  await tab.waitForFunction(() => globalThis.pelmiro);
  await tab.click('#Fullscreen');
  const device = [SCREEN_4K.width, SCREEN_4K.height].map((n) => n * SCREEN_4K.deviceScaleFactor);
  await tab.waitForFunction((w, h) => {
    const { canvas } = globalThis.pelmiro.context;
    return canvas.width === w && canvas.height === h;
  }, {}, ...device);
  const medians = [];
  for (const size of dotSizes) {
    const { ticks } = await tab.evaluate(measureTicks, SAMPLES_4K, TICKS_PER_SAMPLE_4K, size, false);
    medians.push(median(ticks));
  }
  await tab.close();
  return medians;
}

const browser = await launchChromium();
try {
  if (idleOnly) {
    await printIdle(browser, benchPage);
  } else {
    const tab = await openAt(browser, benchPage, 1);
    await tab.waitForFunction(() => globalThis.pelmiro);
    const { ticks, arcs } = await tab.evaluate(measureTicks, SAMPLES, TICKS_PER_SAMPLE,
      DOT_SIZE, true);
    await tab.close();
    const sharp = await openAt(browser, benchPage, HIGH_RATIO);
    await sharp.waitForFunction(() => globalThis.pelmiro);
    const sharpTicks = (await sharp.evaluate(measureTicks, SAMPLES, TICKS_PER_SAMPLE, DOT_SIZE,
      false)).ticks;
    await sharp.close();
    const [screenTick, screenTickSmall] = await fullScreenTicks(browser, benchPage, [DOT_SIZE, 1]);

    const firstFrames = [];
    for (let i = 0; i < NAVIGATIONS; i++) {
      const fresh = await browser.newPage();
      await fresh.evaluateOnNewDocument(countFrames);
      await fresh.goto(page);
      await fresh.waitForFunction(() => globalThis.frames >= 1);
      firstFrames.push((await fresh.evaluate(() => globalThis.firstFrameMs)) / MS_PER_S);
      await fresh.close();
    }
    console.log(`web_tick_ms ${median(ticks)}`);
    console.log(`web_arc_ms ${median(arcs)}`);
    console.log(`web_speedup ${median(arcs) / median(ticks)}`);
    console.log(`web_tick_ratio3_ms ${median(sharpTicks)}`);
    console.log(`web_tick_4k_ms ${screenTick}`);
    console.log(`web_tick_4k_1px_ms ${screenTickSmall}`);
    console.log(`web_first_frame_s ${median(firstFrames)}`);
    await printIdle(browser, page);
  }
} finally {
  await browser.close();
}

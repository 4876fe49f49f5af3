// Headless Chromium around the built page, shared by the test and the benchmark.
import { fileURLToPath, pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

export const PAGE = pathToFileURL(
  fileURLToPath(new URL('../../build/web/pelmiro.html', import.meta.url)),
).href;

export function launchChromium() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    // root cannot use Chromium's sandbox; nothing but the local page is loaded.
    args: ['--no-sandbox', '--disable-dev-shm-usage'],
  });
}

// Counts the frames the page puts on its canvas, with the time of the first one, and the
// ticks of its timer, which put a frame only when the picture changed.
export function countFrames() {
  const put = CanvasRenderingContext2D.prototype.putImageData;
  const every = globalThis.setInterval;
  globalThis.frames = 0;
  globalThis.ticks = 0;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    globalThis.firstFrameMs ??= performance.now();
    globalThis.frames++;
    return put.apply(this, args);
  };
  globalThis.setInterval = (tick, ...rest) =>
    every(() => {
      tick();
      globalThis.ticks++;
    }, ...rest);
}

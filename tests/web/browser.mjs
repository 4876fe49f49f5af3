// The browser engines around the built page, shared by the test and the benchmark: headless
// Chromium, headless Firefox ESR over WebDriver BiDi (both through puppeteer), and WebKitGTK's
// MiniBrowser through its WebDriver, under a private Xvfb.
import { spawn, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { setTimeout as sleep } from 'node:timers/promises';
import { fileURLToPath, pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

export const PAGE = pathToFileURL(
  fileURLToPath(new URL('../../build/web/pelmiro.html', import.meta.url)),
).href;
export const ENGINES = (process.env.ENGINES ?? 'chromium firefox webkit').split(/[ ,]+/);

// app: an address to open as an app window, as an installed site opens (headless too).
export function launchChromium({ app } = {}) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    // root cannot use Chromium's sandbox; nothing but the local page is loaded.
    args: ['--no-sandbox', '--disable-dev-shm-usage', ...(app ? [`--app=${app}`] : [])],
  });
}

// languages: the reader's preferred languages, "ja,en".
function launchFirefox({ languages }) {
  return puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.FIREFOX ?? '/usr/bin/firefox-esr',
    headless: true,
    extraPrefsFirefox: languages && { 'intl.accept_languages': languages },
  });
}

// Counts the frames the page puts on its canvas, with the time of the first one, the ticks
// of its timer, which put a frame only when the picture changed, and what its policy refused.
export function countFrames() {
  const put = CanvasRenderingContext2D.prototype.putImageData;
  const every = globalThis.setInterval;
  globalThis.frames = 0;
  globalThis.ticks = 0;
  globalThis.refused = [];
  addEventListener('securitypolicyviolation', (event) => globalThis.refused.push(event.blockedURI));
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

const freePort = () => new Promise((resolve) => {
  const server = createServer().listen(0, '127.0.0.1', () => {
    const { port } = server.address();
    server.close(() => resolve(port));
  });
});

// WebDriver classic's names for the keys the rows press.
const KEY_VALUES = { Backspace: '\uE003', Tab: '\uE004', Enter: '\uE007', Shift: '\uE008',
  Control: '\uE009', Alt: '\uE00A', Escape: '\uE00C', ArrowUp: '\uE013' };
const NUMPAD_ZERO = 0xe01a;
const ELEMENT = 'element-6066-11e4-a52e-4f735466cecf';
const BUTTONS = { left: 0, middle: 1, right: 2 };
function keyValue(name) {
  const [, kind, digit] = /^(Digit|Numpad|Key)(\w)$/.exec(name) ?? [];
  if (kind === 'Numpad') {
    return String.fromCharCode(NUMPAD_ZERO + Number(digit));
  }
  return kind ? digit.toLowerCase() : KEY_VALUES[name] ?? name;
}

// A MiniBrowser window driven over WebDriver classic, with the few puppeteer calls the rows use.
class WebDriverPage {
  constructor(driver, session) {
    this.driver = driver;
    this.session = session;
    const keys = (actions) => this.perform({ type: 'key', id: 'keys', actions });
    this.keyboard = {
      down: (key) => keys([{ type: 'keyDown', value: keyValue(key) }]),
      up: (key) => keys([{ type: 'keyUp', value: keyValue(key) }]),
      press: (key) => keys(['keyDown', 'keyUp'].map((type) => ({ type, value: keyValue(key) }))),
      type: (text) => keys([...text].flatMap((value) =>
        ['keyDown', 'keyUp'].map((type) => ({ type, value })))),
    };
    this.accessibility = {
      snapshot: async ({ root }) => {
        const role = await this.command('GET', `/element/${root[ELEMENT]}/computedrole`);
        const name = await this.command('GET', `/element/${root[ELEMENT]}/computedlabel`);
        return { role: role === 'img' ? 'image' : role, name };
      },
    };
  }

  async command(method, path, body) {
    const response = await fetch(`${this.driver}/session/${this.session}${path}`,
      { method, body: body && JSON.stringify(body) });
    const { value } = await response.json();
    if (value?.error) {
      throw new Error(`WebDriver ${path}: ${value.message}`);
    }
    return value;
  }

  async perform(...actions) {
    await this.command('POST', '/actions', { actions });
    await this.command('DELETE', '/actions');
  }

  goto(url) {
    return this.command('POST', '/url', { url });
  }

  reload() {
    return this.command('POST', '/refresh', {});
  }

  close() {
    return this.goto('about:blank');
  }

  // A function called with the arguments; a string is the driver's function body (no eval).
  evaluate(code, ...args) {
    return typeof code === 'string' ? this.command('POST', '/execute/sync', { script: code, args })
      : this.call(code, args);
  }

  $eval(selector, code) {
    return this.call(`(s) => (${code})(document.querySelector(s))`, [selector]);
  }

  async call(source, args) {
    const script = `const done = arguments[arguments.length - 1];
      Promise.resolve().then(() => (${source})(...[...arguments].slice(0, -1)))
        .then((value) => done({ value }), (error) => done({ error: String(error) }));`;
    const { value, error } = await this.command('POST', '/execute/async', { script, args });
    if (error) {
      throw new Error(error);
    }
    return value;
  }

  $(selector) {
    return this.command('POST', '/element', { using: 'css selector', value: selector });
  }

  async waitForFunction(code, { timeout }, ...args) {
    const end = performance.now() + timeout;
    while (!(await this.evaluate(code, ...args))) {
      if (performance.now() > end) {
        throw new Error(`waited ${timeout} ms for ${code}`);
      }
      await sleep(20);
    }
  }

  // The window made as large as needed for the viewport; the pixel ratio is the process's.
  async setViewport({ width, height }) {
    for (let tries = 0; tries < 3; tries++) {
      const inner = await this.evaluate(() => [innerWidth, innerHeight]);
      if (inner[0] === width && inner[1] === height) {
        return;
      }
      const rect = await this.command('GET', '/window/rect');
      await this.command('POST', '/window/rect',
        { width: width + rect.width - inner[0], height: height + rect.height - inner[1] });
      await this.waitForFunction((was) => `${[innerWidth, innerHeight]}` !== was,
        { timeout: 2000 }, `${inner}`).catch(() => {}); // the window may take a while
    }
    throw new Error(`MiniBrowser's window cannot show ${width} x ${height}`);
  }

  async pointer(pointerType, selector, presses, button = 0) {
    const origin = await this.$(selector);
    const press = ['pointerDown', 'pointerUp'].map((type) => ({ type, button }));
    await this.perform({ type: 'pointer', id: pointerType, parameters: { pointerType },
      actions: [{ type: 'pointerMove', origin, x: 0, y: 0 },
        ...Array.from({ length: presses }, () => press).flat()] });
  }

  click(selector, { button = 'left', count = 1 } = {}) {
    return this.pointer('mouse', selector, count, BUTTONS[button]);
  }

  tap(selector) {
    return this.pointer('touch', selector, 1);
  }
}

// The display every MiniBrowser of this run shows on, started on first use.
let display;
function startXvfb() {
  if (!display) {
    let number = 100 + Math.floor(Math.random() * 800);
    while (existsSync(`/tmp/.X${number}-lock`)) {
      number++;
    }
    const server = spawn('Xvfb', [`:${number}`, '-screen', '0', '1920x1200x24', '-nolisten',
      'tcp'], { stdio: 'ignore' });
    server.unref(); // ends with the test, not after it
    process.on('exit', () => server.kill());
    display = number;
  }
  return display;
}

// The process's locale is the only language WebKitGTK offers; built here if missing.
let locales;
function localeFor(tag) {
  const name = `${tag.replace('-', '_')}.UTF-8`;
  if (!locales) {
    locales = mkdtempSync(join(tmpdir(), 'pelmiro-locales-'));
    process.on('exit', () => rmSync(locales, { recursive: true, force: true }));
  }
  if (!existsSync(join(locales, name))) {
    spawnSync('localedef', ['-i', name.split('.')[0], '-f', 'UTF-8', join(locales, name)]);
  }
  return { LANG: name, LC_ALL: name, LOCPATH: locales };
}

// A WebKitWebDriver with its own environment and one MiniBrowser window for every page.
async function launchWebKit({ languages, simd = true }) {
  const port = await freePort();
  const env = { ...process.env, DISPLAY: `:${startXvfb()}`,
    ...(languages && localeFor(languages.split(',')[0])),
    ...(!simd && { JSC_useWasmSIMD: 'false' }) }; // an engine without SIMD, as older ones are
  while (!existsSync(`/tmp/.X11-unix/X${display}`)) {
    await sleep(50);
  }
  const driverProcess = spawn('WebKitWebDriver', [`--port=${port}`], { env, stdio: 'ignore' });
  process.on('exit', () => driverProcess.kill()); // and its MiniBrowser, should a row hang
  const driver = `http://127.0.0.1:${port}`;
  while (!(await fetch(`${driver}/status`).then((r) => r.ok, () => false))) {
    await sleep(50);
  }
  const binary = process.env.MINIBROWSER ??
    '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
  const capabilities = { browserName: 'MiniBrowser',
    'webkitgtk:browserOptions': { binary, args: ['--automation'] } };
  const response = await fetch(`${driver}/session`, { method: 'POST',
    body: JSON.stringify({ capabilities: { alwaysMatch: capabilities } }) });
  const session = (await response.json()).value.sessionId;
  // Every page is shown in the session's one window, which a closed page leaves blank.
  const page = new WebDriverPage(driver, session);
  return {
    newPage: () => page,
    close: () => page.command('DELETE', '').finally(() => driverProcess.kill()),
  };
}

export const launch = { chromium: launchChromium, firefox: launchFirefox, webkit: launchWebKit };

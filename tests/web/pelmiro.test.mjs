// The built one-file page in each browser engine, checked from its canvas pixels; and the
// site folder beside it, served from this machine. Every row runs in every engine, named
// "engine: row", unless that engine's driver cannot do what the row needs.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { readFile } from 'node:fs/promises';
import { createServer } from 'node:http';
import { createRequire } from 'node:module';
import { extname } from 'node:path';
import { after, test } from 'node:test';
import { countFrames, ENGINES, launch, launchChromium, PAGE } from './browser.mjs';

const SETTLE_FRAMES = 3; // a launched rocket is on screen within this many ticks
const [ALT, CTRL, SHIFT] = [1, 2, 8];
const MODIFIER_KEYS = [[ALT, 'Alt'], [CTRL, 'Control'], [SHIFT, 'Shift']];
const DESKTOP = { width: 1280, height: 800, hasTouch: true };
const BUILT = new URL('../../build/web/', import.meta.url);
// The layout as the page's module has it, and every language's words as the build wrote them.
const built = new WebAssembly.Instance(new WebAssembly.Module(readFileSync(
  new URL('pelmiro.wasm', BUILT))), { env: { TickCount: () => 0 } }).exports;
const FIELD = [built.client_width(), built.client_height()];
const BOX = [built.box_left(), built.box_top(), built.box_width(), built.box_height()];
const BOX_GAP = FIELD[1] - BOX[1]; // from the box's top to the field's bottom
const BOX_FONT_PX = (built.box_points() * 4) / 3; // 96 CSS pixels to 72 points
const WORDS = JSON.parse(readFileSync(new URL('po/words.json', BUILT), 'utf8'));
const TOOL_TIP = String.fromCharCode(...new Uint16Array(built.memory.buffer,
  built.box_tool_tip(), built.box_tool_tip_length()));
const NO_ZOOM_FONT_PX = 16; // a phone zooms the page when a box with a smaller font takes focus
const FIRST_ROCKET_X = 407.4; // where the first launch of every run rises, in field pixels
const SITE = new URL('site/', BUILT);
const AXE = createRequire(import.meta.url).resolve('axe-core/axe.min.js');
const CLICK_FIELD = 'a click on the field';
const JAPANESE = /[\u3040-\u30ff]/; // kana

// What an engine's driver cannot do; a row that needs it is skipped there, with the reason.
const LAYOUT = 'WebDriver derives a key\'s code from its character, so no "&" on Digit1';
const REPEAT = 'WebDriver cannot mark a key press as an auto-repeat';
const APP = 'only Chromium opens a site in an app window (--app)';
const LIMITS = {
  chromium: { noSimd: 'Chromium cannot be started without WebAssembly SIMD' },
  firefox: { layout: LAYOUT, repeat: REPEAT, app: APP, one: 'Chromium reads every language',
    noSimd: 'Firefox ESR keeps WebAssembly SIMD whatever its prefs say',
    roles: 'puppeteer reads the accessibility tree only over CDP' },
  webkit: { layout: LAYOUT, repeat: REPEAT, app: APP,
    ratio3: 'WebKitGTK\'s pixel ratio is GDK_SCALE, 1 or 2, and its window at least 447 px wide',
    ratioChange: 'WebKitGTK\'s pixel ratio is GDK_SCALE, fixed when it starts',
    hide: 'MiniBrowser\'s windows cannot be hidden under Xvfb without a window manager',
    taps: 'WebKitGTK\'s driver taps with mouse clicks, so quick taps make double-clicks',
    later: 'WebKitGTK offers one language, the process locale\'s',
    one: 'Chromium reads every language; the others read two of them',
    events: 'WebDriver classic reports no console messages, errors or requests' },
};
function row(name, needs, body) {
  for (const engine of ENGINES) {
    const skip = needs.map((need) => LIMITS[engine][need]).find(Boolean) ?? false;
    test(`${engine}: ${name}`, { skip }, () => body(engine));
  }
}

const browsers = new Map(); // by engine and what it is started with, each started on first use
const servers = [];
after(async () => {
  for (const server of servers) {
    server.close();
    server.closeAllConnections();
  }
  await Promise.all([...browsers.values()].map(async (browser) => (await browser).close()));
});
function browserFor(engine, settings = {}) {
  const key = `${engine} ${engine === 'chromium' ? '' : JSON.stringify(settings)}`;
  if (!browsers.has(key)) {
    browsers.set(key, launch[engine](settings));
  }
  return browsers.get(key);
}

// WebKit's driver runs no script before the page's own, so it gets a served copy of the page
// with the frame counter put first.
let servedPage;
const leaks = { chromium: [], firefox: [] }; // console messages, page errors and other requests

// The page in a new tab; languages is the reader's list of preferred languages, simd false
// for an engine without WebAssembly SIMD.
async function openPage(engine, { viewport = DESKTOP, url = PAGE, languages, simd } = {}) {
  const page = await (await browserFor(engine, { languages, simd })).newPage();
  page.engine = engine;
  await page.setViewport(viewport);
  if (languages && engine === 'chromium') {
    const userAgent = await page.browser().userAgent();
    const cdp = await page.createCDPSession();
    await cdp.send('Emulation.setUserAgentOverride', { userAgent, acceptLanguage: languages });
  }
  if (page.evaluateOnNewDocument) {
    const ownFile = (address) => address.startsWith('data:') ||
      (url === PAGE ? address === PAGE : address.startsWith(url));
    page.on('console', (message) => leaks[engine].push(`console: ${message.text()}`));
    page.on('pageerror', (error) => leaks[engine].push(`error: ${error.message}`));
    page.on('request', (request) => ownFile(request.url()) || leaks[engine].push(request.url()));
    await page.evaluateOnNewDocument(countFrames);
  } else if (url === PAGE) {
    servedPage ??= serve(BUILT, true);
    url = `http://127.0.0.1:${(await servedPage).address().port}/pelmiro.html`;
  }
  await page.goto(url);
  await frames(page, 1);
  return page;
}

async function frames(page, count) {
  const [ticks, refused] = await page.evaluate(() => [globalThis.ticks, globalThis.refused]);
  assert.deepEqual(refused, [], 'the page\'s policy refuses nothing the page does');
  await page.waitForFunction((n) => globalThis.ticks >= n, { timeout: 5000 }, ticks + count);
}

// Green pixels as [x, y], row by row, read through a copy so the page's canvas is never read.
function greenPixels(page) {
  return page.evaluate(() => {
    const shown = document.getElementById('Form1');
    const copy = new OffscreenCanvas(shown.width, shown.height);
    const context = copy.getContext('2d', { willReadFrequently: true });
    context.drawImage(shown, 0, 0);
    const { data } = context.getImageData(0, 0, copy.width, copy.height);
    const green = [];
    for (let i = 0; i < data.length; i += 4) {
      if (data[i] === 0 && data[i + 1] === 255 && data[i + 2] === 0) {
        green.push([(i / 4) % copy.width, Math.floor(i / 4 / copy.width)]);
      }
    }
    return green;
  });
}

// With 1-pixel dots each rocket in flight is one green dot; idle rockets share the one at
// (0, 0), up to 3 device pixels wide.
const IDLE_CORNER = 3;
async function rocketColumns(page) {
  await frames(page, SETTLE_FRAMES);
  const flying = (await greenPixels(page)).filter(([x, y]) => x >= IDLE_CORNER || y >= IDLE_CORNER);
  return flying.map(([x]) => x).sort((a, b) => a - b);
}

// The dot size: the widest run of green pixels in a row.
async function widestGreenRun(page) {
  await frames(page, SETTLE_FRAMES);
  let [widest, run, last] = [0, 0, [-2, -1]];
  for (const [x, y] of await greenPixels(page)) {
    run = y === last[1] && x === last[0] + 1 ? run + 1 : 1;
    widest = Math.max(widest, run);
    last = [x, y];
  }
  return widest;
}

async function pressKeys(page, keys) {
  if (page.engine !== 'chromium') {
    for (const { code, modifiers = 0 } of keys) {
      const held = MODIFIER_KEYS.filter(([bit]) => modifiers & bit).map(([, key]) => key);
      for (const key of held) {
        await page.keyboard.down(key);
      }
      await page.keyboard.press(code);
      for (const key of held.reverse()) {
        await page.keyboard.up(key);
      }
    }
    return;
  }
  const cdp = await page.createCDPSession();
  for (const { code, key = code.at(-1), modifiers = 0, autoRepeat = false } of keys) {
    const event = { code, key, modifiers, autoRepeat };
    await cdp.send('Input.dispatchKeyEvent', { type: 'keyDown', text: key, ...event });
    await cdp.send('Input.dispatchKeyEvent', { type: 'keyUp', ...event });
  }
}

const keys = (...list) => (page) => pressKeys(page, list);

// Each screen shows the whole field and box, centred, never scrolled and never above full
// size, a device pixel for each canvas pixel; and the first "1" rises at the desktop's x.
const screens = [
  ['a 1280 x 800 desktop', DESKTOP, keys({ code: 'Digit1' }), true, []],
  ...[[390, 844], [844, 390], [320, 320]].map(([width, height]) => [
    `a ${width} x ${height} phone at pixel ratio 3`,
    { width, height, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
    (page) => page.tap('#Form1'), false, ['ratio3']]),
];
for (const [name, viewport, launchOne, fullSize, needs] of screens) {
  const title = `${name}: the field fits, centred, and the first "1" rises at x = 407.4`;
  row(title, needs, async (engine) => {
    const page = await openPage(engine, { viewport });
    const { field, box, backing, window, ratio, ...shown } = await page.evaluate(() => {
      const [canvas, box] = ['Form1', 'Number1'].map((id) => document.getElementById(id));
      const { scrollWidth, scrollHeight } = document.scrollingElement;
      return { field: canvas.getBoundingClientRect().toJSON(), backing: [canvas.width,
        canvas.height], box: box.getBoundingClientRect().toJSON(), ratio: devicePixelRatio,
      window: [innerWidth, innerHeight], scroll: [scrollWidth, scrollHeight],
      texts: [document.title, box.value], font: parseFloat(getComputedStyle(box).fontSize),
      boxScale: box.getBoundingClientRect().width / box.offsetWidth };
    });
    const scale = field.width / FIELD[0];
    assert.deepEqual(shown.scroll, window, 'nothing to scroll');
    assert.ok(field.top >= 0 && field.bottom <= window[1], 'the whole field is in sight');
    assert.ok(Math.abs(field.left + field.right - window[0]) <= 1, 'centred');
    assert.ok(Math.abs(field.height - FIELD[1] * scale) <= 1 / ratio, 'its shape kept');
    assert.equal(scale === 1, fullSize);
    assert.deepEqual(backing, [field.width, field.height].map((n) => Math.round(n * ratio)));
    const boxAt = [box.left - field.left, box.top - field.top, box.width, box.height];
    assert.deepEqual(boxAt.map((n) => Math.round(n / scale)), BOX);
    assert.ok(Math.abs(shown.font * shown.boxScale - BOX_FONT_PX * scale) < 0.1, 'font scaled');
    assert.ok(shown.font >= NO_ZOOM_FONT_PX, 'the box in focus does not zoom the page');
    assert.deepEqual(shown.texts, ['Pelmiro', '1']);
    assert.deepEqual(await greenPixels(page), [[0, 0]]);
    await launchOne(page);
    const columns = await rocketColumns(page); // a rocket's, of its dot a device pixel or two
    const x = (columns[0] + columns.at(-1) + 1) / 2 / (backing[0] / FIELD[0]);
    assert.ok(Math.abs(x - FIRST_ROCKET_X) < 1, `the first rocket rises at x = ${x}`);
    await page.close();
  });
}

// The Full screen button makes the field the whole viewport at the screen's pixel ratio,
// the box in its bottom-left corner at its usual size, nothing else showing; the first
// "1" rises at the same share of its width; leaving gives the field back as it was.
const fullScreens = screens.filter(([name]) => !name.includes('320'));
const layout = (page) => page.evaluate(() => {
  const [canvas, box, under] = ['Form1', 'Number1', 'Under'].map((id) => document.getElementById(id));
  const rect = (element) => ['left', 'top', 'width', 'height'].map((side) =>
    element.getBoundingClientRect()[side]);
  return { field: rect(canvas), box: rect(box), backing: [canvas.width, canvas.height], font:
    getComputedStyle(box).fontSize, window: [innerWidth, innerHeight], ratio: devicePixelRatio,
  under: under.checkVisibility() };
});
for (const [name, viewport, launchOne, , needs] of fullScreens) {
  row(`full screen on ${name}: the field fills it, and leaving gives it back`, needs,
    async (engine) => {
    const page = await openPage(engine, { viewport });
    const windowed = await layout(page);
    assert.ok(windowed.under, 'the line and the button show in a tab');
    await (viewport.isMobile ? page.tap('#Fullscreen') : page.click('#Fullscreen'));
    // The page takes in the new size when the browser tells it full screen has begun, which
    // may come some frames after the element is full screen.
    await page.waitForFunction(() => document.fullscreenElement &&
      document.getElementById('Form1').width === Math.round(innerWidth * devicePixelRatio),
    { timeout: 5000 });
    await frames(page, 2);
    const { field, box, backing, font, window: [width, height], ratio, under } = await layout(page);
    assert.deepEqual([field, backing, under], [[0, 0, width, height],
      [width * ratio, height * ratio], false]);
    assert.deepEqual([box, font], [[BOX[0], height - BOX_GAP, BOX[2], BOX[3]], `${BOX_FONT_PX}px`]);
    await launchOne(page);
    const columns = await rocketColumns(page);
    const x = (columns[0] + columns.at(-1) + 1) / 2 / backing[0];
    assert.ok(Math.abs(x - FIRST_ROCKET_X / FIELD[0]) < 1 / width, `rises at ${x} of the width`);
    await page.evaluate(() => document.exitFullscreen());
    await frames(page, 2);
    assert.deepEqual(await layout(page), windowed);
    await page.close();
  });
}

const digits = (prefix, from, to) =>
  Array.from({ length: to - from + 1 }, (_, i) => ({ code: `${prefix}${from + i}` }));
const click = (options) => (page) => page.click('#Form1', options);
const launchCases = [
  ['Digit1 to Digit9', keys(...digits('Digit', 1, 9)), 9],
  ['Digit0, keypad digits, letters', keys({ code: 'Digit0' }, ...digits('Numpad', 0, 9),
    { code: 'KeyA' }, { code: 'KeyQ' }), 0],
  ['Digit1 giving "&" (AZERTY)', keys({ code: 'Digit1', key: '&' }), 1, ['layout']],
  ['Digit1 with Shift, Ctrl, Alt', keys(...[SHIFT, CTRL, ALT].map((modifiers) =>
    ({ code: 'Digit1', key: '1', modifiers }))), 3],
  ['Digit2 and its auto-repeat', keys({ code: 'Digit2' }, { code: 'Digit2', autoRepeat: true }), 2,
    ['repeat']],
  ['left button', click({ button: 'left' }), 1],
  ['middle button', click({ button: 'middle' }), 1],
  ['right button', click({ button: 'right' }), 1],
  ['a double-click', click({ count: 2 }), 1],
  ['a touch tap', (page) => page.tap('#Form1'), 1],
  ['four quick touch taps', async (page) => {
    for (let tap = 0; tap < 4; tap++) await page.tap('#Form1');
  }, 4, ['taps']],
];
for (const [name, act, rockets, needs = []] of launchCases) {
  row(`${name} launches ${rockets}`, needs, async (engine) => {
    const page = await openPage(engine);
    await act(page);
    assert.equal((await rocketColumns(page)).length, rockets);
    await page.close();
  });
}

// Each case types into the box and commits; then Digit1 launches a rocket showing the size.
const paste = (page, text) =>
  page.evaluate((t) => document.execCommand('insertText', false, t), text);
const boxCases = [
  { typed: '150', shows: '100', size: 100 },
  { typed: '0', shows: '1', size: 1 },
  { typed: '-5', shows: '1', size: 1 },
  { typed: '2.5', shows: '2.5', size: 2 },
  { typed: '3.5', shows: '3.5', size: 4 },
  { typed: '', shows: '1', size: 1 },
  { typed: 'abc', shows: '1', size: 1 },
  { typed: 'nan', shows: '1', size: 1 },
  { typed: '1e309', shows: '1', size: 1 }, // the browser reads an overflow as no number
  { typed: '9'.repeat(10000), enter: paste, shows: '1', size: 1 },
  { typed: '6', commit: ['Tab'], shows: '6', size: 6 },
  { typed: '40', commit: ['Escape'], shows: '1', size: 1 },
  { keep: true, commit: ['ArrowUp', 'Escape'], shows: '2', size: 2 },
  { typed: '7', commit: [CLICK_FIELD], shows: '7', size: 7 },
];
for (const { typed = '', keep, enter, commit = ['Enter'], shows, size, needs = [] } of boxCases) {
  row(`box: ${JSON.stringify(typed.slice(0, 12))} then ${commit}`, needs, async (engine) => {
    const page = await openPage(engine);
    await page.click('#Number1');
    if (!keep) {
      await page.$eval('#Number1', (box) => box.select());
      await page.keyboard.press('Backspace');
    }
    await (enter ?? ((p, text) => p.keyboard.type(text)))(page, typed);
    assert.deepEqual(await rocketColumns(page), [], 'keys typed into the box launch nothing');
    for (const key of commit) {
      await (key === CLICK_FIELD ? click({})(page) : page.keyboard.press(key));
    }
    await pressKeys(page, [{ code: 'Digit1' }]); // the keys are back with the fireworks
    assert.equal(await page.$eval('#Number1', (box) => box.value), shows);
    assert.equal(await widestGreenRun(page), size);
    await page.close();
  });
}

row('device pixel ratio 1 then 2 while running: a 1000 x 884 backing store, shown',
  ['ratioChange'], async (engine) => {
  const page = await openPage(engine);
  await page.setViewport({ ...DESKTOP, deviceScaleFactor: 2 }); // no reload
  await frames(page, 2);
  const size = await page.$eval('#Form1', (canvas) => [canvas.width, canvas.height]);
  assert.deepEqual(size, [1000, 884]);
  assert.deepEqual(await greenPixels(page), [[0, 0]], 'the resized canvas shows the picture');
  await page.close();
});

// A rising rocket changes the picture at most once a tick, so it puts at most once a tick.
row('an idle tick puts nothing; a page shown again and a launch put again', ['hide'],
  async (engine) => {
  const page = await openPage(engine);
  const count = () => page.evaluate(() => [globalThis.frames, globalThis.ticks]);
  const [idle] = await count();
  await frames(page, SETTLE_FRAMES);
  assert.equal((await count())[0], idle);
  const other = await (await browserFor(engine)).newPage();
  await other.bringToFront(); // hides the page
  await page.bringToFront();
  await other.close();
  await frames(page, 1);
  const [shown, ticksBefore] = await count();
  assert.equal(shown, idle + 1);
  await pressKeys(page, [{ code: 'Digit1' }]);
  await frames(page, 1);
  const [launched, ticksAfter] = await count();
  assert.ok(launched > shown && launched - shown <= ticksAfter - ticksBefore,
    `${launched - shown} puts in ${ticksAfter - ticksBefore} ticks`);
  await page.close();
});

// The page speaks the reader's language, the first of theirs it has, in every language of
// po/LINGUAS, with nothing serious for axe-core: its line and button, in that language's
// direction, and what a screen reader calls the field and the box; the tooltip is the toy's
// own and stays. Tab reaches the box, then the full-screen button, each showing a ring.
// Firefox and WebKit read Japanese and Arabic, and a language the page lacks before one it has.
const BOX_ROLE = { webkit: 'textbox' }; // WebKitGTK's role for a number field
// WebKitGTK takes the language from a locale, so those rows name a country too.
const EVERY_ENGINE = { ja: 'ja-JP', ar: 'ar-EG' };
const languageCases = [
  ...WORDS.map((words) => [EVERY_ENGINE[words.language] ?? words.tag, words,
    EVERY_ENGINE[words.language] ? [] : ['one']]),
  ['sw,ja', WORDS.find(({ language }) => language === 'ja'), ['later']],
];
const focusRing = () =>
  [document.activeElement.id, getComputedStyle(document.activeElement).outlineStyle];
for (const [languages, words, needs] of languageCases) {
  const title = `a reader who prefers ${languages} reads the page in ${words.tag}`;
  row(title, needs, async (engine) => {
    const page = await openPage(engine, { languages });
    // Firefox's accessible names are read from the page, as its driver has no tree to read.
    const name = async (id) => (engine === 'firefox'
      ? page.$eval(id, (element) => ({ name: element.getAttribute('aria-label') ??
          element.textContent }))
      : page.accessibility.snapshot({ root: await page.$(id) }));
    const [field, box, button] = [await name('#Form1'), await name('#Number1'),
      await name('#Fullscreen')];
    await page.evaluate(await readFile(AXE, 'utf8'));
    await page.keyboard.press('Tab');
    const [shown, direction, howto, tooltip, serious, focused] = await page.evaluate(async () => [
      document.documentElement.lang, document.getElementById('Under').dir,
      document.getElementById('Howto').textContent, document.getElementById('Number1').title,
      (await globalThis.axe.run()).violations
        .filter(({ impact }) => impact === 'serious' || impact === 'critical').map(({ id }) => id),
      [document.activeElement.id, getComputedStyle(document.activeElement).outlineStyle]]);
    await page.keyboard.press('Tab');
    assert.deepEqual([shown, direction, howto, field.name, box.name, button.name, tooltip, serious,
      focused, await page.evaluate(focusRing)],
    [words.tag, words.Direction, words.Howto, words.FieldName, words.BoxName, words.FullScreen,
      TOOL_TIP, [], ['Number1', 'solid'], ['Fullscreen', 'solid']]);
    if (!LIMITS[engine].roles) {
      assert.deepEqual([field.role, box.role, button.role],
        ['image', BOX_ROLE[engine] ?? 'spinbutton', 'button']);
    }
    await page.close();
  });
}

// A folder served as a static host serves it; counted puts the frame counter into its pages.
async function serve(root, counted) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.png': 'image/png',
    '.webmanifest': 'application/manifest+json' };
  const server = createServer(({ url }, response) => {
    const file = new URL(`.${url.replace(/\/$/, '/index.html')}`, root);
    const type = types[extname(file.pathname)];
    const counter = `<head><script>(${countFrames})()</script>`;
    readFile(file).then((body) => response.writeHead(200, { 'content-type': type }).end(
      counted && type === 'text/html' ? String(body).replace('<head>', counter) : body),
    () => response.writeHead(404).end());
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  servers.push(server);
  return server;
}

// Only Chromium says whether it would install the site.
row('the site from 127.0.0.1 is installable, in Japanese too, and plays offline', [],
  async (engine) => {
  const server = await serve(SITE, engine === 'webkit');
  const url = `http://127.0.0.1:${server.address().port}/`;
  const page = await openPage(engine, { url, languages: 'ja-JP' });
  try {
    await page.waitForFunction(() => navigator.serviceWorker.controller, { timeout: 5000 });
    const manifest = await (await fetch(await page.evaluate(() => // the page may fetch nothing
      document.querySelector('link[rel=manifest]').href))).json();
    assert.deepEqual([manifest.lang, JAPANESE.test(manifest.description)], ['ja', true]);
    if (engine === 'chromium') {
      const cdp = await page.createCDPSession();
      const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
      assert.deepEqual(installabilityErrors, []);
    }
  } finally {
    server.closeAllConnections();
    server.close();
  }
  await page.reload();
  await frames(page, 1);
  await pressKeys(page, [{ code: 'Digit1' }]);
  assert.equal((await rocketColumns(page)).length, 1);
  await page.close();
});

// The installed site in a window of its own is filled as in full screen.
row('the site as an app in a standalone window: the field fills it', ['app'], async () => {
  const url = `http://127.0.0.1:${(await serve(SITE, true)).address().port}/`;
  browsers.set(url, launchChromium({ app: url })); // closed with the others
  const browser = await browsers.get(url);
  const page = await (await browser.waitForTarget((target) => target.url() === url)).page();
  await page.waitForFunction(() => globalThis.ticks > 0, { timeout: 5000 });
  await frames(page, 1);
  const { field, backing, window: [width, height], ratio, under } = await layout(page);
  assert.deepEqual([field, backing, under, await page.evaluate(() =>
    matchMedia('(display-mode: standalone)').matches)],
  [[0, 0, width, height], [width * ratio, height * ratio], false, true]);
});

row('the same keys at the same moments after a reload launch at the same places', [],
  async (engine) => {
  const page = await openPage(engine);
  const show = async () => {
    for (const code of ['Digit1', 'Digit4', 'Digit7']) {
      await frames(page, 2);
      await pressKeys(page, [{ code }]);
    }
    return rocketColumns(page);
  };
  const first = await show();
  await page.reload();
  await frames(page, 1);
  assert.equal(first.length, 3);
  assert.deepEqual(await show(), first);
  await page.close();
});

// Older engines, iOS Safari before 16.4 among them, lack WebAssembly SIMD.
const SIMD_MODULE = new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1,
  0, 10, 22, 1, 20, 0, 253, 12, ...new Array(16).fill(0), 11]); // () => v128.const 0
row('an engine without WebAssembly SIMD plays the page', ['noSimd'], async (engine) => {
  const page = await openPage(engine, { simd: false });
  const simd = await page.evaluate((bytes) => WebAssembly.validate(new Uint8Array(bytes)),
    [...SIMD_MODULE]);
  assert.equal(simd, false, 'this engine has no SIMD');
  await pressKeys(page, [{ code: 'Digit1' }]);
  assert.equal((await rocketColumns(page)).length, 1);
  await page.close();
});

// What a script slipped into the page might try, aimed at a server here: a fetch, an image,
// a script and eval, each refused and reported; the server is asked nothing, and the
// fireworks go on.
row('the policy refuses every load and eval, and the fireworks go on', [], async (engine) => {
  const asked = [];
  const server = createServer(({ url }, response) => { asked.push(url); response.end(); });
  await new Promise((resolve) => servers.push(server.listen(0, '127.0.0.1', resolve)));
  const page = await openPage(engine);
  const earlier = leaks[engine]?.length; // the refusals show in the console, as they should
  const to = `http://127.0.0.1:${server.address().port}/`;
  await page.evaluate((from) => {
    fetch(`${from}fetch`).catch(() => {});
    new Image().src = `${from}image`;
    document.head.append(Object.assign(document.createElement('script'), { src: `${from}script` }));
    setTimeout(() => eval('0')); // as the page's own code: Chromium lets the driver's call eval
  }, to);
  await page.waitForFunction(() => globalThis.refused.length >= 4, { timeout: 5000 })
    .catch(() => {}); // the check below shows what was let through
  const refused = await page.evaluate(() => globalThis.refused.splice(0).sort());
  const urls = ['fetch', 'image', 'script'].map((name) => `${to}${name}`);
  assert.deepEqual([refused, asked], [['eval', ...urls], []]);
  await pressKeys(page, [{ code: 'Digit1' }]);
  assert.equal((await rocketColumns(page)).length, 1);
  await page.close();
  leaks[engine]?.splice(earlier);
});

row('nothing leaves the page: no console message, no request, nothing stored', ['events'],
  async (engine) => {
  const page = await openPage(engine);
  await pressKeys(page, [{ code: 'Digit1' }]);
  await frames(page, SETTLE_FRAMES);
  const stored = await page.evaluate(() => [document.cookie, localStorage.length,
    sessionStorage.length]);
  assert.deepEqual(stored, ['', 0, 0]);
  await page.close();
  assert.deepEqual(leaks[engine], []);
});

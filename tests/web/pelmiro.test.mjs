// The built one-file page in headless Chromium, checked from its canvas pixels.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { countFrames, launchChromium, PAGE } from './browser.mjs';

const SETTLE_FRAMES = 3; // a launched rocket is on screen within this many ticks
const [ALT, CTRL, SHIFT] = [1, 2, 8];
const VIEWPORT = { width: 600, height: 500, hasTouch: true };
const ON_CANVAS = [250, 200];

let browser;
const leaks = []; // console messages, page errors and requests for anything but the page
before(async () => {
  browser = await launchChromium();
});
after(() => browser?.close());

async function openPage() {
  const page = await browser.newPage();
  await page.setViewport(VIEWPORT);
  page.on('console', (message) => leaks.push(`console: ${message.text()}`));
  page.on('pageerror', (error) => leaks.push(`error: ${error.message}`));
  page.on('request', (request) => request.url() !== PAGE && leaks.push(request.url()));
  await page.evaluateOnNewDocument(countFrames);
  await page.goto(PAGE);
  await frames(page, 1);
  return page;
}

async function frames(page, count) {
  const target = (await page.evaluate(() => globalThis.ticks)) + count;
  await page.waitForFunction((n) => globalThis.ticks >= n, { timeout: 5000 }, target);
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

// With 1-pixel dots each rocket in flight is one green pixel; idle rockets share (0, 0).
async function rocketColumns(page) {
  await frames(page, SETTLE_FRAMES);
  const flying = (await greenPixels(page)).filter(([x, y]) => x !== 0 || y !== 0);
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
  const cdp = await page.createCDPSession();
  for (const { code, key = code.at(-1), modifiers = 0, autoRepeat = false } of keys) {
    const event = { code, key, modifiers, autoRepeat };
    await cdp.send('Input.dispatchKeyEvent', { type: 'keyDown', text: key, ...event });
    await cdp.send('Input.dispatchKeyEvent', { type: 'keyUp', ...event });
  }
}

test('page, canvas and box as loaded, with one green dot at the top left', async () => {
  const page = await openPage();
  const layout = await page.evaluate(() => {
    const rect = (element) => {
      const { left, top, width, height } = element.getBoundingClientRect();
      return [left, top, width, height];
    };
    const [canvas, box] = ['Form1', 'Number1'].map((id) => document.getElementById(id));
    return [document.title, ...rect(canvas), canvas.width, canvas.height, ...rect(box),
      getComputedStyle(box).fontSize, box.title, box.value];
  });
  assert.deepEqual(layout, ['Pelmiro', 0, 0, 500, 442, 500, 442, 0, 416, 69, 25, '18px',
    '1から100までです。', '1']);
  assert.deepEqual(await greenPixels(page), [[0, 0]]);
  await page.close();
});

const keys = (...list) => (page) => pressKeys(page, list);
const digits = (prefix, from, to) =>
  Array.from({ length: to - from + 1 }, (_, i) => ({ code: `${prefix}${from + i}` }));
const click = (options) => (page) => page.mouse.click(...ON_CANVAS, options);
const launchCases = [
  ['Digit1 to Digit9', keys(...digits('Digit', 1, 9)), 9],
  ['Digit0, keypad digits, letters', keys({ code: 'Digit0' }, ...digits('Numpad', 0, 9),
    { code: 'KeyA' }, { code: 'KeyQ' }), 0],
  ['Digit1 giving "&" (AZERTY)', keys({ code: 'Digit1', key: '&' }), 1],
  ['Digit1 with Shift, Ctrl, Alt', keys(...[SHIFT, CTRL, ALT].map((modifiers) =>
    ({ code: 'Digit1', key: '1', modifiers }))), 3],
  ['Digit2 and its auto-repeat', keys({ code: 'Digit2' }, { code: 'Digit2', autoRepeat: true }), 2],
  ['left button', click({ button: 'left' }), 1],
  ['middle button', click({ button: 'middle' }), 1],
  ['right button', click({ button: 'right' }), 1],
  ['a double-click', click({ count: 2 }), 1],
  ['a touch tap', (page) => page.touchscreen.tap(...ON_CANVAS), 1],
];
for (const [name, act, rockets] of launchCases) {
  test(`${name} launches ${rockets}`, async () => {
    const page = await openPage();
    await act(page);
    assert.equal((await rocketColumns(page)).length, rockets);
    await page.close();
  });
}

// Each case types into the box and commits; then Digit1 launches a rocket showing the size.
const paste = (page, text) => page.keyboard.sendCharacter(text);
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
];
for (const { typed = '', keep, enter, commit = ['Enter'], shows, size } of boxCases) {
  test(`box: ${JSON.stringify(typed.slice(0, 12))} then ${commit}`, async () => {
    const page = await openPage();
    await page.click('#Number1');
    if (!keep) {
      await page.$eval('#Number1', (box) => box.select());
      await page.keyboard.press('Backspace');
    }
    await (enter ?? ((p, text) => p.keyboard.type(text)))(page, typed);
    assert.deepEqual(await rocketColumns(page), [], 'keys typed into the box launch nothing');
    for (const key of commit) {
      await page.keyboard.press(key);
    }
    await pressKeys(page, [{ code: 'Digit1' }]); // the keys are back with the fireworks
    assert.equal(await page.$eval('#Number1', (box) => box.value), shows);
    assert.equal(await widestGreenRun(page), size);
    await page.close();
  });
}

test('device pixel ratio 1 then 2 while running: a 1000 x 884 backing store', async () => {
  const page = await openPage();
  await page.setViewport({ ...VIEWPORT, deviceScaleFactor: 2 }); // no reload
  await frames(page, 2);
  const size = await page.$eval('#Form1', (canvas) => [canvas.width, canvas.height]);
  assert.deepEqual(size, [1000, 884]);
  await page.close();
});

test('the same keys at the same moments after a reload launch at the same places', async () => {
  const page = await openPage();
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

test('nothing leaves the page: no console message, no request, nothing stored', async () => {
  const page = await openPage();
  await pressKeys(page, [{ code: 'Digit1' }]);
  await frames(page, SETTLE_FRAMES);
  const stored = await page.evaluate(() => [document.cookie, localStorage.length,
    sessionStorage.length]);
  assert.deepEqual(stored, ['', 0, 0]);
  await page.close();
  assert.deepEqual(leaks, []);
});

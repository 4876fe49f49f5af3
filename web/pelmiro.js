// Pelmiro's page: the canvas, the timer, the keys, the mouse, touch and the dot-size box
// around the fireworks compiled to WebAssembly. The module takes only the clock from here.

const CLIENT_WIDTH = 500; // the field in CSS pixels at full size in a tab
const CLIENT_HEIGHT = 442;
// Where the field is the whole screen: the browser's own full screen and the installed app.
const FILLED_DISPLAY = '(display-mode: fullscreen), (display-mode: standalone)';
const LAUNCH_KEY_ONE = 49; // a press on the canvas acts as the "1" key
const DIGIT_ZERO = 48;
const NUMPAD_ZERO = 96;
const NO_KEY = 0; // a code that launches nothing
const LAUNCH_BUTTONS = 3; // left, middle and right
const BYTES_PER_PIXEL = 4;

// Keys by their place on the keyboard, so any layout works: the main row gives 48 to 57,
// the keypad 96 to 105.
export function keyCodeOf(code) {
  const digit = /^(Digit|Numpad)([0-9])$/.exec(code);
  if (!digit) {
    return NO_KEY;
  }
  return (digit[1] === 'Digit' ? DIGIT_ZERO : NUMPAD_ZERO) + Number(digit[2]);
}

// The page speaks the first of Japanese or English among the reader's languages, and
// English when neither is there.
export function pageLanguage(languages) {
  const spoken = languages.map((tag) => tag.split('-')[0].toLowerCase());
  return spoken.find((language) => language === 'ja' || language === 'en') ?? 'en';
}

function useLanguage(doc, language) {
  doc.documentElement.lang = language;
  if (language !== 'ja') {
    return;
  }
  for (const element of doc.querySelectorAll('[data-ja], [data-ja-label], [data-ja-href]')) {
    const { ja, jaLabel, jaHref } = element.dataset;
    if (ja) {
      element.textContent = ja;
    }
    if (jaLabel) {
      element.setAttribute('aria-label', jaLabel);
    }
    if (jaHref) {
      element.setAttribute('href', jaHref);
    }
  }
}

function decodeBase64(text) {
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; i++) {
    bytes[i] = binary.charCodeAt(i);
  }
  return bytes;
}

export async function startPelmiro(wasmBase64, doc, runFillBase64) {
  const win = doc.defaultView;
  const canvas = doc.getElementById('Form1');
  const client = canvas.parentElement;
  const box = doc.getElementById('Number1');
  const under = doc.getElementById('Under');
  const fullScreenButton = doc.getElementById('Fullscreen');
  const room = doc.documentElement;
  const context = canvas.getContext('2d', { alpha: false });
  useLanguage(doc, pageLanguage(win.navigator.languages));

  // The button shows where the browser can put an element in full screen (Safari with
  // its own prefix; an iPhone cannot).
  const requestFullScreen = room.requestFullscreen ?? room.webkitRequestFullscreen;
  fullScreenButton.hidden =
    !requestFullScreen || !(doc.fullscreenEnabled || doc.webkitFullscreenEnabled);
  fullScreenButton.addEventListener('click', () => {
    // A refusal leaves the field as it is.
    requestFullScreen.call(room, { navigationUI: 'hide' })?.catch(() => {});
  });
  const filledDisplay = win.matchMedia(FILLED_DISPLAY);
  const isFilled = () =>
    Boolean(doc.fullscreenElement ?? doc.webkitFullscreenElement) || filledDisplay.matches;

  // In a tab, the field's scale: as large as the window allows next to the lines below
  // it, never above 1, and a whole number of device pixels wide so the module's pixels
  // map one to one onto the screen. In full screen the field is the screen, at the
  // screen's pixel ratio. The module draws fieldWidth x fieldHeight CSS pixels at ratio
  // device pixels each.
  let ratio = 1;
  let fieldWidth = CLIENT_WIDTH;
  let fieldHeight = CLIENT_HEIGHT;
  let fittedPixelRatio = 0;
  function fit() {
    const filled = isFilled();
    room.classList.toggle('filled', filled);
    fittedPixelRatio = win.devicePixelRatio;
    const fittedRoom = [room.clientWidth, room.clientHeight];
    if (filled) {
      [fieldWidth, fieldHeight] = fittedRoom;
      ratio = fittedPixelRatio;
    } else {
      const page = win.getComputedStyle(client.parentElement);
      const px = (name) => parseFloat(page[name]);
      const edges = client.offsetWidth - client.clientWidth;
      const width = fittedRoom[0] - px('paddingLeft') - px('paddingRight') - edges;
      const height = fittedRoom[1] - px('paddingTop') - px('paddingBottom') - px('rowGap') -
        under.getBoundingClientRect().height - edges;
      const scale = Math.min(1, width / CLIENT_WIDTH, height / CLIENT_HEIGHT);
      const devicePixels = Math.max(1, Math.floor(CLIENT_WIDTH * scale * fittedPixelRatio));
      [fieldWidth, fieldHeight] = [CLIENT_WIDTH, CLIENT_HEIGHT];
      ratio = devicePixels / CLIENT_WIDTH;
    }
    // The module rounds the device pixels the same way.
    const cssPixels = (length) => `${Math.round(length * ratio) / fittedPixelRatio}px`;
    client.style.width = cssPixels(fieldWidth);
    client.style.height = cssPixels(fieldHeight);
    client.style.setProperty('--scale', String(filled ? 1 : ratio / fittedPixelRatio));
  }
  fit();
  win.addEventListener('resize', fit);
  // Some phones report a rotation before the window's new size; reading the layout on
  // every tick instead would cost an idle page more than the rest of its tick.
  win.screen.orientation?.addEventListener('change', () => win.requestAnimationFrame(fit));
  doc.addEventListener('fullscreenchange', fit);
  doc.addEventListener('webkitfullscreenchange', fit);
  filledDisplay.addEventListener('change', fit);

  const { instance } = await WebAssembly.instantiate(decodeBase64(wasmBase64), {
    env: { TickCount: () => Math.floor(win.performance.now()) | 0 },
  });
  const wasm = instance.exports;
  wasm._initialize();
  // The run fill with SIMD stores, where the engine has SIMD (iOS Safari has it only since
  // 16.4); elsewhere the module's own plain loop fills.
  const runFill = decodeBase64(runFillBase64);
  if (WebAssembly.validate(runFill)) {
    const fill = await WebAssembly.instantiate(runFill, { env: { memory: wasm.memory } });
    const table = wasm.__indirect_function_table;
    const index = table.grow(1);
    table.set(index, fill.instance.exports.fill);
    wasm.use_run_fill(index);
  }
  wasm.start(ratio, fieldWidth, fieldHeight);

  // A view on the module's pixels; made again only when the buffer moved, grew or changed size.
  let image = null;
  let imagePixels = 0;
  const present = () => context.putImageData(image, 0, 0);
  // A full-screen picture has millions of pixels: only those that changed are put.
  const presentChanged = () => context.putImageData(image, 0, 0, wasm.changed_left(),
    wasm.changed_top(), wasm.changed_width(), wasm.changed_height());
  function frame() {
    if (win.devicePixelRatio !== fittedPixelRatio) {
      fit(); // a zoom or another screen need not send a resize event
    }
    if (!wasm.tick(ratio, fieldWidth, fieldHeight)) {
      return; // the picture on the canvas is still the right one
    }
    const pixels = wasm.pixels();
    const width = wasm.width();
    const height = wasm.height();
    const buffer = wasm.memory.buffer;
    if (!image || image.data.buffer !== buffer || imagePixels !== pixels ||
        image.width !== width || image.height !== height) {
      const bytes = new Uint8ClampedArray(buffer, pixels, width * height * BYTES_PER_PIXEL);
      image = new ImageData(bytes, width, height);
      imagePixels = pixels;
    }
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width; // this blanks the canvas, and the picture is put right after
      canvas.height = height;
      present();
    } else {
      presentChanged();
    }
  }
  // A canvas that was hidden or lost its context may come back blank; the module's pixels
  // still hold the picture.
  const presentAgain = () => image && present();
  doc.addEventListener('visibilitychange', () => doc.hidden || presentAgain());
  canvas.addEventListener('contextrestored', presentAgain);

  win.addEventListener('keydown', (event) => {
    if (event.target === box) {
      return; // keys meant for the box never launch
    }
    const key = keyCodeOf(event.code);
    if (key !== NO_KEY) {
      event.preventDefault();
      wasm.launch(key);
    }
  });

  function launchFromPointer() {
    box.blur(); // a press on the fireworks hands the keys back to them
    wasm.launch(LAUNCH_KEY_ONE);
  }
  canvas.addEventListener('mousedown', (event) => {
    event.preventDefault(); // no text selection, no middle-button scrolling
    // Every second press of a run of clicks is a double-click's, which launches nothing.
    if (event.button < LAUNCH_BUTTONS && event.detail % 2 === 1) {
      launchFromPointer();
    }
  });
  canvas.addEventListener('pointerdown', (event) => {
    if (event.pointerType !== 'mouse') {
      event.preventDefault(); // keeps the browser from sending the tap again as a mouse press
      launchFromPointer();
    }
  });
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());

  let committed = box.value;
  function commitBox() {
    const typed = box.valueAsNumber; // NaN for an empty box or one holding no number
    const shown = wasm.apply_dot_size(typed);
    if (shown !== typed) {
      box.value = String(shown);
    }
    committed = box.value;
  }
  box.addEventListener('change', commitBox);
  box.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') {
      commitBox();
      box.blur();
    } else if (event.key === 'Escape') {
      box.value = committed;
      box.blur();
    }
  });

  win.setInterval(frame, wasm.timer_interval()); // the interval the model is told about
  return { wasm, frame, context };
}

// Pelmiro's page: the canvas, the timer, the keys, the mouse, touch and the dot-size box
// around the fireworks compiled to WebAssembly. The module takes only the clock from here.

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

function decodeBase64(text) {
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; i++) {
    bytes[i] = binary.charCodeAt(i);
  }
  return bytes;
}

export async function startPelmiro(wasmBase64, doc) {
  const win = doc.defaultView;
  const canvas = doc.getElementById('Form1');
  const box = doc.getElementById('Number1');
  const context = canvas.getContext('2d', { alpha: false });
  const { instance } = await WebAssembly.instantiate(decodeBase64(wasmBase64), {
    env: { TickCount: () => Math.floor(win.performance.now()) | 0 },
  });
  const wasm = instance.exports;
  wasm._initialize();
  wasm.start(win.devicePixelRatio);

  // A view on the module's pixels; made again only when the buffer moved, grew or changed size.
  let image = null;
  let imagePixels = 0;
  function frame() {
    if (!wasm.tick(win.devicePixelRatio)) {
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
      if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
      }
    }
    context.putImageData(image, 0, 0);
  }

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

// Pelmiro's page: the canvas, the timer, the keys, the mouse, touch and the dot-size box
// around the fireworks compiled to WebAssembly. The module holds the rules too: what a key
// or a click does, which language to speak, the field's size; it takes only the clock from
// here, and this script carries out what it answers.

// Where the field is the whole screen: the browser's own full screen and the installed app.
const FILLED_DISPLAY = '(display-mode: fullscreen), (display-mode: standalone)';
const BYTES_PER_PIXEL = 4;

function decodeBase64(text) {
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; i++) {
    bytes[i] = binary.charCodeAt(i);
  }
  return bytes;
}

// Puts text into one of the module's buffers; answers how many bytes it took.
function writeText(wasm, text, at, size) {
  return new TextEncoder().encodeInto(text, new Uint8Array(wasm.memory.buffer, at, size)).written;
}

// Speaks the language the module picks from the reader's, with that language's words.
function useLanguage(doc, wasm, words) {
  const wanted = doc.defaultView.navigator.languages.join(',');
  const said = words[wasm.pick_language(
    writeText(wasm, wanted, wasm.language_list(), wasm.language_list_size()))];
  doc.documentElement.lang = said.tag;
  // The line and the button run the language's way; the field and the box stay put.
  doc.getElementById('Under').dir = said.Direction;
  doc.getElementById('Howto').textContent = said.Howto;
  doc.getElementById('Fullscreen').textContent = said.FullScreen;
  doc.getElementById('Form1').setAttribute('aria-label', said.FieldName);
  doc.getElementById('Number1').setAttribute('aria-label', said.BoxName);
  doc.querySelector('link[rel=manifest]')?.setAttribute('href', said.manifest);
}

export async function startPelmiro(wasmBase64, doc, runFillBase64, words) {
  const win = doc.defaultView;
  const canvas = doc.getElementById('Form1');
  const client = canvas.parentElement;
  const box = doc.getElementById('Number1');
  const under = doc.getElementById('Under');
  const fullScreenButton = doc.getElementById('Fullscreen');
  const room = doc.documentElement;
  const context = canvas.getContext('2d', { alpha: false });

  const { instance } = await WebAssembly.instantiate(decodeBase64(wasmBase64), {
    env: { TickCount: () => Math.floor(win.performance.now()) | 0 },
  });
  const wasm = instance.exports;
  wasm._initialize();
  useLanguage(doc, wasm, words);

  // The button shows where the browser can put an element in full screen (Safari with
  // its own prefix; an iPhone cannot).
  const requestFullScreen = room.requestFullscreen ?? room.webkitRequestFullscreen;
  const exitFullScreen = doc.exitFullscreen ?? doc.webkitExitFullscreen;
  fullScreenButton.hidden =
    !requestFullScreen || !(doc.fullscreenEnabled || doc.webkitFullscreenEnabled);
  // A refusal leaves the field as it is.
  const enterFullScreen = () => requestFullScreen?.call(room, { navigationUI: 'hide' })
    ?.catch(() => {});
  const leaveFullScreen = () => exitFullScreen?.call(doc)?.catch(() => {});
  fullScreenButton.addEventListener('click', enterFullScreen);
  const filledDisplay = win.matchMedia(FILLED_DISPLAY);
  const isFilled = () =>
    Boolean(doc.fullscreenElement ?? doc.webkitFullscreenElement) || filledDisplay.matches;

  // In a tab, the field's scale: as large as the window allows next to the lines below
  // it, never above 1, and a whole number of device pixels wide so the module's pixels
  // map one to one onto the screen. In full screen the field is the screen, at the
  // screen's pixel ratio. The module draws fieldWidth x fieldHeight CSS pixels at ratio
  // device pixels each.
  const [fullWidth, fullHeight] = [wasm.client_width(), wasm.client_height()];
  let ratio = 1;
  let fieldWidth = fullWidth;
  let fieldHeight = fullHeight;
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
      const scale = Math.min(1, width / fullWidth, height / fullHeight);
      const devicePixels = Math.max(1, Math.floor(fullWidth * scale * fittedPixelRatio));
      [fieldWidth, fieldHeight] = [fullWidth, fullHeight];
      ratio = devicePixels / fullWidth;
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

  // What the module answered for the last key or press; spent, it goes no further.
  function carryOut(event, spent) {
    if (wasm.drop_edit()) {
      box.value = committed;
    }
    if (wasm.commit_edit()) {
      commitBox();
    }
    if (wasm.enter_full_screen()) {
      enterFullScreen();
    } else if (wasm.leave_full_screen()) {
      leaveFullScreen();
    }
    if (wasm.keys_to_box()) {
      box.focus();
    } else if (wasm.keys_to_field()) {
      box.blur();
    }
    if (spent) {
      event.preventDefault();
    }
  }
  win.addEventListener('keydown', (event) => {
    const length = writeText(wasm, event.code, wasm.key_name(), wasm.key_name_size());
    carryOut(event, wasm.key(length, event.repeat, event.altKey, event.target === box,
      isFilled()));
  });
  canvas.addEventListener('mousedown', (event) => {
    event.preventDefault(); // no text selection, no middle-button scrolling
    // Every second press of a run of clicks is a double-click's.
    carryOut(event, wasm.button(event.button, event.detail % 2 === 0));
  });
  canvas.addEventListener('pointerdown', (event) => {
    if (event.pointerType !== 'mouse') {
      event.preventDefault(); // keeps the browser from sending the tap again as a mouse press
      carryOut(event, wasm.button(0, false));
    }
  });
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());

  win.setInterval(frame, wasm.timer_interval()); // the interval the model is told about
  return { wasm, frame, context };
}

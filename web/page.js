// The page around ZORBLATS: it starts the game (one per browser), draws its screen into the
// canvas at the largest whole scale that fits, hands it keys, taps, touches, pads and focus
// changes, plays its sounds through Web Audio and shows what is left when it ends.
'use strict';
(() => {
  const WIDTH = 240;
  const HEIGHT = 320;
  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d', {alpha: false});
  const image = context.createImageData(WIDTH, HEIGHT);
  const pixels = new Uint32Array(image.data.buffer);
  const notice = document.getElementById('notice');

  // Each 5-6-5 colour as the canvas's RGBA, the low bits repeating the high ones as a
  // 24-bit desktop shows them.
  const colours = new Uint32Array(65536);
  for (let c = 0; c < 65536; ++c) {
    const r = c >> 11, g = (c >> 5) & 63, b = c & 31;
    colours[c] = (0xff000000 | ((b << 3 | b >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (r << 3 | r >> 2)) >>> 0;
  }

  function showNotice(text, buttonText, action) {
    document.getElementById('notice-text').textContent = text;
    const button = document.getElementById('notice-button');
    button.hidden = !buttonText;
    if (buttonText) {
      button.textContent = buttonText;
      button.onclick = action;
    }
    canvas.style.display = 'none';
    notice.style.display = 'flex';
  }

  // ---- The picture: the largest whole scale in device pixels, centred on black ---------
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const wide = Math.round(window.innerWidth * ratio);
    const high = Math.round(window.innerHeight * ratio);
    const scale = Math.max(1, Math.floor(Math.min(wide / WIDTH, high / HEIGHT)));
    canvas.style.width = `${WIDTH * scale / ratio}px`;
    canvas.style.height = `${HEIGHT * scale / ratio}px`;
    canvas.style.left = `${Math.max(0, Math.floor((wide - WIDTH * scale) / 2)) / ratio}px`;
    canvas.style.top = `${Math.max(0, Math.floor((high - HEIGHT * scale) / 2)) / ratio}px`;
    canvas.dataset.scale = scale;
  }
  fit();
  window.addEventListener('resize', fit);
  window.addEventListener('orientationchange', fit);

  function toggleFullScreen() {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    else document.documentElement.requestFullscreen().catch(() => {});
  }
  // The choice is kept with the saves (the game stores every change). A page left in full
  // screen goes back to it at the first tap or key: browsers allow it only then.
  function restoreFullScreen() {
    if (!page.fullScreenKept || document.fullscreenElement) return;
    document.documentElement.requestFullscreen().then(() => { page.fullScreenKept = false; }, () => {});
  }
  document.addEventListener('fullscreenchange', () => {
    page.fullScreenKept = false;
    tell(() => Module._PageFullScreen(document.fullscreenElement ? 1 : 0));
  });
  document.getElementById('fullscreen').addEventListener('click', event => {
    toggleFullScreen();
    event.currentTarget.blur();
  });

  // ---- Sound: Web Audio, allowed from the first tap or key on; it runs only while sounds
  // play, so an idle game costs the browser no audio thread -----------------------------
  let audio = null;
  const sounds = new Map();
  let allowed = false;
  let playing = 0;
  let rest = 0;
  function startAudio() {
    if (!audio || allowed) return;
    allowed = true;
    audio.resume().then(() => { if (!playing) audio.suspend(); }).catch(() => {});
  }

  // ---- What the game calls (platform/web/*.cpp) ------------------------------------------
  let running = false;  // input goes to the game once it shows its screen
  const page = {
    holdsLock: false,
    fullScreenKept: false,  // the game found the full screen chosen when the page was left
    wakeGame: null,
    draw(heap, start, pitch, x, y, w, h) {
      running = true;
      for (let row = y; row < y + h; ++row) {
        const from = start + row * pitch;
        const to = row * WIDTH;
        for (let column = x; column < x + w; ++column) pixels[to + column] = colours[heap[from + column]];
      }
      context.putImageData(image, 0, 0, x, y, w, h);
    },
    openAudio() {
      const Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) return false;
      audio = new Context();
      audio.suspend().catch(() => {});
      return true;
    },
    closeAudio() {
      if (audio) audio.close().catch(() => {});
      audio = null;
    },
    loadSound(name, bytes) {
      if (!audio || !bytes || sounds.has(name)) return;
      sounds.set(name, null);
      audio.decodeAudioData(bytes.slice().buffer).then(buffer => sounds.set(name, buffer), () => {});
    },
    playSound(name) {
      const buffer = sounds.get(name);
      if (!audio || !buffer || !allowed) return;
      if (audio.state !== 'running') audio.resume().catch(() => {});
      clearTimeout(rest);
      const source = audio.createBufferSource();
      source.buffer = buffer;
      source.connect(audio.destination);
      source.onended = () => {
        if (--playing === 0) rest = setTimeout(() => audio && audio.suspend().catch(() => {}), 2000);
      };
      ++playing;
      source.start();
    },
    storageRefused(error) {
      console.warn('ZORBLATS: the browser keeps no saves here:', error);
    },
  };

  function tell(call) {
    if (!running) return;
    call();
    if (page.wakeGame) page.wakeGame();
  }

  // ---- Keys: the desktop's SDL 1.2 key codes -------------------------------------------
  const keyCodes = {
    Backspace: 8, Tab: 9, Enter: 13, Escape: 27, Space: 32, Quote: 39, Comma: 44, Minus: 45,
    Period: 46, Slash: 47, Semicolon: 59, Equal: 61, BracketLeft: 91, Backslash: 92,
    BracketRight: 93, Backquote: 96, Delete: 127, NumpadDecimal: 266, NumpadDivide: 267,
    NumpadMultiply: 268, NumpadSubtract: 269, NumpadAdd: 270, NumpadEnter: 271,
    NumpadEqual: 272, ArrowUp: 273, ArrowDown: 274, ArrowRight: 275, ArrowLeft: 276,
    Insert: 277, Home: 278, End: 279, PageUp: 280, PageDown: 281, ShiftRight: 303,
    ShiftLeft: 304, ControlRight: 305, ControlLeft: 306, AltRight: 307, AltLeft: 308,
  };
  for (let i = 0; i < 26; ++i) keyCodes[`Key${String.fromCharCode(65 + i)}`] = 97 + i;
  for (let i = 0; i < 10; ++i) {
    keyCodes[`Digit${i}`] = 48 + i;
    keyCodes[`Numpad${i}`] = 256 + i;
  }
  for (let i = 1; i <= 15; ++i) keyCodes[`F${i}`] = 281 + i;

  function onKey(event) {
    const down = event.type === 'keydown';
    startAudio();
    if (down && (event.code === 'F11' || (event.altKey && event.key === 'Enter'))) {
      event.preventDefault();
      toggleFullScreen();
      return;
    }
    if (down) restoreFullScreen();
    const sym = keyCodes[event.code];
    if (sym === undefined || (down && (event.ctrlKey || event.metaKey) && sym < 256)) return;
    event.preventDefault();
    const character = event.key.length === 1 ? event.key.charCodeAt(0) : 0;
    tell(() => Module._PageKey(down ? 1 : 0, sym, down ? character : 0));
  }
  window.addEventListener('keydown', onKey);
  window.addEventListener('keyup', onKey);

  // ---- Taps: a mouse, a pen or a finger is the stylus ----------------------------------
  function gamePixel(event) {
    const box = canvas.getBoundingClientRect();
    const x = Math.floor((event.clientX - box.left) * WIDTH / box.width);
    const y = Math.floor((event.clientY - box.top) * HEIGHT / box.height);
    return [Math.min(Math.max(x, 0), WIDTH - 1), Math.min(Math.max(y, 0), HEIGHT - 1)];
  }
  canvas.addEventListener('pointerdown', event => {
    startAudio();
    restoreFullScreen();
    if (!event.isPrimary || event.button > 0) return;
    event.preventDefault();
    canvas.setPointerCapture(event.pointerId);
    const [x, y] = gamePixel(event);
    tell(() => Module._PagePointer(1, x, y));
  });
  canvas.addEventListener('pointermove', event => {
    if (!event.isPrimary) return;
    const [x, y] = gamePixel(event);
    tell(() => Module._PagePointer(0, x, y));
  });
  for (const type of ['pointerup', 'pointercancel']) {
    canvas.addEventListener(type, event => {
      if (!event.isPrimary) return;
      const [x, y] = gamePixel(event);
      tell(() => Module._PagePointer(2, x, y));
    });
  }
  for (const type of ['touchstart', 'touchmove', 'contextmenu', 'selectstart', 'dblclick']) {
    document.addEventListener(type, event => event.preventDefault(), {passive: false});
  }

  // ---- Focus: a hidden tab or a lost focus pauses play, as on the desktop ---------------
  function focusChanged() {
    const attending = document.visibilityState === 'visible' && document.hasFocus();
    tell(() => Module._PageFocus(attending ? 1 : 0));
  }
  window.addEventListener('blur', focusChanged);
  window.addEventListener('focus', focusChanged);
  document.addEventListener('visibilitychange', focusChanged);

  // ---- Pads: the browser's standard layout in SDL's game-controller numbering -----------
  // Buttons: south, east, west, Start, then the d-pad's up, down, left and right.
  const padButtons = [[0, 0], [1, 1], [2, 2], [9, 6], [12, 11], [13, 12], [14, 13], [15, 14]];
  const padStates = new Map();
  let padTimer = 0;
  function pollPads() {
    for (const pad of navigator.getGamepads ? navigator.getGamepads() : []) {
      if (!pad || !pad.connected) continue;
      const last = padStates.get(pad.index) || {buttons: [], axes: [0, 0]};
      for (const [browser, sdl] of padButtons) {
        const down = Boolean(pad.buttons[browser] && pad.buttons[browser].pressed);
        if (down !== Boolean(last.buttons[sdl])) tell(() => Module._PagePad(down ? 1 : 0, sdl, 0));
        last.buttons[sdl] = down;
      }
      for (let axis = 0; axis < 2; ++axis) {
        const value = Math.round((pad.axes[axis] || 0) * 32767);
        if (Math.abs(value - last.axes[axis]) >= 512) {
          last.axes[axis] = value;
          tell(() => Module._PagePad(2, axis, value));
        }
      }
      padStates.set(pad.index, last);
    }
  }
  window.addEventListener('gamepadconnected', () => {
    if (!padTimer) padTimer = setInterval(pollPads, 16);
  });
  window.addEventListener('gamepaddisconnected', event => {
    const last = padStates.get(event.gamepad.index);
    padStates.delete(event.gamepad.index);
    if (last) {
      last.buttons.forEach((down, sdl) => down && tell(() => Module._PagePad(0, sdl, 0)));
      last.axes.forEach((value, axis) => value && tell(() => Module._PagePad(2, axis, 0)));
    }
    if (padStates.size === 0 && !navigator.getGamepads().some(pad => pad && pad.connected)) {
      clearInterval(padTimer);
      padTimer = 0;
    }
  });

  // ---- The game's life: one copy per browser, a page that offers it again at the end ----
  let releaseLock = () => {};
  window.Module = {
    page,
    canvas,
    onExit() {
      running = false;
      releaseLock();
      showNotice('ZORBLATS has ended.', 'Play again', () => location.reload());
    },
    onAbort(what) {
      running = false;
      releaseLock();
      showNotice(`ZORBLATS stopped: ${what}`, 'Start again', () => location.reload());
    },
  };

  function start() {
    page.holdsLock = true;
    const script = document.createElement('script');
    script.src = 'zorblats.js';
    document.body.appendChild(script);
  }
  if (navigator.locks) {
    navigator.locks.request('zorblats-game', {ifAvailable: true}, lock => {
      if (!lock) {
        showNotice('ZORBLATS is already open in another tab or window of this browser.');
        return undefined;
      }
      start();
      return new Promise(release => { releaseLock = release; });
    });
  } else {
    start();
  }

  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
})();

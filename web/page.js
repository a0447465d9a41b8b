// The page around ZORBLATS: it downloads and starts the game (one per browser), draws its
// screen into the canvas at the largest whole scale that fits, hands it keys, taps, touches,
// the on-screen controls, pads and focus changes, plays its sounds through Web Audio and
// says what is wrong when it cannot go on.
'use strict';
(() => {
  const WIDTH = 240;
  const HEIGHT = 320;
  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d', {alpha: false});
  const image = context.createImageData(WIDTH, HEIGHT);
  const pixels = new Uint32Array(image.data.buffer);
  const notice = document.getElementById('notice');
  const noticeButton = document.getElementById('notice-button');
  const progress = document.getElementById('notice-progress');
  const fullScreenButton = document.getElementById('fullscreen');
  const controls = [...document.querySelectorAll('.control')];
  const replayButton = document.getElementById('replays');
  const replayMenu = document.getElementById('replay-menu');

  // Each 5-6-5 colour as the canvas's RGBA, the low bits repeating the high ones as a
  // 24-bit desktop shows them.
  const colours = new Uint32Array(65536);
  for (let c = 0; c < 65536; ++c) {
    const r = c >> 11, g = (c >> 5) & 63, b = c & 31;
    colours[c] = (0xff000000 | ((b << 3 | b >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (r << 3 | r >> 2)) >>> 0;
  }

  // A sentence in place of the game, with a button when there is something to do.
  function showNotice(text, buttonText, action, more = []) {
    document.getElementById('notice-text').textContent = text;
    const row = document.getElementById('notice-more');
    row.replaceChildren(...more.map(([label, act]) => {
      const button = document.createElement('button');
      button.textContent = label;
      button.onclick = act;
      return button;
    }));
    progress.hidden = true;
    noticeButton.hidden = !buttonText;
    noticeButton.textContent = buttonText || '';
    noticeButton.onclick = action || null;
    document.body.classList.add('notice');
    canvas.style.display = 'none';
    notice.style.display = 'flex';
    fit();
    if (buttonText) noticeButton.focus();
  }
  function hideNotice() {
    document.body.classList.remove('notice');
    canvas.style.display = '';
    notice.style.display = 'none';
    fit();
  }

  // ---- The layout: the picture at the largest whole scale in device pixels, the
  // on-screen controls in the room it leaves (below it on a tall page, beside it on a wide
  // one), clear of the screen's notch and home bar, and the full-screen button beside it.
  const ART = 20;  // the controls' pictures are ART x ART pixels, scaled by whole numbers
  let touchMode = matchMedia('(pointer: coarse)').matches;
  function safeArea() {
    const style = getComputedStyle(document.getElementById('safe-area'));
    return ['Top', 'Right', 'Bottom', 'Left'].map(side => parseFloat(style[`padding${side}`]) || 0);
  }
  function place(element, x, y, w, h) {
    Object.assign(element.style, {left: `${x}px`, top: `${y}px`, width: `${w}px`, height: `${h}px`});
  }
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const [top, right, bottom, left] = safeArea();
    const wide = window.innerWidth - left - right;
    const high = window.innerHeight - top - bottom;
    const snap = value => Math.round(value * ratio) / ratio;  // to the device pixel grid
    // A control: a whole number of device pixels per picture pixel, about 64 CSS pixels
    // and never under 48; spaced by a quarter of that.
    const size = Math.max(Math.ceil(48 * ratio / ART), Math.round(64 * ratio / ART)) * ART / ratio;
    const gap = snap(Math.max(16, size / 4));
    const band = size + 2 * gap;             // below the picture: one row of controls
    const column = 2 * size + 3 * gap;       // beside it: left and right side by side
    const scaleIn = (w, h) => Math.max(1, Math.floor(Math.min(w * ratio / WIDTH, h * ratio / HEIGHT)));
    const shown = touchMode && !document.body.classList.contains('notice');
    document.body.classList.toggle('touch', shown);
    let area = [left, top, wide, high];
    let layout = 'none';
    if (shown) {
      const below = scaleIn(wide, high - band), beside = scaleIn(wide - 2 * column, high);
      layout = below > beside || (below === beside && high >= wide) ? 'below' : 'beside';
      area = layout === 'below' ? [left, top, wide, high - band] : [left + column, top, wide - 2 * column, high];
    }
    const scale = scaleIn(area[2], area[3]);
    const w = WIDTH * scale / ratio, h = HEIGHT * scale / ratio;
    const x = snap(area[0] + Math.max(0, (area[2] - w) / 2)), y = snap(area[1] + Math.max(0, (area[3] - h) / 2));
    place(canvas, x, y, w, h);
    canvas.dataset.scale = scale;
    const [leftControl, rightControl, fire] = controls;
    const buttonSize = 40, margin = 8;
    let button = null;  // where the full-screen button goes, if there is room for it
    if (layout === 'below') {
      const row = snap(y + h + Math.max(gap, (top + high - y - h - size) / 2));
      place(leftControl, snap(left + gap), row, size, size);
      place(rightControl, snap(left + 2 * gap + size), row, size, size);
      place(fire, snap(left + wide - gap - size), row, size, size);
      button = [left + wide / 2 - buttonSize / 2, row + (size - buttonSize) / 2];
    } else if (layout === 'beside') {
      const row = snap(top + (high - size) / 2);
      place(leftControl, snap(left + gap), row, size, size);
      place(rightControl, snap(left + 2 * gap + size), row, size, size);
      place(fire, snap(left + wide - gap - size), row, size, size);
      button = [left + wide - margin - buttonSize, top + margin];
    } else if (left + wide - x - w >= buttonSize + 2 * margin) {
      button = [left + wide - margin - buttonSize, top + margin];
    } else if (top + high - y - h >= buttonSize + 2 * margin) {
      button = [left + wide - margin - buttonSize, top + high - margin - buttonSize];
    }
    fullScreenButton.hidden = !document.fullscreenEnabled || !button;
    if (button) place(fullScreenButton, snap(button[0]), snap(button[1]), buttonSize, buttonSize);
    // The replays' menu beside it, opening towards the middle of the page.
    replayButton.hidden = !button || document.body.classList.contains('notice');
    if (!replayButton.hidden) {
      // Between the controls (below the picture) the room is on the full-screen button's
      // right, towards Fire; in a corner it is on its left.
      const side = layout === 'below' ? 1 : -1;
      const bx = fullScreenButton.hidden ? button[0] : button[0] + side * (buttonSize + margin);
      place(replayButton, snap(bx), snap(button[1]), buttonSize, buttonSize);
      const up = button[1] > top + high / 2;
      Object.assign(replayMenu.style, {
        left: `${snap(Math.max(left + margin, bx + buttonSize - replayMenu.offsetWidth))}px`,
        top: `${snap(up ? button[1] - margin - replayMenu.offsetHeight : button[1] + buttonSize + margin)}px`,
      });
    }
    if (replayButton.hidden) replayMenu.classList.remove('open');
  }
  function setTouchMode(on) {
    if (on === touchMode) return;
    touchMode = on;
    fit();
  }
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
  fullScreenButton.addEventListener('click', event => {
    toggleFullScreen();
    event.currentTarget.blur();  // the keys go back to the game
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
  // The rows and columns changed since the canvas was last drawn: the game's changed bands
  // of a frame are gathered and drawn once, when the game's turn ends.
  const dirty = {left: WIDTH, top: HEIGHT, right: 0, bottom: 0};
  function drawDirty() {
    const {left, top, right, bottom} = dirty;
    Object.assign(dirty, {left: WIDTH, top: HEIGHT, right: 0, bottom: 0});
    if (left < right) context.putImageData(image, 0, 0, left, top, right - left, bottom - top);
  }
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
      if (dirty.left === WIDTH) queueMicrotask(drawDirty);
      dirty.left = Math.min(dirty.left, x);
      dirty.top = Math.min(dirty.top, y);
      dirty.right = Math.max(dirty.right, x + w);
      dirty.bottom = Math.max(dirty.bottom, y + h);
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
      console.warn('ZORBLATS: the browser refused to keep the saves:', error || 'the write was aborted');
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
    if (down) setTouchMode(false);
    if (down && (event.code === 'F11' || (event.altKey && event.key === 'Enter'))) {
      event.preventDefault();
      toggleFullScreen();
      return;
    }
    if (down) restoreFullScreen();
    // Before the game shows and after it ends, and on a page button that has the focus, the
    // keys are the page's (Tab, Enter and Space reach its buttons).
    if (!running || (event.target instanceof Element && event.target.closest('button'))) return;
    const sym = keyCodes[event.code];
    // With Ctrl or Meta the letters, digits and signs are the browser's (Ctrl+R, Ctrl+W);
    // Space, a fire key, stays the game's, as left Ctrl is one too.
    if (sym === undefined || (down && (event.ctrlKey || event.metaKey) && sym > 32 && sym < 256)) return;
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
  window.addEventListener('pointerdown', () => {
    startAudio();
    restoreFullScreen();
  }, true);
  // A touch shows the on-screen controls once it ends (the picture may move to make room).
  window.addEventListener('pointerup', event => {
    if (event.pointerType === 'touch') setTouchMode(true);
  });
  // The stylus is the first pointer down on the picture (a thumb may be holding a control).
  let stylus = null;
  const isStylus = event => event.pointerId === stylus || (stylus === null && event.isPrimary);
  canvas.addEventListener('pointerdown', event => {
    if (stylus !== null || event.button > 0) return;
    stylus = event.pointerId;
    event.preventDefault();
    canvas.setPointerCapture(event.pointerId);
    const [x, y] = gamePixel(event);
    tell(() => Module._PagePointer(1, x, y));
  });
  canvas.addEventListener('pointermove', event => {
    if (!isStylus(event)) return;
    const [x, y] = gamePixel(event);
    tell(() => Module._PagePointer(0, x, y));
  });
  for (const type of ['pointerup', 'pointercancel']) {
    canvas.addEventListener(type, event => {
      if (event.pointerId !== stylus) return;
      stylus = null;
      const [x, y] = gamePixel(event);
      tell(() => Module._PagePointer(2, x, y));
    });
  }
  // No scrolling, zooming, text selection or long-press menu; the page's own buttons keep
  // their taps (a cancelled touch would never click them).
  for (const type of ['touchstart', 'touchmove', 'contextmenu', 'selectstart', 'dblclick']) {
    document.addEventListener(type, event => {
      if (type !== 'touchstart' || !event.target.closest?.('button:not(.control)')) event.preventDefault();
    }, {passive: false});
  }

  // ---- The on-screen controls: the handheld's keys, held by fingers ------------------------
  // Each finger that came down on a control holds the control under it: sliding onto
  // another one lets go of the first and presses the second, sliding off lets go. A control
  // is held while any finger holds it, and gives the game a key down and a key up as the
  // keyboard's arrow keys do (left, right, and up, a fire key).
  const controlKeys = new Map([[controls[0], 276], [controls[1], 275], [controls[2], 273]]);
  const fingers = new Map();  // pointer id -> the control it holds, or null
  function controlAt(event) {
    return controls.find(control => {
      const box = control.getBoundingClientRect();
      return event.clientX >= box.left && event.clientX < box.right &&
             event.clientY >= box.top && event.clientY < box.bottom;
    }) || null;
  }
  function syncControls() {
    const holding = new Set(fingers.values());
    for (const down of [false, true]) {  // let go first: the last key event is the one held
      for (const control of controls) {
        if (holding.has(control) !== down || control.classList.contains('held') === down) continue;
        control.classList.toggle('held', down);
        tell(() => Module._PageKey(down ? 1 : 0, controlKeys.get(control), 0));
      }
    }
  }
  for (const control of controls) {
    control.addEventListener('pointerdown', event => {
      event.preventDefault();
      if (control.hasPointerCapture(event.pointerId)) control.releasePointerCapture(event.pointerId);
      fingers.set(event.pointerId, control);
      syncControls();
    });
  }
  window.addEventListener('pointermove', event => {
    if (!fingers.has(event.pointerId)) return;
    fingers.set(event.pointerId, controlAt(event));
    syncControls();
  });
  for (const type of ['pointerup', 'pointercancel']) {
    window.addEventListener(type, event => {
      if (fingers.delete(event.pointerId)) syncControls();
    });
  }
  function letGoOfControls() {
    fingers.clear();
    syncControls();
  }

  // ---- Focus: a hidden tab or a lost focus pauses play, as on the desktop ---------------
  function focusChanged() {
    const attending = document.visibilityState === 'visible' && document.hasFocus();
    if (!attending) letGoOfControls();
    tell(() => Module._PageFocus(attending ? 1 : 0));
  }
  window.addEventListener('blur', focusChanged);
  window.addEventListener('focus', focusChanged);
  document.addEventListener('visibilitychange', focusChanged);
  window.addEventListener('pagehide', letGoOfControls);

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
        if (down) setTouchMode(false);
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

  // ---- Replays: the session saved as a file or as a link, and a replay watched from a file
  // (chosen or dropped on the page) or from a link, which holds the file in its fragment so
  // that no server is needed. A replay plays in the game itself ("--replay"), which says at
  // its end whether it showed the same pictures. -------------------------------------------
  const KEPT = '/saves/zorblats/replays/';  // the game keeps last.zrp and best-N.zrp there
  const LAST_SESSION = `${KEPT}last.zrp`;   // kept by the game at its end
  const SESSION_SO_FAR = '/tmp/session.zrp';                 // written by the game on request
  const WATCHED = '/tmp/watch.zrp';
  const replayStatus = document.getElementById('replay-status');
  const replayFile = document.getElementById('replay-file');
  let said = '';  // the game's last sentence ("zorblats: ...")

  function toBase64Url(bytes) {
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }
  function fromBase64Url(text) {
    try {
      const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
      return Uint8Array.from(binary, c => c.charCodeAt(0));
    } catch {
      return new Uint8Array(0);  // the game says what is wrong with it
    }
  }
  const fragment = /^#replay=([A-Za-z0-9_-]*)$/.exec(location.hash);
  const watching = fragment ? fromBase64Url(fragment[1]) : null;

  // The replay this page has: the one it watches, the session so far, or the last one kept.
  function replayBytes() {
    if (watching) return watching;
    try {
      if (running && Module._PageSaveSessionSoFar()) return FS.readFile(SESSION_SO_FAR);
      return FS.readFile(LAST_SESSION);
    } catch {
      return null;
    }
  }
  function saveReplay() {
    const bytes = replayBytes();
    if (!bytes) return;
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
    link.download = 'zorblats.zrp';
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }
  function replayLink(bytes) {
    return `${location.origin}${location.pathname}#replay=${toBase64Url(bytes)}`;
  }
  async function copyReplayLink(event) {
    const bytes = replayBytes();
    if (!bytes) return;
    const link = replayLink(bytes);
    const button = event.currentTarget;
    try {
      await navigator.clipboard.writeText(link);
      button.textContent = 'Link copied';
    } catch {
      window.prompt('The link to this replay:', link);
    }
  }
  function watch(bytes) {
    location.hash = `replay=${toBase64Url(bytes)}`;
    location.reload();
  }
  async function watchFile(file) {
    if (file) watch(new Uint8Array(await file.arrayBuffer()));
  }
  function playInstead() {
    location.replace(location.pathname);
  }
  page.showReplayStatus = text => {
    replayStatus.hidden = false;
    replayStatus.textContent = text.replace(/^ZORBLATS /, '');
  };
  // The best scores' sessions, which the game keeps beside the saves: one button for each.
  const keptReplays = document.getElementById('kept-replays');
  function listKeptReplays() {
    keptReplays.replaceChildren();
    for (let place = 1; place <= 5; ++place) {
      let bytes;
      try {
        bytes = FS.readFile(`${KEPT}best-${place}.zrp`);
      } catch {
        continue;  // none kept for that place (or no game yet)
      }
      const button = document.createElement('button');
      button.setAttribute('role', 'menuitem');
      button.textContent = `Watch high score ${place}`;
      button.addEventListener('click', () => watch(bytes));
      keptReplays.append(button);
    }
  }
  replayButton.addEventListener('click', event => {
    if (!replayMenu.classList.contains('open')) listKeptReplays();
    replayMenu.classList.toggle('open');
    fit();
    event.currentTarget.blur();
  });
  for (const [id, action] of [['save-replay', saveReplay], ['link-replay', copyReplayLink],
                              ['watch-replay', () => replayFile.click()]]) {
    document.getElementById(id).addEventListener('click', event => {
      action(event);
      if (id !== 'link-replay') replayMenu.classList.remove('open');
      event.currentTarget.blur();
    });
  }
  replayFile.addEventListener('change', () => watchFile(replayFile.files[0]));
  document.addEventListener('dragover', event => event.preventDefault());
  document.addEventListener('drop', event => {
    event.preventDefault();
    watchFile(event.dataTransfer.files[0]);
  });

  // ---- The game's life: downloaded with its progress shown, one copy per browser, a page
  // that offers it again at the end -------------------------------------------------------
  let releaseLock = () => {};
  function stopped(text, buttonText, more) {
    running = false;
    letGoOfControls();
    releaseLock();
    showNotice(text, buttonText, () => location.reload(), more);
  }
  const hear = line => {
    if (line.startsWith('zorblats: ')) said = line.slice('zorblats: '.length);
  };
  window.Module = {
    page,
    canvas,
    locateFile: name => name,
    print: hear,
    printErr: hear,
    arguments: watching ? ['--replay', WATCHED] : [],
    preRun: watching ? [() => FS.writeFile(WATCHED, watching)] : [],
    onExit() {
      if (watching) {
        stopped(said || 'The replay has ended.', 'Watch again',
                [['Play ZORBLATS', playInstead], ['Save this replay', saveReplay]]);
      } else {
        stopped('ZORBLATS has ended.', 'Play again',
                [['Save this replay', saveReplay], ['Copy a link to this replay', copyReplayLink],
                 ['Watch a replay…', () => replayFile.click()]]);
      }
    },
    onAbort(what) {
      stopped(`ZORBLATS stopped on an error (${what}).`, 'Start again');
    },
  };
  // Ending the game unwinds the page's call into it with Emscripten's exit marker: that is
  // the normal end, not an error.
  window.addEventListener('unhandledrejection', event => {
    if (event.reason && event.reason.name === 'ExitStatus') event.preventDefault();
  });

  const FILES = ['zorblats.js', 'zorblats.wasm', 'zorblats.data'];
  // Fetches the game's files together, showing how far they have got; throws a sentence
  // that names the file and what went wrong.
  async function download() {
    const got = FILES.map(() => 0);
    const sizes = FILES.map(() => 0);
    let failed = false;
    const show = () => {
      if (failed) return;
      const done = got.reduce((a, b) => a + b, 0);
      const total = Math.max(done, sizes.reduce((a, b) => a + b, 0));
      document.getElementById('notice-text').textContent =
        `Loading ZORBLATS: ${Math.round(done / 1024)} of ${Math.round(total / 1024) || '?'} KB`;
      progress.hidden = false;
      progress.max = total || 1;
      progress.value = Math.min(done, total);
    };
    async function fetchFile(file, i) {
      let response;
      try {
        response = await fetch(file);
      } catch {
        throw new Error(`${file} could not be downloaded: the network is not reachable.`);
      }
      if (!response.ok) {
        const why = response.status === 404 ? 'the server does not have it' : `the server answered ${response.status}`;
        throw new Error(`${file} could not be downloaded: ${why}.`);
      }
      sizes[i] = Number(response.headers.get('Content-Length')) || 0;
      const parts = [];
      try {
        for (const reader = response.body.getReader(); ;) {
          const {done, value} = await reader.read();
          if (done) break;
          parts.push(value);
          got[i] += value.length;
          show();
        }
      } catch {
        throw new Error(`${file} could not be downloaded: the network went away during the download.`);
      }
      return new Blob(parts);
    }
    return Promise.all(FILES.map(async (file, i) => {
      try {
        return await fetchFile(file, i);
      } catch (error) {
        failed = true;
        throw error;
      }
    }));
  }

  async function start() {
    page.holdsLock = true;
    showNotice('Loading ZORBLATS');
    try {
      const [script, wasm, data] = await download();
      Module.wasmBinary = await wasm.arrayBuffer();
      const packed = await data.arrayBuffer();
      Module.getPreloadedPackage = () => packed;
      const element = document.createElement('script');
      element.src = URL.createObjectURL(script.slice(0, script.size, 'text/javascript'));
      document.body.appendChild(element);
      hideNotice();
    } catch (error) {
      stopped(`ZORBLATS could not start: ${error.message} Check the connection and try again.`, 'Try again');
    }
  }

  function takeLock(lock) {
    start();
    return new Promise(release => { releaseLock = release; });
  }
  if (navigator.locks) {
    navigator.locks.request('zorblats-game', {ifAvailable: true}, lock => {
      if (lock) return takeLock(lock);
      showNotice('ZORBLATS is already open in another tab or window of this browser. ' +
                 'It starts here when that one is closed.');
      navigator.locks.request('zorblats-game', takeLock);
      return undefined;
    });
  } else {
    start();
  }

  fit();
  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
})();

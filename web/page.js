// The page around the game: the canvas and its game box, full screen, the
// gamepad, downloads, and the sound ring that Web Audio plays. The game
// (stivra.js) calls into StivraPage; everything here fails quietly, since a
// browser without some feature still plays the game.
'use strict';

var StivraPage = {
  SAMPLE_RATE: 22050,
  RING_SIZE: 16384, // a power of two, far more than the four blocks kept queued

  box: null,
  canvas: null,
  context: null,
  image: null,
  running: false,
  finished: false,
  frames: 0, // pictures shown so far; the browser test waits on it
  autoplayShot: null,
  // The replay that plays or played last: { state: 'playing', 'ended' or
  // 'stopped', name, seed, total, passes, and at the end ticks, mode, task,
  // catches, quit and hash }; the browser test reads it.
  replay: null,
  // The reader's one line about the last file that could not be played.
  replayError: null,
  replayFast: false,
  replayLoading: null, // { name, bytes } while the game takes the file over
  replayPending: null, // a file that came before the game had started
  replayShownAt: 0,
  recordTakenText: null,
  audio: { wanted: false, context: null, node: null, ring: null, write: 0, read: 0, step: 1 },

  init() {
    this.box = document.getElementById('game-box');
    this.canvas = document.getElementById('game');
    this.context = this.canvas.getContext('2d', { alpha: false });
    this.image = this.context.createImageData(320, 200);
    this.fitBox();
    window.addEventListener('resize', () => this.fitBox());
    document.addEventListener('fullscreenchange', () => this.fitBox());
    document.addEventListener('webkitfullscreenchange', () => this.fitBox());
    this.button('full-screen', () => this.toggleFullScreen());
    this.button('screenshot', () => { if (Module._web_screenshot) Module._web_screenshot(); });
    this.button('restart', () => { location.reload(); });
    this.initReplay();
    if (typeof WebAssembly !== 'object') this.status('Dieser Browser kann das Spiel nicht ausführen (kein WebAssembly).');
  },

  button(id, action) {
    const b = document.getElementById(id);
    b.addEventListener('click', () => {
      action();
      // Focus back to the page, so that Space and Enter go to the game
      // rather than pressing the button again.
      b.blur();
    });
  },

  status(text) {
    document.getElementById('status').textContent = text;
  },

  // ---- picture ----

  showFrame(rgba) {
    this.frames += 1;
    this.image.data.set(rgba);
    this.context.putImageData(this.image, 0, 0);
  },

  // In the page, the game box is the largest whole multiple of 320x200
  // device pixels that fits the window (with room for the text); in full
  // screen it is the whole screen. The game places the canvas in it by the
  // letterbox rule, and the box's black shows as the bars.
  fitBox() {
    const full = document.fullscreenElement || document.webkitFullscreenElement;
    if (full) {
      this.box.style.width = '';
      this.box.style.height = '';
    } else {
      const dpr = window.devicePixelRatio || 1;
      const width = (document.documentElement.clientWidth - 32) * dpr;
      const height = (window.innerHeight - 150) * dpr;
      const scale = Math.max(1, Math.floor(Math.min(width / 320, height / 200)));
      this.box.style.width = (scale * 320) / dpr + 'px';
      this.box.style.height = (scale * 200) / dpr + 'px';
    }
    // Before the game has started its exports cannot run yet; it places
    // the canvas itself when it starts.
    if (this.running || this.finished) Module._web_relayout();
  },

  boxSize() {
    const dpr = window.devicePixelRatio || 1;
    const r = this.box.getBoundingClientRect();
    return [Math.round(r.width * dpr), Math.round(r.height * dpr)];
  },

  placeCanvas(x, y, w, h) {
    const dpr = window.devicePixelRatio || 1;
    const s = this.canvas.style;
    s.left = x / dpr + 'px';
    s.top = y / dpr + 'px';
    s.width = w / dpr + 'px';
    s.height = h / dpr + 'px';
  },

  toggleFullScreen() {
    try {
      if (document.fullscreenElement || document.webkitFullscreenElement) {
        (document.exitFullscreen || document.webkitExitFullscreen).call(document);
      } else {
        const request = this.box.requestFullscreen || this.box.webkitRequestFullscreen;
        const p = request.call(this.box);
        if (p && p.catch) p.catch(() => {});
      }
    } catch (e) {
      // No full screen here: the page stays as it is.
    }
  },

  // ---- gamepad: joystick 0 as axes 0..65535 and a button mask ----

  readGamepad() {
    if (!navigator.getGamepads) return null;
    let pads;
    try {
      pads = navigator.getGamepads();
    } catch (e) {
      return null;
    }
    for (const pad of pads || []) if (pad && pad.connected) return this.padState(pad);
    return null;
  },

  padState(pad) {
    const axis = (i) => {
      let v = i < pad.axes.length ? Number(pad.axes[i]) : 0;
      if (Number.isNaN(v)) v = 0;
      v = Math.min(1, Math.max(-1, v));
      return Math.round((v + 1) * 32767.5);
    };
    const down = (i) => i < pad.buttons.length && !!pad.buttons[i] && !!pad.buttons[i].pressed;
    let x = axis(0);
    let y = axis(1);
    let buttons = 0;
    if (pad.mapping === 'standard') {
      // A, B, X, Y are buttons 1 to 4; Back and Start are 9 and 10; the
      // D-pad overrides the stick.
      for (let i = 0; i < 4; ++i) if (down(i)) buttons |= 1 << i;
      if (down(8)) buttons |= 256;
      if (down(9)) buttons |= 512;
      if (down(12)) y = 0;
      if (down(13)) y = 65535;
      if (down(14)) x = 0;
      if (down(15)) x = 65535;
    } else {
      for (let i = 0; i < 32 && i < pad.buttons.length; ++i) if (down(i)) buttons |= 1 << i;
    }
    return [x, y, buttons >>> 0];
  },

  // ---- files ----

  offerFile(name, data) {
    const url = URL.createObjectURL(new Blob([data], { type: 'image/bmp' }));
    const a = document.createElement('a');
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  },

  // ---- recorded runs ----

  initReplay() {
    const input = document.getElementById('replay-file');
    this.button('replay-open', () => input.click());
    input.addEventListener('change', () => {
      const file = input.files && input.files[0];
      input.value = ''; // so that the same file can be chosen again
      if (file) this.replayFile(file);
    });
    this.button('replay-fast', () => {
      this.setReplayFast(!this.replayFast);
      if (this.replay && this.replay.state === 'playing') Module._web_replay_fast(this.replayFast ? 1 : 0);
    });
    this.button('replay-take-over', () => Module._web_replay_take_over());

    // A file dropped anywhere on the page plays.
    const files = (e) => e.dataTransfer && Array.from(e.dataTransfer.types || []).includes('Files');
    window.addEventListener('dragover', (e) => {
      if (!files(e)) return;
      e.preventDefault();
      e.dataTransfer.dropEffect = 'copy';
      this.box.classList.add('drop');
    });
    window.addEventListener('dragleave', () => this.box.classList.remove('drop'));
    window.addEventListener('drop', (e) => {
      this.box.classList.remove('drop');
      if (!files(e)) return;
      e.preventDefault();
      if (e.dataTransfer.files.length > 0) this.replayFile(e.dataTransfer.files[0]);
    });

    // ?replay=URL plays a file served beside the page, ?fast=1 as fast as it goes.
    const query = new URLSearchParams(location.search);
    this.setReplayFast(query.get('fast') === '1');
    const url = query.get('replay');
    if (url) this.replayUrl(url);
  },

  setReplayFast(fast) {
    this.replayFast = fast;
    const b = document.getElementById('replay-fast');
    b.textContent = fast ? 'Normal abspielen' : 'Vorspulen';
    b.setAttribute('aria-pressed', String(fast));
  },

  async replayUrl(url) {
    let bytes;
    try {
      const response = await fetch(url, { cache: 'no-store' });
      if (!response.ok) throw new Error(`HTTP ${response.status}`);
      bytes = new Uint8Array(await response.arrayBuffer());
    } catch (e) {
      this.showReplayError(`Die Aufzeichnung „${url}“ ließ sich nicht laden (${e.message}).`);
      return;
    }
    this.replayPlay(url, bytes);
  },

  async replayFile(file) {
    let bytes;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch (e) {
      this.showReplayError(`Die Datei „${file.name}“ ließ sich nicht lesen.`);
      return;
    }
    this.replayPlay(file.name, bytes);
  },

  replayPlay(name, bytes) {
    if (!this.running && !this.finished) {
      this.replayPending = [name, bytes];
      return;
    }
    // The game copies the bytes (replayBytes) and reports back through
    // replayStarted or replayFailed before this call returns.
    // A length beyond 32 bits stays too large for the game instead of wrapping.
    const size = Math.min(bytes.length, 0xFFFFFFFF);
    this.replayLoading = { name, bytes: bytes.subarray(0, size) };
    try {
      Module._web_replay_load(size, this.replayFast ? 1 : 0);
    } finally {
      this.replayLoading = null;
    }
  },

  replayBytes() {
    return this.replayLoading.bytes;
  },

  // The page's own record of the run it plays, from program start, as the
  // text of a replay file (with the closing line for the game as it stands),
  // or null before the game has started.
  recordText() {
    if (!this.running && !this.finished) return null;
    this.recordTakenText = null;
    Module._web_record_take();
    return this.recordTakenText;
  },

  recordTaken(bytes, endLine) {
    this.recordTakenText = new TextDecoder().decode(bytes) + endLine;
  },

  showReplayError(text) {
    const e = document.getElementById('replay-error');
    e.textContent = text;
    e.hidden = false;
  },

  replayFailed(error) {
    this.replayError = error;
    this.showReplayError(`Die Aufzeichnung „${this.replayLoading.name}“ lässt sich nicht abspielen: ${error}`);
  },

  replayStarted(seed, total) {
    this.replayError = null;
    document.getElementById('replay-error').hidden = true;
    this.replay = { state: 'playing', name: this.replayLoading.name, seed, total, passes: 0 };
    document.getElementById('replay-fast').hidden = false;
    document.getElementById('replay-take-over').hidden = false;
    this.showReplay(true);
  },

  replayProgress(passes) {
    this.replay.passes = passes;
    this.showReplay(false);
  },

  replayEnded(result) {
    Object.assign(this.replay, result, { state: 'ended' });
    document.getElementById('replay-fast').hidden = true;
    this.showReplay(true);
  },

  replayTakenOver(finished) {
    if (!finished) this.replay.state = 'stopped';
    document.getElementById('replay-fast').hidden = true;
    document.getElementById('replay-take-over').hidden = true;
    this.showReplay(true);
  },

  MODE_NAMES: ['Titel', 'Vorspann', 'im Spiel', 'erwischt', 'erwischt', 'entkommen'],

  // The line under the picture; while a replay plays it changes a few times
  // a second, not every frame.
  showReplay(now) {
    const r = this.replay;
    const t = performance.now();
    if (!now && t - this.replayShownAt < 250) return;
    this.replayShownAt = t;
    let text = `Aufzeichnung „${r.name}“ (Startwert ${r.seed}): `;
    if (r.state === 'playing') {
      text += `${r.passes} von ${r.total} Durchgängen`;
    } else if (r.state === 'stopped') {
      text += `nach ${r.passes} von ${r.total} Durchgängen angehalten; du spielst weiter.`;
    } else {
      text += `${r.passes} Durchgänge, ${r.ticks} Ticks abgespielt. Am Ende: Modus ${r.mode} ` +
        `(${this.MODE_NAMES[r.mode] || '?'}), Aufgabe ${r.task}, ${r.catches}-mal erwischt` +
        `${r.quit ? ', unterwegs auf dem Titel beendet' : ''}; Prüfsumme ${r.hash}.`;
      if (document.getElementById('replay-take-over').hidden) text += ' Du spielst weiter.';
    }
    const e = document.getElementById('replay-status');
    e.textContent = text;
    e.hidden = false;
  },

  // ---- game state ----

  gameStarted() {
    const first = !this.running && !this.finished;
    this.running = true;
    this.finished = false;
    document.getElementById('restart').hidden = true;
    document.getElementById('screenshot').disabled = false;
    this.status(this.audio.wanted ? 'Der Ton beginnt mit der ersten Taste oder dem ersten Klick.' : '');
    if (first && this.replayPending) {
      const [name, bytes] = this.replayPending;
      this.replayPending = null;
      this.replayPlay(name, bytes);
    }
  },

  gameStopped(autoplay, shot) {
    this.running = false;
    this.finished = true;
    document.getElementById('restart').hidden = false;
    if (!autoplay) {
      this.status('Das Spiel ist beendet.');
      return;
    }
    if (!shot) {
      this.status('Die Probefahrt ist beendet; ihr Bildschirmfoto fehlt.');
      return;
    }
    this.autoplayShot = shot;
    this.status('Die Probefahrt ist beendet. ');
    const a = document.createElement('a');
    a.id = 'autoplay-shot';
    a.textContent = 'Bildschirmfoto herunterladen (autoplay.bmp)';
    a.href = URL.createObjectURL(new Blob([shot], { type: 'image/bmp' }));
    a.download = 'autoplay.bmp';
    document.getElementById('status').appendChild(a);
  },

  // ---- sound ----

  audioOpen() {
    const a = this.audio;
    a.wanted = !!(window.AudioContext || window.webkitAudioContext);
    if (!a.wanted) return false;
    a.ring = new Float32Array(this.RING_SIZE);
    // Browsers allow sound only from a key press or a click.
    const start = () => this.startAudio();
    for (const type of ['keydown', 'pointerdown', 'touchend'])
      window.addEventListener(type, start, { capture: true });
    return true;
  },

  startAudio() {
    const a = this.audio;
    if (!a.wanted) return;
    try {
      if (!a.context) {
        const AudioContextClass = window.AudioContext || window.webkitAudioContext;
        try {
          a.context = new AudioContextClass({ sampleRate: this.SAMPLE_RATE });
        } catch (e) {
          a.context = new AudioContextClass();
        }
        a.step = this.SAMPLE_RATE / a.context.sampleRate;
        a.node = a.context.createScriptProcessor(1024, 1, 1);
        a.node.onaudioprocess = (event) => this.playAudio(event.outputBuffer.getChannelData(0));
        a.node.connect(a.context.destination);
      }
      if (this.running) this.status('');
      if (a.context.state === 'suspended') {
        const p = a.context.resume();
        if (p && p.catch) p.catch(() => {});
      }
    } catch (e) {
      this.audioClose();
    }
  },

  // Samples waiting to be played, or -1 while nothing plays them.
  audioQueued() {
    const a = this.audio;
    if (!a.context || a.context.state !== 'running') return -1;
    return a.write - Math.floor(a.read);
  },

  audioPush(samples) {
    const a = this.audio;
    const mask = this.RING_SIZE - 1;
    for (let i = 0; i < samples.length; ++i) {
      if (a.write - Math.floor(a.read) >= this.RING_SIZE) return;
      a.ring[a.write & mask] = samples[i] / 32768;
      a.write += 1;
    }
  },

  // Fills one output buffer from the ring, stepping through it at
  // 22050/output-rate; a dry ring plays silence until it is refilled.
  playAudio(out) {
    const a = this.audio;
    const mask = this.RING_SIZE - 1;
    for (let i = 0; i < out.length; ++i) {
      const index = Math.floor(a.read);
      if (index >= a.write) {
        out[i] = 0;
        continue;
      }
      const s0 = a.ring[index & mask];
      const s1 = index + 1 < a.write ? a.ring[(index + 1) & mask] : s0;
      out[i] = s0 + (s1 - s0) * (a.read - index);
      a.read += a.step;
    }
  },

  audioClose() {
    const a = this.audio;
    a.wanted = false;
    try {
      if (a.node) a.node.disconnect();
      if (a.context) a.context.close();
    } catch (e) {
      // Already gone.
    }
    a.node = null;
    a.context = null;
  },
};

// The settings of the generated stivra.js, which is loaded after this file.
var Module = {
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
  onAbort: () => StivraPage.status('Das Spiel ist mit einem Fehler stehen geblieben.'),
};

StivraPage.init();

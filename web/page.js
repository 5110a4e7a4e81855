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
  autoplayShot: null,
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

  // ---- game state ----

  gameStarted() {
    this.running = true;
    document.getElementById('screenshot').disabled = false;
    this.status(this.audio.wanted ? 'Der Ton beginnt mit der ersten Taste oder dem ersten Klick.' : '');
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

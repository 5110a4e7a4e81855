// The page around the game: the canvas and its game box, full screen, the
// gamepad, pause and mute, downloads, the page's own
// record of the run (saved as a file or shared as a link), the offline
// cache, and the sound ring that Web Audio plays. A touch screen's pad,
// layout and menu are phone.js's (StivraPhone). The game (stivra.js) calls
// into StivraPage; everything here fails quietly, since a browser without
// some feature still plays the game.
'use strict';

var StivraPage = {
  SAMPLE_RATE: 22050,
  RING_SIZE: 16384, // a power of two, far more than the four blocks kept queued
  REPLAY_MAX_BYTES: 4 << 20, // the game's reader refuses larger records

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
  paused: false,
  muted: false,
  autoplay: false,
  shareLink: null,
  // The on-screen pad: the bits each finger holds, by pointer id.
  touch: { shown: false, held: new Map(), bits: 0 },
  audio: { wanted: false, context: null, node: null, ring: null, write: 0, read: 0, step: 1 },

  init() {
    this.box = document.getElementById('game-box');
    this.canvas = document.getElementById('game');
    this.context = this.canvas.getContext('2d', { alpha: false });
    this.image = this.context.createImageData(320, 200);
    window.addEventListener('resize', () => this.fitBox());
    document.addEventListener('fullscreenchange', () => this.fitBox());
    document.addEventListener('webkitfullscreenchange', () => this.fitBox());
    this.autoplay = new URLSearchParams(location.search).get('autoplay') === '1';
    StivraPhone.init(this);
    this.fitBox();
    this.button('full-screen', () => this.toggleFullScreen());
    this.button('screenshot', () => { if (Module._web_screenshot) Module._web_screenshot(); });
    this.button('restart', () => { location.reload(); });
    this.button('pause', () => this.setPaused(!this.paused));
    this.button('paused', () => this.setPaused(false));
    this.button('mute', () => this.setMuted(!this.muted));
    this.button('save-run', () => this.saveRun());
    this.button('share-run', () => this.shareRun());
    // Looking away pauses: another window takes the keyboard, or the tab is hidden.
    window.addEventListener('blur', () => this.pauseForFocus());
    document.addEventListener('visibilitychange', () => { if (document.hidden) this.pauseForFocus(); });
    this.muteChanged(this.remembered('stivra.muted') === '1');
    this.initReplay();
    this.registerOffline();
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

  // Tells the keeper of games (runs.js) what happened, where it is loaded.
  runs(hook, ...args) {
    if (typeof StivraRuns !== 'undefined') StivraRuns[hook](...args);
  },

  // localStorage, where the browser allows it.
  remembered(key) {
    try {
      return localStorage.getItem(key);
    } catch (e) {
      return null;
    }
  },

  remember(key, value) {
    try {
      localStorage.setItem(key, value);
    } catch (e) {
      // Private mode or storage off: the choice lasts for this visit.
    }
  },

  // ---- picture ----

  showFrame(rgba) {
    this.frames += 1;
    this.image.data.set(rgba);
    this.context.putImageData(this.image, 0, 0);
    if (this.touch.shown) StivraPhone.frame();
  },

  // On a desktop, the game box is the largest whole multiple of 320x200
  // device pixels that fits the window (with room for the text); in full
  // screen it is the whole screen. On a touch screen phone.js places it
  // with the pad. The game places the canvas in it by the letterbox rule,
  // and the box's black shows as the bars.
  fitBox() {
    const full = document.fullscreenElement || document.webkitFullscreenElement;
    if (this.touch.shown) {
      StivraPhone.fit();
    } else if (full) {
      this.box.style.width = '';
      this.box.style.height = '';
    } else {
      const dpr = window.devicePixelRatio || 1;
      const width = document.documentElement.clientWidth - 32;
      const height = window.innerHeight - 150;
      const fits = Math.floor(Math.min((width * dpr) / 320, (height * dpr) / 200));
      // Below one device pixel a picture pixel, a share of one still fills the room.
      const scale = fits >= 1 ? fits : Math.max(0.25, Math.min((width * dpr) / 320, (height * dpr) / 200));
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

  // On a desktop the picture goes full screen; on a touch screen the whole
  // stage, the pad and the pause and sound buttons with it.
  toggleFullScreen() {
    try {
      if (document.fullscreenElement || document.webkitFullscreenElement) {
        (document.exitFullscreen || document.webkitExitFullscreen).call(document);
      } else if (!document.fullscreenEnabled && !document.webkitFullscreenEnabled) {
        this.status('Dieser Browser schaltet die Seite nicht ins Vollbild. Zum Startbildschirm hinzugefügt, ' +
                    'startet das Spiel im Vollbild.');
      } else {
        const target = this.touch.shown ? document.getElementById('stage') : this.box;
        const request = target.requestFullscreen || target.webkitRequestFullscreen;
        const p = request.call(target);
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

  // ---- the on-screen pad (phone.js) ----

  setTouchBits(bits) {
    this.touch.bits = bits;
    if (this.running && Module._web_touch_bits) Module._web_touch_bits(bits);
  },

  // ---- pause and mute ----

  // The game pauses on P and goes on on P; the page asks it through these
  // and hears back through pauseChanged and muteChanged.
  setPaused(paused) {
    if (this.running && Module._web_set_paused) Module._web_set_paused(paused ? 1 : 0);
  },

  pauseForFocus() {
    // Held fingers let go with the focus, as held keys do.
    if (this.touch.shown) StivraPhone.releaseAll();
    this.touch.held.clear();
    this.setTouchBits(0);
    if (!this.autoplay) this.setPaused(true);
  },

  pauseChanged(paused) {
    this.paused = !!paused;
    document.getElementById('paused').hidden = !this.paused;
    const b = document.getElementById('pause');
    b.setAttribute('aria-pressed', String(this.paused));
    b.textContent = this.paused ? 'Weiter' : 'Pause';
  },

  setMuted(muted) {
    if ((this.running || this.finished) && Module._web_set_muted) Module._web_set_muted(muted ? 1 : 0);
    else this.muteChanged(muted);
  },

  muteChanged(muted) {
    this.muted = !!muted;
    this.remember('stivra.muted', this.muted ? '1' : '0');
    const b = document.getElementById('mute');
    b.setAttribute('aria-pressed', String(this.muted));
    b.textContent = this.muted ? 'Ton an' : 'Ton aus';
  },

  // ---- keeping and sharing a run ----

  // The run so far (or the record given) as a replay file, named with its seed.
  saveRun(record) {
    const text = record || this.recordText();
    if (!text) return;
    const seed = (/^seed (\d+)$/m.exec(text) || [null, '0'])[1];
    this.offerFile(`stivra_lauf_seed${seed}.txt`, new TextEncoder().encode(text), 'text/plain');
  },

  // A link to this page whose fragment holds the run (or the record given),
  // deflated and in base64url: no server keeps anything.
  // Something the player asked for that lies outside the stage (the list of
  // games, a share link) is brought into view: in full screen it could not
  // be seen, so full screen ends and the game pauses while the player looks.
  showBeside(element) {
    const show = () => element.scrollIntoView({ block: 'nearest' });
    const full = document.fullscreenElement || document.webkitFullscreenElement;
    if (!full) {
      requestAnimationFrame(show);
      return;
    }
    if (this.running && !this.autoplay) this.setPaused(true);
    try {
      const p = (document.exitFullscreen || document.webkitExitFullscreen).call(document);
      if (p && p.then) p.then(show, show);
      else requestAnimationFrame(show);
    } catch (e) {
      requestAnimationFrame(show);
    }
  },

  async shareRun(record) {
    const text = record || this.recordText();
    if (!text) return;
    const note = document.getElementById('share-note');
    document.getElementById('share-box').hidden = false;
    this.showBeside(document.getElementById('share-box'));
    if (!window.CompressionStream) {
      note.textContent = 'Dieser Browser kann keine Links zu Läufen machen.';
      return;
    }
    const packed = await this.deflate(new TextEncoder().encode(text));
    const url = `${location.origin}${location.pathname}#run=${this.base64url(packed)}`;
    this.shareLink = url;
    const input = document.getElementById('share-link');
    input.value = url;
    input.select();
    note.textContent = `${url.length} Zeichen`;
    try {
      await navigator.clipboard.writeText(url);
      note.textContent += ', in die Zwischenablage kopiert';
    } catch (e) {
      // Copying needs a permission the page may not have; the link is shown.
    }
  },

  async deflate(bytes) {
    const stream = new Blob([bytes]).stream().pipeThrough(new CompressionStream('deflate-raw'));
    return new Uint8Array(await new Response(stream).arrayBuffer());
  },

  // At most limit bytes: a link is outside input, and a small one could
  // unpack to far more than any record. The compressed bytes go in a small
  // piece at a time while what they unpack to is read and counted, so that
  // no more than the limit (and one piece's worth) is ever held.
  async inflate(bytes, limit) {
    const PIECE = 1024; // at most about a megabyte unpacked from one piece
    const stream = new DecompressionStream('deflate-raw');
    const writer = stream.writable.getWriter();
    let stopped = false;
    const feeding = (async () => {
      for (let at = 0; at < bytes.length && !stopped; at += PIECE) {
        await writer.ready;
        if (!stopped) await writer.write(bytes.subarray(at, at + PIECE));
      }
      if (!stopped) await writer.close();
    })();
    feeding.catch(() => {}); // its failure shows on the reading side
    try {
      return await this.readLimited(stream.readable, limit);
    } finally {
      stopped = true;
      writer.abort().catch(() => {});
    }
  },

  // A stream's bytes, or an error once there are more than limit of them:
  // nothing beyond the limit is kept.
  async readLimited(readable, limit) {
    const reader = readable.getReader();
    const parts = [];
    let size = 0;
    try {
      for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        size += value.length;
        if (size > limit) throw new Error('zu groß');
        parts.push(value);
      }
    } catch (e) {
      reader.cancel().catch(() => {});
      throw e;
    }
    const out = new Uint8Array(size);
    let at = 0;
    for (const part of parts) {
      out.set(part, at);
      at += part.length;
    }
    return out;
  },

  base64url(bytes) {
    let binary = '';
    for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  },

  fromBase64url(text) {
    const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
    const bytes = new Uint8Array(binary.length);
    for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
  },

  // A shared link (#run=...) replays its run as ?replay= does; so does one
  // opened in a tab that shows the page already (only the fragment changes).
  async replayFromLink() {
    if (!location.hash.startsWith('#run=')) return false;
    const m = /^#run=([A-Za-z0-9_-]+)$/.exec(location.hash);
    let bytes;
    try {
      if (!m) throw new Error('kein base64url');
      bytes = await this.inflate(this.fromBase64url(m[1]), this.REPLAY_MAX_BYTES);
    } catch (e) {
      this.showReplayError(e.message === 'zu groß'
        ? 'Der Link enthält mehr als 4 MiB: so groß ist kein Lauf.'
        : 'Der Link enthält keinen lesbaren Lauf.');
      return true;
    }
    this.replayPlay('geteilter Lauf', bytes);
    return true;
  },

  // ---- offline ----

  // After one visit the page's files come from the service worker's cache,
  // so the game loads and plays with no network at all.
  registerOffline() {
    if (!('serviceWorker' in navigator) || location.protocol === 'file:') return;
    window.addEventListener('load', () => {
      navigator.serviceWorker.register('sw.js').catch(() => {});
    });
  },

  // ---- files ----

  offerFile(name, data, type = 'image/bmp') {
    // Screenshots count on across visits, as downloads never overwrite.
    const shot = /^stivra_(\d\d)\.bmp$/.exec(name);
    if (shot) this.remember('stivra.screenshot', String((Number(shot[1]) + 1) % 100));
    const url = URL.createObjectURL(new Blob([data], { type }));
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
    else this.replayFromLink();
    window.addEventListener('hashchange', () => this.replayFromLink());
  },

  setReplayFast(fast) {
    this.replayFast = fast;
    const b = document.getElementById('replay-fast');
    b.textContent = fast ? 'Normal abspielen' : 'Vorspulen';
    b.setAttribute('aria-pressed', String(fast));
  },

  // The address of a file beside the page, or null: only a name relative to
  // the page, on the page's own site, is ever fetched. A scheme (http:,
  // data:), a host (//...) or a backslash is refused before anything is
  // requested.
  sameSiteAddress(url) {
    if (/^[A-Za-z][A-Za-z0-9+.-]*:/.test(url) || /[\\\s]/.test(url) || url.startsWith('//')) return null;
    let resolved;
    try {
      resolved = new URL(url, location.href);
    } catch (e) {
      return null;
    }
    return resolved.origin === location.origin ? resolved.href : null;
  },

  async replayUrl(url) {
    const address = this.sameSiteAddress(url);
    if (!address) {
      this.showReplayError(`Die Aufzeichnung „${url}“ wird nicht geladen: nur eine Datei neben dieser Seite lässt sich abspielen (ein Name ohne „http:“ und „//“).`);
      return;
    }
    let bytes;
    try {
      // Same site only, also after a redirection; no more than any record.
      const response = await fetch(address, { cache: 'no-store', mode: 'same-origin', redirect: 'error' });
      if (!response.ok) throw new Error(`Antwort ${response.status}`);
      bytes = await this.readLimited(response.body, this.REPLAY_MAX_BYTES);
    } catch (e) {
      const why = /^Antwort \d+$/.test(e.message) ? e.message : e.message === 'zu groß' ? 'größer als 4 MiB' : 'nicht erreichbar';
      this.showReplayError(`Die Aufzeichnung „${url}“ ließ sich nicht laden (${why}).`);
      return;
    }
    this.replayPlay(url, bytes);
  },

  async replayFile(file) {
    let bytes;
    // A file larger than any record is refused unread.
    if (file.size > this.REPLAY_MAX_BYTES) {
      this.showReplayError(`Die Aufzeichnung „${file.name}“ lässt sich nicht abspielen: ` +
                           this.readerLineInGerman(`the record is larger than ${this.REPLAY_MAX_BYTES} bytes (4 MiB), far more than any recorded run`));
      return;
    }
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
    this.runs('beforeReplay');
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

  replayFailed(refusal) {
    this.replayError = refusal.text;
    this.showReplayError(`Die Aufzeichnung „${this.replayLoading.name}“ lässt sich nicht abspielen: ` +
                         this.readerLineInGerman(refusal.text));
  },

  // The reader's line (the native tool prints it as it stands) in the
  // page's language.
  READER_LINES: [
    [/^line (\d+): /, 'Zeile $1: '],
    [/missing header: the first line must be 'stivra-replay 1'/, 'die Kopfzeile fehlt: die erste Zeile muss „stivra-replay 1“ sein'],
    [/missing version after 'stivra-replay'/, 'nach „stivra-replay“ fehlt die Version'],
    [/unknown version (\d+) \(this build reads version 1\)/, 'unbekannte Version $1 (das Spiel liest Version 1)'],
    [/bad number '(.*)' for (.*) \(digits only, at most 4294967295\)/, 'ungültige Zahl „$1“ für $2 (nur Ziffern, höchstens 4294967295)'],
    [/unexpected '(.*)' after (.*)$/, 'unerwartet: „$1“ nach $2'],
    [/missing seed line 'seed N'/, 'die Zeile mit dem Startwert („seed N“) fehlt'],
    [/expected the seed line 'seed N'/, 'hier gehört die Zeile mit dem Startwert hin („seed N“)'],
    [/expected 'COUNT BITS \[TICKS\]'/, 'erwartet: „ANZAHL BITS [TICKS]“'],
    [/COUNT must be at least 1/, 'ANZAHL muss mindestens 1 sein'],
    [/BITS (\d+) is not an InputBits mask \(0..511\)/, 'BITS $1 ist keine Tastenmaske (0..511)'],
    [/TICKS (\d+) is outside 1..4/, 'TICKS $1 liegt nicht zwischen 1 und 4'],
    [/the text ends in the middle of a line \(no newline at its end\)/, 'der Text endet mitten in einer Zeile (ohne Zeilenende)'],
    [/the record runs longer than a day of play \(more than (\d+) Ticks\)/, 'die Aufzeichnung dauert länger als einen Tag Spielzeit (mehr als $1 Ticks)'],
    [/the record is larger than \d+ bytes \(4 MiB\), far more than any recorded run/, 'die Datei ist größer als 4 MiB, weit mehr als jede Aufzeichnung'],
    [/\bthe version\b/, 'der Version'],
    [/\bthe seed\b/, 'dem Startwert'],
  ],

  readerLineInGerman(line) {
    let text = line;
    for (const [pattern, german] of this.READER_LINES) text = text.replace(pattern, german);
    return text;
  },

  replayStarted(seed, total) {
    this.replayError = null;
    document.getElementById('replay-error').hidden = true;
    this.replay = { state: 'playing', name: this.replayLoading.name, seed, total, passes: 0 };
    document.getElementById('replay-fast').hidden = false;
    document.getElementById('replay-take-over').hidden = false;
    document.getElementById('ended').hidden = true;
    // Choosing the file took the focus and paused the game; the replay plays.
    if (this.paused) this.setPaused(false);
    this.showReplay(true);
    this.runs('replayStarted');
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
    this.runs('replayTakenOver');
  },

  MODE_NAMES: ['Titel', 'Vorspann', 'im Spiel', 'erwischt', 'erwischt', 'entkommen'],

  // The line under the picture for the player, and the details for testers
  // in their folded section; while a replay plays they change a few times a
  // second, not every frame. At the end the player's line carries the
  // GameState hash too: it is how two people see they watched the same game.
  showReplay(now) {
    const r = this.replay;
    const t = performance.now();
    if (!now && t - this.replayShownAt < 250) return;
    this.replayShownAt = t;
    let text = `Wiedergabe „${r.name}“: `;
    let details = `Aufzeichnung „${r.name}“ (Startwert ${r.seed}): `;
    const share = r.total > 0 ? Math.floor((100 * r.passes) / r.total) : 100;
    if (r.state === 'playing') {
      text += `${share} % gespielt`;
      details += `${r.passes} von ${r.total} Durchgängen`;
    } else if (r.state === 'stopped') {
      text += `nach ${share} % angehalten; du spielst weiter.`;
      details += `nach ${r.passes} von ${r.total} Durchgängen angehalten.`;
    } else {
      const outcome = r.mode === 5 ? 'entkommen!' : r.mode === 3 || r.mode === 4 ? 'erwischt.' : 'zu Ende.';
      text += `${outcome} ${r.catches}-mal erwischt. Spielstand ${r.hash}`;
      details += `${r.passes} Durchgänge, ${r.ticks} Ticks abgespielt. Am Ende: Modus ${r.mode} ` +
        `(${this.MODE_NAMES[r.mode] || '?'}), Aufgabe ${r.task}, ${r.catches}-mal erwischt` +
        `${r.quit ? ', unterwegs auf dem Titel beendet' : ''}; Prüfsumme ${r.hash}.`;
      if (document.getElementById('replay-take-over').hidden) text += ' Du spielst weiter.';
    }
    const e = document.getElementById('replay-status');
    e.textContent = text;
    e.hidden = false;
    document.getElementById('replay-details').textContent = details;
  },

  // ---- game state ----

  gameStarted() {
    const first = !this.running && !this.finished;
    this.running = true;
    this.finished = false;
    document.getElementById('ended').hidden = true;
    for (const id of ['screenshot', 'save-run', 'share-run', 'pause']) document.getElementById(id).disabled = false;
    this.status(this.audio.wanted && !(this.audio.context && this.audio.context.state === 'running')
      ? 'Der Ton beginnt mit der ersten Taste, dem ersten Klick oder der ersten Berührung.' : '');
    if (Module._web_set_muted) Module._web_set_muted(this.muted ? 1 : 0);
    if (Module._web_touch_bits) Module._web_touch_bits(this.touch.bits);
    if (first) {
      const shots = Number(this.remembered('stivra.screenshot'));
      if (Module._web_set_screenshot_counter && shots > 0 && shots < 100) Module._web_set_screenshot_counter(shots);
    }
    this.runs('gameStarted', first);
    if (first && this.replayPending) {
      const [name, bytes] = this.replayPending;
      this.replayPending = null;
      this.replayPlay(name, bytes);
    }
  },

  // The game has ended: BACK on the title, or the end of the smoke run. The
  // picture says so plainly, with the way to start again.
  gameStopped(autoplay, shot) {
    this.running = false;
    this.finished = true;
    this.pauseChanged(false);
    document.getElementById('pause').disabled = true;
    const ended = document.getElementById('ended');
    ended.querySelector('p').textContent = autoplay ? 'Die Probefahrt ist zu Ende.' : 'Das Spiel ist beendet.';
    ended.hidden = false;
    if (!autoplay) {
      this.status('Das Spiel ist beendet. „Neu starten“ beginnt ein neues.');
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

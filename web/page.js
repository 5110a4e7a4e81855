// The page around the game, made of one module a concern; the game
// (stivra.js) calls into StivraPage, the one object they make up together:
//   page_layout.js    the canvas, its box, full screen
//   page_pad.js       the gamepad and the bits of the on-screen pad
//   page_sound.js     the sound ring that Web Audio plays, mute
//   page_replays.js   recorded runs played in the page, the page's own record
//   page_share.js     a run saved as a file or shared as a link
//   page_offline.js   the offline cache's worker
//   runs.js           the player's kept games, continued where they ended
// and this file: what the page knows of the game's state, pause, and the
// start. A touch screen's pad, layout and menu are phone.js's (StivraPhone,
// a classic script loaded before). Everything fails quietly, since a
// browser without some feature still plays the game. The numbers the page
// shares with the game come from page_constants.js, which the build writes.
import { layout } from './page_layout.js';
import { INPUT, MODE } from './page_constants.js';
import { offline } from './page_offline.js';
import { pad } from './page_pad.js';
import { replays } from './page_replays.js';
import { share } from './page_share.js';
import { sound } from './page_sound.js';
import { attachRuns } from './runs.js';

const StivraPage = Object.assign({
  box: null,
  canvas: null,
  context: null,
  image: null,
  running: false,
  finished: false,
  frames: 0, // pictures shown so far; the browser test waits on it
  autoplayShot: null,
  paused: false,
  muted: false,
  autoplay: false,
  // The on-screen pad: the bits each finger holds, by pointer id.
  touch: { shown: false, held: new Map(), bits: 0 },
  keeper: null, // runs.js

  init() {
    this.box = document.getElementById('game-box');
    this.canvas = document.getElementById('game');
    this.context = this.canvas.getContext('2d', { alpha: false });
    this.image = this.context.createImageData(320, 200);
    window.addEventListener('resize', () => this.fitBox());
    document.addEventListener('fullscreenchange', () => this.fitBox());
    document.addEventListener('webkitfullscreenchange', () => this.fitBox());
    this.autoplay = new URLSearchParams(location.search).get('autoplay') === '1';
    this.labelPad();
    StivraPhone.init(this, { MODE, INPUT });
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

  // Tells the keeper of games (runs.js) what happened.
  runs(hook, ...args) {
    if (this.keeper) this.keeper[hook](...args);
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
}, layout, pad, sound, replays, share, offline);

// The game and the tests find the page by its global name.
window.StivraPage = StivraPage;

// The settings of the generated stivra.js, loaded once the page is ready:
// a module runs after the document is read, and the game must find both.
window.Module = {
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
  onAbort: () => StivraPage.status('Das Spiel ist mit einem Fehler stehen geblieben.'),
};

StivraPage.init();
attachRuns(StivraPage);
const game = document.createElement('script');
game.src = 'stivra.js';
game.async = true;
document.body.append(game);

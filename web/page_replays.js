// Recorded runs played in the page: a file chosen, dropped or named by
// ?replay= is handed to the game, which checks it with its reader and
// replays it; the page shows its progress and its end, the reader's refusal
// in German (page_refusals.js), and lets the player take over. The page's
// own record of the run comes from the game here too.
import { MODE, REPLAY_MAX_BYTES } from './page_constants.js';
import { refusalInGerman } from './page_refusals.js';

export const replays = {
  // The replay that plays or played last: { state: 'playing', 'ended' or
  // 'stopped', name, seed, total, passes, and at the end ticks, mode, task,
  // catches, quit and hash }; the browser test reads it.
  replay: null,
  // The reader's English line about the last file that could not be played.
  replayError: null,
  replayFast: false,
  replayLoading: null, // { name, bytes } while the game takes the file over
  replayPending: null, // a file that came before the game had started
  replayShownAt: 0,
  recordTakenText: null,

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
      bytes = await this.readLimited(response.body, REPLAY_MAX_BYTES);
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
    if (file.size > REPLAY_MAX_BYTES) {
      this.showReplayError(`Die Aufzeichnung „${file.name}“ lässt sich nicht abspielen: ` +
                           refusalInGerman({ code: 'too-large', numbers: [REPLAY_MAX_BYTES, 0] }));
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

  // The reader's refusal: { code, line, numbers, what, field, text }, text
  // its English line (the native tool prints it as it stands).
  replayFailed(refusal) {
    this.replayError = refusal.text;
    this.showReplayError(`Die Aufzeichnung „${this.replayLoading.name}“ lässt sich nicht abspielen: ` +
                         refusalInGerman(refusal));
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

  MODE_NAMES: {
    [MODE.TITLE]: 'Titel', [MODE.INTRO]: 'Vorspann', [MODE.PLAYING]: 'im Spiel',
    [MODE.CAUGHT_ANIMATION]: 'erwischt', [MODE.CAUGHT]: 'erwischt', [MODE.ESCAPED]: 'entkommen',
  },

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
      const outcome = r.mode === MODE.ESCAPED ? 'entkommen!'
        : r.mode === MODE.CAUGHT_ANIMATION || r.mode === MODE.CAUGHT ? 'erwischt.' : 'zu Ende.';
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
};

// Keeping the player's games, and continuing them where they ended.
//
// The game watches its own games: Module._web_keep_poll() tells keepMark
// which game of the program run is the last one, whether it is alive, given
// up or won, its hand-over pass (the last pass before its end), floor, task
// and times. The page keeps the last ten games in localStorage, each with
// the record of its program run, written twice a second while playing and at
// once when the page is hidden or left, so that a reload, a killed tab or an
// ESC at the wrong moment loses at most a second. A game is continued by
// replaying its record from start-up as fast as the machine goes; the game
// hands it over paused, at the pass where it ended.
//
// Everything read back from storage is outside input: its shape is checked
// field by field, and each record by the game's own reader before it is
// offered; what fails is dropped with one German line. Storage that is
// full or missing never stops the page from playing.
import { FLOOR_COUNT, REPLAY_MAX_BYTES, REPLAY_MAX_PLAY_TICKS, TASK_COUNT } from './page_constants.js';
import { refusalInGerman } from './page_refusals.js';
import { runsList } from './runs_list.js';

// The page (page.js), given to attachRuns.
let StivraPage = null;

export const StivraRuns = Object.assign({
  KEY: 'stivra.runs',
  VERSION: 1,
  MAX_GAMES: 10,
  // Pinned games never drop off; one place always stays for the game played now.
  MAX_PINNED: 9,
  WRITE_EVERY_MS: 500,
  RECORD_MAX_BYTES: REPLAY_MAX_BYTES, // the reader refuses larger records
  MAX_PLAY_TICKS: REPLAY_MAX_PLAY_TICKS, // nor more than a day of play
  STATES: ['alive', 'given-up', 'won'],

  // 'ok', 'full' (a write was refused for want of room) or 'none' (the
  // browser gives the page no storage).
  storage: 'ok',
  // The kept games as last read or written, most recently played first.
  games: [],
  // The records were checked by the reader (once the game had started).
  ready: false,
  // The program run the game plays now: its game numbers (1, 2, ...) and
  // the kept entry each one writes to (null: deleted by the player, not
  // kept again), and what was last written for each entry.
  session: null,
  // A replay is being watched: its games are not the player's until taken over.
  watching: false,
  // While a kept game replays up to its hand-over: { from, pass, t0, passes }.
  continuing: null,
  page: null, // page.js, given to attachRuns
  // The last mark the game gave, and the last hand-over (for the tests).
  lastMark: null,
  lastContinue: null,
  recordCheckRefusal: null,
  mode: -1,
  writeTimer: 0,

  init() {
    this.session = this.newSession();
    try {
      if (!window.localStorage) this.storage = 'none';
    } catch (e) {
      this.storage = 'none';
    }
    StivraPage.button('runs-open', () => this.toggleList());
    StivraPage.button('continue-run', () => this.continueLast());
    document.getElementById('runs-list').addEventListener('click', (e) => this.listClicked(e));
    window.addEventListener('keydown', (e) => this.keyDown(e));
    // A tab that is hidden may be killed without another word; one that is
    // left is gone. Both write what was played up to now.
    window.addEventListener('pagehide', () => this.keep());
    document.addEventListener('visibilitychange', () => { if (document.hidden) this.keep(); });
    // Another tab of the page changed the list.
    window.addEventListener('storage', (e) => {
      if (e.key === this.KEY && this.ready) this.refresh();
    });
    this.writeTimer = setInterval(() => this.keep(), this.WRITE_EVERY_MS);
    if (this.storage === 'none') this.note('Dieser Browser lässt die Seite nichts speichern: Du kannst spielen, aber kein Spiel wird aufbewahrt.');
    this.watchMode();
  },

  newSession() {
    return { entries: new Map(), written: new Map() };
  },

  note(text) {
    const e = document.getElementById('runs-note');
    e.textContent = text || '';
    e.hidden = !text;
  },

  // ---- storage ----

  // A kept game as stored, or null when any field is missing or out of shape.
  cleanGame(g) {
    if (!g || typeof g !== 'object' || Array.isArray(g)) return null;
    const int = (v, lo, hi) => Number.isInteger(v) && v >= lo && v <= hi;
    const time = (v) => Number.isFinite(v) && v > 0 && v < 8.64e15;
    if (typeof g.id !== 'string' || !/^[0-9a-z]{1,32}$/.test(g.id)) return null;
    if (!time(g.date) || !time(g.updated)) return null;
    if (!int(g.seed, 0, 0xFFFFFFFF) || !int(g.pass, 1, this.MAX_PLAY_TICKS)) return null;
    if (!this.STATES.includes(g.state)) return null;
    if (!int(g.floor, 1, FLOOR_COUNT) || !int(g.task, 1, TASK_COUNT) || !int(g.stickers, 0, 999) || !int(g.catches, 0, 999999)) return null;
    if (!int(g.playTicks, 0, this.MAX_PLAY_TICKS) || !int(g.wonTicks, 0, this.MAX_PLAY_TICKS)) return null;
    if (typeof g.record !== 'string' || g.record.length > this.RECORD_MAX_BYTES) return null;
    // The record is of this game: its seed line names the game's seed.
    const seed = /^seed (\d+)$/m.exec(g.record);
    if (!g.record.startsWith('stivra-replay') || !seed || Number(seed[1]) !== g.seed) return null;
    return {
      id: g.id, date: g.date, updated: g.updated, seed: g.seed, record: g.record, pass: g.pass, state: g.state,
      floor: g.floor, task: g.task, stickers: g.stickers, catches: g.catches, playTicks: g.playTicks,
      wonTicks: g.state === 'won' ? g.wonTicks : 0, pinned: g.state === 'won' && g.pinned === true,
    };
  },

  // The kept games as stored now: { games, dropped } with the entries that
  // failed their shape counted in dropped (a key that is no list of games at
  // all counts as one), or null without storage.
  read() {
    let text;
    try {
      text = localStorage.getItem(this.KEY);
    } catch (e) {
      this.storage = 'none';
      return null;
    }
    if (text === null) return { games: [], dropped: 0 };
    let data;
    try {
      data = JSON.parse(text);
    } catch (e) {
      return { games: [], dropped: 1 };
    }
    if (!data || typeof data !== 'object' || data.version !== this.VERSION || !Array.isArray(data.games))
      return { games: [], dropped: 1 };
    const games = [];
    let dropped = 0;
    for (const stored of data.games) {
      const g = this.cleanGame(stored);
      if (g && !games.some((other) => other.id === g.id)) games.push(g);
      else dropped += 1;
    }
    return { games: this.trim(games), dropped };
  },

  // Most recently played first; pinned won games stay, the others drop off
  // the end beyond ten.
  trim(games) {
    const sorted = games.slice().sort((a, b) => b.updated - a.updated);
    const pinned = sorted.filter((g) => g.pinned).slice(0, this.MAX_PINNED);
    const others = sorted.filter((g) => !pinned.includes(g)).map((g) => Object.assign(g, { pinned: false }));
    const kept = pinned.concat(others.slice(0, this.MAX_GAMES - pinned.length));
    return sorted.filter((g) => kept.includes(g));
  },

  // True when the list is stored. A full quota leaves what was stored
  // before as it was, and says so once.
  write(games) {
    const text = JSON.stringify({ version: this.VERSION, games });
    try {
      localStorage.setItem(this.KEY, text);
    } catch (e) {
      const full = e && (e.name === 'QuotaExceededError' || e.name === 'NS_ERROR_DOM_QUOTA_REACHED' || e.code === 22);
      if (full && this.storage !== 'full')
        this.note('Der Speicher des Browsers ist voll: Die schon aufbewahrten Spiele bleiben, dieses wird nicht mehr gesichert.');
      else if (!full && this.storage !== 'none')
        this.note('Dieser Browser lässt die Seite nichts speichern: Du kannst spielen, aber kein Spiel wird aufbewahrt.');
      this.storage = full ? 'full' : 'none';
      return false;
    }
    if (this.storage === 'full') this.note('');
    this.storage = 'ok';
    return true;
  },

  // ---- the game's side ----

  // The game is running: the kept records are checked by its reader once,
  // and the list and the button are shown.
  gameStarted(first) {
    if (!first || this.ready) return;
    this.ready = true;
    const stored = this.read();
    if (!stored) {
      this.render();
      return;
    }
    let dropped = stored.dropped;
    let line = null;
    const good = stored.games.filter((g) => {
      const refused = this.recordRefusal(g.record);
      if (refused === null) return true;
      dropped += 1;
      line = line || refused;
      return false;
    });
    this.games = good;
    if (dropped > 0) {
      this.write(good);
      const what = dropped === 1 ? 'Ein aufbewahrtes Spiel war beschädigt und wurde entfernt'
        : `${dropped} aufbewahrte Spiele waren beschädigt und wurden entfernt`;
      this.note(line ? `${what}: ${line}` : `${what}.`);
    }
    this.render();
  },

  // The reader's refusal (in German) of a record, or null.
  recordRefusal(record) {
    if (typeof Module._web_record_check !== 'function') return null;
    const bytes = new TextEncoder().encode(record);
    this.recordCheckRefusal = null;
    StivraPage.replayLoading = { name: 'aufbewahrtes Spiel', bytes };
    let ok = 0;
    try {
      ok = Module._web_record_check(bytes.length);
    } finally {
      StivraPage.replayLoading = null;
    }
    if (ok) return null;
    return refusalInGerman(this.recordCheckRefusal || { code: 'none' });
  },

  recordRefused(refusal) {
    this.recordCheckRefusal = refusal;
  },

  // What the page may keep now: the player's own game, not a replay that is
  // watched, nor one that is being continued, nor the smoke run.
  keeping() {
    return this.ready && this.storage !== 'none' && StivraPage.running && !this.watching && !this.continuing &&
      !StivraPage.autoplay && typeof Module._web_keep_poll === 'function';
  },

  mark() {
    this.lastMark = null;
    Module._web_keep_poll();
    return this.lastMark;
  },

  keepMark(mark) {
    this.lastMark = mark;
  },

  // Writes the last game of the program run, when it has played since it
  // was last written.
  keep() {
    if (!this.keeping()) return;
    const m = this.mark();
    if (!m || !(m.games >= 1) || !this.STATES.includes(m.state)) return;
    const s = this.session;
    let id = s.entries.get(m.games);
    if (id === null) return;
    if (id === undefined) {
      // A game seen only after its end (a replay taken over on its end
      // screen) was never the player's.
      if (m.state !== 'alive') return;
      id = this.newId();
      s.entries.set(m.games, id);
    }
    const written = `${m.pass} ${m.state}`;
    if (s.written.get(id) === written) return;
    const record = StivraPage.recordText();
    const stored = this.read();
    if (!record || !stored) return;
    const now = Date.now();
    const before = stored.games.find((g) => g.id === id);
    const game = this.cleanGame({
      id, date: before ? before.date : now, updated: now, seed: m.seed, record, pass: m.pass, state: m.state,
      floor: m.floor, task: m.task, stickers: m.stickers, catches: m.catches, playTicks: m.playTicks,
      wonTicks: m.wonTicks, pinned: before ? before.pinned : false,
    });
    if (!game) return;
    const games = this.trim([game].concat(stored.games.filter((g) => g.id !== id)));
    if (this.write(games)) {
      s.written.set(id, written);
      this.games = games;
    } else {
      this.games = stored.games;
    }
    this.render();
  },

  newId() {
    const random = new Uint32Array(2);
    crypto.getRandomValues(random);
    return Date.now().toString(36) + random[0].toString(36) + random[1].toString(36);
  },

  // Re-reads the list another tab changed.
  refresh() {
    const stored = this.read();
    if (stored) this.games = stored.games;
    this.render();
  },

  // A replay is loaded: the game being played is written first, since the
  // replay begins another program run.
  beforeReplay() {
    this.keep();
  },

  replayStarted() {
    this.watching = true;
    this.continuing = null;
    this.session = this.newSession();
    this.showProgress(false);
    this.showButton();
  },

  // The player took the replayed game over: from here on it is theirs.
  replayTakenOver() {
    this.watching = false;
    this.keep();
    this.showButton();
  },

  // Every animation frame: a game that begins or ends is written at once,
  // before the next pass could begin another one, and the button follows
  // the title.
  watchMode() {
    requestAnimationFrame(() => this.watchMode());
    if (!this.ready || !(StivraPage.running || StivraPage.finished)) return;
    const mode = Module._web_game_mode();
    if (mode === this.mode) return;
    this.mode = mode;
    this.keep();
    this.showButton();
  },

  // ---- continuing ----

  // The game the title offers: the last one played, when it was not won.
  lastGame() {
    const g = this.games[0];
    return g && g.state !== 'won' ? g : null;
  },

  canContinue() {
    return this.ready && !this.continuing && typeof Module._web_continue_load === 'function' &&
      (StivraPage.running || StivraPage.finished);
  },

  continueLast() {
    const g = this.lastGame();
    if (g) this.continueGame(g.id);
  },

  keyDown(e) {
    if (e.code !== 'KeyC' || e.repeat || e.ctrlKey || e.altKey || e.metaKey) return;
    if (e.target && e.target.closest && e.target.closest('input, textarea, select')) return;
    if (document.getElementById('continue-run').hidden) return;
    e.preventDefault();
    this.continueLast();
  },

  continueGame(id) {
    if (!this.canContinue()) return;
    const g = this.games.find((x) => x.id === id);
    if (!g) return;
    // The game being played now is kept before another one takes its place.
    this.keep();
    const bytes = new TextEncoder().encode(g.record);
    this.continuing = { from: g, pass: g.pass, t0: performance.now(), passes: 0 };
    StivraPage.replayLoading = { name: 'aufbewahrtes Spiel', bytes };
    let ok = 0;
    try {
      ok = Module._web_continue_load(bytes.length, g.pass);
    } finally {
      StivraPage.replayLoading = null;
    }
    if (!ok) this.continuing = null;
  },

  // The reader refused the kept record (or its pass): the entry is dropped,
  // and the game goes on as it was.
  continueFailed(refusal) {
    const c = this.continuing;
    this.continuing = null;
    const text = refusalInGerman(refusal);
    if (c) this.forget(c.from.id);
    else this.render();
    this.note(`Das Spiel ließ sich nicht fortsetzen und wurde entfernt: ${text}`);
  },

  continueStarted(seed, pass) {
    if (!this.continuing) return;
    this.watching = false;
    this.session = this.newSession();
    this.continuing.pass = pass;
    this.note('');
    // A replay that was shown before is over.
    for (const id of ['ended', 'replay-fast', 'replay-take-over', 'replay-status']) document.getElementById(id).hidden = true;
    this.showProgress(true);
    this.render();
  },

  continueProgress(passes) {
    if (!this.continuing) return;
    this.continuing.passes = passes;
    this.showProgress(true);
  },

  // The game stands paused where it ended. The same entry goes on, unless
  // it was won: a won game stays as it was won, and playing on from before
  // its escape is a new entry.
  continueHandedOver() {
    const c = this.continuing;
    if (!c) return;
    this.continuing = null;
    const ms = performance.now() - c.t0;
    this.showProgress(false);
    const m = typeof Module._web_keep_poll === 'function' ? this.mark() : null;
    const id = c.from.state === 'won' ? this.newId() : c.from.id;
    if (m && m.games >= 1) {
      this.session.entries.set(m.games, id);
      // Nothing is written until the player plays on: the entry holds these passes already.
      this.session.written.set(id, `${m.pass} ${m.state}`);
    }
    this.lastContinue = { id, from: c.from.id, pass: c.pass, ms };
    this.mode = -1;
    StivraPage.status(`Dein Spiel geht weiter, wo es aufgehört hat (${this.facts(c.from)}). P oder ein Klick auf PAUSE spielt weiter.`);
    this.render();
  },

  showProgress(shown) {
    const box = document.getElementById('continue-progress');
    box.hidden = !shown;
    if (!shown || !this.continuing) return;
    const c = this.continuing;
    const share = c.pass > 0 ? Math.min(1, c.passes / c.pass) : 0;
    box.querySelector('progress').value = share;
    box.querySelector('.percent').textContent = `${Math.floor(share * 100)} %`;
  },

  // Changes one stored entry (or removes it) and shows the list as stored.
  change(id, how) {
    const stored = this.read();
    if (!stored) return;
    const games = how(stored.games);
    if (this.write(games)) this.games = games;
    else this.games = stored.games;
    this.render();
  },

  forget(id) {
    // The game being played now is not kept again either.
    for (const [n, entry] of this.session.entries) if (entry === id) this.session.entries.set(n, null);
    this.games = this.games.filter((g) => g.id !== id);
    this.change(id, (games) => games.filter((g) => g.id !== id));
  },

  pin(id, pinned) {
    this.change(id, (games) => {
      const count = games.filter((g) => g.pinned && g.id !== id).length;
      return games.map((g) => (g.id === id && g.state === 'won' && (!pinned || count < this.MAX_PINNED)
        ? Object.assign(g, { pinned }) : g));
    });
  },
}, runsList);

// The keeper joins the page: the game's calls about kept games go to it.
export function attachRuns(page) {
  StivraPage = page;
  StivraRuns.page = page;
  page.keeper = StivraRuns;
  // The tests find the keeper by its global name.
  window.StivraRuns = StivraRuns;
  Object.assign(page, {
    keepMark: (mark) => StivraRuns.keepMark(mark),
    recordRefused: (refusal) => StivraRuns.recordRefused(refusal),
    continueFailed: (refusal) => StivraRuns.continueFailed(refusal),
    continueStarted: (seed, pass) => StivraRuns.continueStarted(seed, pass),
    continueProgress: (passes) => StivraRuns.continueProgress(passes),
    continueHandedOver: () => StivraRuns.continueHandedOver(),
  });
  StivraRuns.init();
}

// The browser test's shared part: the pictures, the native replay tool, the
// waits on the page, and the runner that plays each named check in a
// browser context of its own.
//
// A check is { name, run(t), deadline_ms?, context? }. It gets a new context
// (and a new page, t.page) of one browser shared by all checks: nothing a
// check did, kept or stored reaches the next one, so a check that fails names
// itself and the rest still run. Every wait is for a state, with a deadline,
// so that a busy machine only makes the test slower.
import { chromium } from 'playwright-core';
import { spawn, spawnSync } from 'node:child_process';
import { mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { rm } from 'node:fs/promises';
import { join } from 'node:path';

// The game's modes and InputBits as the build wrote them for the page
// (page_constants.js), set by load_constants before any check runs.
export let MODE_TITLE, MODE_INTRO, MODE_PLAYING, MODE_ESCAPED, INPUT;
export async function load_constants(baseUrl) {
  const text = await (await fetch(`${baseUrl}/page_constants.js`)).text();
  const c = await import(`data:text/javascript,${encodeURIComponent(text)}`);
  ({ TITLE: MODE_TITLE, INTRO: MODE_INTRO, PLAYING: MODE_PLAYING, ESCAPED: MODE_ESCAPED } = c.MODE);
  INPUT = c.INPUT;
}
// Deadlines are long: they only end a wait that would otherwise hang.
export const DEADLINE = 60000;
// A whole recorded game replayed in the page, fast, on a busy machine.
export const REPLAY_DEADLINE = 600000;

// What the test was started with: { baseUrl, titlePath, seed, outDir,
// toolPath, replayPaths }, set once by browser_test.mjs.
export const Setup = {};

// ---- pictures ----

// An 8-bit BMP of the game (320x200 enlarged by a whole number, bottom-up)
// as 320x200 RGB.
export function bmp_frame(bytes) {
  const u32 = (o) => bytes.readUInt32LE(o);
  const width = u32(18), height = u32(22), scale = width / 320;
  if (!(Number.isInteger(scale) && scale >= 1 && scale <= 8 && height === 200 * scale &&
        bytes.readUInt16LE(28) === 8 && bytes.length === u32(10) + width * height)) {
    throw new Error('not a screenshot of the game');
  }
  const rgb = new Uint8Array(320 * 200 * 3);
  for (let y = 0; y < 200; ++y) {
    for (let x = 0; x < 320; ++x) {
      const index = bytes[u32(10) + (height - 1 - scale * y) * width + scale * x];
      for (let c = 0; c < 3; ++c) rgb[(y * 320 + x) * 3 + c] = bytes[54 + 4 * index + 2 - c];
    }
  }
  return rgb;
}

// A file's BMP as a frame, or null when it is missing or not the game's.
export function bmp_file_frame(file) {
  try { return bmp_frame(readFileSync(file)); } catch (e) { return null; }
}

// The canvas's 320x200 pixels as RGB. They cross from the page as base64
// (a quarter of a million numbers as JSON take seconds on a busy machine).
export async function canvas_frame(page) {
  const base64 = await page.evaluate(() => {
    const rgba = document.getElementById('game').getContext('2d').getImageData(0, 0, 320, 200).data;
    const chunks = [];
    for (let i = 0; i < rgba.length; i += 4096) {
      const rgb = [];
      for (let j = i; j < Math.min(i + 4096, rgba.length); j += 4) rgb.push(rgba[j], rgba[j + 1], rgba[j + 2]);
      chunks.push(String.fromCharCode(...rgb));
    }
    return btoa(chunks.join(''));
  });
  const rgb = new Uint8Array(Buffer.from(base64, 'base64'));
  if (rgb.length !== 320 * 200 * 3) throw new Error(`the canvas gave ${rgb.length} bytes, not 320x200 RGB`);
  return rgb;
}

// Pixels that differ inside the rectangle x0..x1, y0..y1 (inclusive).
export function differing(a, b, x0 = 0, y0 = 0, x1 = 319, y1 = 199) {
  let n = 0;
  for (let y = y0; y <= y1; ++y)
    for (let x = x0; x <= x1; ++x) {
      const i = (y * 320 + x) * 3;
      if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) n += 1;
    }
  return n;
}

// ---- the native replay tool ----

const frame_name = (pass) => `frame_${String(pass).padStart(6, '0')}.bmp`;
const tool_env = { ...process.env, ASAN_OPTIONS: 'detect_leaks=0' };

// The closing line of a record: "# end: N passes, N ticks, hash H, states
// S, frames F" (states and frames null in the short form of older builds).
export function stored_end(text) {
  const ends = [...text.matchAll(/^# end: (\d+) passes, (\d+) ticks, hash ([0-9a-f]{16})(?:, states ([0-9a-f]{16}), frames ([0-9a-f]{16}))?$/gm)];
  if (ends.length === 0) return null;
  const m = ends[ends.length - 1];
  return { passes: Number(m[1]), ticks: Number(m[2]), hash: m[3], states: m[4] || null, frames: m[5] || null };
}

// `stivra-tool replay FILE --from LAST --frames DIR`: its JSON and its last
// frame, the record's passes taken from its closing line. Replays run one
// after the other in the background while the browser plays (nothing in the
// page's checks depends on their timing), each in a folder of its own.
const native_children = new Set();  // ended with the test, should it stop early
let native_queue = Promise.resolve();
// A replay that hangs is ended, so that the replays queued behind it still run.
const NATIVE_DEADLINE = 10 * 60000;
export function native_replay(file, name) {
  const dir = join(Setup.outDir, `frames_${name}`);
  const run = () => new Promise((resolve) => {
    let end = null;
    try {
      end = stored_end(readFileSync(file, 'latin1'));
    } catch (e) {
      resolve({ json: { error: String(e) }, last: null, end: null });
      return;
    }
    rmSync(dir, { recursive: true, force: true });
    const last = end ? end.passes : 1;
    const child = spawn(Setup.toolPath, ['replay', file, '--from', String(Math.max(1, last)), '--frames', dir],
                        { env: tool_env, stdio: ['ignore', 'pipe', 'pipe'] });
    native_children.add(child);
    const timer = setTimeout(() => child.kill('SIGKILL'), NATIVE_DEADLINE);
    let out = '', err = '';
    child.stdout.on('data', (d) => { out += d; });
    child.stderr.on('data', (d) => { err += d; });
    const done = (json) => {
      clearTimeout(timer);
      native_children.delete(child);
      const frame = bmp_file_frame(join(dir, frame_name(json.passes)));
      rm(dir, { recursive: true, force: true }).finally(() => resolve({ json, last: frame, end }));
    };
    child.on('error', (e) => done({ error: String(e) }));
    child.on('close', (status) => {
      let json = { error: `exit code ${status}: ${err.trim()}` };
      if (status === 0) {
        try { json = JSON.parse(out); } catch (e) { json = { error: `not JSON: ${out.slice(0, 200)}` }; }
      }
      if (status === 0 && !end) json.error = 'the record has no closing line';
      done(json);
    });
  });
  native_queue = native_queue.then(run);
  return native_queue;
}

// The native replay of the i-th recorded run, started once however many
// checks wait for it.
const recorded_natives = new Map();
export function native_recorded(i) {
  if (!recorded_natives.has(i)) recorded_natives.set(i, native_replay(Setup.replayPaths[i], `recorded_${i}`));
  return recorded_natives.get(i);
}

// The reader's one line about a bad text, as the native tool prints it.
export function native_error(text) {
  const file = join(Setup.outDir, 'bad_replay.txt');
  writeFileSync(file, text);
  const run = spawnSync(Setup.toolPath, ['replay', file], { env: tool_env, encoding: 'utf8' });
  const prefix = `stivra-tool: ${file}: `;
  return run.status === 2 && run.stderr.startsWith(prefix) ? run.stderr.slice(prefix.length).trim() : null;
}

// The fields of the page's replay result that differ from the native JSON.
const END_FIELDS = ['seed', 'passes', 'ticks', 'mode', 'task', 'catches', 'quit', 'hash', 'states', 'frames'];
export function end_differences(page_end, native) {
  if (!page_end) return 'the page played nothing';
  if (native.error) return `native: ${native.error}`;
  return END_FIELDS.filter((f) => page_end[f] !== native[f])
    .map((f) => `${f}: page ${page_end[f]}, native ${native[f]}`).join('; ');
}

// ---- the page ----

// The page's record of what it played, written beside the test's output.
export async function page_record(page, name) {
  const text = await page.evaluate(() => StivraPage.recordText());
  const file = join(Setup.outDir, name);
  writeFileSync(file, text || '');
  return { file, text: text || '', end: stored_end(text || '') };
}

export const replay_result = (page) => page.evaluate(() => StivraPage.replay);
export const replay_state = (page, wanted, timeout) => page.waitForFunction(
  (s) => StivraPage.replay && StivraPage.replay.state === s, wanted, { timeout, polling: 100 });

export const state = (page) => page.evaluate(() => ({
  mode: Module._web_game_mode(), ticks: Module._web_total_ticks(), x: Module._web_player_x(), y: Module._web_player_y(),
  frames: StivraPage.frames,
}));
export const wait_mode = (page, mode) => page.waitForFunction((m) => Module._web_game_mode() === m, mode, { timeout: DEADLINE });
// Until the page has shown n more pictures (passes of the main loop).
export async function wait_frames(page, n) {
  const from = await page.evaluate(() => StivraPage.frames);
  await page.waitForFunction((f) => StivraPage.frames >= f, from + n, { timeout: DEADLINE });
}
// Until the game has run n more Ticks.
export async function wait_ticks(page, n) {
  const from = await page.evaluate(() => Module._web_total_ticks());
  await page.waitForFunction((t) => Module._web_total_ticks() >= t, from + n, { timeout: DEADLINE });
}
// Until the browser has run n more animation frames (each one a main-loop
// pass), whether or not the game drew anything in them.
export const animation_frames = (page, n) => page.evaluate((count) => new Promise((resolve) => {
  let seen = 0;
  const next = () => (++seen >= count ? resolve() : requestAnimationFrame(next));
  requestAnimationFrame(next);
}), n);
// The passes and Ticks of the page's own record so far, from its closing line.
export const recorded = async (page) => stored_end(await page.evaluate(() => StivraPage.recordText()) || '');
// Until fn(arg) holds in the page; false when the deadline passed first.
export async function until(page, fn, arg, timeout = DEADLINE) {
  try {
    await page.waitForFunction(fn, arg, { timeout, polling: 50 });
    return true;
  } catch (e) {
    return false;
  }
}
export const canvas_rect = (page) => page.evaluate(() => {
  const r = document.getElementById('game').getBoundingClientRect();
  return [r.x, r.y, r.width, r.height].map(Math.round);
});
export const events = (page) => page.evaluate(() => window.testEvents.join(' '));

// One walk inside the page: press a key (or hold the fake gamepad's D-pad
// right), and once the player has gone `distance` (negative: to the left)
// let go, unless the key is meant to stay held. Ends with ok false after the
// deadline or when the game leaves play. Also counts the canvas pixels that
// changed on the way. (Herr Mürzel comes for a player who stands still, and
// the game runs in real time while the test looks: a round trip from the
// test to a busy page can take seconds, so the walk is done in one go.)
export const walk = (page, input, distance) => page.evaluate(([input, distance, deadline]) => new Promise((resolve) => {
  const pixels = () => document.getElementById('game').getContext('2d').getImageData(0, 0, 320, 200).data;
  const first = pixels();
  const x0 = Module._web_player_x(), y0 = Module._web_player_y(), t0 = performance.now();
  const key = (type) => window.dispatchEvent(new KeyboardEvent(type, { code: input.key, key: input.letter }));
  if (input.pad) {
    const buttons = Array.from({ length: 17 }, (_, i) => ({ pressed: i === 15, value: i === 15 ? 1 : 0 }));
    window.fakePad = { connected: true, mapping: 'standard', axes: [0, 0, 0, 0], buttons };
  } else {
    key('keydown');
  }
  const poll = () => {
    const x = Module._web_player_x(), y = Module._web_player_y(), mode = Module._web_game_mode();
    const ok = distance > 0 ? x - x0 > distance : x0 - x > -distance;
    if (!ok && mode === 2 && performance.now() - t0 < deadline) {
      requestAnimationFrame(poll);
      return;
    }
    if (input.pad) window.fakePad = null;
    else if (input.release) key('keyup');
    const last = pixels();
    let changed = 0;
    for (let i = 0; i < last.length; i += 4)
      if (last[i] !== first[i] || last[i + 1] !== first[i + 1] || last[i + 2] !== first[i + 2]) changed += 1;
    resolve({ ok, x0, y0, x, y, mode, changed });
  };
  requestAnimationFrame(poll);
}), [input, distance, DEADLINE]);
export const WALK_RIGHT = { key: 'KeyD', letter: 'd', release: true };

// The page at its title, seeded as the test's runs are, running.
export async function open_title(page, query = '') {
  await page.goto(`${Setup.baseUrl}/?seed=${Setup.seed}${query}`);
  await started(page);
}
export const started = (page) => page.waitForFunction(() => StivraPage.running && StivraPage.frames > 0, null, { timeout: DEADLINE });
// The title, then Enter and Enter as a player starts: in play.
export async function start_playing(page) {
  await open_title(page);
  await page.keyboard.press('Enter');
  await wait_mode(page, MODE_INTRO);
  await wait_frames(page, 3);
  await page.keyboard.press('Enter');
  await wait_mode(page, MODE_PLAYING);
}
// Escape back to the title, and once the title has run, Escape again to end
// the game (the game takes a key on the Tick it goes down, so the second
// Escape must come after a Tick of the title).
export async function end_game(page) {
  await page.keyboard.press('Escape');
  await wait_mode(page, MODE_TITLE);
  await wait_frames(page, 3);
  await wait_ticks(page, 2);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => StivraPage.finished, null, { timeout: DEADLINE });
}

// ---- the runner ----

const DESKTOP = { viewport: { width: 1000, height: 700 }, acceptDownloads: true };

// What every page of the test gets before its own scripts: a gamepad the test
// holds (navigator.getGamepads() sees what window.fakePad says), and a note
// of what reached the window, for the details of a failed check.
function test_hooks() {
  window.fakePad = null;
  navigator.getGamepads = () => [window.fakePad];
  window.testEvents = [];
  const note = (what) => { window.testEvents.push(`${what}@${Math.round(performance.now())}`); window.testEvents.splice(0, window.testEvents.length - 40); };
  for (const type of ['blur', 'focus']) window.addEventListener(type, () => note(type), true);
  window.addEventListener('keydown', (e) => note(`down:${e.code}${e.repeat ? '+' : ''}`), true);
  window.addEventListener('keyup', (e) => note(`up:${e.code}`), true);
  document.addEventListener('visibilitychange', () => note(`visibility:${document.visibilityState}`), true);
}

// The checks STIVRA_CHECKS names (comma- or space-separated names, a `*`
// standing for any text), or all of them; null after naming the checks when
// a name matches none.
export function select_checks(checks, wanted = process.env.STIVRA_CHECKS || '') {
  const patterns = wanted.split(/[\s,]+/).filter((p) => p !== '');
  if (patterns.length === 0) return checks;
  const regex = (p) => new RegExp(`^${p.replace(/[.+?^${}()|[\]\\]/g, '\\$&').replace(/\*/g, '.*')}$`);
  const unknown = patterns.filter((p) => !checks.some((c) => regex(p).test(c.name)));
  if (unknown.length > 0) {
    console.log(`FAIL: STIVRA_CHECKS names no check: ${unknown.join(', ')}. The checks:\n  ${checks.map((c) => c.name).join('\n  ')}`);
    return null;
  }
  return checks.filter((c) => patterns.some((p) => regex(p).test(c.name)));
}

// A check's pages, its results, and the errors its pages threw.
function check_context(name, browser) {
  const t = {
    name, browser, context: null, page: null, passed: 0, failed: 0, errors: [], over: false,
    check(ok, what, detail = '') {
      if (!t.over) t.note(ok, what, detail);  // a check cut off by its deadline says no more
    },
    note(ok, what, detail) {
      if (ok) { t.passed += 1; console.log(`ok: ${name}: ${what}`); }
      else { t.failed += 1; console.log(`FAIL: ${name}: ${what}${detail ? ': ' + detail : ''}`); }
    },
    // A step the check's own assertions stand on: when it fails, the check
    // ends there, saying which step it was.
    setup(ok, what, detail = '') {
      if (!ok) throw Object.assign(new Error(`set-up failed: ${what}${detail ? ': ' + detail : ''}`), { plain: true });
    },
    async new_page(in_context = t.context) {
      const p = await in_context.newPage();
      p.on('pageerror', (e) => t.errors.push(String(e)));
      return p;
    },
    async new_context(options) {
      const c = await browser.newContext(options);
      await c.addInitScript(test_hooks);
      t.contexts.push(c);
      return c;
    },
    contexts: [],
  };
  return t;
}

// A promise that rejects after ms, for a check that would otherwise hang.
function deadline(ms) {
  let timer;
  const promise = new Promise((_, reject) => {
    timer = setTimeout(() => reject(Object.assign(new Error(`did not end within ${ms / 1000} s`), { plain: true })), ms);
  });
  return { promise, clear: () => clearTimeout(timer) };
}

// Runs the checks one after the other, each in a context of its own, and
// prints a line per check; true when all passed.
export async function run_checks(checks) {
  // A check cut off by its deadline may leave waits behind that fail once
  // its context is closed: noted, never the end of the test.
  process.on('unhandledRejection', (e) => console.log(`note: after its check ended: ${String(e).split('\n')[0]}`));
  mkdirSync(Setup.outDir, { recursive: true });
  const browser = await chromium.launch({
    executablePath: process.env.STIVRA_CHROMIUM || '/usr/bin/chromium',
    args: ['--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
  const results = [];
  try {
    for (const c of checks) if (c.prepare) c.prepare();
    for (const c of checks) {
      const began = Date.now();
      const t = check_context(c.name, browser);
      const limit = deadline(c.deadline_ms || 5 * 60000);
      let thrown = null;
      try {
        t.context = await t.new_context(c.context || DESKTOP);
        t.page = await t.new_page();
        await Promise.race([c.run(t), limit.promise]);
      } catch (e) {
        thrown = e;
      } finally {
        limit.clear();
        t.over = true;
      }
      if (thrown) t.note(false, 'ran to its end', String(thrown && (thrown.plain ? thrown.message : thrown.stack) || thrown));
      t.note(t.errors.length === 0, 'no script errors in the page', t.errors.join('; '));
      for (const context of t.contexts) await context.close().catch(() => {});
      results.push({ name: c.name, passed: t.passed, failed: t.failed, seconds: (Date.now() - began) / 1000 });
    }
  } finally {
    await browser.close();
    for (const child of native_children) child.kill();
  }

  const width = Math.max(...results.map((r) => r.name.length));
  console.log('-- browser checks');
  for (const r of results) {
    const verdict = r.failed === 0 ? 'passed' : 'FAILED';
    const counts = r.failed === 0 ? `${r.passed} ok` : `${r.failed} of ${r.passed + r.failed} failed`;
    console.log(`${verdict}  ${r.name.padEnd(width)}  ${r.seconds.toFixed(1).padStart(6)} s  ${counts}`);
  }
  const bad = results.filter((r) => r.failed > 0).length;
  console.log(`browser: ${results.length} checks, ${results.length - bad} passed, ${bad} failed` +
              ` (${results.reduce((n, r) => n + r.passed, 0)} assertions held)`);
  return bad === 0;
}

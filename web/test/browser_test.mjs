// The browser build in headless Chromium, against pictures and recorded
// runs of the native game:
//   node browser_test.mjs URL TITLE.bmp SEED OUT_DIR TOOL REPLAY...
//   TITLE.bmp     native `stivra -shot 0`
//   SEED          the seed of the page's smoke run (?autoplay=1)
//   TOOL          native stivra-tool, whose `replay` each REPLAY must agree with
// Chromium is Debian's (STIVRA_CHROMIUM names another one).
//
// Frames draw from the game's random generator, so a run whose loop falls
// behind is a different game: the page is never compared with a second
// timed run. It records what it plays, and the native tool replays that
// record to the same end and the same last frame. Every wait is for a state,
// with a deadline, so that a busy machine only makes the test slower.
import { chromium } from 'playwright-core';
import { spawn, spawnSync } from 'node:child_process';
import { readFileSync, rmSync, writeFileSync } from 'node:fs';
import { rm } from 'node:fs/promises';
import { basename, join } from 'node:path';

const [baseUrl, titlePath, seed, outDir, toolPath, ...replayPaths] = process.argv.slice(2);
const MODE_TITLE = 0, MODE_INTRO = 1, MODE_PLAYING = 2, MODE_ESCAPED = 5;

let passed = 0, failed = 0;
function check(ok, what, detail = '') {
  if (ok) { passed += 1; console.log(`ok: ${what}`); }
  else { failed += 1; console.log(`FAIL: ${what}${detail ? ': ' + detail : ''}`); }
}

// An 8-bit BMP of the game (320x200 enlarged by a whole number, bottom-up)
// as 320x200 RGB.
function bmp_frame(bytes) {
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

// The canvas's 320x200 pixels as RGB.
async function canvas_frame(page) {
  const rgba = await page.evaluate(() => Array.from(
    document.getElementById('game').getContext('2d').getImageData(0, 0, 320, 200).data));
  const rgb = new Uint8Array(320 * 200 * 3);
  for (let i = 0; i < 320 * 200; ++i) for (let c = 0; c < 3; ++c) rgb[i * 3 + c] = rgba[i * 4 + c];
  return rgb;
}

// Pixels that differ inside the rectangle x0..x1, y0..y1 (inclusive).
function differing(a, b, x0 = 0, y0 = 0, x1 = 319, y1 = 199) {
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
function stored_end(text) {
  const ends = [...text.matchAll(/^# end: (\d+) passes, (\d+) ticks, hash ([0-9a-f]{16})(?:, states ([0-9a-f]{16}), frames ([0-9a-f]{16}))?$/gm)];
  if (ends.length === 0) return null;
  const m = ends[ends.length - 1];
  return { passes: Number(m[1]), ticks: Number(m[2]), hash: m[3], states: m[4] || null, frames: m[5] || null };
}

// `stivra-tool replay FILE --from LAST --frames DIR`: its JSON and its last
// frame, the record's passes taken from its closing line. The records are
// replayed one after the other in the background while the browser plays
// (nothing in the page's checks depends on its timing).
const native_children = new Set();  // ended with the test, should it stop early
let native_queue = Promise.resolve();
function native_replay(file, dir) {
  const end = stored_end(readFileSync(file, 'latin1'));
  const run = () => new Promise((resolve) => {
    rmSync(dir, { recursive: true, force: true });
    const last = end ? end.passes : 1;
    const child = spawn(toolPath, ['replay', file, '--from', String(Math.max(1, last)), '--frames', dir],
                        { env: tool_env, stdio: ['ignore', 'pipe', 'pipe'] });
    native_children.add(child);
    let out = '', err = '';
    child.stdout.on('data', (d) => { out += d; });
    child.stderr.on('data', (d) => { err += d; });
    child.on('close', (status) => {
      native_children.delete(child);
      let json = { error: `exit code ${status}: ${err.trim()}` };
      if (status === 0) json = JSON.parse(out);
      if (status === 0 && !end) json.error = 'the record has no closing line';
      let frame = null;
      try { frame = bmp_frame(readFileSync(join(dir, frame_name(json.passes)))); } catch (e) { frame = null; }
      rm(dir, { recursive: true, force: true }).finally(() => resolve({ json, last: frame, end }));
    });
  });
  native_queue = native_queue.then(run);
  return native_queue;
}
const native_runs = replayPaths.map((file, i) => native_replay(file, join(outDir, `frames_${i}`)));

// The page's record of what it played, written beside the test's output.
async function page_record(page, name) {
  const text = await page.evaluate(() => StivraPage.recordText());
  const file = join(outDir, name);
  writeFileSync(file, text || '');
  return { file, text: text || '', end: stored_end(text || '') };
}

// The reader's one line about a bad text, as the native tool prints it.
function native_error(text) {
  const file = join(outDir, 'bad_replay.txt');
  writeFileSync(file, text);
  const run = spawnSync(toolPath, ['replay', file], { env: tool_env, encoding: 'utf8' });
  const prefix = `stivra-tool: ${file}: `;
  return run.status === 2 && run.stderr.startsWith(prefix) ? run.stderr.slice(prefix.length).trim() : null;
}

// The fields of the page's replay result that differ from the native JSON.
const END_FIELDS = ['seed', 'passes', 'ticks', 'mode', 'task', 'catches', 'quit', 'hash', 'states', 'frames'];
function end_differences(page_end, native) {
  if (!page_end) return 'the page played nothing';
  if (native.error) return `native: ${native.error}`;
  return END_FIELDS.filter((f) => page_end[f] !== native[f])
    .map((f) => `${f}: page ${page_end[f]}, native ${native[f]}`).join('; ');
}

const replay_result = (page) => page.evaluate(() => StivraPage.replay);
const replay_state = (page, wanted, timeout) => page.waitForFunction(
  (s) => StivraPage.replay && StivraPage.replay.state === s, wanted, { timeout, polling: 100 });

const state = (page) => page.evaluate(() => ({
  mode: Module._web_game_mode(), ticks: Module._web_total_ticks(), x: Module._web_player_x(), y: Module._web_player_y(),
  frames: StivraPage.frames,
}));
// Deadlines are long: they only end a test that would otherwise hang.
const DEADLINE = 60000;
const wait_mode = (page, mode) => page.waitForFunction((m) => Module._web_game_mode() === m, mode, { timeout: DEADLINE });
// Until the page has shown n more pictures (passes of the main loop).
async function wait_frames(page, n) {
  const from = await page.evaluate(() => StivraPage.frames);
  await page.waitForFunction((f) => StivraPage.frames >= f, from + n, { timeout: DEADLINE });
}
// Until the browser has run n more animation frames (each one a main-loop
// pass), whether or not the game drew anything in them.
const animation_frames = (page, n) => page.evaluate((count) => new Promise((resolve) => {
  let seen = 0;
  const next = () => (++seen >= count ? resolve() : requestAnimationFrame(next));
  requestAnimationFrame(next);
}), n);
// The passes and Ticks of the page's own record so far, from its closing line.
const recorded = async (page) => stored_end(await page.evaluate(() => StivraPage.recordText()) || '');
// One walk inside the page: press a key (or hold the fake gamepad's D-pad
// right), and once the player has gone `distance` (negative: to the left)
// let go, unless the key is meant to stay held. Ends with ok false after the
// deadline or when the game leaves play. Also counts the canvas pixels that
// changed on the way.
const walk = (page, input, distance) => page.evaluate(([input, distance, deadline]) => new Promise((resolve) => {
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
// Until fn(arg) holds in the page; false when the deadline passed first.
async function until(page, fn, arg, timeout = DEADLINE) {
  try {
    await page.waitForFunction(fn, arg, { timeout, polling: 50 });
    return true;
  } catch (e) {
    return false;
  }
}
const canvas_rect = (page) => page.evaluate(() => {
  const r = document.getElementById('game').getBoundingClientRect();
  return [r.x, r.y, r.width, r.height].map(Math.round);
});

const browser = await chromium.launch({
  executablePath: process.env.STIVRA_CHROMIUM || '/usr/bin/chromium',
  args: ['--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});
const context = await browser.newContext({ viewport: { width: 1000, height: 700 }, acceptDownloads: true });
// A gamepad the test holds: navigator.getGamepads() sees what window.fakePad says.
await context.addInitScript(() => {
  window.fakePad = null;
  navigator.getGamepads = () => [window.fakePad];
  // What reached the window, for the details of a failed check.
  window.testEvents = [];
  const note = (what) => { window.testEvents.push(`${what}@${Math.round(performance.now())}`); window.testEvents.splice(0, window.testEvents.length - 40); };
  for (const type of ['blur', 'focus']) window.addEventListener(type, () => note(type), true);
  window.addEventListener('keydown', (e) => note(`down:${e.code}${e.repeat ? '+' : ''}`), true);
  window.addEventListener('keyup', (e) => note(`up:${e.code}`), true);
  document.addEventListener('visibilitychange', () => note(`visibility:${document.visibilityState}`), true);
});
const events = (page) => page.evaluate(() => window.testEvents.join(' '));
const errors = [];

try {
  const page = await context.newPage();
  page.on('pageerror', (e) => errors.push(String(e)));
  const started = (p) => p.waitForFunction(() => StivraPage.running && StivraPage.frames > 0, null, { timeout: DEADLINE });
  const rect_is = (p, want) => until(p, (w) => {
    const r = document.getElementById('game').getBoundingClientRect();
    return JSON.stringify([r.x, r.y, r.width, r.height].map(Math.round)) === w;
  }, want, 10000);
  const full_screen_is = (p, id) => until(p, (i) => (document.fullscreenElement?.id ?? null) === i, id, 10000);

  // ---- the title, the page around it ----
  await page.goto(`${baseUrl}/?seed=${seed}`);
  await started(page);
  check(await page.title() === 'St. Ivra Schule – Herr Mürzel kommt', 'German page title');
  const icon = await page.evaluate(async () => {
    const r = await fetch(document.querySelector('link[rel=icon]').href);
    return [r.status, (await r.arrayBuffer()).byteLength];
  });
  check(icon[0] === 200 && icon[1] > 0, 'the favicon is served', String(icon));
  const title = bmp_frame(readFileSync(titlePath));
  let frame = await canvas_frame(page);
  // The sky twinkles and flashes and the start prompt blinks; the ground
  // with the controls line and the school's name sign stand still.
  check(differing(frame, title, 0, 185, 319, 199) === 0 && differing(frame, title, 111, 103, 208, 116) === 0,
        'the canvas shows the title as the native game draws it');
  // 1000x700 leaves room for a 2x box (with the text); the canvas fills it.
  const box = await page.evaluate(() => {
    const r = document.getElementById('game-box').getBoundingClientRect();
    return JSON.stringify([r.x, r.y, 640, 400].map(Math.round));
  });
  check(await rect_is(page, box), 'the page shows the canvas at twice its size', String(await canvas_rect(page)));

  // ---- full screen: the button and Alt+Enter, letterboxed, never a CONFIRM ----
  await page.click('#full-screen');
  check(await full_screen_is(page, 'game-box'), 'the button goes full screen');
  // A 1000x600 screen: 960x600 with 20-pixel bars left and right.
  await page.setViewportSize({ width: 1000, height: 600 });
  check(await rect_is(page, '[20,0,960,600]'), 'full screen is letterboxed', String(await canvas_rect(page)));
  await page.keyboard.press('Alt+Enter');
  check(await full_screen_is(page, null), 'Alt+Enter leaves full screen');
  await wait_frames(page, 3);
  check((await state(page)).mode === MODE_TITLE, 'Alt+Enter does not leave the title');
  await page.setViewportSize({ width: 1000, height: 700 });
  await page.keyboard.press('Alt+Enter');
  check(await full_screen_is(page, 'game-box'), 'Alt+Enter goes full screen');
  await page.keyboard.press('Alt+Enter');
  await full_screen_is(page, null);

  // ---- screenshots: the button and F12 download numbered BMPs ----
  for (const [how, name] of [['button', 'stivra_00.bmp'], ['F12', 'stivra_01.bmp']]) {
    const download = page.waitForEvent('download', { timeout: DEADLINE });
    if (how === 'button') await page.click('#screenshot'); else await page.keyboard.press('F12');
    const d = await download;
    const file = join(outDir, name);
    await d.saveAs(file);
    let shot = null;
    try { shot = bmp_frame(readFileSync(file)); } catch (e) { shot = null; }
    check(d.suggestedFilename() === name && shot !== null &&
          differing(shot, title, 0, 185, 319, 199) === 0, `${how} downloads ${name} of the title`);
  }

  // ---- sound starts with the first key ----
  const sounding = await until(page, () => StivraPage.audio.context && StivraPage.audio.context.state === 'running' &&
                                           StivraPage.audio.write > 0, null, 20000);
  const audio = await page.evaluate(() => ({
    state: StivraPage.audio.context && StivraPage.audio.context.state, written: StivraPage.audio.write }));
  check(sounding, 'after a key the game feeds Web Audio', JSON.stringify(audio));

  // ---- Enter, Enter, and walking ----
  // Herr Mürzel comes for a player who stands still, and the game runs in
  // real time while the test looks: each walk is done inside the page, in
  // one go (a round trip from the test to a busy page can take seconds).
  await page.keyboard.press('Enter');
  await wait_mode(page, MODE_INTRO);
  await wait_frames(page, 3);
  await page.keyboard.press('Enter');
  await wait_mode(page, MODE_PLAYING);
  const walked = await walk(page, { key: 'KeyD', letter: 'd', release: true }, 4096);
  check(walked.ok && walked.y === walked.y0, 'D walks right', `${JSON.stringify(walked)}; ${await events(page)}`);
  check(walked.changed > 1000, 'the canvas follows the walk', `${walked.changed} pixels changed`);

  // On a French keyboard the key at A prints "q" (which would be the phone
  // by its letter); by its place it walks left. Losing the focus lets go of
  // a key whose key-up never comes.
  const went_left = await walk(page, { key: 'KeyA', letter: 'q', release: false }, -512);
  check(went_left.ok, 'the key at the place of A walks left on any layout', `${JSON.stringify(went_left)}; ${await events(page)}`);
  // Losing the focus also pauses: no Tick runs and no pass is recorded
  // until P, and the pause sign lies over the picture.
  await page.evaluate(() => window.dispatchEvent(new FocusEvent('blur')));
  const blur_paused = await until(page, () => StivraPage.paused, null, 10000);
  const left = await state(page);
  const left_record = await recorded(page);
  await animation_frames(page, 30);
  const still = await state(page);
  const still_record = await recorded(page);
  check(blur_paused && await page.isVisible('#paused') && still.ticks === left.ticks && left_record !== null &&
        still_record.passes === left_record.passes, 'losing the focus pauses: no Tick, no recorded pass, the pause sign',
        `${JSON.stringify(left_record)} -> ${JSON.stringify(still_record)}`);
  const let_go = await page.evaluate((deadline) => new Promise((resolve) => {
    window.dispatchEvent(new KeyboardEvent('keydown', { code: 'KeyP', key: 'p' }));
    window.dispatchEvent(new KeyboardEvent('keyup', { code: 'KeyP', key: 'p' }));
    const x = Module._web_player_x(), ticks = Module._web_total_ticks(), t0 = performance.now();
    const poll = () => (Module._web_total_ticks() >= ticks + 10 || Module._web_game_mode() !== 2 || performance.now() - t0 > deadline
      ? resolve([x, Module._web_player_x(), StivraPage.paused]) : requestAnimationFrame(poll));
    requestAnimationFrame(poll);
  }), DEADLINE);
  check(!let_go[2] && await page.isHidden('#paused'), 'P goes on after a pause');
  check(let_go[0] === let_go[1], 'losing the focus lets go of the held key', `${let_go[0]} -> ${let_go[1]}`);

  // A standard gamepad: the D-pad's right button walks right.
  const padded = await walk(page, { pad: true }, 512);
  check(padded.ok && padded.y === padded.y0, 'the gamepad D-pad walks right', JSON.stringify(padded));

  // ---- pause by P and by the button, mute by the button and by M ----
  await page.keyboard.press('KeyP');
  const p_paused = await until(page, () => StivraPage.paused, null, 10000);
  const at_pause = await state(page);
  const at_pause_record = await recorded(page);
  const paused_frame = await canvas_frame(page);
  await animation_frames(page, 30);
  check(p_paused && (await state(page)).ticks === at_pause.ticks &&
        (await recorded(page)).passes === at_pause_record.passes &&
        differing(paused_frame, await canvas_frame(page)) === 0,
        'P pauses: no Tick, no recorded pass, the canvas keeps the game\'s frame');
  check(await page.getAttribute('#pause', 'aria-pressed') === 'true', 'the pause button shows the pause');

  // The run so far, saved while paused: the native tool replays it to the
  // hash it closes with and to exactly the frame the paused canvas shows.
  const saving = page.waitForEvent('download', { timeout: DEADLINE });
  await page.click('#save-run');
  const saved_download = await saving;
  const saved_file = join(outDir, saved_download.suggestedFilename());
  await saved_download.saveAs(saved_file);
  const saved_text = readFileSync(saved_file, 'latin1');
  const saved_native = native_replay(saved_file, join(outDir, 'frames_saved'));
  check(saved_download.suggestedFilename() === `stivra_lauf_seed${seed}.txt` && saved_text.startsWith('stivra-replay 1\n'),
        '"Lauf speichern" downloads the run as a replay named with its seed', saved_download.suggestedFilename());

  // The link: the run deflated into the fragment.
  await page.click('#share-run');
  await page.waitForFunction(() => document.getElementById('share-link').value.includes('#run='), null, { timeout: DEADLINE });
  const share_link = await page.inputValue('#share-link');
  console.log(`note: the link to a run of ${stored_end(saved_text).passes} passes is ${share_link.length} characters`);

  await page.click('#paused');
  check(await until(page, () => !StivraPage.paused, null, 10000), 'a click on the pause sign goes on');
  await page.click('#pause');
  check(await until(page, () => StivraPage.paused, null, 10000), 'the pause button pauses');
  await page.click('#pause');
  await until(page, () => !StivraPage.paused, null, 10000);

  await page.click('#mute');
  const muted = await until(page, () => Module._web_muted() === 1 && StivraPage.muted, null, 10000);
  await animation_frames(page, 20);
  const silent = await page.evaluate(() => {
    const a = StivraPage.audio;
    const last = [];
    for (let i = Math.max(0, a.write - 768); i < a.write; ++i) last.push(a.ring[i & (StivraPage.RING_SIZE - 1)]);
    return last.length > 0 && last.every((v) => v === 0);
  });
  check(muted && silent && await page.getAttribute('#mute', 'aria-pressed') === 'true',
        'the mute button silences the sound (the stream goes on with zeros)');
  await page.keyboard.press('KeyM');
  check(await until(page, () => Module._web_muted() === 0 && !StivraPage.muted, null, 10000) &&
        await page.getAttribute('#mute', 'aria-pressed') === 'false', 'M turns the sound on again');

  // Two seconds without animation frames (a hidden tab, a stalled page):
  // the next two frames run at most four Ticks each, instead of catching up
  // sixty; then the game goes on.
  const stall = await page.evaluate(() => new Promise((resolve) => {
    const ticks = Module._web_total_ticks();
    const t = performance.now();
    while (performance.now() - t < 2000);
    const after = Module._web_total_ticks();
    requestAnimationFrame(() => requestAnimationFrame(() => resolve([after - ticks, Module._web_total_ticks() - after])));
  }));
  check(stall[0] === 0 && stall[1] <= 8, 'a page that got no frames does not catch up its Ticks',
        `${stall[1]} Ticks in the two frames after a stall of 2 s`);
  const awake = await state(page);
  check(await until(page, (t) => Module._web_total_ticks() > t + 4, awake.ticks), 'the game goes on after the stall');

  // Escape goes back to the title, and Escape on the title ends the game.
  await page.keyboard.press('Escape');
  await wait_mode(page, MODE_TITLE);
  await wait_frames(page, 3);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => StivraPage.finished, null, { timeout: DEADLINE });
  check(await page.isVisible('#restart'), 'Escape on the title ends the game and offers a restart');

  // Everything the page played, recorded as it went, replays natively to the
  // end it recorded and to the picture the canvas was left with.
  const played = await page_record(page, 'page_played.txt');
  const played_frame = await canvas_frame(page);
  const played_native = native_replay(played.file, join(outDir, 'frames_played'));

  // ---- a recorded run chosen with the button, after play and the end of the game ----
  // It replays from program initialisation whatever ran before. A bad file
  // dropped on the page meanwhile shows the reader's line and leaves the
  // replay alone: its bad line is its last, after 20 KB of good ones that
  // would change the replay's end if they overwrote the text it reads.
  const chosen = replayPaths[0];
  const chooser = page.waitForEvent('filechooser', { timeout: DEADLINE });
  await page.click('#testers summary');  // the testers' section is folded
  await page.click('#replay-open');
  await (await chooser).setFiles(chosen);
  await replay_state(page, 'playing', DEADLINE);
  // The passes and the page's clock read together, so that a slow answer from a busy machine skews neither.
  const pace = () => page.evaluate(() => [performance.now(), StivraPage.replay.passes]);
  const paced_from = await pace();
  check(await page.evaluate(() => StivraPage.running) && await page.isHidden('#restart'),
        'a replay chosen after the game ended runs the game again');
  await until(page, () => StivraPage.replay.passes > 5, null);
  const bad = `stivra-replay 1\nseed 5\n${'1 8\n'.repeat(5000)}1 0 5\n`;
  await page.evaluate((text) => {
    const data = new DataTransfer();
    data.items.add(new File([text], 'kaputt.txt', { type: 'text/plain' }));
    for (const type of ['dragover', 'drop'])
      document.body.dispatchEvent(new DragEvent(type, { dataTransfer: data, bubbles: true, cancelable: true }));
  }, bad);
  await page.waitForFunction(() => StivraPage.replayError !== null, null, { timeout: DEADLINE });
  const reader_line = native_error(bad);
  const shown = await page.evaluate(() => [StivraPage.replayError, document.getElementById('replay-error').textContent]);
  // The page says it in German: the reader's line, translated, with its line number.
  const line_number = reader_line && /^line (\d+): /.exec(reader_line);
  check(reader_line !== null && shown[0] === reader_line && shown[1].includes('kaputt.txt') && line_number &&
        shown[1].includes(`Zeile ${line_number[1]}: TICKS 5 liegt nicht zwischen 1 und 4`) && !/\b(line|is outside)\b/.test(shown[1]) &&
        (await replay_result(page)).state === 'playing',
        'a bad file dropped on the page shows the reader\'s line in German, and the replay goes on', JSON.stringify(shown));
  // At the recording's pace: never faster than its Ticks are due (a busy
  // machine may play it slower, and catches up at most four passes a frame).
  const paced_to = await pace();
  const paced = paced_to[1] - paced_from[1], paced_ms = Math.round(paced_to[0] - paced_from[0]);
  check(paced_to[1] > 5 && paced <= paced_ms * 30 / 1000 + 5, 'the button plays at the recording\'s pace',
        `${paced} passes in ${paced_ms} ms`);
  await page.click('#replay-fast');
  await replay_state(page, 'ended', 600000);
  const chosen_end = await replay_result(page);
  const chosen_native = await native_runs[0];
  const chosen_diff = end_differences(chosen_end, chosen_native.json);
  check(chosen_diff === '', `${basename(chosen)}: replayed after play, the page ends as the native tool does`, chosen_diff);

  // The player takes over: the loop runs on and the keys reach the game
  // (Escape leaves every screen, from the title it ends the game).
  await page.click('#replay-take-over');
  const taken = await state(page);
  let answered = false;
  for (let i = 0; i < 10 && !answered; ++i) {
    await page.keyboard.press('Escape');
    answered = await until(page, (m) => StivraPage.finished || Module._web_game_mode() !== m, taken.mode, 3000);
  }
  check(answered && (await state(page)).ticks > taken.ticks, 'after the replay the player plays on with the keyboard');
  await page.close();

  const played_end = (await played_native);
  check(played.end !== null && ['passes', 'hash', 'states', 'frames'].every((f) => played_end.json[f] === played.end[f]),
        'the page\'s record of what it played replays natively to the end and the chains it recorded',
        `${JSON.stringify(played.end)}; native ${JSON.stringify(played_end.json)}`);
  check(played_end.last !== null && differing(played_frame, played_end.last) === 0,
        'the canvas shows the last frame of the native replay of that record');

  const saved_end = await saved_native;
  const saved_stored = stored_end(saved_text);
  check(saved_stored !== null && saved_end.json.hash === saved_stored.hash,
        'the saved run replays natively to the hash it closes with', `${JSON.stringify(saved_stored)}; ${JSON.stringify(saved_end.json)}`);
  check(saved_end.last !== null && differing(paused_frame, saved_end.last) === 0,
        'the saved run\'s native replay ends on exactly the frame the paused canvas showed');

  // ---- the shared link replays the run, then offers to play on ----
  const shared = await context.newPage();
  shared.on('pageerror', (e) => errors.push(String(e)));
  await shared.goto(share_link);
  await replay_state(shared, 'playing', DEADLINE);
  await shared.click('#replay-fast');
  await replay_state(shared, 'ended', 600000);
  const shared_end = await replay_result(shared);
  check(shared_end.hash === saved_end.json.hash && shared_end.passes === saved_end.json.passes,
        `the shared link (${share_link.length} characters) replays to the native hash`, JSON.stringify(shared_end));
  check((await shared.textContent('#replay-status')).includes(saved_end.json.hash) && await shared.isVisible('#replay-take-over'),
        'the shared run shows its hash and offers "Selbst weiterspielen"');
  await shared.close();

  // ---- offline: after one visit the page plays with no network ----
  const offline = await context.newPage();
  offline.on('pageerror', (e) => errors.push(String(e)));
  await offline.goto(`${baseUrl}/?seed=${seed}`);
  await started(offline);
  const controlled = await until(offline, () => navigator.serviceWorker && navigator.serviceWorker.controller !== null, null, 30000);
  const manifest = await offline.evaluate(async () => {
    const m = await (await fetch(document.querySelector('link[rel=manifest]').href)).json();
    const pictures = await Promise.all(m.icons.map(async (i) => {
      const r = await fetch(i.src);
      const b = new Uint8Array(await r.arrayBuffer());
      // A PNG of the size it claims: the signature, then IHDR's width and height.
      const side = (o) => (b[o] << 24 | b[o + 1] << 16 | b[o + 2] << 8 | b[o + 3]) >>> 0;
      return r.status === 200 && b[1] === 0x50 && b[2] === 0x4e && b[3] === 0x47 && `${side(16)}x${side(20)}` === i.sizes;
    }));
    return { name: m.name, lang: m.lang, display: m.display, icons: m.icons.map((i) => i.sizes), pictures };
  });
  check(manifest.lang === 'de' && manifest.display === 'fullscreen' && manifest.icons.includes('192x192') &&
        manifest.icons.includes('512x512') && manifest.pictures.every((ok) => ok),
        'the page has a manifest: German, full screen, PNG icons of 192 and 512 pixels', JSON.stringify(manifest));
  await context.setOffline(true);
  let offline_ok = false;
  try {
    await offline.reload();
    await started(offline);
    await offline.keyboard.press('Enter');
    offline_ok = await until(offline, (m) => Module._web_game_mode() === m, MODE_INTRO, 20000);
  } catch (e) {
    offline_ok = false;
  }
  await context.setOffline(false);
  check(controlled && offline_ok, 'with the network off the page loads again and plays');
  await offline.close();

  // ---- a phone: the on-screen pad, touches through the DevTools protocol ----
  const phone = await browser.newContext({ viewport: { width: 390, height: 844 }, deviceScaleFactor: 3,
                                           isMobile: true, hasTouch: true });
  const mobile = await phone.newPage();
  mobile.on('pageerror', (e) => errors.push(String(e)));
  await mobile.goto(`${baseUrl}/?seed=${seed}`);
  await started(mobile);
  const pad_bits = await mobile.$$eval('#touch-controls [data-bits]', (bs) => bs.map((b) => Number(b.dataset.bits)).sort((a, b) => a - b));
  check(await mobile.isVisible('#touch-controls') && JSON.stringify(pad_bits) === '[1,2,4,8,16,32,64,128,256]',
        'a touch screen shows the pad, a button for each InputBits value', JSON.stringify(pad_bits));
  const fits = (p) => p.evaluate(() => {
    const bottom = Math.max(...['game-box', 'touch-controls', 'dpad', 'touch-buttons'].map((id) => document.getElementById(id).getBoundingClientRect().bottom));
    const right = Math.max(...['game-box', 'dpad', 'touch-buttons'].map((id) => document.getElementById(id).getBoundingClientRect().right));
    return bottom <= innerHeight && right <= innerWidth && document.documentElement.scrollWidth <= innerWidth;
  });
  check(await fits(mobile), 'portrait: the picture and the pad fit the screen');
  await mobile.screenshot({ path: join(outDir, 'phone_portrait.png') });
  const cdp = await phone.newCDPSession(mobile);
  const centre = async (selector, dx = 0, dy = 0) => {
    const r = await mobile.locator(selector).boundingBox();
    return { x: r.x + r.width / 2 + dx * r.width, y: r.y + r.height / 2 + dy * r.height };
  };
  const touches = (type, points) => cdp.send('Input.dispatchTouchEvent',
    { type, touchPoints: points.map((p, i) => ({ x: p.x, y: p.y, id: i + 1, radiusX: 4, radiusY: 4 })) });
  const tap = async (selector) => {
    const at = await centre(selector);
    await touches('touchStart', [at]);
    await touches('touchEnd', []);
  };
  await tap('#touch-buttons [data-bits="64"]');
  await wait_mode(mobile, MODE_INTRO);
  check(await until(mobile, () => StivraPage.audio.context && StivraPage.audio.context.state === 'running', null, 20000),
        'the sound starts with the first touch');
  await wait_frames(mobile, 3);
  await tap('#touch-buttons [data-bits="64"]');
  await wait_mode(mobile, MODE_PLAYING);
  await wait_frames(mobile, 3);
  const on_phone = await state(mobile);
  const right = await centre('#dpad [data-bits="8"]');
  await touches('touchStart', [right]);
  const touch_walk = await until(mobile, (x) => Module._web_player_x() > x + 2048, on_phone.x);
  // A second finger on RENNEN while the first stays: both are held.
  const run = await centre('#touch-buttons [data-bits="32"]');
  await touches('touchStart', [right, run]);
  const both = await until(mobile, () => StivraPage.touch.bits === (8 | 32), null, 10000);
  await wait_frames(mobile, 3);
  // Between the right and the down arrow the cross gives both.
  const diagonal = await centre('#dpad', 0.3, 0.3);
  await touches('touchMove', [diagonal, run]);
  const down_right = await until(mobile, () => StivraPage.touch.bits === (8 | 2 | 32), null, 10000);
  await wait_frames(mobile, 3);
  await touches('touchEnd', []);
  await until(mobile, () => StivraPage.touch.bits === 0, null, 10000);
  await wait_frames(mobile, 2);
  const phone_record = await mobile.evaluate(() => StivraPage.recordText());
  check(touch_walk, 'the pad\'s right arrow walks right');
  check(both && /^\d+ 40( \d)?$/m.test(phone_record), 'two fingers at once: walking and running (InputBits 40 recorded)');
  check(down_right && /^\d+ 42( \d)?$/m.test(phone_record), 'a finger between two arrows walks diagonally (InputBits 42 recorded)');
  await mobile.screenshot({ path: join(outDir, 'phone_playing.png') });
  await mobile.setViewportSize({ width: 844, height: 390 });
  await wait_frames(mobile, 3);
  check(await until(mobile, () => document.getElementById('play-area').classList.contains('landscape'), null, 10000) &&
        await fits(mobile), 'landscape: the pad beside the picture, all on the screen');
  await mobile.screenshot({ path: join(outDir, 'phone_landscape.png') });
  await phone.close();

  // ---- the smoke run (?autoplay=1), replayed natively from the page's record ----
  const auto = await context.newPage();
  auto.on('pageerror', (e) => errors.push(String(e)));
  await auto.goto(`${baseUrl}/?autoplay=1&seed=${seed}`);
  await auto.waitForFunction(() => StivraPage.finished, null, { timeout: DEADLINE });
  const shot = await auto.evaluate(() => StivraPage.autoplayShot && Array.from(StivraPage.autoplayShot));
  check(shot !== null, 'the autoplay run offers its screenshot');
  const auto_record = await page_record(auto, 'page_autoplay.txt');
  check(auto_record.text.includes(`\nseed ${seed}\n`) && auto_record.end !== null && auto_record.end.ticks === 150,
        'the page records its smoke run: the seed and 150 Ticks', auto_record.text.slice(0, 200));
  const auto_native = await native_replay(auto_record.file, join(outDir, 'frames_autoplay'));
  check(auto_record.end !== null && ['hash', 'states', 'frames'].every((f) => auto_native.json[f] === auto_record.end[f]),
        `the smoke run's record (seed ${seed}) replays natively to the hash and the chains the page ended on`,
        `${JSON.stringify(auto_record.end)}; native ${JSON.stringify(auto_native.json)}`);
  if (shot) {
    writeFileSync(join(outDir, 'autoplay_web.bmp'), Buffer.from(shot));
    let shot_frame = null;
    try { shot_frame = bmp_frame(Buffer.from(shot)); } catch (e) { shot_frame = null; }
    check(shot_frame !== null && auto_native.last !== null && differing(shot_frame, auto_native.last) === 0,
          'the autoplay screenshot is the last frame of the native replay, pixel for pixel');
  }
  check(auto_native.last !== null && differing(await canvas_frame(auto), auto_native.last) === 0,
        'the final frame on the canvas is the last frame of the native replay, pixel for pixel');
  check(await auto.isVisible('#autoplay-shot'), 'the page links the autoplay screenshot');
  await auto.close();

  // ---- every recorded run through ?replay=URL, as fast as it goes ----
  // Each must end as its closing line and `stivra-tool replay` say, and the
  // canvas must show the native last frame (for a won game: the escaped screen).
  await context.route('**/recorded/*', (route) => {
    const i = Number(new URL(route.request().url()).pathname.split('/').pop().replace('.txt', ''));
    return i >= 0 && i < replayPaths.length
      ? route.fulfill({ body: readFileSync(replayPaths[i]), contentType: 'text/plain' })
      : route.fulfill({ status: 404 });
  });
  for (const [i, file] of replayPaths.entries()) {
    const name = basename(file);
    const p = await context.newPage();
    p.on('pageerror', (e) => errors.push(String(e)));
    const began = Date.now();
    await p.goto(`${baseUrl}/?replay=recorded/${i}.txt&fast=1`);
    await p.waitForFunction(() => StivraPage.replayError !== null || (StivraPage.replay && StivraPage.replay.state === 'ended'),
                            null, { timeout: 600000, polling: 100 });
    const seconds = ((Date.now() - began) / 1000).toFixed(1);
    const end = await replay_result(p);
    const native = await native_runs[i];
    const diff = end ? end_differences(end, native.json) : await p.evaluate(() => StivraPage.replayError);
    check(diff === '', `${name}: the page's replay ends as the native one (hash ${native.json.hash}, ${seconds} s)`, diff);
    // The chains too: the page passed through every state and drew every
    // frame as the record's closing line has them.
    check(end !== null && native.end !== null && ['passes', 'ticks', 'hash', 'states', 'frames'].every((f) => end[f] === native.end[f]),
          `${name}: the page ends where the record's closing line says, by the same states and frames`,
          `${JSON.stringify(native.end)}; page ${JSON.stringify(end)}`);
    check((await p.textContent('#replay-status')).includes(native.json.hash), `${name}: the page shows the hash`);
    if (name.startsWith('won_')) {
      // The page recorded the replay as it played it: a whole won game as a link.
      await p.click('#share-run');
      await p.waitForFunction(() => document.getElementById('share-link').value.includes('#run='), null, { timeout: DEADLINE });
      const link = await p.inputValue('#share-link');
      console.log(`note: ${name} as a link is ${link.length} characters`);
      check(link.length < 4000, `${name}: the link to the whole won game is short`, `${link.length} characters`);
    }
    // (A record without passes draws no frame, natively or here.)
    if (native.json.passes !== 0) {
      const escaped = native.json.mode === MODE_ESCAPED;
      const canvas = native.last ? differing(await canvas_frame(p), native.last) : -1;
      check(canvas === 0, `${name}: the canvas ends on the native last frame${escaped ? ', the escaped screen' : ''}`,
            canvas < 0 ? 'no native last frame' : `${canvas} pixels differ`);
    }
    await p.close();
  }
} catch (e) {
  check(false, 'the browser test ran to its end', String(e && e.stack || e));
} finally {
  await browser.close();
  for (const child of native_children) child.kill();
}

check(errors.length === 0, 'no script errors in the page', errors.join('; '));
console.log(`browser: ${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);

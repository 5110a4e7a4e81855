// Kept games in the page, in headless Chromium with a profile of its own:
//   node runs_test.mjs URL OUT_DIR TOOL WON_RECORD
//   TOOL          native stivra-tool: `replay FILE --to N` gives the game a
//                 continued game must be handed over in
//   WON_RECORD    a recorded won game, continued from the list
// The browser is closed and, separately, killed, and opened again on the
// same profile: the game must continue to the pass that was kept, on the
// native tool's hash. Then BACK and C, a won game, games dropping off the
// end, corrupt storage, a full quota and no storage at all. Every wait is for
// a state, with a deadline.
import { chromium } from 'playwright-core';
import { spawn, spawnSync } from 'node:child_process';
import { mkdirSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [baseUrl, outDir, toolPath, wonPath] = process.argv.slice(2);
// The game's constants as the build wrote them for the page.
const { MODE } = await import(`data:text/javascript,${encodeURIComponent(await (await fetch(`${baseUrl}/page_constants.js`)).text())}`);
const { TITLE: MODE_TITLE, INTRO: MODE_INTRO, PLAYING: MODE_PLAYING } = MODE;
const DEADLINE = 60000;
const KEY = 'stivra.runs';

let passed = 0, failed = 0;
function check(ok, what, detail = '') {
  if (ok) { passed += 1; console.log(`ok: ${what}`); }
  else { failed += 1; console.log(`FAIL: ${what}${detail ? ': ' + detail : ''}`); }
}

// ---- the native tool ----

const tool_env = { ...process.env, ASAN_OPTIONS: 'detect_leaks=0' };
// The game after pass N of a record, as `stivra-tool replay --to N` plays it.
function native_to(text, pass, name) {
  const file = join(outDir, name);
  writeFileSync(file, text);
  const run = spawnSync(toolPath, ['replay', file, '--to', String(pass)], { env: tool_env, encoding: 'utf8' });
  return run.status === 0 ? JSON.parse(run.stdout) : { error: `exit ${run.status}: ${run.stderr}` };
}
function stored_end(text) {
  const ends = [...(text || '').matchAll(/^# end: (\d+) passes, (\d+) ticks, hash ([0-9a-f]{16})/gm)];
  if (ends.length === 0) return null;
  const m = ends[ends.length - 1];
  return { passes: Number(m[1]), ticks: Number(m[2]), hash: m[3] };
}

// ---- a browser of our own, on a profile that outlives it ----

const profile = join(outDir, 'profile');
rmSync(profile, { recursive: true, force: true });
mkdirSync(profile, { recursive: true });
const errors = [];
let current = null; // { child, browser, context }
// A test that hangs ends, and takes its browser with it.
setTimeout(() => {
  console.log('FAIL: the test of kept games did not end within 20 minutes');
  if (current) try { process.kill(-current.child.pid, 'SIGKILL'); } catch (e) { /* gone */ }
  process.exit(1);
}, 20 * 60000).unref();

// Chromium started by hand (in its own process group, so that killing it
// kills its helpers too) and driven over the DevTools protocol.
async function open_browser() {
  const child = spawn(process.env.STIVRA_CHROMIUM || '/usr/bin/chromium', [
    '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--window-size=1000,800', `--user-data-dir=${profile}`,
    '--remote-debugging-port=0', 'about:blank',
  ], { detached: true, stdio: ['ignore', 'ignore', 'pipe'] });
  const endpoint = await new Promise((resolve, reject) => {
    let err = '';
    const timer = setTimeout(() => reject(new Error(`Chromium did not start: ${err}`)), DEADLINE);
    child.stderr.on('data', (d) => {
      err += d;
      const m = /DevTools listening on (ws:\S+)/.exec(err);
      if (m) { clearTimeout(timer); resolve(m[1]); }
    });
    child.on('exit', () => { clearTimeout(timer); reject(new Error(`Chromium ended: ${err}`)); });
  });
  const browser = await chromium.connectOverCDP(endpoint);
  current = { child, browser, context: browser.contexts()[0] };
  return current;
}
const exited = (child) => new Promise((resolve) => {
  if (child.exitCode !== null || child.signalCode !== null) resolve();
  else child.on('exit', resolve);
});
// The browser asked to close, as a player closes it.
async function close_browser() {
  const session = await current.browser.newBrowserCDPSession();
  await session.send('Browser.close').catch(() => {});
  await Promise.race([exited(current.child), new Promise((r) => setTimeout(r, DEADLINE))]);
  current = null;
}
// The browser killed, with no chance to write anything.
async function kill_browser() {
  const { child } = current;
  try { process.kill(-child.pid, 'SIGKILL'); } catch (e) { /* already gone */ }
  await exited(child);
  await current.browser.close().catch(() => {});
  current = null;
}

// Until the profile's localStorage files hold the text (the browser has
// committed it to disk).
async function until_on_disk(text, timeout = DEADLINE) {
  const dir = join(profile, 'Default', 'Local Storage', 'leveldb');
  for (const t0 = Date.now(); Date.now() - t0 < timeout; await new Promise((r) => setTimeout(r, 100))) {
    let files = [];
    try { files = readdirSync(dir); } catch (e) { files = []; }
    if (files.some((f) => { try { return readFileSync(join(dir, f)).includes(text); } catch (e) { return false; } })) return true;
  }
  return false;
}

async function open_page(context, query = '?seed=4711') {
  const page = await context.newPage();
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(`${baseUrl}/${query}`);
  await page.waitForFunction(() => StivraPage.running && StivraPage.frames > 0 && StivraRuns.ready, null, { timeout: DEADLINE });
  return page;
}

// ---- the page ----

async function until(page, fn, arg, timeout = DEADLINE) {
  try {
    await page.waitForFunction(fn, arg, { timeout, polling: 50 });
    return true;
  } catch (e) {
    return false;
  }
}
// The game in the mode, and the page past it too: the kept games are written
// in the animation frame after the one in which the mode changed.
const wait_mode = (page, mode) => until(page, (m) => Module._web_game_mode() === m && StivraRuns.mode === m && !StivraRuns.continuing, mode);
const stored = (page) => page.evaluate((key) => {
  try { return JSON.parse(localStorage.getItem(key)); } catch (e) { return null; }
}, KEY);
const set_stored = (page, value) => page.evaluate(([key, v]) => localStorage.setItem(key, v), [KEY, value]);
const record_text = (page) => page.evaluate(() => StivraPage.recordText());
const mark = (page) => page.evaluate(() => StivraRuns.mark());
const note = (page) => page.evaluate(() => (document.getElementById('runs-note').hidden ? '' : document.getElementById('runs-note').textContent));
const press = async (page, code) => {
  await page.evaluate((c) => {
    for (const type of ['keydown', 'keyup']) window.dispatchEvent(new KeyboardEvent(type, { code: c, key: c.slice(-1).toLowerCase() }));
  }, code);
};
// Holds a key inside the page until the player has gone some way (or the
// game left play), as the browser test walks.
const walk = (page, code, distance) => page.evaluate(([c, d, deadline]) => new Promise((resolve) => {
  const x0 = Module._web_player_x(), t0 = performance.now();
  window.dispatchEvent(new KeyboardEvent('keydown', { code: c }));
  const poll = () => {
    const gone = Math.abs(Module._web_player_x() - x0) >= d;
    if (gone || Module._web_game_mode() !== 2 || performance.now() - t0 > deadline) {
      window.dispatchEvent(new KeyboardEvent('keyup', { code: c }));
      resolve(gone);
    } else {
      requestAnimationFrame(poll);
    }
  };
  requestAnimationFrame(poll);
}), [code, distance, DEADLINE]);
// Enter twice: from the title through the intro into play.
async function new_game(page) {
  await page.keyboard.press('Enter');
  await wait_mode(page, MODE_INTRO);
  await page.waitForFunction((f) => StivraPage.frames > f, await page.evaluate(() => StivraPage.frames + 3), { timeout: DEADLINE });
  await page.keyboard.press('Enter');
  return wait_mode(page, MODE_PLAYING);
}
// Continues by the action given and waits for the hand-over; the page's
// record then ends on the kept pass, which the native tool must agree with.
async function continue_by(page, how) {
  await page.evaluate(() => { StivraRuns.lastContinue = null; });
  await how();
  const handed = await until(page, () => StivraRuns.lastContinue !== null, null, 120000);
  const state = await page.evaluate(() => ({
    last: StivraRuns.lastContinue, paused: StivraPage.paused, mode: Module._web_game_mode(),
    sign: !document.getElementById('paused').hidden, record: StivraPage.recordText(),
  }));
  return { handed, ...state, end: stored_end(state.record) };
}
function same_game(what, cont, text, pass) {
  const native = native_to(text, pass, 'kept.txt');
  check(cont.handed && cont.end && cont.end.passes === pass && cont.end.hash === native.hash && cont.paused && cont.sign,
        `${what}: handed over paused, at pass ${pass}, on the native hash`,
        `${JSON.stringify(cont.end)} ${cont.paused} ${cont.sign}; native ${JSON.stringify(native)}`);
  return native;
}

try {
  // ---- play, close the browser, open it again: the game continues ----
  let b = await open_browser();
  let page = await open_page(b.context);
  check(await page.isHidden('#continue-run') && (await page.textContent('#runs-count')) === '0',
        'a new profile offers nothing to continue');
  check(await new_game(page), 'a new game starts');
  await walk(page, 'KeyD', 4096);
  // Kept while playing, with no event: wait until a pass played is written.
  const played = (await mark(page)).pass;
  check(await until(page, ([key, p]) => { const s = JSON.parse(localStorage.getItem(key) || 'null'); return s && s.games[0].pass >= p; }, [KEY, played]),
        'the game is written while it is played');
  // With the writer stopped, leaving the page writes the game at once.
  await page.evaluate(() => clearInterval(StivraRuns.writeTimer));
  await walk(page, 'KeyA', 2048);
  await press(page, 'KeyP');
  await until(page, () => StivraPage.paused, null);
  const at_hide = await mark(page);
  const before_hide = (await stored(page)).games[0].pass;
  await page.evaluate(() => window.dispatchEvent(new PageTransitionEvent('pagehide')));
  let kept = (await stored(page)).games;
  check(before_hide < at_hide.pass && kept.length === 1 && kept[0].pass === at_hide.pass && kept[0].state === 'alive',
        'pagehide writes the game at once', `${before_hide} -> ${kept[0].pass}, played ${at_hide.pass}`);
  const first_id = kept[0].id;
  await close_browser();

  b = await open_browser();
  page = await open_page(b.context);
  kept = (await stored(page)).games;
  const facts = await page.textContent('#continue-run');
  check(await page.isVisible('#continue-run') && facts.includes('Weiterspielen') && facts.includes('4. Etage') &&
        facts.includes('Aufgabe 1 von 10') && /\d+:\d\d/.test(facts), 'after closing the browser the title offers "Weiterspielen"', facts);
  let cont = await continue_by(page, () => page.keyboard.press('KeyC'));
  same_game('closed browser, C', cont, kept[0].record, kept[0].pass);

  // ---- BACK, then C: back to the pass before BACK ----
  await press(page, 'KeyP');
  await until(page, () => !StivraPage.paused, null);
  await walk(page, 'KeyD', 1024);
  await page.keyboard.press('Escape');
  await wait_mode(page, MODE_TITLE);
  check(await until(page, () => !document.getElementById('continue-run').hidden, null), 'after BACK the title offers the game again');
  kept = (await stored(page)).games;
  const back = native_to(kept[0].record, kept[0].pass + 1, 'back.txt');
  const before_back = native_to(kept[0].record, kept[0].pass, 'before_back.txt');
  check(kept.length === 1 && kept[0].id === first_id && kept[0].state === 'given-up' && back.mode === MODE_TITLE &&
        before_back.mode === MODE_PLAYING, 'the continued game is the same entry, given up, kept to the pass before BACK',
        JSON.stringify([kept.length, kept[0].state, before_back.mode, back.mode]));
  cont = await continue_by(page, () => page.keyboard.press('KeyC'));
  same_game('BACK then C', cont, kept[0].record, kept[0].pass);

  // ---- a killed tab: at most a second of play is lost ----
  await press(page, 'KeyP');
  await until(page, () => !StivraPage.paused, null);
  await walk(page, 'KeyA', 1024);
  await page.evaluate(() => window.dispatchEvent(new KeyboardEvent('keydown', { code: 'KeyD' })));
  await until(page, (x) => Module._web_player_x() > x + 512, await page.evaluate(() => Module._web_player_x()));
  const before_crash = (await mark(page)).pass;
  const crash = await b.context.newCDPSession(page);
  const crashed = page.waitForEvent('crash', { timeout: DEADLINE });
  // The renderer dies with the request: no answer comes.
  crash.send('Page.crash').catch(() => {});
  await crashed;
  page = await open_page(b.context);
  kept = (await stored(page)).games;
  check(kept.length === 1 && kept[0].id === first_id && kept[0].pass >= before_crash - 30,
        'a killed tab lost at most a second of play', `kept ${kept.map((g) => `${g.id} ${g.pass}`)}; played ${before_crash}`);
  cont = await continue_by(page, () => page.keyboard.press('KeyC'));
  same_game('killed tab', cont, kept[0].record, kept[0].pass);

  // ---- a killed browser: what the browser had committed is kept ----
  // Chromium commits localStorage to disk a few seconds after a write (a
  // killed tab loses nothing of it; a killed browser loses what was not yet
  // on disk). The test waits until the kept pass is in the profile's files.
  await press(page, 'KeyP');
  await until(page, () => !StivraPage.paused, null);
  await walk(page, 'KeyD', 1024);
  await press(page, 'KeyP');
  await until(page, () => StivraPage.paused, null);
  const before_kill = (await mark(page)).pass;
  await until(page, ([key, p]) => JSON.parse(localStorage.getItem(key)).games[0].pass === p, [KEY, before_kill]);
  const on_disk = await until_on_disk(`"pass":${before_kill},"state":"alive"`);
  await kill_browser();

  b = await open_browser();
  page = await open_page(b.context);
  kept = (await stored(page)).games;
  check(on_disk && kept.length === 1 && kept[0].id === first_id && kept[0].pass === before_kill, 'a killed browser kept the game',
        `${on_disk}; ${kept.map((g) => `${g.id} ${g.pass}`)}; ${before_kill}`);
  await page.click('#runs-open');
  check(await page.isVisible(`#runs [data-run="${first_id}"]`), '"Meine Spiele" lists the game');
  cont = await continue_by(page, () => page.click(`[data-run="${first_id}"] [data-action="continue"]`));
  same_game('killed browser, from the list', cont, kept[0].record, kept[0].pass);

  // A new game in the same visit is a new entry; the title offers the newest.
  await press(page, 'KeyP');
  await until(page, () => !StivraPage.paused, null);
  await page.keyboard.press('Escape');
  await wait_mode(page, MODE_TITLE);
  await new_game(page);
  await page.keyboard.press('Escape');
  await wait_mode(page, MODE_TITLE);
  kept = (await stored(page)).games;
  check(kept.length === 2 && kept[0].id !== first_id && kept[1].id === first_id && kept[0].state === 'given-up',
        'a new game after a continued one is a new entry', JSON.stringify(kept.map((g) => [g.id, g.state])));
  // ESC on the title ends the page's game; the button still continues the last one.
  // The game takes a key on the Tick it goes down: the ESC that led to the
  // title must have been let go in a Tick of the title first.
  const title_ticks = await page.evaluate(() => Module._web_total_ticks());
  await until(page, (t) => Module._web_total_ticks() > t + 1, title_ticks);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => StivraPage.finished, null, { timeout: DEADLINE });
  check(await page.isVisible('#continue-run') && await page.isVisible('#restart'),
        'after ESC on the title the ended page still offers "Weiterspielen"');
  await page.screenshot({ path: join(outDir, 'ended_continue.png') });
  cont = await continue_by(page, () => page.click('#continue-run'));
  same_game('continued after the game had ended', cont, kept[0].record, kept[0].pass);

  // ---- a won game: continued from the list, timed, and kept as it was won ----
  const won_text = readFileSync(wonPath, 'utf8');
  const won_mark = await page.evaluate((text) => new Promise((resolve) => {
    StivraPage.setReplayFast(true);
    StivraPage.replayPlay('won', new TextEncoder().encode(text));
    const poll = () => (StivraPage.replay && StivraPage.replay.state === 'ended' ? resolve(StivraRuns.mark()) : setTimeout(poll, 50));
    poll();
  }), won_text);
  check(won_mark.state === 'won' && won_mark.wonTicks > 0, 'the game marks a replayed won game as won', JSON.stringify(won_mark));
  const won_entry = {
    id: 'won1', date: Date.now() - 1000, updated: Date.now(), seed: won_mark.seed, record: won_text, pass: won_mark.pass,
    state: 'won', floor: won_mark.floor, task: won_mark.task, stickers: won_mark.stickers, catches: won_mark.catches,
    playTicks: won_mark.playTicks, wonTicks: won_mark.wonTicks, pinned: false,
  };
  await set_stored(page, JSON.stringify({ version: 1, games: [won_entry, ...kept] }));
  await page.close();
  const timed = [];
  for (const rate of [1, 4]) {
    page = await open_page(b.context);
    check(await page.isHidden('#continue-run'), `the title offers no "Weiterspielen" after a won game (CPU ${rate}x)`);
    const cdp = await b.context.newCDPSession(page);
    await cdp.send('Emulation.setCPUThrottlingRate', { rate });
    await page.click('#runs-open');
    cont = await continue_by(page, () => page.click('[data-run="won1"] [data-action="continue"]'));
    await cdp.send('Emulation.setCPUThrottlingRate', { rate: 1 });
    same_game(`the won game (CPU ${rate}x)`, cont, won_text, won_mark.pass);
    timed.push(cont.last ? cont.last.ms : -1);
    console.log(`note: a won game of ${won_mark.playTicks} Ticks handed over in ${(timed.at(-1) / 1000).toFixed(2)} s at CPU ${rate}x`);
    if (rate === 4) break;
    await page.close();
  }
  // Playing on from before the escape is a new game: the won one stays.
  await press(page, 'KeyP');
  await until(page, () => !StivraPage.paused, null);
  await walk(page, 'KeyA', 512);
  await until(page, (key) => JSON.parse(localStorage.getItem(key)).games.length === 4, KEY);
  kept = (await stored(page)).games;
  const won_kept = kept.find((g) => g.id === 'won1');
  check(kept.length === 4 && won_kept && won_kept.state === 'won' && won_kept.record === won_text && kept[0].state === 'alive',
        'playing on in a won game keeps the won one as it was', JSON.stringify(kept.map((g) => [g.id, g.state])));
  await page.click('[data-run="won1"] [data-action="pin"]');
  check((await stored(page)).games.find((g) => g.id === 'won1').pinned === true, 'a won game can be pinned');

  // ---- ten at most; a pinned game never drops off ----
  const many = Array.from({ length: 12 }, (_, i) => ({ ...won_entry, id: `old${i}`, state: 'given-up', wonTicks: 0, updated: 1000 + i }));
  await set_stored(page, JSON.stringify({ version: 1, games: [{ ...won_entry, pinned: true, updated: 500 }, ...many] }));
  await page.close();
  page = await open_page(b.context);
  await new_game(page);
  await until(page, (key) => JSON.parse(localStorage.getItem(key)).games.some((g) => g.state === 'alive'), KEY);
  kept = (await stored(page)).games;
  check(kept.length === 10 && kept.some((g) => g.id === 'won1' && g.pinned) && kept[0].state === 'alive' &&
        !kept.some((g) => ['old0', 'old1', 'old2', 'old3'].includes(g.id)),
        'ten games are kept: the new one, the pinned one, the eight newest others', JSON.stringify(kept.map((g) => g.id)));
  const good = kept.find((g) => g.id === 'won1');
  await page.close();

  // ---- corrupt and foreign entries: dropped with the reader's line ----
  const bad_record = `stivra-replay 1\nseed ${won_mark.seed}\n10 0\n1 0 5\n`;
  await (async () => {
    // A page of the same origin that runs no game (which would check the entries itself).
    const p = await b.context.newPage();
    await p.goto(`${baseUrl}/version.js`);
    await set_stored(p, JSON.stringify({ version: 1, games: [good, { ...won_entry, id: 'bad1', record: bad_record },
      { foo: 1 }, { ...won_entry, id: 'bad2', pass: '12' }, { ...won_entry, id: 'far', state: 'given-up', pinned: false, pass: 999999, updated: 1 }] }));
    await p.close();
  })();
  page = await open_page(b.context);
  kept = (await stored(page)).games;
  let line = await note(page);
  check(kept.length === 2 && kept.some((g) => g.id === 'won1') && line.startsWith('3 aufbewahrte Spiele waren beschädigt') &&
        line.includes('Zeile 4: TICKS 5 liegt nicht zwischen 1 und 4'), 'corrupt and foreign entries are dropped with the reader\'s line in German',
        `${line}; ${kept.map((g) => g.id)}`);
  // A pass beyond its record: refused when continued, dropped, the game goes on.
  await page.click('#runs-open');
  await page.click('[data-run="far"] [data-action="continue"]');
  line = await note(page);
  check(line.includes('weniger als die 999999') && !(await stored(page)).games.some((g) => g.id === 'far') &&
        await wait_mode(page, MODE_TITLE) && await page.evaluate(() => StivraPage.running),
        'a kept pass beyond its record is refused, dropped, and the title stays', line);
  // A key that is no list of games at all: dropped, and a new game is kept.
  await set_stored(page, '{"version":1,"games":');
  await page.close();
  page = await open_page(b.context);
  check((await note(page)).startsWith('Ein aufbewahrtes Spiel war beschädigt') && await new_game(page) &&
        await until(page, (key) => JSON.parse(localStorage.getItem(key)).games.length === 1, KEY),
        'unreadable storage is dropped and a new game is kept');

  // ---- a full quota: what is kept stays, the game plays on, and it says so ----
  const kept_ids = (await stored(page)).games.map((g) => g.id);
  await page.keyboard.press('Escape');
  await wait_mode(page, MODE_TITLE);
  const fillers = await page.evaluate(() => {
    let chunk = 'x'.repeat(1 << 20), n = 0;
    while (chunk.length >= 8) {
      try { localStorage.setItem(`filler${n}`, chunk); n += 1; } catch (e) { chunk = chunk.slice(0, chunk.length / 2); }
    }
    return n;
  });
  await new_game(page);
  await walk(page, 'KeyD', 1024);
  const full = await until(page, () => document.getElementById('runs-note').textContent.includes('Speicher des Browsers ist voll'), null);
  check(full && JSON.stringify((await stored(page)).games.map((g) => g.id)) === JSON.stringify(kept_ids) &&
        await page.evaluate(() => Module._web_game_mode()) === MODE_PLAYING,
        'a full quota keeps the games kept before, says so, and the game plays on', `${fillers} fillers; ${await note(page)}`);
  await page.evaluate((n) => { for (let i = 0; i < n; ++i) localStorage.removeItem(`filler${i}`); }, fillers);
  check(await until(page, (key) => JSON.parse(localStorage.getItem(key)).games.length === 2 && document.getElementById('runs-note').hidden, KEY),
        'with room again the game is kept and the line goes');
  await page.close();
  await close_browser();

  // ---- no storage at all: the page plays and says nothing is kept ----
  const browser = await chromium.launch({
    executablePath: process.env.STIVRA_CHROMIUM || '/usr/bin/chromium',
    args: ['--disable-gpu', '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const bare = await browser.newContext();
  await bare.addInitScript(() => {
    Object.defineProperty(window, 'localStorage', { get() { throw new DOMException('The operation is insecure.', 'SecurityError'); } });
  });
  page = await open_page(bare);
  check((await note(page)).includes('kein Spiel wird aufbewahrt') && await new_game(page) && await walk(page, 'KeyD', 1024),
        'without storage the page says nothing is kept and plays');
  await browser.close();
  console.log(`note: hand-over times of the won game: ${timed.map((ms) => `${(ms / 1000).toFixed(2)} s`).join(', at 4x ')}`);
} catch (e) {
  check(false, 'the test of kept games ran to its end', String(e && e.stack || e));
} finally {
  if (current) await kill_browser().catch(() => {});
}

check(errors.length === 0, 'no script errors in the page', errors.join('; '));
console.log(`kept games: ${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);

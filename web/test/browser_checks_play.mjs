// Playing in the page: the keys, a gamepad, losing the focus, pausing, a
// stalled page, and the records of what the page played, which the native
// tool must replay to the same end and the same picture.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  DEADLINE, Setup, WALK_RIGHT, animation_frames, canvas_frame, differing, end_game, events,
  native_replay, page_record, recorded, start_playing, state, stored_end, until, wait_ticks, walk,
} from './browser_harness.mjs';

// Into play, and a step to the right, so that the run has moved the player.
async function walked_in(t) {
  await start_playing(t.page);
  const walked = await walk(t.page, WALK_RIGHT, 4096);
  t.setup(walked.ok, 'the player walks right with D', JSON.stringify(walked));
}
// P, and until the page says it is paused.
async function pause_with_p(t) {
  await t.page.keyboard.press('KeyP');
  return until(t.page, () => StivraPage.paused, null, 10000);
}

// D and a standard gamepad's D-pad walk; the canvas follows.
async function walking(t) {
  const { page } = t;
  await start_playing(page);
  const walked = await walk(page, WALK_RIGHT, 4096);
  t.check(walked.ok && walked.y === walked.y0, 'D walks right', `${JSON.stringify(walked)}; ${await events(page)}`);
  t.check(walked.changed > 1000, 'the canvas follows the walk', `${walked.changed} pixels changed`);
  const padded = await walk(page, { pad: true }, 512);
  t.check(padded.ok && padded.y === padded.y0, 'the gamepad D-pad walks right', JSON.stringify(padded));
}

// A key held when the page loses the focus: the walk stops, the game pauses
// until P.
async function focus(t) {
  const { page } = t;
  await walked_in(t);
  // On a French keyboard the key at A prints "q" (which would be the phone
  // by its letter); by its place it walks left. It stays held: losing the
  // focus must let go of a key whose key-up never comes.
  const went_left = await walk(page, { key: 'KeyA', letter: 'q', release: false }, -512);
  t.check(went_left.ok, 'the key at the place of A walks left on any layout', `${JSON.stringify(went_left)}; ${await events(page)}`);
  // Losing the focus also pauses: no Tick runs and no pass is recorded
  // until P, and the pause sign lies over the picture.
  await page.evaluate(() => window.dispatchEvent(new FocusEvent('blur')));
  const blur_paused = await until(page, () => StivraPage.paused, null, 10000);
  const left = await state(page);
  const left_record = await recorded(page);
  await animation_frames(page, 30);
  const still = await state(page);
  const still_record = await recorded(page);
  t.check(blur_paused && await page.isVisible('#paused') && still.ticks === left.ticks && left_record !== null &&
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
  t.check(!let_go[2] && await page.isHidden('#paused'), 'P goes on after a pause');
  t.check(let_go[0] === let_go[1], 'losing the focus lets go of the held key', `${let_go[0]} -> ${let_go[1]}`);
}

// P, the pause sign and the pause button.
async function pause(t) {
  const { page } = t;
  await walked_in(t);
  const p_paused = await pause_with_p(t);
  const at_pause = await state(page);
  const at_pause_record = await recorded(page);
  const paused_frame = await canvas_frame(page);
  await animation_frames(page, 30);
  t.check(p_paused && (await state(page)).ticks === at_pause.ticks && at_pause_record !== null &&
          (await recorded(page)).passes === at_pause_record.passes &&
          differing(paused_frame, await canvas_frame(page)) === 0,
          'P pauses: no Tick, no recorded pass, the canvas keeps the game\'s frame');
  t.check(await page.getAttribute('#pause', 'aria-pressed') === 'true', 'the pause button shows the pause');
  await page.click('#paused');
  t.check(await until(page, () => !StivraPage.paused, null, 10000), 'a click on the pause sign goes on');
  await page.click('#pause');
  t.check(await until(page, () => StivraPage.paused, null, 10000), 'the pause button pauses');
  await page.click('#pause');
  t.check(await until(page, () => !StivraPage.paused, null, 10000) &&
          await page.getAttribute('#pause', 'aria-pressed') === 'false', 'the pause button goes on');
}

// The run so far, saved while paused: the native tool replays it to the
// hash it closes with and to exactly the frame the paused canvas shows.
async function saved_run(t) {
  const { page } = t;
  await walked_in(t);
  t.setup(await pause_with_p(t), 'P pauses');
  const paused_frame = await canvas_frame(page);
  const saving = page.waitForEvent('download', { timeout: DEADLINE });
  await page.click('#save-run');
  const download = await saving;
  const file = join(Setup.outDir, download.suggestedFilename());
  await download.saveAs(file);
  const text = readFileSync(file, 'latin1');
  t.check(download.suggestedFilename() === `stivra_lauf_seed${Setup.seed}.txt` && text.startsWith('stivra-replay 1\n'),
          '"Lauf speichern" downloads the run as a replay named with its seed', download.suggestedFilename());
  const native = await native_replay(file, 'saved');
  const stored = stored_end(text);
  t.check(stored !== null && native.json.hash === stored.hash,
          'the saved run replays natively to the hash it closes with', `${JSON.stringify(stored)}; ${JSON.stringify(native.json)}`);
  t.check(native.last !== null && differing(paused_frame, native.last) === 0,
          'the saved run\'s native replay ends on exactly the frame the paused canvas showed');
}

// Two seconds without animation frames (a hidden tab, a stalled page): the
// next two frames run at most four Ticks each, instead of catching up sixty;
// then the game goes on.
async function stall(t) {
  const { page } = t;
  await start_playing(page);
  const stalled = await page.evaluate(() => new Promise((resolve) => {
    const ticks = Module._web_total_ticks();
    const t = performance.now();
    while (performance.now() - t < 2000);
    const after = Module._web_total_ticks();
    requestAnimationFrame(() => requestAnimationFrame(() => resolve([after - ticks, Module._web_total_ticks() - after])));
  }));
  t.check(stalled[0] === 0 && stalled[1] <= 8, 'a page that got no frames does not catch up its Ticks',
          `${stalled[1]} Ticks in the two frames after a stall of 2 s`);
  const awake = await state(page);
  t.check(await until(page, (ticks) => Module._web_total_ticks() > ticks + 4, awake.ticks), 'the game goes on after the stall');
}

// A game walked, paused, stalled and ended: Escape goes back to the title,
// Escape on the title ends the game; everything the page played, recorded as
// it went (the pause without a pass, the stall caught up by passes of several
// Ticks), replays natively to the end it recorded and to the picture the
// canvas was left with.
async function played_record(t) {
  const { page } = t;
  await walked_in(t);
  t.setup(await pause_with_p(t), 'P pauses');
  await animation_frames(page, 10);
  await page.keyboard.press('KeyP');
  t.setup(await until(page, () => !StivraPage.paused, null, 10000), 'P goes on');
  await page.evaluate(() => { const t = performance.now(); while (performance.now() - t < 1000); });
  await wait_ticks(page, 10);
  await end_game(page);
  t.check(await page.isVisible('#restart'), 'Escape on the title ends the game and offers a restart');
  const played = await page_record(page, 'page_played.txt');
  const played_frame = await canvas_frame(page);
  const native = await native_replay(played.file, 'played');
  t.check(played.end !== null && ['passes', 'hash', 'states', 'frames'].every((f) => native.json[f] === played.end[f]),
          'the page\'s record of what it played replays natively to the end and the chains it recorded',
          `${JSON.stringify(played.end)}; native ${JSON.stringify(native.json)}`);
  t.check(native.last !== null && differing(played_frame, native.last) === 0,
          'the canvas shows the last frame of the native replay of that record');
}

export const PlayChecks = [
  { name: 'walking', run: walking },
  { name: 'focus', run: focus },
  { name: 'pause', run: pause },
  { name: 'saved-run', run: saved_run },
  { name: 'stall', run: stall },
  { name: 'played-record', run: played_record },
];

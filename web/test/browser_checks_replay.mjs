// Recorded runs in the page: a shared link, a file chosen with the button
// after a game ended, and every recorded run of the tests through
// ?replay=URL, each of which must end as the native tool's replay does.
import { readFileSync } from 'node:fs';
import { basename } from 'node:path';
import {
  DEADLINE, MODE_ESCAPED, REPLAY_DEADLINE, Setup, WALK_RIGHT, canvas_frame, differing, end_differences, end_game,
  native_error, native_recorded, native_replay, page_record, replay_result, replay_state, start_playing, state,
  until, walk,
} from './browser_harness.mjs';

// The link of the page's run: the run deflated into the fragment.
async function share_link(page) {
  await page.click('#share-run');
  await page.waitForFunction(() => document.getElementById('share-link').value.includes('#run='), null, { timeout: DEADLINE });
  return page.inputValue('#share-link');
}

// A run played and paused, shared as a link: the link replays it, then
// offers to play on.
async function shared_link(t) {
  const player = t.page;
  await start_playing(player);
  t.setup((await walk(player, WALK_RIGHT, 4096)).ok, 'the player walks right with D');
  await player.keyboard.press('KeyP');
  t.setup(await until(player, () => StivraPage.paused, null, 10000), 'P pauses');
  const run = await page_record(player, 'page_shared.txt');
  t.setup(run.end !== null, 'the page recorded the run', run.text.slice(-200));
  const native = native_replay(run.file, 'shared');
  const link = await share_link(player);
  console.log(`note: the link to a run of ${run.end.passes} passes is ${link.length} characters`);
  await player.close();

  const shared = await t.new_page();
  await shared.goto(link);
  await replay_state(shared, 'playing', DEADLINE);
  await shared.click('#replay-fast');
  await replay_state(shared, 'ended', REPLAY_DEADLINE);
  const end = await replay_result(shared);
  const { json } = await native;
  t.check(end.hash === json.hash && end.passes === json.passes && end.hash === run.end.hash,
          `the shared link (${link.length} characters) replays to the native hash`,
          `page ${JSON.stringify(end)}; native ${JSON.stringify(json)}`);
  t.check((await shared.textContent('#replay-status')).includes(json.hash) && await shared.isVisible('#replay-take-over'),
          'the shared run shows its hash and offers "Selbst weiterspielen"');
}

// A recorded run chosen with the button after play and the end of the game
// replays from program initialisation whatever ran before. A bad file
// dropped on the page meanwhile shows the reader's line and leaves the
// replay alone: its bad line is its last, after 20 KB of good ones that
// would change the replay's end if they overwrote the text it reads. Then
// the player takes over.
async function chosen_replay(t) {
  const { page } = t;
  const chosen = Setup.replayPaths[0];
  await start_playing(page);
  t.setup((await walk(page, WALK_RIGHT, 4096)).ok, 'the player walks right with D');
  await end_game(page);
  t.setup(await page.isVisible('#restart'), 'the game ended');

  const chooser = page.waitForEvent('filechooser', { timeout: DEADLINE });
  await page.click('#testers summary');  // the testers' section is folded
  await page.click('#replay-open');
  await (await chooser).setFiles(chosen);
  await replay_state(page, 'playing', DEADLINE);
  // The passes and the page's clock read together, so that a slow answer
  // from a busy machine skews neither.
  const pace = () => page.evaluate(() => [performance.now(), StivraPage.replay.passes]);
  const paced_from = await pace();
  t.check(await page.evaluate(() => StivraPage.running) && await page.isHidden('#restart'),
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
  t.check(reader_line !== null && shown[0] === reader_line && shown[1].includes('kaputt.txt') && line_number &&
          shown[1].includes(`Zeile ${line_number[1]}: TICKS 5 liegt nicht zwischen 1 und 4`) && !/\b(line|is outside)\b/.test(shown[1]) &&
          (await replay_result(page)).state === 'playing',
          'a bad file dropped on the page shows the reader\'s line in German, and the replay goes on',
          `${JSON.stringify(shown)}; native: ${reader_line}`);
  // At the recording's pace: never faster than its Ticks are due (a busy
  // machine may play it slower, and catches up at most four passes a frame).
  const paced_to = await pace();
  const paced = paced_to[1] - paced_from[1], paced_ms = Math.round(paced_to[0] - paced_from[0]);
  t.check(paced_to[1] > 5 && paced <= paced_ms * 30 / 1000 + 5, 'the button plays at the recording\'s pace',
          `${paced} passes in ${paced_ms} ms`);
  await page.click('#replay-fast');
  await replay_state(page, 'ended', REPLAY_DEADLINE);
  const diff = end_differences(await replay_result(page), (await native_recorded(0)).json);
  t.check(diff === '', `${basename(chosen)}: replayed after play, the page ends as the native tool does`, diff);

  // The player takes over: the loop runs on and the keys reach the game
  // (Escape leaves every screen, from the title it ends the game).
  await page.click('#replay-take-over');
  const taken = await state(page);
  let answered = false;
  for (let i = 0; i < 10 && !answered; ++i) {
    await page.keyboard.press('Escape');
    answered = await until(page, (m) => StivraPage.finished || Module._web_game_mode() !== m, taken.mode, 3000);
  }
  t.check(answered && (await state(page)).ticks > taken.ticks, 'after the replay the player plays on with the keyboard');
}

// One recorded run through ?replay=URL, as fast as it goes: it must end as
// its closing line and `stivra-tool replay` say, and the canvas must show
// the native last frame (for a won game: the escaped screen).
async function recorded_run(t, i) {
  const { page, context } = t;
  const file = Setup.replayPaths[i];
  const name = basename(file);
  await context.route('**/recorded/run.txt', (route) =>
    route.fulfill({ body: readFileSync(file), contentType: 'text/plain' }));
  const began = Date.now();
  await page.goto(`${Setup.baseUrl}/?replay=recorded/run.txt&fast=1`);
  await page.waitForFunction(() => StivraPage.replayError !== null || (StivraPage.replay && StivraPage.replay.state === 'ended'),
                             null, { timeout: REPLAY_DEADLINE, polling: 100 });
  const seconds = ((Date.now() - began) / 1000).toFixed(1);
  const end = await replay_result(page);
  const native = await native_recorded(i);
  const diff = end ? end_differences(end, native.json) : await page.evaluate(() => StivraPage.replayError);
  t.check(diff === '', `the page's replay ends as the native one (hash ${native.json.hash}, ${seconds} s)`, diff);
  // The chains too: the page passed through every state and drew every
  // frame as the record's closing line has them.
  t.check(end !== null && native.end !== null && ['passes', 'ticks', 'hash', 'states', 'frames'].every((f) => end[f] === native.end[f]),
          'the page ends where the record\'s closing line says, by the same states and frames',
          `${JSON.stringify(native.end)}; page ${JSON.stringify(end)}`);
  t.check((await page.textContent('#replay-status')).includes(native.json.hash), 'the page shows the hash');
  if (name.startsWith('won_')) {
    // The page recorded the replay as it played it: a whole won game as a link.
    const link = await share_link(page);
    console.log(`note: ${name} as a link is ${link.length} characters`);
    t.check(link.length < 4000, 'the link to the whole won game is short', `${link.length} characters`);
  }
  // (A record without passes draws no frame, natively or here.)
  if (native.json.passes !== 0) {
    const escaped = native.json.mode === MODE_ESCAPED;
    const canvas = native.last ? differing(await canvas_frame(page), native.last) : -1;
    t.check(canvas === 0, `the canvas ends on the native last frame${escaped ? ', the escaped screen' : ''}`,
            canvas < 0 ? 'no native last frame' : `${canvas} pixels differ`);
  }
}

export const ReplayChecks = [
  { name: 'shared-link', run: shared_link, deadline_ms: 15 * 60000 },
  { name: 'chosen-replay', run: chosen_replay, deadline_ms: 15 * 60000, prepare: () => native_recorded(0) },
];

// A check for each recorded run, named by its file; its native replay
// starts before the checks run, in the background.
export const recorded_run_checks = () => Setup.replayPaths.map((file, i) => ({
  name: `replay:${basename(file)}`, run: (t) => recorded_run(t, i), deadline_ms: 15 * 60000,
  prepare: () => native_recorded(i),
}));

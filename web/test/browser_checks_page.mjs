// The page around the game: its title picture and size, full screen,
// screenshots, the sound, the offline cache, a phone, and the smoke run.
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  DEADLINE, INPUT, MODE_INTRO, MODE_PLAYING, MODE_TITLE, Setup, animation_frames, bmp_file_frame, bmp_frame, canvas_frame,
  canvas_rect, differing, native_replay, open_title, page_record, state, until, wait_frames, wait_mode,
} from './browser_harness.mjs';

const rect_is = (page, want) => until(page, (w) => {
  const r = document.getElementById('game').getBoundingClientRect();
  return JSON.stringify([r.x, r.y, r.width, r.height].map(Math.round)) === w;
}, want, 10000);
const full_screen_is = (page, id) => until(page, (i) => (document.fullscreenElement?.id ?? null) === i, id, 10000);
// The title's still parts: the ground with the controls line, and the
// school's name sign (the sky twinkles and flashes and the start prompt blinks).
const title_ground = (frame, title) => differing(frame, title, 0, 185, 319, 199);
const title_sign = (frame, title) => differing(frame, title, 111, 103, 208, 116);
const sound_running = () => StivraPage.audio.context && StivraPage.audio.context.state === 'running';

async function title(t) {
  const { page } = t;
  await open_title(page);
  t.check(await page.title() === 'St. Ivra Schule – Herr Mürzel kommt', 'German page title');
  const icon = await page.evaluate(async () => {
    const r = await fetch(document.querySelector('link[rel=icon]').href);
    return [r.status, (await r.arrayBuffer()).byteLength];
  });
  t.check(icon[0] === 200 && icon[1] > 0, 'the favicon is served', String(icon));
  const native = bmp_frame(readFileSync(Setup.titlePath));
  const frame = await canvas_frame(page);
  t.check(title_ground(frame, native) === 0 && title_sign(frame, native) === 0,
          'the canvas shows the title as the native game draws it');
  // 1000x700 leaves room for a 2x box (with the text); the canvas fills it.
  const box = await page.evaluate(() => {
    const r = document.getElementById('game-box').getBoundingClientRect();
    return JSON.stringify([r.x, r.y, 640, 400].map(Math.round));
  });
  t.check(await rect_is(page, box), 'the page shows the canvas at twice its size', String(await canvas_rect(page)));
}

// The button and Alt+Enter, letterboxed, never a CONFIRM on the title.
async function full_screen(t) {
  const { page } = t;
  await open_title(page);
  await page.click('#full-screen');
  t.check(await full_screen_is(page, 'game-box'), 'the button goes full screen');
  // A 1000x600 screen: 960x600 with 20-pixel bars left and right.
  await page.setViewportSize({ width: 1000, height: 600 });
  t.check(await rect_is(page, '[20,0,960,600]'), 'full screen is letterboxed', String(await canvas_rect(page)));
  await page.keyboard.press('Alt+Enter');
  t.check(await full_screen_is(page, null), 'Alt+Enter leaves full screen');
  await wait_frames(page, 3);
  t.check((await state(page)).mode === MODE_TITLE, 'Alt+Enter does not leave the title');
  await page.setViewportSize({ width: 1000, height: 700 });
  await page.keyboard.press('Alt+Enter');
  t.check(await full_screen_is(page, 'game-box'), 'Alt+Enter goes full screen');
  await page.keyboard.press('Alt+Enter');
  t.check(await full_screen_is(page, null), 'Alt+Enter leaves full screen again');
}

// The button and F12 download numbered BMPs of what the canvas shows.
async function screenshots(t) {
  const { page } = t;
  await open_title(page);
  const native = bmp_frame(readFileSync(Setup.titlePath));
  for (const [how, name] of [['button', 'stivra_00.bmp'], ['F12', 'stivra_01.bmp']]) {
    const download = page.waitForEvent('download', { timeout: DEADLINE });
    if (how === 'button') await page.click('#screenshot'); else await page.keyboard.press('F12');
    const d = await download;
    const file = join(Setup.outDir, name);
    await d.saveAs(file);
    const shot = bmp_file_frame(file);
    t.check(d.suggestedFilename() === name && shot !== null && title_ground(shot, native) === 0,
            `${how} downloads ${name} of the title`, d.suggestedFilename());
  }
}

// The sound starts with the first key; the mute button and M.
async function sound(t) {
  const { page } = t;
  await open_title(page);
  t.check(await page.evaluate(() => !StivraPage.audio.context), 'no sound before the first key');
  await page.keyboard.press('Enter');
  const sounding = await until(page, () => StivraPage.audio.context && StivraPage.audio.context.state === 'running' &&
                                           StivraPage.audio.write > 0, null, 20000);
  const audio = await page.evaluate(() => ({
    state: StivraPage.audio.context && StivraPage.audio.context.state, written: StivraPage.audio.write }));
  t.check(sounding, 'after a key the game feeds Web Audio', JSON.stringify(audio));
  await wait_mode(page, MODE_INTRO);
  await wait_frames(page, 3);
  await page.keyboard.press('Enter');
  await wait_mode(page, MODE_PLAYING);

  await page.click('#mute');
  const muted = await until(page, () => Module._web_muted() === 1 && StivraPage.muted, null, 10000);
  await animation_frames(page, 20);
  const silent = await page.evaluate(() => {
    const a = StivraPage.audio;
    const last = [];
    for (let i = Math.max(0, a.write - 768); i < a.write; ++i) last.push(a.ring[i & (StivraPage.RING_SIZE - 1)]);
    return last.length > 0 && last.every((v) => v === 0);
  });
  t.check(muted && silent && await page.getAttribute('#mute', 'aria-pressed') === 'true',
          'the mute button silences the sound (the stream goes on with zeros)');
  await page.keyboard.press('KeyM');
  t.check(await until(page, () => Module._web_muted() === 0 && !StivraPage.muted, null, 10000) &&
          await page.getAttribute('#mute', 'aria-pressed') === 'false', 'M turns the sound on again');
}

// After one visit the page plays with no network.
async function offline(t) {
  const { page, context } = t;
  await open_title(page);
  const controlled = await until(page, () => navigator.serviceWorker && navigator.serviceWorker.controller !== null);
  const manifest = await page.evaluate(async () => {
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
  t.check(manifest.lang === 'de' && manifest.display === 'fullscreen' && manifest.icons.includes('192x192') &&
          manifest.icons.includes('512x512') && manifest.pictures.every((ok) => ok),
          'the page has a manifest: German, full screen, PNG icons of 192 and 512 pixels', JSON.stringify(manifest));
  t.check(controlled, 'after the first visit the offline cache serves the page');
  await context.setOffline(true);
  let offline_ok = false, why = '';
  try {
    await page.reload();
    await page.waitForFunction(() => StivraPage.running && StivraPage.frames > 0, null, { timeout: DEADLINE });
    await page.keyboard.press('Enter');
    offline_ok = await until(page, (m) => Module._web_game_mode() === m, MODE_INTRO, 20000);
  } catch (e) {
    why = String(e).split('\n')[0];
  }
  t.check(controlled && offline_ok, 'with the network off the page loads again and plays', why);
}

// A phone: the on-screen pad, touches through the DevTools protocol.
async function phone(t) {
  const { page, context } = t;
  await open_title(page);
  const pad_bits = await page.$$eval('#touch-controls [data-bits]', (bs) => bs.map((b) => Number(b.dataset.bits)).sort((a, b) => a - b));
  t.check(await page.isVisible('#touch-controls') && JSON.stringify(pad_bits) === JSON.stringify(Object.values(INPUT).sort((a, b) => a - b)),
          'a touch screen shows the pad, a button for each InputBits value', JSON.stringify(pad_bits));
  const fits = () => page.evaluate(() => {
    const bottom = Math.max(...['game-box', 'touch-controls', 'dpad', 'touch-buttons'].map((id) => document.getElementById(id).getBoundingClientRect().bottom));
    const right = Math.max(...['game-box', 'dpad', 'touch-buttons'].map((id) => document.getElementById(id).getBoundingClientRect().right));
    return bottom <= innerHeight && right <= innerWidth && document.documentElement.scrollWidth <= innerWidth;
  });
  t.check(await fits(), 'portrait: the picture and the pad fit the screen');
  await page.screenshot({ path: join(Setup.outDir, 'phone_portrait.png') });
  const cdp = await context.newCDPSession(page);
  const centre = async (selector, dx = 0, dy = 0) => {
    const r = await page.locator(selector).boundingBox();
    return { x: r.x + r.width / 2 + dx * r.width, y: r.y + r.height / 2 + dy * r.height };
  };
  const touches = (type, points) => cdp.send('Input.dispatchTouchEvent',
    { type, touchPoints: points.map((p, i) => ({ x: p.x, y: p.y, id: i + 1, radiusX: 4, radiusY: 4 })) });
  const tap = async (selector) => {
    const at = await centre(selector);
    await touches('touchStart', [at]);
    await touches('touchEnd', []);
  };
  await tap('#touch-buttons [data-input="CONFIRM"]');
  await wait_mode(page, MODE_INTRO);
  t.check(await until(page, sound_running, null, 20000), 'the sound starts with the first touch');
  await wait_frames(page, 3);
  await tap('#touch-buttons [data-input="CONFIRM"]');
  await wait_mode(page, MODE_PLAYING);
  await wait_frames(page, 3);
  const on_phone = await state(page);
  const right = await centre('#dpad [data-input="RIGHT"]');
  await touches('touchStart', [right]);
  const touch_walk = await until(page, (x) => Module._web_player_x() > x + 2048, on_phone.x);
  // A second finger on RENNEN while the first stays: both are held.
  const run = await centre('#touch-buttons [data-input="RUN"]');
  await touches('touchStart', [right, run]);
  const both = await until(page, (want) => StivraPage.touch.bits === want, INPUT.RIGHT | INPUT.RUN, 10000);
  await wait_frames(page, 3);
  // Between the right and the down arrow the cross gives both.
  const diagonal = await centre('#dpad', 0.3, 0.3);
  await touches('touchMove', [diagonal, run]);
  const down_right = await until(page, (want) => StivraPage.touch.bits === want, INPUT.RIGHT | INPUT.DOWN | INPUT.RUN, 10000);
  await wait_frames(page, 3);
  await touches('touchEnd', []);
  await until(page, () => StivraPage.touch.bits === 0, null, 10000);
  await wait_frames(page, 2);
  const record = await page.evaluate(() => StivraPage.recordText());
  t.check(touch_walk, 'the pad\'s right arrow walks right');
  t.check(both && /^\d+ 40( \d)?$/m.test(record), 'two fingers at once: walking and running (InputBits 40 recorded)');
  t.check(down_right && /^\d+ 42( \d)?$/m.test(record), 'a finger between two arrows walks diagonally (InputBits 42 recorded)');
  await page.screenshot({ path: join(Setup.outDir, 'phone_playing.png') });
  await page.setViewportSize({ width: 844, height: 390 });
  await wait_frames(page, 3);
  t.check(await until(page, () => document.getElementById('play-area').classList.contains('landscape'), null, 10000) &&
          await fits(), 'landscape: the pad beside the picture, all on the screen');
  await page.screenshot({ path: join(Setup.outDir, 'phone_landscape.png') });
}

// The smoke run (?autoplay=1), replayed natively from the page's record.
async function autoplay(t) {
  const { page } = t;
  await page.goto(`${Setup.baseUrl}/?autoplay=1&seed=${Setup.seed}`);
  await page.waitForFunction(() => StivraPage.finished, null, { timeout: DEADLINE });
  const shot = await page.evaluate(() => StivraPage.autoplayShot && Array.from(StivraPage.autoplayShot));
  t.check(shot !== null, 'the autoplay run offers its screenshot');
  const record = await page_record(page, 'page_autoplay.txt');
  t.check(record.text.includes(`\nseed ${Setup.seed}\n`) && record.end !== null && record.end.ticks === 150,
          'the page records its smoke run: the seed and 150 Ticks', record.text.slice(0, 200));
  const native = await native_replay(record.file, 'autoplay');
  t.check(record.end !== null && ['hash', 'states', 'frames'].every((f) => native.json[f] === record.end[f]),
          `the smoke run's record (seed ${Setup.seed}) replays natively to the hash and the chains the page ended on`,
          `${JSON.stringify(record.end)}; native ${JSON.stringify(native.json)}`);
  let shot_frame = null;
  if (shot) {
    writeFileSync(join(Setup.outDir, 'autoplay_web.bmp'), Buffer.from(shot));
    try { shot_frame = bmp_frame(Buffer.from(shot)); } catch (e) { shot_frame = null; }
  }
  t.check(shot_frame !== null && native.last !== null && differing(shot_frame, native.last) === 0,
          'the autoplay screenshot is the last frame of the native replay, pixel for pixel');
  t.check(native.last !== null && differing(await canvas_frame(page), native.last) === 0,
          'the final frame on the canvas is the last frame of the native replay, pixel for pixel');
  t.check(await page.isVisible('#autoplay-shot'), 'the page links the autoplay screenshot');
}

export const PageChecks = [
  { name: 'title', run: title },
  { name: 'full-screen', run: full_screen },
  { name: 'screenshots', run: screenshots },
  { name: 'sound', run: sound },
  { name: 'offline', run: offline },
  { name: 'phone', run: phone,
    context: { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true } },
  { name: 'autoplay', run: autoplay },
];

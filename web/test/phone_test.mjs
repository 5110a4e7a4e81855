// The page on phones and a tablet, in headless Chromium with touches through
// the DevTools protocol:
//   node phone_test.mjs URL OUT_DIR WON_REPLAY
//   WON_REPLAY   a won game recorded with one Tick a pass, played here by touch
// Chromium is Debian's (STIVRA_CHROMIUM names another one).
//
// The layout's arithmetic is checked for every screen size in Node.js; the
// page on each screen of the issue, the pad's touches, and a whole won game
// played with touch alone, in full screen, upright and then sideways. That
// game runs in lockstep: the page's clock and its animation frames are the
// test's, one Tick a frame, so that the page plays exactly the record's
// passes however busy the machine is. Every other wait is for a state.
import { chromium } from 'playwright-core';
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';

const [baseUrl, outDir, wonPath] = process.argv.slice(2);
const Phone = createRequire(import.meta.url)('../phone.js');
// The game's constants as the build wrote them for the page.
const { MODE, INPUT } = await import(`data:text/javascript,${encodeURIComponent(await (await fetch(`${baseUrl}/page_constants.js`)).text())}`);
const { TITLE: MODE_TITLE, INTRO: MODE_INTRO, PLAYING: MODE_PLAYING, ESCAPED: MODE_ESCAPED } = MODE;
const DEADLINE = 60000;

let passed = 0, failed = 0;
function check(ok, what, detail = '') {
  if (ok) { passed += 1; console.log(`ok: ${what}`); }
  else { failed += 1; console.log(`FAIL: ${what}${detail ? ': ' + detail : ''}`); }
}

// Faults of a set of controls ({ name, x, y, width, height }) on a screen:
// smaller than a thumb, off the screen, or closer than 8 pixels to another.
function control_faults(controls, width, height) {
  const faults = [];
  for (const [i, a] of controls.entries()) {
    if (!(a.width >= 43.5 && a.height >= 43.5)) faults.push(`${a.name} is ${a.width}x${a.height}`);
    if (a.x < -0.5 || a.y < -0.5 || a.x + a.width > width + 0.5 || a.y + a.height > height + 0.5) faults.push(`${a.name} is off the screen`);
    for (const b of controls.slice(i + 1)) {
      const room = Math.max(b.x - (a.x + a.width), a.x - (b.x + b.width), b.y - (a.y + a.height), a.y - (b.y + b.height));
      if (room < 7.5) faults.push(`${a.name} and ${b.name} are ${room.toFixed(1)} apart`);
    }
  }
  return faults;
}

const layout_controls = (l) => [['dpad', l.dpad], ...Object.entries(l.buttons), ...Object.entries(l.game)]
  .map(([name, r]) => ({ name, ...r }));

// ---- the arithmetic, for every screen from 320 pixels up ----
{
  const faults = [];
  let phones = 0;
  for (const dpr of [1, 1.5, 2, 2.625, 3, 3.5]) {
    for (let short = 320; short <= 820; short += 10) {
      for (let long = Math.max(short, 480); long <= 1370; long += 10) {
        for (const [width, height] of [[short, long], [long, short]]) {
          for (const full of [false, true]) {
            const l = Phone.layout({ width, height, dpr, full, insets: { top: 0, right: 0, bottom: 0, left: 0 } });
            const name = `${width}x${height}@${dpr}${full ? ' full' : ''}`;
            const bad = control_faults(layout_controls(l), width, l.height);
            const p = l.picture;
            if (l.height > height) bad.push(`the stage is ${l.height} high`);
            if (l.scale >= 1 && !Number.isInteger(l.scale * 2)) bad.push(`scale ${l.scale} is no half step`);
            if (Math.abs(p.width - (320 * l.scale) / dpr) > 1e-6 || p.x < -1e-6 || p.x + p.width > width + 1e-6 || p.y < -1e-6 ||
                p.y + p.height > l.height + 1e-6) bad.push(`the picture ${JSON.stringify(p)} is off the stage`);
            // The next half step would not fit: the full height sideways; upright the
            // full width, or the height with the pad under it.
            const next = l.scale + 0.5;
            const pad = l.dpad.y + l.dpad.height - Math.min(l.dpad.y, l.buttons.BACK.y);
            const room = width > height ? next * 200 <= height * dpr : (next * 200) / dpr + 8 + 48 + 8 + pad + 8 <= height;
            if (next * 320 <= width * dpr && room) bad.push(`scale ${l.scale} leaves room`);
            // Upright nothing lies over the picture.
            if (width <= height && layout_controls(l).some((c) => c.y < p.y + p.height)) bad.push('a control over the picture');
            if (short <= 480 && dpr >= 2) {
              phones += 1;
              if (l.scale < 2) bad.push(`a phone at ${l.scale} device pixels a game pixel`);
            }
            if (bad.length) faults.push(`${name}: ${bad.slice(0, 3).join('; ')}`);
          }
        }
      }
    }
  }
  check(faults.length === 0 && phones > 1000, 'every screen: controls of 44 pixels and more, 8 apart, on the screen; the picture in half ' +
        'steps, as big as it fits, upright clear of the pad; phones at 2 device pixels a game pixel or more',
        `${faults.length} screens, e.g. ${faults.slice(0, 4).join(' | ')}`);
  const odd = [{}, { width: NaN, height: -5, dpr: 0 }, { width: 1e9, height: Infinity, dpr: 'x', insets: { top: -3, left: 1e6 } }]
    .map((v) => Phone.layout(v)).map((l) => JSON.stringify(l));
  check(odd.every((t) => !/null|NaN|Infinity/.test(t)), 'sizes from outside that make no sense give a layout of numbers', odd.join(' '));
}

const browser = await chromium.launch({
  executablePath: process.env.STIVRA_CHROMIUM || '/usr/bin/chromium',
  args: ['--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});
const errors = [];
const phone = async (width, height, dpr, lockstep = null) => {
  const context = await browser.newContext({ viewport: { width, height }, deviceScaleFactor: dpr, isMobile: true, hasTouch: true });
  if (lockstep) await context.addInitScript(lockstep);
  const page = await context.newPage();
  page.on('pageerror', (e) => errors.push(String(e)));
  const cdp = await context.newCDPSession(page);
  // Touch points by finger: [{ id, x, y }]; the protocol compares with the last event.
  const touch = (type, points) => cdp.send('Input.dispatchTouchEvent',
    { type, touchPoints: points.map((p) => ({ x: p.x, y: p.y, id: p.id, radiusX: 4, radiusY: 4 })) });
  return { context, page, touch };
};
const until = async (page, fn, arg, timeout = DEADLINE, polling = 50) => {
  try {
    await page.waitForFunction(fn, arg, { timeout, polling });
    return true;
  } catch (e) {
    return false;
  }
};
const mode = (page) => page.evaluate(() => Module._web_game_mode());
const centre = async (page, selector, dx = 0, dy = 0) => {
  const r = await page.locator(selector).boundingBox();
  return { x: r.x + r.width / 2 + dx * r.width / 2, y: r.y + r.height / 2 + dy * r.height / 2 };
};
// What the player sees: the controls one can touch, the picture, the stage and the page's size.
const measure = (page) => page.evaluate(() => {
  const box = (e) => { const r = e.getBoundingClientRect(); return { x: r.x, y: r.y, width: r.width, height: r.height }; };
  const shown = (e) => e.getClientRects().length > 0 && getComputedStyle(e).visibility !== 'hidden' && box(e).width > 0;
  const controls = [...document.querySelectorAll('#dpad, #touch-buttons [data-bits], #game-buttons > button, #page-buttons > button')]
    .filter(shown).map((e) => ({ name: e.id || `bits ${e.dataset.bits}`, ...box(e) }));
  return {
    controls, canvas: box(document.getElementById('game')), stage: box(document.getElementById('stage')),
    width: innerWidth, height: innerHeight, scroll: [document.documentElement.scrollWidth, scrollX, scrollY],
    folded: [...document.querySelectorAll('#page-buttons > button')].every((b) => !shown(b)), dpr: devicePixelRatio,
    full: document.fullscreenElement ? document.fullscreenElement.id : null,
    holds: ['touch-controls', 'dpad', 'pause', 'mute', 'full-screen']
      .every((id) => document.fullscreenElement && document.fullscreenElement.contains(document.getElementById(id))),
  };
});

try {
  // ---- each screen: the picture's size, thumb-sized controls, nothing scrolls ----
  const table = [];
  for (const [width, height, dpr] of [[360, 640, 2], [640, 360, 2], [390, 844, 3], [844, 390, 3], [412, 915, 2.625],
                                      [915, 412, 2.625], [768, 1024, 2], [1024, 768, 2]]) {
    const { context, page } = await phone(width, height, dpr);
    await page.goto(`${baseUrl}/?seed=4711`);
    await page.waitForFunction(() => StivraPage.running && StivraPage.frames > 2, null, { timeout: DEADLINE });
    const want = Phone.layout({ width, height, dpr });
    await until(page, (w) => Math.abs(document.getElementById('game').getBoundingClientRect().width - w) < 0.5, want.picture.width, 10000);
    const m = await measure(page);
    const name = `${width}x${height}`;
    const scale = Math.round((m.canvas.width * dpr * 100) / 320) / 100;
    table.push(`${name} @${dpr}: ${m.canvas.width.toFixed(1)}x${m.canvas.height.toFixed(1)} CSS px, ${scale} device px a game pixel`);
    const faults = control_faults(m.controls, m.width, m.height);
    check(faults.length === 0 && m.controls.length === 10, `${name}: ten controls, each 44x44 or more, none overlapping, on the screen`,
          faults.join('; ') || `${m.controls.length} controls`);
    check(Math.abs(scale - want.scale) < 0.01 && scale >= 2 && Math.abs(m.canvas.y - want.picture.y) < 1,
          `${name}: the picture at ${want.scale} device pixels a game pixel`, `${scale} at ${JSON.stringify(m.canvas)}`);
    check(m.scroll[0] <= m.width && m.stage.y + m.stage.height <= m.height + 0.5 && m.scroll[1] === 0,
          `${name}: nothing scrolls sideways, the stage fits the screen`, JSON.stringify([m.scroll, m.stage, m.height]));
    check(m.folded && await page.isVisible('#menu'), `${name}: the page's own buttons are folded into the menu`);
    await context.close();
  }
  console.log(`note: the picture per screen:\n  ${table.join('\n  ')}`);

  // ---- a phone, as a player holds it ----
  {
    const { context, page, touch } = await phone(390, 844, 3);
    const tap = async (at) => { await touch('touchStart', [{ id: 1, ...at }]); await touch('touchEnd', []); };
    await page.goto(`${baseUrl}/?seed=4711`);
    await page.waitForFunction(() => StivraPage.running && StivraPage.frames > 2, null, { timeout: DEADLINE });
    check(await page.isVisible('#full-screen-offer'), 'the title offers full screen');
    // Another phone system adds the page to its home screen by these: an opaque 180-pixel icon.
    const home = await page.evaluate(async () => {
      const b = new Uint8Array(await (await fetch(document.querySelector('link[rel=apple-touch-icon]').href)).arrayBuffer());
      const word = (o) => (b[o] << 24 | b[o + 1] << 16 | b[o + 2] << 8 | b[o + 3]) >>> 0;
      return [document.querySelector('meta[name=apple-mobile-web-app-capable]').content, word(16), word(20), b[25]];
    });
    check(JSON.stringify(home) === '["yes",180,180,6]', 'the page can be added to a home screen: its tag and a 180-pixel icon',
          JSON.stringify(home));
    await tap(await centre(page, '#game'));
    check(await until(page, (m) => Module._web_game_mode() === m, MODE_INTRO), 'a tap on the title starts the game');
    check(await until(page, () => document.fullscreenElement && document.fullscreenElement.id === 'stage', null, 10000) &&
          !await page.isVisible('#full-screen-offer'), 'the first touch of the title takes the whole stage full screen');
    const held = (m) => m.holds && ['dpad', 'pause', 'mute', 'full-screen'].every((id) => m.controls.some((c) => c.name === id));
    let m = await measure(page);
    check(m.full === 'stage' && held(m) && control_faults(m.controls, m.width, m.height).length === 0,
          'full screen holds the pad and the pause, sound and full screen buttons', JSON.stringify(m.controls.map((c) => c.name)));
    await page.setViewportSize({ width: 844, height: 390 });
    await until(page, () => StivraPhone.current.landscape && document.getElementById('play-area').classList.contains('landscape'), null, 10000);
    m = await measure(page);
    check(m.full === 'stage' && held(m) && control_faults(m.controls, m.width, m.height).length === 0 &&
          Math.abs(m.canvas.height - Phone.layout({ width: 844, height: 390, dpr: 3, full: true }).picture.height) < 0.5,
          'turned sideways in full screen: the picture the full height, the pad over its sides',
          control_faults(m.controls, m.width, m.height).join('; '));
    await tap(await centre(page, '#game'));
    await until(page, (m) => Module._web_game_mode() === m, MODE_PLAYING);

    // The cross by angle: a finger slides across sectors and off the pad,
    // and keeps a direction until it lifts; the middle is dead.
    const r = await page.locator('#dpad').boundingBox();
    const at = (angle, reach) => ({ id: 2, x: r.x + r.width / 2 + Math.cos(angle * Math.PI / 180) * reach * r.width / 2,
                                    y: r.y + r.height / 2 + Math.sin(angle * Math.PI / 180) * reach * r.width / 2 });
    const bits_are = (b) => until(page, (want) => StivraPage.touch.bits === want, b, 10000);
    const slide = [];
    await touch('touchStart', [at(0, 0.6)]);
    const { UP, DOWN, LEFT, RIGHT } = INPUT;
    slide.push(await bits_are(RIGHT));
    for (const [angle, reach, bits] of [[20, 0.9, RIGHT], [30, 0.9, RIGHT | DOWN], [90, 0.5, DOWN], [135, 0.9, DOWN | LEFT],
                                        [-45, 2.2, RIGHT | UP], [-100, 1.5, UP], [180, 0.7, LEFT]]) {
      await touch('touchMove', [at(angle, reach)]);
      slide.push(await bits_are(bits));
    }
    await touch('touchMove', [at(45, Phone.DEAD_ZONE * 0.8)]);
    slide.push(await bits_are(0));
    await touch('touchEnd', []);
    check(slide.every(Boolean), 'a slide across the pad: eight sectors of 45 degrees, off the pad too, a dead middle',
          JSON.stringify(slide));

    // ESC: a short tap keeps playing, a held one gives up.
    const esc = await centre(page, '#touch-buttons [data-input="BACK"]');
    let short_ok = null;
    for (let i = 0; i < 3 && short_ok === null; ++i) {
      await until(page, () => !StivraPhone.escArmed(), null, 10000);
      const before = await page.evaluate(() => StivraPage.frames);
      await tap(esc);
      await until(page, (f) => StivraPage.frames > f + 10, before, 10000);
      // A machine too busy to lift the finger within half a second has held it.
      if (await page.evaluate((ms) => StivraPhone.escLastMs < ms, Phone.HOLD_MS)) short_ok = await mode(page) === MODE_PLAYING;
    }
    check(short_ok === true, 'a short tap on ESC does not leave play');
    await until(page, () => !StivraPhone.escArmed(), null, 10000);
    await touch('touchStart', [{ id: 3, ...esc }]);
    const left = await until(page, (m) => Module._web_game_mode() === m, MODE_TITLE, 10000);
    const ring = await page.evaluate(() => getComputedStyle(document.querySelector('#touch-buttons [data-input="BACK"]')).getPropertyValue('--hold'));
    await touch('touchEnd', []);
    check(left && Number(ring) === 1, 'ESC held for half a second goes back to the title, its ring full', ring);
    await until(page, () => StivraPage.touch.bits === 0, null, 10000);

    // The menu: every button of the page's row, the ones to come too.
    await page.evaluate(() => {
      const b = document.createElement('button');
      b.id = 'test-later';
      b.textContent = 'Später';
      document.getElementById('page-buttons').appendChild(b);
    });
    const folded = (await measure(page)).folded;
    await tap(await centre(page, '#menu'));
    await until(page, () => document.getElementById('page-buttons').classList.contains('open'), null, 10000);
    m = await measure(page);
    // The menu lies over the pad while it is open; its buttons and the menu button must be clear of each other.
    const menu = m.controls.filter((c) => ['screenshot', 'save-run', 'share-run', 'test-later', 'menu'].includes(c.name));
    const menu_faults = control_faults(menu, m.width, m.height);
    check(folded && menu.length === 5 && menu_faults.length === 0,
          'the menu opens with every button of the page\'s row, a later one too, thumb-sized, apart, on the screen',
          JSON.stringify(menu) + menu_faults.join('; '));
    await tap(await centre(page, '#test-later'));
    check(await until(page, () => !document.getElementById('page-buttons').classList.contains('open'), null, 10000),
          'a button of the menu closes it');
    await context.close();
  }

  // ---- a whole won game with touch alone, in lockstep ----
  {
    const text = readFileSync(wonPath, 'latin1');
    const seed = /^seed (\d+)$/m.exec(text)[1];
    const end = /^# end: (\d+) passes, (\d+) ticks, hash ([0-9a-f]{16})/m.exec(text);
    const lines = [...text.matchAll(/^(\d+) (\d+)( \d+)?$/gm)].map((l) => ({ count: Number(l[1]), bits: Number(l[2]), ticks: Number(l[3] || 1) }));
    check(end && lines.every((l) => l.ticks === 1), 'the won record runs one Tick a pass');
    // The page's clock and animation frames are the test's: pump() runs one
    // frame, advance(n) n passes of one Tick each.
    const { context, page, touch } = await phone(390, 844, 3, () => {
      let now = 1000;
      const frames = [];
      performance.now = () => now;
      window.requestAnimationFrame = (f) => frames.push(f);
      window.cancelAnimationFrame = () => {};
      window.vibrations = [];
      Object.defineProperty(navigator, 'vibrate', { value: (ms) => { window.vibrations.push([ms, Module._web_total_ticks()]); return true; } });
      window.lockstep = {
        pump: () => { for (const f of frames.splice(0)) f(now); },
        advance: (n) => {
          for (let i = 0; i < n; ++i) {
            const t = Module._web_total_ticks();
            now = 1000 + Math.floor((t * 1000) / 30);
            for (let k = 0; k < 5 && Module._web_total_ticks() === t; ++k) window.lockstep.pump();
            if (Module._web_total_ticks() !== t + 1) return `Tick ${t} did not run`;
          }
          return '';
        },
      };
    });
    await page.goto(`${baseUrl}/?seed=${seed}`);
    await page.waitForFunction(() => StivraPage.running, null, { timeout: DEADLINE, polling: 100 });
    // Where each finger goes for a bit of the record: the cross at the
    // direction's angle, a button, ENTER as a tap on the picture on the
    // screens that take one.
    let places = {};
    const learn = async () => {
      places = {};
      for (const name of ['ACTION', 'RUN', 'CONFIRM', 'BACK', 'PHONE'])
        places[INPUT[name]] = await centre(page, `#touch-buttons [data-input="${name}"]`);
      places.picture = await centre(page, '#game');
      places.dpad = await page.locator('#dpad').boundingBox();
    };
    const { UP, DOWN, LEFT, RIGHT, ACTION, RUN, CONFIRM, BACK, PHONE } = INPUT;
    const ANGLES = { [RIGHT]: 0, [RIGHT | DOWN]: 45, [DOWN]: 90, [DOWN | LEFT]: 135, [LEFT]: 180, [LEFT | UP]: 225, [UP]: 270,
                     [UP | RIGHT]: 315 };
    const PICTURE_CONFIRMS = [MODE.TITLE, MODE.INTRO, MODE.CAUGHT_ANIMATION, MODE.CAUGHT, MODE.ESCAPED];
    let fingers = new Map();  // role -> point
    const press = async (bits) => {
      const want = new Map();
      const dir = bits & (UP | DOWN | LEFT | RIGHT);
      if (dir) {
        const d = places.dpad, a = (ANGLES[dir] * Math.PI) / 180;
        want.set('cross', { id: 1, x: d.x + d.width / 2 + Math.cos(a) * d.width * 0.3, y: d.y + d.height / 2 + Math.sin(a) * d.height * 0.3 });
      }
      for (const [bit, id] of [[ACTION, 2], [RUN, 3], [PHONE, 4]]) if (bits & bit) want.set(bit, { id, ...places[bit] });
      if (bits & CONFIRM) {
        const on_picture = fingers.has('picture') || (!fingers.has(CONFIRM) && PICTURE_CONFIRMS.includes(await mode(page)));
        want.set(on_picture ? 'picture' : CONFIRM, { id: 5, ...(on_picture ? places.picture : places[CONFIRM]) });
      }
      // touchEnd lifts the fingers it lists, touchStart adds the new ones it lists.
      const lifted = [...fingers].filter(([role]) => !want.has(role)).map(([, p]) => p);
      if (lifted.length) await touch('touchEnd', lifted);
      const kept = [...fingers].filter(([role]) => want.has(role)).map(([, p]) => p);
      // ESC gives BACK on its second tap, held as long as the record holds it.
      if (bits & BACK && !fingers.has(BACK)) {
        await touch('touchStart', [...kept, { id: 6, ...places[BACK] }]);
        await touch('touchEnd', [{ id: 6, ...places[BACK] }]);
      }
      if (bits & BACK) want.set(BACK, { id: 6, ...places[BACK] });
      const moved = [...want].filter(([role, p]) => fingers.has(role) && (fingers.get(role).x !== p.x || fingers.get(role).y !== p.y));
      if (moved.length) await touch('touchMove', [...want].filter(([role]) => fingers.has(role)).map(([, p]) => p));
      if ([...want.keys()].some((role) => !fingers.has(role))) await touch('touchStart', [...want.values()]);
      fingers = want;
      // A finger's move reaches the page with its next frame: until the pad holds the bits.
      await until(page, (b) => StivraPage.touch.bits === b, bits, 10000, 5);
    };
    // The layout changes when full screen comes and when the phone turns:
    // the fingers go where the controls are now.
    const settled = async () => {
      const key = await page.evaluate(() => StivraPhone.seen + StivraPhone.isFullScreen());
      if (key !== places.key) {
        await learn();
        places.key = key;
      }
    };
    const began = Date.now();
    let fault = '', pass = 0, muted_at = -1, catches_at_mute = 0, turned = false;
    const turn_at = Math.floor(end[1] / 4), mute_at = Math.floor((end[1] * 3) / 5);
    for (const l of lines) {
      if (fault) break;
      await settled();
      await press(l.bits);
      // The README's pictures: the pad as the fingers hold it, upright and sideways.
      for (const [at, name] of [[0.1, 'phone_portrait.png'], [0.56, 'phone_landscape.png']])
        if (pass < at * end[1] && pass + l.count >= at * end[1]) await page.screenshot({ path: join(outDir, name), scale: 'css' });
      // Sideways after a quarter and the sound off after three fifths, where no finger is down.
      if (l.bits === 0 && pass >= turn_at && !turned) {
        await page.setViewportSize({ width: 844, height: 390 });
        turned = await until(page, () => StivraPhone.current.landscape, null, 10000);
        await settled();
      }
      if (l.bits === 0 && pass >= mute_at && muted_at < 0) {
        const at = await centre(page, '#mute');
        await touch('touchStart', [{ id: 7, ...at }]);
        await touch('touchEnd', []);
        await until(page, () => StivraPage.muted, null, 10000);
        muted_at = await page.evaluate(() => (StivraPage.muted ? Module._web_total_ticks() : 0));
        catches_at_mute = await page.evaluate(() => Module._web_catch_count());
      }
      fault = await page.evaluate((n) => window.lockstep.advance(n), l.count);
      if (Math.floor((pass + l.count) / 1000) > Math.floor(pass / 1000)) console.log(`note: pass ${pass + l.count} after ${((Date.now() - began) / 1000).toFixed(0)} s`);
      pass += l.count;
    }
    await press(0);
    const result = await page.evaluate(() => ({
      mode: Module._web_game_mode(), record: StivraPage.recordText(), vibrations: window.vibrations,
      full: document.fullscreenElement && document.fullscreenElement.id, landscape: StivraPhone.current.landscape,
    }));
    const page_end = /^# end: (\d+) passes, (\d+) ticks, hash ([0-9a-f]{16})/m.exec(result.record || '');
    writeFileSync(join(outDir, 'phone_touch_game.txt'), result.record || '');
    check(fault === '' && result.mode === MODE_ESCAPED && page_end && page_end[3] === end[3] && page_end[1] === end[1],
          `a whole won game played with touch alone ends escaped, on the record's hash ${end[3]}`,
          `${fault} mode ${result.mode}, ${page_end && page_end[0]}`);
    check(result.full === 'stage' && result.landscape && muted_at > 0, 'it was played in full screen, upright, then sideways',
          `full screen ${result.full}, sideways ${result.landscape}, muted at Tick ${muted_at}`);
    const before = result.vibrations.filter(([, tick]) => tick <= muted_at);
    check(before.length === result.vibrations.length && before.some(([ms]) => ms < 100) &&
          before.filter(([ms]) => ms >= 100).length === catches_at_mute,
          'a short vibration for each item and each catch, none once the sound is off', JSON.stringify(result.vibrations));
    await context.close();
  }
} catch (e) {
  check(false, 'the phone test ran to its end', String(e && e.stack || e));
} finally {
  await browser.close();
}

check(errors.length === 0, 'no script errors in the page', errors.join('; '));
console.log(`phone: ${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);

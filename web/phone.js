// The page on a touch screen: the on-screen pad, a layout that gives the
// picture as many device pixels as the screen allows with the pad beneath it
// (upright) or over its sides (sideways), full screen with the pad in it, the
// menu that the page's own buttons fold into, the tap on the picture, and a
// short vibration when Herr Mürzel catches the player or an item is taken.
// page.js hands a touch screen to this file; on a desktop none of it runs.
//
// layout() is arithmetic on the screen's size alone, so that the tests can
// check it for any screen without a browser (phone_test.mjs loads this file
// in Node.js).
'use strict';

var StivraPhone = (function () {
  // The game's picture. Its buttons (InputBits) and screens (the game modes)
  // are named here; their numbers are the page's (page_constants.js, which
  // the build writes from the game), handed over by init().
  const GAME_W = 320, GAME_H = 200;
  // The screens on which a tap on the picture is ENTER, as on their texts.
  const PICTURE_CONFIRMS = ['TITLE', 'INTRO', 'CAUGHT_ANIMATION', 'CAUGHT', 'ESCAPED'];
  // The HUD's bands at the top and the bottom of the picture, in game
  // pixels: sideways the pad keeps off them where the screen has the room.
  const HUD_TOP = 24, HUD_BOTTOM = 15;

  // CSS pixels.
  const MIN_CONTROL = 44;  // the least a thumb hits reliably
  const EDGE = 8;          // from the screen's edges
  const SPACE = 8;         // the least room between two controls
  const ROW_UPRIGHT = 48, ROW_SIDEWAYS = 44;  // pause, sound, full screen, menu
  const GAME_BUTTON_W = 60;                   // sideways; upright they share the row
  const MENU_W = 240;

  // The cross: eight sectors of 45 degrees around its centre (from the
  // right, clockwise on the screen), nothing in the middle.
  const SECTORS = [['RIGHT'], ['RIGHT', 'DOWN'], ['DOWN'], ['DOWN', 'LEFT'], ['LEFT'], ['LEFT', 'UP'], ['UP'], ['UP', 'RIGHT']];
  const DEAD_ZONE = 0.15;  // of the radius
  // ESC leaves the game: it gives BACK only held this long, or tapped again
  // this soon after a tap.
  const HOLD_MS = 500;
  const DOUBLE_TAP_MS = 600;
  const VIBRATE_CATCH_MS = 120, VIBRATE_ITEM_MS = 35;

  // A number from outside (a window size, a pixel ratio) as a sane value.
  function sane(value, fallback, low, high) {
    const n = Number(value);
    return Number.isFinite(n) ? Math.min(high, Math.max(low, n)) : fallback;
  }

  // Device pixels per game pixel for a picture that fits width x height CSS
  // pixels: whole or half steps; below one device pixel a game pixel, a
  // share of one still fills the room.
  function pictureScale(width, height, dpr) {
    const fit = Math.min((width * dpr) / GAME_W, (height * dpr) / GAME_H);
    if (!(fit > 0)) return 0.25;
    const half = Math.floor(fit * 2 + 1e-9) / 2;
    return half >= 1 ? half : Math.max(0.25, fit);
  }

  // The picture at that scale, its left and top on whole device pixels.
  function placePicture(left, top, width, height, scale, dpr, upright) {
    const w = (GAME_W * scale) / dpr, h = (GAME_H * scale) / dpr;
    const x = left + (width - w) / 2, y = upright ? top : top + (height - h) / 2;
    return { x: Math.round(x * dpr) / dpr, y: Math.round(y * dpr) / dpr, width: w, height: h };
  }

  // The sizes of the pad for a button side of u: the cross three buttons
  // across, the buttons two columns by three rows, ESC alone in the top row
  // with twice the room below it.
  function padSizes(u) {
    const gap = Math.max(SPACE, Math.round(u / 5));
    return { button: u, gap, dpad: 3 * u, clusterW: 2 * u + gap, clusterH: 3 * u + 3 * gap };
  }

  // The buttons at (x, y):   .      ESC
  //                          ENTER  Q
  //                          SHIFT  E
  // E, the one used most, under the thumb's resting place; ESC apart from
  // ENTER, which is pressed on the same screens.
  function cluster(x, y, s) {
    const b = s.button, g = s.gap;
    const at = (col, row) => ({ x: x + col * (b + g), y: y + row * (b + g) + (row > 0 ? g : 0), width: b, height: b });
    return { BACK: at(1, 0), CONFIRM: at(0, 1), PHONE: at(1, 1), RUN: at(0, 2), ACTION: at(1, 2) };
  }

  const rect = (x, y, width, height) => ({ x, y, width, height });

  // Upright: the picture across the top, the row of the game's buttons under
  // it, the pad beneath; in full screen the row and the pad at the bottom,
  // where the thumbs are.
  function upright(W, H, dpr, inset, full) {
    const innerW = W - inset.left - inset.right, innerH = H - inset.top - inset.bottom;
    // The largest pad that fits across and leaves the picture the full
    // width; where the screen is too short for that, the smallest.
    const below = (t) => EDGE + ROW_UPRIGHT + EDGE + Math.max(t.dpad, t.clusterH) + EDGE;
    const widest = pictureScale(innerW, Infinity, dpr);
    let s = padSizes(MIN_CONTROL);
    for (let u = 64; u > MIN_CONTROL; --u) {
      const t = padSizes(u);
      if (EDGE + t.dpad + 2 * t.gap + t.clusterW + EDGE <= innerW && pictureScale(innerW, innerH - below(t), dpr) >= widest) {
        s = t;
        break;
      }
    }
    const padH = Math.max(s.dpad, s.clusterH);
    const scale = pictureScale(innerW, innerH - below(s), dpr);
    const picture = placePicture(inset.left, inset.top, innerW, 0, scale, dpr, true);
    let rowY = Math.ceil(picture.y + picture.height + EDGE);
    if (full) rowY = Math.max(rowY, Math.floor(H - inset.bottom - EDGE - padH - EDGE - ROW_UPRIGHT));
    const padY = rowY + ROW_UPRIGHT + EDGE;
    const rowW = Math.min(4 * 96 + 3 * 12, innerW - 2 * EDGE);
    const bw = Math.floor((rowW - 3 * 12) / 4);
    const rowX = Math.round(inset.left + (innerW - (4 * bw + 3 * 12)) / 2);
    const game = {};
    ['pause', 'mute', 'full-screen', 'menu'].forEach((id, i) => { game[id] = rect(rowX + i * (bw + 12), rowY, bw, ROW_UPRIGHT); });
    const bottom = padY + padH;
    return {
      landscape: false, scale, width: W, height: full ? H : Math.min(H, bottom + EDGE + inset.bottom),
      picture, game,
      dpad: rect(inset.left + EDGE, bottom - s.dpad, s.dpad, s.dpad),
      buttons: cluster(W - inset.right - EDGE - s.clusterW, bottom - s.clusterH, s),
    };
  }

  // Sideways: the picture the full height, the cross over its left side and
  // the buttons over its right, pause and sound above the cross, full screen
  // and the menu above the buttons. Beside the picture where the screen has
  // the room; over it otherwise, kept off the HUD's bands where that fits.
  function sideways(W, H, dpr, inset) {
    const innerW = W - inset.left - inset.right, innerH = H - inset.top - inset.bottom;
    const scale = pictureScale(innerW, innerH, dpr);
    const picture = placePicture(inset.left, inset.top, innerW, innerH, scale, dpr, false);
    const k = scale / dpr;  // CSS pixels per game pixel
    const strip = picture.x - inset.left - EDGE - SPACE;  // room beside the picture, each side
    const pairW = 2 * GAME_BUTTON_W + SPACE;
    const screenTop = inset.top + EDGE, screenBottom = H - inset.bottom - EDGE;
    const hudTop = Math.ceil(picture.y + HUD_TOP * k + SPACE);
    const hudBottom = Math.floor(picture.y + picture.height - HUD_BOTTOM * k - SPACE);
    // The pad with buttons of side u; null when it does not fit, unless forced.
    const attempt = (u, avoidTop, avoidBottom, force) => {
      const s = padSizes(u);
      const pairBeside = strip >= pairW || picture.y - screenTop >= ROW_SIDEWAYS + SPACE;
      const pairY = pairBeside || !avoidTop ? screenTop : Math.max(screenTop, hudTop);
      const lowest = (w) => (strip >= w || !avoidBottom ? screenBottom : Math.min(screenBottom, hudBottom));
      const dpadY = lowest(s.dpad) - s.dpad, clusterY = lowest(s.clusterW) - s.clusterH;
      const left = inset.left + EDGE, right = W - inset.right - EDGE;
      const fits = pairY + ROW_SIDEWAYS + 2 * SPACE <= Math.min(dpadY, clusterY) &&
        left + Math.max(s.dpad, pairW) + 2 * SPACE <= right - Math.max(s.clusterW, pairW);
      if (!fits && !force) return null;
      return {
        landscape: true, scale, width: W, height: H, picture,
        game: {
          pause: rect(left, pairY, GAME_BUTTON_W, ROW_SIDEWAYS),
          mute: rect(left + GAME_BUTTON_W + SPACE, pairY, GAME_BUTTON_W, ROW_SIDEWAYS),
          'full-screen': rect(right - pairW, pairY, GAME_BUTTON_W, ROW_SIDEWAYS),
          menu: rect(right - GAME_BUTTON_W, pairY, GAME_BUTTON_W, ROW_SIDEWAYS),
        },
        dpad: rect(left, dpadY, s.dpad, s.dpad),
        buttons: cluster(right - s.clusterW, clusterY, s),
      };
    };
    for (const [avoidTop, avoidBottom] of [[true, true], [true, false], [false, false]]) {
      for (let u = 64; u >= MIN_CONTROL; --u) {
        const l = attempt(u, avoidTop, avoidBottom, false);
        if (l) return l;
      }
    }
    // A screen too small for the pad: the smallest, over everything.
    return attempt(MIN_CONTROL, false, false, true);
  }

  // Where everything goes on a screen of width x height CSS pixels
  // ({ width, height, dpr, insets: { top, right, bottom, left }, full }):
  // { landscape, scale (device pixels per game pixel), width, height (of the
  // stage), picture, dpad, buttons (by InputBits), game (by element id) },
  // rectangles as { x, y, width, height } in CSS pixels.
  function layout(view) {
    const v = view || {};
    const W = sane(v.width, 320, 100, 10000), H = sane(v.height, 568, 100, 10000);
    const dpr = sane(v.dpr, 1, 0.25, 8);
    const given = v.insets || {};
    const inset = {
      top: sane(given.top, 0, 0, H / 4), bottom: sane(given.bottom, 0, 0, H / 4),
      left: sane(given.left, 0, 0, W / 4), right: sane(given.right, 0, 0, W / 4),
    };
    return W > H ? sideways(W, H, dpr, inset) : upright(W, H, dpr, inset, !!v.full);
  }

  const byId = (id) => document.getElementById(id);

  return {
    layout,
    pictureScale,
    DEAD_ZONE,
    HOLD_MS,
    DOUBLE_TAP_MS,

    page: null,
    stage: null,
    current: null,      // the layout in force
    escArmedUntil: 0,   // a first tap on ESC waits for its second until then
    escFrame: 0,
    escLastMs: -1,      // how long the last press of ESC lasted (the test reads it)
    offerSpent: false,  // full screen is offered on the first touch of the title only
    menuOpen: false,
    felt: null,         // catches and items taken at the last frame
    seen: '',           // the window the layout was made for

    // Whether this is a touch screen; if so, the pad, the layout and the
    // menu take over from the desktop page.
    init(page, { MODE, INPUT }) {
      this.page = page;
      this.MODE = MODE;
      this.INPUT = INPUT;
      this.sectorBits = SECTORS.map((names) => names.reduce((bits, name) => bits | INPUT[name], 0));
      const coarse = !!(window.matchMedia && window.matchMedia('(pointer: coarse)').matches);
      const shown = (navigator.maxTouchPoints || 0) > 0 || coarse;
      page.touch.shown = shown;
      byId('touch-controls').hidden = !shown;
      document.body.classList.toggle('touch', shown);
      for (const e of document.querySelectorAll('.touch-only')) e.hidden = !shown;
      if (!shown) return false;
      this.stage = byId('stage');
      byId('menu').hidden = false;
      this.initPad();
      this.initPicture();
      this.initMenu();
      // The safe area (a notch, rounded corners) as the browser gives it in CSS.
      this.probe = document.createElement('div');
      this.probe.setAttribute('aria-hidden', 'true');
      this.probe.style.cssText = 'position:fixed;left:0;top:0;visibility:hidden;pointer-events:none;' +
        'padding:env(safe-area-inset-top,0px) env(safe-area-inset-right,0px) env(safe-area-inset-bottom,0px) env(safe-area-inset-left,0px)';
      document.body.appendChild(this.probe);
      window.addEventListener('orientationchange', () => page.fitBox());
      if (window.visualViewport) window.visualViewport.addEventListener('resize', () => page.fitBox());
      return true;
    },

    // ---- layout ----

    insets() {
      const s = getComputedStyle(this.probe);
      return { top: parseFloat(s.paddingTop), right: parseFloat(s.paddingRight),
               bottom: parseFloat(s.paddingBottom), left: parseFloat(s.paddingLeft) };
    },

    isFullScreen() {
      return !!(document.fullscreenElement || document.webkitFullscreenElement);
    },

    // Started from the home screen as an app: the screen is the game's.
    installed() {
      const mode = (m) => !!(window.matchMedia && window.matchMedia(`(display-mode: ${m})`).matches);
      return mode('fullscreen') || mode('standalone') || navigator.standalone === true;
    },

    canFullScreen() {
      return !!(document.fullscreenEnabled || document.webkitFullscreenEnabled);
    },

    // What the layout depends on, as one string.
    viewKey() {
      return [document.documentElement.clientWidth, window.innerWidth, window.innerHeight,
              window.devicePixelRatio, this.isFullScreen()].join();
    },

    // Lays the stage out for the window. Placing it may change the window
    // itself (a mobile browser sizes its viewport to what the page held
    // before), so it is laid out again until the window stands still.
    fit() {
      for (let tries = 0; tries < 3; ++tries) {
        const key = this.viewKey();
        this.apply(layout({
          width: document.documentElement.clientWidth || window.innerWidth,
          height: window.innerHeight,
          dpr: window.devicePixelRatio,
          insets: this.insets(),
          full: this.isFullScreen() || this.installed(),
        }));
        this.seen = key;
        if (this.viewKey() === key) break;
      }
    },

    apply(l) {
      const place = (e, r) => {
        if (!e) return;
        e.style.left = r.x + 'px';
        e.style.top = r.y + 'px';
        e.style.width = r.width + 'px';
        e.style.height = r.height + 'px';
      };
      this.stage.style.width = l.width + 'px';
      this.stage.style.height = l.height + 'px';
      place(this.page.box, l.picture);
      // The offer of full screen as high as the line of keyboard keys it covers.
      const offer = byId('full-screen-offer');
      if (offer) offer.style.fontSize = Math.max(9, Math.min(15, (6 * l.scale) / window.devicePixelRatio)) + 'px';
      place(byId('dpad'), l.dpad);
      for (const name of Object.keys(l.buttons)) place(document.querySelector(`#touch-buttons [data-input="${name}"]`), l.buttons[name]);
      for (const id of Object.keys(l.game)) place(byId(id), l.game[id]);
      byId('play-area').classList.toggle('landscape', l.landscape);
      this.stage.classList.toggle('landscape', l.landscape);
      this.current = l;
      if (this.menuOpen) this.placeMenu();
    },

    // ---- the pad ----

    // Each finger holds the bits of what it touches, by pointer id: a
    // button its data-bits, the cross the sector it points to from the
    // cross's centre, the picture ENTER. A finger keeps what it holds when
    // it slides off its control (the cross follows it to another sector),
    // until it lifts. Several fingers hold the union (run while walking).
    initPad() {
      const page = this.page;
      const held = page.touch.held;
      const pad = byId('touch-controls');
      const dpad = byId('dpad');
      this.esc = pad.querySelector('[data-input="BACK"]');
      pad.addEventListener('pointerdown', (e) => {
        const control = e.target.closest && e.target.closest('#dpad, [data-bits]');
        if (!control || !pad.contains(control)) return;
        e.preventDefault();
        const onCross = dpad.contains(control);
        const el = onCross ? dpad : control;
        this.capture(el, e.pointerId);
        let entry;
        if (onCross) entry = { kind: 'cross', bits: this.crossBits(e) };
        else if (control.dataset.input === 'BACK') entry = this.escDown();
        else entry = { kind: 'button', bits: Number(control.dataset.bits) };
        entry.el = el;
        held.set(e.pointerId, entry);
        page.startAudio();
        this.update();
      });
      pad.addEventListener('pointermove', (e) => {
        const h = held.get(e.pointerId);
        if (!h || h.kind !== 'cross') return;
        const bits = this.crossBits(e);
        if (bits !== h.bits) {
          h.bits = bits;
          this.update();
        }
      });
      // Wherever the finger lifts: without capture it may lift off the stage.
      for (const type of ['pointerup', 'pointercancel', 'lostpointercapture'])
        window.addEventListener(type, (e) => this.release(e), true);
      for (const target of [pad, page.box]) target.addEventListener('contextmenu', (e) => e.preventDefault());
    },

    capture(element, pointerId) {
      try {
        element.setPointerCapture(pointerId);
      } catch (err) {
        // The finger is followed without capture.
      }
    },

    crossBits(e) {
      const r = byId('dpad').getBoundingClientRect();
      const dx = e.clientX - (r.left + r.width / 2);
      const dy = e.clientY - (r.top + r.height / 2);
      if (!(Math.hypot(dx, dy) >= (Math.min(r.width, r.height) / 2) * DEAD_ZONE)) return 0;
      const sector = Math.round(Math.atan2(dy, dx) / (Math.PI / 4));
      return this.sectorBits[(sector + 8) % 8];
    },

    release(e) {
      const held = this.page.touch.held;
      const h = held.get(e.pointerId);
      // Capture moving from the element first touched to the control is no lift.
      if (!h || (e.type === 'lostpointercapture' && e.target !== h.el)) return;
      held.delete(e.pointerId);
      if (h.kind === 'esc') this.escUp(h, e.type === 'pointerup');
      if (h.kind === 'picture' && e.type === 'pointerup' && h.offer && !this.isFullScreen()) this.page.toggleFullScreen();
      this.update();
    },

    // Forgets every finger (the page lost the focus).
    releaseAll() {
      this.page.touch.held.clear();
      if (this.esc) this.esc.style.setProperty('--hold', '0');
      this.update();
    },

    update() {
      let bits = 0;
      for (const h of this.page.touch.held.values()) bits |= h.bits;
      for (const b of byId('touch-controls').querySelectorAll('[data-bits]'))
        b.classList.toggle('held', (bits & Number(b.dataset.bits)) !== 0);
      this.page.setTouchBits(bits);
    },

    // ---- ESC: held for half a second, or tapped twice ----

    escDown() {
      const now = performance.now();
      if (now < this.escArmedUntil) {
        this.escArmedUntil = 0;
        return { kind: 'esc', bits: this.INPUT.BACK, since: now };
      }
      this.watchEscHold();
      return { kind: 'esc', bits: 0, since: now };
    },

    // While ESC is held its ring fills; full, it gives BACK.
    watchEscHold() {
      if (this.escFrame) return;
      const step = () => {
        this.escFrame = 0;
        let fill = 0, waiting = false, given = false;
        for (const h of this.page.touch.held.values()) {
          if (h.kind !== 'esc') continue;
          if (h.bits === 0 && performance.now() - h.since >= HOLD_MS) {
            h.bits = this.INPUT.BACK;
            given = true;
          }
          if (h.bits === 0) waiting = true;
          fill = Math.max(fill, h.bits ? 1 : (performance.now() - h.since) / HOLD_MS);
        }
        this.esc.style.setProperty('--hold', String(Math.min(1, fill)));
        if (given) this.update();
        if (waiting) this.escFrame = requestAnimationFrame(step);
      };
      this.escFrame = requestAnimationFrame(step);
    },

    escUp(h, lifted) {
      this.escLastMs = performance.now() - h.since;
      // A short tap waits for its second one.
      if (lifted && h.bits === 0) this.escArmedUntil = performance.now() + DOUBLE_TAP_MS;
      let still = false;
      for (const other of this.page.touch.held.values()) still = still || other.kind === 'esc';
      if (!still) this.esc.style.setProperty('--hold', '0');
      this.showEscArmed();
    },

    escArmed() {
      return performance.now() < this.escArmedUntil;
    },

    showEscArmed() {
      const armed = this.escArmed();
      if (this.esc && this.esc.classList.contains('armed') !== armed) this.esc.classList.toggle('armed', armed);
    },

    // ---- the picture: ENTER on the title, the intro and the end screens ----

    initPicture() {
      const page = this.page;
      page.box.addEventListener('pointerdown', (e) => {
        // Signs and buttons laid over the picture answer for themselves.
        if (e.target !== page.box && e.target !== page.canvas) return;
        const mode = this.mode();
        if (!page.running || !PICTURE_CONFIRMS.some((name) => this.MODE[name] === mode)) return;
        e.preventDefault();
        this.capture(page.box, e.pointerId);
        // The tap that starts the game from the title takes up the offer of full screen when it lifts.
        const offer = mode === this.MODE.TITLE && this.offerLive();
        if (mode === this.MODE.TITLE) this.offerSpent = true;
        page.touch.held.set(e.pointerId, { kind: 'picture', bits: this.INPUT.CONFIRM, offer, el: page.box });
        page.startAudio();
        this.update();
      });
    },

    mode() {
      const p = this.page;
      return (p.running || p.finished) && Module._web_game_mode ? Module._web_game_mode() : -1;
    },

    // The first touch of the title offers full screen: the tap that starts
    // the game takes the player there (the browser allows it only when the
    // finger lifts). Only once: a player who leaves full screen, or starts
    // with the pad's ENTER, is not asked again.
    offerLive() {
      return !this.offerSpent && this.canFullScreen() && !this.isFullScreen() && !this.installed();
    },

    // ---- every frame the game shows ----

    frame() {
      // A turn of the phone, or a browser's bar coming or going, that sent
      // no resize event (a mobile browser fixes its viewport late).
      if (this.viewKey() !== this.seen) this.page.fitBox();
      const mode = this.mode();
      if (mode > this.MODE.TITLE) this.offerSpent = true;
      const offer = byId('full-screen-offer');
      const show = mode === this.MODE.TITLE && this.page.running && this.offerLive();
      if (offer && offer.hidden === show) offer.hidden = !show;
      this.showEscArmed();
      this.feel();
    },

    // A short vibration when Herr Mürzel catches the player and when an item
    // is taken, where the browser offers one; none while the sound is off,
    // and none while a recorded run replays.
    feel() {
      if (!Module._web_catch_count || !Module._web_items_taken) return;
      const now = { catches: Module._web_catch_count(), items: Module._web_items_taken() };
      const last = this.felt;
      this.felt = now;
      const p = this.page;
      if (!last || p.muted || typeof navigator.vibrate !== 'function' || (p.replay && p.replay.state === 'playing')) return;
      const ms = now.catches > last.catches ? VIBRATE_CATCH_MS : now.items > last.items ? VIBRATE_ITEM_MS : 0;
      if (ms === 0) return;
      try {
        navigator.vibrate(ms);
      } catch (e) {
        // No vibration here.
      }
    },

    // ---- the menu of the page's own buttons ----

    // On a touch screen the page's own buttons (whatever the row holds) fold
    // into one menu button beside pause, sound and full screen; the menu
    // opens over the game and closes with any of its buttons or a touch
    // elsewhere.
    initMenu() {
      const menu = byId('menu');
      const panel = byId('page-buttons');
      this.page.button('menu', () => this.setMenu(!this.menuOpen));
      panel.addEventListener('click', (e) => {
        if (e.target.closest && e.target.closest('button')) this.setMenu(false);
      });
      document.addEventListener('pointerdown', (e) => {
        if (this.menuOpen && !panel.contains(e.target) && !menu.contains(e.target)) this.setMenu(false);
      }, true);
    },

    setMenu(open) {
      this.menuOpen = open;
      byId('page-buttons').classList.toggle('open', open);
      byId('menu').setAttribute('aria-expanded', String(open));
      if (open) this.placeMenu();
    },

    // Under the menu button where it fits, otherwise above it; its right
    // edge at the button's.
    placeMenu() {
      const panel = byId('page-buttons');
      const stage = this.stage.getBoundingClientRect();
      const button = byId('menu').getBoundingClientRect();
      // One column where it fits above or below the button, otherwise two
      // (a phone held sideways has room for few rows).
      const room = Math.max(stage.bottom - button.bottom - SPACE, button.top - stage.top - SPACE) - EDGE;
      let width = Math.min(MENU_W, stage.width - 2 * EDGE);
      panel.style.display = '';
      panel.style.gridTemplateColumns = '';
      panel.style.width = width + 'px';
      if (panel.offsetHeight > room) {
        width = Math.min(2 * MENU_W, stage.width - 2 * EDGE);
        panel.style.display = 'grid';
        panel.style.gridTemplateColumns = '1fr 1fr';
        panel.style.width = width + 'px';
      }
      const height = panel.offsetHeight;
      const left = Math.max(EDGE, Math.min(button.right - stage.left, stage.width - EDGE) - width);
      const below = button.bottom - stage.top + SPACE;
      const top = below + height <= stage.height - EDGE || button.top - stage.top < height + SPACE
        ? below : button.top - stage.top - SPACE - height;
      panel.style.left = left + 'px';
      panel.style.top = Math.max(EDGE, top) + 'px';
    },
  };
})();

if (typeof module === 'object' && module.exports) module.exports = StivraPhone;

// The pads: a gamepad read as joystick 0 (axes 0..65535 and a button mask),
// and the on-screen pad of a touch screen, whose buttons index.html names by
// their InputBits (data-input) and which is given their values from the
// game's own constants (data-bits, which phone.js and the tests read).
import { INPUT } from './page_constants.js';

export const pad = {
  // The on-screen pad's buttons get their InputBits from the game's constants.
  labelPad() {
    for (const b of document.querySelectorAll('[data-input]')) b.dataset.bits = String(INPUT[b.dataset.input]);
  },

  readGamepad() {
    if (!navigator.getGamepads) return null;
    let pads;
    try {
      pads = navigator.getGamepads();
    } catch (e) {
      return null;
    }
    for (const pad of pads || []) if (pad && pad.connected) return this.padState(pad);
    return null;
  },

  padState(pad) {
    const axis = (i) => {
      let v = i < pad.axes.length ? Number(pad.axes[i]) : 0;
      if (Number.isNaN(v)) v = 0;
      v = Math.min(1, Math.max(-1, v));
      return Math.round((v + 1) * 32767.5);
    };
    const down = (i) => i < pad.buttons.length && !!pad.buttons[i] && !!pad.buttons[i].pressed;
    let x = axis(0);
    let y = axis(1);
    let buttons = 0;
    if (pad.mapping === 'standard') {
      // A, B, X, Y are buttons 1 to 4; Back and Start are 9 and 10; the
      // D-pad overrides the stick.
      for (let i = 0; i < 4; ++i) if (down(i)) buttons |= 1 << i;
      if (down(8)) buttons |= 256;
      if (down(9)) buttons |= 512;
      if (down(12)) y = 0;
      if (down(13)) y = 65535;
      if (down(14)) x = 0;
      if (down(15)) x = 65535;
    } else {
      for (let i = 0; i < 32 && i < pad.buttons.length; ++i) if (down(i)) buttons |= 1 << i;
    }
    return [x, y, buttons >>> 0];
  },

  setTouchBits(bits) {
    this.touch.bits = bits;
    if (this.running && Module._web_touch_bits) Module._web_touch_bits(bits);
  },
};

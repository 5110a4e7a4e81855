// The sound: the game's samples (SAMPLE_RATE, mono) go into a ring that a
// Web Audio node plays, resampled to the output's rate; and mute, which the
// game keeps and the page remembers across visits.
import { SAMPLE_RATE } from './page_constants.js';

export const sound = {
  audio: { wanted: false, context: null, node: null, ring: null, write: 0, read: 0, step: 1 },
  RING_SIZE: 16384, // a power of two, far more than the four blocks kept queued

  audioOpen() {
    const a = this.audio;
    a.wanted = !!(window.AudioContext || window.webkitAudioContext);
    if (!a.wanted) return false;
    a.ring = new Float32Array(this.RING_SIZE);
    // Browsers allow sound only from a key press or a click.
    const start = () => this.startAudio();
    for (const type of ['keydown', 'pointerdown', 'touchend'])
      window.addEventListener(type, start, { capture: true });
    return true;
  },

  startAudio() {
    const a = this.audio;
    if (!a.wanted) return;
    try {
      if (!a.context) {
        const AudioContextClass = window.AudioContext || window.webkitAudioContext;
        try {
          a.context = new AudioContextClass({ sampleRate: SAMPLE_RATE });
        } catch (e) {
          a.context = new AudioContextClass();
        }
        a.step = SAMPLE_RATE / a.context.sampleRate;
        a.node = a.context.createScriptProcessor(1024, 1, 1);
        a.node.onaudioprocess = (event) => this.playAudio(event.outputBuffer.getChannelData(0));
        a.node.connect(a.context.destination);
      }
      if (this.running) this.status('');
      if (a.context.state === 'suspended') {
        const p = a.context.resume();
        if (p && p.catch) p.catch(() => {});
      }
    } catch (e) {
      this.audioClose();
    }
  },

  // Samples waiting to be played, or -1 while nothing plays them.
  audioQueued() {
    const a = this.audio;
    if (!a.context || a.context.state !== 'running') return -1;
    return a.write - Math.floor(a.read);
  },

  audioPush(samples) {
    const a = this.audio;
    const mask = this.RING_SIZE - 1;
    for (let i = 0; i < samples.length; ++i) {
      if (a.write - Math.floor(a.read) >= this.RING_SIZE) return;
      a.ring[a.write & mask] = samples[i] / 32768;
      a.write += 1;
    }
  },

  // Fills one output buffer from the ring, stepping through it at
  // SAMPLE_RATE/output-rate; a dry ring plays silence until it is refilled.
  playAudio(out) {
    const a = this.audio;
    const mask = this.RING_SIZE - 1;
    for (let i = 0; i < out.length; ++i) {
      const index = Math.floor(a.read);
      if (index >= a.write) {
        out[i] = 0;
        continue;
      }
      const s0 = a.ring[index & mask];
      const s1 = index + 1 < a.write ? a.ring[(index + 1) & mask] : s0;
      out[i] = s0 + (s1 - s0) * (a.read - index);
      a.read += a.step;
    }
  },

  audioClose() {
    const a = this.audio;
    a.wanted = false;
    try {
      if (a.node) a.node.disconnect();
      if (a.context) a.context.close();
    } catch (e) {
      // Already gone.
    }
    a.node = null;
    a.context = null;
  },

  setMuted(muted) {
    if ((this.running || this.finished) && Module._web_set_muted) Module._web_set_muted(muted ? 1 : 0);
    else this.muteChanged(muted);
  },

  muteChanged(muted) {
    this.muted = !!muted;
    this.remember('stivra.muted', this.muted ? '1' : '0');
    const b = document.getElementById('mute');
    b.setAttribute('aria-pressed', String(this.muted));
    b.textContent = this.muted ? 'Ton an' : 'Ton aus';
  },
};

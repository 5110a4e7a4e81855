// Keeping and sharing a run: the run as a file to download, as a link whose
// fragment holds it (deflated, base64url; no server keeps anything), and a
// shared link opened, which replays its run. What comes in by a link is
// outside input: it is read no further than any record can be long.
import { REPLAY_MAX_BYTES } from './page_constants.js';

export const share = {
  shareLink: null, // the link made last

  // The run so far (or the record given) as a replay file, named with its seed.
  saveRun(record) {
    const text = record || this.recordText();
    if (!text) return;
    const seed = (/^seed (\d+)$/m.exec(text) || [null, '0'])[1];
    this.offerFile(`stivra_lauf_seed${seed}.txt`, new TextEncoder().encode(text), 'text/plain');
  },

  // A link to this page whose fragment holds the run (or the record given),
  // deflated and in base64url: no server keeps anything.
  async shareRun(record) {
    const text = record || this.recordText();
    if (!text) return;
    const note = document.getElementById('share-note');
    document.getElementById('share-box').hidden = false;
    this.showBeside(document.getElementById('share-box'));
    if (!window.CompressionStream) {
      note.textContent = 'Dieser Browser kann keine Links zu Läufen machen.';
      return;
    }
    const packed = await this.deflate(new TextEncoder().encode(text));
    const url = `${location.origin}${location.pathname}#run=${this.base64url(packed)}`;
    this.shareLink = url;
    const input = document.getElementById('share-link');
    input.value = url;
    input.select();
    note.textContent = `${url.length} Zeichen`;
    try {
      await navigator.clipboard.writeText(url);
      note.textContent += ', in die Zwischenablage kopiert';
    } catch (e) {
      // Copying needs a permission the page may not have; the link is shown.
    }
  },

  async deflate(bytes) {
    const stream = new Blob([bytes]).stream().pipeThrough(new CompressionStream('deflate-raw'));
    return new Uint8Array(await new Response(stream).arrayBuffer());
  },

  // At most limit bytes: a link is outside input, and a small one could
  // unpack to far more than any record. The compressed bytes go in a small
  // piece at a time while what they unpack to is read and counted, so that
  // no more than the limit (and one piece's worth) is ever held.
  async inflate(bytes, limit) {
    const PIECE = 1024; // at most about a megabyte unpacked from one piece
    const stream = new DecompressionStream('deflate-raw');
    const writer = stream.writable.getWriter();
    let stopped = false;
    const feeding = (async () => {
      for (let at = 0; at < bytes.length && !stopped; at += PIECE) {
        await writer.ready;
        if (!stopped) await writer.write(bytes.subarray(at, at + PIECE));
      }
      if (!stopped) await writer.close();
    })();
    feeding.catch(() => {}); // its failure shows on the reading side
    try {
      return await this.readLimited(stream.readable, limit);
    } finally {
      stopped = true;
      writer.abort().catch(() => {});
    }
  },

  // A stream's bytes, or an error once there are more than limit of them:
  // nothing beyond the limit is kept.
  async readLimited(readable, limit) {
    const reader = readable.getReader();
    const parts = [];
    let size = 0;
    try {
      for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        size += value.length;
        if (size > limit) throw new Error('zu groß');
        parts.push(value);
      }
    } catch (e) {
      reader.cancel().catch(() => {});
      throw e;
    }
    const out = new Uint8Array(size);
    let at = 0;
    for (const part of parts) {
      out.set(part, at);
      at += part.length;
    }
    return out;
  },

  base64url(bytes) {
    let binary = '';
    for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  },

  fromBase64url(text) {
    const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
    const bytes = new Uint8Array(binary.length);
    for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
  },

  // A shared link (#run=...) replays its run as ?replay= does; so does one
  // opened in a tab that shows the page already (only the fragment changes).
  async replayFromLink() {
    if (!location.hash.startsWith('#run=')) return false;
    const m = /^#run=([A-Za-z0-9_-]+)$/.exec(location.hash);
    let bytes;
    try {
      if (!m) throw new Error('kein base64url');
      bytes = await this.inflate(this.fromBase64url(m[1]), REPLAY_MAX_BYTES);
    } catch (e) {
      this.showReplayError(e.message === 'zu groß'
        ? 'Der Link enthält mehr als 4 MiB: so groß ist kein Lauf.'
        : 'Der Link enthält keinen lesbaren Lauf.');
      return true;
    }
    this.replayPlay('geteilter Lauf', bytes);
    return true;
  },

  offerFile(name, data, type = 'image/bmp') {
    // Screenshots count on across visits, as downloads never overwrite.
    const shot = /^stivra_(\d\d)\.bmp$/.exec(name);
    if (shot) this.remember('stivra.screenshot', String((Number(shot[1]) + 1) % 100));
    const url = URL.createObjectURL(new Blob([data], { type }));
    const a = document.createElement('a');
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  },
};

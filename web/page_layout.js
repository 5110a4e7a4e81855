// The picture and where it goes: the canvas in its game box, the box's size
// on a desktop (a touch screen's layout is phone.js's), the letterbox the
// game asks for, full screen, and bringing into view what lies beside the
// stage.

export const layout = {
  showFrame(rgba) {
    this.frames += 1;
    this.image.data.set(rgba);
    this.context.putImageData(this.image, 0, 0);
    if (this.touch.shown) StivraPhone.frame();
  },

  // On a desktop, the game box is the largest whole multiple of 320x200
  // device pixels that fits the window (with room for the text); in full
  // screen it is the whole screen. On a touch screen phone.js places it
  // with the pad. The game places the canvas in it by the letterbox rule,
  // and the box's black shows as the bars.
  fitBox() {
    const full = document.fullscreenElement || document.webkitFullscreenElement;
    if (this.touch.shown) {
      StivraPhone.fit();
    } else if (full) {
      this.box.style.width = '';
      this.box.style.height = '';
    } else {
      const dpr = window.devicePixelRatio || 1;
      const width = document.documentElement.clientWidth - 32;
      const height = window.innerHeight - 150;
      const fits = Math.floor(Math.min((width * dpr) / 320, (height * dpr) / 200));
      // Below one device pixel a picture pixel, a share of one still fills the room.
      const scale = fits >= 1 ? fits : Math.max(0.25, Math.min((width * dpr) / 320, (height * dpr) / 200));
      this.box.style.width = (scale * 320) / dpr + 'px';
      this.box.style.height = (scale * 200) / dpr + 'px';
    }
    // Before the game has started its exports cannot run yet; it places
    // the canvas itself when it starts.
    if (this.running || this.finished) Module._web_relayout();
  },

  boxSize() {
    const dpr = window.devicePixelRatio || 1;
    const r = this.box.getBoundingClientRect();
    return [Math.round(r.width * dpr), Math.round(r.height * dpr)];
  },

  placeCanvas(x, y, w, h) {
    const dpr = window.devicePixelRatio || 1;
    const s = this.canvas.style;
    s.left = x / dpr + 'px';
    s.top = y / dpr + 'px';
    s.width = w / dpr + 'px';
    s.height = h / dpr + 'px';
  },

  // On a desktop the picture goes full screen; on a touch screen the whole
  // stage, the pad and the pause and sound buttons with it.
  toggleFullScreen() {
    try {
      if (document.fullscreenElement || document.webkitFullscreenElement) {
        (document.exitFullscreen || document.webkitExitFullscreen).call(document);
      } else if (!document.fullscreenEnabled && !document.webkitFullscreenEnabled) {
        this.status('Dieser Browser schaltet die Seite nicht ins Vollbild. Zum Startbildschirm hinzugefügt, ' +
                    'startet das Spiel im Vollbild.');
      } else {
        const target = this.touch.shown ? document.getElementById('stage') : this.box;
        const request = target.requestFullscreen || target.webkitRequestFullscreen;
        const p = request.call(target);
        if (p && p.catch) p.catch(() => {});
      }
    } catch (e) {
      // No full screen here: the page stays as it is.
    }
  },

  // Something the player asked for that lies outside the stage (the list of
  // games, a share link) is brought into view: in full screen it could not
  // be seen, so full screen ends and the game pauses while the player looks.
  showBeside(element) {
    const show = () => element.scrollIntoView({ block: 'nearest' });
    const full = document.fullscreenElement || document.webkitFullscreenElement;
    if (!full) {
      requestAnimationFrame(show);
      return;
    }
    if (this.running && !this.autoplay) this.setPaused(true);
    try {
      const p = (document.exitFullscreen || document.webkitExitFullscreen).call(document);
      if (p && p.then) p.then(show, show);
      else requestAnimationFrame(show);
    } catch (e) {
      requestAnimationFrame(show);
    }
  },
};

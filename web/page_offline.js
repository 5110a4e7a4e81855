// The offline cache: after one visit the page's files come from the
// service worker (sw.js, which lists every one of them), so the game loads
// and plays with no network at all.
export const offline = {
  // After one visit the page's files come from the service worker's cache,
  // so the game loads and plays with no network at all.
  registerOffline() {
    if (!('serviceWorker' in navigator) || location.protocol === 'file:') return;
    window.addEventListener('load', () => {
      navigator.serviceWorker.register('sw.js').catch(() => {});
    });
  },
};

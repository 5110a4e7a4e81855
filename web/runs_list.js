// The list of kept games ("Meine Spiele") and the button over the title
// that continues the last one: what runs.js keeps, shown. Its methods join
// StivraRuns (this is the keeper; this.page the page).
import { MODE, TASK_COUNT } from './page_constants.js';

export const runsList = {
  playTime(ticks) {
    const seconds = Math.floor(ticks / 30);
    return `${Math.floor(seconds / 60)}:${String(seconds % 60).padStart(2, '0')}`;
  },

  facts(g) {
    return `${g.floor}. Etage, Aufgabe ${g.task} von ${TASK_COUNT}, ${this.playTime(g.playTicks)}`;
  },

  dateText(ms) {
    try {
      return new Date(ms).toLocaleString('de-DE', { day: '2-digit', month: '2-digit', year: 'numeric', hour: '2-digit', minute: '2-digit' });
    } catch (e) {
      return '?';
    }
  },

  showButton() {
    const b = document.getElementById('continue-run');
    const g = this.lastGame();
    const shown = !!g && this.mode === MODE.TITLE && this.canContinue() && !this.watching && !this.page.autoplay;
    b.hidden = !shown;
    if (shown) b.querySelector('.facts').textContent = this.facts(g);
  },

  toggleList() {
    const list = document.getElementById('runs');
    list.hidden = !list.hidden;
    document.getElementById('runs-open').setAttribute('aria-expanded', String(!list.hidden));
    if (!list.hidden) {
      this.render();
      this.page.showBeside(list);
    }
  },

  // The list is updated in place, entry by entry, so that a button under
  // the pointer (or one asked to confirm a deletion) stays while the game
  // being played is written twice a second.
  render() {
    this.showButton();
    document.getElementById('runs-empty').hidden = this.games.length > 0;
    document.getElementById('runs-count').textContent = String(this.games.length);
    if (document.getElementById('runs').hidden) return;
    const list = document.getElementById('runs-list');
    const items = new Map(Array.from(list.children, (item) => [item.dataset.run, item]));
    const current = new Set(this.session.entries.values());
    const pinned = this.games.filter((g) => g.pinned).length;
    let at = list.firstElementChild;
    for (const g of this.games) {
      const item = items.get(g.id) || this.newItem(g.id);
      items.delete(g.id);
      this.fillItem(item, g, current.has(g.id), pinned);
      if (item === at) at = at.nextElementSibling;
      else list.insertBefore(item, at);
    }
    for (const gone of items.values()) gone.remove();
  },

  newItem(id) {
    const item = document.createElement('li');
    item.dataset.run = id;
    const part = (tag, className, parent = item) => {
      const e = document.createElement(tag);
      e.className = className;
      parent.append(e);
      return e;
    };
    const head = part('div', 'run-head');
    part('strong', 'run-date', head);
    part('span', 'run-state', head);
    part('div', 'run-facts');
    const actions = part('div', 'run-actions');
    for (const [name, text] of [['continue', 'Weiterspielen'], ['save', 'Als Datei speichern'], ['share', 'Link teilen'],
                                ['pin', 'Anheften'], ['delete', 'Löschen']]) {
      const b = part('button', '', actions);
      b.type = 'button';
      b.dataset.action = name;
      b.textContent = text;
    }
    return item;
  },

  fillItem(item, g, current, pinnedCount) {
    const set = (selector, text) => {
      const e = item.querySelector(selector);
      if (e.textContent !== text) e.textContent = text;
    };
    item.className = g.state;
    set('.run-date', this.dateText(g.date));
    set('.run-state', g.state === 'won' ? `gewonnen in ${this.playTime(g.wonTicks)}${g.pinned ? ' · angeheftet' : ''}`
      : g.state === 'given-up' ? 'abgebrochen' : current ? 'läuft gerade' : 'nicht beendet');
    const caught = g.catches === 0 ? 'nie erwischt' : `${g.catches}-mal erwischt`;
    set('.run-facts', `${this.facts(g)} gespielt · ${g.stickers} Sticker · ${caught} · Startwert ${g.seed}`);
    item.querySelector('[data-action="continue"]').disabled = !this.canContinue();
    const pin = item.querySelector('[data-action="pin"]');
    pin.hidden = g.state !== 'won';
    pin.disabled = !g.pinned && pinnedCount >= this.MAX_PINNED;
    pin.setAttribute('aria-pressed', String(g.pinned));
    if (pin.textContent !== (g.pinned ? 'Lösen' : 'Anheften')) pin.textContent = g.pinned ? 'Lösen' : 'Anheften';
  },

  listClicked(e) {
    const b = e.target.closest && e.target.closest('button[data-action]');
    const item = b && b.closest('[data-run]');
    if (!item) return;
    const g = this.games.find((x) => x.id === item.dataset.run);
    b.blur();
    if (!g) return;
    switch (b.dataset.action) {
      case 'continue': this.continueGame(g.id); break;
      case 'save': this.page.saveRun(g.record); break;
      case 'share': this.page.shareRun(g.record); break;
      case 'pin': this.pin(g.id, !g.pinned); break;
      case 'delete':
        // A slip of the finger must not cost a game: the first tap asks.
        if (b.dataset.armed !== '1') {
          b.dataset.armed = '1';
          b.textContent = 'Wirklich löschen?';
          setTimeout(() => {
            if (b.isConnected) {
              b.dataset.armed = '';
              b.textContent = 'Löschen';
            }
          }, 4000);
        } else {
          this.forget(g.id);
        }
        break;
      default:
    }
  },
};

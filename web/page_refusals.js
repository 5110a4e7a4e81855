// The replay reader's refusals in the page's language. The game hands each
// refusal over as its code (page_constants.js lists them all) and its
// arguments: { code, line, numbers, what, field, text }, text being the
// English line the native tools print. A code without German here shows
// that line as it stands; web/test/constants_test.mjs fails first.

// The fields a refusal names: after "für" (accusative) and after "nach" (dative).
export const FIELDS_IN_GERMAN = {
  '': ['', ''],
  version: ['die Version', 'der Version'],
  seed: ['den Startwert', 'dem Startwert'],
  COUNT: ['COUNT', 'COUNT'],
  BITS: ['BITS', 'BITS'],
  TICKS: ['TICKS', 'TICKS'],
};

const field = (r, dative) => (FIELDS_IN_GERMAN[r.what] || [r.what, r.what])[dative ? 1 : 0];

export const REFUSALS_IN_GERMAN = {
  'none': () => 'die Aufzeichnung ist nicht lesbar',
  'cut-line': () => 'der Text endet mitten in einer Zeile (ohne Zeilenende)',
  'no-header': () => 'die Kopfzeile fehlt: die erste Zeile muss „stivra-replay 1“ sein',
  'no-version': () => 'nach „stivra-replay“ fehlt die Version',
  'bad-number': (r) => `ungültige Zahl „${r.field}“ für ${field(r, false)} (nur Ziffern, höchstens 4294967295)`,
  'unknown-version': (r) => `unbekannte Version ${r.numbers[0]} (das Spiel liest Version 1)`,
  'unexpected-field': (r) => `unerwartet: „${r.field}“ nach ${field(r, true)}`,
  'no-seed-line': () => 'die Zeile mit dem Startwert („seed N“) fehlt',
  'not-seed-line': () => 'hier gehört die Zeile mit dem Startwert hin („seed N“)',
  'not-a-run': () => 'erwartet: „ANZAHL BITS [TICKS]“',
  'count-zero': () => 'ANZAHL muss mindestens 1 sein',
  'bits-range': (r) => `BITS ${r.numbers[0]} ist keine Tastenmaske (0..511)`,
  'ticks-range': (r) => `TICKS ${r.numbers[0]} liegt nicht zwischen 1 und 4`,
  'too-long': (r) => `die Aufzeichnung dauert länger als einen Tag Spielzeit (mehr als ${r.numbers[0]} Ticks)`,
  'too-large': () => 'die Datei ist größer als 4 MiB, weit mehr als jede Aufzeichnung',
  'shorter': (r) => `die Aufzeichnung hat ${r.numbers[0]} Durchgänge, weniger als die ${r.numbers[1]} bis zur Übergabe`,
};

// A refusal in German, with the line it is about.
export function refusalInGerman(refusal) {
  const r = Object.assign({ code: 'none', line: 0, numbers: [0, 0], what: '', field: '', text: '' }, refusal);
  const say = Object.hasOwn(REFUSALS_IN_GERMAN, r.code) ? REFUSALS_IN_GERMAN[r.code] : null;
  if (!say) return r.text || REFUSALS_IN_GERMAN.none();
  return (r.line > 0 ? `Zeile ${r.line}: ` : '') + say(r);
}

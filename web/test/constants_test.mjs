// What the page shares with the game, checked without a browser: the
// generated page_constants.js against the C++ headers it was written from,
// and the page's German for every refusal code of the replay reader.
//   node web/test/constants_test.mjs PAGE_CONSTANTS_JS SOURCE_DIR
import { readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';

const [constantsPath, sourceDir] = process.argv.slice(2);
// The page's modules are .js files in a folder that is no ES module package:
// Node.js 18 would load them as CommonJS, so they are imported from their text.
const import_text = (path) => import(`data:text/javascript,${encodeURIComponent(readFileSync(path, 'utf8'))}`);
const C = await import_text(resolve(constantsPath));
const { REFUSALS_IN_GERMAN, FIELDS_IN_GERMAN, refusalInGerman } =
  await import_text(join(resolve(sourceDir), 'web', 'page_refusals.js'));

let failed = 0;
const check = (ok, what, detail = '') => {
  console.log(`${ok ? 'ok' : 'FAIL'}: ${what}${ok || !detail ? '' : ` (${detail})`}`);
  if (!ok) failed += 1;
};
const header = (name) => readFileSync(join(sourceDir, 'src', name), 'utf8');
// The NAME = VALUE entries of the enum or constants in text, by prefix.
const entries = (text, prefix) => Object.fromEntries([...text.matchAll(new RegExp(`\\b${prefix}([A-Z_]+) = (\\d+)`, 'g'))]
  .map((m) => [m[1], Number(m[2])]));
const constant = (text, name) => {
  const m = new RegExp(`\\b${name} = (?:size_t\\((\\d+)\\) << (\\d+)|(\\d+))`).exec(text);
  return !m ? undefined : m[3] !== undefined ? Number(m[3]) : Number(m[1]) * 2 ** Number(m[2]);
};
const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);

const modes = header('game/game_state.h');
const enumMode = modes.slice(modes.indexOf('enum GameModeValue'), modes.indexOf('};', modes.indexOf('enum GameModeValue')));
check(same(C.MODE, entries(enumMode, 'MODE_')), 'the game modes are the GameModeValue enum', JSON.stringify(C.MODE));
check(same(C.INPUT, entries(header('game/input_bits.h'), 'INPUT_')), 'the InputBits are input_bits.h\'s', JSON.stringify(C.INPUT));
const replay = header('platform/replay.h');
for (const name of ['REPLAY_MAX_BYTES', 'REPLAY_MAX_PLAY_TICKS', 'REPLAY_MAX_BITS', 'REPLAY_MAX_TICKS'])
  check(C[name] === constant(replay, name), `${name} is replay.h's`, `${C[name]} against ${constant(replay, name)}`);
check(C.SAMPLE_RATE === constant(header('platform/platform.h'), 'STREAM_SAMPLE_RATE'), 'the sample rate is platform.h\'s');
check(C.FLOOR_COUNT === constant(header('world/tile_geometry.h'), 'FLOOR_COUNT') &&
      C.TASK_COUNT === constant(header('game/quest.h'), 'TASK_COUNT'), 'the floors and tasks are the game\'s');

// The codes in the order of ReplayRefusalCode, each named by its enum name.
const codes = [...replay.slice(replay.indexOf('enum ReplayRefusalCode')).matchAll(/^\s+REFUSAL_([A-Z_]+)[ ,=]/gm)]
  .map((m) => m[1]).filter((n, i, all) => n !== 'CODE_COUNT' && all.indexOf(n) === i);
check(same(C.REFUSALS, codes.map((n) => n.toLowerCase().replace(/_/g, '-'))), 'every refusal code is named as in ReplayRefusalCode, in order',
      `${C.REFUSALS} against ${codes}`);

const missing = C.REFUSALS.filter((code) => !Object.hasOwn(REFUSALS_IN_GERMAN, code));
check(missing.length === 0, 'the page says every refusal code in German', missing.join(', '));
const fields = C.REFUSAL_FIELDS.filter((f) => !Object.hasOwn(FIELDS_IN_GERMAN, f));
check(fields.length === 0, 'the page names every field a refusal names in German', fields.join(', '));
const untranslated = C.REFUSALS.map((code) => refusalInGerman({ code, line: 3, numbers: [7, 9], what: 'seed', field: 'x', text: 'English' }))
  .filter((t) => /undefined|English/.test(t) || !t.startsWith('Zeile 3: '));
check(untranslated.length === 0, 'each German text fills in its arguments', untranslated.join(' | '));
// The lines the page showed before the codes, kept word for word.
check(refusalInGerman({ code: 'ticks-range', line: 4, numbers: [5, 0] }) === 'Zeile 4: TICKS 5 liegt nicht zwischen 1 und 4' &&
      refusalInGerman({ code: 'too-large', numbers: [C.REPLAY_MAX_BYTES, 0] }) === 'die Datei ist größer als 4 MiB, weit mehr als jede Aufzeichnung' &&
      refusalInGerman({ code: 'unexpected-field', line: 2, what: 'seed', field: '6' }) === 'Zeile 2: unerwartet: „6“ nach dem Startwert',
      'the German lines read as before');
check(refusalInGerman({ code: 'from-a-newer-game', line: 1, text: 'line 1: something new' }) === 'line 1: something new',
      'an unknown code shows the reader\'s own line');
process.exit(failed ? 1 : 0);

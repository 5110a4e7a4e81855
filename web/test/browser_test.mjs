// The browser build in headless Chromium, against pictures and recorded
// runs of the native game:
//   node browser_test.mjs URL TITLE.bmp SEED OUT_DIR TOOL REPLAY...
//   TITLE.bmp     native `stivra -shot 0`
//   SEED          the seed of the page's runs (?seed=, ?autoplay=1)
//   TOOL          native stivra-tool, whose `replay` each REPLAY must agree with
// Chromium is Debian's (STIVRA_CHROMIUM names another one).
// STIVRA_CHECKS names the checks to run, separated by commas or spaces, `*`
// standing for any text (STIVRA_CHECKS='pause,replay:won*'); a name that
// matches none lists them all.
//
// Each check is named and plays from a page of its own (browser_harness.mjs),
// so one that fails names itself and the rest still run; at the end a line
// per check says whether it passed and how long it took.
//
// Frames draw from the game's random generator, so a run whose loop falls
// behind is a different game: the page is never compared with a second
// timed run. It records what it plays, and the native tool replays that
// record to the same end and the same last frame.
import { PageChecks } from './browser_checks_page.mjs';
import { PlayChecks } from './browser_checks_play.mjs';
import { ReplayChecks, recorded_run_checks } from './browser_checks_replay.mjs';
import { Setup, load_constants, run_checks, select_checks } from './browser_harness.mjs';

const [baseUrl, titlePath, seed, outDir, toolPath, ...replayPaths] = process.argv.slice(2);
if (!baseUrl || !titlePath || !seed || !outDir || !toolPath || replayPaths.length === 0) {
  console.log('usage: node browser_test.mjs URL TITLE.bmp SEED OUT_DIR TOOL REPLAY...');
  process.exit(2);
}
Object.assign(Setup, { baseUrl, titlePath, seed, outDir, toolPath, replayPaths });
await load_constants(baseUrl);

const checks = select_checks([...PageChecks, ...PlayChecks, ...ReplayChecks, ...recorded_run_checks()]);
if (checks === null) process.exit(2);
process.exit(await run_checks(checks) ? 0 : 1);

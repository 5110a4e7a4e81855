// The page from the release's web zip, served on 127.0.0.1, in headless
// Chromium: the game must start and draw, the line under the controls must
// name the release, and nothing may fail to load.
//   node release_page.mjs URL VERSION
// Chromium is Debian's (STIVRA_CHROMIUM names another one); playwright-core
// comes from web/node_modules, as for the browser test.
import { createRequire } from 'node:module';

const require = createRequire(new URL('../web/package.json', import.meta.url));
const { chromium } = require('playwright-core');
const [url, version] = process.argv.slice(2);
// Generous: the machine may be busy. Every wait is for a state.
const DEADLINE = 120000;

let failed = 0;
function check(ok, what, detail = '') {
  console.log(ok ? `ok: ${what}` : `FAIL: ${what}${detail ? ': ' + detail : ''}`);
  if (!ok) failed += 1;
}

const browser = await chromium.launch({
  executablePath: process.env.STIVRA_CHROMIUM || '/usr/bin/chromium',
  args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required'],
});
try {
  const page = await browser.newPage();
  const problems = [];
  page.on('pageerror', (e) => problems.push(`script error: ${e.message}`));
  page.on('requestfailed', (r) => problems.push(`not loaded: ${r.url()}`));
  page.on('response', (r) => { if (r.status() >= 400) problems.push(`HTTP ${r.status()}: ${r.url()}`); });
  await page.goto(url);
  await page.waitForFunction(() => typeof StivraPage === 'object' && StivraPage.running && StivraPage.frames > 0,
    null, { timeout: DEADLINE });
  check(true, 'the page from the zip starts the game and draws frames');
  const line = await page.textContent('#version');
  check(line === `St. Ivra Schule ${version}`, `the line under the controls names version ${version}`, line);
  const title = await page.title();
  check(title.startsWith('St. Ivra Schule'), 'the page has its title', title);
  // The offline cache is named by the page's scope and the release:
  // "stivra /PATH/ VERSION-BUILD".
  const controlled = await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null,
    { timeout: DEADLINE }).then(() => true, () => false);
  const caches = controlled ? await page.evaluate(() => caches.keys()) : [];
  const named = (k) => {
    const [name, scope, build] = k.split(' ');
    return name === 'stivra' && /^\/(.*\/)?$/.test(scope) && build !== undefined && build.startsWith(`${version}-`) && /-[0-9a-f]{16}$/.test(build);
  };
  check(caches.some(named), `the offline cache is named by version ${version}`,
    JSON.stringify(caches));
  check(problems.length === 0, 'every file of the page loads without an error', problems.join('; '));
} finally {
  await browser.close();
}
process.exit(failed ? 1 : 0);

// What reaches the page from outside, in headless Chromium: each check on
// a fresh page, named, so that one failure does not hide the others.
//   node trust_test.mjs URL WEB_DIR OUT_DIR
//   URL      the page served on 127.0.0.1
//   WEB_DIR  the built page (copies of it are served for the offline checks)
// A link of deflated zeros must be refused without the tab's memory growing
// past 300 MiB; ?replay= must never request anything from another site (a
// second server on 127.0.0.2 logs every request it gets: its log must stay
// empty); a link opened in a tab that shows the page already plays; a link
// that is no base64url says so; two copies of the page on one site keep
// their offline caches; a new build's cache takes its files from the
// network, never from the browser's HTTP cache.
import { chromium } from 'playwright-core';
import { spawn } from 'node:child_process';
import { cpSync, mkdirSync, readFileSync, rmSync, utimesSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { createDeflateRaw } from 'node:zlib';

const [baseUrl, webDir, outDir] = process.argv.slice(2);
const DEADLINE = 60000;
let passed = 0, failed = 0;
const check = (ok, what, detail = '') => {
  if (ok) { passed += 1; console.log(`ok: ${what}`); }
  else { failed += 1; console.log(`FAIL: ${what}${detail ? ': ' + detail : ''}`); }
};
const launch = () => chromium.launch({
  executablePath: process.env.STIVRA_CHROMIUM || '/usr/bin/chromium',
  args: ['--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});
const errorLine = async (page) => {
  try {
    await page.waitForFunction(() => !document.getElementById('replay-error').hidden, null, { timeout: DEADLINE });
  } catch (e) {
    return '';
  }
  return page.textContent('#replay-error');
};
// Runs one named check; an exception fails it and the next one still runs.
async function named(what, body) {
  try {
    await body();
  } catch (e) {
    check(false, what, String(e && e.stack || e));
  }
}

// A static server on HOST for DIR, every request in its log; resolves to
// { port, log(), stop() } once it listens.
function serve(host, dir, logPath) {
  return new Promise((resolve, reject) => {
    const p = spawn('python3', ['-u', '-m', 'http.server', '--bind', host, '0', '--directory', dir]);
    let out = '';
    const timer = setTimeout(() => reject(new Error(`no server on ${host}`)), DEADLINE);
    const take = (d) => {
      out += d;
      writeFileSync(logPath, out);
      const m = / port (\d+)/.exec(out);
      if (m && !p.resolved) {
        p.resolved = true;
        clearTimeout(timer);
        resolve({ port: Number(m[1]), requests: () => out.split('\n').filter((l) => /"(GET|POST|HEAD)/.test(l)),
                  stop: () => p.kill() });
      }
    };
    p.stdout.on('data', take);
    p.stderr.on('data', take);
  });
}

// Deflated zeros: a link of about a megabyte that unpacks to a gigabyte.
function zerosLink() {
  return new Promise((resolve) => {
    const z = createDeflateRaw({ level: 9 });
    const parts = [];
    z.on('data', (d) => parts.push(d));
    z.on('end', () => resolve(Buffer.concat(parts).toString('base64url')));
    const mb = Buffer.alloc(1 << 20);
    let n = 0;
    const more = () => {
      while (n < 1024) {
        n += 1;
        if (!z.write(mb)) { z.once('drain', more); return; }
      }
      z.end();
    };
    more();
  });
}

// The highest resident memory any renderer of the browser reached, in MiB.
async function rendererPeakMiB(browser) {
  const cdp = await browser.newBrowserCDPSession();
  const { processInfo } = await cdp.send('SystemInfo.getProcessInfo');
  let peak = 0;
  for (const p of processInfo.filter((q) => q.type === 'renderer')) {
    try {
      const m = /VmHWM:\s+(\d+) kB/.exec(readFileSync(`/proc/${p.id}/status`, 'utf8'));
      if (m) peak = Math.max(peak, Number(m[1]) / 1024);
    } catch (e) {
      // Gone already.
    }
  }
  return peak;
}

rmSync(outDir, { recursive: true, force: true });
mkdirSync(outDir, { recursive: true });

await named('a link of deflated zeros is refused within the memory of a phone tab', async () => {
  const link = await zerosLink();
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.goto(`${baseUrl}/#run=${link}`);
    const line = await errorLine(page);
    const peak = await rendererPeakMiB(browser);
    check(line === 'Der Link enthält mehr als 4 MiB: so groß ist kein Lauf.' && peak > 0 && peak < 300,
      `a ${Math.round(link.length / 1024)} KiB link of a gigabyte of zeros: refused, the tab at most ${Math.round(peak)} MiB`,
      `line "${line}", ${Math.round(peak)} MiB`);
  } finally {
    await browser.close();
  }
});

await named('?replay= fetches nothing from another site', async () => {
  const otherDir = join(outDir, 'other');
  mkdirSync(otherDir, { recursive: true });
  writeFileSync(join(otherDir, 'run.txt'), 'stivra-replay 1\nseed 5\n30 0\n');
  const other = await serve('127.0.0.2', otherDir, join(outDir, 'other.log'));
  const browser = await launch();
  try {
    const there = `127.0.0.2:${other.port}/run.txt`;
    const tries = [`http://${there}`, `HTTP://${there}`, `//${there}`, `/\\${there}`, `\t//${there}`,
                   `/\t/${there}`, `data:text/plain,stivra-replay%201%0Aseed%205%0A30%200%0A`,
                   `blob:http://${there}`, `javascript:alert(1)`];
    for (const url of tries) {
      const page = await browser.newPage();
      await page.goto(`${baseUrl}/?replay=${encodeURIComponent(url)}`);
      const line = await errorLine(page);
      check(line.includes('wird nicht geladen: nur eine Datei neben dieser Seite'),
        `?replay=${JSON.stringify(url)} is refused in one line`, line);
      await page.close();
    }
    check(other.requests().length === 0, 'the other site got no request', other.requests().join(' | '));
  } finally {
    await browser.close();
    other.stop();
  }
});

await named('links in an open tab, and links that hold no run', async () => {
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.goto(`${baseUrl}/?seed=5`);
    await page.waitForFunction(() => StivraPage.running, null, { timeout: DEADLINE });
    // A short run, shared the way the page shares it.
    const link = await page.evaluate(async () => {
      const text = 'stivra-replay 1\nseed 5\n40 0\n';
      return StivraPage.base64url(await StivraPage.deflate(new TextEncoder().encode(text)));
    });
    await page.evaluate((l) => { location.hash = `run=${l}`; }, link);
    const played = await page.waitForFunction(() => StivraPage.replay && StivraPage.replay.state === 'ended' &&
      StivraPage.replay.passes === 40, null, { timeout: DEADLINE }).then(() => true, () => false);
    check(played, 'a share link opened in a tab that shows the page plays at once');
    for (const bad of ['run=%%%', 'run=abc*def', 'run=', 'run=A']) {
      await page.evaluate(() => { document.getElementById('replay-error').hidden = true; });
      await page.evaluate((h) => { location.hash = h; }, bad);
      const line = await errorLine(page);
      check(line === 'Der Link enthält keinen lesbaren Lauf.', `#${bad} says the link holds no readable run`, line);
    }
  } finally {
    await browser.close();
  }
});

await named('two copies on one site keep their caches; a new build takes its files from the network', async () => {
  // /a/ and /b/ are two builds of the page (b's build stamp differs).
  const site = join(outDir, 'site');
  for (const copy of ['a', 'b']) cpSync(webDir, join(site, copy), { recursive: true });
  const bWorker = join(site, 'b', 'sw.js');
  const restamp = (file, build) => writeFileSync(file, readFileSync(file, 'utf8')
    .replace(/(const CACHE = `\$\{PREFIX\}[^-]+-)[0-9a-f]{16}/, (_, head) => head + build));
  restamp(bWorker, '00000000000000b0');
  // Files modified long ago: the browser may keep them in its HTTP cache for months.
  const longAgo = new Date('2020-01-01T00:00:00Z');
  const aged = (f) => utimesSync(f, longAgo, longAgo);
  aged(join(site, 'a', 'page.js'));
  const server = await serve('127.0.0.1', site, join(outDir, 'site.log'));
  const browser = await launch();
  try {
    const context = await browser.newContext();
    const page = await context.newPage();
    const visit = async (path) => {
      await page.goto(`http://127.0.0.1:${server.port}/${path}/?seed=5`);
      await page.waitForFunction(() => navigator.serviceWorker && navigator.serviceWorker.controller !== null &&
        StivraPage.running, null, { timeout: DEADLINE });
    };
    const keys = () => page.evaluate(() => caches.keys());
    await visit('a');
    await visit('b');
    await visit('a');
    const both = await keys();
    check(both.length === 2 && both.some((k) => k.startsWith('stivra /a/ ')) && both.some((k) => k.startsWith('stivra /b/ ')),
      'each copy keeps its own offline cache', JSON.stringify(both));

    // A new build of /a/: page.js changed, the worker renamed its cache.
    const aWorker = join(site, 'a', 'sw.js');
    writeFileSync(join(site, 'a', 'page.js'), readFileSync(join(site, 'a', 'page.js'), 'utf8') + '\n// the new build\n');
    aged(join(site, 'a', 'page.js'));
    restamp(aWorker, '00000000000000a2');
    await page.goto(`http://127.0.0.1:${server.port}/a/?seed=5`);
    // The new worker fills its cache, then takes over and clears the old one.
    const newKey = async () => {
      const ofA = (await keys()).filter((k) => k.startsWith('stivra /a/ '));
      return ofA.length === 1 && ofA[0].endsWith('-00000000000000a2') ? ofA[0] : null;
    };
    const until = Date.now() + DEADLINE;
    let key;
    while (!(key = await newKey()) && Date.now() < until) await page.waitForTimeout(200);
    const fresh = !!key && await page.evaluate(async (k) => {
      const hit = await (await caches.open(k)).match(new URL('page.js', location.href).href);
      return hit ? (await hit.text()).includes('// the new build') : false;
    }, key);
    check(fresh, "a new build's offline cache holds its own files, not the HTTP cache's old ones");
    const after = await keys();
    check(after.length === 2 && after.some((k) => k.startsWith('stivra /b/ ')), "the new build of /a/ left /b/'s cache alone",
      JSON.stringify(after));
  } finally {
    await browser.close();
    server.stop();
  }
});

console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);

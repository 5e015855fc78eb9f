// The browser pass of scripts/test: plays the built site (build-web/site) in Debian's Chromium,
// headless, as a player with a phone would (touches, tilts, hiding the page, reloading), checks
// what the game did, plays one script natively and in the browser to compare them, makes the
// README's browser screenshots and prints the browser figures. Ends with "N passed, N failed".
//
//   node tests/web/run.mjs [--native build/boughfall] [--shots build-web/screenshots]

import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {execFileSync, spawnSync} from 'node:child_process';
import {fileURLToPath} from 'node:url';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';

const HERE = path.dirname(fileURLToPath(import.meta.url));
const ROOT = path.resolve(HERE, '../..');
const SITE = path.join(ROOT, 'build-web/site');
const args = process.argv.slice(2);
const option = (name, fallback) => {
  const at = args.indexOf(name);
  return at >= 0 ? args[at + 1] : fallback;
};
const NATIVE = path.resolve(ROOT, option('--native', 'build/boughfall'));
// The README's browser pictures come from "--shots docs/screenshots"; by default they go to the
// build folder, so that a test run leaves the work tree as it was.
const SHOTS = path.resolve(ROOT, option('--shots', 'build-web/screenshots'));
fs.mkdirSync(SHOTS, {recursive: true});

const SAVE = '/home/web_user/.local/share/boughfall/Data';
const BASKET_OF_TYPE = [1, 2, 0, 3];  // the level's type -> basket table
const MENU_X = 164;  // the menu column's centre (source/layout/FrontEndLayout.h)
const STATE = {frontEnd: 1, game: 5, gameFadeIn: 7};
const LEVEL = {playing: 1, paused: 2, gameOver: 3};

let iPassed = 0;
let iFailed = 0;
function check(sName, bOk, sDetail = '') {
  if (bOk) {
    iPassed++;
    console.log(`ok      ${sName}${sDetail ? ' (' + sDetail + ')' : ''}`);
  } else {
    iFailed++;
    console.log(`FAILED  ${sName}${sDetail ? ': ' + sDetail : ''}`);
  }
}
const sleep = (iMs) => new Promise((resolve) => setTimeout(resolve, iMs));

// The site and this folder (/test/), served the way scripts/web-serve.py serves them: a .gz copy
// with Content-Encoding when the browser takes gzip.
const TYPES = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
  '.json': 'application/json', '.wasm': 'application/wasm', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json', '.txt': 'text/plain', '.mp3': 'audio/mpeg',
  '.ogg': 'audio/ogg'};
const tMissing = new Set();  // paths answered 404 (the missing-file test)
const server = http.createServer((request, response) => {
  let sPath = decodeURIComponent(new URL(request.url, 'http://x').pathname);
  let sFile = sPath.startsWith('/test/') ? path.join(HERE, sPath.slice(6)) : path.join(SITE, sPath);
  if (sPath.endsWith('/')) sFile = path.join(sFile, 'index.html');
  if (tMissing.has(sPath) || !sFile.startsWith(ROOT) || !fs.existsSync(sFile) ||
      fs.statSync(sFile).isDirectory()) {
    response.writeHead(404);
    response.end();
    return;
  }
  const tHeaders = {'Content-Type': TYPES[path.extname(sFile)] || 'application/octet-stream',
    'Cache-Control': 'no-cache', 'Vary': 'Accept-Encoding'};
  if (/gzip/.test(request.headers['accept-encoding'] || '') && fs.existsSync(sFile + '.gz')) {
    sFile += '.gz';
    tHeaders['Content-Encoding'] = 'gzip';
  }
  // A copy the browser has (the service worker revalidates what the page loaded) costs no body.
  const iModified = Math.floor(fs.statSync(sFile).mtimeMs / 1000) * 1000;
  tHeaders['Last-Modified'] = new Date(iModified).toUTCString();
  const sSince = request.headers['if-modified-since'];
  if (sSince && Date.parse(sSince) >= iModified) {
    response.writeHead(304, tHeaders);
    response.end();
    return;
  }
  const tBody = fs.readFileSync(sFile);
  tHeaders['Content-Length'] = tBody.length;
  response.writeHead(200, tHeaders);
  response.end(tBody);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const BASE = `http://127.0.0.1:${server.address().port}/`;

// Chromium's own calls home: this machine's network refuses them, many at a time.
const QUIET = ['--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--no-first-run', '--disable-quic'];
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--disable-background-timer-throttling', '--disable-renderer-backgrounding', ...QUIET],
});

// A page in a context of its own (its own IndexedDB), sized like a device.
const PHONE = {width: 844, height: 390, deviceScaleFactor: 2, isMobile: true, hasTouch: true};
const DESKTOP = {width: 1280, height: 800, deviceScaleFactor: 1};
async function openPage(tViewport, sQuery = '', beforeLoad = null) {
  return openTab(await browser.createBrowserContext(), tViewport, sQuery, beforeLoad);
}
// Another tab of a context: the same IndexedDB as the context's other tabs.
async function openTab(context, tViewport, sQuery = '', beforeLoad = null) {
  const page = await context.newPage();
  const tErrors = [];
  page.on('pageerror', (error) => tErrors.push(error.message));
  await page.setViewport(tViewport);
  const client = await page.createCDPSession();
  tClients.set(page, client);
  if (beforeLoad) await beforeLoad(client, page);
  await page.goto(BASE + sQuery);
  return {context, page, client, errors: tErrors};
}

// The game's state, read without a user gesture (puppeteer's evaluate counts as one, and a
// gesture before the game starts would let its sound start unasked).
const tClients = new WeakMap();
async function status(page) {
  const tReply = await tClients.get(page).send('Runtime.evaluate', {returnByValue: true,
    expression: 'window.Module && Module.calledRun ? window.boughfall.status() : {state: -1}'});
  return tReply.result.value;
}
async function waitFor(page, test, iMs = 40000) {
  const iEnd = Date.now() + iMs;
  for (;;) {
    const tStatus = await status(page);
    if (test(tStatus)) return tStatus;
    if (Date.now() > iEnd) return null;
    await sleep(50);
  }
}

// A point of the game's 480 x 320 picture (y up) in the page's CSS pixels: the canvas fills the
// window and the picture sits in it with bars.
async function toPage(page, fX, fY) {
  const tSize = await page.evaluate(() => [innerWidth, innerHeight]);
  const fScale = Math.min(tSize[0] / 480, tSize[1] / 320);
  return {x: (tSize[0] - 480 * fScale) / 2 + fX * fScale,
    y: (tSize[1] - 320 * fScale) / 2 + (320 - fY) * fScale};
}
async function touch(client, sType, tPoints) {
  await client.send('Input.dispatchTouchEvent', {type: sType,
    touchPoints: tPoints.map((p, i) => ({x: p.x, y: p.y, id: p.id ?? i}))});
}
async function tap(page, client, fX, fY) {
  const p = await toPage(page, fX, fY);
  await touch(client, 'touchStart', [p]);
  await sleep(60);
  await touch(client, 'touchEnd', []);
}
// A drag of a finger from one game point to another, in steps a hand would take.
async function drag(page, client, fX, fY, fToX, fToY) {
  const a = await toPage(page, fX, fY);
  await touch(client, 'touchStart', [a]);
  for (let i = 1; i <= 4; i++) {
    await sleep(40);
    const p = await toPage(page, fX + (fToX - fX) * i / 4, fY + (fToY - fY) * i / 4);
    await touch(client, 'touchMove', [p]);
  }
  await sleep(40);
  await touch(client, 'touchEnd', []);
}
// Throws a hanging pommo into its own basket, from where it hangs, level or fUp units of drag
// upwards (a throw upwards scores double), as fast sideways as lands it in the middle of the
// basket under the level's gravity (the speed is twice the drag). The one nearest its basket
// goes, so the throw is short.
async function throwIntoBasket(page, client, fUp = 0) {
  const tStatus = await status(page);
  if (tStatus.level !== LEVEL.playing) return false;
  const [fGx, fGy] = tStatus.gravity.map((f) => f * 50);  // a pommo's fall, units/s^2
  const aim = (p) => 120 * BASKET_OF_TYPE[p.type] + 60;
  const tPommo = tStatus.pommos.filter((p) => !p.flying && p.state !== 3 && p.py > 40)
      .sort((p, q) => Math.abs(aim(p) - p.px) - Math.abs(aim(q) - q.px))[0];
  if (!tPommo || fGy > -1) return false;
  // The time down to the landing height, 4.
  const fTime = (2 * fUp + Math.sqrt(4 * fUp * fUp - 2 * fGy * (tPommo.py - 4))) / -fGy;
  const fSpeed = (aim(tPommo) - tPommo.px - fGx * fTime * fTime / 2) / fTime;
  await drag(page, client, tPommo.x, tPommo.y, tPommo.x + fSpeed / 2, tPommo.y + fUp);
  return true;
}
// Throws until the score passes the test (60 tries at most); the game's state and the throws.
async function throwUntil(page, client, test, fUp = 0) {
  let tNow = await status(page);
  let iThrows = 0;
  for (let i = 0; tNow && i < 60 && !(test(tNow.score) && iThrows > 0); i++) {
    const iBefore = tNow.score;
    if (await throwIntoBasket(page, client, fUp)) {
      iThrows++;
      await waitFor(page, (s) => s.score !== iBefore, 1500);
    } else {
      await sleep(300);
    }
    tNow = await status(page);
  }
  return {tNow, iThrows};
}
async function intoALevel(page, client) {
  if (!await waitFor(page, (s) => s.frontEnd === 3)) return null;
  await tap(page, client, MENU_X, 158);  // Play
  return waitFor(page, (s) => s.state === STATE.game && s.level === LEVEL.playing);
}
async function setHidden(page, bHidden) {
  await page.evaluate((bHide) => {
    Object.defineProperty(document, 'hidden', {configurable: true, get: () => bHide});
    Object.defineProperty(document, 'visibilityState', {configurable: true,
      get: () => (bHide ? 'hidden' : 'visible')});
    document.dispatchEvent(new Event('visibilitychange'));
  }, bHidden);
}
// Whether fnTest(arg), run in the page, comes true within iMs.
const cameTrue = (page, fnTest, iMs, arg) =>
  page.waitForFunction(fnTest, {timeout: iMs}, arg).then(() => true, () => false);
const storageSettled = (page) => cameTrue(page, () => window.boughfall.storagePending() === 0,
    10000);
const audioState = (page) => page.evaluate(() => Object.values(AL.contexts)[0].audioCtx.state);
const soundCameTo = (page, sState) => cameTrue(page,
    (s) => Object.values(AL.contexts)[0].audioCtx.state === s, 3000, sState);
const savedGameExists = (page) =>
  page.evaluate((s) => FS.analyzePath(s + '/gamesave.dat').exists, SAVE);
// The page's fatal message once it shows ('' when none shows within 20 s).
const fatalText = (page) => cameTrue(page, () => !document.getElementById('fatal').hidden, 20000)
    .then((bShown) => (bShown ? page.evaluate(() =>
      document.getElementById('fatal').innerText) : ''));
// The player turns from one tab of the game to another: that one is hidden, this one shown.
async function turnTo(tFrom, tTo) {
  await setHidden(tFrom.page, true);
  await storageSettled(tFrom.page);
  await tTo.page.bringToFront();
  await setHidden(tTo.page, false);
}
// A touch that goes on from a pause; the state once the level plays again (null if it does not).
async function goOn(tTab) {
  await tap(tTab.page, tTab.client, 240, 300);
  return waitFor(tTab.page, (s) => s.level === LEVEL.playing, 8000);
}
// Ends the level with the give-up corner (going on first from a pause); the score it ended with.
async function giveUp(tTab) {
  if ((await status(tTab.page)).level === LEVEL.paused) await goOn(tTab);
  const iScore = (await status(tTab.page)).score;
  await tap(tTab.page, tTab.client, 470, 45);
  await waitFor(tTab.page, (s) => s.level === LEVEL.gameOver, 8000);
  await storageSettled(tTab.page);
  return iScore;
}
// From game over back to the title (game over takes a touch after 2 s).
async function toTitle(tTab) {
  for (let iEnd = Date.now() + 8000; (await status(tTab.page)).state === STATE.game &&
      Date.now() < iEnd;) {
    await tap(tTab.page, tTab.client, 240, 160);
    await sleep(400);
  }
  return waitFor(tTab.page, (s) => s.state === STATE.frontEnd && s.frontEnd === 3, 8000);
}
// At the title: Options, Audio and one of its switches (row 0 "SFX", row 1 "Music"), then, if
// asked, back to the title's first page (the back arrow, twice) with Play lit up again. An item
// other than the lit one is touched twice: the first touch lights it up.
async function turnAudioSwitch(tTab, iRow, bBack) {
  const tTouches = [[MENU_X, 112], [MENU_X, 112], [MENU_X, 136], [MENU_X, [136, 96][iRow]],
    ...(iRow > 0 ? [[MENU_X, 96]] : []), ...(bBack ? [[23, 23], [23, 23], [MENU_X, 148]] : [])];
  for (const [iX, iY] of tTouches) {
    await sleep(300);
    await tap(tTab.page, tTab.client, iX, iY);
  }
  await sleep(300);
  await storageSettled(tTab.page);
}
const settingsOf = (tTab) => tTab.page.evaluate(() => {
  const sPath = '/home/web_user/.config/boughfall/settings.ini';
  return FS.analyzePath(sPath).exists ? FS.readFile(sPath, {encoding: 'utf8'}) : '';
});

// ---------------------------------------------------------------------------------------------
// A phone: the title, Play, throws, the tilt either way round, a second finger, hiding the page
// and reloading it, the high score, the sound.
{
  const {context, page, client, errors} = await openPage(PHONE);
  const tTitle = await waitFor(page, (s) => s.frontEnd === 3);
  check('the title appears', tTitle !== null);
  check('the page loads with no page error', errors.length === 0, errors.join('; '));
  const sTitle = await page.title();
  check('the page is titled Boughfall', sTitle === 'Boughfall', sTitle);
  // Counting the sound engine's plays from here on (emscripten's OpenAL, read from the page).
  const sAudioBefore = await page.evaluate(() => {
    // Sounds asked for before the first touch are stopped when it lets the page sound; those
    // asked for from the touch on are heard, even before the audio context has resumed.
    window.__plays = 0;
    let bTouched = false;
    window.addEventListener('touchstart', () => { bTouched = true; }, {capture: true});
    const tOriginal = AL.setSourceState;
    AL.setSourceState = function(tSource, iState) {
      if (iState === 0x1012 && bTouched) window.__plays++;
      return tOriginal.apply(this, arguments);
    };
    const tContext = Object.values(AL.contexts)[0];
    return tContext ? tContext.audioCtx.state : 'none';
  });

  const tLevel = await intoALevel(page, client);
  check('a touch on Play starts a level', tLevel !== null);
  const sAudioAfter = await audioState(page);
  check('the sound is silent before the first touch and runs after it',
      sAudioBefore !== 'running' && sAudioAfter === 'running', `${sAudioBefore} -> ${sAudioAfter}`);

  // Throws until a catch has scored.
  const {tNow, iThrows} = await throwUntil(page, client, (iScore) => iScore > 0);
  check('touch drags throw pommos into their baskets and score', tNow && tNow.score > 0,
      `${iThrows} throws, score ${tNow && tNow.score}`);
  await sleep(3000);  // a few more pommos on the tree for the picture
  await page.screenshot({path: path.join(SHOTS, 'web-phone.png')});
  const iPlays = await page.evaluate(() => window.__plays);
  check('the sound engine\'s sources play after the first touch', iPlays > 0, `${iPlays} plays`);

  // The tilt: the device leaned 20 degrees to the right (then the left), with the screen turned
  // a quarter either way; the reading is in the device's own frame.
  const fG = 9.80665;
  const fLean = 20 * Math.PI / 180;
  for (const iAngle of [90, 270]) {
    await client.send('Emulation.setDeviceMetricsOverride', {width: PHONE.width,
      height: PHONE.height, deviceScaleFactor: PHONE.deviceScaleFactor, mobile: true,
      screenOrientation: {type: iAngle === 90 ? 'landscapePrimary' : 'landscapeSecondary',
        angle: iAngle}});
    for (const iSide of [1, -1]) {
      // Up on the screen tilted by the lean, in the screen's frame, then in the device's.
      const fScreenX = -Math.sin(iSide * fLean) * fG;
      const fScreenY = Math.cos(iSide * fLean) * fG;
      const tDevice = iAngle === 90 ? {x: fScreenY, y: -fScreenX} : {x: -fScreenY, y: fScreenX};
      // Readings as a device sends them, until the game's smoothed tilt has come round (at 60
      // frames a second about a second; a slow machine draws, and so polls, less often).
      let fGravity = 0;
      for (let iEnd = Date.now() + 15000, i = 0; Date.now() < iEnd; i++) {
        await page.evaluate((t) => window.dispatchEvent(new DeviceMotionEvent('devicemotion',
            {accelerationIncludingGravity: {x: t.x, y: t.y, z: 0}, interval: 16})), tDevice);
        await sleep(50);
        if (i % 5 === 4) {
          const tTilted = await status(page);
          fGravity = tTilted.gravity ? tTilted.gravity[0] : 0;
          if (Math.sign(fGravity) === iSide) break;
        }
      }
      check(`a lean to the ${iSide > 0 ? 'right' : 'left'} with the screen turned ${iAngle} ` +
          'degrees leans the gravity that way', Math.sign(fGravity) === iSide,
          `gravity x ${fGravity}`);
    }
  }
  await client.send('Emulation.clearDeviceMetricsOverride');
  await page.setViewport(PHONE);

  // A second finger while the first drags: the game pauses (and lets go), and is not confused.
  await waitFor(page, (s) => s.level === LEVEL.playing, 8000);
  const tBefore = await status(page);
  const a = await toPage(page, 240, 200);
  const b = await toPage(page, 100, 100);
  await touch(client, 'touchStart', [{...a, id: 1}]);
  await sleep(50);
  await touch(client, 'touchStart', [{...a, id: 1}, {...b, id: 2}]);
  await sleep(50);
  await touch(client, 'touchMove', [{x: a.x + 30, y: a.y + 30, id: 1}, {...b, id: 2}]);
  await sleep(50);
  await touch(client, 'touchEnd', [{...b, id: 2}]);
  await touch(client, 'touchEnd', []);
  const tSecond = await waitFor(page, (s) => s.level === LEVEL.paused, 8000);
  check('a second finger pauses the level', tSecond !== null,
      `mode ${tBefore.level} -> ${tSecond && tSecond.level}`);
  // A finger held on the pause button (which pauses again), then a second one: still paused.
  const c = await toPage(page, 28, 272);
  await touch(client, 'touchStart', [{...c, id: 1}]);
  await sleep(100);
  await touch(client, 'touchStart', [{...c, id: 1}, {...b, id: 2}]);
  await sleep(300);
  const tHeld = await status(page);
  await touch(client, 'touchEnd', [{...c, id: 1}]);
  await touch(client, 'touchEnd', []);
  check('a second finger never takes the level out of its pause', tHeld.level === LEVEL.paused,
      `mode ${tHeld.level}`);
  check('a touch goes on after it', await goOn({page, client}) !== null);

  // Hidden: the level is saved and paused; a reload brings it back paused with its score.
  await sleep(500);
  await setHidden(page, true);
  const tHidden = await status(page);
  const bStored = await storageSettled(page);
  const bSaved = await savedGameExists(page);
  check('hiding the page pauses the level and saves it', tHidden.level === LEVEL.paused &&
      bSaved && bStored, `mode ${tHidden.level}, saved ${bSaved}, stored ${bStored}`);
  const iFrozen = tHidden.frame;
  await sleep(500);
  check('nothing runs while the page is hidden', (await status(page)).frame === iFrozen);
  check('a hidden page is silent', await soundCameTo(page, 'suspended'), await audioState(page));
  // Shown again: the level goes on, paused, and the file written for it goes (the next hide
  // writes it again), so a later visit never brings back a game that went on.
  await setHidden(page, false);
  await storageSettled(page);
  const tShown = await waitFor(page, (s) => s.frame > iFrozen, 8000) || {};
  const bGone = !(await savedGameExists(page));
  const bSounding = await soundCameTo(page, 'running');
  check('shown again, the level goes on paused, its file goes and the sound is back',
      tShown.level === LEVEL.paused && bGone && bSounding,
      `mode ${tShown.level}, file gone ${bGone}, sound ${await audioState(page)}`);
  await setHidden(page, true);
  await storageSettled(page);
  // Another tab of the game, opened while this one is hidden with its level: that level stays
  // this tab's, the other starts at the title.
  const tabA = {page, client};
  const tabB = await openTab(context, PHONE);
  const tOther = await waitFor(tabB.page, (s) => s.frontEnd === 3 || s.state === STATE.game);
  check('a second tab opened while the first one is hidden starts at the title: the hidden ' +
      'tab\'s level stays its own', tOther && tOther.state === STATE.frontEnd,
      tOther ? `state ${tOther.state}` : 'no title');
  await page.bringToFront();
  await page.reload();
  const tBack = await waitFor(page, (s) => s.state === STATE.game);
  check('a reload brings the level back paused with the same score', tBack !== null &&
      tBack.level === LEVEL.paused && tBack.score === tHidden.score && tBack.lost === tHidden.lost,
      tBack ? `mode ${tBack.level}, score ${tBack.score} (was ${tHidden.score})` : 'no level');
  const bConsumed = !(await savedGameExists(page));
  check('the resumed saved game is taken up', bConsumed);

  // Two tabs, each with a level under way: the second one ends its game higher, then the first,
  // whose copy of the high score is older, ends lower; the higher score is kept. And each turns
  // off one audio switch, the first tab after the second, having read the settings before the
  // second changed them: both stay off.
  await goOn(tabA);
  const iScoreA = (await status(page)).score;
  await turnTo(tabA, tabB);
  await turnAudioSwitch(tabB, 0, true);
  await intoALevel(tabB.page, tabB.client);
  await throwUntil(tabB.page, tabB.client, (iScore) => iScore > iScoreA, 20);  // upwards: double
  const iEndedB = await giveUp(tabB);
  await turnTo(tabB, tabA);
  const iEndedA = await giveUp(tabA);
  await toTitle(tabA);
  await turnAudioSwitch(tabA, 1, false);
  await tabB.page.close();
  await page.reload();
  const tAgain = await intoALevel(page, client);
  check('two tabs: the higher score survives a reload, the lower one ended later never replaces it',
      tAgain !== null && tAgain.highScore === iEndedB && iEndedB > iEndedA && iEndedA > 0,
      `high score ${tAgain && tAgain.highScore}; the second tab ended with ${iEndedB}, then ` +
      `the first with ${iEndedA}`);
  const sSettings = await settingsOf(tabA);
  check('two tabs\' settings: each tab\'s switch stays as it left it',
      /^music=off$/m.test(sSettings) && /^effects=off$/m.test(sSettings),
      sSettings.replace(/\n/g, ' '));
  errors.push(...tabB.errors);
  check('no page error in the whole game', errors.length === 0, errors.join('; '));
  await context.close();
}

// ---------------------------------------------------------------------------------------------
// A data file that does not arrive: the game's own line, on the page, not a frozen canvas.
{
  tMissing.add('/Data/Fonts/Boughfall.fnt');
  const {context, page} = await openPage(DESKTOP);
  const sText = await fatalText(page);
  check('a missing data file shows its message on the page',
      /Error - File not found: Fonts\/Boughfall\.fnt/.test(sText),
      sText.replace(/\s+/g, ' ').slice(0, 160));
  tMissing.clear();
  await context.close();
}
// No IndexedDB (a private window, say): the game plays on and the page says so once.
{
  const {context, page} = await openPage(DESKTOP, '', (tClient, tPage) =>
    tPage.evaluateOnNewDocument(() => {
      Object.defineProperty(window, 'indexedDB', {value: undefined});
    }));
  const tTitle = await waitFor(page, (s) => s.frontEnd === 3);
  const tSaid = await page.evaluate(() => (window.boughfall.diagnostics || [])
      .filter((s) => /Saves are not kept/.test(s)));
  check('without IndexedDB the game plays on and says so once', tTitle !== null &&
      tSaid.length === 1, tSaid.join(' '));
  await context.close();
}

// A browser without WebGL: a message, not a blank page.
{
  const tNoGL = await puppeteer.launch({executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-3d-apis', ...QUIET]});
  const page = await tNoGL.newPage();
  await page.goto(BASE);
  const sText = await fatalText(page);
  check('without WebGL the page says so', /needs WebGL/.test(sText), sText.slice(0, 60));
  await tNoGL.close();
}

// ---------------------------------------------------------------------------------------------
// A desktop window: the screenshot, and the figures measured side by side.
const tFigures = {};
{
  // What Chromium transfers on a first visit (gzip), up to a level in play.
  let iBytes = 0;
  const {context, page, client} = await openPage(DESKTOP, '', async (tClient) => {
    tClient.on('Network.loadingFinished', (event) => { iBytes += event.encodedDataLength; });
    await tClient.send('Network.enable');
  });
  await waitFor(page, (s) => s.frontEnd === 3);
  const tTimes = await page.evaluate(() => window.boughfall.timings);
  tFigures.firstFrame = tTimes.firstFrame;
  tFigures.title = tTimes.title;
  await sleep(2000);  // the title's pieces slide in
  await page.screenshot({path: path.join(SHOTS, 'web-desktop.png')});
  await intoALevel(page, client);
  await sleep(2000);
  tFigures.bytes = iBytes;
  await client.send('Network.disable');
  // Frames a second and the browser's CPU while the level plays, beside the bare page.
  const tStart = await status(page);
  const fCpu = await browserCpu(5000);
  const tEnd = await status(page);
  tFigures.fps = (tEnd.frame - tStart.frame) / 5;
  tFigures.cpuGame = fCpu;
  // No readings on a desktop: the arrow keys lean the device, as on the desktop build.
  for (const [sKey, iSide] of [['ArrowRight', 1], ['ArrowLeft', -1]]) {
    await page.keyboard.down(sKey);
    const tLeaned = await waitFor(page, (t) => t.gravity && Math.sign(t.gravity[0]) === iSide,
        15000);
    await page.keyboard.up(sKey);
    check(`${sKey} leans the gravity that way without an accelerometer`, tLeaned !== null,
        tLeaned ? `gravity x ${tLeaned.gravity[0]}` : 'no lean');
  }
  // Installed for offline play: once the service worker has the site, it loads with no network.
  const bReady = await page.evaluate(() => Promise.race([
    navigator.serviceWorker.ready.then((tRegistration) => !!tRegistration.active),
    new Promise((resolve) => setTimeout(() => resolve(false), 20000))]));
  const tManifest = await page.evaluate(() => fetch('manifest.webmanifest').then((r) => r.json()));
  await page.setOfflineMode(true);
  await page.reload();
  const tOffline = await waitFor(page, (s) => s.frontEnd === 3);
  await page.setOfflineMode(false);
  check('the service worker keeps the site: it loads offline', bReady && tOffline !== null);
  check('the manifest opens the game fullscreen in landscape, with its icons',
      tManifest.display === 'fullscreen' && tManifest.orientation === 'landscape' &&
      tManifest.icons.map((t) => t.sizes).join() === '192x192,512x512');
  await context.close();
  const bare = await openPage(DESKTOP, 'test/bare.html');
  await sleep(1000);
  const iBareStart = await bare.page.evaluate(() => window.bareFrames);
  tFigures.cpuBare = await browserCpu(5000);
  tFigures.fpsBare = (await bare.page.evaluate(() => window.bareFrames) - iBareStart) / 5;
  await bare.context.close();
}

// A store link, with the mouse as the finger: two clicks on "Winterfall" open its page in a new
// tab (the first lights the item up, the second opens it).
{
  const {context, page} = await openPage(DESKTOP);
  await waitFor(page, (s) => s.frontEnd === 3);
  await sleep(1500);
  const tItem = await toPage(page, MENU_X, 78);
  const tOpened = context.waitForTarget((t) => /appredirect.*winterfall/.test(t.url()),
      {timeout: 15000}).then((t) => t.url(), () => '');
  for (let i = 0; i < 2; i++) {
    await page.mouse.click(tItem.x, tItem.y, {delay: 40});
    await sleep(600);
  }
  const sUrl = await tOpened;
  check('a store link opens its page in a new tab', sUrl !== '', sUrl);
  await context.close();
}

// The CPU of every Chromium process over a while, in % of one core.
async function browserCpu(iMs) {
  const iRoot = browser.process().pid;
  const ticks = () => {
    // Every process's parent and CPU ticks, read once.
    const tProcesses = new Map();
    for (const sPid of fs.readdirSync('/proc').filter((s) => /^\d+$/.test(s))) {
      try {
        const sStat = fs.readFileSync(`/proc/${sPid}/stat`, 'utf8');
        const tFields = sStat.slice(sStat.lastIndexOf(')') + 2).split(' ');
        tProcesses.set(Number(sPid), {iParent: Number(tFields[1]),
          iTicks: Number(tFields[11]) + Number(tFields[12])});
      } catch (e) {
        // a process that ended meanwhile
      }
    }
    // Chromium's own processes: the browser and everything below it.
    let iTotal = 0;
    for (const [iPid, tProcess] of tProcesses) {
      let iAt = iPid;
      for (let i = 0; i < 6 && iAt !== iRoot && tProcesses.has(iAt); i++) {
        iAt = tProcesses.get(iAt).iParent;
      }
      if (iAt === iRoot) iTotal += tProcess.iTicks;
    }
    return iTotal;
  };
  const iBefore = ticks();
  await sleep(iMs);
  return (ticks() - iBefore) / (iMs / 1000);  // clock ticks are 1/100 s: per cent of a core
}

// ---------------------------------------------------------------------------------------------
// One script, natively and in the browser: the same game to the end, pictures that agree.
function decodePng(tFile) {
  let iAt = 8;
  let iWidth = 0;
  let iHeight = 0;
  let iType = 6;
  const tData = [];
  while (iAt < tFile.length) {
    const iLength = tFile.readUInt32BE(iAt);
    const sType = tFile.toString('latin1', iAt + 4, iAt + 8);
    const tChunk = tFile.subarray(iAt + 8, iAt + 8 + iLength);
    if (sType === 'IHDR') {
      iWidth = tChunk.readUInt32BE(0);
      iHeight = tChunk.readUInt32BE(4);
      iType = tChunk[9];
    } else if (sType === 'IDAT') {
      tData.push(tChunk);
    }
    iAt += 12 + iLength;
  }
  const iBytes = iType === 6 ? 4 : 3;
  const tRaw = zlib.inflateSync(Buffer.concat(tData));
  const iStride = iWidth * iBytes;
  const tOut = Buffer.alloc(iStride * iHeight);
  for (let y = 0; y < iHeight; y++) {
    const iFilter = tRaw[y * (iStride + 1)];
    for (let x = 0; x < iStride; x++) {
      const iByte = tRaw[y * (iStride + 1) + 1 + x];
      const a = x >= iBytes ? tOut[y * iStride + x - iBytes] : 0;
      const b = y > 0 ? tOut[(y - 1) * iStride + x] : 0;
      const c = x >= iBytes && y > 0 ? tOut[(y - 1) * iStride + x - iBytes] : 0;
      let iValue = iByte;
      if (iFilter === 1) iValue += a;
      else if (iFilter === 2) iValue += b;
      else if (iFilter === 3) iValue += (a + b) >> 1;
      else if (iFilter === 4) {
        const p = a + b - c;
        const pa = Math.abs(p - a);
        const pb = Math.abs(p - b);
        const pc = Math.abs(p - c);
        iValue += pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
      }
      tOut[y * iStride + x] = iValue & 255;
    }
  }
  return {width: iWidth, height: iHeight, bytes: iBytes, pixels: tOut};
}
function meanDifference(tA, tB) {
  if (tA.width !== tB.width || tA.height !== tB.height) return {mean: Infinity, share: 1};
  let iSum = 0;
  let iDiffering = 0;
  for (let i = 0; i < tA.width * tA.height; i++) {
    let iPixel = 0;
    for (let k = 0; k < 3; k++) {
      iPixel += Math.abs(tA.pixels[i * tA.bytes + k] - tB.pixels[i * tB.bytes + k]);
    }
    iSum += iPixel;
    if (iPixel > 24) iDiffering++;
  }
  return {mean: iSum / (tA.width * tA.height * 3), share: iDiffering / (tA.width * tA.height)};
}
const saveFields = (tFile) => tFile && tFile.length >= 300 ?
  {score: tFile.readInt32LE(8), lost: tFile.readInt32LE(8 + 280), pommos: tFile.readInt32LE(8 + 284),
    size: tFile.length} : null;
const tComparison = {};
{
  const sScript = fs.readFileSync(path.join(HERE, 'compare.txt'), 'utf8');
  const SHOT_NAMES = [...sScript.matchAll(/ shot (\S+)/g)].map((m) => m[1]);
  const sWork = fs.mkdtempSync(path.join(os.tmpdir(), 'bf-compare-'));
  fs.writeFileSync(path.join(sWork, 'script.txt'), sScript);
  const tNative = spawnSync(NATIVE, ['--window', '480x320'], {cwd: sWork, timeout: 300000,
    env: {...process.env, HOME: sWork, XDG_CONFIG_HOME: sWork + '/config',
      XDG_DATA_HOME: sWork + '/data', BOUGHFALL_SCRIPT: sWork + '/script.txt',
      SDL_AUDIODRIVER: 'disk', SDL_DISKAUDIOFILE: '/dev/null'}});
  const sNativeSave = path.join(sWork, 'data/boughfall/Data/gamesave.dat');
  const tNativeSave = fs.existsSync(sNativeSave) ? fs.readFileSync(sNativeSave) : null;

  const {context, page} = await openPage({width: 480, height: 320, deviceScaleFactor: 1},
      '?script=test/compare.txt');
  await page.waitForFunction(() => window.boughfall.ended !== undefined, {timeout: 240000})
      .catch(() => {});
  await storageSettled(page);
  const tRun = await page.evaluate(() => [window.boughfall.timings, window.boughfall.status()]);
  tFigures.fpsSmall = tRun[1].frame / ((tRun[0].ended - tRun[0].firstFrame) / 1000);
  const tFiles = await page.evaluate((tNames, sSave) => {
    const read = (s) => {
      if (!FS.analyzePath(s).exists) return null;
      const tBytes = FS.readFile(s);
      let sText = '';
      for (let i = 0; i < tBytes.length; i += 32768) {
        sText += String.fromCharCode.apply(null, tBytes.subarray(i, i + 32768));
      }
      return btoa(sText);
    };
    return {save: read(sSave + '/gamesave.dat'), shots: tNames.map((s) => read('/' + s))};
  }, SHOT_NAMES, SAVE).catch(() => ({save: null, shots: []}));
  await context.close();
  const tWebSave = tFiles.save ? Buffer.from(tFiles.save, 'base64') : null;
  const tN = saveFields(tNativeSave);
  const tW = saveFields(tWebSave);
  tComparison.native = tN;
  tComparison.web = tW;
  tComparison.identical = tNativeSave && tWebSave && tNativeSave.equals(tWebSave);
  if (tNativeSave && tWebSave && tNativeSave.length === tWebSave.length) {
    // Where the two saved games differ: which 4-byte fields, and by how much as floats.
    const tFields = [];
    for (let i = 0; i + 4 <= tNativeSave.length; i += 4) {
      if (tNativeSave.readInt32LE(i) !== tWebSave.readInt32LE(i)) {
        tFields.push(Math.abs(tNativeSave.readFloatLE(i) - tWebSave.readFloatLE(i)));
      }
    }
    tComparison.differingFields = tFields.length;
    tComparison.largestFloatDifference = tFields.length ? Math.max(...tFields) : 0;
  }
  check('one script plays natively and in the browser to the same score, lost count and pommos',
      tN !== null && tW !== null && tN.score === tW.score && tN.lost === tW.lost &&
      tN.pommos === tW.pommos, `native ${JSON.stringify(tN)}, browser ${JSON.stringify(tW)}, ` +
      `saved games ${tComparison.identical ? 'identical' : 'differ'}`);
  tComparison.shots = SHOT_NAMES.map((sName, i) => {
    const sNativeShot = path.join(sWork, sName);
    if (!fs.existsSync(sNativeShot) || !tFiles.shots[i]) return {name: sName, mean: Infinity};
    const tDiff = meanDifference(decodePng(fs.readFileSync(sNativeShot)),
        decodePng(Buffer.from(tFiles.shots[i], 'base64')));
    return {name: sName, ...tDiff};
  });
  for (const tShot of tComparison.shots) {
    check(`the pictures agree: ${tShot.name}`, tShot.mean < 2,
        `mean difference ${tShot.mean.toFixed(3)}/255, ${(100 * tShot.share).toFixed(2)} % of ` +
        'pixels differ by more than 8/255 a channel');
  }
  fs.rmSync(sWork, {recursive: true, force: true});
}

await browser.close();
server.close();

console.log('\nFigures (this machine, one run):');
console.log(`  bytes transferred, first visit to a level in play: ${tFigures.bytes}`);
console.log(`  navigation to the first drawn frame: ${Math.round(tFigures.firstFrame)} ms`);
console.log(`  navigation to the title: ${Math.round(tFigures.title)} ms`);
console.log(`  frames a second in a level: ${tFigures.fps}; bare WebGL page: ${tFigures.fpsBare}; ` +
    `the compared script at 480 x 320: ${tFigures.fpsSmall.toFixed(1)}`);
console.log(`  Chromium's CPU, level at 1280 x 800: ${tFigures.cpuGame.toFixed(1)} %; ` +
    `bare WebGL page: ${tFigures.cpuBare.toFixed(1)} %`);
console.log(`  comparison: ${JSON.stringify(tComparison)}`);
console.log(`\n${iPassed} passed, ${iFailed} failed`);
process.exit(iFailed === 0 ? 0 : 1);

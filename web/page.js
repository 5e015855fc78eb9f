// The page around the game (the browser host's page side): the canvas, the data's download with
// its progress bar, the save folders in IndexedDB, fullscreen, the game's diagnostics shown on
// the page, a message instead of a blank page when something stops the game, and the service
// worker that keeps the site for offline play. The game itself is boughfall.js/.wasm.
(function () {
  'use strict';

  var tParams = new URLSearchParams(location.search);
  var byId = function (sId) { return document.getElementById(sId); };
  // Where the game keeps its files (emscripten's home folder): saves, and the settings.
  var SAVE_FOLDERS = ['/home/web_user/.local/share/boughfall', '/home/web_user/.config/boughfall'];
  // The game's own lines about missing or damaged data and files: shown on the page too.
  var DIAGNOSTIC = /^(Error - |Failed to load|Font |Unfortunately|TGA |Texture |Boughfall cannot|Boughfall: |Saved game |Cannot |The front end cannot|Saves are not kept|Could not open|Settings: .*(skipped|not a text))|failed assertion/;

  var tLines = [];
  var bStopped = false;
  var tTimings = {start: performance.now()};

  function showFatal(sTitle, sText) {
    if (bStopped) return;
    bStopped = true;
    byId('loading').classList.add('done');
    byId('fatal-title').textContent = sTitle;
    // What went wrong, in the game's own diagnostics (without any, its last lines), then what
    // the page knows.
    var tSaid = window.boughfall.diagnostics || [];
    var tShown = tSaid.length ? tSaid : tLines.slice(-8);
    if (sText) tShown = tShown.concat([sText]);
    byId('fatal-lines').textContent = tShown.join('\n');
    byId('fatal').hidden = false;
  }

  function notice(sLine) {
    var tItem = document.createElement('li');
    tItem.textContent = sLine;
    var tList = byId('notices');
    tList.appendChild(tItem);
    while (tList.children.length > 4) tList.removeChild(tList.firstChild);
    setTimeout(function () { if (tItem.parentNode) tItem.parentNode.removeChild(tItem); }, 12000);
  }

  function print(sLine) {
    console.log(sLine);
    tLines.push(sLine);
    if (tLines.length > 200) tLines.shift();
    if (DIAGNOSTIC.test(sLine)) {
      (window.boughfall.diagnostics = window.boughfall.diagnostics || []).push(sLine);
      notice(sLine);
    }
  }

  function hasWebGL() {
    try {
      var tCanvas = document.createElement('canvas');
      return !!(window.WebGLRenderingContext &&
                (tCanvas.getContext('webgl') || tCanvas.getContext('experimental-webgl')));
    } catch (e) {
      return false;
    }
  }

  function setProgress(iDone, iTotal, sText) {
    byId('progress').style.width = (iTotal > 0 ? Math.min(100, 100 * iDone / iTotal) : 0) + '%';
    byId('status').textContent = sText;
  }

  // The game's data, file by file from data.json, into /Data. A file that cannot be had is left
  // out: the game then says which is missing, in the same words as on a desktop.
  function loadData(done) {
    fetch('data.json').then(function (tResponse) {
      if (!tResponse.ok) throw new Error('data.json: HTTP ' + tResponse.status);
      return tResponse.json();
    }).then(function (tList) {
      var iTotal = tList.reduce(function (i, tFile) { return i + tFile.size; }, 0);
      var iDone = 0;
      var iNext = 0;
      var iRunning = 0;
      var update = function () {
        setProgress(iDone, iTotal, 'Loading… ' + Math.round(iDone / 1048576 * 10) / 10 + ' of ' +
                    Math.round(iTotal / 1048576 * 10) / 10 + ' MB');
      };
      var fetchOne = function (tFile) {
        var iCounted = 0;
        return fetch('Data/' + tFile.path).then(function (tResponse) {
          if (!tResponse.ok) throw new Error('HTTP ' + tResponse.status);
          var tReader = tResponse.body.getReader();
          var tChunks = [];
          var pump = function () {
            return tReader.read().then(function (tRead) {
              if (tRead.done) return tChunks;
              tChunks.push(tRead.value);
              iCounted += tRead.value.length;
              iDone += tRead.value.length;
              update();
              return pump();
            });
          };
          return pump();
        }).then(function (tChunks) {
          var tBytes = new Uint8Array(iCounted);
          var iAt = 0;
          tChunks.forEach(function (tChunk) { tBytes.set(tChunk, iAt); iAt += tChunk.length; });
          var sPath = '/Data/' + tFile.path;
          FS.mkdirTree(sPath.substring(0, sPath.lastIndexOf('/')));
          FS.writeFile(sPath, tBytes);
        }).catch(function (error) {
          console.warn('Download failed: Data/' + tFile.path + ' (' + error.message + ')');
        }).then(function () {
          iDone += Math.max(0, tFile.size - iCounted);
          update();
        });
      };
      var next = function () {
        if (iNext === tList.length && iRunning === 0) return done();
        while (iRunning < 6 && iNext < tList.length) {
          iRunning++;
          fetchOne(tList[iNext++]).then(function () { iRunning--; next(); });
        }
      };
      update();
      next();
    }).catch(function (error) {
      showFatal('Boughfall could not load its data', error.message);
    });
  }

  // A test-only switch: ?script=URL plays a script of the scripted driver (shell/ScriptDriver.h).
  function loadScript(done) {
    var sScript = tParams.get('script');
    if (!sScript) return done();
    fetch(sScript).then(function (tResponse) { return tResponse.text(); }).then(function (sText) {
      FS.writeFile('/script.txt', sText);
      ENV['BOUGHFALL_SCRIPT'] = '/script.txt';
      done();
    }).catch(function (error) { showFatal('The script could not be loaded', error.message); });
  }

  // The service worker keeps the site for offline play; it is registered once the game has drawn
  // its first frame, so that it takes the files from the browser's cache instead of downloading
  // them a second time.
  function registerServiceWorker() {
    if (!('serviceWorker' in navigator) || tParams.has('script') || tParams.has('nosw') ||
        location.protocol === 'file:') {
      return;
    }
    navigator.serviceWorker.register('sw.js').catch(function (error) {
      console.warn('No offline play: ' + error.message);
    });
  }

  function toggleFullscreen() {
    var tRoot = document.documentElement;
    if (document.fullscreenElement || document.webkitFullscreenElement) {
      (document.exitFullscreen || document.webkitExitFullscreen).call(document);
      return;
    }
    var request = tRoot.requestFullscreen || tRoot.webkitRequestFullscreen;
    if (!request) return;
    var tPromise = request.call(tRoot, {navigationUI: 'hide'});
    var lock = function () {
      // Landscape where the browser allows it (most only in fullscreen, some never).
      if (screen.orientation && screen.orientation.lock) {
        screen.orientation.lock('landscape').catch(function () {});
      }
    };
    if (tPromise && tPromise.then) tPromise.then(lock).catch(function () {}); else lock();
  }

  window.boughfall = {
    timings: tTimings,
    status: function () {
      return JSON.parse(Module.ccall('SHELL_WebStatus', 'string', [], []));
    },
    storagePending: function () {
      return Module.hostWebStorage ? Module.hostWebStorage.pending : 0;
    },
  };

  if (!hasWebGL()) {
    showFatal('Boughfall needs WebGL',
              'This browser cannot draw with WebGL (or it is switched off), so the game cannot ' +
              'be shown. Try another browser, or turn on hardware acceleration.');
    return;
  }

  var iSteps = 0;
  var Module = window.Module = {
    canvas: byId('canvas'),
    doNotCaptureKeyboard: true,
    noAudioDecoding: true,  // the music is read from the file system; nothing is preloaded
    print: print,
    printErr: print,
    toggleFullscreen: toggleFullscreen,
    preRun: [function () {
      addRunDependency('boughfall-data');
      var iWaiting = 3;
      var one = function () { if (--iWaiting === 0) removeRunDependency('boughfall-data'); };
      Module.hostWebStorage.init(SAVE_FOLDERS, one);
      loadData(one);
      loadScript(one);
    }],
    postMainLoop: function () {
      if (bStopped) return;
      if (++iSteps === 1) {
        tTimings.firstFrame = performance.now();
        byId('loading').classList.add('done');
        registerServiceWorker();
      }
      if (tTimings.title === undefined && iSteps % 5 === 1) {
        var tStatus = window.boughfall.status();
        if (tStatus.frontEnd >= 2 || tStatus.state !== 1) tTimings.title = performance.now();
      }
    },
    quit: function (iStatus, toThrow) {
      if (iStatus !== 0) showFatal('Boughfall has stopped');
      throw toThrow;
    },
    onAbort: function (what) {
      var bSaid = (window.boughfall.diagnostics || []).length > 0;
      showFatal('Boughfall has stopped', bSaid ? '' : String(what || ''));
    },
    onGameEnded: function (iStatus) {
      tTimings.ended = performance.now();
      window.boughfall.ended = iStatus;
    },
  };

  window.addEventListener('error', function (event) {
    showFatal('Boughfall has stopped', event.message);
  });
  document.addEventListener('contextmenu', function (event) { event.preventDefault(); });
  document.addEventListener('gesturestart', function (event) { event.preventDefault(); });

  var tButton = byId('fullscreen');
  if (document.fullscreenEnabled || document.webkitFullscreenEnabled) {
    tButton.hidden = false;
    tButton.addEventListener('click', function () { toggleFullscreen(); tButton.blur(); });
  }

  var tGame = document.createElement('script');
  tGame.src = 'boughfall.js';
  tGame.onerror = function () { showFatal('Boughfall could not load', 'boughfall.js did not arrive.'); };
  document.body.appendChild(tGame);
})();

// The page's side of the browser host (platform/web): what C++ cannot reach through html5.h.
// The HostWebPage* functions act on the page; HostWebStore* keep the save and settings files in
// IndexedDB, one file at a time, so that two tabs of the game never undo each other's files:
// the last writer wins whole files. (FS.syncfs would copy a whole folder, removing what another
// tab wrote since and putting back older files over newer ones.)

mergeInto(LibraryManager.library, {
  $HostWebStorage__deps: ['$IDBFS', '$FS', '$PATH'],
  $HostWebStorage__postset: 'Module["hostWebStorage"] = HostWebStorage;',
  $HostWebStorage: {
    available: false,
    told: false,
    pending: 0,
    lastSeen: {},  // path -> the stored copy's time, as this tab last read or wrote it
    folders: [],

    // Mounts the folders and lays their stored files back, before the game starts. done() is
    // called whatever happens: without IndexedDB the game plays on with nothing kept.
    init: function(folders, done) {
      HostWebStorage.folders = folders;
      try {
        folders.forEach(function(sFolder) {
          FS.mkdirTree(sFolder);
          FS.mount(IDBFS, {}, sFolder);
        });
      } catch (e) {
        HostWebStorage.fail(e);
        return done();
      }
      // (IDBFS.indexedDB() itself aborts the program when there is none.)
      if (typeof indexedDB === 'undefined' || !indexedDB) {
        HostWebStorage.fail('this browser gives the page no IndexedDB');
        return done();
      }
      FS.syncfs(true, function(err) {
        if (err) {
          HostWebStorage.fail(err);
          return done();
        }
        HostWebStorage.available = true;
        folders.forEach(function(sFolder) { HostWebStorage.note(sFolder); });
        done();
      });
    },

    // Remembers the time of every stored file under a folder, as laid back.
    note: function(sPath) {
      var tStat = FS.stat(sPath);
      if (FS.isDir(tStat.mode)) {
        FS.readdir(sPath).forEach(function(sName) {
          if (sName !== '.' && sName !== '..') HostWebStorage.note(PATH.join2(sPath, sName));
        });
      } else {
        HostWebStorage.lastSeen[sPath] = tStat.mtime.getTime();
      }
    },

    fail: function(error) {
      HostWebStorage.available = false;
      if (HostWebStorage.told) return;
      HostWebStorage.told = true;
      var sWhy = error && error.message ? error.message : String(error);
      out('Saves are not kept in this browser (' + sWhy + '): the game plays on without them');
      if (Module['onStorageLost']) Module['onStorageLost'](sWhy);
    },

    folderOf: function(sPath) {
      var sFound = null;
      HostWebStorage.folders.forEach(function(sFolder) {
        if (sPath.indexOf(sFolder + '/') === 0) sFound = sFolder;
      });
      return sFound;
    },

    // One read-write transaction on a folder's store; the game never waits for it.
    transact: function(sFolder, work) {
      IDBFS.getDB(sFolder, function(err, db) {
        if (err) return HostWebStorage.fail(err);
        var tTransaction;
        try {
          tTransaction = db.transaction([IDBFS.DB_STORE_NAME], 'readwrite');
        } catch (e) {
          return HostWebStorage.fail(e);
        }
        HostWebStorage.pending++;
        tTransaction.oncomplete = function() { HostWebStorage.pending--; };
        tTransaction.onabort = function() {
          HostWebStorage.pending--;
          HostWebStorage.fail(tTransaction.error || 'a write to IndexedDB was refused');
        };
        work(tTransaction.objectStore(IDBFS.DB_STORE_NAME));
      });
    },
  },

  HostWebStoreFile__deps: ['$HostWebStorage'],
  HostWebStoreFile: function(pPath) {
    var sPath = UTF8ToString(pPath);
    var sFolder = HostWebStorage.folderOf(sPath);
    if (!HostWebStorage.available || !sFolder) return;
    HostWebStorage.transact(sFolder, function(tStore) {
      // The folders between the mount and the file go first, so a later start can lay the
      // file back into them.
      var tPaths = [];
      for (var s = PATH.dirname(sPath); s.length > sFolder.length; s = PATH.dirname(s)) {
        tPaths.unshift(s);
      }
      tPaths.push(sPath);
      tPaths.forEach(function(sEntry) {
        IDBFS.loadLocalEntry(sEntry, function(err, entry) {
          if (err) return;
          if (sEntry === sPath) HostWebStorage.lastSeen[sPath] = entry['timestamp'].getTime();
          IDBFS.storeRemoteEntry(tStore, sEntry, entry, function() {});
        });
      });
    });
  },

  HostWebStoreForget__deps: ['$HostWebStorage'],
  HostWebStoreForget: function(pPath) {
    var sPath = UTF8ToString(pPath);
    try {
      FS.unlink(sPath);
    } catch (e) {
      return -1;
    }
    var sFolder = HostWebStorage.folderOf(sPath);
    var iSeen = HostWebStorage.lastSeen[sPath];
    delete HostWebStorage.lastSeen[sPath];
    if (!HostWebStorage.available || !sFolder || iSeen === undefined) return 0;
    // Removed only when it is still the copy this tab last read or wrote: another tab's newer
    // file stays.
    HostWebStorage.transact(sFolder, function(tStore) {
      var tRequest = tStore.get(sPath);
      tRequest.onsuccess = function() {
        var tEntry = tRequest.result;
        if (tEntry && tEntry['timestamp'].getTime() === iSeen) tStore.delete(sPath);
      };
    });
    return 0;
  },

  HostWebPageScreenAngle: function() {
    var tOrientation = screen.orientation;
    if (tOrientation && typeof tOrientation.angle === 'number') return tOrientation.angle;
    return typeof window.orientation === 'number' ? window.orientation : 0;
  },

  // Safari on iOS reports accelerationIncludingGravity pointing the other way from the others.
  HostWebPageMotionInverted: function() {
    if (typeof Module['motionInverted'] === 'boolean') return Module['motionInverted'] ? 1 : 0;
    var sAgent = navigator.userAgent || '';
    var bIos = /iPad|iPhone|iPod/.test(sAgent) ||
               (navigator.platform === 'MacIntel' && navigator.maxTouchPoints > 1);
    return bIos ? 1 : 0;
  },

  $HostWebMotion: {asked: false},
  HostWebPageAskMotionPermission__deps: ['$HostWebMotion'],
  HostWebPageAskMotionPermission: function() {
    if (HostWebMotion.asked || typeof DeviceMotionEvent === 'undefined' ||
        typeof DeviceMotionEvent.requestPermission !== 'function') {
      return;
    }
    HostWebMotion.asked = true;
    DeviceMotionEvent.requestPermission().catch(function() {
      HostWebMotion.asked = false;  // not from a gesture the browser counts: the next touch asks
    });
  },

  HostWebPageToggleFullscreen: function() {
    if (Module['toggleFullscreen']) Module['toggleFullscreen']();
  },

  HostWebPageOpen: function(pUrl) {
    var tWindow = window.open(UTF8ToString(pUrl), '_blank');
    if (!tWindow) return 0;
    try {
      tWindow.opener = null;
    } catch (e) {
    }
    return 1;
  },

  HostWebPageFitCanvas: function() {
    var tCanvas = Module['canvas'];
    var tRect = tCanvas.getBoundingClientRect();
    var fRatio = window.devicePixelRatio || 1;
    var iWidth = Math.max(1, Math.round(tRect.width * fRatio));
    var iHeight = Math.max(1, Math.round(tRect.height * fRatio));
    if (tCanvas.width !== iWidth) tCanvas.width = iWidth;
    if (tCanvas.height !== iHeight) tCanvas.height = iHeight;
  },

  // The host takes the page's input itself (html5.h): SDL's listeners on the canvas would see
  // every touch a second time, and its unload handler would quit the game.
  HostWebPageTakeInput: function() {
    ['touchstart', 'touchend', 'touchmove', 'mousedown', 'mouseup', 'mousemove', 'DOMMouseScroll',
     'mousewheel', 'wheel', 'mouseout'].forEach(function(sName) {
      Module['canvas'].removeEventListener(sName, SDL.receiveEvent, true);
    });
    window.removeEventListener('unload', SDL.receiveEvent);
  },

  HostWebPageCanvasX: function(fClientX) {
    return fClientX - Module['canvas'].getBoundingClientRect().left;
  },

  HostWebPageCanvasY: function(fClientY) {
    return fClientY - Module['canvas'].getBoundingClientRect().top;
  },

  $HostWebAudio: {
    unlocked: false,
    contexts: function() {
      var tContexts = [];
      if (typeof AL !== 'undefined') {
        for (var i in AL.contexts) {
          if (AL.contexts[i] && AL.contexts[i].audioCtx) tContexts.push(AL.contexts[i]);
        }
      }
      return tContexts;
    },
    each: function(work) {
      HostWebAudio.contexts().forEach(function(tContext) { work(tContext.audioCtx); });
      if (typeof SDL !== 'undefined' && SDL.audioContext) work(SDL.audioContext);
    },
  },

  HostWebPageUnlockAudio__deps: ['$HostWebAudio'],
  HostWebPageUnlockAudio: function(bFirst) {
    if (bFirst) {
      // Effects started before the browser let the page sound would all start at once now:
      // they are over, as they would be had they been heard.
      HostWebAudio.contexts().forEach(function(tContext) {
        if (tContext.audioCtx.state === 'running') return;
        for (var i in tContext.sources) {
          var tSource = tContext.sources[i];
          if (tSource && tSource.state === 0x1012 /* AL_PLAYING */) {
            AL.setSourceState(tSource, 0x1014 /* AL_STOPPED */);
          }
        }
      });
    }
    HostWebAudio.unlocked = true;
    if (document.hidden) return;
    HostWebAudio.each(function(tAudio) {
      if (tAudio.state === 'suspended') tAudio.resume();
    });
  },

  HostWebPageSuspendAudio__deps: ['$HostWebAudio'],
  HostWebPageSuspendAudio: function(bSuspend) {
    HostWebAudio.each(function(tAudio) {
      if (bSuspend) {
        if (tAudio.state === 'running') tAudio.suspend();
      } else if (HostWebAudio.unlocked && tAudio.state === 'suspended') {
        tAudio.resume();
      }
    });
  },

  HostWebPageEnded: function(iStatus) {
    if (Module['onGameEnded']) Module['onGameEnded'](iStatus);
  },
});

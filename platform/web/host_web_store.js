// The page's side of the browser host's files (platform/web): "gamesave.dat", "score.dat" and
// "settings.ini" live in emscripten's memory file system, where the game reads and writes them
// as on a desktop, and each file is copied on its own to IndexedDB (a database per folder, laid
// out as IDBFS lays it out) after each change. All the game's tabs share that store, and these
// rules keep them from undoing each other:
// - Every tab learns of the others' writes and removals: a message on a BroadcastChannel, and a
//   read of the whole store each time the tab becomes active again, which the host waits for
//   before the game's next frame. So the copy in memory is current before the game reads it.
//   A file comes into memory whole, between two frames: the game never sees part of one.
// - A write is stored only over the copy this tab last read or wrote. When another tab stored
//   one meanwhile (a race no message could prevent), that newer copy wins and this tab takes it.
// - A file written while the page is being hidden (the level in play, saved then) is parked: it
//   stands for that tab's level as long as the tab lives, which a Web Lock held for the page's
//   life tells. No other tab takes it; once that tab is gone, the first tab to start claims it
//   for itself alone, and resumes it. One level, one owner.
// - A removal removes the stored copy only when it is still the one this tab last read or wrote.
// (FS.syncfs would copy a whole folder, removing what another tab wrote since and putting back
// older files over newer ones.)

mergeInto(LibraryManager.library, {
  $HostWebStorage__deps: ['$IDBFS', '$FS', '$PATH'],
  $HostWebStorage__postset: 'Module["hostWebStorage"] = HostWebStorage;',
  $HostWebStorage: {
    available: false,
    told: false,
    pending: 0,  // transactions and reads of the store under way
    folders: [],
    me: '',  // this tab's name among the game's tabs
    serial: 0,
    seen: {},  // path -> the stamp of the stored copy this tab last read or wrote
    changes: {},  // path -> how many times this tab has written or removed the file
    parking: false,  // the page is being hidden: what is written now is parked
    channel: null,
    refreshing: false,
    waiting: [],  // called when the next read of the store is done
    again: false,

    // Before the game starts: this tab's lock, the stored files laid into memory, the channel.
    // done() is called whatever happens: without IndexedDB the game plays on with nothing kept.
    init: function(folders, done) {
      var S = HostWebStorage;
      S.folders = folders;
      S.me = Date.now().toString(36) + '-' + Math.random().toString(36).slice(2, 10);
      try {
        folders.forEach(function(sFolder) { FS.mkdirTree(sFolder); });
      } catch (e) {
        S.fail(e);
        return done();
      }
      // (IDBFS.indexedDB() itself aborts the program when there is none.)
      if (typeof indexedDB === 'undefined' || !indexedDB) {
        S.fail('this browser gives the page no IndexedDB');
        return done();
      }
      if (navigator.locks) {
        navigator.locks.request(S.lockName(S.me), function() {
          return new Promise(function() {});  // held until the page goes
        }).catch(function() {});
      }
      S.readStore(function(err, tEntries) {
        if (err) {
          S.fail(err);
          return done();
        }
        S.available = true;
        S.layBack(tEntries, done);
      });
      if (typeof BroadcastChannel === 'function') {
        S.channel = new BroadcastChannel('boughfall files');
        S.channel.onmessage = function() { S.refresh(null); };
      }
    },

    fail: function(error) {
      var S = HostWebStorage;
      S.available = false;
      if (S.told) return;
      S.told = true;
      var sWhy = error && error.message ? error.message : String(error);
      out('Saves are not kept in this browser (' + sWhy + '): the game plays on without them');
    },

    lockName: function(sTab) { return 'boughfall tab ' + sTab; },
    // Copies stored before stamps were kept are told apart by their time.
    stampOf: function(tEntry) {
      return tEntry['stamp'] || 'time ' + new Date(tEntry['timestamp']).getTime();
    },
    newStamp: function() { return HostWebStorage.me + ' ' + (++HostWebStorage.serial); },

    folderOf: function(sPath) {
      var sFound = null;
      HostWebStorage.folders.forEach(function(sFolder) {
        if (sPath.indexOf(sFolder + '/') === 0) sFound = sFolder;
      });
      return sFound;
    },

    // Every file of the folders' stores, path -> stored entry; callback(error) if one fails.
    // The read counts as pending until the callback is called.
    readStore: function(callback) {
      var S = HostWebStorage;
      var tEntries = {};
      var iLeft = S.folders.length;
      var bFailed = false;
      S.pending++;
      var failed = function(error) {
        if (!bFailed) {
          S.pending--;
          callback(error || 'a read of IndexedDB was refused');
        }
        bFailed = true;
      };
      S.folders.forEach(function(sFolder) {
        IDBFS.getDB(sFolder, function(err, db) {
          if (err) return failed(err);
          try {
            var tTransaction = db.transaction([IDBFS.DB_STORE_NAME], 'readonly');
            var tCursor = tTransaction.objectStore(IDBFS.DB_STORE_NAME).openCursor();
            tCursor.onsuccess = function() {
              var tAt = tCursor.result;
              if (!tAt) return;
              if (tAt.value && FS.isFile(tAt.value['mode'])) tEntries[tAt.primaryKey] = tAt.value;
              tAt.continue();
            };
            tTransaction.onabort = function() { failed(tTransaction.error); };
            tTransaction.oncomplete = function() {
              if (--iLeft === 0 && !bFailed) {
                S.pending--;
                callback(null, tEntries);
              }
            };
          } catch (e) {
            failed(e);
          }
        });
      });
    },

    // One read-write transaction on a folder's store; finished(true) once it is stored,
    // finished(false) when it was refused. The game never waits for it.
    transact: function(sFolder, work, finished) {
      var S = HostWebStorage;
      IDBFS.getDB(sFolder, function(err, db) {
        if (err) return S.fail(err);
        var tTransaction;
        try {
          tTransaction = db.transaction([IDBFS.DB_STORE_NAME], 'readwrite');
        } catch (e) {
          return S.fail(e);
        }
        S.pending++;
        tTransaction.oncomplete = function() {
          S.pending--;
          finished(true);
        };
        tTransaction.onabort = function() {
          S.pending--;
          S.fail(tTransaction.error || 'a write to IndexedDB was refused');
          finished(false);
        };
        work(tTransaction.objectStore(IDBFS.DB_STORE_NAME));
      });
    },

    // The other tabs hear that a file changed; each reads the store for itself.
    tell: function(sPath) {
      if (HostWebStorage.channel) HostWebStorage.channel.postMessage({path: sPath});
    },

    // A stored copy into this tab's memory, whole; the game hears of it once it runs.
    layDown: function(sPath, tEntry) {
      var S = HostWebStorage;
      var tContents = tEntry['contents'];
      if (!(tContents instanceof Uint8Array) || !S.folderOf(sPath) ||
          PATH.normalize(sPath) !== sPath) {
        out('A stored file that no game wrote is left out: ' + sPath);
        return;
      }
      try {
        FS.mkdirTree(PATH.dirname(sPath));
        FS.writeFile(sPath, tContents);
      } catch (e) {
        out('A stored file could not be laid back: ' + sPath + ' (' + e + ')');
        return;
      }
      S.seen[sPath] = S.stampOf(tEntry);
      S.changed(sPath);
    },

    changed: function(sPath) {
      if (runtimeInitialized) ccall('HostWebStoreChanged', null, ['string'], [sPath]);
    },

    // At the start: every stored file into memory, but a level parked by a tab that is still
    // open stays that tab's, and one parked by a tab that is gone is claimed first.
    layBack: function(tEntries, done) {
      var S = HostWebStorage;
      var tOwners = {};
      Object.keys(tEntries).forEach(function(sPath) {
        var sOwner = tEntries[sPath]['parkedBy'];
        if (sOwner) tOwners[sOwner] = true;
      });
      S.whoIsGone(Object.keys(tOwners), function(tGone) {
        var iLeft = 1;
        var one = function() {
          if (--iLeft === 0) done();
        };
        Object.keys(tEntries).forEach(function(sPath) {
          var tEntry = tEntries[sPath];
          var sOwner = tEntry['parkedBy'];
          if (!sOwner) {
            S.layDown(sPath, tEntry);
          } else if (tGone[sOwner]) {
            iLeft++;
            S.claim(sPath, tEntry, one);
          }
        });
        one();
      });
    },

    // Which of these tabs have ended: their locks are free. A page that has just been reloaded
    // may hold its lock a moment longer, so each is waited for up to a second. Without Web Locks
    // no tab can be known to be open, and all count as gone.
    whoIsGone: function(tTabs, callback) {
      var tGone = {};
      var iLeft = tTabs.length + 1;
      var one = function() {
        if (--iLeft === 0) callback(tGone);
      };
      tTabs.forEach(function(sTab) {
        if (!navigator.locks || typeof AbortController !== 'function') {
          tGone[sTab] = true;
          return one();
        }
        var tAbort = new AbortController();
        var iTimer = setTimeout(function() { tAbort.abort(); }, 1000);
        navigator.locks.request(HostWebStorage.lockName(sTab), {signal: tAbort.signal}, function() {
          tGone[sTab] = true;
        }).catch(function() {}).then(function() {
          clearTimeout(iTimer);
          one();
        });
      });
      one();
    },

    // A level parked by a tab that is gone becomes this tab's, unless another tab starting at
    // the same time claimed it first (the stored copy then differs).
    claim: function(sPath, tEntry, done) {
      var S = HostWebStorage;
      var sStamp = S.stampOf(tEntry);
      var tMine = Object.assign({}, tEntry, {stamp: S.newStamp(), parkedBy: S.me});
      S.transact(S.folderOf(sPath) || S.folders[0], function(tStore) {
        var tRequest = tStore.get(sPath);
        tRequest.onsuccess = function() {
          if (tRequest.result && S.stampOf(tRequest.result) === sStamp) {
            tStore.put(tMine, sPath);
          } else {
            tMine = null;
          }
        };
      }, function(bStored) {
        if (bStored && tMine) S.layDown(sPath, tMine);
        done();
      });
    },

    // Reads the whole store and takes in what other tabs wrote or removed; then done(). One read
    // at a time: a request during a read gets a read of its own after it.
    refresh: function(done) {
      var S = HostWebStorage;
      if (done) S.waiting.push(done);
      if (!S.available) {
        var tNow = S.waiting;
        S.waiting = [];
        return tNow.forEach(function(call) { call(); });
      }
      if (S.refreshing) {
        S.again = true;
        return;
      }
      S.refreshing = true;
      S.again = false;
      var tCalls = S.waiting;
      S.waiting = [];
      var tChanges = Object.assign({}, S.changes);
      S.readStore(function(err, tEntries) {
        if (err) {
          S.fail(err);
        } else {
          S.takeIn(tEntries, tChanges);
        }
        S.refreshing = false;
        tCalls.forEach(function(call) { call(); });
        if (S.again || S.waiting.length) S.refresh(null);
      });
    },

    // tChanges: this tab's own changes when the read began; a file changed here since is this
    // tab's newer one and stays.
    takeIn: function(tEntries, tChanges) {
      var S = HostWebStorage;
      Object.keys(tEntries).forEach(function(sPath) {
        var tEntry = tEntries[sPath];
        if (S.changes[sPath] !== tChanges[sPath]) return;
        if (tEntry['parkedBy'] && tEntry['parkedBy'] !== S.me) return;  // another tab's level
        if (S.stampOf(tEntry) !== S.seen[sPath]) S.layDown(sPath, tEntry);
      });
      Object.keys(S.seen).forEach(function(sPath) {
        if (tEntries[sPath] || S.changes[sPath] !== tChanges[sPath]) return;
        delete S.seen[sPath];  // another tab removed it
        try {
          FS.unlink(sPath);
        } catch (e) {
        }
        S.changed(sPath);
      });
    },
  },

  HostWebStoreFile__deps: ['$HostWebStorage'],
  HostWebStoreFile: function(pPath) {
    var S = HostWebStorage;
    var sPath = UTF8ToString(pPath);
    var sFolder = S.folderOf(sPath);
    if (!S.available || !sFolder) return;
    var tEntry;
    try {
      var tStat = FS.stat(sPath);
      tEntry = {'timestamp': tStat.mtime, 'mode': tStat.mode, 'contents': FS.readFile(sPath)};
    } catch (e) {
      return;
    }
    tEntry['stamp'] = S.newStamp();
    if (S.parking) tEntry['parkedBy'] = S.me;
    var sBase = S.seen[sPath];
    S.seen[sPath] = tEntry['stamp'];
    var iChange = S.changes[sPath] = (S.changes[sPath] || 0) + 1;
    var tNewer = null;
    S.transact(sFolder, function(tStore) {
      // The folders between the store's folder and the file go first, so that a tab of an
      // earlier version (which lays the folder back with FS.syncfs) finds them.
      for (var s = PATH.dirname(sPath); s.length > sFolder.length; s = PATH.dirname(s)) {
        tStore.put({'timestamp': tEntry['timestamp'], 'mode': FS.stat(s).mode}, s);
      }
      var tRequest = tStore.get(sPath);
      tRequest.onsuccess = function() {
        var tStored = tRequest.result;
        if (!tEntry['parkedBy'] && tStored && !tStored['parkedBy'] &&
            S.stampOf(tStored) !== sBase) {
          tNewer = tStored;
        } else {
          tStore.put(tEntry, sPath);
        }
      };
    }, function(bStored) {
      if (!bStored) return;
      if (!tNewer) return S.tell(sPath);
      if (S.changes[sPath] !== iChange) return;  // written here again since
      out(PATH.basename(sPath) + ': another tab of the game had just changed it; its copy is kept');
      S.layDown(sPath, tNewer);
    });
  },

  HostWebStoreForget__deps: ['$HostWebStorage'],
  HostWebStoreForget: function(pPath) {
    var S = HostWebStorage;
    var sPath = UTF8ToString(pPath);
    try {
      FS.unlink(sPath);
    } catch (e) {
      return -1;
    }
    var sFolder = S.folderOf(sPath);
    var sBase = S.seen[sPath];
    delete S.seen[sPath];
    S.changes[sPath] = (S.changes[sPath] || 0) + 1;
    if (!S.available || !sFolder || sBase === undefined) return 0;
    var bRemoved = false;
    S.transact(sFolder, function(tStore) {
      var tRequest = tStore.get(sPath);
      tRequest.onsuccess = function() {
        if (tRequest.result && S.stampOf(tRequest.result) === sBase) {
          tStore.delete(sPath);
          bRemoved = true;
        }
      };
    }, function(bStored) {
      if (bStored && bRemoved) S.tell(sPath);
    });
    return 0;
  },

  HostWebStoreParking__deps: ['$HostWebStorage'],
  HostWebStoreParking: function(bParking) {
    HostWebStorage.parking = !!bParking;
  },

  HostWebStoreRefresh__deps: ['$HostWebStorage'],
  HostWebStoreRefresh: function(iTicket) {
    if (!HostWebStorage.available) return 0;
    var bCalled = false;
    var call = function() {
      if (bCalled) return;
      bCalled = true;
      _HostWebStoreRefreshed(iTicket);
    };
    // A store that does not answer must not hold the game for ever.
    var iTimer = setTimeout(function() {
      out('The saved files of other tabs could not be read in time; the game goes on');
      call();
    }, 3000);
    HostWebStorage.refresh(function() {
      clearTimeout(iTimer);
      call();
    });
    return 1;
  },
});

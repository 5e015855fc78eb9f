// The page's side of the browser host (platform/web): what C++ cannot reach through html5.h.
// The HostWebPage* functions act on the page; the save and settings files' lasting copies are
// kept by host_web_store.js.

mergeInto(LibraryManager.library, {
  HostWebPageScreenAngle: function() {
    var tOrientation = screen.orientation;
    if (tOrientation && typeof tOrientation.angle === 'number') return tOrientation.angle;
    return typeof window.orientation === 'number' ? window.orientation : 0;
  },

  // Safari on iOS reports accelerationIncludingGravity pointing the other way from the others.
  HostWebPageMotionInverted: function() {
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

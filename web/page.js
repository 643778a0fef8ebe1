// The page around the program, run inside the program's script before it starts
// (emcc --pre-js, after web/storage.js and web/keys.js): the WebGL context, touch, the
// layout, the picture folder kept in the browser's storage (IndexedDB), "Otwórz…" and
// files dropped on the page, the folder's list with downloads, the leave question and
// the note over an ended program.
(function () {
  'use strict';
  var FOLDER = '/obrazy';  // web/shell.cpp makes it the program's working directory
  // The start's phases, for bench/web/phases.mjs.
  function phase(name) {
    if (window.performance && performance.mark) performance.mark('tarksen ' + name);
  }
  phase('script');

  var canvas = document.getElementById('canvas');
  var state = document.getElementById('state');
  var list = document.getElementById('files');
  var open = document.getElementById('open');
  var chooser = document.getElementById('chooser');
  var kept = true;       // whether the folder is backed by the browser's storage
  var trouble = false;   // the state line tells of a lasting problem

  function say(text) {
    state.textContent = text;
  }
  function warn(text) {
    trouble = true;
    say(text);
  }

  // SDL draws with its OpenGL ES 2 renderer on WebGL 1. The drawing buffer is kept
  // between frames: alerts are drawn straight over the last frame shown, which
  // WebGL would otherwise have cleared once the browser had shown it.
  Module.canvas = canvas;
  Module.preinitializedWebGLContext = canvas.getContext('webgl', {
    alpha: false, depth: false, stencil: false, antialias: false,
    preserveDrawingBuffer: true
  });
  // Without WebGL the program could not draw at all: it is not started.
  if (!Module.preinitializedWebGLContext) {
    warn('Ta przeglądarka nie daje stronie WebGL, którym program rysuje, więc program ' +
         'nie został uruchomiony. Włącz WebGL (lub przyspieszenie sprzętowe) w ustawieniach ' +
         'przeglądarki albo otwórz stronę w innej przeglądarce.');
    Module.noInitialRun = true;
  }
  // The right button switches screens; the browser's menu must not come up (nor on
  // a long press of a finger).
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  canvas.addEventListener('mousedown', function () { canvas.focus(); });

  // Mouse events made by the page for SDL, which takes them as the browser's own.
  function mouse(type, button, buttons, x, y) {
    canvas.dispatchEvent(new MouseEvent(type, {
      bubbles: true, cancelable: true, button: button, buttons: buttons, clientX: x, clientY: y
    }));
  }

  // The right button's press and release, for the page's button and the two-finger
  // tap. The release comes a moment later, so that a loop that looks at the buttons'
  // state sees the press.
  var rightHeld = false;
  function rightButton() {
    if (rightHeld) return;
    rightHeld = true;
    var r = canvas.getBoundingClientRect(), x = r.left + r.width / 2, y = r.top + r.height / 2;
    mouse('mousedown', 2, 2, x, y);
    setTimeout(function () {
      mouse('mouseup', 2, 0, x, y);
      rightHeld = false;
    }, 80);
  }
  // The button gives the keys back to the program, as a click on the picture would.
  document.getElementById('right').addEventListener('click', function () {
    canvas.focus();
    rightButton();
  });

  // Touch. One finger is the left button: its touches are given to SDL as the mouse's
  // press, moves and release, so that a finger on a pixel draws exactly where the
  // mouse would (SDL's own touch-to-mouse rounds some positions down by a pixel). A
  // tap of two fingers is the right button: two fingers that land and lift without
  // moving, however long they rest (a gesture means nothing else on the picture). A
  // finger that lands alone is held back for a moment, as a second one may follow:
  // then nothing reaches the program and nothing is drawn. If none follows, or the
  // finger moves or lifts, its press and moves so far are handed on in their order
  // and it draws from where it landed. The browser neither scrolls, zooms nor makes
  // up mouse events from these touches.
  var WAIT_MS = 150;   // how long a lone finger waits for a second one
  var SLOP = 12;       // CSS pixels a finger may move and still be waiting or tapping
  var touchState = 'idle';  // 'waiting', 'drawing' or 'gesture' (two fingers)
  var held = [];            // the waiting finger's press and moves: [type, x, y]
  var finger = -1;          // the drawing finger's identifier
  var waitTimer = 0, gestureMoved = false;
  var landed = {};          // where each finger landed, by its identifier

  // A touch's position, kept within the canvas as the mouse's would be while it is
  // over it.
  function inside(t) {
    var r = canvas.getBoundingClientRect();
    return [Math.min(Math.max(t.clientX, r.left), r.right - 1),
            Math.min(Math.max(t.clientY, r.top), r.bottom - 1)];
  }
  function own(list) {
    for (var i = 0; i < list.length; i++) if (list[i].identifier === finger) return list[i];
    return null;
  }
  function moved(e) {
    var far = false;
    for (var i = 0; i < e.changedTouches.length; i++) {
      var t = e.changedTouches[i];
      if (e.type === 'touchstart') landed[t.identifier] = [t.clientX, t.clientY];
      else if (e.type === 'touchmove' && landed[t.identifier] &&
               (Math.abs(t.clientX - landed[t.identifier][0]) > SLOP ||
                Math.abs(t.clientY - landed[t.identifier][1]) > SLOP))
        far = true;
    }
    return far;
  }
  function startGesture() {
    clearTimeout(waitTimer);
    held = [];
    touchState = 'gesture';
    gestureMoved = false;
  }
  function handOn() {
    clearTimeout(waitTimer);
    touchState = 'drawing';
    held.forEach(function (m) {
      if (m[0] === 'mousedown') mouse('mousemove', 0, 0, m[1], m[2]);
      mouse(m[0], 0, m[0] === 'mouseup' ? 0 : 1, m[1], m[2]);
    });
    held = [];
  }
  // Runs first for every touch event of the page (window, capture phase).
  function onTouch(e) {
    if (touchState === 'idle' && (e.type !== 'touchstart' || e.target !== canvas)) return;
    e.preventDefault();
    e.stopImmediatePropagation();  // SDL sees no touches, only what is made of them
    var far = moved(e), last = e.touches.length === 0, t, p;
    if (touchState === 'idle') {
      if (e.touches.length > 1) {
        startGesture();
      } else {
        touchState = 'waiting';
        finger = e.changedTouches[0].identifier;
        p = inside(e.changedTouches[0]);
        held = [['mousedown', p[0], p[1]]];
        waitTimer = setTimeout(handOn, WAIT_MS);
        return;
      }
    } else if (touchState === 'waiting') {
      if (e.type === 'touchstart') {  // a second finger: a gesture, not a stroke
        startGesture();
      } else {
        if ((t = own(e.changedTouches))) {
          p = inside(t);
          held.push([e.type === 'touchmove' ? 'mousemove' : 'mouseup', p[0], p[1]]);
        }
        if (far || e.type !== 'touchmove') handOn();
        if (last) touchState = 'idle';
        return;
      }
    } else if (touchState === 'drawing') {
      if ((t = own(e.changedTouches))) {
        p = inside(t);
        if (e.type === 'touchmove') mouse('mousemove', 0, 1, p[0], p[1]);
        else mouse('mouseup', 0, 0, p[0], p[1]);
      }
      if (last) touchState = 'idle';
      return;
    }
    // A gesture: nothing reaches the program; a tap gives the right button.
    if (far) gestureMoved = true;
    if (last) {
      touchState = 'idle';
      landed = {};
      if (e.type === 'touchend' && !gestureMoved) rightButton();
    }
  }
  ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (type) {
    window.addEventListener(type, onTouch, {capture: true, passive: false});
  });

  // The picture at the largest whole multiple of 640x400 that fits the window less the
  // strip of the page's controls: below the picture (STRIP high), or beside it (SIDE
  // wide) where that gives a larger multiple. What the strip holds never changes the
  // scale: the file list scrolls in its own box. A window narrower than the picture
  // shows it scaled down to its width, with square pixels; SDL takes pointer positions
  // in the canvas's own pixels whatever its size on the page.
  var MARGIN = 8, STRIP = 120, SIDE = 352;
  function fit() {
    var w = document.documentElement.clientWidth - 2 * MARGIN;
    var h = window.innerHeight - 2 * MARGIN;
    var below = Math.min(w / 640, (h - STRIP - MARGIN) / 400);
    var beside = Math.min((w - SIDE - MARGIN) / 640, h / 400);
    var side = beside >= 1 && Math.floor(beside) > Math.floor(below);
    var s = side ? Math.floor(beside) : below >= 1 ? Math.floor(below) : Math.min(1, w / 640);
    document.body.classList.toggle('side', side);
    document.body.classList.toggle('narrow', w < 640);
    canvas.style.width = 640 * s + 'px';
    canvas.style.height = 400 * s + 'px';
    // Narrow, the strip takes the rest of the window's height, stacked.
    document.getElementById('strip').style.height =
        (side ? 400 * s : w < 640 ? Math.max(STRIP, h - 400 * s - MARGIN) : STRIP) + 'px';
  }
  window.addEventListener('resize', fit);
  fit();

  // The program's files are asked for with the page's version, as the page's script
  // was: the offline copy (web/sw.js) holds them under those names.
  var version = (document.currentScript && document.currentScript.src.match(/\?[^#]*/)) || [''];
  Module.locateFile = function (path, dir) { return dir + path + version[0]; };

  Module.print = function (text) { console.log(text); };
  Module.printErr = function (text) { console.warn(text); };

  // The font is fetched while the program loads; the program reads it from /. If it
  // cannot be had, the program says so on the console and runs without text.
  var font = fetch('BASFont.bmp' + version[0]).then(function (r) {
    if (!r.ok) throw new Error(r.status + ' ' + r.statusText);
    return r.arrayBuffer();
  });

  // The folder's database is opened while the program downloads and compiles, as soon
  // as this script has run and IDBFS exists: creating it at a first visit takes a
  // while (Firefox about 0.1 s). IDBFS keeps the connection for the folder's first
  // read, which has to wait for preRun (files are written into the program's memory).
  var hasIndexedDB = (function () {
    try {
      return !!window.indexedDB;
    } catch (e) {  // a page that may keep nothing is refused even the look
      return false;
    }
  })();
  var opened = Promise.resolve().then(function () {
    if (!hasIndexedDB) return;
    return new Promise(function (done) {
      IDBFS.getDB(FOLDER, function () { done(); });  // a failure shows at the read
    });
  });

  // The recovery copy's store and locks (web/recovery.js), made ready while the program
  // downloads: the program asks for the copies left at its start.
  var recoveryReady = new Promise(function (done) { recovery.prepare(done); });

  Module.preRun = [function () {
    addRunDependency('recovery');
    recoveryReady.then(function () {
      phase('recovery');
      removeRunDependency('recovery');
    });
    addRunDependency('font');
    font.then(function (b) {
      FS.writeFile('/BASFont.bmp', new Uint8Array(b));
      phase('font');
    }).catch(function (e) {
      console.warn('BASFont.bmp: ' + e.message);
    }).then(function () {
      removeRunDependency('font');
    });

    FS.mkdir(FOLDER);
    if (!hasIndexedDB) {
      unkept('this browser has none');  // the folder stays in memory
      watch();
      return;
    }
    addRunDependency('folder');
    opened.then(function () {
      try {
        FS.mount(IDBFS, {}, FOLDER);
        FS.syncfs(true, function (err) {
          phase('folder');
          if (err) unkept(err);
          watch();
          removeRunDependency('folder');
        });
      } catch (e) {
        unkept(e);
        watch();
        removeRunDependency('folder');
      }
    });
  }];

  Module.monitorRunDependencies = function (left) { phase('waiting for ' + left); };
  Module.onRuntimeInitialized = function () {
    phase('main');
    showFiles();
    if (!trouble) say('');
    setTimeout(keepOffline, 0);  // once the program has drawn its first frame
  };

  // The service worker that keeps this build for use without a network, and makes the
  // page one a browser offers to install. A page served without one still works.
  function keepOffline() {
    if (!('serviceWorker' in navigator)) return;
    navigator.serviceWorker.register('sw.js').catch(function (e) {
      console.warn('No copy for use offline: ' + (e && e.message ? e.message : e));
    });
  }

  // Once the program has ended, its last frame is covered by a note and a button that
  // starts it again (the page loaded anew: the folder is kept).
  var ended = false;  // the program has ended or stopped on an error
  function end(text) {
    ended = true;
    warn(text);
    document.getElementById('coverText').textContent = text;
    document.getElementById('cover').hidden = false;
    document.getElementById('restart').focus();
  }
  document.getElementById('restart').addEventListener('click', function () {
    location.reload();
  });
  Module.onExit = function () {
    end('Program zakończył pracę.');
  };
  Module.onAbort = function (what) {
    if (typeof WebAssembly !== 'object') {
      warn('Ta przeglądarka nie obsługuje WebAssembly, w którym działa program. Otwórz ' +
           'stronę w nowszej przeglądarce albo włącz WebAssembly w jej ustawieniach.');
      ended = true;
      return;
    }
    end('Program zatrzymał się na błędzie: ' + what + '.');
  };

  // Whether the program has taken every input event given to it (web/shell.cpp), or
  // takes no more: what drives the page waits for it before its next step, so that
  // each step reaches the loop it is meant for, however busy the machine is.
  Module.inputTaken = function () {
    return ended || !Module.calledRun || Module._SDLInputPending() <= 0;
  };

  function unkept(err) {
    kept = false;
    console.warn('IndexedDB: ' + (err && err.message ? err.message : err));
    warn('Ta przeglądarka nie daje stronie pamięci: pliki w ' + FOLDER +
         ' przetrwają tylko do zamknięcia strony.');
  }

  // Whatever changes in the folder is stored file by file (web/storage.js) and listed.
  function inFolder(path) {
    return path.indexOf(FOLDER + '/') === 0;
  }
  // The file the program saved last, marked in the list with a note under the controls.
  // The page's own copies and other tabs' changes are not the program's saves.
  var saved = '';
  var copying = false;  // the page is writing files it was given into the folder
  function savedBy(path) {
    if (copying || (kept && folderStore.applying())) return;
    saved = path.slice(FOLDER.length + 1);
    document.getElementById('note').textContent = 'Zapisano ' + saved + ' w ' + FOLDER +
      '; przycisk „Pobierz” przy nim zapisze go na tym komputerze.';
  }
  function changed(path) {
    if (kept) folderStore.note(path);
    setTimeout(showFiles, 0);
  }
  // Calls fn with the arguments of every call of the file system's routine name
  // that succeeds: the program's writes, renames and deletions pass through them.
  function after(name, fn) {
    var routine = FS[name];
    FS[name] = function () {
      var result = routine.apply(FS, arguments);
      fn.apply(null, arguments);
      return result;
    };
  }
  function watch() {
    after('close', function (stream) {
      if ((stream.flags & 3) && inFolder(stream.path)) {  // opened for writing
        savedBy(stream.path);
        changed(stream.path);
      }
    });
    after('rename', function (from, to) {
      if (inFolder(from)) changed(from);
      if (inFolder(to)) {
        savedBy(to);
        changed(to);
      }
    });
    after('unlink', function (path) {
      if (!inFolder(path)) return;
      if (path === FOLDER + '/' + saved) {  // the saved file is gone: nothing to point to
        saved = '';
        document.getElementById('note').textContent = '';
      }
      changed(path);
    });
    if (!kept) return;
    folderStore.share(FOLDER, {
      busy: function () {
        if (!trouble) say('Zapisywanie ' + FOLDER + ' w przeglądarce…');
      },
      done: function () {
        if (!trouble) say('');
      },
      failed: function (err) {
        warn('Nie udało się zapisać ' + FOLDER + ' w przeglądarce: ' + (err && err.message || err));
      },
      changed: showFiles,
    });
  }

  // Leaving would lose a picture with changes not saved (the title's mark), or a change
  // of the folder not yet stored: the browser asks first.
  window.addEventListener('beforeunload', function (e) {
    var unsaved = Module.calledRun && !ended && Module._PaintUnsaved();
    if (!unsaved && !(kept && folderStore.busy())) return;
    e.preventDefault();
    e.returnValue = '';  // what older browsers ask for
  });

  // A hidden page may be ended without a word (a phone's browser does so to tabs in the
  // background): the recovery copy is brought up to date first.
  document.addEventListener('visibilitychange', function () {
    if (document.visibilityState === 'hidden' && Module.calledRun && !ended) Module._PaintHidden();
  });

  // Files given to the page ("Open…", or dropped on it) are copied into the folder under
  // their own names, and the last of them goes to the program as a file dropped on its
  // window: a picture is loaded, anything else gets the program's alert.
  function take(files) {
    if (!files.length) return;
    Promise.all(files.map(function (f) {
      return f.arrayBuffer().then(function (b) {
        if (new TextEncoder().encode(f.name).length > 255)
          throw new Error(f.name + ': nazwa jest dłuższa niż 255 bajtów');
        copying = true;
        try {
          FS.writeFile(FOLDER + '/' + f.name, new Uint8Array(b));
        } finally {
          copying = false;
        }
      });
    })).then(function () {
      if (ended || !Module.calledRun) return;
      var path = allocateUTF8(FOLDER + '/' + files[files.length - 1].name);
      Module._SDLDropFile(path);
      _free(path);
      canvas.focus();  // the keys go to what the program shows now: the picture or an alert
    }).catch(function (e) {
      say('Nie udało się skopiować ' + (e.message || e));
    });
  }
  open.addEventListener('click', function () { chooser.click(); });
  chooser.addEventListener('change', function () {
    var files = Array.prototype.slice.call(chooser.files);
    chooser.value = '';
    take(files);
  });
  // Files dragged from the computer onto the page; nothing else dragged is taken.
  function carriesFiles(e) {
    return e.dataTransfer && Array.prototype.indexOf.call(e.dataTransfer.types, 'Files') >= 0;
  }
  document.addEventListener('dragover', function (e) {
    if (!carriesFiles(e)) return;
    e.preventDefault();
    e.dataTransfer.dropEffect = 'copy';
  });
  document.addEventListener('drop', function (e) {
    if (!carriesFiles(e)) return;
    e.preventDefault();
    take(Array.prototype.slice.call(e.dataTransfer.files));
  });

  function download(name) {
    var data;
    try {
      data = FS.readFile(FOLDER + '/' + name);
    } catch (e) {
      say('Nie udało się odczytać ' + name);
      return;
    }
    var url = URL.createObjectURL(new Blob([data], {type: 'application/octet-stream'}));
    var a = document.createElement('a');
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(function () { URL.revokeObjectURL(url); }, 60000);
  }

  function remove(name) {
    if (!confirm('Usunąć ' + name + ' z tej przeglądarki?')) return;
    try {
      FS.unlink(FOLDER + '/' + name);
    } catch (e) {
      say('Nie udało się usunąć ' + name);
    }
  }

  function button(text, title, action) {
    var b = document.createElement('button');
    b.textContent = text;
    b.title = title;
    b.addEventListener('click', action);
    return b;
  }

  // A size in bytes, in Polish: 1 bajt, 2 bajty, 5 bajtów, 22 bajty, 112 bajtów.
  function bytes(n) {
    var d = n % 10, t = n % 100;
    return n + (n === 1 ? ' bajt' : d >= 2 && d <= 4 && (t < 12 || t > 14) ? ' bajty' : ' bajtów');
  }

  // The short help can be hidden, and stays as the user left it.
  var help = document.getElementById('help');
  try {
    if (localStorage.getItem('tarksen-help') === 'hidden') help.open = false;
  } catch (e) {}  // a page without storage shows it
  help.addEventListener('toggle', function () {
    try {
      localStorage.setItem('tarksen-help', help.open ? 'shown' : 'hidden');
    } catch (e) {}
  });

  // The folder's files in the file selector's order, each with its size.
  function showFiles() {
    var names = FS.readdir(FOLDER).filter(function (n) {
      return n !== '.' && n !== '..' && FS.isFile(FS.stat(FOLDER + '/' + n).mode);
    }).sort();
    list.textContent = '';
    names.forEach(function (n) {
      var li = document.createElement('li');
      var name = document.createElement('span');
      name.className = 'name';
      name.textContent = n;
      var size = document.createElement('span');
      size.className = 'size';
      size.textContent = bytes(FS.stat(FOLDER + '/' + n).size);
      if (n === saved) li.className = 'saved';
      li.append(name, size, button('Pobierz', 'Zapisz ' + n + ' na tym komputerze',
                                   function () { download(n); }),
                button('Usuń', 'Usuń ' + n + ' z tej przeglądarki',
                       function () { remove(n); }));
      list.appendChild(li);
    });
    if (!names.length) {
      var li = document.createElement('li');
      li.className = 'empty';
      li.textContent = 'Na razie brak plików.';
      list.appendChild(li);
    }
  }
})();

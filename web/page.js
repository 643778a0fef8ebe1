// The page around the program, run inside the program's script before it starts
// (emcc --pre-js): the WebGL context, the picture folder kept in the browser's
// storage (IndexedDB), the "Open…" control and the folder's list with downloads.
(function () {
  'use strict';
  var FOLDER = '/obrazy';  // web/shell.cpp makes it the program's working directory

  var canvas = document.getElementById('canvas');
  var state = document.getElementById('state');
  var list = document.getElementById('files');
  var open = document.getElementById('open');
  var chooser = document.getElementById('chooser');
  var kept = true;       // whether the folder is backed by the browser's storage
  var storing = false;   // a copy to storage is under way
  var again = false;     // and another is wanted after it
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
  if (!Module.preinitializedWebGLContext)
    warn('This browser gives the page no WebGL, which the program draws with.');
  // The right button switches screens; the browser's menu must not come up.
  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  canvas.addEventListener('mousedown', function () { canvas.focus(); });

  // The canvas at the largest whole multiple of its size that fits the window.
  function fit() {
    var room = document.documentElement.clientWidth - 16;
    var high = window.innerHeight - document.getElementById('below').offsetHeight - 24;
    var s = Math.max(1, Math.floor(Math.min(room / 640, high / 400)));
    canvas.style.width = 640 * s + 'px';
    canvas.style.height = 400 * s + 'px';
  }
  window.addEventListener('resize', fit);
  fit();

  Module.print = function (text) { console.log(text); };
  Module.printErr = function (text) { console.warn(text); };

  // The font is fetched while the program loads; the program reads it from /. If it
  // cannot be had, the program says so on the console and runs without text.
  var font = fetch('BASFont.bmp').then(function (r) {
    if (!r.ok) throw new Error(r.status + ' ' + r.statusText);
    return r.arrayBuffer();
  });

  Module.preRun = [function () {
    addRunDependency('font');
    font.then(function (b) {
      FS.writeFile('/BASFont.bmp', new Uint8Array(b));
    }).catch(function (e) {
      console.warn('BASFont.bmp: ' + e.message);
    }).then(function () {
      removeRunDependency('font');
    });

    FS.mkdir(FOLDER);
    addRunDependency('folder');
    try {
      FS.mount(IDBFS, {}, FOLDER);
      FS.syncfs(true, function (err) {
        if (err) unkept(err);
        watch();
        removeRunDependency('folder');
      });
    } catch (e) {
      unkept(e);
      watch();
      removeRunDependency('folder');
    }
  }];

  Module.onRuntimeInitialized = function () {
    showFiles();
    if (!trouble) say('');
  };

  Module.onExit = function () {
    warn('The program has ended. Reload the page to start it again.');
    if (kept) store();
  };

  Module.onAbort = function (what) {
    warn('The program stopped on an error: ' + what + '. Reload the page to start it again.');
  };

  function unkept(err) {
    kept = false;
    console.warn('IndexedDB: ' + (err && err.message ? err.message : err));
    warn('This browser keeps no storage for the page: files in ' + FOLDER +
         ' last only until the page is closed.');
  }

  // Whatever changes in the folder is copied to the browser's storage and listed.
  function inFolder(path) {
    return path.indexOf(FOLDER + '/') === 0;
  }
  function changed() {
    setTimeout(function () {
      showFiles();
      if (kept) store();
    }, 0);
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
      if ((stream.flags & 3) && inFolder(stream.path)) changed();  // opened for writing
    });
    after('rename', function (from, to) {
      if (inFolder(from) || inFolder(to)) changed();
    });
    after('unlink', function (path) {
      if (inFolder(path)) changed();
    });
  }

  // Leaving while a copy is under way would lose what it copies: the browser asks.
  window.addEventListener('beforeunload', function (e) {
    if (storing) e.preventDefault();
  });

  function store() {
    if (storing) {
      again = true;
      return;
    }
    storing = true;
    if (!trouble) say('Storing ' + FOLDER + ' in this browser…');
    FS.syncfs(false, function (err) {
      storing = false;
      if (again) {
        again = false;
        store();
        return;
      }
      if (err) warn('Could not store ' + FOLDER + ' in this browser: ' + (err.message || err));
      else if (!trouble) say('');
    });
  }

  // "Open…": the chosen files are copied into the folder under their own names.
  open.addEventListener('click', function () { chooser.click(); });
  chooser.addEventListener('change', function () {
    var files = Array.prototype.slice.call(chooser.files);
    chooser.value = '';
    open.blur();
    Promise.all(files.map(function (f) {
      return f.arrayBuffer().then(function (b) {
        if (new TextEncoder().encode(f.name).length > 255)
          throw new Error(f.name + ': the name is longer than 255 bytes');
        FS.writeFile(FOLDER + '/' + f.name, new Uint8Array(b));
      });
    })).catch(function (e) {
      say('Could not copy ' + (e.message || e));
    });
  });

  function download(name) {
    var data;
    try {
      data = FS.readFile(FOLDER + '/' + name);
    } catch (e) {
      say('Could not read ' + name);
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
    if (!confirm('Delete ' + name + ' from this browser?')) return;
    try {
      FS.unlink(FOLDER + '/' + name);
    } catch (e) {
      say('Could not delete ' + name);
    }
  }

  function button(text, title, action) {
    var b = document.createElement('button');
    b.textContent = text;
    b.title = title;
    b.addEventListener('click', function () {
      b.blur();
      action();
    });
    return b;
  }

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
      size.textContent = FS.stat(FOLDER + '/' + n).size + ' bytes';
      li.append(name, size, button('Download', 'Save ' + n + ' on this computer',
                                   function () { download(n); }),
                button('Delete', 'Remove ' + n + ' from this browser',
                       function () { remove(n); }));
      list.appendChild(li);
    });
    if (!names.length) {
      var li = document.createElement('li');
      li.className = 'empty';
      li.textContent = 'No files yet.';
      list.appendChild(li);
    }
  }
})();

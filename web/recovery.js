// The recovery copy in the browser (emcc --pre-js, before web/page.js): the program's
// copy of a picture with changes not saved (paint/zapas.cpp through web/zapas.cpp) is
// kept in the site's storage, a database of its own beside the picture folder's. A tab
// holds the lock (Web Locks) named after its copy while it lives, so a copy whose lock
// is free was left by a tab closed, reloaded or ended without a save: the next start
// offers it. Jobs are stored in the order given, each whole or not at all.
var recovery = (function () {
  'use strict';
  var DB = 'tarksen-odzysk', STORE = 'kopie', LOCK = 'tarksen-odzysk/';
  // A copy removed, in the synchronous localStorage until its deletion is stored: a
  // page left meanwhile would otherwise leave it to be offered again.
  var GONE = 'tarksen-odzysk-usunieta:';
  var db = null;
  var own = '';    // this tab's copy
  var ownRelease = null;  // lets its lock go
  var why = '';    // why no copy is kept, if none is
  var left = {};   // copies left by tabs gone, whose locks this tab holds: base -> copy
  var jobs = [], running = false;
  var block = null;  // the block of this tab's last copy: {w, h, px}

  function mark(base, on) {
    try {
      if (on) localStorage.setItem(GONE + base, '1');
      else localStorage.removeItem(GONE + base);
    } catch (e) {}
  }
  function marked(base) {
    try {
      return localStorage.getItem(GONE + base) !== null;
    } catch (e) {
      return false;
    }
  }

  // The lock named after base for this tab: a function that lets it go, or null when
  // another tab holds it.
  function hold(base) {
    return new Promise(function (granted) {
      navigator.locks.request(LOCK + base, {ifAvailable: true}, function (lock) {
        if (!lock) return granted(null);
        return new Promise(function (release) { granted(release); });
      }).catch(function () { granted(null); });
    });
  }

  // Bytes packed for storage (gzip where the browser has it) and back.
  function through(stream, bytes) {
    return new Response(new Blob([bytes]).stream().pipeThrough(stream)).arrayBuffer()
        .then(function (b) { return new Uint8Array(b); });
  }
  function pack(bytes) {
    if (typeof CompressionStream !== 'function') return Promise.resolve({z: '', data: bytes});
    return through(new CompressionStream('gzip'), bytes).then(function (d) {
      return {z: 'gzip', data: d};
    });
  }
  function unpack(p) {
    if (!p || !(p.data instanceof Uint8Array)) return Promise.reject(new Error('no data'));
    if (p.z === '') return Promise.resolve(p.data);
    if (p.z !== 'gzip' || typeof DecompressionStream !== 'function')
      return Promise.reject(new Error('packed as ' + p.z));
    return through(new DecompressionStream('gzip'), p.data);
  }

  function request(r) {
    return new Promise(function (done, failed) {
      r.onsuccess = function () { done(r.result); };
      r.onerror = function (e) {
        e.preventDefault();
        failed(r.error);
      };
    });
  }

  // The jobs run one at a time; a write given while the last job waits untaken (a
  // write too) takes its place, and the left copy it was to remove with it.
  function add(job) {
    var last = jobs[jobs.length - 1];
    if (job.write && last && last.write) {
      job.previous = job.previous || last.previous;
      jobs[jobs.length - 1] = job;
    } else {
      jobs.push(job);
    }
    if (!running) next();
  }
  function next() {
    var job = jobs.shift();
    if (!job) {
      running = false;
      return;
    }
    running = true;
    run(job).catch(function (e) {
      console.warn('Kopia do odzyskania: ' + (e && e.message ? e.message : e));
    }).then(next);
  }
  function run(job) {
    var packed = job.write ?
        Promise.all([pack(job.picture), job.block ? pack(job.block.px) : null]) :
        Promise.resolve(null);
    return packed.then(function (p) {
      return new Promise(function (done, failed) {
        var tx = db.transaction(STORE, 'readwrite'), s = tx.objectStore(STORE);
        if (job.write) {
          s.put({czas: Date.now(), obraz: p[0],
                 blok: job.block && {w: job.block.w, h: job.block.h, px: p[1]}}, job.base);
        } else {
          s.delete(job.base);
        }
        if (job.previous) s.delete(job.previous);
        tx.oncomplete = done;
        tx.onabort = function () { failed(tx.error || new Error('aborted')); };
      });
    }).then(function () {
      [job.write ? '' : job.base, job.previous || ''].forEach(function (base) {
        if (!base) return;
        mark(base, false);
        if (left[base]) {
          left[base].release();
          delete left[base];
        }
      });
    });
  }

  // The copies in the store, their locks tried; a copy removed before its deletion
  // was stored goes now.
  function gather() {
    var tx = db.transaction(STORE, 'readonly'), s = tx.objectStore(STORE);
    return Promise.all([request(s.getAllKeys()), request(s.getAll())]).then(function (kv) {
      return Promise.all(kv[0].map(function (base, i) {
        if (typeof base !== 'string' || base === own) return null;
        if (marked(base)) {
          add({base: base, write: false});
          return null;
        }
        return hold(base).then(function (release) {
          if (!release) return null;  // a living tab's
          var r = kv[1][i] || {}, copy = {czas: +r.czas || 0, release: release, taken: false};
          left[base] = copy;
          return Promise.all([unpack(r.obraz), r.blok ? unpack(r.blok.px) : null])
              .then(function (px) {
                copy.picture = px[0];
                if (r.blok) copy.block = {w: r.blok.w, h: r.blok.h, px: px[1]};
              }, function (e) {
                copy.damaged = e && e.message ? e.message : String(e);
              });
        });
      }));
    });
  }

  return {
    // Opens the store, takes this tab's own name and lock, and the locks of the copies
    // left by tabs gone; ready() once done (nothing kept when the browser cannot).
    prepare: function (ready) {
      var finish = function (err) {
        if (err) {
          why = err && err.message ? err.message : String(err);
          db = null;
          own = '';
        }
        ready();
      };
      try {
        if (!window.indexedDB || !navigator.locks) {
          return finish(new Error('ta przeglądarka nie daje stronie pamięci albo blokad'));
        }
        var open = indexedDB.open(DB, 1);
        open.onupgradeneeded = function () { open.result.createObjectStore(STORE); };
        request(open).then(function (d) {
          db = d;
          // "odzysk-<pid>-<id>": a page has no process id of its own; the time in
          // microseconds, made unique among living tabs by its lock.
          var id = Date.now() * 1000 + Math.floor(Math.random() * 1000);
          own = 'odzysk-1-' + id;
          return hold(own);
        }).then(function (release) {
          if (!release) throw new Error('no lock for ' + own);
          ownRelease = release;
          // A page left lets its lock go at once rather than when the browser gets to
          // it, so that the next page (a reload) finds its copy free; one kept for
          // going back to takes it again.
          window.addEventListener('pagehide', function () {
            if (ownRelease) ownRelease();
            ownRelease = null;
          });
          window.addEventListener('pageshow', function (e) {
            if (e.persisted && !ownRelease) {
              hold(own).then(function (r) { ownRelease = r; });
            }
          });
          return gather();
        }).then(function () { finish(); }, finish);
      } catch (e) {
        finish(e);
      }
    },
    // This tab's copy's name, or '' with why() telling why none is kept.
    own: function () { return own; },
    why: function () { return why; },
    // The left copies this tab holds and has not taken, newest first, those of the same
    // time by name, last first (the program's order for the desktop's copies).
    left: function () {
      return Object.keys(left).filter(function (b) { return !left[b].taken; })
          .map(function (b) { return {base: b, czas: left[b].czas}; })
          .sort(function (a, b) {
            return b.czas - a.czas || (a.base < b.base ? 1 : a.base > b.base ? -1 : 0);
          });
    },
    // Takes the left copy base for this tab (its lock is already held).
    take: function (base) {
      if (!left[base]) return false;
      left[base].taken = true;
      return true;
    },
    // The left copy base: its picture and block, or {damaged: why}.
    copy: function (base) { return left[base] || {damaged: 'gone'}; },
    // Its sizes: the picture's bytes, the block's width and height (0 without one);
    // [-1, 0, 0] for a copy that cannot be read or a block of no sound size.
    sizes: function (base) {
      var c = left[base], b = c && c.block;
      var sound = c && !c.damaged && c.picture &&
          (!b || (b.w > 0 && b.h > 0 && b.w <= 65535 && b.h <= 65535 && b.w * b.h <= (1 << 24) &&
                  b.px && b.px.length === b.w * b.h * 4));
      return sound ? [c.picture.length, b ? b.w : 0, b ? b.h : 0] : [-1, 0, 0];
    },
    // Writes this tab's copy: the picture's 640x400 pixels at the program's address
    // picture, and the block: w x h pixels at px (blockMode 1), none (0) or as in the
    // last copy (-1); previous, a left copy to remove with it. The pixels are copied
    // out of the program's memory at once.
    write: function (picture, blockMode, px, w, h, previous) {
      if (!db || !own) return;
      mark(own, false);
      if (blockMode >= 0) block = blockMode ? {w: w, h: h, px: HEAPU8.slice(px, px + w * h * 4)} : null;
      add({base: own, write: true, picture: HEAPU8.slice(picture, picture + 640 * 400 * 4),
           block: block, previous: previous});
    },
    // Removes the copy base, this tab's own or a left one (whose lock then goes), and
    // the left copy previous too if given.
    remove: function (base, previous) {
      if (!db) return;
      mark(base, true);
      if (previous) mark(previous, true);
      add({base: base, write: false, previous: previous});
    },
    // The start's offer is over: the left copies not taken stay for the next start.
    offered: function () {
      Object.keys(left).forEach(function (b) {
        if (left[b].taken) return;
        left[b].release();
        delete left[b];
      });
    },
    // Whether a job is waiting or under way.
    busy: function () { return running || jobs.length > 0; },
  };
})();

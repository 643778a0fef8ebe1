// The picture folder's copy in the browser's storage, shared by every tab of the site
// (emcc --pre-js, before web/page.js). The folder is read whole from IndexedDB at the
// start (IDBFS, page.js); afterwards each file the program writes, renames or deletes
// is written or deleted on its own, in the same database and records as IDBFS keeps,
// so that a tab never writes its whole folder over files another tab has saved. Each
// change is told to the other tabs (BroadcastChannel), which read that file again.
var folderStore = (function () {
  'use strict';
  var pending = {};     // the folder's paths changed here and not yet stored
  var flushing = false; // a transaction is under way
  var timer = 0;
  var channel = null;
  var hooks = {busy: function () {}, done: function () {}, failed: function () {},
               changed: function () {}};
  var applying = false; // a change from another tab is being written into the folder
  var mount = '';       // where the folder is mounted

  // A file's record as IDBFS stores it; null if the path holds no file now.
  function record(path) {
    var info = FS.analyzePath(path);
    if (!info.exists || !FS.isFile(info.object.mode)) return null;
    var stat = FS.stat(path);
    return {timestamp: stat.mtime, mode: stat.mode, contents: FS.readFile(path)};
  }

  // Stores what the noted paths hold now, in one transaction: a file's record is
  // written whole or not at all, and a path that holds none is deleted. Of two tabs
  // saving one name, the one whose transaction comes later is kept.
  function flush() {
    timer = 0;
    if (flushing) return;
    var paths = Object.keys(pending);
    if (!paths.length) return;
    pending = {};
    flushing = true;
    hooks.busy();
    var fail = function (err) {
      flushing = false;
      paths.forEach(function (p) { pending[p] = true; });  // tried again at the next change
      hooks.failed(err);
    };
    IDBFS.getDB(mount, function (err, db) {
      if (err) return fail(err);
      var tx;
      try {
        tx = db.transaction([IDBFS.DB_STORE_NAME], 'readwrite');
        var files = tx.objectStore(IDBFS.DB_STORE_NAME);
        paths.forEach(function (p) {
          var r = record(p);
          if (r) files.put(r, p);
          else files.delete(p);
        });
      } catch (e) {
        return fail(e);
      }
      tx.oncomplete = function () {
        flushing = false;
        if (channel) channel.postMessage(paths);
        if (Object.keys(pending).length) flush();
        else hooks.done();
      };
      tx.onerror = function (e) {
        e.preventDefault();
        fail(tx.error);
      };
    });
  }

  // Brings the folder's paths up to the stored copy another tab has just changed. A
  // path changed here and not yet stored keeps this tab's file: it is stored next.
  function reread(paths) {
    IDBFS.getDB(mount, function (err, db) {
      if (err) return;
      var tx = db.transaction([IDBFS.DB_STORE_NAME], 'readonly');
      var files = tx.objectStore(IDBFS.DB_STORE_NAME);
      var got = {};
      paths.forEach(function (p) {
        files.get(p).onsuccess = function (e) { got[p] = e.target.result; };
      });
      tx.oncomplete = function () {
        applying = true;
        try {
          paths.forEach(function (p) {
            if (pending[p] || p.indexOf(mount + '/') !== 0 || p.indexOf('/', mount.length + 1) >= 0)
              return;
            var r = got[p], here = FS.analyzePath(p);
            if (r && FS.isFile(r.mode)) {
              FS.writeFile(p, r.contents);
              FS.chmod(p, r.mode);
              FS.utime(p, r.timestamp.getTime(), r.timestamp.getTime());
            } else if (!r && here.exists && FS.isFile(here.object.mode)) {
              FS.unlink(p);
            }
          });
        } catch (e) {
          console.warn('Another tab\'s change: ' + (e.message || e));
        } finally {
          applying = false;
        }
        hooks.changed();
      };
    });
  }

  return {
    // Starts sharing the folder mounted at the path at; hooks: busy() when a store begins,
    // done() when everything noted is stored, failed(err), changed() after another
    // tab's change reached the folder.
    share: function (at, given) {
      mount = at;
      for (var k in given) hooks[k] = given[k];
      if (typeof BroadcastChannel === 'function') {
        channel = new BroadcastChannel('tarksen' + mount);
        channel.onmessage = function (e) {
          if (Array.isArray(e.data)) reread(e.data);
        };
      }
    },
    // The path has changed in the folder: stored soon, with whatever else changes
    // before then (a file written beside its name and renamed over it is one change).
    note: function (path) {
      if (applying) return;
      pending[path] = true;
      if (!timer && !flushing) timer = setTimeout(flush, 0);
    },
    // Whether another tab's change is being written into the folder now.
    applying: function () {
      return applying;
    },
    // Whether a change is waiting to be stored.
    busy: function () {
      return flushing || Object.keys(pending).length > 0;
    },
  };
})();

// The page's file store. The game reads and writes /game/Levels, a folder in
// memory that starts as the shipped levels with the player's saved files over
// them. The player's files are the scores, ghosts and the levels that differ
// from the shipped ones, kept in IndexedDB as earlier versions of the page
// kept them (IDBFS's database "/game/Saves", one entry per file): read before
// main runs, and after a save each changed file is merged into its entry.
//
// Two tabs of the page are two writers. Each entry carries the time stamp of
// its last write; a tab only replaces or deletes an entry that still holds
// what the tab last read or wrote there. A best score is the exception: the
// higher one is kept, with its ghost. A level another tab changed is not
// saved over, and the page says so. When the first read fails nothing is
// ever written, so the stored files cannot be lost.
var SavesDatabase = '/game/Saves';
var SavesStore = 'FILE_DATA';
var SavedFileMode = 33206;     // a regular file readable and writable by all, as IDBFS stored it
var LevelsFolder = '/game/Levels';
var ShippedFolder = '/shipped/Levels';
var NoticeSeconds = 12;        // how long a line about saving stays over the game

// The sounds and music are read from the page's file system when the game
// loads them and decoded by Web Audio there; none is preloaded as an <audio>
// element, so SDL_mixer is told not to look for one.
Module['noAudioDecoding'] = true;

Module['savesOff'] = '';       // the error that keeps this page from storing; empty while it stores
Module['stored'] = {};         // file name: { stamp, data } as this page last read or wrote the entry

function EntryKey(name) {
  return SavesDatabase + '/' + name;
}

function StampOf(entry) {
  return entry && entry.timestamp ? new Date(entry.timestamp).getTime() : null;
}

// The page's own line in the game's language (the game's catalogue, through
// PageText in platform_web.cpp, once the game runs): english is a whole
// format whose %s, or %1$s and on, take the further arguments.
function PageTr(english) {
  var args = Array.prototype.slice.call(arguments, 1), next = 0;
  var text = Module['calledRun'] ? Module['ccall']('PageText', 'string', ['string'], [english]) : english;
  return text.replace(/%(?:(\d+)\$)?s/g, function(all, n) { return String(args[n ? n - 1 : next++]); });
}

function SavesOffText() {
  return PageTr('the saved levels and scores could not be read (%s), so nothing is saved: ' +
                'reload the page to try again', Module['savesOff']);
}

// Shows a line over the game for a while.
function Notice(text) {
  var notice = document.getElementById('notice');
  console.warn(text);
  if (!notice)
    return;
  notice.textContent = text;
  notice.hidden = false;
  clearTimeout(Module['noticeTimer']);
  Module['noticeTimer'] = setTimeout(function() { notice.hidden = true; }, NoticeSeconds * 1000);
}

// Every player's file in the database into Module.stored; done(error).
function ReadSaves(done) {
  IDBFS.getDB(SavesDatabase, function(error, db) {
    if (error)
      return done(error);
    try {
      var request = db.transaction([SavesStore], 'readonly').objectStore(SavesStore).openCursor();
    } catch (e) {
      return done(e);
    }
    request.onerror = function(event) {
      event.preventDefault();
      done(request.error);
    };
    request.onsuccess = function() {
      var cursor = request.result;
      if (!cursor)
        return done(null);
      var name = String(cursor.key).slice(SavesDatabase.length + 1);
      if (EntryKey(name) == cursor.key && name.indexOf('/') < 0 && cursor.value && cursor.value.contents)
        Module['stored'][name] = { stamp: StampOf(cursor.value), data: new Uint8Array(cursor.value.contents) };
      cursor.continue();
    };
  });
}

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  addRunDependency('tetherorb2-saves');
  ReadSaves(function(error) {
    if (error) {
      Module['stored'] = {};
      Module['savesOff'] = String(error);
    }
    removeRunDependency('tetherorb2-saves');
  });
});

function FilesIn(folder) {
  return FS.readdir(folder).filter(function(name) {
    return FS.isFile(FS.stat(folder + '/' + name).mode);
  });
}

function FileOrNull(path) {
  return FS.analyzePath(path).exists ? FS.readFile(path) : null;
}

function SameBytes(a, b) {
  if (!a || !b || a.length != b.length)
    return false;
  for (var i = 0; i < a.length; i++)
    if (a[i] != b[i])
      return false;
  return true;
}

// A held key repeats in the browser; like the desktop game, the game sees one
// press per press. This listener runs before SDL's, on the document.
window.addEventListener('keydown', function(event) {
  if (event.repeat) {
    event.preventDefault();
    event.stopPropagation();
  }
}, true);

// Fills /game/Levels, moves into /game and follows the pointer over the canvas.
Module['startPage'] = function() {
  FS.mkdirTree(LevelsFolder);
  FilesIn(ShippedFolder).forEach(function(name) {
    FS.writeFile(LevelsFolder + '/' + name, FS.readFile(ShippedFolder + '/' + name));
  });
  Object.keys(Module['stored']).forEach(function(name) {
    FS.writeFile(LevelsFolder + '/' + name, Module['stored'][name].data);
  });
  FS.chdir('/game');
  var canvas = Module['canvas'];
  canvas.addEventListener('mousemove', function() { Module['pointerInside'] = true; });
  canvas.addEventListener('mouseleave', function() { Module['pointerInside'] = false; });
  if (Module['savesOff'])   // said once the game has chosen its language
    setTimeout(function() { Notice(PageTr('Saving is off: %s', SavesOffText())); }, 0);
};

// The files of /game/Levels whose entry must change: { name, data }, data
// null for an entry to delete (the file is gone or the shipped one again).
// Scores come first, so that a ghost can follow its score's fate.
function ChangedFiles() {
  var changes = [], present = {};
  FilesIn(LevelsFolder).forEach(function(name) {
    present[name] = true;
    var data = FS.readFile(LevelsFolder + '/' + name);
    var shipped = SameBytes(data, FileOrNull(ShippedFolder + '/' + name));
    var known = Module['stored'][name];
    if (shipped ? known : !(known && SameBytes(data, known.data)))
      changes.push({ name: name, data: shipped ? null : data });
  });
  Object.keys(Module['stored']).forEach(function(name) {
    if (!present[name])
      changes.push({ name: name, data: null });
  });
  return changes.sort(function(a, b) { return /\.score$/.test(b.name) - /\.score$/.test(a.name); });
}

function ScoreOf(data) {
  return data ? data[0] | data[1] << 8 | data[2] << 16 | data[3] << 24 : 0;
}

// Decides one change against the entry found; returns true when it was written.
// A refused score or ghost takes the stored one into /game/Levels, as that
// level's best; a refused level is kept in this tab only.
function MergeChange(store, change, entry, outcome) {
  var known = Module['stored'][change.name];
  var untouched = StampOf(entry) === (known ? known.stamp : null);
  var ghostOf = /\.ghost$/.test(change.name) ? change.name.replace(/\.ghost$/, '.score') : null;
  var merge = untouched;
  if (/\.score$/.test(change.name))
    merge = untouched || (change.data && (!entry || ScoreOf(change.data) > ScoreOf(entry.contents)));
  else if (ghostOf && ghostOf in outcome.merged)
    merge = outcome.merged[ghostOf];
  outcome.merged[change.name] = !!merge;
  if (merge && change.data) {
    var stamp = Math.max(Date.now(), StampOf(entry) + 1);
    store.put({ timestamp: new Date(stamp), mode: SavedFileMode, contents: change.data }, EntryKey(change.name));
    outcome.stored[change.name] = { stamp: stamp, data: change.data };
  } else if (merge) {
    store.delete(EntryKey(change.name));
    outcome.stored[change.name] = null;
  } else if (/\.(score|ghost)$/.test(change.name)) {
    outcome.stored[change.name] = entry ? { stamp: StampOf(entry), data: new Uint8Array(entry.contents) } : null;
    outcome.taken.push(change.name);
  } else {
    outcome.refused.push(change.name);
  }
}

// What a finished store leaves: the entries as written, the bests taken from
// the other tab, and a line for the levels not saved.
function FinishStore(outcome) {
  Object.keys(outcome.stored).forEach(function(name) {
    var entry = outcome.stored[name];
    if (entry)
      Module['stored'][name] = entry;
    else
      delete Module['stored'][name];
  });
  outcome.taken.forEach(function(name) {
    var entry = outcome.stored[name], path = LevelsFolder + '/' + name;
    if (entry)
      FS.writeFile(path, entry.data);
    else if (FS.analyzePath(path).exists)
      FS.unlink(path);
  });
  if (outcome.refused.length)
    Notice(PageTr('Not saved: %s changed in another tab of the game; reload the page to edit it here',
                  outcome.refused.join(', ')));
}

// Merges every changed file into IndexedDB in one transaction, one store at a time.
Module['storing'] = false;
Module['storeAgain'] = false;
Module['storeSaves'] = function() {
  if (Module['savesOff'])
    return Notice(PageTr('Not saved: %s', SavesOffText()));
  if (Module['storing']) {
    Module['storeAgain'] = true;
    return;
  }
  var changes = ChangedFiles();
  if (!changes.length)
    return;
  Module['storing'] = true;
  function Done(error) {
    if (error)
      Notice(PageTr('Not saved: the browser\'s storage refused the files (%s)', error));
    Module['storing'] = false;
    if (Module['storeAgain']) {
      Module['storeAgain'] = false;
      Module['storeSaves']();
    }
  }
  IDBFS.getDB(SavesDatabase, function(error, db) {
    if (error)
      return Done(error);
    try {
      var transaction = db.transaction([SavesStore], 'readwrite');
    } catch (e) {
      return Done(e);
    }
    var store = transaction.objectStore(SavesStore);
    var outcome = { merged: {}, stored: {}, taken: [], refused: [] };
    var entries = [], waiting = changes.length;
    changes.forEach(function(change, i) {
      store.get(EntryKey(change.name)).onsuccess = function(event) {
        entries[i] = event.target.result;
        if (--waiting == 0)
          changes.forEach(function(c, j) { MergeChange(store, c, entries[j], outcome); });
      };
    });
    transaction.oncomplete = function() {
      FinishStore(outcome);
      Done(null);
    };
    transaction.onabort = function() {
      Done(transaction.error || 'aborted');
    };
  });
};

// The hub's requests (platform/hub_net_web.cpp): one fetch per slot of the
// game's queue, its state and answer kept here until the next frame copies
// them. The answer is read as it streams in, and the fetch is stopped as
// soon as it grows past its bound (state -3), never downloaded whole.
Module['hubFetches'] = {};

// On a page the hub served, the hub is the page's own origin.
Module['hubOrigin'] = function(out, size) {
  if (typeof TetherorbHubLevel === 'string')
    stringToUTF8(location.origin, out, size);
};

Module['hubFetch'] = function(slot, url, post, body, token, limit) {
  var entry = { state: -2, bytes: new Uint8Array(0) };
  Module['hubFetches'][slot] = entry;
  var headers = { 'Content-Type': 'application/json' };
  if (token)
    headers['Authorization'] = 'Bearer ' + token;
  var stop = new AbortController();
  var parts = [], length = 0;
  fetch(url, { method: post ? 'POST' : 'GET', headers: headers, body: post ? body : undefined, signal: stop.signal })
    .then(function(answer) {
      if (!answer.body) {
        entry.state = answer.status;
        return;
      }
      var reader = answer.body.getReader();
      function Take(part) {
        if (part.done) {
          entry.bytes = new Uint8Array(length);
          for (var i = 0, at = 0; i < parts.length; at += parts[i].length, i++)
            entry.bytes.set(parts[i], at);
          entry.state = answer.status;
          return;
        }
        length += part.value.length;
        if (length > limit) {
          entry.state = -3;
          stop.abort();
          return;
        }
        parts.push(part.value);
        return reader.read().then(Take);
      }
      return reader.read().then(Take);
    })
    .catch(function() {
      if (entry.state == -2)
        entry.state = -1;
    });
};

Module['hubFetchState'] = function(slot) {
  var entry = Module['hubFetches'][slot];
  return entry ? entry.state : -1;
};

Module['hubFetchLength'] = function(slot) {
  var entry = Module['hubFetches'][slot];
  return entry && entry.state >= 0 ? entry.bytes.length : 0;
};

Module['hubFetchCopy'] = function(slot, out) {
  var entry = Module['hubFetches'][slot];
  if (entry && entry.state >= 0)
    HEAPU8.set(entry.bytes, out);
  delete Module['hubFetches'][slot];
};

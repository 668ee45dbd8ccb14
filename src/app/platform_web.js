// The page's file store. The game reads and writes /game/Levels, a folder in
// memory that starts as the shipped levels with the player's saved files over
// them. The player's files are the scores and the levels that differ from the
// shipped ones; they live in /game/Saves, kept in IndexedDB: read back before
// main runs, stored again by Module.storeSaves after a save.
var SavesFolder = '/game/Saves';
var LevelsFolder = '/game/Levels';
var ShippedFolder = '/shipped/Levels';

Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  FS.mkdirTree(SavesFolder);
  FS.mount(IDBFS, {}, SavesFolder);
  addRunDependency('tetherorb2-saves');
  FS.syncfs(true, function(error) {
    if (error)
      console.warn('Saved levels and scores could not be read: ' + error);
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
  [ShippedFolder, SavesFolder].forEach(function(folder) {
    FilesIn(folder).forEach(function(name) {
      FS.writeFile(LevelsFolder + '/' + name, FS.readFile(folder + '/' + name));
    });
  });
  FS.chdir('/game');
  var canvas = Module['canvas'];
  canvas.addEventListener('mousemove', function() { Module['pointerInside'] = true; });
  canvas.addEventListener('mouseleave', function() { Module['pointerInside'] = false; });
};

// Copies the player's files from /game/Levels into /game/Saves, drops the
// saved copies of files deleted from /game/Levels, and stores them in
// IndexedDB, one store at a time.
Module['storing'] = false;
Module['storeAgain'] = false;
Module['storeSaves'] = function() {
  if (Module['storing']) {
    Module['storeAgain'] = true;
    return;
  }
  FilesIn(LevelsFolder).forEach(function(name) {
    var data = FS.readFile(LevelsFolder + '/' + name);
    var saved = SavesFolder + '/' + name;
    if (SameBytes(data, FileOrNull(ShippedFolder + '/' + name))) {
      if (FS.analyzePath(saved).exists)
        FS.unlink(saved);
    } else if (!SameBytes(data, FileOrNull(saved))) {
      FS.writeFile(saved, data);
    }
  });
  FilesIn(SavesFolder).forEach(function(name) {
    if (!FS.analyzePath(LevelsFolder + '/' + name).exists)
      FS.unlink(SavesFolder + '/' + name);
  });
  Module['storing'] = true;
  FS.syncfs(false, function(error) {
    if (error)
      console.warn('Levels and scores could not be saved: ' + error);
    Module['storing'] = false;
    if (Module['storeAgain']) {
      Module['storeAgain'] = false;
      Module['storeSaves']();
    }
  });
};

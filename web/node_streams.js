// Put before the programs that node runs with the real file system (--pre-js).
//
// Emscripten's node file system reads and writes every file it opens at a position of its own,
// which node passes to pread and pwrite. A file named by a path that cannot seek (a pipe given
// as /dev/stdin or /dev/fd/N, a FIFO, a terminal) then fails with "Invalid seek" where the native
// program reads it; such a file is read and written where it stands instead, as the standard
// streams are.
// A program that opens no file (the press timing) is built without the file system at all.
Module['preRun'] = [function () {
  if (typeof FS === 'undefined') return;
  var open = FS.open;
  FS.open = function () {
    var stream = open.apply(this, arguments);
    if (stream.nfd !== undefined) {
      var stat = fs.fstatSync(stream.nfd);
      if (!stat.isFile() && !stat.isBlockDevice()) stream.seekable = false;
    }
    return stream;
  };
}];

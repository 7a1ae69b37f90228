// Works on the files of a list on several threads and hands each file's
// outcome on in the order of the list, on the calling thread, as one
// thread working through the list would.
#ifndef QMPECORE_FIND_FILES_ORDERED_FILE_POOL_H_
#define QMPECORE_FIND_FILES_ORDERED_FILE_POOL_H_

#include <cstddef>

namespace qm {

// Told by a file's work that part of its outcome may be handed on before
// the work ends.
class FilePartSignal {
 public:
  // One more part is ready. On a worker's own thread this waits, while
  // the file is not the next to release, for the parts held by the whole
  // run to fall to OrderedFilePool::kHeldParts, so that memory stays
  // bounded however large the outcomes. False when the run has ended and
  // nothing more of this file will be released: the work may then drop
  // the rest of its outcome.
  virtual bool PartReady() = 0;

 protected:
  ~FilePartSignal() = default;
};

// What is done with each file. A file's outcome lives in a slot, which the
// work owns (there are SlotCount(workers) of them) and reuses once the
// outcome has been released.
class OrderedFileWork {
 public:
  virtual ~OrderedFileWork() = default;

  // Works on file `index` into slot `slot`, on a worker's thread (the
  // calling thread is one of them). Each worker (0 <= worker < the pool's
  // width) calls it from one thread, one file at a time, and no two calls
  // share a slot. Calls `parts` whenever ReleasePart would have more to
  // hand on. May throw: the run then ends, after every earlier file has
  // been released, with that exception.
  virtual void Work(size_t worker, size_t index, size_t slot, FilePartSignal& parts) = 0;

  // Hands on what the work on file `index` has signalled so far while it
  // goes on, on the calling thread, once every earlier file has been
  // released: a file with a large outcome then need not be held whole.
  // May throw, as Release.
  virtual void ReleasePart(size_t /*index*/, size_t /*slot*/) {}

  // Hands on the outcome of file `index`, or what ReleasePart left of it,
  // on the calling thread, once every earlier file has been released.
  // False ends the run: no later file is released. May throw: the run ends
  // with that exception.
  virtual bool Release(size_t index, size_t slot) = 0;

  // Works on file `index` and releases it, on the calling thread, when
  // every earlier file has been released already; returns as Release. A
  // work that can hand its outcome on as it comes overrides this to hold
  // none of it.
  virtual bool WorkAndRelease(size_t worker, size_t index, size_t slot);
};

class OrderedFilePool {
 public:
  // How far workers may run ahead of the release: the outcomes held at
  // once, which bounds the memory a run takes beside the workers' own.
  static size_t SlotCount(size_t workers) { return workers <= 1 ? 1 : 3 * workers; }

  // The parts signalled and not yet released past which the workers
  // wait (FilePartSignal::PartReady) and the calling thread takes no file
  // but the next to release. The calling thread does not wait within a
  // file, so the one it works on may hold more, as may the next to
  // release, which is being handed on as it goes.
  static constexpr size_t kHeldParts = 256;

  // The width of a pool for `files` files when `asked` workers are asked
  // for (0: one per usable processor): at least 1, at most `files`.
  static size_t WidthFor(size_t asked, size_t files);

  // Runs `work` over files 0 to `files` - 1 on `workers` threads, the
  // calling thread among them (1: all of it on the calling thread, file
  // after file). Every thread is joined
  // before it returns or throws. A thread that cannot be started leaves
  // its share to the others; with none, the calling thread works alone.
  static void Run(size_t files, size_t workers, OrderedFileWork& work);
};

}  // namespace qm

#endif  // QMPECORE_FIND_FILES_ORDERED_FILE_POOL_H_

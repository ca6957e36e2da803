// A disk that fills up, for SQLite: while an object of FailingDisk lives, every database opened
// goes through a file layer over the system's that lets a given number of writes through and
// fails every later one with "database or disk is full", as a full disk does part-way through a
// command. Single-threaded tests only.
#pragma once

#include <sqlite3.h>

#include <climits>
#include <stdexcept>

namespace testing_support {

class FailingDisk {
 public:
  FailingDisk() {
    base_ = sqlite3_vfs_find(nullptr);
    vfs_ = *base_;
    vfs_.zName = "vb6kit-failing-disk";
    vfs_.szOsFile = static_cast<int>(sizeof(File)) + base_->szOsFile;
    vfs_.xOpen = Open;
    vfs_.pAppData = this;
    if (sqlite3_vfs_register(&vfs_, 1) != SQLITE_OK) throw std::runtime_error("cannot install the failing disk");
  }
  ~FailingDisk() { sqlite3_vfs_unregister(&vfs_); }
  FailingDisk(const FailingDisk&) = delete;
  FailingDisk& operator=(const FailingDisk&) = delete;

  // The next `count` writes succeed, the ones after fail.
  void FailAfter(int count) {
    writesLeft_ = count;
    failures_ = 0;
  }
  void Heal() { writesLeft_ = INT_MAX; }
  // Writes that failed since the last FailAfter.
  int failures() const { return failures_; }

 private:
  struct File {
    sqlite3_file base;
    FailingDisk* disk;
    sqlite3_file* real;  // the system's file, right after this header
  };

  static sqlite3_file* Real(sqlite3_file* file) { return reinterpret_cast<File*>(file)->real; }

  static int Open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    auto* disk = static_cast<FailingDisk*>(vfs->pAppData);
    auto* own = reinterpret_cast<File*>(file);
    own->disk = disk;
    own->real = reinterpret_cast<sqlite3_file*>(own + 1);
    own->base.pMethods = nullptr;
    const int rc = disk->base_->xOpen(disk->base_, name, own->real, flags, outFlags);
    if (rc == SQLITE_OK && own->real->pMethods) own->base.pMethods = &kMethods;
    return rc;
  }

  static int Write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
    FailingDisk* disk = reinterpret_cast<File*>(file)->disk;
    if (disk->writesLeft_ <= 0) {
      ++disk->failures_;
      return SQLITE_FULL;
    }
    if (disk->writesLeft_ != INT_MAX) --disk->writesLeft_;
    return Real(file)->pMethods->xWrite(Real(file), data, amount, offset);
  }

  static constexpr sqlite3_io_methods kMethods = {
      1,  // no shared memory (no WAL) and no memory mapping: the settings use neither
      [](sqlite3_file* f) { return Real(f)->pMethods->xClose(Real(f)); },
      [](sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
        return Real(f)->pMethods->xRead(Real(f), data, amount, offset);
      },
      Write,
      [](sqlite3_file* f, sqlite3_int64 size) { return Real(f)->pMethods->xTruncate(Real(f), size); },
      [](sqlite3_file* f, int flags) { return Real(f)->pMethods->xSync(Real(f), flags); },
      [](sqlite3_file* f, sqlite3_int64* size) { return Real(f)->pMethods->xFileSize(Real(f), size); },
      [](sqlite3_file* f, int level) { return Real(f)->pMethods->xLock(Real(f), level); },
      [](sqlite3_file* f, int level) { return Real(f)->pMethods->xUnlock(Real(f), level); },
      [](sqlite3_file* f, int* out) { return Real(f)->pMethods->xCheckReservedLock(Real(f), out); },
      [](sqlite3_file* f, int op, void* arg) { return Real(f)->pMethods->xFileControl(Real(f), op, arg); },
      [](sqlite3_file* f) { return Real(f)->pMethods->xSectorSize(Real(f)); },
      [](sqlite3_file* f) { return Real(f)->pMethods->xDeviceCharacteristics(Real(f)); },
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

  sqlite3_vfs* base_ = nullptr;
  sqlite3_vfs vfs_{};
  int writesLeft_ = INT_MAX;
  int failures_ = 0;
};

}  // namespace testing_support

// Counts of the live COM objects and server locks of this DLL, for DllCanUnloadNow, and the
// DLL's own module handle.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

namespace win32 {

class ModuleCounts {
 public:
  static void ObjectCreated() { ++objects_; }
  static void ObjectDestroyed() { --objects_; }
  static void Lock() { ++locks_; }
  static void Unlock() { --locks_; }
  static long Objects() { return objects_; }
  static long Locks() { return locks_; }
  static bool CanUnload() { return objects_ == 0 && locks_ == 0; }

 private:
  static inline std::atomic<long> objects_{0};
  static inline std::atomic<long> locks_{0};
};

// Every COM object this DLL hands out counts itself while it lives.
class CountedObject {
 public:
  CountedObject() { ModuleCounts::ObjectCreated(); }
  ~CountedObject() { ModuleCounts::ObjectDestroyed(); }
  CountedObject(const CountedObject&) = delete;
  CountedObject& operator=(const CountedObject&) = delete;
};

// The module handle of the DLL (or program) this code is linked into.
HMODULE ThisModule();
// Its full path, as InprocServer32 names it.
std::wstring ThisModulePath();

}  // namespace win32

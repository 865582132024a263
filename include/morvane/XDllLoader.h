/// @file
/// XDllLoader, the single-instance plug-in loader.
///
/// Thread-safety: in the default build none, as documented: one thread at a
/// time uses the loader. In a build with the CMake option MORVANE_THREAD_SAFE,
/// GetLoader, AddPath, GetPath, GetPathCount, LoadLibraryA, LoadLibraries,
/// GetSymbol, LastError, FreeLibrary and FreeAll may be called from many
/// threads at once: one lock, shared by every loader object, guards the
/// instance and the lists for the whole of each call that touches them, so
/// GetLoader creates one instance however many threads race to it. LastError
/// then tells each thread about its own loads. Still the caller's to avoid in
/// that build: KillLoader, or copying or assigning a loader, while another
/// thread uses it; and a call of the loader from a plug-in's own initialisation
/// or finalisation (what the system runs as it loads or releases the module),
/// which runs while the lock is held: the lock is not recursive, so the
/// thread would wait for itself.
///
/// LoadLibraries changes the process's working directory while it runs. With
/// the option it holds the lock throughout, so that no other load of the
/// loader sees the changed directory; other code of the application still
/// may.
#ifndef MORVANE_XDLLLOADER_H_
#define MORVANE_XDLLLOADER_H_

#include <morvane/XPtrList.h>
#include <morvane/export.h>
#include <morvane/module_handle.h>

/// The single-instance plug-in loader.
///
/// The application registers search directories with AddPath; LoadLibraryA
/// tries "<directory>\<name>" for each directory in turn (slashes turned into
/// backslashes and runs of backslashes collapsed) and then the bare name;
/// LoadLibraries loads every file of a directory that matches a wildcard
/// pattern. Every module loaded is recorded, so that FreeAll and KillLoader
/// release them all, oldest first.
///
/// On POSIX systems the candidate names keep the backslash as their separator
/// and the platform layer maps it to '/'. A relative name (a bare one, or one
/// built from a relative search directory) that names a file is loaded from
/// the working directory by its absolute path, so that two files of one name
/// in different directories are two modules, and one file reached under two
/// spellings is one module. Windows is given the name unchanged, and hands
/// back for a bare name the module of that base name that is loaded already,
/// from whichever directory it came.
///
/// Ownership: the instance is owned by the class from the first GetLoader to
/// KillLoader; it owns its path strings and module records.
class MORVANE_API XDllLoader {
 public:
  /// The one loader, created on first use.
  static XDllLoader* GetLoader();
  /// Deletes the path strings, releases every recorded module (oldest first)
  /// and deletes the instance. Does nothing when there is no instance. Call it
  /// on the instance: XDllLoader::GetLoader()->KillLoader().
  void KillLoader();

  /// Adds a search directory, as given (no test, no normalisation). A null
  /// `path` adds nothing.
  void AddPath(const char* path);
  /// The text of search directory `i`, 0 <= i < GetPathCount(); null for
  /// any other `i` (GetPath(0) when there are no directories included). The
  /// text stays valid until KillLoader.
  const char* GetPath(int i);
  /// The same as GetPath(int), on a const loader; it reads the path list
  /// without rebuilding its index (XPtrList::Get(int) const).
  const char* GetPath(int i) const;
  /// The number of search directories.
  int GetPathCount();
  /// The same as GetPathCount(), on a const loader.
  int GetPathCount() const;

  /// Loads `name` from the first search directory that yields it, else by the
  /// bare name; records and returns the module, or null when nothing loads
  /// (LastError then says why). A null `name` loads nothing and returns
  /// null.
  HINSTANCE LoadLibraryA(const char* name);
  /// Enters `directory` and loads every entry whose name matches `pattern`
  /// through LoadLibraryA, printing "XDllLoader loaded: <directory> -->
  /// <name>" to standard output for each one that loads. The pattern has two
  /// wildcards, `*` (any run of characters) and `?` (any one character); every
  /// other character matches only itself. The working directory is restored
  /// afterwards (unless it could not even be read).
  ///
  /// A `directory` that does not exist or cannot be entered is not an error:
  /// the pattern is then matched in the current working directory, and the
  /// line names `directory` all the same. A null `directory` or `pattern`
  /// loads nothing, prints nothing and leaves the working directory alone.
  void LoadLibraries(const char* directory, const char* pattern);
  /// The address of the function or variable `name` that `module` exports
  /// (dlsym, GetProcAddress); cast it to its real type. Null for a null
  /// `module` or `name`, and when the symbol is missing.
  static void* GetSymbol(HINSTANCE module, const char* name);
  /// Why the latest LoadLibraryA or LoadLibraries call failed to load a
  /// library: the system's text, which names the file tried. On POSIX that is
  /// dlerror's text ("<file>: <reason>"); on Windows the file name, ": " and
  /// the system's message for the error code (FormatMessage). Of the
  /// attempts of one LoadLibraryA call, the last one whose file exists (a
  /// text file given as a plug-in) gives the reason; when none of them
  /// exists, the last attempt (the bare name).
  /// For LoadLibraries, the latest name that would not load gives it, even
  /// when later names load. An empty name, which no system is asked to load,
  /// gives "empty library name".
  ///
  /// Empty (never null) before the first such call, after a LoadLibraryA
  /// call that loaded its library or had a null `name`, and after a
  /// LoadLibraries call in which every name offered loaded (or none was
  /// offered). Every LoadLibraryA and LoadLibraries call replaces it; nothing
  /// else changes it. The text stays valid until the next such call.
  ///
  /// In a build with MORVANE_THREAD_SAFE each thread has a text of its own:
  /// it tells about the calling thread's latest LoadLibraryA or LoadLibraries
  /// call, whatever other threads load meanwhile, and stays valid until that
  /// thread's next such call or its end.
  static const char* LastError();

  /// Releases `module`; true when the system released it. On success the
  /// first record of that module is dropped, so FreeAll does not release it
  /// again.
  bool FreeLibrary(HINSTANCE module);
  /// Releases every recorded module, oldest first, and forgets them.
  void FreeAll();

  /// A loader sharing `other`'s path strings and module records (shallow):
  /// never pass a copy to KillLoader or FreeAll while `other` uses them.
  XDllLoader(XDllLoader& other);
  /// Makes this loader share `other`'s path strings and module records.
  /// Returns this loader.
  XDllLoader& operator=(const XDllLoader& other);

 private:
  XDllLoader();
  ~XDllLoader();

  XPtrList paths;    // XString* per search directory, owned
  XPtrList modules;  // HINSTANCE* cell per loaded module, owned

  static XDllLoader* This;
};

#endif  // MORVANE_XDLLLOADER_H_

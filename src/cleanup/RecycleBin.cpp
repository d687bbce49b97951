#include <windows.h>
#include <shellapi.h>
#include <shobjidl.h>

#include <memory>

#include "base/Handles.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "cleanup/FileOps.h"

namespace cleanup {

bool WinRecycleBin::HasBin(const std::string& path) {
  // Only a drive letter's fixed disk; network paths ("\\server\share") have no bin.
  if (path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return false;
  std::string root = path.substr(0, 2) + "\\";
  auto it = drives_.find(root);
  if (it == drives_.end())
    it = drives_.emplace(root, GetDriveTypeW(base::Wide(root).c_str()) == DRIVE_FIXED).first;
  return it->second;
}

namespace {

// The shell takes the paths one after another, each ended by a zero, the
// list by a second one. It cannot take paths beyond MAX_PATH: those stay.
bool Add(std::wstring& list, const std::string& path) {
  std::wstring w = base::Wide(path);
  if (w.size() >= MAX_PATH || w.find(L'\0') != std::wstring::npos) return false;
  list += w;
  list.push_back(L'\0');
  return true;
}

// Into the bin, undoable, and without a word to the user.
constexpr DWORD kQuiet =
    FOF_ALLOWUNDO | FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR;

void MoveToBin(std::wstring list) {
  list.push_back(L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = list.c_str();
  op.fFlags = kQuiet;
  SHFileOperationW(&op);
}

bool LeftItsPlace(const std::string& path) {
  DWORD attrs = GetFileAttributesW(base::Wide(base::ExtendedPath(path)).c_str());
  DWORD error = attrs == INVALID_FILE_ATTRIBUTES ? GetLastError() : ERROR_SUCCESS;
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Where a held file went, told by the file itself: what the shell moved
// from its path meanwhile, if not the file, is not in the bin as ours.
DeleteResult Settle(HANDLE held, const std::string& path) {
  HeldPlace place = WhereNow(held, path);
  // A name the system still gives a file gone from its place says nothing.
  if (place == HeldPlace::kAtPath && LeftItsPlace(path)) place = HeldPlace::kUnknown;
  switch (place) {
    case HeldPlace::kAtPath: break;
    case HeldPlace::kInBin: return DeleteResult::kRecycled;
    case HeldPlace::kElsewhere: return DeleteResult::kChanged;
    case HeldPlace::kUnknown:
      if (LeftItsPlace(path)) return DeleteResult::kRecycled;
      break;
  }
  return DeleteResult::kRefused;
}

std::string FileSystemPath(IShellItem* item) {
  PWSTR name = nullptr;
  if (!item || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &name)) || !name) return {};
  std::string path = base::Utf8(name);
  CoTaskMemFree(name);
  return path;
}

// Follows one held file through the shell's operation. Before the shell
// moves its path, the path must still hold that file; after, what reached
// the bin tells whether it was ours, or else where the stranger is.
class ItemWatch : public IFileOperationProgressSink {
 public:
  ItemWatch(HANDLE held, const std::string& path, BinMove& move)
      : held_(held), path_(path), move_(move) {}
  bool touched = false;  // the shell came to this item
  bool known = false;    // and `move` says what it did

  HRESULT STDMETHODCALLTYPE PreDeleteItem(DWORD, IShellItem*) override {
    touched = true;
    if (IsHeldFile(held_, path_)) return S_OK;
    // Refusing ends the whole operation; what it had not reached stays.
    move_.result = DeleteResult::kChanged;
    known = true;
    return HRESULT_FROM_WIN32(ERROR_CANCELLED);
  }
  HRESULT STDMETHODCALLTYPE PostDeleteItem(DWORD, IShellItem*, HRESULT done,
                                           IShellItem* created) override {
    touched = true;
    if (FAILED(done) || !created) return S_OK;  // the held file tells
    if (std::optional<BinMove> moved = WhatWasMoved(held_, path_, FileSystemPath(created))) {
      move_ = *moved;
      known = true;
    }
    return S_OK;
  }

  // Held on the stack for the whole operation: the counts mean nothing.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (id == IID_IUnknown || id == IID_IFileOperationProgressSink) {
      *out = static_cast<IFileOperationProgressSink*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE StartOperations() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FinishOperations(HRESULT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PreRenameItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PostRenameItem(DWORD, IShellItem*, LPCWSTR, HRESULT,
                                           IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PreMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PostMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT,
                                         IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PreCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PostCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT,
                                         IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PreNewItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PostNewItem(DWORD, IShellItem*, LPCWSTR, LPCWSTR, DWORD, HRESULT,
                                        IShellItem*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE UpdateProgress(UINT, UINT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResetTimer() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PauseTimer() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResumeTimer() override { return S_OK; }

 private:
  HANDLE held_;
  const std::string& path_;
  BinMove& move_;
};

// The held files into the bin through IFileOperation (Vista and later),
// each watched. False when it did nothing (where it is only a stub): then the
// older call does the move. known[k] tells whether moves[k] is settled.
bool MoveWatched(const std::vector<FoundFile>& files, const std::vector<base::FileHandle>& held,
                 std::vector<BinMove>& moves, std::vector<bool>& known) {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  if (FAILED(init)) return false;  // a thread of another model is not ours to change
  bool started = false;
  {
    std::vector<std::unique_ptr<ItemWatch>> watches(files.size());
    base::Com<IFileOperation> op;  // released before the watches it holds
    HRESULT hr = CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_IFileOperation,
                                  reinterpret_cast<void**>(op.Out()));
    // Windows 7 recycles with FOF_ALLOWUNDO alone and may not know the newer flag.
    if (SUCCEEDED(hr) && FAILED(op->SetOperationFlags(kQuiet | FOFX_RECYCLEONDELETE)))
      hr = op->SetOperationFlags(kQuiet);
    for (size_t k = 0; SUCCEEDED(hr) && k < files.size(); ++k) {
      if (!held[k]) continue;
      base::Com<IShellItem> item;
      hr = SHCreateItemFromParsingName(base::Wide(files[k].path).c_str(), nullptr, IID_IShellItem,
                                       reinterpret_cast<void**>(item.Out()));
      watches[k] = std::make_unique<ItemWatch>(held[k].get(), files[k].path, moves[k]);
      if (SUCCEEDED(hr)) hr = op->DeleteItem(item.get(), watches[k].get());
    }
    if (SUCCEEDED(hr)) {
      op->PerformOperations();  // what it did, each watch tells
      for (size_t k = 0; k < files.size(); ++k)
        if (watches[k]) {
          started = started || watches[k]->touched || LeftItsPlace(files[k].path);
          known[k] = watches[k]->known;
        }
    }
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return started;
}

}  // namespace

std::vector<bool> WinRecycleBin::Recycle(const std::vector<std::string>& paths) {
  std::vector<bool> moved(paths.size(), false);
  std::wstring list;
  std::vector<bool> sent(paths.size(), false);
  bool any = false;
  for (size_t k = 0; k < paths.size(); ++k) {
    // Checked again at the last moment: a folder or link is never sent.
    const DWORD attrs = GetFileAttributesW(base::Wide(base::ExtendedPath(paths[k])).c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES ||
        (attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
      continue;
    sent[k] = Add(list, paths[k]);
    any = any || sent[k];
  }
  if (!any) return moved;
  MoveToBin(std::move(list));
  // Whatever the answer, a file no longer at its place has gone to the bin.
  for (size_t k = 0; k < paths.size(); ++k) moved[k] = sent[k] && LeftItsPlace(paths[k]);
  return moved;
}

std::vector<BinMove> WinRecycleBin::MoveChecked(const std::vector<FoundFile>& files) {
  std::vector<BinMove> moves(files.size());
  // Each file is held open from its last check until after the shell's
  // move, so that the file itself tells where it went.
  std::vector<base::FileHandle> held(files.size());
  std::wstring list;
  bool any = false;
  for (size_t k = 0; k < files.size(); ++k) {
    held[k] = HoldIfUnchanged(files[k].path, files[k].identity);
    if (held[k] && !Add(list, files[k].path)) held[k].Reset();
    any = any || held[k];
  }
  if (!any) return moves;
  std::vector<bool> known(files.size(), false);
  if (!MoveWatched(files, held, moves, known)) MoveToBin(std::move(list));
  for (size_t k = 0; k < files.size(); ++k)
    if (held[k] && !known[k]) moves[k].result = Settle(held[k].get(), files[k].path);
  return moves;
}

bool WinRecycleBin::PutBack(const std::string& inBin, const std::string& path) {
  // A rename on the same drive, file or folder alike; whatever is at `path`
  // now stays.
  if (!MoveFileExW(base::Wide(base::ExtendedPath(inBin)).c_str(),
                   base::Wide(base::ExtendedPath(path)).c_str(), 0))
    return false;
  // Beside each item "$R…" the bin keeps its record "$I…", which goes with it.
  const size_t cut = inBin.find_last_of('\\');
  if (cut != std::string::npos && inBin.compare(cut + 1, 2, "$R") == 0) {
    const std::string record = inBin.substr(0, cut + 1) + "$I" + inBin.substr(cut + 3);
    DeleteFileW(base::Wide(base::ExtendedPath(record)).c_str());
  }
  return true;
}

}  // namespace cleanup

#include "InstalledFile.h"

#include <windows.h>
#include <shlobj.h>

#include "WindowsText.h"

namespace setup {

namespace {

std::wstring WindowsError(DWORD error) { return L"Windows error " + std::to_wstring(error); }

std::wstring FullPath(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  size = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
  full.resize(size);
  return full;
}

}  // namespace

// Named whether or not it exists yet: copying the add-in makes what is missing.
std::wstring AddInsFolder() {
  wchar_t* roaming = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DONT_VERIFY, nullptr, &roaming))) return {};
  std::wstring folder = std::wstring(roaming) + L"\\Microsoft\\AddIns";
  CoTaskMemFree(roaming);
  return folder;
}

std::wstring InstalledPath() {
  std::wstring folder = AddInsFolder();
  return folder.empty() ? folder : folder + L"\\Quorrel.xll";
}

bool NamesInstalledFile(const std::wstring& path, const std::wstring& installed) {
  std::wstring expanded = Expanded(path);
  if (expanded.find_first_of(L"\\/:") == std::wstring::npos) return SameText(expanded, L"Quorrel.xll");
  return SameText(FullPath(expanded), FullPath(installed));
}

bool CopyInto(const std::wstring& source, const std::wstring& target, std::wstring& error) {
  std::wstring folder = target.substr(0, target.find_last_of(L'\\'));
  int made = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS) {
    error = L"cannot make the folder \"" + folder + L"\" (" + WindowsError(made) + L")";
    return false;
  }
  std::wstring partial = target + L".partial";
  if (!CopyFileW(source.c_str(), partial.c_str(), FALSE)) {
    error = L"cannot copy to \"" + partial + L"\" (" + WindowsError(GetLastError()) + L")";
    return false;
  }
  if (!MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = L"cannot replace \"" + target + L"\" (" + WindowsError(GetLastError()) + L")";
    DeleteFileW(partial.c_str());
    return false;
  }
  return true;
}

Mark RemoveDownloadMark(const std::wstring& file) {
  std::wstring stream = file + L":Zone.Identifier";
  if (GetFileAttributesW(stream.c_str()) == INVALID_FILE_ATTRIBUTES) return Mark::None;
  return DeleteFileW(stream.c_str()) ? Mark::Removed : Mark::Kept;
}

// A delete can report success and leave the file: Windows (and Wine) delete
// on close, and a folder that refuses deletes refuses only then. So the file
// counts as deleted only once it is gone.
bool DeleteInstalled(const std::wstring& file, std::wstring& error) {
  if (!DeleteFileW(file.c_str())) {
    DWORD status = GetLastError();
    if (status != ERROR_FILE_NOT_FOUND && status != ERROR_PATH_NOT_FOUND) {
      error = L"cannot delete \"" + file + L"\" (" + WindowsError(status) + L")";
      return false;
    }
  }
  if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
    error = L"deleted \"" + file + L"\", but it is still there";
    return false;
  }
  return true;
}

}  // namespace setup

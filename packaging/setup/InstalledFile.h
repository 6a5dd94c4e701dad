// The installed add-in file: %APPDATA%\Microsoft\AddIns\Quorrel.xll, where
// %APPDATA% is the user's real roaming application-data folder.
#pragma once
#include <string>

namespace setup {

// The user's add-ins folder, where Excel also looks for an add-in named
// without a folder; empty when Windows cannot name it.
std::wstring AddInsFolder();
// The full path of the installed file, or empty when Windows cannot name the folder.
std::wstring InstalledPath();

// Whether `value` (an entry's path, expanded if it refers to the environment)
// names `installed`: the same full path in any case, or the bare file name,
// which Excel looks up in the add-ins folder.
bool NamesInstalledFile(const std::wstring& path, const std::wstring& installed);

// Copies `source` to `target` through a temporary file beside it and an
// atomic replace, making the folder if needed. On failure `error` says why
// and `target` is as it was.
bool CopyInto(const std::wstring& source, const std::wstring& target, std::wstring& error);

// The mark of a download is the file's Zone.Identifier stream.
enum class Mark { None, Removed, Kept };
Mark RemoveDownloadMark(const std::wstring& file);

// Deletes the file. A file already gone counts as deleted.
bool DeleteInstalled(const std::wstring& file, std::wstring& error);

}  // namespace setup

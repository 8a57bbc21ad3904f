#pragma once

// Replacing a file by another in one step, also while the file is open (and locked) in this and
// other processes, which a deletion of a result record needs.
//
// POSIX: rename() does exactly that. Windows refuses to rename over a file that is open
// (MoveFileExW with MOVEFILE_REPLACE_EXISTING fails with "access denied"), so there the new file
// is renamed with POSIX semantics (SetFileInformationByHandle, FileRenameInfoEx), which replaces
// an open file as rename() does. Where the system or the network share does not offer that, the
// old file is first renamed out of the way to ReplacingNameOf(to) (allowed while it is open, since
// every opener shares deletion), the new file takes its name, and the old one is deleted (it goes
// when its last handle closes); one program copy at a time does this, holding a guard file beside
// it that is opened without sharing. Between those two renames the name is briefly empty: a program
// copy that finds the file missing while ReplacingNameOf(to) exists must treat it as busy and try
// again, never create an empty file in its place.

#include <functional>
#include <string>

namespace numora {

// Puts the file fromPath in place of toPath (UTF-8 paths). False with the system's error number
// when it could not; busy is set when that is worth retrying (another process holds a file in a
// way that prevents the replacement for now). When it fails, toPath is as it was, or (busy then)
// holds the file another program copy put in place while this one replaced it the slow way.
bool ReplaceOpenFile(const std::string& fromPath, const std::string& toPath, int& systemError,
                     bool& busy);

// The name the old file has for a moment while ReplaceOpenFile replaces it the slow way.
std::string ReplacingNameOf(const std::string& path);

// Writes bytes as a new file and makes it durable (flushed to the disk). exclusive: fail when the
// file exists, else replace its contents. atHalf is called when half the bytes are written;
// returning false stops there and leaves the file as it is (stopped is set; tests use it to stop a
// writer half-way). A file that could not be written completely is removed. False with a Japanese
// error text naming the file.
bool WriteNewFile(const std::string& path, const std::string& bytes, bool exclusive,
                  const std::function<bool()>& atHalf, std::string& error, bool& stopped);
// Makes a creation, rename or removal in the folder durable (POSIX; Windows does it with the
// write-through renames).
void SyncFolder(const std::string& folder);
// Whether anything stands at the path (a link is not followed).
bool PathExists(const std::string& path);
// Removes a file; false when it could not.
bool RemoveFile(const std::string& path);

}  // namespace numora

#pragma once
// Replacing a file all at once; one implementation a platform
// (file_replace_posix.cpp, file_replace_windows.cpp).
#include <string>
#include <vector>

namespace korzenik::script {

/// Puts bytes at path so that path holds either its old contents or all of the new ones, never
/// a part: they are written to a new file in the same folder, which replaces path only once it
/// is complete and closed, taking over what the old file had (its owner, mode and access list as
/// far as the system keeps them). A symbolic link at path has the file it leads to replaced, in
/// that file's folder, and stays. What is not a regular file (a device, a pipe, a folder, one of
/// the process's own descriptors such as /dev/stdout) and a file protected from writing are
/// refused. False, with the reason in *err, when that cannot be done; path is then as it was
/// and the new file is gone.
bool replaceFile(const std::string& path, const std::vector<unsigned char>& bytes,
                 std::string* err);

}  // namespace korzenik::script

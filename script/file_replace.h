#pragma once
// Replacing a file all at once; one implementation a platform (KORZENIK_FILE_REPLACE).
#include <string>
#include <vector>

namespace korzenik::script {

/// Puts bytes at path so that path holds either its old contents or all of the new ones, never
/// a part: they are written to a new file in the same folder, which replaces path only once it
/// is complete and closed. A symbolic link at path is replaced, not what it points to. False,
/// with the system's reason in *err, when that cannot be done; path is then as it was and the
/// new file is gone.
bool replaceFile(const std::string& path, const std::vector<unsigned char>& bytes,
                 std::string* err);

}  // namespace korzenik::script

#pragma once
#include <string>
#include <vector>

#include "chart/framebuffer.h"

namespace korzenik::script {

/// The image as a PNG file's bytes: an indexed picture with a palette of its colours when it has
/// at most 256 of them (a chart has a handful), 8-bit RGB otherwise, compressed for speed. False,
/// saying why in *err, when the encoder fails.
bool encodePng(const Framebuffer& image, std::vector<unsigned char>* png, std::string* err);

/// Puts bytes at path so that path holds either its old contents or all of the new ones, never
/// a part: they are written to a new file in the same folder, which replaces path only once it
/// is complete and closed. A symbolic link at path is replaced, not what it points to. False,
/// with the system's reason in *err, when that cannot be done; path is then as it was and the
/// new file is gone.
bool replaceFile(const std::string& path, const std::vector<unsigned char>& bytes,
                 std::string* err);

/// encodePng, then replaceFile.
bool writePng(const std::string& path, const Framebuffer& image, std::string* err);

}  // namespace korzenik::script

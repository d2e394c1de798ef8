#include "script/png_writer.h"

#include "script/file_replace.h"

namespace korzenik::script {

bool writePng(const std::string& path, const Framebuffer& image, std::string* err) {
    std::vector<unsigned char> png;
    return encodePng(image, &png, err) && replaceFile(path, png, err);
}

}  // namespace korzenik::script

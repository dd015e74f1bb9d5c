// Whole-file writes that never leave a torn file behind: the bytes go to a
// temporary file beside the target, reach the disk, and then replace the
// target in one rename.
#pragma once

#include <cstddef>
#include <string>

class TiXmlDocument;

namespace orbisk {

bool WriteFileAtomic(const std::string& path, const char* data, size_t size);
// TinyXML's own text form of the document (text mode, as its SaveFile).
bool SaveXmlAtomic(const TiXmlDocument& doc, const std::string& path);

}  // namespace orbisk

// The installer's large resources (its components, strings files and logos) are stored
// packed by the build (scripts/pack-resource.py): a four-byte mark, the
// unpacked size, and one zlib stream with its own check sum.
#pragma once

#include <string>

namespace packed {

// The unpacked bytes of `stored`; false (and `bytes` empty) for anything that
// is not one whole packed file of exactly the size it names.
bool Unpack(const std::string& stored, std::string& bytes);
// `stored` begins with the packed file's mark (it may still be damaged).
bool IsPacked(const std::string& stored);

}  // namespace packed

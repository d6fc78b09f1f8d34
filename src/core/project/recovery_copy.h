#pragma once

#include <optional>
#include <string>

namespace mirasketch {

class LayerProject;

// A recovery copy is a layer-project file, which the project reader opens as it is, followed by a
// trailer naming the project's own file (empty for a project never saved), so the program can say
// which work it holds and give the restored project its name back.

// Writes the project and `projectName` to `path` through a temporary file renamed into place; the
// project must be storable (`ProjectStorageRefusal` empty). Shows no message: throws IoError
// when the file cannot be written, and the previous copy stays.
void WriteRecoveryCopy(const LayerProject& project, const std::string& projectName,
                       const std::string& path);

// The project name a recovery copy holds, when the file is whole: a layer-project header, every
// layer record complete, the trailer right after them. Nothing for a damaged, cut-short or
// foreign file. Reads only the headers, however large the copy. Throws IoError when the file
// cannot be opened or read.
std::optional<std::string> RecoveryCopyName(const std::string& path);

}  // namespace mirasketch

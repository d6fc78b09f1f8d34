#pragma once

#include <string>

namespace mirasketch {

class InFile;
class LayerProject;
class SafeFileWriter;

// Layer-project file constants: magic, the format the writer produces and the older packed one.
inline constexpr int kKvlMagic = 0x5D08;
inline constexpr int kKvlFormat = 110;
inline constexpr int kKvlPackedFormat = 100;

// Why the project cannot be stored as a layer-project file named `fileName` (an empty layer, a
// compose mode or threshold beyond 16 bits), as the message to show; empty when it can.
std::string ProjectStorageRefusal(const LayerProject& project, const std::string& fileName);
// Writes the whole project as format 110 (header and layer records) to `out`, without messages;
// the project must be storable. Throws IoError when the bytes cannot be written.
void WriteProjectRecords(const LayerProject& project, SafeFileWriter& out);

// Writes the project as a format-110 file through a temporary file renamed over the target.
// A project the format cannot hold (an empty layer, a compose mode or threshold beyond 16 bits) is
// refused with a message and false; file failures throw IoError and leave the old file intact.
bool WriteProjectFile(const LayerProject& project, const std::string& fileName);

// Reads a format-110 or format-100 file into fresh layers and, only when the whole file was read
// and checked, replaces the project with it (then layer 0 is active and the view reset). A file
// that is not a layer project, or is cut short or inconsistent, gets a message naming the file
// and false, and leaves the project exactly as it was; so does a project whose layers do not fit
// in the memory available, with "ClsDibTrue- Bits Alloc Error", before any layer is sized. A
// missing or unreadable file throws IoError.
bool ReadProjectFile(LayerProject& project, const std::string& fileName);
// Steps over a layer-project file's header and layer records from the start of `file`, checking
// them as reading would but reading no pixel; false when the file is not a layer project or is
// malformed or cut short. The position is then just after the last record.
bool SkipProjectRecords(InFile& file);
// As `ReadProjectFile`, from an open file; messages name `file.Name()`.
bool ReadProjectFrom(LayerProject& project, InFile& file);

}  // namespace mirasketch

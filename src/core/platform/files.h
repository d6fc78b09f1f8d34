#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace mirasketch {

// A file opened for binary reading that knows its length, so readers can check every count
// against what the file really holds before they allocate or write anything.
class InFile {
 public:
  // Opens `path`; throws IoError when the file exists but cannot be opened or measured.
  // `Exists` lets callers give their own message for a missing file first.
  explicit InFile(const std::string& path);
  // Reads straight from `size` bytes of memory, which must outlive the InFile (fuzzing, tests,
  // benchmarks); nothing is copied. `name` is used in messages.
  InFile(const void* data, std::size_t size, const std::string& name);
  ~InFile();
  InFile(const InFile&) = delete;
  InFile& operator=(const InFile&) = delete;

  static bool Exists(const std::string& path);

  const std::string& Name() const { return name_; }
  std::uint64_t Size() const { return size_; }
  std::uint64_t Position() const { return position_; }
  std::uint64_t Remaining() const { return size_ - position_; }

  // Reads up to `count` bytes and returns how many arrived: fewer only at the end of the file, and
  // never past the size measured when it was opened, even if it has grown since. Throws IoError
  // on a read failure.
  std::size_t Read(void* out, std::size_t count);
  // Reads exactly `count` bytes; false (with the position at the end) when the file is shorter.
  bool ReadExact(void* out, std::size_t count);
  // Moves forward by `count` bytes; false when that passes the end of the file.
  bool Skip(std::uint64_t count);
  // Moves to `position` from the start, so a reader can look ahead and come back; false (the
  // position unchanged) beyond the end. Throws IoError when the file cannot be positioned.
  bool Seek(std::uint64_t position);

 private:
  std::FILE* file_ = nullptr;             // null in the memory form
  const std::uint8_t* memory_ = nullptr;  // the bytes of the memory form
  std::string name_;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
};

// Writes a file so that the previous file of that name survives any failure: the bytes go to a
// temporary file in the same folder, which `Commit` flushes to disk and renames over the target.
// A writer destroyed without a successful `Commit` removes its temporary file.
class SafeFileWriter {
 public:
  // Creates the temporary file; throws IoError when the folder cannot take it.
  explicit SafeFileWriter(const std::string& path);
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Appends bytes; throws IoError when they cannot be written.
  void Write(const void* data, std::size_t count);
  // Flushes, closes and renames into place; throws IoError on failure (the old file stays).
  void Commit();

 private:
  void Discard();

  std::string path_;
  std::string tempPath_;
  std::FILE* file_ = nullptr;
};

}  // namespace mirasketch

#include "platform/atomic_file.h"

#include <atomic>
#include <cstdlib>

#include "platform/file_faults.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qv::platform {

namespace {

constexpr int kTemporaryNameAttempts = 100;

int currentProcessId() {
#ifdef _WIN32
  return static_cast<int>(GetCurrentProcessId());
#else
  return static_cast<int>(::getpid());
#endif
}

bool pathExists(const std::string& path) {
#ifdef _WIN32
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0;
#endif
}

// The file the bytes really belong to: the target of a symbolic link at path.
std::string resolvedTarget(const std::string& path) {
#ifndef _WIN32
  struct stat status {};
  if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
  }
#endif
  return path;
}

#ifndef _WIN32
// Makes the rename itself durable. Best effort: the new content is already
// in place when this runs.
void syncFolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of('/');
  const std::string folder = cut == std::string::npos ? "." : (cut == 0 ? "/" : path.substr(0, cut));
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  if (injectedFileFault(FileStep::kSyncFolder) == 0) ::fsync(descriptor);
  ::close(descriptor);
}
#endif

int renameOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
  if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return static_cast<int>(GetLastError());
  }
  return 0;
#else
  if (const int injected = injectedFileFault(FileStep::kRename); injected != 0) return injected;
  if (::rename(from.c_str(), to.c_str()) != 0) return errno != 0 ? errno : EIO;
  syncFolderOf(to);
  return 0;
#endif
}

enum class TargetKind { kAbsentOrRegular, kFolder, kOther };

// What an existing target is, links followed.
TargetKind targetKind(const std::string& path) {
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return TargetKind::kFolder;
  return TargetKind::kAbsentOrRegular;
#else
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode)) return TargetKind::kAbsentOrRegular;
  return S_ISDIR(status.st_mode) ? TargetKind::kFolder : TargetKind::kOther;
#endif
}

#ifdef _WIN32
constexpr int kNoSuchFile = ERROR_FILE_NOT_FOUND;
constexpr int kIsAFolder = ERROR_ACCESS_DENIED;
#else
constexpr int kNoSuchFile = ENOENT;
constexpr int kIsAFolder = EISDIR;
#endif

FileWriteResult openFailure(int errorNumber) { return {errorNumber, true}; }

}  // namespace

// A device or a pipe takes the bytes as they come, in place; there is nothing
// to sync or rename.
AtomicFileWriter::AtomicFileWriter(const std::string& path) : target_(path) {
  static std::atomic<unsigned> sequence{0};
  if (path.empty()) {
    failure_ = openFailure(kNoSuchFile);
    return;
  }
  switch (targetKind(path)) {
    case TargetKind::kFolder: failure_ = openFailure(kIsAFolder); return;
    case TargetKind::kOther:
      file_ = OutputFile::open(path, OutputFile::Creation::kReplaceContent);
      if (!file_.isOpen()) failure_ = openFailure(file_.errorNumber());
      return;
    case TargetKind::kAbsentOrRegular: break;
  }
  target_ = resolvedTarget(path);
  const std::string prefix = target_ + ".tmp" + std::to_string(currentProcessId()) + "-";
  std::string candidate;
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    candidate = prefix + std::to_string(sequence.fetch_add(1));
    file_ = OutputFile::open(candidate, OutputFile::Creation::kNewOnly);
    if (file_.isOpen() || !pathExists(candidate)) break;
  }
  if (!file_.isOpen()) {
    failure_ = openFailure(file_.errorNumber());
    return;
  }
  temporaryPath_ = std::move(candidate);
  file_.copyPermissionsFrom(target_);
}

AtomicFileWriter::~AtomicFileWriter() { discard(); }

void AtomicFileWriter::discard() noexcept {
  file_ = OutputFile();
  if (!temporaryPath_.empty()) removeFile(temporaryPath_);
  temporaryPath_.clear();
}

bool AtomicFileWriter::write(std::string_view bytes) { return failure_.ok() && file_.write(bytes); }

FileWriteResult AtomicFileWriter::commit() {
  if (!failure_.ok()) return failure_;
  const bool inPlace = temporaryPath_.empty();
  if (!inPlace) file_.syncToDisk();
  if (!file_.close()) {
    failure_ = {file_.errorNumber()};
    discard();
    return failure_;
  }
  if (inPlace) return {};
  if (const int error = renameOver(temporaryPath_, target_); error != 0) {
    failure_ = {error};
    discard();
    return failure_;
  }
  temporaryPath_.clear();
  return {};
}

FileWriteResult writeFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFileWriter writer(path);
  writer.write(bytes);
  return writer.commit();
}

}  // namespace qv::platform

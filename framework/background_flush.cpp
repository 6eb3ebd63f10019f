#include "framework/background_flush.hpp"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <condition_variable>
#include <algorithm>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace fs = std::filesystem;
namespace {

void Sync(const fs::path& path, int flags) {
  // Without waiting: a pipe put in a file's place since would block the open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | flags);
  if (fd < 0) return;  // renamed away or removed since: nothing left to flush
  struct stat info {};
  if (::fstat(fd, &info) == 0 && (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode))) ::fsync(fd);
  ::close(fd);
}

class Flusher {
 public:
  Flusher() : thread_([this] { Run(); }) {}
  ~Flusher() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

  void Queue(const fs::path& file) {
    {
      std::lock_guard lock(mutex_);
      files_.insert(file);
    }
    wake_.notify_one();
  }

  void Wait() {
    std::unique_lock lock(mutex_);
    // Queued files go in the next round; a round under way finishes first.
    const unsigned long long wanted = started_ + (files_.empty() ? 0 : 1);
    idle_.wait(lock, [&] { return done_ >= wanted; });
  }

  std::size_t Count() {
    std::lock_guard lock(mutex_);
    return files_.size() + flushing_;
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return stopping_ || !files_.empty(); });
      if (files_.empty()) return;  // stopping, everything flushed
      std::set<fs::path> files;
      files.swap(files_);
      flushing_ = files.size();
      ++started_;
      lock.unlock();
      // The data of each file, then the folders that hold the new names.
      std::set<fs::path> folders;
      for (const fs::path& file : files) {
        Sync(file, 0);
        folders.insert(file.has_parent_path() ? file.parent_path() : fs::path("."));
      }
      for (const fs::path& folder : folders) Sync(folder, O_DIRECTORY);
      lock.lock();
      flushing_ = 0;
      ++done_;
      idle_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::set<fs::path> files_;
  std::size_t flushing_ = 0;
  // Rounds of flushing started and finished.
  unsigned long long started_ = 0, done_ = 0;
  bool stopping_ = false;
  std::thread thread_;
};

// Writes queued groups of files whole, one group at a time in the order of
// their last queueing, each file in its group's order, and hands each to
// the flusher. A file that fails ends its group: the files after it keep
// their old content, as when the same files are written one by one.
class Writer {
 public:
  Writer() : thread_([this] { Run(); }) {}
  ~Writer() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();  // after writing what is still queued
  }

  void Queue(std::vector<QueuedFile> files) {
    {
      std::lock_guard lock(mutex_);
      // The same files queued again before their turn are written once, with
      // their newest bytes, after the files queued in between.
      for (auto it = queue_.begin(); it != queue_.end(); ++it) {
        if (SameFiles(*it, files)) {
          queue_.erase(it);
          break;
        }
      }
      queue_.push_back(std::move(files));
    }
    wake_.notify_one();
  }

  std::optional<std::string> Bytes(const fs::path& file) {
    std::lock_guard lock(mutex_);
    if (const QueuedFile* found = Newest([&](const QueuedFile& q) { return q.file == file; })) {
      return found->bytes;
    }
    return std::nullopt;
  }

  std::optional<fs::path> FileIn(const fs::path& dir, std::string_view name) {
    std::lock_guard lock(mutex_);
    if (const QueuedFile* found = Newest([&](const QueuedFile& q) {
          return q.file.parent_path() == dir && EqualsIgnoreCase(q.file.filename().string(), name);
        })) {
      return found->file;
    }
    return std::nullopt;
  }

  void Forget(const fs::path& file) {
    std::unique_lock lock(mutex_);
    for (auto& group : queue_) {
      std::erase_if(group, [&](const QueuedFile& q) { return q.file == file; });
    }
    std::erase_if(queue_, [](const auto& group) { return group.empty(); });
    idle_.wait(lock, [&] {
      return !current_ || std::none_of(current_->begin(), current_->end(),
                                       [&](const QueuedFile& q) { return q.file == file; });
    });
  }

  void Wait() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [&] { return queue_.empty() && !current_; });
  }

  std::size_t Count() {
    std::lock_guard lock(mutex_);
    std::size_t count = current_ ? current_->size() : 0;
    for (const auto& group : queue_) count += group.size();
    return count;
  }

  std::optional<FileError> TakeFailure() {
    std::lock_guard lock(mutex_);
    std::optional<FileError> failure;
    failure.swap(failure_);
    return failure;
  }

 private:
  using Group = std::vector<QueuedFile>;

  static bool SameFiles(const Group& a, const Group& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (a[i].file != b[i].file) return false;
    }
    return true;
  }

  // The newest queued file that `matches`, the group being written included.
  template <class Match>
  const QueuedFile* Newest(Match matches) const {
    for (auto group = queue_.rbegin(); group != queue_.rend(); ++group) {
      for (auto it = group->rbegin(); it != group->rend(); ++it) {
        if (matches(*it)) return &*it;
      }
    }
    if (current_) {
      for (auto it = current_->rbegin(); it != current_->rend(); ++it) {
        if (matches(*it)) return &*it;
      }
    }
    return nullptr;
  }

  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;  // stopping, everything written
      current_ = std::move(queue_.front());
      queue_.pop_front();
      lock.unlock();
      std::optional<FileError> failure;
      for (const QueuedFile& queued : *current_) {
        try {
          WriteFileAtomically(queued.file, queued.bytes, Flush::kLater);
          FlushInBackground(queued.file);
        } catch (const FileError& error) {
          failure = error;
        } catch (const std::exception& error) {
          failure = FileError(queued.file, error.what(), FileOperation::kWrite);
        }
        if (failure) break;
      }
      lock.lock();
      if (failure && !failure_) failure_ = std::move(failure);
      current_.reset();
      idle_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::deque<Group> queue_;
  std::optional<Group> current_;  // being written: its bytes are still the newest
  std::optional<FileError> failure_;
  bool stopping_ = false;
  std::thread thread_;
};

// The writer and the flusher of this process. A child made by fork has
// neither thread and must not touch the parent's locks: it writes and
// flushes as it goes.
std::mutex creating, creatingWriter;
Flusher* instance = nullptr;
Writer* writer = nullptr;
// Set in a child made by fork: it starts no thread and flushes as it writes.
bool forkedChild = false;

struct Holder {
  ~Holder() {
    // The writer first: what it still writes is flushed afterwards.
    Writer* lastWriter = nullptr;
    {
      std::lock_guard lock(creatingWriter);
      std::swap(lastWriter, writer);
    }
    delete lastWriter;
    std::lock_guard lock(creating);
    delete instance;  // flushes what is still queued
    instance = nullptr;
  }
};

void ForgetInChild() {
  instance = nullptr;  // the parent's, left alone: their threads are not here
  writer = nullptr;
  forkedChild = true;
  creating.unlock();
  creatingWriter.unlock();
}

void PrepareFork() {
  creatingWriter.lock();
  creating.lock();
}

void AfterForkInParent() {
  creating.unlock();
  creatingWriter.unlock();
}

void RegisterOnce() {
  static Holder holder;
  static const bool registered = [] {
    ::pthread_atfork(PrepareFork, AfterForkInParent, ForgetInChild);
    return true;
  }();
  (void)registered;
}

Flusher& Instance() {
  RegisterOnce();
  std::lock_guard lock(creating);
  if (!instance) instance = new Flusher;
  return *instance;
}

Writer& WriterInstance() {
  RegisterOnce();
  std::lock_guard lock(creatingWriter);
  if (!writer) writer = new Writer;
  return *writer;
}

// The writer if this process has started one.
Writer* RunningWriter() {
  if (forkedChild) return nullptr;
  std::lock_guard lock(creatingWriter);
  return writer;
}

}  // namespace

void WriteInBackground(std::vector<QueuedFile> files) {
  if (files.empty()) return;
  const bool scratch = IsUnderScratchRoot(files.front().file);
  if (scratch || InForkedChild()) {
    for (const QueuedFile& queued : files) {
      WriteFileAtomically(queued.file, queued.bytes, Flush::kLater);
      if (!scratch) FlushInBackground(queued.file);
    }
    return;
  }
  WriterInstance().Queue(std::move(files));
}

std::optional<std::string> QueuedBytes(const fs::path& file) {
  Writer* running = RunningWriter();
  return running ? running->Bytes(file) : std::nullopt;
}

std::optional<fs::path> QueuedFileIn(const fs::path& dir, std::string_view name) {
  Writer* running = RunningWriter();
  return running ? running->FileIn(dir, name) : std::nullopt;
}

void ForgetQueuedWrites(const fs::path& file) {
  if (Writer* running = RunningWriter()) running->Forget(file);
}

void ThrowFailedWrite() {
  Writer* running = RunningWriter();
  if (!running) return;
  if (std::optional<FileError> failure = running->TakeFailure()) throw *failure;
}

void FinishQueuedWrites() {
  Writer* running = RunningWriter();
  if (!running) return;
  running->Wait();
  ThrowFailedWrite();
}

void FlushInBackground(const fs::path& file) {
  if (forkedChild) {
    Sync(file, 0);
    Sync(file.has_parent_path() ? file.parent_path() : fs::path("."), O_DIRECTORY);
    return;
  }
  Instance().Queue(file);
}

void FlushQueuedFiles() {
  if (forkedChild) return;
  if (Writer* running = RunningWriter()) running->Wait();
  Instance().Wait();
}

std::size_t QueuedFlushes() {
  if (forkedChild) return 0;
  Writer* running = RunningWriter();
  return (running ? running->Count() : 0) + Instance().Count();
}

namespace {
// The process as it started: a child made by fork has another id.
const pid_t startingProcess = ::getpid();
}  // namespace

bool InForkedChild() { return forkedChild || ::getpid() != startingProcess; }

namespace {

std::mutex scratchLock;
std::set<fs::path>& ScratchRoots() {
  static std::set<fs::path> roots;
  return roots;
}

}  // namespace

void MarkScratchRoot(const fs::path& root) {
  std::lock_guard lock(scratchLock);
  ScratchRoots().insert(root.lexically_normal());
}

void ForgetScratchRoot(const fs::path& root) {
  std::lock_guard lock(scratchLock);
  ScratchRoots().erase(root.lexically_normal());
}

bool IsUnderScratchRoot(const fs::path& path) {
  std::lock_guard lock(scratchLock);
  if (ScratchRoots().empty()) return false;
  // The root itself or any folder above `path`.
  for (fs::path at = path.lexically_normal(); !at.empty(); at = at.parent_path()) {
    if (ScratchRoots().count(at)) return true;
    if (at == at.parent_path()) break;
  }
  return false;
}

}  // namespace tavelin

#include "framework/background_flush.hpp"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

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

// The flusher of this process. A child made by fork has no flusher thread
// and must not touch the parent's locks: it starts a flusher of its own.
std::mutex creating;
Flusher* instance = nullptr;
// Set in a child made by fork: it starts no thread and flushes as it writes.
bool forkedChild = false;

struct Holder {
  ~Holder() {
    std::lock_guard lock(creating);
    delete instance;  // flushes what is still queued
    instance = nullptr;
  }
};

void ForgetInChild() {
  instance = nullptr;  // the parent's, left alone: its thread is not here
  forkedChild = true;
  creating.unlock();
}

Flusher& Instance() {
  static Holder holder;
  static const bool registered = [] {
    ::pthread_atfork([] { creating.lock(); }, [] { creating.unlock(); }, ForgetInChild);
    return true;
  }();
  (void)registered;
  std::lock_guard lock(creating);
  if (!instance) instance = new Flusher;
  return *instance;
}

}  // namespace

void FlushInBackground(const fs::path& file) {
  if (forkedChild) {
    Sync(file, 0);
    Sync(file.has_parent_path() ? file.parent_path() : fs::path("."), O_DIRECTORY);
    return;
  }
  Instance().Queue(file);
}

void FlushQueuedFiles() {
  if (!forkedChild) Instance().Wait();
}

std::size_t QueuedFlushes() { return forkedChild ? 0 : Instance().Count(); }

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

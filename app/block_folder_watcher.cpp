#include "app/block_folder_watcher.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <map>
#include <system_error>

#include "app/dialog_registry.hpp"
#include "framework/settings_declaration.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace fs = std::filesystem;
namespace {

bool IsBlockFileName(const fs::path& path) {
  return EqualsIgnoreCase(path.extension().string(), ".dxf");
}

std::string ShortTime(fs::file_time_type time) {
  const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(time));
  std::tm local{};
  localtime_r(&t, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%m/%d %H:%M", &local);
  return buffer;
}

BlockListing Listing(const fs::path& file, fs::file_time_type time, std::uintmax_t size) {
  BlockListing entry;
  entry.file = file;
  entry.name = file.stem().string();
  entry.time = time;
  entry.size = size;
  const BlockData data = ReadBlockData(file);
  entry.fitting = ListedFitting(data);
  entry.description = data.description;
  entry.label = (entry.fitting.empty() ? entry.name : entry.fitting) + "　" + ShortTime(time);
  return entry;
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// More changes than this at once are followed by listing the folder anew.
constexpr size_t kMaxChanges = 4096;

}  // namespace

std::string ListedFitting(const BlockData& data) {
  if (!data.Present()) return {};
  const FittingKind* kind = FittingForClass(data.className);
  const std::string name = kind ? std::string(kind->name) : data.className;
  if (kind && kind->stem.empty()) {
    // A pipe part: its description begins "<menu> <part> サイズ <sizes> 回転 …".
    std::string_view text = data.description;
    if (text.substr(0, name.size()) == name) text.remove_prefix(name.size());
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    const size_t turn = text.find(" 回転 ");
    if (turn != std::string_view::npos) return std::string(text.substr(0, turn));
    return name;
  }
  const SettingsDeclaration* decl =
      data.stem.empty() ? nullptr : DeclarationOfFile(data.stem + ".ini");
  const std::string typed = decl ? DescribeTypedValues(*decl, data.settings) : std::string();
  return typed.empty() ? name : name + " " + typed;
}

bool BlockListing::Matches(std::string_view query) const {
  // No words (the usual case): every block, without building its text.
  if (query.find_first_not_of(" ") == std::string_view::npos) return true;
  const std::string haystack = LowerAscii(fitting + "\n" + description + "\n" + name);
  // A full-width blank separates words too.
  std::string words = LowerAscii(query);
  for (size_t at = words.find("\u3000"); at != std::string::npos; at = words.find("\u3000", at)) {
    words.replace(at, 3, " ");
  }
  for (const std::string& word : Split(words, ' ')) {
    if (!word.empty() && haystack.find(word) == std::string::npos) return false;
  }
  return true;
}

bool ListedBefore(const BlockListing& a, const BlockListing& b) {
  return a.time != b.time ? a.time > b.time : a.name < b.name;
}

namespace {

// The time and size of a regular file from one look at it (as
// fs::last_write_time and fs::file_size give them); nothing for anything else.
struct FileLook {
  fs::file_time_type time;
  std::uintmax_t size = 0;
};
std::optional<FileLook> LookAt(const fs::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  using namespace std::chrono;
  const sys_time<nanoseconds> modified{seconds(st.st_mtim.tv_sec) +
                                       nanoseconds(st.st_mtim.tv_nsec)};
  return FileLook{file_clock::from_sys(modified), static_cast<std::uintmax_t>(st.st_size)};
}

// Below this many files one thread lists them; above, the reading of their
// descriptions is shared with a second thread.
constexpr size_t kFilesForTwoThreads = 256;

}  // namespace

std::vector<BlockListing> ListBlocks(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    // A name that is plainly no regular file is left out without a look.
    if (!IsBlockFileName(it->path()) || it->is_directory(kind)) continue;
    files.push_back(it->path());
  }
  // Each file is looked at and its data read where it lies in `files`; the
  // two halves on two threads when there are many.
  std::vector<std::optional<BlockListing>> found(files.size());
  auto list = [&](size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) found[i] = ListBlock(files[i]);
  };
  const size_t half = files.size() / 2;
  if (files.size() >= kFilesForTwoThreads && std::thread::hardware_concurrency() >= 2) {
    std::thread other;
    try {
      other = std::thread(list, half, files.size());
    } catch (const std::system_error&) {
      list(half, files.size());  // no thread to be had: this one does it all
    }
    list(0, half);
    if (other.joinable()) other.join();
  } else {
    list(0, files.size());
  }
  std::vector<BlockListing> entries;
  // Room for the blocks written while the list is open: the window's list
  // grows into it instead of moving thousands of entries at the first new
  // block (made here, off the window's thread, when the watcher lists).
  entries.reserve(files.size() + files.size() / 8 + 16);
  for (std::optional<BlockListing>& entry : found) {
    if (entry) entries.push_back(std::move(*entry));
  }
  std::sort(entries.begin(), entries.end(), ListedBefore);
  return entries;
}

std::optional<BlockListing> ListBlock(const fs::path& file) {
  if (!IsBlockFileName(file)) return std::nullopt;
  const std::optional<FileLook> look = LookAt(file);
  if (!look) return std::nullopt;
  return Listing(file, look->time, look->size);
}

BlockFolderWatcher::BlockFolderWatcher(fs::path folder) : folder_(std::move(folder)) {
  inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (inotify_ < 0) return;
  // A block arrives by a link of its finished temporary (IN_CREATE, as the
  // builder writes), by a rename (IN_MOVED_TO) or is written in place (its
  // IN_CLOSE_WRITE looks at it again once whole).
  constexpr uint32_t kEvents = IN_CREATE | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM |
                               IN_DELETE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
  if (::inotify_add_watch(inotify_, folder_.c_str(), kEvents) < 0 ||
      ::pipe2(stopPipe_, O_CLOEXEC) != 0) {
    ::close(inotify_);
    inotify_ = -1;
    return;
  }
  watching_ = true;
  thread_ = std::thread([this] { Run(); });
}

BlockFolderWatcher::~BlockFolderWatcher() {
  if (thread_.joinable()) {
    const char stop = 0;
    ssize_t ignored = ::write(stopPipe_[1], &stop, 1);
    (void)ignored;
    thread_.join();
  }
  for (int fd : {inotify_, stopPipe_[0], stopPipe_[1]}) {
    if (fd >= 0) ::close(fd);
  }
}

bool BlockFolderWatcher::Watching() const {
  std::lock_guard lock(mutex_);
  return watching_;
}

bool BlockFolderWatcher::Listed() const {
  std::lock_guard lock(mutex_);
  return listed_ || !watching_;
}

bool BlockFolderWatcher::WaitListed(std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  listedChanged_.wait_for(lock, limit, [this] { return listed_ || !watching_; });
  return listed_;
}

bool BlockFolderWatcher::Pending() const {
  std::lock_guard lock(mutex_);
  return pending_.relisted || !pending_.written.empty() || !pending_.removed.empty();
}

BlockFolderWatcher::Changes BlockFolderWatcher::Take() {
  std::lock_guard lock(mutex_);
  Changes changes = std::move(pending_);
  pending_ = Changes();
  return changes;
}

void BlockFolderWatcher::Relist() {
  std::vector<BlockListing> listing = ListBlocks(folder_);
  std::optional<Changes::Picture> newest;
  if (!listing.empty()) {
    newest = {listing.front().file, listing.front().time, ReadBlockFile(listing.front().file)};
  }
  std::lock_guard lock(mutex_);
  pending_ = Changes();
  pending_.relisted = true;
  pending_.listing = std::move(listing);
  pending_.newest = std::move(newest);
  if (!listed_) {
    listed_ = true;
    listedChanged_.notify_all();
  }
}

void BlockFolderWatcher::Run() {
  alignas(struct inotify_event) char buffer[64 * 1024];
  // The first listing: whatever the watch saw meanwhile is applied to it
  // below, as to any listing not yet taken.
  Relist();
  for (;;) {
    pollfd fds[2] = {{inotify_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents) return;
    // The names that changed in this burst, each looked at once.
    std::map<std::string, bool> names;
    bool overflow = false, lost = false;
    for (;;) {
      const ssize_t got = ::read(inotify_, buffer, sizeof buffer);
      if (got <= 0) break;
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        if (event->mask & IN_Q_OVERFLOW) overflow = true;
        if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) lost = true;
        if (event->len == 0) continue;
        const std::string name(event->name);
        if (IsBlockFileName(name)) names[name] = true;
      }
      if (names.size() > kMaxChanges) overflow = true;
    }
    if (lost) {
      // The folder itself went away: the dialog lists by itself from now on.
      std::lock_guard lock(mutex_);
      watching_ = false;
      listedChanged_.notify_all();
      return;
    }
    if (overflow) {
      Relist();
      continue;
    }
    if (names.empty()) continue;
    std::vector<BlockListing> written;
    std::vector<std::string> removed;
    for (const auto& [name, changed] : names) {
      if (std::optional<BlockListing> entry = ListBlock(folder_ / name)) {
        written.push_back(std::move(*entry));
      } else {
        removed.push_back(name);
      }
    }
    // The picture of the newest block, which the list will select.
    std::optional<Changes::Picture> newest;
    auto best = std::min_element(written.begin(), written.end(), ListedBefore);
    if (best != written.end()) newest = {best->file, best->time, ReadBlockFile(best->file)};
    bool tooMany = false;
    {
      std::lock_guard lock(mutex_);
      if (pending_.relisted) {
        // Applied to the listing still waiting to be taken.
        auto& listing = pending_.listing;
        auto changed = [&](const BlockListing& e) {
          const std::string file = e.file.filename().string();
          return names.count(file) > 0;
        };
        listing.erase(std::remove_if(listing.begin(), listing.end(), changed), listing.end());
        listing.insert(listing.end(), written.begin(), written.end());
        std::sort(listing.begin(), listing.end(), ListedBefore);
      } else {
        // A name's latest state replaces whatever is still waiting for it, so
        // that a block written and then removed before the window takes the
        // changes is not listed again (the window applies removals first).
        auto& waiting = pending_.written;
        waiting.erase(std::remove_if(waiting.begin(), waiting.end(),
                                     [&](const BlockListing& e) {
                                       return names.count(e.file.filename().string()) > 0;
                                     }),
                      waiting.end());
        auto& gone = pending_.removed;
        gone.erase(std::remove_if(gone.begin(), gone.end(),
                                  [&](const std::string& name) { return names.count(name) > 0; }),
                   gone.end());
        pending_.written.insert(pending_.written.end(), written.begin(), written.end());
        pending_.removed.insert(pending_.removed.end(), removed.begin(), removed.end());
      }
      if (newest && (!pending_.newest || !(newest->time < pending_.newest->time))) {
        pending_.newest = std::move(newest);
      }
      tooMany = pending_.written.size() + pending_.removed.size() > kMaxChanges;
    }
    // Too many waiting: one listing instead.
    if (tooMany) Relist();
  }
}

}  // namespace tavelin

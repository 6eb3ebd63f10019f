// Puts files on the disk without making anyone wait for it. A file written
// through a temporary file and a rename is whole after the program is killed
// at any moment; only a power cut needs the flush, so the window hands that to
// a thread of its own and never waits on a busy disk.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavelin {

// A file's whole new content.
struct QueuedFile {
  std::filesystem::path file;
  std::string bytes;
};

// Queues `files` to be written in their order on a writer thread (each
// through a temporary file and a rename, then flushed) and returns at once:
// a window never waits on a busy disk. A file that fails ends the group, so
// the files after it keep their old content. The same files queued again
// before their turn are written once, with their newest bytes. In a child
// made by fork, and beneath a scratch root, they are written before this
// returns.
void WriteInBackground(std::vector<QueuedFile> files);

// The bytes queued for `file` and not yet under its name, the newest if
// queued more than once. Readers of the process take them instead of the disk.
std::optional<std::string> QueuedBytes(const std::filesystem::path& file);

// The queued file of `dir` whose name equals `name` without regard to case.
std::optional<std::filesystem::path> QueuedFileIn(const std::filesystem::path& dir,
                                                  std::string_view name);

// Takes back the queued writes of `file`, waiting for one under way: a write
// made at once must not be overtaken by an older queued one.
void ForgetQueuedWrites(const std::filesystem::path& file);

// Waits until every file queued so far is under its name (not yet flushed),
// then throws the FileError of the first background write that failed since
// the last call, if any.
void FinishQueuedWrites();

// Throws, without waiting, the FileError of the first background write that
// failed since the last call, if any.
void ThrowFailedWrite();

// Queues `file` (as its name now points) and its folder to be flushed to the
// disk; returns at once. A file queued again before its flush is flushed once.
void FlushInBackground(const std::filesystem::path& file);

// Waits until every file queued so far, for writing or flushing, is on the
// disk: at close, and at the exit of the process. A failed background write
// stays to be thrown by FinishQueuedWrites or ThrowFailedWrite.
void FlushQueuedFiles();

// How many files wait for their flush (the one being flushed included).
std::size_t QueuedFlushes();

// Whether this process is a child made by fork (without exec). Such a child
// starts no thread: a lock that another thread of the parent held at the
// fork stays held in it, the sanitizers' allocator's included.
bool InForkedChild();

// A scratch root: a private copy of an info folder (the batch's) that nobody
// needs after a power cut. Files written beneath it are never flushed, and it
// is its own job folder: its builder has read it before anything writes into
// it again, so no snapshot is copied.
void MarkScratchRoot(const std::filesystem::path& root);
void ForgetScratchRoot(const std::filesystem::path& root);
bool IsUnderScratchRoot(const std::filesystem::path& path);

}  // namespace tavelin

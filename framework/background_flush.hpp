// Puts files on the disk without making anyone wait for it. A file written
// through a temporary file and a rename is whole after the program is killed
// at any moment; only a power cut needs the flush, so the window hands that to
// a thread of its own and never waits on a busy disk.
#pragma once

#include <cstddef>
#include <filesystem>

namespace tavelin {

// Queues `file` (as its name now points) and its folder to be flushed to the
// disk; returns at once. A file queued again before its flush is flushed once.
void FlushInBackground(const std::filesystem::path& file);

// Waits until every file queued so far is on the disk: at close, and at the
// exit of the process.
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

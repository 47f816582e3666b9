#pragma once
// Runs a piece of work in a child process and collects what it writes. For libraries that read
// untrusted files and are known to read outside their buffers on damaged ones: whatever happens in
// the child, the program and the user's data are not touched, and the failure is only a failed read.

#include <functional>
#include <string>

namespace qbm {

struct TIsolatedResult {
    std::string output;    // every byte the work wrote
    bool finished = false; // the work returned normally (no crash, no exception)
};

// `work` runs in a forked child with a writer for its output; it must not touch the caller's
// objects except to read them. Output is collected while the child runs, so it may be large.
TIsolatedResult
RunIsolated(const std::function<void(const std::function<void(const void*, size_t)>& write)>& work);

} // namespace qbm

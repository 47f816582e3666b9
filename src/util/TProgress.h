#pragma once
// Progress of long work (imports, sequence fills, project loads) and the user's wish to stop it.

#include <cstdint>
#include <stdexcept>

namespace qbm {

// The user stopped the work; whatever it was changing is left as it was before.
class EOperationCancelled : public std::runtime_error {
public:
    EOperationCancelled() : std::runtime_error("Cancelled") {}
};

class TProgress {
public:
    virtual ~TProgress() = default;
    // `done` of `total` units (total 0: unknown). Returns false when the user asked to stop.
    virtual bool Update(int64_t done, int64_t total) = 0;
};

// Reports to `progress` when there is one, and ends the work by EOperationCancelled when asked to.
inline void ReportProgress(TProgress* progress, int64_t done, int64_t total) {
    if (progress && !progress->Update(done, total)) throw EOperationCancelled();
}

} // namespace qbm

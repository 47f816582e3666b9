#pragma once
// The print options a project keeps between runs ("Page > Print Options ..." and the print dialog's
// "Labels" tab): reading every label back, where on the first sheet to start, which pages and from
// which label to print, and whether the run is written to the journal beside the project.

namespace qbm {

struct TPrintPreferences {
    bool verify = true;
    int startCell = 1; // first free cell of the first sheet, row by row
    int firstPage = 1; // lastPage 0: to the end
    int lastPage = 0;
    long long fromLabel = 1;
    bool journal = true;
    friend bool operator==(const TPrintPreferences&, const TPrintPreferences&) = default;
};

} // namespace qbm

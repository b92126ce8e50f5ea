#pragma once
// Resident memory of the benchmark process, read from /proc.

#include <fstream>
#include <string>
#include <unistd.h>

// All resident pages: the heap, and also library code paged in on first use.
inline long ResidentBytes() {
    std::ifstream F("/proc/self/statm");
    long Size = 0, Resident = 0;
    F >> Size >> Resident;
    return Resident * sysconf(_SC_PAGESIZE);
}

// Resident anonymous pages only (the heap and other private mappings), so a
// figure per object does not count code that the first object paged in.
inline long AnonymousResidentBytes() {
    std::ifstream F("/proc/self/status");
    std::string Key;
    long Kb = 0;
    while (F >> Key) {
        if (Key == "RssAnon:") {
            F >> Kb;
            return Kb * 1024;
        }
        F.ignore(1 << 12, '\n');
    }
    return 0;
}

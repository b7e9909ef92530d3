#pragma once

// The five counts of an export run, in the order the exporter reports them.
struct RunCounts {
    long total = 0;
    long notValid = 0;
    long valid = 0;
    long notSameOprCall = 0;
    long notDateRange = 0;

    bool operator==(const RunCounts&) const = default;
};

// What a running process holds, read from /proc: threads, open descriptors,
// descriptors of devices, resident memory. For this process or another one.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace vantrigo::testing {

struct ProcessFigures {
    int threads = 0;
    int descriptors = 0;
    int deviceHandles = 0;  // descriptors of files under /dev
    long residentKiB = 0;

    // The larger of each figure.
    ProcessFigures& widen(const ProcessFigures& other) {
        threads = std::max(threads, other.threads);
        descriptors = std::max(descriptors, other.descriptors);
        deviceHandles = std::max(deviceHandles, other.deviceHandles);
        residentKiB = std::max(residentKiB, other.residentKiB);
        return *this;
    }
};

// The figures now, all 0 when the process is gone.
inline ProcessFigures figuresOf(pid_t pid = getpid()) {
    namespace fs = std::filesystem;
    const fs::path proc = fs::path("/proc") / std::to_string(pid);
    ProcessFigures figures;
    std::error_code error;
    for (auto it = fs::directory_iterator(proc / "task", error); !error && it != fs::end(it);
         it.increment(error)) {
        ++figures.threads;
    }
    for (auto it = fs::directory_iterator(proc / "fd", error); !error && it != fs::end(it);
         it.increment(error)) {
        ++figures.descriptors;
        std::error_code unreadable;
        if (fs::read_symlink(it->path(), unreadable).string().starts_with("/dev/")) {
            ++figures.deviceHandles;
        }
    }
    std::ifstream status(proc / "status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) figures.residentKiB = std::stol(line.substr(6));
    }
    return figures;
}

}  // namespace vantrigo::testing

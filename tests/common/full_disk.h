// SPDX-License-Identifier: MIT
#pragma once

#include <csignal>

#include <sys/resource.h>

// A disk that is full, as the kernel makes it for one process: while a CFullDisk lives, no file
// can grow past `bytes` (files can still be made; a write past the limit fails like a write to a
// full disk). The signal such a write raises is ignored, so the write reports its failure.

namespace orin::test {

class CFullDisk {
public:
    explicit CFullDisk(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~CFullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    CFullDisk(const CFullDisk &) = delete;
    CFullDisk &operator=(const CFullDisk &) = delete;

    bool IsActive() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

} // namespace orin::test

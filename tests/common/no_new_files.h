// SPDX-License-Identifier: MIT
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

// A process that can open no more files, as in a folder it may not write to, and for the
// superuser too (permissions do not bind it, this limit does): while a CNoNewFiles lives, the
// descriptor limit is the lowest free descriptor, so every open and every new file fails with
// EMFILE. Files already open stay usable; renames and removals still work.

namespace orin::test {

class CNoNewFiles {
public:
    CNoNewFiles()
    {
        getrlimit(RLIMIT_NOFILE, &m_saved);
        const int lowest = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (lowest < 0)
            return;
        ::close(lowest);
        rlimit limit = m_saved;
        limit.rlim_cur = rlim_t(lowest);
        m_active = setrlimit(RLIMIT_NOFILE, &limit) == 0;
    }
    ~CNoNewFiles() { setrlimit(RLIMIT_NOFILE, &m_saved); }
    CNoNewFiles(const CNoNewFiles &) = delete;
    CNoNewFiles &operator=(const CNoNewFiles &) = delete;

    bool IsActive() const { return m_active; }

private:
    rlimit m_saved{};
    bool m_active = false;
};

} // namespace orin::test

#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/syscall.h>
#endif

// While it lives, a file's mode decides whether this thread may open it, also for root.
//
// Root opens a file of mode 0200 all the same, through its capabilities to override file modes
// and to read any file. On Linux these two are taken out of the calling thread's effective set
// (they stay permitted) and put back by the destructor. For another user nothing changes. Where
// neither works (root elsewhere, or the capability calls refused), applies() is false and the
// test skips.
class FileModesApply
{
public:
    FileModesApply()
    {
#ifdef Q_OS_UNIX
        if (::geteuid() != 0) {
            m_applies = true;
            return;
        }
#endif
#ifdef Q_OS_LINUX
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        if (::syscall(SYS_capget, &header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[_LINUX_CAPABILITY_U32S_3];
        for (int i = 0; i < _LINUX_CAPABILITY_U32S_3; ++i)
            reduced[i] = m_saved[i];
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        if (::syscall(SYS_capset, &header, reduced) != 0)
            return;
        m_restore = true;
        m_applies = true;
#endif
    }

    ~FileModesApply()
    {
#ifdef Q_OS_LINUX
        if (m_restore) {
            __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
            (void)::syscall(SYS_capset, &header, m_saved);
        }
#endif
    }

    FileModesApply(const FileModesApply &) = delete;
    FileModesApply &operator=(const FileModesApply &) = delete;

    bool applies() const
    {
        return m_applies;
    }

private:
    bool m_applies = false;
    bool m_restore = false;
#ifdef Q_OS_LINUX
    __user_cap_data_struct m_saved[_LINUX_CAPABILITY_U32S_3] = {};
#endif
};

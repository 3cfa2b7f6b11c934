#pragma once
// Lets permission bits count for this thread while it lives, even when the tests run as root: the
// capabilities that override them are dropped from the effective set and given back afterwards.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testing_support {

class PermissionBitsApply {
public:
    PermissionBitsApply() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &header_, lowered);
    }
    ~PermissionBitsApply() { syscall(SYS_capset, &header_, saved_); }
    PermissionBitsApply(const PermissionBitsApply&) = delete;
    PermissionBitsApply& operator=(const PermissionBitsApply&) = delete;

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
};

}  // namespace testing_support

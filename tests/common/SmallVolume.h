#pragma once

// A real, tiny file system (Linux: a 64 KiB tmpfs mounted on a test folder), for a disk that
// really fills up. Mounting needs root; Mounted() says whether it worked and Why() why not.

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/mount.h>

namespace mirvel::test {

class SmallVolume {
public:
    explicit SmallVolume(std::string folder) : folder_(std::move(folder))
    {
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=64k,mode=0755") == 0;
        if (!mounted_)
            why_ = std::string("can't mount a 64 KiB tmpfs here (") + std::strerror(errno) + "): needs root";
    }
    ~SmallVolume()
    {
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Why() const { return why_; }

private:
    std::string folder_;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace mirvel::test

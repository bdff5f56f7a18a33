#include "base/descripteurs.hpp"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

DescripteursStandard::DescripteursStandard() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) {
            continue;
        }
        // The lowest free descriptor is FD itself: those below it are open.
        int ouvert = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (ouvert >= 0 && ouvert != fd) {
            ::dup2(ouvert, fd);
            ::close(ouvert);
        }
    }
}

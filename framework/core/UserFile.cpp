#include "framework/core/UserFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Closes the descriptor when the read ends, however it ends.
struct Descriptor
{
    explicit Descriptor (int descriptor) noexcept : fd (descriptor) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close (fd);
    }
    Descriptor (const Descriptor&) = delete;
    Descriptor& operator= (const Descriptor&) = delete;

    const int fd;
};

bool readAll (int fd, char* destination, size_t size) noexcept
{
    for (size_t done = 0; done < size;)
    {
        const auto got = ::read (fd, destination + done, size - done);

        if (got < 0 && errno == EINTR)
            continue;

        if (got <= 0)
            return false; // an error, or the file shrank meanwhile

        done += (size_t) got;
    }

    return true;
}
} // namespace

bool readUserFile (const juce::File& file, juce::MemoryBlock& contents)
{
    contents.reset();
    const auto path = file.getFullPathName();

    if (path.isEmpty())
        return false;

    // Opened without blocking, so a FIFO cannot stall the open; the type and
    // size are then checked on what was opened, not on the name.
    const Descriptor descriptor (::open (path.toRawUTF8(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));

    if (descriptor.fd < 0)
        return false;

    struct stat status {};

    if (::fstat (descriptor.fd, &status) != 0 || ! S_ISREG (status.st_mode) || status.st_size < 0
        || (unsigned long long) status.st_size > maxUserFileBytes)
        return false;

    const auto size = (size_t) status.st_size;
    contents.setSize (size);

    if (! readAll (descriptor.fd, static_cast<char*> (contents.getData()), size))
    {
        contents.reset();
        return false;
    }

    return true;
}

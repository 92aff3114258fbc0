#include "host/HostCallScope.h"

#include "host/MessageThread.h"

namespace host
{
namespace
{
std::recursive_mutex& gate()
{
    static std::recursive_mutex processWide;
    return processWide;
}
} // namespace

HostCallScope::HostCallScope() : held(gate())
{
    messagethread::moveHere();
}

HostCallScope::~HostCallScope() = default;
} // namespace host

#pragma once
// The platform's answer to "does another copy of the program run?".
namespace krv::ports {

class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    // Takes the program-wide lock; false when another running copy holds it. The lock is
    // released when this object goes away or the process ends, however it ends.
    virtual bool acquire() = 0;
};

}  // namespace krv::ports

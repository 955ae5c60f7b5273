// MachineChanges: the recorder in place and the helpers over it.
#include "foundation/MachineChanges.h"

namespace {

MachineChanges* current = nullptr;

} // namespace

MachineChanges* MachineChanges::recorder()
{
    return current;
}

void MachineChanges::replacingFile(const Path& path)
{
    if (!current)
        return;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        current->setAside(path);
    current->creatingFile(path);
}

void MachineChanges::remove(const Path& path)
{
    // Nothing there fails as the removal itself says.
    if (current && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        current->setAside(path);
    else
        path.remove();
}

MachineChanges::Recording::Recording(MachineChanges* recorder) : previous_(current)
{
    current = recorder;
}

MachineChanges::Recording::~Recording()
{
    current = previous_;
}

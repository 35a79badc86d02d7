// TBUDirectories' folders on Windows: the system's answers and the shell folders in the registry.
#pragma once

#include "lockengine/bu_directories.h"

namespace sentavo::lockengine {

DirectorySource& SystemDirectories();

}  // namespace sentavo::lockengine

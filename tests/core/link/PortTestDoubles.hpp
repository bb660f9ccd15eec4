#pragma once
// Kept for the tests of other subsystems that drive the main window through a scripted port.
#include "support/LinkRig.hpp"

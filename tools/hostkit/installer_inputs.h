#pragma once

// The input files the form's setup leaves for the installer Ravisol.

#include "tools/hostkit/hostkit.h"

namespace hostkit {

// Copies the sample export definitions "env913.txt" and parameter rows
// "Par913.txt" (tools/hostkit/data) into the host's "tmp/" folder, where the
// installer reads them. Files already there are kept. Throws HostError.
void copyInstallerInputs(const HostPaths& paths);

} // namespace hostkit

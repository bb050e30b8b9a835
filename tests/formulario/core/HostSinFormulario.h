#pragma once

#include "tests/support/HostTest.h"

// The host's own tables without the form's.
class HostSinFormulario : public HostTest {
protected:
    HostSinFormulario() { withFormTables = false; }
};

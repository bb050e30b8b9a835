#pragma once

#include "formulario/core/Fileproc.h"
#include "tests/support/HostTest.h"

// The host's own tables without the form's, and the error log kept in the
// host folder instead of beside the test program.
class HostSinFormulario : public HostTest {
protected:
    HostSinFormulario() { withFormTables = false; }
    void SetUp() override
    {
        HostTest::SetUp();
        FijaCarpetaPrograma(paths().root);
    }
    void TearDown() override
    {
        FijaCarpetaPrograma(QString());
        HostTest::TearDown();
    }
};

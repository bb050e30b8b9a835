#pragma once

#include <QString>

namespace platform {

// The host suite's workgroup account, with which every program of the form
// logs on to the shared database. Built from character codes at run time so
// that it stands in no file as text.
QString workgroupUser();
QString workgroupPassword();

} // namespace platform

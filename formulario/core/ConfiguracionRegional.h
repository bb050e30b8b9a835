#pragma once

// Checks that the regional settings are the ones the number and date
// handling assume; lists every deviation in one message box.
bool VerificaConfiguracionRegional();

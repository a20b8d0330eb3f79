#pragma once

// Shared by the resource script and the code; plain macros so that the
// resource compiler can read them too.
#define IDI_DAYVANE 1
#define IDR_PHOTO 101

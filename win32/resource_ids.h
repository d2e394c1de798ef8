#pragma once
// Resource numbers shared by the resource script (which reads only #define lines) and the code.
// They are those of app/res/resource.h; the code checks that they agree.
#define KORZENIK_RES_ICON 128

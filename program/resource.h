// The icon's resource numbers for app/zolvload.rc and the C++ code: plain #defines, for windres.
#pragma once

#define IDI_APP 1            // the icon group: LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP))
#define IDI_APP_IMAGE 30001  // its one 32x32 16-colour image (RT_ICON)

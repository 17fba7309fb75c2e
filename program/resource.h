// Resource and control identifiers, shared by app/zolvload.rc and the C++ code.
// Keep this a plain list of #defines: windres reads it too.
#pragma once

#define IDI_APP 1            // the icon group: LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP))
#define IDI_APP_IMAGE 30001  // its one 32x32 16-colour image (RT_ICON)

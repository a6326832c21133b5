// The four things QuellapSetup does to one driver's place in its folder. Each checks first and
// refuses with a reason, changing nothing; then it changes the files all or nothing.
#pragma once

#include "driver_slot.h"
#include "package_wrappers.h"
#include "setup_report.h"

// BonDriver_X.dll becomes BonDriver_X_Quellapped.dl_, the package's wrapper of its machine
// becomes BonDriver_X.dll and BonDriver_X.ini is copied to BonDriver_X_Quellapped.ini. Also
// finishes a half-done wrap and copies a settings file that was not copied.
FileReport Wrap(FileStore& store, const PackageWrappers& package, const DriverSlot& slot);

// The wrapper is removed and the driver gets its name back; the copied settings file goes only
// when it is still the same as the driver's. Also undoes a half-done wrap, and removes that copy
// when an interrupted unwrap left it.
FileReport Unwrap(FileStore& store, const DriverSlot& slot);

// A wrapper of another version, or of another machine than its driver, is replaced by the
// package's wrapper of the driver's machine in one step. Other places get their status.
FileReport Update(FileStore& store, const PackageWrappers& package, const DriverSlot& slot);

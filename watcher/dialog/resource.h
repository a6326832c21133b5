// Resource identifiers of the watcher program, shared by its resource script and its code.
#pragma once

#define IDD_MAIN 100
#define IDI_MAIN 103
#define IDC_SOURCELIST 1001

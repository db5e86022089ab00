// Ids of the bare baseline dialogs. The templates' ids are kept apart from the console's so all
// can live in the command benchmark; the result dialog's controls take the console's Open ids.
#pragma once

#define IDD_BARE 900
#define IDD_BARE_RESULT 901
#define IDC_BARE_RUN 1000
#define IDC_BARE_RESULT 1008
